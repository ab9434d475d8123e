#include "suite/kvhost/ShellScript.h"

#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Automation.h"
#include "suite/hostsvc/HostServices.h"
#include "suite/kvhost/ScriptKeys.h"

namespace kv {

namespace {

// The fields each action needs; "a|b" means one of them.
const std::map<std::string, std::vector<std::string>>& Actions() {
    static const std::map<std::string, std::vector<std::string>> actions{
        {"type", {"control", "text"}},
        {"click", {"control"}},
        {"dblclick", {"control"}},
        {"focus", {"control"}},
        {"key", {"key"}},
        {"select", {"control", "item|index"}},
        {"page", {"control", "page"}},
        {"check", {"control", "checked"}},
        {"close", {}},
        {"show", {}},
        {"hide", {}},
        {"form_info", {}},
        {"version", {}},
        {"free_form", {}},
        {"wait", {}},
        {"answer_box", {"button"}},
        {"answer_lookup", {"codes|positions|value|cancel"}},
        {"answer_date", {"date|start|cancel"}},
        {"answer_phrase", {"code|text|cancel"}},
        {"modal", {"form", "steps|result"}},
        {"command", {"command"}},
        {"typed_command", {"kind", "command"}},
    };
    return actions;
}

bool HasOneOf(const TJson& step, const std::string& alternatives) {
    std::stringstream names(alternatives);
    std::string name;
    while (std::getline(names, name, '|'))
        if (step.contains(name)) return true;
    return false;
}

void CheckSteps(const TJson& steps, const std::string& where) {
    if (!steps.is_array()) throw EConvertError(where + ": the steps are no list");
    int index = 0;
    for (const TJson& step : steps) {
        ++index;
        const std::string at = where + " step " + std::to_string(index);
        if (!step.is_object() || !step.contains("do") || !step["do"].is_string())
            throw EConvertError(at + ": a step is an object with \"do\"");
        const auto action = Actions().find(step["do"].get<std::string>());
        if (action == Actions().end())
            throw EConvertError(at + ": unknown action \"" + step["do"].get<std::string>() + "\"");
        for (const std::string& field : action->second)
            if (!HasOneOf(step, field))
                throw EConvertError(at + " (" + action->first + "): \"" + field + "\" missing");
        if (action->first == "modal" && step.contains("steps"))
            CheckSteps(step["steps"], at + " (modal)");
    }
}

std::string Text(const TJson& step, const char* field) {
    const TJson& value = step.at(field);
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number()) return value.dump();
    throw EConvertError(std::string("\"") + field + "\" is no text");
}

int Integer(const TJson& step, const char* field) {
    const TJson& value = step.at(field);
    if (!value.is_number_integer())
        throw EConvertError(std::string("\"") + field + "\" is no integer");
    return value.get<int>();
}

bool Flag(const TJson& step, const char* field) {
    return step.contains(field) && step[field].is_boolean() && step[field].get<bool>();
}

TControl& FindControl(THostSession& session, const std::string& path) {
    if (TControl* control = Automation().TryFind(path)) return *control;
    if (TCustomForm* form = session.Form())
        if (TControl* control = Automation().TryFind(*form, path)) return *control;
    throw EAutomationError("No control \"" + path + "\" on the screen");
}

TLookupAnswer LookupAnswer(const TJson& step) {
    const std::string table = step.contains("table") ? Text(step, "table") : std::string();
    if (step.contains("codes")) {
        std::vector<std::string> codes;
        for (const TJson& code : step["codes"])
            codes.push_back(code.is_string() ? code.get<std::string>() : code.dump());
        return TLookupAnswer::ByCodes(std::move(codes), table);
    }
    if (step.contains("positions"))
        return TLookupAnswer::ByPositions(step["positions"].get<std::vector<int>>(), table);
    if (step.contains("value")) return TLookupAnswer::Typed(JsonToVariant(step["value"]), table);
    return TLookupAnswer::Cancel(table);
}

}  // namespace

TJson ShellScriptSteps(const TJson& script) {
    if (script.is_array()) {
        CheckSteps(script, "script");
        return script;
    }
    if (!script.is_object() || !script.contains("steps"))
        throw EConvertError("script: an object with \"steps\", or a list of steps");
    CheckSteps(script["steps"], "script");
    return script["steps"];
}

TJson LoadShellScript(const std::string& fileName) {
    std::ifstream in(fileName);
    if (!in) throw EInOutError("Cannot read the script " + fileName);
    TJson script;
    try {
        script = TJson::parse(in);
    } catch (const TJson::exception& error) {
        throw EConvertError(fileName + ": " + error.what());
    }
    try {
        ShellScriptSteps(script);
    } catch (const EConvertError& error) {
        throw EConvertError(fileName + ": " + error.Message());
    }
    return script;
}

// ---------------------------------------------------------------------------------------------

TScriptRunner::TScriptRunner(THostSession& session, THostScript* answers, TTranscript& transcript)
    : session_(session), answers_(answers), transcript_(transcript) {}

