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

}  // namespace qir::gb2312
