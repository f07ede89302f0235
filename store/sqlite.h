// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Thin RAII layer over the SQLCipher C API, used only inside the store.

#ifndef QIR_STORE_INTERNALS
#error "store/sqlite.h is private to its folder"
#endif

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qir::store::sql {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Why an engine call failed, in words a user can act on.
std::string describeFailure(int code);

// "Cannot open table donghua.db: the file does not exist"
[[noreturn]] void fail(std::string_view action, std::string_view tableFile, std::string_view cause);
// The same as a DamagedTableError. failWithCode throws one for the engine's "damaged" code.
[[noreturn]] void failDamaged(std::string_view action, std::string_view tableFile,
                              std::string_view cause);
[[noreturn]] void failWithCode(std::string_view action, std::string_view tableFile, int code,
                               sqlite3* handle);

// One engine connection. Closing waits for nothing: every statement is finalised by its owner
// first, and close_v2 defers the rest.
class Connection {
  public:
    // Opens `file` ("" or ":memory:" for a private in-memory main database) with `flags`.
    Connection(const std::string& file, int flags, std::string_view tableFile);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* get() const { return handle_; }

    // Runs statements that return no rows; returns the engine's result code.
    int tryExec(const std::string& sql);
    // Prepares one statement; nullptr with the result code in `code` on failure.
    Statement tryPrepare(std::string_view sql, int& code);

  private:
    sqlite3* handle_ = nullptr;
};

// Binds text/blob bytes; SQLite copies them.
int bindText(sqlite3_stmt* statement, int index, std::string_view text);
int bindBlob(sqlite3_stmt* statement, int index, const void* data, std::size_t size);
// A column's bytes (text or blob) as a string; "" for NULL.
std::string columnBytes(sqlite3_stmt* statement, int column);

// The width of a declared text type ("CHAR(2)" -> 2); 0 when the type names none.
int declaredWidth(std::string_view declaredType);
bool declaredBlob(std::string_view declaredType);

// Double-quotes an identifier for SQL.
std::string quoted(std::string_view identifier);

}  // namespace qir::store::sql
