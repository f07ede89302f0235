// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys of encrypted table files, derived from their passwords once per process. The engine
// derives a key from a password and the file's salt (its first 16 bytes) with a deliberately
// slow function, tens of milliseconds, on every open; the same file and password always give the
// same key, so it is derived once and handed to the engine as a raw key from then on.

#ifndef QIR_STORE_INTERNALS
#error "store/key_derivation.h is private to its folder"
#endif

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qir::store {

inline constexpr std::size_t kSaltBytes = 16;

// The salt of an encrypted table file: its first 16 bytes; nothing when the file is shorter or
// cannot be read.
std::optional<std::string> readSalt(const std::filesystem::path& path);

// The engine's raw-key text ("x'…'", 64 hexadecimal digits) for `password` with `salt`, derived
// at the first request for this pair in the process and remembered.
std::string rawKey(std::string_view salt, std::string_view password);

// Starts deriving the key of the file at `path` for `password` on a thread of its own, so
// that the first open finds it ready. Does nothing for a file without a salt.
void deriveKeyAhead(const std::filesystem::path& path, std::string_view password);

// The page size a file with `salt` opened with before, so that it is tried first.
std::optional<int> knownPageSize(std::string_view salt);
void rememberPageSize(std::string_view salt, int pageSize);

}  // namespace qir::store
