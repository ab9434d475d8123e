// The code-check service (the host object's Com_Validator).
//
//   ProductID, BaseLimited       -> writable properties, kept for the session
//   CheckValue(table, kind, database, params, result by reference) -> Boolean: whether the
//       code exists; result becomes its row (a one-dimensional array) or unassigned
//   QueryData(same arguments)    -> the same question, fetching the row
// The questions by table code and kind are those of HostTables.h; an unknown pair, too many
// parameters' dimensions or another database are refused with the reason.
#pragma once

#include <memory>

#include "platform/core/Dispatch.h"
#include "suite/hostsvc/HostServices.h"

namespace kv {

class THostValidator : public TAutoObject {
public:
    explicit THostValidator(std::shared_ptr<THostServices> services);

    bool Check(const std::string& table, const std::string& kind, const std::string& database,
               const Variant& params, Variant& result);

private:
    std::shared_ptr<THostServices> services_;
    int productId_ = 0;
    std::string baseLimited_;
};

}  // namespace kv
