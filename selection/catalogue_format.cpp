// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/catalogue_format.h"

#include <cstddef>

#include "platform/errors.h"

namespace qir::selection {
namespace {

// A node's fixed part after its record size: six 32-bit values and the length byte.
constexpr std::uint32_t kFixedRecordSize = 25;
// Groups and their characters; nothing in the catalogue nests deeper.
constexpr int kMaximumDepth = 2;

class BlockReader {
  public:
    explicit BlockReader(std::span<const unsigned char> block) : block_(block) {}

    std::uint32_t readUint32() {
        const auto bytes = take(4);
        return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
               static_cast<std::uint32_t>(bytes[2]) << 16 |
               static_cast<std::uint32_t>(bytes[3]) << 24;
    }
    std::int32_t readInt32() { return static_cast<std::int32_t>(readUint32()); }
    unsigned char readByte() { return take(1)[0]; }
    std::string readText(std::size_t length) {
        const auto bytes = take(length);
        return std::string(bytes.begin(), bytes.end());
    }
    bool atEnd() const { return offset_ == block_.size(); }
    std::size_t remaining() const { return block_.size() - offset_; }

  private:
    std::span<const unsigned char> take(std::size_t count) {
        if (count > remaining()) {
            throw StreamReadError();
        }
        const auto bytes = block_.subspan(offset_, count);
        offset_ += count;
        return bytes;
    }

    std::span<const unsigned char> block_;
    std::size_t offset_ = 0;
};

void readNodes(BlockReader& reader, std::uint32_t count, int depth,
               std::vector<CatalogueNodeRecord>& into) {
    // Every node takes at least 29 bytes, so a count the block cannot hold is refused before
    // anything is reserved for it.
    if (count > reader.remaining() / (4 + kFixedRecordSize)) {
        throw StreamReadError();
    }
    into.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        CatalogueNodeRecord node;
        const std::uint32_t recordSize = reader.readUint32();
        node.imageIndex = reader.readInt32();
        node.selectedIndex = reader.readInt32();
        node.stateIndex = reader.readInt32();
        node.overlayIndex = reader.readInt32();
        node.data = reader.readInt32();
        const std::int32_t childCount = reader.readInt32();
        const unsigned char length = reader.readByte();
        if (recordSize != kFixedRecordSize + length || childCount < 0 ||
            (childCount > 0 && depth + 1 >= kMaximumDepth)) {
            throw StreamReadError();
        }
        node.text = reader.readText(length);
        readNodes(reader, static_cast<std::uint32_t>(childCount), depth + 1, node.children);
        into.push_back(std::move(node));
    }
}

void appendUint32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void appendNode(std::vector<unsigned char>& out, const CatalogueNodeRecord& node) {
    if (node.text.size() > 255) {
        throw StreamWriteError();
    }
    appendUint32(out, kFixedRecordSize + static_cast<std::uint32_t>(node.text.size()));
    for (std::int32_t value :
         {node.imageIndex, node.selectedIndex, node.stateIndex, node.overlayIndex, node.data,
          static_cast<std::int32_t>(node.children.size())}) {
        appendUint32(out, static_cast<std::uint32_t>(value));
    }
    out.push_back(static_cast<unsigned char>(node.text.size()));
    out.insert(out.end(), node.text.begin(), node.text.end());
    for (const CatalogueNodeRecord& child : node.children) {
        appendNode(out, child);
    }
}

}  // namespace

std::vector<CatalogueNodeRecord> decodeCatalogue(std::span<const unsigned char> block) {
    BlockReader reader(block);
    std::vector<CatalogueNodeRecord> topLevel;
    readNodes(reader, reader.readUint32(), 0, topLevel);
    if (!reader.atEnd()) {
        throw StreamReadError();
    }
    return topLevel;
}

std::vector<unsigned char> encodeCatalogue(const std::vector<CatalogueNodeRecord>& topLevel) {
    std::vector<unsigned char> out;
    appendUint32(out, static_cast<std::uint32_t>(topLevel.size()));
    for (const CatalogueNodeRecord& node : topLevel) {
        appendNode(out, node);
    }
    return out;
}

}  // namespace qir::selection
