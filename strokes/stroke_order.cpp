// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/stroke_order.h"

#include "platform/file_io.h"
#include "store/character_store.h"
#include "store/dataset.h"
#include "strokes/pictures/jpeg_to_bmp.h"

namespace qir::strokes {

void ShowStrokeOrder(const std::string& currentHanzi, store::CharacterStore& store,
                     int screenDepth) {
    store::Table& tablebmp = store.strokeDisplayTable();
    tablebmp.close();  // drops a row left pending by an earlier, failed rebuild
    tablebmp.emptyTable();
    tablebmp.open();
    const bool toTheLastStep =
        store.forEachStep(currentHanzi, [&](const std::string& name, const Bytes& picture) {
            writeFileBytes(kStrokeJpegFile, picture);
            tablebmp.append();
            tablebmp.setFieldAsString("Filename", name);
            ConvertJpegToBmp(kStrokeJpegFile, screenDepth);
            tablebmp.loadBlobFromFile("Photo", kBitmapFile);
            tablebmp.post();
            deleteFile(kBitmapFile);
        });
    // An empty picture leaves the last row added current.
    if (toTheLastStep) {
        tablebmp.first();
    }
}

}  // namespace qir::strokes
