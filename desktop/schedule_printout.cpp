// SPDX-License-Identifier: MIT
#include "desktop/schedule_printout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "desktop/display_text.h"
#include "desktop/gantt_shapes.h"
#include "desktop/host_text.h"
#include "desktop/task_sheet_model.h"
#include "desktop/timescale_labels.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

// Sizes in points at full scale.
constexpr int kFontPixels = 7;
constexpr double kCellPadding = 3.0;
constexpr double kIndentPerLevel = 8.0;
// The sheet takes at most this share of the page before the whole print is scaled down, and the
// print is never scaled below the floor: text under about 4 points is no longer read.
constexpr double kSheetShare = 0.6;
constexpr double kSmallestScale = 0.55;
// A screen pixel of the chart is 1/96 inch; a point is 1/72.
constexpr double kPointsPerScreenPixel = 0.75;

const QColor kTitleColour(246, 246, 246);
const QColor kGridColour(200, 200, 200);

// Mirrors x about the middle of [left, left + width].
QTransform MirrorOver(double left, double width) {
  return QTransform(-1, 0, 0, 1, 2 * left + width, 0);
}

// Draws `text` in `box` with its letters upright however the painter mirrors: the box goes where
// the mirror puts it, and its left and right alignments trade places.
void DrawUpright(QPainter& painter, const QRectF& box, int flags, const QString& text) {
  const QTransform transform = painter.transform();
  if (transform.m11() >= 0) {
    painter.drawText(box, flags, text);
    return;
  }
  const QRectF on_device = transform.mapRect(box);
  const double sx = -transform.m11();
  const double sy = transform.m22();
  if (flags & Qt::AlignLeft) {
    flags = (flags & ~Qt::AlignLeft) | Qt::AlignRight;
  } else if (flags & Qt::AlignRight) {
    flags = (flags & ~Qt::AlignRight) | Qt::AlignLeft;
  }
  painter.save();
  painter.setTransform(QTransform::fromScale(sx, sy));
  painter.drawText(QRectF(on_device.left() / sx, on_device.top() / sy, on_device.width() / sx,
                          on_device.height() / sy),
                   flags, text);
  painter.restore();
}

double DayOfMoment(wb::Moment when) {
  return static_cast<double>(when) / static_cast<double>(wb::kMinutesPerDay);
}

}  // namespace

// Everything in the print's own units: points divided by the scale.
struct SchedulePrintout::Geometry {
  double scale = 1.0;
  double page_width = 0;
  double page_height = 0;
  double header_height = 0;
  double footer_height = 0;
  double row_height = 0;
  double tier_height = 0;
  double sheet_width = 0;
  std::vector<SheetColumn> columns;
  double points_per_day = 1.0;
  // Room on either side of each page's slice of the chart, so that a milestone at the slice's edge
  // is drawn whole.
  double gutter = 0;
  std::vector<GanttChart::Tier> tiers;
  lunavant::workbench::Timescale timescale;
  int rows_per_page = 1;
  std::int64_t days_per_page = 1;
  std::int64_t first_day = 0;
  std::int64_t end_day = 1;

  double timescaleHeight() const { return static_cast<double>(tiers.size()) * tier_height; }
  double chartLeft() const { return sheet_width + gutter; }
  double bodyTop() const { return header_height; }
  double bodyBottom() const { return page_height - footer_height; }
};

SchedulePrintout::SchedulePrintout(const TaskSheetModel& model, wb::HijriDays& hijri,
                                   const GanttChart& chart, PrintTimescale timescale)
    : model_(model),
      hijri_(hijri),
      hijri_tiers_(chart.hijriTiers()),
      print_timescale_(timescale),
      font_(QApplication::font()),
      printed_on_(QDate::currentDate()),
      page_mirrored_(chart.isRightToLeft()),
      time_right_to_left_(chart.timeRunsRightToLeft()) {
  font_.setPixelSize(kFontPixels);
  // Names in Arabic need a face with its letters; the family falls back through fontconfig.
  font_.setStyleStrategy(QFont::PreferAntialias);
}

