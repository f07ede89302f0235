// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cursor over one table file: its rows by row id, in key order where the table has a key,
// in the order they were stored where it has none; blobs read when first asked for.

#ifndef QIR_STORE_INTERNALS
#error "store/table_cursor.h is private to its folder"
#endif

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "store/row_cursor.h"
#include "store/sqlite.h"

namespace qir::store {

class TableCursor final : public RowCursor {
  public:
    TableCursor(Database& database, std::string tableName, Database::Access access);

    void read(RowSet& set) override;
    void fetch(RowSet& set, int index, int column) override;
    bool writable() const override { return access_ != Database::Access::ReadOnly; }
    std::int64_t store(RowSet& set, int index, bool inserting) override;
    void remove(const Row& row) override;
    void refresh(RowSet& set) override;

  private:
    struct ResetStatement {
        void operator()(sqlite3_stmt* statement) const noexcept {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    };
    using BorrowedStatement = std::unique_ptr<sqlite3_stmt, ResetStatement>;

    BorrowedStatement prepare(const std::string& text, std::string_view action);
    std::string tableReference() const;

    std::string tableName_;
    Database::Access access_;
    std::string schema_;  // the attached name
    std::vector<int> keyColumns_;
    // Kept prepared while the table is open: the stroke display table runs the same few for
    // every row it takes.
    std::map<std::string, sql::Statement, std::less<>> statements_;
};

}  // namespace qir::store
