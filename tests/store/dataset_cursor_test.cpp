// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "store/dataset.h"
#include "store/engine_error.h"
#include "store/table_file.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;

class CursorTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    Session session;
    Database database{session, "mirdox", {}};
    Table table{database};

    void SetUp() override {
        session.addPassword(kStorePassword);
        table.setTableName("donghua.db");
    }
    void openWith(const std::vector<std::string>& filenames) {
        testing::writeTable(kAnimationTable, filenames);
        table.open();
    }
    std::string current() { return table.fieldAsString("Filename"); }
};

TEST_F(CursorTest, OpensOnTheFirstRowWithTheStartFlag) {
    openWith({kA, kB, kC});
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(current(), kA);
    EXPECT_EQ(table.recordCount(), 3);
}

TEST_F(CursorTest, OpeningAnOpenDataSetKeepsCursorAndFlags) {
    openWith({kA, kB, kC});
    int opened = 0;
    table.subscribe([&](DataChange change) { opened += change == DataChange::Opened; });
    table.last();
    table.open();
    EXPECT_EQ(current(), kC);
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(opened, 0);
}

TEST_F(CursorTest, MovesClearBothFlagsAndStopAtTheEnds) {
    openWith({kA, kB, kC});
    table.next();
    EXPECT_EQ(current(), kB);
    EXPECT_FALSE(table.bof());
    EXPECT_FALSE(table.eof());
    table.moveBy(1);
    EXPECT_EQ(current(), kC);
    EXPECT_FALSE(table.eof()) << "reaching the last row is not yet the end";
    table.moveBy(1);
    EXPECT_EQ(current(), kC);
    EXPECT_TRUE(table.eof());
    EXPECT_FALSE(table.bof());
    table.moveBy(-1);
    EXPECT_EQ(current(), kB);
    EXPECT_FALSE(table.eof());
    table.moveBy(-1);
    table.moveBy(-1);
    EXPECT_EQ(current(), kA);
    EXPECT_TRUE(table.bof());
}

TEST_F(CursorTest, AMoveTowardASetFlagDoesNothing) {
    openWith({kA, kB});
    int moves = 0;
    table.subscribe([&](DataChange change) { moves += change == DataChange::CurrentRowMoved; });
    table.moveBy(-1);  // the start flag is set right after opening
    EXPECT_EQ(current(), kA);
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(moves, 0);
    table.moveBy(5);  // runs past the end: stops on the last row
    EXPECT_EQ(current(), kB);
    EXPECT_TRUE(table.eof());
    table.next();
    EXPECT_EQ(current(), kB);
    EXPECT_EQ(moves, 1);
}

TEST_F(CursorTest, OneRowAndNoRows) {
    openWith({kA});
    table.next();
    EXPECT_TRUE(table.eof());
    EXPECT_FALSE(table.bof());
    table.prior();
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(current(), kA);
    table.close();

    testing::writeTable(kAnimationTable, {});
    table.open();
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recNo(), 0);
    EXPECT_EQ(current(), "");
    EXPECT_EQ(table.blobSize("Photo"), 0u);
    table.first();
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(table.eof());
}

TEST_F(CursorTest, LocateIsExactWholeValueAndCaseSensitive) {
    writeTableFile("bishun.db", kStrokeTable,
                   testing::rowsNamed({"ab", "abc", "Abcd", "abcd", kA + "01"}));
    Table strokes(database);
    strokes.setTableName("bishun.db");
    strokes.open();
    strokes.last();
    ASSERT_TRUE(strokes.eof());

    EXPECT_FALSE(strokes.locate("Filename", "a"));
    EXPECT_FALSE(strokes.locate("Filename", "ABCD"));
    EXPECT_FALSE(strokes.locate("Filename", kA));
    // A miss leaves the row and the flags alone.
    EXPECT_EQ(strokes.fieldAsString("Filename"), kA + "01");
    EXPECT_TRUE(strokes.eof());

    EXPECT_TRUE(strokes.locate("FILENAME", "abc"));
    EXPECT_EQ(strokes.fieldAsString("filename"), "abc");
    EXPECT_FALSE(strokes.eof());
    EXPECT_FALSE(strokes.bof());
    EXPECT_TRUE(strokes.locate("filename", "Abcd"));
    EXPECT_EQ(strokes.recNo(), 1) << "upper case sorts first in byte order";
}

TEST_F(CursorTest, LocateCutsAValueLongerThanTheField) {
    openWith({kA, kB, kC});
    EXPECT_TRUE(table.locate("filename", kB + " "));
    EXPECT_EQ(current(), kB);
    EXPECT_TRUE(table.locate("filename", kC + kA));
    EXPECT_EQ(current(), kC);
}

TEST_F(CursorTest, LocateClearsTheFlagsOnTheFirstRowToo) {
    openWith({kA, kB});
    ASSERT_TRUE(table.bof());
    EXPECT_TRUE(table.locate("filename", kA));
    EXPECT_FALSE(table.bof());
    table.prior();
    EXPECT_EQ(current(), kA);
    EXPECT_TRUE(table.bof());
}

TEST_F(CursorTest, FieldsByNameInAnyCaseAndUnknownNamesFail) {
    openWith({kA});
    EXPECT_EQ(table.fieldAsString("FileName"), kA);
    EXPECT_EQ(table.blob("pHoTo"), testing::photoOf(kA));
    try {
        table.fieldAsString("Photograph");
        FAIL() << "an unknown field was read";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("Photograph"), std::string::npos);
        EXPECT_EQ(error.kind(), "EDBEngineError");
    }
}

TEST_F(CursorTest, ClosedDataSetsRefuseCursorWork) {
    testing::writeTable(kAnimationTable, {kA});
    EXPECT_THROW(table.first(), EngineError);
    EXPECT_THROW(table.fieldAsString("Filename"), EngineError);
    EXPECT_THROW(table.recordCount(), EngineError);
    EXPECT_EQ(table.recNo(), 0);
}

TEST_F(CursorTest, BlobAtReadsOtherRowsWithoutMoving) {
    openWith({kA, kB, kC});
    table.next();
    EXPECT_EQ(table.blobAt(3, "Photo"), testing::photoOf(kC));
    EXPECT_EQ(table.blobAt(1, "Photo"), testing::photoOf(kA));
    EXPECT_TRUE(table.blobAt(4, "Photo").empty());
    EXPECT_TRUE(table.blobAt(0, "Photo").empty());
    EXPECT_EQ(current(), kB);
}

}  // namespace
}  // namespace qir::store
