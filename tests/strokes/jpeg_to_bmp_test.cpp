// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/pictures/jpeg_to_bmp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "platform/bitmap.h"
#include "platform/file_io.h"
#include "strokes/pictures/jpeg_decoder.h"
#include "tests/strokes/jpeg_maker.h"
#include "tests/support/scratch_directory.h"

namespace qir::strokes {
namespace {

using testing::JpegKind;
using testing::makeJpeg;
using testing::Rgb;

constexpr int kTrueColourScreen = 24;
constexpr int kPaletteScreen = 8;

std::uint32_t u32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t u16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

int jpegErrorCode(const std::function<void()>& action) {
    try {
        action();
    } catch (const JpegError& error) {
        EXPECT_EQ(error.what(), "JPEG error #" + std::to_string(error.code()));
        EXPECT_EQ(error.kind(), "EJPEG");
        return error.code();
    }
    ADD_FAILURE() << "no JPEG error";
    return -1;
}

void writeBytes(const std::string& name, const Bytes& bytes) {
    writeFileBytes(name, bytes);
}

// Checks the layout every bitmap shares and returns the number of colour table entries.
std::uint32_t checkHeaders(const Bytes& bmp, int width, int height, int bits) {
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    const std::uint32_t colours = u32(bmp, 46);
    const std::uint32_t rowLength = ((width * bits / 8) + 3) & ~3u;
    EXPECT_EQ(u32(bmp, 2), bmp.size());
    EXPECT_EQ(u32(bmp, 6), 0u);
    EXPECT_EQ(u32(bmp, 10), 54 + colours * 4);
    EXPECT_EQ(u32(bmp, 14), 40u);
    EXPECT_EQ(u32(bmp, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(u32(bmp, 22), static_cast<std::uint32_t>(height));
    EXPECT_EQ(u16(bmp, 26), 1);
    EXPECT_EQ(u16(bmp, 28), bits);
    EXPECT_EQ(u32(bmp, 30), 0u);
    EXPECT_EQ(u32(bmp, 34), rowLength * height);
    EXPECT_EQ(u32(bmp, 38), 0u);
    EXPECT_EQ(u32(bmp, 42), 0u);
    EXPECT_EQ(u32(bmp, 50), 0u);
    EXPECT_EQ(bmp.size(), 54 + colours * 4 + rowLength * height);
    return colours;
}

TEST(ConvertJpegToBmp, ColourPictureGivesTrueColourRowsBottomUpPadded) {
    testing::ScratchDirectory dir;
    // Top row white, bottom row black: luminance survives chroma subsampling.
    writeBytes("temp.jpg", makeJpeg(3, 2, JpegKind::Colour, [](int, int y) {
                   return y == 0 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
               }));
    ConvertJpegToBmp("temp.jpg", kTrueColourScreen);

    const Bytes bmp = readFileBytes("tmp.bmp");
    ASSERT_EQ(bmp.size(), 78u);
    EXPECT_EQ(checkHeaders(bmp, 3, 2, 24), 0u);
    for (int x = 0; x < 9; ++x) {
        EXPECT_LT(bmp[54 + x], 40) << "bottom row first: black";
        EXPECT_GT(bmp[66 + x], 215) << "then the top row: white";
    }
    for (int pad = 9; pad < 12; ++pad) {
        EXPECT_EQ(bmp[54 + pad], 0);
        EXPECT_EQ(bmp[66 + pad], 0);
    }
    EXPECT_EQ(dir.read("tmp.jpg"), dir.read("temp.jpg"));
}

TEST(ConvertJpegToBmp, ChannelsAndRowsMatchAnIndependentDecoder) {
    testing::ScratchDirectory dir;
    const Bytes jpeg = makeJpeg(37, 23, JpegKind::Colour, [](int x, int y) {
        return Rgb{static_cast<unsigned char>(x * 7), static_cast<unsigned char>(y * 11),
                   static_cast<unsigned char>(200 - x * 3)};
    });
    writeBytes("in.jpg", jpeg);
    ConvertJpegToBmp("in.jpg", kTrueColourScreen);
    const QImage ours = loadBitmapFile("tmp.bmp");
    QImage reference;
    ASSERT_TRUE(reference.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG"));
    ASSERT_EQ(ours.size(), reference.size());
    int worst = 0;
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const QColor a = ours.pixelColor(x, y), b = reference.pixelColor(x, y);
            worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue())});
        }
    }
    EXPECT_LE(worst, 3);  // only the inverse DCT's rounding differs
}

