// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/vector_table.h"

#include <zlib.h>

#include <algorithm>

#include "platform/gb2312.h"
#include "store/read_only_table.h"
#include "store/sqlite.h"

namespace qir::store {
namespace {

constexpr const char* kTableName = kVectorTable.fileName;

// No real character's encoding comes near this (the largest is under 3 KB); a row that inflates
// beyond it is damaged, and is not allowed to take the memory it claims.
constexpr std::size_t kMaxEncodedBytes = 4 << 20;
// A row longer than the deflated form of the largest encoding allowed cannot be whole; it is
// refused by its length, before a byte of it is read.
const std::size_t kMaxRowBytes = compressBound(kMaxEncodedBytes);

}  // namespace

std::vector<unsigned char> vectorRowBytes(const StrokeVectors& vectors) {
    const std::vector<unsigned char> plain = encodeStrokeVectors(vectors);
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    std::vector<unsigned char> packed(size);
    if (compress2(packed.data(), &size, plain.data(), static_cast<uLong>(plain.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw StrokeVectorsError("the strokes cannot be compressed");
    }
    packed.resize(size);
    return packed;
}

StrokeVectors strokeVectorsOfRow(std::span<const unsigned char> row) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        throw StrokeVectorsError("the row cannot be inflated");
    }
    struct End {
        z_stream& stream;
        ~End() { inflateEnd(&stream); }
    } end{stream};
    stream.next_in = const_cast<Bytef*>(row.data());
    stream.avail_in = static_cast<uInt>(row.size());
    // Starts small and grows by doubling up to the cap: the row's own size says nothing
    // trustworthy about what it inflates to.
    std::vector<unsigned char> plain(
        std::min(std::max<std::size_t>(row.size() * 4, 1024), kMaxEncodedBytes));
    for (;;) {
        stream.next_out = plain.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(plain.size() - stream.total_out);
        const int code = inflate(&stream, Z_NO_FLUSH);
        if (code == Z_STREAM_END) {
            break;
        }
        if (code != Z_OK && code != Z_BUF_ERROR) {
            throw StrokeVectorsError("the row is not a deflated encoding");
        }
        if (stream.avail_in == 0 && stream.avail_out != 0) {
            throw StrokeVectorsError("the row ends inside its deflated encoding");
        }
        if (plain.size() >= kMaxEncodedBytes) {
            throw StrokeVectorsError("the row inflates beyond any character's size");
        }
        plain.resize(std::min(plain.size() * 2, kMaxEncodedBytes));
    }
    if (stream.avail_in != 0) {
        throw StrokeVectorsError("bytes follow the row's deflated encoding");
    }
    plain.resize(stream.total_out);
    return decodeStrokeVectors(plain);
}

VectorTable::VectorTable(std::filesystem::path folder, std::string password)
    : table_(
          std::make_unique<ReadOnlyTable>(std::move(folder), kVectorTable, std::move(password))) {}

VectorTable::~VectorTable() = default;

bool VectorTable::isOpen() const {
    return table_->isOpen();
}

const std::filesystem::path& VectorTable::file() const {
    return table_->file();
}

std::optional<StrokeVectors> VectorTable::find(std::string_view hanzi) {
    const std::string_view key = gb2312::trimmed(hanzi);
    const auto damaged = [&](const std::string& cause) {
        sql::fail("Cannot read table", kTableName,
                  "the strokes of " + gb2312::toUnicode(key).toStdString() + " are damaged (" +
                      cause + ")");
    };
    std::optional<std::string> blob;
    try {
        blob = table_->find(key, kMaxRowBytes);
    } catch (const ReadOnlyTable::RowTooLarge&) {
        damaged("the row is larger than any character's");
    }
    if (!blob) {
        return std::nullopt;
    }
    try {
        return strokeVectorsOfRow(
            std::span(reinterpret_cast<const unsigned char*>(blob->data()), blob->size()));
    } catch (const StrokeVectorsError& e) {
        damaged(e.what());
    }
    return std::nullopt;  // not reached: damaged() throws
}

}  // namespace qir::store
