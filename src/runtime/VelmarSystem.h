// What the configuration readers ask of the system: its ANSI code page and the login name.
#pragma once

#include <string>

namespace kv {

int SystemAnsiCodePage();
std::string LoginName();

}  // namespace kv
