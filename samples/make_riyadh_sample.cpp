// SPDX-License-Identifier: MIT
// Writes the bundled sample project: the fit-out of an office floor in Riyadh, planned on a
// Sunday-to-Thursday week with the holidays of 1446 and 1447 AH, and with Start and Finish paired
// with HijriStart and HijriFinish. The Hijri texts are written by the add-in itself, through the
// converter library, so they are what a user of the add-in would see.
//
//   make_riyadh_sample <converter folder> <output file>
#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "addin/events/ms_proj_events.h"
#include "addin/host/global.h"
#include "addin/pairing/pair_registry.h"
#include "converter/include/orbelune.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace {

using namespace lunavant;
using workbench::LinkType;

constexpr host::FieldId kHijriStart = workbench::field::kText1;
constexpr host::FieldId kHijriFinish = 188743734;  // Text2

struct Holiday {
  int year, month, first_day, last_day;  // Hijri
};

// Eid al-Fitr from 29 Ramadan, Eid al-Adha from the day of Arafah, as the private sector takes
// them.
constexpr Holiday kHijriHolidays[] = {
    {1446, 9, 29, 30}, {1446, 10, 1, 3}, {1446, 12, 9, 12},
    {1447, 9, 29, 30}, {1447, 10, 1, 3}, {1447, 12, 9, 12},
};

std::int64_t GregorianDayOf(int hy, int hm, int hd) {
  std::int32_t y = hy, m = hm, d = hd, gy, gm, gd, weekday;
  if (H2GA(&y, &m, &d, &gy, &gm, &gd, &weekday) != 0) throw std::runtime_error("H2GA failed");
  return workbench::DaysFromCivil(gy, gm, gd);
}

struct Row {
  const char* name;
  int days;
  int level;
};

// Phases (level 1) with their work (level 2); 0 days is a milestone.
constexpr Row kRows[] = {
    {"Project start-up", 0, 1},  // 1
    {"Contract signed", 0, 2},
    {"Kick-off meeting with the landlord", 1, 2},
    {"Site survey and measured drawings", 5, 2},
    {"Design", 0, 1},  // 5
    {"Space planning", 10, 2},
    {"Concept design", 10, 2},
    {"Client review of concept", 5, 2},
    {"Detailed design", 20, 2},
    {"MEP design", 15, 2},  // 10
    {"Design approved", 0, 2},
    {"Permits", 0, 1},
    {"Civil defence submission", 10, 2},
    {"Municipality fit-out permit", 15, 2},
    {"Permits granted", 0, 2},  // 15
    {"Procurement", 0, 1},
    {"Tender main contractor", 15, 2},
    {"Award main contractor", 3, 2},
    {"Order raised floor and ceilings", 30, 2},
    {"Order HVAC units", 40, 2},  // 20
    {"Order furniture", 50, 2},
    {"Order IT and AV equipment", 35, 2},
    {"Site works", 0, 1},
    {"Site mobilisation", 3, 2},
    {"Strip-out of existing finishes", 10, 2},  // 25
    {"Setting out partitions", 3, 2},
    {"Metal stud partitions", 15, 2},
    {"HVAC ductwork", 20, 2},
    {"HVAC units installed", 8, 2},
    {"Electrical first fix", 15, 2},  // 30
    {"Data cabling", 12, 2},
    {"Plumbing for pantry and washrooms", 10, 2},
    {"Fire alarm and sprinklers", 12, 2},
    {"Raised floor", 10, 2},
    {"Suspended ceilings", 12, 2},  // 35
    {"Boarding and plastering", 12, 2},
    {"Electrical second fix", 8, 2},
    {"Painting", 10, 2},
    {"Floor finishes", 8, 2},
    {"Joinery and pantry fit-out", 10, 2},  // 40
    {"Washroom finishes", 8, 2},
    {"Signage and glass manifestation", 4, 2},
    {"Services complete", 0, 2},
    {"Testing and handover", 0, 1},
    {"HVAC testing and balancing", 5, 2},  // 45
    {"Fire system inspection", 3, 2},
    {"Civil defence final inspection", 2, 2},
    {"Snagging", 10, 2},
    {"Deep cleaning", 3, 2},
    {"Practical completion", 0, 2},  // 50
    {"Move-in", 0, 1},
    {"Furniture installation", 8, 2},
    {"IT and AV installation", 8, 2},
    {"Staff move", 5, 2},
    {"Office open", 0, 2},  // 55
    {"Close-out", 0, 1},
    {"As-built drawings", 10, 2},
    {"Temporary site office hire", 10, 2},
    {"Defects period starts", 0, 2},
    {"Final account agreed", 15, 2},  // 60
};

