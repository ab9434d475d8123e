// The Mask unit: the mask edit (TMaskEdit) and the editing rules of a masked text.
//
// A mask edit keeps its edit text (one character per mask position: the literals in place and
// the mask's blank character where nothing is typed, see MaskUtils.h) and answers Text per the
// mask's literal flag ("...;1;_" with the literals, "...;0;_" the typed characters only, blanks
// as spaces, trailing ones trimmed or, with '!', leading ones). Typing overwrites one position
// at a time: a character the position refuses is refused with a beep, the caret skips the
// literals, and typing the literal that stands at the caret steps over it. Without a mask the
// control is a plain edit.
//
// Leaving a masked edit that the user changed checks it: a required position left blank shows
// the error "Invalid input value.  Use escape key to abandon changes" and keeps the focus in
// the edit. Esc (while changed) puts back the text the edit had when it was entered.
#pragma once

#include <string>

#include "platform/ui/MaskUtils.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

// A masked edit's content that does not fit its mask (ValidateEdit).
KV_DECLARE_EXCEPTION(EDBEditError, Exception);

// The edit text and selection of a masked edit, in characters.
struct TMaskEditState {
    std::string EditText;
    int SelStart = 0;
    int SelLength = 0;
};

// The editing rules, without a control. Typing answers whether the character was taken (false:
// the position refuses it, or the caret stands at the end); Backspace and Delete whether the
// edit text changed. The state is first made to fit the mask (see FitEditText), so any state
// may be handed in.
bool MaskTypeChar(const TEditMask& mask, TMaskEditState& state, char32_t ch);
bool MaskBackspace(const TEditMask& mask, TMaskEditState& state);
bool MaskDelete(const TEditMask& mask, TMaskEditState& state);
// The caret keys: left, right, home and end move between input positions (right of the last
// one stands the end of the text).
void MaskMoveCaret(const TEditMask& mask, TMaskEditState& state, Word key);
// text made an edit text of the mask: one character per position, the literals in place,
// characters a position refuses replaced by the blank; the selection kept inside.
void FitEditText(const TEditMask& mask, TMaskEditState& state);

class TCustomMaskEdit : public TCustomEdit {
    KV_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    explicit TCustomMaskEdit(TComponent* owner);

    const std::string& EditMask() const { return mask_.EditMask(); }
    // The text is kept: what Text gave under the old mask is put under the new one (a change
    // event follows when the edit text changes).
    void SetEditMask(const std::string& value);
    bool IsMasked() const { return mask_.IsMasked(); }
    const TEditMask& Mask() const { return mask_; }
    // What the edit shows. Setting it fits it to the mask.
    std::string EditText() const { return buffer_.Text(); }
    void SetEditText(const std::string& value);
    // The Text of an empty field under the current mask.
    std::string EmptyText() const { return mask_.EmptyText(); }

    // Raises EDBEditError when the user changed a masked text that is incomplete, after
    // putting the caret at the first wrong position.
    void ValidateEdit();
    // Puts back the edit text the edit had when it was entered.
    void Reset();

    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;
    void WndProc(TMessage& message) override;

protected:
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& value) override;
    void DoEnter() override;
    void DoExit() override;

private:
    // Applies an editing rule to the buffer; a change counts as the user's.
    template <class Rule>
    bool Edit(Rule&& rule);

    TEditMask mask_;
    std::string enteredText_;  // the edit text when the edit was entered, for Reset
};

class TMaskEdit : public TCustomMaskEdit {
    KV_CLASS(TMaskEdit, TCustomMaskEdit)
public:
    explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

}  // namespace kv
