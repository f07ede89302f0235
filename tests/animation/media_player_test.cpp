// SPDX-License-Identifier: GPL-3.0-or-later
// The player bar against the real device on clips made here: its auto set through every
// button, the completion notices, the mouse and key rules, the errors and the layout.
#include "animation/media_player.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "animation/mci_error.h"
#include "tests/animation/manual_clock.h"
#include "tests/animation/test_clips.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::animation {

void PrintTo(const TButtonSet& set, std::ostream* out) {
    const char* names[] = {"Play", "Pause", "Stop",   "Next", "Prev",
                           "Step", "Back",  "Record", "Eject"};
    *out << "{";
    for (TMPBtnType button : kAllButtons) {
        if (set.contains(button)) {
            *out << " " << names[static_cast<int>(button)];
        }
    }
    *out << " }";
}

namespace {

using B = TMPBtnType;
using testing::ClipSpec;
using testing::frameNumberOf;
using testing::writeClip;

const TButtonSet kAfterOpen{B::btPlay, B::btNext, B::btPrev, B::btStep, B::btBack};
const TButtonSet kWhilePlaying{B::btPause, B::btStop, B::btNext, B::btPrev, B::btStep, B::btBack};

class MediaPlayerTest : public ::testing::Test {
  protected:
    MediaPlayerTest() {
        window.resize(300, 200);
        panel = new QWidget(&window);
        panel->setGeometry(10, 10, 152, 124);
        player = new MediaPlayer(desktop, &window, clock);
        player->setGeometry(10, 150, 197, 21);
        player->setDisplay(panel);
        window.show();
    }

    // A slow clip (long enough to click around in) and a quick one (to see it end).
    void openSlowClip() { openClip({.width = 40, .height = 30, .frames = 40}); }
    void openQuickClip() {
        openClip({.width = 40, .height = 30, .frames = 10, .framesPerSecond = 50});
    }
    void openClip(const ClipSpec& shape) {
        writeClip("tmp2.avi", shape);
        player->setFileName("tmp2.avi");
        player->open();
    }
    void click(B button) { QTest::mouseClick(player, Qt::LeftButton, {}, centreOf(button)); }
    QPoint centreOf(B button) const { return player->buttonRect(button).center(); }
    bool waitForNotice(int timeoutMs = 5000) {
        QSignalSpy spy(player, &MediaPlayer::notified);
        return clock.runUntil([&] { return !spy.isEmpty(); }, timeoutMs);
    }
    void waitUntilStopped() {
        ASSERT_TRUE(clock.runUntil([&] { return player->mode() == DeviceMode::Stopped; }, 5000));
        QCoreApplication::processEvents();  // the notice
    }

    qir::testing::ScratchDirectory scratch;
    // The clips play on this clock, which the tests move.
    qir::testing::ManualClock clock;
    qir::testing::RecordingDesktop desktop;
    QWidget window;
    QWidget* panel;
    MediaPlayer* player;
};

TEST_F(MediaPlayerTest, StartsGreyedAndIgnoresClicksUntilAClipIsOpen) {
    EXPECT_FALSE(player->deviceOpen());
    EXPECT_EQ(player->deviceId(), 0);
    EXPECT_TRUE(player->autoButtons().empty());
    for (B button : kAllButtons) {
        if (player->visibleButtons().contains(button)) {
            click(button);
        }
    }
    EXPECT_TRUE(desktop.errors.isEmpty());
    EXPECT_EQ(player->focusedButton(), B::btPlay);
}

TEST_F(MediaPlayerTest, AClickOnTheGreyedBarLeavesTheFocusWhereItIs) {
    auto* edit = new QLineEdit(&window);  // the input box, as the window has it
    edit->setGeometry(200, 10, 80, 20);
    edit->show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    for (B button : {B::btPlay, B::btPause, B::btBack}) {
        click(button);
        EXPECT_TRUE(edit->hasFocus());
    }
    QTest::mouseClick(player, Qt::LeftButton, {}, QPoint(0, 0));  // the frame
    EXPECT_TRUE(edit->hasFocus());
    // A button that works takes the focus with its press.
    openSlowClip();
    click(B::btNext);
    EXPECT_TRUE(player->hasFocus());
    EXPECT_EQ(player->focusedButton(), B::btNext);
}

TEST_F(MediaPlayerTest, EveryOperationNeedsAnOpenDevice) {
    using Operation = void (MediaPlayer::*)();
    const std::vector<Operation> operations{
        &MediaPlayer::play,     &MediaPlayer::pause, &MediaPlayer::stop, &MediaPlayer::next,
        &MediaPlayer::previous, &MediaPlayer::step,  &MediaPlayer::back};
    for (const Operation operation : operations) {
        try {
            std::invoke(operation, *player);
            ADD_FAILURE() << "no error without a device";
        } catch (const EMCIDeviceError& error) {
            EXPECT_STREQ(error.what(), "No MCI device open");
            EXPECT_EQ(error.kind(), "EMCIDeviceError");
        }
    }
    // Space runs the focused button even while it is greyed; the error goes to the error box.
    QTest::keyClick(player, Qt::Key_Space);
    EXPECT_EQ(desktop.errors, QStringList{"No MCI device open."});
}

TEST_F(MediaPlayerTest, ACodeWithoutTextIsAnUnknownErrorCode) {
    EXPECT_STREQ(mciError(99999).what(), "Unknown error code");
    EXPECT_EQ(mciError(99999).kind(), "EMCIDeviceError");
}

TEST_F(MediaPlayerTest, OpenEnablesPlayAndTheMovesAndShowsTheFirstFrame) {
    openClip({.frames = 25});
    EXPECT_TRUE(player->deviceOpen());
    EXPECT_GT(player->deviceId(), 0);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    EXPECT_EQ(player->stepSize(), 2);  // 25 div 10
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->displayRect(), QRect(0, 0, 152, 124));
    EXPECT_EQ(frameNumberOf(panel->grab().toImage()), 0);
}

