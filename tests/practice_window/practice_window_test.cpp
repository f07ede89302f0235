// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice_window/practice_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainterPathStroker>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTest>

#include "practice/show_me_pace.h"
#include "tests/practice/made_up_character.h"
#include "tests/support/scratch_directory.h"

namespace qir::practice_window {
namespace {

using practice::Point;
using practice::Polyline;

const std::string kYong = "\xD3\xC0";  // 永

// The made-up character with outlines drawn around its medians.
practice::PracticeCharacter madeUp() {
    practice::PracticeCharacter character{kYong, testing::madeUpCharacter(), {}};
    QPainterPathStroker stroker;
    stroker.setWidth(0.05);
    for (const Polyline& median : character.medians) {
        QPainterPath path(QPointF(median.front().x, median.front().y));
        for (const Point& point : median) {
            path.lineTo(point.x, point.y);
        }
        character.outlines.push_back(stroker.createStroke(path));
    }
    return character;
}

enum class Input { Mouse, Pen, Finger };

class PracticeWindowTest : public ::testing::Test {
  protected:
    PracticeWindowTest() {
        window.resize(480, 640);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QPointF at(Point point) {
        WritingBox& box = window.writingBox();
        const double side = std::min(box.width(), box.height()) - 2.0;
        return {(box.width() - side) / 2 + point.x * side,
                (box.height() - side) / 2 + point.y * side};
    }

    // Draws `line` in the writing box, a point every 0.02 of the box.
    void draw(const Polyline& line, Input input = Input::Mouse) {
        WritingBox& box = window.writingBox();
        const Polyline points = practice::resampled(
            line, static_cast<std::size_t>(practice::pathLength(line) / 0.02) + 2);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF position = at(points[i]);
            const bool first = i == 0;
            const bool last = i + 1 == points.size();
            if (input == Input::Mouse) {
                const QEvent::Type type = first  ? QEvent::MouseButtonPress
                                          : last ? QEvent::MouseButtonRelease
                                                 : QEvent::MouseMove;
                QMouseEvent event(type, position, box.mapToGlobal(position), Qt::LeftButton,
                                  last ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&box, &event);
            } else if (input == Input::Pen) {
                const QEvent::Type type = first  ? QEvent::TabletPress
                                          : last ? QEvent::TabletRelease
                                                 : QEvent::TabletMove;
                QTabletEvent event(type, &pen, position, box.mapToGlobal(position), 0.7, 0, 0, 0, 0,
                                   0, Qt::NoModifier, Qt::LeftButton,
                                   last ? Qt::NoButton : Qt::LeftButton);
                QApplication::sendEvent(&box, &event);
            } else {
                auto touch = QTest::touchEvent(&box, finger);
                if (first) {
                    touch.press(0, position.toPoint(), &box);
                } else if (last) {
                    touch.release(0, position.toPoint(), &box);
                } else {
                    touch.move(0, position.toPoint(), &box);
                }
            }
        }
    }

    void drawAll(Input input) {
        for (const Polyline& median : testing::madeUpCharacter()) {
            draw(median, input);
        }
    }

