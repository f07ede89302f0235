// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sqlite.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "store/engine_error.h"

namespace qir::store::sql {

std::string describeFailure(int code) {
    switch (code & 0xff) {
        case SQLITE_FULL:
            return "the disk is full";
        case SQLITE_READONLY:
            return "the table is read-only";
        case SQLITE_NOTADB:
            return "the file is not a table file, or the password is wrong";
        case SQLITE_CORRUPT:
            return "the file is damaged";
        case SQLITE_CANTOPEN:
            return "the file cannot be opened";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "access is denied";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "the table is in use";
        case SQLITE_IOERR:
            return "the file cannot be read or written";
        case SQLITE_CONSTRAINT:
            return "a row with that key already exists";
        case SQLITE_NOMEM:
            return "out of memory";
        case SQLITE_TOOBIG:
            return "the value is too large";
        default:
            return sqlite3_errstr(code);
    }
}

namespace {
std::string failureMessage(std::string_view action, std::string_view tableFile,
                           std::string_view cause) {
    std::string message(action);
    message += " ";
    message += tableFile;
    message += ": ";
    message += cause;
    return message;
}
}  // namespace

void fail(std::string_view action, std::string_view tableFile, std::string_view cause) {
    throw EngineError(failureMessage(action, tableFile, cause));
}

void failDamaged(std::string_view action, std::string_view tableFile, std::string_view cause) {
    throw DamagedTableError(failureMessage(action, tableFile, cause));
}

void failWithCode(std::string_view action, std::string_view tableFile, int code, sqlite3* handle) {
    std::string cause = describeFailure(code);
    // Errors the engine explains better than a code (a missing column, a syntax slip).
    if ((code & 0xff) == SQLITE_ERROR && handle != nullptr) {
        cause = sqlite3_errmsg(handle);
    }
    // A failed write says why only through the system's error number.
    if ((code & 0xff) == SQLITE_IOERR && handle != nullptr) {
        const int error = sqlite3_system_errno(handle);
        if (error == ENOSPC || error == EDQUOT) {
            cause = describeFailure(SQLITE_FULL);
        } else if (error == EFBIG) {
            cause = "the file has grown past its size limit";
        } else if (error == EACCES || error == EPERM || error == EROFS) {
            cause = "access is denied";
        } else if (error != 0) {
            cause += std::string(" (") + std::strerror(error) + ")";
        }
    }
    if ((code & 0xff) == SQLITE_CORRUPT) {
        failDamaged(action, tableFile, cause);
    }
    fail(action, tableFile, cause);
}

Connection::Connection(const std::string& file, int flags, std::string_view tableFile) {
    const std::string name = file.empty() ? ":memory:" : file;
    const int code = sqlite3_open_v2(name.c_str(), &handle_, flags, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_close_v2(handle_);
        handle_ = nullptr;
        failWithCode("Cannot open table", tableFile, code, nullptr);
    }
    sqlite3_extended_result_codes(handle_, 0);
}

Connection::~Connection() {
    sqlite3_close_v2(handle_);
}

int Connection::tryExec(const std::string& sql) {
    return sqlite3_exec(handle_, sql.c_str(), nullptr, nullptr, nullptr);
}

Statement Connection::tryPrepare(std::string_view sql, int& code) {
    sqlite3_stmt* raw = nullptr;
    code = sqlite3_prepare_v2(handle_, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    Statement statement(raw);
    if (code != SQLITE_OK) {
        statement.reset();
    }
    return statement;
}

int bindText(sqlite3_stmt* statement, int index, std::string_view text) {
    return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_TRANSIENT,
                               SQLITE_UTF8);
}

int bindBlob(sqlite3_stmt* statement, int index, const void* data, std::size_t size) {
    // A zero-length blob must still be a blob, not NULL.
    static const unsigned char kEmpty = 0;
    return sqlite3_bind_blob64(statement, index, size == 0 ? &kEmpty : data, size,
                               SQLITE_TRANSIENT);
}

std::string columnBytes(sqlite3_stmt* statement, int column) {
    const int type = sqlite3_column_type(statement, column);
    if (type == SQLITE_NULL) {
        return {};
    }
    const void* data = type == SQLITE_BLOB ? sqlite3_column_blob(statement, column)
                                           : sqlite3_column_text(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    if (data == nullptr || size <= 0) {
        return {};
    }
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

namespace {
std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}
}  // namespace

int declaredWidth(std::string_view declaredType) {
    const std::string type = upper(declaredType);
    if (type.find("CHAR") == std::string::npos && type.find("TEXT") == std::string::npos) {
        return 0;
    }
    const auto open = type.find('(');
    if (open == std::string::npos) {
        return 0;
    }
    int width = 0;
    const char* first = type.data() + open + 1;
    const char* last = type.data() + type.size();
    while (first < last && *first == ' ') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, width);
    if (error != std::errc() || width < 0) {
        return 0;
    }
    return width;
}

bool declaredBlob(std::string_view declaredType) {
    return upper(declaredType).find("BLOB") != std::string::npos;
}

std::string quoted(std::string_view identifier) {
    std::string result = "\"";
    for (char c : identifier) {
        result += c;
        if (c == '"') {
            result += '"';
        }
    }
    result += '"';
    return result;
}

}  // namespace qir::store::sql
