// Reading and writing published properties by name, checked against their kinds and ranges.
#include <limits>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"

namespace kv {
namespace {

[[noreturn]] void RaiseUnknown(std::string_view name) {
    throw EPropertyError("Property " + std::string(name) + " does not exist");
}

[[noreturn]] void RaiseWrongKind(const TPropInfo* prop, const char* wanted) {
    throw EPropertyError("Invalid property type: " + prop->PropType()->Name() + " (property " +
                         prop->Name() + " is not " + wanted + ")");
}

// The instance as the property's class; refuses a null instance and a property of a class
// the instance does not belong to.
TObject& Checked(TObject* instance, const TPropInfo* prop) {
    if (prop == nullptr) throw EPropertyError("Property does not exist");
    if (instance == nullptr)
        throw EPropertyError("Cannot access property " + prop->Name() + " of a nil object");
    if (!instance->InheritsFrom(prop->DeclaringClass()))
        throw EPropertyError("Property " + prop->Name() + " does not belong to class " +
                             instance->ClassName());
    return *instance;
}

const TPropInfo* Required(TObject* instance, std::string_view name) {
    if (instance == nullptr)
        throw EPropertyError("Cannot access property " + std::string(name) + " of a nil object");
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (prop == nullptr) RaiseUnknown(name);
    return prop;
}

bool IsStringKind(TTypeKind kind) {
    return kind == tkString || kind == tkLString || kind == tkWString;
}

TObject& CheckedKind(TObject* instance, const TPropInfo* prop, bool fits, const char* wanted) {
    TObject& object = Checked(instance, prop);
    if (!fits) RaiseWrongKind(prop, wanted);
    return object;
}

TObject& Ordinal(TObject* instance, const TPropInfo* prop) {
    return CheckedKind(instance, prop, prop != nullptr && prop->PropType()->IsOrdinal(),
                       "an ordinal property");
}

void CheckOrdinalRange(const TPropInfo* prop, std::int64_t value) {
    const TTypeInfo* type = prop->PropType();
    const bool fits = type->Kind() == tkSet
                          ? (static_cast<std::uint64_t>(value) &
                             ~static_cast<std::uint64_t>(type->MaxValue())) == 0
                          : value >= type->MinValue() && value <= type->MaxValue();
    if (!fits)
        throw EPropertyError("Invalid property value " + IntToStr(value) + " for property " +
                             prop->Name() + " of type " + type->Name());
}

std::string MethodText(const TMethod& method) {
    if (method.Code == nullptr || method.Data == nullptr) return {};
    return static_cast<TObject*>(method.Data)->MethodName(method.Code);
}

void SetIntegerText(TObject* instance, const TPropInfo* prop, const std::string& text) {
    int value = 0;
    std::int64_t wide = 0;
    if (TIdentToInt identToInt = FindIdentToInt(prop->PropType());
        identToInt != nullptr && identToInt(text, value)) {
        SetInt64Prop(instance, prop, value);
    } else if (TryStrToInt64(text, wide)) {
        SetInt64Prop(instance, prop, wide);
    } else {
        throw EPropertyConvertError("Invalid property value: " + text);
    }
}

void SetCharText(TObject* instance, const TPropInfo* prop, const std::string& text) {
    int code = 0;
    if (text.size() == 1) {
        code = static_cast<unsigned char>(text[0]);
    } else if (text.size() > 1 && text[0] == '#' && TryStrToInt(text.substr(1), code)) {
    } else {
        throw EPropertyConvertError("Invalid property value: " + text);
    }
    SetInt64Prop(instance, prop, code);
}

void SetEnumText(TObject* instance, const TPropInfo* prop, const std::string& text) {
    int value = GetEnumValue(prop->PropType(), text);
    if (value < 0 && !TryStrToInt(text, value))
        throw EPropertyConvertError("Invalid property element: " + text);
    SetInt64Prop(instance, prop, value);
}

}  // namespace

namespace detail {

void RaiseOrdinalOutOfRange(const char* typeName, std::int64_t value) {
    throw EPropertyError("Invalid property value " + IntToStr(value) + " for type " + typeName);
}

}  // namespace detail

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
    return instance == nullptr ? nullptr : GetPropInfo(instance->ClassType(), name);
}

