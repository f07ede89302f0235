// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/vector_table.h"

#include <zlib.h>

#include <algorithm>
#include <system_error>

#include "platform/gb2312.h"
#include "store/sqlite.h"

namespace qir::store {
namespace {

constexpr const char* kTableName = kVectorTable.fileName;

[[noreturn]] void cannotOpen(std::string_view cause) {
    sql::fail("Cannot open table", kTableName, cause);
}

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

struct VectorTable::Impl {
    std::unique_ptr<sql::Connection> connection;
    sql::Statement lookUp;
    sql::Statement photo;
};

VectorTable::VectorTable(std::filesystem::path folder, std::string password)
    : file_(std::move(folder) / kTableName), password_(std::move(password)) {}

VectorTable::~VectorTable() = default;

bool VectorTable::isOpen() const {
    return impl_ != nullptr;
}

void VectorTable::open() {
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) {
        cannotOpen("the file does not exist");
    }
    if (std::filesystem::is_directory(file_, error)) {
        cannotOpen("it is a folder, not a file");
    }
    auto impl = std::make_unique<Impl>();
    impl->connection =
        std::make_unique<sql::Connection>(file_.string(), SQLITE_OPEN_READONLY, kTableName);
    sqlite3* handle = impl->connection->get();
    sqlite3_key(handle, password_.data(), static_cast<int>(password_.size()));
    impl->connection->tryExec("PRAGMA cipher_page_size = " + std::to_string(kVectorTable.pageSize));
    // The key shows whether it fits only when the first page is read.
    int code = SQLITE_OK;
    sql::Statement probe = impl->connection->tryPrepare(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) = 'db'", code);
    if (!probe) {
        sql::failWithCode("Cannot open table", kTableName, code, handle);
    }
    code = sqlite3_step(probe.get());
    if (code != SQLITE_ROW) {
        sql::failWithCode("Cannot open table", kTableName, sqlite3_errcode(handle), handle);
    }
    if (sqlite3_column_int(probe.get(), 0) == 0) {
        cannotOpen("the file is not a table file");
    }
    probe.reset();
    // length() of a blob reads only its header, so a huge row costs nothing to measure.
    impl->lookUp = impl->connection->tryPrepare(
        "SELECT length(Photo), rowid FROM db WHERE Filename = ?1", code);
    if (!impl->lookUp) {
        sql::failWithCode("Cannot open table", kTableName, code, handle);
    }
    impl->photo = impl->connection->tryPrepare("SELECT Photo FROM db WHERE rowid = ?1", code);
    if (!impl->photo) {
        sql::failWithCode("Cannot open table", kTableName, code, handle);
    }
    impl_ = std::move(impl);
}

std::optional<StrokeVectors> VectorTable::find(std::string_view hanzi) {
    if (!impl_) {
        open();
    }
    const std::string_view key = gb2312::trimmed(hanzi);
    sqlite3_stmt* statement = impl_->lookUp.get();
    sqlite3_reset(statement);
    sql::bindText(statement, 1, key);
    const int code = sqlite3_step(statement);
    if (code == SQLITE_DONE) {
        sqlite3_reset(statement);
        return std::nullopt;
    }
    if (code != SQLITE_ROW) {
        sqlite3_reset(statement);
        sql::failWithCode("Cannot read table", kTableName, code, impl_->connection->get());
    }
    const auto length = static_cast<std::size_t>(sqlite3_column_int64(statement, 0));
    const sqlite3_int64 rowid = sqlite3_column_int64(statement, 1);
    sqlite3_reset(statement);
    const auto damaged = [&](const std::string& cause) {
        sql::fail("Cannot read table", kTableName,
                  "the strokes of " + gb2312::toUnicode(key).toStdString() + " are damaged (" +
                      cause + ")");
    };
    if (length > kMaxRowBytes) {
        damaged("the row is larger than any character's");
    }
    // Inflated straight from the engine's copy of the row, which lives until the reset.
    sqlite3_stmt* photo = impl_->photo.get();
    sqlite3_bind_int64(photo, 1, rowid);
    struct Reset {
        sqlite3_stmt* statement;
        ~Reset() { sqlite3_reset(statement); }
    } reset{photo};
    const int found = sqlite3_step(photo);
    if (found != SQLITE_ROW) {
        sql::failWithCode("Cannot read table", kTableName,
                          found == SQLITE_DONE ? SQLITE_CORRUPT : found, impl_->connection->get());
    }
    const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(photo, 0));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(photo, 0));
    try {
        return strokeVectorsOfRow(std::span(bytes, bytes == nullptr ? 0 : size));
    } catch (const StrokeVectorsError& e) {
        damaged(e.what());
    }
    return std::nullopt;  // not reached: damaged() throws
}

}  // namespace qir::store
