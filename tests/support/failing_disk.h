// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disk that fails on purpose. DiskFullAfter lets the first bytes through and then fails every
// write with ENOSPC, as a full file system does (a short write first, then the error);
// FailingSync fails every fsync and syncfs with EIO. Both replace the program's write calls
// (platform/file_writing.h) for their lifetime. SmallFilesystem mounts a real tmpfs of a given
// size where the test may mount one (as root), and otherwise says why it cannot.

#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/file_writing.h"

namespace qir::testing {

class DiskFullAfter {
  public:
    explicit DiskFullAfter(std::size_t bytes);
    // How many writes were refused so far.
    static int refusals();

  private:
    ScopedWriteCalls calls_;
};

class FailingSync {
  public:
    FailingSync();

  private:
    ScopedWriteCalls calls_;
};

class SmallFilesystem {
  public:
    // Mounts a tmpfs of `bytes` at `folder` (made if missing).
    SmallFilesystem(const std::filesystem::path& folder, std::size_t bytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool mounted() const { return mounted_; }
    // Why it could not be mounted.
    const std::string& reason() const { return reason_; }

  private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace qir::testing
