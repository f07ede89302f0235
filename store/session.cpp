// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/session.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <system_error>

#include "store/engine_error.h"
#include "store/key_derivation.h"
#include "store/sqlite.h"
#include "store/table_file.h"
#include "store/text_functions.h"

namespace qir::store {

void Session::addPassword(std::string password) {
    if (std::find(passwords_.begin(), passwords_.end(), password) == passwords_.end()) {
        passwords_.push_back(std::move(password));
    }
}

namespace {

std::string lowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

// A file URI for the engine, so that the access mode can travel with the name.
std::string fileUri(const std::filesystem::path& path, bool writable) {
    static const char* kHex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path.string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0x0f];
        }
    }
    uri += writable ? "?mode=rw" : "?mode=ro";
    return uri;
}

// A name without an extension means the ".db" table file of that name.
std::filesystem::path withDefaultExtension(const std::string& tableName) {
    std::filesystem::path given(tableName);
    if (!given.has_extension()) {
        given += ".db";
    }
    return given;
}

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

enum class KeyResult { Opened, WrongKey };

}  // namespace

struct Database::Impl {
    struct Attached {
        std::filesystem::path path;
        FileIdentity identity;
        Access access;
        bool writable;
        std::string fileName;
    };
    std::unique_ptr<sql::Connection> connection;
    std::map<std::string, Attached> attached;  // by schema

    // False when the engine still uses the file.
    bool detach(const std::string& schema) {
        int code = SQLITE_OK;
        sql::Statement statement = connection->tryPrepare("DETACH DATABASE ?1", code);
        if (statement) {
            sql::bindText(statement.get(), 1, schema);
            code = sqlite3_step(statement.get());
        }
        if (code != SQLITE_DONE) {
            return false;
        }
        attached.erase(schema);
        return true;
    }

    // Attaches with one key, at each page size table files are written with in turn (an
    // encrypted file does not tell its own), and checks that the key opens the file.
    KeyResult tryKey(const std::string& schema, const std::filesystem::path& path, bool writable,
                     const std::string& key, const std::string& fileName,
                     std::optional<int> firstPageSize = std::nullopt) {
        // The engine takes an attached file's page size from a process-wide default, which is
        // left as the engine's own on every way out.
        struct DefaultPageSize {
            sql::Connection& connection;
            void set(int size) {
                connection.tryExec("PRAGMA cipher_default_page_size = " + std::to_string(size));
            }
            ~DefaultPageSize() { set(kTablePageSizes[0]); }
        } defaultPageSize{*connection};
        std::vector<int> pageSizes;
        if (firstPageSize) {
            pageSizes.push_back(*firstPageSize);
        }
        for (const int pageSize : kTablePageSizes) {
            if (pageSize != firstPageSize) {
                pageSizes.push_back(pageSize);
            }
        }
        for (const int pageSize : pageSizes) {
            defaultPageSize.set(pageSize);
            if (tryKeyAtPageSize(schema, path, writable, key, fileName) == KeyResult::Opened) {
                lastPageSize = pageSize;
                return KeyResult::Opened;
            }
        }
        return KeyResult::WrongKey;
    }

    // Opens an encrypted file with `password`: with the key derived before for the file's salt
    // and the page size it opened with before, and only should that fail, with the password
    // itself, as the engine derives it.
    KeyResult tryPassword(const std::string& schema, const std::filesystem::path& path,
                          bool writable, const std::string& password, const std::string& fileName,
                          const std::string& salt) {
        const std::optional<int> known = knownPageSize(salt);
        if (tryKey(schema, path, writable, rawKey(salt, password), fileName, known) ==
                KeyResult::Opened ||
            tryKey(schema, path, writable, password, fileName, known) == KeyResult::Opened) {
            rememberPageSize(salt, lastPageSize);
            return KeyResult::Opened;
        }
        return KeyResult::WrongKey;
    }

    int lastPageSize = kTablePageSizes[0];

