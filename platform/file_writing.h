// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program's file content reaches the disk: every write and fsync goes through
// here and is checked, so a full disk is never taken for a written file. Tests put other
// calls in place (ScopedWriteCalls) to make the disk fill up or fail at any step.

#include <sys/types.h>

#include <cstddef>

namespace qir {

// The system calls behind writeAll() and syncFile(); the real ones unless a test replaced them.
struct WriteCalls {
    ssize_t (*write)(int descriptor, const void* data, std::size_t size);
    int (*fsync)(int descriptor);
    int (*syncfs)(int descriptor);
};

// The calls in place now.
WriteCalls currentWriteCalls();

// Writes all `size` bytes, going on after short writes and interruptions. Returns 0, or the
// error number of the write that failed (ENOSPC for a full disk; EIO for a write that wrote
// nothing without saying why).
int writeAll(int descriptor, const void* data, std::size_t size);

// fsync, going on after interruptions. Returns 0 or the error number.
int syncFile(int descriptor);

// syncfs of the file system that holds `descriptor`: everything written to it so far is on
// disk, at the cost of one flush instead of one per file. Returns 0 or the error number.
int syncFileSystem(int descriptor);

// For tests: `calls` serve every write of the process while this lives.
class ScopedWriteCalls {
  public:
    explicit ScopedWriteCalls(WriteCalls calls);
    ~ScopedWriteCalls();
    ScopedWriteCalls(const ScopedWriteCalls&) = delete;
    ScopedWriteCalls& operator=(const ScopedWriteCalls&) = delete;

  private:
    WriteCalls previous_;
};

}  // namespace qir
