// The counter and system-information service (the host object's Com_Counter).
//
//   GetSysInfo(company by reference)  -> two-dimensional array [0..1, 0..n-1]: row 0 the
//       setting names, row 1 their values, of the company ("" means the host's company; the
//       company's code as stored is written back). An unknown company is refused.
//   GetCounter(name, params, [company, database]) -> by name (upper case):
//       "SIMPLESQL": params is the query text, or [query, field, ...]; the answer is an array of
//           rows, each an array of the named fields (all columns when none are named); no rows
//           give an empty array. Only one read-only SELECT runs, within a time and row limit;
//           anything else is refused with the reason.
//       a counter of the company's counter table: the next number, as prefix + zero-padded
//           digits; the new value is stored before the call answers.
#pragma once

#include <memory>

#include "platform/core/Dispatch.h"
#include "suite/hostsvc/HostServices.h"

namespace kv {

class THostCounter : public TAutoObject {
public:
    explicit THostCounter(std::shared_ptr<THostServices> services);

    Variant GetSysInfo(Variant& company);
    Variant GetCounter(const std::string& name, const Variant& params, const Variant& scope);

private:
    std::string CompanyOf(const std::string& company);
    Variant NextNumber(const std::string& company, const std::string& name);

    std::shared_ptr<THostServices> services_;
};

}  // namespace kv
