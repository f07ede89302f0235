// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstring>
#include <optional>

#include "animation/clip.h"
#include "animation/media_error.h"
#include "ffmpeg/memory_io.h"
#include "platform/errors.h"

extern "C" {
#include <libavutil/log.h>
}

namespace qir::animation {
namespace {

// The codecs AVI clips of this kind come in. Anything else is refused rather than handed to
// a decoder nobody has tried with these files.
bool isAcceptedCodec(AVCodecID id) {
    switch (id) {
        case AV_CODEC_ID_ZMBV:
        case AV_CODEC_ID_RAWVIDEO:
        case AV_CODEC_ID_MSRLE:
        case AV_CODEC_ID_MSVIDEO1:
        case AV_CODEC_ID_CINEPAK:
        case AV_CODEC_ID_TSCC:
        case AV_CODEC_ID_MJPEG:
        case AV_CODEC_ID_PNG:
            return true;
        default:
            return false;
    }
}

bool looksLikeAvi(std::span<const unsigned char> bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           (std::memcmp(bytes.data() + 8, "AVI ", 4) == 0 ||
            std::memcmp(bytes.data() + 8, "AVIX", 4) == 0);
}

std::optional<FrameRate> playbackRate(const AVStream& stream) {
    for (const AVRational rate :
         {stream.avg_frame_rate, stream.r_frame_rate, av_inv_q(stream.time_base)}) {
        if (rate.num <= 0 || rate.den <= 0) {
            continue;
        }
        // Between one frame in ten seconds and a thousand a second.
        const double perSecond = av_q2d(rate);
        if (perSecond >= 0.1 && perSecond <= 1000.0) {
            return FrameRate{rate.num, rate.den};
        }
    }
    return std::nullopt;
}

class Decoder {
  public:
    explicit Decoder(std::span<const unsigned char> bytes) : reader_{bytes} {}

    ClipLoad run() {
        ClipLoad load;
        load.result = openInput();
        if (load.result == kMediaOk) {
            load.result = decodeAll();
        }
        if (load.result == kMediaOk) {
            load.clip = std::move(clip_);
        }
        return load;
    }

  private:
    int openInput() {
        if (!looksLikeAvi(reader_.bytes)) {
            return kMediaNotAClip;
        }
        constexpr int kIoBufferSize = 1 << 14;
        io_ = ffmpeg::readingContext(reader_, kIoBufferSize);
        if (!io_) {
            return kMediaClipTooLarge;
        }

        AVFormatContext* raw = avformat_alloc_context();
        if (raw == nullptr) {
            return kMediaClipTooLarge;
        }
        raw->pb = io_.get();
        raw->flags |= AVFMT_FLAG_CUSTOM_IO;
        // On failure the context is freed and `raw` cleared.
        if (avformat_open_input(&raw, nullptr, av_find_input_format("avi"), nullptr) < 0) {
            return kMediaNotAClip;
        }
        format_.reset(raw);

        const AVCodec* codec = nullptr;
        const int index = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
        if (index == AVERROR_STREAM_NOT_FOUND) {
            return kMediaNoVideo;
        }
        if (index < 0 || codec == nullptr) {
            return kMediaUnsupportedFormat;
        }
        stream_ = format_->streams[index];
        const AVCodecParameters& parameters = *stream_->codecpar;
        if (!isAcceptedCodec(parameters.codec_id)) {
            return kMediaUnsupportedFormat;
        }
        if (parameters.width <= 0 || parameters.height <= 0 || parameters.width > kMaxPictureSide ||
            parameters.height > kMaxPictureSide) {
            return kMediaBadPictureSize;
        }
        clip_.size = QSize(parameters.width, parameters.height);
        const auto rate = playbackRate(*stream_);
        if (!rate) {
            return kMediaClipDamaged;
        }
        clip_.rate = *rate;
        if (stream_->nb_frames < 0 || stream_->nb_frames > kMaxFrameCount ||
            static_cast<std::size_t>(stream_->nb_frames) > maxFramesInMemory()) {
            return kMediaClipTooLarge;
        }
        claimedFrames_ = stream_->nb_frames;

        codec_.reset(avcodec_alloc_context3(codec));
        if (!codec_ || avcodec_parameters_to_context(codec_.get(), &parameters) < 0) {
            return kMediaUnsupportedFormat;
        }
        codec_->thread_count = 1;  // the device starts no threads of its own
        codec_->err_recognition |= AV_EF_EXPLODE | AV_EF_CRCCHECK | AV_EF_BITSTREAM;
        if (avcodec_open2(codec_.get(), codec, nullptr) < 0) {
            return kMediaUnsupportedFormat;
        }
        return kMediaOk;
    }

