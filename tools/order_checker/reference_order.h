// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The independent stroke-order reference: cnchar-order's stroke sequences, one stroke-type
// letter a stroke, as export_reference.js writes them from the package.

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/order_checker/stroke_classes.h"

namespace qir::tools {

class ReferenceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ReferenceOrders {
    std::string name;                            // "cnchar-order 3.2.6"
    std::map<std::string, std::string> letters;  // UTF-8 character -> "srjjwss"

    const std::string* find(const std::string& character) const;
};

// Parses the exported text: a "# NAME VERSION" line, then "CHARACTER LETTERS" lines. Throws
// ReferenceError, with the line, for anything else.
ReferenceOrders parseReference(std::string_view text, const std::string& source);
ReferenceOrders readReference(const std::filesystem::path& file);

// The classes a reference letter stands for; nullopt for a letter the reference does not
// define. The letters are cnchar-order's (j 横, f 竖, s 撇, k 点, r 横折钩 ...).
std::optional<StrokeClassSet> classesOfLetter(char letter);

// The letter's stroke name as the reference gives it: "横折钩".
std::string letterName(char letter);

}  // namespace qir::tools
