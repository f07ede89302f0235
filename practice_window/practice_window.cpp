// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice_window/practice_window.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "handwriting_pad/handwriting_pad.h"
#include "platform/gb2312.h"

namespace qir::practice_window {

PracticeWindow::PracticeWindow(std::vector<practice::PracticeCharacter> characters,
                               const std::filesystem::path& recordFile, QWidget* parent)
    : QWidget(parent), characters_(std::move(characters)), record_(recordFile) {
    setWindowTitle(tr("Write it yourself"));
    auto* layout = new QVBoxLayout(this);
    character_ = new QLabel(this);
    layout->addWidget(character_);
    box_ = new WritingBox(this);
    layout->addWidget(box_, 1);
    facts_ = new QLabel(this);
    facts_->setWordWrap(true);
    facts_->setTextFormat(Qt::PlainText);
    facts_->hide();
    layout->addWidget(facts_);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, auto slot) {
        auto* push = new QPushButton(text, this);
        connect(push, &QPushButton::clicked, this, slot);
        buttons->addWidget(push);
    };
    button(tr("Show me"), [this] { box_->showMe(); });
    button(tr("Hint"), [this] { showHint(); });
    button(tr("Restart"), [this] { restart(); });
    button(tr("Previous"), [this] { previous(); });
    button(tr("Next"), [this] { next(); });
    layout->addLayout(buttons);
    auto* recordButtons = new QHBoxLayout;
    auto* hardest = new QPushButton(tr("Practise the characters I found hardest"), this);
    connect(hardest, &QPushButton::clicked, this, [this] { practiseHardest(); });
    auto* exportButton = new QPushButton(tr("Export record as CSV…"), this);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(
            this, tr("Export practice record"),
            QDir::homePath() + QStringLiteral("/practice-record.csv"), tr("CSV files (*.csv)"));
        if (!file.isEmpty()) {
            exportRecord(file.toStdString());
        }
    });
    findByDrawing_ = new QPushButton(handwriting_pad::findByDrawingText(), this);
    findByDrawing_->hide();  // until the pad has its sources
    connect(findByDrawing_, &QPushButton::clicked, this, [this] { findByDrawing(); });
    recordButtons->addWidget(findByDrawing_);
    recordButtons->addWidget(hardest);
    recordButtons->addWidget(exportButton);
    layout->addLayout(recordButtons);
    auto* choices = new QHBoxLayout;
    modes_ = new QComboBox(this);
    modes_->addItems({tr("Trace"), tr("Stroke by stroke"), tr("From memory")});
    modes_->setCurrentIndex(1);
    connect(modes_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setMode(static_cast<practice::PracticeMode>(index)); });
    auto* guides = new QComboBox(this);
    guides->addItems({tr("田字格"), tr("米字格")});
    connect(guides, &QComboBox::currentIndexChanged, this,
            [this](int index) { box_->setGuides(index == 0 ? Guides::Tian : Guides::Mi); });
    auto* leniency = new QComboBox(this);
    leniency->addItems({tr("Strict"), tr("Normal"), tr("Gentle")});
    leniency->setCurrentIndex(1);
    connect(leniency, &QComboBox::currentIndexChanged, this,
            [this](int index) { setLeniency(static_cast<practice::Leniency>(index)); });
    choices->addWidget(modes_);
    choices->addWidget(guides);
    choices->addWidget(leniency);
    layout->addLayout(choices);
    status_ = new QLabel(this);
    result_ = new QLabel(this);
    layout->addWidget(status_);
    layout->addWidget(result_);
    connect(box_, &WritingBox::strokeDrawn, this, &PracticeWindow::judge);
    if (const auto problem = record_.takeProblem()) {
        say(tr("Your progress is not being kept: %1.").arg(QString::fromStdString(*problem)));
    }
    start();
}

PracticeWindow::~PracticeWindow() = default;

QString PracticeWindow::heading() const {
    return character_->text();
}

QString PracticeWindow::status() const {
    return status_->text();
}

QString PracticeWindow::result() const {
    return result_->text();
}

void PracticeWindow::say(const QString& text) {
    status_->setText(text);
}

void PracticeWindow::start() {
    if (characters_.empty()) {
        character_->setText(
            tr("No character yet.\nFind one by drawing it, or practise the "
               "characters you found hardest."));
        return;
    }
    const practice::PracticeCharacter& character = characters_[current_];
    session_ = std::make_unique<practice::PracticeSession>(character.medians, leniency_);
    box_->setCharacter(character.outlines, character.medians);
    box_->setMode(mode_);
    const int strokes = session_->strokeCount();
    character_->setText((strokes == 1 ? tr("%1 — %2 stroke") : tr("%1 — %2 strokes"))
                            .arg(gb2312::toUnicode(character.hanzi))
                            .arg(strokes));
    result_->clear();
    const QString facts = factsSource_ ? factsSource_(character.hanzi) : QString();
    facts_->setText(facts);
    facts_->setVisible(!facts.isEmpty());
    clock_.start();
}

void PracticeWindow::setFactsSource(FactsSource source) {
    factsSource_ = std::move(source);
    start();
}

QString PracticeWindow::factsText() const {
    return facts_->text();
}

