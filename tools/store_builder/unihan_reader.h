// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the facts of the store's characters from Unicode's Unihan database as Debian's
// unicode-data package ships it (/usr/share/unicode): readings, gloss, radical and stroke count.

#ifndef QIR_STORE_BUILDER_INTERNALS
#error "tools/store_builder/unihan_reader.h is private to its folder"
#endif

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "store/character_facts.h"

namespace qir::tools {

// Where Debian's unicode-data package puts the files.
inline constexpr const char* kDebianUnicodeFolder = "/usr/share/unicode";

// The files read, inside the folder. The Unihan files are bzip2-compressed as Debian ships them.
inline constexpr const char* kUnihanReadingsFile = "Unihan_Readings.txt.bz2";
inline constexpr const char* kUnihanStrokesFile = "Unihan_IRGSources.txt.bz2";
inline constexpr const char* kRadicalsFile = "CJKRadicals.txt";
inline constexpr const char* kEquivalentIdeographsFile = "EquivalentUnifiedIdeograph.txt";

// A file that is missing, unreadable or malformed: the message names the file, and the line.
class UnihanError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct UnihanFacts {
    std::string unicodeVersion;                       // "15.0.0", from the readings file
    std::map<char32_t, store::CharacterFacts> facts;  // of the wanted characters Unihan knows
};

// The facts of `wanted` (code points). Every line of the files is checked, and the values of
// the fields used; the first fault throws UnihanError.
UnihanFacts readUnihan(const std::filesystem::path& folder, const std::set<char32_t>& wanted);

// A file's text, decompressed when its name ends in ".bz2". Throws UnihanError naming it.
std::string readUnicodeDataFile(const std::filesystem::path& file);

}  // namespace qir::tools
