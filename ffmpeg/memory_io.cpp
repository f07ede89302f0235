// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffmpeg/memory_io.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace qir::ffmpeg {
namespace {

// Where a seek lands in a stream of `size` bytes standing at `position`; nothing for a way
// of seeking FFmpeg may not ask for.
std::optional<std::int64_t> seekTarget(std::size_t position, std::size_t size, std::int64_t offset,
                                       int whence) {
    switch (whence) {
        case SEEK_SET:
            return offset;
        case SEEK_CUR:
            return static_cast<std::int64_t>(position) + offset;
        case SEEK_END:
            return static_cast<std::int64_t>(size) + offset;
        default:
            return std::nullopt;
    }
}

IoContext ioContext(int bufferSize, bool writing, void* opaque,
                    int (*read)(void*, std::uint8_t*, int), int (*write)(void*, std::uint8_t*, int),
                    std::int64_t (*seek)(void*, std::int64_t, int)) {
    AvBuffer buffer(static_cast<unsigned char*>(av_malloc(static_cast<std::size_t>(bufferSize))));
    if (!buffer) {
        return nullptr;
    }
    IoContext context(
        avio_alloc_context(buffer.get(), bufferSize, writing ? 1 : 0, opaque, read, write, seek));
    if (context) {
        static_cast<void>(buffer.release());  // the I/O context owns it now
    }
    return context;
}

}  // namespace

int MemoryReader::read(void* opaque, std::uint8_t* buffer, int size) {
    auto& self = *static_cast<MemoryReader*>(opaque);
    const std::size_t left = self.bytes.size() - self.position;
    if (left == 0) {
        return AVERROR_EOF;
    }
    const std::size_t count = std::min(left, static_cast<std::size_t>(size));
    std::memcpy(buffer, self.bytes.data() + self.position, count);
    self.position += count;
    return static_cast<int>(count);
}

std::int64_t MemoryReader::seek(void* opaque, std::int64_t offset, int whence) {
    auto& self = *static_cast<MemoryReader*>(opaque);
    const auto size = static_cast<std::int64_t>(self.bytes.size());
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE) {
        return size;
    }
    const auto target = seekTarget(self.position, self.bytes.size(), offset, whence);
    if (!target || *target < 0 || *target > size) {
        return AVERROR(EINVAL);
    }
    self.position = static_cast<std::size_t>(*target);
    return *target;
}

int MemoryWriter::write(void* opaque, std::uint8_t* data, int size) {
    auto& self = *static_cast<MemoryWriter*>(opaque);
    const auto count = static_cast<std::size_t>(size);
    if (self.position + count > self.bytes.size()) {
        self.bytes.resize(self.position + count);
    }
    std::memcpy(self.bytes.data() + self.position, data, count);
    self.position += count;
    return size;
}

std::int64_t MemoryWriter::seek(void* opaque, std::int64_t offset, int whence) {
    auto& self = *static_cast<MemoryWriter*>(opaque);
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE) {
        return static_cast<std::int64_t>(self.bytes.size());
    }
    // Past the end is allowed: the next write fills the gap.
    const auto target = seekTarget(self.position, self.bytes.size(), offset, whence);
    if (!target || *target < 0) {
        return AVERROR(EINVAL);
    }
    self.position = static_cast<std::size_t>(*target);
    return *target;
}

IoContext readingContext(MemoryReader& reader, int bufferSize) {
    return ioContext(bufferSize, false, &reader, &MemoryReader::read, nullptr, &MemoryReader::seek);
}

IoContext writingContext(MemoryWriter& writer, int bufferSize) {
    return ioContext(bufferSize, true, &writer, nullptr, &MemoryWriter::write, &MemoryWriter::seek);
}

}  // namespace qir::ffmpeg
