// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owning handles of the SQL engine for the practice record. The engine is the SQLCipher
// library the store already links (a full SQLite); opened without a key, its files are plain
// SQLite databases.

#ifndef QIR_PRACTICE_INTERNALS
#error "practice/sqlite_handle.h is private to its folder"
#endif

#include <sqlite3.h>

#include <memory>

namespace qir::practice::sql {

struct ConnectionCloser {
    void operator()(sqlite3* connection) const noexcept { sqlite3_close_v2(connection); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

}  // namespace qir::practice::sql
