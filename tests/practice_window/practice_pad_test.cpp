// SPDX-License-Identifier: GPL-3.0-or-later
// The practice window offers the handwriting pad for picking the character to practise.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "handwriting_pad/handwriting_pad.h"
#include "practice_window/practice_window.h"
#include "tests/handwriting/made_up_characters.h"
#include "tests/support/scratch_directory.h"

namespace qir::practice_window {
namespace {

using namespace qir::testing;

practice::PracticeCharacter madeUp(const std::string& hanzi) {
    return {hanzi, mediansOf(hanzi), std::vector<QPainterPath>(mediansOf(hanzi).size())};
}

QPushButton* buttonNamed(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

TEST(PracticeWindowPad, TheCharacterChosenOnThePadIsPractisedNext) {
    ScratchDirectory folder;
    writeMadeUpTable(folder.path());
    PracticeWindow window({madeUp(kWang)}, folder.path() / practice::kPracticeRecordFile);
    window.setCharacterSource(
        [](const std::string& hanzi) -> std::optional<practice::PracticeCharacter> {
            if (mediansOf(hanzi).empty()) {
                return std::nullopt;
            }
            return madeUp(hanzi);
        });
    window.show();
    QPushButton* find = buttonNamed(window, handwriting_pad::findByDrawingText());
    ASSERT_NE(find, nullptr);
    EXPECT_FALSE(find->isVisible());  // no sources yet
    window.setHandwritingSources({folder.path(), folder.path() / "no.model"});
    EXPECT_TRUE(find->isVisible());
    QTest::mouseClick(find, Qt::LeftButton);
    auto* pad = window.findChild<handwriting_pad::HandwritingPad*>();
    ASSERT_NE(pad, nullptr);
    EXPECT_TRUE(pad->isVisible());
    // The learner draws once the characters to compare with are ready.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pad->preparing(); }, 10000));

    EXPECT_EQ(window.session().strokeCount(), 4);  // 王
    for (const handwriting::Polyline& stroke : drawnByHand(mediansOf(kDa))) {
        pad->addStroke(stroke);
    }
    QTest::mouseClick(pad->candidateButtons()[0], Qt::LeftButton);
    EXPECT_EQ(window.session().strokeCount(), 3);  // 大
    EXPECT_TRUE(pad->isVisible());                 // open for the next pick
}

}  // namespace
}  // namespace qir::practice_window