    testing::ScratchDirectory folder;
    QPointingDevice pen{QStringLiteral("pen"),
                        7,
                        QInputDevice::DeviceType::Stylus,
                        QPointingDevice::PointerType::Pen,
                        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure,
                        1,
                        3};
    QPointingDevice* finger = QTest::createTouchDevice();
    PracticeWindow window{{madeUp()}, folder.path() / practice::kPracticeRecordFile};
};

TEST_F(PracticeWindowTest, TheBoxIsLargeAndSquare) {
    EXPECT_GE(window.writingBox().width(), 360);
    EXPECT_GE(window.writingBox().height(), 360);
}

TEST_F(PracticeWindowTest, EveryStrokeRightByEachInputScoresAHundredAndIsKept) {
    for (const Input input : {Input::Mouse, Input::Pen, Input::Finger}) {
        window.restart();
        drawAll(input);
        ASSERT_TRUE(window.session().finished()) << static_cast<int>(input);
        EXPECT_TRUE(window.result().startsWith(QStringLiteral("Score: 100 %")))
            << window.result().toStdString();
    }
    const auto attempts = window.record().attempts();
    ASSERT_EQ(attempts.size(), 3u);
    EXPECT_EQ(attempts[0].hanzi, kYong);
    EXPECT_EQ(attempts[2].mistakes, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(PracticeWindowTest, ASecondFingerNeitherDrawsNorBendsTheFirstFingersStroke) {
    WritingBox& box = window.writingBox();
    const std::vector<Polyline> medians = testing::madeUpCharacter();
    const Polyline stroke = practice::resampled(
        medians[0], static_cast<std::size_t>(practice::pathLength(medians[0]) / 0.02) + 2);
    const QPoint elsewhere = at({0.9, 0.9}).toPoint();
    QTest::touchEvent(&box, finger).press(0, at(stroke.front()).toPoint(), &box);
    QTest::touchEvent(&box, finger)
        .move(0, at(stroke.front()).toPoint(), &box)
        .press(1, elsewhere, &box);
    for (std::size_t i = 1; i + 1 < stroke.size(); ++i) {
        QTest::touchEvent(&box, finger)
            .move(0, at(stroke[i]).toPoint(), &box)
            .move(1, elsewhere + QPoint(static_cast<int>(i), -static_cast<int>(i)), &box);
    }
    // The drawing finger lifts first; the other wanders on and lifts later.
    QTest::touchEvent(&box, finger)
        .release(0, at(stroke.back()).toPoint(), &box)
        .move(1, elsewhere, &box);
    QTest::touchEvent(&box, finger).move(1, at({0.1, 0.9}).toPoint(), &box);
    QTest::touchEvent(&box, finger).release(1, at({0.1, 0.9}).toPoint(), &box);
    EXPECT_EQ(window.session().nextStroke(), 1) << window.status().toStdString();
    EXPECT_EQ(window.session().mistakes().at(0), 0);
    // The rest by one finger, as usual: every stroke right at the first try.
    for (std::size_t i = 1; i < medians.size(); ++i) {
        draw(medians[i], Input::Finger);
    }
    ASSERT_TRUE(window.session().finished());
    EXPECT_TRUE(window.result().startsWith(QStringLiteral("Score: 100 %")))
        << window.result().toStdString();
}

TEST_F(PracticeWindowTest, AStrokeDrawnBackwardsIsShownWithItsReasonAndRecorded) {
    const std::vector<Polyline> medians = testing::madeUpCharacter();
    draw(medians[0]);
    draw(practice::reversed(medians[1]));
    EXPECT_TRUE(window.writingBox().refusedShown());
    EXPECT_EQ(window.writingBox().refusedReason(),
              QStringLiteral("wrong direction: drawn backwards"));
    draw(medians[1]);
    EXPECT_FALSE(window.writingBox().refusedShown());
    for (std::size_t i = 2; i < medians.size(); ++i) {
        draw(medians[i]);
    }
    ASSERT_TRUE(window.session().finished());
    EXPECT_EQ(window.writingBox().markedMistakes(), (std::vector<int>{0, 1, 0, 0}));
    EXPECT_TRUE(window.result().startsWith(QStringLiteral("Score: 75 %")))
        << window.result().toStdString();
    const auto attempts = window.record().attempts();
    ASSERT_EQ(attempts.size(), 1u);
    EXPECT_EQ(attempts[0].mistakes, (std::vector<int>{0, 1, 0, 0}));
}

TEST_F(PracticeWindowTest, TheHintShowsByItselfAfterThreeMisses) {
    const Polyline nowhere = {{0.1, 0.95}, {0.3, 0.95}};
    draw(nowhere);
    draw(nowhere);
    EXPECT_FALSE(window.writingBox().hintShown());
    draw(nowhere);
    EXPECT_TRUE(window.writingBox().hintShown());
    draw(testing::madeUpCharacter()[0]);
    EXPECT_FALSE(window.writingBox().hintShown());
}

TEST_F(PracticeWindowTest, ShowMeWritesAtTheClipsPaceAndThenStops) {
    WritingBox& box = window.writingBox();
    std::vector<double> lengths;
    for (const Polyline& median : testing::madeUpCharacter()) {
        lengths.push_back(practice::pathLength(median));
    }
    const auto inkedPixels = [&] {
        const QImage image = box.grab().toImage().convertToFormat(QImage::Format_Grayscale8);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                inked += image.pixelColor(x, y).value() < 60 ? 1 : 0;
            }
        }
        return inked;
    };
    ASSERT_EQ(inkedPixels(), 0);  // nothing written yet, the next stroke only faint
    QElapsedTimer clock;
    clock.start();
    box.showMe();
    EXPECT_TRUE(box.showingMe());
    QTest::qWait(900);  // into the second stroke: the first is written in black
    if (box.showingMe()) {
        EXPECT_GT(inkedPixels(), 0);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box.showingMe(); }, 10000));
    // Not sooner than the clips would write it; the pace itself is tested without a window.
    EXPECT_GE(clock.nsecsElapsed() / 1e9, practice::showMeDuration(lengths) - 0.02);
    EXPECT_EQ(inkedPixels(), 0);  // back to the learner's own strokes: none yet
}

