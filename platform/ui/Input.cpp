// TInput: user input in the platform's order of events.
#include <algorithm>
#include <array>

#include "platform/core/Utf8.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Forms.h"
#include "platform/ui/InputGuard.h"
#include "platform/ui/Menus.h"

namespace kv {

namespace {

// US layout: the characters of the digit row with Shift, and of the punctuation keys.
constexpr std::array<char, 10> kShiftedDigits = {')', '!', '@', '#', '$', '%', '^', '&', '*', '('};
struct TPunctuationKey {
    Word key;
    char plain;
    char shifted;
};
constexpr std::array<TPunctuationKey, 11> kPunctuation = {{
    {0xBA, ';', ':'},
    {0xBB, '=', '+'},
    {0xBC, ',', '<'},
    {0xBD, '-', '_'},
    {0xBE, '.', '>'},
    {0xBF, '/', '?'},
    {0xC0, '`', '~'},
    {0xDB, '[', '{'},
    {0xDC, '\\', '|'},
    {0xDD, ']', '}'},
    {0xDE, '\'', '"'},
}};

LPARAM ShiftBits(TShiftState shift) {
    return static_cast<LPARAM>(shift.Bits());
}

// The window that gets keys: the focused one, else the active form.
TWinControl* KeyTarget() {
    if (TWinControl* focused = Screen().FocusedWindow()) return focused;
    return Screen().ActiveForm();
}

bool TakesInput(const TControl& control) {
    const TCustomForm* form = GetParentForm(&control);
    return form == nullptr || form->AcceptsInput();
}

LRESULT DialogKeyMask(Word key) {
    switch (key) {
        case VK_TAB:
            return DLGC_WANTTAB;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            return DLGC_WANTARROWS;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
            return DLGC_WANTALLKEYS;
        default:
            return 0;
    }
}

// The form's dialog navigation: true when it used the key (no character follows then).
bool DialogKey(TWinControl& target, Word key, TShiftState shift) {
    if (target.Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(&target)) != 0) return true;
    const LRESULT mask = DialogKeyMask(key);
    if (mask == 0 || target.Perform(CM_WANTSPECIALKEY, key) != 0 ||
        (target.Perform(WM_GETDLGCODE) & mask) != 0)
        return false;
    TCustomForm* form = GetParentForm(&target);
    return form != nullptr && form->Perform(CM_DIALOGKEY, key, ShiftBits(shift)) != 0;
}

}  // namespace

