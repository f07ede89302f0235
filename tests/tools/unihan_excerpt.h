// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small excerpt of the Unicode data the store builder reads (Unihan's readings and radical
// fields, CJKRadicals.txt, EquivalentUnifiedIdeograph.txt), laid out as Debian ships it:
// 了 行 长 的 永 罐 言 话 with several readings, simplified radicals and a missing gloss.

#include <filesystem>
#include <string>

namespace qir::testing {

// `data` compressed as one bzip2 stream.
std::string bzip2(const std::string& data);

// Writes the excerpt into `folder` and returns it. In every file line 6 is the first data line
// (in Unihan_IRGSources, 了's kTotalStrokes); when `file` is given, that file's line 6 is
// replaced by `line6`.
std::filesystem::path writeUnihanExcerpt(const std::filesystem::path& folder,
                                         const std::string& file = {},
                                         const std::string& line6 = {});

}  // namespace qir::testing
