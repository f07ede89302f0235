// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_record.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/support/scratch_directory.h"

namespace qir::practice {
namespace {

const std::string kYong = "\xD3\xC0";  // 永
const std::string kWo = "\xCE\xD2";    // 我
const std::string kGuo = "\xB9\xFA";   // 国

PracticeAttempt attemptAt(const std::string& hanzi, std::vector<int> mistakes, int minute = 0) {
    PracticeAttempt attempt;
    attempt.hanzi = hanzi;
    attempt.finished = QDateTime(QDate(2026, 12, 9), QTime(5, minute), Qt::UTC);
    attempt.mode = PracticeMode::StrokeByStroke;
    attempt.leniency = Leniency::Gentle;
    attempt.mistakes = std::move(mistakes);
    attempt.scorePercent = 50;
    attempt.seconds = 12.4;
    return attempt;
}

class PracticeRecordTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory folder;
    std::filesystem::path file = folder.path() / kPracticeRecordFile;
};

TEST_F(PracticeRecordTest, KeepsEachFinishedCharacterAcrossARestart) {
    {
        PracticeRecord record(file);
        ASSERT_TRUE(record.keeping()) << record.takeProblem().value_or("");
        record.add(attemptAt(kYong, {0, 1, 0, 0, 2}));
        record.add(attemptAt(kWo, {0, 0, 0, 0, 0, 0, 0}, 1));
    }
    PracticeRecord reopened(file);
    const std::vector<PracticeAttempt> attempts = reopened.attempts();
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_EQ(attempts[0].hanzi, kYong);
    EXPECT_EQ(attempts[0].mistakes, (std::vector<int>{0, 1, 0, 0, 2}));
    EXPECT_EQ(attempts[0].mode, PracticeMode::StrokeByStroke);
    EXPECT_EQ(attempts[0].leniency, Leniency::Gentle);
    EXPECT_EQ(attempts[0].scorePercent, 50);
    EXPECT_DOUBLE_EQ(attempts[0].seconds, 12.4);
    EXPECT_EQ(attempts[0].finished, QDateTime(QDate(2026, 12, 9), QTime(5, 0), Qt::UTC));
    EXPECT_EQ(attempts[1].hanzi, kWo);
    EXPECT_EQ(reopened.takeProblem(), std::nullopt);
}

TEST_F(PracticeRecordTest, TheFileIsAPlainSqliteDatabase) {
    PracticeRecord(file).add(attemptAt(kYong, {1}));
    std::ifstream in(file, std::ios::binary);
    std::string header(16, '\0');
    in.read(header.data(), 16);
    EXPECT_EQ(header, std::string("SQLite format 3\0", 16));
}

TEST_F(PracticeRecordTest, TheHardestAreThoseWithTheMostMistakesOverTheLastAttempts) {
    PracticeRecord record(file);
    // 永 was hard long ago and has gone right since; 国 stays hard; 我 was never missed.
    record.add(attemptAt(kYong, {5, 5}));
    for (int i = 0; i < 5; ++i) {
        record.add(attemptAt(kYong, {0, 0}));
    }
    record.add(attemptAt(kGuo, {1, 0, 2}));
    record.add(attemptAt(kWo, {0, 0}));
    EXPECT_EQ(record.hardest(10), (std::vector<std::string>{kGuo}));
    EXPECT_EQ(record.hardest(10, 6), (std::vector<std::string>{kYong, kGuo}));
    EXPECT_EQ(record.hardest(1, 6), (std::vector<std::string>{kYong}));
}

TEST_F(PracticeRecordTest, ExportsCsvWithOneLineAnAttempt) {
    PracticeRecord record(file);
    record.add(attemptAt(kYong, {0, 1, 2}));
    EXPECT_EQ(record.csv(),
              "finished,character,mode,leniency,score,seconds,mistakes per stroke\r\n"
              "2026-12-09T05:00:00Z,\xE6\xB0\xB8,stroke by stroke,gentle,50,12.4,0 1 2\r\n");
}

TEST_F(PracticeRecordTest, ADamagedRecordIsNotKeptSaysSoOnceAndIsLeftAsItWas) {
    const std::string garbage(8192, 'x');
    folder.write(kPracticeRecordFile, garbage);
    PracticeRecord record(file);
    EXPECT_FALSE(record.keeping());
    EXPECT_EQ(record.takeProblem(),
              std::string("the practice record ") + kPracticeRecordFile + " is damaged");
    EXPECT_EQ(record.takeProblem(), std::nullopt);
    record.add(attemptAt(kYong, {0}));
    EXPECT_TRUE(record.attempts().empty());
    EXPECT_TRUE(record.hardest(5).empty());
    EXPECT_EQ(folder.read(kPracticeRecordFile), garbage);
}

TEST_F(PracticeRecordTest, AReadOnlyRecordIsNotKept) {
    PracticeRecord(file).add(attemptAt(kYong, {0}));
    ::chmod(file.c_str(), 0444);
    if (::access(file.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "the file stays writable (running as root)";
    }
    PracticeRecord record(file);
    EXPECT_FALSE(record.keeping());
    EXPECT_EQ(record.takeProblem(),
              std::string("the practice record ") + kPracticeRecordFile + " is read-only");
}

TEST_F(PracticeRecordTest, ARecordLockedByAnotherInstanceStopsKeepingWithoutLosingAnything) {
    PracticeRecord record(file);
    record.add(attemptAt(kYong, {0}));
    PracticeRecord other(file);
    ASSERT_TRUE(other.keeping());
    // The other instance holds the write lock through the whole of our write.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    record.add(attemptAt(kWo, {1}));
    EXPECT_FALSE(record.keeping());
    EXPECT_EQ(record.takeProblem(), std::string("the practice record ") + kPracticeRecordFile +
                                        " is in use by another instance of the program");
    sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(PracticeRecord(file).attempts().size(), 1u);
}

TEST_F(PracticeRecordTest, SurvivesAKillAtAnyMoment) {
    // A child writes attempts as fast as it can and is killed in the middle of it; every
    // attempt found afterwards is whole, and the record opens clean.
    for (const int afterMilliseconds : {5, 40, 120}) {
        std::filesystem::remove(file);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            PracticeRecord record(file);
            for (int i = 0;; ++i) {
                record.add(attemptAt(i % 2 == 0 ? kYong : kGuo, {i % 3, 1, 2, 3, 4, 5, 6, 7}));
                if (!record.keeping()) {
                    ::_exit(3);
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMilliseconds));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;

        PracticeRecord record(file);
        ASSERT_TRUE(record.keeping()) << record.takeProblem().value_or("");
        for (const PracticeAttempt& attempt : record.attempts()) {
            ASSERT_EQ(attempt.mistakes.size(), 8u);
            EXPECT_EQ(attempt.mistakes.back(), 7);
        }
        const auto before = record.attempts().size();
        record.add(attemptAt(kWo, {0}));
        EXPECT_EQ(record.attempts().size(), before + 1);
    }
}

}  // namespace
}  // namespace qir::practice
