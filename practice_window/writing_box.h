// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The square box the learner writes in: 田字格 or 米字格 guides, the character's strokes as
// the mode shows them, the strokes written so far in black, the ink being drawn, a refused
// stroke in red that fades, and the next stroke's hint. Mouse, pen and one finger draw.

#include <QElapsedTimer>
#include <QPainterPath>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "desktop/stroke_input.h"
#include "practice/geometry.h"
#include "practice/practice_record.h"
#include "practice/stroke_judge.h"

namespace qir::practice_window {

enum class Guides { Tian, Mi };

class WritingBox : public QWidget, private StrokeReceiver {
    Q_OBJECT
  public:
    explicit WritingBox(QWidget* parent = nullptr);

    // The character's outlines and medians (one each a stroke, in writing order, box side 1).
    void setCharacter(std::vector<QPainterPath> outlines,
                      const std::vector<practice::Polyline>& medians);
    void setMode(practice::PracticeMode mode);
    void setGuides(Guides guides);
    // The strokes written right so far: they show in black.
    void setStrokesDone(int count);
    // A refused stroke shows in red with `reason`, then fades.
    void showRefused(const practice::DrawnStroke& stroke, const QString& reason);
    // The next stroke flashes with its start and its way.
    void showHint(int stroke, practice::Point start, practice::Point towards);
    void hideHint();
    // Writes the whole character from the start, each stroke growing along its median at the
    // pace of the store's clips.
    void showMe();
    bool showingMe() const { return showMe_.isActive(); }
    // Marks the strokes that went wrong (misses per stroke); they show in red from now on.
    void markMistakes(std::vector<int> mistakes);
    const std::vector<int>& markedMistakes() const { return marked_; }

    bool hintShown() const { return hint_ >= 0; }
    bool refusedShown() const { return !refused_.empty(); }
    const QString& refusedReason() const { return reason_; }
    Guides guides() const { return guides_; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

  signals:
    void strokeDrawn(const practice::DrawnStroke& stroke);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QRectF boxRect() const;
    practice::DrawnPoint toBox(QPointF position, double pressure) const;
    void begin(QPointF position, double pressure) override;
    void extend(QPointF position, double pressure) override;
    void finish(QPointF position, double pressure) override;
    void paintCharacter(QPainter& painter);

    std::vector<QPainterPath> outlines_;
    practice::PracticeMode mode_ = practice::PracticeMode::StrokeByStroke;
    Guides guides_ = Guides::Tian;
    int done_ = 0;
    bool drawing_ = false;
    StrokeInput input_;  // mouse, pen (with its pressure) and the first finger down
    practice::DrawnStroke ink_;
    QElapsedTimer inkClock_;
    practice::DrawnStroke refused_;
    QString reason_;
    double refusedOpacity_ = 0;
    QTimer fade_;
    int hint_ = -1;
    practice::Point hintStart_;
    practice::Point hintTowards_;
    bool hintLit_ = true;
    QTimer flash_;
    std::vector<int> marked_;
    std::vector<QPolygonF> medians_;
    std::vector<double> medianLengths_;
    QElapsedTimer showMeClock_;
    QTimer showMe_;
};

}  // namespace qir::practice_window
