// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/table_file.h"

#include <gtest/gtest.h>

#include "store/dataset.h"
#include "store/engine_error.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;
using testing::photoOf;

class TableFileTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    Session session;
    Database database{session, "mirdox", {}};

    void SetUp() override { session.addPassword(kStorePassword); }

    std::vector<std::string> filenamesOf(Table& table) {
        std::vector<std::string> names;
        table.open();
        for (table.first(); !table.eof(); table.next()) {
            names.push_back(table.fieldAsString("Filename"));
        }
        return names;
    }
};

TEST_F(TableFileTest, FileAppearsOnlyOnCommitAndIsEncrypted) {
    {
        TableFileWriter writer("donghua.db", kAnimationTable);
        writer.addRow(kA, photoOf(kA));
        EXPECT_FALSE(scratch.exists("donghua.db"));
        writer.commit();
    }
    ASSERT_TRUE(scratch.exists("donghua.db"));
    EXPECT_FALSE(scratch.exists("donghua.db.part"));
    const std::string bytes = scratch.read("donghua.db");
    EXPECT_NE(bytes.substr(0, 15), "SQLite format 3");
    EXPECT_EQ(bytes.find("photo of"), std::string::npos);
}

TEST_F(TableFileTest, AbandonedWriterLeavesNothing) {
    scratch.write("donghua.db", "old");
    {
        TableFileWriter writer("donghua.db", kAnimationTable);
        writer.addRow(kA, photoOf(kA));
    }
    EXPECT_EQ(scratch.read("donghua.db"), "old");
    EXPECT_FALSE(scratch.exists("donghua.db.part"));
}

TEST_F(TableFileTest, KeyedTableReadsInFilenameOrderAndUnkeyedInAppendOrder) {
    testing::writeTable(kAnimationTable, {kC, kA, kB});
    testing::writeTable(kStrokeDisplayTable, {kC + "02", kA + "01", kB + "03"});
    Table animation(database);
    animation.setTableName("donghua.db");
    Table display(database);
    display.setTableName("bishunbmp.db");
    EXPECT_EQ(filenamesOf(animation), (std::vector<std::string>{kA, kB, kC}));
    EXPECT_EQ(filenamesOf(display), (std::vector<std::string>{kC + "02", kA + "01", kB + "03"}));
}

TEST_F(TableFileTest, RowsKeepTheirPhotosWhole) {
    Bytes big(70000);
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<unsigned char>(i * 7);
    }
    writeTableFile("bishun.db", kStrokeTable, {{kA + "01", big}, {kA + "02", {}}});
    Table table(database);
    table.setTableName("bishun.db");
    table.open();
    EXPECT_EQ(table.blobSize("Photo"), big.size());
    EXPECT_EQ(table.blob("Photo"), big);
    table.next();
    EXPECT_EQ(table.blobSize("photo"), 0u);
    EXPECT_TRUE(table.blob("PHOTO").empty());
}

TEST_F(TableFileTest, RefusesFilenamesLongerThanTheFieldAndDuplicateKeys) {
    TableFileWriter writer("donghua.db", kAnimationTable);
    try {
        writer.addRow(kA + " ", photoOf(kA));
        FAIL() << "a three-byte Filename went into a two-byte field";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("donghua.db"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("longer than 2 bytes"), std::string::npos);
    }
    writer.addRow(kA, photoOf(kA));
    EXPECT_THROW(writer.addRow(kA, photoOf(kB)), EngineError);
    writer.commit();
    Table table(database);
    table.setTableName("donghua.db");
    EXPECT_EQ(filenamesOf(table), std::vector<std::string>{kA});
}

TEST_F(TableFileTest, NoticeTravelsWithTheFile) {
    TableFileWriter writer("donghua.db", kAnimationTable);
    writer.setNotice("converted from open data on 2026-12-08");
    writer.addRow(kA, photoOf(kA));
    writer.commit();
    EXPECT_EQ(readTableNotice("donghua.db"), "converted from open data on 2026-12-08");
    testing::writeTable(kStrokeTable, {kA + "01"});
    EXPECT_EQ(readTableNotice("bishun.db"), "");
    EXPECT_THROW(readTableNotice("donghua.db", "wrong1"), EngineError);
}

}  // namespace
}  // namespace qir::store
