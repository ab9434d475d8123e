// Small controls for the UI tests: they take part in the platform's machinery the way the
// standard controls do (an edit that edits, a check box that toggles, a list that selects), and
// log their events.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Forms.h"

namespace kv::test {

// Collects "name.Event" entries from the handlers it is bound to.
class TEventLog : public TComponent {
    KV_CLASS(TEventLog, TComponent)
public:
    explicit TEventLog(TComponent* owner = nullptr) : TComponent(owner) {}

    void Enter(TObject* sender) { Add(sender, "Enter"); }
    void Exit(TObject* sender) { Add(sender, "Exit"); }
    void ClickEvent(TObject* sender) { Add(sender, "Click"); }
    void DblClickEvent(TObject* sender) { Add(sender, "DblClick"); }
    void Change(TObject* sender) { Add(sender, "Change"); }
    void MouseDownEvent(TObject* sender, TMouseButton, TShiftState shift, int, int) {
        Add(sender, shift.Contains(ssDouble) ? "MouseDown(double)" : "MouseDown");
    }
    void MouseUpEvent(TObject* sender, TMouseButton, TShiftState, int, int) {
        Add(sender, "MouseUp");
    }
    void KeyDownEvent(TObject* sender, Word& key, TShiftState) {
        Add(sender, "KeyDown(" + std::to_string(key) + ")");
    }
    void KeyPressEvent(TObject* sender, char& key) {
        Add(sender, std::string("KeyPress(") + key + ")");
    }
    void KeyUpEvent(TObject* sender, Word& key, TShiftState) {
        Add(sender, "KeyUp(" + std::to_string(key) + ")");
    }

    // Binds OnEnter/OnExit (windowed controls) and OnClick to this log.
    void Watch(TControl& control);
    void WatchKeys(TWinControl& control);

    std::vector<std::string> entries;

private:
    void Add(TObject* sender, const std::string& what);
};

class TTestEdit : public TWinControl {
    KV_CLASS(TTestEdit, TWinControl)
public:
    explicit TTestEdit(TComponent* owner);

    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;
    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
};

class TTestMemo : public TTestEdit {
    KV_CLASS(TTestMemo, TTestEdit)
public:
    explicit TTestMemo(TComponent* owner) : TTestEdit(owner) {}
    LRESULT DialogCode() const override { return TTestEdit::DialogCode() | DLGC_WANTALLKEYS; }
};

class TTestPanel : public TCustomControl {
    KV_CLASS(TTestPanel, TCustomControl)
public:
    explicit TTestPanel(TComponent* owner);
};

class TTestButton : public TWinControl {
    KV_CLASS(TTestButton, TWinControl)
public:
    explicit TTestButton(TComponent* owner);
    void Click() override;

    TModalResult ModalResult = mrNone;
};

class TTestCheck : public TWinControl {
    KV_CLASS(TTestCheck, TWinControl)
public:
    explicit TTestCheck(TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool value) { checked_ = value; }
    void Click() override;

    bool radio = false;  // a radio button: a click checks, never unchecks

private:
    bool checked_ = false;
};

class TTestList : public TWinControl {
    KV_CLASS(TTestList, TWinControl)
public:
    explicit TTestList(TComponent* owner);
    bool SelectItemByUser(const std::string& item) override;
    bool SelectIndexByUser(int index) override;

    std::vector<std::string> items;
    int itemIndex = -1;
    TNotifyEvent OnChange;
};

class TTestLabel : public TGraphicControl {
    KV_CLASS(TTestLabel, TGraphicControl)
public:
    explicit TTestLabel(TComponent* owner) : TGraphicControl(owner) {}
};

// Creates a control of class C owned by the form, named and placed on parent.
template <class C>
C* Make(TCustomForm& form, TWinControl& parent, const std::string& name, int tabOrder = -1) {
    C* control = NewObject<C>(&form);
    control->SetName(name);
    control->SetParent(&parent);
    if (tabOrder >= 0) {
        if constexpr (std::is_base_of_v<TWinControl, C>) control->SetTabOrder(tabOrder);
    }
    return control;
}

// A plain form named name, owned by the application.
TForm* MakeForm(const std::string& name);

}  // namespace kv::test