    std::size_t maxFramesInMemory() const {
        const std::size_t frameBytes = static_cast<std::size_t>(clip_.size.width()) *
                                       static_cast<std::size_t>(clip_.size.height()) * 4;
        return std::min<std::size_t>(kMaxDecodedBytes / frameBytes, kMaxFrameCount);
    }

    int decodeAll() {
        ffmpeg::Packet packet(av_packet_alloc());
        ffmpeg::Frame frame(av_frame_alloc());
        if (!packet || !frame) {
            return kMediaClipTooLarge;
        }
        // Each packet of the file, of any stream, costs a read; bound them so a file of tiny
        // chunks cannot keep the device busy.
        std::int64_t packetsLeft = 4 * kMaxFrameCount;
        for (;;) {
            const int read = av_read_frame(format_.get(), packet.get());
            if (read == AVERROR_EOF) {
                break;
            }
            if (read < 0) {
                // A read error inside the file; frames already taken are checked below.
                break;
            }
            if (--packetsLeft < 0) {
                av_packet_unref(packet.get());
                return kMediaClipTooLarge;
            }
            int result = kMediaOk;
            if (packet->stream_index == stream_->index) {
                result = decodePacket(*packet, *frame);
            }
            av_packet_unref(packet.get());
            if (result != kMediaOk) {
                return result;
            }
        }
        // Drain what the decoder still holds.
        if (avcodec_send_packet(codec_.get(), nullptr) >= 0) {
            const int result = receiveFrames(*frame);
            if (result != kMediaOk) {
                return result;
            }
        }
        if (clip_.frames.empty()) {
            return kMediaClipDamaged;
        }
        // Fewer frames than the header promises: the file was cut short.
        if (claimedFrames_ > 0 && static_cast<std::int64_t>(clip_.frames.size()) < claimedFrames_) {
            return kMediaClipDamaged;
        }
        return kMediaOk;
    }

    int decodePacket(const AVPacket& packet, AVFrame& frame) {
        if ((packet.flags & AV_PKT_FLAG_CORRUPT) != 0) {
            return kMediaClipDamaged;
        }
        if (packet.size == 0) {
            // An empty chunk in an AVI file repeats the frame before it.
            if (clip_.frames.empty()) {
                return kMediaClipDamaged;
            }
            return appendFrame(clip_.frames.back());
        }
        if (avcodec_send_packet(codec_.get(), &packet) < 0) {
            return kMediaClipDamaged;
        }
        return receiveFrames(frame);
    }

    int receiveFrames(AVFrame& frame) {
        for (;;) {
            const int received = avcodec_receive_frame(codec_.get(), &frame);
            if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
                return kMediaOk;
            }
            if (received < 0) {
                return kMediaClipDamaged;
            }
            const int result = convertFrame(frame);
            av_frame_unref(&frame);
            if (result != kMediaOk) {
                return result;
            }
        }
    }

