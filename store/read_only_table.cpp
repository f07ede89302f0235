// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/read_only_table.h"

#include <system_error>
#include <vector>

#include "store/key_derivation.h"
#include "store/sqlite.h"

namespace qir::store {

struct ReadOnlyTable::Impl {
    std::unique_ptr<sql::Connection> connection;
    sql::Statement lookUp;
    sql::Statement photo;
};

ReadOnlyTable::ReadOnlyTable(std::filesystem::path folder, const TableLayout& layout,
                             std::string password)
    : file_(std::move(folder) / layout.fileName), layout_(layout), password_(std::move(password)) {}

ReadOnlyTable::~ReadOnlyTable() = default;

void ReadOnlyTable::open() {
    const char* name = layout_.fileName;
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) {
        sql::fail("Cannot open table", name, "the file does not exist");
    }
    if (std::filesystem::is_directory(file_, error)) {
        sql::fail("Cannot open table", name, "it is a folder, not a file");
    }
    auto impl = std::make_unique<Impl>();
    int code = SQLITE_OK;
    sql::Statement probe;
    // The key derived before for the file's salt; should it not fit, the password itself.
    std::vector<std::string> keys;
    const std::optional<std::string> salt = readSalt(file_);
    if (salt && !password_.empty()) {
        keys.push_back(rawKey(*salt, password_));
    }
    keys.push_back(password_);
    for (const std::string& key : keys) {
        probe.reset();
        impl->connection =
            std::make_unique<sql::Connection>(file_.string(), SQLITE_OPEN_READONLY, name);
        sqlite3_key(impl->connection->get(), key.data(), static_cast<int>(key.size()));
        impl->connection->tryExec("PRAGMA cipher_page_size = " + std::to_string(layout_.pageSize));
        // The key shows whether it fits only when the first page is read.
        probe = impl->connection->tryPrepare(
            "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) = 'db'", code);
        if (!probe) {
            sql::failWithCode("Cannot open table", name, code, impl->connection->get());
        }
        code = sqlite3_step(probe.get());
        if (code == SQLITE_ROW || sqlite3_errcode(impl->connection->get()) != SQLITE_NOTADB) {
            break;
        }
    }
    sqlite3* handle = impl->connection->get();
    if (code != SQLITE_ROW) {
        sql::failWithCode("Cannot open table", name, sqlite3_errcode(handle), handle);
    }
    if (sqlite3_column_int(probe.get(), 0) == 0) {
        sql::fail("Cannot open table", name, "the file is not a table file");
    }
    probe.reset();
    // length() of a blob reads only its header, so a huge row costs nothing to measure.
    impl->lookUp = impl->connection->tryPrepare(
        "SELECT length(Photo), rowid FROM db WHERE Filename = ?1", code);
    if (!impl->lookUp) {
        sql::failWithCode("Cannot open table", name, code, handle);
    }
    impl->photo = impl->connection->tryPrepare("SELECT Photo FROM db WHERE rowid = ?1", code);
    if (!impl->photo) {
        sql::failWithCode("Cannot open table", name, code, handle);
    }
    impl_ = std::move(impl);
}

std::optional<std::string> ReadOnlyTable::find(std::string_view key, std::size_t maxBytes) {
    if (!impl_) {
        open();
    }
    sqlite3_stmt* statement = impl_->lookUp.get();
    sqlite3_reset(statement);
    sql::bindText(statement, 1, key);
    const int code = sqlite3_step(statement);
    if (code == SQLITE_DONE) {
        sqlite3_reset(statement);
        return std::nullopt;
    }
    if (code != SQLITE_ROW) {
        sqlite3_reset(statement);
        sql::failWithCode("Cannot read table", layout_.fileName, code, impl_->connection->get());
    }
    const auto length = static_cast<std::size_t>(sqlite3_column_int64(statement, 0));
    const sqlite3_int64 rowid = sqlite3_column_int64(statement, 1);
    sqlite3_reset(statement);
    if (length > maxBytes) {
        throw RowTooLarge{};
    }
    sqlite3_stmt* photo = impl_->photo.get();
    sqlite3_bind_int64(photo, 1, rowid);
    const int found = sqlite3_step(photo);
    if (found != SQLITE_ROW) {
        sqlite3_reset(photo);
        sql::failWithCode("Cannot read table", layout_.fileName,
                          found == SQLITE_DONE ? SQLITE_CORRUPT : found, impl_->connection->get());
    }
    std::string blob = sql::columnBytes(photo, 0);
    sqlite3_reset(photo);
    return blob;
}

}  // namespace qir::store
