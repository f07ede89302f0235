// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cctype>

#include "store/dataset.h"
#include "store/query_cursor.h"
#include "store/row_cursor.h"

namespace qir::store {
namespace {

bool identifierByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '_';
}

// Every "stem.db" in a query text names a table file.
std::vector<std::string> tableFilesNamedIn(std::string_view text) {
    std::vector<std::string> names;
    for (std::size_t dot = 0; dot + 2 < text.size(); ++dot) {
        if (text[dot] != '.' || std::tolower(static_cast<unsigned char>(text[dot + 1])) != 'd' ||
            std::tolower(static_cast<unsigned char>(text[dot + 2])) != 'b') {
            continue;
        }
        if (dot + 3 < text.size() && identifierByte(text[dot + 3])) {
            continue;
        }
        std::size_t start = dot;
        while (start > 0 && identifierByte(text[start - 1])) {
            --start;
        }
        if (start == dot) {
            continue;
        }
        std::string name(text.substr(start, dot + 3 - start));
        const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& known) {
            return sameNameAnyCase(known, name);
        });
        if (!seen) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

}  // namespace

void Query::setSql(std::vector<std::string> lines) {
    lines_ = std::move(lines);
}

void Query::setParamAsString(std::string value) {
    parameter_ = std::move(value);
    parameterSet_ = true;
}

std::string Query::text() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += (i == 0 ? "" : "\n") + lines_[i];
    }
    return text;
}

std::string Query::configuredFileNames() const {
    return joined(tableFilesNamedIn(text()));
}

std::unique_ptr<RowCursor> Query::makeCursor() {
    std::string sql = text();
    std::vector<std::string> tableNames = tableFilesNamedIn(sql);
    std::vector<std::string> parameters;
    if (parameterSet_) {
        parameters.push_back(parameter_);
    }
    return std::make_unique<QueryCursor>(database(), joined(tableNames), std::move(sql),
                                         std::move(tableNames), std::move(parameters),
                                         blobMemoryLimit_);
}

}  // namespace qir::store
