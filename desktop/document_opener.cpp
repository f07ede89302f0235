// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document_opener.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <string>
#include <vector>

extern char** environ;

namespace qir {
namespace {

// posix_spawn's attributes and file actions, destroyed however the start ends.
class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_init(&actions_);
        // A session of its own: a terminal's hang-up or our process group's signals are not
        // the opener's business.
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID);
        for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            posix_spawn_file_actions_addopen(&actions_, descriptor, "/dev/null",
                                             descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
        }
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawnattr_t* attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }

  private:
    posix_spawnattr_t attributes_{};
    posix_spawn_file_actions_t actions_{};
};

// Polls the opener until it ends; owned by the application, so it lasts as long as the
// opener may (an opener outliving the program is left to the system).
class OpenerWatch : public QObject {
  public:
    OpenerWatch(pid_t pid, std::function<void()> failed, std::chrono::milliseconds patience)
        : QObject(QCoreApplication::instance()),
          pid_(pid),
          failed_(std::move(failed)),
          patience_(patience) {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, &OpenerWatch::poll);
        timer_.start(kQuickPoll);
    }

  private:
    static constexpr std::chrono::milliseconds kQuickPoll{50};
    static constexpr std::chrono::milliseconds kSlowPoll{1000};

    void poll() {
        int status = 0;
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == 0) {
            if (std::chrono::milliseconds(clock_.elapsed()) > patience_) {
                timer_.setInterval(kSlowPoll);  // only to reap it one day
            }
            return;
        }
        timer_.stop();
        // Reaped by someone else (-1): how it ended is unknown, so nothing is said.
        const bool failedToOpen = ended == pid_ && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        if (failedToOpen && std::chrono::milliseconds(clock_.elapsed()) <= patience_ && failed_) {
            failed_();
        }
        deleteLater();
    }

    pid_t pid_;
    std::function<void()> failed_;
    std::chrono::milliseconds patience_;
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace

void runOpener(const QString& opener, const QStringList& arguments, std::function<void()> failed,
               std::chrono::milliseconds patience) {
    // Names in the file system's encoding, as the opener will look them up.
    std::vector<std::string> words{QFile::encodeName(opener).toStdString()};
    for (const QString& argument : arguments) {
        words.push_back(QFile::encodeName(argument).toStdString());
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const SpawnSetup setup;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv.front(), setup.actions(), setup.attributes(), argv.data(),
                    environ) != 0) {
        if (failed) {
            failed();
        }
        return;
    }
    new OpenerWatch(pid, std::move(failed), patience);  // owned by the application
}

}  // namespace qir
