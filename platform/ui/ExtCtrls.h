// The ExtCtrls unit: panels, bevels, splitters, images and radio groups.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/StdCtrls.h"

namespace kv {

KV_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace);
KV_ENUM(TBevelStyle, bsLowered, bsRaised);
KV_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer);
KV_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern);

KV_EVENT(TCanResizeEvent, void(TObject* Sender, int& NewSize, bool& Accept));

class TCustomPanel : public TCustomControl {
    KV_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool value) { fullRepaint_ = value; }
    bool Locked() const { return locked_; }
    void SetLocked(bool value) { locked_ = value; }
    TCanvas* Canvas() const { return canvas_.get(); }

    bool TakesFocusOnClick() const override { return false; }
    // The bevels and the caption (what a backend calls when it paints the panel).
    void Paint() override;
    // Inside the border width and the width of each bevel.
    void AdjustClientRect(TRect& rect) const override;

private:
    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TFormBorderStyle borderStyle_ = bsNone;
    bool fullRepaint_ = true;
    bool locked_ = false;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TPanel : public TCustomPanel {
    KV_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

class TBevel : public TGraphicControl {
    KV_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// A bar between an aligned control and the rest of its parent: dragging it resizes that
// control. The control is the sibling with the same alignment that touches the splitter on
// the side it is aligned to (for alLeft the one whose right edge is the splitter's left edge).
class TSplitter : public TGraphicControl {
    KV_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* owner);

    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool value) { autoSnap_ = value; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value) { beveled_ = value; }
    // The smallest size of the control and of the space left beside it.
    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = std::max(value, 1); }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }

    // The control the splitter resizes, or null.
    TControl* ResizeControl() const;
    // What dragging the splitter by delta pixels does (towards the right or bottom is
    // positive): the control's new size is kept within the room beside it and at least
    // MinSize (with AutoSnap a size below MinSize snaps the control shut, to 0); OnCanResize
    // may change or refuse it. OnMoved follows a resize. A drag with the mouse resizes when
    // the button is released, or with ResizeStyle rsUpdate at every move.
    void MoveBy(int delta);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;

private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }

    bool autoSnap_ = true;
    bool beveled_ = false;
    int minSize_ = 30;
    TResizeStyle resizeStyle_ = rsPattern;
    bool dragging_ = false;
    TPoint dragStart_;
    int dragDelta_ = 0;
};

// A picture shown in a control.
class TImage : public TGraphicControl {
    KV_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TBitmap* Picture() const { return picture_.get(); }
    void SetPicture(TBitmap* value);
    // Sizes the control to the picture.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Transparent() const { return picture_->Transparent(); }
    void SetTransparent(bool value) { picture_->SetTransparent(value); }
    TCanvas* Canvas() const { return canvas_.get(); }
    void Paint() override;

private:
    void PictureChanged(TObject* sender);

    std::unique_ptr<TBitmap> picture_;
    bool autoSize_ = false;
    bool center_ = false;
    bool stretch_ = false;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TCustomRadioGroup;

// A button of a radio group; its click goes to the group.
class TGroupButton : public TRadioButton {
    KV_CLASS(TGroupButton, TRadioButton)
public:
    explicit TGroupButton(TComponent* owner);
};

// A group box with one radio button per line of Items; ItemIndex is the checked one. The
// buttons are made from the items (they are not stored in form descriptions) and arranged in
// Columns, top to bottom, then the next column. Clicking a button, or arriving at it with an
// arrow key, checks it, sets ItemIndex and raises the group's OnClick.
class TCustomRadioGroup : public TCustomGroupBox {
    KV_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value);
    // -1 for none; kept within -1..Count-1 (while loading it is only recorded).
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    // Kept within 1..16.
    int Columns() const { return columns_; }
    void SetColumns(int value);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TGroupButton* Buttons(int index) const;

    // A user's pick: the item's button is clicked.
    bool SelectItemByUser(const std::string& item) override;
    bool SelectIndexByUser(int index) override;
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ItemsChanged(TObject* sender);
    void ButtonClick(TObject* sender);
    bool ArrowKey(Word key, const TControl* from);
    void UpdateButtons();
    void ArrangeButtons();

    std::unique_ptr<TStringList> items_;
    std::vector<TGroupButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
    KV_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

}  // namespace kv
