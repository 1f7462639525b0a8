// SPDX-License-Identifier: MIT
#include "workbench/files/file_error.h"

namespace lunavant::workbench {

namespace {

std::string Compose(const std::filesystem::path& path, std::int64_t line,
                    const std::string& description) {
  std::string out = path.string();
  if (line > 0) out.append(":").append(std::to_string(line));
  return out.append(": ").append(description);
}

}  // namespace

ProjectFileError::ProjectFileError(FileStatus status, const std::filesystem::path& path,
                                   std::int64_t line, const std::string& description)
    : std::runtime_error(Compose(path, line, description)),
      status_(status),
      path_(path),
      line_(line),
      description_(description) {}

}  // namespace lunavant::workbench
