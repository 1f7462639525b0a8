// SPDX-License-Identifier: MIT
// Project files on any bytes: reading either fails with a malformed-file error that names the
// file, a line of it (0 for a fault of the whole file, such as no content) and what is wrong, or
// gives a project. A project read saves to a document that reads again without error into the same
// project: the same rows, names, outline, durations, dates, constraints, links, custom-field
// aliases and custom text values, also after an edit of aliases, custom text values and names.
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
        << task->Name() << " level " << task->OutlineLevel() << " minutes "
        << task->DurationMinutes() << " start " << task->Start() << " finish " << task->Finish()
        << " constraint " << static_cast<int>(task->Constraint()) << " ";
    Put(out, task->ConstraintDate());
    out << " actual ";
    Put(out, task->ActualStart());
    out << " ";
    Put(out, task->ActualFinish());
    out << " baseline " << task->GetField(field::kBaselineStart) << " "
        << task->GetField(field::kBaselineFinish) << " after";
    for (const auto& link : task->PredecessorLinks()) {
      out << " " << link.task->UniqueID() << ":" << static_cast<int>(link.type) << ":" << link.lag
          << ":" << static_cast<int>(link.lag_format);
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

// Edits what a save writes into the document in place or as new elements: the alias of one
// custom text field, that field's value on every task and every task's name, chosen by the input
// so that fields with and without values and aliases in the document are both met.
void Edit(Project& project, std::size_t choice) {
  namespace field = lunavant::workbench::field;
  const int index = static_cast<int>(choice % lunavant::workbench::kCustomTextCount);
  project.SetCustomTextAlias(index, "Hijri " + project.CustomTextAlias(index));
  const lunavant::host::FieldId text_field = lunavant::workbench::CustomTextField(index);
  for (std::int32_t position = 1; position <= project.TaskCount(); ++position) {
    Task* task = project.TaskAt(position);
    if (task == nullptr) continue;
    task->SetField(text_field, task->GetField(text_field) + "<" + std::to_string(position) + ">&");
    if (choice & 32) task->SetField(field::kName, task->Name() + " \"edited\"");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<Project> first = Read(text, "reading the input");
  if (first == nullptr) return 0;
  if (size % 2 == 1) Edit(*first, size / 2);
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
