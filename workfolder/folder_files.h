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

#include "platform/atomic_file.h"
#include "platform/file_descriptor.h"
#include "platform/regular_file.h"

namespace qir::workfolder {

[[noreturn]] void failToPrepare(const std::filesystem::path& folder, std::string_view action,
                                std::error_code cause);
[[noreturn]] void failToPrepare(const std::filesystem::path& folder, std::string_view reason);

// Creates the folder, and any missing parent, private to the user.
void createFolder(const std::filesystem::path& folder);

// Every write is checked: on a full disk the old file stands and the error names the cause.
void writeFileAtomically(const std::filesystem::path& folder, std::string_view name,
                         std::string_view text, AtomicFile::Sync sync = AtomicFile::Sync::AtCommit);
// The copy is the user's own: owner read-write, whatever the installed file's mode. It is not
// flushed to disk yet: syncFolder() does that for all the copies at once.
void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& folder,
                        std::string_view name);
// Flushes what was written into the folder to disk, before the stamp may say it is there.
void syncFolder(const std::filesystem::path& folder);
void linkAtomically(const std::filesystem::path& target, const std::filesystem::path& folder,
                    std::string_view name);
// Renames an entry out of the way ("name.saved", "name.saved.2", ...) instead of deleting it.
void moveAside(const std::filesystem::path& folder, std::string_view name);

// Whether anything, even a link that leads nowhere, stands at `entry`.
bool isPresent(const std::filesystem::path& entry);
// A regular file; with FollowLinks::Yes also a link that leads to one. Never opens it.
bool isRegularFile(const std::filesystem::path& entry, FollowLinks follow);
// Moves aside whatever stands at `name` unless it is a regular file (as `follow` says): a
// named pipe, a folder, a device, a link that leads nowhere or to a folder.
void mendUnlessRegular(const std::filesystem::path& folder, std::string_view name,
                       FollowLinks follow);

// Held while the folder is prepared, so that starts at the same instant take turns. The lock
// goes with the process, also when it is killed.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& folder);

  private:
    FileDescriptor file_;
};

}  // namespace qir::workfolder
