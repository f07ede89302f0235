// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace qir::tools {

Progress::Progress(std::FILE* out, int total, bool terminal)
    : out_(out),
      total_(std::max(total, 1)),
      terminal_(terminal),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_) {}

bool Progress::isTerminal(std::FILE* out) {
    return ::isatty(::fileno(out)) == 1;
}

std::string Progress::formatDuration(double seconds) {
    const long total = std::lround(std::max(seconds, 0.0));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

void Progress::update(int done) {
    const auto now = std::chrono::steady_clock::now();
    if (terminal_) {
        if (now - lastDraw_ < std::chrono::milliseconds(200)) {
            return;
        }
        lastDraw_ = now;
        draw(done, false);
        return;
    }
    // A line for every tenth of the work keeps logs short.
    const int percent = done * 100 / total_;
    if (percent / 10 != lastPlainPercent_ / 10) {
        lastPlainPercent_ = percent;
        draw(done, false);
    }
}

void Progress::finish(int done) {
    if (!terminal_ && done * 100 / total_ == lastPlainPercent_) {
        return;  // the last plain line already said so
    }
    draw(done, true);
}

void Progress::draw(int done, bool last) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = elapsed > 0 ? done / elapsed : 0;
    const std::string left =
        rate > 0 ? formatDuration((total_ - done) / rate) : std::string("?:??");
    if (terminal_) {
        constexpr int kWidth = 30;
        const int filled = done * kWidth / total_;
        std::fprintf(out_, "\r[%s%s] %d/%d  %.0f/s  %s left ",
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), done,
                     total_, rate, left.c_str());
        if (last) {
            std::fputc('\n', out_);
        }
    } else {
        std::fprintf(out_, "%d/%d characters, %.0f/s, %s left\n", done, total_, rate, left.c_str());
    }
    std::fflush(out_);
}

}  // namespace qir::tools
