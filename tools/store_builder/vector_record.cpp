// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/vector_record.h"

#include "store/vector_table.h"

namespace qir::tools {
std::vector<unsigned char> vectorRow(const CharacterData& data) {
    return store::vectorRowBytes(data);
}

std::string vectorTableNotice(const std::string& storeNotice) {
    return storeNotice + " This table keeps each character's outlines and medians themselves, " +
           "in stroke order, coordinates rounded to an eighth of a unit, in version " +
           std::to_string(store::kStrokeVectorsVersion) +
           " of the program's stroke vector encoding, each row deflated as a zlib stream.";
}

}  // namespace qir::tools