QString SchedulePrintout::sheetText(int row, int column) const {
  return model_.index(row, column).data(Qt::DisplayRole).toString();
}

std::vector<SchedulePrintout::SheetColumn> SchedulePrintout::sheetColumns(double cap) const {
  QFont bold = font_;
  bold.setBold(true);
  const QFontMetricsF plain_metrics(font_);
  const QFontMetricsF bold_metrics(bold);
  std::vector<SheetColumn> columns;
  for (int column = 0; column < model_.columnCount(); ++column) {
    // Wide enough for the title and for every cell, so that no text is cut.
    double width = bold_metrics.horizontalAdvance(
        model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    for (int row = 0; row < model_.outline().RowCount(); ++row) {
      const QModelIndex index = model_.index(row, column);
      const bool summary = index.data(TaskSheetModel::SummaryRole).toBool();
      double text =
          (summary ? bold_metrics : plain_metrics).horizontalAdvance(sheetText(row, column));
      if (column == model_.nameColumn()) {
        text +=
            std::max(0, index.data(TaskSheetModel::OutlineLevelRole).toInt() - 1) * kIndentPerLevel;
      }
      width = std::max(width, text);
    }
    columns.push_back({column, std::min(cap, std::ceil(width + 2 * kCellPadding))});
  }
  return columns;
}

SchedulePrintout::Geometry SchedulePrintout::measure(const QPageLayout& layout) const {
  Geometry g;
  const QRectF paper = layout.paintRectPoints();
  const QFontMetricsF metrics(font_);
  g.row_height = std::ceil(metrics.height() * 1.6);
  g.tier_height = g.row_height;
  g.header_height = std::ceil(metrics.height() * 2.4);
  g.footer_height = std::ceil(metrics.height() * 2.2);

  // A name column no wider than a third of the page; longer names are cut with an ellipsis.
  g.columns = sheetColumns(paper.width() / 3);
  double natural = 0;
  for (const SheetColumn& column : g.columns) natural += column.width;
  g.scale =
      natural <= 0 ? 1.0 : std::clamp(kSheetShare * paper.width() / natural, kSmallestScale, 1.0);
  g.page_width = paper.width() / g.scale;
  g.page_height = paper.height() / g.scale;
  // Still too wide at the smallest scale: the columns that do not fit leave, the name stays.
  while (g.columns.size() > 1) {
    double total = 0;
    for (const SheetColumn& column : g.columns) total += column.width;
    if (total <= 0.8 * g.page_width) break;
    auto last = g.columns.end() - 1;
    if (last->column == model_.nameColumn()) --last;
    g.columns.erase(last);
  }
  g.sheet_width = 0;
  for (const SheetColumn& column : g.columns) g.sheet_width += column.width;

  // Half a milestone's diamond and a little air.
  g.gutter = std::ceil(g.row_height * 0.3) + 1;
  const double chart_width = std::max(g.row_height, g.page_width - g.sheet_width - 2 * g.gutter);

  // The chart runs from the day before the first start to the last finish, and at a zoom of its
  // own past the last bar's label too.
  const wb::Project& project = model_.project();
  const wb::Task& summary = project.SummaryTask();
  g.first_day = std::min(wb::DayOf(project.ProjectStart()), wb::DayOf(summary.Start())) - 1;
  double last = DayOfMoment(summary.Finish());
  for (int row = 0; row < model_.outline().RowCount(); ++row) {
    if (const wb::Task* task = model_.taskAt(row))
      last = std::max(last, DayOfMoment(task->Finish()));
  }
  const int pages_wide = std::clamp(print_timescale_.pages_wide, 0, PrintTimescale::kMostPagesWide);
  if (pages_wide > 0) {
    // Whole days per page, as many pages as asked (fewer when there are fewer days than pages).
    const std::int64_t days =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(last)) + 1 - g.first_day);
    g.days_per_page = (days + pages_wide - 1) / pages_wide;
    g.points_per_day = chart_width / static_cast<double>(g.days_per_page);
    g.end_day = g.first_day + days;
    // The closest zoom whose days are no wider than the print's labels its tiers.
    wb::Timescale fitting(wb::kWidestZoom);
    while (fitting.Zoom() != wb::kClosestZoom &&
           fitting.ZoomedIn().PixelsPerDay() * kPointsPerScreenPixel <= g.points_per_day) {
      fitting = fitting.ZoomedIn();
    }
    g.timescale = fitting;
  } else {
    g.timescale = wb::Timescale(print_timescale_.zoom);
    g.points_per_day = g.timescale.PixelsPerDay() * kPointsPerScreenPixel;
    g.days_per_page =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(chart_width / g.points_per_day));
    for (int row = 0; row < model_.outline().RowCount(); ++row) {
      const wb::Task* task = model_.taskAt(row);
      if (task == nullptr || task->IsSummary()) continue;
      const double label = metrics.horizontalAdvance(fromHost(task->Name())) + 4;
      last = std::max(last, DayOfMoment(task->Finish()) + label / g.points_per_day);
    }
    g.end_day = std::max(g.first_day + 1, static_cast<std::int64_t>(std::ceil(last)) + 1);
  }
  g.tiers = GanttChart::tiersFor(g.timescale, hijri_tiers_);
  const double rows_room = g.bodyBottom() - g.bodyTop() - g.timescaleHeight();
  g.rows_per_page = std::max(1, static_cast<int>(rows_room / g.row_height));
  return g;
}

