// The installation a host shell runs in: its configuration folder, made ready on first use.
//
// The folder holds (each written with defaults when missing, never overwritten):
//   registry.ini    the registry the plug-in reads: Software\KVT\Velmar with ClientPath and
//                   ServerPath naming this folder
//   VelmarC.ini     the client configuration: ComputerName=127.0.0.1 (the application server
//                   runs inside the host), code pages 936
//   appserver.ini   the application server's settings: Database=company.db
//   company.db      the company database shared by the host services and the application
//                   server (created with the demo data on first use)
// and the process environment points the platform's readers at them (KV_REGISTRY_FILE,
// KV_APPSERVER_CONFIG).
#pragma once

#include <string>

namespace kv {

struct THostEnvironment {
    std::string configDir;     // absolute, ending in "/"
    std::string databasePath;  // the company database file
};

// The default folder: KV_HOST_CONFIG, else $HOME/.local/share/kvhost, else ./kvhost-config.
std::string DefaultHostConfigDir();

// Creates the folder and the missing files and sets the environment. Raises EInOutError when
// the folder or a file cannot be written.
THostEnvironment PrepareHostEnvironment(const std::string& configDir);

}  // namespace kv
