// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dataset.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "store/engine_error.h"
#include "store/sqlite.h"

namespace qir::store {

namespace {

struct Column {
    std::string name;
    int width = 0;  // bytes; 0 when the declared type gives none
    bool blob = false;
};

struct Cell {
    std::string bytes;
    bool null = true;
    bool loaded = true;     // a table's blobs are read when first asked for
    bool dirty = false;     // set since Append/Insert/Edit
    bool windowed = false;  // a query's blob fetched again, dropped at the next fetch
};

struct Row {
    sqlite3_int64 rowid = 0;
    std::vector<Cell> cells;
};

bool sameNameAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool identifierByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '_';
}

// Every "stem.db" in a query text names a table file.
std::vector<std::string> tableFilesNamedIn(std::string_view text) {
    std::vector<std::string> names;
    for (std::size_t dot = 0; dot + 2 < text.size() + 0; ++dot) {
        if (text[dot] != '.' || std::tolower(static_cast<unsigned char>(text[dot + 1])) != 'd' ||
            std::tolower(static_cast<unsigned char>(text[dot + 2])) != 'b') {
            continue;
        }
        if (dot + 3 < text.size() && identifierByte(text[dot + 3])) {
            continue;
        }
        std::size_t start = dot;
        while (start > 0 && identifierByte(text[start - 1])) {
            --start;
        }
        if (start == dot) {
            continue;
        }
        std::string name(text.substr(start, dot + 3 - start));
        const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& known) {
            return sameNameAnyCase(known, name);
        });
        if (!seen) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

}  // namespace

struct DataSet::Impl {
    explicit Impl(Database& db) : database(db) {}

    Database& database;
    bool active = false;
    DataSetState state = DataSetState::Inactive;
    bool bof = true;
    bool eof = true;
    int current = -1;
    std::vector<Column> columns;
    std::vector<Row> rows;

    // Set at open.
    Source source;
    std::string schema;  // a table's attached name
    std::string fileNames;
    std::vector<int> keyColumns;

    // Editing.
    Row original;
    int currentBeforeInsert = -1;

    std::size_t blobMemoryLimit = 32 * 1024 * 1024;
    std::vector<int> windowRows;  // rows whose query blobs were fetched again

    std::map<int, Observer> observers;
    int nextToken = 1;

