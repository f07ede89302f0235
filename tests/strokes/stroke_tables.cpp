// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/strokes/stroke_tables.h"

#include <cstdio>

#include "store/table_file.h"
#include "tests/strokes/jpeg_maker.h"

namespace qir::testing {

std::vector<StrokeRow> strokeRows(const std::string& hanzi, int steps, int side) {
    std::vector<StrokeRow> rows;
    for (int step = 1; step <= steps; ++step) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", step);
        rows.push_back({hanzi + number, makeStrokeJpeg(side, step, steps)});
    }
    return rows;
}

void writeStrokeTables(const std::vector<StrokeRow>& rows) {
    store::TableFileWriter strokes(store::kStrokeTable.fileName, store::kStrokeTable);
    for (const StrokeRow& row : rows) {
        strokes.addRow(row.filename, row.photo);
    }
    strokes.commit();
    store::TableFileWriter display(store::kStrokeDisplayTable.fileName, store::kStrokeDisplayTable);
    display.commit();
}

OpenedStore::OpenedStore() {
    store.addPassword(store::kStorePassword);
}

}  // namespace qir::testing
