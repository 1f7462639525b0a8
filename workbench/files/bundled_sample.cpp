// SPDX-License-Identifier: MIT
#include "workbench/files/bundled_sample.h"

#include <memory>
#include <utility>

#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"

namespace lunavant::workbench {

namespace {

// Made from samples/riyadh-office-fit-out.xml when the build is configured.
constexpr std::string_view kSampleText =
#include "bundled_sample.inc"
    ;

}  // namespace

std::string_view BundledSampleText() { return kSampleText; }

Project& OpenBundledSample(Application& app, host::ProjectEvents* open_sink) {
  std::unique_ptr<Project> project = ReadProjectText(app, kSampleText, kBundledSampleName);
  if (open_sink != nullptr) project->AddEventSink(*open_sink);
  return app.AdoptOpenedProject(std::move(project));
}

}  // namespace lunavant::workbench
