// Arbitrary bytes as a scrambled password: unscrambling never fails badly, every byte string
// survives scrambling and unscrambling, and valid hexadecimal unscrambles to the password that
// scrambles back to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "src/runtime/BRAVNGeneratorU.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Error reports of bad pairs go to a folder that cannot be created, so the run writes nothing.
void RouteReportsNowhere() {
    static bool done = false;
    if (done) return;
    done = true;
    const auto registry = std::filesystem::temp_directory_path() / "kv-fuzz-unscramble.reg";
    std::ofstream(registry) << "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\n"
                               "ClientPath=/dev/null\n";
    setenv("KV_REGISTRY_FILE", registry.c_str(), 1);
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RouteReportsNowhere();
    const std::string text(reinterpret_cast<const char*>(data), size);

    if (text != kv::kNoPasswordMarker)
        Check(kv::UnscramblePassword(kv::ScramblePassword(text)) == text);

    const std::string password = kv::UnscramblePassword(text);
    const std::string pairs = text.substr(0, text.size() - text.size() % 2);
    bool hex = true;
    for (char c : pairs)
        hex = hex && IsHex(c);
    if (!hex) {
        Check(password == kv::kPasswordErrorMarker);
        return 0;
    }
    Check(password.size() == pairs.size() / 2 || password.empty());
    if (!password.empty()) Check(kv::ScramblePassword(password) == Upper(pairs));
    return 0;
}
