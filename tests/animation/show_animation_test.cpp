// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the current character's clip out of a real animation table and playing it: the
// alternating files, the characters without a clip, and every failure on the way.
#include "animation/show_animation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "animation/mci_error.h"
#include "platform/errors.h"
#include "store/character_store.h"
#include "store/engine_error.h"
#include "store/table_file.h"
#include "tests/animation/test_clips.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::animation {
namespace {

using testing::ClipSpec;
using testing::makeClip;

const std::string kFirst = "\xB0\xA1";  // the first character in the table's order
const std::string kSecond = "\xB0\xA2";
const std::string kNoPhoto = "\xB0\xA3";  // a row whose Photo is empty
const std::string kNotAClip = "\xB0\xA4";
const std::string kAbsent = "\xB0\xA5";  // no row at all

class ShowAnimationTest : public ::testing::Test {
  protected:
    ShowAnimationTest()
        : firstClip(makeClip({.width = 40, .height = 30, .frames = 30})),
          secondClip(makeClip({.width = 30, .height = 20, .frames = 12})) {
        const std::string text = "no clip here";
        store::writeTableFile(store::kAnimationTable.fileName, store::kAnimationTable,
                              {{kFirst, firstClip},
                               {kSecond, secondClip},
                               {kNoPhoto, {}},
                               {kNotAClip, Bytes(text.begin(), text.end())}});
        characterStore.addPassword(store::kStorePassword);
        player.setDisplay(&panel);
    }

    void show(const std::string& hanzi) { ShowAnimation(characterStore, player, hanzi, aviToggle); }
    Bytes fileBytes(const std::string& name) const {
        const std::string text = scratch.read(name);
        return Bytes(text.begin(), text.end());
    }

    qir::testing::ScratchDirectory scratch;
    Bytes firstClip;
    Bytes secondClip;
    store::CharacterStore characterStore;
    qir::testing::RecordingDesktop desktop;
    QWidget panel;
    MediaPlayer player{desktop};
    bool aviToggle = false;
};

TEST_F(ShowAnimationTest, ClipsAlternateBetweenTheTwoFilesAndPlayFromTheStart) {
    show(kFirst);
    EXPECT_TRUE(aviToggle);
    EXPECT_EQ(fileBytes("tmp2.avi"), firstClip);
    EXPECT_FALSE(scratch.exists("tmp1.avi"));
    EXPECT_EQ(player.fileName(), "tmp2.avi");
    EXPECT_TRUE(player.deviceOpen());
    EXPECT_EQ(player.length(), 30);
    EXPECT_EQ(player.mode(), DeviceMode::Playing);
    const int firstDevice = player.deviceId();

    // The same character again goes to the other file and starts over.
    show(kFirst);
    EXPECT_FALSE(aviToggle);
    EXPECT_EQ(fileBytes("tmp1.avi"), firstClip);
    EXPECT_EQ(player.fileName(), "tmp1.avi");
    EXPECT_NE(player.deviceId(), firstDevice);
    EXPECT_EQ(player.mode(), DeviceMode::Playing);
    EXPECT_LT(player.position(), 5);

    show(kSecond);
    EXPECT_TRUE(aviToggle);
    EXPECT_EQ(fileBytes("tmp2.avi"), secondClip);
    EXPECT_EQ(fileBytes("tmp1.avi"), firstClip);
    EXPECT_EQ(player.fileName(), "tmp2.avi");
    EXPECT_EQ(player.length(), 12);
}

TEST_F(ShowAnimationTest, TheCharacterIsTrimmedAndAnEmptyOneShowsTheFirstRow) {
    show("\t" + kSecond + " ");
    EXPECT_EQ(player.length(), 12);
    show("");
    EXPECT_EQ(player.length(), 30);
    EXPECT_EQ(fileBytes("tmp1.avi"), firstClip);
}

TEST_F(ShowAnimationTest, ACharacterWithoutAClipChangesNothing) {
    show(kSecond);
    player.pause();  // paused: it must stay paused
    const int device = player.deviceId();
    const int position = player.position();
    for (const std::string& hanzi : {kAbsent, kNoPhoto}) {
        show(hanzi);
        EXPECT_TRUE(aviToggle);
        EXPECT_FALSE(scratch.exists("tmp1.avi"));
        EXPECT_EQ(player.fileName(), "tmp2.avi");
        EXPECT_EQ(player.deviceId(), device);
        EXPECT_EQ(player.mode(), DeviceMode::Paused);
        EXPECT_EQ(player.position(), position);
    }
}

TEST_F(ShowAnimationTest, AFileThatCannotBeCreatedMovesTheToggleButLeavesThePlayer) {
    show(kFirst);
    const int device = player.deviceId();
    std::filesystem::create_directory("tmp1.avi");  // in the way, whoever runs the test
    try {
        show(kSecond);
        ADD_FAILURE() << "wrote over a directory";
    } catch (const FileCreateError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file tmp1.avi");
    }
    EXPECT_FALSE(aviToggle);
    EXPECT_EQ(player.fileName(), "tmp2.avi");
    EXPECT_EQ(player.deviceId(), device);
    EXPECT_EQ(player.mode(), DeviceMode::Playing);

    show(kSecond);  // the next one goes to the other file
    EXPECT_EQ(fileBytes("tmp2.avi"), secondClip);
    EXPECT_EQ(player.length(), 12);
}

TEST_F(ShowAnimationTest, AShortWriteIsAStreamWriteError) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    std::filesystem::create_symlink("/dev/full", "tmp2.avi");
    try {
        show(kFirst);
        ADD_FAILURE() << "wrote to a full device";
    } catch (const StreamWriteError& error) {
        EXPECT_STREQ(error.what(), "Stream write error");
    }
    EXPECT_TRUE(aviToggle);
    EXPECT_FALSE(player.deviceOpen());
    EXPECT_EQ(player.fileName(), "");
}

TEST_F(ShowAnimationTest, EngineErrorsPassOutBeforeAnythingIsWritten) {
    std::filesystem::remove(store::kAnimationTable.fileName);
    EXPECT_THROW(show(kFirst), store::EngineError);
    EXPECT_FALSE(aviToggle);
    EXPECT_FALSE(scratch.exists("tmp2.avi"));
}

TEST_F(ShowAnimationTest, AnUnplayableClipIsWrittenAndItsErrorPassesOut) {
    show(kFirst);
    EXPECT_THROW(show(kNotAClip), EMCIDeviceError);
    EXPECT_FALSE(aviToggle);
    EXPECT_EQ(scratch.read("tmp1.avi"), "no clip here");
    EXPECT_FALSE(player.deviceOpen());
    EXPECT_TRUE(player.autoButtons().empty());
}

}  // namespace
}  // namespace qir::animation
