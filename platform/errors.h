// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Errors carry the exact texts the user sees; the event guard (error_guard.h) shows them.

#include <stdexcept>
#include <string>
#include <string_view>

namespace qir {

// An error whose message is shown to the user as it stands. `kind` names the error's class,
// as the last-resort start-up box reports it ("EFOpenError", "EDBEngineError", ...).
class Error : public std::runtime_error {
  public:
    Error(std::string kind, const std::string& message)
        : std::runtime_error(message), kind_(std::move(kind)) {}
    const std::string& kind() const noexcept { return kind_; }

  private:
    std::string kind_;
};

// Ends the current event without showing anything.
class SilentAbort : public std::exception {
  public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// Fills the first "%s" or "%d" of `pattern` with `argument`.
std::string formatMessage(std::string_view pattern, std::string_view argument);

// The two rules by which the program's boxes end a message. The error box of a handled
// error: a full stop appended when its last character sorts after "." (so a message ending in
// ".", "!" or ")" gets none). The last-resort box of a failed start: a full stop unless the
// message already ends with one.
std::string withFullStop(std::string_view message);
std::string endingInFullStop(std::string_view message);

class FileOpenError : public Error {
  public:
    explicit FileOpenError(std::string_view file)
        : Error("EFOpenError", formatMessage("Cannot open file %s", file)) {}
};

class FileCreateError : public Error {
  public:
    explicit FileCreateError(std::string_view file)
        : Error("EFCreateError", formatMessage("Cannot create file %s", file)) {}
};

class StreamReadError : public Error {
  public:
    StreamReadError() : Error("EReadError", "Stream read error") {}
};

class StreamWriteError : public Error {
  public:
    StreamWriteError() : Error("EWriteError", "Stream write error") {}
};

class InvalidGraphicError : public Error {
  public:
    InvalidGraphicError() : Error("EInvalidGraphic", "Bitmap image is not valid") {}
};

}  // namespace qir
