// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/recognise_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/gb2312.h"
#include "tests/handwriting/made_up_characters.h"
#include "tests/support/scratch_directory.h"

namespace qir::handwriting {
namespace {

using namespace qir::testing;

// A line of the stroke file: `stroke` in the 1000 box.
std::string fileLine(const Polyline& stroke) {
    std::ostringstream text;
    for (const Point& point : stroke) {
        text << point.x * 1000 << ',' << point.y * 1000 << ' ';
    }
    return text.str() + "\n";
}

class RecogniseCommand : public ::testing::Test {
  protected:
    void SetUp() override { writeMadeUpTable(folder.path()); }

    int run(const std::string& strokes) {
        folder.write("strokes.txt", strokes);
        out.str("");
        err.str("");
        return runRecognise(folder.path() / "strokes.txt",
                            {folder.path(), folder.path() / "no.model"}, out, err);
    }
    std::string firstLine() const { return out.str().substr(0, out.str().find('\n')); }

    ScratchDirectory folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(RecogniseCommand, PrintsTheCandidatesBestFirstOneALine) {
    std::string file;
    for (const Polyline& stroke : drawnByHand(mediansOf(kDa))) {
        file += fileLine(stroke);
    }
    EXPECT_EQ(run(file), kRecognised);
    EXPECT_EQ(firstLine(), gb2312::toUnicode(kDa).toStdString());
    const std::string printed = out.str();
    EXPECT_LE(std::count(printed.begin(), printed.end(), '\n'), 10);
}

TEST_F(RecogniseCommand, LeavesOutLinesThatAreNoStrokeAndSaysWhich) {
    const Ink shi = drawnByHand(mediansOf(kShi));
    EXPECT_EQ(run(fileLine(shi[0]) + "\nten,twenty\n" + fileLine(shi[1])), kRecognisedWithoutSome);
    EXPECT_EQ(firstLine(), gb2312::toUnicode(kShi).toStdString());
    EXPECT_NE(err.str().find("line 3 left out: \"ten,twenty\" is not a point x,y"),
              std::string::npos)
        << err.str();
}

TEST_F(RecogniseCommand, AnEmptyFilePrintsNothingAndAMissingOneFails) {
    EXPECT_EQ(run(""), kRecognised);
    EXPECT_TRUE(out.str().empty());
    std::ostringstream none;
    EXPECT_EQ(runRecognise(folder.path() / "absent.txt", {folder.path()}, none, err),
              kNothingRecognised);
    EXPECT_NE(err.str().find("Cannot open file"), std::string::npos);
}

TEST_F(RecogniseCommand, WithNeitherRecogniserItFailsAndNamesBoth) {
    folder.write("strokes.txt", "200,500 800,500\n");
    EXPECT_EQ(runRecognise(folder.path() / "strokes.txt",
                           {folder.path() / "elsewhere", folder.path() / "no.model"}, out, err),
              kNothingRecognised);
    EXPECT_NE(err.str().find("bishunvec.db"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("is missing."), std::string::npos) << err.str();
}

}  // namespace
}  // namespace qir::handwriting
