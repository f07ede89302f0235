// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/foreign_listener.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace qir::testing {

bool mayActAsAnotherUser() {
    return ::geteuid() == 0;
}

ForeignListener::ForeignListener(const std::filesystem::path& path, bool fileMadeByUs) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only calls that are safe in the child of a process with threads.
        ::close(ready[0]);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        auto becomeNobody = [] {
            return ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                   ::setresuid(kNobody, kNobody, kNobody) == 0;
        };
        bool ok = fileMadeByUs || becomeNobody();
        ok = ok && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ok = ok && (!fileMadeByUs || becomeNobody());
        ok = ok && ::listen(fd, 16) == 0;
        const char answer = ok ? '1' : '0';
        [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char answer = '0';
    if (pid_ > 0 && ::poll(&wait, 1, 5000) == 1 && ::read(ready[0], &answer, 1) == 1) {
        listening_ = answer == '1';
    }
    ::close(ready[0]);
}

ForeignListener::~ForeignListener() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

}  // namespace qir::testing
