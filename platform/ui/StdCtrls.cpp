// StdCtrls: labels, buttons, check boxes, radio buttons and group boxes (edits: StdEdits.cpp;
// lists: StdLists.cpp).
#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TLabel);
KV_REGISTER_CLASS(TButton);
KV_REGISTER_CLASS(TCheckBox);
KV_REGISTER_CLASS(TRadioButton);
KV_REGISTER_CLASS(TGroupBox);

const TTypeInfo* LeftRightTypeInfo() {
    static const TTypeInfo info =
        TTypeInfo::Enumeration("TLeftRight", "taLeftJustify, taRightJustify");
    return &info;
}

const TTypeInfo* BorderStyleTypeInfo() {
    static const TTypeInfo info = TTypeInfo::Enumeration("TBorderStyle", "bsNone, bsSingle");
    return &info;
}

namespace {

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

// Splits at CR LF, LF or CR.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

// Greedy word wrap: breaks after blanks, or anywhere in a word that does not fit alone.
std::vector<std::string> Wrap(const TCanvas& canvas, const std::string& line, int width) {
    std::vector<std::string> out;
    std::string current;
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t end = line.find(' ', i);
        end = end == std::string::npos ? line.size() : end + 1;
        const std::string word = line.substr(i, end - i);
        if (!current.empty() && canvas.TextWidth(current + word) > width) {
            out.push_back(current);
            current.clear();
        }
        current += word;
        i = end;
    }
    out.push_back(current);
    return out;
}

}  // namespace

// ---- TCustomLabel

KV_PUBLISHED(TCustomLabel) {}

KV_PUBLISHED(TLabel) {
    PublishControlMembers(b, "Align");
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
    PublishControlMembers(b, "Anchors");
    b.Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(1);
    PublishControlMembers(b, "Caption Color Enabled");
    b.Property("FocusControl", &T::FocusControl, &T::SetFocusControl);
    PublishControlMembers(b, "Font");
    b.Property("Layout", &T::Layout, &T::SetLayout).Default(tlTop);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu");
    b.Property("ShowAccelChar", &T::ShowAccelChar, &T::SetShowAccelChar).Default(1);
    PublishControlMembers(b, "ShowHint");
    b.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(0);
    PublishControlMembers(b, "Visible");
    b.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(0);
    PublishControlMembers(b, "OnClick OnDblClick OnMouseDown OnMouseMove OnMouseUp");
}

TCustomLabel::TCustomLabel(TComponent* owner)
    : TGraphicControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetBounds(0, 0, 65, 17);
    SetColor(clBtnFace);
    SetParentColor(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (focusControl_ == value) return;
    if (focusControl_ != nullptr) focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (layout_ == value) return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (showAccelChar_ == value) return;
    showAccelChar_ = value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    AdjustBounds();
}

std::string TCustomLabel::DisplayText() const {
    const std::string caption = Caption();
    return showAccelChar_ ? StripHotkey(caption) : caption;
}

std::vector<std::string> TCustomLabel::Lines() const {
    std::string text = DisplayText();
    if (text.empty()) text = " ";  // an empty label keeps the height of one line
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(text)) {
        if (!wordWrap_) {
            lines.push_back(line);
            continue;
        }
        for (std::string& part : Wrap(*canvas_, line, Width()))
            lines.push_back(std::move(part));
    }
    return lines;
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading(*this)) return;
    int width = 0;
    int height = 0;
    for (const std::string& line : Lines()) {
        const TSize size = canvas_->TextExtent(line);
        width = std::max(width, size.cx);
        height += size.cy;
    }
    if (wordWrap_) width = Width();
    int left = Left();
    if (alignment_ == taRightJustify) left += Width() - width;
    if (alignment_ == taCenter) left += (Width() - width) / 2;
    SetBounds(left, Top(), width, height);
}

void TCustomLabel::Paint() {
    if (!transparent_) {
        canvas_->Brush()->SetColor(Color());
        canvas_->FillRect(ClientRect());
    }
    canvas_->Brush()->SetStyle(bsClear);
    int y = 0;
    for (const std::string& line : Lines()) {
        const TSize size = canvas_->TextExtent(line);
        int x = 0;
        if (alignment_ == taRightJustify) x = Width() - size.cx;
        if (alignment_ == taCenter) x = (Width() - size.cx) / 2;
        canvas_->TextOut(x, y, line);
        y += size.cy;
    }
}

