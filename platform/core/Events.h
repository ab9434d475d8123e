// Events: single-slot method pointers, as the platform's components carry them.
//
// An event holds a TMethod { Code, Data }: Code identifies one method of one class (a stable
// address, the same for every binding of that method and the one the class's published method
// table gives), Data is the object it is called on (as TObject*). A TMethod can be read from an
// event, kept anywhere a pointer fits (for instance as the attached pointers of two string-list
// lines), compared, put back into an event and called. An event without Code does nothing when
// called.
//
// Event types are declared with KV_EVENT, one line each:
//   KV_EVENT(TNotifyEvent, void(TObject* Sender));
// and bound to a member function of a TObject-derived class:
//   btnOk->OnClick = TNotifyEvent(this, &TfrmX::btnOkClick);
//   btnOk->OnClick = MakeEvent<TNotifyEvent>(this, &TfrmX::btnOkClick);
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/System.h"

namespace kv {

class TTypeInfo;

struct TMethod {
    void* Code = nullptr;
    void* Data = nullptr;

    friend bool operator==(const TMethod&, const TMethod&) = default;
};

// What a method's Code points to: one per (class, member function), interned for the life of
// the process, so that equal bindings have equal Code.
struct TMethodCode {
    using Thunk = void (*)();
    static constexpr std::size_t kMaxTargetSize = 32;

    Thunk invoker = nullptr;                    // R (*)(void* data, const TMethodCode&, A...)
    const std::type_info* signature = nullptr;  // typeid(R(A...))
    bool (*fitsObject)(void* data) = nullptr;   // Data is an object of the method's class
    alignas(std::max_align_t) unsigned char target[kMaxTargetSize] = {};  // the member pointer
    std::size_t targetSize = 0;
};

namespace detail {

// The interned descriptor for a member pointer of type memberType with the given bytes.
const TMethodCode* InternMethodCode(const std::type_info& memberType, const void* target,
                                    std::size_t size, TMethodCode::Thunk invoker,
                                    const std::type_info& signature,
                                    bool (*fitsObject)(void* data));
// The descriptor behind a Code address, or nullptr when code is no method's Code.
const TMethodCode* FindMethodCode(const void* code);
// The type information of an event type (kind tkMethod), interned by name.
const TTypeInfo* MethodTypeInfo(const char* name, const std::type_info& signature);
enum class BadEventCall { kUnknownCode, kWrongSignature, kWrongObject };
[[noreturn]] void RaiseBadEventCall(BadEventCall reason);

template <class M>
struct MemberFunctionTraits;
template <class C, class R, class... A>
struct MemberFunctionTraits<R (C::*)(A...)> {
    using Class = C;
    using Signature = R(A...);
};
template <class C, class R, class... A>
struct MemberFunctionTraits<R (C::*)(A...) const> : MemberFunctionTraits<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct MemberFunctionTraits<R (C::*)(A...) noexcept> : MemberFunctionTraits<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct MemberFunctionTraits<R (C::*)(A...) const noexcept> : MemberFunctionTraits<R (C::*)(A...)> {
};

template <class C>
bool FitsObject(void* data) {
    return data != nullptr && dynamic_cast<C*>(static_cast<TObject*>(data)) != nullptr;
}

template <class M, class R, class... A>
R InvokeMember(void* data, const TMethodCode& code, A... args) {
    using C = typename MemberFunctionTraits<M>::Class;
    M member;
    std::memcpy(&member, code.target, sizeof(M));
    C* object = data == nullptr ? nullptr : dynamic_cast<C*>(static_cast<TObject*>(data));
    if (object == nullptr) RaiseBadEventCall(BadEventCall::kWrongObject);
    return (object->*member)(std::forward<A>(args)...);
}

template <class M, class R, class... A>
void* CodeOfMember(M member, R (*)(A...)) {
    using C = typename MemberFunctionTraits<M>::Class;
    static_assert(std::is_base_of_v<TObject, C>, "event handlers are methods of TObject classes");
    static_assert(sizeof(M) <= TMethodCode::kMaxTargetSize);
    const auto invoker = reinterpret_cast<TMethodCode::Thunk>(&InvokeMember<M, R, A...>);
    const TMethodCode* code =
        InternMethodCode(typeid(M), &member, sizeof(M), invoker, typeid(R(A...)), &FitsObject<C>);
    return const_cast<TMethodCode*>(code);
}

}  // namespace detail

// The Code of a member function: the same address every time for the same function.
template <class M>
void* MethodCodeOf(M member) {
    using Signature = typename detail::MemberFunctionTraits<M>::Signature;
    return detail::CodeOfMember(member, static_cast<Signature*>(nullptr));
}

template <class Signature>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
    using Signature = R(A...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    explicit TEvent(const TMethod& method) : method_(method) {}
    // Binds a member function of object's class (or of one of its bases) with exactly this
    // event's parameters.
    template <class T, class M>
    TEvent(T* object, M member) {
        using Traits = detail::MemberFunctionTraits<M>;
        static_assert(std::is_same_v<typename Traits::Signature, Signature>,
                      "the method's parameters do not fit the event");
        static_assert(std::is_base_of_v<typename Traits::Class, T>,
                      "the method does not belong to the object's class");
        method_.Code = MethodCodeOf(member);
        method_.Data =
            object == nullptr ? nullptr : static_cast<void*>(static_cast<TObject*>(object));
    }

    const TMethod& Method() const { return method_; }
    void SetMethod(const TMethod& method) { method_ = method; }
    bool Assigned() const { return method_.Code != nullptr; }
    explicit operator bool() const { return Assigned(); }

    // Calls the handler; without one nothing happens (and a value result is R()). A Code that
    // is no method's Code, one of other parameters, or Data that is no object of the method's
    // class raises EInvalidPointer instead of calling into the unknown.
    R operator()(A... args) const {
        if (method_.Code == nullptr) return R();
        const TMethodCode* code = detail::FindMethodCode(method_.Code);
        if (code == nullptr) detail::RaiseBadEventCall(detail::BadEventCall::kUnknownCode);
        if (*code->signature != typeid(Signature))
            detail::RaiseBadEventCall(detail::BadEventCall::kWrongSignature);
        const auto invoker =
            reinterpret_cast<R (*)(void*, const TMethodCode&, A...)>(code->invoker);
        return invoker(method_.Data, *code, std::forward<A>(args)...);
    }

    friend bool operator==(const TEvent& a, const TEvent& b) { return a.method_ == b.method_; }

private:
    TMethod method_;
};

// Declares an event type Name with the given signature, known by name to the published
// property tables (type name "Name", kind tkMethod).
#define KV_EVENT(Name, ...)                                                  \
    struct Name : ::kv::TEvent<__VA_ARGS__> {                                \
        using ::kv::TEvent<__VA_ARGS__>::TEvent;                             \
        static const ::kv::TTypeInfo* TypeInfo() {                           \
            return ::kv::detail::MethodTypeInfo(#Name, typeid(__VA_ARGS__)); \
        }                                                                    \
    }

template <class Event, class T, class M>
Event MakeEvent(T* object, M member) {
    return Event(object, member);
}

}  // namespace kv
