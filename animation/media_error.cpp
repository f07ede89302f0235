// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/media_error.h"

namespace qir::animation {

std::optional<std::string> mediaErrorText(int code) {
    switch (code) {
        case kMediaOk:
            return "The command completed successfully.";
        case kMediaDeviceNotOpen:
            return "The media device is not open.";
        case kMediaFileNotFound:
            return "The specified file cannot be found. Make sure the name is correct.";
        case kMediaCannotReadFile:
            return "The specified file cannot be read.";
        case kMediaNotAClip:
            return "The specified file is not a video clip that this device can play.";
        case kMediaNoVideo:
            return "The specified file holds no video.";
        case kMediaUnsupportedFormat:
            return "The video in the specified file uses a format that this device cannot "
                   "decode.";
        case kMediaBadPictureSize:
            return "The video in the specified file has an invalid picture size.";
        case kMediaClipTooLarge:
            return "The specified file is too large to be played.";
        case kMediaClipDamaged:
            return "The specified file is damaged and cannot be played.";
        case kMediaNotPaused:
            return "The device is not paused.";
        case kMediaNoDisplay:
            return "The video cannot be shown in the given window.";
        case kMediaNoDecoder:
            return "The device's video decoder cannot be loaded.";
        default:
            return std::nullopt;
    }
}

}  // namespace qir::animation
