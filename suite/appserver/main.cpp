// kvappserver: the application server daemon. Settings come from the server configuration
// file (AppServerConfig.h); the command line overrides them. SIGTERM or SIGINT shut it down
// cleanly: no new connections, every open one closed, the database left consistent.
#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "suite/appserver/AppServerDaemon.h"

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) {
    stopRequested = true;
}

void InstallSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

// Writes the port through a temporary file and a rename, so a reader never sees half of it.
void WritePortFile(const std::string& fileName, int port) {
    const std::string temporary = fileName + ".tmp";
    std::ofstream(temporary) << port << "\n";
    std::filesystem::rename(temporary, fileName);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"kvappserver: the application server ReportCounterS.dmReportCounter"};
    std::string configFile = kv::AppServerConfigFileName();
    app.add_option("-c,--config", configFile, "server configuration file (INI)");
    std::string address, database, logFile, portFile;
    int port = -1;
    bool fullSync = false;
    app.add_option("-a,--address", address, "listen address");
    app.add_option("-p,--port", port, "listen port (0: any free port)")
        ->check(CLI::Range(0, 65535));
    app.add_option("-d,--database", database, "SQLite company database file");
    app.add_option("-l,--log", logFile, "log file (default: standard error)");
    app.add_option("--port-file", portFile, "write the listening port to this file");
    app.add_flag("--full-sync", fullSync, "wait for the disk on every commit");
    CLI11_PARSE(app, argc, argv);

    try {
        kv::TAppServerConfig config = kv::LoadAppServerConfig(configFile);
        if (app.count("--address")) config.address = address;
        if (port >= 0) config.port = port;
        if (!database.empty()) config.database = database;
        if (!logFile.empty()) config.logFile = logFile;
        if (fullSync) config.fullSync = true;
        InstallSignals();
        kv::TAppServerDaemon daemon(config);
        if (!portFile.empty()) WritePortFile(portFile, daemon.Port());
        daemon.Run(stopRequested);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvappserver: %s\n", error.what());
        return 1;
    }
}
