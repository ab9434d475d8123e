// Unit DLLRPCtrller: the library's controller class TDLLRPCtrller and the two class
// references through which the library's start-up names its controller and form classes.
//
// Start-up order: loading this unit sets DLLControllerClass to TDLLRPCtrller; the library's
// main block (src/KPQX07C.cpp) then sets frmBaseGeneClass to the report's form class. Until
// then both are empty, and GetController and CreateForm raise the library's internal errors.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Persistent.h"
#include "platform/core/System.h"
#include "src/host/DLLBaseCtrller.h"
#include "src/framework/BaseGene.h"

namespace kv {

// A descendant of TDLLBaseController; GetController makes one per call.
extern TClass DLLControllerClass;
// The form class CreateForm creates: the report's form, a descendant of TfrmBaseGene.
extern TClass frmBaseGeneClass;

inline constexpr const char* kNoControllerClassError =
    "KVT DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible";
inline constexpr const char* kNoFormClassError =
    "KVT DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible";

// What the export GetController does: a new instance of DLLControllerClass, made with the
// parameterless constructor. Raises Exception(kNoControllerClassError) while it is empty.
TDLLBaseController* NewController();

class TDLLRPCtrller : public TDLLBaseController {
    KV_CLASS(TDLLRPCtrller, TDLLBaseController)
public:
    TDLLRPCtrller() = default;
    // Frees the form first when the controller still holds one.
    ~TDLLRPCtrller() override;

    void GetVersionText(std::string& text) override;
    std::int32_t IsFormVisible() override;
    void SetFormVisible(Word show) override;
    HWND GetFormHandle() override;
    std::int32_t CreateForm(const Variant& params) override;
    std::int32_t SendCommand(const Variant& command) override;
    std::int32_t SendTypedCommand(std::int32_t kind, Variant command) override;
    void ShowFormModal(Variant& result) override;
    void FreeForm() override;
    std::int32_t GetFormInfo(Variant& info) override;
    bool IsFormFreed() override;

    void DoFormShow(TObject* sender) override;
    void DoFormHide(TObject* sender) override;
    void DoFormDestroy(TObject* sender) override;

    // The form while the controller holds it.
    TfrmBaseGene* Form = nullptr;
    // The form's own handlers, called before the controller's notifications.
    TNotifyEvent SavedOnShow;
    TNotifyEvent SavedOnHide;
    TNotifyEvent SavedOnDestroy;

private:
    void CreateTheForm();
    void HookFormEvents();
    std::int32_t PassCommand(const Variant& command);
};

// The file name of the library this code was linked into (the program's for a program).
std::string ControllerModuleFileName();

}  // namespace kv
