// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "platform/errors.h"
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

}  // namespace
}  // namespace qir
