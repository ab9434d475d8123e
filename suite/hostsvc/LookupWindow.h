// The lookup-window service (the host object's Com_F2Window), headless: the windows answer
// from the script (THostScript) and every request is recorded (THostServices::Record).
//
//   F2GetData(request 0..18)     -> unassigned when nothing was chosen; else an array of rows
//       (each an array of columns, column 0 the code) or the typed value. The list is the one
//       HostTables.h gives for table (element 0) and kind (element 1) with the parameters of
//       element 2; element 3 allows several rows; element 6 must name this host's database.
//   ShowInputDay([ROC flag, "yyyymmdd", database]) -> "yyyymmdd", or "" when cancelled
//   GetPhrase(user, database, window) -> the chosen phrase text, or ""
// A request that is not an array of the right size, names an unknown list or another
// database is recorded with the reason and refused (EOleException).
#pragma once

#include <memory>

#include "platform/core/Dispatch.h"
#include "suite/hostsvc/HostServices.h"

namespace kv {

class THostLookupWindow : public TAutoObject {
public:
    explicit THostLookupWindow(std::shared_ptr<THostServices> services);

    Variant F2GetData(const Variant& request);
    Variant ShowInputDay(const Variant& request);
    Variant GetPhrase(const Variant& user, const Variant& database, const Variant& window);

private:
    std::shared_ptr<THostServices> services_;
};

}  // namespace kv
