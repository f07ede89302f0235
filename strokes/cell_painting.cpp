#include "strokes/cell_painting.h"

#include <QImage>
#include <QPainter>

namespace qir::strokes {

void drawBevel(QPainter& painter, const QRect& rect, bool raised) {
    const QColor& light = raised ? kHighlight : kShadow;
    const QColor& dark = raised ? kShadow : kHighlight;
    painter.setPen(light);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void drawPanel(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, Qt::white);
    drawBevel(painter, rect, true);
    drawBevel(painter, rect.adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth), false);
}

void drawPicture(QPainter& painter, const QRect& rect, const QPixmap& picture,
                 const QColor& windowColour) {
    if (picture.isNull()) {
        painter.fillRect(rect, windowColour);
    } else {
        painter.drawPixmap(rect, picture);
    }
}

QPixmap fitToPictureBox(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    // Stretched both ways: the step pictures are square, the box is too.
    return QPixmap::fromImage(
        image.scaled(kPictureSize, kPictureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace qir::strokes
