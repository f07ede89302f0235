// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Progress of a build: a bar with count, rate and time left on a terminal, plain lines
// otherwise (logs, CI).

#ifndef QIR_STORE_BUILDER_INTERNALS
#error "tools/store_builder/progress.h is private to its folder"
#endif

#include <chrono>
#include <cstdio>
#include <string>

namespace qir::tools {

class Progress {
  public:
    Progress(std::FILE* out, int total, bool terminal);
    // Reports `done` characters finished; draws at most a few times a second.
    void update(int done);
    // Draws the final state and ends the line.
    void finish(int done);

    static bool isTerminal(std::FILE* out);
    // "1:05" for 65 seconds.
    static std::string formatDuration(double seconds);

  private:
    void draw(int done, bool last);

    std::FILE* out_;
    int total_;
    bool terminal_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
    int lastPlainPercent_ = -1;
};

}  // namespace qir::tools
