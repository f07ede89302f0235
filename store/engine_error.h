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

// A table file whose content cannot be used: damaged pages, cut short, not a table file at
// all, or keyed with no password the session holds (a damaged first page looks the same).
class DamagedTableError : public EngineError {
  public:
    using EngineError::EngineError;
};

}  // namespace qir::store
