#include "suite/hostsvc/SimpleSql.h"

#include <sqlite3.h>

#include <chrono>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/DemoDatabase.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

// Texts longer than this (and blobs) are refused by the connection, so one query cannot
// build huge values.
constexpr int kMaxValueBytes = 1 << 20;

struct TRun {
    Clock::time_point deadline;
    bool timedOut = false;
};

int Progress(void* data) {
    auto* run = static_cast<TRun*>(data);
    if (Clock::now() < run->deadline) return 0;
    run->timedOut = true;
    return 1;
}

// Reading tables and calling functions is all a query from outside may do: no writes, no
// pragmas, no attached files, no transactions.
int Authorize(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

// The text from the first character that is no blank, comment or (when asked) semicolon.
std::string_view SkipNoise(std::string_view text, bool semicolons) {
    for (;;) {
        if (text.empty()) return text;
        const char c = text.front();
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' ||
            (semicolons && c == ';')) {
            text.remove_prefix(1);
        } else if (text.starts_with("--")) {
            const auto end = text.find('\n');
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        } else if (text.starts_with("/*")) {
            const auto end = text.find("*/", 2);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
        } else {
            return text;
        }
    }
}

std::string FirstWord(std::string_view sql) {
    std::string word;
    for (char c : SkipNoise(sql, false)) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) break;
        word += c;
    }
    return UpperCase(word);
}

struct TStatement {
    sqlite3_stmt* stmt = nullptr;
    ~TStatement() { sqlite3_finalize(stmt); }
};

// Installs the guards for one query and removes them again.
class TGuards {
public:
    TGuards(sqlite3* db, TRun& run) : db_(db) {
        sqlite3_set_authorizer(db_, Authorize, nullptr);
        sqlite3_progress_handler(db_, 1000, Progress, &run);
        sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    }
    ~TGuards() {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        sqlite3_set_authorizer(db_, nullptr, nullptr);
    }
    TGuards(const TGuards&) = delete;
    TGuards& operator=(const TGuards&) = delete;

private:
    sqlite3* db_;
};

[[noreturn]] void Refuse(const std::string& reason) {
    throw EDatabaseError("SimpleSQL: " + reason);
}

std::vector<int> FieldColumns(sqlite3_stmt* stmt, const std::vector<std::string>& fields) {
    const int count = sqlite3_column_count(stmt);
    std::vector<int> columns;
    if (fields.empty()) {
        for (int c = 0; c < count; ++c)
            columns.push_back(c);
        return columns;
    }
    for (const auto& field : fields) {
        int found = -1;
        for (int c = 0; c < count && found < 0; ++c)
            if (SameText(sqlite3_column_name(stmt, c), Trim(field))) found = c;
        if (found < 0) Refuse("the query has no field \"" + field + "\"");
        columns.push_back(found);
    }
    return columns;
}

void Prepare(sqlite3* db, const std::string& sql, TStatement& statement) {
    if (Trim(sql).empty()) Refuse("the query is empty");
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement.stmt, &tail);
    // The authorizer turns away every statement that would do more than read.
    if ((rc & 0xff) == SQLITE_AUTH) Refuse("only a read-only SELECT may be run");
    if (rc != SQLITE_OK) Refuse(std::string("the query was refused: ") + sqlite3_errmsg(db));
    if (!statement.stmt) Refuse("the query is empty");
    if (tail && !SkipNoise(tail, true).empty()) Refuse("only one statement may be run");
    const std::string word = FirstWord(sql);
    if ((word != "SELECT" && word != "WITH" && word != "VALUES") ||
        !sqlite3_stmt_readonly(statement.stmt) || sqlite3_column_count(statement.stmt) == 0)
        Refuse("only a read-only SELECT may be run");
}

}  // namespace

Variant RunSimpleSql(sqlite3* db, const std::string& sql, const std::vector<std::string>& fields,
                     const TSimpleSqlLimits& limits) {
    TRun run{Clock::now() + std::chrono::milliseconds(limits.timeLimitMs)};
    TGuards guards(db, run);
    TStatement statement;
    Prepare(db, sql, statement);
    const auto columns = FieldColumns(statement.stmt, fields);
    std::vector<TDbRow> rows;
    for (;;) {
        const int rc = sqlite3_step(statement.stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            if (run.timedOut)
                Refuse("the query was stopped after " + std::to_string(limits.timeLimitMs) + " ms");
            Refuse(std::string("the query failed: ") + sqlite3_errmsg(db));
        }
        if (static_cast<int>(rows.size()) >= limits.rowLimit)
            Refuse("the query answers more than " + std::to_string(limits.rowLimit) + " rows");
        TDbRow row;
        for (int c : columns)
            row.push_back(ColumnValue(statement.stmt, c));
        rows.push_back(std::move(row));
    }
    return RowsToVariant(rows);
}

}  // namespace kv
