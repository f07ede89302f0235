// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/errors.h"
#include "platform/temporary_files.h"
#include "tests/support/failing_disk.h"
#include "tests/support/scratch_directory.h"

namespace qir {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string failureOf(const fs::path& path, AtomicFile::Existing existing) {
    try {
        AtomicFile file(path, existing);
        file.device().write("content");
        file.commit();
    } catch (const Error& e) {
        return e.what();
    }
    return "(written)";
}

class AtomicFileTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    const fs::path target = scratch.path() / "sheet.pdf";
};

TEST_F(AtomicFileTest, TheFileAppearsWholeOnlyAtCommitAsAnOrdinaryDocument) {
    {
        AtomicFile file(target, AtomicFile::Existing::Refuse);
        file.device().write("%PDF-1.4 whole");
        EXPECT_FALSE(fs::exists(target));
        file.commit();
    }
    EXPECT_EQ(scratch.read("sheet.pdf"), "%PDF-1.4 whole");
    EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"sheet.pdf"});
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST_F(AtomicFileTest, DroppedWithoutCommitItLeavesNothingAndTheOldFileStands) {
    {
        AtomicFile file(target, AtomicFile::Existing::Refuse);
        file.device().write("half");
    }
    EXPECT_TRUE(namesIn(scratch.path()).empty());

    scratch.write("sheet.pdf", "old");
    {
        AtomicFile file(target, AtomicFile::Existing::Replace);
        file.device().write("new");
    }
    EXPECT_EQ(scratch.read("sheet.pdf"), "old");
    EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"sheet.pdf"});
}

TEST_F(AtomicFileTest, AnExistingFileIsRefusedOrReplacedAsAsked) {
    scratch.write("sheet.pdf", "old");
    EXPECT_EQ(failureOf(target, AtomicFile::Existing::Refuse),
              "Cannot create file " + target.string() + ": the file already exists");
    EXPECT_EQ(scratch.read("sheet.pdf"), "old");

    EXPECT_EQ(failureOf(target, AtomicFile::Existing::Replace), "(written)");
    EXPECT_EQ(scratch.read("sheet.pdf"), "content");
    EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"sheet.pdf"});
}

TEST_F(AtomicFileTest, AFileThatAppearsMeanwhileIsNotOverwritten) {
    AtomicFile file(target, AtomicFile::Existing::Refuse);
    file.device().write("mine");
    scratch.write("sheet.pdf", "someone else's");
    try {
        file.commit();
        ADD_FAILURE() << "committed over a file that appeared meanwhile";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file " + target.string() + ": the file already exists");
    }
    EXPECT_EQ(scratch.read("sheet.pdf"), "someone else's");
    EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"sheet.pdf"});
}

TEST_F(AtomicFileTest, MissingFoldersFoldersAndUnwritableFoldersAreNamed) {
    const fs::path missing = scratch.path() / "gone" / "sheet.pdf";
    EXPECT_EQ(failureOf(missing, AtomicFile::Existing::Refuse),
              "Cannot create file " + missing.string() + ": the folder " +
                  (scratch.path() / "gone").string() + " does not exist");

    scratch.write("plain", "x");
    const fs::path underFile = scratch.path() / "plain" / "sheet.pdf";
    EXPECT_EQ(failureOf(underFile, AtomicFile::Existing::Refuse),
              "Cannot create file " + underFile.string() + ": " +
                  (scratch.path() / "plain").string() + " is not a folder");

    fs::create_directory(scratch.path() / "folder.pdf");
    EXPECT_EQ(
        failureOf(scratch.path() / "folder.pdf", AtomicFile::Existing::Replace),
        "Cannot create file " + (scratch.path() / "folder.pdf").string() + ": it is a folder");

    // The superuser may write into any folder whose mode says read-only; the kernel's own
    // folder refuses everyone and leaves nothing behind.
    fs::path locked = scratch.path() / "locked";
    if (::geteuid() == 0) {
        locked = "/sys";
    } else {
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const std::string failure = failureOf(locked / "sheet.pdf", AtomicFile::Existing::Refuse);
    EXPECT_TRUE(failure == "Cannot create file " + (locked / "sheet.pdf").string() +
                               ": access to the folder " + locked.string() + " is denied" ||
                failure == "Cannot create file " + (locked / "sheet.pdf").string() +
                               ": the folder " + locked.string() + " is read-only")
        << failure;
    EXPECT_FALSE(fs::exists(locked / "sheet.pdf"));
}

// Writes `size` bytes through an AtomicFile and commits; the failure's text, or "(written)".
std::string failureOfWriting(const fs::path& path, std::size_t size) {
    try {
        AtomicFile file(path, AtomicFile::Existing::Replace);
        const std::string chunk(1000, 'x');
        for (std::size_t done = 0; done < size; done += chunk.size()) {
            file.device().write(chunk.data(), static_cast<qint64>(chunk.size()));
        }
        file.commit();
    } catch (const Error& e) {
        return e.what();
    }
    return "(written)";
}

TEST_F(AtomicFileTest, AFullDiskAtAnyWriteIsReportedAndTheOldFileStands) {
    const std::string full = "Cannot create file " + target.string() + ": the disk is full";
    // Full from the start, in the first buffer, half-way, and just before the end.
    for (const std::size_t room : {0u, 100u, 70000u, 199999u}) {
        scratch.write("sheet.pdf", "old");
        {
            const testing::DiskFullAfter disk(room);
            EXPECT_EQ(failureOfWriting(target, 200000), full) << room << " bytes of room";
            EXPECT_GT(testing::DiskFullAfter::refusals(), 0);
        }
        EXPECT_EQ(scratch.read("sheet.pdf"), "old") << room;
        EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"sheet.pdf"}) << room;
    }
    // Once there is room again, the same file is written.
    EXPECT_EQ(failureOfWriting(target, 200000), "(written)");
    EXPECT_EQ(fs::file_size(target), 200000u);
}

