// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/folder_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "workfolder/working_folder.h"

namespace qir::workfolder {
namespace fs = std::filesystem;
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// A name in the folder that no other start uses at the same moment.
fs::path scratchName(const fs::path& folder, std::string_view name) {
    std::string scratch = ".";
    scratch += name;
    scratch += ".new-";
    scratch += std::to_string(::getpid());
    return folder / scratch;
}

void renameInto(const fs::path& from, const fs::path& folder, std::string_view name,
                std::string_view action) {
    std::error_code error;
    fs::rename(from, folder / name, error);
    if (error) {
        fs::remove(from);
        failToPrepare(folder, action, error);
    }
}

}  // namespace

void failToPrepare(const fs::path& folder, std::string_view action, std::error_code cause) {
    throw WorkingFolderError("Cannot prepare the working folder " + folder.string() + ": " +
                             std::string(action) + ": " + cause.message());
}

void failToPrepare(const fs::path& folder, std::string_view reason) {
    throw WorkingFolderError("Cannot prepare the working folder " + folder.string() + ": " +
                             std::string(reason));
}

void createFolder(const fs::path& folder) {
    // The folders to make, from the first one that is missing.
    std::vector<fs::path> missing;
    std::error_code error;
    fs::path existing = folder;
    while (fs::symlink_status(existing, error).type() == fs::file_type::not_found &&
           existing.has_relative_path()) {
        missing.push_back(existing);
        existing = existing.parent_path();
    }
    if (!fs::is_directory(existing, error)) {
        failToPrepare(folder, existing.string() + " is not a folder");
    }
    for (auto place = missing.rbegin(); place != missing.rend(); ++place) {
        if (::mkdir(place->c_str(), 0700) != 0 && errno != EEXIST) {
            failToPrepare(folder, "cannot create " + place->string(), lastError());
        }
    }
    if (!fs::is_directory(folder, error)) {
        failToPrepare(folder, folder.string() + " is not a folder");
    }
}

void writeFileAtomically(const fs::path& folder, std::string_view name, std::string_view text) {
    try {
        AtomicFile file(folder / name, AtomicFile::Existing::Replace);
        file.device().write(text.data(), static_cast<qint64>(text.size()));
        file.commit();
    } catch (const Error& error) {
        failToPrepare(folder, error.what());
    }
}

void copyFileAtomically(const fs::path& source, const fs::path& folder, std::string_view name) {
    const fs::path scratch = scratchName(folder, name);
    const std::string action = "cannot copy " + std::string(name);
    std::error_code error;
    fs::copy_file(source, scratch, fs::copy_options::overwrite_existing, error);
    if (!error) {
        fs::permissions(scratch,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read,
                        error);
    }
    if (error) {
        fs::remove(scratch);
        failToPrepare(folder, action, error);
    }
    renameInto(scratch, folder, name, action);
}

void linkAtomically(const fs::path& target, const fs::path& folder, std::string_view name) {
    const fs::path scratch = scratchName(folder, name);
    const std::string action = "cannot link " + std::string(name);
    std::error_code error;
    fs::remove(scratch, error);
    fs::create_symlink(target, scratch, error);
    if (error) {
        failToPrepare(folder, action, error);
    }
    renameInto(scratch, folder, name, action);
}

void moveAside(const fs::path& folder, std::string_view name) {
    std::error_code error;
    for (int attempt = 1;; ++attempt) {
        std::string aside = std::string(name) + ".saved";
        if (attempt > 1) {
            aside += '.';
            aside += std::to_string(attempt);
        }
        if (fs::symlink_status(folder / aside, error).type() == fs::file_type::not_found) {
            fs::rename(folder / name, folder / aside, error);
            if (error) {
                failToPrepare(folder, "cannot move " + std::string(name) + " aside", error);
            }
            return;
        }
    }
}

FolderLock::FolderLock(const fs::path& folder)
    : file_(::open((folder / ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (!file_.valid()) {
        failToPrepare(folder, "cannot lock it", lastError());
    }
    while (::flock(file_.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            failToPrepare(folder, "cannot lock it", lastError());
        }
    }
}

}  // namespace qir::workfolder
