// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_record.h"

#include <QCoreApplication>
#include <sstream>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/gb2312.h"
#include "practice/sqlite_handle.h"

namespace qir::practice {
namespace {

constexpr const char* kTextContext = "qir::practice::PracticeRecord";
// What the record could not be, as its failures say it.
[[maybe_unused]] constexpr const char* kDoings[] = {
    QT_TRANSLATE_NOOP("qir::practice::PracticeRecord", "opened"),
    QT_TRANSLATE_NOOP("qir::practice::PracticeRecord", "read"),
    QT_TRANSLATE_NOOP("qir::practice::PracticeRecord", "written")};

// The layout of the record; a file of a later one is left alone.
constexpr int kRecordVersion = 1;
// How long a write waits for another instance that is writing.
constexpr int kBusyMilliseconds = 500;

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS attempt(
    id INTEGER PRIMARY KEY,
    character TEXT NOT NULL,
    finished TEXT NOT NULL,
    mode TEXT NOT NULL,
    leniency TEXT NOT NULL,
    score INTEGER NOT NULL,
    seconds REAL NOT NULL,
    mistakes TEXT NOT NULL,
    total_mistakes INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS attempt_by_character ON attempt(character, id);
PRAGMA user_version = 1;
)";

// A failure of the engine, said as the reason the record is not kept.
class RecordError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string mistakesText(const std::vector<int>& mistakes) {
    std::string text;
    for (const int count : mistakes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(count);
    }
    return text;
}

std::vector<int> mistakesOf(const std::string& text) {
    std::vector<int> mistakes;
    std::istringstream in(text);
    int count = 0;
    while (in >> count) {
        mistakes.push_back(count);
    }
    return mistakes;
}

std::string csvField(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string textColumn(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text == nullptr ? std::string() : std::string(text);
}

template <typename Value, typename Name>
Value parsedName(const std::string& text, Name name, std::initializer_list<Value> values,
                 Value fallback) {
    for (const Value value : values) {
        if (name(value) == text) {
            return value;
        }
    }
    return fallback;
}

}  // namespace

std::string modeName(PracticeMode mode) {
    switch (mode) {
        case PracticeMode::StrokeByStroke:
            return "stroke by stroke";
        case PracticeMode::FromMemory:
            return "from memory";
        case PracticeMode::Trace:
            break;
    }
    return "trace";
}

std::string leniencyName(Leniency leniency) {
    switch (leniency) {
        case Leniency::Strict:
            return "strict";
        case Leniency::Gentle:
            return "gentle";
        case Leniency::Normal:
            break;
    }
    return "normal";
}

struct PracticeRecord::Impl {
    sql::Connection connection;
    std::string name;  // the file, for messages

    // The reasons the learner reads, in the learner's language.
    std::string said(const char* text) const {
        return QCoreApplication::translate(kTextContext, text)
            .arg(QString::fromStdString(name))
            .toStdString();
    }

    // Throws RecordError: "damaged", "in use", or the engine's own words. `doing` is one of
    // kDoings.
    [[noreturn]] void fail(int code, const char* doing) const {
        const int primary = code & 0xFF;
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
            throw RecordError(said(QT_TRANSLATE_NOOP("qir::practice::PracticeRecord",
                                                     "the practice record %1 is damaged")));
        }
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
            throw RecordError(
                said(QT_TRANSLATE_NOOP("qir::practice::PracticeRecord",
                                       "the practice record %1 is in use by another instance "
                                       "of the program")));
        }
        if (primary == SQLITE_READONLY) {
            throw RecordError(said(QT_TRANSLATE_NOOP("qir::practice::PracticeRecord",
                                                     "the practice record %1 is read-only")));
        }
        throw RecordError(QCoreApplication::translate("qir::practice::PracticeRecord",
                                                      "the practice record %1 cannot be %2: %3")
                              .arg(QString::fromStdString(name),
                                   QCoreApplication::translate(kTextContext, doing),
                                   QString::fromUtf8(sqlite3_errmsg(connection.get())))
                              .toStdString());
    }

    void exec(const char* statements, const char* doing) const {
        if (const int code = sqlite3_exec(connection.get(), statements, nullptr, nullptr, nullptr);
            code != SQLITE_OK) {
            fail(code, doing);
        }
    }

