// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/character_selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/selection/recording_steps.h"

namespace qir::selection {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kYu = "\xD3\xF0";       // 羽, in the store
const std::string kYi = "\xD2\xBB";       // 一, in the store
const std::string kMissing = "\xB0\xA1";  // 啊, not in the store
const std::string kAn = "\xB0\xB2";       // what PriorCharacter gives
const std::string kBai = "\xB0\xD9";      // what NextCharacter gives

class CharacterSelectionTest : public ::testing::Test {
  protected:
    testing::RecordingSteps recorder;
    CharacterSelection selection{recorder};

    void choose(const std::string& hanzi) {
        selection.TreeView1Click(hanzi);
        recorder.calls.clear();
    }
};

TEST_F(CharacterSelectionTest, EachWayInRunsItsStepsInOrderOnlyTypingAndSteppingPlay) {
    selection.TreeView1Click(kYu + " ");  // as the catalogue stores it, blank and all
    EXPECT_THAT(recorder.calls,
                ElementsAre("ShowAnimation " + kYu + " ", "ShowStrokeOrder " + kYu + " "));
    recorder.calls.clear();
    selection.Edit1Change(kYi);
    selection.ImagenextClick();
    selection.ImageprevClick();
    EXPECT_THAT(
        recorder.calls,
        ElementsAre("Query2 " + kYi, "ShowAnimation " + kYi, "play", "ShowStrokeOrder " + kYi,
                    "NextCharacter " + kYi, "ShowAnimation " + kBai, "play",
                    "ShowStrokeOrder " + kBai, "PriorCharacter " + kBai, "ShowAnimation " + kAn,
                    "play", "ShowStrokeOrder " + kAn));
    EXPECT_EQ(selection.CurrentHanzi(), kAn);
    EXPECT_EQ(selection.PreviousHanzi(), kYu + " ");  // only the box writes it

    selection.FormCreate();
    EXPECT_EQ(selection.CurrentHanzi() + selection.PreviousHanzi(), "");
}

TEST_F(CharacterSelectionTest, GroupLabelsClearTheCharacterAndStepsThenDoNothing) {
    selection.ImagenextClick();  // nothing chosen yet
    selection.TreeView1Click(std::nullopt);
    for (int strokes = 1; strokes <= 23; ++strokes) {  // "22画" too
        choose(kYi);
        selection.TreeView1Click(std::to_string(strokes) + "\xBB\xAD");
        EXPECT_EQ(selection.CurrentHanzi(), "") << strokes;
    }
    selection.ImagenextClick();
    selection.ImageprevClick();
    EXPECT_THAT(recorder.calls, IsEmpty());
    selection.TreeView1Click("6\xBB\xAD ");  // a near miss is no label
    EXPECT_EQ(selection.CurrentHanzi(), "6\xBB\xAD ");
}

TEST_F(CharacterSelectionTest, OnlyTwoByteBoxTextsAreLookedUpTrimmed) {
    choose(kYi);
    for (const std::string text : {"", "\xD3", "\xD3\xF0\xD2"}) {
        selection.Edit1Change(text);
    }
    EXPECT_THAT(recorder.calls, IsEmpty());
    selection.Edit1Change("\t\r");
    EXPECT_THAT(recorder.calls, ElementsAre("Query2", "dialog"));
}

TEST_F(CharacterSelectionTest, NotFoundYesPutsThePreviousCharacterBackClosedKeepsTheTyped) {
    choose(kYi);
    selection.Edit1Change(kMissing);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kMissing, "dialog"));
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    EXPECT_EQ(selection.PreviousHanzi(), kYi);

    recorder.dialogAnswer = kDialogClosed;
    selection.Edit1Change(kMissing);
    EXPECT_EQ(selection.CurrentHanzi(), kMissing);
    recorder.calls.clear();
    selection.ImagenextClick();  // steps on from the character that was not found
    EXPECT_EQ(recorder.calls.front(), "NextCharacter " + kMissing);
}

TEST_F(CharacterSelectionTest, AFailingStepEndsTheSequenceAndKeepsWhatWasSet) {
    recorder.failingStep = "play";
    try {
        selection.Edit1Change(kYu);
        FAIL() << "the player's error was swallowed";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "No MCI device open");
    }
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kYu, "ShowAnimation " + kYu, "play"));
    EXPECT_EQ(selection.CurrentHanzi(), kYu);

    recorder.failingStep = "Query2";  // the store is missing
    EXPECT_THROW(selection.Edit1Change(kYi), Error);
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    EXPECT_EQ(selection.PreviousHanzi(), kYu);

    recorder.failingStep = "NextCharacter";
    EXPECT_THROW(selection.ImagenextClick(), Error);
    EXPECT_EQ(selection.CurrentHanzi(), kYi);

    recorder.calls.clear();
    recorder.failingStep = "ShowAnimation";
    EXPECT_THROW(selection.TreeView1Click(kYu), Error);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kYu));
    EXPECT_EQ(selection.CurrentHanzi(), kYu);
}

TEST_F(CharacterSelectionTest, RequestsDuringASequenceRunAfterItAndTheLastOneWins) {
    recorder.duringAnimation = [this] {
        selection.TreeView1Click(kAn);  // superseded by the next request
        selection.ImagenextClick();
    };
    selection.TreeView1Click(kYi);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kYi, "ShowStrokeOrder " + kYi,
                                            "NextCharacter " + kYi, "ShowAnimation " + kBai, "play",
                                            "ShowStrokeOrder " + kBai));

    // Behind a failure they are dropped, and the next event runs normally.
    recorder.failingStep = "ShowStrokeOrder";
    recorder.duringAnimation = [this] { selection.TreeView1Click(kAn); };
    EXPECT_THROW(selection.TreeView1Click(kYi), Error);
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    recorder.failingStep.clear();
    recorder.calls.clear();
    selection.TreeView1Click(kAn);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kAn, "ShowStrokeOrder " + kAn));
}

}  // namespace
}  // namespace qir::selection
