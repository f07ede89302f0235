// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "store/engine_error.h"
#include "store/table_file.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;

class QueryTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    CharacterStore store;

    void SetUp() override { store.addPassword(kStorePassword); }

    // The rows of the query run with `parameter`, in the query's order.
    static std::vector<std::string> filenames(Query& query, const std::string& parameter) {
        query.close();
        query.setParamAsString(parameter);
        query.open();
        std::vector<std::string> names;
        for (query.first(); !query.eof(); query.next()) {
            names.push_back(query.fieldAsString("Filename"));
        }
        return names;
    }
    // The same, sorted, for queries that fix no order.
    static std::vector<std::string> sortedFilenames(Query& query, const std::string& parameter) {
        std::vector<std::string> names = filenames(query, parameter);
        std::sort(names.begin(), names.end());
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(QueryTest, Query2FindsTheTypedCharacterAndItsClip) {
    testing::writeTable(kAnimationTable, {kA, kB, kC});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, kB), Names{kB});
    EXPECT_EQ(dataSetsOf(store).query2.recordCount(), 1);
    EXPECT_EQ(dataSetsOf(store).query2.blob("Photo"), testing::photoOf(kB));
    EXPECT_EQ(dataSetsOf(store).query2.blobSize("photo"), testing::photoOf(kB).size());
    EXPECT_EQ(filenames(dataSetsOf(store).query2, "\xB0\xA9"), Names{});
    EXPECT_EQ(dataSetsOf(store).query2.recordCount(), 0);
}

TEST_F(QueryTest, ContainsPatternOnATwoByteFieldIsEquality) {
    testing::writeTable(kAnimationTable, {kA, kB, "a", "ab", ""});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, "%" + kB + "%"), Names{kB});
    EXPECT_EQ(sortedFilenames(dataSetsOf(store).query2, "%a%"), (Names{"a", "ab"}));
}

TEST_F(QueryTest, ContainsPatternOnAFourByteFieldFindsEveryStepInOrder) {
    writeTableFile("bishun.db", kStrokeTable,
                   testing::rowsNamed({kA + "03", kA + "01", kB + "01", kA + "02",
                                       "\xC1\xB0\xA1\xA1", "x" + kA + "y", kA + " "}));
    EXPECT_EQ(filenames(dataSetsOf(store).querybs, "%" + kA + "%"),
              (Names{"x" + kA + "y", kA + " ", kA + "01", kA + "02", kA + "03"}));
    EXPECT_EQ(dataSetsOf(store).querybs.recordCount(), 5);
    dataSetsOf(store).querybs.first();
    EXPECT_EQ(dataSetsOf(store).querybs.blob("Photo"), testing::photoOf("x" + kA + "y"));
}

TEST_F(QueryTest, StoredTrailingBlankStillMatchesAndEmptyMatchesOnlyBlankValues) {
    writeTableFile("donghua.db", {"donghua.db", 4, true},
                   testing::rowsNamed({kA + " ", kB, " ", "", " " + kC + "\t"}));
    EXPECT_EQ(filenames(dataSetsOf(store).query2, kA), Names{kA + " "});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, kC), Names{" " + kC + "\t"});
    EXPECT_EQ(sortedFilenames(dataSetsOf(store).query2, ""), (Names{"", " "}));
}

TEST_F(QueryTest, WildcardsAndOddBytesInTheParameter) {
    testing::writeTable(kAnimationTable, {kA, kB, "a", "%"});
    EXPECT_EQ(sortedFilenames(dataSetsOf(store).query2, "%"), (Names{"%", "a", kA, kB}));
    EXPECT_EQ(sortedFilenames(dataSetsOf(store).query2, "_"), (Names{"%", "a", kA, kB}));
    EXPECT_EQ(filenames(dataSetsOf(store).query2, "__"), Names{});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, "\xFF"), Names{});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, "\x81\x5F"), Names{});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, std::string("\x00", 1)), Names{});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, "'; drop table db; --"), Names{});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, kA), Names{kA});
}

TEST_F(QueryTest, DistinctDropsDuplicateRows) {
    writeTableFile("bishun.db", {"bishun.db", 4, false},
                   {{kA + "02", testing::photoOf("x")},
                    {kA + "01", testing::photoOf("y")},
                    {kA + "02", testing::photoOf("x")},
                    {kA + "02", testing::photoOf("z")}});
    EXPECT_EQ(filenames(dataSetsOf(store).querybs, "%" + kA + "%"),
              (Names{kA + "01", kA + "02", kA + "02"}));
}

