// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a test in a fresh working directory, since every file name of the program resolves
// against it; the old directory is restored and the scratch one removed afterwards.

#include <filesystem>
#include <string>

namespace qir::testing {

class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to `name` inside the directory.
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace qir::testing
