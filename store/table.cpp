// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dataset.h"
#include "store/engine_error.h"
#include "store/sqlite.h"
#include "store/table_cursor.h"

namespace qir::store {
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

int pageSizeOf(sql::Connection& connection, const std::string& schema) {
    int code = SQLITE_OK;
    sql::Statement size = connection.tryPrepare("PRAGMA " + schema + ".page_size", code);
    return size && sqlite3_step(size.get()) == SQLITE_ROW ? sqlite3_column_int(size.get(), 0) : 0;
}

}  // namespace

void Table::setTableName(std::string name) {
    tableName_ = std::move(name);
}

Database::Access Table::access() const {
    return readOnly_        ? Database::Access::ReadOnly
           : scratchLayout_ ? Database::Access::Scratch
                            : Database::Access::ReadWrite;
}

std::unique_ptr<RowCursor> Table::makeCursor() {
    return std::make_unique<TableCursor>(database(), tableName_, access());
}

void Table::emptyTable() {
    if (active()) {
        sql::fail("Cannot empty table", tableName_, "the table is open");
    }
    if (readOnly_) {
        sql::fail("Cannot empty table", tableName_, "the data set is read-only");
    }
    changing([this] {
        if (!scratchLayout_) {
            deleteAllRows();
        } else {
            try {
                deleteAllRows();
                // A scratch table made with the small pages of older versions is made afresh
                // with the layout's: each row of step pictures is written and read back in a
                // dozen small pages, each encrypted and written on its own.
                if (!scratchPageSizeChecked_) {
                    scratchPageSizeChecked_ = true;
                    const auto attachment = database().attach(tableName_, access());
                    if (pageSizeOf(database().connection(), sql::quoted(attachment.schema)) !=
                        scratchLayout_->pageSize) {
                        database().recreateTable(tableName_, *scratchLayout_);
                    }
                }
            } catch (const DamagedTableError&) {
                // Scratch rows are only ever the last ones shown, and emptying drops them
                // anyway: a new file loses nothing, where the damaged one would fail every time.
                database().recreateTable(tableName_, *scratchLayout_);
                deleteAllRows();
            }
        }
        notify(DataChange::Emptied);
    });
}

void Table::deleteAllRows() {
    const auto attachment = database().attach(tableName_, access());
    sql::Connection& connection = database().connection();
    const std::string schema = sql::quoted(attachment.schema);
    const int code = connection.tryExec("DELETE FROM " + schema + ".db");
    if (code == SQLITE_OK) {
        compactOlderFile(connection, schema);
        return;
    }
    // A page that cannot be decrypted shows as a plain engine error.
    if ((code & 0xff) == SQLITE_ERROR && database().foundDamaged(attachment.schema)) {
        sql::failDamaged("Cannot empty table", attachment.fileName, "the file is damaged");
    }
    sql::failWithCode("Cannot empty table", attachment.fileName, code, connection.get());
}

}  // namespace qir::store
