// The host shell's scripts: what a user would do with the plug-in's form, written down as JSON
// (docs/kvhost.md has the format), and the runner that does it.
//
// A script is {"steps": [...]} (optionally with "user", "company", "database", "modeless") or
// just the list of steps. Each step is an object whose "do" names the action: type, click,
// dblclick, focus, key, select, page, check, close, show, hide, answer_box, answer_lookup,
// answer_date, answer_phrase, modal, command, typed_command, form_info, version, free_form,
// wait. Answers (answer_*, modal) are queued and used by the next box, lookup, date entry or
// modal form that fits them, so they come before the step that opens what they answer.
#pragma once

#include <string>

#include "suite/kvhost/HostSession.h"
#include "suite/kvhost/Transcript.h"
#include "suite/kvhost/VariantJson.h"

namespace kv {

class THostScript;

// Reads a script file. Raises EInOutError when it cannot be read and EConvertError (with the
// parser's position) when it is no JSON, is neither an object with "steps" nor a list, or
// holds a step that is no object with a known "do".
TJson LoadShellScript(const std::string& fileName);
// The same checks on a script already parsed; answers its list of steps.
TJson ShellScriptSteps(const TJson& script);

class TScriptRunner {
public:
    // answers may be null (no host services: answer_lookup/date/phrase then fail).
    TScriptRunner(THostSession& session, THostScript* answers, TTranscript& transcript);

    // Runs the steps in order, each followed by the queued messages. The first step that fails
    // is recorded ("error" with its index and message) and ends the run: false. Steps of nested
    // modal forms count in the same way.
    bool Run(const TJson& steps);
    bool Failed() const { return failed_; }

private:
    void RunStep(const TJson& step);
    void RunControlStep(const std::string& action, const TJson& step);
    void RunAnswerStep(const std::string& action, const TJson& step);
    void RunHostStep(const std::string& action, const TJson& step);
    void QueueModal(const TJson& step);

    THostSession& session_;
    THostScript* answers_;
    TTranscript& transcript_;
    bool failed_ = false;
    int stepNumber_ = 0;
};

}  // namespace kv
