// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/row_cursor.h"

#include <algorithm>
#include <cctype>

#include "store/sqlite.h"

namespace qir::store {

bool sameNameAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void RowCursor::fail(std::string_view action, std::string_view cause) const {
    sql::fail(action, fileNames_, cause);
}

void RowCursor::failWithCode(std::string_view action, int code) const {
    sql::failWithCode(action, fileNames_, code, database_.connection().get());
}

}  // namespace qir::store
