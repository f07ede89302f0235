// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/character_store.h"

#include <gtest/gtest.h>

#include "store/character_store_access.h"
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
    store.addPassword(kStorePassword);
    dataSetsOf(store).query2.setParamAsString("%" + testing::kA + "%");
    dataSetsOf(store).query2.open();
    writeFileBytes("tmp2.avi", dataSetsOf(store).query2.blob("Photo"));
    EXPECT_EQ(readFileBytes("tmp2.avi"), clip);
    dataSetsOf(store).query2.close();
    dataSetsOf(store).query2.setParamAsString("none");
    dataSetsOf(store).query2.open();
    writeFileBytes("tmp1.avi", dataSetsOf(store).query2.blob("Photo"));
    EXPECT_TRUE(readFileBytes("tmp1.avi").empty());
}

// The typed calls run the queries and leave their cursors as the display sequence expects:
// the steps in order up to the first empty picture, the step query standing on the step a
// failing visitor was given, and a key that is no character leaving the query untouched.
TEST(CharacterStoreTest, StepsComeInOrderAndTheQueryStaysWhereTheyStopped) {
    using testing::kA;
    using testing::kB;
    testing::ScratchDirectory scratch;
    std::vector<TableRow> rows = testing::rowsNamed({kA + "03", kA + "01", kB + "01", kA + "02"});
    rows.push_back({kA + "04", {}});  // an empty picture ends the steps
    rows.push_back({kA + "05", testing::photoOf(kA + "05")});
    writeTableFile("bishun.db", kStrokeTable, rows);
    CharacterStore store;
    store.addPassword(kStorePassword);
    Query& querybs = dataSetsOf(store).querybs;

    std::vector<std::string> names;
    EXPECT_FALSE(store.forEachStep(kA + " ", [&](const std::string& name, const Bytes& picture) {
        EXPECT_EQ(picture, testing::photoOf(name));
        names.push_back(name);
    }));
    EXPECT_EQ(names, (std::vector<std::string>{kA + "01", kA + "02", kA + "03"}));
    EXPECT_EQ(querybs.fieldAsString("filename"), kA + "04");

    EXPECT_TRUE(store.forEachStep(kB, [](const std::string&, const Bytes&) {}));
    EXPECT_TRUE(querybs.active());
    EXPECT_TRUE(querybs.eof());

    EXPECT_THROW(store.forEachStep(kA,
                                   [](const std::string& name, const Bytes&) {
                                       if (name == testing::kA + "02") {
                                           throw std::runtime_error("conversion failed");
                                       }
                                   }),
                 std::runtime_error);
    EXPECT_EQ(querybs.fieldAsString("filename"), kA + "02");

    for (const std::string key : {"%", "_", "", "ab"}) {
        EXPECT_FALSE(store.forEachStep(key, [](const std::string&, const Bytes&) {
            ADD_FAILURE() << "a key that is no character found a step";
        }));
    }
    EXPECT_EQ(querybs.fieldAsString("filename"), kA + "02");
}

TEST(CharacterStoreTest, TheClipIsTheFirstRowsAndTheLookupKeepsTheQueryOpen) {
    using testing::kA;
    using testing::kB;
    testing::ScratchDirectory scratch;
    writeTableFile("donghua.db", kAnimationTable,
                   {{kA, testing::photoOf(kA)}, {kB, {}}, {testing::kC, testing::photoOf("c")}});
    CharacterStore store;
    store.addPassword(kStorePassword);
    EXPECT_TRUE(store.holds(kA));
    EXPECT_FALSE(store.holds(testing::kD));
    EXPECT_FALSE(store.holds(kA + kB));  // the key itself, not a part of it
    EXPECT_EQ(store.clipOf(kA).bytes, testing::photoOf(kA));
    EXPECT_EQ(store.clipOf(kA).size, testing::photoOf(kA).size());
    EXPECT_TRUE(dataSetsOf(store).query2.active());
    EXPECT_TRUE(store.holds(kB));
    EXPECT_EQ(store.clipOf(kB).size, 0u);           // an empty Photo
    EXPECT_EQ(store.clipOf(testing::kD).size, 0u);  // no row
    EXPECT_TRUE(store.clipOf(testing::kD).bytes.empty());
    // The key is trimmed, as a catalogue entry's trailing blank must not stop the lookup.
    EXPECT_EQ(store.clipOf(" " + testing::kC + "\t").bytes, testing::photoOf("c"));
    EXPECT_EQ(store.clipOf("").bytes, testing::photoOf(kA));  // "%%": the first row
}

// Reading ahead after the start changes nothing anybody sees: no password asked, no error,
// the lookups' answers the same, and an open lookup left where it stands.
TEST(CharacterStoreTest, ReadingAheadAsksNothingReportsNothingAndLeavesOpenLookupsAlone) {
    using testing::kA;
    using testing::kB;
    testing::ScratchDirectory scratch;
    writeTableFile("donghua.db", kAnimationTable, testing::rowsNamed({kA, kB}), "other");
    writeTableFile("bishun.db", kStrokeTable, testing::rowsNamed({kA + "01", kA + "02"}));
    CharacterStore store;
    store.addPassword(kStorePassword);
    int asked = 0;
    store.setPasswordPrompt([&](const std::string&) -> std::optional<std::string> {
        ++asked;
        return std::string("other");
    });
    int pieces = 0;
    EXPECT_NO_THROW(while (store.readAheadStep()) { ++pieces; });
    EXPECT_EQ(pieces, 0);  // the animation table does not open with the session's password
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(dataSetsOf(store).query2.active());
    EXPECT_FALSE(dataSetsOf(store).querybs.active());
    // The first character asks, as it did without reading ahead.
    EXPECT_TRUE(store.holds(kB));
    EXPECT_EQ(asked, 1);
    std::vector<std::string> steps;
    EXPECT_TRUE(store.forEachStep(
        kA, [&](const std::string& name, const Bytes&) { steps.push_back(name); }));
    EXPECT_EQ(steps, (std::vector<std::string>{kA + "01", kA + "02"}));

    EXPECT_EQ(store.clipOf(kB).bytes, testing::photoOf(kB));
    CharacterStore again;
    again.addPassword("other");
    EXPECT_TRUE(again.clipOf(kB).size != 0);
    pieces = 0;
    while (again.readAheadStep()) {
        ++pieces;
    }
    EXPECT_EQ(pieces, 1);  // two rows: one piece
    ASSERT_TRUE(dataSetsOf(again).query2.active());
    EXPECT_EQ(dataSetsOf(again).query2.fieldAsString("Filename"), kB);
}

}  // namespace
}  // namespace qir::store
