// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace mendrick {

// Replaces the file `target` with a copy of the file `source`, both POSIX paths.
// The copy is written to a new file in the target's folder, flushed to disk and then
// renamed over `target`, so `target` is at every moment either the old file, whole, or
// the new one, whole. The new file takes the old file's permissions, or the source's when
// there was no old file.
// Returns nothing on success. On any failure (source unreadable, folder not writable,
// disk full, target not replaceable) `target` is left untouched, no new file remains,
// and the result names the step that failed and the system's reason ("cannot read
// /opt/x/Tessaro.ocx: No such file or directory").
std::optional<std::string> replaceFile(const std::string& source, const std::string& target);

}  // namespace mendrick
