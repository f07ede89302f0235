// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The learner's practice record: every finished character with its date, mode, leniency,
// score and mistakes per stroke, in a plain SQLite database of its own in the working folder
// (not a table file of the store). Each character is written in one transaction, so a kill at
// any moment leaves the record as it was before or after it.
//
// A record that cannot be kept (damaged, locked by another instance, read-only) never stops
// practice: the record stops keeping, says why once, and leaves the file as it found it.

#include <QDateTime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "practice/stroke_judge.h"

namespace qir::practice {

inline constexpr const char* kPracticeRecordFile = "practice-record.sqlite";

enum class PracticeMode { Trace, StrokeByStroke, FromMemory };

struct PracticeAttempt {
    std::string hanzi;  // GB2312 bytes
    QDateTime finished;
    PracticeMode mode = PracticeMode::Trace;
    Leniency leniency = Leniency::Normal;
    int scorePercent = 0;
    std::vector<int> mistakes;  // per stroke, in writing order
    double seconds = 0;
};

// "trace", "stroke by stroke", "from memory"; "strict", "normal", "gentle".
std::string modeName(PracticeMode mode);
std::string leniencyName(Leniency leniency);

class PracticeRecord {
  public:
    // Opens `file`, creating it when it does not exist. Never throws: a record that cannot be
    // opened is not kept (see problem()).
    explicit PracticeRecord(std::filesystem::path file);
    ~PracticeRecord();
    PracticeRecord(const PracticeRecord&) = delete;
    PracticeRecord& operator=(const PracticeRecord&) = delete;

    bool keeping() const;
    // Why progress is not being kept, the first time it is asked after the record stopped;
    // nothing afterwards, so the learner is told once.
    std::optional<std::string> takeProblem();

    // Adds one finished character in one transaction. A failure stops the keeping.
    void add(const PracticeAttempt& attempt);

    // Every attempt, oldest first.
    std::vector<PracticeAttempt> attempts() const;

    // The characters with the most mistakes over their last `lastAttempts` attempts, most
    // first, at most `count`; characters without a mistake there are left out.
    std::vector<std::string> hardest(int count, int lastAttempts = 5) const;

    // The record as CSV: a header line, then one line an attempt, oldest first, the character
    // in UTF-8 and the date in ISO 8601.
    std::string csv() const;
    // Writes csv() to `file`, replacing it whole. Throws Error "Cannot create file ...".
    void exportCsv(const std::filesystem::path& file) const;

    const std::filesystem::path& file() const { return file_; }

  private:
    void stopKeeping(const std::string& why);

    struct Impl;
    std::filesystem::path file_;
    std::unique_ptr<Impl> impl_;
    std::string problem_;
    bool problemTold_ = false;
};

}  // namespace qir::practice
