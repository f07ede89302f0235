// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one codec between the program's GB2312 bytes and Qt's Unicode text.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace qir::gb2312 {

// Decodes GB2312 bytes for display. Bytes that are not GB2312 become U+FFFD.
QString toUnicode(std::string_view bytes);

// Encodes text as GB2312 bytes, or nothing when any character lies outside GB2312.
std::optional<std::string> fromUnicode(const QString& text);

// Drops every leading and trailing byte at or below 0x20; the result views `text`'s bytes.
std::string_view trimmed(std::string_view text);

// One two-byte character of the Chinese code page (a lead byte from 0x81 and a trail byte from
// 0x80 up, neither 0xFF), optionally followed by one blank as some catalogue entries carry it.
// No byte of it can be a wildcard of the lookups ("%", "_").
bool isHanzi(std::string_view text);

}  // namespace qir::gb2312
