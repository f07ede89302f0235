// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Clips held in memory for FFmpeg: a reader the demuxer reads and seeks in, a growable buffer
// the muxer writes into and seeks in (it goes back to fill in the frame counts and the index
// when the file is closed), and the I/O contexts over them. Only the folders that wrap FFmpeg
// (linking qir_ffmpeg privately) may include this.

#ifndef QIR_FFMPEG_PLUMBING
#error "ffmpeg/memory_io.h belongs to the folders that wrap FFmpeg"
#endif

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ffmpeg/handles.h"

namespace qir::ffmpeg {

struct MemoryReader {
    std::span<const unsigned char> bytes;
    std::size_t position = 0;

    static int read(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);
};

struct MemoryWriter {
    std::vector<unsigned char> bytes;
    std::size_t position = 0;

    static int write(void* opaque, std::uint8_t* data, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);
};

// An I/O context with a buffer of `bufferSize` bytes over `reader` or `writer`, which must
// outlive it; empty when memory runs out.
IoContext readingContext(MemoryReader& reader, int bufferSize);
IoContext writingContext(MemoryWriter& writer, int bufferSize);

}  // namespace qir::ffmpeg
