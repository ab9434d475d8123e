// Type information: the types of published properties, identifiers of enumerations and sets,
// and the identifier conversions of named integer types.
#include "platform/core/TypInfo.h"

#include <map>
#include <mutex>

#include "platform/core/SysUtils.h"

namespace kv {
namespace {

std::string Trimmed(std::string_view text) {
    return Trim(text);
}

// Types created on demand by name live here for the life of the process.
class NamedTypes {
public:
    const TTypeInfo* Get(std::string_view name, TTypeInfo (*make)(std::string)) {
        std::lock_guard lock(mutex_);
        auto found = types_.find(name);
        if (found != types_.end()) return found->second.get();
        std::unique_ptr<TTypeInfo> info(new TTypeInfo(make(std::string(name))));
        return types_.emplace(std::string(name), std::move(info)).first->second.get();
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::unique_ptr<TTypeInfo>, std::less<>> types_;
};

TTypeInfo MakeInteger(std::string name) {
    return TTypeInfo::Ordinal(tkInteger, std::move(name), std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max());
}

TTypeInfo MakeFloat(std::string name) {
    return TTypeInfo::Float(std::move(name));
}

struct IntegerConsts {
    TIdentToInt identToInt;
    TIntToIdent intToIdent;
};

struct IntegerConstsRegistry {
    std::mutex mutex;
    std::map<const TTypeInfo*, IntegerConsts> byType;
};

IntegerConstsRegistry& ConstsRegistry() {
    static auto* registry = new IntegerConstsRegistry();
    return *registry;
}

}  // namespace

bool TTypeInfo::IsOrdinal() const {
    switch (kind_) {
        case tkInteger:
        case tkChar:
        case tkWChar:
        case tkEnumeration:
        case tkSet:
        case tkInt64:
            return true;
        default:
            return false;
    }
}

TTypeInfo TTypeInfo::Ordinal(TTypeKind kind, std::string name, std::int64_t min, std::int64_t max) {
    TTypeInfo info(kind, std::move(name));
    info.min_ = min;
    info.max_ = max;
    return info;
}

TTypeInfo TTypeInfo::Enumeration(std::string name, std::string_view identifiers) {
    TTypeInfo info(tkEnumeration, std::move(name));
    std::size_t start = 0;
    while (start <= identifiers.size()) {
        std::size_t comma = identifiers.find(',', start);
        if (comma == std::string_view::npos) comma = identifiers.size();
        std::string ident = Trimmed(identifiers.substr(start, comma - start));
        if (ident.find('=') != std::string::npos)
            throw EPropertyError("Enumeration " + info.name_ +
                                 " gives explicit values; published enumerations count from 0");
        if (!ident.empty()) info.names_.push_back(std::move(ident));
        start = comma + 1;
    }
    info.min_ = 0;
    info.max_ = static_cast<std::int64_t>(info.names_.size()) - 1;
    return info;
}

TTypeInfo TTypeInfo::Set(std::string name, const TTypeInfo* compType) {
    TTypeInfo info(tkSet, std::move(name));
    info.compType_ = compType;
    const std::int64_t count = compType->max_ + 1;
    if (compType->kind_ != tkEnumeration || count > 32)
        throw EPropertyError("Set " + info.name_ + " needs an enumeration of at most 32 values");
    info.max_ = static_cast<std::int64_t>((std::uint64_t{1} << count) - 1);
    return info;
}

TTypeInfo TTypeInfo::Float(std::string name) {
    return TTypeInfo(tkFloat, std::move(name));
}

TTypeInfo TTypeInfo::String(TTypeKind kind, std::string name) {
    return TTypeInfo(kind, std::move(name));
}

TTypeInfo TTypeInfo::Class(std::string name, TClass cls) {
    TTypeInfo info(tkClass, std::move(name));
    info.class_ = cls;
    return info;
}

TTypeInfo TTypeInfo::Method(std::string name, const std::type_info& signature) {
    TTypeInfo info(tkMethod, std::move(name));
    info.signature_ = &signature;
    return info;
}

const TTypeInfo* BooleanTypeInfo() {
    static const TTypeInfo* const info =
        new TTypeInfo(TTypeInfo::Enumeration("Boolean", "False, True"));
    return info;
}

const TTypeInfo* CharTypeInfo() {
    static const TTypeInfo* const info = new TTypeInfo(TTypeInfo::Ordinal(tkChar, "Char", 0, 255));
    return info;
}

const TTypeInfo* IntegerTypeInfo() {
    return detail::IntegralTypeInfo(true, 4);
}

const TTypeInfo* Int64TypeInfo() {
    return detail::IntegralTypeInfo(true, 8);
}

const TTypeInfo* DoubleTypeInfo() {
    return detail::FloatTypeInfoOfSize(8);
}

const TTypeInfo* StringTypeInfo() {
    static const TTypeInfo* const info = new TTypeInfo(TTypeInfo::String(tkLString, "String"));
    return info;
}

const TTypeInfo* WideStringTypeInfo() {
    static const TTypeInfo* const info = new TTypeInfo(TTypeInfo::String(tkWString, "WideString"));
    return info;
}

const TTypeInfo* NamedIntegerTypeInfo(std::string_view name) {
    static auto* types = new NamedTypes();
    return types->Get(name, &MakeInteger);
}

const TTypeInfo* NamedFloatTypeInfo(std::string_view name) {
    static auto* types = new NamedTypes();
    return types->Get(name, &MakeFloat);
}

namespace detail {

const TTypeInfo* IntegralTypeInfo(bool isSigned, std::size_t size) {
    using L = std::numeric_limits<std::int64_t>;
    static const TTypeInfo* const shortInt =
        new TTypeInfo(TTypeInfo::Ordinal(tkInteger, "ShortInt", -128, 127));
    static const TTypeInfo* const byte =
        new TTypeInfo(TTypeInfo::Ordinal(tkInteger, "Byte", 0, 255));
    static const TTypeInfo* const smallInt =
        new TTypeInfo(TTypeInfo::Ordinal(tkInteger, "SmallInt", -32768, 32767));
    static const TTypeInfo* const word =
        new TTypeInfo(TTypeInfo::Ordinal(tkInteger, "Word", 0, 65535));
    static const TTypeInfo* const integer =
        new TTypeInfo(TTypeInfo::Ordinal(tkInteger, "Integer", -2147483648LL, 2147483647LL));
    static const TTypeInfo* const cardinal =
        new TTypeInfo(TTypeInfo::Ordinal(tkInteger, "Cardinal", 0, 4294967295LL));
    static const TTypeInfo* const int64 =
        new TTypeInfo(TTypeInfo::Ordinal(tkInt64, "Int64", L::min(), L::max()));
    switch (size) {
        case 1:
            return isSigned ? shortInt : byte;
        case 2:
            return isSigned ? smallInt : word;
        case 4:
            return isSigned ? integer : cardinal;
        default:
            return int64;
    }
}

const TTypeInfo* FloatTypeInfoOfSize(std::size_t size) {
    static const TTypeInfo* const single = new TTypeInfo(TTypeInfo::Float("Single"));
    static const TTypeInfo* const dbl = new TTypeInfo(TTypeInfo::Float("Double"));
    static const TTypeInfo* const extended = new TTypeInfo(TTypeInfo::Float("Extended"));
    if (size == 4) return single;
    return size == 8 ? dbl : extended;
}

}  // namespace detail

std::string GetEnumName(const TTypeInfo* type, int value) {
    if (type == nullptr) return {};
    if (type->Kind() == tkInteger || type->Kind() == tkInt64) return IntToStr(value);
    if (type->Kind() != tkEnumeration) return {};
    const auto& names = type->EnumNames();
    if (value < 0 || static_cast<std::size_t>(value) >= names.size()) return {};
    return names[static_cast<std::size_t>(value)];
}

int GetEnumValue(const TTypeInfo* type, std::string_view name) {
    if (type == nullptr) return -1;
    if (type->Kind() == tkInteger) return StrToIntDef(name, -1);
    if (type->Kind() != tkEnumeration) return -1;
    const auto& names = type->EnumNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name)) return static_cast<int>(i);
    return -1;
}

