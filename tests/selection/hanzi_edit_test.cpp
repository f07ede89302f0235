#include "selection/hanzi_edit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <memory>

#include "selection/character_selection.h"
#include "tests/selection/recording_steps.h"
#include "tests/support/recording_desktop.h"

namespace qir::selection {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kYu = "\xD3\xF0";  // 羽

class HanziEditTest : public ::testing::Test {
  protected:
    qir::testing::RecordingDesktop desktop;
    HanziEdit edit{desktop};

    void typeText(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, text);
        QApplication::sendEvent(&edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, modifiers, text);
        QApplication::sendEvent(&edit, &release);
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

TEST_F(HanziEditTest, AsciiKeysChangeNothingAndBeepOncePerKey) {
    QTest::keyClicks(&edit, QStringLiteral("aZ5 %_~"));
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 7);
}

TEST_F(HanziEditTest, AKeyCarryingAChineseCharacterBecomesItsTwoBytes) {
    QStringList changes;
    QObject::connect(&edit, &QLineEdit::textChanged, [&](const QString& text) { changes << text; });
    typeText(QString::fromUtf8("羽"));
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_EQ(edit.text(), QString::fromUtf8("羽"));
    EXPECT_EQ(changes, QStringList{QString::fromUtf8("羽")});
    EXPECT_EQ(desktop.beeps, 0);

    // The box is full: more text does not fit, and a full box is no refusal.
    typeText(QString::fromUtf8("毛"));
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_EQ(desktop.beeps, 0);

    // Backspace passes the filter and edits as usual.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.bytes(), "");
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(HanziEditTest, AnInputMethodCommitPassesTheFilter) {
    commit(QString::fromUtf8("羽"));
    EXPECT_EQ(edit.bytes(), kYu);

    edit.selectAll();
    commit(QString::fromUtf8("一二"));  // a phrase: only its first character fits
    EXPECT_EQ(edit.bytes(), "\xD2\xBB");
    EXPECT_EQ(desktop.beeps, 0);

    edit.clear();
    commit(QStringLiteral("ab"));
    EXPECT_EQ(edit.bytes(), "");
    EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(HanziEditTest, CharactersOutsideGb2312AreRefusedWithABeep) {
    typeText(QString::fromUtf8("한"));
    commit(QString::fromUtf8("😀"));
    typeText(QString::fromUtf8("ß"));
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 3);
}

TEST_F(HanziEditTest, PrintableKeysWithModifiersAreShortcutsNotText) {
    typeText(QStringLiteral("y"), Qt::AltModifier);
    typeText(QString::fromUtf8("羽"), Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(HanziEditTest, PastedTextGoesThroughTheSameFilter) {
    paste(QStringLiteral("%%"));
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 1);  // one beep for the whole paste

    paste(QString::fromUtf8("a羽b毛"));
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_EQ(desktop.beeps, 2);

    edit.clear();
    for (const char* junk : {"\t\r\n", "한", "__", "ab\x01", ""}) {
        paste(QString::fromUtf8(junk));
    }
    EXPECT_EQ(edit.text(), QString());

    // Shift+Insert is a paste too.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("羽"));
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit.bytes(), kYu);
}

TEST_F(HanziEditTest, TheContextMenusPasteIsFilteredToo) {
    QGuiApplication::clipboard()->setText(QStringLiteral("%%"));
    const std::unique_ptr<QMenu> menu(edit.createFilteredContextMenu());
    QAction* pasteAction = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QStringLiteral("edit-paste")) {
            pasteAction = action;
        }
    }
    ASSERT_NE(pasteAction, nullptr);
    pasteAction->trigger();
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(HanziEditTest, AHugePasteIsRefusedQuickly) {
    QElapsedTimer timer;
    timer.start();
    edit.insertPasted(QString(1'000'000, QChar(0xD55C)));  // 한, outside GB2312
    edit.insertPasted(QString(1'000'000, QLatin1Char('%')));
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(desktop.beeps, 2);
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(HanziEditTest, GainingFocusOtherThanByAClickSelectsTheText) {
    edit.show();
    edit.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    typeText(QString::fromUtf8("羽"));

    for (Qt::FocusReason reason :
         {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::OtherFocusReason, Qt::MouseFocusReason}) {
        edit.clearFocus();
        edit.deselect();
        edit.setFocus(reason);
        ASSERT_TRUE(edit.hasFocus());
        EXPECT_EQ(edit.selectedText(),
                  reason == Qt::MouseFocusReason ? QString() : QString::fromUtf8("羽"))
            << reason;
    }
    // With the text selected, the next character replaces it.
    edit.clearFocus();
    edit.setFocus(Qt::TabFocusReason);
    commit(QString::fromUtf8("一"));
    EXPECT_EQ(edit.bytes(), "\xD2\xBB");
}

TEST_F(HanziEditTest, UsesTheKaitiFontAtFifteenPixels) {
    const QFontInfo info(edit.font());
    EXPECT_EQ(info.family(), QStringLiteral("AR PL KaitiM GB"));
    EXPECT_EQ(edit.font().pixelSize(), 15);
    EXPECT_EQ(edit.toolTip(), QStringLiteral("Input character"));
}

// The box wired to the sequences as the main window wires it.
class HanziEditLookupTest : public HanziEditTest {
  protected:
    testing::RecordingSteps recorder;
    CharacterSelection selection{recorder.steps()};

    void SetUp() override {
        QObject::connect(&edit, &QLineEdit::textChanged,
                         [this] { selection.Edit1Change(edit.bytes()); });
    }
};

TEST_F(HanziEditLookupTest, ATypedCharacterIsLookedUpAndShown) {
    typeText(QString::fromUtf8("羽"));
    EXPECT_THAT(recorder.calls, ElementsAre("Query2 " + kYu, "ShowAnimation " + kYu, "play",
                                            "ShowStrokeOrder " + kYu));
    // The box keeps its text, unselected.
    EXPECT_EQ(edit.bytes(), kYu);
    EXPECT_FALSE(edit.hasSelectedText());

    // Deleting it changes nothing else.
    recorder.calls.clear();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(selection.CurrentHanzi(), kYu);
}

TEST_F(HanziEditLookupTest, PastedWildcardsNeverReachTheLookup) {
    paste(QStringLiteral("%%"));
    paste(QStringLiteral("_%"));
    paste(QStringLiteral("%\xD3"));
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(selection.CurrentHanzi(), "");
}

}  // namespace
}  // namespace qir::selection
