// SPDX-License-Identifier: GPL-3.0-or-later
// The window at the screen's device pixel ratio: run once per scale (QT_SCALE_FACTOR 1, 1.25,
// 1.5, 2, 3). Pictures come from their double-size twins where the screen has more device
// pixels than logical ones, step pictures are scaled smoothly, and every frame and bevel keeps
// its pixels at fractional scales. With QIR_SCREENSHOT_DIR set, the window's picture is saved
// there for a look.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <cmath>

#include "app/picture.h"
#include "strokes/picture_box.h"
#include "tests/app/form_fixture.h"

namespace qir {
namespace {

using testing::FormFixture;

qreal ratio() {
    return qApp->devicePixelRatio();
}

QImage deviceImage(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, QColor b, int tolerance = 24) {
    return std::abs(qRed(a) - b.red()) <= tolerance &&
           std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// A one-pixel line of the design, in window coordinates: horizontal when `line` is one pixel
// high, vertical when one pixel wide.
struct Line {
    const char* what;
    QRect line;
    QColor colour;
};

// The positions along `line` where no device pixel of its band shows its colour.
std::vector<int> gapsIn(const QImage& shot, const Line& line) {
    const qreal s = ratio();
    const bool horizontal = line.line.height() == 1;
    const int across = horizontal ? line.line.top() : line.line.left();
    const int from = horizontal ? line.line.left() : line.line.top();
    const int to = horizontal ? line.line.right() : line.line.bottom();
    // The device pixels the line may land on: its band, widened by one pixel of rounding.
    const int first = static_cast<int>(std::floor(across * s)) - 1;
    const int last = static_cast<int>(std::ceil((across + 1) * s));
    std::vector<int> gaps;
    for (int along = from + 2; along <= to - 2; along += 3) {
        const int at = static_cast<int>(std::floor((along + 0.5) * s));
        bool seen = false;
        for (int band = first; band <= last && !seen; ++band) {
            const QPoint pixel = horizontal ? QPoint(at, band) : QPoint(band, at);
            seen = shot.rect().contains(pixel) && near(shot.pixel(pixel), line.colour);
        }
        if (!seen) {
            gaps.push_back(along);
        }
    }
    return gaps;
}

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);
const QColor kBlack(0, 0, 0);

void saveForALook(QWidget* widget, const QString& name) {
    const QString directory = qEnvironmentVariable("QIR_SCREENSHOT_DIR");
    if (!directory.isEmpty()) {
        widget->grab().save(
            QDir(directory).filePath(QStringLiteral("%1-%2.png").arg(name).arg(ratio())));
    }
}

TEST(Scale, EveryFrameAndBevelKeepsItsPixels) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    saveForALook(&form, QStringLiteral("window"));
    const QImage shot = deviceImage(&form);
    ASSERT_EQ(shot.width(), static_cast<int>(std::lround(640 * ratio())));

