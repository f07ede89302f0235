// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/table_file.h"

#include <system_error>

#include "store/sqlite.h"

namespace qir::store {

struct TableFileWriter::Impl {
    std::filesystem::path path;
    std::filesystem::path temporary;
    std::string displayName;
    TableLayout layout;
    std::unique_ptr<sql::Connection> connection;
    sql::Statement insertRow;
    bool committed = false;

    [[noreturn]] void failWith(int code) const {
        sql::failWithCode("Cannot write table", displayName, code,
                          connection ? connection->get() : nullptr);
    }
    void exec(const std::string& statement) const {
        const int code = connection->tryExec(statement);
        if (code != SQLITE_OK) {
            failWith(code);
        }
    }
    sql::Statement prepare(std::string_view statement) const {
        int code = SQLITE_OK;
        sql::Statement prepared = connection->tryPrepare(statement, code);
        if (!prepared) {
            failWith(code);
        }
        return prepared;
    }
    void discard() {
        insertRow.reset();
        connection.reset();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
};

TableFileWriter::TableFileWriter(std::filesystem::path path, const TableLayout& layout,
                                 std::string_view password)
    : impl_(std::make_unique<Impl>()) {
    impl_->path = std::move(path);
    impl_->temporary = impl_->path;
    impl_->temporary += ".part";
    impl_->displayName = impl_->path.filename().string();
    impl_->layout = layout;

    std::error_code ignored;
    std::filesystem::remove(impl_->temporary, ignored);
    impl_->connection = std::make_unique<sql::Connection>(
        impl_->temporary.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, impl_->displayName);
    try {
        const int keyed = sqlite3_key(impl_->connection->get(), password.data(),
                                      static_cast<int>(password.size()));
        if (keyed != SQLITE_OK) {
            impl_->failWith(keyed);
        }
        impl_->exec("PRAGMA cipher_page_size = " + std::to_string(layout.pageSize) + ";");
        if (layout.shrinksWhenEmptied) {
            impl_->exec("PRAGMA auto_vacuum = FULL;");
        }
        // The file only becomes the table at commit, so a journal would protect nothing.
        impl_->exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
        const std::string key = layout.keyed ? " PRIMARY KEY" : "";
        impl_->exec("CREATE TABLE db (Filename CHAR(" + std::to_string(layout.filenameWidth) + ")" +
                    key + ", Photo BLOB)");
        impl_->exec("BEGIN");
        impl_->insertRow = impl_->prepare("INSERT INTO db (Filename, Photo) VALUES (?1, ?2)");
    } catch (...) {
        impl_->discard();
        throw;
    }
}

TableFileWriter::~TableFileWriter() {
    if (!impl_->committed) {
        impl_->discard();
    }
}

void TableFileWriter::addRow(std::string_view filename, std::span<const unsigned char> photo) {
    if (impl_->committed) {
        sql::fail("Cannot write table", impl_->displayName, "the file is already complete");
    }
    if (filename.size() > static_cast<std::size_t>(impl_->layout.filenameWidth)) {
        sql::fail("Cannot write table", impl_->displayName,
                  "the Filename \"" + std::string(filename) + "\" is longer than " +
                      std::to_string(impl_->layout.filenameWidth) + " bytes");
    }
    sqlite3_stmt* statement = impl_->insertRow.get();
    sqlite3_reset(statement);
    sql::bindText(statement, 1, filename);
    sql::bindBlob(statement, 2, photo.data(), photo.size());
    const int code = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (code != SQLITE_DONE) {
        impl_->failWith(code);
    }
}

void TableFileWriter::setNotice(std::string_view notice) {
    if (impl_->committed) {
        sql::fail("Cannot write table", impl_->displayName, "the file is already complete");
    }
    impl_->exec("CREATE TABLE IF NOT EXISTS notice (Text TEXT); DELETE FROM notice;");
    sql::Statement statement = impl_->prepare("INSERT INTO notice (Text) VALUES (?1)");
    sql::bindText(statement.get(), 1, notice);
    const int code = sqlite3_step(statement.get());
    if (code != SQLITE_DONE) {
        impl_->failWith(code);
    }
}

void TableFileWriter::commit() {
    if (impl_->committed) {
        return;
    }
    impl_->insertRow.reset();
    impl_->exec("COMMIT");
    impl_->connection.reset();
    std::error_code error;
    std::filesystem::rename(impl_->temporary, impl_->path, error);
    if (error) {
        impl_->discard();
        sql::fail("Cannot write table", impl_->displayName, error.message());
    }
    impl_->committed = true;
}

void writeTableFile(const std::filesystem::path& path, const TableLayout& layout,
                    const std::vector<TableRow>& rows, std::string_view password) {
    TableFileWriter writer(path, layout, password);
    for (const TableRow& row : rows) {
        writer.addRow(row.filename, row.photo);
    }
    writer.commit();
}

std::string readTableNotice(const std::filesystem::path& path, std::string_view password) {
    const std::string name = path.filename().string();
    if (!std::filesystem::is_regular_file(path)) {
        sql::fail("Cannot open table", name, "the file does not exist");
    }
    for (const int pageSize : kTablePageSizes) {
        sql::Connection connection(path.string(), SQLITE_OPEN_READONLY, name);
        sqlite3_key(connection.get(), password.data(), static_cast<int>(password.size()));
        connection.tryExec("PRAGMA cipher_page_size = " + std::to_string(pageSize));
        int code = SQLITE_OK;
        sql::Statement exists = connection.tryPrepare(
            "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'notice'", code);
        if (!exists || (code = sqlite3_step(exists.get())) != SQLITE_ROW) {
            code = exists ? sqlite3_errcode(connection.get()) : code;
            if (code == SQLITE_NOTADB && pageSize != std::end(kTablePageSizes)[-1]) {
                continue;  // another page size, or the wrong password
            }
            sql::failWithCode("Cannot open table", name, code, connection.get());
        }
        if (sqlite3_column_int(exists.get(), 0) == 0) {
            return {};
        }
        sql::Statement text = connection.tryPrepare("SELECT Text FROM notice LIMIT 1", code);
        if (!text) {
            sql::failWithCode("Cannot open table", name, code, connection.get());
        }
        return sqlite3_step(text.get()) == SQLITE_ROW ? sql::columnBytes(text.get(), 0) : "";
    }
    return {};
}

}  // namespace qir::store
