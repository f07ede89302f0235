// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A character's row of the vector table "bishunvec.db": the parsed stroke data itself, in the
// stroke order the pictures are drawn in, for what needs print quality.

#ifndef QIR_STORE_BUILDER_INTERNALS
#error "tools/store_builder/vector_record.h is private to its folder"
#endif

#include <string>
#include <vector>

#include "store/stroke_vectors.h"
#include "tools/store_builder/character_data.h"

namespace qir::tools {

// The encoded row. Throws store::StrokeVectorsError when the strokes cannot be encoded.
std::vector<unsigned char> vectorRow(const CharacterData& data);

// The vector table's notice: the store's own notice and how the rows are encoded.
std::string vectorTableNotice(const std::string& storeNotice);

}  // namespace qir::tools
