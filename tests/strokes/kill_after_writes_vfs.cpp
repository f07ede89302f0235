// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/strokes/kill_after_writes_vfs.h"

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <signal.h>
#include <sqlite3.h>

#include <stdexcept>

namespace qir::testing {
namespace {

long killAfter = 0;
long writes = 0;
sqlite3_vfs* system = nullptr;
sqlite3_vfs shim;

// The layer's file: ours first, the system layer's own file right behind it.
struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* realOf(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

int shimClose(sqlite3_file* file) {
    return realOf(file)->pMethods->xClose(realOf(file));
}
int shimRead(sqlite3_file* file, void* data, int amount, sqlite3_int64 offset) {
    return realOf(file)->pMethods->xRead(realOf(file), data, amount, offset);
}
int shimWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    const int code = realOf(file)->pMethods->xWrite(realOf(file), data, amount, offset);
    ++writes;
    if (killAfter > 0 && writes >= killAfter) {
        ::raise(SIGKILL);
    }
    return code;
}
int shimTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return realOf(file)->pMethods->xTruncate(realOf(file), size);
}
int shimSync(sqlite3_file* file, int flags) {
    return realOf(file)->pMethods->xSync(realOf(file), flags);
}
int shimFileSize(sqlite3_file* file, sqlite3_int64* size) {
    return realOf(file)->pMethods->xFileSize(realOf(file), size);
}
int shimLock(sqlite3_file* file, int lock) {
    return realOf(file)->pMethods->xLock(realOf(file), lock);
}
int shimUnlock(sqlite3_file* file, int lock) {
    return realOf(file)->pMethods->xUnlock(realOf(file), lock);
}
int shimCheckReservedLock(sqlite3_file* file, int* out) {
    return realOf(file)->pMethods->xCheckReservedLock(realOf(file), out);
}
int shimFileControl(sqlite3_file* file, int op, void* argument) {
    return realOf(file)->pMethods->xFileControl(realOf(file), op, argument);
}
int shimSectorSize(sqlite3_file* file) {
    return realOf(file)->pMethods->xSectorSize(realOf(file));
}
int shimDeviceCharacteristics(sqlite3_file* file) {
    return realOf(file)->pMethods->xDeviceCharacteristics(realOf(file));
}
int shimShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
    return realOf(file)->pMethods->xShmMap(realOf(file), region, size, extend, out);
}
int shimShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return realOf(file)->pMethods->xShmLock(realOf(file), offset, n, flags);
}
void shimShmBarrier(sqlite3_file* file) {
    realOf(file)->pMethods->xShmBarrier(realOf(file));
}
int shimShmUnmap(sqlite3_file* file, int deleteFlag) {
    return realOf(file)->pMethods->xShmUnmap(realOf(file), deleteFlag);
}
int shimFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    return realOf(file)->pMethods->xFetch(realOf(file), offset, amount, out);
}
int shimUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return realOf(file)->pMethods->xUnfetch(realOf(file), offset, page);
}

// The system layer's files all speak the third version of the methods.
const sqlite3_io_methods kShimMethods = {
    3,
    shimClose,
    shimRead,
    shimWrite,
    shimTruncate,
    shimSync,
    shimFileSize,
    shimLock,
    shimUnlock,
    shimCheckReservedLock,
    shimFileControl,
    shimSectorSize,
    shimDeviceCharacteristics,
    shimShmMap,
    shimShmLock,
    shimShmBarrier,
    shimShmUnmap,
    shimFetch,
    shimUnfetch,
};

int shimOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* ours = reinterpret_cast<ShimFile*>(file);
    ours->real = reinterpret_cast<sqlite3_file*>(ours + 1);
    const int code = system->xOpen(system, name, ours->real, flags, outFlags);
    const bool opened = ours->real->pMethods != nullptr;
    if (opened && ours->real->pMethods->iVersion < 3) {
        ours->real->pMethods->xClose(ours->real);
        ours->base.pMethods = nullptr;
        return SQLITE_CANTOPEN;
    }
    ours->base.pMethods = opened ? &kShimMethods : nullptr;
    return code;
}

}  // namespace

void installKillAfterWrites(long writesBeforeKill) {
    killAfter = writesBeforeKill;
    writes = 0;
    if (system != nullptr) {
        return;
    }
    system = sqlite3_vfs_find(nullptr);
    if (system == nullptr) {
        throw std::runtime_error("the table engine has no file layer");
    }
    shim = *system;
    shim.zName = "kill-after-writes";
    shim.szOsFile = static_cast<int>(sizeof(ShimFile)) + system->szOsFile;
    shim.xOpen = shimOpen;
    if (sqlite3_vfs_register(&shim, 1) != SQLITE_OK) {
        throw std::runtime_error("cannot register the kill-after-writes file layer");
    }
}

long writesSoFar() {
    return writes;
}

}  // namespace qir::testing