std::vector<SchedulePrintout::Page> SchedulePrintout::pages(const QPageLayout& layout) const {
  const Geometry g = measure(layout);
  std::vector<Page> result;
  const int rows = model_.outline().RowCount();
  for (int first_row = 0; first_row < std::max(rows, 1); first_row += g.rows_per_page) {
    for (std::int64_t day = g.first_day; day < g.end_day; day += g.days_per_page) {
      result.push_back(Page{first_row, std::min(rows, first_row + g.rows_per_page), day,
                            std::min(g.end_day, day + g.days_per_page)});
    }
  }
  return result;
}

bool SchedulePrintout::paint(QPagedPaintDevice& device) const {
  const QPageLayout layout = device.pageLayout();
  const Geometry geometry = measure(layout);
  const std::vector<Page> all = pages(layout);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // The painter works in points scaled by the print's scale, whatever the device's resolution.
  const double device_per_point = device.logicalDpiX() / 72.0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (i > 0 && !device.newPage()) {
      painter.end();
      return false;
    }
    painter.resetTransform();
    painter.scale(device_per_point * geometry.scale, device_per_point * geometry.scale);
    paintPage(painter, geometry, all[i], static_cast<int>(i) + 1, static_cast<int>(all.size()));
  }
  return painter.end();
}

QString SchedulePrintout::printDateText() const {
  const QString day =
      digitsShown(QLocale().toString(printed_on_, tr("dddd, d MMMM yyyy", "the day printed")));
  const std::int64_t days =
      wb::DaysFromCivil(printed_on_.year(), printed_on_.month(), printed_on_.day());
  if (const std::optional<wb::HijriDate> hijri = hijri_.FromDays(days)) {
    return tr("Printed on %1 (%2 %3 %4 AH)", "weekday and date; Hijri day, month name, year")
        .arg(day, numberShown(hijri->day), hijriMonthNameShown(hijri->month),
             numberShown(hijri->year));
  }
  return tr("Printed on %1").arg(day);
}

