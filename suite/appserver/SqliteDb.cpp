#include "suite/appserver/SqliteDb.h"

#include <sqlite3.h>

#include <filesystem>
#include <limits>
#include <map>

namespace kv {

namespace {

// Writers wait this long for one another before a call gives up with "database is locked".
constexpr int kBusyTimeoutMs = 15000;

int ToIntLength(std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw EDatabaseError("value too large for the database");
    return static_cast<int>(size);
}

// One write lock per database file of this process, alive while a connection uses it.
std::shared_ptr<std::mutex> WriteLockFor(const std::string& path) {
    static std::mutex registryMutex;
    static std::map<std::string, std::weak_ptr<std::mutex>> registry;
    std::error_code ignored;
    const std::string key = std::filesystem::weakly_canonical(path, ignored).string();
    std::lock_guard guard(registryMutex);
    auto& slot = registry[key.empty() ? path : key];
    auto lock = slot.lock();
    if (!lock) slot = lock = std::make_shared<std::mutex>();
    return lock;
}

}  // namespace

TSqliteDb::TSqliteDb(const std::string& path, bool fullSync)
    : path_(path), writeLock_(WriteLockFor(path)) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDatabaseError("Cannot open database \"" + path + "\": " + reason);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    try {
        ExecScript("PRAGMA journal_mode=WAL;");
        ExecScript(fullSync ? "PRAGMA synchronous=FULL;" : "PRAGMA synchronous=NORMAL;");
        ExecScript("PRAGMA foreign_keys=ON;");
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

TSqliteDb::~TSqliteDb() {
    sqlite3_close(db_);
}

void TSqliteDb::ExecScript(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw EDatabaseError("Database error on \"" + path_ + "\": " + reason);
    }
}

std::int64_t TSqliteDb::Changes() const {
    return sqlite3_changes64(db_);
}

void TSqliteDb::Fail(const char* what) const {
    throw EDatabaseError(std::string("Database error (") + what + ") on \"" + path_ +
                         "\": " + sqlite3_errmsg(db_));
}

TSqliteStatement::TSqliteStatement(TSqliteDb& db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v3(db.Handle(), sql.data(), ToIntLength(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
        db.Fail("prepare");
}

TSqliteStatement::~TSqliteStatement() {
    sqlite3_finalize(stmt_);
}

void TSqliteStatement::Check(int rc, const char* what) {
    if (rc != SQLITE_OK) db_.Fail(what);
}

TSqliteStatement& TSqliteStatement::Bind(int index, std::string_view text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), ToIntLength(text.size()), SQLITE_TRANSIENT),
          "bind text");
    return *this;
}

TSqliteStatement& TSqliteStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value), "bind integer");
    return *this;
}

TSqliteStatement& TSqliteStatement::Bind(int index, double value) {
    Check(sqlite3_bind_double(stmt_, index, value), "bind real");
    return *this;
}

TSqliteStatement& TSqliteStatement::BindBlob(int index, const std::string& bytes) {
    Check(
        sqlite3_bind_blob(stmt_, index, bytes.data(), ToIntLength(bytes.size()), SQLITE_TRANSIENT),
        "bind blob");
    return *this;
}

TSqliteStatement& TSqliteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(stmt_, index), "bind null");
    return *this;
}

bool TSqliteStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_.Fail("step");
}

void TSqliteStatement::Execute() {
    while (Step()) {
    }
    Reset();
}

void TSqliteStatement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string TSqliteStatement::ColumnText(int column) const {
    const auto* text = sqlite3_column_text(stmt_, column);
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::string TSqliteStatement::ColumnBlob(int column) const {
    const void* data = sqlite3_column_blob(stmt_, column);
    if (!data) return {};
    return std::string(static_cast<const char*>(data),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::int64_t TSqliteStatement::ColumnInt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double TSqliteStatement::ColumnDouble(int column) const {
    return sqlite3_column_double(stmt_, column);
}

bool TSqliteStatement::ColumnIsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

TSqliteTransaction::TSqliteTransaction(TSqliteDb& db) : db_(db), lock_(db.WriteLock()) {
    db_.ExecScript("BEGIN IMMEDIATE;");
}

TSqliteTransaction::~TSqliteTransaction() {
    if (!done_) sqlite3_exec(db_.Handle(), "ROLLBACK;", nullptr, nullptr, nullptr);
    // lock_ is released after the rollback, as members go after the body.
}

void TSqliteTransaction::Commit() {
    db_.ExecScript("COMMIT;");
    done_ = true;
}

}  // namespace kv
