#include "platform/ui/Mask.h"

#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/ui/EditPublish.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TMaskEdit);

namespace {

constexpr const char* kInvalidInput = "Invalid input value.  Use escape key to abandon changes";

// The edit text as characters, fitted to the mask.
struct TWork {
    std::u32string text;
    int selStart = 0;
    int selLength = 0;
};

TWork Load(const TEditMask& mask, const TMaskEditState& state) {
    TMaskEditState fitted = state;
    FitEditText(mask, fitted);
    return TWork{Utf8ToChars(fitted.EditText), fitted.SelStart, fitted.SelLength};
}

void Store(const TWork& work, TMaskEditState& state) {
    state.EditText = CharsToUtf8(work.text);
    state.SelStart = work.selStart;
    state.SelLength = work.selLength;
}

// Blanks the input positions of the selection; the caret goes to its start.
bool ClearSelection(const TEditMask& mask, TWork& work) {
    bool changed = false;
    for (int p = work.selStart; p < work.selStart + work.selLength; ++p) {
        const auto i = static_cast<std::size_t>(p);
        if (!mask.IsLiteral(p) && work.text[i] != mask.Blank()) {
            work.text[i] = mask.Blank();
            changed = true;
        }
    }
    work.selLength = 0;
    return changed;
}

// The literal that ends the run of input positions pos stands in, or -1.
int ClosingLiteral(const TEditMask& mask, int pos) {
    for (int p = pos; p < mask.Length(); ++p)
        if (mask.IsLiteral(p)) return p;
    return -1;
}

int PreviousInputPos(const TEditMask& mask, int pos) {
    for (int p = std::min(pos, mask.Length()) - 1; p >= 0; --p)
        if (!mask.IsLiteral(p)) return p;
    return -1;
}

}  // namespace

void FitEditText(const TEditMask& mask, TMaskEditState& state) {
    if (!mask.IsMasked()) {
        const int n = static_cast<int>(Utf8ToChars(state.EditText).size());
        state.SelStart = std::clamp(state.SelStart, 0, n);
        state.SelLength = std::clamp(state.SelLength, 0, n - state.SelStart);
        return;
    }
    const std::u32string text = Utf8ToChars(state.EditText);
    std::u32string fitted(static_cast<std::size_t>(mask.Length()), mask.Blank());
    for (int p = 0; p < mask.Length(); ++p) {
        const auto i = static_cast<std::size_t>(p);
        if (mask.IsLiteral(p)) {
            fitted[i] = mask.At(p).Literal;
        } else if (i < text.size() && text[i] != U' ' && text[i] != mask.Blank()) {
            fitted[i] = mask.Accept(p, text[i]).value_or(mask.Blank());
        }
    }
    state.EditText = CharsToUtf8(fitted);
    state.SelStart = std::clamp(state.SelStart, 0, mask.Length());
    state.SelLength = std::clamp(state.SelLength, 0, mask.Length() - state.SelStart);
}

