#pragma once
// Data sets of the table engine: tables and queries with a cursor, begin and end flags, a
// state, fields by name, blobs, and change notices for the controls bound to them.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace qir::store {

class Database;

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

class DataSet {
  public:
    using Observer = std::function<void(DataChange)>;

    explicit DataSet(Database& database);
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // Opening an open data set does nothing. Throws EngineError naming the table file.
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
    // insert or edit state; a text longer than the field's width is an EngineError.
    std::string fieldAsString(std::string_view field) const;
    void setFieldAsString(std::string_view field, std::string_view value);

    // The current row's blob; size 0 when empty or when there is no current row.
    std::size_t blobSize(std::string_view field) const;
    Bytes blob(std::string_view field) const;
    // The blob of row `recNo` without moving the cursor (for painting other rows).
    Bytes blobAt(int recNo, std::string_view field) const;
    // Sets the blob of the row being inserted or edited; loading reads the file whole,
    // throwing FileOpenError / StreamReadError.
    void setBlob(std::string_view field, Bytes bytes);
    void loadBlobFromFile(std::string_view field, const std::string& file);

    // Editing. Append adds a row at the end, Insert in front of the current row; each
    // becomes current in the insert state. Edit puts the current row in the edit state.
    // Post stores it, Cancel drops it, Delete removes the current row.
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

  protected:
    struct Impl;
    Database& database() const;
    // Subclasses give the SQL that yields the rows and the one table file to write to.
    virtual std::string selectStatement() const = 0;
    virtual std::vector<std::string> parameters() const = 0;
    virtual std::vector<std::string> tableNames() const = 0;
    void notify(DataChange change);

  private:
    std::unique_ptr<Impl> impl_;
};

// A table cursor over one table file ("bishunbmp.db"). Rows come in key order where the
// table has a key, in append order where it has none.
class Table : public DataSet {
  public:
    using DataSet::DataSet;
    void setTableName(std::string name);
    const std::string& tableName() const { return tableName_; }
    // Deletes every row; the table must be closed. Throws EngineError.
    void emptyTable();

  protected:
    std::string selectStatement() const override;
    std::vector<std::string> parameters() const override;
    std::vector<std::string> tableNames() const override;

  private:
    std::string tableName_;
};

// A read-only query whose text names table files ("select * from donghua.db ...").
class Query : public DataSet {
  public:
    using DataSet::DataSet;
    void setSql(std::vector<std::string> lines);
    // The first parameter's value; only while the query is closed.
    void setParamAsString(std::string value);

  protected:
    std::string selectStatement() const override;
    std::vector<std::string> parameters() const override;
    std::vector<std::string> tableNames() const override;

  private:
    std::vector<std::string> lines_;
    std::string parameter_;
};

}  // namespace qir::store
