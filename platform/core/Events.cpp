#include "platform/core/Events.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeindex>
#include <unordered_set>

#include "platform/core/TypInfo.h"

namespace kv::detail {
namespace {

// Descriptors are never freed while the process runs, so a Code saved anywhere stays valid;
// the set answers whether an address handed back (from a string list, say) is one of them.
struct MethodCodeRegistry {
    std::mutex mutex;
    std::map<std::pair<std::type_index, std::string>, std::unique_ptr<TMethodCode>> byMember;
    std::unordered_set<const void*> codes;
};

MethodCodeRegistry& Registry() {
    // Never destroyed: objects destroyed at exit may still call or compare events.
    static auto* registry = new MethodCodeRegistry();
    return *registry;
}

struct MethodTypeRegistry {
    std::mutex mutex;
    std::map<std::string, std::unique_ptr<TTypeInfo>, std::less<>> byName;
};

}  // namespace

const TMethodCode* InternMethodCode(const std::type_info& memberType, const void* target,
                                    std::size_t size, TMethodCode::Thunk invoker,
                                    const std::type_info& signature,
                                    bool (*fitsObject)(void* data)) {
    MethodCodeRegistry& registry = Registry();
    std::string bytes(static_cast<const char*>(target), size);
    std::lock_guard lock(registry.mutex);
    auto& slot = registry.byMember[{std::type_index(memberType), bytes}];
    if (!slot) {
        slot = std::make_unique<TMethodCode>();
        slot->invoker = invoker;
        slot->signature = &signature;
        slot->fitsObject = fitsObject;
        std::memcpy(slot->target, target, size);
        slot->targetSize = size;
        registry.codes.insert(slot.get());
    }
    return slot.get();
}

const TMethodCode* FindMethodCode(const void* code) {
    MethodCodeRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    if (registry.codes.count(code) == 0) return nullptr;
    return static_cast<const TMethodCode*>(code);
}

const TTypeInfo* MethodTypeInfo(const char* name, const std::type_info& signature) {
    static auto* registry = new MethodTypeRegistry();
    std::lock_guard lock(registry->mutex);
    auto found = registry->byName.find(std::string_view(name));
    if (found != registry->byName.end()) return found->second.get();
    std::unique_ptr<TTypeInfo> info(new TTypeInfo(TTypeInfo::Method(name, signature)));
    return registry->byName.emplace(name, std::move(info)).first->second.get();
}

void RaiseBadEventCall(BadEventCall reason) {
    switch (reason) {
        case BadEventCall::kWrongSignature:
            throw EInvalidPointer("Event handler does not fit the parameters of its event");
        case BadEventCall::kWrongObject:
            throw EInvalidPointer("Event handler is called without an object of its class");
        case BadEventCall::kUnknownCode:
            break;
    }
    throw EInvalidPointer("Event handler address is no method");
}

}  // namespace kv::detail
