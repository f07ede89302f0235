// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a row of the vector table, and as the encoding inside it: they inflate and
// decode or are refused with the format's own error, never crash; whatever decodes encodes
// again to the same strokes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "store/stroke_vectors.h"
#include "store/vector_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qir::store;
    try {
        const StrokeVectors row = strokeVectorsOfRow(std::span(data, size));
        if (strokeVectorsOfRow(vectorRowBytes(row)) != row) {
            std::abort();
        }
    } catch (const StrokeVectorsError&) {
    }
    StrokeVectors vectors;
    try {
        vectors = decodeStrokeVectors(std::span(data, size));
    } catch (const StrokeVectorsError&) {
        return 0;
    }
    if (decodeStrokeVectors(encodeStrokeVectors(vectors)) != vectors) {
        std::abort();
    }
    return 0;
}
