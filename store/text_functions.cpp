// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_functions.h"

#include "store/sqlite.h"

namespace qir::store {

bool likeMatches(std::string_view pattern, std::string_view text) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0;
    std::size_t t = 0;
    // Where the last "%" was seen, and the text position it now stands for; on a mismatch the
    // "%" swallows one more character and matching resumes after it.
    std::size_t starPattern = kNone;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            if (pattern[p] == '%') {
                starPattern = ++p;
                starText = t;
                continue;
            }
            const std::size_t textLength = characterLength(text, t);
            if (pattern[p] == '_') {
                ++p;
                t += textLength;
                continue;
            }
            const std::size_t patternLength = characterLength(pattern, p);
            if (patternLength == textLength &&
                pattern.substr(p, patternLength) == text.substr(t, textLength)) {
                p += patternLength;
                t += textLength;
                continue;
            }
        }
        if (starPattern == kNone) {
            return false;
        }
        starText += characterLength(text, starText);
        t = starText;
        p = starPattern;
    }
    while (p < pattern.size() && pattern[p] == '%') {
        ++p;
    }
    return p == pattern.size();
}

namespace {

std::string_view valueBytes(sqlite3_value* value, int type) {
    const void* data = type == SQLITE_BLOB ? sqlite3_value_blob(value) : sqlite3_value_text(value);
    const int size = sqlite3_value_bytes(value);
    if (data == nullptr || size <= 0) {
        return {};
    }
    return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

void trimFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    const int type = sqlite3_value_type(arguments[0]);
    if (type == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const std::string_view result = trimmed(valueBytes(arguments[0], type));
    // An empty text is still a text, not NULL: it needs a pointer.
    sqlite3_result_text64(context, result.empty() ? "" : result.data(), result.size(),
                          SQLITE_TRANSIENT, SQLITE_UTF8);
}

// `text LIKE pattern` reaches here as like(pattern, text).
void likeFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    const int patternType = sqlite3_value_type(arguments[0]);
    const int textType = sqlite3_value_type(arguments[1]);
    if (patternType == SQLITE_NULL || textType == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const std::string_view pattern = valueBytes(arguments[0], patternType);
    const std::string_view text = valueBytes(arguments[1], textType);
    sqlite3_result_int(context, likeMatches(pattern, text) ? 1 : 0);
}

void likeWithEscapeFunction(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_error(context, "LIKE has no escape character here", -1);
}

}  // namespace

int registerTextFunctions(sqlite3* connection) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int code = sqlite3_create_function(connection, "trim", 1, flags, nullptr, trimFunction, nullptr,
                                       nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_create_function(connection, "like", 2, flags, nullptr, likeFunction, nullptr,
                                       nullptr);
    }
    if (code == SQLITE_OK) {
        code = sqlite3_create_function(connection, "like", 3, flags, nullptr,
                                       likeWithEscapeFunction, nullptr, nullptr);
    }
    return code;
}

}  // namespace qir::store
