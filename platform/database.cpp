#include "platform/database.h"

#include <sqlite3.h>

#include <atomic>
#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "base/text.h"

namespace {

// The open databases by handle; the program uses them from its one GUI thread.
std::map<int32_t, sqlite3*>& databases() {
    static std::map<int32_t, sqlite3*> open;
    return open;
}

sqlite3* databaseOf(int32_t handle) {
    auto found = databases().find(handle);
    return found == databases().end() ? nullptr : found->second;
}

// How long a call waits for another program's lock, and the longest value SQLite will hold in
// memory, so that a hostile file cannot make it allocate without end.
constexpr int kBusyMs = 2000;
constexpr int kMaxValueBytes = 16 << 20;

DbOutcome outcomeOf(int code) {
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return DbOutcome::Ok;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return DbOutcome::Damaged;
    case SQLITE_READONLY:
    case SQLITE_PERM: return DbOutcome::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return DbOutcome::Busy;
    case SQLITE_CONSTRAINT: return DbOutcome::Constraint;
    default: return DbOutcome::Failed;
    }
}

DbAnswer failure(int code, const char* message) {
    DbAnswer answer;
    answer.outcome = outcomeOf(code) == DbOutcome::Ok ? DbOutcome::Failed : outcomeOf(code);
    answer.message = UTF8HEAD(message ? message : sqlite3_errstr(code), 1000);
    return answer;
}

DbAnswer failure(sqlite3* db, int code) { return failure(code, db ? sqlite3_errmsg(db) : nullptr); }

DbAnswer notOpen() { return failure(SQLITE_MISUSE, "the database is not open"); }

// One field of the current row: NULL as "", anything longer than maxText cut between characters.
std::string fieldOf(sqlite3_stmt* statement, int column, size_t maxText) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    if (!text) return "";
    std::string_view field(reinterpret_cast<const char*>(text),
                           static_cast<size_t>(sqlite3_column_bytes(statement, column)));
    return std::string(field.size() > maxText ? UTF8HEAD(field, maxText) : field);
}

// Runs one statement; code is SQLite's result, SQLITE_DONE when the statement ran to its end or
// stopped at maxRows.
DbAnswer run(sqlite3* db, const std::string& sql, const std::vector<std::string>& parameters, size_t maxRows,
             size_t maxText, int& code) {
    sqlite3_stmt* statement = nullptr;
    code = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &statement, nullptr);
    if (code != SQLITE_OK) return failure(db, code);
    DbAnswer answer;
    for (size_t i = 0; i < parameters.size() && code == SQLITE_OK; ++i)
        code = sqlite3_bind_text64(statement, static_cast<int>(i + 1), parameters[i].data(), parameters[i].size(),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    if (code == SQLITE_OK) {
        const int columns = sqlite3_column_count(statement);
        while ((code = sqlite3_step(statement)) == SQLITE_ROW && answer.rows.size() < maxRows) {
            std::vector<std::string>& row = answer.rows.emplace_back();
            row.reserve(static_cast<size_t>(columns));
            for (int column = 0; column < columns; ++column) row.push_back(fieldOf(statement, column, maxText));
        }
        if (code == SQLITE_ROW) code = SQLITE_DONE;
    }
    if (code != SQLITE_DONE) answer = failure(db, code);
    sqlite3_finalize(statement);
    return answer;
}

// The file's address as a URI that opens it immutable: read without locks or journal files, for
// a file in a folder where its -shm file cannot be made.
std::string immutableUri(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri + "?immutable=1";
}

int openFile(const std::string& name, int flags, sqlite3*& db) {
    int code = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyMs);
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    }
    return code;
}

// Opens the file and reads from it once, so that a file that is no database shows at once.
DbAnswer openAndRead(const std::string& path, bool readOnly, sqlite3*& db) {
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int code = openFile(path, flags, db);
    if (code != SQLITE_OK) return failure(db, code);
    if (readOnly) {
        DbAnswer answer = run(db, "SELECT count(*) FROM sqlite_schema", {}, 1, 100, code);
        if ((code & 0xff) != SQLITE_CANTOPEN) return answer;
        sqlite3_close(db);
        db = nullptr;
        code = openFile(immutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, db);
        if (code != SQLITE_OK) return failure(db, code);
        return run(db, "SELECT count(*) FROM sqlite_schema", {}, 1, 100, code);
    }
    // SQLite opens a write-protected file for reading even when asked to write.
    if (sqlite3_db_readonly(db, "main") == 1) return failure(SQLITE_READONLY, "the file may not be written");
    DbAnswer answer = run(db, "PRAGMA journal_mode=WAL", {}, 1, 100, code);
    if (answer.ok() && (answer.rows.empty() || answer.rows[0].empty() || answer.rows[0][0] != "wal"))
        return failure(SQLITE_ERROR, "the file cannot take a WAL journal");
    if (answer.ok()) answer = run(db, "PRAGMA synchronous=FULL", {}, 1, 100, code);
    return answer;
}

