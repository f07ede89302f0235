// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reviewed exceptions to the order rules: characters whose order was looked at where a
// rule warns, and is right, each with its reason.
//
//   # comment
//   再  heng-before-shu  | 冉 in it takes its 竖 before the short 横 it crosses, as the standard
//   writes 冉

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "tools/order_checker/order_rules.h"

namespace qir::tools {

class RuleExceptionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct RuleException {
    std::string text;  // the character, UTF-8
    OrderRule rule = OrderRule::TopBeforeBottom;
    int line = 0;
    std::string reason;
};

class RuleExceptions {
  public:
    // Throws RuleExceptionError, "SOURCE:LINE: ...", for a line that is not one character, a
    // known rule key and a reason after "|", and for a character and rule named twice.
    static RuleExceptions parse(std::string_view text, const std::string& source);
    static RuleExceptions read(const std::string& file);

    const RuleException* find(const std::string& character, OrderRule rule) const;
    const std::map<std::pair<std::string, int>, RuleException>& entries() const { return entries_; }

  private:
    std::map<std::pair<std::string, int>, RuleException> entries_;
};

}  // namespace qir::tools
