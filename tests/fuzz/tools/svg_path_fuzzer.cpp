// SPDX-License-Identifier: GPL-3.0-or-later
// Any text must either parse into well-formed commands or be refused with PathSyntaxError.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/store_builder/svg_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qir::tools;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto commands = parseSvgPath(text);
        if (commands.empty() || commands.front().verb != PathVerb::MoveTo) {
            std::abort();
        }
        for (const PathCommand& command : commands) {
            const std::size_t expected = command.verb == PathVerb::Close     ? 0
                                         : command.verb == PathVerb::QuadTo  ? 2
                                         : command.verb == PathVerb::CubicTo ? 3
                                                                             : 1;
            if (command.points.size() != expected) {
                std::abort();
            }
            for (const PathPoint& point : command.points) {
                if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
                    std::abort();
                }
            }
        }
    } catch (const PathSyntaxError&) {
    }
    return 0;
}
