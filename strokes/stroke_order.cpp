// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/stroke_order.h"

#include <optional>

#include "platform/file_io.h"
#include "store/character_store.h"
#include "store/dataset.h"
#include "store/write_batch.h"
#include "strokes/pictures/jpeg_to_bmp.h"

namespace qir::strokes {

void ShowStrokeOrder(const std::string& currentHanzi, store::CharacterStore& store,
                     int screenDepth) {
    store::Table& tablebmp = store.strokeDisplayTable();
    tablebmp.close();  // drops a row left pending by an earlier, failed rebuild
    tablebmp.emptyTable();
    tablebmp.open();
    // One commit for the character's steps rather than one for each. It starts at the first
    // step, once the steps' query has attached its table (which no transaction may enclose).
    std::optional<store::WriteBatch> batch;
    const bool toTheLastStep =
        store.forEachStep(currentHanzi, [&](const std::string& name, const Bytes& picture) {
            if (!batch) {
                batch.emplace(tablebmp);
            }
            writeFileBytes(kStrokeJpegFile, picture);
            tablebmp.append();
            tablebmp.setFieldAsString("Filename", name);
            ConvertJpegToBmp(kStrokeJpegFile, screenDepth);
            tablebmp.loadBlobFromFile("Photo", kBitmapFile);
            tablebmp.post();
            deleteFile(kBitmapFile);
        });
    if (batch) {
        batch->commit();
    }
    // An empty picture leaves the last row added current.
    if (toTheLastStep) {
        tablebmp.first();
    }
}

}  // namespace qir::strokes
