// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/render_style.h"

#include <QPen>
#include <algorithm>
#include <cmath>
#include <vector>

namespace qir::tools {

void drawGuide(QPainter& painter, const QRectF& square, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Lines on pixel centres stay one pixel wide and crisp at every size.
    const QRectF frame = square.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    QPen dashed(colour, 1, Qt::CustomDashLine);
    const double dash = std::max(2.0, square.width() / 30.0);
    dashed.setDashPattern({dash, dash});
    painter.setPen(dashed);
    const double midX = std::floor(frame.center().x()) + 0.5;
    const double midY = std::floor(frame.center().y()) + 0.5;
    painter.drawLine(QPointF(midX, frame.top()), QPointF(midX, frame.bottom()));
    painter.drawLine(QPointF(frame.left(), midY), QPointF(frame.right(), midY));
    painter.restore();
}

QImage guideImage(QSize size, const QRectF& square, QImage::Format paintFormat,
                  QImage::Format format, const QColor& background, const QColor& guide) {
    struct Painted {
        QSize size;
        QRectF square;
        QImage::Format paintFormat;
        QImage::Format format;
        QRgb background;
        QRgb guide;
        QImage image;
    };
    thread_local std::vector<Painted> painted;
    for (const Painted& entry : painted) {
        if (entry.size == size && entry.square == square && entry.paintFormat == paintFormat &&
            entry.format == format && entry.background == background.rgba() &&
            entry.guide == guide.rgba()) {
            return entry.image;
        }
    }
    QImage canvas(size, paintFormat);
    canvas.fill(background);
    {
        QPainter painter(&canvas);
        drawGuide(painter, square, guide);
    }
    painted.push_back({size, square, paintFormat, format, background.rgba(), guide.rgba(),
                       canvas.convertToFormat(format)});
    return painted.back().image;
}

}  // namespace qir::tools
