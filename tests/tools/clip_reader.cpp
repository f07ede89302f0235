// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/clip_reader.h"

#include <stdexcept>

#include "ffmpeg/memory_io.h"

namespace qir::testing {
namespace {

void check(int result, const char* what) {
    if (result < 0) {
        throw std::runtime_error(std::string("decoding the clip: ") + what);
    }
}

}  // namespace

DecodedClip decodeClip(const std::vector<unsigned char>& avi) {
    ffmpeg::MemoryReader source{avi};
    ffmpeg::IoContext io = ffmpeg::readingContext(source, 4096);
    AVFormatContext* rawFormat = avformat_alloc_context();
    rawFormat->pb = io.get();
    check(avformat_open_input(&rawFormat, nullptr, nullptr, nullptr), "open");
    ffmpeg::InputContext format(rawFormat);
    check(avformat_find_stream_info(format.get(), nullptr), "stream info");
    const int streamIndex =
        av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    check(streamIndex, "video stream");
    AVStream* stream = format->streams[streamIndex];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (decoder == nullptr) {
        throw std::runtime_error("decoding the clip: no decoder");
    }
    ffmpeg::CodecContext codec(avcodec_alloc_context3(decoder));
    check(avcodec_parameters_to_context(codec.get(), stream->codecpar), "parameters");
    check(avcodec_open2(codec.get(), decoder, nullptr), "open decoder");

    DecodedClip clip;
    clip.codecName = decoder->name;
    clip.width = codec->width;
    clip.height = codec->height;
    clip.framesPerSecond = av_q2d(stream->avg_frame_rate);

    ffmpeg::Frame frame(av_frame_alloc());
    ffmpeg::Packet packet(av_packet_alloc());
    auto receive = [&] {
        for (;;) {
            const int result = avcodec_receive_frame(codec.get(), frame.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                return;
            }
            check(result, "frame");
            QImage image(frame->width, frame->height, QImage::Format_RGB32);
            const ffmpeg::ScaleContext scale(sws_getContext(
                frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                frame->width, frame->height, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr,
                nullptr));
            uint8_t* planes[1] = {image.bits()};
            int strides[1] = {static_cast<int>(image.bytesPerLine())};
            sws_scale(scale.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
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
