// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstring>
#include <filesystem>

#include "tests/support/foreign_listener.h"

namespace qir {
namespace {

namespace fs = std::filesystem;

using testing::ForeignListener;
using testing::kNobody;
const QString kName = QStringLiteral("QirTest");

// Each test has a runtime folder and a temp folder of its own; the variables come back after.
class SingleInstance : public ::testing::Test {
  protected:
    SingleInstance() : savedRuntime_(qgetenv("XDG_RUNTIME_DIR")), savedTemp_(qgetenv("TMPDIR")) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        qputenv("TMPDIR", QFile::encodeName(temp_.path()));
    }
    ~SingleInstance() override {
        qputenv("XDG_RUNTIME_DIR", savedRuntime_);
        qputenv("TMPDIR", savedTemp_);
    }
    fs::path runtime() const { return runtime_.path().toStdString(); }
    fs::path temp() const { return temp_.path().toStdString(); }
    // Read when asked: some tests change the variables on the way.
    static InstanceAddress address() { return InstanceAddress::ofThisUser(kName); }
    static std::string socketName() {
        return kName.toStdString() + "-" + std::to_string(::geteuid()) + ".socket";
    }

  private:
    QTemporaryDir runtime_;
    QTemporaryDir temp_;
    QByteArray savedRuntime_;
    QByteArray savedTemp_;
};

// A socket file at `path` that nobody listens on, as a crashed instance leaves it.
void leaveStaleSocket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST_F(SingleInstance, NobodyListeningMeansNoHandOver) {
    EXPECT_FALSE(handOverToRunningInstance(address()));
    // Asking changed nothing: no folder, no socket.
    EXPECT_TRUE(fs::is_empty(runtime()));
    EXPECT_TRUE(fs::is_empty(temp()));
}

TEST_F(SingleInstance, AConnectionIsAnActivationRequest) {
    InstanceChannel channel;
    ASSERT_EQ(channel.claim(address()), InstanceClaim::Running);
    EXPECT_EQ(instanceSocketPath(address()).toStdString(), (runtime() / socketName()).string());
    QSignalSpy requests(&channel, &InstanceChannel::activationRequested);
    EXPECT_TRUE(handOverToRunningInstance(address()));
    EXPECT_TRUE(requests.wait(2000));
}

TEST_F(SingleInstance, TheRequestCarriesTheLaunchersTokensToTheRunningInstance) {
    InstanceChannel channel;
    ASSERT_EQ(channel.claim(address(), {}), InstanceClaim::Running);
    QSignalSpy requests(&channel, &InstanceChannel::activationRequested);
    const ActivationRequest launched{"wayland-token-1", "launcher-42_TIME1234"};
    EXPECT_TRUE(handOverToRunningInstance(address(), launched));
    ASSERT_TRUE(requests.wait(2000));
    EXPECT_EQ(requests.takeFirst().at(0).value<ActivationRequest>(), launched);

    // A start with no tokens (from a terminal) still brings the window forward.
    EXPECT_TRUE(handOverToRunningInstance(address(), {}));
    ASSERT_TRUE(requests.wait(2000));
    EXPECT_EQ(requests.takeFirst().at(0).value<ActivationRequest>(), ActivationRequest{});

    // The start that lost the race to claim hands its tokens over too.
    InstanceChannel second;
    EXPECT_EQ(second.claim(address(), {"", "late-start"}), InstanceClaim::HandedOver);
    ASSERT_TRUE(requests.wait(2000));
    EXPECT_EQ(requests.takeFirst().at(0).value<ActivationRequest>().startupId, "late-start");
}

TEST_F(SingleInstance, AConnectionThatSaysNothingAndStaysOpenIsStillARequest) {
    InstanceChannel channel;
    ASSERT_EQ(channel.claim(address(), {}), InstanceClaim::Running);
    QSignalSpy requests(&channel, &InstanceChannel::activationRequested);
    QLocalSocket silent;
    silent.connectToServer(instanceSocketPath(address()));
    ASSERT_TRUE(silent.waitForConnected(2000));
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(requests.takeFirst().at(0).value<ActivationRequest>(), ActivationRequest{});
}

TEST(ActivationRequest, TokensGoThroughAndWhatNoLauncherGivesIsDropped) {
    const ActivationRequest both{"abc", "id with \"quotes\""};
    EXPECT_EQ(ActivationRequest::decoded(both.encoded()), both);
    EXPECT_EQ(ActivationRequest{}.encoded(), "\n");
    EXPECT_EQ(ActivationRequest::decoded("SOMETHING=else\nXDG_ACTIVATION_TOKEN=t\n\n"),
              (ActivationRequest{"t", ""}));
    EXPECT_EQ(ActivationRequest::decoded("garbage"), ActivationRequest{});

    const QByteArray savedToken = qgetenv("XDG_ACTIVATION_TOKEN");
    const QByteArray savedId = qgetenv("DESKTOP_STARTUP_ID");
    qputenv("XDG_ACTIVATION_TOKEN", QByteArray(5000, 'x'));
    qputenv("DESKTOP_STARTUP_ID", "two\nlines");
    EXPECT_EQ(ActivationRequest::fromEnvironment(), ActivationRequest{});
    qputenv("XDG_ACTIVATION_TOKEN", "from-the-compositor");
    qputenv("DESKTOP_STARTUP_ID", "from-the-launcher");
    EXPECT_EQ(ActivationRequest::fromEnvironment(),
              (ActivationRequest{"from-the-compositor", "from-the-launcher"}));
    qputenv("XDG_ACTIVATION_TOKEN", savedToken);
    qputenv("DESKTOP_STARTUP_ID", savedId);
}

TEST_F(SingleInstance, AStaleSocketDoesNotBlockTheNextStart) {
    leaveStaleSocket(runtime() / socketName());
    EXPECT_FALSE(handOverToRunningInstance(address()));
    InstanceChannel channel;
    EXPECT_EQ(channel.claim(address()), InstanceClaim::Running);
    EXPECT_TRUE(handOverToRunningInstance(address()));
}

TEST_F(SingleInstance, ASecondClaimHandsOverToTheFirstAndTheLastOneOutRemovesTheSocket) {
    {
        InstanceChannel first;
        ASSERT_EQ(first.claim(address()), InstanceClaim::Running);
        QSignalSpy requests(&first, &InstanceChannel::activationRequested);
        InstanceChannel second;
        EXPECT_EQ(second.claim(address()), InstanceClaim::HandedOver);
        EXPECT_TRUE(requests.wait(2000));
    }
    EXPECT_FALSE(fs::exists(runtime() / socketName()));
}

TEST_F(SingleInstance, WhatLiesInTheSocketsPlaceDoesNotDisableIt) {
    const fs::path place = runtime() / socketName();
    const std::vector<std::pair<const char*, std::function<void()>>> obstacles = {
        {"an empty folder", [&] { fs::create_directory(place); }},
        {"a dangling link", [&] { fs::create_symlink(runtime() / "gone", place); }},
        {"a link to a file of ours",
         [&] {
             QFile(QString::fromStdString((runtime() / "kept").string()))
                 .open(QIODevice::WriteOnly);
             fs::create_symlink(runtime() / "kept", place);
         }},
        {"a plain file",
         [&] { QFile(QString::fromStdString(place.string())).open(QIODevice::WriteOnly); }},
    };
    for (const auto& [obstacle, make] : obstacles) {
        SCOPED_TRACE(obstacle);
        make();
        InstanceChannel first;
        EXPECT_EQ(first.claim(address()), InstanceClaim::Running);
        EXPECT_TRUE(handOverToRunningInstance(address()));
        InstanceChannel second;
        EXPECT_EQ(second.claim(address()), InstanceClaim::HandedOver);
    }
    // What a link pointed at is left alone.
    EXPECT_TRUE(fs::exists(runtime() / "kept"));
}

TEST_F(SingleInstance, AFolderWithFilesInItIsKeptAndTheSocketTakesTheNextName) {
    const fs::path place = runtime() / socketName();
    fs::create_directory(place);
    QFile(QString::fromStdString((place / "notes").string())).open(QIODevice::WriteOnly);
    InstanceChannel first;
    EXPECT_EQ(first.claim(address()), InstanceClaim::Running);
    EXPECT_TRUE(fs::exists(place / "notes"));
    EXPECT_TRUE(handOverToRunningInstance(address()));
    InstanceChannel second;
    EXPECT_EQ(second.claim(address()), InstanceClaim::HandedOver);
}

TEST_F(SingleInstance, ARuntimeFolderPathTooLongForASocketAddressStillWorks) {
    fs::path deep = runtime();
    while (deep.string().size() < 150) {
        deep /= "a-rather-long-folder-name";
    }
    fs::create_directories(deep);
    fs::permissions(deep, fs::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(deep.string()));
    {
        InstanceChannel first;
        ASSERT_EQ(first.claim(address()), InstanceClaim::Running);
        EXPECT_TRUE(fs::exists(deep / socketName()));
        EXPECT_TRUE(handOverToRunningInstance(address()));
        InstanceChannel second;
        EXPECT_EQ(second.claim(address()), InstanceClaim::HandedOver);
    }
    EXPECT_FALSE(fs::exists(deep / socketName()));
}

TEST_F(SingleInstance, WithoutARuntimeFolderAPrivateFolderOfOurOwnInTheTempFolder) {
    for (const QByteArray& runtimeFolder : {QByteArray(), QByteArray("/nonexistent/runtime")}) {
        qputenv("XDG_RUNTIME_DIR", runtimeFolder);
        InstanceChannel first;
        ASSERT_EQ(first.claim(address()), InstanceClaim::Running);
        const fs::path own = temp() / ("qir-" + std::to_string(::geteuid()));
        EXPECT_EQ(instanceSocketPath(address()).toStdString(), (own / socketName()).string());
        struct stat status {};
        ASSERT_EQ(::lstat(own.c_str(), &status), 0);
        EXPECT_TRUE(S_ISDIR(status.st_mode));
        EXPECT_EQ(status.st_mode & 0777, 0700u);
        EXPECT_TRUE(handOverToRunningInstance(address()));
    }
}

TEST_F(SingleInstance, ARuntimeFolderOthersMayWriteIntoIsNotUsed) {
    fs::permissions(runtime(), fs::perms::all);
    InstanceChannel channel;
    ASSERT_EQ(channel.claim(address()), InstanceClaim::Running);
    EXPECT_FALSE(fs::exists(runtime() / socketName()));
    EXPECT_TRUE(instanceSocketPath(address()).startsWith(QString::fromStdString(temp().string())));
}

TEST_F(SingleInstance, AnotherUsersFolderAndListenersAtTheFallbackAreNeverUsed) {
    if (!testing::mayActAsAnotherUser()) {
        GTEST_SKIP() << "needs root, to act as another user (CI runs as root)";
    }
    qunsetenv("XDG_RUNTIME_DIR");
    // Another user was first to make our folder in the temp folder, and listens in it and in
    // the temp folder itself.
    const fs::path theirs = temp() / ("qir-" + std::to_string(::geteuid()));
    fs::create_directory(theirs);
    ASSERT_EQ(::chown(theirs.c_str(), kNobody, kNobody), 0);
    fs::permissions(theirs, fs::perms::all);
    fs::permissions(temp(), fs::perms::all | fs::perms::sticky_bit);
    ForeignListener inTheirFolder(theirs / socketName(), false);
    ForeignListener inTheTempFolder(temp() / socketName(), false);
    ASSERT_TRUE(inTheirFolder.listening());
    ASSERT_TRUE(inTheTempFolder.listening());

    EXPECT_FALSE(handOverToRunningInstance(address()));
    InstanceChannel channel;
    EXPECT_EQ(channel.claim(address()), InstanceClaim::Alone);
    EXPECT_TRUE(instanceSocketPath(address()).isEmpty());
}

TEST_F(SingleInstance, AListenerOfAnotherUserIsNotHandedOverTo) {
    if (!testing::mayActAsAnotherUser()) {
        GTEST_SKIP() << "needs root, to act as another user (CI runs as root)";
    }
    // The socket file is ours, but the process listening on it is not.
    ForeignListener impostor(runtime() / socketName(), true);
    ASSERT_TRUE(impostor.listening());
    EXPECT_FALSE(handOverToRunningInstance(address()));
    InstanceChannel first;
    EXPECT_EQ(first.claim(address()), InstanceClaim::Running);
    QSignalSpy requests(&first, &InstanceChannel::activationRequested);
    EXPECT_TRUE(handOverToRunningInstance(address()));
    EXPECT_TRUE(requests.wait(2000));
}

}  // namespace
}  // namespace qir
