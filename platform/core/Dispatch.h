// Late-bound automation: objects answering method calls, property reads and property writes
// by name, the way automation clients reach the host, the application server and the other
// outside objects.
//
// Ownership: objects are held by std::shared_ptr (DispatchPtr, also inside a Variant); the
// last holder frees the object. Dispatch derives from enable_shared_from_this, so a member can
// hand out its own object (Variant(shared_from_this())).
//
// Arguments travel in a std::vector<Variant> that the callee may write into: every argument
// is by reference at this level, and the caller reads the written values back from the same
// vector after the call. Callers that pass a braced list mark the arguments they want back
// with VarRef(variable) (see OleCall).
//
// Errors: a name the object does not know raises EOleSysError ("Unknown name ..."), a wrong
// argument count EOleSysError ("Invalid number of parameters ..."), an error raised inside the
// member reaches the caller as EOleException with the member's message. A call on a variant
// that holds no object raises EOleError ("Variant does not reference an automation object").
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/Variant.h"

namespace kv {

// What an Invoke asks for; a caller may combine kDispatchMethod and kDispatchPropertyGet, as
// automation clients do when the result is used and they cannot tell a method from a
// property.
using DispatchFlags = unsigned;
inline constexpr DispatchFlags kDispatchMethod = 1;
inline constexpr DispatchFlags kDispatchPropertyGet = 2;
inline constexpr DispatchFlags kDispatchPropertyPut = 4;

class Dispatch : public std::enable_shared_from_this<Dispatch> {
public:
    Dispatch() = default;
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
    virtual ~Dispatch() = default;

    // Calls the member `name` (compared without regard to letter case). For a property put the
    // new value is the last element of args. The callee may change args; the caller reads
    // by-reference results from it. Returns the member's result (unassigned for none).
    virtual Variant Invoke(std::string_view name, DispatchFlags flags,
                           std::vector<Variant>& args) = 0;
};

// An automation object whose members are registered by name: the usual way to write one.
//
//     auto counter = std::make_shared<TAutoObject>();
//     counter->RegisterProperty("Count", [&] { return Variant(n); },
//                               [&](const Variant& v) { n = v.AsInteger(); });
//     counter->RegisterMethod("Add", [&](std::vector<Variant>& args) {
//         n += args[0].AsInteger();
//         return Variant(n);
//     }, 1, 1);
//
// Classes derive from it and register their members in the constructor. A method also answers
// a property read and a read-only property also answers a method call without arguments, as
// late-bound clients do not distinguish the two. Registering a name again replaces it.
class TAutoObject : public Dispatch {
public:
    using MethodFn = std::function<Variant(std::vector<Variant>& args)>;
    using GetterFn = std::function<Variant()>;
    using SetterFn = std::function<void(const Variant& value)>;

    static constexpr std::size_t kAnyCount = std::numeric_limits<std::size_t>::max();

    // fn receives the arguments and may write into them (by-reference results). A call with
    // fewer than minArgs or more than maxArgs arguments raises EOleSysError before fn runs.
    void RegisterMethod(std::string_view name, MethodFn fn, std::size_t minArgs = 0,
                        std::size_t maxArgs = kAnyCount);
    // A property without arguments; without a setter it is read-only.
    void RegisterProperty(std::string_view name, GetterFn get, SetterFn put = nullptr);
    bool HasMember(std::string_view name) const;

    Variant Invoke(std::string_view name, DispatchFlags flags, std::vector<Variant>& args) override;

private:
    struct Member {
        std::string name;  // as registered, for messages
        MethodFn method;
        std::size_t minArgs = 0;
        std::size_t maxArgs = kAnyCount;
        GetterFn get;
        SetterFn put;
    };
    Variant CallMember(const Member& member, DispatchFlags flags, std::vector<Variant>& args);

    std::unordered_map<std::string, Member> members_;  // key: name in lower case
};

// ---------------------------------------------------------------------------------------------
// Calls on a variant that holds an object

// Calls a method (or reads a property) with the arguments. Arguments given as VarRef(x) are
// passed by reference: x receives what the callee wrote into that argument.
//     OleCall(validator, "QueryData", {table, kind, db, params, VarRef(rows)});
Variant OleCall(const Variant& object, std::string_view name,
                std::initializer_list<Variant> args = {});
// The same with an argument vector that receives everything the callee wrote back.
Variant OleCall(const Variant& object, std::string_view name, std::vector<Variant>& args);
// Reads a property (indexed when arguments are given; VarRef works as with OleCall).
Variant OleGet(const Variant& object, std::string_view name,
               std::initializer_list<Variant> args = {});
// Writes a property.
void OlePut(const Variant& object, std::string_view name, const Variant& value);
// The lowest-level call: flags as Invoke takes them, VarRef markers in args resolved and
// written back.
Variant OleInvoke(const Variant& object, std::string_view name, DispatchFlags flags,
                  std::vector<Variant>& args);

}  // namespace kv