TEST_F(PracticeWindowTest, PractisesTheHardestCharactersAndExportsTheRecord) {
    window.practiseHardest();
    EXPECT_EQ(window.status(), QStringLiteral("No character has been hard so far."));

    const std::vector<Polyline> medians = testing::madeUpCharacter();
    draw(practice::reversed(medians[0]));
    drawAll(Input::Mouse);
    ASSERT_TRUE(window.session().finished());
    std::vector<std::string> asked;
    window.setCharacterSource(
        [&](const std::string& hanzi) -> std::optional<practice::PracticeCharacter> {
            asked.push_back(hanzi);
            return madeUp();
        });
    window.practiseHardest();
    EXPECT_EQ(asked, (std::vector<std::string>{kYong}));
    EXPECT_EQ(window.session().nextStroke(), 0);
    EXPECT_TRUE(window.status().isEmpty());

    window.exportRecord(folder.path() / "record.csv");
    const std::string csv = folder.read("record.csv");
    EXPECT_TRUE(
        csv.starts_with("finished,character,mode,leniency,score,seconds,mistakes per stroke\r\n"));
    EXPECT_NE(csv.find(",stroke by stroke,normal,75,"), std::string::npos) << csv;
    window.exportRecord(folder.path() / "no-such-folder" / "record.csv");
    EXPECT_TRUE(window.status().startsWith(QStringLiteral("Cannot create file")))
        << window.status().toStdString();
}

// Opened without a character (the command line without TEXT), the window says how to choose
// one, and a stroke drawn meanwhile is ignored rather than judged against nothing.
TEST(PracticeWindowWithoutCharacters, SaysHowToChooseOneAndPractisesTheOneChosen) {
    testing::ScratchDirectory folder;
    PracticeWindow window({}, folder.path() / practice::kPracticeRecordFile);
    EXPECT_EQ(window.heading(), QStringLiteral("No character yet.\nFind one by drawing it, or "
                                               "practise the characters you found hardest."));
    window.writingBox().resize(400, 400);
    QTest::mousePress(&window.writingBox(), Qt::LeftButton, {}, {100, 100});
    QTest::mouseMove(&window.writingBox(), {300, 100});
    QTest::mouseRelease(&window.writingBox(), Qt::LeftButton, {}, {300, 100});
    window.next();
    window.previous();
    window.restart();
    window.showHint();

    window.setCharacterSource([](const std::string&) { return std::optional(madeUp()); });
    window.practise(kYong);
    EXPECT_EQ(window.session().strokeCount(), 4);
    EXPECT_TRUE(window.heading().endsWith(QStringLiteral("4 strokes")))
        << window.heading().toStdString();
}

TEST(PracticeWindowRecordTest, ARecordThatCannotBeKeptIsSaidOnceAndPracticeGoesOn) {
    testing::ScratchDirectory folder;
    folder.write(practice::kPracticeRecordFile, std::string(4096, 'x'));
    PracticeWindow window({madeUp()}, folder.path() / practice::kPracticeRecordFile);
    EXPECT_EQ(window.status(),
              QStringLiteral("Your progress is not being kept: the practice record %1 is damaged.")
                  .arg(QLatin1String(practice::kPracticeRecordFile)));
    EXPECT_EQ(window.session().strokeCount(), 4);
}

}  // namespace
}  // namespace qir::practice_window
