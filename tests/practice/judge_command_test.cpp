// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/judge_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "practice/stroke_file.h"
#include "tests/practice/made_up_character.h"
#include "tests/sheet/vector_table_file.h"
#include "tests/support/scratch_directory.h"

namespace qir::practice {
namespace {

using testing::kYong;
using testing::madeUpCharacter;

// The made-up character back in the data's coordinates (1024 box, y up), stored as 永.
store::StrokeVectors madeUpVectors() {
    store::StrokeVectors vectors;
    for (const Polyline& median : madeUpCharacter()) {
        store::VectorStroke stroke;
        stroke.outline = {{store::OutlineVerb::MoveTo, {{0, 0}}}, {store::OutlineVerb::Close, {}}};
        for (const Point& point : median) {
            stroke.median.push_back({point.x * 1024, 900 - point.y * 1024});
        }
        vectors.strokes.push_back(stroke);
    }
    return vectors;
}

// A line of the stroke file: `line` in the 1000 box, a point every 10 units.
std::string fileLine(const Polyline& line) {
    std::ostringstream text;
    for (const Point& point :
         resampled(line, static_cast<std::size_t>(pathLength(line) * 100) + 2)) {
        text << point.x * 1000 << ',' << point.y * 1000 << ' ';
    }
    return text.str();
}

class JudgeCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::writeVectorTable(folder.path(), {{kYong, madeUpVectors()}}); }

    int run(const std::string& character, const std::string& strokes,
            Leniency leniency = Leniency::Normal) {
        folder.write("strokes.txt", strokes);
        out.str("");
        err.str("");
        return runJudge({character, folder.path() / "strokes.txt", leniency}, folder.path(), out,
                        err);
    }

