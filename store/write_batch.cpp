// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/write_batch.h"

#include "store/sqlite.h"

namespace qir::store {

WriteBatch::WriteBatch(Table& table) : database_(table.database()), tableFile_(table.tableName()) {
    sql::Connection& connection = database_.connection();
    if (const int code = connection.tryExec("BEGIN"); code != SQLITE_OK) {
        sql::failWithCode("Cannot write table", tableFile_, code, connection.get());
    }
}

WriteBatch::~WriteBatch() {
    if (!done_ && open()) {
        database_.connection().tryExec("COMMIT");
    }
}

bool WriteBatch::open() const {
    return sqlite3_get_autocommit(database_.connection().get()) == 0;
}

void WriteBatch::commit() {
    done_ = true;
    if (!open()) {
        return;  // rolled back by the engine after a failed write, which has been reported
    }
    sql::Connection& connection = database_.connection();
    if (const int code = connection.tryExec("COMMIT"); code != SQLITE_OK) {
        // Rows that cannot be written are not left pending for the next change to carry.
        connection.tryExec("ROLLBACK");
        sql::failWithCode("Cannot write table", tableFile_, code, connection.get());
    }
}

}  // namespace qir::store
