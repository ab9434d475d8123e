// TfrmBaseGene: the controls' colours, the date fields with their hooked enter and exit
// handlers, and the dates typed in the company's date form.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include "src/framework/BaseGene.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

// The entries of a comma-separated component list, trimmed, empty ones dropped.
std::vector<std::string> ListEntries(const std::string& list) {
    std::vector<std::string> entries;
    std::string rest = list;
    while (!rest.empty()) {
        std::string entry = Trim(CutField(rest, ","));
        if (!entry.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

bool HasEvent(TComponent* component, const char* event) {
    return PropIsType(component, event, tkMethod);
}

// The year part of a date mask: four digits for the western forms, two or three for the
// Republic-of-China years, none for a form the company does not use.
std::string YearDigits(int form) {
    switch (form) {
        case 1:
        case 2:
        case 3:
            return "9999";
        case 4:
            return "99";
        case 5:
            return "999";
        default:
            return "";
    }
}

// A field of a typed date: its number, or -1 when it is none.
int DatePart(std::string& rest, const std::string& separator) {
    int value = 0;
    return TryStrToInt(Trim(CutField(rest, separator)), value) ? value : -1;
}

// The edits of a selection panel that hold its range.
std::vector<TControl*> PanelEdits(TComponent* panel) {
    std::vector<TControl*> edits;
    for (const char* name : {"BeginEdit", "FinalEdit"})
        if (auto* edit = dynamic_cast<TControl*>(panel->FindComponent(name))) edits.push_back(edit);
    return edits;
}

}  // namespace

// ---- colours

void TfrmBaseGene::SaveColours(TWinControl* container) {
    if (container == nullptr || ColourList == nullptr) return;
    for (int i = 0; i < container->ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(container->Controls(i));
        if (control == nullptr) continue;
        if (control->InheritsFrom("TSelectPanel")) {
            const char* parts[][2] = {
                {"BeginEdit", ".edBegin="}, {"FinalEdit", ".edFinal="}, {"ListView", ".ListBox="}};
            for (const auto& part : parts)
                if (auto* c = dynamic_cast<TControl*>(control->FindComponent(part[0])))
                    ColourList->Add(control->Name() + part[1] + IntToStr(c->Color()));
        } else if (!control->InheritsFrom("TSpinEdit") && control->ControlCount() > 0) {
            SaveColours(control);
        } else if (IsPublishedProp(control, "Color")) {
            ColourList->Add(control->Name() + "=" + IntToStr(GetOrdProp(control, "Color")));
        }
    }
}

void TfrmBaseGene::RestoreColours(TWinControl* container) {
    if (container == nullptr || ColourList == nullptr) return;
    auto restore = [this](TControl* control, const std::string& key) {
        int colour = 0;
        if (control != nullptr && TryStrToInt(ColourList->Values(key), colour))
            control->SetColor(colour);
    };
    for (int i = 0; i < container->ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(container->Controls(i));
        if (control == nullptr) continue;
        if (control->InheritsFrom("TSelectPanel")) {
            const char* parts[][2] = {
                {"BeginEdit", ".edBegin"}, {"FinalEdit", ".edFinal"}, {"ListView", ".ListBox"}};
            for (const auto& part : parts)
                restore(dynamic_cast<TControl*>(control->FindComponent(part[0])),
                        control->Name() + part[1]);
        } else if (!control->InheritsFrom("TSpinEdit") && control->ControlCount() > 0) {
            RestoreColours(control);
        } else if (IsPublishedProp(control, "Color")) {
            restore(control, control->Name());
        }
    }
}

// ---- hooks

void TfrmBaseGene::SaveHook(TStringList& hooks, const std::string& name, const std::string& event,
                            const TMethod& handler) {
    if (handler.Code != nullptr) hooks.AddPointer(name + "." + event + ".Code", handler.Code);
    if (handler.Data != nullptr) hooks.AddPointer(name + "." + event + ".Data", handler.Data);
}

// The first line of a name counts: hooking twice never makes the framework's own handler the
// saved one.
TMethod TfrmBaseGene::SavedHook(const TStringList& hooks, const std::string& name,
                                const std::string& event) const {
    TMethod method;
    const int code = hooks.IndexOf(name + "." + event + ".Code");
    const int data = hooks.IndexOf(name + "." + event + ".Data");
    if (code >= 0) method.Code = hooks.Pointers(code);
    if (data >= 0) method.Data = hooks.Pointers(data);
    return method;
}

TMethod TfrmBaseGene::GetEventHandler(TComponent* component, const std::string& eventName) const {
    if (component == nullptr || !HasEvent(component, eventName.c_str())) return {};
    return GetMethodProp(component, eventName);
}

void TfrmBaseGene::FireEvent(TControl* control, const std::string& eventName) {
    if (control == nullptr) return;
    TControl* target = control;
    if (auto* panel = dynamic_cast<TControl*>(control->Owner());
        panel != nullptr && panel->InheritsFrom("TSelectPanel"))
        target = panel;
    ValidationFailed = false;
    const TNotifyEvent handler(GetEventHandler(target, eventName));
    if (handler.Assigned()) handler(target);
}

// ---- date fields

void TfrmBaseGene::SetDateFields(const std::string& list) {
    std::string fields = Trim(list);
    if (fields == DateFieldList) return;
    if (!DateFieldList.empty()) {
        UnhookDateFields(DateFieldList);
        // The fields named before stay date fields.
        if (fields.find("edPrintDate") == std::string::npos) fields += "," + DateFieldList;
    }
    DateFieldList = fields;
    HookDateFields(fields);
}

void TfrmBaseGene::HookDateFields(const std::string& list) {
    if (DateHookList == nullptr) return;
    for (const std::string& name : ListEntries(list)) {
        TComponent* component = FindComponent(name);
        if (component == nullptr) continue;
        if (HasEvent(component, "OnEnter")) {
            SaveHook(*DateHookList, name, "OnEnter", GetMethodProp(component, "OnEnter"));
            SetMethodProp(component, "OnEnter", FOnDateFieldEnter.Method());
        }
        if (HasEvent(component, "OnExit")) {
            SaveHook(*DateHookList, name, "OnExit", GetMethodProp(component, "OnExit"));
            SetMethodProp(component, "OnExit", FOnDateFieldExit.Method());
        }
        if (component->InheritsFrom("TSelectPanel")) {
            const int form = GetDateForm();
            SetEnumProp(component, "ValueType", "vt_Date");
            SetStrProp(component, "DateSign", GetDateSeparator());
            static const char* const kTypes[] = {"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY",
                                                 "dt_DDMMYYYY", "dt_YYMMDD",   "dt_YYYMMDD"};
            SetEnumProp(component, "DateType", kTypes[form >= 1 && form <= 5 ? form : 0]);
        }
    }
}

void TfrmBaseGene::UnhookDateFields(const std::string& list) {
    if (DateHookList == nullptr) return;
    for (const std::string& name : ListEntries(list)) {
        TComponent* component = FindComponent(name);
        if (component == nullptr || !HasEvent(component, "OnEnter") ||
            !HasEvent(component, "OnExit"))
            continue;
        SetMethodProp(component, "OnEnter", SavedHook(*DateHookList, name, "OnEnter"));
        SetMethodProp(component, "OnExit", SavedHook(*DateHookList, name, "OnExit"));
    }
}

void TfrmBaseGene::DateFieldEnter(TObject* Sender) {
    ValidationFailed = false;
    if (auto* control = dynamic_cast<TWinControl*>(Sender)) RunDateHandler(control, "OnEnter");
}

void TfrmBaseGene::DateFieldExit(TObject* Sender) {
    // Leaving for the Cancel button checks nothing.
    if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
    ValidationFailed = false;
    if (auto* control = dynamic_cast<TWinControl*>(Sender)) RunDateHandler(control, "OnExit");
}

void TfrmBaseGene::RunDateHandler(TWinControl* control, const std::string& eventName) {
    const bool entering = eventName == "OnEnter";
    const std::string& name = control->Name();
    if (!name.empty() && DateFieldList.find(name) != std::string::npos)
        ValidationFailed = !CheckDateField(control, entering);
    else if (!name.empty() && YearMonthFieldList.find(name) != std::string::npos)
        ValidationFailed = !CheckYearMonthField(control, entering);
    if (ValidationFailed || DateHookList == nullptr) return;
    const TNotifyEvent saved(SavedHook(*DateHookList, name, eventName));
    if (saved.Assigned()) saved(control);
}

// ---- the company's date form

int TfrmBaseGene::GetDateForm() {
    int form = 0;
    if (!TryStrToInt(Trim(GetSysSetting("Sys001")), form)) form = 1;
    DateForm = form;
    return form;
}

std::string TfrmBaseGene::GetDateSeparator() {
    std::string separator = GetSysSetting("Sys002");
    if (separator.empty()) separator = "/";
    DateSeparator = separator;
    return separator;
}

std::string TfrmBaseGene::GetDateMask() {
    const int form = GetDateForm();
    const std::string s = GetDateSeparator();
    const std::string y = YearDigits(form);
    if (form == 2 || form == 3) return "99" + s + "99" + s + y + ";1; ";
    return y + s + "99" + s + "99" + ";1; ";
}

std::string TfrmBaseGene::GetYearMonthMask() {
    const int form = GetDateForm();
    const std::string s = GetDateSeparator();
    const std::string y = YearDigits(form);
    if (form == 2 || form == 3) return "99" + s + y + ";1; ";
    return y + s + "99" + ";1; ";
}

std::string TfrmBaseGene::GetBlankDate() {
    const int form = GetDateForm();
    const std::string s = GetDateSeparator();
    const std::string yb(YearDigits(form).size(), ' ');
    if (form == 2 || form == 3) return "  " + s + "  " + s + yb;
    return yb + s + "  " + s + "  ";
}

std::string TfrmBaseGene::GetBlankYearMonth() {
    const int form = GetDateForm();
    const std::string s = GetDateSeparator();
    const std::string yb(YearDigits(form).size(), ' ');
    if (form == 2 || form == 3) return "  " + s + yb;
    return yb + s + "  ";
}

std::string TfrmBaseGene::DateToStorage(const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed == Trim(GetBlankDate())) return "";
    const std::string separator = GetDateSeparator();
    std::string rest = trimmed;
    const int p1 = DatePart(rest, separator);
    const int p2 = DatePart(rest, separator);
    const int p3 = DatePart(rest, separator);
    if (p1 < 0 || p2 < 0 || p3 < 0) return trimmed;  // fails the validity check later
    // The parts are read as 16-bit numbers, as the company's date forms store them.
    const int a = static_cast<std::uint16_t>(p1);
    const int b = static_cast<std::uint16_t>(p2);
    const int c = static_cast<std::uint16_t>(p3);
    switch (GetDateForm()) {
        case 1:
            return Format("%d%.2d%.2d", {a, b, c});
        case 2:
            return Format("%d%.2d%.2d", {c, a, b});
        case 3:
            return Format("%d%.2d%.2d", {c, b, a});
        case 4:
        case 5:
            return Format("%d%.2d%.2d", {a + 1911, b, c});
        default:
            return "";
    }
}

std::string TfrmBaseGene::YearMonthToStorage(const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed == Trim(GetBlankYearMonth())) return "";
    const std::string separator = GetDateSeparator();
    std::string rest = trimmed;
    const int a = static_cast<std::uint16_t>(DatePart(rest, separator));
    const int b = static_cast<std::uint16_t>(DatePart(rest, separator));
    if (a == 0 || b == 0) return trimmed;
    switch (GetDateForm()) {
        case 1:
            return Format("%d%.2d", {a, b});
        case 2:
        case 3:
            return Format("%d%.2d", {b, a});
        case 4:
        case 5:
            return Format("%d%.2d", {a + 1911, b});
        default:
            return "";
    }
}

