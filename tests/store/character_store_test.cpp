// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/character_store.h"

#include <gtest/gtest.h>

#include "store/engine_error.h"
#include "store/table_file.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

TEST(CharacterStoreTest, AnExplicitPathIsWhereTablesAreFound) {
    testing::ScratchDirectory scratch;
    std::filesystem::create_directory("tables");
    writeTableFile("tables/donghua.db", kAnimationTable, testing::rowsNamed({testing::kA}));
    Session session;
    session.addPassword(kStorePassword);
    // Names the engine has no use for are ignored.
    Database database(session, "mirdox",
                      Database::Params::parse({"path=tables", "ENABLE BCD=TRUE"}));
    Table table(database);
    table.setTableName("DONGHUA");  // no extension: the default driver's table file
    table.open();
    EXPECT_EQ(table.fieldAsString("Filename"), testing::kA);
}

TEST(CharacterStoreTest, ClipCopiedWholeIntoAFile) {
    testing::ScratchDirectory scratch;
    Bytes clip(50000);
    for (std::size_t i = 0; i < clip.size(); ++i) {
        clip[i] = static_cast<unsigned char>(i % 251);
    }
    writeTableFile("donghua.db", kAnimationTable, {{testing::kA, clip}});
    CharacterStore store;
    store.session.addPassword(kStorePassword);
    store.query2.setParamAsString("%" + testing::kA + "%");
    store.query2.open();
    writeFileBytes("tmp2.avi", store.query2.blob("Photo"));
    EXPECT_EQ(readFileBytes("tmp2.avi"), clip);
    store.query2.close();
    store.query2.setParamAsString("none");
    store.query2.open();
    writeFileBytes("tmp1.avi", store.query2.blob("Photo"));
    EXPECT_TRUE(readFileBytes("tmp1.avi").empty());
}

}  // namespace
}  // namespace qir::store
