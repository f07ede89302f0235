// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/clip_reader.h"
#include "tests/tools/test_glyphs.h"
#include "tools/store_builder/avi_clip_encoder.h"
#include "tools/store_builder/character_builder.h"
#include "tools/store_builder/jpeg_encoder.h"
#include "tools/store_builder/stroke_picture.h"

namespace qir::tools {
namespace {

TEST(ClipEncoding, DecodesBackToEveryFrameExactlyAtTheClipsSizeAndRate) {
    const Glyph glyph = makeGlyph(testing::twoBars());
    const auto plan = planWriting(glyph);
    WritingRenderer renderer(glyph);
    std::vector<QImage> frames;
    AviClipEncoder encoder(kClipFrameSize, kClipFramesPerSecond);
    for (const FramePlan& frame : plan) {
        frames.push_back(renderer.frame(frame));
        encoder.addFrame(frames.back());
    }
    const auto avi = encoder.finish();
    ASSERT_GT(avi.size(), 12u);
    EXPECT_EQ(std::string(avi.begin(), avi.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(avi.begin() + 8, avi.begin() + 12), "AVI ");

    // No padding, and the index still finds every frame (its offsets count from "movi").
    const std::string file(avi.begin(), avi.end());
    EXPECT_EQ(file.find("JUNK"), std::string::npos);
    const std::size_t movi = file.find("movi");
    const std::size_t index = file.find("idx1");
    ASSERT_NE(movi, std::string::npos);
    ASSERT_NE(index, std::string::npos);
    const auto word = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(file[at])) |
               static_cast<std::size_t>(static_cast<unsigned char>(file[at + 1])) << 8 |
               static_cast<std::size_t>(static_cast<unsigned char>(file[at + 2])) << 16;
    };
    ASSERT_EQ(word(index + 4), 16 * frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::size_t offset = word(index + 8 + 16 * i + 8);
        ASSERT_EQ(file.substr(movi + offset, 4), "00dc") << "frame " << i;
    }

    const testing::DecodedClip clip = testing::decodeClip(avi);
    EXPECT_EQ(clip.codecName, "zmbv");
    EXPECT_EQ(clip.width, 152);
    EXPECT_EQ(clip.height, 124);
    EXPECT_DOUBLE_EQ(clip.framesPerSecond, 15);
    ASSERT_EQ(clip.frames.size(), frames.size());
    // Every key frame costs a whole picture; frames decode so fast that one will do.
    ASSERT_EQ(clip.keyPackets.size(), frames.size());
    EXPECT_TRUE(clip.keyPackets[0]);
    EXPECT_EQ(std::count(clip.keyPackets.begin(), clip.keyPackets.end(), true), 1);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        // Lossless: what was drawn is what plays.
        ASSERT_EQ(clip.frames[i], frames[i].convertToFormat(QImage::Format_RGB32)) << "frame " << i;
    }
}

TEST(ClipEncoding, SameFramesGiveTheSameBytes) {
    const auto encode = [] {
        const Glyph glyph = makeGlyph(testing::twoBars());
        WritingRenderer renderer(glyph);
        AviClipEncoder encoder(kClipFrameSize, kClipFramesPerSecond);
        for (const FramePlan& frame : planWriting(glyph)) {
            encoder.addFrame(renderer.frame(frame));
        }
        return encoder.finish();
    };
    EXPECT_EQ(encode(), encode());
}

TEST(ClipEncoding, RefusesWrongFramesAndUseAfterFinish) {
    AviClipEncoder encoder(kClipFrameSize, kClipFramesPerSecond);
    QImage wrongSize(10, 10, QImage::Format_Grayscale8);
    wrongSize.fill(0);
    EXPECT_THROW(encoder.addFrame(wrongSize), EncodeError);
    QImage colour(kClipFrameSize, QImage::Format_RGB32);
    EXPECT_THROW(encoder.addFrame(colour), EncodeError);
    QImage frame(kClipFrameSize, QImage::Format_Grayscale8);
    frame.fill(255);
    encoder.addFrame(frame);
    encoder.finish();
    EXPECT_THROW(encoder.addFrame(frame), EncodeError);
    EXPECT_THROW(encoder.finish(), EncodeError);
}

TEST(JpegEncoding, KeepsSizeAndColours) {
    const auto pictures = renderStrokeSteps(makeGlyph(testing::twoBars()));
    const auto jpeg = encodeJpeg(pictures[1], {70, true});
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const QImage decoded = QImage::fromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), pictures[1].size());
    const QColor red = decoded.pixelColor(45, 27);
    EXPECT_GT(red.red(), 180);
    EXPECT_LT(red.green(), 70);
    EXPECT_LT(decoded.pixelColor(15, 27).lightness(), 50);
    EXPECT_EQ(encodeJpeg(pictures[1]), encodeJpeg(pictures[1]));
    EXPECT_THROW(encodeJpeg(QImage()), JpegEncodeError);
}

TEST(CharacterRendering, NumbersStepsSoThatKeysSortInStepOrder) {
    EXPECT_EQ(stepKey("\xD3\xC0", 1),
              "\xD3\xC0"
              "01");
    EXPECT_EQ(stepKey("\xD3\xC0", 12),
              "\xD3\xC0"
              "12");
    const BuiltCharacter built = renderCharacter("\xD3\xC0", testing::twoBars());
    EXPECT_EQ(built.strokeCount, 2);
    ASSERT_EQ(built.steps.size(), 2u);
    EXPECT_EQ(built.steps[0].key,
              "\xD3\xC0"
              "01");
    EXPECT_EQ(built.steps[1].key,
              "\xD3\xC0"
              "02");
    EXPECT_FALSE(built.clip.empty());
}

TEST(CharacterRendering, RefusesMoreStepsThanTwoDigitsNumber) {
    CharacterData data = testing::twoBars();
    data.strokes.resize(100, data.strokes[0]);
    EXPECT_THROW(renderCharacter("\xD3\xC0", data), StrokeDataError);
}

}  // namespace
}  // namespace qir::tools
