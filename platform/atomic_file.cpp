// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/file_writing.h"

namespace qir {
namespace {

namespace fs = std::filesystem;

// ".NAME" + kMarker + "XXXXXX": the marker tells the program's own temporary files from a
// user's hidden files, so a later run may clear the ones a killed run left.
constexpr std::string_view kMarker = ".qir-";
constexpr std::size_t kRandomPart = 6;

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

// The hidden temporary name for `name`, cut where it would pass the folder's longest name
// (never inside a UTF-8 sequence), so that every name the folder takes can be written.
std::string temporaryPattern(const std::string& name, const fs::path& folder) {
    long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (longest <= 0) {
        longest = NAME_MAX;
    }
    const std::size_t overhead = 1 + kMarker.size() + kRandomPart;
    std::size_t keep = name.size();
    if (keep + overhead > static_cast<std::size_t>(longest)) {
        keep = static_cast<std::size_t>(longest) > overhead
                   ? static_cast<std::size_t>(longest) - overhead
                   : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) {
            --keep;
        }
    }
    std::string pattern(1, '.');
    pattern.append(name, 0, keep);
    pattern.append(kMarker);
    pattern.append(kRandomPart, 'X');
    return pattern;
}

// `pattern` with its trailing X's drawn at random, as mkstemp would.
std::string withRandomPart(std::string pattern) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (std::size_t i = pattern.size() - kRandomPart; i < pattern.size(); ++i) {
        pattern[i] = kLetters[pick(random)];
    }
    return pattern;
}

bool isTemporaryName(std::string_view name) {
    const std::size_t least = 1 + kMarker.size() + kRandomPart;
    return name.size() >= least && name.front() == '.' &&
           name.substr(name.size() - kRandomPart - kMarker.size(), kMarker.size()) == kMarker;
}

}  // namespace

// The content goes straight to the descriptor through a buffer of its own. A failed write is
// kept: QPdfWriter and the like do not look at what write() returns, so the failure must
// still be there when the file is committed.
class AtomicFile::Output : public QIODevice {
  public:
    explicit Output(int descriptor) : descriptor_(descriptor) { open(QIODevice::WriteOnly); }

    // Writes out what is buffered. Returns 0 or the error number of the first failure.
    int finish() {
        flushBuffer();
        return error_;
    }

  protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override {
        if (error_ != 0) {
            return -1;
        }
        buffer_.insert(buffer_.end(), data, data + size);
        if (buffer_.size() >= kBufferSize) {
            flushBuffer();
        }
        return error_ != 0 ? -1 : size;
    }

  private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    void flushBuffer() {
        if (error_ == 0 && !buffer_.empty()) {
            error_ = writeAll(descriptor_, buffer_.data(), buffer_.size());
            if (error_ != 0) {
                setErrorString(QString::fromLocal8Bit(std::strerror(error_)));
            }
        }
        buffer_.clear();
    }

    int descriptor_;
    int error_ = 0;
    std::vector<char> buffer_;
};

AtomicFile::AtomicFile(fs::path path, Existing existing, Sync sync)
    : path_(std::move(path)), existing_(existing), sync_(sync) {
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
    removeStaleTemporaryFiles(folder, std::chrono::minutes(1));
    // Hidden, so that a file manager showing the folder does not offer the half-made file.
    const std::string pattern =
        (folder / temporaryPattern(path_.filename().string(), folder)).string();
    // Registered before it exists, so that a termination signal at any moment, on any thread,
    // finds it; removing a name not made yet does nothing.
    constexpr int kTries = 100;
    for (int attempt = 1; !descriptor_.valid(); ++attempt) {
        std::string name = withRandomPart(pattern);
        registration_ = std::make_unique<TemporaryFileRegistration>(name);
        descriptor_ = FileDescriptor(
            ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (descriptor_.valid()) {
            temporary_ = std::move(name);
            break;
        }
        const int error = errno;
        registration_.reset();
        if (error != EEXIST || attempt == kTries) {
            fail(causeOf(error, folder));
        }
    }
    // Held while the file is written: a later run sees that the writer still lives.
    ::flock(descriptor_.get(), LOCK_EX | LOCK_NB);
    // Made private; the finished file is an ordinary document.
    if (::fchmod(descriptor_.get(), 0644) != 0) {
        failWith(errno);
    }
    output_ = std::make_unique<Output>(descriptor_.get());
}

AtomicFile::~AtomicFile() {
    if (!committed_) {
        discard();
    }
}

QIODevice& AtomicFile::device() {
    return *output_;
}

void AtomicFile::fail(const std::string& cause) const {
    throw Error("EFCreateError",
                formatMessage("Cannot create file %s", path_.string()) + ": " + cause);
}

void AtomicFile::failWith(int error) {
    discard();
    fail(causeOf(error, folderOf(path_)));
}

void AtomicFile::discard() noexcept {
    output_.reset();
    descriptor_ = FileDescriptor();
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    registration_.reset();
}

void AtomicFile::commit() {
    if (committed_) {
        return;
    }
    if (!output_) {
        fail("it was not written");
    }
    if (const int error = output_->finish(); error != 0) {
        failWith(error);
    }
    output_.reset();
    if (sync_ == Sync::AtCommit) {
        if (const int error = syncFile(descriptor_.get()); error != 0) {
            failWith(error);
        }
    }
    if (!descriptor_.close()) {
        failWith(errno);
    }
    const fs::path folder = folderOf(path_);
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
    registration_.reset();
    committed_ = true;
    // The new name lasts through a power cut only once the folder is on disk too. The file is
    // whole under its name already, so a folder that cannot be synced (some network file
    // systems refuse) is no failure of the file's.
    if (sync_ == Sync::AtCommit) {
        const FileDescriptor folderDescriptor(
            ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folderDescriptor.valid()) {
            syncFile(folderDescriptor.get());
        }
    }
}

int AtomicFile::removeStaleTemporaryFiles(const fs::path& folder, std::chrono::seconds age) {
    const FileDescriptor folderDescriptor(
        ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderDescriptor.valid()) {
        return 0;
    }
    FileDescriptor listed(::dup(folderDescriptor.get()));
    DIR* listing = listed.valid() ? ::fdopendir(listed.get()) : nullptr;
    if (listing == nullptr) {
        return 0;
    }
    listed.release();  // closedir closes it
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(listing)) {
        if (isTemporaryName(entry->d_name)) {
            candidates.emplace_back(entry->d_name);
        }
    }
    ::closedir(listing);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    for (const std::string& name : candidates) {
        const FileDescriptor file(::openat(folderDescriptor.get(), name.c_str(),
                                           O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat info {};
        if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid() || now - info.st_mtime < age.count()) {
            continue;
        }
        // A live writer holds its lock; the lock of a killed one went with it.
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        if (::unlinkat(folderDescriptor.get(), name.c_str(), 0) == 0) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace qir
