// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small AVI clips made with FFmpeg's own encoder, for the device and player tests. Frame k
// carries its number in the pixel at (1, 1) (red = k mod 256, green = k div 256) and draws a
// stroke that grows frame by frame, so a screenshot shows something recognisable.

#include <QImage>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace qir::animation::testing {

struct ClipSpec {
    int width = 152;
    int height = 124;
    int frames = 20;
    int framesPerSecond = 15;
    bool palette = false;  // 8-bit pictures with a colour table, as the store's clips are
};

// The clip as the bytes of a ZMBV AVI file.
Bytes makeClip(const ClipSpec& shape = {});
void writeClip(const std::string& fileName, const ClipSpec& shape = {});

// The picture frame `index` of a clip of `shape` shows.
QImage expectedFrame(const ClipSpec& shape, int index);
// The frame number a picture carries, as above.
int frameNumberOf(const QImage& picture);

struct FrameChunk {
    std::ptrdiff_t data = -1;  // where the frame's compressed picture starts
    std::uint32_t size = 0;
};

// Offsets of the AVI header fields the bad-input tests tamper with; -1 when absent.
struct AviFieldOffsets {
    std::ptrdiff_t mainTotalFrames = -1;  // avih dwTotalFrames
    std::ptrdiff_t streamLength = -1;     // video strh dwLength
    std::ptrdiff_t formatWidth = -1;      // strf biWidth
    std::ptrdiff_t formatHeight = -1;     // strf biHeight
    std::ptrdiff_t firstFrameChunk = -1;  // the first "00dc" chunk's data
    std::ptrdiff_t index = -1;            // the "idx1" chunk after the frames
    std::vector<FrameChunk> frameChunks;  // every frame's chunk, in order
};
AviFieldOffsets findAviFields(const Bytes& avi);
void putLittleEndian32(Bytes& bytes, std::ptrdiff_t offset, std::uint32_t value);

}  // namespace qir::animation::testing
