// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Write it yourself: the learner writes the characters in turn in a large box; each stroke is
// judged as it is drawn, a hint comes after misses, and each finished character is scored
// and kept in the practice record.

#include <QElapsedTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "handwriting/recogniser.h"
#include "practice/practice_character.h"
#include "practice/practice_record.h"
#include "practice/practice_session.h"
#include "practice_window/writing_box.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qir::practice_window {

class PracticeWindow : public QWidget {
    Q_OBJECT
  public:
    // `characters` are practised in turn; finished ones are kept in the record at `recordFile`.
    PracticeWindow(std::vector<practice::PracticeCharacter> characters,
                   const std::filesystem::path& recordFile, QWidget* parent = nullptr);
    ~PracticeWindow() override;

    void showHint();
    void restart();
    void previous();
    void next();
    void setMode(practice::PracticeMode mode);
    // Where the window finds a character the record names (GB2312 bytes); nothing when the
    // store lacks it. Without it, the hardest characters cannot be practised.
    using CharacterSource =
        std::function<std::optional<practice::PracticeCharacter>(const std::string& hanzi)>;
    void setCharacterSource(CharacterSource source) { source_ = std::move(source); }
    // What the window says of a character under the box (its readings and gloss); an empty
    // text for a character it knows nothing of.
    using FactsSource = std::function<QString(const std::string& hanzi)>;
    void setFactsSource(FactsSource source);
    QString factsText() const;
    // Practises the characters the record finds hardest, in turn; says so when there are none.
    void practiseHardest();
    // Offers the handwriting pad ("Find by drawing…") for picking the character to practise,
    // its recogniser reading `sources`; the pad's choice is practised through the character
    // source.
    void setHandwritingSources(handwriting::RecogniserSources sources);
    // Practises `hanzi` (GB2312 bytes) from the character source; says so when it has none.
    void practise(const std::string& hanzi);
    // Shows the handwriting pad, once the sources are set.
    void findByDrawing();
    // Writes the record as CSV to `file`; a failure is said in the window.
    void exportRecord(const std::filesystem::path& file);
    void setLeniency(practice::Leniency leniency);

    WritingBox& writingBox() { return *box_; }
    const practice::PracticeSession& session() const { return *session_; }
    // The line above the box: the character and its strokes, or how to choose one.
    QString heading() const;
    QString status() const;
    QString result() const;
    practice::PracticeRecord& record() { return record_; }

  private:
    void start();
    void judge(const practice::DrawnStroke& stroke);
    void finishCharacter();
    void say(const QString& text);
    // What the learner reads about a stroke judged wrong (or right).
    static QString verdictText(const practice::Verdict& verdict, int strokeCount);

    std::vector<practice::PracticeCharacter> characters_;
    std::size_t current_ = 0;
    practice::PracticeMode mode_ = practice::PracticeMode::StrokeByStroke;
    practice::Leniency leniency_ = practice::Leniency::Normal;
    std::unique_ptr<practice::PracticeSession> session_;
    practice::PracticeRecord record_;
    QElapsedTimer clock_;
    WritingBox* box_;
    QLabel* character_;
    QLabel* facts_;
    QLabel* status_;
    QLabel* result_;
    QComboBox* modes_;
    CharacterSource source_;
    std::optional<handwriting::RecogniserSources> handwriting_;
    QPushButton* findByDrawing_ = nullptr;
    QWidget* pad_ = nullptr;
    FactsSource factsSource_;
};

}  // namespace qir::practice_window
