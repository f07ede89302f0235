#pragma once
// The engine's session and database connection: the passwords that open the table files, and
// the folder that holds them.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qir::store {

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
        std::string path;           // "PATH="
        std::string defaultDriver;  // "DEFAULT DRIVER=PARADOX"
        bool enableBcd = false;     // "ENABLE BCD=FALSE"
    };

    Database(Session& session, std::string name, std::string driver, Params params);

    // Loads the engine. Throws EngineError when it cannot be used.
    void connect();
    bool connected() const { return connected_; }

    Session& session() const { return session_; }
    const std::string& databaseName() const { return name_; }
    // The folder that table names resolve against.
    std::filesystem::path directory() const;
    // The table file for `tableName`, matched without regard to case ("donghua.DB" finds
    // "donghua.db"); the name as given when no file matches.
    std::filesystem::path resolveTableFile(const std::string& tableName) const;

  private:
    Session& session_;
    std::string name_;
    std::string driver_;
    Params params_;
    bool connected_ = false;
};

}  // namespace qir::store
