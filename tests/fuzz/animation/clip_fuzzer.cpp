// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a clip file: opening must give a result code, never a crash or a hang,
// and a clip that opens must take stepping, seeking (each frame reached decoded) and a short
// play.
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "animation/media_device.h"

namespace {

// Timers need an application object. libFuzzer leaves through exit(), after Qt's own globals
// are gone, so the application is never destroyed; its arguments live in static storage.
int applicationArgc = 1;
char applicationName[] = "animation_clip_fuzzer";
char* applicationArgv[] = {applicationName, nullptr};

// The file each input is written to: our own in the temporary folder, removed at exit.
class ClipFile {
  public:
    ClipFile() {
        path_ = (std::filesystem::temp_directory_path() / "qir-clip-fuzz-XXXXXX.avi").string();
        const int descriptor = ::mkstemps(path_.data(), 4);
        if (descriptor < 0) {
            std::abort();
        }
        ::close(descriptor);
    }
    ~ClipFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ClipFile(const ClipFile&) = delete;
    ClipFile& operator=(const ClipFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static auto* application = new QCoreApplication(applicationArgc, applicationArgv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ClipFile clip;
    const std::string& clipName = clip.path();
    {
        std::ofstream out(clipName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    using qir::animation::MediaDevice;
    auto opened = MediaDevice::open(clipName, nullptr);
    if (opened.result != 0) {
        return 0;
    }
    MediaDevice& device = *opened.device;
    const int length = device.length();
    if (length <= 0 || device.position() != 0) {
        __builtin_trap();
    }
    // Frames are decoded when shown: each move decodes forward or from a key frame.
    for (const int frames : {1, length / 10, -3}) {
        device.step(frames);
        device.currentPicture();
    }
    device.seekToEnd();
    if (device.position() != length) {
        __builtin_trap();
    }
    device.currentPicture();
    device.seekToStart();
    device.play();
    QCoreApplication::processEvents();
    device.pause();
    device.resume();
    device.stop();
    device.close();
    return 0;
}
