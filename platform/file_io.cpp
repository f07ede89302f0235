// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "platform/errors.h"
#include "platform/file_writing.h"
#include "platform/regular_file.h"

namespace qir {

Bytes readFileBytes(const std::string& name) {
    FileDescriptor file = openRegularFile(name);
    if (!file.valid()) {
        throw FileOpenError(name);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        throw FileOpenError(name);
    }
    Bytes bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            throw StreamReadError();
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

void writeFileBytes(const std::string& name, std::span<const unsigned char> bytes) {
    // Overwritten in place and cut to length afterwards rather than truncated first: ext4
    // flushes a file that was truncated to nothing and written again when it is closed, which
    // costs milliseconds for each of the program's small scratch files.
    // Not waiting for a reader when a named pipe stands at the name.
    FileDescriptor file(::open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644));
    if (!file.valid()) {
        throw FileCreateError(name);
    }
    if (writeAll(file.get(), bytes.data(), bytes.size()) != 0) {
        throw StreamWriteError();
    }
    struct stat info {};
    const bool regular = ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode);
    if (regular && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0) {
        throw StreamWriteError();
    }
    if (!file.close()) {
        throw StreamWriteError();
    }
}

bool copyFileOver(const std::string& from, const std::string& to) {
    try {
        writeFileBytes(to, readFileBytes(from));
        return true;
    } catch (const Error&) {
        return false;
    }
}

bool setArchiveOnly(const std::string& name) {
    return ::chmod(name.c_str(), 0644) == 0;
}

bool deleteFile(const std::string& name) {
    return ::unlink(name.c_str()) == 0;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

}  // namespace qir
