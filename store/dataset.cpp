// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dataset.h"

#include <algorithm>
#include <exception>
#include <map>

#include "store/row_cursor.h"
#include "store/sqlite.h"

namespace qir::store {

struct DataSet::Impl {
    explicit Impl(Database& db) : database(db) {}

    Database& database;
    std::unique_ptr<RowCursor> cursor;  // while open
    bool active = false;
    DataSetState state = DataSetState::Inactive;
    bool bof = true;
    bool eof = true;
    int current = -1;
    RowSet set;
    // The table files of the last open, kept for messages after it closes.
    std::string fileNames;

    // Editing.
    Row original;
    int currentBeforeInsert = -1;

    std::map<int, Observer> observers;
    int nextToken = 1;
    // Changes under way, and the first error an observer threw during them.
    int changeDepth = 0;
    std::exception_ptr observerError;

    [[noreturn]] void fail(std::string_view action, std::string_view cause) const {
        sql::fail(action, fileNames, cause);
    }
    void requireActive() const {
        if (!active) {
            fail("Cannot use", "the data set is closed");
        }
    }
    void requireWritable() const {
        requireActive();
        if (!cursor->writable()) {
            fail("Cannot modify", "the data set is read-only");
        }
    }
    void requireEditing() const {
        if (state != DataSetState::Insert && state != DataSetState::Edit) {
            fail("Cannot modify", "the data set is not being inserted or edited");
        }
    }
    int fieldIndex(std::string_view field) const {
        for (std::size_t i = 0; i < set.columns.size(); ++i) {
            if (sameNameAnyCase(set.columns[i].name, field)) {
                return static_cast<int>(i);
            }
        }
        fail("Cannot use", "field '" + std::string(field) + "' not found");
    }
    Cell& cellAt(int index, int column) {
        Cell& cell =
            set.rows[static_cast<std::size_t>(index)].cells[static_cast<std::size_t>(column)];
        if (!cell.loaded) {
            cursor->fetch(set, index, column);
        }
        return cell;
    }
    Cell& currentCell(int column) {
        return set.rows[static_cast<std::size_t>(current)].cells[static_cast<std::size_t>(column)];
    }
    void setCursor(int index, bool atStart, bool atEnd) {
        current = index;
        bof = atStart;
        eof = atEnd;
    }
    void clear() {
        cursor.reset();
        set = {};
        active = false;
        state = DataSetState::Inactive;
        setCursor(-1, true, true);
    }
};

DataSet::ChangeScope::ChangeScope(DataSet& dataSet) : dataSet_(dataSet) {
    ++dataSet_.impl_->changeDepth;
}

DataSet::ChangeScope::~ChangeScope() {
    // A change that failed reports its own error; what an observer threw goes with it.
    if (--dataSet_.impl_->changeDepth == 0) {
        dataSet_.impl_->observerError = nullptr;
    }
}

void DataSet::ChangeScope::finish() {
    Impl& impl = *dataSet_.impl_;
    if (impl.changeDepth == 1 && impl.observerError) {
        std::rethrow_exception(std::exchange(impl.observerError, nullptr));
    }
}

DataSet::DataSet(Database& database) : impl_(std::make_unique<Impl>(database)) {}
DataSet::~DataSet() = default;

Database& DataSet::database() const {
    return impl_->database;
}

std::string DataSet::description() const {
    return impl_->fileNames.empty() ? configuredFileNames() : impl_->fileNames;
}

void DataSet::notify(DataChange change) {
    // Observers may subscribe or leave while being told.
    const auto observers = impl_->observers;
    std::exception_ptr first;
    for (const auto& [token, observer] : observers) {
        try {
            observer(change);
        } catch (...) {
            if (!first) {
                first = std::current_exception();
            }
        }
    }
    if (!first) {
        return;
    }
    if (impl_->changeDepth == 0) {
        std::rethrow_exception(first);
    }
    if (!impl_->observerError) {
        impl_->observerError = first;
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
    changing([this] {
        impl_->fileNames.clear();
        impl_->fileNames = configuredFileNames();
        impl_->cursor = makeCursor();
        try {
            impl_->cursor->read(impl_->set);
        } catch (...) {
            impl_->fileNames = impl_->cursor->fileNames();
            impl_->clear();
            throw;
        }
        impl_->fileNames = impl_->cursor->fileNames();
        impl_->active = true;
        impl_->state = DataSetState::Browse;
        const bool empty = impl_->set.rows.empty();
        impl_->setCursor(empty ? -1 : 0, true, empty);
        notify(DataChange::Opened);
    });
}

void DataSet::close() {
    if (!impl_->active) {
        return;
    }
    changing([this] {
        impl_->clear();
        notify(DataChange::Closed);
    });
}

bool DataSet::active() const {
    return impl_->active;
}
DataSetState DataSet::state() const {
    return impl_->state;
}

void DataSet::settlePendingRow() {
    if (impl_->state != DataSetState::Browse) {
        modified() ? post() : cancel();
    }
}

void DataSet::first() {
    impl_->requireActive();
    changing([this] {
        settlePendingRow();
        const bool empty = impl_->set.rows.empty();
        impl_->setCursor(empty ? -1 : 0, true, empty);
        notify(DataChange::CurrentRowMoved);
    });
}

void DataSet::last() {
    impl_->requireActive();
    changing([this] {
        settlePendingRow();
        const bool empty = impl_->set.rows.empty();
        impl_->setCursor(static_cast<int>(impl_->set.rows.size()) - 1, empty, true);
        notify(DataChange::CurrentRowMoved);
    });
}

void DataSet::next() {
    moveBy(1);
}
void DataSet::prior() {
    moveBy(-1);
}

void DataSet::moveBy(int distance) {
    impl_->requireActive();
    changing([this, distance] {
        settlePendingRow();
        if (distance == 0 || (distance > 0 && impl_->eof) || (distance < 0 && impl_->bof)) {
            return;
        }
        const auto count = static_cast<long long>(impl_->set.rows.size());
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
    });
}

bool DataSet::bof() const {
    return impl_->bof;
}
bool DataSet::eof() const {
    return impl_->eof;
}

bool DataSet::locate(std::string_view field, std::string_view value) {
    impl_->requireActive();
    return changing([&] {
        settlePendingRow();
        const int column = impl_->fieldIndex(field);
        const Column& described = impl_->set.columns[static_cast<std::size_t>(column)];
        if (described.blob) {
            impl_->fail("Cannot locate in", "field '" + described.name + "' holds binary data");
        }
        // The stored value can be no longer than the field, so a longer value is cut to fit.
        if (described.width > 0 && value.size() > static_cast<std::size_t>(described.width)) {
            value = value.substr(0, static_cast<std::size_t>(described.width));
        }
        for (std::size_t i = 0; i < impl_->set.rows.size(); ++i) {
            if (impl_->cellAt(static_cast<int>(i), column).bytes == value) {
                impl_->setCursor(static_cast<int>(i), false, false);
                notify(DataChange::CurrentRowMoved);
                return true;
            }
        }
        return false;
    });
}

int DataSet::recordCount() const {
    impl_->requireActive();
    return static_cast<int>(impl_->set.rows.size());
}

int DataSet::recNo() const {
    return impl_->active ? impl_->current + 1 : 0;
}

void DataSet::setRecNo(int recNo) {
    impl_->requireActive();
    changing([this, recNo] {
        settlePendingRow();
        if (impl_->set.rows.empty()) {
            return;
        }
        const int count = static_cast<int>(impl_->set.rows.size());
        impl_->setCursor(std::clamp(recNo, 1, count) - 1, false, false);
        notify(DataChange::CurrentRowMoved);
    });
}

std::string DataSet::fieldAsString(std::string_view field) {
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
    impl_->requireEditing();
    const Column& described = impl_->set.columns[static_cast<std::size_t>(column)];
    if (described.width > 0 && value.size() > static_cast<std::size_t>(described.width)) {
        impl_->fail("Cannot modify", "the value \"" + std::string(value) +
                                         "\" is longer than field '" + described.name + "' (" +
                                         std::to_string(described.width) + " bytes)");
    }
    changing([&] {
        Cell& cell = impl_->currentCell(column);
        cell.bytes = std::string(value);
        cell.null = false;
        cell.loaded = true;
        cell.dirty = true;
        notify(DataChange::FieldChanged);
    });
}

std::size_t DataSet::blobSize(std::string_view field) {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->current < 0) {
        return 0;
    }
    return impl_->cellAt(impl_->current, column).bytes.size();
}

Bytes DataSet::blob(std::string_view field) {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (impl_->current < 0) {
        return {};
    }
    const std::string& bytes = impl_->cellAt(impl_->current, column).bytes;
    return Bytes(bytes.begin(), bytes.end());
}

Bytes DataSet::blobAt(int recNo, std::string_view field) {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    if (recNo < 1 || recNo > static_cast<int>(impl_->set.rows.size())) {
        return {};
    }
    const std::string& bytes = impl_->cellAt(recNo - 1, column).bytes;
    return Bytes(bytes.begin(), bytes.end());
}

void DataSet::setBlob(std::string_view field, Bytes bytes) {
    impl_->requireActive();
    const int column = impl_->fieldIndex(field);
    impl_->requireEditing();
    changing([&] {
        Cell& cell = impl_->currentCell(column);
        cell.bytes.assign(bytes.begin(), bytes.end());
        cell.null = false;
        cell.loaded = true;
        cell.dirty = true;
        notify(DataChange::FieldChanged);
    });
}

void DataSet::loadBlobFromFile(std::string_view field, const std::string& file) {
    impl_->requireActive();
    impl_->fieldIndex(field);
    setBlob(field, readFileBytes(file));
}

void DataSet::append() {
    impl_->requireWritable();
    changing([this] {
        settlePendingRow();
        Row row;
        row.cells.resize(impl_->set.columns.size());
        impl_->currentBeforeInsert = impl_->current;
        impl_->set.rows.push_back(std::move(row));
        impl_->state = DataSetState::Insert;
        impl_->setCursor(static_cast<int>(impl_->set.rows.size()) - 1, false, false);
        notify(DataChange::RowAppended);
    });
}

void DataSet::insert() {
    impl_->requireWritable();
    changing([this] {
        settlePendingRow();
        Row row;
        row.cells.resize(impl_->set.columns.size());
        const int at = std::max(impl_->current, 0);
        impl_->currentBeforeInsert = impl_->current;
        impl_->set.rows.insert(impl_->set.rows.begin() + at, std::move(row));
        impl_->state = DataSetState::Insert;
        impl_->setCursor(at, false, false);
        notify(DataChange::RowInserted);
    });
}

void DataSet::edit() {
    impl_->requireWritable();
    if (impl_->state == DataSetState::Edit || impl_->state == DataSetState::Insert) {
        return;
    }
    if (impl_->current < 0) {
        impl_->fail("Cannot edit", "the table has no rows");
    }
    impl_->original = impl_->set.rows[static_cast<std::size_t>(impl_->current)];
    impl_->state = DataSetState::Edit;
}

void DataSet::post() {
    impl_->requireActive();
    if (impl_->state == DataSetState::Browse) {
        return;
    }
    changing([this] {
        const std::int64_t stored =
            impl_->cursor->store(impl_->set, impl_->current, impl_->state == DataSetState::Insert);
        impl_->state = DataSetState::Browse;
        impl_->cursor->refresh(impl_->set);
        const auto& rows = impl_->set.rows;
        const auto found = std::find_if(rows.begin(), rows.end(),
                                        [stored](const Row& row) { return row.rowid == stored; });
        const int index = found != rows.end()
                              ? static_cast<int>(found - rows.begin())
                              : std::min(impl_->current, static_cast<int>(rows.size()) - 1);
        impl_->setCursor(index, false, false);
        notify(DataChange::RowPosted);
    });
}

void DataSet::cancel() {
    impl_->requireActive();
    if (impl_->state == DataSetState::Insert) {
        changing([this] {
            auto& rows = impl_->set.rows;
            rows.erase(rows.begin() + impl_->current);
            const int count = static_cast<int>(rows.size());
            const int back = std::min(impl_->currentBeforeInsert, count - 1);
            impl_->setCursor(count == 0 ? -1 : std::max(back, 0), count == 0, count == 0);
            impl_->state = DataSetState::Browse;
            notify(DataChange::RowCancelled);
        });
    } else if (impl_->state == DataSetState::Edit) {
        changing([this] {
            impl_->set.rows[static_cast<std::size_t>(impl_->current)] = impl_->original;
            impl_->state = DataSetState::Browse;
            notify(DataChange::RowCancelled);
        });
    }
}

void DataSet::remove() {
    impl_->requireWritable();
    if (impl_->state == DataSetState::Insert) {
        cancel();
        return;
    }
    changing([this] {
        if (impl_->state == DataSetState::Edit) {
            cancel();
        }
        if (impl_->current < 0) {
            impl_->fail("Cannot delete from", "the table has no rows");
        }
        auto& rows = impl_->set.rows;
        impl_->cursor->remove(rows[static_cast<std::size_t>(impl_->current)]);
        rows.erase(rows.begin() + impl_->current);
        const int count = static_cast<int>(rows.size());
        if (count == 0) {
            impl_->setCursor(-1, true, true);
        } else {
            impl_->setCursor(std::min(impl_->current, count - 1), false, false);
        }
        notify(DataChange::RowDeleted);
    });
}

bool DataSet::modified() const {
    if (!impl_->active || impl_->current < 0 || impl_->state == DataSetState::Browse) {
        return false;
    }
    const Row& row = impl_->set.rows[static_cast<std::size_t>(impl_->current)];
    return std::any_of(row.cells.begin(), row.cells.end(),
                       [](const Cell& cell) { return cell.dirty; });
}

}  // namespace qir::store
