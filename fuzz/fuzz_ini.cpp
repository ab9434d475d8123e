// Arbitrary bytes as an INI file: every section and key is read back, the document survives
// being written and read again unchanged, and edits land where reads find them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/IniDocument.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckReadable(const kv::TIniDocument& document) {
    for (const std::string& section : document.SectionNames()) {
        Check(document.HasSection(section));
        for (const auto& [key, value] : document.Entries(section)) {
            const std::string* found = document.Find(section, key);
            Check(found != nullptr && *found == value);
        }
    }
}

bool SameContent(const kv::TIniDocument& a, const kv::TIniDocument& b) {
    if (a.SectionNames() != b.SectionNames()) return false;
    for (const std::string& section : a.SectionNames())
        if (a.Entries(section) != b.Entries(section)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::TIniDocument document;
    document.Parse(text);
    CheckReadable(document);

    kv::TIniDocument again;
    again.Parse(document.Format());
    Check(SameContent(document, again));

    // Edit the first section the way the writers do, then read the edits back.
    const auto sections = document.SectionNames();
    const std::string section = sections.empty() ? "Fuzz" : sections.front();
    if (section.find_first_of("]\r\n") != std::string::npos) return 0;  // writers refuse it
    document.Set(section, "FuzzKey", "fuzz value");
    Check(document.Find(section, "fuzzkey") != nullptr);
    for (const auto& [key, value] : document.Entries(section)) {
        document.RemoveKey(section, key);
        Check(document.Find(section, key) == nullptr);
    }
    again.Parse(document.Format());
    Check(SameContent(document, again));
    document.EraseSection(section);
    Check(!document.HasSection(section));
    return 0;
}
