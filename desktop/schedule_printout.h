// SPDX-License-Identifier: MIT
// A project's schedule on paper: the task sheet with its columns (Hijri ones included) beside the
// Gantt chart with the chart's Hijri and Gregorian tiers, split over pages as a scheduler prints.
// Rows are split into bands of whole rows and time into slices of whole days; every page repeats
// the sheet's columns for its rows and shows one slice of the chart, under a header with the
// project's name and the page number and over a footer with the date printed in both calendars.
// In a right-to-left interface the page is mirrored, its text upright.
// Print, Print Preview and Export PDF all paint through this one layout.
//
//   SchedulePrintout printout(view.model(), hijri, view.chart());
//   QPdfWriter pdf(&file);
//   pdf.setPageLayout(layout);
//   printout.paint(pdf);            // one page per entry of printout.pages(layout)
#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QFont>
#include <QPageLayout>
#include <QString>
#include <vector>

#include "desktop/gantt_chart.h"

class QPagedPaintDevice;
class QPainter;

namespace lunavant::workbench {
class HijriDays;
}

namespace lunavant::desktop {

class TaskSheetModel;

class SchedulePrintout {
  Q_DECLARE_TR_FUNCTIONS(SchedulePrintout)

 public:
  // One printed page: the rows [first_row, end_row) of the sheet and the days [first_day,
  // end_day) of the chart.
  struct Page {
    int first_row;
    int end_row;
    std::int64_t first_day;
    std::int64_t end_day;
  };

  // Prints what `chart` shows (its tiers, its zoom) of the rows `model` shows. The model, the
  // Hijri days and the chart must outlive the printout.
  SchedulePrintout(const TaskSheetModel& model, lunavant::workbench::HijriDays& hijri,
                   const GanttChart& chart);

  // The day printed in the footer; today unless set.
  void setPrintDate(QDate date) { printed_on_ = date; }

  // The pages of the schedule on paper of `layout`, band of rows by band of rows, each band's
  // time slices from left to right.
  std::vector<Page> pages(const QPageLayout& layout) const;
  // Paints every page on `device` with the device's page layout; false when the device cannot be
  // painted on.
  bool paint(QPagedPaintDevice& device) const;

  // The footer's words: "Printed on Tuesday, 8 December 2026 (27 Jumada al-Thani 1448 AH)".
  QString printDateText() const;

 private:
  struct Geometry;
  struct SheetColumn {
    int column;  // in the model
    double width;
  };
  Geometry measure(const QPageLayout& layout) const;
  std::vector<SheetColumn> sheetColumns(double available) const;
  void paintPage(QPainter& painter, const Geometry& geometry, const Page& page, int number,
                 int count) const;
  void paintSheet(QPainter& painter, const Geometry& geometry, const Page& page) const;
  void paintTimescale(QPainter& painter, const Geometry& geometry, const Page& page) const;
  void paintChart(QPainter& painter, const Geometry& geometry, const Page& page) const;
  QString sheetText(int row, int column) const;

  const TaskSheetModel& model_;
  lunavant::workbench::HijriDays& hijri_;
  std::vector<GanttChart::Tier> tiers_;
  lunavant::workbench::Timescale timescale_;
  QFont font_;
  QDate printed_on_;
  // A right-to-left interface prints its pages mirrored (the sheet on the right, the chart on the
  // left, the header's ends swapped); the chart's time runs as it does on screen.
  bool page_mirrored_ = false;
  bool time_right_to_left_ = false;
};

}  // namespace lunavant::desktop
