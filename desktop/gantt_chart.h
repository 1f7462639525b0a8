// SPDX-License-Identifier: MIT
// The Gantt chart beside the task sheet: a timescale of Gregorian tiers with Hijri tiers above or
// below them, the project calendar's non-working days (weekends and holidays) shaded, and the bars,
// milestones, summaries and links of the rows the sheet shows. It draws only the rows and days in
// view, so a project of any size paints in the time its visible part takes. The sheet owns vertical
// scrolling; the chart follows it (setVerticalOffset) and hands its own wheel turns over
// (verticalWheel).
#pragma once

#include <QAbstractScrollArea>
#include <QRectF>
#include <QStringList>
#include <vector>

#include "workbench/schedule/calendar.h"
#include "workbench/view/timescale.h"

namespace lunavant::workbench {
class HijriDays;
}

namespace lunavant::desktop {

class TaskSheetModel;

class GanttChart : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum class HijriTiers { Above, Below, Hidden };

  struct Tier {
    lunavant::workbench::TierCalendar calendar;
    lunavant::workbench::TierUnit unit;
  };

  // The model and the Hijri days must outlive the chart.
  GanttChart(TaskSheetModel& model, lunavant::workbench::HijriDays& hijri,
             QWidget* parent = nullptr);

  int rowHeight() const { return row_height_; }
  void setRowHeight(int height);
  // The height of the timescale; the sheet's header is kept as tall.
  int headerHeight() const;

  HijriTiers hijriTiers() const { return hijri_tiers_; }
  void setHijriTiers(HijriTiers placement);
  const lunavant::workbench::Timescale& timescale() const { return timescale_; }
  void setZoom(lunavant::workbench::TimescaleZoom zoom);

  // The timescale's tiers from top to bottom.
  std::vector<Tier> tiers() const;
  // The cells of tier `tier` that meet the days in view.
  std::vector<lunavant::workbench::TierCell> visibleCells(int tier) const;
  // The labels drawn on those cells, in order: whole, shortened to fit, or empty.
  QStringList shownLabels(int tier) const;
  // Whether `cell` of tier `tier` is a Hijri month whose first day or length the converter's
  // corrections in force change; such a month is drawn marked.
  bool isCorrectedMonth(int tier, const lunavant::workbench::TierCell& cell) const;
  // Where the row's bar (or milestone, or summary) is drawn, in viewport coordinates; empty for a
  // blank row or a row outside the sheet. Painting uses the same geometry.
  QRectF barRect(int row) const;
  // The x of a moment, in viewport coordinates.
  double xOfMoment(lunavant::workbench::Moment when) const;
  // The first day shown at the left edge.
  std::int64_t firstVisibleDay() const;
  // Brings `day` to the left edge (as far as the scroll range allows).
  void scrollToDay(std::int64_t day);

 public slots:
  void setVerticalOffset(int offset);
  void zoomIn();
  void zoomOut();
  // Reads the project's span again and repaints.
  void refresh();

 signals:
  void headerHeightChanged(int height);
  // A wheel turn over the chart, for the sheet to scroll by.
  void verticalWheel(QWheelEvent* event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int tierHeight() const;
  // The label drawn on `cell` and, in `box`, the part of the tier it is centred in.
  QString shownLabel(const lunavant::workbench::TierCell& cell, QRectF* box = nullptr) const;
  int rowTop(int row) const;
  void updateScrollRange();
  void paintShading(QPainter& painter, std::int64_t first_day, std::int64_t end_day) const;
  void paintRows(QPainter& painter, int first_row, int last_row) const;
  void paintLinks(QPainter& painter, int first_row, int last_row) const;
  void paintTimescale(QPainter& painter) const;

  TaskSheetModel& model_;
  lunavant::workbench::HijriDays& hijri_;
  lunavant::workbench::Timescale timescale_;
  HijriTiers hijri_tiers_ = HijriTiers::Above;
  int row_height_ = 22;
  int vertical_offset_ = 0;
  std::int64_t origin_day_ = 0;  // the day at x = 0 of the scroll range
  std::int64_t day_count_ = 1;
};

}  // namespace lunavant::desktop
