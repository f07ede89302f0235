// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stamp a prepared folder keeps: the version that prepared it, and a fingerprint of each
// copied file as it was written, so a later version can tell an untouched copy from one the
// user changed.

#ifndef QIR_WORKFOLDER_INTERNALS
#error "workfolder/folder_stamp.h is private to its folder"
#endif

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace qir::workfolder {

inline constexpr const char* kStampFile = ".qir-stroke-version";

struct FolderStamp {
    std::string version;
    std::map<std::string, std::uint64_t> copies;  // file name -> fingerprint of what was copied
};

// The stamp in `folder`; nothing when there is none or it cannot be read.
std::optional<FolderStamp> readStamp(const std::filesystem::path& folder);

// Replaces the stamp in one step, so a killed start leaves the old or the new one.
// Throws WorkingFolderError when it cannot be written.
void writeStamp(const std::filesystem::path& folder, const FolderStamp& stamp);

// A fingerprint of the file's content; nothing when it cannot be read.
std::optional<std::uint64_t> fingerprint(const std::filesystem::path& file);

}  // namespace qir::workfolder
