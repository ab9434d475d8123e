// The StdCtrls unit: labels, edits, memos, combo boxes, list boxes, buttons, check boxes, radio
// buttons and group boxes.
//
// Rules the controls keep, as the platform's do:
// - Edits raise OnChange for every change of their text, by the user or by the program; combo
//   boxes only for the user's (typing, or picking an item when no OnSelect handler is set).
// - A user's pick in a combo box or list box raises OnClick first; a program setting ItemIndex
//   raises nothing.
// - A check box raises OnClick whenever its state changes, also when the program sets Checked;
//   a radio button when it becomes checked, and checking it unchecks the radio buttons beside it
//   (same parent).
// - Buttons with Default or Cancel answer Enter and Esc for their form; a button's click sets
//   the form's ModalResult to its own.
// - Maximum lengths of edits count like a double-byte code page: a character in ASCII one,
//   any other two.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/EditBuffer.h"
#include "platform/ui/Forms.h"

namespace kv {

KV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter);
KV_ENUM(TTextLayout, tlTop, tlCenter, tlBottom);
KV_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase);
KV_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth);
KV_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
        csOwnerDrawVariable);
KV_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual,
        lbVirtualOwnerDraw);
KV_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed);
KV_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata,
        imKata, imChinese, imSHanguel, imHanguel);
KV_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
        odHotLight, odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit);
KV_SET(TOwnerDrawState, TOwnerDrawStateItem);

KV_EVENT(TDrawItemEvent, void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State));
KV_EVENT(TMeasureItemEvent, void(TWinControl* Control, int Index, int& Height));

// The published types "TLeftRight" (taLeftJustify, taRightJustify) and "TBorderStyle" (bsNone,
// bsSingle) of properties kept in TAlignment and TFormBorderStyle.
const TTypeInfo* LeftRightTypeInfo();
const TTypeInfo* BorderStyleTypeInfo();

// ---------------------------------------------------------------------------------------------
// Labels

class TCustomLabel : public TGraphicControl {
    KV_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Sizes the label to its text (not while loading; Loaded does it then). The edge the
    // alignment names stays where it is.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Word-wrapped labels keep their width and grow downwards.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    // The caption as drawn: with ShowAccelChar "&&" shows "&" and a single "&" marks the
    // accelerator and is not drawn.
    std::string DisplayText() const;
    TCanvas* Canvas() const { return canvas_.get(); }
    // Sets the size from the text when AutoSize is on.
    virtual void AdjustBounds();
    // Draws the text on the canvas (what a backend calls when it paints the label).
    void Paint() override;

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<std::string> Lines() const;

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    TTextLayout layout_ = tlTop;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TLabel : public TCustomLabel {
    KV_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

// ---------------------------------------------------------------------------------------------
// Edits and memos

class TCustomEdit : public TWinControl {
    KV_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    // Selects the whole text when the edit is entered (single-line edits only).
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    // Keeps the height fitting the font: the text height plus 8 (21 for the default font).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value) { hideSelection_ = value; }
    const std::string& ImeName() const { return imeName_; }
    void SetImeName(const std::string& value) { imeName_ = value; }
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode value) { imeMode_ = value; }
    // 0: no limit. The user cannot type beyond it; the program can set a longer text.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    // Set by the user's edits, cleared when the program sets the text.
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }

    // Selection in characters.
    int SelStart() const { return buffer_.SelStart(); }
    void SetSelStart(int value) { buffer_.SetSel(value, 0); }
    int SelLength() const { return buffer_.SelLength(); }
    void SetSelLength(int value) { buffer_.SetSel(buffer_.SelStart(), value); }
    std::string SelText() const { return buffer_.SelText(); }
    // Replaces the selection (in the edit's letter case; a change event follows). Not limited
    // by MaxLength or ReadOnly, which hold for the user only.
    void SetSelText(const std::string& value);
    void SelectAll() { buffer_.SelectAll(); }
    void ClearSelection();
    void Clear() { SetText(""); }

    // The platform's dynamic Change: raises OnChange.
    virtual void Change();

    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;
    void WndProc(TMessage& message) override;
    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    std::string GetTextValue() const override { return buffer_.Text(); }
    void SetTextValue(const std::string& value) override;
    void DoEnter() override;
    virtual bool MultiLine() const { return false; }
    // Puts text in place of the selection as the user typing it would (case, maximum length,
    // read-only); false when nothing changed.
    bool UserInsert(std::string text);
    // After a user's edit: modified, peer and change event.
    void UserChanged();
    void AdjustHeight();

