// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owns a POSIX file descriptor (a file, a folder or a socket): closed on every path.

#include <unistd.h>

#include <utility>

namespace qir {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.fd_, -1));
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(-1); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Gives the descriptor to whoever takes it over.
    int release() { return std::exchange(fd_, -1); }
    // Closes now so a failing close (a full disk on NFS, say) can be reported.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    void reset(int fd) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }

    int fd_;
};

}  // namespace qir
