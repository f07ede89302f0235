#pragma once
// Rewriting the fixed scratch files of the stroke pictures.

#include <span>
#include <string>

#include "platform/file_io.h"

namespace qir::strokes {

// Creates `name` or replaces its content with `bytes`, like a create-or-truncate write, but
// overwrites in place and cuts the file to length afterwards: ext4 flushes a file that was
// truncated to nothing and written again when it is closed, which costs milliseconds per
// picture. Throws FileCreateError(name) when the file cannot be opened for writing and
// StreamWriteError when the bytes cannot all be written.
void rewriteFile(const std::string& name, std::span<const unsigned char> bytes);

// Copies `from` over `to` the same way; false when either file fails.
bool copyOver(const std::string& from, const std::string& to);

}  // namespace qir::strokes
