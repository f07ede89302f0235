// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character store as the application holds it: the database connection and the four data
// sets, with their table names and query texts.

#include <string>
#include <vector>

#include "store/dataset.h"
#include "store/session.h"

namespace qir::store {

// Everything is closed after construction; each data set opens at its first use. The
// database connects on the first open unless `database1.connect()` was called before.
struct CharacterStore {
    CharacterStore();

    Session session;
    Database database1;   // alias "mirdox"
    Query query2;         // the animation table, by trimmed Filename LIKE :hanzi
    Query querybs;        // the stroke table, by trimmed Filename LIKE :file, in step order
    Table tablebmp;       // the stroke display table ("bishunbmp.db"), scratch data
    Table tablenextprev;  // the animation table again ("donghua.DB"), read-only, for stepping
};

}  // namespace qir::store