    [[noreturn]] void fail(std::string_view action, std::string_view cause) const {
        sql::fail(action, fileNames, cause);
    }
    [[noreturn]] void failWithCode(std::string_view action, int code) {
        sql::failWithCode(action, fileNames, code, database.connection().get());
    }
    void requireActive() const {
        if (!active) {
            fail("Cannot use", "the data set is closed");
        }
    }
    void requireWritable() const {
        requireActive();
        if (!source.isTable || source.access == Database::Access::ReadOnly) {
            fail("Cannot modify", "the data set is read-only");
        }
    }
    int fieldIndex(std::string_view field) const {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (sameNameAnyCase(columns[i].name, field)) {
                return static_cast<int>(i);
            }
        }
        fail("Cannot use", "field '" + std::string(field) + "' not found");
    }

    // Statements are kept prepared while the data set is open: the stroke display table
    // runs the same few for every row it takes.
    struct ResetStatement {
        void operator()(sqlite3_stmt* statement) const noexcept {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    };
    using BorrowedStatement = std::unique_ptr<sqlite3_stmt, ResetStatement>;
    std::map<std::string, sql::Statement, std::less<>> statements;

    BorrowedStatement prepare(const std::string& text, std::string_view action) {
        auto found = statements.find(text);
        if (found == statements.end()) {
            int code = SQLITE_OK;
            sql::Statement prepared = database.connection().tryPrepare(text, code);
            if (!prepared) {
                failWithCode(action, code);
            }
            found = statements.emplace(text, std::move(prepared)).first;
        }
        return BorrowedStatement(found->second.get());
    }

    std::string tableReference() const { return sql::quoted(schema) + ".db"; }

    void loadTableRows() {
        std::string list = "SELECT rowid";
        for (const Column& column : columns) {
            list += column.blob ? ", NULL" : ", " + sql::quoted(column.name);
        }
        list += " FROM " + tableReference() + " ORDER BY ";
        if (keyColumns.empty()) {
            list += "rowid";
        } else {
            for (std::size_t i = 0; i < keyColumns.size(); ++i) {
                list += (i == 0 ? "" : ", ") + sql::quoted(columns[keyColumns[i]].name);
            }
        }
        BorrowedStatement statement = prepare(list, "Cannot open table");
        rows.clear();
        int code = SQLITE_OK;
        while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
            Row row;
            row.rowid = sqlite3_column_int64(statement.get(), 0);
            row.cells.resize(columns.size());
            for (std::size_t i = 0; i < columns.size(); ++i) {
                Cell& cell = row.cells[i];
                if (columns[i].blob) {
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
    }

    void openTable() {
        const auto attachment = database.attach(source.tableNames.front(), source.access);
        schema = attachment.schema;
        fileNames = attachment.fileName;
        BorrowedStatement info =
            prepare("PRAGMA " + sql::quoted(schema) + ".table_info(db)", "Cannot open table");
        std::vector<std::pair<int, int>> keys;  // position in key, column
        columns.clear();
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
        keyColumns.clear();
        for (const auto& key : keys) {
            keyColumns.push_back(key.second);
        }
        loadTableRows();
    }

    void openQuery() {
        std::vector<std::string> names;
        for (const std::string& name : source.tableNames) {
            names.push_back(database.attach(name, Database::Access::ReadOnly).fileName);
        }
        fileNames.clear();
        for (const std::string& name : names) {
            fileNames += (fileNames.empty() ? "" : ", ") + name;
        }
        if (fileNames.empty()) {
            fileNames = "query";
        }
        sql::Statement statement = startQuery();
        columns.clear();
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
        rows.clear();
        windowRows.clear();
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
                    if (keptBlobBytes + size > blobMemoryLimit) {
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
    }

    // Prepares the query's text as written and binds its parameters.
    sql::Statement startQuery() {
        sqlite3* handle = database.connection().get();
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        int code = sqlite3_prepare_v2(handle, source.sql.c_str(),
                                      static_cast<int>(source.sql.size()), &raw, &tail);
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
            if (static_cast<std::size_t>(i) > source.parameters.size()) {
                const char* name = sqlite3_bind_parameter_name(statement.get(), i);
                fail("Cannot open query on", std::string("no value for parameter '") +
                                                 (name != nullptr ? name + 1 : "?") + "'");
            }
            sql::bindText(statement.get(), i, source.parameters[i - 1]);
        }
        return statement;
    }

    // A query keeps its blobs up to a memory limit, so a pattern that matches every clip does
    // not hold every clip. A blob left behind is fetched by running the query again to its
    // row, together with the rows after it, up to the same limit, in place of the last such
    // window.
    void reloadQueryBlobs(int fromIndex) {
        for (int index : windowRows) {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                Cell& cell = rows[static_cast<std::size_t>(index)].cells[i];
                if (cell.windowed) {
                    cell = Cell{{}, cell.null, false, false, false};
                }
            }
        }
        windowRows.clear();
        sql::Statement statement = startQuery();
        std::size_t windowBytes = 0;
        int code = SQLITE_OK;
        for (int index = 0; (code = sqlite3_step(statement.get())) == SQLITE_ROW; ++index) {
            if (index < fromIndex) {
                continue;
            }
            if (index >= static_cast<int>(rows.size()) ||
                (index > fromIndex && windowBytes >= blobMemoryLimit)) {
                break;
            }
            bool loadedAny = false;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                Cell& cell = rows[static_cast<std::size_t>(index)].cells[i];
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
                windowRows.push_back(index);
            }
        }
        if (code != SQLITE_ROW && code != SQLITE_DONE) {
            failWithCode("Cannot read query on", code);
        }
    }

    Cell& cellAt(int index, int column) {
        Cell& cell = rows[static_cast<std::size_t>(index)].cells[static_cast<std::size_t>(column)];
        if (!cell.loaded && !source.isTable) {
            reloadQueryBlobs(index);
            if (!cell.loaded) {
                fail("Cannot read query on", "the rows changed while the query was open");
            }
        }
        if (!cell.loaded) {
            BorrowedStatement statement =
                prepare("SELECT " + sql::quoted(columns[static_cast<std::size_t>(column)].name) +
                            " FROM " + tableReference() + " WHERE rowid = ?1",
                        "Cannot read table");
            sqlite3_bind_int64(statement.get(), 1, rows[static_cast<std::size_t>(index)].rowid);
            const int code = sqlite3_step(statement.get());
            if (code == SQLITE_ROW) {
                cell.null = sqlite3_column_type(statement.get(), 0) == SQLITE_NULL;
                cell.bytes = sql::columnBytes(statement.get(), 0);
            } else if (code != SQLITE_DONE) {
                failWithCode("Cannot read table", code);
            }
            cell.loaded = true;
        }
        return cell;
    }

    void setCursor(int index, bool atStart, bool atEnd) {
        current = index;
        bof = atStart;
        eof = atEnd;
    }

    void storeRow() {
        Row& row = rows[static_cast<std::size_t>(current)];
        std::vector<int> dirty;
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            if (row.cells[i].dirty) {
                dirty.push_back(static_cast<int>(i));
            }
        }
        std::string statementText;
        if (state == DataSetState::Insert) {
            statementText = "INSERT INTO " + tableReference();
            if (dirty.empty()) {
                statementText += " DEFAULT VALUES";
            } else {
                std::string names;
                std::string values;
                for (std::size_t i = 0; i < dirty.size(); ++i) {
                    names += (i == 0 ? "" : ", ") + sql::quoted(columns[dirty[i]].name);
                    values += (i == 0 ? "?" : ", ?") + std::to_string(i + 1);
                }
                statementText += " (" + names + ") VALUES (" + values + ")";
            }
        } else {
            if (dirty.empty()) {
                return;
            }
            statementText = "UPDATE " + tableReference() + " SET ";
            for (std::size_t i = 0; i < dirty.size(); ++i) {
                statementText += (i == 0 ? "" : ", ") + sql::quoted(columns[dirty[i]].name) +
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
            } else if (columns[dirty[i]].blob) {
                sql::bindBlob(statement.get(), at, cell.bytes.data(), cell.bytes.size());
            } else {
                sql::bindText(statement.get(), at, cell.bytes);
            }
        }
        if (state == DataSetState::Edit) {
            sqlite3_bind_int64(statement.get(), static_cast<int>(dirty.size()) + 1, row.rowid);
        }
        const int code = sqlite3_step(statement.get());
        if (code != SQLITE_DONE) {
            failWithCode("Cannot write table", sqlite3_errcode(database.connection().get()));
        }
        if (state == DataSetState::Insert) {
            row.rowid = sqlite3_last_insert_rowid(database.connection().get());
        }
    }

    void clear() {
        statements.clear();
        rows.clear();
        columns.clear();
        keyColumns.clear();
        active = false;
        state = DataSetState::Inactive;
        setCursor(-1, true, true);
    }
};

