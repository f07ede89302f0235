// SPDX-License-Identifier: GPL-3.0-or-later
// trim and like against a plain table-driven model, on arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "store/text_functions.h"

namespace {

using qir::store::characterLength;

// The definition itself, as a table over (pattern character, text character) positions.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> result;
    for (std::size_t at = 0; at < text.size(); at += characterLength(text, at)) {
        result.push_back(text.substr(at, characterLength(text, at)));
    }
    return result;
}

bool modelLike(std::string_view patternText, std::string_view textText) {
    const auto pattern = characters(patternText);
    const auto text = characters(textText);
    // matches[i][j]: pattern from i on matches text from j on.
    std::vector<std::vector<char>> matches(pattern.size() + 1,
                                           std::vector<char>(text.size() + 1, 0));
    matches[pattern.size()][text.size()] = 1;
    for (std::size_t i = pattern.size(); i-- > 0;) {
        for (std::size_t j = text.size() + 1; j-- > 0;) {
            if (pattern[i] == "%") {
                matches[i][j] = matches[i + 1][j] || (j < text.size() && matches[i][j + 1]);
            } else if (j < text.size() && (pattern[i] == "_" || pattern[i] == text[j])) {
                matches[i][j] = matches[i + 1][j + 1];
            }
        }
    }
    return matches[0][0] != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? "" : input.substr(split + 1);

    const std::string_view trimmed = qir::store::trimmed(input);
    if (!trimmed.empty() && (static_cast<unsigned char>(trimmed.front()) <= 0x20 ||
                             static_cast<unsigned char>(trimmed.back()) <= 0x20)) {
        std::abort();
    }
    if (input.find(trimmed) == std::string_view::npos) {
        std::abort();
    }
    if (qir::store::likeMatches(pattern, text) != modelLike(pattern, text)) {
        std::abort();
    }
    return 0;
}
