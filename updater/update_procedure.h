// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "updater/library_file.h"
#include "updater/user_interface.h"

namespace mendrick {

// Where the updater finds its inputs.
struct UpdateSetup {
    std::string profileFile;  // the profile file that holds the installation record
    std::string ownFolder;    // the folder of the updater's own program file, a native path;
                              // empty when unknown
    ElfMachine machine;       // the machine whose libraries the installation loads
};

enum class Outcome {
    Updated,       // the installed library was replaced
    NotInstalled,  // no installation recorded, or its main program is missing
    CopyFailed,    // the installed library could not be replaced and was left as it was
    Refused,       // one of the two libraries is not one the installation can load; the
                   // installed one was left as it was
};

// The updater's whole run: reads the installation folder from the profile, checks that
// the product's main program is there, looks at the library beside the updater and the
// installed one, replaces the installed library with the one beside the updater, and
// tells the user the outcome in one box.
Outcome runUpdate(const UpdateSetup& setup, UserInterface& ui);

}  // namespace mendrick