DataSet::DataSet(Database& database) : impl_(std::make_unique<Impl>(database)) {}
DataSet::~DataSet() = default;

Database& DataSet::database() const {
    return impl_->database;
}

std::string DataSet::description() const {
    if (!impl_->fileNames.empty()) {
        return impl_->fileNames;
    }
    const Source known = source();
    std::string names;
    for (const std::string& name : known.tableNames) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

void DataSet::notify(DataChange change) {
    // Observers may subscribe or leave while being told.
    const auto observers = impl_->observers;
    for (const auto& [token, observer] : observers) {
        observer(change);
    }
}

int DataSet::subscribe(Observer observer) {
    const int token = impl_->nextToken++;
    impl_->observers.emplace(token, std::move(observer));
    return token;
}

void DataSet::unsubscribe(int token) {
    impl_->observers.erase(token);
}

void DataSet::open() {
    if (impl_->active) {
        return;
    }
    impl_->source = source();
    impl_->fileNames.clear();
    impl_->fileNames = description();
    try {
        if (impl_->source.isTable) {
            if (impl_->source.tableNames.empty() || impl_->source.tableNames.front().empty()) {
                impl_->fail("Cannot open table", "no table name is set");
            }
            impl_->openTable();
        } else {
            impl_->openQuery();
        }
    } catch (...) {
        impl_->clear();
        throw;
    }
    impl_->active = true;
    impl_->state = DataSetState::Browse;
    impl_->setCursor(impl_->rows.empty() ? -1 : 0, true, impl_->rows.empty());
    notify(DataChange::Opened);
}

void DataSet::close() {
    if (!impl_->active) {
        return;
    }
    impl_->clear();
    notify(DataChange::Closed);
}

bool DataSet::active() const {
    return impl_->active;
}
DataSetState DataSet::state() const {
    return impl_->state;
}

void DataSet::first() {
    impl_->requireActive();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    const bool empty = impl_->rows.empty();
    impl_->setCursor(empty ? -1 : 0, true, empty);
    notify(DataChange::CurrentRowMoved);
}

void DataSet::last() {
    impl_->requireActive();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    const bool empty = impl_->rows.empty();
    impl_->setCursor(static_cast<int>(impl_->rows.size()) - 1, empty, true);
    notify(DataChange::CurrentRowMoved);
}

void DataSet::next() {
    moveBy(1);
}
void DataSet::prior() {
    moveBy(-1);
}

void DataSet::moveBy(int distance) {
    impl_->requireActive();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    if (distance == 0 || (distance > 0 && impl_->eof) || (distance < 0 && impl_->bof)) {
        return;
    }
    const long long count = static_cast<long long>(impl_->rows.size());
    const long long target = static_cast<long long>(impl_->current) + distance;
    if (count == 0) {
        impl_->setCursor(-1, distance<0, distance> 0);
    } else if (target >= count) {
        impl_->setCursor(static_cast<int>(count - 1), false, true);
    } else if (target < 0) {
        impl_->setCursor(0, true, false);
    } else {
        impl_->setCursor(static_cast<int>(target), false, false);
    }
    notify(DataChange::CurrentRowMoved);
}

bool DataSet::bof() const {
    return impl_->bof;
}
bool DataSet::eof() const {
    return impl_->eof;
}

bool DataSet::locate(std::string_view field, std::string_view value) {
    impl_->requireActive();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    const int column = impl_->fieldIndex(field);
    const Column& described = impl_->columns[static_cast<std::size_t>(column)];
    if (described.blob) {
        impl_->fail("Cannot locate in", "field '" + described.name + "' holds binary data");
    }
    // The stored value can be no longer than the field, so a longer value is cut to fit.
    if (described.width > 0 && value.size() > static_cast<std::size_t>(described.width)) {
        value = value.substr(0, static_cast<std::size_t>(described.width));
    }
    for (std::size_t i = 0; i < impl_->rows.size(); ++i) {
        if (impl_->cellAt(static_cast<int>(i), column).bytes == value) {
            impl_->setCursor(static_cast<int>(i), false, false);
            notify(DataChange::CurrentRowMoved);
            return true;
        }
    }
    return false;
}

int DataSet::recordCount() const {
    impl_->requireActive();
    return static_cast<int>(impl_->rows.size());
}

int DataSet::recNo() const {
    return impl_->active ? impl_->current + 1 : 0;
}

void DataSet::setRecNo(int recNo) {
    impl_->requireActive();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    if (impl_->rows.empty()) {
        return;
    }
    const int count = static_cast<int>(impl_->rows.size());
    impl_->setCursor(std::clamp(recNo, 1, count) - 1, false, false);
    notify(DataChange::CurrentRowMoved);
}

std::string DataSet::fieldAsString(std::string_view field) const {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->current < 0) {
        return {};
    }
    return impl_->cellAt(impl_->current, column).bytes;
}