TEST_F(MediaPlayerTest, TheProgramsPlayLeavesTheButtonsAloneAndTheEndKeepsThem) {
    openQuickClip();
    player->play();
    EXPECT_EQ(player->mode(), DeviceMode::Playing);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    ASSERT_TRUE(waitForNotice());
    EXPECT_EQ(player->notifyValue(), NotifyOutcome::Successful);
    EXPECT_EQ(player->position(), 10);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
}

TEST_F(MediaPlayerTest, PlayPauseResumeAndStopFollowTheirRules) {
    openSlowClip();
    player->play();
    click(B::btPlay);  // while playing: carries on, pause and stop come alive
    EXPECT_EQ(player->mode(), DeviceMode::Playing);
    EXPECT_EQ(player->autoButtons(), kWhilePlaying);
    EXPECT_EQ(player->focusedButton(), B::btPlay);

    click(B::btPause);
    EXPECT_EQ(player->mode(), DeviceMode::Paused);
    EXPECT_EQ(player->autoButtons(), kWhilePlaying + B::btPlay);
    EXPECT_EQ(player->focusedButton(), B::btPause);
    QCoreApplication::processEvents();
    EXPECT_EQ(player->notifyValue(), NotifyOutcome::Aborted);
    EXPECT_EQ(player->autoButtons(), kWhilePlaying + B::btPlay);  // paused, not stopped

    click(B::btPause);  // resumes
    EXPECT_EQ(player->mode(), DeviceMode::Playing);

    click(B::btStop);
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    QCoreApplication::processEvents();
    EXPECT_EQ(player->notifyValue(), NotifyOutcome::Aborted);
}

TEST_F(MediaPlayerTest, TheEndOfAClickedPlayBringsPlayBack) {
    openQuickClip();
    click(B::btPlay);
    EXPECT_EQ(player->autoButtons(), kWhilePlaying);
    ASSERT_TRUE(waitForNotice());
    EXPECT_EQ(player->notifyValue(), NotifyOutcome::Successful);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
}

TEST_F(MediaPlayerTest, PlayAtTheEndRewindsFirst) {
    openQuickClip();
    click(B::btNext);
    EXPECT_EQ(player->position(), 10);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    click(B::btPlay);
    EXPECT_EQ(player->mode(), DeviceMode::Playing);
    EXPECT_LT(player->position(), 5);
    ASSERT_TRUE(waitForNotice());
    EXPECT_EQ(player->notifyValue(), NotifyOutcome::Successful);

    // Without rewinding, a play at the end ends at once.
    player->setAutoRewind(false);
    player->play();
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->position(), 10);
}

