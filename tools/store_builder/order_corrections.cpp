// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/order_corrections.h"

#include <QList>
#include <QString>
#include <charconv>
#include <set>

#include "platform/file_io.h"
#include "platform/gb2312.h"
#include "tools/store_builder/character_reading.h"
#include "tools/store_builder/character_set.h"

namespace qir::tools {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(kBlanks, at)) != std::string_view::npos) {
        const auto end = std::min(text.find_first_of(kBlanks, at), text.size());
        result.push_back(text.substr(at, end - at));
        at = end;
    }
    return result;
}

class LineParser {
  public:
    LineParser(const std::string& source, int line) : source_(source), line_(line) {}

    [[noreturn]] void fail(const std::string& message) const {
        throw CorrectionError(source_ + ":" + std::to_string(line_) + ": " + message);
    }

    OrderCorrection parse(std::string_view text) const {
        const auto bar = text.find('|');
        if (bar == std::string_view::npos) {
            fail("no \"|\" before the reason; a line reads: CHARACTER ORDER | REASON");
        }
        OrderCorrection entry;
        entry.line = line_;
        entry.reason = std::string(gb2312::trimmed(text.substr(bar + 1)));
        if (entry.reason.empty()) {
            fail("the reason after \"|\" is empty");
        }
        const std::vector<std::string_view> fields = words(text.substr(0, bar));
        if (fields.empty()) {
            fail("no character before \"|\"");
        }
        entry.text = std::string(fields[0]);
        entry.key = characterKey(entry.text);
        if (fields.size() == 2 && fields[1] == "keep") {
            return entry;
        }
        if (fields.size() < 2) {
            fail("no order for " + entry.text + ": give the stroke numbers or \"keep\"");
        }
        entry.order = strokeNumbers({fields.begin() + 1, fields.end()}, entry.text);
        return entry;
    }

  private:
    std::string characterKey(const std::string& text) const {
        const QString character =
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        if (character.toUcs4().size() != 1) {
            fail("\"" + text + "\" is not one character");
        }
        try {
            return charactersFromText(character).at(0).key;
        } catch (const CharacterListError& e) {
            fail(e.what());
        }
    }

    std::vector<int> strokeNumbers(const std::vector<std::string_view>& fields,
                                   const std::string& character) const {
        std::vector<int> order;
        std::set<int> seen;
        for (const std::string_view field : fields) {
            int number = 0;
            const auto [end, error] =
                std::from_chars(field.data(), field.data() + field.size(), number);
            if (error != std::errc() || end != field.data() + field.size() || number < 1 ||
                number > 99) {
                std::string message = "\"";
                message += field;
                message += "\" is not a stroke number (1 to 99) nor \"keep\"";
                fail(message);
            }
            if (!seen.insert(number).second) {
                fail("the order of " + character + " names stroke " + std::to_string(number) +
                     " twice");
            }
            order.push_back(number - 1);
        }
        for (int number = 1; number <= *seen.rbegin(); ++number) {
            if (!seen.contains(number)) {
                fail("the order of " + character + " leaves out stroke " + std::to_string(number));
            }
        }
        bool moved = false;
        for (std::size_t i = 0; i < order.size(); ++i) {
            moved = moved || order[i] != static_cast<int>(i);
        }
        if (!moved) {
            fail("the order of " + character +
                 " leaves every stroke where it is; write \"keep\" for a reviewed order");
        }
        return order;
    }

    const std::string& source_;
    int line_;
};

}  // namespace

OrderCorrections OrderCorrections::parse(std::string_view text, const std::string& source) {
    OrderCorrections corrections;
    corrections.source_ = source;
    int line = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const auto end = std::min(text.find('\n', at), text.size());
        const std::string_view content = gb2312::trimmed(text.substr(at, end - at));
        at = end + 1;
        ++line;
        if (content.empty() || content.front() == '#') {
            continue;
        }
        const LineParser parser(source, line);
        OrderCorrection entry = parser.parse(content);
        const auto [previous, added] =
            corrections.byKey_.emplace(entry.key, corrections.entries_.size());
        if (!added) {
            parser.fail(entry.text + " is already named on line " +
                        std::to_string(corrections.entries_[previous->second].line));
        }
        corrections.entries_.push_back(std::move(entry));
    }
    return corrections;
}

OrderCorrections OrderCorrections::read(const std::filesystem::path& file) {
    const std::optional<std::string> text = readWholeFile(file);
    if (!text) {
        throw CorrectionError("cannot read the order corrections " + file.string());
    }
    return parse(*text, file.string());
}

const OrderCorrection* OrderCorrections::find(const std::string& key) const {
    const auto found = byKey_.find(key);
    return found == byKey_.end() ? nullptr : &entries_[found->second];
}

std::vector<const OrderCorrection*> OrderCorrections::reorderings() const {
    std::vector<const OrderCorrection*> result;
    for (const OrderCorrection& entry : entries_) {
        if (entry.reorders()) {
            result.push_back(&entry);
        }
    }
    return result;
}

void OrderCorrections::checkAgainst(const std::filesystem::path& dataFolder) const {
    for (const OrderCorrection& entry : entries_) {
        const LineParser at(source_, entry.line);
        CharacterData data;
        try {
            data = readCharacterFile(dataFolder, QString::fromUtf8(entry.text.c_str()));
        } catch (const StrokeDataError& e) {
            at.fail(entry.text + " is not in the stroke data: " + e.what());
        }
        if (const auto mismatch = orderMismatch(entry.order, static_cast<int>(data.strokes.size()));
            entry.reorders() && mismatch) {
            at.fail("the order of " + entry.text + " " + *mismatch);
        }
    }
}

std::optional<std::string> orderMismatch(const std::vector<int>& order, int strokeCount) {
    const int named = static_cast<int>(order.size());
    if (named != strokeCount) {
        return "names " + std::to_string(named) + " strokes but the data has " +
               std::to_string(strokeCount) + ": it would change the stroke count";
    }
    std::vector<bool> seen(static_cast<std::size_t>(strokeCount), false);
    for (const int stroke : order) {
        if (stroke < 0 || stroke >= strokeCount) {
            return "names stroke " + std::to_string(stroke + 1) + " but the data has " +
                   std::to_string(strokeCount);
        }
        if (seen[static_cast<std::size_t>(stroke)]) {
            return "names stroke " + std::to_string(stroke + 1) + " twice";
        }
        seen[static_cast<std::size_t>(stroke)] = true;
    }
    return std::nullopt;
}

CharacterData reorderStrokes(const CharacterData& data, const std::vector<int>& order) {
    if (const auto mismatch = orderMismatch(order, static_cast<int>(data.strokes.size()))) {
        throw StrokeDataError("the corrected order " + *mismatch);
    }
    CharacterData reordered;
    reordered.strokes.reserve(order.size());
    for (const int stroke : order) {
        reordered.strokes.push_back(data.strokes[static_cast<std::size_t>(stroke)]);
    }
    return reordered;
}

}  // namespace qir::tools
