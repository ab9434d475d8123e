#include "src/host/DLLRPCtrller.h"

#include "platform/core/Modules.h"
#include "platform/ui/Forms.h"

namespace kv {

TClass DLLControllerClass = nullptr;
TClass frmBaseGeneClass = nullptr;

namespace {

// The unit's initialisation: the library's controller class.
[[maybe_unused]] const bool kControllerClassRegistered = [] {
    DLLControllerClass = TDLLRPCtrller::StaticClass();
    return true;
}();

// Installs handler in place of event, keeping the handler found there in saved. A handler
// that is already this controller's own (a second CreateForm) is not saved again: the saved
// one would then call the controller, which calls the saved one, without end.
void Hook(TNotifyEvent& event, TNotifyEvent& saved, const TNotifyEvent& handler) {
    if (!(event == handler)) saved = event;
    event = handler;
}

}  // namespace

std::string ControllerModuleFileName() {
    return ModuleFileNameOf(&ControllerModuleFileName);
}

TDLLBaseController* NewController() {
    if (DLLControllerClass == nullptr) throw Exception(kNoControllerClassError);
    TObject* object = DLLControllerClass->CreateObject();
    auto* controller = dynamic_cast<TDLLBaseController*>(object);
    if (controller == nullptr) {
        object->Free();
        throw Exception(kNoControllerClassError);
    }
    return controller;
}

TDLLRPCtrller::~TDLLRPCtrller() {
    if (Form != nullptr) FreeForm();
}

// ---------------------------------------------------------------------------------------------
// Operations 0 to 10

void TDLLRPCtrller::GetVersionText(std::string& text) {
    if (Form != nullptr) text = Form->VersionText;
}

std::int32_t TDLLRPCtrller::IsFormVisible() {
    return Form != nullptr && Form->Visible() ? kLongTrue : 0;
}

void TDLLRPCtrller::SetFormVisible(Word show) {
    if (Form == nullptr) return;
    Form->SetVisible(show != 0);
    if (show == 0) return;
    if (Form->WindowState() == wsMinimized) Form->SetWindowState(wsNormal);
    Form->BringToFront();
}

HWND TDLLRPCtrller::GetFormHandle() {
    return Form != nullptr ? Form->Handle() : 0;
}

std::int32_t TDLLRPCtrller::CreateForm(const Variant& params) {
    const Variant copy = params;  // the host's array may change while the form initialises
    if (Form == nullptr) CreateTheForm();
    if (Form == nullptr) return kControllerFailed;
    HookFormEvents();
    return Form->InitWithParams(copy) ? kControllerOk : kControllerFailed;
}

void TDLLRPCtrller::CreateTheForm() {
    if (frmBaseGeneClass == nullptr) throw Exception(kNoFormClassError);
    TComponent* component = frmBaseGeneClass->CreateComponent(nullptr);
    Form = dynamic_cast<TfrmBaseGene*>(component);
    if (Form == nullptr) {
        component->Free();
        throw Exception(kNoFormClassError);
    }
    const auto life = Form->LifeToken();
    Form->SetModulePath(ControllerModuleFileName());
    if (life.expired()) {  // the stand-alone initialisation closed it at once
        Form = nullptr;
        return;
    }
    Form->HostObject = HostObject;
    DoFormCreated();
}

void TDLLRPCtrller::HookFormEvents() {
    Hook(Form->OnShow, SavedOnShow, TNotifyEvent(this, &TDLLRPCtrller::DoFormShow));
    Hook(Form->OnHide, SavedOnHide, TNotifyEvent(this, &TDLLRPCtrller::DoFormHide));
    Hook(Form->OnDestroy, SavedOnDestroy, TNotifyEvent(this, &TDLLRPCtrller::DoFormDestroy));
}

std::int32_t TDLLRPCtrller::SendCommand(const Variant& command) {
    if (Form == nullptr || !command.IsArray()) return kControllerFailed;
    try {
        return PassCommand(VarArrayOf({true, command[1]}));
    } catch (...) {
        return kControllerFailed;  // no such element
    }
}

std::int32_t TDLLRPCtrller::SendTypedCommand(std::int32_t kind, Variant command) {
    if (Form == nullptr || (kind != 5 && kind != 9)) return kControllerFailed;
    return PassCommand(VarArrayOf({false, command}));
}

std::int32_t TDLLRPCtrller::PassCommand(const Variant& command) {
    try {
        Form->HandleHostCommand(command);
        return kControllerOk;
    } catch (...) {
        return kControllerFailed;  // the host hears of a failed command only by the answer
    }
}

void TDLLRPCtrller::ShowFormModal(Variant& result) {
    if (Form == nullptr) {
        result = mrCancel;
        return;
    }
    result = Form->ShowModal();
}

void TDLLRPCtrller::FreeForm() {
    if (Form == nullptr || Form->ComponentState().Contains(csDestroying)) return;
    TfrmBaseGene* form = Form;
    form->Free();  // its destroy hook clears Form
    if (Form == form) Form = nullptr;
}

std::int32_t TDLLRPCtrller::GetFormInfo(Variant& info) {
    if (Form == nullptr) return kControllerFailed;
    info = VarArrayOf({Variant::Wide(Form->UserId), Variant::Wide(Form->CompanyId),
                       Variant::Wide(Form->ProgramCode), Variant::Wide(Form->ProgramName)});
    return kControllerOk;
}

bool TDLLRPCtrller::IsFormFreed() {
    return Form == nullptr;
}

// ---------------------------------------------------------------------------------------------
// The form's events

void TDLLRPCtrller::DoFormShow(TObject* sender) {
    if (SavedOnShow.Assigned()) SavedOnShow(sender);
    inherited::DoFormShow(sender);
}

void TDLLRPCtrller::DoFormHide(TObject* sender) {
    if (SavedOnHide.Assigned()) SavedOnHide(sender);
    inherited::DoFormHide(sender);
}

void TDLLRPCtrller::DoFormDestroy(TObject* sender) {
    if (Form == nullptr) return;
    ResultCode = Form->ResultCode;
    ResultValue = Form->ResultValue;
    // The form is gone for the controller before anyone hears of it: a host may ask
    // IsFormFreed from its notification handler, or free this controller there, after which
    // nothing below may touch it.
    Form = nullptr;
    const TNotifyEvent saved = SavedOnDestroy;
    if (saved.Assigned()) saved(sender);
    inherited::DoFormDestroy(sender);
}

KV_PUBLISHED(TDLLRPCtrller) {}

}  // namespace kv
