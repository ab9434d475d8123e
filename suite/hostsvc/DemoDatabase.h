// The demo company database: the suite's tables that the host services answer from, in the
// company database file that the application server uses too. Opening it brings the schema
// component "hostsvc" up to date; its first steps create the tables and bring in the demo data
// in one transaction, so the data arrives exactly once however many processes open the file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/Variant.h"
#include "suite/appserver/SqliteDb.h"

struct sqlite3;

namespace kv {

// One result row; texts as strings, integers as integers, reals as doubles, NULL as null.
using TDbRow = std::vector<Variant>;

class TDemoDatabase {
public:
    // Opens (creating) the file; raises EDatabaseError when it cannot be opened or holds a
    // newer schema than this program knows.
    explicit TDemoDatabase(const std::string& path);
    ~TDemoDatabase();
    TDemoDatabase(const TDemoDatabase&) = delete;
    TDemoDatabase& operator=(const TDemoDatabase&) = delete;

    // A named parameter (":company") and its text; bound only when the SQL uses it.
    using TNamedParam = std::pair<std::string_view, std::string>;

    // Runs fixed SQL of the program with the texts bound to ?1, ?2, ... and the named ones by
    // name, and answers at most maxRows rows (0: all).
    std::vector<TDbRow> Query(std::string_view sql, const std::vector<std::string>& params,
                              const std::vector<TNamedParam>& named = {}, std::size_t maxRows = 0);
    TSqliteDb& Db() { return db_; }
    const std::string& Path() const { return db_.Path(); }

    // A second connection that can only read, for statements that come from outside (the
    // counter "SimpleSQL"); opened on first use.
    sqlite3* ReadOnlyHandle();

private:
    TSqliteDb db_;
    sqlite3* readOnly_ = nullptr;
};

// The value of the current row's column as a variant (see TDbRow).
Variant ColumnValue(sqlite3_stmt* stmt, int column);
// A row as a one-dimensional variant array 0..n-1.
Variant RowToVariant(const TDbRow& row);
// Rows as an array 0..n-1 of row arrays.
Variant RowsToVariant(const std::vector<TDbRow>& rows);

// The SQL that inserts the rows of the tab-separated seed files (DemoSeeds.h); raises
// EDatabaseError naming the file and line of a row whose field count differs from its header.
std::string SeedInsertScript();

}  // namespace kv
