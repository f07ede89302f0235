// SPDX-License-Identifier: GPL-3.0-or-later
// Any byte string either decodes to nodes that encode back to the same bytes, or is refused
// with StreamReadError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/errors.h"
#include "selection/catalogue_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> block(data, size);
    try {
        const auto nodes = qir::selection::decodeCatalogue(block);
        const auto again = qir::selection::encodeCatalogue(nodes);
        if (again.size() != size || !std::equal(again.begin(), again.end(), block.begin())) {
            std::abort();
        }
    } catch (const qir::StreamReadError&) {
    }
    return 0;
}