TEST_F(QueryTest, ParameterTakesEffectAtTheNextOpen) {
    testing::writeTable(kAnimationTable, {kA, kB});
    EXPECT_EQ(filenames(dataSetsOf(store).query2, kA), Names{kA});
    dataSetsOf(store).query2.setParamAsString(kB);
    dataSetsOf(store).query2.open();  // already open: nothing happens
    EXPECT_EQ(dataSetsOf(store).query2.fieldAsString("filename"), kA);
    dataSetsOf(store).query2.close();
    dataSetsOf(store).query2.open();
    EXPECT_EQ(dataSetsOf(store).query2.fieldAsString("filename"), kB);
}

TEST_F(QueryTest, AQueryWithoutItsParameterOrThatWouldWriteIsRefused) {
    testing::writeTable(kAnimationTable, {kA});
    try {
        dataSetsOf(store).query2.open();
        FAIL() << "opened without a parameter value";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("hanzi"), std::string::npos);
    }
    Query writer(dataSetsOf(store).database1);
    writer.setSql({"delete from donghua.db"});
    EXPECT_THROW(writer.open(), EngineError);
    EXPECT_EQ(filenames(dataSetsOf(store).query2, kA), Names{kA});
}

TEST_F(QueryTest, QueriesAndTheSteppingCursorNeverChangeTheirFiles) {
    testing::writeTable(kAnimationTable, {kA, kB});
    testing::writeTable(kStrokeTable, {kA + "01", kA + "02"});
    const std::string animation = scratch.read("donghua.db");
    const std::string strokes = scratch.read("bishun.db");
    filenames(dataSetsOf(store).query2, "%" + kA + "%");
    filenames(dataSetsOf(store).querybs, "%" + kA + "%");
    dataSetsOf(store).tablenextprev.open();
    EXPECT_THROW(dataSetsOf(store).tablenextprev.append(), EngineError);
    EXPECT_THROW(dataSetsOf(store).tablenextprev.remove(), EngineError);
    EXPECT_THROW(dataSetsOf(store).tablenextprev.emptyTable(), EngineError);
    EXPECT_THROW(dataSetsOf(store).query2.append(), EngineError);
    dataSetsOf(store).query2.close();
    dataSetsOf(store).querybs.close();
    dataSetsOf(store).tablenextprev.close();
    EXPECT_EQ(scratch.read("donghua.db"), animation);
    EXPECT_EQ(scratch.read("bishun.db"), strokes);
}

TEST_F(QueryTest, BlobsBeyondTheMemoryLimitAreFetchedAgainWhenAsked) {
    std::vector<TableRow> rows;
    for (int i = 0; i < 9; ++i) {
        rows.push_back({"s" + std::to_string(i), Bytes(1000, static_cast<unsigned char>(i))});
    }
    writeTableFile("bishun.db", kStrokeTable, rows);
    dataSetsOf(store).querybs.setBlobMemoryLimit(2500);
    EXPECT_EQ(filenames(dataSetsOf(store).querybs, "%").size(), 9u);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 9; i >= 1; i -= pass == 0 ? 1 : 4) {
            const Bytes blob = dataSetsOf(store).querybs.blobAt(i, "Photo");
            ASSERT_EQ(blob.size(), 1000u);
            EXPECT_EQ(blob[0], i - 1);
        }
    }
    dataSetsOf(store).querybs.first();
    for (int i = 0; i < 9; ++i, dataSetsOf(store).querybs.next()) {
        EXPECT_EQ(dataSetsOf(store).querybs.blobSize("Photo"), 1000u);
        EXPECT_EQ(dataSetsOf(store).querybs.blob("Photo")[999], i);
    }
}

TEST_F(QueryTest, TableNamesMatchFilesInAnyCase) {
    testing::writeTable(kAnimationTable, {kB, kA});
    dataSetsOf(store).tablenextprev.open();  // "donghua.DB"
    EXPECT_EQ(dataSetsOf(store).tablenextprev.fieldAsString("Filename"), kA);
    EXPECT_EQ(dataSetsOf(store).tablenextprev.recordCount(), 2);
    Query upper(dataSetsOf(store).database1);
    upper.setSql({"select * from DONGHUA.DB where trim(filename) like :x"});
    EXPECT_EQ(filenames(upper, kB), Names{kB});
}

}  // namespace
}  // namespace qir::store
