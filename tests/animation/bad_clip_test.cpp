// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are not playable clips: each gives a clear error from open, quickly, and leaves
// the player bar greyed.
#include <gtest/gtest.h>

#include <string>

#include "animation/clip.h"
#include "animation/mci_error.h"
#include "animation/media_error.h"
#include "animation/media_player.h"
#include "tests/animation/test_clips.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::animation {
namespace {

using testing::findAviFields;
using testing::makeClip;
using testing::putLittleEndian32;

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

class BadClipTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { good = new Bytes(makeClip({.frames = 30})); }
    static void TearDownTestSuite() { delete good; }
    static Bytes goodClip() { return *good; }

    // A clip that would hang the decoder is caught by the test's own timeout, not by a clock.
    static int decode(const Bytes& bytes) {
        const ClipLoad load = decodeClip(bytes);
        if (load.result == kMediaOk) {
            EXPECT_GT(load.clip.frameCount(), 0);
        }
        return load.result;
    }

    static Bytes* good;
};
Bytes* BadClipTest::good = nullptr;

TEST_F(BadClipTest, TheGoodClipItselfDecodes) {
    EXPECT_EQ(decode(goodClip()), kMediaOk);
}

TEST_F(BadClipTest, EmptyAndForeignFilesAreNotClips) {
    EXPECT_EQ(decode({}), kMediaNotAClip);
    EXPECT_EQ(decode(bytesOf("plain text, not a video at all")), kMediaNotAClip);
    EXPECT_EQ(decode(bytesOf("RIFF\x04\0\0\0WAVEfmt ")), kMediaNotAClip);
    Bytes jpegLike{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F', 0};
    EXPECT_EQ(decode(jpegLike), kMediaNotAClip);
    // An AVI header and nothing else.
    Bytes headerOnly = goodClip();
    headerOnly.resize(12);
    EXPECT_NE(decode(headerOnly), kMediaOk);
}

TEST_F(BadClipTest, ACutShortClipIsRefusedUnlessEveryFrameIsThere) {
    const Bytes clip = goodClip();
    const auto index = findAviFields(clip).index;
    ASSERT_GT(index, 0);
    for (std::size_t keep = 16; keep < clip.size(); keep += clip.size() / 23 + 1) {
        Bytes cut(clip.begin(), clip.begin() + static_cast<std::ptrdiff_t>(keep));
        const ClipLoad load = decodeClip(cut);
        if (static_cast<std::ptrdiff_t>(keep) <= index) {
            EXPECT_NE(load.result, kMediaOk) << "kept " << keep << " of " << clip.size();
        } else if (load.result == kMediaOk) {
            // Only the index after the frames is missing: the whole clip is there.
            EXPECT_EQ(load.clip.frameCount(), 30);
        }
    }
}

TEST_F(BadClipTest, DamagedPictureDataIsRefused) {
    Bytes clip = goodClip();
    const auto fields = findAviFields(clip);
    ASSERT_GE(fields.firstFrameChunk, 0);
    // Keep the chunk's own header byte, garble the compressed picture behind it.
    for (std::ptrdiff_t i = 8; i < 200; ++i) {
        clip[static_cast<std::size_t>(fields.firstFrameChunk + i)] ^= 0x5A;
    }
    EXPECT_EQ(decode(clip), kMediaClipDamaged);
}

// Frames are decoded as they are shown, so damage after the first frame is found then, as a
// player finds it: the last good picture stays until the next key frame restores the clip.
TEST_F(BadClipTest, ADamagedLaterFrameHoldsTheLastGoodPictureUntilTheNextKeyFrame) {
    const testing::ClipSpec shape{.frames = 60};
    Bytes clip = makeClip(shape);
    const auto chunks = findAviFields(clip).frameChunks;
    ASSERT_EQ(chunks.size(), 60u);
    // A ZMBV frame's first byte says whether it is a key frame.
    const auto isKey = [&](std::size_t frame) { return (clip[chunks[frame].data] & 1) != 0; };
    std::size_t damaged = 1;
    while (damaged < chunks.size() && isKey(damaged)) {
        ++damaged;
    }
    std::size_t nextKey = damaged + 1;
    while (nextKey < chunks.size() && !isKey(nextKey)) {
        ++nextKey;
    }
    ASSERT_LT(nextKey, chunks.size()) << "the clip needs a key frame after the damage";
    for (std::uint32_t i = 1; i < chunks[damaged].size; ++i) {
        clip[static_cast<std::size_t>(chunks[damaged].data + i)] ^= 0x5A;
    }

    const ClipLoad load = decodeClip(clip);
    ASSERT_EQ(load.result, kMediaOk);
    ASSERT_EQ(load.clip.frameCount(), 60);
    const auto shown = [&](int index) {
        return load.clip.frames->at(index).convertToFormat(QImage::Format_RGB32);
    };
    for (int index = 0; index < 60; ++index) {
        const auto frame = static_cast<std::size_t>(index);
        const int expected =
            frame >= damaged && frame < nextKey ? static_cast<int>(damaged) - 1 : index;
        EXPECT_EQ(shown(index), testing::expectedFrame(shape, expected)) << "frame " << index;
    }
    // Asked again out of order, through the key frame before each.
    for (const int index : {59, static_cast<int>(damaged), 0, static_cast<int>(nextKey)}) {
        const auto frame = static_cast<std::size_t>(index);
        const int expected =
            frame >= damaged && frame < nextKey ? static_cast<int>(damaged) - 1 : index;
        EXPECT_EQ(shown(index), testing::expectedFrame(shape, expected)) << "frame " << index;
    }
}

TEST_F(BadClipTest, AbsurdPictureSizesAreRefusedBeforeDecoding) {
    const auto fields = findAviFields(goodClip());
    ASSERT_GE(fields.formatWidth, 0);
    struct Size {
        std::uint32_t width, height;
    };
    for (const Size size : {Size{100000, 124}, Size{152, 100000}, Size{0x7FFFFFFF, 0x7FFFFFFF},
                            Size{4096, 4096}, Size{0, 124}}) {
        Bytes clip = goodClip();
        putLittleEndian32(clip, fields.formatWidth, size.width);
        putLittleEndian32(clip, fields.formatHeight, size.height);
        const int result = decode(clip);
        EXPECT_TRUE(result == kMediaBadPictureSize || result == kMediaNotAClip ||
                    result == kMediaClipDamaged)
            << size.width << " x " << size.height << " gave " << result;
    }
}

TEST_F(BadClipTest, FrameCountsTheFileCannotHoldAreRefused) {
    const auto fields = findAviFields(goodClip());
    ASSERT_GE(fields.streamLength, 0);
    Bytes huge = goodClip();
    putLittleEndian32(huge, fields.streamLength, 0x7FFFFFFF);
    putLittleEndian32(huge, fields.mainTotalFrames, 0x7FFFFFFF);
    EXPECT_EQ(decode(huge), kMediaClipTooLarge);
    // A few more frames than there are: the end of the clip is missing.
    Bytes more = goodClip();
    putLittleEndian32(more, fields.streamLength, 31);
    EXPECT_EQ(decode(more), kMediaClipDamaged);
}

TEST_F(BadClipTest, TheBarStaysGreyedAfterABadClip) {
    qir::testing::ScratchDirectory scratch;
    qir::testing::RecordingDesktop desktop;
    MediaPlayer player(desktop);
    Bytes cut = goodClip();
    cut.resize(cut.size() / 2);
    scratch.write("tmp2.avi", std::string(cut.begin(), cut.end()));
    scratch.write("tmp1.avi", "");
    for (const char* name : {"tmp2.avi", "tmp1.avi", "missing.avi"}) {
        player.setFileName(name);
        try {
            player.open();
            ADD_FAILURE() << name << " opened";
        } catch (const EMCIDeviceError& error) {
            EXPECT_FALSE(std::string(error.what()).empty());
            EXPECT_NE(std::string(error.what()), "Unknown error code");
        }
        EXPECT_FALSE(player.deviceOpen());
        EXPECT_TRUE(player.autoButtons().empty());
        EXPECT_NE(player.lastResult(), kMediaOk);
    }
}

}  // namespace
}  // namespace qir::animation
