// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/character_facts.h"

#include <gtest/gtest.h>

#include "store/engine_error.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;

CharacterFacts yong() {
    CharacterFacts facts;
    facts.readings = {"yǒng"};
    facts.gloss = "long, perpetual";
    facts.radical = "水";
    facts.radicalVariant = "氵";
    facts.radicalNumber = 85;
    facts.remainingStrokes = 1;
    facts.totalStrokes = 5;
    return facts;
}

CharacterFacts chang() {
    CharacterFacts facts;
    facts.readings = {"zhǎng", "cháng"};
    facts.gloss = "long; length; excel in; leader (of a group)";
    facts.radical = "长";
    facts.radicalNumber = 168;
    facts.simplifiedRadical = true;
    facts.remainingStrokes = 0;
    facts.totalStrokes = 4;
    return facts;
}

TEST(CharacterFactsTest, RowsKeepEveryFieldAndEveryEmptyOne) {
    for (const CharacterFacts& facts : {yong(), chang(), CharacterFacts{}}) {
        EXPECT_EQ(decodeCharacterFacts(encodeCharacterFacts(facts)), facts);
    }
    CharacterFacts onlyCount;
    onlyCount.totalStrokes = 7;
    const CharacterFacts decoded = decodeCharacterFacts(encodeCharacterFacts(onlyCount));
    EXPECT_EQ(decoded, onlyCount);
    EXPECT_FALSE(decoded.radicalNumber.has_value());
    EXPECT_TRUE(decoded.readings.empty());
}

TEST(CharacterFactsTest, DamagedRowsAreRefused) {
    const std::string good = encodeCharacterFacts(yong());
    EXPECT_THROW(decodeCharacterFacts("2" + good.substr(1)), CharacterFactsError);
    EXPECT_THROW(decodeCharacterFacts(good.substr(0, good.rfind('\n'))), CharacterFactsError);
    EXPECT_THROW(decodeCharacterFacts(good + "\n"), CharacterFactsError);
    EXPECT_THROW(decodeCharacterFacts(good.substr(0, good.size() - 1) + "x"), CharacterFactsError);
    EXPECT_THROW(decodeCharacterFacts(""), CharacterFactsError);
}

TEST(CharacterFactsTest, TheLineShowsWhatIsKnownAndNothingForTheRest) {
    EXPECT_EQ(factsLine(QStringLiteral("永"), yong()),
              QStringLiteral("永 yǒng — long, perpetual · 部首 水 (氵) · 5画"));
    // Several readings, the main one first; a gloss with semicolons and parentheses whole; a
    // radical without a variant form stands alone.
    EXPECT_EQ(factsLine(QStringLiteral("长"), chang()),
              QStringLiteral("长 zhǎng, cháng — long; length; excel in; leader (of a group) · "
                             "部首 长 · 4画"));
    CharacterFacts noGloss = yong();
    noGloss.gloss.clear();
    EXPECT_EQ(factsLine(QStringLiteral("永"), noGloss),
              QStringLiteral("永 yǒng · 部首 水 (氵) · 5画"));
    CharacterFacts onlyGloss;
    onlyGloss.gloss = "jar";
    EXPECT_EQ(factsLine(QStringLiteral("罐"), onlyGloss), QStringLiteral("罐 — jar"));
    EXPECT_EQ(factsLine(QStringLiteral("罐"), CharacterFacts{}), QString());
    EXPECT_EQ(radicalText(chang()), QStringLiteral("长"));
    EXPECT_EQ(radicalText(CharacterFacts{}), QString());
}

std::string failureOf(FactsTable& table, const std::string& hanzi) {
    try {
        table.find(hanzi);
    } catch (const EngineError& e) {
        return e.what();
    }
    return "(no error)";
}

TableRow rowOf(const std::string& hanzi, const CharacterFacts& facts) {
    const std::string row = encodeCharacterFacts(facts);
    return {hanzi, Bytes(row.begin(), row.end())};
}

class FactsTableTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch.path() / kFactsTable.fileName;
};

TEST_F(FactsTableTest, OpensAtTheFirstLookUpAndFindsEachCharactersFacts) {
    FactsTable table(scratch.path());
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(failureOf(table, kA), "Cannot open table bishunzi.db: the file does not exist");
    EXPECT_FALSE(table.isOpen());
    writeTableFile(file, kFactsTable, {rowOf(kA, yong()), rowOf(kB, chang())});
    EXPECT_EQ(table.find(kB), chang());
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.find(kA + " "), yong());
    EXPECT_EQ(table.find(kC), std::nullopt);
}

TEST_F(FactsTableTest, ADamagedRowOrAnotherFileIsNamed) {
    writeTableFile(file, kFactsTable, {{kA, Bytes{'9', '\n'}}});
    FactsTable table(scratch.path());
    EXPECT_EQ(failureOf(table, kA).rfind("Cannot read table bishunzi.db: the facts of ", 0), 0u);
    EXPECT_NE(failureOf(table, kA).find("are damaged (the row is not of version 1)"),
              std::string::npos);

    testing::ScratchDirectory other;
    writeTableFile(other.path() / kFactsTable.fileName, kFactsTable, {rowOf(kA, yong())},
                   "another password");
    FactsTable locked(other.path());
    EXPECT_EQ(failureOf(locked, kA).rfind("Cannot open table bishunzi.db: ", 0), 0u);
}

}  // namespace
}  // namespace qir::store