    int convertFrame(const AVFrame& frame) {
        if (frame.width != clip_.size.width() || frame.height != clip_.size.height() ||
            frame.decode_error_flags != 0 || (frame.flags & AV_FRAME_FLAG_CORRUPT) != 0) {
            return kMediaClipDamaged;
        }
        if (clip_.frames.size() >= maxFramesInMemory()) {
            return kMediaClipTooLarge;
        }
        const auto format = static_cast<AVPixelFormat>(frame.format);
        if (format == AV_PIX_FMT_PAL8) {
            return appendFrame(palettePicture(frame));
        }
        if (!scale_ || format != scaleFormat_) {
            scale_.reset(sws_getContext(frame.width, frame.height, format, frame.width,
                                        frame.height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr,
                                        nullptr));
            scaleFormat_ = format;
            if (!scale_) {
                return kMediaUnsupportedFormat;
            }
        }
        QImage image(clip_.size, QImage::Format_RGB32);
        if (image.isNull()) {
            return kMediaClipTooLarge;
        }
        std::uint8_t* target[4] = {image.bits(), nullptr, nullptr, nullptr};
        const int targetStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
        if (sws_scale(scale_.get(), frame.data, frame.linesize, 0, frame.height, target,
                      targetStride) != frame.height) {
            return kMediaClipDamaged;
        }
        // Opaque pixels whatever the source says of alpha (palettes may leave it zero). The
        // picture's geometry is read once: a call per pixel cost more than the decoding.
        const int width = clip_.size.width();
        const int height = clip_.size.height();
        const auto stride = static_cast<std::size_t>(targetStride[0]);
        std::uint8_t* const bits = target[0];
        for (int y = 0; y < height; ++y) {
            auto* line =
                reinterpret_cast<std::uint32_t*>(bits + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < width; ++x) {
                line[x] |= 0xff000000u;
            }
        }
        return appendFrame(std::move(image));
    }

    // A palette frame is kept as it came, a quarter of the size; it becomes full colour only
    // when it is shown (MediaDevice::currentPicture), so a clip replaced before it plays
    // costs the conversion of one frame, not of all of them.
    QImage palettePicture(const AVFrame& frame) const {
        QImage image(clip_.size, QImage::Format_Indexed8);
        if (image.isNull()) {
            return image;
        }
        const int width = clip_.size.width();
        const int height = clip_.size.height();
        const auto stride = static_cast<std::size_t>(image.bytesPerLine());
        std::uint8_t* const bits = image.bits();
        for (int y = 0; y < height; ++y) {
            std::memcpy(bits + static_cast<std::size_t>(y) * stride,
                        frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0],
                        static_cast<std::size_t>(width));
        }
        // Opaque whatever the palette says of alpha (palettes may leave it zero).
        QList<QRgb> colours(256);
        const auto* palette = reinterpret_cast<const std::uint32_t*>(frame.data[1]);
        for (int i = 0; i < 256; ++i) {
            colours[i] = palette[i] | 0xff000000u;
        }
        image.setColorTable(colours);
        return image;
    }

    int appendFrame(QImage image) {
        if (image.isNull()) {
            return kMediaClipTooLarge;
        }
        if (clip_.frames.size() >= maxFramesInMemory()) {
            return kMediaClipTooLarge;
        }
        clip_.frames.push_back(std::move(image));
        return kMediaOk;
    }

    // Destroyed in reverse order: the format context before the I/O context it reads from.
    ffmpeg::MemoryReader reader_;
    ffmpeg::IoContext io_;
    ffmpeg::InputContext format_;
    ffmpeg::CodecContext codec_;
    ffmpeg::ScaleContext scale_;
    AVPixelFormat scaleFormat_ = AV_PIX_FMT_NONE;
    AVStream* stream_ = nullptr;
    std::int64_t claimedFrames_ = 0;
    Clip clip_;
};

}  // namespace

ClipLoad decodeClip(std::span<const unsigned char> bytes) {
    // The program logs nothing; FFmpeg's complaints about a bad file become result codes.
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET);
        return true;
    }();
    (void)quiet;
    return Decoder(bytes).run();
}

}  // namespace qir::animation
