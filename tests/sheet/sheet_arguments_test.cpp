// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "sheet/sheet_command.h"

namespace qir::sheet {
namespace {

using Arguments = std::vector<std::string>;

// The sheet's arguments as the program's command line reads them.
SheetArguments parseSheetArguments(const Arguments& arguments) {
    cli::CommandLine line(QStringLiteral("qir-stroke"), QStringLiteral("1"), QString());
    line.add(sheetCommand("/store"));
    const cli::Choice choice = line.choose(arguments);
    if (choice.kind != cli::Choice::Kind::Command) {
        throw std::logic_error("not the sheet command");
    }
    return sheetArguments(choice.invocation);
}

std::string usageErrorOf(const Arguments& arguments) {
    try {
        parseSheetArguments(arguments);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(SheetArguments, ReadsBothSpellingsOfEveryOption) {
    const SheetArguments spaced = parseSheetArguments(
        {"--practice-sheet", "永 我", "--output", "a b.pdf", "--page", "Letter"});
    EXPECT_EQ(spaced.text, QStringLiteral("永 我"));
    EXPECT_EQ(spaced.output, std::filesystem::path("a b.pdf"));
    EXPECT_EQ(spaced.paper, Paper::Letter);

    const SheetArguments joined =
        parseSheetArguments({"--output=x=y.pdf", "--practice-sheet=永", "--page=A4"});
    EXPECT_EQ(joined.text, QStringLiteral("永"));
    EXPECT_EQ(joined.output, std::filesystem::path("x=y.pdf"));
    EXPECT_EQ(joined.paper, Paper::A4);

    EXPECT_EQ(parseSheetArguments({"--practice-sheet", "永", "--output", "a.pdf"}).paper,
              std::nullopt);
    // A file name is taken byte for byte, whatever its encoding.
    EXPECT_EQ(parseSheetArguments({"--practice-sheet", "永", "--output", "\xC4\xE3.pdf"}).output,
              std::filesystem::path("\xC4\xE3.pdf"));
    // A text that starts with a dash is still the text.
    EXPECT_EQ(parseSheetArguments({"--practice-sheet", "-永", "--output", "a.pdf"}).text,
              QStringLiteral("-永"));
}

TEST(SheetArguments, SaysWhatIsWrongWithACommandLine) {
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永", "--output", "a.pdf", "--colour", "red"}),
              "unknown option --colour");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永", "--output"}), "--output needs a value");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永", "--output="}), "--output needs a file name");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永", "--practice-sheet", "我", "--output", "a"}),
              "--practice-sheet is given twice");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永", "--output", "a", "--page", "a3"}),
              "--page takes a4 or letter, not a3");
    EXPECT_EQ(usageErrorOf({"--output", "a.pdf"}), "--practice-sheet TEXT is missing");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永"}), "--output FILE.pdf is missing");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "", "--output", "a.pdf"}),
              "--practice-sheet: the text holds no characters");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", " \n\t", "--output", "a.pdf"}),
              "--practice-sheet: the text holds no characters");
    EXPECT_EQ(usageErrorOf({"--practice-sheet", "永", "--output", "a.pdf", "extra"}),
              "unexpected argument extra");
    std::string many;
    for (int i = 0; i < 2500; ++i) {
        many += "永";
    }
    EXPECT_EQ(usageErrorOf({"--practice-sheet", many, "--output", "a.pdf"}),
              "--practice-sheet: the text holds 2500 characters; a sheet takes at most 1000 "
              "(split it into several)");
}

}  // namespace
}  // namespace qir::sheet
