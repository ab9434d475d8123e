// The application server object "ReportCounterS.dmReportCounter": one object is one client
// session (its last error, its last scheme selection) over the shared company database.
//
// Members (late-bound, names without regard to case):
//   GetPower([database, user, program, ""])  -> rights array 0..5 (see below)
//   SQLType                                   -> 0 (the kind of SQL the server speaks)
//   Request(job array)                        -> job number, or "ERROR" (ErrorDescript tells)
//   Request1(job array, computer name)        -> job number of a local run, or "ERROR"
//   UpdateStatus1(job number, messages, when) -> records the end of a local run
//   ErrorDescript                             -> the session's last error text
//   LoadTable([user, program])                -> selects the user's schemes of the program
//   InsertConTable([name, user, "yyyymmdd", program, controls, values, replace]) -> "" or why
//   DeleteConTable([name, user, program])     -> "" or why
//   ChangeConName([old, user, program], [new, user, program]) -> "" or why
//   AS_GetProviderNames                       -> ["pvdConSave"]
//   AS_GetRecords(provider)                   -> the rows of the last selection (TProviderRows)
//
// Rights array: [0] the user, [1] "code,f2,f3,f4,f5,f6" (f4 carries the two lookup flags at
// characters 7 and 8), [2] and [3] texts, [4] the limit prefix, [5] [n, limit 1 .. limit n].
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "suite/appserver/AppStore.h"

namespace kv {

inline constexpr const char* kReportCounterProgId = "ReportCounterS.dmReportCounter";
inline constexpr const char* kSchemeProvider = "pvdConSave";

struct TAppServerOptions {
    std::string databasePath;
    // Every commit reaches the disk before it is acknowledged (survives a power loss);
    // otherwise a commit survives the end of the process, not of the machine.
    bool fullSync = false;
    // The current date-time; replaceable so tests can fix the day of job numbers.
    std::function<double()> now;
};

class TdmReportCounter : public TAutoObject {
public:
    explicit TdmReportCounter(const TAppServerOptions& options);

private:
    void RegisterMembers();
    void RegisterSchemeMembers();
    Variant GetPower(const Variant& request);
    Variant Submit(const Variant& job, const std::string& computer, bool localRun);
    Variant UpdateStatus(const std::vector<Variant>& args);
    Variant LoadTable(const Variant& key);
    Variant InsertConTable(const Variant& record);
    Variant DeleteConTable(const Variant& key);
    Variant ChangeConName(const Variant& oldKey, const Variant& newKey);
    Variant ProviderRecords(const Variant& provider) const;
    double Now() const;

    TAppServerOptions options_;
    std::unique_ptr<TAppStore> store_;
    std::string lastError_;
    std::vector<TSchemeRecord> selection_;
};

// Registers the class in this process, serving the database of options (the embedded
// default that a client configuration with the address 127.0.0.1 leads to).
void RegisterReportCounterClass(const TAppServerOptions& options);

}  // namespace kv