TEST_F(AtomicFileTest, AFailingFsyncIsReportedAndTheOldFileStands) {
    scratch.write("sheet.pdf", "old");
    {
        const testing::FailingSync sync;
        EXPECT_EQ(failureOfWriting(target, 5000),
                  "Cannot create file " + target.string() + ": Input/output error");
    }
    EXPECT_EQ(scratch.read("sheet.pdf"), "old");
    EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"sheet.pdf"});
}

TEST_F(AtomicFileTest, ARealFullFileSystemIsReportedAndTheOldFileStands) {
    const fs::path small = scratch.path() / "small";
    const testing::SmallFilesystem filesystem(small, 1 << 20);
    if (!filesystem.mounted()) {
        GTEST_SKIP() << filesystem.reason() << "; the injected full disk stands in for it";
    }
    { std::ofstream(small / "sheet.pdf") << "old"; }
    EXPECT_EQ(failureOfWriting(small / "sheet.pdf", 2 << 20),
              "Cannot create file " + (small / "sheet.pdf").string() + ": the disk is full");
    EXPECT_EQ(namesIn(small), std::set<std::string>{"sheet.pdf"});
    std::ifstream in(small / "sheet.pdf");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
}

TEST_F(AtomicFileTest, TheLongestNameTheFolderTakesCanBeWritten) {
    // 255 bytes, the most ext4 and tmpfs take, once in ASCII and once ending in characters of
    // three bytes, which the temporary name must not cut in half.
    const std::string ascii = std::string(251, 'a') + ".pdf";
    std::string chinese;
    while (chinese.size() + 3 <= 251) {
        chinese += "永";
    }
    chinese = std::string(251 - chinese.size(), 'b') + chinese + ".pdf";
    for (const std::string& name : {ascii, chinese}) {
        ASSERT_EQ(name.size(), 255u);
        EXPECT_EQ(failureOf(scratch.path() / name, AtomicFile::Existing::Refuse), "(written)");
        EXPECT_EQ(scratch.read(name), "content");
    }
    EXPECT_EQ(namesIn(scratch.path()), (std::set<std::string>{ascii, chinese}));
}

TEST_F(AtomicFileTest, StaleTemporaryFilesOfAKilledRunAreClearedAndNothingElse) {
    const auto make = [&](const std::string& name, int hoursOld) {
        scratch.write(name, "half a sheet");
        const utimbuf times{std::time(nullptr) - hoursOld * 3600,
                            std::time(nullptr) - hoursOld * 3600};
        ::utime((scratch.path() / name).c_str(), &times);
    };
    make(".old.pdf.qir-a1B2c3", 2);    // a killed run's
    make(".fresh.pdf.qir-d4E5f6", 0);  // perhaps still being written
    make(".held.pdf.qir-g7H8i9", 2);   // a writer that still lives holds it
    make(".config.backup", 2);         // the user's own
    make(".notes.qir-long-name", 2);   // the user's own too
    const int held = ::open((scratch.path() / ".held.pdf.qir-g7H8i9").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_EQ(failureOf(target, AtomicFile::Existing::Refuse), "(written)");
    EXPECT_EQ(namesIn(scratch.path()),
              (std::set<std::string>{"sheet.pdf", ".fresh.pdf.qir-d4E5f6", ".held.pdf.qir-g7H8i9",
                                     ".config.backup", ".notes.qir-long-name"}));
    ::close(held);
    EXPECT_EQ(AtomicFile::removeStaleTemporaryFiles(scratch.path(), std::chrono::minutes(1)), 1);
    EXPECT_FALSE(scratch.exists(".held.pdf.qir-g7H8i9"));
}

TEST_F(AtomicFileTest, ATerminationSignalRemovesTheFileBeingWritten) {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            removeTemporaryFilesOnTermination();
            AtomicFile file(target, AtomicFile::Existing::Refuse);
            file.device().write(std::string(300000, 'x').c_str());
            ::raise(signalNumber);
            ::_exit(0);  // not reached: the signal ends the process
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << signalNumber;
        EXPECT_TRUE(namesIn(scratch.path()).empty()) << signalNumber;
    }
}

}  // namespace
}  // namespace qir
