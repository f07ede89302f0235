// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a file to read without ever waiting on what stands at its name.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/file_descriptor.h"

namespace qir {

enum class FollowLinks { Yes, No };

// Opens `path` for reading only if it is a regular file: a named pipe (which would wait for a
// writer for ever), a device, a folder or, with FollowLinks::No, a link gives an invalid
// descriptor with errno set.
FileDescriptor openRegularFile(const std::filesystem::path& path,
                               FollowLinks follow = FollowLinks::Yes);

// The whole content of `path` if it is a regular file that can be read to its end (as
// openRegularFile decides); nothing otherwise.
std::optional<std::string> readRegularFile(const std::filesystem::path& path,
                                           FollowLinks follow = FollowLinks::Yes);

}  // namespace qir
