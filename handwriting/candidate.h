// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a recogniser answers: characters, best first.

#include <string>
#include <vector>

namespace qir::handwriting {

struct Candidate {
    std::string hanzi;  // GB2312 bytes
    double score = 0;   // the recogniser's own measure; only the order is shared
    bool operator==(const Candidate&) const = default;
};
using Candidates = std::vector<Candidate>;

// How many candidates the pad shows.
inline constexpr std::size_t kCandidatesShown = 10;

}  // namespace qir::handwriting
