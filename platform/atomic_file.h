// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file that appears whole or not at all: it is written under a hidden temporary name in its
// own folder and takes its real name only at commit(). Dropped without a commit, or after a
// failed one, it leaves nothing behind.

#include <QFile>
#include <filesystem>
#include <memory>

namespace qir {

class AtomicFile {
  public:
    enum class Existing { Refuse, Replace };

    // Throws Error "Cannot create file <path>: <cause>" when the folder is missing, is not a
    // folder or cannot be written to, when `path` is a folder, and, with Existing::Refuse,
    // when a file of that name exists.
    AtomicFile(std::filesystem::path path, Existing existing);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the content goes.
    QIODevice& device();
    // Writes everything out and gives the file its name. Throws Error as above when the data
    // cannot be written (a full disk) or, with Existing::Refuse, when a file of that name has
    // appeared meanwhile.
    void commit();

    const std::filesystem::path& path() const { return path_; }

  private:
    [[noreturn]] void fail(const std::string& cause) const;
    void discard() noexcept;

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    Existing existing_;
    int descriptor_ = -1;
    QFile file_;
    bool committed_ = false;
};

}  // namespace qir
