// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a row of the vector table: they decode or are refused with the format's
// own error, never crash; whatever decodes encodes again to the same strokes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "store/stroke_vectors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qir::store;
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
