// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The box a learner writes in, as on squared paper: white, framed, with a dashed cross
// through the middle (田字格) and, when asked, the diagonals too (米字格).

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace qir {

void paintWritingGuides(QPainter& painter, const QRectF& box, const QColor& colour, bool diagonals);

}  // namespace qir
