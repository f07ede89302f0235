// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads and writes with the program's error texts. Names resolve against the
// current working directory, as every file name of the program does.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qir {

using Bytes = std::vector<unsigned char>;

// Reads the whole file. Throws FileOpenError(name) when it cannot be opened and
// StreamReadError on a short read.
Bytes readFileBytes(const std::string& name);

// The whole content of a text or data file the tools read (stroke data, corrections, Unicode
// files), or nothing when it cannot be opened or read to its end; each caller says which
// file it was in its own words.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// Creates or truncates `name` and writes `bytes` in one pass. Throws FileCreateError(name)
// when the file cannot be created and StreamWriteError on a short write. The file is
// closed on every path.
void writeFileBytes(const std::string& name, std::span<const unsigned char> bytes);

// Copies `from` over `to`, replacing the content of an existing `to` (whose mode stays).
// Returns false on failure; callers that care look at the copy afterwards.
bool copyFileOver(const std::string& from, const std::string& to);

// Clears read-only and the like: owner read-write, group and others read (mode 0644).
bool setArchiveOnly(const std::string& name);

// Deletes the file; false when it could not.
bool deleteFile(const std::string& name);

}  // namespace qir
