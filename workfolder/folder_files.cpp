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
#include "platform/file_io.h"
#include "platform/file_writing.h"
#include "platform/regular_file.h"
#include "workfolder/folder_texts.h"
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
    throw WorkingFolderError(filled(FolderTexts::tr("Cannot prepare the working folder %1: %2: %3"),
                                    folder.string(), std::string(action), cause.message()));
}

void failToPrepare(const fs::path& folder, std::string_view reason) {
    throw WorkingFolderError(filled(FolderTexts::tr("Cannot prepare the working folder %1: %2"),
                                    folder.string(), std::string(reason)));
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
        failToPrepare(folder, filled(FolderTexts::tr("%1 is not a folder"), existing.string()));
    }
    for (auto place = missing.rbegin(); place != missing.rend(); ++place) {
        if (::mkdir(place->c_str(), 0700) != 0 && errno != EEXIST) {
            failToPrepare(folder, filled(FolderTexts::tr("cannot create %1"), place->string()),
                          lastError());
        }
    }
    if (!fs::is_directory(folder, error)) {
        failToPrepare(folder, filled(FolderTexts::tr("%1 is not a folder"), folder.string()));
    }
}

void writeFileAtomically(const fs::path& folder, std::string_view name, std::string_view text,
                         AtomicFile::Sync sync) {
    try {
        AtomicFile file(folder / name, AtomicFile::Existing::Replace, sync);
        file.device().write(text.data(), static_cast<qint64>(text.size()));
        file.commit();
    } catch (const Error& error) {
        failToPrepare(folder, error.what());
    }
}

void copyFileAtomically(const fs::path& source, const fs::path& folder, std::string_view name) {
    Bytes content;
    try {
        content = readFileBytes(source.string());
    } catch (const Error&) {
        failToPrepare(folder, filled(FolderTexts::tr("cannot copy %1: %2 cannot be read"),
                                     std::string(name), source.string()));
    }
    // AtomicFile gives the copy the mode of an ordinary document, the user's own.
    writeFileAtomically(
        folder, name,
        std::string_view(reinterpret_cast<const char*>(content.data()), content.size()),
        AtomicFile::Sync::Later);
}

void syncFolder(const fs::path& folder) {
    const FileDescriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int error = descriptor.valid() ? syncFileSystem(descriptor.get()) : errno;
    if (error != 0) {
        failToPrepare(folder, FolderTexts::tr("cannot write it to disk").toStdString(),
                      {error, std::generic_category()});
    }
}

void linkAtomically(const fs::path& target, const fs::path& folder, std::string_view name) {
    const fs::path scratch = scratchName(folder, name);
    const std::string action = filled(FolderTexts::tr("cannot link %1"), std::string(name));
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
            // Gone meanwhile: another start at the same moment moved it.
            if (error && error != std::errc::no_such_file_or_directory) {
                failToPrepare(folder,
                              filled(FolderTexts::tr("cannot move %1 aside"), std::string(name)),
                              error);
            }
            return;
        }
    }
}

bool isRegularFile(const fs::path& entry, FollowLinks follow) {
    std::error_code error;
    const fs::file_status status =
        follow == FollowLinks::Yes ? fs::status(entry, error) : fs::symlink_status(entry, error);
    return status.type() == fs::file_type::regular;
}

bool isPresent(const fs::path& entry) {
    std::error_code error;
    return fs::symlink_status(entry, error).type() != fs::file_type::not_found;
}

void mendUnlessRegular(const fs::path& folder, std::string_view name, FollowLinks follow) {
    const fs::path entry = folder / name;
    if (isPresent(entry) && !isRegularFile(entry, follow)) {
        moveAside(folder, name);
    }
}

FolderLock::FolderLock(const fs::path& folder) {
    constexpr std::string_view kLockFile = ".lock";
    const fs::path entry = folder / kLockFile;
    // A named pipe, a folder or a link at the lock's place is moved aside; a lock file that
    // another start moved aside meanwhile is not the one to hold, so the lock is taken again.
    for (int attempt = 0;; ++attempt) {
        file_ = FileDescriptor(
            ::open(entry.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
        struct stat held {};
        const bool regular =
            file_.valid() && ::fstat(file_.get(), &held) == 0 && S_ISREG(held.st_mode);
        if (!regular) {
            const std::error_code cause =
                file_.valid() ? std::make_error_code(std::errc::invalid_argument) : lastError();
            file_ = FileDescriptor();
            if (attempt >= 3 || !isPresent(entry)) {
                failToPrepare(folder, FolderTexts::tr("cannot lock it").toStdString(), cause);
            }
            mendUnlessRegular(folder, kLockFile, FollowLinks::No);
            continue;
        }
        while (::flock(file_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                failToPrepare(folder, FolderTexts::tr("cannot lock it").toStdString(), lastError());
            }
        }
        struct stat named {};
        if (::lstat(entry.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            return;
        }
        if (attempt >= 3) {
            failToPrepare(
                folder,
                FolderTexts::tr("cannot lock it: its lock file keeps changing").toStdString());
        }
    }
}

}  // namespace qir::workfolder