    testing::ScratchDirectory folder;
    std::vector<Polyline> medians = madeUpCharacter();
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(JudgeCommandTest, PrintsOneVerdictAStrokeAndGoesOnFromTheStrokesJudgedRight) {
    const std::string strokes = fileLine(medians[0]) + "\n" + fileLine(medians[2]) + "\n\n" +
                                fileLine(reversed(medians[1])) + "\n" + fileLine(medians[1]) +
                                "\n" + fileLine(medians[2]) + "\n" + fileLine(medians[3]) + "\n" +
                                fileLine(medians[3]) + "\n";
    EXPECT_EQ(run("\xE6\xB0\xB8", strokes), kJudged);  // 永 in UTF-8
    EXPECT_EQ(out.str(),
              "1 right\n2 wrong order: matches stroke 3\n3 wrong direction: drawn backwards\n"
              "4 right\n5 right\n6 right\n7 wrong: the character has only 4 strokes\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(JudgeCommandTest, RefusesWhatIsNoCharacterOfTheStoreWithTheReason) {
    EXPECT_EQ(run("a", "1,1 2,2\n"), kNothingJudged);
    EXPECT_EQ(err.str(), "qir-stroke: \"a\" is not a Chinese character.\n");
    EXPECT_EQ(run("\xF0\xA0\x80\x80", "1,1 2,2\n"), kNothingJudged);  // U+20000
    EXPECT_EQ(err.str(),
              "qir-stroke: \"\xF0\xA0\x80\x80\" is outside GB2312, whose 6,763 "
              "Chinese characters the store holds.\n");
    EXPECT_EQ(run("\xE6\x88\x91", "1,1 2,2\n"), kNothingJudged);  // 我, not in this table
    EXPECT_EQ(err.str(), "qir-stroke: \"\xE6\x88\x91\" is not in the character store.\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(JudgeCommandTest, AMissingTableOrFileJudgesNothing) {
    std::filesystem::remove(folder.path() / store::kVectorTable.fileName);
    EXPECT_EQ(run("\xE6\xB0\xB8", "1,1 2,2\n"), kNothingJudged);
    EXPECT_NE(err.str().find("Cannot open table bishunvec.db"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("the character store is read from " + folder.path().string()),
              std::string::npos);
    SetUp();
    std::ostringstream out2;
    std::ostringstream err2;
    EXPECT_EQ(runJudge({"\xE6\xB0\xB8", folder.path() / "missing.txt", Leniency::Normal},
                       folder.path(), out2, err2),
              kNothingJudged);
    EXPECT_EQ(err2.str(),
              "qir-stroke: Cannot open file " + (folder.path() / "missing.txt").string() + ".\n");
}

TEST_F(JudgeCommandTest, LinesThatAreNoStrokeAreNamedAndLeftOut) {
    EXPECT_EQ(run("\xE6\xB0\xB8", "200,300 x\n" + fileLine(medians[0]) + "\n"), kJudgedWithoutSome);
    EXPECT_EQ(out.str(), "1 right\n");
    EXPECT_EQ(err.str(), "qir-stroke: line 1 left out: \"x\" is not a point x,y\n");
}

TEST_F(JudgeCommandTest, AbsurdStrokesAreJudgedEachInTurn) {
    std::string strokes;
    std::string huge;
    for (int i = 0; i < 100000; ++i) {
        huge += std::to_string(200 + i % 600) + ",300 ";
    }
    strokes += huge + "\n";
    strokes += "-1e300,5e200 1e300,-7e11\n";
    strokes += "500,500\n";
    for (int i = 0; i < 500; ++i) {
        strokes += std::to_string(i) + ",900 " + std::to_string(i + 50) + ",950\n";
    }
    EXPECT_EQ(run("\xE6\xB0\xB8", strokes), kJudged);
    std::istringstream lines(out.str());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
    }
    EXPECT_EQ(count, 503);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "1 wrong shape");
}

// The judge's arguments as the program's command line reads them.
JudgeArguments judgeArgumentsOf(const std::vector<std::string>& arguments) {
    cli::CommandLine line(QStringLiteral("qir-stroke"), QStringLiteral("1.0.0"), {});
    line.add(judgeCommand("store"));
    const cli::Choice choice = line.choose(arguments);
    if (choice.kind != cli::Choice::Kind::Command) {
        throw cli::UsageError("the judge was not chosen");
    }
    return judgeArguments(choice.invocation);
}

TEST(JudgeArgumentsTest, ReadsTheCharacterTheFileAndTheLeniency) {
    const JudgeArguments parsed =
        judgeArgumentsOf({"--judge", "\xE6\xB0\xB8", "s.txt", "--leniency=gentle"});
    EXPECT_EQ(parsed.character, "\xE6\xB0\xB8");
    EXPECT_EQ(parsed.file, "s.txt");
    EXPECT_EQ(parsed.leniency, Leniency::Gentle);
    EXPECT_EQ(judgeArgumentsOf({"--leniency", "strict", "--judge=\xE6\xB0\xB8", "s"}).leniency,
              Leniency::Strict);
    EXPECT_EQ(judgeArgumentsOf({"--judge", "\xE6\xB0\xB8", "s"}).leniency, Leniency::Normal);
}

TEST(JudgeArgumentsTest, RefusesAWrongCommandLine) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--judge"},
        {"--judge", "\xE6\xB0\xB8"},
        {"--judge", "ab", "s.txt"},
        {"--judge", "", "s.txt"},
        {"--judge", "\xE6\xB0\xB8", "s.txt", "--leniency", "hard"},
        {"--judge", "\xE6\xB0\xB8", "s.txt", "--output", "x"},
        {"--judge", "\xE6\xB0\xB8", "s.txt", "--judge", "\xE6\xB0\xB8", "t.txt"},
        {"--judge", "\xE6\xB0\xB8", "s.txt", "t.txt"},
        {"--leniency", "gentle"},
    };
    for (const auto& arguments : wrong) {
        EXPECT_THROW(judgeArgumentsOf(arguments), cli::UsageError) << arguments.size();
    }
}

TEST(StrokeFileTest, ReadsPairsInTheThousandBoxAndRefusesWhatIsNoPair) {
    const auto stroke = parseStrokeLine("  100,200\t300.5,+400  1e3,-5 ");
    ASSERT_TRUE(stroke);
    ASSERT_EQ(stroke->size(), 3u);
    EXPECT_DOUBLE_EQ((*stroke)[1].x, 0.3005);
    EXPECT_DOUBLE_EQ((*stroke)[1].y, 0.4);
    EXPECT_DOUBLE_EQ((*stroke)[2].x, 1.0);
    EXPECT_DOUBLE_EQ((*stroke)[2].y, -0.005);
    EXPECT_GT((*stroke)[2].seconds, (*stroke)[1].seconds);
    EXPECT_FALSE(parseStrokeLine(" \t\r"));
    EXPECT_THROW(parseStrokeLine("1,2 3"), std::invalid_argument);
    EXPECT_THROW(parseStrokeLine("1,2 3,4,5"), std::invalid_argument);
    EXPECT_THROW(parseStrokeLine("1;2"), std::invalid_argument);
}

}  // namespace
}  // namespace qir::practice
