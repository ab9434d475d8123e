// The Controls unit: TControl (everything visible), TWinControl (controls with a window handle
// that take the focus, hold child controls and get keys), TGraphicControl and TCustomControl
// (the bases of drawn controls), window handles and message delivery.
//
// Rules the platform keeps:
// - A control is shown only when it and all its parents are visible (Showing), and takes input
//   only when it and all its parents are enabled (EffectiveEnabled).
// - Font, colour and show-hint follow the parent while ParentFont, ParentColor and
//   ParentShowHint are set; setting the property on the control clears the Parent* flag.
// - Window handles are integers handed out on demand by Handle(); FindControl maps them back.
//   SendMessage and Perform deliver to WndProc at once; PostMessage queues for the application's
//   message loop (Forms.h). A message to a handle whose control is gone is dropped.
// - Focus lives in the form (Forms.h): SetFocus asks the parent form, which raises the exit
//   events up to the common parent and the enter events down to the new control.
//
// Controls publish only what their platform counterparts publish: TControl publishes Left, Top,
// Width, Height, Cursor, Hint and HelpContext; a concrete control adds the rest in its own
// KV_PUBLISHED block, most simply with PublishControlMembers (end of this file).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"

namespace kv {

class TWinControl;
class TCustomForm;
enum class TPeerChange : int;

KV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom);
KV_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom);
KV_SET(TAnchors, TAnchorKind);
KV_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle);

// How a control takes part in the platform's machinery.
KV_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
        csDoubleClicks, csFixedWidth, csFixedHeight, csNoStdEvents);
KV_SET(TControlStyle, TControlStyleItem);

KV_EVENT(TMouseEvent, void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y));
KV_EVENT(TMouseMoveEvent, void(TObject* Sender, TShiftState Shift, int X, int Y));

// Mouse cursors (the published type "TCursor" reads and writes these identifiers).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
const TTypeInfo* CursorTypeInfo();

// Results of modal forms and message dialogs.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

class TControl : public TComponent {
    KV_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- parent
    TWinControl* Parent() const { return parent_; }
    // Moves the control into parent's children (null takes it out). Raises EInvalidOperation
    // for the control itself or one of its own children as parent.
    virtual void SetParent(TWinControl* parent);
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }

    // ---- bounds (relative to the parent's client area)
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area is the whole control on every backend (no frames or captions counted).
    int ClientWidth() const { return width_; }
    int ClientHeight() const { return height_; }
    void SetClientWidth(int value) { SetWidth(value); }
    void SetClientHeight(int value) { SetHeight(value); }
    TRect ClientRect() const { return Rect(0, 0, width_, height_); }
    // Positions relative to the screen (forms stand at their Left/Top on the screen).
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value) { anchors_ = value; }

    // ---- visibility and input
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all parents; a control without parent shows only if it is a form.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    // Enabled, and so are all parents.
    bool EffectiveEnabled() const;

    // ---- text (Caption and Text are the same text; a control publishes the one it shows)
    std::string Caption() const { return GetTextValue(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetTextValue(); }
    void SetText(const std::string& value);

    // ---- appearance
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    // The control's own font object; assign to it or call SetFont (which copies).
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    // ---- hints
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }

    // The popup menu shown on a right click (a component of the Menus unit), or null.
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

    // ---- actions
    virtual void Click();
    virtual void DblClick();
    // Raises the control above its siblings (a form: in front of the other forms, activated).
    virtual void BringToFront();
    void SendToBack();
    // Asks the backend to redraw the control.
    void Invalidate();
    void Repaint() { Invalidate(); }
    void Refresh() { Invalidate(); }

    // ---- messages
    // Delivers a message to WndProc at once and answers its Result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The message handler. Overrides handle their own messages and pass the rest on to the
    // inherited WndProc. The base handles the CM_* notifications of this unit and the mouse.
    virtual void WndProc(TMessage& message);

    // ---- input the platform delivers (TInput in Forms.h calls these in the platform's order)
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    // ---- hooks of the automation interface and of widgetsets for list-like controls. A
    // control with items overrides them; the base has no items and answers false.
    // Selects the item with that text as the user would (raising the control's events).
    virtual bool SelectItemByUser(const std::string& item);
    virtual bool SelectIndexByUser(int index);

    // Ends loading: takes the parent's font, colour and show-hint where the control follows it.
    void Loaded() override;

    // True while this object exists; stays readable after it is destroyed, so code that
    // raises events can tell whether a handler freed the control.
    std::weak_ptr<const bool> LifeToken() const { return life_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // Where Text/Caption live; text controls override both to keep their own model.
    virtual std::string GetTextValue() const { return text_; }
    virtual void SetTextValue(const std::string& value) { text_ = value; }
    // Raises OnResize (not while loading).
    virtual void Resize();
    // The bounds changed from the old ones: the base tells the backend, lets the parent realign
    // an aligned control and raises OnResize when the size changed.
    virtual void BoundsChanged(const TRect& old);
    void Notification(TComponent* component, TOperation operation) override;
    // The backend shows this control again in its current state.
    void UpdatePeer(TPeerChange change) const;

    std::string text_;

private:
    friend class TWinControl;
    friend class TCustomForm;

    void FontChanged(TObject* sender);
    void ParentFontChanged();
    void ParentColorChanged();
    void ParentShowHintChanged();

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = {akLeft, akTop};
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool updatingFont_ = false;
    TCursor cursor_ = crDefault;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    int helpContext_ = 0;
    TComponent* popupMenu_ = nullptr;
    TControlStyle controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    std::shared_ptr<const bool> life_ = std::make_shared<const bool>(true);
};

class TWinControl : public TControl {
    KV_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    // Frees the child controls (whoever owns them) and the window handle.
    ~TWinControl() override;

