// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting_pad/handwriting_pad.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "desktop/fonts.h"
#include "handwriting/median_templates.h"
#include "platform/gb2312.h"
#include "store/vector_table.h"
#include "tests/handwriting/made_up_characters.h"
#include "tests/support/scratch_directory.h"

namespace qir::handwriting_pad {
namespace {

using namespace qir::testing;

// Lets events run until the pad no longer waits for its templates (10 s at most).
void settle(const HandwritingPad& pad) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return pad.preparingText().isEmpty(); }, 10000));
}

class HandwritingPadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeMadeUpTable(folder.path());
        pad.resize(360, 520);
        pad.show();
        // The tests below read the candidates right after each stroke.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !pad.preparing(); }, 10000));
    }

    // Drags the mouse along `stroke` (box side 1) on the pad.
    void drag(const handwriting::Polyline& stroke) {
        DrawingPad& box = pad.pad();
        const QRectF rect = box.boxRect();
        const auto at = [&](const handwriting::Point& point) {
            return QPointF(rect.left() + point.x * rect.width(),
                           rect.top() + point.y * rect.height());
        };
        const auto send = [&](QEvent::Type type, QPointF where, Qt::MouseButton button,
                              Qt::MouseButtons buttons) {
            QMouseEvent event(type, where, box.mapToGlobal(where), button, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(&box, &event);
        };
        send(QEvent::MouseButtonPress, at(stroke.front()), Qt::LeftButton, Qt::LeftButton);
        for (const handwriting::Point& point : stroke) {
            send(QEvent::MouseMove, at(point), Qt::NoButton, Qt::LeftButton);
        }
        send(QEvent::MouseButtonRelease, at(stroke.back()), Qt::LeftButton, Qt::NoButton);
        settle(pad);
    }

    QString buttonText(std::size_t i) const { return pad.candidateButtons()[i]->text(); }

    ScratchDirectory folder;
    HandwritingPad pad{{folder.path(), folder.path() / "no.model"}};
};

TEST_F(HandwritingPadTest, DrawnStrokesShowTheCandidatesBestFirstAndUndoAndClearTakeThemBack) {
    EXPECT_EQ(pad.candidateButtons().size(), 10u);
    EXPECT_FALSE(pad.candidateButtons()[0]->isEnabled());  // nothing drawn yet
    for (const handwriting::Polyline& stroke : drawnByHand(mediansOf(kShi))) {
        drag(stroke);
    }
    EXPECT_EQ(pad.pad().ink().size(), 2u);
    EXPECT_EQ(buttonText(0), gb2312::toUnicode(kShi));
    EXPECT_TRUE(pad.candidateButtons()[0]->isEnabled());
    EXPECT_EQ(pad.candidateButtons()[0]->font().family(), qir::kaitiFont().family());

    QTest::mouseClick(pad.findChildren<QPushButton*>().at(0), Qt::LeftButton);  // Undo
    EXPECT_EQ(pad.pad().ink().size(), 1u);
    EXPECT_EQ(buttonText(0), gb2312::toUnicode(kYi));
    QTest::mouseClick(pad.findChildren<QPushButton*>().at(1), Qt::LeftButton);  // Clear
    EXPECT_TRUE(pad.pad().ink().empty());
    EXPECT_TRUE(buttonText(0).isEmpty());
}

TEST_F(HandwritingPadTest, ChoosingACandidateHandsItOnAndClearsThePadForTheNext) {
    QSignalSpy chosen(&pad, &HandwritingPad::chosen);
    for (const handwriting::Polyline& stroke : drawnByHand(mediansOf(kDa))) {
        pad.addStroke(stroke);
    }
    QTest::mouseClick(pad.candidateButtons()[0], Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), gb2312::toUnicode(kDa));
    EXPECT_TRUE(pad.pad().ink().empty());
    EXPECT_TRUE(pad.isVisible());

    // Its number key chooses it too; a key with no candidate does nothing.
    for (const handwriting::Polyline& stroke : drawnByHand(mediansOf(kShi))) {
        pad.addStroke(stroke);
    }
    const QString second = buttonText(1);
    QTest::keyClick(&pad, Qt::Key_2);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toString(), second);
    QTest::keyClick(&pad, Qt::Key_1);  // the pad is empty now
    EXPECT_EQ(chosen.count(), 2);
}