    sql::Statement prepare(const char* text, const char* doing) const {
        sqlite3_stmt* statement = nullptr;
        if (const int code = sqlite3_prepare_v2(connection.get(), text, -1, &statement, nullptr);
            code != SQLITE_OK) {
            sqlite3_finalize(statement);
            fail(code, doing);
        }
        return sql::Statement(statement);
    }

    // Calls `row(statement)` for each row.
    template <typename Row>
    void each(sqlite3_stmt* statement, const char* doing, Row row) const {
        for (;;) {
            const int code = sqlite3_step(statement);
            if (code == SQLITE_DONE) {
                return;
            }
            if (code != SQLITE_ROW) {
                fail(code, doing);
            }
            row(statement);
        }
    }

    int singleInteger(const char* text, const char* doing) const {
        const sql::Statement statement = prepare(text, doing);
        int value = 0;
        each(statement.get(), doing, [&](sqlite3_stmt* s) { value = sqlite3_column_int(s, 0); });
        return value;
    }
};

PracticeRecord::PracticeRecord(std::filesystem::path file) : file_(std::move(file)) {
    auto impl = std::make_unique<Impl>();
    impl->name = file_.filename().string();
    sqlite3* handle = nullptr;
    const int opened = sqlite3_open_v2(file_.c_str(), &handle,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    impl->connection.reset(handle);
    try {
        if (opened != SQLITE_OK) {
            impl->fail(opened, "opened");
        }
        sqlite3_busy_timeout(handle, kBusyMilliseconds);
        if (sqlite3_db_readonly(handle, "main") == 1) {
            throw RecordError(impl->said(QT_TRANSLATE_NOOP("qir::practice::PracticeRecord",
                                                           "the practice record %1 is read-only")));
        }
        // A damaged file is left as it is, for the learner or a repair tool to look at.
        const sql::Statement check = impl->prepare("PRAGMA quick_check", "read");
        std::string verdict;
        impl->each(check.get(), "read", [&](sqlite3_stmt* s) {
            if (verdict.empty()) {
                verdict = textColumn(s, 0);
            }
        });
        if (verdict != "ok") {
            throw RecordError(impl->said(QT_TRANSLATE_NOOP("qir::practice::PracticeRecord",
                                                           "the practice record %1 is damaged")));
        }
        if (impl->singleInteger("PRAGMA user_version", "read") > kRecordVersion) {
            throw RecordError(impl->said(
                QT_TRANSLATE_NOOP("qir::practice::PracticeRecord",
                                  "the practice record %1 was written by a later version of the "
                                  "program")));
        }
        impl->exec("PRAGMA synchronous = FULL", "opened");
        impl->exec("BEGIN IMMEDIATE", "written");
        try {
            impl->exec(kSchema, "written");
            impl->exec("COMMIT", "written");
        } catch (const RecordError&) {
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        impl_ = std::move(impl);
    } catch (const RecordError& error) {
        problem_ = error.what();
    }
}

PracticeRecord::~PracticeRecord() = default;

bool PracticeRecord::keeping() const {
    return impl_ != nullptr;
}

std::optional<std::string> PracticeRecord::takeProblem() {
    if (keeping() || problemTold_) {
        return std::nullopt;
    }
    problemTold_ = true;
    return problem_;
}

void PracticeRecord::stopKeeping(const std::string& why) {
    impl_.reset();
    problem_ = why;
}

void PracticeRecord::add(const PracticeAttempt& attempt) {
    if (!keeping()) {
        return;
    }
    try {
        const sql::Statement insert = impl_->prepare(
            "INSERT INTO attempt(character, finished, mode, leniency, score, seconds, mistakes, "
            "total_mistakes) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
            "written");
        const std::string character = gb2312::toUnicode(attempt.hanzi).toStdString();
        const std::string finished = attempt.finished.toUTC().toString(Qt::ISODate).toStdString();
        const std::string mistakes = mistakesText(attempt.mistakes);
        int total = 0;
        for (const int count : attempt.mistakes) {
            total += count;
        }
        sqlite3_stmt* s = insert.get();
        sqlite3_bind_text(s, 1, character.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, finished.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, modeName(attempt.mode).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 4, leniencyName(attempt.leniency).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 5, attempt.scorePercent);
        sqlite3_bind_double(s, 6, attempt.seconds);
        sqlite3_bind_text(s, 7, mistakes.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 8, total);
        // One statement is one transaction: the row is there whole or not at all.
        impl_->each(s, "written", [](sqlite3_stmt*) {});
    } catch (const RecordError& error) {
        stopKeeping(error.what());
    }
}

std::vector<PracticeAttempt> PracticeRecord::attempts() const {
    std::vector<PracticeAttempt> result;
    if (!keeping()) {
        return result;
    }
    try {
        const sql::Statement select = impl_->prepare(
            "SELECT character, finished, mode, leniency, score, seconds, mistakes FROM attempt "
            "ORDER BY id",
            "read");
        impl_->each(select.get(), "read", [&](sqlite3_stmt* s) {
            PracticeAttempt attempt;
            attempt.hanzi =
                gb2312::fromUnicode(QString::fromStdString(textColumn(s, 0))).value_or("");
            attempt.finished =
                QDateTime::fromString(QString::fromStdString(textColumn(s, 1)), Qt::ISODate);
            attempt.mode = parsedName(
                textColumn(s, 2), modeName,
                {PracticeMode::Trace, PracticeMode::StrokeByStroke, PracticeMode::FromMemory},
                PracticeMode::Trace);
            attempt.leniency = parsedName(textColumn(s, 3), leniencyName,
                                          {Leniency::Strict, Leniency::Normal, Leniency::Gentle},
                                          Leniency::Normal);
            attempt.scorePercent = sqlite3_column_int(s, 4);
            attempt.seconds = sqlite3_column_double(s, 5);
            attempt.mistakes = mistakesOf(textColumn(s, 6));
            result.push_back(std::move(attempt));
        });
    } catch (const RecordError&) {
        result.clear();
    }
    return result;
}

std::vector<std::string> PracticeRecord::hardest(int count, int lastAttempts) const {
    std::vector<std::string> result;
    if (!keeping()) {
        return result;
    }
    try {
        const sql::Statement select = impl_->prepare(
            // The engine predates window functions: an attempt is among its character's last
            // ones when fewer than that many came after it.
            "SELECT a.character, SUM(a.total_mistakes) AS counted, MAX(a.id) AS latest"
            " FROM attempt AS a WHERE (SELECT COUNT(*) FROM attempt AS b"
            "   WHERE b.character = a.character AND b.id > a.id) < ?1"
            " GROUP BY a.character HAVING counted > 0 ORDER BY counted DESC, latest DESC LIMIT ?2",
            "read");
        sqlite3_bind_int(select.get(), 1, lastAttempts);
        sqlite3_bind_int(select.get(), 2, count);
        impl_->each(select.get(), "read", [&](sqlite3_stmt* s) {
            if (auto bytes = gb2312::fromUnicode(QString::fromStdString(textColumn(s, 0)))) {
                result.push_back(std::move(*bytes));
            }
        });
    } catch (const RecordError&) {
        result.clear();
    }
    return result;
}

std::string PracticeRecord::csv() const {
    std::string text = "finished,character,mode,leniency,score,seconds,mistakes per stroke\r\n";
    for (const PracticeAttempt& attempt : attempts()) {
        std::ostringstream seconds;
        seconds.precision(1);
        seconds << std::fixed << attempt.seconds;
        text += csvField(attempt.finished.toUTC().toString(Qt::ISODate).toStdString()) + "," +
                csvField(gb2312::toUnicode(attempt.hanzi).toStdString()) + "," +
                csvField(modeName(attempt.mode)) + "," + leniencyName(attempt.leniency) + "," +
                std::to_string(attempt.scorePercent) + "," + seconds.str() + "," +
                csvField(mistakesText(attempt.mistakes)) + "\r\n";
    }
    return text;
}

void PracticeRecord::exportCsv(const std::filesystem::path& file) const {
    const std::string text = csv();
    AtomicFile out(file, AtomicFile::Existing::Replace);
    out.device().write(text.data(), static_cast<qint64>(text.size()));
    out.commit();
}

}  // namespace qir::practice
