// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reviewed stroke-order corrections: a text file that names, for a character whose strokes
// the data lists in a wrong order, the order to write them in, and for a character whose order
// was looked at and kept, that it was. Each entry carries a one-line reason.
//
//   # comment
//   肠  1 2 3 4 6 5 7  | the 𠃓 comes before the 丿 of 昜
//   右  keep           | the mainland order is 丿 first; the reference writes 一 first
//
// The numbers are the data's strokes (1 = its first) in the order they are to be written.

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/store_builder/character_data.h"

namespace qir::tools {

// A correction file that cannot be used; the message starts with "FILE:LINE: ".
class CorrectionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct OrderCorrection {
    std::string text;        // the character, UTF-8
    std::string key;         // its two GB2312 bytes
    int line = 0;            // where it stands in the file, for messages
    std::vector<int> order;  // the data's stroke indexes (0-based) in writing order; empty: keep
    std::string reason;

    bool reorders() const { return !order.empty(); }
};

class OrderCorrections {
  public:
    OrderCorrections() = default;

    // Parses the file's text. `source` names it in messages. Throws CorrectionError, with the
    // line, for a character that is not one GB2312 Chinese character, a character named twice,
    // an order that is neither "keep" nor stroke numbers, a stroke named twice or left out, an
    // order that leaves every stroke where it was, and a missing reason.
    static OrderCorrections parse(std::string_view text, const std::string& source);
    // Reads and parses a file; an unreadable file is a CorrectionError too.
    static OrderCorrections read(const std::filesystem::path& file);

    const OrderCorrection* find(const std::string& key) const;
    const std::vector<OrderCorrection>& entries() const { return entries_; }
    const std::string& source() const { return source_; }
    // The characters whose strokes are reordered, in file order.
    std::vector<const OrderCorrection*> reorderings() const;

    // Checks every entry against the data folder: the character must have a data file that
    // parses, and an order must name exactly its strokes. Throws CorrectionError with the line.
    void checkAgainst(const std::filesystem::path& dataFolder) const;

  private:
    std::string source_;
    std::vector<OrderCorrection> entries_;
    std::map<std::string, std::size_t> byKey_;
};

// `data` with its strokes (outline and median together) in the order `order` lists them.
// Throws StrokeDataError when `order` is not a permutation of the data's strokes.
CharacterData reorderStrokes(const CharacterData& data, const std::vector<int>& order);

// The same check reorderStrokes makes, as a message; nullopt when `order` fits `strokeCount`.
std::optional<std::string> orderMismatch(const std::vector<int>& order, int strokeCount);

}  // namespace qir::tools
