// SPDX-License-Identifier: MIT
#include "desktop/host_names.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>
#include <string>

namespace lunavant::desktop {

namespace {

// The names lupdate reads into the catalogues: the built-in toolbars and buttons, the default
// tables, the fields those tables show (and the task dates the add-in pairs), the default titles.
[[maybe_unused]] const char* const kHostNames[] = {
    QT_TRANSLATE_NOOP("HostNames", "Standard"),
    QT_TRANSLATE_NOOP("HostNames", "Formatting"),
    QT_TRANSLATE_NOOP("HostNames", "Database"),
    QT_TRANSLATE_NOOP("HostNames", "New"),
    QT_TRANSLATE_NOOP("HostNames", "Open"),
    QT_TRANSLATE_NOOP("HostNames", "Save"),
    QT_TRANSLATE_NOOP("HostNames", "Print"),
    QT_TRANSLATE_NOOP("HostNames", "Print Preview"),
    QT_TRANSLATE_NOOP("HostNames", "Cut"),
    QT_TRANSLATE_NOOP("HostNames", "Copy"),
    QT_TRANSLATE_NOOP("HostNames", "Paste"),
    QT_TRANSLATE_NOOP("HostNames", "Undo"),
    QT_TRANSLATE_NOOP("HostNames", "Redo"),
    QT_TRANSLATE_NOOP("HostNames", "Sort Ascending"),
    QT_TRANSLATE_NOOP("HostNames", "Sort Descending"),
    QT_TRANSLATE_NOOP("HostNames", "AutoFilter"),
    QT_TRANSLATE_NOOP("HostNames", "Find"),
    QT_TRANSLATE_NOOP("HostNames", "Entry"),
    QT_TRANSLATE_NOOP("HostNames", "Baseline"),
    QT_TRANSLATE_NOOP("HostNames", "Constraint Dates"),
    QT_TRANSLATE_NOOP("HostNames", "Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Delay"),
    QT_TRANSLATE_NOOP("HostNames", "Earned Value Cost Indicators"),
    QT_TRANSLATE_NOOP("HostNames", "Earned Value Schedule Indicators"),
    QT_TRANSLATE_NOOP("HostNames", "Earned Value"),
    QT_TRANSLATE_NOOP("HostNames", "Export"),
    QT_TRANSLATE_NOOP("HostNames", "Hyperlink"),
    QT_TRANSLATE_NOOP("HostNames", "Rollup Table"),
    QT_TRANSLATE_NOOP("HostNames", "Schedule"),
    QT_TRANSLATE_NOOP("HostNames", "Summary"),
    QT_TRANSLATE_NOOP("HostNames", "Tracking"),
    QT_TRANSLATE_NOOP("HostNames", "Usage"),
    QT_TRANSLATE_NOOP("HostNames", "Variance"),
    QT_TRANSLATE_NOOP("HostNames", "Work"),
    QT_TRANSLATE_NOOP("HostNames", "ID"),
    QT_TRANSLATE_NOOP("HostNames", "Indicators"),
    QT_TRANSLATE_NOOP("HostNames", "Name"),
    QT_TRANSLATE_NOOP("HostNames", "Duration"),
    QT_TRANSLATE_NOOP("HostNames", "Start"),
    QT_TRANSLATE_NOOP("HostNames", "Finish"),
    QT_TRANSLATE_NOOP("HostNames", "Predecessors"),
    QT_TRANSLATE_NOOP("HostNames", "Resource Names"),
    QT_TRANSLATE_NOOP("HostNames", "Late Start"),
    QT_TRANSLATE_NOOP("HostNames", "Late Finish"),
    QT_TRANSLATE_NOOP("HostNames", "Free Slack"),
    QT_TRANSLATE_NOOP("HostNames", "Total Slack"),
    QT_TRANSLATE_NOOP("HostNames", "Actual Start"),
    QT_TRANSLATE_NOOP("HostNames", "Actual Finish"),
    QT_TRANSLATE_NOOP("HostNames", "% Complete"),
    QT_TRANSLATE_NOOP("HostNames", "Physical % Complete"),
    QT_TRANSLATE_NOOP("HostNames", "Actual Duration"),
    QT_TRANSLATE_NOOP("HostNames", "Remaining Duration"),
    QT_TRANSLATE_NOOP("HostNames", "Actual Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Actual Work"),
    QT_TRANSLATE_NOOP("HostNames", "Baseline Duration"),
    QT_TRANSLATE_NOOP("HostNames", "Baseline Start"),
    QT_TRANSLATE_NOOP("HostNames", "Baseline Finish"),
    QT_TRANSLATE_NOOP("HostNames", "Baseline Work"),
    QT_TRANSLATE_NOOP("HostNames", "Baseline Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Constraint Type"),
    QT_TRANSLATE_NOOP("HostNames", "Constraint Date"),
    QT_TRANSLATE_NOOP("HostNames", "Fixed Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Fixed Cost Accrual"),
    QT_TRANSLATE_NOOP("HostNames", "Start Variance"),
    QT_TRANSLATE_NOOP("HostNames", "Finish Variance"),
    QT_TRANSLATE_NOOP("HostNames", "Work Variance"),
    QT_TRANSLATE_NOOP("HostNames", "Remaining Work"),
    QT_TRANSLATE_NOOP("HostNames", "% Work Complete"),
    QT_TRANSLATE_NOOP("HostNames", "Cost Variance"),
    QT_TRANSLATE_NOOP("HostNames", "Remaining Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Leveling Delay"),
    QT_TRANSLATE_NOOP("HostNames", "Successors"),
    QT_TRANSLATE_NOOP("HostNames", "Hyperlink Address"),
    QT_TRANSLATE_NOOP("HostNames", "Hyperlink SubAddress"),
    QT_TRANSLATE_NOOP("HostNames", "Early Start"),
    QT_TRANSLATE_NOOP("HostNames", "Early Finish"),
    QT_TRANSLATE_NOOP("HostNames", "Created"),
    QT_TRANSLATE_NOOP("HostNames", "Notes"),
    QT_TRANSLATE_NOOP("HostNames", "Task Name"),
    QT_TRANSLATE_NOOP("HostNames", "Actual"),
    QT_TRANSLATE_NOOP("HostNames", "Act. Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Remaining"),
    QT_TRANSLATE_NOOP("HostNames", "SubAddress"),
    QT_TRANSLATE_NOOP("HostNames", "BAC"),
    QT_TRANSLATE_NOOP("HostNames", "Act. Work"),
    QT_TRANSLATE_NOOP("HostNames", "% W. Comp."),
    QT_TRANSLATE_NOOP("HostNames", "Text Above"),
    QT_TRANSLATE_NOOP("HostNames", "Address"),
    QT_TRANSLATE_NOOP("HostNames", "Resources"),
    QT_TRANSLATE_NOOP("HostNames", "Act. Finish"),
    QT_TRANSLATE_NOOP("HostNames", "Phys. % Comp."),
    QT_TRANSLATE_NOOP("HostNames", "% Comp."),
    QT_TRANSLATE_NOOP("HostNames", "Baseline Dur."),
    QT_TRANSLATE_NOOP("HostNames", "Finish Var."),
    QT_TRANSLATE_NOOP("HostNames", "Act. Start"),
    QT_TRANSLATE_NOOP("HostNames", "Rem. Dur."),
    QT_TRANSLATE_NOOP("HostNames", "Total Cost"),
    QT_TRANSLATE_NOOP("HostNames", "Act. Dur."),
    QT_TRANSLATE_NOOP("HostNames", "Start Var."),
    QT_TRANSLATE_NOOP("HostNames", "As Soon As Possible"),
    QT_TRANSLATE_NOOP("HostNames", "As Late As Possible"),
    QT_TRANSLATE_NOOP("HostNames", "Must Start On"),
    QT_TRANSLATE_NOOP("HostNames", "Must Finish On"),
    QT_TRANSLATE_NOOP("HostNames", "Start No Earlier Than"),
    QT_TRANSLATE_NOOP("HostNames", "Start No Later Than"),
    QT_TRANSLATE_NOOP("HostNames", "Finish No Earlier Than"),
    QT_TRANSLATE_NOOP("HostNames", "Finish No Later Than"),
};

}  // namespace

bool isDefaultTitle(std::string_view title) {
  // The titles the host's default tables give their columns.
  static constexpr std::string_view kDefaultTitles[] = {
      "Task Name",     "Actual",     "Act. Cost",     "Remaining",   "SubAddress", "BAC",
      "Act. Work",     "% W. Comp.", "Text Above",    "Address",     "Resources",  "Act. Finish",
      "Phys. % Comp.", "% Comp.",    "Baseline Dur.", "Finish Var.", "Act. Start", "Rem. Dur.",
      "Total Cost",    "Act. Dur.",  "Start Var.",    "Baseline",    "Variance",   "Hyperlink",
      "CV%",           "ACWP",       "EAC",           "SV%",         "CV",         "SV",
      "VAC",
  };
  return std::find(std::begin(kDefaultTitles), std::end(kDefaultTitles), title) !=
         std::end(kDefaultTitles);
}

QString shownHostName(std::string_view name) {
  const std::string text(name);
  return QCoreApplication::translate("HostNames", text.c_str());
}

}  // namespace lunavant::desktop