char TInput::KeyToChar(Word key, TShiftState shift) {
    if (shift.Contains(ssAlt)) return 0;
    const bool shifted = shift.Contains(ssShift);
    if (key >= 'A' && key <= 'Z') {
        if (shift.Contains(ssCtrl)) return static_cast<char>(key - 'A' + 1);
        return static_cast<char>(shifted ? key : key - 'A' + 'a');
    }
    if (shift.Contains(ssCtrl)) return 0;
    if (key >= '0' && key <= '9')
        return shifted ? kShiftedDigits[static_cast<std::size_t>(key - '0')]
                       : static_cast<char>(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
        return static_cast<char>('0' + key - VK_NUMPAD0);
    switch (key) {
        case VK_SPACE:
            return ' ';
        case VK_RETURN:
            return '\r';
        case VK_ESCAPE:
            return 27;
        case VK_TAB:
            return '\t';
        case VK_BACK:
            return 8;
        case VK_MULTIPLY:
            return '*';
        case VK_ADD:
            return '+';
        case VK_SUBTRACT:
            return '-';
        case VK_DECIMAL:
            return '.';
        case VK_DIVIDE:
            return '/';
        default:
            break;
    }
    for (const TPunctuationKey& p : kPunctuation)
        if (p.key == key) return shifted ? p.shifted : p.plain;
    return 0;
}

bool TInput::CharToKey(char ch, Word& key, TShiftState& shift) {
    shift = {};
    if (ch >= 'a' && ch <= 'z') {
        key = static_cast<Word>(ch - 'a' + 'A');
        return true;
    }
    if (ch >= 'A' && ch <= 'Z') {
        key = static_cast<Word>(ch);
        shift = {ssShift};
        return true;
    }
    if (ch >= '0' && ch <= '9') {
        key = static_cast<Word>(ch);
        return true;
    }
    for (std::size_t i = 0; i < kShiftedDigits.size(); ++i) {
        if (kShiftedDigits[i] == ch) {
            key = static_cast<Word>('0' + i);
            shift = {ssShift};
            return true;
        }
    }
    for (const TPunctuationKey& p : kPunctuation) {
        if (p.plain == ch || p.shifted == ch) {
            key = p.key;
            if (p.shifted == ch) shift = {ssShift};
            return true;
        }
    }
    switch (ch) {
        case ' ':
            key = VK_SPACE;
            return true;
        case '\r':
        case '\n':
            key = VK_RETURN;
            return true;
        case '\t':
            key = VK_TAB;
            return true;
        case 8:
            key = VK_BACK;
            return true;
        case 27:
            key = VK_ESCAPE;
            return true;
        default:
            return false;
    }
}

bool TInput::DispatchKeyDown(TWinControl& target, Word& key, TShiftState shift) {
    const auto life = target.LifeToken();
    TCustomForm* form = GetParentForm(&target);
    const bool preview = form != nullptr && form->KeyPreview();
    if (preview) {
        form->KeyDown(key, shift);
        if (key == 0 || life.expired()) return false;
    }
    if (DialogKey(target, key, shift) || life.expired()) return false;
    if (!preview) {
        target.Perform(WM_KEYDOWN, key, ShiftBits(shift));
        return true;
    }
    // The control's own KeyDown follows without a second preview.
    const auto formLife = form->LifeToken();
    form->keyPreviewed_ = true;
    try {
        target.Perform(WM_KEYDOWN, key, ShiftBits(shift));
    } catch (...) {
        if (!formLife.expired()) form->keyPreviewed_ = false;
        throw;
    }
    if (!formLife.expired()) form->keyPreviewed_ = false;
    return true;
}

void TInput::Key(Word key, TShiftState shift) {
    TWinControl* target = KeyTarget();
    if (target == nullptr || !TakesInput(*target)) return;
    const auto life = target->LifeToken();
    const Word pressed = key;
    bool reached = false;
    GuardedInput([&] { reached = DispatchKeyDown(*target, key, shift); });
    // The character goes to the window that had the focus when the key went down.
    const char ch = reached && key != 0 ? KeyToChar(key, shift) : 0;
    if (ch != 0 && !life.expired()) {
        GuardedInput([&] { target->Perform(WM_CHAR, static_cast<unsigned char>(ch)); });
    }
    KeyUp(pressed, shift);
}

void TInput::KeyDown(Word key, TShiftState shift) {
    TWinControl* target = KeyTarget();
    if (target == nullptr || !TakesInput(*target)) return;
    GuardedInput([&] { DispatchKeyDown(*target, key, shift); });
}

void TInput::KeyUp(Word key, TShiftState shift) {
    TWinControl* target = KeyTarget();
    if (target == nullptr || !TakesInput(*target)) return;
    GuardedInput([&] { target->Perform(WM_KEYUP, key, ShiftBits(shift)); });
}

void TInput::Char(char key) {
    TWinControl* target = KeyTarget();
    if (target == nullptr || !TakesInput(*target)) return;
    GuardedInput([&] { target->Perform(WM_CHAR, static_cast<unsigned char>(key)); });
}

void TInput::TypeText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (static_cast<unsigned char>(ch) < 0x80) {
            Word key = 0;
            TShiftState shift;
            if (CharToKey(ch, key, shift)) {
                Key(key, shift);
            } else {
                Char(ch);
            }
            ++i;
            continue;
        }
        // A run of characters outside ASCII arrives as one input-method commit.
        std::size_t end = i;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80)
            end += std::max<std::size_t>(1, Utf8SequenceLength(text, end));
        const std::string run(text.substr(i, end - i));
        TWinControl* target = KeyTarget();
        if (target != nullptr && TakesInput(*target))
            GuardedInput([&] { target->InputMethodText(run); });
        i = end;
    }
}

bool TInput::Focus(TWinControl& control) {
    if (!control.CanFocus() || !TakesInput(control)) return false;
    const TCustomForm* form = GetParentForm(&control);
    if (form == nullptr || !form->Visible()) return false;
    const auto life = control.LifeToken();
    GuardedInput([&] { control.SetFocus(); });
    return !life.expired() && control.Focused();
}

void TInput::Click(TControl& control, TMouseButton button, TShiftState shift, int x, int y) {
    if (!TakesInput(control)) return;
    const auto life = control.LifeToken();
    if (button == mbLeft) {
        auto* win = dynamic_cast<TWinControl*>(&control);
        // A control that takes the focus on clicks gets no click when the focus did not arrive
        // (an exit check of the control being left kept it).
        if (win != nullptr && win->TakesFocusOnClick() && !win->Focused() && !Focus(*win)) return;
    }
    TShiftState down = shift;
    down.Include(button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle);
    GuardedInput([&] {
        control.MouseDown(button, down, x, y);
        if (life.expired()) return;
        if (button == mbLeft && control.ControlStyle().Contains(csClickEvents)) control.Click();
        if (life.expired()) return;
        control.MouseUp(button, shift, x, y);
        // The right button's release asks for the control's context menu, as on the platform.
        if (button == mbRight && !life.expired() && control.Showing())
            ShowContextMenu(control, x, y);
    });
}

void TInput::DblClick(TControl& control, int x, int y) {
    const auto life = control.LifeToken();
    Click(control, mbLeft, {}, x, y);
    if (life.expired() || !TakesInput(control)) return;
    GuardedInput([&] {
        if (control.ControlStyle().Contains(csDoubleClicks)) control.DblClick();
        if (life.expired()) return;
        control.MouseDown(mbLeft, {ssLeft, ssDouble}, x, y);
        if (life.expired()) return;
        control.MouseUp(mbLeft, {}, x, y);
    });
}

void TInput::CloseBox(TCustomForm& form) {
    if (!form.AcceptsInput()) return;
    GuardedInput([&] { form.Perform(WM_CLOSE); });
}

}  // namespace kv
