// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the store knows about a character besides its strokes: its readings, meaning, radical
// and stroke count, from Unicode's Unihan database. The store builder writes them into the
// read-only facts table "bishunzi.db"; the program opens it at the first look-up, so that it
// costs nothing at start.

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/table_file.h"

namespace qir::store {

// A field the data lacks stays empty (or absent); nothing stands in for it.
struct CharacterFacts {
    std::vector<std::string> readings;  // pinyin with tone marks (UTF-8), the main one first
    std::string gloss;                  // the English gloss, whole (UTF-8)
    std::string radical;         // the radical as a character (UTF-8): 水, or 长 (simplified)
    std::string radicalVariant;  // its common variant form (氵), or empty when none
    std::optional<int> radicalNumber;     // the Kangxi radical number (85)
    bool simplifiedRadical = false;       // the radical is the simplified form of that number
    std::optional<int> remainingStrokes;  // strokes beyond the radical
    std::optional<int> totalStrokes;

    bool empty() const;
    bool operator==(const CharacterFacts&) const = default;
};

class CharacterFactsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The version of the row encoding below; the first line of every row.
inline constexpr int kCharacterFactsVersion = 1;

// A row's Photo: UTF-8 text, one field a line in the order of CharacterFacts after the version.
std::string encodeCharacterFacts(const CharacterFacts& facts);
// Throws CharacterFactsError for a row of another version, of too few lines or a bad number.
CharacterFacts decodeCharacterFacts(std::string_view row);

// The radical with its variant in parentheses: "水 (氵)", "长"; empty when unknown.
QString radicalText(const CharacterFacts& facts);

// The one-line summary: "永 yǒng — long, perpetual · 部首 水 (氵) · 5画", each part left out
// when its field is empty; empty when the facts hold nothing. `character` is the character
// itself (Unicode).
QString factsLine(const QString& character, const CharacterFacts& facts);

// The readings, the main one first, and the gloss: "yǒng — long, perpetual, eternal, forever";
// empty when the facts have neither.
QString readingsAndGloss(const CharacterFacts& facts);

class ReadOnlyTable;

class FactsTable {
  public:
    // `folder` holds the table file; nothing is opened yet.
    explicit FactsTable(std::filesystem::path folder, std::string password = kStorePassword);
    ~FactsTable();
    FactsTable(const FactsTable&) = delete;
    FactsTable& operator=(const FactsTable&) = delete;

    // The facts of `hanzi` (GB2312 bytes; surrounding blanks ignored), or nothing when the
    // table holds no row for it. Opens the file first; a failed open is tried again at the next
    // call. Throws EngineError: "Cannot open table bishunzi.db: ..." or "Cannot read table
    // bishunzi.db: ..." as VectorTable does.
    std::optional<CharacterFacts> find(std::string_view hanzi);

    bool isOpen() const;

  private:
    std::unique_ptr<ReadOnlyTable> table_;
};

}  // namespace qir::store
