#include "selection/character_selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/selection/recording_steps.h"

namespace qir::selection {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kYu = "\xD3\xF0";            // 羽, in the store
const std::string kYuWithBlank = "\xD3\xF0 ";  // 羽 as the catalogue stores it
const std::string kYi = "\xD2\xBB";            // 一, in the store
const std::string kMissing = "\xB0\xA1";       // 啊, not in the store
const std::string kAn = "\xB0\xB2";            // 安
const std::string kBai = "\xB0\xD9";           // 百
const std::string kGroup6 = "6\xBB\xAD";       // 6画

class CharacterSelectionTest : public ::testing::Test {
  protected:
    testing::RecordingSteps recorder;
    CharacterSelection selection{recorder.steps()};

    void choose(const std::string& hanzi) {
        selection.TreeView1Click(hanzi);
        recorder.calls.clear();
    }
};

TEST_F(CharacterSelectionTest, EachWayInRunsItsStepsInOrder) {
    selection.TreeView1Click(kYuWithBlank);
    EXPECT_THAT(recorder.calls,
                ElementsAre("ShowAnimation " + kYuWithBlank, "ShowStrokeOrder " + kYuWithBlank));
    EXPECT_EQ(selection.CurrentHanzi(), kYuWithBlank);

    recorder.calls.clear();
    selection.Edit1Change(kYi);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kYi, "ShowAnimation " + kYi, "play",
                                            "ShowStrokeOrder " + kYi));
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    EXPECT_EQ(selection.PreviousHanzi(), kYuWithBlank);

    recorder.calls.clear();
    selection.ImagenextClick();
    EXPECT_THAT(recorder.calls, ElementsAre("NextCharacter " + kYi, "ShowAnimation " + kBai, "play",
                                            "ShowStrokeOrder " + kBai));
    EXPECT_EQ(selection.CurrentHanzi(), kBai);

    recorder.calls.clear();
    selection.ImageprevClick();
    EXPECT_THAT(recorder.calls, ElementsAre("PriorCharacter " + kBai, "ShowAnimation " + kAn,
                                            "play", "ShowStrokeOrder " + kAn));
    EXPECT_EQ(selection.CurrentHanzi(), kAn);
    // Only the input box writes the previous character.
    EXPECT_EQ(selection.PreviousHanzi(), kYuWithBlank);
}

TEST_F(CharacterSelectionTest, ChoosingTheCurrentCharacterAgainShowsItAgain) {
    choose(kYi);
    selection.TreeView1Click(kYi);
    selection.Edit1Change(kYi);
    EXPECT_THAT(recorder.calls,
                ElementsAre("ShowAnimation " + kYi, "ShowStrokeOrder " + kYi, "Query2 " + kYi,
                            "ShowAnimation " + kYi, "play", "ShowStrokeOrder " + kYi));
}

TEST_F(CharacterSelectionTest, GroupLabelsClearTheCharacterAndLeaveTheDisplay) {
    for (int strokes = 1; strokes <= 23; ++strokes) {
        choose(kYi);
        selection.TreeView1Click(std::to_string(strokes) + "\xBB\xAD");
        EXPECT_EQ(selection.CurrentHanzi(), "") << strokes;
        EXPECT_THAT(recorder.calls, IsEmpty());
    }
    // With nothing current the steps do nothing.
    selection.ImagenextClick();
    selection.ImageprevClick();
    EXPECT_THAT(recorder.calls, IsEmpty());

    // Near misses are characters, not labels.
    selection.TreeView1Click(kGroup6 + " ");
    EXPECT_EQ(selection.CurrentHanzi(), kGroup6 + " ");
    selection.TreeView1Click("24\xBB\xAD");
    EXPECT_EQ(selection.CurrentHanzi(), "24\xBB\xAD");
}

TEST_F(CharacterSelectionTest, NothingHappensBeforeAnyChoiceOrWithoutASelectedNode) {
    selection.ImagenextClick();
    selection.ImageprevClick();
    selection.TreeView1Click(std::nullopt);
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(selection.CurrentHanzi(), "");
}

TEST_F(CharacterSelectionTest, OnlyTwoByteBoxTextsAreLookedUp) {
    choose(kYi);
    for (const std::string text : {"", "\xD3", "\xD3\xF0\xD2", "\xD3\xF0\xD2\xBB"}) {
        selection.Edit1Change(text);
    }
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    EXPECT_EQ(selection.PreviousHanzi(), "");
}