    TEditBuffer buffer_;

private:
    bool autoSelect_ = true;
    bool autoSize_ = true;
    TFormBorderStyle borderStyle_ = bsSingle;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    std::string imeName_;
    TImeMode imeMode_ = imDontCare;
    int maxLength_ = 0;
    bool modified_ = false;
    char passwordChar_ = 0;
    bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
    KV_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TCustomMemo;

// The lines of a memo: reading and writing them reads and writes the memo's text (lines end in
// CR LF; an empty last line does not count).
class TMemoStrings : public TStrings {
    KV_CLASS(TMemoStrings, TStrings)
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}

    int Count() const override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    // The memo's text itself (line breaks made CR LF when set).
    std::string Text() const override;
    void SetText(std::string_view text) override;

protected:
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;

private:
    TCustomMemo& memo_;
};

class TCustomMemo : public TCustomEdit {
    KV_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { alignment_ = value; }
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value) { scrollBars_ = value; }
    // Enter makes a new line (else it serves the form's default button).
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    // Tab types a tab (else it moves the focus).
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }

    // The caret: X the column, Y the line (of the selection's start), from 0.
    TPoint CaretPos() const;
    void SetCaretPos(TPoint value);
    // The line of a character index.
    int LineFromChar(int index) const { return buffer_.LineFromChar(index); }

    LRESULT DialogCode() const override;
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;

protected:
    bool MultiLine() const override { return true; }

private:
    friend class TMemoStrings;

    TAlignment alignment_ = taLeftJustify;
    std::unique_ptr<TMemoStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
    KV_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

// ---------------------------------------------------------------------------------------------
// Lists

// The items of a list box or combo box: a string list that tells its control of every change
// so that the selection follows the items. Add puts a line in order while the control is
// sorted; Insert puts it where asked, as on the platform.
class TListControlItems : public TStrings {
    KV_CLASS(TListControlItems, TStrings)
public:
    class TListener {
    public:
        virtual void ItemInserted(int index) = 0;
        virtual void ItemDeleted(int index) = 0;
        virtual void ItemsCleared() = 0;
        // The items were reordered: order[i] is the old index of the item now at i.
        virtual void ItemsReordered(const std::vector<int>& order) = 0;

    protected:
        ~TListener() = default;
    };

    explicit TListControlItems(TListener& listener) : listener_(listener) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    int Add(const std::string& s) override;
    int AddPointer(const std::string& s, void* pointer) override;
    void Insert(int index, const std::string& s) override;
    void InsertPointer(int index, const std::string& s, void* pointer) override;
    void Delete(int index) override;
    void Clear() override;

    bool Sorted() const { return sorted_; }
    // Sorting sorts the items at once (letter case ignored, stable).
    void SetSorted(bool value);

protected:
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void* GetObjectPtr(int index) const override;
    void PutObjectPtr(int index, void* pointer) override;

private:
    struct TItem {
        std::string text;
        void* pointer = nullptr;
    };
    void Sort();

    TListener& listener_;
    std::vector<TItem> items_;
    bool sorted_ = false;
};

class TCustomComboBox : public TWinControl, private TListControlItems::TListener {
    KV_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    // The text is one of the items (drop-down list and owner-draw styles).
    bool IsListStyle() const;
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value);
    // -1 for none. Values outside the items select none. Setting it shows the item's text.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value) { items_->SetSorted(value); }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value) { dropDownCount_ = value; }
    bool DroppedDown() const { return droppedDown_; }
    // Opening raises OnDropDown, closing OnCloseUp.
    void SetDroppedDown(bool value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = std::max(value, 0); }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value) { charCase_ = value; }
    const std::string& ImeName() const { return imeName_; }
    void SetImeName(const std::string& value) { imeName_ = value; }
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode value) { imeMode_ = value; }
    int SelStart() const { return edit_.SelStart(); }
    int SelLength() const { return edit_.SelLength(); }
    std::string SelText() const { return edit_.SelText(); }
    void SelectAll() { edit_.SelectAll(); }
    void Clear();
    TCanvas* Canvas() const { return canvas_.get(); }

    // The platform's dynamic methods: Change raises OnChange; Select raises OnSelect, or
    // OnChange when no OnSelect handler is set.
    virtual void Change();
    virtual void Select();
    // Draws item index as the backend does for owner-draw styles (OnDrawItem).
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

    // A user's pick: the item's text, OnClick, then Select.
    bool SelectItemByUser(const std::string& item) override;
    bool SelectIndexByUser(int index) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;
    void WndProc(TMessage& message) override;
    void Loaded() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    std::string GetTextValue() const override { return edit_.Text(); }
    void SetTextValue(const std::string& value) override;
    void DoEnter() override;

