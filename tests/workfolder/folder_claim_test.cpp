// SPDX-License-Identifier: GPL-3.0-or-later
// The window's hold on its working folder: a second instance (of another session) is refused
// with a message that says so, and a folder that cannot be written is found at start.
#include "workfolder/folder_claim.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <array>
#include <fstream>
#include <optional>

#include "tests/support/foreign_listener.h"

namespace qir::workfolder {
namespace {

namespace fs = std::filesystem;

// The message FolderClaim throws for `folder`, or nothing when it takes the folder.
std::optional<std::string> refusal(const fs::path& folder,
                                   const std::vector<std::string>& scratch = {}) {
    try {
        FolderClaim claim(folder, scratch);
    } catch (const WorkingFolderError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

// The same, asked by the user nobody in a process of its own: root may write anywhere.
std::optional<std::string> refusalAsNobody(const fs::path& folder) {
    std::array<int, 2> pipe{};
    if (::pipe(pipe.data()) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (::setgid(testing::kNobody) != 0 || ::setuid(testing::kNobody) != 0) {
            ::_exit(2);
        }
        const std::optional<std::string> message = refusal(folder);
        if (message && ::write(pipe[1], message->data(), message->size()) < 0) {
            ::_exit(2);
        }
        ::_exit(message ? 1 : 0);
    }
    ::close(pipe[1]);
    std::string message;
    std::array<char, 512> buffer{};
    for (ssize_t got; (got = ::read(pipe[0], buffer.data(), buffer.size())) > 0;) {
        message.append(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) {
        return "the child failed";
    }
    return WEXITSTATUS(status) == 0 ? std::nullopt : std::optional<std::string>(message);
}

TEST(FolderClaim, ASecondInstanceInTheSameFolderIsToldWhyItCannotRun) {
    QTemporaryDir scratch;
    const fs::path folder = scratch.path().toStdString();
    {
        FolderClaim first(folder, {"bishunbmp.db"});
        const std::optional<std::string> second = refusal(folder, {"bishunbmp.db"});
        ASSERT_TRUE(second.has_value());
        EXPECT_EQ(*second,
                  "QIR Demonstration of stroke order is already running for this user "
                  "in another session, in the working folder " +
                      folder.string() + ". Close it there, then start the program again");
    }
    // Once the first has ended, the folder is free again; nothing was left in it.
    EXPECT_EQ(refusal(folder), std::nullopt);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST(FolderClaim, AFolderThatCannotBeWrittenIsNamedWithTheReason) {
    QTemporaryDir scratch;
    const fs::path folder = fs::path(scratch.path().toStdString()) / "work";
    fs::create_directory(folder);
    EXPECT_EQ(refusal(folder / "missing"), "Cannot use the working folder " +
                                               (folder / "missing").string() +
                                               ": No such file or directory");
    fs::permissions(scratch.path().toStdString(),
                    fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::string expected =
        "The working folder " + folder.string() + " cannot be written: Permission denied";
    if (::geteuid() == 0) {
        ASSERT_TRUE(testing::mayActAsAnotherUser());
        EXPECT_EQ(refusalAsNobody(folder), expected);
        return;
    }
    EXPECT_EQ(refusal(folder), expected);

    // A writable folder whose scratch table is read-only.
    fs::permissions(folder, fs::perms::owner_all);
    std::ofstream(folder / "bishunbmp.db") << "x";
    fs::permissions(folder / "bishunbmp.db", fs::perms::owner_read);
    EXPECT_EQ(refusal(folder, {"bishunbmp.db", "tmp1.avi"}),
              "The working folder " + folder.string() +
                  " cannot be written: bishunbmp.db: Permission denied");
}

}  // namespace
}  // namespace qir::workfolder
