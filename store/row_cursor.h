// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where an open data set's rows come from, a table file or a query's result, and what can be
// done to them there. A data set makes a cursor at each open and drops it at close; the data
// set keeps the rows, the cursor reads and writes them.

#ifndef QIR_STORE_INTERNALS
#error "store/row_cursor.h is private to its folder"
#endif

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/session.h"

namespace qir::store {

struct Column {
    std::string name;
    int width = 0;  // bytes; 0 when the declared type gives none
    bool blob = false;
};

struct Cell {
    std::string bytes;
    bool null = true;
    bool loaded = true;     // a table's blobs are read when first asked for
    bool dirty = false;     // set since Append/Insert/Edit
    bool windowed = false;  // a query's blob fetched again, dropped at the next fetch
};

struct Row {
    std::int64_t rowid = 0;
    std::vector<Cell> cells;
};

struct RowSet {
    std::vector<Column> columns;
    std::vector<Row> rows;
};

// Table and field names match without regard to case.
bool sameNameAnyCase(std::string_view a, std::string_view b);

class RowCursor {
  public:
    // `fileNames` names the table files in messages until the cursor finds them.
    RowCursor(Database& database, std::string fileNames)
        : database_(database), fileNames_(std::move(fileNames)) {}
    virtual ~RowCursor() = default;
    RowCursor(const RowCursor&) = delete;
    RowCursor& operator=(const RowCursor&) = delete;

    // Reads the columns and the rows, leaving out blobs that are fetched when asked for.
    // Throws EngineError.
    virtual void read(RowSet& set) = 0;
    // Fetches cell `column` of row `index`, which was left out; throws EngineError when it
    // cannot be had.
    virtual void fetch(RowSet& set, int index, int column) = 0;

    // Whether the rows may be changed at all; the calls below only on such a cursor.
    virtual bool writable() const = 0;
    // Stores row `index`, being inserted or edited; gives its row id.
    virtual std::int64_t store(RowSet& set, int index, bool inserting) = 0;
    virtual void remove(const Row& row) = 0;
    // Reads the rows again, in their order, after a change; they stay as they were when this
    // fails.
    virtual void refresh(RowSet& set) = 0;

    // The table files the rows come from, joined for messages ("donghua.db").
    const std::string& fileNames() const { return fileNames_; }
    [[noreturn]] void fail(std::string_view action, std::string_view cause) const;
    [[noreturn]] void failWithCode(std::string_view action, int code) const;

  protected:
    Database& database() const { return database_; }
    void setFileNames(std::string fileNames) { fileNames_ = std::move(fileNames); }

  private:
    Database& database_;
    std::string fileNames_;
};

}  // namespace qir::store
