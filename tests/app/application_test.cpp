// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: where its instance is found is what it is given, and a window made
// on it claims nothing.
#include "app/application.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "tests/app/form_fixture.h"
#include "tests/support/recording_desktop.h"

namespace qir::app {
namespace {

namespace fs = std::filesystem;

std::string socketOf(const QString& name) {
    return name.toStdString() + "-" + std::to_string(::geteuid()) + ".socket";
}

TEST(Application, ClaimsItsInstanceInTheRuntimeFolderItIsGiven) {
    QTemporaryDir runtime;
    QTemporaryDir temp;
    const InstanceAddress address{QStringLiteral("QirTestApplication"),
                                  QFile::encodeName(runtime.path()),
                                  QFile::encodeName(temp.path())};
    testing::RecordingDesktop desktop;
    Application first(desktop, address);
    ASSERT_EQ(first.claimInstance(), InstanceClaim::Running);
    EXPECT_TRUE(fs::exists(fs::path(runtime.path().toStdString()) / socketOf(address.name)));
    EXPECT_TRUE(fs::is_empty(temp.path().toStdString()));

    Application second(desktop, address);
    EXPECT_EQ(second.claimInstance(), InstanceClaim::HandedOver);
}

TEST(Application, AWindowMadeOnItClaimsNoInstance) {
    testing::FormFixture fixture;
    EXPECT_FALSE(fs::exists(fs::current_path() / socketOf(QStringLiteral("QirTestForm"))));
    EXPECT_EQ(fixture.form().CurrentHanzi(), "");
}

}  // namespace
}  // namespace qir::app
