#include "suite/kvhost/ScriptKeys.h"

#include <array>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Messages.h"

namespace kv {

namespace {

const std::array<std::pair<const char*, Word>, 24> kKeys{{
    {"Enter", VK_RETURN},  {"Return", VK_RETURN}, {"Esc", VK_ESCAPE},     {"Escape", VK_ESCAPE},
    {"Tab", VK_TAB},       {"Space", VK_SPACE},   {"Backspace", VK_BACK}, {"Delete", VK_DELETE},
    {"Insert", VK_INSERT}, {"Home", VK_HOME},     {"End", VK_END},        {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT}, {"Left", VK_LEFT},     {"Right", VK_RIGHT},    {"Up", VK_UP},
    {"Down", VK_DOWN},     {"Prior", VK_PRIOR},   {"Next", VK_NEXT},      {"Del", VK_DELETE},
    {"Ins", VK_INSERT},    {"Ctrl", VK_CONTROL},  {"Shift", VK_SHIFT},    {"Alt", VK_MENU},
}};

const std::array<std::pair<const char*, TModalResult>, 11> kResults{{
    {"None", mrNone},
    {"OK", mrOk},
    {"Cancel", mrCancel},
    {"Abort", mrAbort},
    {"Retry", mrRetry},
    {"Ignore", mrIgnore},
    {"Yes", mrYes},
    {"No", mrNo},
    {"All", mrAll},
    {"NoToAll", mrNoToAll},
    {"YesToAll", mrYesToAll},
}};

}  // namespace

Word ScriptKey(const std::string& name) {
    for (const auto& [keyName, key] : kKeys)
        if (SameText(name, keyName)) return key;
    const std::string upper = UpperCase(name);
    if (upper.size() == 1 &&
        ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9')))
        return static_cast<Word>(upper[0]);
    int function = 0;
    if (upper.size() >= 2 && upper[0] == 'F' && TryStrToInt(upper.substr(1), function) &&
        function >= 1 && function <= 12)
        return static_cast<Word>(VK_F1 + function - 1);
    int code = 0;
    if (TryStrToInt(name, code) && code > 0 && code < 256) return static_cast<Word>(code);
    throw EConvertError("Unknown key \"" + name + "\"");
}

TShiftState ScriptShift(const std::string& text) {
    TShiftState shift;
    std::string part;
    const auto take = [&] {
        const std::string name = Trim(part);
        part.clear();
        if (name.empty()) return;
        if (SameText(name, "ctrl") || SameText(name, "control")) {
            shift.Include(ssCtrl);
        } else if (SameText(name, "alt")) {
            shift.Include(ssAlt);
        } else if (SameText(name, "shift")) {
            shift.Include(ssShift);
        } else {
            throw EConvertError("Unknown shift key \"" + name + "\"");
        }
    };
    for (const char c : text) {
        if (c == '+' || c == ',') {
            take();
        } else {
            part += c;
        }
    }
    take();
    return shift;
}

TModalResult ScriptModalResult(const std::string& name) {
    for (const auto& [resultName, result] : kResults)
        if (SameText(name, resultName)) return result;
    throw EConvertError("Unknown modal result \"" + name + "\"");
}

std::string ModalResultName(TModalResult result) {
    for (const auto& [resultName, value] : kResults)
        if (value == result) return resultName;
    return std::to_string(result);
}

}  // namespace kv
