// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file operations a folder is prepared with. Each puts its result in place in one rename,
// so a start that is killed half-way leaves either the old entry or the new one, never a torn
// file; a failure throws WorkingFolderError naming the folder and the cause.

#ifndef QIR_WORKFOLDER_INTERNALS
#error "workfolder/folder_files.h is private to its folder"
#endif

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_descriptor.h"

namespace qir::workfolder {

[[noreturn]] void failToPrepare(const std::filesystem::path& folder, std::string_view action,
                                std::error_code cause);
[[noreturn]] void failToPrepare(const std::filesystem::path& folder, std::string_view reason);

// Creates the folder, and any missing parent, private to the user.
void createFolder(const std::filesystem::path& folder);

void writeFileAtomically(const std::filesystem::path& folder, std::string_view name,
                         std::string_view text);
// The copy is the user's own: owner read-write, whatever the installed file's mode.
void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& folder,
                        std::string_view name);
void linkAtomically(const std::filesystem::path& target, const std::filesystem::path& folder,
                    std::string_view name);
// Renames an entry out of the way ("name.saved", "name.saved.2", ...) instead of deleting it.
void moveAside(const std::filesystem::path& folder, std::string_view name);

// Held while the folder is prepared, so that starts at the same instant take turns. The lock
// goes with the process, also when it is killed.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& folder);

  private:
    FileDescriptor file_;
};

}  // namespace qir::workfolder