    KeyResult tryKeyAtPageSize(const std::string& schema, const std::filesystem::path& path,
                               bool writable, const std::string& key, const std::string& fileName) {
        int code = SQLITE_OK;
        sql::Statement attach = connection->tryPrepare("ATTACH DATABASE ?1 AS ?2 KEY ?3", code);
        if (!attach) {
            sql::failWithCode("Cannot open table", fileName, code, connection->get());
        }
        sql::bindText(attach.get(), 1, fileUri(path, writable));
        sql::bindText(attach.get(), 2, schema);
        sql::bindText(attach.get(), 3, key);
        code = sqlite3_step(attach.get());
        attach.reset();
        if (code != SQLITE_DONE) {
            code = sqlite3_errcode(connection->get());
            if (code == SQLITE_NOTADB) {
                return KeyResult::WrongKey;
            }
            sql::failWithCode("Cannot open table", fileName, code, connection->get());
        }
        // Attaching may put off reading the first page, where a wrong key shows.
        sql::Statement probe =
            connection->tryPrepare("SELECT count(*) FROM " + sql::quoted(schema) +
                                       ".sqlite_master WHERE type = 'table' AND lower(name) = 'db'",
                                   code);
        int found = 0;
        if (probe) {
            code = sqlite3_step(probe.get());
            if (code == SQLITE_ROW) {
                found = sqlite3_column_int(probe.get(), 0);
                code = SQLITE_OK;
            } else {
                code = sqlite3_errcode(connection->get());
            }
        }
        probe.reset();
        if (code == SQLITE_NOTADB) {
            detach(schema);
            return KeyResult::WrongKey;
        }
        if (code != SQLITE_OK) {
            detach(schema);
            sql::failWithCode("Cannot open table", fileName, code, connection->get());
        }
        if (found == 0) {
            detach(schema);
            sql::failDamaged("Cannot open table", fileName, "the file is not a table file");
        }
        return KeyResult::Opened;
    }
};

Database::Database(Session& session, std::string name, Params params)
    : impl_(std::make_unique<Impl>()),
      session_(session),
      name_(std::move(name)),
      params_(std::move(params)) {}

Database::~Database() = default;

void Database::connect() {
    if (connected_) {
        return;
    }
    auto connection = std::make_unique<sql::Connection>(
        ":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, name_);
    int code = SQLITE_OK;
    sql::Statement version = connection->tryPrepare("PRAGMA cipher_version", code);
    if (!version || sqlite3_step(version.get()) != SQLITE_ROW) {
        throw EngineError("Cannot connect database " + name_ +
                          ": the table engine cannot read encrypted tables");
    }
    version.reset();
    code = registerTextFunctions(connection->get());
    if (code == SQLITE_OK) {
        code = connection->tryExec("PRAGMA temp_store = MEMORY");
    }
    if (code != SQLITE_OK) {
        throw EngineError("Cannot connect database " + name_ + ": " + sql::describeFailure(code));
    }
    impl_->connection = std::move(connection);
    connected_ = true;
}

std::filesystem::path Database::directory() const {
    if (params_.path.empty()) {
        return std::filesystem::current_path();
    }
    return std::filesystem::absolute(params_.path);
}

std::filesystem::path Database::resolveTableFile(const std::string& tableName) const {
    const std::filesystem::path folder = directory();
    const std::filesystem::path exact = folder / tableName;
    std::error_code error;
    if (std::filesystem::exists(exact, error)) {
        return exact;
    }
    const std::string wanted = lowerAscii(tableName);
    std::vector<std::filesystem::path> matches;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (lowerAscii(entry.path().filename().string()) == wanted) {
            matches.push_back(entry.path());
        }
    }
    if (matches.empty()) {
        return exact;
    }
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

sql::Connection& Database::connection() {
    connect();
    return *impl_->connection;
}

Database::Attachment Database::attach(const std::string& tableName, Access access) {
    connect();
    const std::filesystem::path given = withDefaultExtension(tableName);
    const std::string schema = lowerAscii(given.stem().string());
    const std::filesystem::path path = resolveTableFile(given.string());
    const std::string fileName = path.filename().string();
    if (schema.empty() || schema == "main" || schema == "temp" || given.has_parent_path()) {
        sql::fail("Cannot open table", given.string(), "the name is not a table name");
    }

    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (impl_->attached.count(schema) != 0) {
            impl_->detach(schema);
        }
        sql::fail("Cannot open table", fileName, "the file does not exist");
    }
    if (!S_ISREG(status.st_mode)) {
        sql::fail("Cannot open table", fileName, "the file is not a table file");
    }
    const FileIdentity identity{status.st_dev, status.st_ino};
    // A file without write permission is read-only for everybody, as a read-only attribute
    // would be; it opens for reading and every write is refused.
    const bool markedReadOnly = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    const bool writable = access != Access::ReadOnly && !markedReadOnly;

    if (auto found = impl_->attached.find(schema); found != impl_->attached.end()) {
        const Impl::Attached& current = found->second;
        const bool enough = !writable || current.writable;
        if (current.path == path && current.identity == identity && enough) {
            return {schema, current.fileName};
        }
        if (!impl_->detach(schema)) {
            sql::fail("Cannot open table", fileName, "the table is in use");
        }
    }

    // The engine's pages are at least 512 bytes; anything else cannot be a table file, and
    // asking the user for its password would only mislead.
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size != 0 && (size < 512 || size % 512 != 0)) {
        sql::failDamaged("Cannot open table", fileName, "the file is not a table file");
    }
    std::string header(16, '\0');
    {
        std::ifstream in(path, std::ios::binary);
        in.read(header.data(), static_cast<std::streamsize>(header.size()));
    }
    const bool plain = size == 0 || header == std::string("SQLite format 3\0", 16);

    bool opened = false;
    if (plain) {
        opened = impl_->tryKey(schema, path, writable, "", fileName) == KeyResult::Opened;
    } else {
        for (const std::string& password : session_.passwords()) {
            if (impl_->tryPassword(schema, path, writable, password, fileName, header) ==
                KeyResult::Opened) {
                opened = true;
                break;
            }
        }
        if (!opened && session_.passwordPrompt()) {
            while (std::optional<std::string> offered = session_.passwordPrompt()(fileName)) {
                if (impl_->tryPassword(schema, path, writable, *offered, fileName, header) ==
                    KeyResult::Opened) {
                    session_.addPassword(*offered);
                    opened = true;
                    break;
                }
            }
        }
    }
    if (!opened) {
        sql::failDamaged("Cannot open table", fileName,
                         plain
                             ? "the file is not a table file"
                             : "no password given opens it (wrong password, or not a table file)");
    }

    const std::string prefix = "PRAGMA " + sql::quoted(schema) + ".";
    // A cache as large as a whole table grew by the rows of every character shown, to tens of
    // megabytes.
    const auto limit = cacheLimits_.find(schema);
    impl_->connection->tryExec(prefix + "cache_size = -" +
                               std::to_string(limit != cacheLimits_.end() ? limit->second : 8192));
    if (access == Access::Scratch) {
        // Scratch rows may be lost to a power cut, so nothing waits for the disk; but every
        // change goes through a journal on disk, so a process killed in the middle of one
        // leaves the file as it was before that change.
        impl_->connection->tryExec(prefix + "synchronous = OFF");
        impl_->connection->tryExec(prefix + "journal_mode = DELETE");
        // Overwriting freed pages would encrypt every page of every row emptied.
        impl_->connection->tryExec(prefix + "secure_delete = OFF");
        // One program owns its scratch table: holding the lock keeps the page cache valid
        // from one row to the next.
        impl_->connection->tryExec(prefix + "locking_mode = EXCLUSIVE");
    }
    impl_->attached[schema] = Impl::Attached{path, identity, access, writable, fileName};
    return {schema, fileName};
}

