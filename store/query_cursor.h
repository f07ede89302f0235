// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cursor over a read-only query's result. It keeps the blobs up to a memory limit, so a
// pattern that matches every clip does not hold every clip; a blob left behind is fetched by
// running the query again to its row, together with the rows after it, up to the same limit,
// in place of the last such window.

#ifndef QIR_STORE_INTERNALS
#error "store/query_cursor.h is private to its folder"
#endif

#include <cstddef>
#include <string>
#include <vector>

#include "store/row_cursor.h"
#include "store/sqlite.h"

namespace qir::store {

class QueryCursor final : public RowCursor {
  public:
    // `sql` is one statement naming `tableNames`; `parameters` are its values in order.
    // `blobMemoryLimit` is read whenever blobs are kept.
    QueryCursor(Database& database, std::string fileNames, std::string sql,
                std::vector<std::string> tableNames, std::vector<std::string> parameters,
                const std::size_t& blobMemoryLimit);

    void read(RowSet& set) override;
    void fetch(RowSet& set, int index, int column) override;
    bool writable() const override { return false; }
    std::int64_t store(RowSet& set, int index, bool inserting) override;
    void remove(const Row& row) override;
    void refresh(RowSet& set) override;

  private:
    sql::Statement start();

    std::string sql_;
    std::vector<std::string> tableNames_;
    std::vector<std::string> parameters_;
    const std::size_t& blobMemoryLimit_;
    std::vector<int> windowRows_;  // rows whose blobs were fetched again
};

}  // namespace qir::store
