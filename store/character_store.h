#pragma once
// The character store as the main window holds it: the database connection and the four data
// sets, with their table names and query texts.

#include "store/dataset.h"
#include "store/session.h"

namespace qir::store {

struct CharacterStore {
    CharacterStore();

    Session session;
    Database database1;
    Query query2;         // the animation table, by trimmed Filename LIKE :hanzi
    Query querybs;        // the stroke table, by trimmed Filename LIKE :file, in step order
    Table tablebmp;       // the stroke display table
    Table tablenextprev;  // the animation table again, for stepping
};

}  // namespace qir::store
