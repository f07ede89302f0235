// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The media device's result codes and their texts. 0 is success; a code without a text is
// reported by the player as "Unknown error code".

#include <optional>
#include <string>

namespace qir::animation {

enum MediaResult : int {
    kMediaOk = 0,
    kMediaDeviceNotOpen = 257,
    kMediaFileNotFound = 258,
    kMediaCannotReadFile = 259,
    kMediaNotAClip = 260,
    kMediaNoVideo = 261,
    kMediaUnsupportedFormat = 262,
    kMediaBadPictureSize = 263,
    kMediaClipTooLarge = 264,
    kMediaClipDamaged = 265,
    kMediaNotPaused = 266,
    kMediaNoDisplay = 267,
    kMediaNoDecoder = 268,
};

// The device's own text for `code`, or nothing when it has none.
std::optional<std::string> mediaErrorText(int code);

}  // namespace qir::animation
