// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_characters.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "store/engine_error.h"
#include "tests/sheet/test_strokes.h"
#include "tests/sheet/vector_table_file.h"
#include "tests/support/scratch_directory.h"

namespace qir::sheet {
namespace {

using testing::barAndBeam;

store::StrokeVectors oneBar() {
    return {{testing::rectangleStroke(100, 200, 0, 800, {150, 790}, {150, 10})}};
}

class SheetCharacters : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeVectorTable(scratch.path(),
                                  {{testing::kYong, barAndBeam()}, {testing::kWo, oneBar()}});
    }
    qir::testing::ScratchDirectory scratch;
    store::VectorTable table{scratch.path()};
};

TEST_F(SheetCharacters, KeepsTheTextsOrderAndRepeatsAndLeavesBlanksOutSilently) {
    const SheetSelection selection =
        selectSheetCharacters(QStringLiteral(" 永 我永\n\t我\u3000"), table);
    ASSERT_EQ(selection.characters.size(), 4u);
    EXPECT_TRUE(selection.leftOut.empty());
    const QString order = selection.characters[0].text + selection.characters[1].text +
                          selection.characters[2].text + selection.characters[3].text;
    EXPECT_EQ(order, QStringLiteral("永我永我"));
    EXPECT_EQ(selection.characters[0].strokes, barAndBeam());
    EXPECT_EQ(selection.characters[1].strokes, oneBar());
}

TEST_F(SheetCharacters, NamesEveryCharacterLeftOutWithItsPlaceAndReason) {
    const QString text = QStringLiteral("永A") + QString::fromUcs4(U"\U0001F600") +
                         QStringLiteral("丂們，罐") + QChar(0x01) + QChar(0xFFFD) +
                         QStringLiteral("我");
    const SheetSelection selection = selectSheetCharacters(text, table);
    ASSERT_EQ(selection.characters.size(), 2u);
    EXPECT_EQ(selection.characters[1].text, QStringLiteral("我"));
    const std::vector<std::tuple<QString, int, std::string>> expected{
        {QStringLiteral("\"A\""), 2, "not a Chinese character"},
        {QStringLiteral("\"") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("\""), 3,
         "not a Chinese character"},
        {QStringLiteral("\"丂\""), 4,
         "outside GB2312, whose 6,763 Chinese characters the store holds"},
        {QStringLiteral("\"們\""), 5,
         "outside GB2312, whose 6,763 Chinese characters the store holds"},
        {QStringLiteral("\"，\""), 6, "not a Chinese character"},
        {QStringLiteral("\"罐\""), 7, "not in the character store"},
        {QStringLiteral("U+0001"), 8, "not a Chinese character"},
        {QStringLiteral("U+FFFD"), 9, "not valid UTF-8 text"},
    };
    ASSERT_EQ(selection.leftOut.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const LeftOutCharacter& left = selection.leftOut[i];
        EXPECT_EQ(characterName(left.character), std::get<0>(expected[i])) << i;
        EXPECT_EQ(left.position, std::get<1>(expected[i])) << i;
        EXPECT_EQ(left.reason, std::get<2>(expected[i])) << i;
    }
}

TEST_F(SheetCharacters, AThousandCharactersGoOnOneSheetAndMoreAreRefusedWhole) {
    QString thousand;
    for (int i = 0; i < kMostSheetCharacters; ++i) {
        thousand += QStringLiteral("永 ");
    }
    EXPECT_EQ(countedCharacters(thousand), kMostSheetCharacters);
    EXPECT_EQ(selectSheetCharacters(thousand, table).characters.size(), 1000u);
    try {
        selectSheetCharacters(thousand + QStringLiteral("A"), table);
        ADD_FAILURE() << "1001 characters were taken";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "The text holds 1001 characters; a practice sheet takes at most 1000");
    }
}

TEST_F(SheetCharacters, EachCharacterTakesItsFactsAndAMissingFactsTableLeavesThemEmpty) {
    store::CharacterFacts yong;
    yong.readings = {"yǒng"};
    yong.radical = "水";
    const std::string row = store::encodeCharacterFacts(yong);
    store::writeTableFile(scratch.path() / store::kFactsTable.fileName, store::kFactsTable,
                          {{testing::kYong, Bytes(row.begin(), row.end())}});
    store::FactsTable facts(scratch.path());
    const SheetSelection selection = selectSheetCharacters(QStringLiteral("永我"), table, &facts);
    ASSERT_EQ(selection.characters.size(), 2u);
    EXPECT_EQ(selection.characters[0].facts, yong);
    EXPECT_TRUE(selection.characters[1].facts.empty());

    store::FactsTable missing(scratch.path() / "nowhere");
    const SheetSelection without = selectSheetCharacters(QStringLiteral("永"), table, &missing);
    ASSERT_EQ(without.characters.size(), 1u);
    EXPECT_TRUE(without.characters[0].facts.empty());
}

TEST_F(SheetCharacters, AnUnreadableTableIsAnErrorNotALeftOutCharacter) {
    std::filesystem::remove(scratch.path() / "bishunvec.db");
    store::VectorTable missing(scratch.path());
    EXPECT_THROW(selectSheetCharacters(QStringLiteral("A永"), missing), store::EngineError);
}

}  // namespace
}  // namespace qir::sheet
