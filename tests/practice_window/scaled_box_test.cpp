// SPDX-License-Identifier: GPL-3.0-or-later
// The writing box on a screen scaled by 2 (this test runs with QT_SCALE_FACTOR=2): still at
// least 360 logical pixels, and the ink painted at the screen's own resolution, not drawn at
// half and blown up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "practice_window/practice_window.h"
#include "tests/practice/made_up_character.h"
#include "tests/support/scratch_directory.h"

namespace qir::practice_window {
namespace {

TEST(ScaledWritingBox, IsLargeInLogicalPixelsAndInksAtDeviceResolution) {
    testing::ScratchDirectory folder;
    practice::PracticeCharacter character{"\xD3\xC0", testing::madeUpCharacter(), {}};
    for (const practice::Polyline& median : character.medians) {
        QPainterPath outline(QPointF(median.front().x, median.front().y));
        outline.lineTo(median.back().x, median.back().y);
        character.outlines.push_back(outline);
    }
    PracticeWindow window({character}, folder.path() / practice::kPracticeRecordFile);
    window.setMode(practice::PracticeMode::FromMemory);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_DOUBLE_EQ(window.devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";

    WritingBox& box = window.writingBox();
    EXPECT_GE(box.width(), 360);
    EXPECT_GE(box.height(), 360);

    // Ink on a slant, still being drawn (the button held), away from the guides.
    const double side = std::min(box.width(), box.height()) - 2.0;
    const auto at = [&](double x, double y) {
        return QPointF((box.width() - side) / 2 + x * side, (box.height() - side) / 2 + y * side);
    };
    const auto send = [&](QEvent::Type type, QPointF position) {
        QMouseEvent event(type, position, box.mapToGlobal(position), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&box, &event);
    };
    send(QEvent::MouseButtonPress, at(0.15, 0.15));
    for (int step = 1; step <= 20; ++step) {
        send(QEvent::MouseMove, at(0.15 + step * 0.015, 0.15 + step * 0.01));
    }
    const QImage image = box.grab().toImage().convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(image.width(), 2 * box.width());
    ASSERT_EQ(image.height(), 2 * box.height());

    // Within the ink's bounds, count the 2×2 blocks of device pixels that are not all alike:
    // ink drawn at half resolution and scaled up has none; a slanted edge at full resolution
    // has them all along it.
    const QPoint from = (at(0.15, 0.15) * 2).toPoint() - QPoint(30, 30);
    const QPoint to = (at(0.45, 0.35) * 2).toPoint() + QPoint(30, 30);
    int inked = 0;
    int mixedBlocks = 0;
    for (int y = from.y() & ~1; y + 1 < to.y(); y += 2) {
        for (int x = from.x() & ~1; x + 1 < to.x(); x += 2) {
            const int a = image.pixelColor(x, y).value();
            const int b = image.pixelColor(x + 1, y).value();
            const int c = image.pixelColor(x, y + 1).value();
            const int d = image.pixelColor(x + 1, y + 1).value();
            inked += std::min({a, b, c, d}) < 60 ? 1 : 0;
            mixedBlocks += std::max({a, b, c, d}) - std::min({a, b, c, d}) > 40 ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 100) << "no ink where the pointer went";
    EXPECT_GT(mixedBlocks, 40) << "the ink's edges are blocks of 2×2 device pixels";
}

}  // namespace
}  // namespace qir::practice_window
