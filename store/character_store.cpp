// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/character_store.h"

#include "platform/errors.h"
#include "platform/gb2312.h"
#include "store/character_store_access.h"
#include "store/navigation.h"
#include "store/sqlite.h"
#include "store/table_file.h"

namespace qir::store {

std::string rowsOfPattern(const std::string& hanzi) {
    std::string pattern = "%";
    pattern += gb2312::trimmed(hanzi);
    pattern += '%';
    return pattern;
}

CharacterStore::DataSets::DataSets(Session& session)
    // The tables lie in the working directory.
    : database1(session, "mirdox", Database::Params::parse({"PATH=", "ENABLE BCD=FALSE"})),
      query2(database1),
      querybs(database1),
      tablebmp(database1),
      tablenextprev(database1) {
    query2.setSql({"select  *  from  donghua.db", "where  trim(filename) like :hanzi"});
    // Only the first row's clip is ever played. A key that matches many rows (a "%" in it
    // matches every clip) would otherwise keep tens of megabytes of clips nobody plays for as
    // long as the query stays open; the first clip is fetched again should it not fit. 1 MB is
    // larger than any clip of the store (they are tens of kilobytes).
    query2.setBlobMemoryLimit(1 << 20);
    querybs.setSql({"select distinct * from bishun.db", "where trim(filename) like :file",
                    "order by filename"});
    // What the lookups scan, with room for one character's own pages: the animation table's
    // leaf pages (each row keeps the start of its clip beside its key: some 5.3 MB of pages
    // in the built store) and the stroke table's key index (under 1 MB). A larger bound only
    // kept the clips and step rows of characters shown before, so memory grew with every
    // character; a bound below the leaf pages would decrypt them all again at every lookup
    // (character_memory_bench prints the reads a character costs).
    database1.setCacheLimit(kAnimationTable.fileName, 6 * 1024);
    database1.setCacheLimit(kStrokeTable.fileName, 1536);
    tablebmp.setTableName(kStrokeDisplayTable.fileName);
    tablebmp.setScratch(kStrokeDisplayTable);
    // The program never writes the animation table.
    tablenextprev.setTableName("donghua.DB");
    tablenextprev.setReadOnly(true);
}

CharacterStore::CharacterStore() : dataSets_(std::make_unique<DataSets>(session_)) {}

CharacterStore::~CharacterStore() = default;

void CharacterStore::connect() {
    dataSets_->database1.connect();
}

void CharacterStore::addPassword(std::string password) {
    session_.addPassword(std::move(password));
}

void CharacterStore::deriveKeysAhead() {
    // The tables every character needs; the scratch table may not be there yet.
    dataSets_->database1.deriveKeysAhead({"donghua.db", "bishun.db", kStrokeDisplayTable.fileName});
}

void CharacterStore::setPasswordPrompt(Session::PasswordPrompt prompt) {
    session_.setPasswordPrompt(std::move(prompt));
}

std::filesystem::path CharacterStore::folder() const {
    return dataSets_->database1.directory();
}

bool CharacterStore::readAheadStep() {
    // Rows of the animation table a piece reads: a few hundred pages, a few milliseconds, so
    // that input waits no longer than that between pieces.
    constexpr int kRowsAPiece = 200;
    // A password asked for now would come before anybody chose a character.
    Session::PasswordPrompt prompt = session_.passwordPrompt();
    session_.setPasswordPrompt({});
    bool more = false;
    try {
        Database& database = dataSets_->database1;
        int code = SQLITE_OK;
        if (readAheadRow_ >= 0) {
            const std::string schema = sql::quoted(
                database.attach(kAnimationTable.fileName, Database::Access::ReadOnly).schema);
            sql::Statement last =
                database.connection().tryPrepare("SELECT max(rowid) FROM " + schema + ".db", code);
            if (last && sqlite3_step(last.get()) == SQLITE_ROW) {
                const sqlite3_int64 lastRow = sqlite3_column_int64(last.get(), 0);
                // The rows in rowid order, the order the lookup scans them in.
                sql::Statement piece =
                    database.connection().tryPrepare("SELECT count(trim(Filename)) FROM " + schema +
                                                         ".db WHERE rowid > ?1 AND rowid <= ?2",
                                                     code);
                if (piece) {
                    sqlite3_bind_int64(piece.get(), 1, readAheadRow_);
                    sqlite3_bind_int64(piece.get(), 2, readAheadRow_ + kRowsAPiece);
                    sqlite3_step(piece.get());
                }
                readAheadRow_ += kRowsAPiece;
                if (readAheadRow_ >= lastRow) {
                    readAheadRow_ = -1;
                }
                more = true;
            }
        } else if (!strokeIndexRead_) {
            strokeIndexRead_ = true;
            const std::string schema = sql::quoted(
                database.attach(kStrokeTable.fileName, Database::Access::ReadOnly).schema);
            // Counted through the key index, which is what the step lookup scans.
            sql::Statement count =
                database.connection().tryPrepare("SELECT count(*) FROM " + schema + ".db", code);
            if (count) {
                sqlite3_step(count.get());
            }
        }
    } catch (const std::exception&) {
        // Reported when a character needs the table.
    }
    session_.setPasswordPrompt(std::move(prompt));
    return more;
}

bool CharacterStore::holds(const std::string& hanzi) {
    Query& query2 = dataSets_->query2;
    query2.close();
    query2.setParamAsString(hanzi);
    query2.open();
    return query2.recordCount() != 0;
}

CharacterStore::Clip CharacterStore::clipOf(const std::string& hanzi) {
    Query& query2 = dataSets_->query2;
    query2.close();
    query2.setParamAsString(rowsOfPattern(hanzi));
    query2.open();
    Clip clip;
    clip.size = query2.blobSize("Photo");
    if (clip.size != 0) {
        clip.bytes = query2.blob("Photo");
    }
    return clip;
}

std::string CharacterStore::priorCharacter(const std::string& hanzi) {
    return store::priorCharacter(dataSets_->tablenextprev, hanzi);
}

std::string CharacterStore::nextCharacter(const std::string& hanzi) {
    return store::nextCharacter(dataSets_->tablenextprev, hanzi);
}

bool CharacterStore::forEachStep(const std::string& hanzi, const StepVisitor& visit) {
    if (!gb2312::isHanzi(hanzi)) {
        return false;
    }
    Query& querybs = dataSets_->querybs;
    querybs.close();
    querybs.setParamAsString(rowsOfPattern(hanzi));
    querybs.open();
    querybs.first();
    while (!querybs.eof()) {
        if (querybs.blobSize("Photo") == 0) {
            return false;
        }
        visit(querybs.fieldAsString("filename"), querybs.blob("Photo"));
        querybs.next();
    }
    return true;
}

Table& CharacterStore::strokeDisplayTable() {
    return dataSets_->tablebmp;
}

}  // namespace qir::store
