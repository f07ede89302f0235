// SPDX-License-Identifier: GPL-3.0-or-later
// The one command line: two made-up commands that share an option, the toolkit's options of
// the usual work, and every way a command line can be wrong.
#include "commandline/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <utility>

namespace qir::cli {
namespace {

using Arguments = std::vector<std::string>;

class CommandLineTest : public ::testing::Test {
  protected:
    CommandLineTest()
        : line(QStringLiteral("prog"), QStringLiteral("2.5.1"),
               QStringLiteral("Without options, it waits.")) {
        line.addUsualOptions({{QStringLiteral("platform"), QStringLiteral("NAME"), {}},
                              {QStringLiteral("reverse"), {}, {}}});
        line.add(
            {{QStringLiteral("sheet"), QStringLiteral("TEXT"), QStringLiteral("make a sheet")},
             {{QStringLiteral("output"), QStringLiteral("FILE"), QStringLiteral("where to write")},
              {QStringLiteral("page"), QStringLiteral("SIZE"), QStringLiteral("the paper")}},
             QStringLiteral("--sheet TEXT --output FILE"),
             QStringLiteral("About sheets."),
             [this](const Invocation& invocation) {
                 ran = QStringLiteral("sheet ") + invocation.text(QStringLiteral("sheet")) +
                       QLatin1Char(' ') + invocation.text(QStringLiteral("output"));
                 return 3;
             },
             {}});
        line.add(
            {{QStringLiteral("judge"), {}, QStringLiteral("judge strokes")},
             {{QStringLiteral("output"), QStringLiteral("FILE"), QStringLiteral("where to write")}},
             QStringLiteral("--judge [--output FILE]"),
             {},
             [this](const Invocation& invocation) -> int {
                 if (invocation.isSet(QStringLiteral("output")) &&
                     invocation.bytes(QStringLiteral("output")).empty()) {
                     throw UsageError("--output needs a file name");
                 }
                 ran = QStringLiteral("judge");
                 return 0;
             },
             {}});
    }

    std::string errorOf(const Arguments& arguments) {
        try {
            line.choose(arguments);
        } catch (const UsageError& error) {
            return error.what();
        }
        return "(accepted)";
    }

    struct Outcome {
        std::optional<int> code;
        std::string out;
        std::string err;
    };
    // Runs the line with its output caught in memory.
    Outcome run(const Arguments& arguments) {
        char* outText = nullptr;
        char* errText = nullptr;
        std::size_t outSize = 0;
        std::size_t errSize = 0;
        std::FILE* out = open_memstream(&outText, &outSize);
        std::FILE* err = open_memstream(&errText, &errSize);
        Outcome outcome;
        outcome.code = line.run(arguments, out, err);
        std::fclose(out);
        std::fclose(err);
        outcome.out.assign(outText, outSize);
        outcome.err.assign(errText, errSize);
        std::free(outText);
        std::free(errText);
        return outcome;
    }

