// Where the installation lies, as the alert-log writers see it.
#pragma once

#include <optional>
#include <string>

namespace kv {

// The registry key of the installation, under HKEY_LOCAL_MACHINE.
inline constexpr const char* kVelmarKey = "Software\\KVT\\Velmar";

// The registry's installation folder for logs: "ClientPath" of "Software\KVT\Velmar", else
// "ServerPath". Empty when the key is missing or both values are empty; nullopt when reading
// the registry failed.
std::optional<std::string> RegistryLogRoot();

// The folder of the running program.
std::string ProgramFolder();

// root + "/Log", with no doubled separator when root already ends in one.
std::string JoinLogFolder(const std::string& root);

}  // namespace kv
