#include "suite/hostsvc/HostText.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

bool IsYmdDay(std::string_view ymd) {
    if (ymd.size() != 8) return false;
    for (char c : ymd)
        if (c < '0' || c > '9') return false;
    const int year = std::stoi(std::string(ymd.substr(0, 4)));
    const int month = std::stoi(std::string(ymd.substr(4, 2)));
    const int day = std::stoi(std::string(ymd.substr(6, 2)));
    TDateTime date = 0;
    return year >= 1753 && TryEncodeDate(year, month, day, date);
}

std::string ArgText(const Variant& value, std::string_view what) {
    if (value.IsEmpty() || value.IsNull()) return {};
    if (value.IsArray() || VarType(value) == varDispatch)
        throw EOleException(std::string(what) + ": a text was expected, not " +
                            VarTypeAsText(VarType(value)));
    return VarToStr(value);
}

std::vector<std::string> ParamTexts(const Variant& params, std::string_view what) {
    std::vector<std::string> texts;
    if (params.IsEmpty() || params.IsNull()) return texts;
    if (!params.IsArray()) {
        texts.push_back(Trim(ArgText(params, what)));
        return texts;
    }
    if (params.DimCount() != 1)
        throw EOleException(std::string(what) + ": the parameters must be a one-dimensional array");
    for (int i = params.LowBound(1); i <= params.HighBound(1); ++i)
        texts.push_back(Trim(ArgText(params[i], what)));
    return texts;
}

Variant ElementOrEmpty(const Variant& array, int index) {
    if (!array.IsArray() || array.DimCount() != 1) return {};
    const int at = array.LowBound(1) + index;
    if (at > array.HighBound(1)) return {};
    return array[at];
}

Variant WithoutObjects(const Variant& value) {
    if (VarType(value) == varDispatch) return Variant("(object)");
    if (!value.IsArray()) return value.Deref();
    Variant copy = value.Deref();
    if (copy.ElementType() != varVariant) return copy;
    std::vector<int> index(static_cast<std::size_t>(copy.DimCount()));
    // Walks every element of an array of any number of dimensions.
    for (int d = 0; d < copy.DimCount(); ++d) {
        if (copy.HighBound(d + 1) < copy.LowBound(d + 1)) return copy;
        index[static_cast<std::size_t>(d)] = copy.LowBound(d + 1);
    }
    for (;;) {
        Variant& element = copy.At(index);
        element = WithoutObjects(element);
        int d = copy.DimCount() - 1;
        for (; d >= 0; --d) {
            auto& i = index[static_cast<std::size_t>(d)];
            if (++i <= copy.HighBound(d + 1)) break;
            i = copy.LowBound(d + 1);
        }
        if (d < 0) return copy;
    }
}

}  // namespace kv