TEST_F(HandwritingPadTest, TouchAndAPenDrawToo) {
    DrawingPad& box = pad.pad();
    const QRectF rect = box.boxRect();
    QPointingDevice* finger = QTest::createTouchDevice();
    const QPointF from(rect.left() + 0.2 * rect.width(), rect.center().y());
    const QPointF to(rect.left() + 0.8 * rect.width(), rect.center().y());
    QTest::touchEvent(&box, finger).press(0, from.toPoint(), &box);
    QTest::touchEvent(&box, finger).move(0, ((from + to) / 2).toPoint(), &box);
    QTest::touchEvent(&box, finger).release(0, to.toPoint(), &box);
    EXPECT_EQ(box.ink().size(), 1u);
    EXPECT_EQ(buttonText(0), gb2312::toUnicode(kYi));

    const QPointF top(rect.center().x(), rect.top() + 0.15 * rect.height());
    const QPointF bottom(rect.center().x(), rect.top() + 0.85 * rect.height());
    for (const auto& [type, where] : {std::pair{QEvent::TabletPress, top},
                                      {QEvent::TabletMove, (top + bottom) / 2},
                                      {QEvent::TabletRelease, bottom}}) {
        QTabletEvent event(type, QPointingDevice::primaryPointingDevice(), where,
                           box.mapToGlobal(where), 0.5, 0, 0, 0, 0, 0, Qt::NoModifier,
                           Qt::LeftButton,
                           type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton);
        QCoreApplication::sendEvent(&box, &event);
    }
    EXPECT_EQ(box.ink().size(), 2u);
    EXPECT_EQ(buttonText(0), gb2312::toUnicode(kShi));
}

TEST_F(HandwritingPadTest, ASecondFingerNeitherDrawsNorBendsTheFirstFingersStroke) {
    DrawingPad& box = pad.pad();
    const QRectF rect = box.boxRect();
    QPointingDevice* finger = QTest::createTouchDevice();
    const QPointF from(rect.left() + 0.2 * rect.width(), rect.center().y());
    const QPointF to(rect.left() + 0.8 * rect.width(), rect.center().y());
    const QPoint elsewhere = QPointF(rect.center().x(), rect.top() + 0.9 * rect.height()).toPoint();
    QTest::touchEvent(&box, finger).press(0, from.toPoint(), &box);
    QTest::touchEvent(&box, finger).move(0, from.toPoint(), &box).press(1, elsewhere, &box);
    QTest::touchEvent(&box, finger)
        .move(0, ((from + to) / 2).toPoint(), &box)
        .move(1, elsewhere + QPoint(5, -5), &box);
    // The drawing finger lifts first; the other wanders on and lifts later.
    QTest::touchEvent(&box, finger).release(0, to.toPoint(), &box).move(1, elsewhere, &box);
    QTest::touchEvent(&box, finger).move(1, rect.topLeft().toPoint() + QPoint(5, 5), &box);
    QTest::touchEvent(&box, finger).release(1, rect.topLeft().toPoint() + QPoint(5, 5), &box);
    ASSERT_EQ(box.ink().size(), 1u);
    // One level stroke: 一, as if the second finger had never touched.
    EXPECT_EQ(buttonText(0), gb2312::toUnicode(kYi));
    for (const auto& point : box.ink().front()) {
        EXPECT_NEAR(point.y, box.ink().front().front().y, 0.05);
    }
}

TEST(HandwritingPad, SaysWhatCouldNotBeLoadedAndStaysUsable) {
    ScratchDirectory folder;
    HandwritingPad pad({folder.path(), folder.path() / "no.model"});
    pad.show();
    pad.addStroke({{0.2, 0.5}, {0.8, 0.5}});
    settle(pad);
    EXPECT_NE(pad.problemText().indexOf(QStringLiteral("bishunvec.db")), -1)
        << pad.problemText().toStdString();
    EXPECT_NE(pad.problemText().indexOf(QStringLiteral("is missing.")), -1);
    EXPECT_TRUE(pad.candidates().empty());
    pad.clear();
    EXPECT_TRUE(pad.pad().ink().empty());
}

// The first strokes can come before the characters to compare with are ready: the pad takes
// them at once, says it is preparing, and shows the candidates when the templates are built.
TEST(HandwritingPad, AStrokeDrawnWhileTheTemplatesAreBuiltWaitsWithoutFreezingThePad) {
    ScratchDirectory folder;
    writeMadeUpTable(folder.path());
    std::promise<void> release;
    std::once_flag released;
    const auto releaseOnce = [&] { std::call_once(released, [&] { release.set_value(); }); };
    std::shared_future<void> go = release.get_future().share();
    HandwritingPad pad({folder.path(), folder.path() / "no.model", [go, store = folder.path()] {
                            go.wait();
                            store::VectorTable table(store);
                            return std::make_shared<const handwriting::MedianMatcher>(
                                handwriting::templatesOf(table));
                        }});
    // Should the pad wait for the build after all, this ends the wait instead of the test.
    std::jthread safety([&](std::stop_token stop) {
        for (int i = 0; i < 100 && !stop.stop_requested(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        releaseOnce();
    });
    pad.show();

    QElapsedTimer clock;
    clock.start();
    pad.addStroke(mediansOf(kYi).front());
    EXPECT_LT(clock.elapsed(), 4000) << "the stroke waited for the templates";
    EXPECT_EQ(pad.pad().ink().size(), 1u);
    EXPECT_TRUE(pad.candidates().empty());
    EXPECT_EQ(pad.preparingText(), QStringLiteral("Preparing the characters to compare with…"));

    releaseOnce();
    settle(pad);
    EXPECT_TRUE(pad.preparingText().isEmpty());
    ASSERT_FALSE(pad.candidates().empty());
    EXPECT_EQ(pad.candidateButtons()[0]->text(), gb2312::toUnicode(kYi));
}

}  // namespace
}  // namespace qir::handwriting_pad
