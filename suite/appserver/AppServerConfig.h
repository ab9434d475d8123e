// Settings of the application server, shared by the daemon and the in-process module. They
// come from the server's configuration file (INI, section [AppServer]):
//
//     [AppServer]
//     Address=127.0.0.1      ; listen address of the daemon ("" or 0.0.0.0: every IPv4 address)
//     Port=211               ; the clients' default ServerPort
//     Database=/var/lib/kv/company.db
//     LogFile=/var/log/kv/appserver.log   ; empty: standard error
//     FullSync=0             ; 1: every commit reaches the disk before it is acknowledged
//     MaxClients=256
//
// The file is the environment variable KV_APPSERVER_CONFIG, else /etc/kv/appserver.ini; a
// missing file gives the defaults. KV_APPSERVER_DB, when set, names the database instead.
// A relative Database or LogFile path starts at the configuration file's folder.
#pragma once

#include <string>

namespace kv {

struct TAppServerConfig {
    std::string address = "127.0.0.1";
    int port = 211;
    std::string database;
    std::string logFile;
    bool fullSync = false;
    int maxClients = 256;
};

std::string AppServerConfigFileName();
// Reads the file (defaults for what it lacks) and applies KV_APPSERVER_DB. Without any
// database setting the database is "company.db" beside the configuration file.
TAppServerConfig LoadAppServerConfig(const std::string& fileName);

}  // namespace kv