bool TScriptRunner::Run(const TJson& steps) {
    for (const TJson& step : steps) {
        if (failed_) break;
        const int number = ++stepNumber_;
        TJson line{{"index", number}};
        for (const auto& [key, value] : step.items())
            line[key] = value;
        transcript_.Write("step", std::move(line));
        try {
            RunStep(step);
            Application().ProcessMessages();
        } catch (const std::exception& error) {
            failed_ = true;
            transcript_.Write("error", {{"step", number}, {"message", error.what()}});
        }
    }
    return !failed_;
}

void TScriptRunner::RunStep(const TJson& step) {
    const std::string action = step["do"].get<std::string>();
    if (action.starts_with("answer_") || action == "modal") {
        RunAnswerStep(action, step);
    } else if (step.contains("control") || action == "key") {
        RunControlStep(action, step);
    } else {
        RunHostStep(action, step);
    }
}

void TScriptRunner::RunControlStep(const std::string& action, const TJson& step) {
    auto& a = Automation();
    if (action == "key") {
        const Word key = ScriptKey(Text(step, "key"));
        const TShiftState shift =
            step.contains("shift") ? ScriptShift(Text(step, "shift")) : TShiftState();
        if (step.contains("control")) {
            a.PressKey(FindControl(session_, Text(step, "control")), key, shift);
        } else {
            a.PressKey(key, shift);
        }
        return;
    }
    TControl& control = FindControl(session_, Text(step, "control"));
    if (action == "type") {
        a.TypeText(control, Text(step, "text"));
    } else if (action == "click") {
        a.Click(control);
    } else if (action == "dblclick") {
        a.DblClick(control);
    } else if (action == "focus") {
        a.Focus(control);
    } else if (action == "check") {
        a.Check(control, step["checked"].get<bool>());
    } else {  // select, page: by text or by index
        const char* field = action == "page" ? "page" : (step.contains("item") ? "item" : "index");
        if (step[field].is_number_integer()) {
            a.SelectIndex(control, step[field].get<int>());
        } else {
            a.Select(control, Text(step, field));
        }
    }
}

void TScriptRunner::RunAnswerStep(const std::string& action, const TJson& step) {
    if (action == "answer_box") {
        Automation().AnswerBoxWithButton(Text(step, "button"),
                                         step.contains("contains") ? Text(step, "contains") : "");
        return;
    }
    if (action == "modal") {
        QueueModal(step);
        return;
    }
    if (answers_ == nullptr) throw EAutomationError("The host has no windows to answer");
    if (action == "answer_lookup") {
        answers_->AddLookup(LookupAnswer(step));
    } else if (action == "answer_date") {
        answers_->AddDate(step.contains("date") ? TDateAnswer::On(Text(step, "date"))
                          : Flag(step, "start") ? TDateAnswer::Start()
                                                : TDateAnswer::Cancel());
    } else {
        answers_->AddPhrase(step.contains("code")   ? TPhraseAnswer::ByCode(Text(step, "code"))
                            : step.contains("text") ? TPhraseAnswer::Typed(Text(step, "text"))
                                                    : TPhraseAnswer::Cancel());
    }
}

void TScriptRunner::QueueModal(const TJson& step) {
    const std::string form = Text(step, "form");
    if (step.contains("result")) {
        Automation().AnswerModal(form, ScriptModalResult(Text(step, "result")));
        return;
    }
    const TJson steps = step["steps"];
    // The nested steps run inside the form's modal loop; their failure is recorded there and
    // ends the whole run.
    Automation().AnswerModal(form, [this, steps](TCustomForm&) { Run(steps); });
}

void TScriptRunner::RunHostStep(const std::string& action, const TJson& step) {
    TDLLBaseController* controller = session_.Controller();
    if (controller == nullptr) throw EAutomationError("No controller");
    if (action == "command" || action == "typed_command") {
        const Variant command = JsonToVariant(step["command"]);
        const bool typed = action == "typed_command";
        const std::int32_t result =
            typed ? controller->SendTypedCommand(Integer(step, "kind"), command)
                  : controller->SendCommand(command);
        transcript_.Write("command", {{"operation", typed ? "SendTypedCommand" : "SendCommand"},
                                      {"result", result}});
    } else if (action == "form_info") {
        Variant info;
        const std::int32_t result = controller->GetFormInfo(info);
        transcript_.Write("formInfo", {{"result", result}, {"info", VariantToJson(info)}});
    } else if (action == "version") {
        std::string text;
        controller->GetVersionText(text);
        transcript_.Write("version", {{"text", text}});
    } else if (action == "show" || action == "hide") {
        controller->SetFormVisible(action == "show" ? 1 : 0);
    } else if (action == "free_form") {
        controller->FreeForm();
    } else if (action == "close") {
        TCustomForm* form = session_.Form();
        if (form == nullptr) throw EAutomationError("The form is already gone");
        Automation().CloseForm(*form);
    }
    // "wait": the queued messages run after every step anyway.
}

}  // namespace kv
