// kvhost: the suite's host shell. Loads a report plug-in by path, lets it create its condition
// form with the user's parameters and shows it; with --script it runs unattended, doing what
// the script says and writing a transcript (docs/kvhost.md).
#include <CLI/CLI.hpp>
#include <iostream>

#include "platform/core/Modules.h"
#include "platform/core/SysUtils.h"
#include "suite/kvhost/HostShell.h"

int main(int argc, char** argv) {
    kv::THostShellOptions options;
    // Left empty, user, company and database come from the script or the defaults.
    options.session.user.clear();
    options.session.company.clear();
    options.session.database.clear();
    options.session.pluginPath = kv::ExtractFilePath(kv::GetModuleFileName(0)) + "KPQX07C.so";
    CLI::App app{"kvhost: runs a report plug-in inside the suite's host shell"};
    app.add_option("-u,--user", options.session.user, "user code (default 796)");
    app.add_option("-c,--company", options.session.company, "company code (default DAZudo60)");
    app.add_option("-d,--database", options.session.database,
                   "company database name (default DAZudo60)");
    app.add_option("-p,--plugin", options.session.pluginPath, "the plug-in library")
        ->capture_default_str();
    app.add_option("--config", options.configDir,
                   "configuration folder (default $KV_HOST_CONFIG or ~/.local/share/kvhost)");
    app.add_option("-s,--script", options.scriptFile, "JSON script to run unattended")
        ->check(CLI::ExistingFile);
    app.add_option("-t,--transcript", options.transcriptFile,
                   "transcript file (JSON lines; - for standard output)");
    auto* modeless = app.add_flag("--modeless", options.session.modeless,
                                  "show the form modeless instead of modally");
    bool quiet = false;
    app.add_flag("-q,--quiet", quiet, "no summary on standard output");
    CLI11_PARSE(app, argc, argv);
    options.modelessGiven = modeless->count() > 0;
    options.summary = !quiet;
    return kv::RunHostShell(options, std::cout);
}
