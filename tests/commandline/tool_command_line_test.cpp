// SPDX-License-Identifier: GPL-3.0-or-later
// The store builder reads its command line through the same parser as the program.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments) {
    QTemporaryDir folder;
    QProcess tool;
    tool.setWorkingDirectory(folder.path());
    tool.start(QStringLiteral(QIR_STORE_BUILDER), arguments);
    EXPECT_TRUE(tool.waitForFinished(20000));
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

TEST(StoreBuilderCommandLine, RefusesWhatItDoesNotTakeAndSaysWhatItDoes) {
    const std::vector<std::pair<QStringList, QString>> refused{
        {{"--bogus"}, "unknown option --bogus"},
        {{"--data", "d"}, "--data and --out are required"},
        {{"--data", "d", "--out", "o", "--jobs", "0"}, "--jobs takes a number from 1 to 64"},
        {{"--data", "d", "--out", "o", "--jobs", "x"}, "--jobs takes a number from 1 to 64"},
        {{"--data", "d", "--out", "o", "left-over"}, "unexpected argument left-over"},
        {{"--data", "d", "--data", "e", "--out", "o"}, "--data is given twice"},
        {{"--data"}, "--data needs a value"},
    };
    for (const auto& [arguments, message] : refused) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.err, QStringLiteral("qir-store-builder: %1 (see 'qir-store-builder "
                                              "--help')\n")
                                   .arg(message));
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(
        help.out.startsWith(QStringLiteral("Usage: qir-store-builder --data FOLDER --out "
                                           "FOLDER [--unicode FOLDER] [--corrections FILE]")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("  --jobs N ")));
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("qir-store-builder ")));
}

}  // namespace
