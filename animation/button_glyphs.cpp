// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/button_glyphs.h"

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <vector>

namespace qir::animation {
namespace {

constexpr int kGlyphHeight = 9;

// A glyph as a set of pixels, built from bars and triangles.
class Shape {
  public:
    // A bar `width` wide, `height` high, centred in the glyph's height.
    Shape& bar(int left, int width, int height = kGlyphHeight) {
        const int top = (kGlyphHeight - height) / 2;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                put(x, y);
            }
        }
        return *this;
    }
    // A triangle pointing right (or left), the glyph's height tall and five pixels wide.
    Shape& triangle(int left, bool pointsRight) {
        const int half = kGlyphHeight / 2;
        for (int y = 0; y < kGlyphHeight; ++y) {
            const int length = std::min(y, kGlyphHeight - 1 - y) + 1;
            for (int i = 0; i < length; ++i) {
                put(pointsRight ? left + i : left + half - i, y);
            }
        }
        return *this;
    }
    Shape& disc() {
        constexpr const char* rows[kGlyphHeight] = {"..XXXXX..", ".XXXXXXX.", "XXXXXXXXX",
                                                    "XXXXXXXXX", "XXXXXXXXX", "XXXXXXXXX",
                                                    "XXXXXXXXX", ".XXXXXXX.", "..XXXXX.."};
        for (int y = 0; y < kGlyphHeight; ++y) {
            for (int x = 0; rows[y][x] != '\0'; ++x) {
                if (rows[y][x] == 'X') {
                    put(x, y);
                }
            }
        }
        return *this;
    }
    Shape& eject() {
        // A triangle pointing up over a bar.
        for (int y = 0; y < 5; ++y) {
            for (int x = 4 - y; x <= 4 + y; ++x) {
                put(x, y);
            }
        }
        for (int y = 7; y < kGlyphHeight; ++y) {
            for (int x = 0; x < 9; ++x) {
                put(x, y);
            }
        }
        return *this;
    }

    const std::vector<QPoint>& pixels() const { return pixels_; }
    QSize size() const { return {width_, kGlyphHeight}; }

  private:
    void put(int x, int y) {
        pixels_.emplace_back(x, y);
        width_ = std::max(width_, x + 1);
    }
    std::vector<QPoint> pixels_;
    int width_ = 0;
};

Shape makeShape(TMPBtnType button) {
    Shape shape;
    switch (button) {
        case TMPBtnType::btPlay:
            return shape.triangle(0, true);
        case TMPBtnType::btPause:
            return shape.bar(0, 3).bar(5, 3);
        case TMPBtnType::btStop:
            return shape.bar(0, 8, 8);
        case TMPBtnType::btNext:
            return shape.triangle(0, true).triangle(5, true).bar(11, 2);
        case TMPBtnType::btPrev:
            return shape.bar(0, 2).triangle(3, false).triangle(8, false);
        case TMPBtnType::btStep:
            return shape.bar(0, 2).triangle(3, true);
        case TMPBtnType::btBack:
            return shape.triangle(0, false).bar(6, 2);
        case TMPBtnType::btRecord:
            return shape.disc();
        case TMPBtnType::btEject:
            return shape.eject();
    }
    return shape;
}

const Shape& shapeOf(TMPBtnType button) {
    static const std::vector<Shape> shapes = [] {
        std::vector<Shape> all;
        for (TMPBtnType kind : kAllButtons) {
            all.push_back(makeShape(kind));
        }
        return all;
    }();
    return shapes[static_cast<std::size_t>(button)];
}

QColor colourOf(TMPBtnType button) {
    switch (button) {
        case TMPBtnType::btPlay:
            return QColor(0, 128, 0);
        case TMPBtnType::btPause:
            return QColor(160, 128, 0);
        case TMPBtnType::btStop:
        case TMPBtnType::btRecord:
            return QColor(192, 0, 0);
        case TMPBtnType::btEject:
            return QColor(0, 0, 0);
        default:
            return QColor(0, 0, 160);
    }
}

void fillPixels(QPainter& painter, const Shape& shape, QPoint origin, const QColor& colour) {
    for (const QPoint& pixel : shape.pixels()) {
        painter.fillRect(origin.x() + pixel.x(), origin.y() + pixel.y(), 1, 1, colour);
    }
}

}  // namespace

QSize glyphSize(TMPBtnType button) {
    return shapeOf(button).size() + QSize(1, 1);
}

void drawGlyph(QPainter& painter, TMPBtnType button, QPoint topLeft, GlyphLook look,
               const QPalette& palette) {
    const Shape& shape = shapeOf(button);
    switch (look) {
        case GlyphLook::Normal:
            fillPixels(painter, shape, topLeft, palette.color(QPalette::ButtonText));
            break;
        case GlyphLook::Coloured:
            fillPixels(painter, shape, topLeft, colourOf(button));
            break;
        case GlyphLook::Greyed:
            // Etched: a light copy one pixel down and right under a dark one.
            fillPixels(painter, shape, topLeft + QPoint(1, 1), palette.color(QPalette::Light));
            fillPixels(painter, shape, topLeft, palette.color(QPalette::Dark));
            break;
    }
}

}  // namespace qir::animation
