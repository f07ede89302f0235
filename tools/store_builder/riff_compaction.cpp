// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/riff_compaction.h"

#include <cstdint>
#include <cstring>

#include "tools/store_builder/avi_clip_encoder.h"

namespace qir::tools {
namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t readSize(std::span<const unsigned char> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void appendSize(Bytes& out, std::size_t size) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<unsigned char>(size >> shift));
    }
}

bool isId(std::span<const unsigned char> bytes, std::size_t at, const char* id) {
    return std::memcmp(bytes.data() + at, id, 4) == 0;
}

// Copies the chunks of `bytes` to `out`, leaving out JUNK and compacting nested lists.
void copyChunks(std::span<const unsigned char> bytes, Bytes& out) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) {
            throw EncodeError("malformed AVI: a chunk header is cut short");
        }
        const std::size_t size = readSize(bytes, at + 4);
        const std::size_t padded = size + (size & 1);
        if (size > bytes.size() - at - 8) {
            throw EncodeError("malformed AVI: a chunk runs past its list");
        }
        const auto chunk = bytes.subspan(at, 8 + std::min(padded, bytes.size() - at - 8));
        const bool isList = isId(bytes, at, "LIST") || isId(bytes, at, "RIFF");
        if (isId(bytes, at, "JUNK")) {
            // left out
        } else if (isList && size >= 4 && !isId(bytes, at + 8, "movi")) {
            Bytes body;
            copyChunks(bytes.subspan(at + 12, size - 4), body);
            out.insert(out.end(), chunk.begin(), chunk.begin() + 4);
            appendSize(out, body.size() + 4);
            out.insert(out.end(), chunk.begin() + 8, chunk.begin() + 12);
            out.insert(out.end(), body.begin(), body.end());
        } else {
            out.insert(out.end(), chunk.begin(), chunk.end());
        }
        at += 8 + padded;
    }
}

}  // namespace

std::vector<unsigned char> withoutJunkChunks(std::span<const unsigned char> riff) {
    if (riff.size() < 12 || !isId(riff, 0, "RIFF")) {
        throw EncodeError("malformed AVI: no RIFF header");
    }
    Bytes out;
    out.reserve(riff.size());
    copyChunks(riff, out);
    return out;
}

}  // namespace qir::tools