struct LinkRow {
  int from, to;
  LinkType type;
  int lag;
};

constexpr LinkRow kLinks[] = {
    {2, 3, LinkType::kFinishToStart, 0},    {3, 4, LinkType::kFinishToStart, 2},
    {4, 6, LinkType::kFinishToStart, 0},    {6, 7, LinkType::kFinishToStart, 0},
    {7, 8, LinkType::kFinishToStart, 0},    {8, 9, LinkType::kFinishToStart, 0},
    {9, 10, LinkType::kStartToStart, 5},    {9, 11, LinkType::kFinishToStart, 0},
    {10, 11, LinkType::kFinishToFinish, 0}, {11, 13, LinkType::kFinishToStart, 0},
    {13, 14, LinkType::kFinishToStart, 0},  {14, 15, LinkType::kFinishToStart, 0},
    {11, 17, LinkType::kFinishToStart, 0},  {17, 18, LinkType::kFinishToStart, 0},
    {18, 19, LinkType::kFinishToStart, 0},  {18, 20, LinkType::kFinishToStart, 0},
    {18, 21, LinkType::kFinishToStart, 0},  {18, 22, LinkType::kFinishToStart, 0},
    {15, 24, LinkType::kFinishToStart, 0},  {18, 24, LinkType::kFinishToStart, 5},
    {24, 25, LinkType::kFinishToStart, 0},  {25, 26, LinkType::kFinishToStart, 0},
    {26, 27, LinkType::kFinishToStart, 0},  {25, 28, LinkType::kFinishToStart, 0},
    {20, 29, LinkType::kFinishToStart, 0},  {28, 29, LinkType::kStartToStart, 10},
    {27, 30, LinkType::kStartToStart, 5},   {30, 31, LinkType::kStartToStart, 3},
    {25, 32, LinkType::kFinishToStart, 0},  {28, 33, LinkType::kStartToStart, 5},
    {19, 34, LinkType::kFinishToStart, 0},  {30, 34, LinkType::kFinishToStart, 0},
    {19, 35, LinkType::kFinishToStart, 0},  {33, 35, LinkType::kFinishToStart, 0},
    {27, 36, LinkType::kFinishToStart, 0},  {35, 37, LinkType::kFinishToStart, 0},
    {36, 38, LinkType::kFinishToStart, 0},  {38, 39, LinkType::kFinishToFinish, 3},
    {34, 39, LinkType::kFinishToStart, 0},  {36, 40, LinkType::kFinishToStart, 0},
    {32, 41, LinkType::kFinishToStart, 0},  {38, 42, LinkType::kFinishToStart, 0},
    {37, 43, LinkType::kFinishToStart, 0},  {39, 43, LinkType::kFinishToStart, 0},
    {29, 43, LinkType::kFinishToStart, 0},  {41, 43, LinkType::kFinishToStart, 0},
    {43, 45, LinkType::kFinishToStart, 0},  {43, 46, LinkType::kFinishToStart, 0},
    {46, 47, LinkType::kFinishToStart, 0},  {45, 48, LinkType::kFinishToStart, 0},
    {47, 48, LinkType::kFinishToStart, 0},  {48, 49, LinkType::kFinishToStart, 0},
    {49, 50, LinkType::kFinishToStart, 0},  {21, 52, LinkType::kFinishToStart, 0},
    {50, 52, LinkType::kFinishToStart, 0},  {22, 53, LinkType::kFinishToStart, 0},
    {52, 53, LinkType::kStartToStart, 2},   {53, 54, LinkType::kFinishToStart, 0},
    {54, 55, LinkType::kFinishToStart, 0},  {50, 57, LinkType::kFinishToStart, 0},
    {50, 58, LinkType::kStartToFinish, 0},  {55, 59, LinkType::kFinishToStart, 0},
    {57, 60, LinkType::kFinishToStart, 0},
};

