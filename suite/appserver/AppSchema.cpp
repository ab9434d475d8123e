#include "suite/appserver/AppSchema.h"

#include <array>

namespace kv {

namespace {

constexpr const char* kVersionTable =
    "CREATE TABLE IF NOT EXISTS kv_schema("
    " component TEXT PRIMARY KEY, version INTEGER NOT NULL) WITHOUT ROWID;";

// Step 1 of the application server. Never edit a released step: append a new one.
constexpr const char* kAppServerStep1 = R"sql(
CREATE TABLE schemes(
    ncondition TEXT NOT NULL,
    creator TEXT NOT NULL,
    programme TEXT NOT NULL,
    scondition TEXT NOT NULL,
    vcondition TEXT NOT NULL,
    create_date TEXT NOT NULL,
    PRIMARY KEY (creator, programme, ncondition)) WITHOUT ROWID;
CREATE TABLE job_numbers(
    day TEXT PRIMARY KEY,
    last INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE jobs(
    job_no TEXT PRIMARY KEY,
    program TEXT NOT NULL,
    company TEXT NOT NULL,
    user_id TEXT NOT NULL,
    database_name TEXT NOT NULL,
    job_kind TEXT NOT NULL,
    periodic INTEGER NOT NULL,
    gen_mode INTEGER NOT NULL,
    gen_time REAL NOT NULL,
    submitted REAL NOT NULL,
    computer TEXT NOT NULL,
    local_run INTEGER NOT NULL,
    status TEXT NOT NULL,
    job_array BLOB NOT NULL);
CREATE INDEX jobs_by_status ON jobs(status, gen_time);
CREATE TABLE job_runs(
    id INTEGER PRIMARY KEY,
    job_no TEXT NOT NULL REFERENCES jobs(job_no),
    finished REAL NOT NULL,
    messages TEXT NOT NULL);
CREATE TABLE rights(
    user_id TEXT NOT NULL,
    program TEXT NOT NULL,
    rights_code TEXT NOT NULL,
    flag2 TEXT NOT NULL,
    flag3 TEXT NOT NULL,
    field4 TEXT NOT NULL,
    field5 TEXT NOT NULL,
    field6 TEXT NOT NULL,
    value2 TEXT NOT NULL,
    value3 TEXT NOT NULL,
    limit_prefix TEXT NOT NULL,
    limits TEXT NOT NULL,
    PRIMARY KEY (user_id, program)) WITHOUT ROWID;
)sql";

constexpr std::array<const char*, 1> kAppServerSteps = {kAppServerStep1};

}  // namespace

int SchemaVersion(TSqliteDb& db, const std::string& component) {
    db.ExecScript(kVersionTable);
    TSqliteStatement read(db, "SELECT version FROM kv_schema WHERE component = ?1");
    read.Bind(1, component);
    return read.Step() ? static_cast<int>(read.ColumnInt(0)) : 0;
}

void ApplyMigrations(TSqliteDb& db, const std::string& component,
                     std::span<const char* const> steps) {
    db.ExecScript(kVersionTable);
    const auto known = static_cast<int>(steps.size());
    for (;;) {
        TSqliteTransaction transaction(db);
        const int version = SchemaVersion(db, component);
        if (version > known)
            throw EDatabaseError("The database \"" + db.Path() + "\" holds version " +
                                 std::to_string(version) + " of \"" + component +
                                 "\", newer than this program (" + std::to_string(known) + ")");
        if (version == known) return;
        db.ExecScript(steps[static_cast<std::size_t>(version)]);
        TSqliteStatement write(db,
                               "INSERT INTO kv_schema(component, version) VALUES (?1, ?2) "
                               "ON CONFLICT(component) DO UPDATE SET version = excluded.version");
        write.Bind(1, component).Bind(2, static_cast<std::int64_t>(version + 1)).Execute();
        transaction.Commit();
    }
}

void ApplyAppServerSchema(TSqliteDb& db) {
    ApplyMigrations(db, "appserver", kAppServerSteps);
}

}  // namespace kv
