// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/error_guard.h"

#include <QString>

namespace qir {

void reportError(Desktop& desktop, const std::exception& error) {
    desktop.showError(QString::fromStdString(withFullStop(error.what())));
}

}  // namespace qir
