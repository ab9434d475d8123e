// The plug-in library KPQX07C: its one export, GetController, and its main block.
//
// Only GetController leaves the library (KPQX07C.map); everything else the host reaches
// through the controller's virtual operations.
#include "platform/core/System.h"
#include "src/host/DLLBaseCtrller.h"
#include "src/host/DLLRPCtrller.h"
#include "src/report/Kpqx07CF.h"

extern "C" __attribute__((visibility("default"))) kv::TDLLBaseController* GetController() {
    return kv::NewController();
}

namespace {

// The library's main block: the form class the controller creates. It does nothing else.
[[maybe_unused]] const bool kMainBlock = [] {
    kv::frmBaseGeneClass = kv::TfrmKpqx07::StaticClass();
    return true;
}();

}  // namespace
