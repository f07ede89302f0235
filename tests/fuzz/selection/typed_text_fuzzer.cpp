// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever text arrives, what the filter keeps fits the box, is GB2312, and holds no ASCII.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gb2312.h"
#include "selection/key_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t budget = data[0] % 4;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    const auto filtered = qir::selection::filterTypedText(text, budget);
    const auto bytes = qir::gb2312::fromUnicode(filtered.accepted);
    if (!bytes || bytes->size() > budget || filtered.refusals < 0) {
        std::abort();
    }
    for (unsigned char byte : *bytes) {
        if (byte < 0x80) {
            std::abort();
        }
    }
    return 0;
}
