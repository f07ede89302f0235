// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/failing_disk.h"

#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace qir::testing {
namespace {

std::atomic<std::size_t> room{0};
std::atomic<int> refused{0};

ssize_t writeUntilFull(int descriptor, const void* data, std::size_t size) {
    const std::size_t left = room.load();
    if (left == 0) {
        ++refused;
        errno = ENOSPC;
        return -1;
    }
    const std::size_t put = std::min(left, size);
    const ssize_t written = ::write(descriptor, data, put);
    if (written > 0) {
        room -= static_cast<std::size_t>(written);
    }
    return written;
}

int failSync(int) {
    errno = EIO;
    return -1;
}

WriteCalls fillingUpAfter(std::size_t bytes) {
    room = bytes;
    refused = 0;
    const WriteCalls current = currentWriteCalls();
    return {writeUntilFull, current.fsync, current.syncfs};
}

}  // namespace

DiskFullAfter::DiskFullAfter(std::size_t bytes) : calls_(fillingUpAfter(bytes)) {}

int DiskFullAfter::refusals() {
    return refused.load();
}

FailingSync::FailingSync() : calls_(WriteCalls{currentWriteCalls().write, failSync, failSync}) {}

SmallFilesystem::SmallFilesystem(const std::filesystem::path& folder, std::size_t bytes)
    : folder_(folder) {
    std::filesystem::create_directories(folder_);
    if (::geteuid() != 0) {
        reason_ = "mounting a small file system needs root";
        return;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        reason_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

SmallFilesystem::~SmallFilesystem() {
    if (mounted_) {
        ::umount2(folder_.c_str(), MNT_DETACH);
    }
}

}  // namespace qir::testing
