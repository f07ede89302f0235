// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/hanzi_edit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <memory>

#include "selection/character_selection.h"
#include "selection/key_filter.h"
#include "tests/selection/recording_steps.h"
#include "tests/support/recording_desktop.h"

namespace qir::selection {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kYu = "\xD3\xF0";  // 羽

TEST(KeyFilter, RefusesEveryPrintableAsciiByteAndPassesTheRest) {
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(passesKeyFilter(static_cast<unsigned char>(byte)), byte < 0x20 || byte > 0x7E)
            << byte;
    }
}

// The box wired to the sequences as the main window wires it.
class HanziEditTest : public ::testing::Test {
  protected:
    qir::testing::RecordingDesktop desktop;
    HanziEdit edit{desktop};
    testing::RecordingSteps recorder;
    CharacterSelection selection{recorder};

    void SetUp() override {
        QObject::connect(&edit, &QLineEdit::textChanged,
                         [this] { selection.Edit1Change(edit.bytes()); });
    }
    // A key event carrying its text, as xdotool type sends it.
    void typeText(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, text);
        QApplication::sendEvent(&edit, &press);
    }
    void commit(const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&edit, &event);
    }
    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    }
};

TEST_F(HanziEditTest, AsciiKeysChangeNothingAndBeepOncePerByte) {
    QTest::keyClicks(&edit, QStringLiteral("aZ5 %_~"));
    commit(QStringLiteral("ab"));
    typeText(QStringLiteral("y"), Qt::AltModifier);  // a shortcut, not a character
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 9);
    EXPECT_THAT(recorder.calls, IsEmpty());
}

TEST_F(HanziEditTest, ATypedOrCommittedCharacterIsLookedUpAsItsTwoBytes) {
    typeText(QString::fromUtf8("羽"));
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kYu, "ShowAnimation " + kYu, "play",
                                            "ShowStrokeOrder " + kYu));
    EXPECT_FALSE(edit.hasSelectedText());  // the box keeps its text, unselected

    recorder.calls.clear();
    typeText(QString::fromUtf8("毛"));          // the box is full: no room, and no refusal
    QTest::keyClick(&edit, Qt::Key_Backspace);  // control bytes pass and edit as usual
    EXPECT_EQ(edit.bytes(), "");
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(selection.CurrentHanzi(), kYu);

    commit(QString::fromUtf8("一二"));  // a committed phrase: only its first character fits
    EXPECT_EQ(edit.bytes(), "\xD2\xBB");
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(HanziEditTest, ACodePageCharacterOutsideGb2312ReachesTheLookup) {
    // 囧 is no GB2312 character, but the Chinese code page holds it in two high bytes.
    recorder.dialogAnswer = kDialogClosed;
    commit(QString::fromUtf8("囧"));
    EXPECT_EQ(edit.bytes(), "\x87\xE5");
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 \x87\xE5", "dialog"));
}

TEST_F(HanziEditTest, ACodePageCharacterWithAnAsciiSecondByteIsRefusedWhole) {
    // 丂 is 81 40 and 鎫 is E6 7E: the second byte would be refused, so the first may not stay
    // alone in the box either.
    typeText(QString::fromUtf8("丂"));
    commit(QString::fromUtf8("鎫"));
    paste(QString::fromUtf8("丂"));
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 3);
    EXPECT_THAT(recorder.calls, IsEmpty());
    // Refused within a phrase, it leaves the characters after it their place.
    commit(QString::fromUtf8("丂羽"));
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_EQ(desktop.beeps, 4);
}

TEST_F(HanziEditTest, CharactersOutsideGb2312AreRefusedWithABeep) {
    typeText(QString::fromUtf8("한"));
    commit(QString::fromUtf8("😀"));
    typeText(QString::fromUtf8("ß"));
    commit(QString::fromUtf8("€"));  // one byte in the code page: no two-byte character
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 4);
}

TEST_F(HanziEditTest, PastedTextGoesThroughTheSameFilterWildcardsNeverReachTheLookup) {
    for (const char* junk : {"%%", "_%", "\t\r\n", "한", "ab\x01"}) {
        paste(QString::fromUtf8(junk));
    }
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 4);  // one per paste that held a refused character
    EXPECT_THAT(recorder.calls, IsEmpty());

    paste(QString::fromUtf8("a羽b毛"));
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_EQ(recorder.calls.front(), "Query2 " + kYu);

    // The context menu's Paste and Shift+Insert filter too.
    edit.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("%%"));
    const std::unique_ptr<QMenu> menu(edit.createFilteredContextMenu());
    QAction* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(pasteAction, nullptr);
    pasteAction->trigger();
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), QString());

    // A huge paste is refused quickly.
    QElapsedTimer timer;
    timer.start();
    edit.insertPasted(QString(1'000'000, QChar(0xD55C)));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(HanziEditTest, GainingFocusOtherThanByAClickSelectsTheText) {
    edit.show();
    edit.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    commit(QString::fromUtf8("羽"));
    for (Qt::FocusReason reason :
         {Qt::TabFocusReason, Qt::OtherFocusReason, Qt::MouseFocusReason}) {
        edit.clearFocus();
        edit.deselect();
        edit.setFocus(reason);
        EXPECT_EQ(edit.hasSelectedText(), reason != Qt::MouseFocusReason) << reason;
    }
    edit.clearFocus();
    edit.setFocus(Qt::TabFocusReason);
    commit(QString::fromUtf8("一"));  // replaces the selected character
    EXPECT_EQ(edit.bytes(), "\xD2\xBB");
}

TEST_F(HanziEditTest, UsesTheKaitiFontAtFifteenPixels) {
    EXPECT_EQ(QFontInfo(edit.font()).family(), QStringLiteral("AR PL KaitiM GB"));
    EXPECT_EQ(edit.font().pixelSize(), 15);
}

}  // namespace
}  // namespace qir::selection