void SchedulePrintout::paintPage(QPainter& painter, const Geometry& g, const Page& page, int number,
                                 int count) const {
  if (page_mirrored_) painter.setTransform(MirrorOver(0, g.page_width) * painter.transform());
  painter.setFont(font_);
  painter.setPen(Qt::black);
  QFont bold = font_;
  bold.setBold(true);

  // Header: the project's name on the left, the page number on the right.
  const QRectF header(0, 0, g.page_width, g.header_height * 0.7);
  painter.setFont(bold);
  DrawUpright(painter, header, Qt::AlignLeft | Qt::AlignVCenter, fromHost(model_.project().Name()));
  painter.setFont(font_);
  DrawUpright(painter, header, Qt::AlignRight | Qt::AlignVCenter,
              tr("Page %1 of %2").arg(numberShown(number), numberShown(count)));
  painter.setPen(QPen(Qt::black, 0.5));
  painter.drawLine(QPointF(0, header.bottom()), QPointF(g.page_width, header.bottom()));

  paintSheet(painter, g, page);
  paintChart(painter, g, page);
  paintTimescale(painter, g, page);

  // Footer: the day printed, in both calendars.
  const double footer_top = g.bodyBottom() + g.footer_height * 0.3;
  painter.setPen(QPen(Qt::black, 0.5));
  painter.drawLine(QPointF(0, footer_top), QPointF(g.page_width, footer_top));
  painter.setFont(font_);
  DrawUpright(painter, QRectF(0, footer_top, g.page_width, g.page_height - footer_top),
              Qt::AlignLeft | Qt::AlignVCenter, printDateText());
}

void SchedulePrintout::paintSheet(QPainter& painter, const Geometry& g, const Page& page) const {
  QFont bold = font_;
  bold.setBold(true);
  const double title_height = g.timescaleHeight();
  const double top = g.bodyTop();
  const double rows_bottom = top + title_height + (page.end_row - page.first_row) * g.row_height;
  painter.fillRect(QRectF(0, top, g.sheet_width, title_height), kTitleColour);
  double x = 0;
  for (const SheetColumn& column : g.columns) {
    const QRectF title(x + kCellPadding, top, column.width - 2 * kCellPadding, title_height);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    DrawUpright(painter, title, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap,
                model_.headerData(column.column, Qt::Horizontal, Qt::DisplayRole).toString());
    for (int row = page.first_row; row < page.end_row; ++row) {
      const QModelIndex index = model_.index(row, column.column);
      const double row_top = top + title_height + (row - page.first_row) * g.row_height;
      QRectF cell(x + kCellPadding, row_top, column.width - 2 * kCellPadding, g.row_height);
      const bool summary = index.data(TaskSheetModel::SummaryRole).toBool();
      if (column.column == model_.nameColumn()) {
        cell.setLeft(cell.left() +
                     std::max(0, index.data(TaskSheetModel::OutlineLevelRole).toInt() - 1) *
                         kIndentPerLevel);
      }
      painter.setFont(summary ? bold : font_);
      const QFontMetricsF metrics(painter.font());
      const auto alignment =
          index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() | Qt::AlignVCenter;
      DrawUpright(painter, cell, alignment & ~Qt::AlignTop & ~Qt::AlignBottom,
                  metrics.elidedText(sheetText(row, column.column), Qt::ElideRight, cell.width()));
    }
    x += column.width;
    painter.setPen(QPen(kGridColour, 0.5));
    painter.drawLine(QPointF(x, top), QPointF(x, rows_bottom));
  }
  painter.setPen(QPen(kGridColour, 0.5));
  for (int row = page.first_row; row <= page.end_row; ++row) {
    const double y = top + title_height + (row - page.first_row) * g.row_height;
    painter.drawLine(QPointF(0, y), QPointF(g.sheet_width, y));
  }
  painter.drawLine(QPointF(0, top), QPointF(0, rows_bottom));
}