TEST_F(CharacterSelectionTest, BoxTextIsTrimmedBeforeTheLookup) {
    choose(kYi);
    recorder.dialogAnswer = kDialogClosed;
    selection.Edit1Change("\t\r");
    EXPECT_THAT(recorder.calls, ElementsAre("Query2", "dialog"));
    EXPECT_EQ(selection.CurrentHanzi(), "");
    EXPECT_EQ(selection.PreviousHanzi(), kYi);
}

TEST_F(CharacterSelectionTest, NotFoundAnsweredYesPutsThePreviousCharacterBack) {
    choose(kYi);
    selection.Edit1Change(kMissing);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kMissing, "dialog"));
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    EXPECT_EQ(selection.PreviousHanzi(), kYi);
}

TEST_F(CharacterSelectionTest, NotFoundClosedKeepsTheTypedCharacter) {
    choose(kYi);
    recorder.dialogAnswer = kDialogClosed;
    selection.Edit1Change(kMissing);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kMissing, "dialog"));
    EXPECT_EQ(selection.CurrentHanzi(), kMissing);
    // A later step starts from the character that was not found.
    recorder.calls.clear();
    selection.ImagenextClick();
    EXPECT_EQ(recorder.calls.front(), "NextCharacter " + kMissing);
}

TEST_F(CharacterSelectionTest, AFailingStepEndsTheSequenceAndKeepsWhatWasSet) {
    recorder.failingStep = "play";
    choose(kYi);  // the catalogue's sequence has no play step
    EXPECT_THROW(selection.Edit1Change(kYu), Error);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kYu, "ShowAnimation " + kYu, "play"));
    EXPECT_EQ(selection.CurrentHanzi(), kYu);
    try {
        selection.ImagenextClick();
        FAIL() << "the player's error was swallowed";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "No MCI device open");
    }
    EXPECT_EQ(selection.CurrentHanzi(), kBai);

    recorder.calls.clear();
    recorder.failingStep = "ShowAnimation";
    EXPECT_THROW(selection.TreeView1Click(kYi), Error);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kYi));
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
}

TEST_F(CharacterSelectionTest, StoreErrorsLeaveTheStateTheyFound) {
    choose(kYi);
    recorder.failingStep = "Query2";
    recorder.failureMessage = "Table does not exist";
    EXPECT_THROW(selection.Edit1Change(kYu), Error);
    EXPECT_EQ(selection.CurrentHanzi(), kYu);
    EXPECT_EQ(selection.PreviousHanzi(), kYi);

    recorder.calls.clear();
    recorder.failingStep = "NextCharacter";
    EXPECT_THROW(selection.ImagenextClick(), Error);
    EXPECT_THAT(recorder.calls, ElementsAre("NextCharacter " + kYu));
    EXPECT_EQ(selection.CurrentHanzi(), kYu);
}

TEST_F(CharacterSelectionTest, RequestsDuringASequenceRunAfterItLastOneWins) {
    recorder.duringAnimation = [this] {
        selection.TreeView1Click(kAn);  // superseded by the next request
        selection.ImagenextClick();
    };
    selection.TreeView1Click(kYi);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kYi, "ShowStrokeOrder " + kYi,
                                            "NextCharacter " + kYi, "ShowAnimation " + kBai, "play",
                                            "ShowStrokeOrder " + kBai));
    EXPECT_EQ(selection.CurrentHanzi(), kBai);
}

TEST_F(CharacterSelectionTest, RequestsQueuedBehindAFailureAreDropped) {
    recorder.failingStep = "ShowStrokeOrder";
    recorder.duringAnimation = [this] { selection.TreeView1Click(kAn); };
    EXPECT_THROW(selection.TreeView1Click(kYi), Error);
    EXPECT_EQ(selection.CurrentHanzi(), kYi);
    // And the next event runs normally again.
    recorder.failingStep.clear();
    recorder.calls.clear();
    selection.TreeView1Click(kAn);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kAn, "ShowStrokeOrder " + kAn));
}

TEST_F(CharacterSelectionTest, FormCreateClearsBoth) {
    choose(kYi);
    selection.Edit1Change(kYu);
    ASSERT_EQ(selection.PreviousHanzi(), kYi);
    selection.FormCreate();
    EXPECT_EQ(selection.CurrentHanzi(), "");
    EXPECT_EQ(selection.PreviousHanzi(), "");
}

TEST(CharacterSelection, RefusesMissingSteps) {
    testing::RecordingSteps recorder;
    DisplaySteps steps = recorder.steps();
    steps.play = nullptr;
    EXPECT_THROW(CharacterSelection{steps}, std::invalid_argument);
}

}  // namespace
}  // namespace qir::selection
