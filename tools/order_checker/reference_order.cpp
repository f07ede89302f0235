// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/reference_order.h"

#include <algorithm>
#include <array>

#include "platform/file_io.h"
#include "platform/gb2312.h"

namespace qir::tools {
namespace {

using enum StrokeClass;

struct Letter {
    char letter;
    const char* name;
    StrokeClassSet classes;
};

// Each letter accepts the classes its stroke's median can take. Some are wide on purpose:
// the left 点 (d) is written straight down as often as to either side, 撇点 (m) and a short
// 竖弯 (b) can look like a plain stroke once the brush's entry is cut off, a 横撇 (e) with a
// stub of a 横 looks like a 撇, and the 弯钩 and 竖弯钩 curve into a hook upwards.
const std::array<Letter, 26> kLetters{{
    {'j', "横", Heng},
    {'i', "提", Heng},
    {'d', "点(左点)", Dian | Shu | Pie | Heng},
    {'k', "点", Dian},
    {'l', "捺", Dian | Heng},
    {'f', "竖", Shu},
    {'s', "撇", Pie},
    {'a', "横折折撇", HengZhe},
    {'c', "横折", HengZhe},
    {'e', "横撇/横钩", HengZhe | Pie},
    {'r', "横折钩", HengZhe},
    {'w', "横折折折钩/横撇弯钩", HengZhe},
    {'o', "横斜钩", HengZhe},
    {'p', "横折提", HengZhe},
    {'q', "横折折折", HengZhe},
    {'v', "横折折/横折弯", HengZhe},
    {'b', "竖弯", ShuZhe | Shu | Dian},
    {'g', "竖钩", ShuZhe},
    {'h', "竖提", ShuZhe},
    {'u', "竖弯钩", ShuZhe | XieGou},
    {'x', "竖折撇/竖折折", ShuZhe},
    {'z', "竖折折钩", ShuZhe},
    {'t', "弯钩", ShuZhe | XieGou},
    {'n', "撇折", PieZhe | ShuZhe},
    {'m', "撇点", PieZhe | ShuZhe | Shu | Dian | Pie},
    {'y', "斜钩/卧钩", XieGou},
}};

const Letter* findLetter(char letter) {
    const auto found = std::find_if(kLetters.begin(), kLetters.end(),
                                    [&](const Letter& entry) { return entry.letter == letter; });
    return found == kLetters.end() ? nullptr : &*found;
}

}  // namespace

const std::string* ReferenceOrders::find(const std::string& character) const {
    const auto found = letters.find(character);
    return found == letters.end() ? nullptr : &found->second;
}

ReferenceOrders parseReference(std::string_view text, const std::string& source) {
    ReferenceOrders reference;
    int line = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = std::min(text.find('\n', at), text.size());
        const std::string_view content = gb2312::trimmed(text.substr(at, end - at));
        at = end + 1;
        ++line;
        const auto fail = [&](const std::string& message) {
            throw ReferenceError(source + ":" + std::to_string(line) + ": " + message);
        };
        if (line == 1) {
            if (!content.starts_with("# ") || content.size() < 3) {
                fail("the first line does not name the reference (\"# NAME VERSION\")");
            }
            reference.name = std::string(content.substr(2));
            continue;
        }
        if (content.empty()) {
            continue;
        }
        const auto blank = content.find(' ');
        if (blank == std::string_view::npos || blank == 0 || blank + 1 >= content.size()) {
            fail("not \"CHARACTER LETTERS\"");
        }
        const std::string letters(content.substr(blank + 1));
        if (!std::all_of(letters.begin(), letters.end(),
                         [](char c) { return c >= 'a' && c <= 'z'; })) {
            fail("the letters \"" + letters + "\" are not all lower-case letters");
        }
        reference.letters[std::string(content.substr(0, blank))] = letters;
    }
    if (line == 0) {
        throw ReferenceError(source + ": the reference is empty");
    }
    return reference;
}

ReferenceOrders readReference(const std::filesystem::path& file) {
    const std::optional<std::string> text = readWholeFile(file);
    if (!text) {
        throw ReferenceError("cannot read the stroke-order reference " + file.string() +
                             " (it is exported from node_modules/cnchar-order at build time)");
    }
    return parseReference(*text, file.string());
}

std::optional<StrokeClassSet> classesOfLetter(char letter) {
    const Letter* entry = findLetter(letter);
    return entry == nullptr ? std::nullopt : std::optional(entry->classes);
}

std::string letterName(char letter) {
    const Letter* entry = findLetter(letter);
    return entry == nullptr ? std::string("?") + letter : entry->name;
}

}  // namespace qir::tools
