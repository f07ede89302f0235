// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Creating table files: the one place that knows the schema of the store's tables.
// The store builder and the tests make their files through it.

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace qir::store {

// The page sizes table files are written with, the engine's default first. The page size of an
// encrypted file cannot be read from it, so a reader tries each.
inline constexpr int kTablePageSizes[] = {1024, 16384};

struct TableLayout {
    const char* fileName;               // "donghua.db"
    int filenameWidth;                  // CHAR(n) of the Filename column
    bool keyed;                         // rows in Filename order (primary key) or in append order
    int pageSize = kTablePageSizes[0];  // one of kTablePageSizes
    // Pages freed by deleted rows go back to the file system at once (the scratch table is
    // emptied for every character shown, and would otherwise keep its largest size).
    bool shrinksWhenEmptied = false;
};

inline constexpr TableLayout kAnimationTable{"donghua.db", 2, true};
// Step pictures of about a kilobyte pack into large pages with little left over; in small
// pages each spills into an overflow page and a seventh of the file is slack.
inline constexpr TableLayout kStrokeTable{"bishun.db", 4, true, kTablePageSizes[1]};
inline constexpr TableLayout kStrokeDisplayTable{"bishunbmp.db", 4, false, kTablePageSizes[1],
                                                 true};
// Each character's strokes in vector form (vector_table.h), keyed by the character. Rows of
// about a kilobyte, like the step pictures, pack best into large pages.
inline constexpr TableLayout kVectorTable{"bishunvec.db", 2, true, kTablePageSizes[1]};
// Each character's readings, gloss, radical and stroke count (character_facts.h), keyed by the
// character. Rows of some sixty bytes fit the small pages.
inline constexpr TableLayout kFactsTable{"bishunzi.db", 2, true};

// The store's built-in password: the key every table file is encrypted with.
inline constexpr const char* kStorePassword = "qir610";

// Writes a new encrypted table file. Rows are added in one transaction; nothing appears under
// `path` until commit(): the file is written under a temporary name and renamed at the end.
class TableFileWriter {
  public:
    TableFileWriter(std::filesystem::path path, const TableLayout& layout,
                    std::string_view password = kStorePassword);
    ~TableFileWriter();
    TableFileWriter(const TableFileWriter&) = delete;
    TableFileWriter& operator=(const TableFileWriter&) = delete;

    // A Filename longer than the layout's width is an EngineError.
    void addRow(std::string_view filename, std::span<const unsigned char> photo);
    // A text kept in the file beside the table (how and when the data was made).
    void setNotice(std::string_view notice);
    void commit();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

struct TableRow {
    std::string filename;
    Bytes photo;
};

// Writes a whole table file in one go (fixtures, tools).
void writeTableFile(const std::filesystem::path& path, const TableLayout& layout,
                    const std::vector<TableRow>& rows, std::string_view password = kStorePassword);

// The notice kept in a table file; "" when it has none. Throws EngineError when the file
// cannot be read with `password`.
std::string readTableNotice(const std::filesystem::path& path,
                            std::string_view password = kStorePassword);

}  // namespace qir::store