std::string SetToString(const TTypeInfo* setType, int value, bool brackets) {
    std::string text;
    const TTypeInfo* comp = setType == nullptr ? nullptr : setType->CompType();
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; comp != nullptr && i < 32; ++i) {
        if ((bits & (std::uint32_t{1} << i)) == 0) continue;
        if (!text.empty()) text += ',';
        std::string name = GetEnumName(comp, i);
        text += name.empty() ? IntToStr(i) : name;
    }
    return brackets ? "[" + text + "]" : text;
}

int StringToSet(const TTypeInfo* setType, std::string_view value) {
    if (setType == nullptr || setType->Kind() != tkSet)
        throw EPropertyError("Invalid property type: not a set");
    std::string text = Trimmed(value);
    std::string_view body = text;
    if (!body.empty() && body.front() == '[') body.remove_prefix(1);
    if (!body.empty() && body.back() == ']') body.remove_suffix(1);
    std::uint32_t bits = 0;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t comma = body.find(',', start);
        if (comma == std::string_view::npos) comma = body.size();
        std::string element = Trimmed(body.substr(start, comma - start));
        start = comma + 1;
        if (element.empty()) continue;
        const int item = GetEnumValue(setType->CompType(), element);
        if (item < 0 || item >= 32)
            throw EPropertyConvertError("Invalid property element: " + element);
        bits |= std::uint32_t{1} << item;
    }
    return static_cast<int>(bits);
}

void RegisterIntegerConsts(const TTypeInfo* intType, TIdentToInt identToInt,
                           TIntToIdent intToIdent) {
    IntegerConstsRegistry& registry = ConstsRegistry();
    std::lock_guard lock(registry.mutex);
    registry.byType[intType] = IntegerConsts{identToInt, intToIdent};
}

TIdentToInt FindIdentToInt(const TTypeInfo* intType) {
    IntegerConstsRegistry& registry = ConstsRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.byType.find(intType);
    return found == registry.byType.end() ? nullptr : found->second.identToInt;
}

TIntToIdent FindIntToIdent(const TTypeInfo* intType) {
    IntegerConstsRegistry& registry = ConstsRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.byType.find(intType);
    return found == registry.byType.end() ? nullptr : found->second.intToIdent;
}

bool IdentToInt(std::string_view ident, int& value, std::span<const TIdentMapEntry> map) {
    for (const TIdentMapEntry& entry : map) {
        if (SameText(entry.name, ident)) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

bool IntToIdent(int value, std::string& ident, std::span<const TIdentMapEntry> map) {
    for (const TIdentMapEntry& entry : map) {
        if (entry.value == value) {
            ident = entry.name;
            return true;
        }
    }
    return false;
}

}  // namespace kv