void TCustomLabel::WndProc(TMessage& message) {
    TGraphicControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

// ---- TButtonControl

KV_PUBLISHED(TButtonControl) {}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TButtonControl::ClickFromState() {
    if (!clicksDisabled_) TWinControl::Click();
}

// ---- TButton

KV_PUBLISHED(TButton) {
    PublishControlMembers(b, "Align Anchors");
    b.Property("Cancel", &T::Cancel, &T::SetCancel).Default(0);
    PublishControlMembers(b, "Caption");
    b.Property("Default", &T::Default, &T::SetDefault).Default(0);
    PublishControlMembers(b, "Enabled Font");
    b.Property("ModalResult", &T::ModalResult, &T::SetModalResult).Default(mrNone);
    PublishControlMembers(b, "ParentFont ParentShowHint PopupMenu ShowHint TabOrder TabStop");
    PublishControlMembers(b, "Visible");
    b.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(0);
    PublishControlMembers(b,
                          "OnClick OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp OnMouseDown "
                          "OnMouseMove OnMouseUp");
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
    if (default_ == value) return;
    default_ = value;
    Invalidate();
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::DefaultKeyPress(char& key) {
    if (key == ' ') Click();
}

// Enter clicks the focused button, or the default button when no button has the focus; Esc
// clicks the cancel button. Only without shift keys, and only a button that could be focused.
void TButton::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && message.LParam == 0 && CanFocus()) {
        const auto key = static_cast<Word>(message.WParam);
        const auto* focusedButton = dynamic_cast<const TButton*>(Screen().FocusedWindow());
        const bool active = focusedButton != nullptr ? focusedButton == this : default_;
        if ((key == VK_RETURN && active) || (key == VK_ESCAPE && cancel_)) {
            Click();
            message.Result = 1;
            return;
        }
    }
    TButtonControl::WndProc(message);
}

// ---- TCustomCheckBox

KV_PUBLISHED(TCustomCheckBox) {}

KV_PUBLISHED(TCheckBox) {
    PublishControlMembers(b, "Align");
    b.Property("Alignment", &T::Alignment, &T::SetAlignment)
        .Type(LeftRightTypeInfo())
        .Default(taRightJustify);
    b.Property("AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed).Default(0);
    PublishControlMembers(b, "Anchors Caption");
    b.Property("Checked", &T::Checked, &T::SetChecked).Default(0);
    PublishControlMembers(b, "Color Enabled Font ParentColor ParentFont ParentShowHint PopupMenu");
    PublishControlMembers(b, "ShowHint");
    b.Property("State", &T::State, &T::SetState).Default(cbUnchecked);
    PublishControlMembers(b, "TabOrder TabStop Visible");
    b.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(0);
    PublishControlMembers(b,
                          "OnClick OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp OnMouseDown "
                          "OnMouseMove OnMouseUp");
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetParentColor(true);
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    alignment_ = value == taLeftJustify ? taLeftJustify : taRightJustify;
    Invalidate();
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    UpdatePeer(TPeerChange::Other);
    ClickFromState();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked:
            SetState(cbChecked);
            break;
        case cbChecked:
            SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
            break;
        case cbGrayed:
            SetState(cbUnchecked);
            break;
    }
}

void TCustomCheckBox::Click() {
    Toggle();
}

void TCustomCheckBox::DefaultKeyPress(char& key) {
    if (key == ' ') Toggle();
}

// ---- TRadioButton

KV_PUBLISHED(TRadioButton) {
    PublishControlMembers(b, "Align");
    b.Property("Alignment", &T::Alignment, &T::SetAlignment)
        .Type(LeftRightTypeInfo())
        .Default(taRightJustify);
    PublishControlMembers(b, "Anchors Caption");
    b.Property("Checked", &T::Checked, &T::SetChecked).Default(0);
    PublishControlMembers(b, "Color Enabled Font ParentColor ParentFont ParentShowHint PopupMenu");
    PublishControlMembers(b, "ShowHint TabOrder TabStop Visible");
    b.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(0);
    PublishControlMembers(b,
                          "OnClick OnDblClick OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp "
                          "OnMouseDown OnMouseMove OnMouseUp");
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
    SetParentColor(true);
}

void TRadioButton::SetAlignment(TAlignment value) {
    alignment_ = value == taLeftJustify ? taLeftJustify : taRightJustify;
    Invalidate();
}

void TRadioButton::SetCheckedValue(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    UpdatePeer(TPeerChange::Other);
    if (!value) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
            if (sibling != nullptr && sibling != this) sibling->SetCheckedValue(false);
        }
    }
    ClickFromState();
}

void TRadioButton::Click() {
    SetCheckedValue(true);
}

void TRadioButton::DefaultKeyPress(char& key) {
    if (key == ' ') SetCheckedValue(true);
}

// ---- TCustomGroupBox

KV_PUBLISHED(TCustomGroupBox) {}

KV_PUBLISHED(TGroupBox) {
    PublishControlMembers(b, "Align Anchors Caption Color Enabled Font ParentColor ParentFont");
    PublishControlMembers(b, "ParentShowHint PopupMenu ShowHint TabOrder TabStop Visible");
    PublishControlMembers(b, "OnClick OnDblClick OnEnter OnExit OnMouseDown OnMouseMove OnMouseUp");
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner)
    : TCustomControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 185, 105);
    SetColor(clBtnFace);
    SetParentColor(true);
}

}  // namespace kv
