// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/zmbv_encoder.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>

#include "tools/store_builder/avi_clip_encoder.h"

namespace qir::tools {
namespace {

constexpr int kBlock = 16;  // the blocks' width and height, as the key frame header says
constexpr int kBlockPixels = kBlock * kBlock;
constexpr unsigned char kKeyFrameFlag = 1;
constexpr unsigned char kDeltaPaletteFlag = 2;
// After the flags, a key frame tells the format's version 0.1, deflate, 8 bits a pixel and the
// block size.
constexpr unsigned char kKeyFrameHeader[] = {0, 1, 1, 4, kBlock, kBlock};
constexpr int kPacketHeaderSize = 1 + static_cast<int>(sizeof kKeyFrameHeader);

using Scores = std::array<int, kBlockPixels + 1>;

// The cost of a block difference in which a byte value occurs `count` times: its share of the
// difference's entropy, 256 times the bits, as FFmpeg's encoder weighs it.
Scores entropyScores() {
    Scores scores{};
    for (int count = 1; count <= kBlockPixels; ++count) {
        scores[static_cast<std::size_t>(count)] =
            static_cast<int>(-count * std::log2(count / static_cast<double>(kBlockPixels)) * 256);
    }
    return scores;
}

const Scores& scores() {
    static const Scores table = entropyScores();
    return table;
}

struct Deflater {
    z_stream stream{};
    bool open = false;

    Deflater() = default;
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    ~Deflater() {
        if (open) {
            deflateEnd(&stream);
        }
    }
};

// A block's offset into the previous frame and whether it differs from what it points at.
struct Motion {
    int x = 0;
    int y = 0;
    bool xored = false;
};

// The byte values of a block difference and how often each occurs, kept between blocks so
// that only the values a block used are cleared.
class Histogram {
  public:
    void add(std::uint64_t eightBytes) {
        if (eightBytes == 0) {
            zeros_ += 8;
            return;
        }
        // A difference is mostly zeros: visit only the bytes that are not.
        int others = 0;
        while (eightBytes != 0) {
            const int shift = std::countr_zero(eightBytes) & ~7;
            addOther(static_cast<unsigned char>(eightBytes >> shift));
            eightBytes &= ~(std::uint64_t{0xFF} << shift);
            ++others;
        }
        zeros_ += 8 - others;
    }
    void add(unsigned char value) {
        if (value == 0) {
            ++zeros_;
        } else {
            addOther(value);
        }
    }
    int zeros() const { return zeros_; }
    // The entropy score of the values counted, then empty again.
    int takeScore() {
        const Scores& table = scores();
        int sum = table[static_cast<std::size_t>(zeros_)];
        for (int i = 0; i < usedCount_; ++i) {
            sum += table[counts_[used_[static_cast<std::size_t>(i)]]];
        }
        clear();
        return sum;
    }
    void clear() {
        for (int i = 0; i < usedCount_; ++i) {
            counts_[used_[static_cast<std::size_t>(i)]] = 0;
        }
        usedCount_ = 0;
        zeros_ = 0;
    }

  private:
    void addOther(unsigned char value) {
        if (counts_[value]++ == 0) {
            used_[static_cast<std::size_t>(usedCount_++)] = value;
        }
    }

