// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/rule_exceptions.h"

#include <algorithm>

#include "platform/file_io.h"
#include "platform/gb2312.h"

namespace qir::tools {
namespace {

std::string trimmedText(std::string_view text) {
    return std::string(gb2312::trimmed(text));
}

std::size_t codePoints(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

RuleExceptions RuleExceptions::parse(std::string_view text, const std::string& source) {
    RuleExceptions exceptions;
    int number = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const auto end = std::min(text.find('\n', at), text.size());
        const std::string line = trimmedText(text.substr(at, end - at));
        at = end + 1;
        ++number;
        if (line.empty() || line.starts_with("#")) {
            continue;
        }
        const auto fail = [&](const std::string& why) {
            throw RuleExceptionError(source + ":" + std::to_string(number) + ": " + why);
        };
        const auto bar = line.find('|');
        if (bar == std::string::npos || trimmedText(line.substr(bar + 1)).empty()) {
            fail("no reason after \"|\"");
        }
        const std::string head = trimmedText(line.substr(0, bar));
        const auto blank = head.find_first_of(" \t");
        if (blank == std::string::npos) {
            fail("no rule after the character");
        }
        RuleException entry;
        entry.text = head.substr(0, blank);
        entry.line = number;
        entry.reason = trimmedText(line.substr(bar + 1));
        if (codePoints(entry.text) != 1) {
            fail("not one character: " + entry.text);
        }
        if (!ruleFromKey(trimmedText(head.substr(blank)), entry.rule)) {
            fail("unknown rule: " + trimmedText(head.substr(blank)));
        }
        const auto key = std::pair{entry.text, static_cast<int>(entry.rule)};
        if (exceptions.entries_.contains(key)) {
            fail(entry.text + " " + ruleKey(entry.rule) + " is named twice");
        }
        exceptions.entries_.emplace(key, std::move(entry));
    }
    return exceptions;
}

RuleExceptions RuleExceptions::read(const std::string& file) {
    const std::optional<std::string> text = readWholeFile(file);
    if (!text) {
        throw RuleExceptionError("cannot read the rule exceptions " + file);
    }
    return parse(*text, file);
}

const RuleException* RuleExceptions::find(const std::string& character, OrderRule rule) const {
    const auto found = entries_.find({character, static_cast<int>(rule)});
    return found == entries_.end() ? nullptr : &found->second;
}

}  // namespace qir::tools
