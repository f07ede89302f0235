// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owning handles for the FFmpeg objects that clips are decoded and encoded with, so every
// path frees them. Only the folders that wrap FFmpeg (linking qir_ffmpeg privately) may
// include this.

#ifndef QIR_FFMPEG_PLUMBING
#error "ffmpeg/handles.h belongs to the folders that wrap FFmpeg"
#endif

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace qir::ffmpeg {

// An input (demuxing) context is closed, an output (muxing) one freed.
struct InputContextDeleter {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct OutputContextDeleter {
    void operator()(AVFormatContext* context) const { avformat_free_context(context); }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleContextDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
// A custom I/O context owns its buffer only until FFmpeg swaps it; free whatever it holds.
struct IoContextDeleter {
    void operator()(AVIOContext* context) const {
        if (context != nullptr) {
            av_freep(&context->buffer);
        }
        avio_context_free(&context);
    }
};
struct AvBufferDeleter {
    void operator()(void* buffer) const { av_free(buffer); }
};

using InputContext = std::unique_ptr<AVFormatContext, InputContextDeleter>;
using OutputContext = std::unique_ptr<AVFormatContext, OutputContextDeleter>;
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using ScaleContext = std::unique_ptr<SwsContext, ScaleContextDeleter>;
using IoContext = std::unique_ptr<AVIOContext, IoContextDeleter>;
using AvBuffer = std::unique_ptr<unsigned char, AvBufferDeleter>;

}  // namespace qir::ffmpeg
