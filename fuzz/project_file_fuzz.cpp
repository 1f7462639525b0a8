// SPDX-License-Identifier: MIT
// Project files on any bytes: reading either fails with a malformed-file error that names the
// file, a line of it (0 for a fault of the whole file, such as no content) and what is wrong, or gives a project. A project read saves to a document
// that reads again without error into the same project: the same rows, names, outline, durations,
// dates, constraints, links, custom-field aliases and custom text values.
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "workbench/files/file_error.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace {

using lunavant::workbench::Project;
using lunavant::workbench::ProjectFileError;
using lunavant::workbench::Task;

constexpr const char* kFileName = "plan.xml";

lunavant::workbench::Application& App() {
  static lunavant::workbench::Application app;
  return app;
}

void Put(std::ostringstream& out, const std::optional<std::int64_t>& moment) {
  if (moment) {
    out << *moment;
  } else {
    out << "none";
  }
}

// Everything a save is meant to keep, one line per row, so that two projects compare as texts
// and a failure report shows where they part.
std::string Describe(Project& project) {
  namespace field = lunavant::workbench::field;
  std::ostringstream out;
  out << "start " << project.ProjectStart() << " from-finish " << project.ScheduleFromFinish()
      << '\n';
  for (int i = 0; i < lunavant::workbench::kCustomTextCount; ++i) {
    const std::string& alias = project.CustomTextAlias(i);
    if (!alias.empty()) out << "alias Text" << i + 1 << " " << alias << '\n';
  }
  for (std::int32_t position = 1; position <= project.TaskCount(); ++position) {
    const Task* task = project.TaskAt(position);
    if (task == nullptr) {
      out << position << " blank\n";
      continue;
    }
    out << position << " id " << task->ID() << " uid " << task->UniqueID() << " name "
        << task->Name() << " level " << task->OutlineLevel() << " days " << task->DurationDays()
        << " start " << task->Start() << " finish " << task->Finish() << " constraint "
        << static_cast<int>(task->Constraint()) << " ";
    Put(out, task->ConstraintDate());
    out << " actual ";
    Put(out, task->ActualStart());
    out << " ";
    Put(out, task->ActualFinish());
    out << " baseline " << task->GetField(field::kBaselineStart) << " "
        << task->GetField(field::kBaselineFinish) << " after";
    for (const auto& link : task->PredecessorLinks()) {
      out << " " << link.task->UniqueID() << ":" << static_cast<int>(link.type) << ":"
          << link.lag_days;
    }
    for (int i = 0; i < lunavant::workbench::kCustomTextCount; ++i) {
      const std::string value = task->GetField(lunavant::workbench::CustomTextField(i));
      if (!value.empty()) out << " Text" << i + 1 << "=" << value;
    }
    out << '\n';
  }
  return out.str();
}

std::int64_t LineCount(std::string_view text) {
  std::int64_t lines = 1;
  for (const char c : text) lines += c == '\n';
  return lines;
}

// The project `text` reads into, or null after a well-formed failure.
std::unique_ptr<Project> Read(std::string_view text, const char* what) {
  try {
    return lunavant::workbench::ReadProjectText(App(), text, kFileName);
  } catch (const ProjectFileError& error) {
    const std::string message = error.what();
    LUNAVANT_FUZZ_CHECK(
        error.Status() == lunavant::workbench::FileStatus::kMalformed &&
            error.Path() == kFileName && error.Line() >= 0 && error.Line() <= LineCount(text) &&
            !error.Description().empty() && message.find(kFileName) != std::string::npos &&
            message.find(error.Description()) != std::string::npos,
        std::string(what) + " failed as \"" + lunavant::fuzz::Printable(message) + "\", status " +
            std::to_string(static_cast<int>(error.Status())) + ", line " +
            std::to_string(error.Line()) + " of " + std::to_string(LineCount(text)));
    return nullptr;
  } catch (const std::exception& error) {
    LUNAVANT_FUZZ_CHECK(false, std::string(what) + " failed with another error: " +
                                   lunavant::fuzz::Printable(error.what()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<Project> first = Read(text, "reading the input");
  if (first == nullptr) return 0;
  const std::string before = Describe(*first);
  const std::string saved = lunavant::workbench::ProjectFileText(*first);
  std::unique_ptr<Project> again = Read(saved, "reading the saved document");
  LUNAVANT_FUZZ_CHECK(again != nullptr, "saved as:\n" + lunavant::fuzz::Printable(saved));
  const std::string after = Describe(*again);
  LUNAVANT_FUZZ_CHECK(before == after, "read as:\n" + lunavant::fuzz::Printable(before) +
                                           "\nsaved and read again as:\n" +
                                           lunavant::fuzz::Printable(after));
  return 0;
}
