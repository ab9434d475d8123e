#include "src/runtime/VelmarSystem.h"

#include <cstdlib>

namespace kv {

// Interim until the platform's system information unit is in place.
int SystemAnsiCodePage() {
    return 1252;
}

std::string LoginName() {
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

}  // namespace kv
