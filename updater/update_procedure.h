#pragma once

#include <string>

#include "updater/user_interface.h"

namespace mendrick {

// Where the updater finds its inputs.
struct UpdateSetup {
    std::string profileFile;   // the profile file that holds the installation record
    std::string ownFolder;     // the folder of the updater's own program file
    std::string drivesFolder;  // the folder whose entries "c:", "d:" ... stand for drives
};

enum class Outcome {
    updated,       // the installed library was replaced
    notInstalled,  // no installation recorded, or its main program is missing
    copyFailed,    // the installed library could not be replaced and was left as it was
};

// The updater's whole run: reads the installation folder from the profile, checks that
// the product's main program is there, replaces the installed control library with the
// one beside the updater, and tells the user the outcome in one box.
Outcome runUpdate(const UpdateSetup& setup, UserInterface& ui);

}  // namespace mendrick
