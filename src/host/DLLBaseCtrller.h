// The plug-in's public header: the controller a host obtains from the library's only export,
// GetController, and drives to create, show and free the report's condition form.
//
// Host and plug-in are built against this one declaration. What the host relies on:
// - the operations below, in this order (the host calls them through the virtual table);
// - the four fields after the first one, in this order: HostObject (the host stores its
//   automation object before CreateForm), ResultCode and ResultValue (copied from the form when
//   it is destroyed), OnNotify (the host's notification handler);
// - the notification codes kNotify*.
//
// Use by a host:
//     auto* getController = GetProcAddressAs<TGetControllerFunc>(library, "GetController");
//     TDLLBaseController* controller = getController();
//     controller->HostObject = hostObject;
//     controller->OnNotify = TControllerNotifyEvent(this, &THost::ControllerNotify);
//     if (controller->CreateForm(VarArrayOf({user, company, database, hostWindow, kept})) == 0)
//         controller->ShowFormModal(result);  // or SetFormVisible(1) for a modeless form
//     ... when notified with kNotifyFormDestroyed: read ResultCode and ResultValue ...
//     controller->Free();
//
// Booleans keep the widths of the host contract: IsFormVisible answers -1 (true) or 0,
// SetFormVisible takes any non-zero word as true, IsFormFreed answers a byte-sized bool.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Events.h"
#include "platform/core/Persistent.h"
#include "platform/core/System.h"
#include "platform/core/Variant.h"
#include "platform/ui/Messages.h"

namespace kv {

class TDLLBaseController;

// The host's notification handler: a method of a host object taking the code and the
// controller that sends it.
KV_EVENT(TControllerNotifyEvent, void(std::int32_t Code, TDLLBaseController* Controller));

inline constexpr std::int32_t kNotifyFormCreated = 0x100;    // created, not yet initialised
inline constexpr std::int32_t kNotifyFormShow = 0x110;       // after the form's own OnShow
inline constexpr std::int32_t kNotifyFormHide = 0x120;       // after the form's own OnHide
inline constexpr std::int32_t kNotifyFormDestroyed = 0x130;  // results copied; form gone
inline constexpr std::int32_t kNotifyFormEvent320 = 0x140;   // only through DoFormEvent320

// Answers of the operations that return 0 or -1.
inline constexpr std::int32_t kControllerOk = 0;
inline constexpr std::int32_t kControllerFailed = -1;
// IsFormVisible's true.
inline constexpr std::int32_t kLongTrue = -1;

class TDLLBaseController : public TObject {
    KV_CLASS(TDLLBaseController, TObject)
public:
    TDLLBaseController() = default;
    ~TDLLBaseController() override;

    // ---- operations 0 to 10: implemented by the library's controller class
    // The form's version text into text; without a form text is left as it is.
    virtual void GetVersionText(std::string& text) = 0;
    // -1 when a form exists and is visible, else 0.
    virtual std::int32_t IsFormVisible() = 0;
    // Shows (non-zero) or hides the form; a shown minimised form is restored and brought to
    // the front. Nothing without a form.
    virtual void SetFormVisible(Word show) = 0;
    // The form's window handle (made on demand), 0 without a form.
    virtual HWND GetFormHandle() = 0;
    // Creates the form when there is none, hooks its show, hide and destroy events and
    // initialises it with the host parameters [user, company, database, host window, kept].
    // 0 when the initialisation succeeded, else -1 (the form may then close itself). Raises
    // when the library registered no form class.
    virtual std::int32_t CreateForm(const Variant& params) = 0;
    // Hands element 1 of the array to the form's host-command handling; 0 when it ran, -1
    // when it raised, there is no form or the argument is no array.
    virtual std::int32_t SendCommand(const Variant& command) = 0;
    // Hands command to the form's host-command handling for kinds 5 and 9; 0 when it ran, -1
    // otherwise.
    virtual std::int32_t SendTypedCommand(std::int32_t kind, Variant command) = 0;
    // Shows the form modally; result receives the modal result (2, cancel, without a form).
    virtual void ShowFormModal(Variant& result) = 0;
    // Frees the form unless there is none or it is already being destroyed.
    virtual void FreeForm() = 0;
    // info receives [user, company, program code, program name]; -1 and info untouched
    // without a form.
    virtual std::int32_t GetFormInfo(Variant& info) = 0;
    // True when the controller holds no form.
    virtual bool IsFormFreed() = 0;

    // ---- operations 11 to 17
    // Notify(kNotifyFormCreated).
    virtual void DoFormCreated();
    // The form's OnShow, OnHide and OnDestroy handlers; the base notifies 272, 288 and 304.
    virtual void DoFormShow(TObject* sender);
    virtual void DoFormHide(TObject* sender);
    virtual void DoFormDestroy(TObject* sender);
    // Notify(kNotifyFormEvent320); the library itself never calls it.
    virtual void DoFormEvent320();
    // Calls OnNotify(code, this) when the host assigned a handler.
    virtual void Notify(std::int32_t code);
    virtual void SpareOperation();

    // ---- fields shared with the host, in this order
    std::int32_t Reserved = 0;  // neither read nor written by the library
    Variant HostObject;
    std::int32_t ResultCode = 0;
    Variant ResultValue;
    TControllerNotifyEvent OnNotify;
};

}  // namespace kv

extern "C" {
// The library's export: a new controller on every call (the caller owns it and frees it with
// Free()). Raises kv::Exception "KVT DLL Internal Error :\rNot Assign \"DLLControllerClass\"
// varible" when the library registered no controller class.
kv::TDLLBaseController* GetController();
}

namespace kv {
using TGetControllerFunc = TDLLBaseController*();
}  // namespace kv
