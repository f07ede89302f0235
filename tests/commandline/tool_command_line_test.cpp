// SPDX-License-Identifier: GPL-3.0-or-later
// The tools read their command lines through the same parser as the program: each says what it
// takes with --help, names the project's version, refuses what it does not take in one line
// with status 2, and still does its work when asked rightly.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome run(const QString& executable, const QStringList& arguments) {
    QTemporaryDir folder;
    QProcess tool;
    tool.setWorkingDirectory(folder.path());
    tool.start(executable, arguments);
    EXPECT_TRUE(tool.waitForFinished(60000)) << executable.toStdString();
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            tool.readAllStandardOutput().toStdString(), tool.readAllStandardError().toStdString()};
}

struct Tool {
    QString name;
    QString executable;
    // What --help must name: every option and the usage's plain arguments.
    QStringList helpNames;
    // Command lines it refuses, with the message it gives for each.
    std::vector<std::pair<QStringList, QString>> refused;
};

void PrintTo(const Tool& tool, std::ostream* out) {
    *out << tool.name.toStdString();
}

class ToolCommandLine : public ::testing::TestWithParam<Tool> {};

TEST_P(ToolCommandLine, SaysWhatItTakesAndRefusesEverythingElse) {
    const Tool& tool = GetParam();
    const std::string name = tool.name.toStdString();
    const Outcome help = run(tool.executable, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(help.out.starts_with("Usage: " + name + " ")) << help.out;
    for (const QString& option : tool.helpNames) {
        EXPECT_NE(help.out.find(option.toStdString()), std::string::npos)
            << option.toStdString() << " in\n"
            << help.out;
    }
    EXPECT_NE(help.out.find("  -h, --help"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("  --version"), std::string::npos) << help.out;

    const Outcome version = run(tool.executable, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, name + " " QIR_PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");

    std::vector<std::pair<QStringList, QString>> refused = tool.refused;
    refused.push_back({{"--bogus"}, QStringLiteral("unknown option --bogus")});
    for (const auto& [arguments, message] : refused) {
        const Outcome outcome = run(tool.executable, arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.out, "") << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.err,
                  name + ": " + message.toStdString() + " (see '" + name + " --help')\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryTool, ToolCommandLine,
    ::testing::Values(
        Tool{QStringLiteral("qir-store-builder"),
             QStringLiteral(QIR_STORE_BUILDER),
             {"--data FOLDER", "--out FOLDER", "--unicode FOLDER", "--corrections FILE",
              "--characters TEXT", "--jobs N", "--quiet"},
             {{{"--data", "d"}, "--data and --out are required"},
              {{"--out", "o"}, "--data and --out are required"},
              {{"--data", "d", "--out", "o", "--jobs", "0"}, "--jobs takes a number from 1 to 64"},
              {{"--data", "d", "--out", "o", "--jobs", "x"}, "--jobs takes a number from 1 to 64"},
              {{"--data", "d", "--out", "o", "left-over"}, "unexpected argument left-over"},
              {{"--data", "d", "--data", "e", "--out", "o"}, "--data is given twice"},
              {{"--data"}, "--data needs a value"}}},
        Tool{QStringLiteral("qir-order-checker"),
             QStringLiteral(QIR_ORDER_CHECKER),
             {"--data FOLDER", "--reference FILE", "--corrections FILE", "--rule-exceptions FILE",
              "--catalogue FILE", "--report FILE", "--characters TEXT", "1 when one does not"},
             {{{"--data", "d"}, "--data and --reference are required"},
              {{"--reference", "r", "--report", "x"}, "--data and --reference are required"},
              {{"--data", "d", "--reference", "r", "extra"}, "unexpected argument extra"},
              {{"--data", "d", "--reference", "r", "--characters", "a"},
               "\"a\" is not a GB2312 Chinese character"},
              {{"--data", "d", "--reference"}, "--reference needs a value"}}},
        Tool{QStringLiteral("qir-order-sheet"),
             QStringLiteral(QIR_ORDER_SHEET),
             {"--data FOLDER", "--reference FILE", "--corrections FILE", "--cell PIXELS",
              "--out FILE.png", "CHARACTERS"},
             {{{"--data", "d", "--reference", "r", "永"},
               "--data, --reference and --out are required"},
              {{"--data", "d", "--reference", "r", "--out", "o.png"}, "CHARACTERS is missing"},
              {{"--data", "d", "--reference", "r", "--out", "o.png", ""}, "CHARACTERS is missing"},
              {{"--data", "d", "--reference", "r", "--out", "o.png", "--cell", "20", "永"},
               "--cell takes a number from 32 to 400"},
              {{"--data", "d", "--reference", "r", "--out", "o.png", "--cell", "big", "永"},
               "--cell takes a number from 32 to 400"}}},
        Tool{QStringLiteral("qir-make-assets"),
             QStringLiteral(QIR_MAKE_ASSETS),
             {"ASSETS_DIRECTORY", "exit@2x.bmp"},
             {{{}, "ASSETS_DIRECTORY is missing"},
              {{"a", "b"}, "unexpected argument b"},
              {{"-platform", "xcb", "a"}, "unknown option --platform"}}}),
    [](const ::testing::TestParamInfo<Tool>& info) {
        return info.param.name.mid(4).replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
    });

// The good invocations, in a folder of their own.

TEST(ToolWork, TheStoreBuilderBuildsTheCharactersAsked) {
    QTemporaryDir scratch;
    const QString out = scratch.filePath(QStringLiteral("store"));
    const Outcome outcome = run(QStringLiteral(QIR_STORE_BUILDER),
                                {"--data", QStringLiteral(QIR_STROKE_DATA_DIR), "--out", out,
                                 "--characters", "永我", "--jobs", "1", "--quiet"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("Built 2 of 2 characters")) << outcome.out;
    for (const char* name : {"donghua.db", "bishun.db", "bishunbmp.db", "bishunvec.db"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::path(out.toStdString()) / name)) << name;
    }
}

TEST(ToolWork, TheOrderCheckerChecksAndReports) {
    QTemporaryDir scratch;
    const QString report = scratch.filePath(QStringLiteral("report.txt"));
    const Outcome outcome =
        run(QStringLiteral(QIR_ORDER_CHECKER),
            {"--data", QStringLiteral(QIR_STROKE_DATA_DIR), "--reference",
             QStringLiteral(QIR_ORDER_REFERENCE), "--corrections",
             QStringLiteral(QIR_ORDER_CORRECTIONS), "--characters", "永我", "--report", report});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("Checked 2 characters")) << outcome.out;
    EXPECT_GT(QFileInfo(report).size(), 0);
    // An input that cannot be used is status 2, as its help says.
    const Outcome missing =
        run(QStringLiteral(QIR_ORDER_CHECKER),
            {"--data", QStringLiteral(QIR_STROKE_DATA_DIR), "--reference",
             scratch.filePath(QStringLiteral("none.txt")), "--characters", "永"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.starts_with("qir-order-checker: ")) << missing.err;
}

TEST(ToolWork, TheOrderSheetDrawsEveryCharacterGiven) {
    QTemporaryDir scratch;
    const QString sheet = scratch.filePath(QStringLiteral("sheet.png"));
    const QStringList common{"--data",        QStringLiteral(QIR_STROKE_DATA_DIR),
                             "--reference",   QStringLiteral(QIR_ORDER_REFERENCE),
                             "--corrections", QStringLiteral(QIR_ORDER_CORRECTIONS),
                             "--cell",        "40",
                             "--out",         sheet};
    Outcome outcome = run(QStringLiteral(QIR_ORDER_SHEET), common + QStringList{"永"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const QImage one(sheet);
    ASSERT_FALSE(one.isNull());
    // The characters may come as several arguments; they are drawn together.
    outcome = run(QStringLiteral(QIR_ORDER_SHEET), common + QStringList{"永", "我"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const QImage two(sheet);
    ASSERT_FALSE(two.isNull());
    EXPECT_GT(two.height(), one.height());
    // A sheet that cannot be written is status 1.
    outcome = run(QStringLiteral(QIR_ORDER_SHEET),
                  common.mid(0, common.size() - 1) +
                      QStringList{scratch.filePath(QStringLiteral("no/such/folder.png")), "永"});
    EXPECT_EQ(outcome.exitCode, 1);
}

TEST(ToolWork, TheAssetToolDrawsIntoAFolderOfAnyName) {
    QTemporaryDir scratch;
    // The folder's name is not UTF-8; the shell passes it byte for byte.
    QProcess shell;
    shell.setWorkingDirectory(scratch.path());
    shell.start(QStringLiteral("/bin/sh"),
                {"-c", "exec \"$0\" \"$(printf 'assets\\377')\"", QStringLiteral(QIR_MAKE_ASSETS)});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    const fs::path folder = fs::path(scratch.path().toStdString()) / "assets\xFF";
    for (const char* name : {"background.jpg", "exit.bmp", "exit@2x.bmp", "skins/helpyellow.bmp",
                             "nodes/3@2x.png", "icon.png", "icons/256.png"}) {
        EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
    }
    // Qt cannot name it, so it cannot remove it either.
    fs::remove_all(folder);
}

}  // namespace
