// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/engine_error.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "store/table_file.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;

class EngineErrorTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    CharacterStore store;
    std::vector<std::string> asked;

    // Opening the stepping cursor must fail with a message naming `file` and `cause`.
    void expectOpenFails(const std::string& file, const std::string& cause) {
        try {
            dataSetsOf(store).tablenextprev.open();
            FAIL() << "opened " << file;
        } catch (const EngineError& error) {
            const std::string message = error.what();
            EXPECT_EQ(error.kind(), "EDBEngineError");
            EXPECT_NE(message.find(file), std::string::npos) << message;
            EXPECT_NE(message.find(cause), std::string::npos) << message;
        }
        EXPECT_FALSE(dataSetsOf(store).tablenextprev.active());
    }
    void promptWith(std::vector<std::optional<std::string>> answers) {
        store.setPasswordPrompt(
            [this, answers, next = std::size_t{0}](const std::string& file) mutable {
                asked.push_back(file);
                return next < answers.size() ? answers[next++] : std::nullopt;
            });
    }
};

TEST_F(EngineErrorTest, TheSessionPasswordOpensWithoutAsking) {
    testing::writeTable(kAnimationTable, {kA});
    store.addPassword("other1");
    store.addPassword(kStorePassword);
    promptWith({});
    dataSetsOf(store).tablenextprev.open();
    EXPECT_TRUE(asked.empty());
}

TEST_F(EngineErrorTest, WithoutThePasswordTheUserIsAskedUntilOneFits) {
    testing::writeTable(kAnimationTable, {kA});
    promptWith({"wrong1", "qir610"});
    dataSetsOf(store).tablenextprev.open();
    EXPECT_EQ(asked, (std::vector<std::string>{"donghua.db", "donghua.db"}));
    EXPECT_EQ(dataSetsOf(store).tablenextprev.fieldAsString("Filename"), kA);
    // The password given is kept: the other data sets open without asking again.
    dataSetsOf(store).query2.setParamAsString(kA);
    dataSetsOf(store).query2.open();
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(EngineErrorTest, NoFittingPasswordFailsWithTheEngineError) {
    testing::writeTable(kAnimationTable, {kA});
    promptWith({"wrong1", std::nullopt});
    expectOpenFails("donghua.db", "wrong password");
    store.setPasswordPrompt(nullptr);
    expectOpenFails("donghua.db", "wrong password");
}

TEST_F(EngineErrorTest, FileKeyedWithAnotherPassword) {
    writeTableFile("donghua.db", kAnimationTable, testing::rowsNamed({kA}), "abc123");
    store.addPassword(kStorePassword);
    expectOpenFails("donghua.db", "wrong password");
}

TEST_F(EngineErrorTest, MissingEmptyForeignAndTruncatedFiles) {
    store.addPassword(kStorePassword);
    promptWith({});
    expectOpenFails("donghua.DB", "does not exist");
    scratch.write("donghua.db", "");
    expectOpenFails("donghua.db", "not a table file");
    scratch.write("donghua.db", "plain text, not a table\n");
    expectOpenFails("donghua.db", "not a table file");
    scratch.write("donghua.db", std::string(4096, 'x'));
    expectOpenFails("donghua.db", "not a table file");
    std::filesystem::remove("donghua.db");
    std::filesystem::create_directory("donghua.db");
    expectOpenFails("donghua.db", "not a table file");
    std::filesystem::remove("donghua.db");
    // Only the page-sized garbage above could be an encrypted file, so only it asks.
    EXPECT_EQ(asked.size(), 1u);

    std::vector<TableRow> rows;
    for (int i = 0; i < 400; ++i) {
        rows.push_back({std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(i / 26),
                        Bytes(3000, static_cast<unsigned char>(i))});
    }
    writeTableFile("donghua.db", {"donghua.db", 4, true}, rows);
    const std::string whole = scratch.read("donghua.db");
    scratch.write("donghua.db", whole.substr(0, whole.size() / 2 + 100));
    expectOpenFails("donghua.db", "not a table file");
    scratch.write("donghua.db", whole.substr(0, (whole.size() / 2048) * 1024));
    try {
        dataSetsOf(store).tablenextprev.open();
        for (int i = 1; i <= dataSetsOf(store).tablenextprev.recordCount(); ++i) {
            dataSetsOf(store).tablenextprev.blobAt(i, "Photo");
        }
        FAIL() << "read a table cut in half";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("donghua.db"), std::string::npos);
    }
}

