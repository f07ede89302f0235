// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qir {

FileDescriptor openRegularFile(const std::filesystem::path& path, FollowLinks follow) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer that never comes.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (follow == FollowLinks::No) {
        flags |= O_NOFOLLOW;
    }
    FileDescriptor file(::open(path.c_str(), flags));
    if (!file.valid()) {
        return file;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return FileDescriptor();
    }
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return FileDescriptor();
    }
    // A regular file never blocks; reads go on as usual.
    ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);
    return file;
}

std::optional<std::string> readRegularFile(const std::filesystem::path& path, FollowLinks follow) {
    const FileDescriptor file = openRegularFile(path, follow);
    if (!file.valid()) {
        return std::nullopt;
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return content;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace qir
