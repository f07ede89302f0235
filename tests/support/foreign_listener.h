// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A process of another user (nobody) listening on a local socket, as an attacker on the same
// machine would. Making one needs root; tests skip where they are not root.

#include <sys/types.h>

#include <filesystem>

namespace qir::testing {

inline constexpr uid_t kNobody = 65534;

bool mayActAsAnotherUser();

class ForeignListener {
  public:
    // Listens at `path` for as long as the object lives. The socket file is made either by
    // that other user or, before it gives up root's rights, by this process's user.
    ForeignListener(const std::filesystem::path& path, bool fileMadeByUs);
    ~ForeignListener();
    ForeignListener(const ForeignListener&) = delete;
    ForeignListener& operator=(const ForeignListener&) = delete;

    bool listening() const { return listening_; }

  private:
    pid_t pid_ = -1;
    bool listening_ = false;
};

}  // namespace qir::testing
