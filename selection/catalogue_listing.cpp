// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/catalogue_listing.h"

#include <QString>
#include <stdexcept>
#include <string>

#include "platform/gb2312.h"

namespace qir::selection {
namespace {

[[noreturn]] void refuse(int lineNumber, const std::string& why) {
    throw std::invalid_argument("catalogue listing line " + std::to_string(lineNumber) + ": " +
                                why);
}

std::string toGb2312(const QString& text, int lineNumber) {
    auto bytes = gb2312::fromUnicode(text);
    if (!bytes) {
        refuse(lineNumber, "\"" + text.toStdString() + "\" is not GB2312");
    }
    return *bytes;
}

CatalogueNodeRecord parseGroup(std::string_view line, int lineNumber) {
    const auto colon = line.find(": ");
    if (colon == std::string_view::npos || colon == 0) {
        refuse(lineNumber, "expected \"<label>: <characters>\"");
    }
    CatalogueNodeRecord group;
    group.text =
        toGb2312(QString::fromUtf8(line.data(), static_cast<qsizetype>(colon)), lineNumber);

    const std::u32string characters =
        QString::fromUtf8(line.data() + colon + 2, static_cast<qsizetype>(line.size() - colon - 2))
            .toStdU32String();
    for (char32_t character : characters) {
        if (character == U' ') {
            if (group.children.empty() || group.children.back().text.back() == ' ') {
                refuse(lineNumber, "a blank must follow a character");
            }
            group.children.back().text += ' ';
            continue;
        }
        const QString one = QString::fromUcs4(&character, 1);
        CatalogueNodeRecord entry;
        entry.text = toGb2312(one, lineNumber);
        if (entry.text.size() != 2) {
            refuse(lineNumber, "\"" + one.toStdString() + "\" is not a two-byte character");
        }
        group.children.push_back(std::move(entry));
    }
    if (group.children.empty()) {
        refuse(lineNumber, "a group needs characters");
    }
    return group;
}

}  // namespace

std::vector<CatalogueNodeRecord> parseCatalogueListing(std::string_view utf8) {
    std::vector<CatalogueNodeRecord> groups;
    int lineNumber = 0;
    while (!utf8.empty()) {
        const auto end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        groups.push_back(parseGroup(line, lineNumber));
    }
    return groups;
}

}  // namespace qir::selection
