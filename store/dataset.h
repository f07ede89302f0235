// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Data sets of the table engine: tables and queries with a cursor, begin and end flags, a
// state, fields by name, blobs, and change notices for the controls bound to them.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/file_io.h"
#include "store/session.h"
#include "store/table_file.h"

namespace qir::store {

class RowCursor;

enum class DataSetState { Inactive, Browse, Insert, Edit };

// What changed, for observers (the stroke grid redraws on each).
enum class DataChange {
    Opened,
    Closed,
    Emptied,
    CurrentRowMoved,
    RowAppended,  // a new row became current, being inserted
    RowInserted,  // same, in front of the current row
    RowPosted,
    RowCancelled,
    RowDeleted,
    FieldChanged,
};

// Every change is told to the observers once the data set is whole again: an observer that
// throws keeps neither the later observers from hearing of it nor the change from completing,
// and its error leaves the call that made the change.
class DataSet {
  public:
    using Observer = std::function<void(DataChange)>;

    explicit DataSet(Database& database);
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // Opening an open data set does nothing; the cursor then stands on the first row with the
    // start flag set (and the end flag too when there are no rows). Throws EngineError naming
    // the table file. Cursor, field and editing calls on a closed data set throw EngineError.
    void open();
    // Closing drops a row still being inserted or edited.
    void close();
    bool active() const;
    DataSetState state() const;

    // Cursor. First sets the start flag (and the end flag when there are no rows). A move
    // by +1/-1 clears both flags; with no neighbour the row stays and the end (+1) or start
    // (-1) flag is set; a move toward a flag already set does nothing.
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    bool bof() const;
    bool eof() const;

    // Exact, case-sensitive, whole-value match on one field; a value longer than the field's
    // width is cut to the width first. On success the row becomes current and both flags
    // clear; on failure nothing changes.
    bool locate(std::string_view field, std::string_view value);

    int recordCount() const;   // rows of the open data set
    int recNo() const;         // 1-based number of the current row; 0 when there is none
    void setRecNo(int recNo);  // makes that row current (clamped to the rows)

    // Fields by name in any case. Reading with no current row gives "". Writing needs the
    // insert or edit state; a text longer than the field's width is an EngineError. Reading
    // is not const: a query may run again to fetch a blob, and let go of other rows' blobs.
    std::string fieldAsString(std::string_view field);
    void setFieldAsString(std::string_view field, std::string_view value);

    // The current row's blob; size 0 when empty or when there is no current row.
    std::size_t blobSize(std::string_view field);
    Bytes blob(std::string_view field);
    // The blob of row `recNo` without moving the cursor (for painting other rows).
    Bytes blobAt(int recNo, std::string_view field);
    // Sets the blob of the row being inserted or edited; loading reads the file whole,
    // throwing FileOpenError / StreamReadError.
    void setBlob(std::string_view field, Bytes bytes);
    void loadBlobFromFile(std::string_view field, const std::string& file);

    // Editing. Append adds a row at the end, Insert in front of the current row; each
    // becomes current in the insert state. Edit puts the current row in the edit state.
    // Post stores it, Cancel drops it, Delete removes the current row. After Post the stored
    // row is current in its place in the table's order (a table without a key keeps its rows
    // in the order they were stored, so an inserted row goes to the end). Moving the cursor
    // while inserting or editing posts a modified row and cancels an untouched one. Queries
    // and read-only tables refuse every change with an EngineError.
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();
    // True when the row being inserted or edited has had a field set since Append/Insert/Edit.
    bool modified() const;

    int subscribe(Observer observer);
    void unsubscribe(int token);

    // The table files the rows come from, joined for messages ("donghua.db").
    std::string description() const;

  protected:
    // Where the rows come from: a cursor over them, made at each open.
    virtual std::unique_ptr<RowCursor> makeCursor() = 0;
    // The table files as set, joined for messages before the data set finds them.
    virtual std::string configuredFileNames() const = 0;
    Database& database() const;
    // A batch writes through the table's own connection.
    friend class WriteBatch;
    // Tells every observer, even when one throws; inside a change, the first error waits
    // for the change to end.
    void notify(DataChange change);

    // Runs `body`, a change to the data set. Notices raised inside it, also by the changes it
    // makes on the way, reach every observer at once; the first error an observer throws
    // leaves when the outermost change is whole. An error of the change itself goes first.
    template <typename Body>
    auto changing(Body&& body) {
        ChangeScope scope(*this);
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            scope.finish();
        } else {
            auto result = body();
            scope.finish();
            return result;
        }
    }

  private:
    class ChangeScope {
      public:
        explicit ChangeScope(DataSet& dataSet);
        ~ChangeScope();
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;
        // Throws the observer's error the outermost change kept, if any.
        void finish();

      private:
        DataSet& dataSet_;
    };

    // Moving the cursor while inserting or editing posts a modified row and drops an
    // untouched one.
    void settlePendingRow();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A table cursor over one table file ("bishunbmp.db"). Rows come in key order where the
// table has a key, in append order where it has none.
class Table : public DataSet {
  public:
    using DataSet::DataSet;
    void setTableName(std::string name);
    const std::string& tableName() const { return tableName_; }
    // A read-only table opens its file read-only and refuses every change.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Scratch rows are rebuilt whenever needed, so writes do not wait for the disk, and a
    // scratch table found damaged when it is emptied is made anew with `layout`.
    void setScratch(std::optional<TableLayout> layout) { scratchLayout_ = layout; }
    // Deletes every row and gives the file's freed space back; the table must be closed.
    // Throws EngineError.
    void emptyTable();

  protected:
    std::unique_ptr<RowCursor> makeCursor() override;
    std::string configuredFileNames() const override { return tableName_; }

  private:
    Database::Access access() const;
    void deleteAllRows();

    std::string tableName_;
    bool readOnly_ = false;
    std::optional<TableLayout> scratchLayout_;
    // Whether the scratch file's page size was compared with its layout's: once is enough, as
    // the program makes every later file itself.
    bool scratchPageSizeChecked_ = false;
};

// A read-only query whose text names table files ("select * from donghua.db ...").
class Query : public DataSet {
  public:
    using DataSet::DataSet;
    // The text's lines, joined by line breaks. Every "name.db" in it names a table file.
    void setSql(std::vector<std::string> lines);
    // The first parameter's value, used from the next open on (callers set it while the
    // query is closed). Opening a query whose parameter has no value is an EngineError.
    void setParamAsString(std::string value);
    // The blob bytes the query keeps from its opening (32 MB unless set); the blobs of later
    // rows are fetched again, by running the query to them, when asked for.
    void setBlobMemoryLimit(std::size_t bytes) { blobMemoryLimit_ = bytes; }

  protected:
    std::unique_ptr<RowCursor> makeCursor() override;
    std::string configuredFileNames() const override;

  private:
    std::string text() const;

    std::vector<std::string> lines_;
    std::string parameter_;
    bool parameterSet_ = false;
    std::size_t blobMemoryLimit_ = 32 * 1024 * 1024;
};

}  // namespace qir::store
