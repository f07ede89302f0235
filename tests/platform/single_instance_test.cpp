// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <cstring>

namespace qir {
namespace {

QString uniqueName() {
    return QStringLiteral("QirTest%1").arg(::getpid());
}

TEST(SingleInstance, NobodyListeningMeansNoHandOver) {
    EXPECT_FALSE(handOverToRunningInstance(uniqueName() + "none"));
}

TEST(SingleInstance, AConnectionIsAnActivationRequest) {
    InstanceChannel channel;
    ASSERT_TRUE(channel.listen(uniqueName()));
    QSignalSpy requests(&channel, &InstanceChannel::activationRequested);
    EXPECT_TRUE(handOverToRunningInstance(uniqueName()));
    EXPECT_TRUE(requests.wait(2000));
}

TEST(SingleInstance, AStaleSocketDoesNotBlockTheNextStart) {
    const QString name = uniqueName() + "stale";
    const QByteArray path = instanceSocketPath(name).toLocal8Bit();
    // A socket file nobody listens on, as a crashed instance leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));
    EXPECT_FALSE(handOverToRunningInstance(name));
    InstanceChannel channel;
    EXPECT_TRUE(channel.listen(name));
    EXPECT_TRUE(handOverToRunningInstance(name));
}

TEST(SingleInstance, ASecondListenerStaysUnfindableWhileTheFirstLives) {
    const QString name = uniqueName() + "twice";
    InstanceChannel first;
    ASSERT_TRUE(first.listen(name));
    InstanceChannel second;
    EXPECT_FALSE(second.listen(name));
    EXPECT_TRUE(handOverToRunningInstance(name));
}

}  // namespace
}  // namespace qir
