// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "sheet/sheet_command.h"

namespace qir::sheet {
namespace {

using Arguments = std::vector<std::string>;

std::string usageErrorOf(const Arguments& arguments) {
    try {
        parseSheetArguments(arguments);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(SheetArguments, OnlyTheSheetsOwnOptionsTurnTheProgramIntoACommand) {
    EXPECT_FALSE(asksForSheetCommand({}));
    // Qt's own options and anything else still start the window, as they always did.
    EXPECT_FALSE(asksForSheetCommand({"-platform", "xcb"}));
    EXPECT_FALSE(asksForSheetCommand({"--practice-sheets", "x"}));
    EXPECT_FALSE(asksForSheetCommand({"somefile"}));
    for (const Arguments& arguments :
         {Arguments{"--help"}, Arguments{"-h"}, Arguments{"--practice-sheet", "永"},
          Arguments{"--output=a.pdf"}, Arguments{"x", "--page", "a4"}}) {
        EXPECT_TRUE(asksForSheetCommand(arguments)) << arguments.front();
    }
}

TEST(SheetArguments, ReadsBothSpellingsOfEveryOption) {
    const SheetArguments spaced = parseSheetArguments(
        {"--practice-sheet", "永 我", "--output", "a b.pdf", "--page", "Letter"});
    EXPECT_EQ(spaced.text, QStringLiteral("永 我"));
    EXPECT_EQ(spaced.output, std::filesystem::path("a b.pdf"));
    EXPECT_EQ(spaced.paper, Paper::Letter);
    EXPECT_FALSE(spaced.help);

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
    EXPECT_TRUE(parseSheetArguments({"--output", "x", "--help"}).help);
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
