// SPDX-License-Identifier: MIT
// The sample project shipped inside the workbench: the fit-out of an office floor in Riyadh, on a
// Sunday-to-Thursday week with the holidays of 1446 and 1447 AH, with Start and Finish paired with
// the Hijri text fields HijriStart and HijriFinish. Front ends open it when no file is given.
//
//   Project& plan = OpenBundledSample(app);   // NewProject, Open, WindowActivate
#pragma once

#include <string_view>

#include "addin/host/events.h"

namespace lunavant::workbench {

class Application;
class Project;

// The file name the sample opens under; a plain Save writes it to the current folder.
inline constexpr std::string_view kBundledSampleName = "riyadh-office-fit-out.xml";

// The MSPDI document, as stored in the repository's samples folder.
std::string_view BundledSampleText();

// Opens the sample as OpenProjectFile opens a file (see project_file.h).
Project& OpenBundledSample(Application& app, host::ProjectEvents* open_sink = nullptr);

}  // namespace lunavant::workbench
