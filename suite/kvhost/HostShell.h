// The host shell kvhost: prepares the installation (HostEnvironment.h), the host services over
// the company database and the application server in this process, runs the plug-in
// (HostSession.h) with a script (ShellScript.h), writes the transcript (Transcript.h) and a
// readable summary.
#pragma once

#include <ostream>
#include <string>

#include "suite/kvhost/HostSession.h"
#include "suite/kvhost/Transcript.h"

namespace kv {

struct THostShellOptions {
    THostSessionOptions session;  // user, company, database: "" takes the script's or default
    bool modelessGiven = false;   // session.modeless was given on the command line
    std::string configDir;        // "" takes DefaultHostConfigDir()
    std::string scriptFile;       // "" runs without a script (the form closes at once)
    std::string transcriptFile;   // "" writes none, "-" standard output
    bool summary = true;
};

// Exit codes of the host shell.
inline constexpr int kExitOk = 0;            // the run went through, whatever the form answered
inline constexpr int kExitScriptFailed = 1;  // a step of the script failed
inline constexpr int kExitUnusable = 2;      // plug-in, configuration or script unusable

int RunHostShell(THostShellOptions options, std::ostream& summary);

// The readable summary of a transcript.
void WriteSummary(const TTranscript& transcript, std::ostream& out);

}  // namespace kv
