#include "suite/hostsvc/DemoDatabase.h"

#include <sqlite3.h>

#include <array>
#include <limits>

#include "platform/core/Exceptions.h"
#include "suite/appserver/AppSchema.h"
#include "suite/hostsvc/DemoSeeds.h"

namespace kv {

namespace {

constexpr const char* kComponent = "hostsvc";

std::string_view SchemaText() {
    for (const auto& file : DemoSeedFiles())
        if (file.name == "schema.sql") return file.text;
    throw EDatabaseError("The demo data holds no schema.sql");
}

// Frees a statement on every way out.
struct TStatementGuard {
    sqlite3_stmt* stmt = nullptr;
    ~TStatementGuard() { sqlite3_finalize(stmt); }
};

[[noreturn]] void Fail(sqlite3* db, const std::string& path, const char* what) {
    throw EDatabaseError(std::string("Database error (") + what + ") on \"" + path +
                         "\": " + sqlite3_errmsg(db));
}

}  // namespace

TDemoDatabase::TDemoDatabase(const std::string& path) : db_(path, false) {
    // The scheme check (table code GENES) reads the application server's scheme table, so its
    // schema must be there even before the server first opened the file.
    ApplyAppServerSchema(db_);
    static const std::string schema(SchemaText());
    static const std::string seed = "PRAGMA defer_foreign_keys = ON;\n" + SeedInsertScript();
    const std::array<const char*, 2> steps = {schema.c_str(), seed.c_str()};
    ApplyMigrations(db_, kComponent, steps);
}

TDemoDatabase::~TDemoDatabase() {
    sqlite3_close(readOnly_);
}

std::vector<TDbRow> TDemoDatabase::Query(std::string_view sql,
                                         const std::vector<std::string>& params,
                                         const std::vector<TNamedParam>& named,
                                         std::size_t maxRows) {
    TStatementGuard guard;
    if (sqlite3_prepare_v2(db_.Handle(), sql.data(), static_cast<int>(sql.size()), &guard.stmt,
                           nullptr) != SQLITE_OK)
        Fail(db_.Handle(), Path(), "prepare");
    for (std::size_t i = 0; i < params.size(); ++i)
        if (sqlite3_bind_text(guard.stmt, static_cast<int>(i + 1), params[i].data(),
                              static_cast<int>(params[i].size()), SQLITE_TRANSIENT) != SQLITE_OK)
            Fail(db_.Handle(), Path(), "bind");
    for (const auto& [name, value] : named) {
        const int index = sqlite3_bind_parameter_index(guard.stmt, std::string(name).c_str());
        if (index > 0 &&
            sqlite3_bind_text(guard.stmt, index, value.data(), static_cast<int>(value.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK)
            Fail(db_.Handle(), Path(), "bind");
    }
    std::vector<TDbRow> rows;
    const int columns = sqlite3_column_count(guard.stmt);
    for (;;) {
        const int rc = sqlite3_step(guard.stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) Fail(db_.Handle(), Path(), "step");
        TDbRow row;
        for (int c = 0; c < columns; ++c)
            row.push_back(ColumnValue(guard.stmt, c));
        rows.push_back(std::move(row));
        if (maxRows != 0 && rows.size() >= maxRows) break;
    }
    return rows;
}

sqlite3* TDemoDatabase::ReadOnlyHandle() {
    if (readOnly_) return readOnly_;
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(Path().c_str(), &readOnly_, flags, nullptr) != SQLITE_OK) {
        const std::string reason = readOnly_ ? sqlite3_errmsg(readOnly_) : "out of memory";
        sqlite3_close(readOnly_);
        readOnly_ = nullptr;
        throw EDatabaseError("Cannot open database \"" + Path() + "\" for reading: " + reason);
    }
    sqlite3_busy_timeout(readOnly_, 5000);
    return readOnly_;
}

Variant ColumnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            return Null();
        case SQLITE_INTEGER: {
            const sqlite3_int64 value = sqlite3_column_int64(stmt, column);
            if (value >= std::numeric_limits<int>::min() &&
                value <= std::numeric_limits<int>::max())
                return Variant(static_cast<int>(value));
            return Variant(static_cast<long long>(value));
        }
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt, column));
        default: {
            const auto* text = sqlite3_column_text(stmt, column);
            if (!text) return Variant(std::string());
            return Variant(
                std::string(reinterpret_cast<const char*>(text),
                            static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))));
        }
    }
}

Variant RowToVariant(const TDbRow& row) {
    return VarArrayOf(row);
}

Variant RowsToVariant(const std::vector<TDbRow>& rows) {
    Variant array = VarArrayCreate({0, static_cast<int>(rows.size()) - 1});
    for (std::size_t i = 0; i < rows.size(); ++i)
        array[static_cast<int>(i)] = RowToVariant(rows[i]);
    return array;
}

}  // namespace kv