const TPropInfo* GetPropInfo(TClass cls, std::string_view name) {
    if (cls == nullptr || name.empty()) return nullptr;
    return cls->FindProperty(name);
}

std::vector<const TPropInfo*> GetPropList(const TObject* instance) {
    return instance == nullptr ? std::vector<const TPropInfo*>{}
                               : GetPropList(instance->ClassType());
}

std::vector<const TPropInfo*> GetPropList(TClass cls) {
    return cls == nullptr ? std::vector<const TPropInfo*>{} : cls->Properties();
}

bool IsPublishedProp(const TObject* instance, std::string_view name) {
    return GetPropInfo(instance, name) != nullptr;
}

bool IsPublishedProp(TClass cls, std::string_view name) {
    return GetPropInfo(cls, name) != nullptr;
}

TTypeKind PropType(const TObject* instance, std::string_view name) {
    if (instance == nullptr) RaiseUnknown(name);
    return PropType(instance->ClassType(), name);
}

TTypeKind PropType(TClass cls, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(cls, name);
    if (prop == nullptr) RaiseUnknown(name);
    return prop->PropType()->Kind();
}

bool PropIsType(const TObject* instance, std::string_view name, TTypeKind kind) {
    return PropType(instance, name) == kind;
}

bool IsStoredProp(TObject* instance, const TPropInfo* prop) {
    return prop->IsStored(Checked(instance, prop));
}

std::int64_t GetInt64Prop(TObject* instance, const TPropInfo* prop) {
    return std::get<std::int64_t>(prop->GetValue(Ordinal(instance, prop)));
}

std::int64_t GetInt64Prop(TObject* instance, std::string_view name) {
    return GetInt64Prop(instance, Required(instance, name));
}

void SetInt64Prop(TObject* instance, const TPropInfo* prop, std::int64_t value) {
    TObject& object = Ordinal(instance, prop);
    CheckOrdinalRange(prop, value);
    prop->SetValue(object, value);
}

void SetInt64Prop(TObject* instance, std::string_view name, std::int64_t value) {
    SetInt64Prop(instance, Required(instance, name), value);
}

int GetOrdProp(TObject* instance, const TPropInfo* prop) {
    // Unsigned 32-bit values come back as the platform's 32-bit ordinal, bit for bit.
    return static_cast<std::int32_t>(GetInt64Prop(instance, prop));
}

int GetOrdProp(TObject* instance, std::string_view name) {
    return GetOrdProp(instance, Required(instance, name));
}

void SetOrdProp(TObject* instance, const TPropInfo* prop, int value) {
    std::int64_t wide = value;
    if (prop != nullptr && value < 0 && prop->PropType()->MinValue() >= 0 &&
        prop->PropType()->MaxValue() > std::numeric_limits<std::int32_t>::max())
        wide = static_cast<std::uint32_t>(value);
    SetInt64Prop(instance, prop, wide);
}

void SetOrdProp(TObject* instance, std::string_view name, int value) {
    SetOrdProp(instance, Required(instance, name), value);
}

std::string GetEnumProp(TObject* instance, const TPropInfo* prop) {
    CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkEnumeration,
                "an enumeration");
    return GetEnumName(prop->PropType(), GetOrdProp(instance, prop));
}

std::string GetEnumProp(TObject* instance, std::string_view name) {
    return GetEnumProp(instance, Required(instance, name));
}

