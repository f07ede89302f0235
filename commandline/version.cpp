// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline/version.h"

namespace qir::cli {

QString projectVersion() {
    return QStringLiteral(QIR_VERSION);
}

}  // namespace qir::cli