void DataSet::setFieldAsString(std::string_view field, std::string_view value) {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->state != DataSetState::Insert && impl_->state != DataSetState::Edit) {
        impl_->fail("Cannot modify", "the data set is not being inserted or edited");
    }
    const Column& described = impl_->columns[static_cast<std::size_t>(column)];
    if (described.width > 0 && value.size() > static_cast<std::size_t>(described.width)) {
        impl_->fail("Cannot modify", "the value \"" + std::string(value) +
                                         "\" is longer than field '" + described.name + "' (" +
                                         std::to_string(described.width) + " bytes)");
    }
    Cell& cell = impl_->rows[static_cast<std::size_t>(impl_->current)]
                     .cells[static_cast<std::size_t>(column)];
    cell.bytes = std::string(value);
    cell.null = false;
    cell.loaded = true;
    cell.dirty = true;
    notify(DataChange::FieldChanged);
}

std::size_t DataSet::blobSize(std::string_view field) const {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->current < 0) {
        return 0;
    }
    return impl_->cellAt(impl_->current, column).bytes.size();
}

Bytes DataSet::blob(std::string_view field) const {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->current < 0) {
        return {};
    }
    const std::string& bytes = impl_->cellAt(impl_->current, column).bytes;
    return Bytes(bytes.begin(), bytes.end());
}

