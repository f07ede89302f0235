// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query_cursor.h"

#include <cctype>
#include <utility>

namespace qir::store {

QueryCursor::QueryCursor(Database& database, std::string fileNames, std::string sql,
                         std::vector<std::string> tableNames, std::vector<std::string> parameters,
                         const std::size_t& blobMemoryLimit)
    : RowCursor(database, std::move(fileNames)),
      sql_(std::move(sql)),
      tableNames_(std::move(tableNames)),
      parameters_(std::move(parameters)),
      blobMemoryLimit_(blobMemoryLimit) {}

// Prepares the query's text as written and binds its parameters.
sql::Statement QueryCursor::start() {
    sqlite3* handle = database().connection().get();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int code = sqlite3_prepare_v2(handle, sql_.c_str(), static_cast<int>(sql_.size()), &raw, &tail);
    sql::Statement statement(raw);
    if (code != SQLITE_OK || !statement) {
        failWithCode("Cannot open query on", code == SQLITE_OK ? SQLITE_ERROR : code);
    }
    for (; tail != nullptr && *tail != '\0'; ++tail) {
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
            fail("Cannot open query on", "the text holds more than one statement");
        }
    }
    if (sqlite3_stmt_readonly(statement.get()) == 0) {
        fail("Cannot open query on", "a query may only read");
    }
    const int parameterCount = sqlite3_bind_parameter_count(statement.get());
    for (int i = 1; i <= parameterCount; ++i) {
        if (static_cast<std::size_t>(i) > parameters_.size()) {
            const char* name = sqlite3_bind_parameter_name(statement.get(), i);
            fail("Cannot open query on", std::string("no value for parameter '") +
                                             (name != nullptr ? name + 1 : "?") + "'");
        }
        sql::bindText(statement.get(), i, parameters_[i - 1]);
    }
    return statement;
}

void QueryCursor::read(RowSet& set) {
    std::string names;
    for (const std::string& name : tableNames_) {
        const std::string fileName = database().attach(name, Database::Access::ReadOnly).fileName;
        names += (names.empty() ? "" : ", ") + fileName;
    }
    setFileNames(names.empty() ? "query" : names);
    sql::Statement statement = start();
    std::vector<Column> columns;
    const int columnCount = sqlite3_column_count(statement.get());
    for (int i = 0; i < columnCount; ++i) {
        Column column;
        const char* name = sqlite3_column_name(statement.get(), i);
        column.name = name != nullptr ? name : "";
        const char* type = sqlite3_column_decltype(statement.get(), i);
        column.width = type != nullptr ? sql::declaredWidth(type) : 0;
        column.blob = type != nullptr && sql::declaredBlob(type);
        columns.push_back(std::move(column));
    }
    std::vector<Row> rows;
    std::size_t keptBlobBytes = 0;
    int code = SQLITE_OK;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        Row row;
        row.cells.resize(columns.size());
        for (int i = 0; i < columnCount; ++i) {
            Cell& cell = row.cells[static_cast<std::size_t>(i)];
            const int type = sqlite3_column_type(statement.get(), i);
            cell.null = type == SQLITE_NULL;
            if (type == SQLITE_BLOB) {
                const auto size =
                    static_cast<std::size_t>(sqlite3_column_bytes(statement.get(), i));
                if (keptBlobBytes + size > blobMemoryLimit_) {
                    cell.loaded = false;
                    continue;
                }
                keptBlobBytes += size;
            }
            cell.bytes = sql::columnBytes(statement.get(), i);
        }
        rows.push_back(std::move(row));
    }
    if (code != SQLITE_DONE) {
        failWithCode("Cannot read query on", code);
    }
    set.columns = std::move(columns);
    set.rows = std::move(rows);
    windowRows_.clear();
}

void QueryCursor::fetch(RowSet& set, int index, int column) {
    for (int windowed : windowRows_) {
        for (Cell& cell : set.rows[static_cast<std::size_t>(windowed)].cells) {
            if (cell.windowed) {
                cell = Cell{{}, cell.null, false, false, false};
            }
        }
    }
    windowRows_.clear();
    sql::Statement statement = start();
    std::size_t windowBytes = 0;
    int code = SQLITE_OK;
    for (int row = 0; (code = sqlite3_step(statement.get())) == SQLITE_ROW; ++row) {
        if (row < index) {
            continue;
        }
        if (row >= static_cast<int>(set.rows.size()) ||
            (row > index && windowBytes >= blobMemoryLimit_)) {
            break;
        }
        bool loadedAny = false;
        for (std::size_t i = 0; i < set.columns.size(); ++i) {
            Cell& cell = set.rows[static_cast<std::size_t>(row)].cells[i];
            if (cell.loaded) {
                continue;
            }
            cell.bytes = sql::columnBytes(statement.get(), static_cast<int>(i));
            cell.loaded = true;
            cell.windowed = true;
            windowBytes += cell.bytes.size();
            loadedAny = true;
        }
        if (loadedAny) {
            windowRows_.push_back(row);
        }
    }
    if (code != SQLITE_ROW && code != SQLITE_DONE) {
        failWithCode("Cannot read query on", code);
    }
    if (!set.rows[static_cast<std::size_t>(index)].cells[static_cast<std::size_t>(column)].loaded) {
        fail("Cannot read query on", "the rows changed while the query was open");
    }
}

std::int64_t QueryCursor::store(RowSet&, int, bool) {
    fail("Cannot modify", "the data set is read-only");
}

void QueryCursor::remove(const Row&) {
    fail("Cannot modify", "the data set is read-only");
}

void QueryCursor::refresh(RowSet& set) {
    read(set);
}

}  // namespace qir::store
