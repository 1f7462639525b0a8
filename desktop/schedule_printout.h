// SPDX-License-Identifier: MIT
// A project's schedule on paper: the task sheet with its columns (Hijri ones included) beside the
// Gantt chart with the chart's Hijri and Gregorian tiers, split over pages as a scheduler prints.
// Rows are split into bands of whole rows and time into slices of whole days, on a timescale of the
// print's own (a zoom, or the time fitted to so many pages wide), whatever the screen shows; every
// page repeats the sheet's columns for its rows and shows one slice of the chart, with room at its
// edges so that a milestone near one is drawn whole on the page that holds its day, under a header
// with the project's name and the page number and over a footer with the date printed in both
// calendars. In a right-to-left interface the page is mirrored, its text upright.
// Print, Print Preview and Export PDF all paint through this one layout.
//
//   SchedulePrintout printout(view.model(), hijri, view.chart(), {.pages_wide = 2});
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
class Task;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class TaskSheetModel;

// The timescale on paper.
struct PrintTimescale {
  lunavant::workbench::TimescaleZoom zoom = lunavant::workbench::TimescaleZoom::kWeeks;
  // The chart's days fitted to this many pages across, the tiers those of the closest zoom that
  // has room for them; 0 prints at `zoom`.
  int pages_wide = 0;
  static constexpr int kMostPagesWide = 50;
  friend bool operator==(const PrintTimescale&, const PrintTimescale&) = default;
};

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

  // Prints the rows `model` shows with the Hijri tiers placed as on `chart`, on `timescale`. The
  // model and the Hijri days must outlive the printout.
  SchedulePrintout(const TaskSheetModel& model, lunavant::workbench::HijriDays& hijri,
                   const GanttChart& chart, PrintTimescale timescale);

  // The day printed in the footer; today unless set.
  void setPrintDate(QDate date) { printed_on_ = date; }

  // The pages of the schedule on paper of `layout`, band of rows by band of rows, each band's
  // time slices from left to right.
  std::vector<Page> pages(const QPageLayout& layout) const;
  // Paints every page on `device` with the device's page layout; false when the device cannot be
  // painted on.
  bool paint(QPagedPaintDevice& device) const;

  // A task's shape as printed on a page, and the part of the page shapes may take.
  struct PrintedShape {
    const lunavant::workbench::Task* task;
    QRectF rect;     // in the print's own units, as painted
    QRectF visible;  // where it is not clipped
  };
  // The shapes printed on `page` (one of pages(layout)), in row order.
  std::vector<PrintedShape> shapesOn(const QPageLayout& layout, const Page& page) const;
  // The zoom whose tiers label the print on `layout`: the print's own, or when fitted the closest
  // one that has room.
  lunavant::workbench::TimescaleZoom zoomOn(const QPageLayout& layout) const;

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
  std::vector<PrintedShape> shapes(const Geometry& geometry, const Page& page) const;

  GanttChart::HijriTiers hijri_tiers_;
  PrintTimescale print_timescale_;
  QFont font_;
  QDate printed_on_;
  // A right-to-left interface prints its pages mirrored (the sheet on the right, the chart on the
  // left, the header's ends swapped); the chart's time runs as it does on screen.
  bool page_mirrored_ = false;
  bool time_right_to_left_ = false;
};

}  // namespace lunavant::desktop
