// SPDX-License-Identifier: GPL-3.0-or-later
// The stroke display table survives a process killed in the middle of a rebuild, and a table
// file damaged anyway is made anew instead of failing on every character.
#include <gtest/gtest.h>

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include <QProcess>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "store/dataset.h"
#include "store/table_file.h"
#include "strokes/pictures/jpeg_to_bmp.h"
#include "strokes/stroke_order.h"
#include "tests/strokes/stroke_tables.h"
#include "tests/support/scratch_directory.h"

namespace qir::strokes {
namespace {

using testing::kLong;

constexpr int kScreen = 24;
constexpr int kSteps = 23;  // as many as the characters with the most strokes have

std::string stepName(int step) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", step);
    return kLong + number;
}

// What the engine's own check says of a table file: "ok" when it is sound.
std::string integrityOf(const std::filesystem::path& file) {
    sqlite3* handle = nullptr;
    // Read-write, so that a journal left by the killed process can be rolled back first.
    if (sqlite3_open_v2(file.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(handle);
        return "cannot open";
    }
    const std::string key = store::kStorePassword;
    sqlite3_key(handle, key.data(), static_cast<int>(key.size()));
    const std::string pageSize =
        "PRAGMA cipher_page_size = " + std::to_string(store::kStrokeDisplayTable.pageSize);
    sqlite3_exec(handle, pageSize.c_str(), nullptr, nullptr, nullptr);
    std::string report;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &statement, nullptr) !=
        SQLITE_OK) {
        report = sqlite3_errmsg(handle);
    }
    int code = SQLITE_OK;
    while (statement != nullptr && (code = sqlite3_step(statement)) == SQLITE_ROW) {
        report += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    if (statement != nullptr && code != SQLITE_DONE) {
        report += sqlite3_errmsg(handle);
    }
    sqlite3_finalize(statement);
    sqlite3_close_v2(handle);
    return report;
}

class ScratchTable : public ::testing::Test {
  protected:
    ScratchTable() {
        const auto rows = testing::strokeRows(kLong, kSteps);
        testing::writeStrokeTables(rows);
        for (const auto& row : rows) {
            bitmaps_.push_back(jpegToBmp(row.photo, kScreen));
        }
    }

    // The rows of the display table in the working directory are whole steps in step order;
    // gives how many there are.
    int checkRows() {
        testing::OpenedStore opened;
        store::Table& table = opened.store.strokeDisplayTable();
        table.open();
        const int count = table.recordCount();
        for (int row = 1; row <= count; ++row) {
            table.setRecNo(row);
            EXPECT_EQ(table.fieldAsString("Filename"), stepName(row));
            EXPECT_TRUE(row <= kSteps && table.blob("Photo") == bitmaps_[row - 1])
                << "step " << row << " is not whole";
        }
        return count;
    }

    // Rebuilding in this process works and gives every step.
    void checkRebuild() {
        testing::OpenedStore opened;
        ShowStrokeOrder(kLong, opened.store, kScreen);
        EXPECT_EQ(opened.store.strokeDisplayTable().recordCount(), kSteps);
        EXPECT_EQ(opened.store.strokeDisplayTable().recNo(), 1);
    }

    testing::ScratchDirectory store_;
    std::vector<Bytes> bitmaps_;
};

struct ChildRun {
    bool killed = false;
    int exitCode = -1;
    std::string output;
};

ChildRun runChild(const std::filesystem::path& folder, long killAfterWrites) {
    QString hex;
    for (unsigned char byte : kLong) {
        hex += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(QIR_STROKE_REBUILD_CHILD),
                {QString::fromStdString(folder.string()), QString::number(killAfterWrites), hex});
    ChildRun run;
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return run;
    }
    run.killed = child.exitStatus() == QProcess::CrashExit;
    run.exitCode = child.exitCode();
    run.output = child.readAllStandardOutput().trimmed().toStdString();
    return run;
}

TEST_F(ScratchTable, AKillAtAnyWriteOfARebuildLeavesTheTableSound) {
    // How many writes two rebuilds make, the first into an empty table, the second into a
    // full one.
    long total = 0;
    {
        testing::ScratchDirectory counting;
        for (const char* file : {"bishun.db", "bishunbmp.db"}) {
            std::filesystem::copy_file(store_.path() / file, counting.path() / file);
        }
        const ChildRun run = runChild(counting.path(), 0);
        ASSERT_FALSE(run.killed);
        ASSERT_EQ(run.exitCode, 0);
        total = std::stol(run.output);
        ASSERT_GT(total, 2 * kSteps);
        EXPECT_EQ(checkRows(), kSteps);
    }

    // Kill points spread over both rebuilds, the first and the last write among them.
    constexpr long kPoints = 40;
    std::vector<long> points;
    for (long i = 0; i < kPoints; ++i) {
        points.push_back(1 + i * (total - 1) / (kPoints - 1));
    }
    int rowsSeen = 0;
    for (const long point : points) {
        SCOPED_TRACE("killed after write " + std::to_string(point) + " of " +
                     std::to_string(total));
        testing::ScratchDirectory killed;
        for (const char* file : {"bishun.db", "bishunbmp.db"}) {
            std::filesystem::copy_file(store_.path() / file, killed.path() / file);
        }
        const ChildRun run = runChild(killed.path(), point);
        ASSERT_TRUE(run.killed);
        EXPECT_EQ(integrityOf(killed.path() / "bishunbmp.db"), "ok");
        EXPECT_NO_THROW(rowsSeen = std::max(rowsSeen, checkRows()));
        EXPECT_NO_THROW(checkRebuild());
    }
    // The kills fell among the rows being added, not only before or after them.
    EXPECT_GT(rowsSeen, 0);
}

// Damage of the kinds a disk or another program can do, as opposed to a kill.
void overwrite(const std::filesystem::path& file, std::uintmax_t offset, std::size_t size) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    const std::string garbage(size, '\x5A');
    out.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
}

TEST_F(ScratchTable, ADamagedTableIsMadeAnewEmptyByTheNextRebuild) {
    const std::filesystem::path table = store_.path() / "bishunbmp.db";
    const std::vector<std::pair<const char*, std::function<void()>>> damages = {
        {"a page in the middle overwritten",
         [&] { overwrite(table, std::filesystem::file_size(table) / 2, 4096); }},
        {"the file cut short within a page",
         [&] { std::filesystem::resize_file(table, std::filesystem::file_size(table) - 1000); }},
        {"the file cut short at a page boundary",
         [&] {
             std::filesystem::resize_file(table, std::filesystem::file_size(table) / 8192 * 4096);
         }},
        {"the first page's tail overwritten", [&] { overwrite(table, 2048, 2048); }},
    };
    for (const auto& [damage, apply] : damages) {
        SCOPED_TRACE(damage);
        checkRebuild();
        apply();
        EXPECT_NO_THROW(checkRebuild());
        EXPECT_EQ(integrityOf(table), "ok");
        EXPECT_EQ(checkRows(), kSteps);
        EXPECT_NE(store_.read("bishunbmp.db").substr(0, 15), "SQLite format 3");
    }
}

}  // namespace
}  // namespace qir::strokes
