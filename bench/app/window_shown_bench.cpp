// SPDX-License-Identifier: GPL-3.0-or-later
// Start to shown window, from the X server's events rather than by polling: each PROGRAM is
// started afresh RUNS times (interleaved when there are several, so that they share the
// machine's moods), its top-level window followed until it is shown, exposed and painted whole,
// and the program ended with SIGTERM (as a logout ends it) and waited for, so that the next
// start does not hand over to it. Each program runs in the current directory with no
// arguments. A first start of each warms the disk cache and is not counted. Beside the times,
// the processor time the program had used by its first paint, its main thread's and in all.
//
// Usage: window_shown_bench [--runs N] [--verbose] PROGRAM...
// Needs a display with a window manager (bench/app/startup_bench.sh starts Xvfb and openbox).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/app/window_watch.h"

extern char** environ;

namespace {

using qir::bench::Clock;
using qir::bench::WindowTimes;

constexpr std::chrono::milliseconds kStartTimeout{15000};

// A started program, ended and collected when it goes out of scope.
class StartedProgram {
  public:
    explicit StartedProgram(const std::string& path) : path_(path) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // The program's own output would mix with the figures.
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv{path_.data(), nullptr};
        started_ = Clock::now();
        const int error =
            posix_spawn(&pid_, path_.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            throw std::runtime_error("cannot start " + path_);
        }
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram() {
        if (pid_ > 0) {
            end();
        }
    }

    pid_t pid() const { return pid_; }
    Clock::time_point started() const { return started_; }

    // Asks the program to end and waits for it; how it ended, when not with status 0.
    std::string end() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        if (WIFSIGNALED(status)) {
            return std::string("killed by signal ") + strsignal(WTERMSIG(status));
        }
        return WEXITSTATUS(status) == 0 ? "" : "exit status " + std::to_string(WEXITSTATUS(status));
    }

  private:
    std::string path_;
    pid_t pid_ = 0;
    Clock::time_point started_;
};

struct Figures {
    std::string program;
    std::vector<double> shown, exposed, painted, mainThreadCpu, allThreadsCpu;
    int missed = 0;
    int withoutWindow = 0;
};

// What one start took: its window's times, and the processor time its main thread and all its
// threads had used when the window was painted (or the watch gave up), which the machine's
// other work changes far less than the wall-clock times.
struct Start {
    WindowTimes times;
    double mainThreadCpu = 0;
    double allThreadsCpu = 0;
    // How it ended, when not cleanly.
    std::string ending;
    // Milliseconds from the start until the watch had its answer or gave up.
    double followed = 0;
};

// Milliseconds on a processor of one thread, from the scheduler's account in nanoseconds.
double threadCpu(const std::filesystem::path& task) {
    std::ifstream file(task / "schedstat");
    double nanoseconds = 0;
    file >> nanoseconds;
    return nanoseconds / 1e6;
}

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

Start startOnce(qir::bench::WindowWatch& watch, const std::string& program) {
    StartedProgram started(program);
    Start start;
    start.times = watch.follow(started.pid(), started.started(), kStartTimeout);
    start.followed =
        std::chrono::duration<double, std::milli>(Clock::now() - started.started()).count();
    const std::filesystem::path tasks =
        std::filesystem::path("/proc") / std::to_string(started.pid()) / "task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        const double cpu = threadCpu(task.path());
        start.allThreadsCpu += cpu;
        if (task.path().filename() == std::to_string(started.pid())) {
            start.mainThreadCpu = cpu;
        }
    }
    start.ending = started.end();
    if (!start.ending.empty()) {
        std::fprintf(stderr, "%s did not end cleanly: %s\n", program.c_str(), start.ending.c_str());
    }
    // The server may still be tearing the program's windows down: their last events belong to
    // this start, and their numbers go to the next program.
    watch.awaitWindowGone(std::chrono::seconds(5));
    return start;
}

void printRow(const char* what, std::vector<double> values, int missed) {
    if (values.empty()) {
        std::printf("  %-8s never\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("  %-8s median %6.1f ms (min %.1f, max %.1f):", what, values[values.size() / 2],
                values.front(), values.back());
    for (const double value : values) {
        std::printf(" %.1f", value);
    }
    if (missed > 0) {
        std::printf("; %d starts without", missed);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 9;
    bool verbose = false;
    std::vector<Figures> figures;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--verbose") {
            verbose = true;
        } else if (argument.starts_with("--")) {
            std::fprintf(stderr, "usage: window_shown_bench [--runs N] [--verbose] PROGRAM...\n");
            return 2;
        } else {
            figures.push_back({argument, {}, {}, {}, {}, {}, 0, 0});
        }
    }
    if (figures.empty()) {
        std::fprintf(stderr, "usage: window_shown_bench [--runs N] [--verbose] PROGRAM...\n");
        return 2;
    }
    try {
        qir::bench::WindowWatch watch;
        watch.setVerbose(verbose);
        const std::string loadBefore = loadAverage();
        for (const Figures& program : figures) {
            startOnce(watch, program.program);
        }
        for (int run = 0; run < runs; ++run) {
            for (Figures& program : figures) {
                if (verbose) {
                    std::printf("%s, start %d:\n", program.program.c_str(), run + 1);
                }
                const Start start = startOnce(watch, program.program);
                const WindowTimes& times = start.times;
                if (!times.shown) {
                    // Said, and left out of the figures; a start that fails every time fails
                    // the benchmark below.
                    std::fprintf(
                        stderr, "%s, start %d: no window shown in %.0f ms%s%s\n",
                        program.program.c_str(), run + 1, start.followed,
                        start.ending.empty() ? " (it ended with status 0)" : "; it ended: ",
                        start.ending.c_str());
                    ++program.withoutWindow;
                    continue;
                }
                program.mainThreadCpu.push_back(start.mainThreadCpu);
                program.allThreadsCpu.push_back(start.allThreadsCpu);
                program.shown.push_back(*times.shown);
                if (times.exposed) {
                    program.exposed.push_back(*times.exposed);
                }
                if (times.painted) {
                    program.painted.push_back(*times.painted);
                } else {
                    ++program.missed;
                }
            }
        }
        std::printf("start to window, %d starts%s (load average %s before, %s after)\n", runs,
                    figures.size() > 1 ? " each, interleaved" : "", loadBefore.c_str(),
                    loadAverage().c_str());
        bool everyStartFailed = false;
        for (const Figures& program : figures) {
            std::printf("%s%s\n", program.program.c_str(),
                        program.withoutWindow == 0 ? ""
                                                   : (" (" + std::to_string(program.withoutWindow) +
                                                      " starts showed no window)")
                                                         .c_str());
            everyStartFailed = everyStartFailed || program.shown.empty();
            printRow("shown", program.shown, 0);
            printRow("exposed", program.exposed, 0);
            if (watch.seesPainting()) {
                printRow("painted", program.painted, program.missed);
            }
            printRow("main CPU", program.mainThreadCpu, 0);
            printRow("all CPU", program.allThreadsCpu, 0);
        }
        if (!watch.seesPainting()) {
            std::printf("(the display lacks DAMAGE: the first paint is not seen)\n");
        }
        if (everyStartFailed) {
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_shown_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