    // ---- children, in z-order (first is bottom-most)
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;  // EListError when out of range
    // True for this control and every control inside it.
    bool ContainsControl(const TControl* control) const;
    // The child control of that name (letter case ignored), or null.
    TControl* FindChildControl(std::string_view name) const;
    // Perform the message on every child (in z-order); stops at the first nonzero Result when
    // untilHandled is set.
    void Broadcast(TMessage& message, bool untilHandled = false);

    // ---- handle
    bool HandleAllocated() const { return handle_ != 0; }
    // The window handle, created on demand (the parents' handles first). A control that is
    // no form and has no parent raises EInvalidOperation "Control 'X' has no parent window".
    HWND Handle();
    void HandleNeeded() { (void)Handle(); }
    // Gives the handle back; the next Handle() hands out a new number.
    void DestroyHandle();

    // ---- tab order and focus
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // This control's children (windowed ones) in tab order, each followed by its own list.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) control after current in this control's tab-order list that can
    // take the focus, wrapping; with checkTabStop only tab stops, with checkParent only direct
    // children. Null when there is none.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    // Focuses the next control after current (Tab / Shift+Tab).
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();
    // The control and all its parents up to the form are visible and enabled.
    virtual bool CanFocus() const;
    // The control has the input focus.
    bool Focused() const;
    // Gives the control the focus through its form. Raises EInvalidOperation "Cannot focus a
    // disabled or invisible window" when it cannot take it.
    virtual void SetFocus();

    // ---- layout
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    // Places the children with an alignment in the client area: top, bottom, left, right,
    // then client, each group in its current order along its edge.
    void Realign();
    // The part of the client area that aligned children fill (a panel leaves its border and
    // bevels out). Base: the whole client area.
    virtual void AdjustClientRect(TRect& rect) const;

    // ---- keys (TInput in Forms.h calls these in the platform's order)
    // OnKeyDown; a handler that sets Key to 0 consumes the key.
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyUp(Word& key, TShiftState shift);
    virtual void KeyPress(char& key);
    // What the control does with a key nobody consumed (editing, moving). Base: nothing.
    virtual void DefaultKeyDown(Word& key, TShiftState shift);
    virtual void DefaultKeyPress(char& key);
    // Text committed by an input method (characters outside ASCII). Base: nothing.
    virtual void InputMethodText(const std::string& text);
    // Which keys the control keeps for itself (DLGC_* bits); the form uses the others for
    // dialog navigation.
    virtual LRESULT DialogCode() const { return 0; }
    // A click puts the focus into the control first (buttons, edits); panels answer false.
    virtual bool TakesFocusOnClick() const { return tabStop_; }

    void WndProc(TMessage& message) override;
    // Ends loading: puts the children at the tab orders read, and aligns them.
    void Loaded() override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    // The backend's peer is made (CreatePeer) after the number is handed out.
    virtual void CreateHandle();
    virtual void DoEnter();
    virtual void DoExit();
    void BoundsChanged(const TRect& old) override;
    // Puts each child whose TabOrder was set while loading at that place.
    void FixupTabList();

private:
    friend class TControl;
    friend class TCustomForm;

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateTabOrder(int value);
    void AnchorChildren(int dx, int dy);
    void AlignGroup(TAlign align, TRect& area);
    void RemoveFocus(bool removing);
    void NotifyChildren(UINT msg);

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    HWND handle_ = 0;
    bool tabStop_ = false;
    int loadingTabOrder_ = -1;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
    bool focusing_ = false;
};

// A control drawn on its parent's window (labels, speed buttons, bevels); it has no handle
// and never takes the focus.
class TGraphicControl : public TControl {
    KV_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);

protected:
    // Draws the control; the backend calls it when it paints (the base draws nothing).
    virtual void Paint() {}
};

// A windowed control that draws itself (panels, grids, list views).
class TCustomControl : public TWinControl {
    KV_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);

protected:
    virtual void Paint() {}
};

// ---- handles and messages

// The windowed control with that handle, or null (also for 0 and for handles given back).
TWinControl* FindControl(HWND handle);
// Queues the message for the application's message loop; false when no window has the handle.
bool PostMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
// Delivers at once to the control's WndProc and answers Result; 0 for an unknown handle.
LRESULT SendMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);

// The form that control is on (the top of its parent chain when that is a form), or null.
TCustomForm* GetParentForm(const TControl* control);
// As GetParentForm; raises EInvalidOperation "Control 'X' has no parent window" when none.
TCustomForm* ValidParentForm(const TControl* control);

// The parts of a hint "short|long": the text before the first "|" and the text after it (the
// whole hint when there is no "|").
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

// ---- publishing

// Publishes members that TControl and TWinControl implement, by name and in the order given
// (names separated by blanks or commas), for a descendant's KV_PUBLISHED block:
//   KV_PUBLISHED(TEdit) {
//       PublishControlMembers(b, "Align Color Enabled Font ParentFont TabOrder TabStop Text "
//                                "Visible OnEnter OnExit OnKeyDown");
//       b.Event("OnChange", &T::OnChange);
//   }
// Names: Align, Anchors, Caption, Text, Color, ParentColor, Font, ParentFont, Enabled, Visible,
// ShowHint, ParentShowHint, PopupMenu, TabOrder, TabStop, OnClick, OnDblClick, OnResize,
// OnMouseDown, OnMouseUp, OnMouseMove, OnEnter, OnExit, OnKeyDown, OnKeyPress, OnKeyUp.
// An unknown name raises EPropertyError when the class's table is built.
template <class T>
void PublishControlMembers(TClassBuilder<T>& b, std::string_view names);

}  // namespace kv

#include "platform/ui/ControlsPublish.h"
