// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/order_corrections.h"

#include <gtest/gtest.h>

#include <QImage>
#include <fstream>

#include "store/table_file.h"
#include "tests/support/scratch_directory.h"
#include "tests/tools/test_glyphs.h"
#include "tools/store_builder/character_builder.h"
#include "tools/store_builder/character_reading.h"
#include "tools/store_builder/store_build.h"

namespace qir::tools {
namespace {
namespace fs = std::filesystem;

const fs::path kRealData = QIR_STROKE_DATA_DIR;

// The message of the CorrectionError that parsing `text` throws, or "" when it parses.
std::string parseError(const std::string& text) {
    try {
        OrderCorrections::parse(text, "fixes.txt");
    } catch (const CorrectionError& e) {
        return e.what();
    }
    return "";
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A data folder whose 八 is the two-bars fixture (left bar written first) and whose 一 is the
// real one, with the package's manifest and licence.
fs::path twoBarsData(const fs::path& where) {
    fs::create_directories(where);
    for (const char* file : {"package.json", "ARPHICPL.TXT", "一.json"}) {
        fs::copy_file(kRealData / fs::u8path(file), where / fs::u8path(file));
    }
    writeText(where / fs::u8path("八.json"), qir::testing::kTwoBarsJson);
    return where;
}

// How red the picture is over the columns [from, to): the newest stroke is drawn in red.
double redness(const QImage& picture, int from, int to) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = from; x < to; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            sum += qRed(pixel) - (qGreen(pixel) + qBlue(pixel)) / 2.0;
            ++count;
        }
    }
    return sum / count;
}

TEST(OrderCorrectionFile, ReadsOrdersKeepsCommentsAndReasons) {
    const OrderCorrections corrections = OrderCorrections::parse(
        "# a comment\n"
        "\n"
        "肠  1 2 3 4 6 5 7  | 𠃓 before the 丿\n"
        "   # an indented comment\r\n"
        "右 keep | the reference writes 一 first\r\n",
        "fixes.txt");
    ASSERT_EQ(corrections.entries().size(), 2u);
    const OrderCorrection* chang = corrections.find("\xB3\xA6");  // 肠
    ASSERT_NE(chang, nullptr);
    EXPECT_EQ(chang->text, "肠");
    EXPECT_EQ(chang->line, 3);
    EXPECT_EQ(chang->order, (std::vector<int>{0, 1, 2, 3, 5, 4, 6}));
    EXPECT_EQ(chang->reason, "𠃓 before the 丿");
    const OrderCorrection* you = corrections.find("\xD3\xD2");  // 右
    ASSERT_NE(you, nullptr);
    EXPECT_FALSE(you->reorders());
    EXPECT_EQ(you->reason, "the reference writes 一 first");
    EXPECT_EQ(corrections.reorderings(), std::vector<const OrderCorrection*>{chang});
    EXPECT_EQ(corrections.find("\xD3\xC0"), nullptr);  // 永 is not listed
}

TEST(OrderCorrectionFile, RefusesEachMalformedLineWithItsNumber) {
    const std::string head = "# corrections\n\n";
    const std::pair<std::string, std::string> cases[] = {
        {"肠 2 1 3 | a\n肠 2 1 3 | b\n", "fixes.txt:4: 肠 is already named on line 3"},
        {"肠 1 2 2 3 | twice\n", "fixes.txt:3: the order of 肠 names stroke 2 twice"},
        {"肠 1 2 4 | gap\n", "fixes.txt:3: the order of 肠 leaves out stroke 3"},
        {"肠 1 2 3 | same\n", "fixes.txt:3: the order of 肠 leaves every stroke where it is"},
        {"肠 2 1 x | word\n", "fixes.txt:3: \"x\" is not a stroke number"},
        {"肠 2 0 1 | zero\n", "fixes.txt:3: \"0\" is not a stroke number"},
        {"肠 2 1\n", "fixes.txt:3: no \"|\" before the reason"},
        {"肠 2 1 |   \n", "fixes.txt:3: the reason after \"|\" is empty"},
        {"肠 | no order\n", "fixes.txt:3: no order for 肠"},
        {"肠肠 2 1 | two\n", "fixes.txt:3: \"肠肠\" is not one character"},
        {"A 2 1 | latin\n", "fixes.txt:3: \"A\" is not a GB2312 Chinese character"},
        {"| nothing\n", "fixes.txt:3: no character before \"|\""},
    };
    for (const auto& [body, expected] : cases) {
        const std::string message = parseError(head + body);
        EXPECT_EQ(message.substr(0, expected.size()), expected) << body;
    }
}

