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
    EXPECT_EQ(spaced.options.paper, Paper::Letter);

    const SheetArguments joined =
        parseSheetArguments({"--output=x=y.pdf", "--practice-sheet=永", "--page=A4"});
    EXPECT_EQ(joined.text, QStringLiteral("永"));
    EXPECT_EQ(joined.output, std::filesystem::path("x=y.pdf"));
    EXPECT_EQ(joined.options.paper, Paper::A4);

    // Without --page, the locale's paper and the usual shape.
    SheetOptions usual;
    usual.paper = localePaper();
    EXPECT_EQ(parseSheetArguments({"--practice-sheet", "永", "--output", "a.pdf"}).options, usual);
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

TEST(SheetArguments, ShapesTheSheetWithGridBoxRowsTitleNameLineAndPinyin) {
    const Arguments base{"--practice-sheet", "永", "--output", "a.pdf"};
    const auto with = [&base](Arguments more) {
        Arguments all = base;
        all.insert(all.end(), more.begin(), more.end());
        return parseSheetArguments(all).options;
    };
    EXPECT_EQ(with({"--grid", "MI"}).grid, Grid::Mi);
    EXPECT_EQ(with({"--grid=jiu"}).grid, Grid::Jiu);
    EXPECT_EQ(with({"--grid", "plain"}).grid, Grid::Plain);
    EXPECT_DOUBLE_EQ(with({"--box", "20"}).box, 20.0);
    EXPECT_DOUBLE_EQ(with({"--box=12.5"}).box, 12.5);

    const SheetOptions rows = with({"--rows", "trace,trace,copy,fill"});
    EXPECT_EQ(rows.traceRows, 2);
    EXPECT_FALSE(rows.buildRow);
    EXPECT_EQ(rows.copyRows, 1);
    EXPECT_TRUE(rows.fillPage);
    EXPECT_EQ(rowsText(rows), QStringLiteral("trace,trace,copy,fill"));

    const SheetOptions labelled =
        with({"--title", "第三周 · Week 3", "--name-line", "--no-pinyin"});
    EXPECT_EQ(labelled.title, QStringLiteral("第三周 · Week 3"));
    EXPECT_TRUE(labelled.nameLine);
    EXPECT_FALSE(labelled.pinyin);
    const SheetOptions plain = with({});
    EXPECT_FALSE(plain.nameLine);
    EXPECT_TRUE(plain.pinyin);
    EXPECT_EQ(plain.grid, Grid::Tian);
    EXPECT_DOUBLE_EQ(plain.box, kUsualBox);
}

TEST(SheetArguments, RefusesEveryBadShapeWithOneLine) {
    const auto refusal = [](Arguments more) {
        Arguments all{"--practice-sheet", "永", "--output", "a.pdf"};
        all.insert(all.end(), more.begin(), more.end());
        return usageErrorOf(all);
    };
    EXPECT_EQ(refusal({"--grid", "hex"}), "--grid takes tian, mi, jiu or plain, not hex");
    EXPECT_EQ(refusal({"--box", "0"}), "--box: the box must be 12 to 24 mm");
    EXPECT_EQ(refusal({"--box", "100"}), "--box: the box must be 12 to 24 mm");
    EXPECT_EQ(refusal({"--box", "nan"}), "--box: the box must be 12 to 24 mm");
    EXPECT_EQ(refusal({"--box", "big"}), "--box takes the box's side in millimetres, not big");
    EXPECT_EQ(refusal({"--rows", "copy,trace"}),
              "--rows: the rows go in the order trace, steps, copy, fill; \"trace\" comes too "
              "late");
    EXPECT_EQ(refusal({"--rows", "trace,dance"}),
              "--rows: unknown row \"dance\" (the rows are trace, steps, copy and fill)");
    EXPECT_EQ(refusal({"--rows", ""}),
              "--rows: no rows given (the rows are trace, steps, copy and fill)");
    EXPECT_EQ(refusal({"--rows", "steps,steps"}), "--rows: \"steps\" can be given once");
    EXPECT_EQ(refusal({"--rows", "trace,trace,trace,trace,trace,trace"}),
              "--rows: trace rows must be 0 to 5");
    EXPECT_EQ(refusal({"--rows", "copy,copy,copy,copy,copy,copy,copy,copy,copy,copy,copy"}),
              "--rows: copy rows must be 0 to 10");
    EXPECT_EQ(refusal({"--title", std::string(10000, 'x')}),
              "--title: the title is 10000 characters long; at most 120 fit on the line");
    EXPECT_EQ(refusal({"--title", "one\ntwo"}), "--title: the title must be one line");
}

}  // namespace
}  // namespace qir::sheet