    CommandLine line;
    QString ran;
};

TEST_F(CommandLineTest, NoOptionsOrOnlyTheToolkitsMeanTheUsualWork) {
    for (const Arguments& arguments : {Arguments{}, Arguments{"-platform", "xcb"},
                                       Arguments{"--platform=wayland", "-reverse"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.code, std::nullopt) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "");
    }
    EXPECT_TRUE(ran.isEmpty());
}

TEST_F(CommandLineTest, EachCommandRunsWithItsOwnOptionsAndGivesItsExitStatus) {
    Outcome outcome = run({"--sheet", "永", "--output=a.pdf"});
    EXPECT_EQ(outcome.code, 3);
    EXPECT_EQ(ran, QStringLiteral("sheet 永 a.pdf"));
    outcome = run({"--judge", "--output", "b"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(ran, QStringLiteral("judge"));
    // A command's own usage error is said the same way as the parser's.
    outcome = run({"--judge", "--output="});
    EXPECT_EQ(outcome.code, kUsageExit);
    EXPECT_EQ(outcome.err, "prog: --output needs a file name (see 'prog --help')\n");
}

TEST_F(CommandLineTest, HelpAndVersionWinAndListEveryCommandOnce) {
    for (const Arguments& arguments :
         {Arguments{"--help"}, Arguments{"-h"}, Arguments{"--sheet", "x", "--help"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.code, 0);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.out, line.helpText().toStdString());
    }
    const std::string help = line.helpText().toStdString();
    for (const char* expected :
         {"Usage: prog\n", "       prog --sheet TEXT --output FILE\n",
          "       prog --judge [--output FILE]\n", "Without options, it waits.\n",
          "  --sheet TEXT   make a sheet\n", "  --output FILE  where to write\n",
          "  --judge        judge strokes\n", "  -h, --help     show this help and end\n",
          "  --version      show the version and end\n", "\nAbout sheets.\n"}) {
        EXPECT_NE(help.find(expected), std::string::npos) << expected << "\nin\n" << help;
    }
    // The shared option is listed once; the toolkit's not at all.
    EXPECT_EQ(help.find("--output FILE  "), help.rfind("--output FILE  "));
    EXPECT_EQ(help.find("platform"), std::string::npos);

    const Outcome version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "prog 2.5.1\n");
    EXPECT_TRUE(ran.isEmpty());
}

TEST_F(CommandLineTest, AWrongCommandLineIsRefusedWithOneLineAndStatusTwo) {
    EXPECT_EQ(errorOf({"--bogus"}), "unknown option --bogus");
    EXPECT_EQ(errorOf({"-x"}), "unknown option -x");
    EXPECT_EQ(errorOf({"--sheets", "x"}), "unknown option --sheets");
    EXPECT_EQ(errorOf({"file.txt"}), "unexpected argument file.txt");
    EXPECT_EQ(errorOf({"--sheet"}), "--sheet needs a value");
    EXPECT_EQ(errorOf({"-platform"}), "--platform needs a value");
    EXPECT_EQ(errorOf({"--judge", "--judge"}), "--judge is given twice");
    EXPECT_EQ(errorOf({"-reverse", "--reverse"}), "--reverse is given twice");
    EXPECT_EQ(errorOf({"--sheet", "a", "--judge"}), "--sheet and --judge cannot be given together");
    EXPECT_EQ(errorOf({"--judge", "--page", "a4"}), "--page does not go with --judge");
    EXPECT_EQ(errorOf({"--judge", "-platform", "xcb"}), "--platform does not go with --judge");
    // An option of one command alone names what it is missing; one of several says so.
    EXPECT_EQ(errorOf({"--page", "a4"}), "--sheet TEXT is missing");
    EXPECT_EQ(errorOf({"--output", "a"}), "--output goes only with a command");

    const Outcome outcome = run({"--bogus", "--sheet", "x"});
    EXPECT_EQ(outcome.code, kUsageExit);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "prog: unknown option --bogus (see 'prog --help')\n");
    EXPECT_TRUE(ran.isEmpty());
}

TEST(CommandLineArguments, ACommandTakesItsPlainArgumentsInOrderAndNoOtherCommandDoes) {
    CommandLine line(QStringLiteral("prog"), QStringLiteral("1"), QStringLiteral("Waits."));
    Command compare{{QStringLiteral("compare"), QStringLiteral("WHAT"), QStringLiteral("compare")},
                    {},
                    QStringLiteral("--compare WHAT FILE OTHER"),
                    {},
                    [](const Invocation& given) {
                        return given.argumentText(0) == QStringLiteral("a.txt") &&
                                       given.argumentBytes(1) == "\xFF.txt"
                                   ? 0
                                   : 1;
                    },
                    {QStringLiteral("FILE"), QStringLiteral("OTHER")}};
    line.add(compare);
    const auto errorOf = [&](const Arguments& arguments) -> std::string {
        try {
            line.choose(arguments);
        } catch (const UsageError& error) {
            return error.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(errorOf({"--compare", "x", "a.txt", "\xFF.txt"}), "(accepted)");
    EXPECT_EQ(line.run({"--compare", "x", "a.txt", "\xFF.txt"}, stdout, stderr), 0);
    EXPECT_EQ(errorOf({"--compare", "x", "a.txt"}), "--compare needs OTHER");
    EXPECT_EQ(errorOf({"--compare", "x"}), "--compare needs FILE");
    EXPECT_EQ(errorOf({"--compare", "x", "a", "b", "c"}), "unexpected argument c");
    EXPECT_EQ(errorOf({"a.txt"}), "unexpected argument a.txt");  // the usual work takes none
}

// "--practice [TEXT]": TEXT may be left out, given after the flag or joined to it with "=";
// a second plain argument is still refused, and --help shows TEXT as optional.
TEST(CommandLineArguments, AnOptionalArgumentMayBeLeftOutGivenOrJoined) {
    CommandLine line(QStringLiteral("prog"), QStringLiteral("1"), QStringLiteral("Waits."));
    QString given = QStringLiteral("(not run)");
    Command practise{{QStringLiteral("practise"), {}, QStringLiteral("practise TEXT")},
                     {},
                     QStringLiteral("--practise [TEXT]"),
                     {},
                     [&](const Invocation& invocation) {
                         given = invocation.argumentCount() == 0 ? QStringLiteral("(none)")
                                                                 : invocation.argumentText(0);
                         return 0;
                     },
                     {},
                     {QStringLiteral("TEXT")}};
    line.add(practise);
    const auto outcome = [&](const std::vector<std::string>& arguments) {
        given = QStringLiteral("(not run)");
        std::FILE* err = std::tmpfile();
        const std::optional<int> code = line.run(arguments, stdout, err);
        std::fclose(err);
        return std::pair{code, given};
    };
    EXPECT_EQ(outcome({"--practise"}), std::pair(std::optional(0), QStringLiteral("(none)")));
    EXPECT_EQ(outcome({"--practise", "永"}), std::pair(std::optional(0), QStringLiteral("永")));
    EXPECT_EQ(outcome({"--practise=永"}), std::pair(std::optional(0), QStringLiteral("永")));
    EXPECT_EQ(outcome({"--practise="}), std::pair(std::optional(0), QString()));
    EXPECT_EQ(outcome({"--practise", "a", "b"}),
              std::pair(std::optional(kUsageExit), QStringLiteral("(not run)")));
    EXPECT_EQ(outcome({"永"}), std::pair(std::optional(kUsageExit), QStringLiteral("(not run)")));
    EXPECT_TRUE(line.helpText().contains(QStringLiteral("  --practise [TEXT]  practise TEXT")))
        << line.helpText().toStdString();
}

// A tool's usual work: its required options and plain arguments, a number option, and its own
// usage errors refused as the parser's are.
TEST(CommandLineTool, RefusesWhatTheUsualWorkCannotDoWithoutAndRunsItOtherwise) {
    CommandLine line(QStringLiteral("tool"), QStringLiteral("1"), QStringLiteral("Draws."));
    line.addUsualOptions({{QStringLiteral("data"), QStringLiteral("FOLDER"), QStringLiteral("in")},
                          {QStringLiteral("out"), QStringLiteral("FILE"), QStringLiteral("out")},
                          {QStringLiteral("cell"), QStringLiteral("N"), QStringLiteral("size")}});
    line.requireUsualOptions({QStringLiteral("data"), QStringLiteral("out")});
    line.setUsualArguments({QStringLiteral("NAME"), QStringLiteral("CHARACTERS...")});
    const auto errorOf = [&](const Arguments& arguments) -> std::string {
        try {
            line.choose(arguments);
        } catch (const UsageError& error) {
            return error.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(errorOf({"--data", "d", "--out", "o", "n", "永"}), "(accepted)");
    EXPECT_EQ(errorOf({"--data", "d", "--out", "o", "n", "永", "我", "罐"}), "(accepted)");
    EXPECT_EQ(errorOf({"--data", "d", "n", "永"}), "--data and --out are required");
    EXPECT_EQ(errorOf({"n", "永"}), "--data and --out are required");
    EXPECT_EQ(errorOf({"--data", "d", "--out", "o", "n"}), "CHARACTERS is missing");
    EXPECT_EQ(errorOf({"--data", "d", "--out", "o"}), "NAME is missing");
    // Help and the version need nothing else.
    EXPECT_EQ(errorOf({"--help"}), "(accepted)");
    EXPECT_EQ(errorOf({"--version"}), "(accepted)");

    int cell = 0;
    std::string name;
    QString characters;
    const auto work = [&](const Invocation& given) {
        cell = given.number(QStringLiteral("cell"), 32, 400, 93);
        name = given.argumentBytes(0);
        characters = given.argumentsText(1);
        return static_cast<int>(given.argumentCount());
    };
    EXPECT_EQ(line.runTool({"--data", "d", "--out", "o", "\xFF", "永", "我"}, stdout, stderr, work),
              3);
    EXPECT_EQ(cell, 93);
    EXPECT_EQ(name, "\xFF");
    EXPECT_EQ(characters, QStringLiteral("永我"));
    EXPECT_EQ(line.runTool({"--data", "d", "--out", "o", "--cell", "400", "n", "永"}, stdout,
                           stderr, work),
              2);
    EXPECT_EQ(cell, 400);

    char* errText = nullptr;
    std::size_t errSize = 0;
    std::FILE* err = open_memstream(&errText, &errSize);
    cell = 0;
    for (const char* wrong : {"31", "401", "x", "12px"}) {
        EXPECT_EQ(line.runTool({"--data", "d", "--out", "o", "--cell", wrong, "n", "永"}, stdout,
                               err, work),
                  kUsageExit)
            << wrong;
    }
    EXPECT_EQ(line.runTool({"--data", "d"}, stdout, err, work), kUsageExit);
    std::fclose(err);
    const std::string said(errText, errSize);
    std::free(errText);
    EXPECT_EQ(cell, 0);
    std::string expected;
    for (int i = 0; i < 4; ++i) {
        expected += "tool: --cell takes a number from 32 to 400 (see 'tool --help')\n";
    }
    expected += "tool: --data and --out are required (see 'tool --help')\n";
    EXPECT_EQ(said, expected);

    const std::string help = line.helpText().toStdString();
    EXPECT_NE(help.find("  --cell N"), std::string::npos) << help;
}

TEST(CommandLineTool, OneRequiredOptionIsNamedAlone) {
    CommandLine line(QStringLiteral("tool"), QStringLiteral("1"), QStringLiteral("Draws."));
    line.addUsualOptions({{QStringLiteral("out"), QStringLiteral("FILE"), QStringLiteral("out")}});
    line.requireUsualOptions({QStringLiteral("out")});
    try {
        line.choose({});
        ADD_FAILURE() << "accepted without --out";
    } catch (const UsageError& error) {
        EXPECT_STREQ(error.what(), "--out is required");
    }
}

}  // namespace
}  // namespace qir::cli
