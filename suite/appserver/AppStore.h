// The application server's storage on one SQLite company database: condition schemes, jobs
// (their arrays kept as encoded bytes, so they come back exactly as sent), runs of local jobs
// and user rights. One TAppStore is one connection; every session of the server owns its own,
// and SQLite's locking lets many of them work on the same file at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "suite/appserver/SqliteDb.h"

namespace kv {

struct TSchemeRecord {
    std::string name;        // NCONDITION
    std::string creator;     // CREATOR
    std::string programme;   // PROGRAMME
    std::string controls;    // SCONDITION
    std::string values;      // VCONDITION
    std::string createDate;  // CREATE_DATE, "yyyymmdd"
};

// What the server knows of a job besides its array.
struct TJobRecord {
    std::string program;
    std::string company;
    std::string user;
    std::string database;
    std::string kind;
    bool periodic = false;
    int generation = 0;         // 0 work queue, 1 at once, 2 at a set time
    double generationTime = 0;  // date-time (days since 1899-12-30)
    double submitted = 0;       // date-time of acceptance
    std::string computer;       // set for jobs registered for a local run
    bool localRun = false;
    std::string encodedArray;  // the job array, encoded losslessly
};

struct TStoredJob {
    std::string number;
    std::string status;
    TJobRecord record;
};

// One row of the rights table, or the default of a user without one.
struct TRightsRecord {
    std::string rightsCode = "1";
    std::string flag2 = "Y";
    std::string flag3 = "Y";
    std::string field4 = "YYYYYYYY";
    std::string field5;
    std::string field6;
    std::string value2;
    std::string value3;
    std::string limitPrefix;
    std::vector<std::string> limits;
};

class TAppStore {
public:
    // Opens the database file (creating it) and brings its schema up to date.
    TAppStore(const std::string& path, bool fullSync);

    // Schemes. Every operation works by the key (name, creator, programme) and only ever on
    // the rows of that creator and programme. The answers are "" on success, else the reason.
    std::vector<TSchemeRecord> LoadSchemes(const std::string& user, const std::string& program);
    std::string InsertScheme(const TSchemeRecord& scheme, bool replace);
    std::string DeleteScheme(const std::string& name, const std::string& user,
                             const std::string& program);
    std::string RenameScheme(const std::string& oldName, const std::string& newName,
                             const std::string& user, const std::string& program);

    // Stores the job and answers its new number: the day "yyyymmdd" of `day`, then a
    // six-digit counter of that day, so numbers sort in the order of acceptance.
    std::string AddJob(const TJobRecord& job, const std::string& day);
    std::optional<TStoredJob> FindJob(const std::string& number);
    std::vector<std::string> JobNumbers();
    // Records the end of a local run; false when the job is unknown.
    bool RecordRun(const std::string& number, const std::string& messages, double finished);
    int RunCount(const std::string& number);

    // The rights of the user for the program: the exact row, else the user's row for every
    // program ("*"), else the row of every user for the program, else the row for everybody,
    // else the built-in default.
    TRightsRecord FindRights(const std::string& user, const std::string& program);
    void PutRights(const std::string& user, const std::string& program,
                   const TRightsRecord& rights);

    TSqliteDb& Db() { return db_; }

private:
    bool SchemeExists(const std::string& name, const std::string& user, const std::string& program);

    TSqliteDb db_;
};

// Length of a scheme name as the clients count it: a character outside ASCII counts two.
std::size_t SchemeNameWidth(const std::string& name);
constexpr std::size_t kMaxSchemeNameWidth = 20;

}  // namespace kv
