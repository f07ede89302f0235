// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two sources every order tool reads, as their command lines name them: the stroke data the
// store is built from and the independent reference order.

#include <vector>

#include "commandline/command_line.h"

namespace qir::tools {

inline std::vector<cli::Option> orderSourceOptions() {
    return {{QStringLiteral("data"), QStringLiteral("FOLDER"),
             QStringLiteral("the hanzi-writer-data package the store is built from")},
            {QStringLiteral("reference"), QStringLiteral("FILE"),
             QStringLiteral("cnchar-order's sequences as export_reference.js writes them")}};
}

}  // namespace qir::tools