bool MaskTypeChar(const TEditMask& mask, TMaskEditState& state, char32_t ch) {
    // A number that is no character (beyond Unicode, or half of a surrogate pair) is refused.
    if (!mask.IsMasked() || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return false;
    TWork work = Load(mask, state);
    if (work.selLength > 0) ClearSelection(mask, work);
    int pos = work.selStart;
    // The literal at the caret typed as such: step over it.
    if (pos < mask.Length() && mask.IsLiteral(pos) && mask.At(pos).Literal == ch) {
        work.selStart = mask.NextInputPos(pos + 1);
        Store(work, state);
        return true;
    }
    pos = mask.NextInputPos(pos);
    const std::optional<char32_t> accepted = mask.Accept(pos, ch);
    if (accepted) {
        // A space typed where any character goes leaves the position blank, as a space reads.
        work.text[static_cast<std::size_t>(pos)] = *accepted == U' ' ? mask.Blank() : *accepted;
        work.selStart = mask.NextInputPos(pos + 1);
    } else if (int closer = ClosingLiteral(mask, pos);
               closer >= 0 && mask.At(closer).Literal == ch) {
        // The literal that closes the run typed early: the rest of the run stays blank.
        work.selStart = mask.NextInputPos(closer + 1);
    } else {
        Store(work, state);
        return false;
    }
    Store(work, state);
    return true;
}

bool MaskBackspace(const TEditMask& mask, TMaskEditState& state) {
    if (!mask.IsMasked()) return false;
    TWork work = Load(mask, state);
    bool changed = false;
    if (work.selLength > 0) {
        changed = ClearSelection(mask, work);
    } else {
        const int pos = PreviousInputPos(mask, work.selStart);
        if (pos >= 0) {
            changed = work.text[static_cast<std::size_t>(pos)] != mask.Blank();
            work.text[static_cast<std::size_t>(pos)] = mask.Blank();
            work.selStart = pos;
        }
    }
    Store(work, state);
    return changed;
}

bool MaskDelete(const TEditMask& mask, TMaskEditState& state) {
    if (!mask.IsMasked()) return false;
    TWork work = Load(mask, state);
    bool changed = false;
    if (work.selLength > 0) {
        changed = ClearSelection(mask, work);
    } else {
        const int pos = mask.NextInputPos(work.selStart);
        if (pos < mask.Length()) {
            changed = work.text[static_cast<std::size_t>(pos)] != mask.Blank();
            work.text[static_cast<std::size_t>(pos)] = mask.Blank();
        }
    }
    Store(work, state);
    return changed;
}

void MaskMoveCaret(const TEditMask& mask, TMaskEditState& state, Word key) {
    if (!mask.IsMasked()) return;
    TWork work = Load(mask, state);
    int pos = work.selStart;
    switch (key) {
        case VK_LEFT: {
            const int previous = PreviousInputPos(mask, pos);
            if (previous >= 0) pos = previous;
            break;
        }
        case VK_RIGHT:
            pos = mask.NextInputPos(std::min(pos + 1, mask.Length()));
            break;
        case VK_HOME:
            pos = mask.NextInputPos(0);
            break;
        case VK_END:
            pos = mask.Length();
            break;
        default:
            return;
    }
    work.selStart = pos;
    work.selLength = 0;
    Store(work, state);
}

// ---- TCustomMaskEdit

KV_PUBLISHED(TCustomMaskEdit) {}

KV_PUBLISHED(TMaskEdit) {
    PublishEditMembers(b, "Align Anchors AutoSelect AutoSize BorderStyle CharCase Color");
    b.Property("EditMask", &T::EditMask, &T::SetEditMask);
    PublishEditMembers(b,
                       "Enabled Font ImeMode ImeName MaxLength ParentColor ParentFont "
                       "ParentShowHint PasswordChar PopupMenu ReadOnly ShowHint TabOrder TabStop "
                       "Text Visible OnChange OnClick OnDblClick OnEnter OnExit OnKeyDown "
                       "OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp");
}

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

std::string TCustomMaskEdit::GetTextValue() const {
    return mask_.IsMasked() ? mask_.TextOf(buffer_.Text()) : buffer_.Text();
}

void TCustomMaskEdit::SetTextValue(const std::string& value) {
    TCustomEdit::SetTextValue(mask_.IsMasked() ? mask_.EditTextFor(value) : value);
}

// The typed characters carry over: they are read from the edit text the way the new mask's
// literal flag wants them, so switching only the flag keeps every character in place.
void TCustomMaskEdit::SetEditMask(const std::string& value) {
    if (value == mask_.EditMask()) return;
    const TEditMask next(value);
    const std::string text =
        mask_.IsMasked() ? mask_.ExtractText(buffer_.Text(), next.SaveLiterals()) : buffer_.Text();
    mask_ = next;
    const std::string editText = mask_.IsMasked() ? mask_.EditTextFor(text) : text;
    if (editText == buffer_.Text()) return;
    buffer_.SetText(editText);
    Perform(CM_TEXTCHANGED);
}

void TCustomMaskEdit::SetEditText(const std::string& value) {
    TMaskEditState state{value, 0, 0};
    FitEditText(mask_, state);
    if (state.EditText == buffer_.Text()) return;
    buffer_.SetText(state.EditText);
    Perform(CM_TEXTCHANGED);
}

template <class Rule>
bool TCustomMaskEdit::Edit(Rule&& rule) {
    TMaskEditState state{buffer_.Text(), buffer_.SelStart(), buffer_.SelLength()};
    const bool result = rule(state);
    const bool changed = state.EditText != buffer_.Text();
    buffer_.SetText(state.EditText);
    buffer_.SetSel(state.SelStart, state.SelLength);
    if (changed) UserChanged();
    return result;
}

void TCustomMaskEdit::DefaultKeyPress(char& key) {
    if (!mask_.IsMasked()) return TCustomEdit::DefaultKeyPress(key);
    const auto ch = static_cast<unsigned char>(key);
    if (ch == 27) {
        if (Modified()) Reset();
        return;
    }
    if (ReadOnly() || (ch < 32 && ch != 8)) return;
    if (ch == 8) {
        Edit([&](TMaskEditState& s) { return MaskBackspace(mask_, s); });
        return;
    }
    InputMethodText(std::string(1, key));
}

void TCustomMaskEdit::InputMethodText(const std::string& text) {
    if (!mask_.IsMasked()) return TCustomEdit::InputMethodText(text);
    if (ReadOnly()) return;
    for (char32_t ch : Utf8ToChars(text)) {
        if (!Edit([&](TMaskEditState& s) { return MaskTypeChar(mask_, s, ch); }))
            Widgetset().Beep();
    }
}

void TCustomMaskEdit::DefaultKeyDown(Word& key, TShiftState shift) {
    if (!mask_.IsMasked()) return TCustomEdit::DefaultKeyDown(key, shift);
    if (key == VK_DELETE) {
        if (!ReadOnly()) Edit([&](TMaskEditState& s) { return MaskDelete(mask_, s); });
        return;
    }
    Edit([&](TMaskEditState& s) {
        MaskMoveCaret(mask_, s, key);
        return false;
    });
}

void TCustomMaskEdit::WndProc(TMessage& message) {
    // Esc undoes the user's changes instead of serving the form's cancel button.
    if (message.Msg == CM_WANTSPECIALKEY && message.WParam == VK_ESCAPE && IsMasked() &&
        Modified()) {
        message.Result = 1;
        return;
    }
    TCustomEdit::WndProc(message);
}

void TCustomMaskEdit::Reset() {
    if (buffer_.Text() != enteredText_) {
        buffer_.SetText(enteredText_);
        Perform(CM_TEXTCHANGED);
    }
    SetModified(false);
    buffer_.SelectAll();
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || !Modified()) return;
    const int pos = mask_.FirstInvalidPos(buffer_.Text());
    if (pos < 0) return;
    buffer_.SetSel(pos, 0);
    Widgetset().Beep();
    throw EDBEditError(kInvalidInput);
}

void TCustomMaskEdit::DoEnter() {
    enteredText_ = buffer_.Text();
    TCustomEdit::DoEnter();
}

// An incomplete entry keeps the focus and shows the error, as the platform's window procedure
// shows an error raised while the focus leaves; the exit event is not raised then.
void TCustomMaskEdit::DoExit() {
    try {
        if (CanFocus()) ValidateEdit();
    } catch (const EDBEditError& error) {
        const int caret = buffer_.SelStart();
        SetFocus();
        buffer_.SetSel(caret, 0);
        Application().HandleException(error);
        return;
    }
    TCustomEdit::DoExit();
}

}  // namespace kv