void SetEnumProp(TObject* instance, const TPropInfo* prop, std::string_view value) {
    CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkEnumeration,
                "an enumeration");
    const int ordinal = GetEnumValue(prop->PropType(), Trim(value));
    if (ordinal < 0) throw EPropertyConvertError("Invalid property element: " + std::string(value));
    SetOrdProp(instance, prop, ordinal);
}

void SetEnumProp(TObject* instance, std::string_view name, std::string_view value) {
    SetEnumProp(instance, Required(instance, name), value);
}

std::string GetSetProp(TObject* instance, const TPropInfo* prop, bool brackets) {
    CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkSet, "a set");
    return SetToString(prop->PropType(), GetOrdProp(instance, prop), brackets);
}

std::string GetSetProp(TObject* instance, std::string_view name, bool brackets) {
    return GetSetProp(instance, Required(instance, name), brackets);
}

void SetSetProp(TObject* instance, const TPropInfo* prop, std::string_view value) {
    CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkSet, "a set");
    SetInt64Prop(instance, prop, static_cast<std::uint32_t>(StringToSet(prop->PropType(), value)));
}

void SetSetProp(TObject* instance, std::string_view name, std::string_view value) {
    SetSetProp(instance, Required(instance, name), value);
}

std::string GetStrProp(TObject* instance, const TPropInfo* prop) {
    TObject& object =
        CheckedKind(instance, prop, prop != nullptr && IsStringKind(prop->PropType()->Kind()),
                    "a string property");
    return std::get<std::string>(prop->GetValue(object));
}

std::string GetStrProp(TObject* instance, std::string_view name) {
    return GetStrProp(instance, Required(instance, name));
}

void SetStrProp(TObject* instance, const TPropInfo* prop, std::string_view value) {
    TObject& object =
        CheckedKind(instance, prop, prop != nullptr && IsStringKind(prop->PropType()->Kind()),
                    "a string property");
    prop->SetValue(object, std::string(value));
}

void SetStrProp(TObject* instance, std::string_view name, std::string_view value) {
    SetStrProp(instance, Required(instance, name), value);
}

double GetFloatProp(TObject* instance, const TPropInfo* prop) {
    TObject& object =
        CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkFloat,
                    "a floating-point property");
    return std::get<double>(prop->GetValue(object));
}

double GetFloatProp(TObject* instance, std::string_view name) {
    return GetFloatProp(instance, Required(instance, name));
}

void SetFloatProp(TObject* instance, const TPropInfo* prop, double value) {
    TObject& object =
        CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkFloat,
                    "a floating-point property");
    prop->SetValue(object, value);
}

void SetFloatProp(TObject* instance, std::string_view name, double value) {
    SetFloatProp(instance, Required(instance, name), value);
}

TObject* GetObjectProp(TObject* instance, const TPropInfo* prop) {
    TObject& object =
        CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkClass,
                    "an object property");
    return std::get<TObject*>(prop->GetValue(object));
}

TObject* GetObjectProp(TObject* instance, std::string_view name) {
    return GetObjectProp(instance, Required(instance, name));
}

void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value) {
    TObject& object =
        CheckedKind(instance, prop, prop != nullptr && prop->PropType()->Kind() == tkClass,
                    "an object property");
    if (value != nullptr && !value->InheritsFrom(prop->PropType()->ClassType()))
        throw EPropertyError("Invalid property value: a " + value->ClassName() +
                             " cannot be stored in property " + prop->Name() + " of type " +
                             prop->PropType()->Name());
    prop->SetValue(object, value);
}

void SetObjectProp(TObject* instance, std::string_view name, TObject* value) {
    SetObjectProp(instance, Required(instance, name), value);
}

TClass GetObjectPropClass(TObject* instance, std::string_view name) {
    const TPropInfo* prop = Required(instance, name);
    if (prop->PropType()->Kind() != tkClass) RaiseWrongKind(prop, "an object property");
    return prop->PropType()->ClassType();
}

