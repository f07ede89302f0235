// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/animation/test_clips.h"

#include <QPainter>
#include <cstring>
#include <stdexcept>

#include "ffmpeg/memory_io.h"
#include "platform/file_io.h"

namespace qir::animation::testing {
namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("making a test clip: ") + what);
    }
}

AVPixelFormat encoderFormat(const AVCodec& encoder) {
    for (const AVPixelFormat* format = encoder.pix_fmts;
         format != nullptr && *format != AV_PIX_FMT_NONE; ++format) {
        if (*format == AV_PIX_FMT_BGR0) {
            return *format;
        }
    }
    return AV_PIX_FMT_BGR24;
}

void writePackets(AVCodecContext& codec, AVFormatContext& output, AVStream& stream,
                  const AVFrame* frame) {
    check(avcodec_send_frame(&codec, frame) >= 0, "send frame");
    ffmpeg::Packet packet(av_packet_alloc());
    for (;;) {
        const int received = avcodec_receive_packet(&codec, packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return;
        }
        check(received >= 0, "receive packet");
        av_packet_rescale_ts(packet.get(), codec.time_base, stream.time_base);
        packet->stream_index = stream.index;
        check(av_interleaved_write_frame(&output, packet.get()) >= 0, "write packet");
    }
}

}  // namespace

namespace {

QImage drawnFrame(const ClipSpec& shape, int index) {
    QImage picture(shape.width, shape.height, QImage::Format_RGB32);
    picture.fill(QColor(255, 255, 255));
    QPainter painter(&picture);
    // A stroke that grows with the frame number.
    const double share = static_cast<double>(index + 1) / shape.frames;
    const QPointF from(shape.width * 0.15, shape.height * 0.2);
    const QPointF to(shape.width * 0.85, shape.height * 0.8);
    painter.setPen(
        QPen(QColor(20, 20, 20), std::max(2, shape.width / 20), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, from + (to - from) * share);
    painter.end();
    // The frame number, readable back from the pixel at (1, 1).
    const QColor mark(index % 256, (index / 256) % 256, 0);
    for (int y = 0; y < std::min(3, shape.height); ++y) {
        for (int x = 0; x < std::min(3, shape.width); ++x) {
            picture.setPixelColor(x, y, mark);
        }
    }
    return picture;
}

// A palette clip's frame: the drawn one in at most 256 colours.
QImage paletteFrame(const ClipSpec& shape, int index) {
    return drawnFrame(shape, index).convertToFormat(QImage::Format_Indexed8);
}

}  // namespace

QImage expectedFrame(const ClipSpec& shape, int index) {
    return shape.palette ? paletteFrame(shape, index).convertToFormat(QImage::Format_RGB32)
                         : drawnFrame(shape, index);
}

int frameNumberOf(const QImage& picture) {
    const QColor mark = picture.pixelColor(1, 1);
    return mark.red() + 256 * mark.green();
}

// Encoded in memory: nothing of a test's goes anywhere but its own folder.
Bytes makeClip(const ClipSpec& shape) {
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_ZMBV);
    check(encoder != nullptr, "no ZMBV encoder");
    AVFormatContext* rawOutput = nullptr;
    check(avformat_alloc_output_context2(&rawOutput, nullptr, "avi", nullptr) >= 0,
          "output context");
    ffmpeg::OutputContext output(rawOutput);
    ffmpeg::MemoryWriter file;
    ffmpeg::IoContext io = ffmpeg::writingContext(file, 1 << 14);
    check(io != nullptr, "output buffer");
    output->pb = io.get();
    output->flags |= AVFMT_FLAG_CUSTOM_IO;
    AVStream* stream = avformat_new_stream(output.get(), nullptr);
    check(stream != nullptr, "stream");

    ffmpeg::CodecContext codec(avcodec_alloc_context3(encoder));
    codec->width = shape.width;
    codec->height = shape.height;
    codec->time_base = AVRational{1, shape.framesPerSecond};
    codec->framerate = AVRational{shape.framesPerSecond, 1};
    codec->pix_fmt = shape.palette ? AV_PIX_FMT_PAL8 : encoderFormat(*encoder);
    codec->gop_size = 10;
    check(avcodec_open2(codec.get(), encoder, nullptr) >= 0, "open encoder");
    check(avcodec_parameters_from_context(stream->codecpar, codec.get()) >= 0, "parameters");
    stream->time_base = codec->time_base;
    stream->avg_frame_rate = codec->framerate;
    check(avformat_write_header(output.get(), nullptr) >= 0, "header");

