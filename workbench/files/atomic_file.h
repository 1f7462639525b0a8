// SPDX-License-Identifier: MIT
// Replacing a file so that a reader sees either the old content or the new one, never a part.
//
//   WriteFileAtomically("plan.xml", bytes);   // throws ProjectFileError (kNotSaved)
#pragma once

#include <filesystem>
#include <string_view>

namespace lunavant::workbench {

// Writes `bytes` to a new file in the target's folder, flushes it to the disk, and renames it
// over `target`. On any failure (no space, no permission, a folder that vanished, a target that
// is a folder) the temporary file is removed, `target` is left as it was, and ProjectFileError
// with FileStatus::kNotSaved says which step failed and why. A new file gets mode 0666 less the
// umask; a replaced file keeps its mode.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace lunavant::workbench
