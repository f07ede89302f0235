// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's session and database connection: the passwords that open the table files, and
// the folder that holds them.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qir::store {

namespace sql {
class Connection;
}
struct TableLayout;

class Session {
  public:
    // Asked when none of the session's passwords opens `tableFile`; returns the password the
    // user gives, or nothing when the user gives none.
    using PasswordPrompt = std::function<std::optional<std::string>(const std::string& tableFile)>;

    void addPassword(std::string password);
    const std::vector<std::string>& passwords() const { return passwords_; }

    void setPasswordPrompt(PasswordPrompt prompt) { prompt_ = std::move(prompt); }
    const PasswordPrompt& passwordPrompt() const { return prompt_; }

  private:
    std::vector<std::string> passwords_;
    PasswordPrompt prompt_;
};

// A connection to the folder of table files under an alias ("mirdox"). An empty path means
// the current working directory, resolved at each open.
class Database {
  public:
    struct Params {
        std::string path;  // "PATH="
        // Reads "NAME=value" lines; names in any case, unknown names ignored.
        static Params parse(const std::vector<std::string>& lines);
    };

    Database(Session& session, std::string name, Params params);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Loads the engine. Throws EngineError when it cannot be used. Data sets connect on
    // their first open when nobody did before.
    void connect();
    const Params& params() const { return params_; }

    Session& session() const { return session_; }
    // The folder that table names resolve against.
    std::filesystem::path directory() const;
    // The table file for `tableName`, matched without regard to case ("donghua.DB" finds
    // "donghua.db"); the name as given when no file matches.
    std::filesystem::path resolveTableFile(const std::string& tableName) const;

    // How a data set uses a table file. Scratch files are written without waiting for the
    // disk, as their rows are rebuilt whenever they are needed.
    enum class Access { ReadOnly, ReadWrite, Scratch };
    struct Attachment {
        std::string schema;    // the name queries use: the file's stem ("donghua")
        std::string fileName;  // the file as it lies in the folder ("donghua.db")
    };
    // Makes the table file reachable under its stem, trying the session's passwords and then
    // the session's prompt. Re-used while the file stays the same. Throws EngineError.
    Attachment attach(const std::string& tableName, Access access);
    sql::Connection& connection();

    // The most decrypted pages the engine keeps of `tableName` (by default 8 MiB): enough for
    // the pages its lookups scan, so that they are not decrypted again, and no more, so that
    // the rows read on the way do not pile up.
    void setCacheLimit(const std::string& tableName, int kibibytes);

    // Starts deriving the keys of the encrypted files among `tableNames` for the session's
    // passwords in the background, so that their first attach does not wait for it.
    void deriveKeysAhead(const std::vector<std::string>& tableNames) const;

    // The engine's quick check of an attached table file finds it damaged.
    bool foundDamaged(const std::string& schema);
    // Replaces the table file for `tableName` by a new, empty one with `layout`, keyed with
    // the session's first password. Throws EngineError.
    void recreateTable(const std::string& tableName, const TableLayout& layout);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Session& session_;
    std::string name_;
    Params params_;
    bool connected_ = false;
    std::map<std::string, int> cacheLimits_;  // KiB by schema
};

}  // namespace qir::store
