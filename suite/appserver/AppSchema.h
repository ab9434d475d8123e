// Versioned schema of the company database. Each component (the application server here; the
// demo company data and later parts of the suite add their own) owns an ordered list of
// migration steps; the database records per component how many steps it has applied, so a
// newer program upgrades an older file step by step and an older program refuses a newer file.
#pragma once

#include <span>
#include <string>

#include "suite/appserver/SqliteDb.h"

namespace kv {

// Applies the steps of `component` that the database has not seen yet, each step and its
// version record in one transaction. Raises EDatabaseError when the file holds a version newer
// than the steps known here.
void ApplyMigrations(TSqliteDb& db, const std::string& component,
                     std::span<const char* const> steps);

// The version of `component` recorded in the database (0 when it has none).
int SchemaVersion(TSqliteDb& db, const std::string& component);

// The application server's own tables: schemes, jobs, job runs and rights.
void ApplyAppServerSchema(TSqliteDb& db);

}  // namespace kv
