// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which characters a build covers: all of GB2312's 6,763 Hanzi, or a given list.

#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace qir::tools {

struct CharacterEntry {
    std::string key;  // the two GB2312 bytes, the tables' Filename
    QString text;     // the same character, naming its data file
};

// Every Hanzi of GB2312 (lead bytes 0xB0 to 0xF7), in code order.
std::vector<CharacterEntry> allGb2312Hanzi();

class CharacterListError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The characters of `text` in code order without repeats; blanks and commas separate
// nothing and are skipped. A character that is not a GB2312 Hanzi is a CharacterListError.
std::vector<CharacterEntry> charactersFromText(const QString& text);

}  // namespace qir::tools
