// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/folder_stamp.h"

#include <sstream>

#include "platform/regular_file.h"
#include "workfolder/folder_files.h"

namespace qir::workfolder {
namespace {
constexpr std::string_view kStampHeader = "qir-stroke ";
}  // namespace

std::optional<FolderStamp> readStamp(const std::filesystem::path& folder) {
    const std::optional<std::string> text = readRegularFile(folder / kStampFile, FollowLinks::No);
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
    const std::optional<std::string> content = readRegularFile(file);
    if (!content) {
        return std::nullopt;
    }
    // FNV-1a: enough to tell an untouched copy from a changed one.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char byte : *content) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace qir::workfolder
