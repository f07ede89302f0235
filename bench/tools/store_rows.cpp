// SPDX-License-Identifier: GPL-3.0-or-later
// store_rows TABLE_FILE: prints every row of a table file of the character store, in rowid
// order, as its rowid, its Filename in hex, its Photo's size and the SHA-256 of the Photo. Two
// builds of the store hold the same pictures and clips when these lines are the same, though
// the files differ wherever the encryption's salt does (store_build_bench.sh compares them).

#include <sqlite3.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <cstdio>
#include <memory>
#include <string>

#include "store/table_file.h"

namespace {

struct Closer {
    void operator()(sqlite3* connection) const { sqlite3_close(connection); }
};
struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// Prints the rows when the file opens with `pageSize`; false when it does not.
bool printRows(const char* file, int pageSize) {
    sqlite3* opened = nullptr;
    const int code = sqlite3_open_v2(file, &opened, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, Closer> connection(opened);
    if (code != SQLITE_OK) {
        return false;
    }
    const std::string password = qir::store::kStorePassword;
    sqlite3_key(connection.get(), password.data(), static_cast<int>(password.size()));
    const std::string pragma = "PRAGMA cipher_page_size = " + std::to_string(pageSize);
    sqlite3_exec(connection.get(), pragma.c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(connection.get(), "SELECT rowid, Filename, Photo FROM db ORDER BY rowid",
                           -1, &prepared, nullptr) != SQLITE_OK) {
        return false;
    }
    const std::unique_ptr<sqlite3_stmt, Finalizer> statement(prepared);
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        const QByteArray filename(
            reinterpret_cast<const char*>(sqlite3_column_blob(statement.get(), 1)),
            sqlite3_column_bytes(statement.get(), 1));
        const QByteArray photo(
            reinterpret_cast<const char*>(sqlite3_column_blob(statement.get(), 2)),
            sqlite3_column_bytes(statement.get(), 2));
        std::printf(
            "%lld %s %lld %s\n", static_cast<long long>(sqlite3_column_int64(statement.get(), 0)),
            filename.toHex().constData(), static_cast<long long>(photo.size()),
            QCryptographicHash::hash(photo, QCryptographicHash::Sha256).toHex().constData());
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: store_rows TABLE_FILE\n");
        return 2;
    }
    for (const int pageSize : qir::store::kTablePageSizes) {
        if (printRows(argv[1], pageSize)) {
            return 0;
        }
    }
    std::fprintf(stderr, "store_rows: cannot read %s\n", argv[1]);
    return 1;
}
