// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/navigation.h"

#include "store/dataset.h"

namespace qir::store {

// The locate's result is not looked at: on a miss the step works from wherever the cursor
// stands, with the flags the last step left.
std::string priorCharacter(Table& cursor, const std::string& currentHanzi) {
    cursor.open();
    cursor.locate("filename", currentHanzi);
    if (cursor.bof()) {
        return currentHanzi;
    }
    cursor.moveBy(-1);
    return cursor.fieldAsString("filename");
}

std::string nextCharacter(Table& cursor, const std::string& currentHanzi) {
    cursor.open();
    cursor.locate("filename", currentHanzi);
    if (cursor.eof()) {
        return currentHanzi;
    }
    cursor.moveBy(1);
    return cursor.fieldAsString("filename");
}

}  // namespace qir::store