    std::array<std::uint16_t, 256> counts_{};  // of the values but 0
    std::array<unsigned char, 255> used_{};    // the values counted, each once
    int usedCount_ = 0;
    int zeros_ = 0;
};

std::uint64_t eightBytesAt(const unsigned char* bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

bool sameBytes(const unsigned char* a, const unsigned char* b, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        if (eightBytesAt(a + i) != eightBytesAt(b + i)) {
            return false;
        }
    }
    for (; i < count; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

// A block of the frame being encoded and its place in the previous frame.
struct BlockView {
    const unsigned char* pixels;
    std::ptrdiff_t stride;
    const unsigned char* previous;  // the same place in the previous frame
    std::ptrdiff_t previousStride;
    int width;
    int height;

    // The entropy score of the block XORed with the previous frame (dx, dy) away: the sum of
    // every byte value's share, 0 when they are equal (`xored` false) and also when the
    // difference is one value throughout.
    int score(int dx, int dy, Histogram& histogram, bool& xored) const {
        const unsigned char* source = pixels;
        const unsigned char* reference = previous + dx + dy * previousStride;
        for (int row = 0; row < height; ++row) {
            int x = 0;
            for (; x + 8 <= width; x += 8) {
                histogram.add(eightBytesAt(source + x) ^ eightBytesAt(reference + x));
            }
            for (; x < width; ++x) {
                histogram.add(static_cast<unsigned char>(source[x] ^ reference[x]));
            }
            source += stride;
            reference += previousStride;
        }
        xored = histogram.zeros() < width * height;
        if (!xored) {
            histogram.clear();
            return 0;
        }
        return histogram.takeScore();
    }

    // How many bytes of the block differ from the previous frame (dx, dy) away.
    int differing(int dx, int dy) const {
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
        const unsigned char* source = pixels;
        const unsigned char* reference = previous + dx + dy * previousStride;
        int count = 0;
        for (int row = 0; row < height; ++row) {
            int x = 0;
            for (; x + 8 <= width; x += 8) {
                const std::uint64_t difference =
                    eightBytesAt(source + x) ^ eightBytesAt(reference + x);
                // The top bit of each byte that is not zero, then those bits summed (the
                // build targets processors without a popcount instruction).
                const std::uint64_t nonzero =
                    (((difference & kLow7) + kLow7) | difference) & ~kLow7;
                count += static_cast<int>(((nonzero >> 7) * 0x0101010101010101ull) >> 56);
            }
            for (; x < width; ++x) {
                count += source[x] != reference[x] ? 1 : 0;
            }
            source += stride;
            reference += previousStride;
        }
        return count;
    }

    // Whether the score (dx, dy) away must be at least `bound`, judged from the number of
    // differing bytes alone. A score sums f(count) over the byte values, f(c) = -c log2(c/256)
    // 256 rounded down, and f is concave with f(0) = 0: however `m` differing bytes split into
    // values, their share is more than f(m) less one for each value (at most m, at most 255).
    // One more is taken off for the rounding of the table itself.
    bool scoresAtLeast(int dx, int dy, int bound) const {
        const int m = differing(dx, dy);
        if (m == 0) {
            return bound <= 0;  // equal blocks score 0
        }
        const Scores& table = scores();
        const int lower = table[static_cast<std::size_t>(width * height - m)] +
                          table[static_cast<std::size_t>(m)] - std::min(m, 255) - 1;
        return lower >= bound;
    }
};

}  // namespace

struct ZmbvEncoder::Impl {
    int width = 0;
    int height = 0;
    ZmbvSettings settings;
    int range = 0;
    int frameInInterval = 0;
    // The previous frame with `range` zero pixels on every side, where the search may look.
    std::ptrdiff_t previousStride = 0;
    std::vector<unsigned char> previous;
    std::vector<unsigned char> lastFrame;  // the previous frame again, its rows end to end
    bool repeatsPrevious = false;          // of the frame being encoded
    Palette palette{};
    std::array<unsigned char, 768> rgbPalette{};
    std::vector<unsigned char> work;
    std::vector<unsigned char> packet;
    Deflater deflater;
    Histogram histogram;
    std::vector<char> blockChanged;  // of one row of blocks

    unsigned char* previousAt(int x, int y) {
        return previous.data() + (y + range) * previousStride + x + range;
    }

    // Which blocks of the row of blocks from `top` differ from the previous frame; false when
    // none does.
    bool findChangedBlocks(const unsigned char* pixels, std::ptrdiff_t stride, int top) {
        std::fill(blockChanged.begin(), blockChanged.end(), 0);
        bool any = false;
        for (int y = top; y < std::min(top + kBlock, height); ++y) {
            const unsigned char* line = pixels + y * stride;
            const unsigned char* before = previousAt(0, y);
            if (std::memcmp(line, before, static_cast<std::size_t>(width)) == 0) {
                continue;  // most rows are: one comparison for the row
            }
            for (int x = 0, column = 0; x < width; x += kBlock, ++column) {
                char& changed = blockChanged[static_cast<std::size_t>(column)];
                if (changed == 0 && !sameBytes(line + x, before + x, std::min(kBlock, width - x))) {
                    changed = 1;
                    any = true;
                }
            }
        }
        return any;
    }

    // FFmpeg's block search: the block's own place first, then the previous block's motion,
    // then every offset within range, top to bottom and left to right; the first lowest score
    // wins and a score of 0 ends the search.
    Motion search(const BlockView& block, Motion last) {
        Motion best;
        int bestScore = block.score(0, 0, histogram, best.xored);
        if (bestScore == 0) {
            return best;
        }
        const auto tryOffset = [&](int dx, int dy) {
            if (block.scoresAtLeast(dx, dy, bestScore)) {
                return false;  // cannot score lower: no need for its histogram
            }
            bool xored = false;
            const int score = block.score(dx, dy, histogram, xored);
            if (score < bestScore) {
                bestScore = score;
                best = {dx, dy, xored};
            }
            return bestScore == 0;
        };
        const bool lastMoved = last.x != 0 || last.y != 0;
        if (lastMoved && tryOffset(last.x, last.y)) {
            return best;
        }
        for (int dy = -range; dy <= range; ++dy) {
            for (int dx = -range; dx <= range; ++dx) {
                if ((dx == 0 && dy == 0) || (lastMoved && dx == last.x && dy == last.y)) {
                    continue;
                }
                if (tryOffset(dx, dy)) {
                    return best;
                }
            }
        }
        return best;
    }

    void addInterFrame(const unsigned char* pixels, std::ptrdiff_t stride) {
        const int columns = (width + kBlock - 1) / kBlock;
        const int rows = (height + kBlock - 1) / kBlock;
        const std::size_t motionStart = work.size();
        work.resize(motionStart + static_cast<std::size_t>((columns * rows * 2 + 3) & ~3), 0);
        if (repeatsPrevious) {
            return;  // every block unchanged where it is
        }
        Motion last;
        std::size_t motionAt = motionStart;
        for (int y = 0; y < height; y += kBlock) {
            if (!findChangedBlocks(pixels, stride, y)) {
                // Unchanged blocks stay where they are: their motion is 0, and so is the
                // last motion the next row's search starts from.
                last = {};
                motionAt += static_cast<std::size_t>(2 * columns);
                continue;
            }
            for (int x = 0; x < width; x += kBlock, motionAt += 2) {
                if (blockChanged[static_cast<std::size_t>(x / kBlock)] == 0) {
                    last = {};
                    continue;
                }
                const BlockView block{pixels + y * stride + x,
                                      stride,
                                      previousAt(x, y),
                                      previousStride,
                                      std::min(kBlock, width - x),
                                      std::min(kBlock, height - y)};
                last = search(block, last);
                work[motionAt] = static_cast<unsigned char>((last.x * 2) | (last.xored ? 1 : 0));
                work[motionAt + 1] = static_cast<unsigned char>(last.y * 2);
                if (!last.xored) {
                    continue;
                }
                const std::size_t at = work.size();
                work.resize(at + static_cast<std::size_t>(block.width * block.height));
                unsigned char* out = work.data() + at;
                const unsigned char* reference = block.previous + last.x + last.y * previousStride;
                for (int row = 0; row < block.height; ++row) {
                    for (int column = 0; column < block.width; ++column) {
                        *out++ = block.pixels[row * stride + column] ^
                                 reference[row * previousStride + column];
                    }
                }
            }
        }
    }

    // Whether the frame is the previous one again, as a clip's pauses and its end are; judged
    // in one comparison when the rows lie end to end.
    bool repeatsPreviousFrame(const unsigned char* pixels, std::ptrdiff_t stride) {
        if (stride == width) {
            return std::memcmp(pixels, lastFrame.data(), lastFrame.size()) == 0;
        }
        for (int y = 0; y < height; ++y) {
            if (std::memcmp(pixels + y * stride, previousAt(0, y),
                            static_cast<std::size_t>(width)) != 0) {
                return false;
            }
        }
        return true;
    }

    void keep(const unsigned char* pixels, std::ptrdiff_t stride) {
        for (int y = 0; y < height; ++y) {
            std::memcpy(previousAt(0, y), pixels + y * stride, static_cast<std::size_t>(width));
            std::memcpy(lastFrame.data() + static_cast<std::ptrdiff_t>(y) * width,
                        pixels + y * stride, static_cast<std::size_t>(width));
        }
    }

    void setRgbPalette(const Palette& colours) {
        for (std::size_t i = 0; i < colours.size(); ++i) {
            rgbPalette[3 * i] = static_cast<unsigned char>(colours[i] >> 16);
            rgbPalette[3 * i + 1] = static_cast<unsigned char>(colours[i] >> 8);
            rgbPalette[3 * i + 2] = static_cast<unsigned char>(colours[i]);
        }
        palette = colours;
    }
};

ZmbvEncoder::ZmbvEncoder(QSize frameSize, const ZmbvSettings& settings)
    : impl_(std::make_unique<Impl>()) {
    if (frameSize.isEmpty() || settings.keyInterval < 1 || settings.compressionLevel < 0 ||
        settings.compressionLevel > 9 || settings.motionRange < 1 || settings.motionRange > 63) {
        throw EncodeError("ZMBV settings out of range");
    }
    Impl& d = *impl_;
    d.width = frameSize.width();
    d.height = frameSize.height();
    d.settings = settings;
    d.range = settings.motionRange;
    d.previousStride = d.width + 2 * d.range;
    d.blockChanged.resize(static_cast<std::size_t>((d.width + kBlock - 1) / kBlock));
    d.lastFrame.assign(static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height), 0);
    d.previous.assign(static_cast<std::size_t>(d.previousStride) *
                          static_cast<std::size_t>(d.height + 2 * d.range),
                      0);
    if (deflateInit(&d.deflater.stream, settings.compressionLevel) != Z_OK) {
        throw EncodeError("cannot start deflate");
    }
    d.deflater.open = true;
    // Room for the largest frame: a palette, the motion of every block and every pixel.
    d.work.reserve(
        768 + static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height) +
        static_cast<std::size_t>((d.width / kBlock + 1) * (d.height / kBlock + 1) * 2 + 4));
}

ZmbvEncoder::~ZmbvEncoder() = default;

ZmbvEncoder::Packet ZmbvEncoder::encode(const unsigned char* pixels, std::ptrdiff_t stride,
                                        const Palette& palette) {
    Impl& d = *impl_;
    const bool key = d.frameInInterval == 0;
    d.frameInInterval = (d.frameInInterval + 1) % d.settings.keyInterval;
    d.work.clear();
    const bool paletteChanged = !key && palette != d.palette;
    if (paletteChanged) {
        const std::array<unsigned char, 768> old = d.rgbPalette;
        d.setRgbPalette(palette);
        for (std::size_t i = 0; i < old.size(); ++i) {
            d.work.push_back(old[i] ^ d.rgbPalette[i]);
        }
    }
    if (key) {
        d.setRgbPalette(palette);
        d.work.insert(d.work.end(), d.rgbPalette.begin(), d.rgbPalette.end());
        for (int y = 0; y < d.height; ++y) {
            d.work.insert(d.work.end(), pixels + y * stride, pixels + y * stride + d.width);
        }
    } else {
        d.repeatsPrevious = d.repeatsPreviousFrame(pixels, stride);
        d.addInterFrame(pixels, stride);
    }
    if (key || !d.repeatsPrevious) {
        d.keep(pixels, stride);
    }

    z_stream& stream = d.deflater.stream;
    if (key) {
        deflateReset(&stream);
    }
    const std::size_t header = key ? kPacketHeaderSize : 1;
    d.packet.resize(header + deflateBound(&stream, static_cast<uLong>(d.work.size())) + 64);
    d.packet[0] = (key ? kKeyFrameFlag : 0) | (paletteChanged ? kDeltaPaletteFlag : 0);
    if (key) {
        std::memcpy(d.packet.data() + 1, kKeyFrameHeader, sizeof kKeyFrameHeader);
    }
    stream.next_in = d.work.data();
    stream.avail_in = static_cast<uInt>(d.work.size());
    stream.next_out = d.packet.data() + header;
    stream.avail_out = static_cast<uInt>(d.packet.size() - header);
    if (deflate(&stream, Z_SYNC_FLUSH) != Z_OK || stream.avail_in != 0 || stream.avail_out == 0) {
        throw EncodeError("deflate failed on a frame");
    }
    d.packet.resize(d.packet.size() - stream.avail_out);
    return {d.packet, key};
}

}  // namespace qir::tools