void SchedulePrintout::paintTimescale(QPainter& painter, const Geometry& g,
                                      const Page& page) const {
  const double left = g.chartLeft();
  const double width = static_cast<double>(page.end_day - page.first_day) * g.points_per_day;
  const QFontMetricsF metrics(font_);
  painter.save();
  // Time runs against the page's direction when the user keeps it left to right.
  if (page_mirrored_ != time_right_to_left_) {
    painter.setTransform(MirrorOver(left, width) * painter.transform());
  }
  painter.setClipRect(QRectF(left, g.bodyTop(), width, g.timescaleHeight()));
  painter.setFont(font_);
  for (std::size_t tier = 0; tier < g.tiers.size(); ++tier) {
    const double top = g.bodyTop() + static_cast<double>(tier) * g.tier_height;
    const bool hijri = g.tiers[tier].calendar == wb::TierCalendar::kHijri;
    painter.fillRect(QRectF(left, top, width, g.tier_height),
                     hijri ? kHijriTierColour : kGregorianTierColour);
    for (const wb::TierCell& cell : g.timescale.Cells(g.tiers[tier].calendar, g.tiers[tier].unit,
                                                      page.first_day, page.end_day, &hijri_)) {
      // A cell only partly on the page is labelled in the part that is.
      const std::int64_t from = std::max(cell.first_day, page.first_day);
      const std::int64_t to = std::min(cell.end_day, page.end_day);
      const double x1 = left + static_cast<double>(from - page.first_day) * g.points_per_day;
      const double x2 = left + static_cast<double>(to - page.first_day) * g.points_per_day;
      painter.setPen(QPen(kGridColour, 0.5));
      if (cell.end_day <= page.end_day) {
        painter.drawLine(QPointF(x2, top), QPointF(x2, top + g.tier_height));
      }
      const QString label =
          FittingLabel(timescaleLabelShown(cell, g.tiers[tier].calendar, g.tiers[tier].unit,
                                           g.tiers[tier].unit == g.timescale.Major(), hijri_),
                       x2 - x1, metrics);
      if (label.isEmpty()) continue;
      painter.setPen(Qt::black);
      DrawUpright(painter, QRectF(x1, top, x2 - x1, g.tier_height), Qt::AlignCenter, label);
    }
    painter.setPen(QPen(kGridColour, 0.5));
    painter.drawLine(QPointF(left, top + g.tier_height),
                     QPointF(left + width, top + g.tier_height));
  }
  painter.restore();
}

std::vector<SchedulePrintout::PrintedShape> SchedulePrintout::shapes(const Geometry& g,
                                                                     const Page& page) const {
  const double left = g.chartLeft();
  const double width = static_cast<double>(page.end_day - page.first_day) * g.points_per_day;
  const double top = g.bodyTop() + g.timescaleHeight();
  const double bottom = top + (page.end_row - page.first_row) * g.row_height;
  const QRectF area(left, top, width, bottom - top);
  std::vector<PrintedShape> printed;
  for (int row = page.first_row; row < page.end_row; ++row) {
    const wb::Task* task = model_.taskAt(row);
    if (task == nullptr) continue;
    auto x_of = [&](wb::Moment when) {
      return left + (DayOfMoment(when) - static_cast<double>(page.first_day)) * g.points_per_day;
    };
    const QRectF rect =
        TaskShapeRect(*task, x_of(task->Start()), x_of(task->Finish()),
                      top + (row - page.first_row) * g.row_height, g.row_height, 0.5);
    if (task->IsMilestone()) {
      // A diamond goes whole on the page that holds its day, into the gutter if it must, and on
      // no other page.
      const double centre = rect.center().x();
      if (centre < area.left() || centre >= area.right()) continue;
      printed.push_back({task, rect, area.adjusted(-g.gutter, 0, g.gutter, 0)});
    } else if (rect.right() >= area.left() && rect.left() <= area.right()) {
      // A bar that runs on to the next page continues there.
      printed.push_back({task, rect, area});
    }
  }
  return printed;
}

std::vector<SchedulePrintout::PrintedShape> SchedulePrintout::shapesOn(const QPageLayout& layout,
                                                                       const Page& page) const {
  return shapes(measure(layout), page);
}

wb::TimescaleZoom SchedulePrintout::zoomOn(const QPageLayout& layout) const {
  return measure(layout).timescale.Zoom();
}