TMethod GetMethodProp(TObject* instance, const TPropInfo* prop) {
    TObject& object = CheckedKind(
        instance, prop, prop != nullptr && prop->PropType()->Kind() == tkMethod, "an event");
    return std::get<TMethod>(prop->GetValue(object));
}

TMethod GetMethodProp(TObject* instance, std::string_view name) {
    return GetMethodProp(instance, Required(instance, name));
}

void SetMethodProp(TObject* instance, const TPropInfo* prop, const TMethod& value) {
    TObject& object = CheckedKind(
        instance, prop, prop != nullptr && prop->PropType()->Kind() == tkMethod, "an event");
    if (value.Code != nullptr) {
        const TMethodCode* code = detail::FindMethodCode(value.Code);
        if (code == nullptr)
            throw EPropertyError("Invalid method address for event " + prop->Name());
        const std::string shown = MethodText(value);
        const std::string method = shown.empty() ? std::string("The handler") : "Method " + shown;
        if (*code->signature != *prop->PropType()->MethodSignature())
            throw EPropertyError(method + " does not fit event " + prop->Name() + " of type " +
                                 prop->PropType()->Name());
        if (!code->fitsObject(value.Data))
            throw EPropertyError(method + " for event " + prop->Name() +
                                 " needs an object of its class");
    }
    prop->SetValue(object, value);
}

void SetMethodProp(TObject* instance, std::string_view name, const TMethod& value) {
    SetMethodProp(instance, Required(instance, name), value);
}

TMethod MethodOf(TObject* instance, std::string_view methodName) {
    if (instance == nullptr) return {};
    void* code = instance->MethodAddress(methodName);
    if (code == nullptr) return {};
    return TMethod{code, static_cast<void*>(instance)};
}

std::string GetPropText(TObject* instance, const TPropInfo* prop) {
    Checked(instance, prop);
    const TTypeInfo* type = prop->PropType();
    switch (type->Kind()) {
        case tkInteger:
        case tkInt64: {
            const std::int64_t value = GetInt64Prop(instance, prop);
            std::string ident;
            TIntToIdent intToIdent = FindIntToIdent(type);
            if (intToIdent != nullptr && std::in_range<int>(value) &&
                intToIdent(static_cast<int>(value), ident))
                return ident;
            return IntToStr(value);
        }
        case tkChar:
        case tkWChar:
            return std::string(1, static_cast<char>(GetOrdProp(instance, prop)));
        case tkEnumeration:
            return GetEnumProp(instance, prop);
        case tkSet:
            return GetSetProp(instance, prop, true);
        case tkFloat:
            return FloatToStr(GetFloatProp(instance, prop));
        case tkString:
        case tkLString:
        case tkWString:
            return GetStrProp(instance, prop);
        case tkMethod:
            return MethodText(GetMethodProp(instance, prop));
        default:
            return {};
    }
}

void SetPropText(TObject* instance, const TPropInfo* prop, std::string_view value) {
    Checked(instance, prop);
    const std::string trimmed = Trim(value);
    switch (prop->PropType()->Kind()) {
        case tkInteger:
        case tkInt64:
            return SetIntegerText(instance, prop, trimmed);
        case tkChar:
        case tkWChar:
            return SetCharText(instance, prop, std::string(value));
        case tkEnumeration:
            return SetEnumText(instance, prop, trimmed);
        case tkSet: {
            int bits = 0;
            if (TryStrToInt(trimmed, bits)) return SetOrdProp(instance, prop, bits);
            return SetSetProp(instance, prop, trimmed);
        }
        case tkFloat: {
            double number = 0;
            if (!TryStrToFloat(trimmed, number))
                throw EPropertyConvertError("Invalid property value: " + std::string(value));
            return SetFloatProp(instance, prop, number);
        }
        case tkString:
        case tkLString:
        case tkWString:
            return SetStrProp(instance, prop, value);
        default:
            RaiseWrongKind(prop, "settable from text");
    }
}

}  // namespace kv
