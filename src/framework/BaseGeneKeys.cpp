// TfrmBaseGene: the keyboard, the option pages, help and the host's commands.
#include <exception>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/StdCtrls.h"
#include "src/framework/BaseGene.h"
#include "src/runtime/CodeConverter.h"

namespace kv {

namespace {

bool IsFilledArray(const Variant& v) {
    return v.IsArray() && v.DimCount() == 1 && v.HighBound(1) >= v.LowBound(1);
}

// Element i of a one-dimensional array, or null when the array lacks it.
Variant ElementAt(const Variant& array, int i) {
    if (!IsFilledArray(array) || i < array.LowBound(1) || i > array.HighBound(1))
        return Variant::Null();
    return array[i];
}

// Character n (1-based) of text, or "" past its end.
std::string CharAt(const std::string& text, std::size_t n) {
    return n >= 1 && n <= text.size() ? text.substr(n - 1, 1) : std::string();
}

}  // namespace

void TfrmBaseGene::FormKeyDown(TObject*, Word& Key, TShiftState Shift) {
    const bool ctrl = Shift.Contains(ssCtrl);
    switch (Key) {
        case VK_ESCAPE:
            Close();
            return;
        case VK_F1:
            ShowHelp();
            return;
        case VK_F2:
            LookupKey(VK_F2, ActiveControl());
            return;
        default:
            break;
    }
    if (!ctrl || pgOption == nullptr || pgOption->PageCount() == 0) return;
    const bool back = (Key == VK_TAB && Shift.Contains(ssShift)) || Key == VK_PRIOR;
    const bool forward = (Key == VK_TAB && !Shift.Contains(ssShift)) || Key == VK_NEXT;
    if (!back && !forward) return;
    pgOption->SelectNextPage(forward);
    Key = 0;
}

void TfrmBaseGene::FormKeyPress(TObject*, char& Key) {
    if (Key != '\r') return;
    TWinControl* active = ActiveControl();
    auto* memo = dynamic_cast<TCustomMemo*>(active);
    const int caretLine = memo != nullptr ? memo->CaretPos().Y : 0;
    if (auto* grid = dynamic_cast<TDrawGrid*>(active)) {
        Key = 0;
        GridEnter(*grid);
        return;
    }
    // The first two lines of a memo take Enter as a new line.
    if (memo != nullptr && caretLine <= 1) return;
    Key = 0;
    if (!IsPageTurnControl(active) || dynamic_cast<TCustomGrid*>(active) != nullptr) {
        SelectNext(active, true, true);
        return;
    }
    if (pgOption != nullptr && pgOption->ActivePageIndex() < pgOption->PageCount() - 1)
        pgOption->SelectNextPage(true);
}

// Enter in a grid walks its cells: the next column, or the first column of the next row
// after the last one (a row is added after the last row).
void TfrmBaseGene::GridEnter(TDrawGrid& grid) {
    if (grid.Col() < grid.ColCount() - 1) {
        grid.SetCol(grid.Col() + 1);
        return;
    }
    if (grid.Row() == grid.RowCount() - 1) grid.SetRowCount(grid.RowCount() + 1);
    grid.SetRow(grid.Row() + 1);
    grid.SetCol(grid.FixedCols());
}

bool TfrmBaseGene::IsPageTurnControl(TControl* control) const {
    if (control == nullptr || PageTurnControls == nullptr) return false;
    TComponent* owner = control->Owner();
    if (owner != nullptr && owner->InheritsFrom("TSelectPanel")) {
        const bool lastPart = control == owner->FindComponent("FinalEdit") ||
                              control == owner->FindComponent("ListView");
        return lastPart && PageTurnControls->IndexOf(owner) >= 0;
    }
    if (owner != nullptr && owner->InheritsFrom("TCustomRadioGroup"))
        return PageTurnControls->IndexOf(owner) >= 0;
    return PageTurnControls->IndexOf(control) >= 0;
}

void TfrmBaseGene::pgOptionChange(TObject*) {
    TTabSheet* page = pgOption != nullptr ? pgOption->ActivePage() : nullptr;
    if (page == nullptr) return;
    // The first enabled control in tab order; a gap in the tab orders ends the search.
    for (int order = 0;; ++order) {
        TWinControl* found = nullptr;
        for (int i = 0; i < page->ControlCount() && found == nullptr; ++i) {
            auto* child = dynamic_cast<TWinControl*>(page->Controls(i));
            if (child != nullptr && child->TabOrder() == order) found = child;
        }
        if (found == nullptr) return;
        if (!found->Enabled()) continue;
        TWinControl* target = found;
        if (found->InheritsFrom("TSelectPanel")) {
            const bool range =
                IsPublishedProp(found, "UserChoice") && GetOrdProp(found, "UserChoice") != 0;
            auto* part =
                dynamic_cast<TWinControl*>(found->FindComponent(range ? "BeginEdit" : "ListView"));
            if (part != nullptr) target = part;
        }
        if (target->CanFocus()) target->SetFocus();
        return;
    }
}

void TfrmBaseGene::pgOptionChanging(TObject*, bool& AllowChange) {
    Silent = true;
    try {
        FireEvent(ActiveControl(), "OnExit");
    } catch (...) {
        Silent = false;
        throw;
    }
    Silent = false;
    AllowChange = !ValidationFailed;
}

bool TfrmBaseGene::ShowHelp() {
    const std::string c = UpperCase(CharAt(ProgramCode, 4));
    if (c.empty()) return false;
    std::string number;
    std::string letter;
    if (c == "A" || c == "M") {
        number = c == "A" ? "6" : "8";
        letter = UpperCase(CharAt(ProgramCode, 5));
    } else {
        number = "1";
        letter = c;
    }
    if (letter == "B")
        number += "3";
    else if (letter == "R")
        number += "2";
    else
        return false;
    number += ProgramCode.size() >= 2 ? ProgramCode.substr(ProgramCode.size() - 2) : ProgramCode;
    OleCall(HostObject, "CallHelp",
            {VarArrayOf({Variant(ProgramCode.substr(0, 3)), Variant(number + "0000")})});
    return true;
}

void TfrmBaseGene::HandleHostCommand(const Variant& command) {
    const Variant c = ElementAt(command, 1);
    LastHostCommand = c;
    if (c.IsEmpty() || c.IsNull() || !c.IsArray()) return;
    const int mode = c[0].AsInteger();  // an array without a mode fails the command
    ShowResultMessage = mode == 0 || mode == 1;
    bool accepted = false;
    AutoRun = false;
    const Variant entry = ElementAt(c, 1);
    if (IsFilledArray(entry)) {
        ValuesByName = ElementAt(entry, 0).AsBoolean();
        const Variant values = ElementAt(entry, 1);
        if (IsFilledArray(values))
            accepted = ValuesByName ? AcceptHostValuesByName(values) : AcceptHostValues(values);
        AutoRun = mode != 0 && accepted;
    }
    if (!FormConverted) {
        ConvertOnce();
        if (SysCodePage() == "950" && KvConverter != nullptr) {
            std::string title;
            KvConverter->GBToBig5(Title, title);
            SetTitle(title);
        }
    }
    if (mode > 2 && accepted)
        RunFromHost(mode);
    else if (AutoRun && btnOk != nullptr)
        btnOk->Click();
}

bool TfrmBaseGene::AcceptHostValuesByName(const Variant& values) {
    const Variant entries = ElementAt(values, 0);
    bool accepted = false;
    if (IsFilledArray(entries)) {
        for (int i = entries.LowBound(1); i <= entries.HighBound(1); ++i) {
            try {
                const std::string name = ElementAt(entries[i], 1).AsString();
                TComponent* component = name.empty() ? nullptr : FindComponent(name);
                accepted = component != nullptr && (component->InheritsFrom("TSelectPanel") ||
                                                    component->InheritsFrom("TCustomComboBox") ||
                                                    IsPublishedProp(component, "ItemIndex") ||
                                                    IsPublishedProp(component, "Checked") ||
                                                    IsPublishedProp(component, "Text") ||
                                                    IsPublishedProp(component, "Lines"));
            } catch (const std::exception&) {
                accepted = false;
            }
        }
    }
    if (!accepted) ShowMessageCode("W;000014");
    return accepted;
}

}  // namespace kv