namespace {

// What a date check works on: the control itself, or a selection panel's two edits. Empty for
// a control that holds no date.
std::vector<TControl*> DateTargets(TControl* control) {
    if (control == nullptr) return {};
    if (control->InheritsFrom("TSelectPanel")) return PanelEdits(control);
    if (dynamic_cast<TCustomEdit*>(control) != nullptr) return {control};
    return {};
}

}  // namespace

bool TfrmBaseGene::CheckDateField(TControl* control, bool entering) {
    const bool panel = control != nullptr && control->InheritsFrom("TSelectPanel");
    if (!panel && DateTargets(control).empty()) {
        Application().MessageBox(GetLangText("TfrmBaseGene", "sDatePramError", true,
                                             "判断日期的函数第一个参数错误, 只能传下列三种物件:") +
                                     "\rTSelectPanel, TMaskedit, TEdit",
                                 Caption(), MB_OK);
        return false;
    }
    if (entering) {
        if (panel) {
            SetStrProp(control, "EditMask", GetDateMask());
        } else if (auto* masked = dynamic_cast<TCustomMaskEdit*>(control)) {
            masked->SetEditMask(GetDateMask());
        } else {
            control->SetText(GetBlankDate());
        }
        return true;
    }
    for (TControl* target : DateTargets(control)) {
        const std::string ymd = DateToStorage(target->Text());
        if (ymd.empty() || IsValidYmd(ymd)) continue;
        ShowMessageCode("E;000005");
        if (auto* win = dynamic_cast<TWinControl*>(target); win != nullptr && win->CanFocus())
            win->SetFocus();
        return false;
    }
    return true;
}

