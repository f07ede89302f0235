// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting_pad/handwriting_pad.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "desktop/fonts.h"
#include "platform/errors.h"
#include "platform/gb2312.h"

namespace qir::handwriting_pad {
namespace {

constexpr int kButtonsPerRow = 5;
constexpr int kCandidatePixels = 32;

}  // namespace

QString findByDrawingText() {
    return HandwritingPad::tr("Find by drawing…");
}

HandwritingPad::HandwritingPad(handwriting::RecogniserSources sources, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      recogniser_(std::move(sources)),
      pad_(new DrawingPad(this)),
      problem_(new QLabel(this)),
      preparing_(new QLabel(this)),
      preparingCheck_(new QTimer(this)) {
    setWindowTitle(tr("Find by drawing"));
    // The first strokes after the pad opens must not freeze it while the templates are built.
    recogniser_.setWaitsForTemplates(false);
    preparingCheck_->setInterval(50);
    connect(preparingCheck_, &QTimer::timeout, this, [this] {
        if (!recogniser_.preparing()) {
            preparingCheck_->stop();
            recogniser_.refresh();
            showCandidates();
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pad_, 1);
    auto* controls = new QHBoxLayout;
    auto* undoButton = new QPushButton(tr("Undo last stroke"), this);
    auto* clearButton = new QPushButton(tr("Clear"), this);
    controls->addWidget(undoButton);
    controls->addWidget(clearButton);
    controls->addStretch();
    layout->addLayout(controls);
    auto* grid = new QGridLayout;
    QFont kai = kaitiFont();
    kai.setPixelSize(kCandidatePixels);
    for (std::size_t i = 0; i < handwriting::kCandidatesShown; ++i) {
        auto* button = new QPushButton(this);
        button->setFont(kai);
        button->setMinimumSize(kCandidatePixels + 16, kCandidatePixels + 16);
        button->setFocusPolicy(Qt::NoFocus);  // the pad keeps the keyboard away from them
        const int index = static_cast<int>(i);
        grid->addWidget(button, index / kButtonsPerRow, index % kButtonsPerRow);
        button->setToolTip(tr("Key %1").arg((i + 1) % 10));
        connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
        buttons_.push_back(button);
    }
    layout->addLayout(grid);
    problem_->setWordWrap(true);
    problem_->hide();
    layout->addWidget(problem_);
    preparing_->hide();
    layout->addWidget(preparing_);
    connect(pad_, &DrawingPad::strokeDrawn, this, &HandwritingPad::addStroke);
    connect(undoButton, &QPushButton::clicked, this, &HandwritingPad::undo);
    connect(clearButton, &QPushButton::clicked, this, &HandwritingPad::clear);
    showCandidates();
}

void HandwritingPad::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    recogniser_.prepare();
}

void HandwritingPad::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier && key >= Qt::Key_0 && key <= Qt::Key_9) {
        choose(key == Qt::Key_0 ? 9 : static_cast<std::size_t>(key - Qt::Key_1));
        return;
    }
    QWidget::keyPressEvent(event);
}

void HandwritingPad::choose(std::size_t index) {
    if (index >= recogniser_.candidates().size()) {
        return;
    }
    const QString character = gb2312::toUnicode(recogniser_.candidates()[index].hanzi);
    clear();
    emit chosen(character);
}

void HandwritingPad::addStroke(const handwriting::Polyline& stroke) {
    recogniser_.addStroke(stroke);
    showCandidates();
}

void HandwritingPad::undo() {
    recogniser_.undo();
    showCandidates();
}

void HandwritingPad::clear() {
    recogniser_.clear();
    showCandidates();
}

void HandwritingPad::showCandidates() {
    pad_->setInk(recogniser_.ink());
    const handwriting::Candidates& candidates = recogniser_.candidates();
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        QPushButton* button = buttons_[i];
        if (i < candidates.size()) {
            button->setText(gb2312::toUnicode(candidates[i].hanzi));
            button->setEnabled(true);
        } else {
            button->setText({});
            button->setEnabled(false);
        }
    }
    QStringList problems;
    for (const std::string& problem : recogniser_.problems()) {
        problems << QString::fromStdString(withFullStop(problem));
    }
    problem_->setText(problems.join(QLatin1Char('\n')));
    problem_->setVisible(!problems.isEmpty());
    if (recogniser_.pending()) {
        preparing_->setText(tr("Preparing the characters to compare with…"));
        preparingCheck_->start();
    } else {
        preparing_->clear();
        preparingCheck_->stop();
    }
    preparing_->setVisible(recogniser_.pending());
}

}  // namespace qir::handwriting_pad
