// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

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

// A palette frame is kept as it came, a quarter of the size; it becomes full colour only when
// it is shown (MediaDevice::currentPicture).
QImage palettePicture(const AVFrame& frame, QSize size) {
    QImage image(size, QImage::Format_Indexed8);
    if (image.isNull()) {
        return image;
    }
    const auto stride = static_cast<std::size_t>(image.bytesPerLine());
    std::uint8_t* const bits = image.bits();
    for (int y = 0; y < size.height(); ++y) {
        std::memcpy(bits + static_cast<std::size_t>(y) * stride,
                    frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0],
                    static_cast<std::size_t>(size.width()));
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

// The frames of an opened clip: its video packets as the file holds them, and a decoder that
// turns them into pictures when asked. It keeps the one picture it decoded last, so playback,
// which asks for each frame in turn, decodes each packet once.
class PacketFrames final : public ClipFrames {
  public:
    PacketFrames(QSize size, ffmpeg::CodecContext codec, std::vector<ffmpeg::Packet> packets)
        : size_(size),
          codec_(std::move(codec)),
          packets_(std::move(packets)),
          decoded_(av_frame_alloc()) {}

    int count() const override { return static_cast<int>(packets_.size()); }

    QImage at(int index) override {
        if (index < 0 || index >= count()) {
            return current_;
        }
        if (index != position_) {
            const int key = keyFrameAtOrBefore(index);
            // Carry on from the frame shown when it lies between the key frame and the target;
            // otherwise the decoder starts afresh at the key frame.
            if (position_ < key || position_ > index) {
                restartAt(key);
            }
            while (position_ < index) {
                advance();
            }
        }
        return current_;
    }

    // Decodes the first frame, as opening does; false when the file cannot give it.
    bool openFirstFrame() {
        if (packets_.empty() || !decoded_) {
            return false;
        }
        restartAt(0);
        advance();
        return !damaged_;
    }

  private:
    int keyFrameAtOrBefore(int index) const {
        for (int i = index; i > 0; --i) {
            if ((packets_[static_cast<std::size_t>(i)]->flags & AV_PKT_FLAG_KEY) != 0 &&
                packets_[static_cast<std::size_t>(i)]->size > 0) {
                return i;
            }
        }
        return 0;
    }

    void restartAt(int key) {
        avcodec_flush_buffers(codec_.get());
        position_ = key - 1;
        damaged_ = false;
    }

    // Decodes the next packet. After damage, the last good picture stands until the next key
    // frame, as the frames between build on what could not be decoded.
    void advance() {
        ++position_;
        const AVPacket& packet = *packets_[static_cast<std::size_t>(position_)];
        if (packet.size == 0) {
            // An empty chunk in an AVI file repeats the frame before it.
            damaged_ = damaged_ || current_.isNull();
            return;
        }
        if (damaged_) {
            if ((packet.flags & AV_PKT_FLAG_KEY) == 0) {
                return;
            }
            avcodec_flush_buffers(codec_.get());
            damaged_ = false;
        }
        QImage picture = decode(packet);
        if (picture.isNull()) {
            damaged_ = true;
            return;
        }
        current_ = std::move(picture);
    }

    QImage decode(const AVPacket& packet) {
        if (avcodec_send_packet(codec_.get(), &packet) < 0) {
            return {};
        }
        AVFrame& frame = *decoded_;
        if (avcodec_receive_frame(codec_.get(), &frame) < 0) {
            return {};
        }
        QImage picture;
        if (frame.width == size_.width() && frame.height == size_.height() &&
            frame.decode_error_flags == 0 && (frame.flags & AV_FRAME_FLAG_CORRUPT) == 0) {
            picture = convert(frame);
        }
        av_frame_unref(&frame);
        return picture;
    }

    QImage convert(const AVFrame& frame) {
        const auto format = static_cast<AVPixelFormat>(frame.format);
        if (format == AV_PIX_FMT_PAL8) {
            return palettePicture(frame, size_);
        }
        if (!scale_ || format != scaleFormat_) {
            scale_.reset(sws_getContext(frame.width, frame.height, format, frame.width,
                                        frame.height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr,
                                        nullptr));
            scaleFormat_ = format;
            if (!scale_) {
                return {};
            }
        }
        QImage image(size_, QImage::Format_RGB32);
        if (image.isNull()) {
            return image;
        }
        std::uint8_t* target[4] = {image.bits(), nullptr, nullptr, nullptr};
        const int targetStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
        if (sws_scale(scale_.get(), frame.data, frame.linesize, 0, frame.height, target,
                      targetStride) != frame.height) {
            return {};
        }
        // Opaque pixels whatever the source says of alpha. The picture's geometry is read
        // once: a call per pixel cost more than the decoding.
        const auto stride = static_cast<std::size_t>(targetStride[0]);
        for (int y = 0; y < size_.height(); ++y) {
            auto* line =
                reinterpret_cast<std::uint32_t*>(target[0] + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < size_.width(); ++x) {
                line[x] |= 0xff000000u;
            }
        }
        return image;
    }

    QSize size_;
    ffmpeg::CodecContext codec_;
    ffmpeg::ScaleContext scale_;
    AVPixelFormat scaleFormat_ = AV_PIX_FMT_NONE;
    std::vector<ffmpeg::Packet> packets_;
    ffmpeg::Frame decoded_;
    int position_ = -1;  // the frame `current_` belongs to
    bool damaged_ = false;
    QImage current_;
};

// Opens a clip: checks its container and stream, takes its video packets, and decodes the
// first frame.
class Opener {
  public:
    explicit Opener(std::span<const unsigned char> bytes) : reader_{bytes} {}

    ClipLoad run() {
        ClipLoad load;
        load.result = openInput();
        if (load.result == kMediaOk) {
            load.result = readPackets();
        }
        if (load.result == kMediaOk) {
            auto frames =
                std::make_unique<PacketFrames>(clip_.size, std::move(codec_), std::move(packets_));
            if (!frames->openFirstFrame()) {
                load.result = kMediaClipDamaged;
            } else {
                clip_.frames = std::move(frames);
                load.clip = std::move(clip_);
            }
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
        if (stream_->nb_frames < 0 || stream_->nb_frames > kMaxFrameCount) {
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
        // Every packet must give its frame at once: frames are decoded one by one as they
        // are shown, never collected from a decoder that holds some back.
        if ((codec->capabilities & AV_CODEC_CAP_DELAY) != 0) {
            return kMediaUnsupportedFormat;
        }
        return kMediaOk;
    }

    int readPackets() {
        ffmpeg::Packet packet(av_packet_alloc());
        if (!packet) {
            return kMediaClipTooLarge;
        }
        // Each packet of the file, of any stream, costs a read; bound them so a file of tiny
        // chunks cannot keep the device busy.
        std::int64_t packetsLeft = 4 * kMaxFrameCount;
        for (;;) {
            const int read = av_read_frame(format_.get(), packet.get());
            if (read < 0) {
                // The end, or a read error inside the file: the count is checked below.
                break;
            }
            if (--packetsLeft < 0) {
                av_packet_unref(packet.get());
                return kMediaClipTooLarge;
            }
            if (packet->stream_index != stream_->index) {
                av_packet_unref(packet.get());
                continue;
            }
            if ((packet->flags & AV_PKT_FLAG_CORRUPT) != 0 ||
                static_cast<std::int64_t>(packets_.size()) >= kMaxFrameCount) {
                av_packet_unref(packet.get());
                return (packet->flags & AV_PKT_FLAG_CORRUPT) != 0 ? kMediaClipDamaged
                                                                  : kMediaClipTooLarge;
            }
            ffmpeg::Packet kept(av_packet_alloc());
            if (!kept) {
                av_packet_unref(packet.get());
                return kMediaClipTooLarge;
            }
            av_packet_move_ref(kept.get(), packet.get());
            packets_.push_back(std::move(kept));
        }
        if (packets_.empty()) {
            return kMediaClipDamaged;
        }
        // Fewer frames than the header promises: the file was cut short.
        if (claimedFrames_ > 0 && static_cast<std::int64_t>(packets_.size()) < claimedFrames_) {
            return kMediaClipDamaged;
        }
        return kMediaOk;
    }

    // Destroyed in reverse order: the format context before the I/O context it reads from.
    ffmpeg::MemoryReader reader_;
    ffmpeg::IoContext io_;
    ffmpeg::InputContext format_;
    ffmpeg::CodecContext codec_;
    AVStream* stream_ = nullptr;
    std::int64_t claimedFrames_ = 0;
    std::vector<ffmpeg::Packet> packets_;
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
    return Opener(bytes).run();
}

}  // namespace qir::animation
