// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one codec between the program's GB2312 bytes and Qt's Unicode text. It converts through
// the Chinese system code page (CP936, also called GBK), whose two-byte core is GB2312: the
// input method of a Chinese desktop delivers every character of it as its code-page bytes.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace qir::gb2312 {

// Decodes code-page bytes for display. Bytes that are no character become U+FFFD.
QString toUnicode(std::string_view bytes);

// Encodes text as code-page bytes, or nothing when any character lies outside the code page.
std::optional<std::string> fromUnicode(const QString& text);

// Drops every leading and trailing byte at or below 0x20; the result views `text`'s bytes.
std::string_view trimmed(std::string_view text);

// One two-byte character of the Chinese code page (a lead byte from 0x81 and a trail byte from
// 0x80 up, neither 0xFF), optionally followed by one blank as some catalogue entries carry it.
// No byte of it can be a wildcard of the lookups ("%", "_").
bool isHanzi(std::string_view text);

// One of GB2312's 6,763 Chinese characters, the ones the store holds: rows 16 to 87 (lead byte
// 0xB0 to 0xF7, trail byte 0xA1 to 0xFE). The code page's other characters are not among them.
bool isGb2312Hanzi(std::string_view bytes);

}  // namespace qir::gb2312
