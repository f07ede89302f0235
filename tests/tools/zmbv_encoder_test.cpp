// SPDX-License-Identifier: GPL-3.0-or-later
// The store's clips must not change when the builder compresses them itself: every packet of
// ZmbvEncoder is compared with the one FFmpeg's own ZMBV encoder makes of the same frames.

#include "tools/store_builder/zmbv_encoder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "ffmpeg/handles.h"
#include "tools/store_builder/avi_clip_encoder.h"
#include "tools/store_builder/glyph.h"
#include "tools/store_builder/writing_animation.h"

namespace qir::tools {
namespace {

using Bytes = std::vector<unsigned char>;

struct PaletteFrame {
    QImage pixels;  // Grayscale8: one palette index a pixel
    ZmbvEncoder::Palette palette;
};

struct EncodedPacket {
    Bytes bytes;
    bool key = false;
    bool operator==(const EncodedPacket&) const = default;
};

std::vector<EncodedPacket> encodeWithFfmpeg(const std::vector<PaletteFrame>& frames,
                                            const ZmbvSettings& settings) {
    const AVCodec* zmbv = avcodec_find_encoder(AV_CODEC_ID_ZMBV);
    EXPECT_NE(zmbv, nullptr);
    ffmpeg::CodecContext codec(avcodec_alloc_context3(zmbv));
    const QSize size = frames.front().pixels.size();
    codec->width = size.width();
    codec->height = size.height();
    codec->pix_fmt = AV_PIX_FMT_PAL8;
    codec->time_base = AVRational{1, 15};
    codec->gop_size = settings.keyInterval;
    codec->keyint_min = settings.keyInterval;
    codec->compression_level = settings.compressionLevel;
    codec->me_range = settings.motionRange;
    codec->flags |= AV_CODEC_FLAG_BITEXACT;
    EXPECT_EQ(avcodec_open2(codec.get(), zmbv, nullptr), 0);
    ffmpeg::Frame frame(av_frame_alloc());
    frame->format = AV_PIX_FMT_PAL8;
    frame->width = size.width();
    frame->height = size.height();
    EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    ffmpeg::Packet packet(av_packet_alloc());
    std::vector<EncodedPacket> packets;
    const auto drain = [&] {
        while (avcodec_receive_packet(codec.get(), packet.get()) == 0) {
            packets.push_back({Bytes(packet->data, packet->data + packet->size),
                               (packet->flags & AV_PKT_FLAG_KEY) != 0});
            av_packet_unref(packet.get());
        }
    };
    int64_t pts = 0;
    for (const PaletteFrame& source : frames) {
        EXPECT_EQ(av_frame_make_writable(frame.get()), 0);
        for (int y = 0; y < size.height(); ++y) {
            std::memcpy(frame->data[0] + y * frame->linesize[0], source.pixels.constScanLine(y),
                        static_cast<std::size_t>(size.width()));
        }
        std::memcpy(frame->data[1], source.palette.data(), 1024);
        frame->pts = pts++;
        EXPECT_EQ(avcodec_send_frame(codec.get(), frame.get()), 0);
        drain();
    }
    avcodec_send_frame(codec.get(), nullptr);
    drain();
    return packets;
}

std::vector<EncodedPacket> encodeOurselves(const std::vector<PaletteFrame>& frames,
                                           const ZmbvSettings& settings) {
    ZmbvEncoder encoder(frames.front().pixels.size(), settings);
    std::vector<EncodedPacket> packets;
    for (const PaletteFrame& frame : frames) {
        const ZmbvEncoder::Packet packet =
            encoder.encode(frame.pixels.constBits(), frame.pixels.bytesPerLine(), frame.palette);
        packets.push_back({Bytes(packet.bytes.begin(), packet.bytes.end()), packet.key});
    }
    return packets;
}

void expectSamePackets(const std::vector<PaletteFrame>& frames, const ZmbvSettings& settings) {
    const std::vector<EncodedPacket> theirs = encodeWithFfmpeg(frames, settings);
    const std::vector<EncodedPacket> ours = encodeOurselves(frames, settings);
    ASSERT_EQ(ours.size(), theirs.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        ASSERT_EQ(ours[i], theirs[i]) << "packet " << i << " of " << ours.size();
    }
}

ZmbvEncoder::Palette greyRamp() {
    ZmbvEncoder::Palette palette{};
    for (std::uint32_t level = 0; level < 256; ++level) {
        palette[level] = 0xFF000000u | level << 16 | level << 8 | level;
    }
    return palette;
}

Glyph glyphFromData(const char* character) {
    const std::filesystem::path file = std::filesystem::path(QIR_STROKE_DATA_DIR) /
                                       std::filesystem::u8path(std::string(character) + ".json");
    std::ifstream in(file, std::ios::binary);
    const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return makeGlyph(parseCharacterJson(json));
}

// The settings the store's clips are made with (AviClipEncoder).
constexpr ZmbvSettings kClipSettings{30 * kClipFramesPerSecond, 6, 1};

TEST(ZmbvEncoding, WritingClipsGiveFfmpegsPacketsByteForByte) {
    // Two to twenty-three strokes, and a character whose clip is longer than one key interval
    // once the interval is short.
    for (const char* character : {"人", "我", "罐"}) {
        SCOPED_TRACE(character);
        const Glyph glyph = glyphFromData(character);
        WritingRenderer renderer(glyph);
        std::vector<PaletteFrame> frames;
        for (const FramePlan& plan : planWriting(glyph)) {
            frames.push_back({renderer.frame(plan), greyRamp()});
        }
        expectSamePackets(frames, kClipSettings);
        expectSamePackets(frames, {40, 9, 3});
    }
}

// Content that moves, noise, a palette that changes and a size of partial blocks: every path
// of the block search (motion found, motion carried over from the block before, a difference
// of one value, blocks at the edges) and the palette deltas and key frames.
TEST(ZmbvEncoding, MovingNoiseAndPaletteChangesGiveFfmpegsPacketsByteForByte) {
    std::mt19937 random(25);
    const QSize size(45, 37);
    QImage scene(size.width() + 40, size.height() + 40, QImage::Format_Grayscale8);
    for (int y = 0; y < scene.height(); ++y) {
        for (int x = 0; x < scene.width(); ++x) {
            // Coarse shapes (so that a shifted block can match) with a little noise.
            scene.scanLine(y)[x] =
                static_cast<uchar>(((x / 5 + y / 7) % 3) * 60 + (random() % 8 == 0 ? 1 : 0));
        }
    }
    std::vector<PaletteFrame> frames;
    ZmbvEncoder::Palette palette = greyRamp();
    for (int i = 0; i < 30; ++i) {
        PaletteFrame frame{scene.copy(i % 7, (i * 3) % 5, size.width(), size.height()), palette};
        if (i % 9 == 3 || i % 9 == 4) {
            // One value throughout: the second such frame differs by one value everywhere.
            frame.pixels.fill(static_cast<uint>(i * 7));
        }
        if (i % 6 == 5) {
            frame.pixels = frames.back().pixels;  // a repeated frame
        }
        if (i % 11 == 10) {
            palette[static_cast<std::size_t>(i)] ^= 0x00102030u;
            frame.palette = palette;
        }
        frames.push_back(frame);
    }
    for (const ZmbvSettings& settings :
         {ZmbvSettings{1000, 6, 1}, ZmbvSettings{12, 1, 2}, ZmbvSettings{7, 9, 8}}) {
        SCOPED_TRACE(settings.keyInterval);
        expectSamePackets(frames, settings);
    }
}

TEST(ZmbvEncoding, RefusesSettingsOutOfRange) {
    const QSize size(16, 16);
    EXPECT_THROW(ZmbvEncoder(size, ZmbvSettings{0, 6, 1}), EncodeError);
    EXPECT_THROW(ZmbvEncoder(size, ZmbvSettings{1, 10, 1}), EncodeError);
    EXPECT_THROW(ZmbvEncoder(size, ZmbvSettings{1, 6, 0}), EncodeError);
    EXPECT_THROW(ZmbvEncoder(size, ZmbvSettings{1, 6, 64}), EncodeError);
    EXPECT_THROW(ZmbvEncoder(QSize(0, 16), ZmbvSettings{}), EncodeError);
}

}  // namespace
}  // namespace qir::tools
