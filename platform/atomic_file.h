// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file that appears whole or not at all: it is written under a hidden temporary name in its
// own folder and takes its real name only at commit(). Dropped without a commit, or after a
// failed one, it leaves nothing behind and the file it was to replace stays as it was. Every
// write, the flush, the fsync and the close are checked, so a full disk is always reported.

#include <QIODevice>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/file_descriptor.h"
#include "platform/temporary_files.h"

namespace qir {

class AtomicFile {
  public:
    enum class Existing { Refuse, Replace };
    // Sync::Later leaves the flush to disk to the caller, who writes several files and then
    // flushes their file system once (syncFileSystem) before anything depends on them.
    enum class Sync { AtCommit, Later };

    // Throws Error "Cannot create file <path>: <cause>" when the folder is missing, is not a
    // folder or cannot be written to, when `path` is a folder, and, with Existing::Refuse,
    // when a file of that name exists. Removes what earlier runs that were killed left
    // behind in the folder (removeStaleTemporaryFiles).
    AtomicFile(std::filesystem::path path, Existing existing, Sync sync = Sync::AtCommit);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the content goes. A write that fails makes this and every later write return -1,
    // and commit() report it.
    QIODevice& device();
    // Writes everything out and gives the file its name. Throws Error as above when the data
    // cannot be written (a full disk) or, with Existing::Refuse, when a file of that name has
    // appeared meanwhile.
    void commit();

    const std::filesystem::path& path() const { return path_; }
    // The hidden name the content is written under until commit().
    const std::filesystem::path& temporaryPath() const { return temporary_; }

    // The temporary files a killed writer left in `folder`: ".NAME.qir-XXXXXX", older than
    // `age` and no longer held by a live writer. Returns how many were removed.
    static int removeStaleTemporaryFiles(const std::filesystem::path& folder,
                                         std::chrono::seconds age);

  private:
    class Output;

    [[noreturn]] void fail(const std::string& cause) const;
    [[noreturn]] void failWith(int error);
    void discard() noexcept;

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    Existing existing_;
    Sync sync_;
    FileDescriptor descriptor_;
    std::unique_ptr<Output> output_;
    std::unique_ptr<TemporaryFileRegistration> registration_;
    bool committed_ = false;
};

}  // namespace qir
