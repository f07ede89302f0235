// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player's error: the device's text for a failed command, or the player's own texts.

#include <string>

#include "platform/errors.h"

namespace qir::animation {

class EMCIDeviceError : public Error {
  public:
    explicit EMCIDeviceError(const std::string& message) : Error("EMCIDeviceError", message) {}
};

// The error for device result `code`: the device's text for it, or "Unknown error code".
EMCIDeviceError mciError(int code);

// Raised by every operation that needs an open device when there is none.
EMCIDeviceError noDeviceOpenError();

}  // namespace qir::animation