DbAnswer integrityOf(sqlite3* db) {
    int code = 0;
    DbAnswer answer = run(db, "PRAGMA integrity_check(1)", {}, 1, 1000, code);
    if (!answer.ok()) return answer;
    const std::string finding = answer.rows.empty() || answer.rows[0].empty() ? "" : answer.rows[0][0];
    if (finding == "ok") return answer;
    return failure(SQLITE_CORRUPT, finding.empty() ? "the integrity check found a fault" : finding.c_str());
}

// A whole-file check on its thread: the connection it reads through, while it reads, so that a
// stop can interrupt it, and its answer once done.
struct Check {
    std::thread thread;
    std::mutex mutex;
    sqlite3* db = nullptr;
    bool stopped = false;
    std::atomic<bool> done{false};
    DbAnswer answer;

    void runOn(const std::string& path) {
        sqlite3* own = nullptr;
        DbAnswer found = openAndRead(path, true, own);
        {
            std::lock_guard lock(mutex);
            db = stopped ? nullptr : own;
        }
        if (found.ok() && db) found = integrityOf(own);
        {
            std::lock_guard lock(mutex);
            db = nullptr;
        }
        sqlite3_close(own);
        answer = std::move(found);
        done = true;
    }
};

std::map<int32_t, std::unique_ptr<Check>>& checks() {
    static std::map<int32_t, std::unique_ptr<Check>> running;
    return running;
}

// Takes the check out of the list once its thread has ended.
std::unique_ptr<Check> endCheck(int32_t check, bool stop) {
    auto found = checks().find(check);
    if (found == checks().end()) return nullptr;
    std::unique_ptr<Check> ended = std::move(found->second);
    checks().erase(found);
    if (stop) {
        std::lock_guard lock(ended->mutex);
        ended->stopped = true;
        if (ended->db) sqlite3_interrupt(ended->db);
    }
    ended->thread.join();
    return ended;
}

}  // namespace

DbAnswer DB_OPEN(const std::string& path, bool readOnly, int32_t& handle) {
    handle = 0;
    sqlite3* db = nullptr;
    DbAnswer answer = openAndRead(path, readOnly, db);
    if (!answer.ok()) {
        sqlite3_close(db);
        return answer;
    }
    static int32_t last = 0;
    handle = ++last;
    databases()[handle] = db;
    return answer;
}

void DB_CLOSE(int32_t handle) {
    sqlite3* db = databaseOf(handle);
    if (!db) return;
    databases().erase(handle);
    sqlite3_close(db);
}

DbAnswer DB_RUN(int32_t handle, const std::string& sql, const std::vector<std::string>& parameters, size_t maxRows,
                size_t maxText) {
    sqlite3* db = databaseOf(handle);
    if (!db) return notOpen();
    int code = 0;
    return run(db, sql, parameters, maxRows, maxText, code);
}

DbAnswer DB_SCRIPT(int32_t handle, const std::string& sql) {
    sqlite3* db = databaseOf(handle);
    if (!db) return notOpen();
    char* message = nullptr;
    const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    DbAnswer answer = code == SQLITE_OK ? DbAnswer{} : failure(code, message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return answer;
}

DbAnswer DB_BEGIN(int32_t handle) { return DB_SCRIPT(handle, "BEGIN IMMEDIATE"); }

DbAnswer DB_COMMIT(int32_t handle) { return DB_SCRIPT(handle, "COMMIT"); }

void DB_ROLLBACK(int32_t handle) {
    sqlite3* db = databaseOf(handle);
    if (db && !sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
}

DbAnswer DB_USERVERSION(int32_t handle, int64_t& version) {
    version = 0;
    DbAnswer answer = DB_RUN(handle, "PRAGMA user_version", {}, 1, 100);
    if (!answer.ok()) return answer;
    const std::string text = answer.rows.empty() || answer.rows[0].empty() ? "" : answer.rows[0][0];
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
    if (error != std::errc() || end != text.data() + text.size())
        return failure(SQLITE_ERROR, "the file's schema version cannot be read");
    return answer;
}

DbAnswer DB_SETUSERVERSION(int32_t handle, int64_t version) {
    return DB_SCRIPT(handle, "PRAGMA user_version = " + std::to_string(version));
}

int32_t DB_STARTCHECK(const std::string& path) {
    static int32_t last = 0;
    auto check = std::make_unique<Check>();
    check->thread = std::thread(&Check::runOn, check.get(), path);
    checks()[++last] = std::move(check);
    return last;
}

bool DB_CHECKDONE(int32_t check) {
    auto found = checks().find(check);
    return found == checks().end() || found->second->done;
}

DbAnswer DB_CHECKRESULT(int32_t check) {
    std::unique_ptr<Check> ended = endCheck(check, false);
    return ended ? std::move(ended->answer) : notOpen();
}

void DB_STOPCHECK(int32_t check) { endCheck(check, true); }