void Database::setCacheLimit(const std::string& tableName, int kibibytes) {
    cacheLimits_[lowerAscii(withDefaultExtension(tableName).stem().string())] = kibibytes;
}

void Database::deriveKeysAhead(const std::vector<std::string>& tableNames) const {
    for (const std::string& tableName : tableNames) {
        const std::filesystem::path path =
            resolveTableFile(withDefaultExtension(tableName).string());
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            continue;
        }
        const std::optional<std::string> salt = readSalt(path);
        if (!salt || *salt == std::string("SQLite format 3\0", kSaltBytes)) {
            continue;
        }
        for (const std::string& password : session_.passwords()) {
            deriveKeyAhead(path, password);
        }
    }
}

bool Database::foundDamaged(const std::string& schema) {
    int code = SQLITE_OK;
    sql::Statement check =
        connection().tryPrepare("PRAGMA " + sql::quoted(schema) + ".quick_check(1)", code);
    if (check) {
        code = sqlite3_step(check.get());
        if (code == SQLITE_ROW) {
            return sql::columnBytes(check.get(), 0) != "ok";
        }
        code = sqlite3_errcode(connection().get());
    }
    // A page that cannot be decrypted fails the check with a plain error; a table in use or
    // a full disk is no damage.
    const int primary = code & 0xff;
    return primary == SQLITE_ERROR || primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

void Database::recreateTable(const std::string& tableName, const TableLayout& layout) {
    connect();
    const std::filesystem::path given = withDefaultExtension(tableName);
    const std::filesystem::path path = resolveTableFile(given.string());
    const std::string fileName = path.filename().string();
    const std::string schema = lowerAscii(given.stem().string());
    if (impl_->attached.count(schema) != 0 && !impl_->detach(schema)) {
        sql::fail("Cannot create table", fileName, "the table is in use");
    }
    // A journal beside the old file belongs to its content, not to the new file's.
    std::filesystem::path journal = path;
    journal += "-journal";
    std::error_code ignored;
    std::filesystem::remove(journal, ignored);
    const std::string password = session_.passwords().empty() ? "" : session_.passwords().front();
    // Written aside and renamed over the old file: at every moment one whole file is there.
    TableFileWriter writer(path, layout, password);
    writer.commit();
}

Database::Params Database::Params::parse(const std::vector<std::string>& lines) {
    Params params;
    for (const std::string& line : lines) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string name = lowerAscii(line.substr(0, equals));
        const std::string value = line.substr(equals + 1);
        if (name == "path") {
            params.path = value;
        }
    }
    return params;
}

}  // namespace qir::store
