#include "suite/kvhost/HostShell.h"

#include <memory>
#include <utility>

#include "platform/core/ComObj.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Dialogs.h"
#include "suite/appserver/ReportCounter.h"
#include "suite/hostsvc/HostServices.h"
#include "suite/kvhost/HostEnvironment.h"
#include "suite/kvhost/RecordingDispatch.h"
#include "suite/kvhost/ScriptKeys.h"
#include "suite/kvhost/ShellScript.h"

namespace kv {

namespace {

std::string RequestEvent(const std::string& service) {
    if (service == "F2GetData") return "lookup";
    if (service == "ShowInputDay") return "date";
    if (service == "GetPhrase") return "phrase";
    if (service == "CallHelp") return "help";
    return "hostRequest";
}

void WriteRequest(TTranscript& transcript, const THostRequest& request) {
    TJson fields{{"service", request.service},
                 {"request", VariantToJson(request.request)},
                 {"answer", VariantToJson(request.answer)},
                 {"scripted", request.scripted}};
    if (!request.note.empty()) fields["note"] = request.note;
    transcript.Write(RequestEvent(request.service), std::move(fields));
}

void WriteBox(TTranscript& transcript, const TBoxRecord& box) {
    TJson buttons = TJson::array();
    for (int b = mbYes; b <= mbHelp; ++b)
        if (box.Buttons.Contains(static_cast<TMsgDlgBtn>(b)))
            buttons.push_back(MsgDlgButtonName(static_cast<TMsgDlgBtn>(b)));
    transcript.Write(
        "box", {{"caption", box.Caption},
                {"text", box.Text},
                {"kind", GetEnumName(KvTypeInfo(static_cast<TMsgDlgType*>(nullptr)), box.Type)},
                {"buttons", std::move(buttons)},
                {"answer", ModalResultName(box.Answer)},
                {"scripted", box.Scripted}});
}

TJson ArgsToJson(const std::vector<Variant>& args) {
    TJson list = TJson::array();
    for (const Variant& arg : args)
        list.push_back(VariantToJson(arg));
    return list;
}

void WriteServerCall(TTranscript& transcript, const TCallRecord& call) {
    TJson fields{{"call", call.member}, {"args", ArgsToJson(call.args)}};
    bool changed = false;
    for (std::size_t i = 0; i < call.args.size() && i < call.argsOut.size(); ++i)
        changed = changed || !VarSameValue(call.args[i], call.argsOut[i]);
    if (changed) fields["out"] = ArgsToJson(call.argsOut);
    if (call.failed) {
        fields["error"] = call.error;
    } else {
        fields["answer"] = VariantToJson(call.result);
    }
    transcript.Write("appserver", std::move(fields));
}

// The script's settings for what the command line left open.
void TakeScriptSettings(const TJson& script, THostShellOptions& options) {
    const auto take = [&](std::string& value, const char* key, const char* fallback) {
        if (!value.empty()) return;
        value = script.is_object() && script.contains(key) && script[key].is_string()
                    ? script[key].get<std::string>()
                    : fallback;
    };
    take(options.session.user, "user", "796");
    take(options.session.company, "company", "DAZudo60");
    take(options.session.database, "database", "DAZudo60");
    if (!options.modelessGiven && script.is_object() && script.contains("modeless") &&
        script["modeless"].is_boolean())
        options.session.modeless = script["modeless"].get<bool>();
}

// The classes this run registered, removed again when it ends (their handlers refer to the
// transcript of the run).
class TRegistrations {
public:
    ~TRegistrations() {
        UnregisterOleClass(kReportCounterProgId);
        UnregisterHostManagerClass();
        Automation().OnBoxRecorded = nullptr;
        if (services) services->SetRequestListener(nullptr);
    }
    std::shared_ptr<THostServices> services;
};

int RunSession(THostShellOptions& options, const TJson& steps, TTranscript& transcript) {
    const THostEnvironment env = PrepareHostEnvironment(
        options.configDir.empty() ? DefaultHostConfigDir() : options.configDir);
    TRegistrations registrations;
    THostOptions hostOptions;
    hostOptions.databasePath = env.databasePath;
    hostOptions.companyId = options.session.company;
    hostOptions.databaseName = options.session.database;
    registrations.services = THostServices::Create(hostOptions);
    auto services = registrations.services;
    services->SetRequestListener(
        [&transcript](const THostRequest& request) { WriteRequest(transcript, request); });
    RegisterHostManagerClass(services);
    RegisterOleClass(kReportCounterProgId, [&transcript, path = env.databasePath] {
        auto server = std::make_shared<TdmReportCounter>(TAppServerOptions{path, false, nullptr});
        return std::make_shared<TRecordingDispatch>(
            server, [&transcript](const TCallRecord& call) { WriteServerCall(transcript, call); });
    });
    Automation().OnBoxRecorded = [&transcript](const TBoxRecord& box) {
        WriteBox(transcript, box);
    };
    transcript.Write("start", {{"plugin", options.session.pluginPath},
                               {"config", env.configDir},
                               {"database", env.databasePath},
                               {"user", options.session.user},
                               {"company", options.session.company},
                               {"modeless", options.session.modeless}});

    THostSession session(options.session, transcript);
    TScriptRunner runner(session, &services->Script(), transcript);
    session.Open(services->CreateHostObject());
    if (session.CreateForm() == 0) session.Show([&] { runner.Run(steps); });
    session.Finish();
    session.Close();
    if (Automation().PendingAnswers() > 0 || services->Script().PendingLookups() > 0 ||
        services->Script().PendingDates() > 0)
        transcript.Write("unusedAnswers", {{"boxesAndForms", Automation().PendingAnswers()},
                                           {"lookups", services->Script().PendingLookups()},
                                           {"dates", services->Script().PendingDates()}});
    Automation().Reset();
    services->Script().Clear();
    return runner.Failed() ? kExitScriptFailed : kExitOk;
}

}  // namespace

int RunHostShell(THostShellOptions options, std::ostream& summary) {
    std::unique_ptr<TTranscript> transcript;
    try {
        transcript = std::make_unique<TTranscript>(options.transcriptFile);
    } catch (const Exception& error) {
        summary << "kvhost: " << error.Message() << '\n';
        return kExitUnusable;
    }
    int code = kExitUnusable;
    try {
        const TJson script =
            options.scriptFile.empty() ? TJson::array() : LoadShellScript(options.scriptFile);
        TakeScriptSettings(script, options);
        code = RunSession(options, ShellScriptSteps(script), *transcript);
    } catch (const std::exception& error) {
        transcript->Write("error", {{"message", error.what()}});
        summary << "kvhost: " << error.what() << '\n';
    }
    if (options.summary) WriteSummary(*transcript, summary);
    return code;
}

}  // namespace kv
