// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/mci_error.h"

#include "animation/media_error.h"

namespace qir::animation {

EMCIDeviceError mciError(int code) {
    return EMCIDeviceError(mediaErrorText(code).value_or("Unknown error code"));
}

EMCIDeviceError noDeviceOpenError() {
    return EMCIDeviceError("No MCI device open");
}

}  // namespace qir::animation