void DataSet::saveBlobToFile(std::string_view field, const std::string& file) const {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->current < 0) {
        writeFileBytes(file, {});
        return;
    }
    const std::string& bytes = impl_->cellAt(impl_->current, column).bytes;
    writeFileBytes(file,
                   std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

Bytes DataSet::blobAt(int recNo, std::string_view field) const {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (recNo < 1 || recNo > static_cast<int>(impl_->rows.size())) {
        return {};
    }
    const std::string& bytes = impl_->cellAt(recNo - 1, column).bytes;
    return Bytes(bytes.begin(), bytes.end());
}

void DataSet::setBlob(std::string_view field, Bytes bytes) {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->state != DataSetState::Insert && impl_->state != DataSetState::Edit) {
        impl_->fail("Cannot modify", "the data set is not being inserted or edited");
    }
    Cell& cell = impl_->rows[static_cast<std::size_t>(impl_->current)]
                     .cells[static_cast<std::size_t>(column)];
    cell.bytes.assign(bytes.begin(), bytes.end());
    cell.null = false;
    cell.loaded = true;
    cell.dirty = true;
    notify(DataChange::FieldChanged);
}

void DataSet::loadBlobFromFile(std::string_view field, const std::string& file) {
    impl_->requireActive();
    impl_->fieldIndex(field);
    setBlob(field, readFileBytes(file));
}

void DataSet::append() {
    impl_->requireWritable();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    Row row;
    row.cells.resize(impl_->columns.size());
    impl_->currentBeforeInsert = impl_->current;
    impl_->rows.push_back(std::move(row));
    impl_->state = DataSetState::Insert;
    impl_->setCursor(static_cast<int>(impl_->rows.size()) - 1, false, false);
    notify(DataChange::RowAppended);
}

void DataSet::insert() {
    impl_->requireWritable();
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
    Row row;
    row.cells.resize(impl_->columns.size());
    const int at = std::max(impl_->current, 0);
    impl_->currentBeforeInsert = impl_->current;
    impl_->rows.insert(impl_->rows.begin() + at, std::move(row));
    impl_->state = DataSetState::Insert;
    impl_->setCursor(at, false, false);
    notify(DataChange::RowInserted);
}

void DataSet::edit() {
    impl_->requireWritable();
    if (impl_->state == DataSetState::Edit) {
        return;
    }
    if (impl_->state == DataSetState::Insert) {
        return;
    }
    if (impl_->current < 0) {
        impl_->fail("Cannot edit", "the table has no rows");
    }
    impl_->original = impl_->rows[static_cast<std::size_t>(impl_->current)];
    impl_->state = DataSetState::Edit;
}

void DataSet::post() {
    impl_->requireActive();
    if (impl_->state == DataSetState::Browse) {
        return;
    }
    impl_->storeRow();
    const sqlite3_int64 stored = impl_->rows[static_cast<std::size_t>(impl_->current)].rowid;
    impl_->state = DataSetState::Browse;
    impl_->loadTableRows();
    const auto found = std::find_if(impl_->rows.begin(), impl_->rows.end(),
                                    [stored](const Row& row) { return row.rowid == stored; });
    const int index = found != impl_->rows.end()
                          ? static_cast<int>(found - impl_->rows.begin())
                          : std::min(impl_->current, static_cast<int>(impl_->rows.size()) - 1);
    impl_->setCursor(index, false, false);
    notify(DataChange::RowPosted);
}

void DataSet::cancel() {
    impl_->requireActive();
    if (impl_->state == DataSetState::Insert) {
        impl_->rows.erase(impl_->rows.begin() + impl_->current);
        const int count = static_cast<int>(impl_->rows.size());
        const int back = std::min(impl_->currentBeforeInsert, count - 1);
        impl_->setCursor(count == 0 ? -1 : std::max(back, 0), count == 0, count == 0);
    } else if (impl_->state == DataSetState::Edit) {
        impl_->rows[static_cast<std::size_t>(impl_->current)] = impl_->original;
    } else {
        return;
    }
    impl_->state = DataSetState::Browse;
    notify(DataChange::RowCancelled);
}

