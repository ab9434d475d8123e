// One run of a plug-in inside the host shell: the library loaded by path, a controller obtained
// from it, the form created, shown (modally or modeless), driven, and gone again.
//
//     THostSession session(options, transcript);
//     session.Open(hostObject);                 // loads, GetController, HostObject, OnNotify
//     if (session.CreateForm() == 0)            // [user, company, database, host window, 0]
//         session.Show([&] { runner.Run(steps); });
//     session.Finish();                         // waits for the form to go (closes it if needed)
//     session.Close();                          // reads the results, frees the controller
//
// Everything it sees goes to the transcript: "notify" for each notification (304 with the
// results), "createForm", "modalResult", "closing", "result".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/Modules.h"
#include "platform/core/Variant.h"
#include "platform/ui/Forms.h"
#include "src/host/DLLBaseCtrller.h"
#include "suite/kvhost/Transcript.h"

namespace kv {

struct THostSessionOptions {
    std::string pluginPath;
    std::string user = "796";
    std::string company = "DAZudo60";
    std::string database = "DAZudo60";
    bool modeless = false;
};

class THostSession : public TObject {
public:
    THostSession(THostSessionOptions options, TTranscript& transcript);
    // Frees the controller (and with it a form still open).
    ~THostSession() override;

    // Loads the plug-in and obtains its controller, handing it the host object and the
    // notification handler. Raises EOSError when the library or its export is missing, and
    // passes on what GetController raises.
    void Open(const Variant& hostObject);
    // CreateForm with the host parameters; what it raises is passed on.
    std::int32_t CreateForm();
    // Shows the form and runs script while it is up: inside its modal loop, or after showing
    // it modeless. Errors of the showing are passed on.
    void Show(const std::function<void()>& script);
    // Lets queued messages run until the form is gone; a form the script left open is closed
    // as its user would close it, and freed when it refuses.
    void Finish();
    // Reads the results and frees the controller.
    void Close();

    TDLLBaseController* Controller() const { return controller_; }
    // The plug-in's form while it exists.
    TCustomForm* Form() const;
    const THostSessionOptions& Options() const { return options_; }

    // The controller's notification handler.
    void ControllerNotify(std::int32_t code, TDLLBaseController* controller);
    const std::vector<std::int32_t>& Notifications() const { return notifications_; }

private:
    void FreeController();

    THostSessionOptions options_;
    TTranscript& transcript_;
    HMODULE library_ = 0;
    TDLLBaseController* controller_ = nullptr;
    std::vector<std::int32_t> notifications_;
};

// "FormCreated", "FormShow", "FormHide", "FormDestroyed", "FormEvent320", or "" for another.
std::string NotificationName(std::int32_t code);

}  // namespace kv
