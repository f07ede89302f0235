// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/stroke_file.h"

#include <charconv>
#include <stdexcept>

namespace qir::practice {
namespace {

constexpr double kSecondsBetweenPoints = 0.008;
constexpr std::size_t kPairShown = 40;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::optional<double> number(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<DrawnStroke> parseStrokeLine(std::string_view line) {
    DrawnStroke stroke;
    std::size_t at = 0;
    while (at < line.size()) {
        if (isBlank(line[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < line.size() && !isBlank(line[end])) {
            ++end;
        }
        const std::string_view pair = line.substr(at, end - at);
        const std::size_t comma = pair.find(',');
        const auto x =
            comma == std::string_view::npos ? std::nullopt : number(pair.substr(0, comma));
        const auto y =
            comma == std::string_view::npos ? std::nullopt : number(pair.substr(comma + 1));
        if (!x || !y) {
            throw std::invalid_argument("\"" + std::string(pair.substr(0, kPairShown)) +
                                        "\" is not a point x,y");
        }
        stroke.push_back({*x / kStrokeFileBox, *y / kStrokeFileBox,
                          static_cast<double>(stroke.size()) * kSecondsBetweenPoints, -1});
        at = end;
    }
    if (stroke.empty()) {
        return std::nullopt;
    }
    return stroke;
}

}  // namespace qir::practice
