// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/svg_path.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace qir::tools {
namespace {

class PathReader {
  public:
    explicit PathReader(std::string_view text) : text_(text) {}

    std::vector<PathCommand> read() {
        std::vector<PathCommand> commands;
        skipSeparators();
        if (atEnd()) {
            fail("empty path");
        }
        while (!atEnd()) {
            const std::size_t letterAt = pos_;
            const char letter = text_[pos_++];
            switch (letter) {
                case 'M':
                    readGroups(commands, PathVerb::MoveTo, 1);
                    break;
                case 'L':
                    requireStart(commands, letterAt);
                    readGroups(commands, PathVerb::LineTo, 1);
                    break;
                case 'Q':
                    requireStart(commands, letterAt);
                    readGroups(commands, PathVerb::QuadTo, 2);
                    break;
                case 'C':
                    requireStart(commands, letterAt);
                    readGroups(commands, PathVerb::CubicTo, 3);
                    break;
                case 'Z':
                    requireStart(commands, letterAt);
                    commands.push_back({PathVerb::Close, {}});
                    break;
                default:
                    fail("unknown path command '" + printable(letter) + "'", letterAt);
            }
            skipSeparators();
        }
        return commands;
    }

  private:
    bool atEnd() const { return pos_ >= text_.size(); }

    void skipSeparators() {
        while (!atEnd() &&
               (std::isspace(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == ',')) {
            ++pos_;
        }
    }

    bool numberFollows() {
        skipSeparators();
        if (atEnd()) {
            return false;
        }
        const char c = text_[pos_];
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
    }

    void requireStart(const std::vector<PathCommand>& commands, std::size_t at) {
        if (commands.empty()) {
            fail("path does not start with M", at);
        }
    }

    // Reads one group of `count` points, then more groups while numbers follow.
    void readGroups(std::vector<PathCommand>& commands, PathVerb verb, int count) {
        const std::size_t letterAt = pos_ - 1;
        if (!numberFollows()) {
            fail("command '" + std::string(1, text_[letterAt]) + "' without coordinates", letterAt);
        }
        do {
            PathCommand command{verb, {}};
            for (int i = 0; i < count; ++i) {
                const double x = readNumber();
                const double y = readNumber();
                command.points.push_back({x, y});
            }
            commands.push_back(std::move(command));
            if (verb == PathVerb::MoveTo) {
                verb = PathVerb::LineTo;
            }
        } while (numberFollows());
    }

    double readNumber() {
        skipSeparators();
        const std::size_t start = pos_;
        if (!atEnd() && text_[pos_] == '+') {
            ++pos_;  // from_chars takes no plus sign
        }
        double value = 0;
        const char* first = text_.data() + pos_;
        const char* last = text_.data() + text_.size();
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
        if (error != std::errc() || end == first) {
            fail(atEnd() ? "path ends inside a command" : "number expected", start);
        }
        if (!std::isfinite(value)) {
            fail("number out of range", start);
        }
        pos_ += static_cast<std::size_t>(end - first);
        return value;
    }

    static std::string printable(char c) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            return std::string(1, c);
        }
        static const char* const kHex = "0123456789ABCDEF";
        return std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }

    [[noreturn]] void fail(const std::string& what) const { fail(what, pos_); }
    [[noreturn]] void fail(const std::string& what, std::size_t at) const {
        throw PathSyntaxError(what + " at offset " + std::to_string(at));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<PathCommand> parseSvgPath(std::string_view text) {
    return PathReader(text).read();
}

}  // namespace qir::tools