    // The work area Panel6 at 32, 89 (579 x 345) with its sunken two-pixel edge; the grey
    // panel Panel8 inside it at 158, 94 (446 x 333); the animation frame Shape2 at 294, 99
    // (154 x 128); the divider Bevel2 at 159, 254; the grid's first cell at 160, 255.
    const Line lines[] = {
        {"Bevel1 under the banner", {0, 56, 640, 1}, kWhite},
        {"Panel6 edge, top", {34, 89, 575, 1}, kShadow},
        {"Panel6 edge, left", {32, 91, 1, 341}, kShadow},
        {"Panel6 edge, inner top", {34, 90, 575, 1}, kDarkShadow},
        {"Panel6 edge, inner left", {33, 91, 1, 341}, kDarkShadow},
        {"Panel6 edge, bottom", {34, 433, 575, 1}, kWhite},
        {"Panel6 edge, right", {610, 91, 1, 341}, kWhite},
        {"Panel8 outer, top", {160, 94, 442, 1}, kWhite},
        {"Panel8 outer, left", {158, 96, 1, 329}, kWhite},
        // (the grid covers the rest of it, scroll bar and all)
        {"Panel8 outer, bottom", {160, 426, 420, 1}, kShadow},
        {"Panel8 outer, right", {603, 96, 1, 329}, kShadow},
        {"Panel8 inner, top", {160, 95, 442, 1}, kShadow},
        {"Panel8 inner, left", {159, 96, 1, 329}, kShadow},
        {"Shape2, top", {296, 99, 150, 1}, kBlack},
        {"Shape2, left", {294, 101, 1, 124}, kBlack},
        {"Shape2, bottom", {296, 226, 150, 1}, kBlack},
        {"Shape2, right", {447, 101, 1, 124}, kBlack},
        {"Bevel2, top", {161, 254, 440, 1}, kShadow},
        {"grid cell 0, top", {162, 255, 80, 1}, kWhite},
        {"grid cell 0, left", {160, 258, 1, 80}, kWhite},
        {"grid cell 0, right", {244, 258, 1, 80}, kShadow},
        {"grid cell 0, bottom", {162, 340, 80, 1}, kShadow},
        {"grid cell 5, top", {162, 341, 80, 1}, kWhite},
        {"Panel3 outer, top", {535, 5, 97, 1}, kWhite},
        {"Panel3 outer, bottom", {535, 24, 97, 1}, kShadow},
        {"Panel3 outer, right", {633, 7, 1, 16}, kShadow},
        {"player bar frame, top", {274, 229, 193, 1}, kBlack},
        {"player bar frame, left", {272, 231, 1, 17}, kBlack},
        {"player bar frame, bottom", {274, 249, 193, 1}, kBlack},
        {"player bar frame, right", {468, 231, 1, 17}, kBlack},
    };
    for (const Line& line : lines) {
        const auto gaps = gapsIn(shot, line);
        EXPECT_TRUE(gaps.empty()) << line.what << " at scale " << ratio() << ": " << gaps.size()
                                  << " gaps, the first at " << gaps.front();
    }
}

TEST(Scale, SkinPicturesComeFromTheirDoubleSizeTwins) {
    FormFixture fixture;  // in a scratch working folder, which gets the skin files
    for (const char* name : {"exityellow.bmp", "exitwhite.bmp", "exityellow@2x.bmp",
                             "exitwhite@2x.bmp", "helpwhite.bmp"}) {
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(QIR_SKIN_DIR "/") + name, QString::fromLatin1(name)));
    }
    fixture.form().show();
    auto* exit = fixture.control<app::Picture>("Imageexit");
    const qreal expected = ratio() > 1 ? 2.0 : 1.0;
    EXPECT_EQ(exit->picture().devicePixelRatio(), expected);
    const auto twinShown = [&](const QString& twinFile) {
        // At exactly two device pixels to one, the twin's own pixels are on the screen.
        const QImage twin = QImage(twinFile).convertToFormat(QImage::Format_RGB32);
        const QImage shown = deviceImage(exit);
        EXPECT_EQ(shown, twin.copy(QRect(QPoint(0, 0), shown.size()))) << twinFile.toStdString();
        // ... and not the plain picture pixel-doubled.
        const QImage doubled = QImage(twinFile)
                                   .scaled(twin.size() / 2)
                                   .scaled(twin.size())
                                   .convertToFormat(QImage::Format_RGB32);
        EXPECT_NE(shown, doubled.copy(QRect(QPoint(0, 0), shown.size())));
    };
    if (ratio() == 2.0) {
        twinShown(QStringLiteral(":/assets/exit@2x.bmp"));
    }

    FormFixture::moveOver(exit);  // the lit look, read from the working folder
    EXPECT_EQ(exit->picture().devicePixelRatio(), expected);
    if (ratio() == 2.0) {
        twinShown(QStringLiteral("exityellow@2x.bmp"));
    }
    // A picture the user has redrawn keeps its own look, though its old twin lies beside it.
    QFile::remove(QStringLiteral("exitwhite.bmp"));
    QFile::copy(QStringLiteral("helpwhite.bmp"), QStringLiteral("exitwhite.bmp"));
    FormFixture::moveOver(fixture.control("Panel4"), {2, 2});
    EXPECT_EQ(exit->picture().devicePixelRatio(), 1.0);
    EXPECT_EQ(exit->picture().convertToFormat(QImage::Format_RGB32),
              QImage(QStringLiteral("helpwhite.bmp")).convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
}

// A step picture finer than the box at one pixel a point: with more device pixels its detail
// shows; it is not shrunk to the box's logical size and blown up again.
TEST(Scale, StepPicturesAreScaledSmoothlyToTheDevicePixels) {
    QImage fine(124, 124, QImage::Format_RGB32);
    for (int y = 0; y < fine.height(); ++y) {
        for (int x = 0; x < fine.width(); ++x) {
            fine.setPixel(x, y, ((x + y) % 2 == 0) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    QWidget window;
    auto* box = new strokes::PictureBox(&window);
    box->setPicture(fine);
    window.show();
    const QImage shown = deviceImage(box);
    ASSERT_EQ(shown.width(), static_cast<int>(std::lround(62 * ratio())));
    if (ratio() == 2.0) {
        EXPECT_EQ(shown, fine);  // the picture's own pixels
    }
    if (ratio() > 1) {
        // Not the picture shrunk to the box's 62 points and blown up to the device pixels.
        const QImage blownUp = fine.scaled(62, 62, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .scaled(shown.size())
                                   .convertToFormat(QImage::Format_RGB32);
        EXPECT_NE(shown, blownUp);
    }
}

}  // namespace
}  // namespace qir
