// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds the character store's table files from the stroke data package: the animation
// table, the stroke table, an empty stroke display table and the vector table of the strokes,
// with the data's licence beside them; and, from Unicode's Unihan database, the facts table of
// the characters' readings, meaning, radical and stroke count.

#include <QString>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/store_builder/character_builder.h"
#include "tools/store_builder/character_set.h"
#include "tools/store_builder/order_corrections.h"

namespace qir::tools {

// A build that cannot produce a sensible store; nothing under the real names has changed.
class BuildFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kLicenceFile = "ARPHICPL.TXT";

struct StoreBuildOptions {
    std::filesystem::path dataFolder;    // the data package: package.json, ARPHICPL.TXT, *.json
    std::filesystem::path outputFolder;  // where the table files and the licence go
    std::filesystem::path corrections;   // the reviewed stroke-order corrections; empty: none
    // The Unicode data folder (CJKRadicals.txt, Unihan_*.txt.bz2) the facts table is made
    // from; empty: no facts table.
    std::filesystem::path unicodeFolder;
    std::optional<std::vector<CharacterEntry>> characters;  // all of GB2312 when absent
    int workers = 0;                                        // rendering threads; 0: one per core
    std::FILE* log = stderr;  // progress and messages; nullptr for none
    RenderSettings render;
};

struct SkippedCharacter {
    QString text;
    std::string reason;
};

// A character whose stroke count in Unihan (kTotalStrokes) is not the stroke data's.
struct StrokeCountDisagreement {
    QString text;
    int unihan = 0;
    int data = 0;
};

struct FactsSummary {
    std::string unicodeVersion;
    int withReading = 0;
    int withGloss = 0;
    int withRadical = 0;
    int withStrokeCount = 0;
    std::vector<StrokeCountDisagreement> disagreements;  // in key order
    double seconds = 0;                                  // reading the Unicode data
};

struct StoreBuildSummary {
    std::string dataVersion;
    int requested = 0;
    int built = 0;
    std::vector<SkippedCharacter> skipped;
    std::vector<std::pair<std::string, int>> strokeCounts;  // key, strokes; in key order
    std::size_t clipCount = 0;
    std::size_t pictureCount = 0;
    std::uint64_t clipBytes = 0;
    std::uint64_t pictureBytes = 0;
    std::vector<std::pair<std::string, std::uintmax_t>> files;  // name, size on disk
    std::optional<FactsSummary> facts;                          // when a facts table was made
    double seconds = 0;
};

// The version of the data package in `dataFolder`. Throws BuildFailure when the folder or
// its package.json is missing or unreadable.
std::string dataPackageVersion(const std::filesystem::path& dataFolder);

// The notice kept in every table file: what the data is, how and from which version it was
// converted, and which characters' strokes were reordered (the data's licence asks that changes
// be marked). It holds no clock time, so that the same input gives the same files.
std::string conversionNotice(const std::string& dataVersion,
                             const std::vector<std::string>& reordered = {});

// Reads the correction file and checks it against the data folder. Throws BuildFailure, naming
// the file and line, for a file that cannot be used.
OrderCorrections loadCorrections(const std::filesystem::path& file,
                                 const std::filesystem::path& dataFolder);

// The facts table's notice: where the facts come from, the Unicode version and its licence.
std::string factsTableNotice(const std::string& unicodeVersion);

// Renders every character on worker threads and writes the tables in key order, each with its
// strokes in the corrected order; the Unicode data is read meanwhile on a thread of its own. A
// correction file that cannot be used stops the build before anything is written; Unicode data
// files that are missing or malformed (named with the line) stop it as soon as they are read,
// and no table takes its real name. The facts' stroke counts are checked against the data's; each
// disagreement is reported in the summary, and the facts keep Unihan's count. Characters whose data
// cannot be used are skipped and listed in the summary. The files are made in a scratch folder
// inside `outputFolder` and moved to their real names only when all are complete. Throws
// BuildFailure when the data folder is unusable or no character was built.
StoreBuildSummary buildStore(const StoreBuildOptions& options);

}  // namespace qir::tools