    ffmpeg::Frame frame(av_frame_alloc());
    frame->format = codec->pix_fmt;
    frame->width = shape.width;
    frame->height = shape.height;
    check(av_frame_get_buffer(frame.get(), 0) >= 0, "frame buffer");
    // Palette frames are filled by hand: the scaler does not write them.
    ffmpeg::ScaleContext scale(sws_getContext(shape.width, shape.height, AV_PIX_FMT_RGB32,
                                              shape.width, shape.height, codec->pix_fmt, SWS_POINT,
                                              nullptr, nullptr, nullptr));
    for (int index = 0; index < shape.frames; ++index) {
        check(av_frame_make_writable(frame.get()) >= 0, "writable frame");
        frame->pts = index;
        if (shape.palette) {
            const QImage picture = paletteFrame(shape, index);
            for (int y = 0; y < shape.height; ++y) {
                std::memcpy(frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0],
                            picture.constScanLine(y), static_cast<std::size_t>(shape.width));
            }
            auto* colours = reinterpret_cast<std::uint32_t*>(frame->data[1]);
            const QList<QRgb> table = picture.colorTable();
            for (int i = 0; i < 256; ++i) {
                colours[i] = i < table.size() ? table[i] : 0xff000000u;
            }
            writePackets(*codec, *output, *stream, frame.get());
            continue;
        }
        const QImage picture = expectedFrame(shape, index);
        const std::uint8_t* source[4] = {picture.constBits(), nullptr, nullptr, nullptr};
        const int sourceStride[4] = {static_cast<int>(picture.bytesPerLine()), 0, 0, 0};
        sws_scale(scale.get(), source, sourceStride, 0, shape.height, frame->data, frame->linesize);
        frame->pts = index;
        writePackets(*codec, *output, *stream, frame.get());
    }
    writePackets(*codec, *output, *stream, nullptr);
    check(av_write_trailer(output.get()) >= 0, "trailer");
    avio_flush(io.get());
    return std::move(file.bytes);
}

void writeClip(const std::string& fileName, const ClipSpec& shape) {
    writeFileBytes(fileName, makeClip(shape));
}

namespace {

std::ptrdiff_t find(const Bytes& bytes, std::string_view tag, std::ptrdiff_t from = 0) {
    for (std::ptrdiff_t i = from;
         i + static_cast<std::ptrdiff_t>(tag.size()) <= static_cast<std::ptrdiff_t>(bytes.size());
         ++i) {
        if (std::memcmp(bytes.data() + i, tag.data(), tag.size()) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

AviFieldOffsets findAviFields(const Bytes& avi) {
    AviFieldOffsets fields;
    // Chunk data starts 8 bytes after the tag (tag, then size).
    if (const auto avih = find(avi, "avih"); avih >= 0) {
        fields.mainTotalFrames = avih + 8 + 16;
    }
    for (auto strh = find(avi, "strh"); strh >= 0; strh = find(avi, "strh", strh + 4)) {
        if (find(avi, "vids", strh + 8) == strh + 8) {
            fields.streamLength = strh + 8 + 32;
            break;
        }
    }
    if (const auto strf = find(avi, "strf"); strf >= 0) {
        fields.formatWidth = strf + 8 + 4;
        fields.formatHeight = strf + 8 + 8;
    }
    if (const auto movi = find(avi, "movi"); movi >= 0) {
        if (const auto chunk = find(avi, "00dc", movi); chunk >= 0) {
            fields.firstFrameChunk = chunk + 8;
            // The frames' chunks follow one another, each padded to an even length.
            for (auto at = chunk; at + 8 <= static_cast<std::ptrdiff_t>(avi.size()) &&
                                  (std::memcmp(avi.data() + at, "00dc", 4) == 0 ||
                                   std::memcmp(avi.data() + at, "00db", 4) == 0);) {
                std::uint32_t size = 0;
                for (int i = 3; i >= 0; --i) {
                    size = size << 8 | avi[static_cast<std::size_t>(at + 4 + i)];
                }
                fields.frameChunks.push_back({at + 8, size});
                at += 8 + static_cast<std::ptrdiff_t>(size + (size & 1));
            }
        }
        fields.index = find(avi, "idx1", movi);
    }
    return fields;
}

void putLittleEndian32(Bytes& bytes, std::ptrdiff_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(static_cast<std::size_t>(offset + i)) =
            static_cast<unsigned char>(value >> (8 * i));
    }
}

}  // namespace qir::animation::testing
