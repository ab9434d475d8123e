#include "tests/platform/ui/TestControls.h"

#include <algorithm>

namespace kv::test {

KV_PUBLISHED(TEventLog) {}

void TEventLog::Add(TObject* sender, const std::string& what) {
    const auto* component = dynamic_cast<const TComponent*>(sender);
    entries.push_back((component != nullptr ? component->Name() : std::string("?")) + "." + what);
}

void TEventLog::Watch(TControl& control) {
    control.OnClick = TNotifyEvent(this, &TEventLog::ClickEvent);
    if (auto* win = dynamic_cast<TWinControl*>(&control)) {
        win->OnEnter = TNotifyEvent(this, &TEventLog::Enter);
        win->OnExit = TNotifyEvent(this, &TEventLog::Exit);
    }
}

void TEventLog::WatchKeys(TWinControl& control) {
    control.OnKeyDown = TKeyEvent(this, &TEventLog::KeyDownEvent);
    control.OnKeyPress = TKeyPressEvent(this, &TEventLog::KeyPressEvent);
    control.OnKeyUp = TKeyEvent(this, &TEventLog::KeyUpEvent);
}

KV_PUBLISHED(TTestEdit) {
    PublishControlMembers(b,
                          "Align Color Enabled Font ParentFont ShowHint ParentShowHint "
                          "TabOrder TabStop Text Visible OnClick OnEnter OnExit OnKeyDown "
                          "OnKeyPress");
    b.Event("OnChange", &T::OnChange);
}

TTestEdit::TTestEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 100, 21);
}

// Printable characters are appended, Backspace removes the last character.
void TTestEdit::DefaultKeyPress(char& key) {
    std::string text = Text();
    if (key == 8) {
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        if (!text.empty()) text.pop_back();
    } else if (static_cast<unsigned char>(key) >= 32) {
        text += key;
    } else {
        return;
    }
    SetText(text);
}

void TTestEdit::InputMethodText(const std::string& text) {
    SetText(Text() + text);
}

void TTestEdit::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED) OnChange(this);
}

KV_PUBLISHED(TTestMemo) {}

KV_PUBLISHED(TTestPanel) {
    PublishControlMembers(b,
                          "Align Caption Color Enabled Font ParentFont TabOrder TabStop "
                          "Visible OnEnter OnExit");
}

TTestPanel::TTestPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
}

KV_PUBLISHED(TTestButton) {
    PublishControlMembers(b, "Caption Enabled TabOrder TabStop Visible OnClick OnEnter OnExit");
}

TTestButton::TTestButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TTestButton::Click() {
    if (ModalResult != mrNone) {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    }
    TWinControl::Click();
}

KV_PUBLISHED(TTestCheck) {
    b.Property("Checked", &T::Checked, &T::SetChecked);
    PublishControlMembers(b, "Caption OnClick");
}

TTestCheck::TTestCheck(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TTestCheck::Click() {
    checked_ = radio ? true : !checked_;
    TWinControl::Click();
}

KV_PUBLISHED(TTestList) {}

TTestList::TTestList(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

bool TTestList::SelectItemByUser(const std::string& item) {
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) return false;
    return SelectIndexByUser(static_cast<int>(found - items.begin()));
}

bool TTestList::SelectIndexByUser(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return false;
    itemIndex = index;
    OnChange(this);
    return true;
}

KV_PUBLISHED(TTestLabel) {}

TForm* MakeForm(const std::string& name) {
    TForm* form = NewObject<TForm>(&Application(), true);
    form->SetName(name);
    return form;
}

}  // namespace kv::test
