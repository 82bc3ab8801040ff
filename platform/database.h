// A database file on SQLite: open, run statements with texts bound by position, transactions,
// the schema version and the integrity check, also on a thread of its own. Everything read from
// the file is bounded and comes back as rows of texts; no SQLite type leaves this adapter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How a call ended, told apart so that the program can say what to do about it.
enum class DbOutcome : int32_t {
    Ok,
    Damaged,     // not a database, or corrupt
    ReadOnly,    // the file may not be written
    Busy,        // another program holds the file past the busy time-out
    Constraint,  // a uniqueness or other constraint refused the change
    Failed,      // anything else: the disk is full, the file cannot be opened ...
};

// The outcome of a call, SQLite's message when it failed, and the rows it read.
struct DbAnswer {
    DbOutcome outcome = DbOutcome::Ok;
    std::string message;
    std::vector<std::vector<std::string>> rows;
    bool ok() const { return outcome == DbOutcome::Ok; }
};

// The longest text read from one field, and the most rows one statement returns, unless a
// call asks for less.
constexpr size_t kDbMaxText = 64 * 1024;
constexpr size_t kDbMaxRows = 100000;

// Opens the file, creating it when missing, with a WAL journal, synchronous FULL and a busy
// time-out; handle is 0 unless the answer is Ok. A file the operating system lets no one write
// answers ReadOnly. readOnly opens an existing file for reading only, also in a folder where its
// journal files cannot be made.
DbAnswer DB_OPEN(const std::string& path, bool readOnly, int32_t& handle);
void DB_CLOSE(int32_t handle);

// Runs one statement with parameters ?1, ?2 ... bound to texts, and returns at most maxRows rows,
// each field cut to at most maxText bytes between two characters; NULL reads as "".
DbAnswer DB_RUN(int32_t handle, const std::string& sql, const std::vector<std::string>& parameters = {},
                size_t maxRows = kDbMaxRows, size_t maxText = kDbMaxText);
// Runs statements separated by ";" with no parameters and no rows, as a schema step does.
DbAnswer DB_SCRIPT(int32_t handle, const std::string& sql);

// BEGIN IMMEDIATE: takes the write lock at once, so that a commit cannot fail for a lock.
DbAnswer DB_BEGIN(int32_t handle);
DbAnswer DB_COMMIT(int32_t handle);
// Undoes the open transaction, if any.
void DB_ROLLBACK(int32_t handle);

// PRAGMA user_version: the version of the schema the file holds (0 for a new file).
DbAnswer DB_USERVERSION(int32_t handle, int64_t& version);
DbAnswer DB_SETUSERVERSION(int32_t handle, int64_t version);
// PRAGMA integrity_check of the file at path (Ok when it says "ok", else Damaged with its first
// finding), run on a thread of its own through a connection of its own, so that the program need
// not wait for it: DB_CHECKDONE tells whether it has ended, DB_CHECKRESULT waits for its answer,
// DB_STOPCHECK interrupts it; either ends the check.
int32_t DB_STARTCHECK(const std::string& path);
bool DB_CHECKDONE(int32_t check);
DbAnswer DB_CHECKRESULT(int32_t check);
void DB_STOPCHECK(int32_t check);
