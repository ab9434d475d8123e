// A thin owner of one SQLite connection and its prepared statements. The application server
// touches its database only through these classes, so every value reaches SQL as a bound
// parameter and every failure becomes an EDatabaseError that names what went wrong.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kv {

class TSqliteDb;

// One prepared statement. Parameters are numbered from 1, columns from 0 as in SQLite.
class TSqliteStatement {
public:
    TSqliteStatement(TSqliteDb& db, std::string_view sql);
    ~TSqliteStatement();
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;

    TSqliteStatement& Bind(int index, std::string_view text);
    TSqliteStatement& Bind(int index, std::int64_t value);
    TSqliteStatement& Bind(int index, double value);
    TSqliteStatement& BindBlob(int index, const std::string& bytes);
    TSqliteStatement& BindNull(int index);

    // Advances to the next row: true while a row is there, false when the statement is done.
    bool Step();
    // Runs a statement that returns no rows (or ignores them) and resets it.
    void Execute();
    // Clears the bindings and rewinds, so the statement can run again.
    void Reset();

    std::string ColumnText(int column) const;
    std::string ColumnBlob(int column) const;
    std::int64_t ColumnInt(int column) const;
    double ColumnDouble(int column) const;
    bool ColumnIsNull(int column) const;

private:
    void Check(int rc, const char* what);

    TSqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class TSqliteDb {
public:
    // Opens (and creates) the database file in serialized-transaction WAL mode. `fullSync`
    // makes every commit reach the disk before it returns (power-loss safe); without it a
    // commit survives the death of the process, which is what a killed server needs.
    TSqliteDb(const std::string& path, bool fullSync);
    ~TSqliteDb();
    TSqliteDb(const TSqliteDb&) = delete;
    TSqliteDb& operator=(const TSqliteDb&) = delete;

    // Runs fixed SQL text of the program itself (schema, pragmas); never user values.
    void ExecScript(const char* sql);
    std::int64_t Changes() const;
    sqlite3* Handle() const { return db_; }
    const std::string& Path() const { return path_; }
    [[noreturn]] void Fail(const char* what) const;
    // Shared by every connection of this process to the same file, so writers of one
    // process queue here instead of sleeping in SQLite's busy handler.
    std::mutex& WriteLock() { return *writeLock_; }

private:
    sqlite3* db_ = nullptr;
    std::string path_;
    std::shared_ptr<std::mutex> writeLock_;
};

// A write transaction taken at once (BEGIN IMMEDIATE), so two writers never deadlock on an
// upgrade; rolled back unless Commit ran.
class TSqliteTransaction {
public:
    explicit TSqliteTransaction(TSqliteDb& db);
    ~TSqliteTransaction();
    TSqliteTransaction(const TSqliteTransaction&) = delete;
    TSqliteTransaction& operator=(const TSqliteTransaction&) = delete;
    void Commit();

private:
    TSqliteDb& db_;
    std::unique_lock<std::mutex> lock_;
    bool done_ = false;
};

}  // namespace kv