void SchedulePrintout::paintChart(QPainter& painter, const Geometry& g, const Page& page) const {
  const double left = g.chartLeft();
  const double width = static_cast<double>(page.end_day - page.first_day) * g.points_per_day;
  const double top = g.bodyTop() + g.timescaleHeight();
  const double bottom = top + (page.end_row - page.first_row) * g.row_height;
  const QRectF area(left, top, width, bottom - top);
  auto x_of = [&](wb::Moment when) {
    return left + (DayOfMoment(when) - static_cast<double>(page.first_day)) * g.points_per_day;
  };
  auto bar_of = [&](int row) -> QRectF {
    const wb::Task* task = model_.taskAt(row);
    if (task == nullptr) return {};
    return TaskShapeRect(*task, x_of(task->Start()), x_of(task->Finish()),
                         top + (row - page.first_row) * g.row_height, g.row_height, 0.5);
  };

  painter.save();
  if (page_mirrored_ != time_right_to_left_) {
    painter.setTransform(MirrorOver(area.left(), area.width()) * painter.transform());
  }
  painter.setClipRect(area);
  if (g.points_per_day >= 2.0) {
    const wb::ProjectCalendar& calendar = model_.project().Calendar();
    for (std::int64_t day = page.first_day; day < page.end_day; ++day) {
      if (calendar.IsWorkingDay(day)) continue;
      painter.fillRect(QRectF(x_of(day * wb::kMinutesPerDay), top, g.points_per_day, bottom - top),
                       kNonWorkingColour);
    }
  }
  painter.setRenderHint(QPainter::Antialiasing, true);

  // Links between rows of this page.
  painter.setPen(QPen(kLinkColour, 0.6));
  const wb::OutlineRows& outline = model_.outline();
  for (int row = page.first_row; row < page.end_row; ++row) {
    const wb::Task* task = model_.taskAt(row);
    if (task == nullptr) continue;
    for (const wb::Link& link : task->PredecessorLinks()) {
      const int from_row = outline.RowOfTask(*link.task);
      if (from_row < page.first_row || from_row >= page.end_row) continue;
      const LinkRoute route =
          RouteLink(bar_of(from_row), bar_of(row), link.type, row > from_row, 3);
      painter.drawPath(route.path());
      PaintLinkHead(painter, route, 2);
    }
  }

  const QFontMetricsF metrics(font_);
  painter.setFont(font_);
  for (const PrintedShape& shape : shapes(g, page)) {
    const wb::Task& task = *shape.task;
    const QRectF& bar = shape.rect;
    painter.setClipRect(shape.visible);
    if (task.IsMilestone()) {
      painter.fillPath(MilestoneDiamond(bar), Qt::black);
    } else if (task.IsSummary()) {
      painter.fillRect(bar, Qt::black);
    } else {
      painter.setPen(QPen(kBarEdge, 0.5));
      painter.setBrush(kBarColour);
      painter.drawRect(bar);
    }
    painter.setClipRect(area);
    if (task.IsSummary()) continue;
    // The name goes whole on the page where the bar ends: after the bar when it fits there,
    // otherwise before it, otherwise against the page's right edge.
    if (bar.right() < area.left() || bar.right() > shape.visible.right()) continue;
    const QString name = fromHost(task.Name());
    const double text_width = metrics.horizontalAdvance(name);
    double x = bar.right() + 2;
    const double row_top = bar.center().y() - g.row_height / 2;
    if (x + text_width > area.right()) {
      x = bar.left() - 2 - text_width;
      if (x < area.left()) {
        // Over the bar, on a ground of its own so that it reads.
        x = area.right() - text_width - 1;
        painter.fillRect(
            QRectF(x - 1, row_top + g.row_height * 0.2, text_width + 2, g.row_height * 0.6),
            QColor(255, 255, 255, 230));
      }
    }
    painter.setPen(Qt::black);
    DrawUpright(painter, QRectF(x, row_top, text_width + 1, g.row_height),
                Qt::AlignLeft | Qt::AlignVCenter, name);
  }
  painter.restore();
  painter.setPen(QPen(kGridColour, 0.5));
  painter.drawRect(area);
}

}  // namespace lunavant::desktop