bool TfrmBaseGene::CheckYearMonthField(TControl* control, bool entering) {
    const bool panel = control != nullptr && control->InheritsFrom("TSelectPanel");
    if (!panel && DateTargets(control).empty()) {
        Application().MessageBox(GetLangText("TfrmBaseGene", "sYMPramError", true,
                                             "判断年月的函数第一个参数错误, 只能传下列三种物件:") +
                                     "\rTSelectPanel, TMaskedit, TEdit",
                                 Caption(), MB_OK);
        return false;
    }
    if (entering) {
        if (panel) {
            SetStrProp(control, "EditMask", GetYearMonthMask());
        } else if (auto* masked = dynamic_cast<TCustomMaskEdit*>(control)) {
            masked->SetEditMask(GetYearMonthMask());
        } else {
            control->SetText(GetBlankYearMonth());
        }
        return true;
    }
    const std::string separator = GetDateSeparator();
    for (TControl* target : DateTargets(control)) {
        const std::string typed = Trim(target->Text());
        if (typed == separator) continue;
        const std::string ym = YearMonthToStorage(target->Text());
        if (ym.empty() || IsValidYmd(ym + "01")) continue;
        ShowMessageCode("E;000005");
        if (auto* win = dynamic_cast<TWinControl*>(target); win != nullptr && win->CanFocus())
            win->SetFocus();
        return false;
    }
    return true;
}

}  // namespace kv
