// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>

#include "app/picture.h"
#include "tests/app/form_fixture.h"

namespace qir {
namespace {

class HoverTest : public ::testing::Test {
  protected:
    HoverTest() {
        for (const char* name :
             {"exityellow.bmp", "exitwhite.bmp", "miniyellow.bmp", "miniwhite.bmp",
              "helpyellow.bmp", "helpwhite.bmp", "nextgreen.bmp", "nextwhite.bmp", "pregreen.bmp",
              "prewhite.bmp"}) {
            QFile::copy(QStringLiteral(QIR_SKIN_DIR "/") + name, QString::fromLatin1(name));
        }
    }
    QImage skin(const char* name) { return QImage(QString::fromLatin1(name), "BMP"); }
    QImage shown(const char* control) {
        return fixture.control<app::Picture>(control)->picture().convertToFormat(
            QImage::Format_RGB888);
    }
    const app::HotFlags& flags() { return fixture.form().hotFlags(); }

    testing::FormFixture fixture;
};

TEST_F(HoverTest, PictureLightsAndItsPanelTurnsItBack) {
    testing::FormFixture::moveOver(fixture.control("Imageexit"));
    EXPECT_TRUE(flags().ExitHot);
    EXPECT_EQ(shown("Imageexit"), skin("exityellow.bmp").convertToFormat(QImage::Format_RGB888));
    testing::FormFixture::moveOver(fixture.control("Panel4"), {2, 2});
    EXPECT_FALSE(flags().ExitHot);
    EXPECT_EQ(shown("Imageexit"), skin("exitwhite.bmp").convertToFormat(QImage::Format_RGB888));
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
}

TEST_F(HoverTest, NeighbourPanelsTurnBackBothButtonsButTheHelpPanelOnlyItsOwn) {
    testing::FormFixture::moveOver(fixture.control("Imagemini"));
    testing::FormFixture::moveOver(fixture.control("Imageexit"));
    testing::FormFixture::moveOver(fixture.control("Imagehelp"));
    EXPECT_TRUE(flags().MiniHot && flags().ExitHot && flags().HelpHot);
    testing::FormFixture::moveOver(fixture.control("Panel7"), {1, 1});
    EXPECT_FALSE(flags().HelpHot);
    EXPECT_TRUE(flags().MiniHot && flags().ExitHot);
    testing::FormFixture::moveOver(fixture.control("Panel5"), {1, 1});
    EXPECT_FALSE(flags().MiniHot || flags().ExitHot);
}

TEST_F(HoverTest, CrossingTheArrowPanelTurnsTheNextArrowBackBeforeThePreviousLights) {
    testing::FormFixture::moveOver(fixture.control("Imagenext"));
    EXPECT_TRUE(flags().NextHot);
    testing::FormFixture::moveOver(fixture.control("Panel10"), {10, 32});
    testing::FormFixture::moveOver(fixture.control("Imageprev"));
    EXPECT_FALSE(flags().NextHot);
    EXPECT_TRUE(flags().PrevHot);
    EXPECT_EQ(shown("Imageprev"), skin("pregreen.bmp").convertToFormat(QImage::Format_RGB888));
}

TEST_F(HoverTest, AtStartPanelsLoadNothing) {
    QFile::remove("exitwhite.bmp");
    QFile::remove("miniwhite.bmp");
    const QImage before = shown("Imageexit");
    testing::FormFixture::moveOver(fixture.control("Panel4"), {2, 2});
    testing::FormFixture::moveOver(fixture.control("Panel5"), {1, 1});
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
    EXPECT_EQ(shown("Imageexit"), before);
}

TEST_F(HoverTest, MissingHighlightShowsTheErrorEachMoveAndKeepsTheNormalLook) {
    QFile::remove("exityellow.bmp");
    const QImage before = shown("Imageexit");
    testing::FormFixture::moveOver(fixture.control("Imageexit"));
    testing::FormFixture::moveOver(fixture.control("Imageexit"));
    ASSERT_EQ(fixture.desktop().errors.size(), 2);
    EXPECT_EQ(fixture.desktop().errors[0], "Cannot open file exityellow.bmp.");
    EXPECT_EQ(shown("Imageexit"), before);
    EXPECT_TRUE(flags().ExitHot);
    testing::FormFixture::moveOver(fixture.control("Panel4"), {2, 2});
    EXPECT_EQ(fixture.desktop().errors.size(), 2);
    EXPECT_FALSE(flags().ExitHot);
}

TEST_F(HoverTest, BadBitmapFilesGiveTheirTextsAndAnEmptyFileClearsThePicture) {
    const struct {
        QByteArray content;
        QString error;
    } cases[] = {
        {QByteArray("BM12345"), "Stream read error."},
        {QByteArray(64, 'x'), "Bitmap image is not valid."},
    };
    for (const auto& c : cases) {
        fixture.desktop().errors.clear();
        QFile file("helpyellow.bmp");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.content);
        file.close();
        testing::FormFixture::moveOver(fixture.control("Imagehelp"));
        ASSERT_EQ(fixture.desktop().errors.size(), 1);
        EXPECT_EQ(fixture.desktop().errors[0], c.error);
    }
    QFile empty("helpyellow.bmp");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    fixture.desktop().errors.clear();
    testing::FormFixture::moveOver(fixture.control("Imagehelp"));
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
    EXPECT_TRUE(fixture.control<app::Picture>("Imagehelp")->picture().isNull());
}

}  // namespace
}  // namespace qir
