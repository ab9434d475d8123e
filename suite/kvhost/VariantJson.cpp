#include "suite/kvhost/VariantJson.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

using json = TJson;

constexpr int kMaxDepth = 32;

std::string DateText(double value) {
    const bool millis = std::fmod(std::fabs(value) * 86400000.0, 1000.0) >= 0.5;
    return FormatDateTime(millis ? "yyyy-mm-dd hh:nn:ss.zzz" : "yyyy-mm-dd hh:nn:ss", value);
}

// The variant keeps an error code to itself but for its debug text, "Error(code)".
std::int64_t ErrorCode(const Variant& v) {
    const std::string text = VarToDebugText(v);
    return StrToInt64Def(Copy(text, 7, static_cast<int>(text.size()) - 7), 0);
}

json Bounded(json items, int low) {
    if (low == 0) return items;
    return json{{"low", low}, {"items", std::move(items)}};
}

json ArrayToJson(const Variant& value, int depth);

json ToJson(const Variant& v, int depth) {
    if (depth > kMaxDepth) return "(nested too deeply)";
    if (v.IsArray()) return ArrayToJson(v, depth);
    switch (VarType(v) & varTypeMask) {
        case varEmpty:
            return nullptr;
        case varNull:
            return json{{"null", true}};
        case varBoolean:
            return v.AsBoolean();
        case varSingle:
        case varDouble:
        case varCurrency:
            return v.AsDouble();
        case varDate:
            return json{{"date", DateText(v.AsDate())}};
        case varError:
            return json{{"error", ErrorCode(v)}};
        case varDispatch:
            return "(object)";
        case varUInt64:
        case varLongWord:
            return static_cast<std::uint64_t>(v.AsInt64());
        case varString:
        case varOleStr:
            return v.AsString();
        default:
            return v.AsInt64();
    }
}

json ArrayToJson(const Variant& value, int depth) {
    if (value.DimCount() == 1) {
        json items = json::array();
        for (int i = value.LowBound(1); i <= value.HighBound(1); ++i)
            items.push_back(ToJson(value[i], depth + 1));
        return Bounded(std::move(items), value.LowBound(1));
    }
    if (value.DimCount() != 2) return "(array of " + std::to_string(value.DimCount()) + " dims)";
    json rows = json::array();
    for (int i = value.LowBound(1); i <= value.HighBound(1); ++i) {
        json row = json::array();
        for (int j = value.LowBound(2); j <= value.HighBound(2); ++j)
            row.push_back(ToJson(value.Get(i, j), depth + 1));
        rows.push_back(std::move(row));
    }
    json result{{"rows", std::move(rows)}};
    if (value.LowBound(1) != 0 || value.LowBound(2) != 0)
        result["low"] = json::array({value.LowBound(1), value.LowBound(2)});
    return result;
}

[[noreturn]] void Refuse(const std::string& what) {
    throw EConvertError("not a value: " + what);
}

double ParseDate(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    const int n =
        std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d", &y, &mo, &d, &h, &mi, &s, &ms);
    TDateTime date = 0;
    TDateTime time = 0;
    if ((n != 3 && n < 6) || !TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, s, ms, time))
        Refuse("date \"" + text + "\"");
    return date + (date < 0 ? -time : time);
}

Variant FromJson(const json& j, int depth);

Variant ItemsFromJson(const json& items, int low, int depth) {
    if (!items.is_array()) Refuse("\"items\" is no list");
    Variant array = VarArrayCreate({low, low + static_cast<int>(items.size()) - 1});
    int index = low;
    for (const json& item : items)
        array[index++] = FromJson(item, depth + 1);
    return array;
}

Variant ObjectFromJson(const json& j, int depth) {
    if (j.size() == 1 && j.contains("null") && j["null"] == true) return Null();
    if (j.size() == 1 && j.contains("date") && j["date"].is_string())
        return Variant::Date(ParseDate(j["date"].get<std::string>()));
    if (j.size() == 1 && j.contains("error") && j["error"].is_number_integer())
        return Variant::Error(j["error"].get<std::int32_t>());
    if (j.size() == 2 && j.contains("low") && j["low"].is_number_integer() && j.contains("items"))
        return ItemsFromJson(j["items"], j["low"].get<int>(), depth);
    Refuse(j.dump());
}

Variant FromJson(const json& j, int depth) {
    if (depth > kMaxDepth) Refuse("nested deeper than " + std::to_string(kMaxDepth) + " levels");
    switch (j.type()) {
        case json::value_t::null:
            return Variant();
        case json::value_t::boolean:
            return Variant(j.get<bool>());
        case json::value_t::number_integer: {
            const auto n = j.get<std::int64_t>();
            if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int>(n));
            return Variant(static_cast<long long>(n));
        }
        case json::value_t::number_unsigned: {
            const auto n = j.get<std::uint64_t>();
            if (n <= INT32_MAX) return Variant(static_cast<int>(n));
            return Variant(static_cast<unsigned long long>(n));
        }
        case json::value_t::number_float:
            return Variant(j.get<double>());
        case json::value_t::string:
            return Variant(j.get<std::string>());
        case json::value_t::array:
            return ItemsFromJson(j, 0, depth);
        case json::value_t::object:
            return ObjectFromJson(j, depth);
        default:
            Refuse(j.dump());
    }
}

}  // namespace

TJson VariantToJson(const Variant& value) {
    return ToJson(value, 0);
}

Variant JsonToVariant(const TJson& value) {
    return FromJson(value, 0);
}

}  // namespace kv
