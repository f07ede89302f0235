// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "store/engine_error.h"
#include "store/table_file.h"
#include "store/write_batch.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;

class EditingTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    CharacterStore store;
    Table& table = dataSetsOf(store).tablebmp;
    std::vector<DataChange> changes;

    void SetUp() override {
        store.addPassword(kStorePassword);
        testing::writeTable(kStrokeDisplayTable, {kC + "01", kC + "02"});
        table.subscribe([this](DataChange change) { changes.push_back(change); });
    }
    void appendRow(const std::string& filename, const std::string& photoText) {
        scratch.write("tmp.bmp", photoText);
        table.append();
        table.setFieldAsString("Filename", filename);
        table.loadBlobFromFile("Photo", "tmp.bmp");
        table.post();
    }
    std::vector<std::string> rows() {
        std::vector<std::string> names;
        for (int i = 1; i <= table.recordCount(); ++i) {
            names.push_back(table.fieldAsString("Filename"));
            (void)i;
            table.next();
        }
        return names;
    }
    std::vector<std::string> storedRows() {
        table.close();
        table.open();
        std::vector<std::string> names;
        for (table.first(); !table.eof(); table.next()) {
            names.push_back(table.fieldAsString("Filename"));
        }
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(EditingTest, EmptyThenAppendKeepsAppendOrderAndNotifiesEachStep) {
    table.emptyTable();
    table.open();
    EXPECT_EQ(table.recordCount(), 0);
    appendRow(kB + "02", "second");
    appendRow(kB + "01", "first");
    EXPECT_EQ(table.recNo(), 2) << "the posted row stays current";
    EXPECT_EQ(table.fieldAsString("Filename"), kB + "01");
    EXPECT_EQ(table.blob("Photo"), Bytes({'f', 'i', 'r', 's', 't'}));
    EXPECT_EQ(table.blobAt(1, "Photo"), Bytes({'s', 'e', 'c', 'o', 'n', 'd'}));
    EXPECT_EQ(changes, (std::vector<DataChange>{DataChange::Emptied, DataChange::Opened,
                                                DataChange::RowAppended, DataChange::FieldChanged,
                                                DataChange::FieldChanged, DataChange::RowPosted,
                                                DataChange::RowAppended, DataChange::FieldChanged,
                                                DataChange::FieldChanged, DataChange::RowPosted}));
    EXPECT_EQ(storedRows(), (Names{kB + "02", kB + "01"}));
}

TEST_F(EditingTest, EmptyingNeedsAClosedTable) {
    table.open();
    EXPECT_THROW(table.emptyTable(), EngineError);
    EXPECT_EQ(table.recordCount(), 2);
}

TEST_F(EditingTest, AppendedRowIsInsertStateUntilPosted) {
    table.open();
    table.append();
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.fieldAsString("Filename"), "");
    EXPECT_EQ(table.blobSize("Photo"), 0u);
    EXPECT_FALSE(table.modified());
    table.cancel();
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(table.fieldAsString("Filename"), kC + "01");
}

TEST_F(EditingTest, MovingAwayPostsAModifiedRowAndDropsAnUntouchedOne) {
    table.open();
    table.append();
    table.first();
    EXPECT_EQ(table.recordCount(), 2);
    table.append();
    table.setFieldAsString("Filename", kA + "09");
    table.first();
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(storedRows(), (Names{kC + "01", kC + "02", kA + "09"}));
}

TEST_F(EditingTest, ClosingDropsTheRowBeingInserted) {
    table.open();
    table.append();
    table.setFieldAsString("Filename", kA + "09");
    table.close();
    EXPECT_EQ(storedRows(), (Names{kC + "01", kC + "02"}));
}

TEST_F(EditingTest, EditDeleteAndInsert) {
    table.open();
    table.next();
    table.edit();
    table.setFieldAsString("Filename", kA + "02");
    table.post();
    table.first();
    table.remove();
    EXPECT_EQ(table.fieldAsString("Filename"), kA + "02");
    table.insert();
    table.setFieldAsString("Filename", kB + "05");
    EXPECT_EQ(table.recNo(), 1);
    table.post();
    EXPECT_EQ(storedRows(), (Names{kA + "02", kB + "05"}));
    table.first();
    table.edit();
    table.setFieldAsString("Filename", "zz");
    table.cancel();
    EXPECT_EQ(table.fieldAsString("Filename"), kA + "02");
    table.remove();
    table.remove();
    EXPECT_TRUE(table.bof() && table.eof());
    EXPECT_THROW(table.remove(), EngineError);
}

