#include "platform/ui/FormResources.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/core/SysUtils.h"

namespace kv {

namespace {

struct TRegistry {
    std::mutex mutex;
    std::vector<TFormDescriptionText> entries;  // newest last
};

// Lives as long as the process: libraries unregister from their static destructors, which
// may run after this unit's own.
TRegistry& Registry() {
    static auto* registry = new TRegistry();
    return *registry;
}

}  // namespace

void RegisterFormDescription(std::string_view className, std::string_view fileName,
                             std::string_view text) {
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.entries.push_back({std::string(className), std::string(fileName), std::string(text)});
}

void UnregisterFormDescription(std::string_view className, std::string_view fileName) {
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    auto& entries = registry.entries;
    const auto found = std::find_if(entries.rbegin(), entries.rend(), [&](const auto& entry) {
        return SameText(entry.ClassName, className) && entry.FileName == fileName;
    });
    if (found != entries.rend()) entries.erase(std::next(found).base());
}

std::optional<TFormDescriptionText> FindFormDescription(std::string_view className) {
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    const auto& entries = registry.entries;
    const auto found = std::find_if(entries.rbegin(), entries.rend(), [&](const auto& entry) {
        return SameText(entry.ClassName, className);
    });
    if (found == entries.rend()) return std::nullopt;
    return *found;
}

TFormDescriptionRegistration::TFormDescriptionRegistration(const char* className,
                                                           const char* fileName,
                                                           std::string_view text)
    : className_(className), fileName_(fileName) {
    RegisterFormDescription(className, fileName, text);
}

TFormDescriptionRegistration::~TFormDescriptionRegistration() {
    UnregisterFormDescription(className_, fileName_);
}

}  // namespace kv
