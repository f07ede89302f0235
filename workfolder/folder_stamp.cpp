// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/folder_stamp.h"

#include <fstream>
#include <sstream>

#include "workfolder/folder_files.h"

namespace qir::workfolder {
namespace {
constexpr std::string_view kStampHeader = "qir-stroke ";
}

std::optional<FolderStamp> readStamp(const std::filesystem::path& folder) {
    std::ifstream in(folder / kStampFile);
    std::string line;
    if (!in || !std::getline(in, line) || !line.starts_with(kStampHeader)) {
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
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // FNV-1a: enough to tell an untouched copy from a changed one.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 0x100000001b3ULL;
        }
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return hash;
}

}  // namespace qir::workfolder
