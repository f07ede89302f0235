// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the rows of a table file in the working directory, for the end-to-end tests: the
// count, then each row's Filename in hexadecimal.
#include <cstdio>
#include <exception>

#include "store/dataset.h"
#include "store/session.h"
#include "store/table_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TABLE_FILE\n", argv[0]);
        return 2;
    }
    try {
        qir::store::Session session;
        session.addPassword(qir::store::kStorePassword);
        qir::store::Database database(session, "mirdox", "STANDARD", {});
        qir::store::Table table(database);
        table.setTableName(argv[1]);
        table.setReadOnly(true);
        table.open();
        std::printf("%d\n", table.recordCount());
        for (table.first(); !table.eof(); table.next()) {
            for (unsigned char byte : table.fieldAsString("Filename")) {
                std::printf("%02X", byte);
            }
            std::printf("\n");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
