#include "platform/ui/Spin.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/core/SysUtils.h"
#include "platform/ui/EditPublish.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TSpinEdit);

KV_PUBLISHED(TSpinEdit) {
    PublishEditMembers(b, "Anchors AutoSelect AutoSize Color");
    b.Property("EditorEnabled", &T::EditorEnabled, &T::SetEditorEnabled).Default(1);
    PublishEditMembers(b, "Enabled Font ImeMode ImeName");
    b.Property("Increment", &T::Increment, &T::SetIncrement).Default(1);
    PublishEditMembers(b, "MaxLength");
    b.Property("MaxValue", &T::MaxValue, &T::SetMaxValue);
    b.Property("MinValue", &T::MinValue, &T::SetMinValue);
    PublishEditMembers(b,
                       "ParentColor ParentFont ParentShowHint PopupMenu ReadOnly ShowHint "
                       "TabOrder TabStop");
    b.Property("Value", &T::Value, &T::SetValue);
    PublishEditMembers(b,
                       "Visible OnChange OnClick OnDblClick OnEnter OnExit OnKeyDown OnKeyPress "
                       "OnKeyUp OnMouseDown OnMouseMove OnMouseUp");
}

namespace {

// The whole number a text holds; digits beyond the integer range read as its end, so that a
// long number typed into a limited edit still comes back as the nearest limit.
std::optional<int> ReadNumber(const std::string& text) {
    const std::string trimmed = Trim(text);
    int value = 0;
    if (TryStrToInt(trimmed, value)) return value;
    const bool negative = !trimmed.empty() && trimmed[0] == '-';
    const std::size_t digits = !trimmed.empty() && (negative || trimmed[0] == '+') ? 1 : 0;
    if (digits == trimmed.size()) return std::nullopt;
    for (std::size_t i = digits; i < trimmed.size(); ++i)
        if (trimmed[i] < '0' || trimmed[i] > '9') return std::nullopt;
    return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
}

}  // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetText("0");
}

int TSpinEdit::Value() const {
    return ReadNumber(Text()).value_or(minValue_);
}

int TSpinEdit::CheckValue(int value) const {
    if (maxValue_ == minValue_) return value;
    return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

void TSpinEdit::SetValue(int value) {
    SetText(IntToStr(CheckValue(value)));
}

// A step never runs past the integer range, whatever the limits.
void TSpinEdit::UpClick() {
    if (ReadOnly()) return Widgetset().Beep();
    const long long next = static_cast<long long>(Value()) + increment_;
    SetValue(static_cast<int>(std::clamp<long long>(next, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max())));
}

void TSpinEdit::DownClick() {
    if (ReadOnly()) return Widgetset().Beep();
    const long long next = static_cast<long long>(Value()) - increment_;
    SetValue(static_cast<int>(std::clamp<long long>(next, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max())));
}

void TSpinEdit::DefaultKeyDown(Word& key, TShiftState shift) {
    if (key == VK_UP) return UpClick();
    if (key == VK_DOWN) return DownClick();
    if (key == VK_DELETE && !editorEnabled_) return;
    TCustomEdit::DefaultKeyDown(key, shift);
}

bool TSpinEdit::IsValidChar(char key) const {
    const auto ch = static_cast<unsigned char>(key);
    const bool valid = key == FormatSettings.DecimalSeparator || key == '+' || key == '-' ||
                       (key >= '0' && key <= '9') || (ch < 32 && key != '\r');
    if (valid && !editorEnabled_ && (ch >= 32 || ch == 8)) return false;
    return valid;
}

void TSpinEdit::DefaultKeyPress(char& key) {
    if (!IsValidChar(key)) {
        key = 0;
        Widgetset().Beep();
        return;
    }
    TCustomEdit::DefaultKeyPress(key);
}

// Characters outside ASCII are no digits.
void TSpinEdit::InputMethodText(const std::string&) {
    Widgetset().Beep();
}

// A text that is no number is left for the program to judge; a number out of range (or
// beyond the integer range) is put back in range before OnExit.
void TSpinEdit::DoExit() {
    const std::optional<int> value = ReadNumber(Text());
    if (value.has_value()) {
        int exact = 0;
        if (CheckValue(*value) != *value || !TryStrToInt(Trim(Text()), exact)) SetValue(*value);
    }
    TCustomEdit::DoExit();
}

}  // namespace kv
