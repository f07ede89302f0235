// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Temporary files that must not outlive their process. While registered, a file is removed
// when the process is ended by SIGINT, SIGTERM or SIGHUP (once the command line has asked for
// that); a SIGKILL cannot be caught, so the names of such files are made to be recognised and
// cleared by a later run (AtomicFile does).

#include <string>

namespace qir {

class TemporaryFileRegistration {
  public:
    // Registers `path`; a path too long to keep, or more files at once than the registry
    // holds, are simply not removed by a signal.
    explicit TemporaryFileRegistration(const std::string& path);
    ~TemporaryFileRegistration();
    TemporaryFileRegistration(const TemporaryFileRegistration&) = delete;
    TemporaryFileRegistration& operator=(const TemporaryFileRegistration&) = delete;

  private:
    int slot_;
};

// Removes every registered file. Safe inside a signal handler.
void removeRegisteredTemporaryFiles() noexcept;

// For a process without an event loop (the command line): SIGINT, SIGTERM and SIGHUP remove
// the registered files and then end the process as the signal would have.
void removeTemporaryFilesOnTermination();

}  // namespace qir
