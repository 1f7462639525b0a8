// SPDX-License-Identifier: MIT
// What a Gantt chart is drawn with, on screen and on paper alike: its colours, where a task's shape
// sits in its row, a milestone's diamond, and a link's route and arrowhead. Each caller gives the
// sizes of its own surface (pixels or points).
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include "workbench/model/task.h"

class QPainter;

namespace lunavant::desktop {

inline const QColor kBarColour(70, 110, 200);
inline const QColor kBarEdge(40, 70, 150);
inline const QColor kNonWorkingColour(236, 236, 236);
inline const QColor kHijriTierColour(232, 244, 236);
// A Hijri month whose start or length the corrections in force change.
inline const QColor kCorrectedMonthColour(252, 226, 168);
inline const QColor kGregorianTierColour(246, 246, 246);
inline const QColor kLinkColour(40, 70, 150);

// Where `task` is drawn in a row from `row_top`, `row_height` tall, given the x of its start and of
// its finish: a milestone as a square (for its diamond) centred on its start, a summary as a thin
// band, any other task as a bar at least `least_width` wide.
QRectF TaskShapeRect(const lunavant::workbench::Task& task, double start_x, double finish_x,
                     double row_top, double row_height, double least_width);

// The diamond drawn in a milestone's square.
QPainterPath MilestoneDiamond(const QRectF& square);

// A link's way from its predecessor's shape to its successor's: out of the side the link type
// names (start or finish) along the predecessor's middle, on for at least `least_run` (back, out
// of a start), then straight down or up to the successor's near edge, where the arrowhead points.
struct LinkRoute {
  QPointF out;   // on the predecessor's shape
  QPointF turn;  // level with `out`, straight above or below `head`
  QPointF head;  // on the successor's near edge
  QPointF end;   // the side of the successor the link type names, on that edge
  bool downward = true;

  // From `out` by `turn` to `head`.
  QPainterPath path() const;
};
LinkRoute RouteLink(const QRectF& from, const QRectF& to, lunavant::workbench::LinkType type,
                    bool downward, double least_run);

// Fills the arrowhead at the route's head, `tip` long and twice as wide.
void PaintLinkHead(QPainter& painter, const LinkRoute& route, double tip);

}  // namespace lunavant::desktop
