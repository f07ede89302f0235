// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a table file in the working directory, for the end-to-end tests. With the file alone it
// prints the count, then each row's Filename in hexadecimal; with a Filename in hexadecimal
// too, it writes that row's Photo to standard output.
#include <cstdio>
#include <exception>
#include <string>

#include "store/dataset.h"
#include "store/session.h"
#include "store/table_file.h"

namespace {

std::string hexOf(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        hex += digits;
    }
    return hex;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s TABLE_FILE [FILENAME_IN_HEX]\n", argv[0]);
        return 2;
    }
    try {
        qir::store::Session session;
        session.addPassword(qir::store::kStorePassword);
        qir::store::Database database(session, "mirdox", {});
        qir::store::Table table(database);
        table.setTableName(argv[1]);
        table.setReadOnly(true);
        table.open();
        if (argc == 2) {
            std::printf("%d\n", table.recordCount());
        }
        for (table.first(); !table.eof(); table.next()) {
            const std::string name = hexOf(table.fieldAsString("Filename"));
            if (argc == 2) {
                std::printf("%s\n", name.c_str());
            } else if (name == argv[2]) {
                const auto photo = table.blob("Photo");
                std::fwrite(photo.data(), 1, photo.size(), stdout);
                return 0;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (argc == 3) {
        std::fprintf(stderr, "no row %s in %s\n", argv[2], argv[1]);
        return 1;
    }
    return 0;
}
