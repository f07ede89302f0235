// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a few small, good clips into the directory given, as a start for the fuzzer.
#include <QCoreApplication>
#include <filesystem>
#include <iostream>

#include "tests/animation/test_clips.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: animation_fuzz_seeds DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::filesystem::create_directories(directory);
    using qir::animation::testing::writeClip;
    writeClip((directory / "small.avi").string(), {.width = 16, .height = 12, .frames = 4});
    writeClip((directory / "keys.avi").string(), {.width = 24, .height = 8, .frames = 14});
    writeClip((directory / "store.avi").string(), {.width = 152, .height = 124, .frames = 3});
    return 0;
}
