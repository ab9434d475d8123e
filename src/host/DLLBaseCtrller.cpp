#include "src/host/DLLBaseCtrller.h"

namespace kv {

TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoFormCreated() {
    Notify(kNotifyFormCreated);
}

void TDLLBaseController::DoFormShow(TObject*) {
    Notify(kNotifyFormShow);
}

void TDLLBaseController::DoFormHide(TObject*) {
    Notify(kNotifyFormHide);
}

void TDLLBaseController::DoFormDestroy(TObject*) {
    Notify(kNotifyFormDestroyed);
}

void TDLLBaseController::DoFormEvent320() {
    Notify(kNotifyFormEvent320);
}

void TDLLBaseController::Notify(std::int32_t code) {
    // The handler may free this controller (a host that is done on 304): nothing here touches
    // the controller after the call.
    const TControllerNotifyEvent handler = OnNotify;
    if (handler.Assigned()) handler(code, this);
}

void TDLLBaseController::SpareOperation() {}

KV_PUBLISHED(TDLLBaseController) {}

}  // namespace kv
