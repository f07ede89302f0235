// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The handwriting pad: a small tool window to find a character by drawing it. A square pad
// with 田字格 guides, Undo and Clear, and the ten best candidates as large buttons in the Kai
// font, updated after every stroke. Choosing one (a click, or its number key: 1 to 9, 0 for the
// tenth) hands it on and clears the pad for the next.

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <vector>

#include "handwriting/recogniser.h"
#include "handwriting_pad/drawing_pad.h"

namespace qir::handwriting_pad {

// The menu entry that opens the pad, in the user's language.
QString findByDrawingText();
inline const QKeySequence kFindByDrawingKey = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D);

class HandwritingPad : public QWidget {
    Q_OBJECT
  public:
    // Reads nothing yet: the matcher is built on a thread of its own once the pad shows.
    explicit HandwritingPad(handwriting::RecogniserSources sources, QWidget* parent = nullptr);

    DrawingPad& pad() { return *pad_; }
    // The candidate buttons, best first; those without a candidate are hidden.
    const std::vector<QPushButton*>& candidateButtons() const { return buttons_; }
    const handwriting::Candidates& candidates() const { return recogniser_.candidates(); }
    // What the pad says of a source that failed; empty when all is well.
    QString problemText() const { return problem_->text(); }
    // What the pad says while the characters to compare with are being prepared; empty
    // otherwise.
    QString preparingText() const { return preparing_->text(); }
    // The characters to compare with are still being prepared.
    bool preparing() const { return recogniser_.preparing(); }

    // Draws `stroke` as if drawn on the pad (box side 1, y down).
    void addStroke(const handwriting::Polyline& stroke);
    void undo();
    void clear();
    // Hands on the candidate at `index` (from 0), if there is one, and clears the pad.
    void choose(std::size_t index);

  signals:
    // The chosen character, as text.
    void chosen(const QString& character);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showCandidates();

    handwriting::Recogniser recogniser_;
    DrawingPad* pad_;
    QLabel* problem_;
    QLabel* preparing_;
    // Looks whether the templates are ready while a stroke waits for them.
    QTimer* preparingCheck_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace qir::handwriting_pad
