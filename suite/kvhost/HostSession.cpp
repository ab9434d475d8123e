#include "suite/kvhost/HostSession.h"

#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Controls.h"
#include "suite/kvhost/VariantJson.h"

namespace kv {

std::string NotificationName(std::int32_t code) {
    switch (code) {
        case kNotifyFormCreated:
            return "FormCreated";
        case kNotifyFormShow:
            return "FormShow";
        case kNotifyFormHide:
            return "FormHide";
        case kNotifyFormDestroyed:
            return "FormDestroyed";
        case kNotifyFormEvent320:
            return "FormEvent320";
        default:
            return "";
    }
}

THostSession::THostSession(THostSessionOptions options, TTranscript& transcript)
    : options_(std::move(options)), transcript_(transcript) {}

THostSession::~THostSession() {
    FreeController();
}

void THostSession::Open(const Variant& hostObject) {
    // The library stays loaded for the rest of the process: the classes and handlers it
    // registered with the platform live as long as the process does.
    library_ = LoadLibrary(options_.pluginPath);
    if (library_ == 0)
        throw EOSError("Cannot load the plug-in " + options_.pluginPath + ": " +
                       GetLastModuleError());
    auto* getController = GetProcAddressAs<TGetControllerFunc>(library_, "GetController");
    if (getController == nullptr)
        throw EOSError("The plug-in " + options_.pluginPath + " exports no GetController");
    controller_ = getController();
    if (controller_ == nullptr) throw EOSError("GetController answered no controller");
    controller_->HostObject = hostObject;
    controller_->OnNotify = TControllerNotifyEvent(this, &THostSession::ControllerNotify);
    transcript_.Write("open",
                      {{"plugin", options_.pluginPath}, {"controller", controller_->ClassName()}});
}

std::int32_t THostSession::CreateForm() {
    const Variant params =
        VarArrayOf({options_.user, options_.company, options_.database, Application().Handle(), 0});
    const std::int32_t result = controller_->CreateForm(params);
    transcript_.Write("createForm", {{"params", VariantToJson(params)}, {"result", result}});
    return result;
}

void THostSession::Show(const std::function<void()>& script) {
    TCustomForm* form = Form();
    if (form == nullptr) return;  // it closed itself during the initialisation
    if (options_.modeless) {
        controller_->SetFormVisible(1);
        script();
        return;
    }
    Automation().AnswerModal(form->Name(), [&script](TCustomForm&) { script(); });
    Variant result;
    controller_->ShowFormModal(result);
    transcript_.Write("modalResult", {{"result", VariantToJson(result)}});
}

void THostSession::Finish() {
    Application().ProcessMessages();
    TCustomForm* form = Form();
    if (form == nullptr) return;
    transcript_.Write("closing", {{"form", form->Name()}});
    try {
        Automation().CloseForm(*form);
    } catch (const Exception& error) {
        transcript_.Write("error", {{"message", error.Message()}});
    }
    Application().ProcessMessages();
    if (Form() != nullptr) controller_->FreeForm();
}

void THostSession::Close() {
    if (controller_ == nullptr) return;
    const bool freed = controller_->IsFormFreed();
    transcript_.Write("result", {{"resultCode", controller_->ResultCode},
                                 {"resultValue", VariantToJson(controller_->ResultValue)},
                                 {"formFreed", freed},
                                 {"notifications", notifications_}});
    FreeController();
}

TCustomForm* THostSession::Form() const {
    if (controller_ == nullptr || controller_->IsFormFreed()) return nullptr;
    return dynamic_cast<TCustomForm*>(FindControl(controller_->GetFormHandle()));
}

void THostSession::ControllerNotify(std::int32_t code, TDLLBaseController* controller) {
    notifications_.push_back(code);
    TJson fields{{"code", code}, {"name", NotificationName(code)}};
    if (code == kNotifyFormDestroyed) {
        fields["formFreed"] = controller->IsFormFreed();
        fields["resultCode"] = controller->ResultCode;
        fields["resultValue"] = VariantToJson(controller->ResultValue);
    }
    transcript_.Write("notify", std::move(fields));
}

void THostSession::FreeController() {
    TDLLBaseController* controller = controller_;
    controller_ = nullptr;
    if (controller != nullptr) controller->Free();
}

}  // namespace kv