TEST_F(EditingTest, FilenameLongerThanItsFieldIsRefused) {
    table.open();
    table.append();
    try {
        table.setFieldAsString("Filename", kA + "123");
        FAIL() << "five bytes went into a four-byte field";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("bishunbmp.db"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("4 bytes"), std::string::npos);
    }
    EXPECT_THROW(table.setFieldAsString("Nothing", "x"), EngineError);
    EXPECT_FALSE(table.modified());
}

TEST_F(EditingTest, FieldsAreWrittenOnlyWhileInsertingOrEditing) {
    table.open();
    EXPECT_THROW(table.setFieldAsString("Filename", "x"), EngineError);
    EXPECT_THROW(table.setBlob("Photo", {1, 2}), EngineError);
    table.close();
    EXPECT_THROW(table.append(), EngineError);
}

TEST_F(EditingTest, LoadingAMissingFileIsAFileError) {
    table.open();
    table.append();
    EXPECT_THROW(table.loadBlobFromFile("Photo", "absent.bmp"), FileOpenError);
    EXPECT_EQ(table.state(), DataSetState::Insert);
}

TEST_F(EditingTest, TwentyAppendsOfTwentyKilobytes) {
    table.emptyTable();
    table.open();
    std::string picture(20 * 1024, '\0');
    for (int step = 1; step <= 20; ++step) {
        picture[0] = static_cast<char>(step);
        char name[5];
        std::snprintf(name, sizeof name, "%s%02d", kA.c_str(), step);
        appendRow(name, picture);
    }
    EXPECT_EQ(table.recordCount(), 20);
    Bytes seventh = table.blobAt(7, "Photo");
    ASSERT_EQ(seventh.size(), picture.size());
    EXPECT_EQ(seventh[0], 7);
    EXPECT_EQ(storedRows().size(), 20u);
}

// A batch writes its rows with one commit; one ended by an error still keeps the rows posted
// before it, as row-by-row writing did, and the next batch starts afresh.
TEST_F(EditingTest, ABatchKeepsEveryRowPostedEvenWhenAnErrorEndsIt) {
    table.emptyTable();
    table.open();
    {
        WriteBatch batch(table);
        appendRow(kA + "01", "one");
        appendRow(kA + "02", "two");
        batch.commit();
    }
    EXPECT_EQ(storedRows(), (Names{kA + "01", kA + "02"}));

    table.close();
    table.emptyTable();
    table.open();
    try {
        WriteBatch batch(table);
        appendRow(kB + "01", "one");
        table.append();
        table.setFieldAsString("Filename", kB + "02");
        table.loadBlobFromFile("Photo", "absent.bmp");  // throws: the step's picture is missing
        batch.commit();
        ADD_FAILURE() << "a missing picture was loaded";
    } catch (const FileOpenError&) {
    }
    table.cancel();
    EXPECT_EQ(storedRows(), (Names{kB + "01"}));

    WriteBatch again(table);
    appendRow(kB + "02", "two");
    again.commit();
    EXPECT_EQ(storedRows(), (Names{kB + "01", kB + "02"}));
}

TEST_F(EditingTest, EmptyingGivesTheSpaceBackAndKeepsTheFileEncrypted) {
    const std::uintmax_t small = std::filesystem::file_size("bishunbmp.db");
    table.emptyTable();
    table.open();
    const std::string picture(300 * 1024, '\x11');
    for (const std::string& name : {kA + "01", kA + "02", kA + "03"}) {
        appendRow(name, picture);
    }
    table.close();
    ASSERT_GT(std::filesystem::file_size("bishunbmp.db"), 3 * picture.size());

    table.emptyTable();
    EXPECT_LE(std::filesystem::file_size("bishunbmp.db"), small);
    EXPECT_NE(scratch.read("bishunbmp.db").substr(0, 15), "SQLite format 3");
    table.open();
    EXPECT_EQ(table.recordCount(), 0);
}

// Older versions made the scratch table with small pages; emptying it makes it afresh with
// the layout's, and the table goes on as before.
TEST_F(EditingTest, AScratchTableOfSmallPagesIsMadeAfreshWithTheLayoutsPages) {
    table.close();
    TableLayout older = kStrokeDisplayTable;
    older.pageSize = kTablePageSizes[0];
    testing::writeTable(older, {kC + "01"});
    ASSERT_NE(older.pageSize, kStrokeDisplayTable.pageSize);

    table.emptyTable();
    EXPECT_EQ(std::filesystem::file_size("bishunbmp.db") % kStrokeDisplayTable.pageSize, 0u);
    table.open();
    EXPECT_EQ(table.recordCount(), 0);
    appendRow(kA + "01", std::string(20 * 1024, '\x22'));
    table.close();
    table.open();
    EXPECT_EQ(storedRows(), (Names{kA + "01"}));
    EXPECT_NE(scratch.read("bishunbmp.db").substr(0, 15), "SQLite format 3");
}

}  // namespace
}  // namespace qir::store
