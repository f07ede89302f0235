// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/stroke_order.h"

#include "platform/file_io.h"
#include "platform/gb2312.h"
#include "store/dataset.h"
#include "strokes/jpeg_to_bmp.h"

namespace qir::strokes {

std::string strokePattern(const std::string& currentHanzi) {
    // Trimmed: some catalogue entries carry a trailing blank, which would otherwise have to
    // be matched too and so find no step at all.
    std::string pattern = "%";
    pattern += gb2312::trimmed(currentHanzi);
    pattern += '%';
    return pattern;
}

void ShowStrokeOrder(const std::string& currentHanzi, store::Query& querybs, store::Table& tablebmp,
                     int screenDepth) {
    tablebmp.close();  // drops a row left pending by an earlier, failed rebuild
    tablebmp.emptyTable();
    tablebmp.open();
    // A key of the animation table that is no character (empty, or holding "%" or "_") would
    // match the steps of every character as a pattern.
    if (!gb2312::isHanzi(currentHanzi)) {
        return;
    }

    querybs.close();
    querybs.setParamAsString(strokePattern(currentHanzi));
    querybs.open();
    querybs.first();

    while (!querybs.eof()) {
        if (querybs.blobSize("Photo") == 0) {
            return;  // an empty picture ends the steps, the last one shown staying current
        }
        writeFileBytes(kStrokeJpegFile, querybs.blob("Photo"));
        tablebmp.append();
        tablebmp.setFieldAsString("Filename", querybs.fieldAsString("filename"));
        ConvertJpegToBmp(kStrokeJpegFile, screenDepth);
        tablebmp.loadBlobFromFile("Photo", kBitmapFile);
        tablebmp.post();
        deleteFile(kBitmapFile);
        querybs.next();
    }
    tablebmp.first();
}

}  // namespace qir::strokes