TEST_F(EngineErrorTest, ATableFileWithoutWritePermissionIsReadOnly) {
    store.addPassword(kStorePassword);
    testing::writeTable(kStrokeDisplayTable, {kA + "01"});
    std::filesystem::permissions(
        "bishunbmp.db", std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::string before = scratch.read("bishunbmp.db");
    try {
        dataSetsOf(store).tablebmp.emptyTable();
        FAIL() << "emptied a read-only table";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("bishunbmp.db"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("read-only"), std::string::npos);
    }
    dataSetsOf(store).tablebmp.open();
    EXPECT_EQ(dataSetsOf(store).tablebmp.recordCount(), 1);
    dataSetsOf(store).tablebmp.append();
    dataSetsOf(store).tablebmp.setFieldAsString("Filename", kB + "01");
    EXPECT_THROW(dataSetsOf(store).tablebmp.post(), EngineError);
    dataSetsOf(store).tablebmp.cancel();
    EXPECT_EQ(dataSetsOf(store).tablebmp.recordCount(), 1);
    EXPECT_EQ(scratch.read("bishunbmp.db"), before);
}

TEST_F(EngineErrorTest, RunningOutOfRoomIsReportedAndTheRowsStayAsTheyWere) {
    store.addPassword(kStorePassword);
    testing::writeTable(kStrokeDisplayTable, {kA + "01"});
    dataSetsOf(store).tablebmp.open();
    // Files may grow only a little past their size now: the next page written is cut short.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = std::filesystem::file_size("bishunbmp.db") + 500;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string message;
    try {
        dataSetsOf(store).tablebmp.append();
        dataSetsOf(store).tablebmp.setFieldAsString("Filename", kB + "01");
        dataSetsOf(store).tablebmp.setBlob("Photo", Bytes(20 * 1024, 7));
        dataSetsOf(store).tablebmp.post();
    } catch (const EngineError& error) {
        message = error.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(message.find("bishunbmp.db"), std::string::npos) << message;
    EXPECT_NE(message.find("size limit"), std::string::npos) << message;
    dataSetsOf(store).tablebmp.cancel();
    dataSetsOf(store).tablebmp.close();
    dataSetsOf(store).tablebmp.open();
    EXPECT_EQ(dataSetsOf(store).tablebmp.recordCount(), 1);
    EXPECT_EQ(dataSetsOf(store).tablebmp.fieldAsString("Filename"), kA + "01");
}

TEST_F(EngineErrorTest, AReplacedFileIsOpenedAfresh) {
    store.addPassword(kStorePassword);
    testing::writeTable(kAnimationTable, {kA});
    dataSetsOf(store).tablenextprev.open();
    dataSetsOf(store).tablenextprev.close();
    testing::writeTable(kAnimationTable, {kA, kB});
    dataSetsOf(store).tablenextprev.open();
    EXPECT_EQ(dataSetsOf(store).tablenextprev.recordCount(), 2);
}

TEST_F(EngineErrorTest, AScratchTableInUseElsewhereIsNeitherEmptiedNorMadeAnew) {
    store.addPassword(kStorePassword);
    testing::writeTable(kStrokeDisplayTable, {kA + "01"});
    // Another program's store holds the table, as a second instance would find it.
    CharacterStore holder;
    holder.addPassword(kStorePassword);
    dataSetsOf(holder).tablebmp.emptyTable();
    dataSetsOf(holder).tablebmp.open();
    dataSetsOf(holder).tablebmp.append();
    dataSetsOf(holder).tablebmp.setFieldAsString("Filename", kB + "01");
    dataSetsOf(holder).tablebmp.post();
    try {
        dataSetsOf(store).tablebmp.emptyTable();
        FAIL() << "emptied a table in use";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("in use"), std::string::npos) << error.what();
    }
    dataSetsOf(holder).tablebmp.close();
    dataSetsOf(holder).tablebmp.open();
    EXPECT_EQ(dataSetsOf(holder).tablebmp.recordCount(), 1);
    EXPECT_EQ(dataSetsOf(holder).tablebmp.fieldAsString("Filename"), kB + "01");
}

}  // namespace
}  // namespace qir::store
