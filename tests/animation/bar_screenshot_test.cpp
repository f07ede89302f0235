// SPDX-License-Identifier: GPL-3.0-or-later
// What the user sees: the clip's picture inside the display panel and the bar beneath it, as
// on the main window (panel inside the animation frame, bar two pixels below the frame).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>

#include "animation/media_player.h"
#include "tests/animation/test_clips.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::animation {
namespace {

using B = TMPBtnType;

int countPixels(const QImage& image, QRect area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) == colour.rgb() ? 1 : 0;
        }
    }
    return count;
}

// The shots, for a person to look at, go to $QIR_TEST_SCREENSHOTS when it names a folder.
void keepForReview(const QImage& shot, const QString& name) {
    const QString folder = qEnvironmentVariable("QIR_TEST_SCREENSHOTS");
    if (!folder.isEmpty()) {
        shot.save(folder + "/" + name);
        shot.scaled(shot.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .save(folder + "/" + QString(name).replace(".png", "-x4.png"));
    }
}

TEST(BarScreenshotTest, TheVideoFillsThePanelCornerAndTheBarShowsItsState) {
    qir::testing::ScratchDirectory scratch;
    qir::testing::RecordingDesktop desktop;
    const testing::ClipSpec shape{.frames = 20};
    testing::writeClip("tmp2.avi", shape);

    QWidget window;
    window.resize(199, 152);
    window.setAutoFillBackground(true);
    QPalette background = window.palette();
    background.setColor(QPalette::Window, QColor(0, 96, 96));
    window.setPalette(background);
    QWidget panel(&window);
    panel.setGeometry(24, 1, 152, 124);
    MediaPlayer player(desktop, &window);
    player.setGeometry(1, 130, 197, 21);
    player.setDisplay(&panel);
    window.show();
    QApplication::setActiveWindow(&window);
    player.setFocus();

    player.setFileName("tmp2.avi");
    player.open();
    player.next();  // the last frame: the whole stroke
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    keepForReview(shot, QStringLiteral("animation-bar.png"));

    // The picture sits at the panel's top-left corner at its own size.
    EXPECT_EQ(shot.copy(24, 1, 152, 124), testing::expectedFrame(shape, 19));

    // The frame and the shared borders are drawn in the frame colour.
    const QRect bar(1, 130, 197, 21);
    const QColor frame(Qt::black);
    for (int i = 0; i <= 7; ++i) {
        const int x = bar.left() + i * 28;
        EXPECT_EQ(countPixels(shot, QRect(x, bar.top(), 1, bar.height()), frame), bar.height())
            << "border " << i;
    }
    EXPECT_EQ(countPixels(shot, QRect(bar.left(), bar.top(), bar.width(), 1), frame), bar.width());
    EXPECT_EQ(countPixels(shot, QRect(bar.left(), bar.bottom(), bar.width(), 1), frame),
              bar.width());

    // Play and the moves look normal; pause and stop are greyed.
    const QColor normal = player.palette().color(QPalette::ButtonText);
    const QColor greyed = player.palette().color(QPalette::Dark);
    auto face = [&](B button) {
        return player.buttonRect(button).translated(bar.topLeft()).adjusted(4, 4, -4, -4);
    };
    for (B button : {B::btNext, B::btPrev, B::btStep, B::btBack}) {
        EXPECT_GT(countPixels(shot, face(button), normal), 10);
        EXPECT_EQ(countPixels(shot, face(button), greyed), 0);
    }
    for (B button : {B::btPause, B::btStop}) {
        EXPECT_EQ(countPixels(shot, face(button), normal), 0);
        EXPECT_GT(countPixels(shot, face(button), greyed), 10);
    }
    EXPECT_GT(countPixels(shot, face(B::btPlay), normal), 10);

    // Held down, a button sinks: its glyph moves one pixel right and down.
    QTest::mousePress(&player, Qt::LeftButton, {}, player.buttonRect(B::btNext).center());
    const QImage pressed = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    keepForReview(pressed, QStringLiteral("animation-bar-pressed.png"));
    const QRect glyphArea = face(B::btNext).adjusted(2, 2, -2, -2);
    EXPECT_EQ(pressed.copy(glyphArea.translated(1, 1)), shot.copy(glyphArea));
    QTest::mouseRelease(&player, Qt::LeftButton, {}, player.buttonRect(B::btNext).center());
}

}  // namespace
}  // namespace qir::animation
