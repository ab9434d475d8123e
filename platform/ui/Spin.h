// The Spin unit: the spin edit (TSpinEdit), an edit for whole numbers with up and down steps.
//
// The text holds the number; Value reads it (MinValue when it is no number; digits beyond the
// integer range read as its end) and writes it kept within MinValue..MaxValue (no limits when
// both are equal). The up and down keys (and the arrow buttons a backend shows) add or
// subtract Increment, stopping at the limits. Typing accepts digits, signs, the decimal
// separator and editing keys only; leaving the edit puts an out-of-range number back into
// range before OnExit runs, and leaves a text that is no number as it is.
#pragma once

#include "platform/ui/StdCtrls.h"

namespace kv {

class TSpinEdit : public TCustomEdit {
    KV_CLASS(TSpinEdit, TCustomEdit)
public:
    explicit TSpinEdit(TComponent* owner);

    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }
    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }
    // False: the text cannot be typed, only stepped.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }

    int Value() const;
    void SetValue(int value);
    // The value kept within the limits.
    int CheckValue(int value) const;
    // One step up or down (a beep on a read-only edit).
    void UpClick();
    void DownClick();

    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;

protected:
    void DoExit() override;

private:
    bool IsValidChar(char key) const;

    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
};

}  // namespace kv