TEST_F(MediaPlayerTest, NextPrevStepAndBackMoveByTheirRules) {
    openClip({.width = 40, .height = 30, .frames = 35});  // step size 3
    player->play();
    click(B::btPlay);
    click(B::btNext);
    EXPECT_EQ(player->position(), 35);
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    EXPECT_EQ(frameNumberOf(panel->grab().toImage()), 34);

    click(B::btStep);  // at the end: back to the start, then a tenth on
    EXPECT_EQ(player->position(), 3);
    click(B::btStep);
    EXPECT_EQ(player->position(), 6);
    EXPECT_EQ(frameNumberOf(panel->grab().toImage()), 6);
    click(B::btBack);
    EXPECT_EQ(player->position(), 3);
    click(B::btBack);
    click(B::btBack);
    EXPECT_EQ(player->position(), 0);

    click(B::btPlay);
    click(B::btPrev);
    EXPECT_EQ(player->position(), 0);
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
}

TEST_F(MediaPlayerTest, GreyedButtonsIgnoreTheMouseButSpaceStillWorksThem) {
    openSlowClip();
    player->play();
    click(B::btPause);  // greyed: ignored
    EXPECT_EQ(player->mode(), DeviceMode::Playing);
    EXPECT_EQ(player->focusedButton(), B::btPlay);

    QTest::keyClick(player, Qt::Key_Right);
    EXPECT_EQ(player->focusedButton(), B::btPause);
    QTest::keyClick(player, Qt::Key_Space);
    EXPECT_EQ(player->mode(), DeviceMode::Paused);
    EXPECT_TRUE(player->autoButtons().contains(B::btPlay));
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(MediaPlayerTest, LeftAndRightStopAtTheFirstAndLastVisibleButton) {
    QTest::keyClick(player, Qt::Key_Left);
    EXPECT_EQ(player->focusedButton(), B::btPlay);
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(player, Qt::Key_Right);
    }
    EXPECT_EQ(player->focusedButton(), B::btBack);  // record and eject are hidden
    QTest::keyClick(player, Qt::Key_Left);
    EXPECT_EQ(player->focusedButton(), B::btStep);
}

TEST_F(MediaPlayerTest, ReleasingAwayFromThePressedButtonDoesNothing) {
    openSlowClip();
    QTest::mousePress(player, Qt::LeftButton, {}, centreOf(B::btPlay));
    QTest::mouseMove(player, centreOf(B::btStep));
    QTest::mouseRelease(player, Qt::LeftButton, {}, centreOf(B::btStep));
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->position(), 0);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    // Coming back over it before releasing counts.
    QTest::mousePress(player, Qt::LeftButton, {}, centreOf(B::btStep));
    QTest::mouseMove(player, QPoint(250, 10));
    QTest::mouseMove(player, centreOf(B::btStep));
    QTest::mouseRelease(player, Qt::LeftButton, {}, centreOf(B::btStep));
    EXPECT_EQ(player->position(), 4);
}

TEST_F(MediaPlayerTest, ADisabledBarIgnoresTheMouse) {
    openSlowClip();
    player->setEnabled(false);
    click(B::btPlay);
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
}

