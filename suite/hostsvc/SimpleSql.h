// The counter "SimpleSQL": one read-only SELECT from outside, run on a connection that can
// only read, under an authorizer that allows nothing but reading, within a time limit (a
// progress handler stops it) and a row limit.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Variant.h"

struct sqlite3;

namespace kv {

struct TSimpleSqlLimits {
    int timeLimitMs = 2000;
    int rowLimit = 10000;
};

// Runs `sql` and answers its rows (an array of row arrays), each holding the named fields
// in order, or every column when `fields` is empty. Raises EDatabaseError with the reason for
// an empty text, several statements, anything but a read-only SELECT (WITH ... SELECT
// included), an unknown field, a query that runs over the time limit or answers more rows
// than the limit, and any error of the database.
Variant RunSimpleSql(sqlite3* readOnlyDb, const std::string& sql,
                     const std::vector<std::string>& fields, const TSimpleSqlLimits& limits);

}  // namespace kv