void PracticeWindow::judge(const practice::DrawnStroke& stroke) {
    if (!session_ || session_->finished()) {
        return;
    }
    const practice::Verdict verdict = session_->draw(stroke);
    if (verdict.right()) {
        box_->setStrokesDone(session_->nextStroke());
        box_->hideHint();
        say(QString());
        if (session_->finished()) {
            finishCharacter();
        }
        return;
    }
    box_->showRefused(stroke, verdictText(verdict, session_->strokeCount()));
    if (session_->hintDue()) {
        showHint();
    }
}

QString PracticeWindow::verdictText(const practice::Verdict& verdict, int strokeCount) {
    // The learner's words for what --judge prints in its own, fixed ones.
    switch (verdict.outcome) {
        case practice::Outcome::Right:
            return tr("right");
        case practice::Outcome::WrongPlace:
            return tr("wrong place");
        case practice::Outcome::WrongShape:
            return tr("wrong shape");
        case practice::Outcome::Backwards:
            return tr("wrong direction: drawn backwards");
        case practice::Outcome::WrongOrder:
            return tr("wrong order: matches stroke %1").arg(verdict.matchedStroke);
        case practice::Outcome::Extra:
            break;
    }
    return (strokeCount == 1 ? tr("wrong: the character has only 1 stroke")
                             : tr("wrong: the character has only %1 strokes"))
        .arg(strokeCount);
}

void PracticeWindow::showHint() {
    if (!session_ || session_->finished()) {
        return;
    }
    const int stroke = session_->nextStroke();
    const practice::Polyline& median =
        characters_[current_].medians[static_cast<std::size_t>(stroke)];
    const practice::Polyline along = practice::resampled(median, 4);
    box_->showHint(stroke, along.front(), along[1]);
}

void PracticeWindow::finishCharacter() {
    const double seconds = clock_.elapsed() / 1000.0;
    QStringList missed;
    for (std::size_t i = 0; i < session_->mistakes().size(); ++i) {
        if (const int count = session_->mistakes()[i]; count > 0) {
            missed << tr("stroke %1: %2").arg(i + 1).arg(count);
        }
    }
    result_->setText(tr("Score: %1 %  Mistakes: %2  Time: %3 s")
                         .arg(session_->scorePercent())
                         .arg(missed.isEmpty() ? tr("none") : missed.join(QStringLiteral(", ")))
                         .arg(seconds, 0, 'f', 1));
    // The character written again, the strokes that went wrong in red.
    box_->markMistakes(session_->mistakes());
    box_->showMe();
    record_.add({characters_[current_].hanzi, QDateTime::currentDateTimeUtc(), mode_, leniency_,
                 session_->scorePercent(), session_->mistakes(), seconds});
    if (const auto problem = record_.takeProblem()) {
        say(tr("Your progress is not being kept: %1.").arg(QString::fromStdString(*problem)));
    }
}

void PracticeWindow::restart() {
    start();
}

void PracticeWindow::previous() {
    if (!characters_.empty()) {
        current_ = (current_ + characters_.size() - 1) % characters_.size();
        start();
    }
}

void PracticeWindow::next() {
    if (!characters_.empty()) {
        current_ = (current_ + 1) % characters_.size();
        start();
    }
}

void PracticeWindow::setMode(practice::PracticeMode mode) {
    mode_ = mode;
    box_->setMode(mode);
    if (modes_->currentIndex() != static_cast<int>(mode)) {
        modes_->setCurrentIndex(static_cast<int>(mode));
    }
}

void PracticeWindow::setLeniency(practice::Leniency leniency) {
    leniency_ = leniency;
    start();
}

void PracticeWindow::practiseHardest() {
    constexpr int kHardest = 20;
    std::vector<practice::PracticeCharacter> hardest;
    if (source_) {
        for (const std::string& hanzi : record_.hardest(kHardest)) {
            if (std::optional<practice::PracticeCharacter> character = source_(hanzi)) {
                hardest.push_back(std::move(*character));
            }
        }
    }
    if (hardest.empty()) {
        say(tr("No character has been hard so far."));
        return;
    }
    characters_ = std::move(hardest);
    current_ = 0;
    say(QString());
    start();
}

void PracticeWindow::setHandwritingSources(handwriting::RecogniserSources sources) {
    handwriting_ = std::move(sources);
    findByDrawing_->show();
}

void PracticeWindow::findByDrawing() {
    if (!handwriting_) {
        return;
    }
    if (pad_ == nullptr) {
        auto* pad = new handwriting_pad::HandwritingPad(*handwriting_, this);
        connect(pad, &handwriting_pad::HandwritingPad::chosen, this, [this](const QString& text) {
            if (const auto hanzi = gb2312::fromUnicode(text)) {
                practise(*hanzi);
            }
        });
        pad_ = pad;
    }
    pad_->show();
    pad_->raise();
    pad_->activateWindow();
}

void PracticeWindow::practise(const std::string& hanzi) {
    std::optional<practice::PracticeCharacter> character = source_ ? source_(hanzi) : std::nullopt;
    if (!character) {
        say(tr("%1 cannot be practised.").arg(gb2312::toUnicode(hanzi)));
        return;
    }
    characters_ = {std::move(*character)};
    current_ = 0;
    say(QString());
    start();
}

void PracticeWindow::exportRecord(const std::filesystem::path& file) {
    try {
        record_.exportCsv(file);
    } catch (const std::exception& error) {
        say(QString::fromStdString(error.what()));
    }
}

}  // namespace qir::practice_window
