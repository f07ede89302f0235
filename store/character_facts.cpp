// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/character_facts.h"

#include <QCoreApplication>
#include <QStringList>
#include <charconv>

#include "platform/gb2312.h"
#include "store/read_only_table.h"
#include "store/sqlite.h"

namespace qir::store {
namespace {

constexpr std::size_t kFieldCount = 8;  // the version and the seven fields

std::string numberText(const std::optional<int>& number) {
    return number ? std::to_string(*number) : std::string();
}

std::optional<int> numberOf(std::string_view text, const char* field) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw CharacterFactsError(std::string("the ") + field + " is not a number");
    }
    return value;
}

std::vector<std::string_view> linesOf(std::string_view row) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = row.find('\n');
        lines.push_back(row.substr(0, end));
        if (end == std::string_view::npos) {
            return lines;
        }
        row.remove_prefix(end + 1);
    }
}

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool CharacterFacts::empty() const {
    return readings.empty() && gloss.empty() && radical.empty() && !totalStrokes;
}

std::string encodeCharacterFacts(const CharacterFacts& facts) {
    std::string readings;
    for (const std::string& reading : facts.readings) {
        readings += (readings.empty() ? "" : " ") + reading;
    }
    std::string radicalNumber = numberText(facts.radicalNumber);
    if (facts.radicalNumber && facts.simplifiedRadical) {
        radicalNumber += '\'';
    }
    return std::to_string(kCharacterFactsVersion) + '\n' + readings + '\n' + facts.gloss + '\n' +
           facts.radical + '\n' + facts.radicalVariant + '\n' + radicalNumber + '\n' +
           numberText(facts.remainingStrokes) + '\n' + numberText(facts.totalStrokes);
}

CharacterFacts decodeCharacterFacts(std::string_view row) {
    const std::vector<std::string_view> lines = linesOf(row);
    if (lines.front() != std::to_string(kCharacterFactsVersion)) {
        throw CharacterFactsError("the row is not of version " +
                                  std::to_string(kCharacterFactsVersion));
    }
    if (lines.size() != kFieldCount) {
        throw CharacterFactsError("the row has " + std::to_string(lines.size()) + " lines, not " +
                                  std::to_string(kFieldCount));
    }
    CharacterFacts facts;
    for (std::string_view rest = lines[1]; !rest.empty();) {
        const std::size_t end = rest.find(' ');
        facts.readings.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    facts.gloss = lines[2];
    facts.radical = lines[3];
    facts.radicalVariant = lines[4];
    std::string_view number = lines[5];
    if (number.ends_with('\'')) {
        facts.simplifiedRadical = true;
        number.remove_suffix(1);
    }
    facts.radicalNumber = numberOf(number, "radical number");
    facts.remainingStrokes = numberOf(lines[6], "remaining stroke count");
    facts.totalStrokes = numberOf(lines[7], "stroke count");
    return facts;
}

QString radicalText(const CharacterFacts& facts) {
    if (facts.radical.empty()) {
        return {};
    }
    QString text = utf8(facts.radical);
    if (!facts.radicalVariant.empty()) {
        text += QStringLiteral(" (") + utf8(facts.radicalVariant) + QLatin1Char(')');
    }
    return text;
}

QString readingsAndGloss(const CharacterFacts& facts) {
    QStringList readings;
    for (const std::string& reading : facts.readings) {
        readings << utf8(reading);
    }
    QString text = readings.join(QStringLiteral(", "));
    if (!facts.gloss.empty()) {
        text += (text.isEmpty() ? QString() : QStringLiteral(" — ")) + utf8(facts.gloss);
    }
    return text;
}

QString factsLine(const QString& character, const CharacterFacts& facts) {
    if (facts.empty()) {
        return {};
    }
    QString line = character;
    if (const QString readings = readingsAndGloss(facts); !readings.isEmpty()) {
        line += (facts.readings.empty() ? QStringLiteral(" — ") : QStringLiteral(" ")) + readings;
    }
    QStringList parts;
    if (!facts.radical.empty()) {
        // Chinese terms in every language, as a learner meets them; a translation may explain.
        parts << QCoreApplication::translate("qir::store::CharacterFacts", "部首 %1")
                     .arg(radicalText(facts));
    }
    if (facts.totalStrokes) {
        parts << QCoreApplication::translate("qir::store::CharacterFacts", "%1画")
                     .arg(*facts.totalStrokes);
    }
    for (const QString& part : parts) {
        line += QStringLiteral(" · ") + part;
    }
    return line;
}

FactsTable::FactsTable(std::filesystem::path folder, std::string password)
    : table_(std::make_unique<ReadOnlyTable>(std::move(folder), kFactsTable, std::move(password))) {
}

FactsTable::~FactsTable() = default;

bool FactsTable::isOpen() const {
    return table_->isOpen();
}

std::optional<CharacterFacts> FactsTable::find(std::string_view hanzi) {
    const std::string_view key = gb2312::trimmed(hanzi);
    const std::optional<std::string> row = table_->find(key);
    if (!row) {
        return std::nullopt;
    }
    try {
        return decodeCharacterFacts(*row);
    } catch (const CharacterFactsError& e) {
        sql::fail("Cannot read table", kFactsTable.fileName,
                  "the facts of " + gb2312::toUnicode(key).toStdString() + " are damaged (" +
                      e.what() + ")");
    }
}

}  // namespace qir::store