TEST(ConvertJpegToBmp, GreyPictureGivesEightBitsOfGreyLevelsOnly) {
    testing::ScratchDirectory dir;
    writeBytes("temp.jpg", makeJpeg(256, 5, JpegKind::Grey, [](int x, int) {
                   const auto v = static_cast<unsigned char>(x);
                   return Rgb{v, v, v};
               }));
    ConvertJpegToBmp("temp.jpg", kTrueColourScreen);  // grey files are 8-bit on any screen

    const Bytes bmp = readFileBytes("tmp.bmp");
    const std::uint32_t entries = checkHeaders(bmp, 256, 5, 8);
    ASSERT_GT(entries, 0u);
    ASSERT_LE(entries, 236u);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t at = 54 + i * 4;
        EXPECT_EQ(bmp[at], bmp[at + 1]);
        EXPECT_EQ(bmp[at + 1], bmp[at + 2]);
        EXPECT_EQ(bmp[at + 3], 0);
    }
    std::set<int> used;
    const std::size_t pixels = 54 + entries * 4;
    for (std::size_t i = pixels; i < bmp.size(); ++i) {
        EXPECT_LT(bmp[i], entries);
        used.insert(bmp[i]);
    }
    EXPECT_GT(used.size(), 100u);  // a full ramp keeps most levels
    EXPECT_LE(used.size(), 236u);
}