private:
    void ItemInserted(int index) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsReordered(const std::vector<int>& order) override;
    void ShowItemText();
    void UserTyped();
    void UserPick(int index);
    int FindPrefix(std::string_view prefix, int after) const;

    TComboBoxStyle style_ = csDropDown;
    std::unique_ptr<TListControlItems> items_;
    int itemIndex_ = -1;
    int loadingItemIndex_ = -1;
    TEditBuffer edit_;
    int dropDownCount_ = 8;
    bool droppedDown_ = false;
    int itemHeight_ = 16;
    int maxLength_ = 0;
    TEditCharCase charCase_ = ecNormal;
    std::string imeName_;
    TImeMode imeMode_ = imDontCare;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TComboBox : public TCustomComboBox {
    KV_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

class TCustomListBox : public TWinControl, private TListControlItems::TListener {
    KV_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value);
    int Count() const { return items_->Count(); }
    // The selected item (with MultiSelect the item with the focus rectangle); -1 for none.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool value) { extendedSelect_ = value; }
    // EListError for an index outside the items.
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    void ClearSelection();
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value) { items_->SetSorted(value); }
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value) { style_ = value; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value) { columns_ = std::max(value, 0); }
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool value) { integralHeight_ = value; }
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int value);
    void Clear() { items_->Clear(); }
    TCanvas* Canvas() const { return canvas_.get(); }
    // Draws item index as the backend does for owner-draw styles (OnDrawItem).
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

    // A user's pick: that item alone is selected, then OnClick.
    bool SelectItemByUser(const std::string& item) override;
    bool SelectIndexByUser(int index) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void Loaded() override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

private:
    void ItemInserted(int index) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsReordered(const std::vector<int>& order) override;
    void UserPick(int index);
    void CheckIndex(int index) const;

    std::unique_ptr<TListControlItems> items_;
    std::vector<bool> selected_;
    int itemIndex_ = -1;
    int loadingItemIndex_ = -1;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 13;
    int columns_ = 0;
    bool integralHeight_ = false;
    int topIndex_ = 0;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TListBox : public TCustomListBox {
    KV_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

// ---------------------------------------------------------------------------------------------
// Buttons

// The base of push buttons, check boxes and radio buttons.
class TButtonControl : public TWinControl {
    KV_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);

    bool Checked() const { return GetChecked(); }
    void SetChecked(bool value) { SetCheckedValue(value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }
    // While set, a change of the checked state raises no OnClick.
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool value) { clicksDisabled_ = value; }

protected:
    virtual bool GetChecked() const { return false; }
    virtual void SetCheckedValue(bool) {}
    // Raises OnClick unless clicks are disabled (a state change made by the program or user).
    void ClickFromState();

private:
    bool clicksDisabled_ = false;
    bool wordWrap_ = false;
};

class TButton : public TButtonControl {
    KV_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);

    // Esc clicks the button.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // Enter clicks the button when no other button has the focus.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    // Sets the form's ModalResult to the button's, then raises OnClick.
    void Click() override;
    void DefaultKeyPress(char& key) override;
    void WndProc(TMessage& message) override;

private:
    bool cancel_ = false;
    bool default_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCustomCheckBox : public TButtonControl {
    KV_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Clicks go unchecked, checked, grayed (when allowed), unchecked.
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    TCheckBoxState State() const { return state_; }
    // A new state raises OnClick (unless clicks are disabled).
    void SetState(TCheckBoxState value);

    // The user's click: the next state.
    void Click() override;
    void Toggle();
    void DefaultKeyPress(char& key) override;

protected:
    bool GetChecked() const override { return state_ == cbChecked; }
    void SetCheckedValue(bool value) override { SetState(value ? cbChecked : cbUnchecked); }

private:
    TAlignment alignment_ = taRightJustify;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    KV_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
    KV_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    // The user's click checks the button (a checked one stays checked).
    void Click() override;
    // A click focuses the button whether or not it is the group's tab stop.
    bool TakesFocusOnClick() const override { return true; }
    void DefaultKeyPress(char& key) override;

protected:
    bool GetChecked() const override { return checked_; }
    // Checking unchecks the other radio buttons of the same parent, makes this one the tab
    // stop and raises OnClick (unless clicks are disabled).
    void SetCheckedValue(bool value) override;

private:
    TAlignment alignment_ = taRightJustify;
    bool checked_ = false;
};

// ---------------------------------------------------------------------------------------------
// Group boxes

class TCustomGroupBox : public TCustomControl {
    KV_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);

    TCanvas* Canvas() const { return canvas_.get(); }
    bool TakesFocusOnClick() const override { return false; }

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

class TGroupBox : public TCustomGroupBox {
    KV_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

}  // namespace kv
