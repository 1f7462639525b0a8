// SPDX-License-Identifier: MIT
#include "desktop/gantt_shapes.h"

#include <QPainter>
#include <algorithm>

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

QRectF TaskShapeRect(const wb::Task& task, double start_x, double finish_x, double row_top,
                     double row_height, double least_width) {
  if (task.IsMilestone()) {
    const double size = row_height * 0.6;
    return QRectF(start_x - size / 2, row_top + (row_height - size) / 2, size, size);
  }
  const double right = std::max(start_x + least_width, finish_x);
  if (task.IsSummary()) {
    return QRectF(start_x, row_top + row_height * 0.3, right - start_x, row_height * 0.3);
  }
  return QRectF(start_x, row_top + row_height * 0.25, right - start_x, row_height * 0.5);
}

QPainterPath MilestoneDiamond(const QRectF& square) {
  QPainterPath diamond;
  diamond.moveTo(square.center().x(), square.top());
  diamond.lineTo(square.right(), square.center().y());
  diamond.lineTo(square.center().x(), square.bottom());
  diamond.lineTo(square.left(), square.center().y());
  diamond.closeSubpath();
  return diamond;
}

QPainterPath LinkRoute::path() const {
  QPainterPath route(out);
  route.lineTo(turn);
  route.lineTo(head);
  return route;
}

LinkRoute RouteLink(const QRectF& from, const QRectF& to, wb::LinkType type, bool downward,
                    double least_run) {
  const bool from_finish =
      type == wb::LinkType::kFinishToStart || type == wb::LinkType::kFinishToFinish;
  const bool to_start = type == wb::LinkType::kFinishToStart || type == wb::LinkType::kStartToStart;
  const double x1 = from_finish ? from.right() : from.left();
  const double x2 = to_start ? to.left() : to.right();
  const double y1 = from.center().y();
  const double y2 = downward ? to.top() : to.bottom();
  const double elbow = from_finish ? std::max(x1 + least_run, x2) : std::min(x1 - least_run, x2);
  return LinkRoute{QPointF(x1, y1), QPointF(elbow, y1), QPointF(elbow, y2), QPointF(x2, y2),
                   downward};
}

void PaintLinkHead(QPainter& painter, const LinkRoute& route, double tip) {
  const double dir = route.downward ? 1 : -1;
  const QPointF& head = route.head;
  QPainterPath arrow;
  arrow.moveTo(head);
  arrow.lineTo(head.x() - tip, head.y() - dir * tip);
  arrow.lineTo(head.x() + tip, head.y() - dir * tip);
  arrow.closeSubpath();
  painter.fillPath(arrow, kLinkColour);
}

}  // namespace lunavant::desktop