TEST(OrderCorrectionFile, ChecksCharactersAndStrokeCountsAgainstTheData) {
    qir::testing::ScratchDirectory scratch;
    const fs::path data = twoBarsData(scratch.path() / "data");
    const auto checkError = [&](const std::string& text) -> std::string {
        try {
            OrderCorrections::parse(text, "fixes.txt").checkAgainst(data);
        } catch (const CorrectionError& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(checkError("八 2 1 | fine\n一 keep | fine\n"), "");
    EXPECT_EQ(checkError("# x\n八 2 1 | fine\n肠 keep | not in this folder\n")
                  .find("fixes.txt:3: 肠 is not in the stroke data"),
              0u);
    EXPECT_EQ(checkError("八 2 3 1 | three of two\n"),
              "fixes.txt:1: the order of 八 names 3 strokes but the data has 2: it would "
              "change the stroke count");
}

TEST(OrderCorrection, MovesOutlinesAndMediansTogether) {
    const CharacterData bars = qir::testing::twoBars();
    const CharacterData swapped = reorderStrokes(bars, {1, 0});
    ASSERT_EQ(swapped.strokes.size(), 2u);
    EXPECT_EQ(swapped.strokes[0].outline, bars.strokes[1].outline);
    EXPECT_EQ(swapped.strokes[0].median, bars.strokes[1].median);
    EXPECT_EQ(swapped.strokes[1].outline, bars.strokes[0].outline);
    EXPECT_EQ(swapped.strokes[1].median, bars.strokes[0].median);
    EXPECT_THROW(reorderStrokes(bars, {0}), StrokeDataError);
    EXPECT_THROW(reorderStrokes(bars, {1, 1}), StrokeDataError);
    EXPECT_THROW(reorderStrokes(bars, {0, 2}), StrokeDataError);
}

TEST(OrderCorrection, StepPicturesAndClipFollowTheCorrectedOrder) {
    qir::testing::ScratchDirectory scratch;
    const fs::path data = twoBarsData(scratch.path() / "data");
    const CharacterEntry ba = charactersFromText("八")[0];
    const OrderCorrections corrections =
        OrderCorrections::parse("八 2 1 | right bar first\n", "fixes.txt");

    const BuiltCharacter plain = buildCharacter(ba, data);
    const BuiltCharacter corrected = buildCharacter(ba, data, {}, corrections);
    ASSERT_EQ(corrected.steps.size(), 2u);
    const QImage plainFirst =
        QImage::fromData(plain.steps[0].jpeg.data(), static_cast<int>(plain.steps[0].jpeg.size()));
    const QImage correctedFirst = QImage::fromData(
        corrected.steps[0].jpeg.data(), static_cast<int>(corrected.steps[0].jpeg.size()));
    ASSERT_FALSE(correctedFirst.isNull());
    const int half = correctedFirst.width() / 2;
    // As the data has it the left bar is the first step's new, red stroke; corrected, the
    // right one is.
    EXPECT_GT(redness(plainFirst, 0, half), redness(plainFirst, half, plainFirst.width()) + 20);
    EXPECT_GT(redness(correctedFirst, half, correctedFirst.width()),
              redness(correctedFirst, 0, half) + 20);
    // The clip is rendered from the same reordered data.
    EXPECT_EQ(corrected.clip,
              renderCharacter(ba.key, reorderStrokes(qir::testing::twoBars(), {1, 0})).clip);
    EXPECT_NE(corrected.clip, plain.clip);
    // The reader gives every caller the same corrected strokes.
    EXPECT_EQ(readCharacterData(ba, data, corrections).strokes[0].median,
              qir::testing::twoBars().strokes[1].median);
}

TEST(OrderCorrection, TheStoreBuildRefusesABadFileAndWritesNothing) {
    qir::testing::ScratchDirectory scratch;
    const fs::path data = twoBarsData(scratch.path() / "data");
    const fs::path out = scratch.path() / "out";
    writeText(scratch.path() / "fixes.txt", "# fixes\n八 3 1 2 | one too many\n");
    StoreBuildOptions options;
    options.dataFolder = data;
    options.outputFolder = out;
    options.corrections = scratch.path() / "fixes.txt";
    options.characters = charactersFromText("八一");
    options.log = nullptr;
    try {
        buildStore(options);
        FAIL() << "a bad correction file was accepted";
    } catch (const BuildFailure& e) {
        EXPECT_NE(std::string(e.what()).find("fixes.txt:2: the order of 八 names 3 strokes"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(OrderCorrection, TheNoticeNamesTheReorderedCharacters) {
    qir::testing::ScratchDirectory scratch;
    const fs::path data = twoBarsData(scratch.path() / "data");
    writeText(scratch.path() / "fixes.txt", "八 2 1 | right bar first\n一 keep | fine\n");
    StoreBuildOptions options;
    options.dataFolder = data;
    options.outputFolder = scratch.path();
    options.corrections = scratch.path() / "fixes.txt";
    options.characters = charactersFromText("八一");
    options.log = nullptr;
    buildStore(options);
    for (const char* table : {"donghua.db", "bishun.db", "bishunbmp.db"}) {
        const std::string notice = store::readTableNotice(scratch.path() / table);
        EXPECT_NE(notice.find("The stroke order of 1 character was corrected"), std::string::npos)
            << notice;
        EXPECT_NE(notice.find("cnchar-order"), std::string::npos) << table;
        EXPECT_NE(notice.find(": 八."), std::string::npos) << table;
    }
    EXPECT_NE(conversionNotice("2.0.1").find("were not changed"), std::string::npos);
}

}  // namespace
}  // namespace qir::tools
