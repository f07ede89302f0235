// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/errors.h"
#include "tests/support/scratch_directory.h"

namespace qir {
namespace {

TEST(FileIo, WritesAndReadsWholeFilesRelativeToTheWorkingDirectory) {
    testing::ScratchDirectory dir;
    const Bytes bytes{0, 1, 2, 255};
    writeFileBytes("tmp1.avi", bytes);
    EXPECT_EQ(readFileBytes("tmp1.avi"), bytes);
    writeFileBytes("tmp1.avi", Bytes{7});  // truncates
    EXPECT_EQ(readFileBytes("tmp1.avi"), Bytes{7});
    writeFileBytes("empty", Bytes{});
    EXPECT_TRUE(readFileBytes("empty").empty());
}

TEST(FileIo, ReportsTheProgramsErrorTexts) {
    testing::ScratchDirectory dir;
    try {
        readFileBytes("missing.bmp");
        FAIL();
    } catch (const FileOpenError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file missing.bmp");
    }
    std::filesystem::create_directory("adir");
    EXPECT_THROW(readFileBytes("adir"), FileOpenError);
    EXPECT_THROW(writeFileBytes("adir", Bytes{1}), FileCreateError);
    try {
        writeFileBytes("no/such/dir.avi", Bytes{1});
        FAIL();
    } catch (const FileCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file no/such/dir.avi");
    }
}

TEST(FileIo, CopyOverAndArchiveOnlyMakeTheCopyWritable) {
    testing::ScratchDirectory dir;
    dir.write("temp.jpg", "abc");
    ASSERT_EQ(::chmod("temp.jpg", 0444), 0);
    ASSERT_TRUE(copyFileOver("temp.jpg", "tmp.jpg"));
    ASSERT_TRUE(setArchiveOnly("tmp.jpg"));
    struct stat info {};
    ASSERT_EQ(::stat("tmp.jpg", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    dir.write("temp.jpg", "");
    ASSERT_EQ(::chmod("temp.jpg", 0644), 0);
    dir.write("temp.jpg", "defg");
    ASSERT_TRUE(copyFileOver("temp.jpg", "tmp.jpg"));
    EXPECT_EQ(dir.read("tmp.jpg"), "defg");
    EXPECT_FALSE(copyFileOver("absent.jpg", "tmp.jpg"));
    EXPECT_TRUE(deleteFile("tmp.jpg"));
    EXPECT_FALSE(deleteFile("tmp.jpg"));
}

}  // namespace
}  // namespace qir
