// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

namespace mendrick {

// Looks at the written copy (open for reading at `fd`) before it goes into place: a text
// refuses it and says why.
using CopyCheck = std::function<std::optional<std::string>(int fd)>;

// A file to put in place of the entry `target` of a folder, everything through handles.
struct Replacement {
    int folder = -1;          // the folder, opened with openFolder
    std::string target;       // the entry's name in it
    int source = -1;          // the new content, a regular file open for reading
    off_t largest = 0;        // the most bytes the new content may have
    CopyCheck check;          // what the copy must pass before it goes into place
    std::string folderShown;  // the folder, the target and the source as messages name them
    std::string targetShown;
    std::string sourceShown;
};

struct ReplaceFailure {
    std::string text;  // the step that failed and why ("cannot read /x/Tessaro.ocx: ...")
    bool refused;      // the check refused the copy
};

// Replaces the target with a copy of the source. The copy is written to a new file in the
// folder (an unnamed one where the file system allows it), checked, flushed to disk and
// then renamed over the target, so the target is at every moment either the old file,
// whole, or the new one, whole. The new file takes the permission bits of the regular file
// it replaces (the source's when there is none), never setuid, setgid or sticky, and, when
// run as root, that file's owner and group.
// SIGINT, SIGTERM, SIGHUP and SIGQUIT are held meanwhile: one that comes gives the update up
// before the rename, and ends the program once the new file is removed again.
// Files of ours an earlier run left behind (".Tessaro.ocx.XXXXXX", owned by this user or,
// for root, by the target's owner, untouched for an hour) are removed first.
// Returns nothing on success. On any failure the target is left untouched and no new file
// remains.
std::optional<ReplaceFailure> replaceFile(const Replacement& replacement);

// The name of a new file before it goes into place: this prefix and six random characters.
inline constexpr const char* NewFilePrefix = ".Tessaro.ocx.";

}  // namespace mendrick
