// SPDX-License-Identifier: MIT
// Replacing a file so that a reader sees either the old content or the new one, never a part.
//
//   WriteFileAtomically("plan.xml", bytes);   // throws ProjectFileError (kNotSaved)
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace lunavant::workbench {

// Writes `bytes` to a new file in the target's folder, flushes it to the disk, and renames it
// over `target`. On any failure (no space, no permission, a folder that vanished, a target that
// is a folder) the temporary file is removed, `target` is left as it was, and ProjectFileError
// with FileStatus::kNotSaved says which step failed and why. A new file gets mode 0666 less the
// umask; a replaced file keeps its mode. A `target` that is a symbolic link stays one: the file it
// leads to is replaced.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// The same for content made piece by piece: `produce` hands each piece to the sink it is given,
// and the pieces go to the file as they come, so no whole copy is ever held. A piece that cannot
// be written fails the save once `produce` returns; the sink then takes no more.
using ChunkSink = std::function<void(std::string_view)>;
void WriteFileAtomically(const std::filesystem::path& target,
                         const std::function<void(const ChunkSink&)>& produce);

}  // namespace lunavant::workbench
