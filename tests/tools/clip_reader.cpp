// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/clip_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <memory>
#include <stdexcept>

namespace qir::testing {
namespace {

struct MemorySource {
    const std::vector<unsigned char>* bytes;
    std::size_t position = 0;

    static int read(void* opaque, uint8_t* buffer, int size) {
        auto* self = static_cast<MemorySource*>(opaque);
        const std::size_t left = self->bytes->size() - self->position;
        const std::size_t count = std::min(left, static_cast<std::size_t>(size));
        if (count == 0) {
            return AVERROR_EOF;
        }
        std::memcpy(buffer, self->bytes->data() + self->position, count);
        self->position += count;
        return static_cast<int>(count);
    }
    static int64_t seek(void* opaque, int64_t offset, int whence) {
        auto* self = static_cast<MemorySource*>(opaque);
        whence &= ~AVSEEK_FORCE;
        const auto size = static_cast<int64_t>(self->bytes->size());
        int64_t target = offset;
        if (whence == AVSEEK_SIZE) {
            return size;
        }
        if (whence == SEEK_CUR) {
            target += static_cast<int64_t>(self->position);
        } else if (whence == SEEK_END) {
            target += size;
        }
        if (target < 0 || target > size) {
            return AVERROR(EINVAL);
        }
        self->position = static_cast<std::size_t>(target);
        return target;
    }
};

void check(int result, const char* what) {
    if (result < 0) {
        throw std::runtime_error(std::string("decoding the clip: ") + what);
    }
}

}  // namespace

DecodedClip decodeClip(const std::vector<unsigned char>& avi) {
    MemorySource source{&avi};
    constexpr int kBufferSize = 4096;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    std::unique_ptr<AVIOContext, void (*)(AVIOContext*)> io(
        avio_alloc_context(buffer, kBufferSize, 0, &source, &MemorySource::read, nullptr,
                           &MemorySource::seek),
        [](AVIOContext* c) {
            av_freep(&c->buffer);
            avio_context_free(&c);
        });
    AVFormatContext* rawFormat = avformat_alloc_context();
    rawFormat->pb = io.get();
    check(avformat_open_input(&rawFormat, nullptr, nullptr, nullptr), "open");
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format(
        rawFormat, [](AVFormatContext* c) { avformat_close_input(&c); });
    check(avformat_find_stream_info(format.get(), nullptr), "stream info");
    const int streamIndex =
        av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    check(streamIndex, "video stream");
    AVStream* stream = format->streams[streamIndex];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (decoder == nullptr) {
        throw std::runtime_error("decoding the clip: no decoder");
    }
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> codec(
        avcodec_alloc_context3(decoder), [](AVCodecContext* c) { avcodec_free_context(&c); });
    check(avcodec_parameters_to_context(codec.get(), stream->codecpar), "parameters");
    check(avcodec_open2(codec.get(), decoder, nullptr), "open decoder");

    DecodedClip clip;
    clip.codecName = decoder->name;
    clip.width = codec->width;
    clip.height = codec->height;
    clip.framesPerSecond = av_q2d(stream->avg_frame_rate);

    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(),
                                                       [](AVFrame* f) { av_frame_free(&f); });
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(),
                                                          [](AVPacket* p) { av_packet_free(&p); });
    auto receive = [&] {
        for (;;) {
            const int result = avcodec_receive_frame(codec.get(), frame.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                return;
            }
            check(result, "frame");
            QImage image(frame->width, frame->height, QImage::Format_RGB32);
            SwsContext* scale = sws_getContext(
                frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                frame->width, frame->height, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
            uint8_t* planes[1] = {image.bits()};
            int strides[1] = {static_cast<int>(image.bytesPerLine())};
            sws_scale(scale, frame->data, frame->linesize, 0, frame->height, planes, strides);
            sws_freeContext(scale);
            clip.frames.push_back(image);
        }
    };
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == streamIndex) {
            clip.keyPackets.push_back((packet->flags & AV_PKT_FLAG_KEY) != 0);
            check(avcodec_send_packet(codec.get(), packet.get()), "packet");
            receive();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(codec.get(), nullptr);
    receive();
    return clip;
}

}  // namespace qir::testing
