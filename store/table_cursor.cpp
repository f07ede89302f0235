// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/table_cursor.h"

#include <algorithm>
#include <utility>

namespace qir::store {

TableCursor::TableCursor(Database& database, std::string tableName, Database::Access access)
    : RowCursor(database, tableName), tableName_(std::move(tableName)), access_(access) {}

TableCursor::BorrowedStatement TableCursor::prepare(const std::string& text,
                                                    std::string_view action) {
    auto found = statements_.find(text);
    if (found == statements_.end()) {
        int code = SQLITE_OK;
        sql::Statement prepared = database().connection().tryPrepare(text, code);
        if (!prepared) {
            failWithCode(action, code);
        }
        found = statements_.emplace(text, std::move(prepared)).first;
    }
    return BorrowedStatement(found->second.get());
}

std::string TableCursor::tableReference() const {
    return sql::quoted(schema_) + ".db";
}

void TableCursor::read(RowSet& set) {
    if (tableName_.empty()) {
        fail("Cannot open table", "no table name is set");
    }
    const auto attachment = database().attach(tableName_, access_);
    schema_ = attachment.schema;
    setFileNames(attachment.fileName);
    BorrowedStatement info =
        prepare("PRAGMA " + sql::quoted(schema_) + ".table_info(db)", "Cannot open table");
    std::vector<std::pair<int, int>> keys;  // position in key, column
    std::vector<Column> columns;
    int code = SQLITE_OK;
    while ((code = sqlite3_step(info.get())) == SQLITE_ROW) {
        Column column;
        column.name = sql::columnBytes(info.get(), 1);
        const std::string type = sql::columnBytes(info.get(), 2);
        column.width = sql::declaredWidth(type);
        column.blob = sql::declaredBlob(type);
        const int key = sqlite3_column_int(info.get(), 5);
        if (key > 0) {
            keys.emplace_back(key, static_cast<int>(columns.size()));
        }
        columns.push_back(std::move(column));
    }
    if (code != SQLITE_DONE) {
        failWithCode("Cannot open table", code);
    }
    if (columns.empty()) {
        fail("Cannot open table", "the file is not a table file");
    }
    std::sort(keys.begin(), keys.end());
    keyColumns_.clear();
    for (const auto& key : keys) {
        keyColumns_.push_back(key.second);
    }
    set.columns = std::move(columns);
    refresh(set);
}

void TableCursor::refresh(RowSet& set) {
    std::string list = "SELECT rowid";
    for (const Column& column : set.columns) {
        list += column.blob ? ", NULL" : ", " + sql::quoted(column.name);
    }
    list += " FROM " + tableReference() + " ORDER BY ";
    if (keyColumns_.empty()) {
        list += "rowid";
    } else {
        for (std::size_t i = 0; i < keyColumns_.size(); ++i) {
            list += (i == 0 ? "" : ", ") + sql::quoted(set.columns[keyColumns_[i]].name);
        }
    }
    BorrowedStatement statement = prepare(list, "Cannot open table");
    std::vector<Row> rows;
    int code = SQLITE_OK;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        Row row;
        row.rowid = sqlite3_column_int64(statement.get(), 0);
        row.cells.resize(set.columns.size());
        for (std::size_t i = 0; i < set.columns.size(); ++i) {
            Cell& cell = row.cells[i];
            if (set.columns[i].blob) {
                cell.loaded = false;
                continue;
            }
            const int at = static_cast<int>(i) + 1;
            cell.null = sqlite3_column_type(statement.get(), at) == SQLITE_NULL;
            cell.bytes = sql::columnBytes(statement.get(), at);
        }
        rows.push_back(std::move(row));
    }
    if (code != SQLITE_DONE) {
        failWithCode("Cannot read table", code);
    }
    set.rows = std::move(rows);
}

void TableCursor::fetch(RowSet& set, int index, int column) {
    Cell& cell = set.rows[static_cast<std::size_t>(index)].cells[static_cast<std::size_t>(column)];
    BorrowedStatement statement =
        prepare("SELECT " + sql::quoted(set.columns[static_cast<std::size_t>(column)].name) +
                    " FROM " + tableReference() + " WHERE rowid = ?1",
                "Cannot read table");
    sqlite3_bind_int64(statement.get(), 1, set.rows[static_cast<std::size_t>(index)].rowid);
    const int code = sqlite3_step(statement.get());
    if (code == SQLITE_ROW) {
        cell.null = sqlite3_column_type(statement.get(), 0) == SQLITE_NULL;
        cell.bytes = sql::columnBytes(statement.get(), 0);
    } else if (code != SQLITE_DONE) {
        failWithCode("Cannot read table", code);
    }
    cell.loaded = true;
}

std::int64_t TableCursor::store(RowSet& set, int index, bool inserting) {
    Row& row = set.rows[static_cast<std::size_t>(index)];
    std::vector<int> dirty;
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (row.cells[i].dirty) {
            dirty.push_back(static_cast<int>(i));
        }
    }
    std::string statementText;
    if (inserting) {
        statementText = "INSERT INTO " + tableReference();
        if (dirty.empty()) {
            statementText += " DEFAULT VALUES";
        } else {
            std::string names;
            std::string values;
            for (std::size_t i = 0; i < dirty.size(); ++i) {
                names += (i == 0 ? "" : ", ") + sql::quoted(set.columns[dirty[i]].name);
                values += (i == 0 ? "?" : ", ?") + std::to_string(i + 1);
            }
            statementText += " (" + names + ") VALUES (" + values + ")";
        }
    } else {
        if (dirty.empty()) {
            return row.rowid;
        }
        statementText = "UPDATE " + tableReference() + " SET ";
        for (std::size_t i = 0; i < dirty.size(); ++i) {
            statementText += (i == 0 ? "" : ", ") + sql::quoted(set.columns[dirty[i]].name) +
                             " = ?" + std::to_string(i + 1);
        }
        statementText += " WHERE rowid = ?" + std::to_string(dirty.size() + 1);
    }
    BorrowedStatement statement = prepare(statementText, "Cannot write table");
    for (std::size_t i = 0; i < dirty.size(); ++i) {
        const Cell& cell = row.cells[static_cast<std::size_t>(dirty[i])];
        const int at = static_cast<int>(i) + 1;
        if (cell.null) {
            sqlite3_bind_null(statement.get(), at);
        } else if (set.columns[dirty[i]].blob) {
            sql::bindBlob(statement.get(), at, cell.bytes.data(), cell.bytes.size());
        } else {
            sql::bindText(statement.get(), at, cell.bytes);
        }
    }
    if (!inserting) {
        sqlite3_bind_int64(statement.get(), static_cast<int>(dirty.size()) + 1, row.rowid);
    }
    const int code = sqlite3_step(statement.get());
    if (code != SQLITE_DONE) {
        failWithCode("Cannot write table", sqlite3_errcode(database().connection().get()));
    }
    if (inserting) {
        row.rowid = sqlite3_last_insert_rowid(database().connection().get());
    }
    return row.rowid;
}

void TableCursor::remove(const Row& row) {
    BorrowedStatement statement =
        prepare("DELETE FROM " + tableReference() + " WHERE rowid = ?1", "Cannot write table");
    sqlite3_bind_int64(statement.get(), 1, row.rowid);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        failWithCode("Cannot write table", sqlite3_errcode(database().connection().get()));
    }
}

}  // namespace qir::store
