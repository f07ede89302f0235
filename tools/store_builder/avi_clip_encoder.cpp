// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/avi_clip_encoder.h"

#include "tools/store_builder/riff_compaction.h"

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

}  // namespace

struct AviClipEncoder::Impl {
    QSize size;
    ffmpeg::MemoryWriter file;
    ffmpeg::CodecContext codec;
    ffmpeg::OutputContext format;
    ffmpeg::IoContext io;
    ffmpeg::Frame frame;
    ffmpeg::Packet packet;
    AVStream* stream = nullptr;
    int64_t nextPts = 0;
    bool finished = false;

    void drainPackets() {
        for (;;) {
            const int result = avcodec_receive_packet(codec.get(), packet.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                return;
            }
            check(result, "encoding a frame");
            av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(av_interleaved_write_frame(format.get(), packet.get()), "writing a frame");
        }
    }
};

AviClipEncoder::AviClipEncoder(QSize frameSize, int framesPerSecond)
    : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.size = frameSize;
    const AVCodec* zmbv = avcodec_find_encoder(AV_CODEC_ID_ZMBV);
    if (zmbv == nullptr) {
        throw EncodeError("this FFmpeg has no ZMBV encoder");
    }
    d.codec.reset(avcodec_alloc_context3(zmbv));
    d.frame.reset(av_frame_alloc());
    d.packet.reset(av_packet_alloc());
    if (!d.codec || !d.frame || !d.packet) {
        throw EncodeError("out of memory setting up the encoder");
    }
    d.codec->width = frameSize.width();
    d.codec->height = frameSize.height();
    d.codec->pix_fmt = AV_PIX_FMT_PAL8;
    d.codec->time_base = AVRational{1, framesPerSecond};
    d.codec->framerate = AVRational{framesPerSecond, 1};
    // One key frame in all but the longest clips: frames decode in well under a millisecond,
    // so seeking from the start costs nothing and every key frame costs a whole picture.
    d.codec->gop_size = 30 * framesPerSecond;
    d.codec->keyint_min = d.codec->gop_size;  // the interval FFmpeg's ZMBV encoder honours
    // Deflate's higher levels crawl through the long runs of zeros in the block differences
    // for a few per cent smaller clips; level 6 is five times faster here.
    d.codec->compression_level = 6;
    // Nothing in a writing clip moves, so a motion search only costs time.
    d.codec->me_range = 1;
    d.codec->flags |= AV_CODEC_FLAG_BITEXACT;

    AVFormatContext* format = nullptr;
    check(avformat_alloc_output_context2(&format, nullptr, "avi", nullptr), "setting up AVI");
    d.format.reset(format);
    d.format->flags |= AVFMT_FLAG_BITEXACT;
    if (d.format->oformat->flags & AVFMT_GLOBALHEADER) {
        d.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    check(avcodec_open2(d.codec.get(), zmbv, nullptr), "opening the ZMBV encoder");

    d.stream = avformat_new_stream(d.format.get(), nullptr);
    if (d.stream == nullptr) {
        throw EncodeError("out of memory adding the video stream");
    }
    d.stream->time_base = d.codec->time_base;
    d.stream->avg_frame_rate = d.codec->framerate;
    check(avcodec_parameters_from_context(d.stream->codecpar, d.codec.get()),
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

    d.frame->format = AV_PIX_FMT_PAL8;
    d.frame->width = frameSize.width();
    d.frame->height = frameSize.height();
    check(av_frame_get_buffer(d.frame.get(), 0), "allocating a frame");
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
    check(av_frame_make_writable(d.frame.get()), "preparing a frame");
    for (int y = 0; y < d.size.height(); ++y) {
        std::memcpy(d.frame->data[0] + static_cast<std::ptrdiff_t>(y) * d.frame->linesize[0],
                    image.constScanLine(y), static_cast<std::size_t>(d.size.width()));
    }
    // A grey ramp: each byte is its own grey level.
    auto* palette = reinterpret_cast<uint32_t*>(d.frame->data[1]);
    for (uint32_t level = 0; level < 256; ++level) {
        palette[level] = 0xFF000000u | (level << 16) | (level << 8) | level;
    }
    d.frame->pts = d.nextPts++;
    check(avcodec_send_frame(d.codec.get(), d.frame.get()), "encoding a frame");
    d.drainPackets();
}

std::vector<unsigned char> AviClipEncoder::finish() {
    Impl& d = *impl_;
    if (d.finished) {
        throw EncodeError("clip finished twice");
    }
    d.finished = true;
    check(avcodec_send_frame(d.codec.get(), nullptr), "flushing the encoder");
    d.drainPackets();
    check(av_write_trailer(d.format.get()), "closing the AVI file");
    avio_flush(d.io.get());
    // The muxer leaves room for tag editing and for the index of files over a gigabyte;
    // a clip is never edited and stays small, and the room would be a tenth of its size.
    return withoutJunkChunks(d.file.bytes);
}

}  // namespace qir::tools
