// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_writing.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace qir {
namespace {

ssize_t systemWrite(int descriptor, const void* data, std::size_t size) {
    return ::write(descriptor, data, size);
}

int systemSync(int descriptor) {
    return ::fsync(descriptor);
}

// Atomic so that a test's replacement is seen by the threads it starts.
std::atomic<ssize_t (*)(int, const void*, std::size_t)> writeCall{systemWrite};
std::atomic<int (*)(int)> syncCall{systemSync};

int systemSyncFileSystem(int descriptor) {
    return ::syncfs(descriptor);
}

std::atomic<int (*)(int)> syncFileSystemCall{systemSyncFileSystem};

}  // namespace

WriteCalls currentWriteCalls() {
    return {writeCall.load(), syncCall.load(), syncFileSystemCall.load()};
}

int writeAll(int descriptor, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = writeCall.load()(descriptor, bytes + done, size - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            return errno != 0 ? errno : EIO;
        }
        if (put == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

int syncFile(int descriptor) {
    for (;;) {
        if (syncCall.load()(descriptor) == 0) {
            return 0;
        }
        if (errno != EINTR) {
            return errno != 0 ? errno : EIO;
        }
    }
}

int syncFileSystem(int descriptor) {
    return syncFileSystemCall.load()(descriptor) == 0 ? 0 : (errno != 0 ? errno : EIO);
}

ScopedWriteCalls::ScopedWriteCalls(WriteCalls calls)
    : previous_{writeCall.exchange(calls.write), syncCall.exchange(calls.fsync),
                syncFileSystemCall.exchange(calls.syncfs)} {}

ScopedWriteCalls::~ScopedWriteCalls() {
    writeCall.store(previous_.write);
    syncCall.store(previous_.fsync);
    syncFileSystemCall.store(previous_.syncfs);
}

}  // namespace qir
