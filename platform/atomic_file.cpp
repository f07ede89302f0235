// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errors.h"

namespace qir {
namespace {

namespace fs = std::filesystem;

// Why a file in `folder` could not be made, from the system's error number.
std::string causeOf(int error, const fs::path& folder) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "access to the folder " + folder.string() + " is denied";
        case EROFS:
            return "the folder " + folder.string() + " is read-only";
        case ENOSPC:
        case EDQUOT:
            return "the disk is full";
        case ENOENT:
            return "the folder " + folder.string() + " does not exist";
        case ENOTDIR:
            return folder.string() + " is not a folder";
        default:
            return std::strerror(error);
    }
}

fs::path folderOf(const fs::path& path) {
    const fs::path parent = fs::absolute(path).parent_path();
    return parent.empty() ? fs::path("/") : parent;
}

}  // namespace

AtomicFile::AtomicFile(fs::path path, Existing existing)
    : path_(std::move(path)), existing_(existing) {
    const fs::path folder = folderOf(path_);
    std::error_code error;
    if (!fs::exists(folder, error)) {
        fail("the folder " + folder.string() + " does not exist");
    }
    if (!fs::is_directory(folder, error)) {
        fail(folder.string() + " is not a folder");
    }
    if (fs::is_directory(path_, error)) {
        fail("it is a folder");
    }
    if (existing_ == Existing::Refuse && fs::exists(fs::symlink_status(path_, error))) {
        fail("the file already exists");
    }
    // Hidden, so that a file manager showing the folder does not offer the half-made file.
    std::string hidden = ".";
    hidden += path_.filename().string();
    hidden += ".XXXXXX";
    std::string pattern = (folder / hidden).string();
    descriptor_ = ::mkstemp(pattern.data());
    if (descriptor_ < 0) {
        fail(causeOf(errno, folder));
    }
    temporary_ = pattern;
    // mkstemp makes the file private; the finished file is an ordinary document.
    ::fchmod(descriptor_, 0644);
    if (!file_.open(descriptor_, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        discard();
        fail(file_.errorString().toStdString());
    }
}

AtomicFile::~AtomicFile() {
    if (!committed_) {
        discard();
    }
}

QIODevice& AtomicFile::device() {
    return file_;
}

void AtomicFile::fail(const std::string& cause) const {
    throw Error("EFCreateError",
                formatMessage("Cannot create file %s", path_.string()) + ": " + cause);
}

void AtomicFile::discard() noexcept {
    file_.close();
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AtomicFile::commit() {
    if (committed_) {
        return;
    }
    const fs::path folder = folderOf(path_);
    const bool written = file_.flush() && file_.error() == QFileDevice::NoError;
    if (!written) {
        const std::string cause = file_.errorString().toStdString();
        discard();
        fail(cause);
    }
    file_.close();
    if (::fsync(descriptor_) != 0 || ::close(descriptor_) != 0) {
        const int error = errno;
        descriptor_ = -1;
        discard();
        fail(causeOf(error, folder));
    }
    descriptor_ = -1;
    int renamed = 0;
    if (existing_ == Existing::Replace) {
        renamed = ::rename(temporary_.c_str(), path_.c_str());
    } else {
        renamed =
            ::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE);
        // Some file systems (FAT on a memory stick) cannot refuse by themselves.
        if (renamed != 0 && (errno == EINVAL || errno == ENOSYS)) {
            std::error_code ignored;
            if (fs::exists(fs::symlink_status(path_, ignored))) {
                errno = EEXIST;
            } else {
                renamed = ::rename(temporary_.c_str(), path_.c_str());
            }
        }
    }
    if (renamed != 0) {
        const int error = errno;
        discard();
        fail(error == EEXIST ? "the file already exists" : causeOf(error, folder));
    }
    temporary_.clear();
    committed_ = true;
}

}  // namespace qir
