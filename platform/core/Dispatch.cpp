#include "platform/core/Dispatch.h"

#include <new>
#include <string>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

std::string CountText(std::size_t minArgs, std::size_t maxArgs) {
    if (minArgs == maxArgs) return std::to_string(minArgs);
    if (maxArgs == TAutoObject::kAnyCount) return "at least " + std::to_string(minArgs);
    return std::to_string(minArgs) + " to " + std::to_string(maxArgs);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TAutoObject

void TAutoObject::RegisterMethod(std::string_view name, MethodFn fn, std::size_t minArgs,
                                 std::size_t maxArgs) {
    Member& member = members_[LowerCase(name)];
    member = Member{};
    member.name = std::string(name);
    member.method = std::move(fn);
    member.minArgs = minArgs;
    member.maxArgs = maxArgs;
}

void TAutoObject::RegisterProperty(std::string_view name, GetterFn get, SetterFn put) {
    Member& member = members_[LowerCase(name)];
    member = Member{};
    member.name = std::string(name);
    member.get = std::move(get);
    member.put = std::move(put);
}

bool TAutoObject::HasMember(std::string_view name) const {
    return members_.contains(LowerCase(name));
}

Variant TAutoObject::Invoke(std::string_view name, DispatchFlags flags,
                            std::vector<Variant>& args) {
    auto it = members_.find(LowerCase(name));
    if (it == members_.end()) throw EOleSysError("Unknown name " + Quoted(name));
    // The member's own errors are the object's answer; they travel to the caller as
    // EOleException with the member's message, as an automation server reports them.
    try {
        return CallMember(it->second, flags, args);
    } catch (const EOleSysError&) {
        throw;
    } catch (const Exception& e) {
        throw EOleException(e.Message());
    } catch (const std::bad_alloc&) {
        throw EOleException("Out of memory");
    } catch (const std::exception& e) {
        throw EOleException(e.what());
    }
}

// Dispatcher errors (wrong kind of access, wrong count) are raised before the member runs and
// are not part of its answer.
Variant TAutoObject::CallMember(const Member& member, DispatchFlags flags,
                                std::vector<Variant>& args) {
    if ((flags & kDispatchPropertyPut) != 0) {
        if (!member.put) {
            throw EOleSysError(member.get ? "Property " + Quoted(member.name) + " is read-only"
                                          : "Member not found " + Quoted(member.name));
        }
        if (args.size() != 1) {
            throw EOleSysError("Invalid number of parameters for " + Quoted(member.name) +
                               ": 1 expected");
        }
        Variant value = args.back();
        try {
            member.put(value);
        } catch (const EOleSysError& e) {
            throw EOleException(e.Message());  // raised by the setter itself
        }
        return Variant();
    }
    if (member.method) {
        if (args.size() < member.minArgs || args.size() > member.maxArgs) {
            throw EOleSysError("Invalid number of parameters for " + Quoted(member.name) + ": " +
                               CountText(member.minArgs, member.maxArgs) + " expected, " +
                               std::to_string(args.size()) + " given");
        }
        try {
            return member.method(args);
        } catch (const EOleSysError& e) {
            throw EOleException(e.Message());
        }
    }
    if (!member.get) throw EOleSysError("Member not found " + Quoted(member.name));
    if (!args.empty()) {
        throw EOleSysError("Invalid number of parameters for " + Quoted(member.name) +
                           ": 0 expected, " + std::to_string(args.size()) + " given");
    }
    try {
        return member.get();
    } catch (const EOleSysError& e) {
        throw EOleException(e.Message());
    }
}

// ---------------------------------------------------------------------------------------------
// Calls on variants

Variant OleInvoke(const Variant& object, std::string_view name, DispatchFlags flags,
                  std::vector<Variant>& args) {
    const Variant& target = object.Deref();
    if (VarType(target) != varDispatch || VarIsClear(target))
        throw EOleError("Variant does not reference an automation object");
    DispatchPtr dispatch = target.AsDispatch();  // keeps the object alive during the call

    // The callee sees values; Ref markers are replaced for the call and their targets receive
    // what the callee left in those arguments.
    std::vector<std::pair<std::size_t, Variant*>> refs;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].IsByRef()) {
            refs.emplace_back(i, &args[i].Deref());
            Variant value = args[i].Deref();
            args[i] = std::move(value);
        }
    }
    Variant result = dispatch->Invoke(name, flags, args);
    for (auto& [index, ref] : refs) {
        if (index < args.size()) *ref = args[index];
    }
    return result;
}

Variant OleCall(const Variant& object, std::string_view name, std::vector<Variant>& args) {
    return OleInvoke(object, name, kDispatchMethod | kDispatchPropertyGet, args);
}

Variant OleCall(const Variant& object, std::string_view name, std::initializer_list<Variant> args) {
    std::vector<Variant> values(args);
    return OleCall(object, name, values);
}

Variant OleGet(const Variant& object, std::string_view name, std::initializer_list<Variant> args) {
    std::vector<Variant> values(args);
    return OleInvoke(object, name, kDispatchPropertyGet, values);
}

void OlePut(const Variant& object, std::string_view name, const Variant& value) {
    std::vector<Variant> values{Variant(value.Deref())};
    OleInvoke(object, name, kDispatchPropertyPut, values);
}

}  // namespace kv
