// TfrmBaseGene: required fields, their colour, and the check the submit buttons run before
// their own click handlers.
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Mask.h"
#include "src/framework/BaseGene.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

// One entry of a required-field list: "name[;check[;part]]".
struct TRequiredEntry {
    std::string name;
    std::string check;
    int part = 0;
};

std::vector<TRequiredEntry> RequiredEntries(const std::string& list) {
    std::vector<TRequiredEntry> entries;
    std::string rest = list;
    while (!rest.empty()) {
        std::string text = CutField(rest, ",");
        TRequiredEntry entry;
        entry.name = Trim(CutField(text, ";"));
        entry.check = Trim(CutField(text, ";"));
        if (!TryStrToInt(Trim(CutField(text, ";")), entry.part)) entry.part = 0;
        if (!entry.name.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

// The buttons that submit a job; the levels that have the last three add them.
constexpr const char* kSubmitButtons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};

TControl* PanelPart(TComponent* panel, const char* name) {
    return dynamic_cast<TControl*>(panel->FindComponent(name));
}

// A selection panel takes a range when its user chose one.
bool PanelTakesRange(TComponent* panel) {
    return IsPublishedProp(panel, "UserChoice") && GetOrdProp(panel, "UserChoice") != 0;
}

bool SkipsCheck(const std::string& check) {
    int number = 0;
    return SameText(check, "N") || TryStrToInt(check, number);
}

}  // namespace

void TfrmBaseGene::SetRequiredFields(const std::string& list) {
    const std::string fields = Trim(list);
    if (!RequiredFieldList.empty()) {
        RestoreColours(this);
        UnhookSubmitButtons();
    }
    RequiredFieldList = fields;
    for (const TRequiredEntry& entry : RequiredEntries(fields)) {
        TComponent* component = FindComponent(entry.name);
        if (component == nullptr) continue;
        if (component->InheritsFrom("TSelectPanel")) {
            const int part = entry.part >= 0 && entry.part <= 3 ? entry.part : 0;
            const std::pair<const char*, int> parts[] = {
                {"BeginEdit", 1}, {"FinalEdit", 2}, {"ListView", 3}};
            for (const auto& [name, number] : parts)
                if (part == 0 || part == number)
                    if (TControl* control = PanelPart(component, name))
                        control->SetColor(kRequiredColour);
        } else if (IsPublishedProp(component, "Color")) {
            SetOrdProp(component, "Color", static_cast<int>(kRequiredColour));
        }
        HookSubmitButtons();
    }
}

void TfrmBaseGene::HookSubmitButtons() {
    if (RequiredHookList == nullptr) return;
    for (const char* name : kSubmitButtons) {
        TComponent* button = FindComponent(name);
        if (button == nullptr || !PropIsType(button, "OnClick", tkMethod)) continue;
        SaveHook(*RequiredHookList, name, "OnClick", GetMethodProp(button, "OnClick"));
        SetMethodProp(button, "OnClick", FOnRequiredExit.Method());
    }
}

void TfrmBaseGene::UnhookSubmitButtons() {
    if (RequiredHookList == nullptr) return;
    for (const char* name : kSubmitButtons) {
        TComponent* button = FindComponent(name);
        if (button == nullptr || !PropIsType(button, "OnClick", tkMethod)) continue;
        SetMethodProp(button, "OnClick", SavedHook(*RequiredHookList, name, "OnClick"));
    }
}

void TfrmBaseGene::RequiredExit(TObject* Sender) {
    ValidationFailed = false;
    auto* sender = dynamic_cast<TComponent*>(Sender);
    const std::string name = sender != nullptr ? sender->Name() : std::string();
    TComponent* period = FindComponent("btnPeriod");
    const bool periodDown =
        period != nullptr && IsPublishedProp(period, "Down") && GetOrdProp(period, "Down") != 0;
    if (SameText(name, "btnOk") || SameText(name, "btnQuery") || SameText(name, "btnDesign") ||
        periodDown)
        ValidationFailed = CheckRequiredFields(RequiredFieldList);
    if (period != nullptr && ValidationFailed && pgOption != nullptr &&
        pgOption->ActivePageIndex() != pgOption->PageCount() - 1) {
        // The periodic settings page goes away again until the fields are filled.
        if (IsPublishedProp(period, "Down")) SetOrdProp(period, "Down", 0);
        if (pgOption->PageCount() > 0)
            pgOption->Pages(pgOption->PageCount() - 1)->SetTabVisible(false);
    }
    if (ValidationFailed || RequiredHookList == nullptr) return;
    const TNotifyEvent saved(SavedHook(*RequiredHookList, name, "OnClick"));
    if (saved.Assigned()) saved(Sender);
}

bool TfrmBaseGene::CheckRequiredFields(const std::string& list) {
    for (const TRequiredEntry& entry : RequiredEntries(list)) {
        if (SkipsCheck(entry.check)) continue;
        TComponent* component = FindComponent(entry.name);
        if (component == nullptr) continue;
        const bool panel = component->InheritsFrom("TSelectPanel");
        const bool range = panel && PanelTakesRange(component);
        bool missing = false;
        if (panel && range) {
            missing = IsFieldEmpty(PanelPart(component, "BeginEdit")) ||
                      IsFieldEmpty(PanelPart(component, "FinalEdit"));
        } else if (panel) {
            TComponent* rows = PanelPart(component, "ListView");
            missing = rows == nullptr || !IsPublishedProp(rows, "ItemCount") ||
                      GetOrdProp(rows, "ItemCount") == 0;
        } else {
            missing = IsFieldEmpty(component);
        }
        if (!missing) continue;
        ShowMessageCode("E;000037");
        auto* control = dynamic_cast<TControl*>(component);
        for (TWinControl* p = control != nullptr ? control->Parent() : nullptr;
             p != nullptr && p != this; p = p->Parent()) {
            if (auto* sheet = dynamic_cast<TTabSheet*>(p)) {
                if (sheet->PageControl() != nullptr) sheet->PageControl()->SetActivePage(sheet);
                break;
            }
        }
        TControl* focus = panel ? PanelPart(component, range ? "BeginEdit" : "ListView") : control;
        if (auto* win = dynamic_cast<TWinControl*>(focus); win != nullptr && win->CanFocus())
            win->SetFocus();
        return true;
    }
    return false;
}

bool TfrmBaseGene::IsFieldEmpty(TComponent* component) {
    if (component == nullptr || !IsPublishedProp(component, "Text")) return false;
    const std::string text = GetStrProp(component, "Text");
    std::string empty;
    // Under a mask that keeps its literals, an untouched field shows them.
    if (auto* masked = dynamic_cast<TCustomMaskEdit*>(component)) {
        std::string rest = masked->EditMask();
        CutField(rest, ";");
        if (Trim(CutField(rest, ";")) == "1") empty = masked->EmptyText();
    }
    return Trim(text) == Trim(empty);
}

}  // namespace kv
