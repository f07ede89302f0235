// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data sets behind the character store, for its white-box tests only.
#ifndef QIR_STORE_INTERNALS
#error "store/character_store_access.h is private to store/"
#endif

#include "store/character_store.h"
#include "store/dataset.h"

namespace qir::store {

struct CharacterStore::DataSets {
    explicit DataSets(Session& session);
    Database database1;   // alias "mirdox"
    Query query2;         // the animation table, by trimmed Filename LIKE :hanzi
    Query querybs;        // the stroke table, by trimmed Filename LIKE :file, in step order
    Table tablebmp;       // the stroke display table ("bishunbmp.db"), scratch data
    Table tablenextprev;  // the animation table again ("donghua.DB"), read-only, for stepping
};

struct CharacterStoreAccess {
    static CharacterStore::DataSets& dataSets(CharacterStore& store) { return *store.dataSets_; }
};

inline CharacterStore::DataSets& dataSetsOf(CharacterStore& store) {
    return CharacterStoreAccess::dataSets(store);
}

}  // namespace qir::store
