// SPDX-License-Identifier: GPL-3.0-or-later
// The clip decoder as the program has it: a module beside the staged program, loaded on a
// thread of its own; a program without it says so on every clip instead of failing to start.
// (Each test runs in a process of its own, as the module is loaded once per process.)
#include "app/clip_module.h"

#include <gtest/gtest.h>

#include "animation/clip.h"
#include "animation/media_error.h"
#include "tests/animation/test_clips.h"
#include "tests/support/scratch_directory.h"

namespace qir::app {
namespace {

TEST(ClipModule, ClipsAreDecodedByTheModuleBesideTheProgram) {
    testing::ScratchDirectory folder;
    animation::testing::writeClip("clip.avi", {.frames = 5, .palette = true});
    // The test's own decoder is replaced by the module's.
    animation::setClipDecoder(nullptr);
    useClipModule(std::filesystem::path(QIR_PROGRAM));
    startLoadingClipModule();
    const animation::ClipLoad load = animation::loadClipFile("clip.avi");
    ASSERT_EQ(load.result, animation::kMediaOk);
    EXPECT_EQ(load.clip.frameCount(), 5);
}

TEST(ClipModule, WithoutTheModuleEveryClipSaysTheDecoderCannotBeLoaded) {
    testing::ScratchDirectory folder;
    animation::testing::writeClip("clip.avi", {.frames = 5});
    useClipModule(folder.path() / "qir-stroke");  // a program with no module beside it
    const animation::ClipLoad load = animation::loadClipFile("clip.avi");
    EXPECT_EQ(load.result, animation::kMediaNoDecoder);
    EXPECT_EQ(animation::mediaErrorText(load.result),
              "The device's video decoder cannot be loaded.");
}

}  // namespace
}  // namespace qir::app