void DataSet::remove() {
    impl_->requireWritable();
    if (impl_->state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (impl_->state == DataSetState::Edit) {
        cancel();
    }
    if (impl_->current < 0) {
        impl_->fail("Cannot delete from", "the table has no rows");
    }
    Impl::BorrowedStatement statement = impl_->prepare(
        "DELETE FROM " + impl_->tableReference() + " WHERE rowid = ?1", "Cannot write table");
    sqlite3_bind_int64(statement.get(), 1,
                       impl_->rows[static_cast<std::size_t>(impl_->current)].rowid);
    const int code = sqlite3_step(statement.get());
    if (code != SQLITE_DONE) {
        impl_->failWithCode("Cannot write table",
                            sqlite3_errcode(impl_->database.connection().get()));
    }
    impl_->rows.erase(impl_->rows.begin() + impl_->current);
    const int count = static_cast<int>(impl_->rows.size());
    if (count == 0) {
        impl_->setCursor(-1, true, true);
    } else {
        impl_->setCursor(std::min(impl_->current, count - 1), false, false);
    }
    notify(DataChange::RowDeleted);
}

void DataSet::setBlobMemoryLimit(std::size_t bytes) {
    impl_->blobMemoryLimit = bytes;
}

bool DataSet::modified() const {
    if (!impl_->active || impl_->current < 0 || impl_->state == DataSetState::Browse) {
        return false;
    }
    const Row& row = impl_->rows[static_cast<std::size_t>(impl_->current)];
    return std::any_of(row.cells.begin(), row.cells.end(),
                       [](const Cell& cell) { return cell.dirty; });
}

// Table.

void Table::setTableName(std::string name) {
    tableName_ = std::move(name);
}

DataSet::Source Table::source() const {
    Source result;
    result.isTable = true;
    result.tableNames = {tableName_};
    result.access = readOnly_   ? Database::Access::ReadOnly
                    : scratch() ? Database::Access::Scratch
                                : Database::Access::ReadWrite;
    return result;
}

void Table::emptyTable() {
    if (active()) {
        sql::fail("Cannot empty table", tableName_, "the table is open");
    }
    if (readOnly_) {
        sql::fail("Cannot empty table", tableName_, "the data set is read-only");
    }
    if (!scratchLayout_) {
        deleteAllRows();
    } else {
        try {
            deleteAllRows();
        } catch (const DamagedTableError&) {
            // Scratch rows are only ever the last ones shown, and emptying drops them anyway:
            // a new file loses nothing, where the damaged one would fail every time.
            database().recreateTable(tableName_, *scratchLayout_);
            deleteAllRows();
        }
    }
    notify(DataChange::Emptied);
}

namespace {

// A scratch table made before scratch tables shrank by themselves keeps the size of the most
// rows it ever held; compacting it is an economy of disk space only, so its failure is no
// error (the engine refuses it while a file of another page size is attached after this one).
void compactOlderFile(sql::Connection& connection, const std::string& schema) {
    int code = SQLITE_OK;
    sql::Statement mode = connection.tryPrepare("PRAGMA " + schema + ".auto_vacuum", code);
    if (mode && sqlite3_step(mode.get()) == SQLITE_ROW && sqlite3_column_int(mode.get(), 0) == 0) {
        mode.reset();
        connection.tryExec("VACUUM " + schema);
    }
}

}  // namespace

void Table::deleteAllRows() {
    const auto attachment = database().attach(tableName_, source().access);
    sql::Connection& connection = database().connection();
    const std::string schema = sql::quoted(attachment.schema);
    const int code = connection.tryExec("DELETE FROM " + schema + ".db");
    if (code == SQLITE_OK) {
        compactOlderFile(connection, schema);
    }
    if (code != SQLITE_OK) {
        // A page that cannot be decrypted shows as a plain engine error.
        if ((code & 0xff) == SQLITE_ERROR && database().foundDamaged(attachment.schema)) {
            sql::failDamaged("Cannot empty table", attachment.fileName, "the file is damaged");
        }
        sql::failWithCode("Cannot empty table", attachment.fileName, code, connection.get());
    }
}

// Query.

void Query::setSql(std::vector<std::string> lines) {
    lines_ = std::move(lines);
}

void Query::setParamAsString(std::string value) {
    parameter_ = std::move(value);
    parameterSet_ = true;
}

DataSet::Source Query::source() const {
    Source result;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        result.sql += (i == 0 ? "" : "\n") + lines_[i];
    }
    result.tableNames = tableFilesNamedIn(result.sql);
    if (parameterSet_) {
        result.parameters = {parameter_};
    }
    return result;
}

}  // namespace qir::store