workbench::Task& TaskOf(workbench::Project& pj, int id) {
  return *static_cast<workbench::Task*>(pj.TaskAt(id));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_riyadh_sample <converter folder> <output file>\n");
    return 2;
  }
  try {
    workbench::Application app;
    host::SetGlobalApplication(&app);
    app.Regional().OverrideShortDatePattern("dd/MM/yyyy");
    app.Regional().OverrideDateSeparator("/");
    app.Libraries().AddSearchFolderFirst(argv[1]);
    events::MSProjEvents add_in;
    add_in.Bind(app, nullptr);

    workbench::Project& pj = app.NewProject("riyadh-office-fit-out.xml");
    workbench::ProjectCalendar calendar(workbench::WorkWeek::SundayToThursday(), 8 * 60, 17 * 60);
    for (const Holiday& h : kHijriHolidays) {
      for (int d = h.first_day; d <= h.last_day; ++d) {
        calendar.SetDayWorking(GregorianDayOf(h.year, h.month, d), false);
      }
    }
    // Founding Day and National Day follow the Gregorian calendar.
    for (const auto& [y, m, d] : {std::array{2025, 9, 23}, {2026, 2, 22}, {2026, 9, 23}}) {
      calendar.SetDayWorking(workbench::DaysFromCivil(y, m, d), false);
    }
    pj.SetCalendar(calendar);
    pj.SetProjectStart(workbench::MomentOf(2025, 3, 2, 8, 0));  // Sunday 2 Ramadan 1446
    for (const Row& row : kRows) {
      // The plan was drawn up on one day; a fixed date keeps the file the same from run to run.
      pj.AddTask(row.name, row.days, row.level)
          .SetField(workbench::field::kCreated, "16/02/2025 09:00");
    }
    for (const LinkRow& link : kLinks) {
      pj.AddLink(TaskOf(pj, link.from), TaskOf(pj, link.to), link.type, link.lag);
    }
    // Dates the plan cannot move: the landlord's handover of the floor, the civil defence slot,
    // and the move agreed with the staff (it runs across the Eid al-Fitr holiday of 1447).
    TaskOf(pj, 24).SetField(workbench::field::kConstraintType, "Start No Earlier Than");
    TaskOf(pj, 24).SetField(workbench::field::kConstraintDate, "14/09/2025");
    TaskOf(pj, 47).SetField(workbench::field::kConstraintType, "Finish No Later Than");
    TaskOf(pj, 47).SetField(workbench::field::kConstraintDate, "11/12/2025");
    TaskOf(pj, 54).SetField(workbench::field::kConstraintType, "Start No Earlier Than");
    TaskOf(pj, 54).SetField(workbench::field::kConstraintDate, "15/03/2026");
    TaskOf(pj, 2).SetField(workbench::field::kConstraintType, "Must Start On");
    TaskOf(pj, 2).SetField(workbench::field::kConstraintDate, "02/03/2025");

    // The two pairs, as the Add command leaves them.
    host::ColumnList& entry = pj.TaskTable("Entry").Columns();
    app.CustomFieldRename(kHijriStart, "HijriStart");
    entry.Add(kHijriStart, 2, 12, "HijriStart", 1, 5 - 2, false);  // right of Start (5)
    app.CustomFieldRename(kHijriFinish, "HijriFinish");
    entry.Add(kHijriFinish, 2, 12, "HijriFinish", 1, 7 - 2, false);  // right of Finish (7)
    pairing::AddPair(kHijriStart, workbench::field::kStart, pj.Index());
    pairing::AddPair(kHijriFinish, workbench::field::kFinish, pj.Index());
    pairing::SetForceRefresh(true);
    app.CalculateProject();  // the add-in writes every Hijri text
    if (app.RecordedMessages() != nullptr && !app.RecordedMessages()->Shown().empty()) {
      std::fprintf(stderr, "the add-in reported: %s\n",
                   app.RecordedMessages()->Shown().front().prompt.c_str());
      return 1;
    }
    workbench::SaveProjectFile(pj, argv[2]);
    host::SetGlobalApplication(nullptr);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
