// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character store as the program asks it: whether it holds a character, a character's
// clip and step pictures, the character before and after one, and the stroke display table
// the grid is bound to. The data sets behind these calls, with their table names and query
// texts, stay inside the store.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_io.h"
#include "store/session.h"

namespace qir::store {

class Table;

// The pattern that finds a character's rows by LIKE: the trimmed key between two "%" signs.
// The key goes in unescaped, so an empty key matches every row.
std::string rowsOfPattern(const std::string& hanzi);

// Everything is closed after construction; each data set opens at its first use. The
// database connects on the first open unless connect() was called before.
class CharacterStore {
  public:
    CharacterStore();
    ~CharacterStore();
    CharacterStore(const CharacterStore&) = delete;
    CharacterStore& operator=(const CharacterStore&) = delete;

    // Loads the engine (Database1 connecting); throws EngineError when it cannot be used.
    void connect();
    // The session's password and the prompt asked for a table file that none opens.
    void addPassword(std::string password);
    // Derives, on threads of their own, the keys of the tables every character needs with the
    // passwords added so far; a table opened sooner derives its key itself. The window calls it
    // once it is painted, so that the derivations do not hold up its start.
    void deriveKeysAhead();
    void setPasswordPrompt(Session::PasswordPrompt prompt);
    // The folder the table files lie in.
    std::filesystem::path folder() const;

    // Reads, one piece at a time, the pages the lookups of every character scan (the
    // animation table's rows, the stroke table's key index), so that the first character shown
    // does not wait for their decryption. Meant for idle time after the start: it asks for no
    // password and reports nothing (a table that does not open is left for the first
    // character to report), and touches no data set. False once nothing is left to read.
    bool readAheadStep();

    // Query2 with the exact key: whether the animation table holds `hanzi`.
    bool holds(const std::string& hanzi);
    // Query2 with rowsOfPattern(hanzi): the first row's clip as its Photo reports its size
    // and as read (a short read gives fewer bytes), both empty when there is no row or its
    // Photo is empty. Query2 stays open on that lookup.
    struct Clip {
        std::size_t size = 0;
        Bytes bytes;
    };
    Clip clipOf(const std::string& hanzi);

    // Stepping through the animation table in its own order (Tablenextprev): the key of the
    // row before / after `hanzi`'s, or `hanzi` itself at the start / end.
    std::string priorCharacter(const std::string& hanzi);
    std::string nextCharacter(const std::string& hanzi);

    // Querybs with rowsOfPattern(hanzi): each step's name and JPEG in step order, until the
    // first empty picture. True when it went through to the last step; false when an empty
    // picture stopped it, or for a key that is no character ("%", "_", a blank), which would
    // match every character's steps and so finds none. An error of `visit` leaves the query
    // on its step.
    using StepVisitor = std::function<void(const std::string& name, const Bytes& picture)>;
    bool forEachStep(const std::string& hanzi, const StepVisitor& visit);

    // The stroke display table ("bishunbmp.db"): scratch rows the grid is bound to.
    Table& strokeDisplayTable();

    // The data sets behind these calls; defined in a header private to store/.
    struct DataSets;

  private:
    friend struct CharacterStoreAccess;  // white-box tests
    Session session_;
    std::unique_ptr<DataSets> dataSets_;
    // How far the read-ahead went: the animation table's last rowid read (-1: all of it), and
    // whether the stroke table's index was read.
    std::int64_t readAheadRow_ = 0;
    bool strokeIndexRead_ = false;
};

}  // namespace qir::store
