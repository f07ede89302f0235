// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/avi_clip_encoder.h"

#include "tools/store_builder/riff_compaction.h"
#include "tools/store_builder/zmbv_encoder.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

#include <cstring>
#include <string>

#include "ffmpeg/memory_io.h"

namespace qir::tools {
namespace {

std::string ffmpegMessage(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void check(int result, const char* what) {
    if (result < 0) {
        throw EncodeError(std::string(what) + ": " + ffmpegMessage(result));
    }
}

// The clips' ZMBV settings.
ZmbvSettings clipSettings(int framesPerSecond) {
    ZmbvSettings settings;
    // One key frame in all but the longest clips: frames decode in well under a millisecond,
    // so seeking from the start costs nothing and every key frame costs a whole picture.
    settings.keyInterval = 30 * framesPerSecond;
    // Deflate's higher levels crawl through the long runs of zeros in the block differences
    // for a few per cent smaller clips; level 6 is five times faster here.
    settings.compressionLevel = 6;
    // Nothing in a writing clip moves, so a wider motion search only costs time.
    settings.motionRange = 1;
    return settings;
}

// A grey ramp: each byte is its own grey level.
ZmbvEncoder::Palette greyRamp() {
    ZmbvEncoder::Palette palette{};
    for (std::uint32_t level = 0; level < palette.size(); ++level) {
        palette[level] = 0xFF000000u | (level << 16) | (level << 8) | level;
    }
    return palette;
}

const AVOutputFormat* aviFormat() {
    static const AVOutputFormat* const format = av_guess_format("avi", nullptr, nullptr);
    return format;
}

}  // namespace

struct AviClipEncoder::Impl {
    QSize size;
    ZmbvEncoder zmbv;
    ZmbvEncoder::Palette palette = greyRamp();
    AVRational frameTime;
    ffmpeg::MemoryWriter file;
    ffmpeg::OutputContext format;
    ffmpeg::IoContext io;
    ffmpeg::Packet packet;
    AVStream* stream = nullptr;
    int64_t nextPts = 0;
    bool finished = false;

    Impl(QSize frameSize, int framesPerSecond)
        : size(frameSize),
          zmbv(frameSize, clipSettings(framesPerSecond)),
          frameTime{1, framesPerSecond} {}
};

// The frames are compressed here (ZmbvEncoder, the same bytes as FFmpeg's encoder) and only
// the AVI file is FFmpeg's, its stream described as FFmpeg's encoder would describe it.
AviClipEncoder::AviClipEncoder(QSize frameSize, int framesPerSecond)
    : impl_(std::make_unique<Impl>(frameSize, framesPerSecond)) {
    Impl& d = *impl_;
    d.packet.reset(av_packet_alloc());
    // A context of FFmpeg's ZMBV encoder, never opened, gives the stream its encoder's defaults.
    const AVCodec* zmbv = avcodec_find_encoder(AV_CODEC_ID_ZMBV);
    if (zmbv == nullptr) {
        throw EncodeError("this FFmpeg has no ZMBV encoder");
    }
    ffmpeg::CodecContext codec(avcodec_alloc_context3(zmbv));
    if (!d.packet || !codec || aviFormat() == nullptr) {
        throw EncodeError("out of memory setting up the encoder");
    }
    codec->width = frameSize.width();
    codec->height = frameSize.height();
    codec->pix_fmt = AV_PIX_FMT_PAL8;
    codec->time_base = d.frameTime;
    codec->framerate = AVRational{framesPerSecond, 1};

    AVFormatContext* format = nullptr;
    check(avformat_alloc_output_context2(&format, aviFormat(), nullptr, nullptr), "setting up AVI");
    d.format.reset(format);
    d.format->flags |= AVFMT_FLAG_BITEXACT;

    d.stream = avformat_new_stream(d.format.get(), nullptr);
    if (d.stream == nullptr) {
        throw EncodeError("out of memory adding the video stream");
    }
    d.stream->time_base = d.frameTime;
    d.stream->avg_frame_rate = codec->framerate;
    check(avcodec_parameters_from_context(d.stream->codecpar, codec.get()),
          "copying the stream parameters");

    constexpr int kBufferSize = 16 * 1024;
    d.io = ffmpeg::writingContext(d.file, kBufferSize);
    if (!d.io) {
        throw EncodeError("out of memory for the output context");
    }
    d.format->pb = d.io.get();
    d.format->flags |= AVFMT_FLAG_CUSTOM_IO;

    AVDictionary* options = nullptr;
    // The default reserve for the index of huge files costs several kilobytes per clip.
    av_dict_set(&options, "reserve_index_space", "256", 0);
    const int written = avformat_write_header(d.format.get(), &options);
    av_dict_free(&options);
    check(written, "writing the AVI header");
}

AviClipEncoder::~AviClipEncoder() = default;

void AviClipEncoder::addFrame(const QImage& image) {
    Impl& d = *impl_;
    if (d.finished) {
        throw EncodeError("frame added after the clip was finished");
    }
    if (image.format() != QImage::Format_Grayscale8 || image.size() != d.size) {
        throw EncodeError("frame of the wrong size or format");
    }
    const ZmbvEncoder::Packet compressed =
        d.zmbv.encode(image.constBits(), image.bytesPerLine(), d.palette);
    check(av_new_packet(d.packet.get(), static_cast<int>(compressed.bytes.size())),
          "preparing a packet");
    std::memcpy(d.packet->data, compressed.bytes.data(), compressed.bytes.size());
    d.packet->pts = d.packet->dts = d.nextPts++;
    d.packet->duration = 1;
    if (compressed.key) {
        d.packet->flags |= AV_PKT_FLAG_KEY;
    }
    av_packet_rescale_ts(d.packet.get(), d.frameTime, d.stream->time_base);
    d.packet->stream_index = d.stream->index;
    check(av_interleaved_write_frame(d.format.get(), d.packet.get()), "writing a frame");
}

std::vector<unsigned char> AviClipEncoder::finish() {
    Impl& d = *impl_;
    if (d.finished) {
        throw EncodeError("clip finished twice");
    }
    d.finished = true;
    check(av_write_trailer(d.format.get()), "closing the AVI file");
    avio_flush(d.io.get());
    // The muxer leaves room for tag editing and for the index of files over a gigabyte;
    // a clip is never edited and stays small, and the room would be a tenth of its size.
    return withoutJunkChunks(d.file.bytes);
}

}  // namespace qir::tools
