// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/errors.h"

namespace qir::store {

// Every failure of the table engine: the message names the table file and the cause.
class EngineError : public Error {
  public:
    explicit EngineError(const std::string& message) : Error("EDBEngineError", message) {}
};

}  // namespace qir::store
