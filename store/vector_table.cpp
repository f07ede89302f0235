// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/vector_table.h"

#include <system_error>

#include "platform/gb2312.h"
#include "store/sqlite.h"

namespace qir::store {
namespace {

constexpr const char* kTableName = kVectorTable.fileName;

[[noreturn]] void cannotOpen(std::string_view cause) {
    sql::fail("Cannot open table", kTableName, cause);
}

}  // namespace

struct VectorTable::Impl {
    std::unique_ptr<sql::Connection> connection;
    sql::Statement lookUp;
};

VectorTable::VectorTable(std::filesystem::path folder, std::string password)
    : file_(std::move(folder) / kTableName), password_(std::move(password)) {}

VectorTable::~VectorTable() = default;

bool VectorTable::isOpen() const {
    return impl_ != nullptr;
}

void VectorTable::open() {
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) {
        cannotOpen("the file does not exist");
    }
    if (std::filesystem::is_directory(file_, error)) {
        cannotOpen("it is a folder, not a file");
    }
    auto impl = std::make_unique<Impl>();
    impl->connection =
        std::make_unique<sql::Connection>(file_.string(), SQLITE_OPEN_READONLY, kTableName);
    sqlite3* handle = impl->connection->get();
    sqlite3_key(handle, password_.data(), static_cast<int>(password_.size()));
    // The key shows whether it fits only when the first page is read.
    int code = SQLITE_OK;
    sql::Statement probe = impl->connection->tryPrepare(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) = 'db'", code);
    if (!probe) {
        sql::failWithCode("Cannot open table", kTableName, code, handle);
    }
    code = sqlite3_step(probe.get());
    if (code != SQLITE_ROW) {
        sql::failWithCode("Cannot open table", kTableName, sqlite3_errcode(handle), handle);
    }
    if (sqlite3_column_int(probe.get(), 0) == 0) {
        cannotOpen("the file is not a table file");
    }
    probe.reset();
    impl->lookUp = impl->connection->tryPrepare("SELECT Photo FROM db WHERE Filename = ?1", code);
    if (!impl->lookUp) {
        sql::failWithCode("Cannot open table", kTableName, code, handle);
    }
    impl_ = std::move(impl);
}

std::optional<StrokeVectors> VectorTable::find(std::string_view hanzi) {
    if (!impl_) {
        open();
    }
    const std::string_view key = gb2312::trimmed(hanzi);
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
        sql::failWithCode("Cannot read table", kTableName, code, impl_->connection->get());
    }
    const std::string blob = sql::columnBytes(statement, 0);
    sqlite3_reset(statement);
    try {
        return decodeStrokeVectors(
            std::span(reinterpret_cast<const unsigned char*>(blob.data()), blob.size()));
    } catch (const StrokeVectorsError& e) {
        sql::fail("Cannot read table", kTableName,
                  "the strokes of " + gb2312::toUnicode(key).toStdString() + " are damaged (" +
                      e.what() + ")");
    }
}

}  // namespace qir::store
