// SPDX-License-Identifier: GPL-3.0-or-later
// Keys derived once per process: the derived key must be the very key the engine derives from
// the password, or every table file would fall back to the slow way (or, worse, not open).
#include "store/key_derivation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "store/dataset.h"
#include "store/session.h"
#include "store/sqlite.h"
#include "store/table_file.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::photoOf;

// Opens `file` with `key` at `pageSize`; the number of rows of its table, or -1 when the key
// does not open it.
int rowsWithKey(const std::filesystem::path& file, const std::string& key, int pageSize) {
    sql::Connection connection(file.string(), SQLITE_OPEN_READONLY, file.filename().string());
    sqlite3_key(connection.get(), key.data(), static_cast<int>(key.size()));
    connection.tryExec("PRAGMA cipher_page_size = " + std::to_string(pageSize));
    int code = SQLITE_OK;
    sql::Statement count = connection.tryPrepare("SELECT count(*) FROM db", code);
    if (!count || sqlite3_step(count.get()) != SQLITE_ROW) {
        return -1;
    }
    return sqlite3_column_int(count.get(), 0);
}

class KeyDerivationTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
};

TEST_F(KeyDerivationTest, TheDerivedKeyIsTheEnginesAtEveryPageSizeAndOnlyForItsPassword) {
    for (const TableLayout& layout : {kAnimationTable, kStrokeTable}) {
        SCOPED_TRACE(layout.fileName);
        writeTableFile(layout.fileName, layout, {{kA, photoOf(kA)}, {kB, photoOf(kB)}}, "secret");
        const std::optional<std::string> salt = readSalt(layout.fileName);
        ASSERT_TRUE(salt.has_value());
        const std::string key = rawKey(*salt, "secret");
        EXPECT_EQ(key.size(), 2 + 64 + 1u);
        EXPECT_EQ(key.rfind("x'", 0), 0u);
        EXPECT_EQ(rowsWithKey(layout.fileName, key, layout.pageSize), 2);
        // Asked again, the same key; another password's key opens nothing.
        EXPECT_EQ(rawKey(*salt, "secret"), key);
        EXPECT_EQ(rowsWithKey(layout.fileName, rawKey(*salt, "other"), layout.pageSize), -1);
    }
    // Each file has a salt of its own, so a key of one file does not open another.
    EXPECT_NE(rawKey(*readSalt(kAnimationTable.fileName), "secret"),
              rawKey(*readSalt(kStrokeTable.fileName), "secret"));
}

TEST_F(KeyDerivationTest, AKeyDerivedAheadIsTheOneUsedAndTheFileOpensThroughTheSession) {
    writeTableFile(kStrokeTable.fileName, kStrokeTable, {{kA, photoOf(kA)}});
    Session session;
    session.addPassword(kStorePassword);
    Database database(session, "mirdox", {});
    database.deriveKeysAhead({kStrokeTable.fileName, "missing.db"});
    const std::string salt = *readSalt(kStrokeTable.fileName);
    EXPECT_EQ(rowsWithKey(kStrokeTable.fileName, rawKey(salt, kStorePassword), 16384), 1);

    Table table(database);
    table.setTableName(kStrokeTable.fileName);
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
    // The page size it opened with is remembered for the next attach.
    EXPECT_EQ(knownPageSize(salt), kStrokeTable.pageSize);
}

TEST_F(KeyDerivationTest, APromptedPasswordStillOpensAFileOfAnotherPassword) {
    writeTableFile(kAnimationTable.fileName, kAnimationTable, {{kA, photoOf(kA)}}, "given");
    Session session;
    session.addPassword(kStorePassword);
    int asked = 0;
    session.setPasswordPrompt([&](const std::string&) -> std::optional<std::string> {
        return ++asked == 1 ? std::optional<std::string>("given") : std::nullopt;
    });
    Database database(session, "mirdox", {});
    Table table(database);
    table.setTableName(kAnimationTable.fileName);
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(asked, 1);
}

// A program may end while a key is still being derived (closed at once, or at logout): the exit
// waits for the derivation instead of freeing the crypto library under it. Run in a process of
// its own, where nothing has used the crypto library before.
TEST_F(KeyDerivationTest, AProcessEndingWhileAKeyIsDerivedAheadEndsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    scratch.write("salted.db", std::string(64, 's'));
    EXPECT_EXIT(
        {
            for (int i = 0; i < 4; ++i) {
                deriveKeyAhead("salted.db", "password " + std::to_string(i));
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(KeyDerivationTest, NoSaltInAFileShorterThanOne) {
    scratch.write("short.db", "0123456789");
    EXPECT_FALSE(readSalt("short.db").has_value());
    EXPECT_FALSE(readSalt("absent.db").has_value());
}

}  // namespace
}  // namespace qir::store
