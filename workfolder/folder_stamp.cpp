// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/folder_stamp.h"

#include <unistd.h>

#include <cerrno>
#include <sstream>

#include "platform/regular_file.h"
#include "workfolder/folder_files.h"

namespace qir::workfolder {
namespace {
constexpr std::string_view kStampHeader = "qir-stroke ";
}

namespace {

// The whole of a regular file, or nothing; a named pipe or a device at its place is never
// waited on.
std::optional<std::string> readRegular(const std::filesystem::path& file, FollowLinks follow) {
    const FileDescriptor descriptor = openRegularFile(file, follow);
    if (!descriptor.valid()) {
        return std::nullopt;
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(descriptor.get(), buffer, sizeof buffer);
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

}  // namespace

std::optional<FolderStamp> readStamp(const std::filesystem::path& folder) {
    const std::optional<std::string> text = readRegular(folder / kStampFile, FollowLinks::No);
    if (!text) {
        return std::nullopt;
    }
    std::istringstream in(*text);
    std::string line;
    if (!std::getline(in, line) || !line.starts_with(kStampHeader)) {
        return std::nullopt;
    }
    FolderStamp stamp;
    stamp.version = line.substr(kStampHeader.size());
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t value = 0;
        if (fields >> name >> std::hex >> value) {
            stamp.copies[name] = value;
        }
    }
    return stamp;
}

void writeStamp(const std::filesystem::path& folder, const FolderStamp& stamp) {
    std::ostringstream text;
    text << kStampHeader << stamp.version << '\n';
    for (const auto& [name, value] : stamp.copies) {
        text << name << ' ' << std::hex << value << std::dec << '\n';
    }
    writeFileAtomically(folder, kStampFile, text.str());
}

std::optional<std::uint64_t> fingerprint(const std::filesystem::path& file) {
    const FileDescriptor descriptor = openRegularFile(file, FollowLinks::Yes);
    if (!descriptor.valid()) {
        return std::nullopt;
    }
    // FNV-1a: enough to tell an untouched copy from a changed one.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    unsigned char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(descriptor.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return hash;
        }
        for (ssize_t i = 0; i < got; ++i) {
            hash ^= buffer[i];
            hash *= 0x100000001b3ULL;
        }
    }
}

}  // namespace qir::workfolder
