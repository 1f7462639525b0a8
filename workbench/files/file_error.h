// SPDX-License-Identifier: MIT
// The one failure of opening and saving project files: what went wrong, in which file, and, for a
// file that could be read, on which line.
//
//   try { OpenProjectFile(app, "plan.xml"); }
//   catch (const ProjectFileError& e) { std::cerr << e.what(); }  // "plan.xml:12: The Start ..."
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace lunavant::workbench {

enum class FileStatus {
  kNotFound,    // no file at the path
  kUnreadable,  // a file that cannot be read (a folder, no permission, an input error)
  kMalformed,   // read, but not a well-formed project file
  kNotSaved     // a save that failed and left the file on disk as it was
};

class ProjectFileError : public std::runtime_error {
 public:
  // `line` counts from 1; 0 when the failure has no position in the file.
  ProjectFileError(FileStatus status, const std::filesystem::path& path, std::int64_t line,
                   const std::string& description);

  FileStatus Status() const { return status_; }
  const std::filesystem::path& Path() const { return path_; }
  std::int64_t Line() const { return line_; }
  // What is wrong, without the file and the line.
  const std::string& Description() const { return description_; }

 private:
  FileStatus status_;
  std::filesystem::path path_;
  std::int64_t line_;
  std::string description_;
};

}  // namespace lunavant::workbench
