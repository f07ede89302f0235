// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/combination.h"

#include <algorithm>

namespace qir::handwriting {
Candidates combined(const Candidates& own, const Candidates& zinnia, std::size_t count) {
    Candidates result(own.begin(),
                      own.begin() + static_cast<std::ptrdiff_t>(std::min(count, own.size())));
    for (const Candidate& candidate : zinnia) {
        if (result.size() >= count) {
            break;
        }
        if (std::none_of(result.begin(), result.end(),
                         [&](const Candidate& c) { return c.hanzi == candidate.hanzi; })) {
            result.push_back({candidate.hanzi, result.empty() ? 0 : result.back().score});
        }
    }
    if (result.size() > count) {
        result.resize(count);
    }
    return result;
}

}  // namespace qir::handwriting