TEST_F(MediaPlayerTest, AFailedOpenClosesTheOldClipAndLeavesTheBarGreyed) {
    openSlowClip();
    player->play();
    EXPECT_EQ(panel->findChildren<QWidget*>().size(), 1);
    scratch.write("tmp1.avi", "this is not a clip");
    player->setFileName("tmp1.avi");
    try {
        player->open();
        ADD_FAILURE() << "opened a text file";
    } catch (const EMCIDeviceError& error) {
        EXPECT_STREQ(error.what(),
                     "The specified file is not a video clip that this device can play.");
    }
    EXPECT_FALSE(player->deviceOpen());
    EXPECT_TRUE(player->autoButtons().empty());
    EXPECT_TRUE(panel->findChildren<QWidget*>().isEmpty());
    click(B::btPlay);
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(MediaPlayerTest, OpeningWhilePlayingStartsAfresh) {
    openSlowClip();
    player->play();
    click(B::btPlay);
    const int firstId = player->deviceId();
    openQuickClip();
    EXPECT_NE(player->deviceId(), firstId);
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
    EXPECT_EQ(panel->findChildren<QWidget*>().size(), 1);
    // The old clip's aborted notice finds the new one stopped: the after-open state stays.
    QCoreApplication::processEvents();
    EXPECT_EQ(player->autoButtons(), kAfterOpen);
}

TEST_F(MediaPlayerTest, DestroyingTheBarClosesItsDevice) {
    openSlowClip();
    player->play();
    delete player;
    EXPECT_TRUE(panel->findChildren<QWidget*>().isEmpty());
    QCoreApplication::processEvents();  // the notice for the gone bar is dropped
}

TEST_F(MediaPlayerTest, ADisplayThatIsGoneIsForgotten) {
    delete panel;
    openSlowClip();
    EXPECT_EQ(player->display(), nullptr);
    EXPECT_TRUE(player->displayRect().isNull());
    player->play();
    EXPECT_EQ(player->mode(), DeviceMode::Playing);
}

TEST_F(MediaPlayerTest, SevenButtonsOf29PixelsShareTheirBorders) {
    EXPECT_EQ(player->size(), QSize(197, 21));
    int index = 0;
    for (B button :
         {B::btPlay, B::btPause, B::btStop, B::btNext, B::btPrev, B::btStep, B::btBack}) {
        EXPECT_EQ(player->buttonRect(button), QRect(index * 28, 0, 29, 21));
        ++index;
    }
    EXPECT_TRUE(player->buttonRect(B::btRecord).isEmpty());
    EXPECT_TRUE(player->buttonRect(B::btEject).isEmpty());
    // The width is kept at count x (button width - 1) + 1; the glyphs set the least size.
    player->resize(203, 21);  // (202 div 7) + 1 = 29
    EXPECT_EQ(player->width(), 197);
    player->resize(220, 21);  // 32-pixel buttons
    EXPECT_EQ(player->width(), 7 * 31 + 1);
    player->resize(40, 5);
    EXPECT_EQ(player->width(), 7 * 21 + 1);
    EXPECT_GE(player->height(), 13);
    player->setVisibleButtons({B::btPlay, B::btStop});
    EXPECT_EQ(player->buttonRect(B::btStop).left(), player->buttonRect(B::btPlay).right());
}

// A screen reader sees seven buttons with their names and states, and presses them as a click.
TEST_F(MediaPlayerTest, AssistiveTechnologySeesSevenButtonsWithTheirStatesAndPressesThem) {
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(player);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Player"));
    const B order[] = {B::btPlay, B::btPause, B::btStop, B::btNext,
                       B::btPrev, B::btStep,  B::btBack};
    const QStringList names = {"Play",        "Pause",        "Stop",     "Go to end",
                               "Go to start", "Step forward", "Step back"};
    ASSERT_EQ(bar->childCount(), 7);
    const auto button = [&](B kind) {
        const auto at = std::find(std::begin(order), std::end(order), kind) - std::begin(order);
        return bar->child(static_cast<int>(at));
    };
    for (int i = 0; i < 7; ++i) {
        QAccessibleInterface* child = bar->child(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->role(), QAccessible::Button);
        EXPECT_EQ(child->text(QAccessible::Name), names[i]);
        EXPECT_EQ(child->parent(), bar);
        EXPECT_EQ(bar->indexOfChild(child), i);
        EXPECT_TRUE(child->state().disabled) << "greyed before a clip is open";
        const QRect local = player->buttonRect(order[i]);
        EXPECT_EQ(child->rect(), QRect(player->mapToGlobal(local.topLeft()), local.size()));
        EXPECT_EQ(bar->childAt(child->rect().center().x(), child->rect().center().y()), child);
        ASSERT_NE(child->actionInterface(), nullptr);
        EXPECT_EQ(child->actionInterface()->actionNames(),
                  QStringList{QAccessibleActionInterface::pressAction()});
    }
    button(B::btPlay)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(desktop.errors.isEmpty()) << "a greyed button ignores the press, as the mouse";

    openSlowClip();
    EXPECT_FALSE(button(B::btPlay)->state().disabled);
    EXPECT_TRUE(button(B::btPause)->state().disabled);
    button(B::btPlay)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(player->autoButtons(), kWhilePlaying);  // Play's rule, as after a click
    EXPECT_EQ(player->mode(), DeviceMode::Playing);
    EXPECT_FALSE(button(B::btPause)->state().disabled);
    EXPECT_TRUE(button(B::btPlay)->state().disabled);
    button(B::btStop)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(player->mode(), DeviceMode::Stopped);
    EXPECT_EQ(player->autoButtons(), kAfterOpen);

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    player->setFocus();
    ASSERT_TRUE(player->hasFocus());
    QTest::keyClick(player, Qt::Key_Right);
    EXPECT_TRUE(button(B::btPause)->state().focused);
    EXPECT_FALSE(button(B::btPlay)->state().focused);
}

}  // namespace
}  // namespace qir::animation