TEST(ConvertJpegToBmp, PaletteScreenQuantisesColourPictures) {
    testing::ScratchDirectory dir;
    writeBytes("temp.jpg", testing::makeStrokeJpeg(120, 3, 8));
    ConvertJpegToBmp("temp.jpg", kPaletteScreen);
    const Bytes bmp = readFileBytes("tmp.bmp");
    const std::uint32_t entries = checkHeaders(bmp, 120, 120, 8);
    ASSERT_GT(entries, 1u);
    ASSERT_LE(entries, 236u);
    for (std::size_t i = 54 + entries * 4; i < bmp.size(); ++i) {
        ASSERT_LT(bmp[i], entries);
    }
    // The red of the newest stroke survives quantising.
    const QImage image = decodeBitmap(bmp);
    bool red = false;
    for (int y = 0; y < 120 && !red; ++y) {
        for (int x = 0; x < 120 && !red; ++x) {
            const QColor c = image.pixelColor(x, y);
            red = c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    }
    EXPECT_TRUE(red);
}

TEST(ConvertJpegToBmp, NotAJpegFailsWithTheLibraryCodeBeforeWritingTheBitmap) {
    testing::ScratchDirectory dir;
    dir.write("temp.jpg", "GIF89a and then some");
    EXPECT_EQ(jpegErrorCode([] { ConvertJpegToBmp("temp.jpg", kTrueColourScreen); }), 53);
    EXPECT_FALSE(dir.exists("tmp.bmp"));
    EXPECT_EQ(dir.read("tmp.jpg"), "GIF89a and then some");
}

TEST(ConvertJpegToBmp, CopyEndsWritableEvenFromAReadOnlyFile) {
    testing::ScratchDirectory dir;
    const auto readOnly = std::filesystem::perms::owner_read | std::filesystem::perms::group_read;
    for (const bool jpeg : {false, true}) {
        if (jpeg) {
            writeBytes("in.jpg", testing::makeStrokeJpeg(20, 1, 1));
        } else {
            dir.write("in.jpg", "not a picture");
        }
        std::filesystem::permissions("in.jpg", readOnly);
        try {
            ConvertJpegToBmp("in.jpg", kTrueColourScreen);
        } catch (const JpegError&) {
            EXPECT_FALSE(jpeg);
        }
        struct stat info {};
        ASSERT_EQ(::stat("tmp.jpg", &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644u);
        EXPECT_EQ(dir.read("tmp.jpg"), dir.read("in.jpg")) << "the next copy replaced it";
        std::filesystem::permissions("in.jpg", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    EXPECT_TRUE(dir.exists("tmp.bmp"));
}

TEST(ConvertJpegToBmp, FileErrorsNameTheFixedFiles) {
    testing::ScratchDirectory dir;
    try {
        ConvertJpegToBmp("temp.jpg", kTrueColourScreen);
        FAIL();
    } catch (const FileOpenError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file tmp.jpg");
    }
    // A copy left from an earlier picture is not decoded in place of a missing one.
    writeBytes("tmp.jpg", testing::makeStrokeJpeg(20, 1, 1));
    EXPECT_THROW(ConvertJpegToBmp("temp.jpg", kTrueColourScreen), FileOpenError);
    EXPECT_FALSE(dir.exists("tmp.bmp"));

    writeBytes("temp.jpg", testing::makeStrokeJpeg(20, 1, 1));
    std::filesystem::create_directory("tmp.bmp");
    try {
        ConvertJpegToBmp("temp.jpg", kTrueColourScreen);
        FAIL();
    } catch (const FileCreateError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file tmp.bmp");
    }
}

TEST(ConvertJpegToBmp, ConvertingTheCopyItselfKeepsIt) {
    testing::ScratchDirectory dir;
    writeBytes("tmp.jpg", testing::makeStrokeJpeg(20, 1, 1));
    ConvertJpegToBmp("tmp.jpg", kTrueColourScreen);
    EXPECT_TRUE(dir.exists("tmp.jpg"));
    EXPECT_TRUE(dir.exists("tmp.bmp"));
}

// Patches the first frame header's height and width.
Bytes withDimensions(Bytes jpeg, unsigned width, unsigned height) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(DecodeJpeg, BadInputFailsWithTheLibraryCodeOrDecodesWhatThereIs) {
    const Bytes good = testing::makeStrokeJpeg(64, 2, 4);
    EXPECT_EQ(jpegErrorCode([] { decodeJpeg({}, kTrueColourScreen); }), JERR_INPUT_EMPTY);

    // Cut short: the library warns and fills in; warnings are ignored.
    for (const std::size_t keep : {good.size() / 2, std::size_t{700}}) {
        const Bytes cut(good.begin(), good.begin() + static_cast<long>(keep));
        const DecodedPicture picture = decodeJpeg(cut, kTrueColourScreen);
        EXPECT_EQ(picture.width, 64);
        EXPECT_EQ(picture.height, 64);
    }
    // Cut inside the header: a fatal error.
    const Bytes header(good.begin(), good.begin() + 30);
    EXPECT_GT(jpegErrorCode([&] { decodeJpeg(header, kTrueColourScreen); }), 0);

    // Garbled entropy-coded data never crashes; it decodes or fails with a code.
    Bytes garbled = good;
    for (std::size_t i = garbled.size() / 3; i < garbled.size() - 2; i += 7) {
        garbled[i] ^= 0x5A;
    }
    try {
        decodeJpeg(garbled, kTrueColourScreen);
    } catch (const JpegError& error) {
        EXPECT_GT(error.code(), 0);
    }

    const Bytes cmyk = makeJpeg(8, 8, JpegKind::Cmyk, [](int, int) { return Rgb{10, 20, 30}; });
    EXPECT_EQ(jpegErrorCode([&] { decodeJpeg(cmyk, kTrueColourScreen); }), JERR_CONVERSION_NOTIMPL);
}

TEST(DecodeJpeg, HugeDimensionsAreRefusedBeforeDecoding) {
    const Bytes small = testing::makeStrokeJpeg(16, 1, 1);
    for (const auto& [w, h] : {std::pair{60000u, 60000u}, {8193u, 16u}, {5000u, 5000u}}) {
        EXPECT_EQ(jpegErrorCode([&] { decodeJpeg(withDimensions(small, w, h), 24); }),
                  JERR_IMAGE_TOO_BIG);
    }
    const DecodedPicture wide = decodeJpeg(withDimensions(small, 4000, 16), 24);
    EXPECT_EQ(wide.width, 4000);  // within the cap: decoded, missing data filled in
}

TEST(DecodeJpeg, ProgressiveFilesDecodeInOneGo) {
    const Bytes jpeg = makeJpeg(
        50, 30, JpegKind::Colour,
        [](int, int) {
            return Rgb{0, 0, 255};
        },
        85, true);
    const DecodedPicture picture = decodeJpeg(jpeg, kTrueColourScreen);
    ASSERT_EQ(picture.width, 50);
    ASSERT_EQ(picture.height, 30);
    EXPECT_GT(picture.pixels[0], 220);  // blue first
    EXPECT_LT(picture.pixels[2], 40);
}

}  // namespace
}  // namespace qir::strokes
