// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/character_store.h"

#include "store/table_file.h"

namespace qir::store {

CharacterStore::CharacterStore()
    // The tables lie in the working directory.
    : database1(session, "mirdox", Database::Params::parse({"PATH=", "ENABLE BCD=FALSE"})),
      query2(database1),
      querybs(database1),
      tablebmp(database1),
      tablenextprev(database1) {
    query2.setSql({"select  *  from  donghua.db", "where  trim(filename) like :hanzi"});
    querybs.setSql({"select distinct * from bishun.db", "where trim(filename) like :file",
                    "order by filename"});
    tablebmp.setTableName(kStrokeDisplayTable.fileName);
    tablebmp.setScratch(kStrokeDisplayTable);
    // The program never writes the animation table.
    tablenextprev.setTableName("donghua.DB");
    tablenextprev.setReadOnly(true);
}

}  // namespace qir::store
