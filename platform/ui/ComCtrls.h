// The ComCtrls unit (part): page controls and tab sheets, tool bars and tool buttons, status
// bars with their panels.
//
// Page controls: the user's page changes (a tab picked, Ctrl+Tab, SelectNextPage) ask
// OnChanging first (AllowChange false keeps the page) and raise OnChange after; the program's
// (ActivePage, ActivePageIndex) raise neither. When the focus is on the page being left it
// first moves to that page, so the exit checks of the focused control run; a check that keeps
// the focus keeps the page. The new page's first control then takes the focus. Only pages with
// a visible tab count as tabs (TabIndex, TabRect, the tabs drawn).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/StdCtrls.h"

namespace kv {

class TCustomImageList;
class TPopupMenu;
class TMenuItem;
class TPageControl;
class TCustomTabControl;
class TToolBar;
class TCustomStatusBar;

KV_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight);
KV_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons);
KV_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider);
KV_ENUM(TStatusPanelStyle, psText, psOwnerDraw);
KV_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised);

KV_EVENT(TTabChangingEvent, void(TObject* Sender, bool& AllowChange));
KV_EVENT(TDrawTabEvent,
         void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active));

// ---------------------------------------------------------------------------------------------
// Tabs and pages

// What tab controls share: the tabs' look, their rectangles, their drawing and the change
// events.
class TCustomTabControl : public TWinControl {
    KV_CLASS(TCustomTabControl, TWinControl)
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value) { hotTrack_ = value; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value) { multiLine_ = value; }
    // Tabs are drawn by DrawTab (OnDrawTab) rather than by the backend.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    bool RaggedRight() const { return raggedRight_; }
    void SetRaggedRight(bool value) { raggedRight_ = value; }
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle value) { style_ = value; }
    // 0: from the font (text height + 6) and from each caption (text width + 12).
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value) { tabPosition_ = value; }
    TCanvas* Canvas() const { return canvas_.get(); }

    // Tabs, numbered among the visible tabs.
    virtual int TabCount() const = 0;
    virtual std::string TabCaption(int tabIndex) const = 0;
    // The selected tab, -1 for none.
    virtual int TabIndex() const = 0;
    // The tab's rectangle: one row of tabs from the left along the top edge. Empty for a tab
    // that does not exist.
    TRect TabRect(int tabIndex) const;
    // The area the pages fill: below the tabs, inset by 4.
    TRect DisplayRect() const;
    // Draws every tab (what a backend does when it paints owner-drawn tabs).
    void PaintTabs();
    // Draws one tab: OnDrawTab when set, else the caption centred in the rectangle.
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

protected:
    // OnChanging's verdict (true without a handler).
    virtual bool CanChange();
    virtual void Change();
    // The tabs' size changed (the pages' area with it).
    virtual void TabsChanged() { Invalidate(); }
    int TabHeightInUse() const;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool hotTrack_ = false;
    TCustomImageList* images_ = nullptr;
    bool multiLine_ = false;
    bool ownerDraw_ = false;
    bool raggedRight_ = false;
    TTabStyle style_ = tsTabs;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    TTabPosition tabPosition_ = tpTop;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TTabSheet : public TWinControl {
    KV_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    // Joins the page control's pages (last) and makes it the parent; null leaves them.
    void SetPageControl(TPageControl* value);
    // A page control as parent makes the sheet one of its pages (form descriptions nest
    // sheets in their page control).
    void SetParent(TWinControl* parent) override;
    // The position among the page control's pages; setting moves the page.
    int PageIndex() const;
    void SetPageIndex(int value);
    // The position among the visible tabs, -1 while the tab is hidden.
    int TabIndex() const;
    // Hiding the tab of the active page makes the page at the same tab position (else the
    // last tab's) active, without change events.
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool value) { highlighted_ = value; }

    void WndProc(TMessage& message) override;

    // Raised when the sheet starts or stops showing (it becomes or stops being the active page
    // of a showing page control).
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

private:
    friend class TPageControl;
    // Raises OnShow or OnHide when Showing changed since the last call.
    void UpdateShowing();
    static void UpdateNestedSheets(const TWinControl& parent);

    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = 0;
    bool highlighted_ = false;
    bool shown_ = false;
};

class TPageControl : public TCustomTabControl {
    KV_CLASS(TPageControl, TCustomTabControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;  // EListError when out of range
    TTabSheet* ActivePage() const { return activePage_; }
    // The program's change: no OnChanging or OnChange. A sheet of another page control is
    // ignored.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The page of a visible tab, or null.
    TTabSheet* PageForTab(int tabIndex) const;
    // The next (or previous) page after current, wrapping; only pages with visible tabs when
    // checkTabVisible. Null when there is none.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    // The user's move to the next page (OnChanging, then OnChange).
    void SelectNextPage(bool goForward, bool checkTabVisible = true);
    // The user picks a tab: false when there is no such tab or OnChanging refused.
    bool SelectTab(int tabIndex);

    int TabCount() const override;
    std::string TabCaption(int tabIndex) const override;
    int TabIndex() const override;

    // A user's pick of a tab by caption ("&" marks ignored) or by tab index.
    bool SelectItemByUser(const std::string& item) override;
    bool SelectIndexByUser(int index) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void WndProc(TMessage& message) override;
    void Loaded() override;

private:
    friend class TTabSheet;

    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    // Makes page the active one; false when an exit check kept the focus on the old page.
    bool ChangeActivePage(TTabSheet* page);
    void TabHidden(TTabSheet* page, int tabIndex);
    void TabsChanged() override;
    void PlacePages();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Tool bars

class TToolButton : public TGraphicControl {
    KV_CLASS(TToolButton, TGraphicControl)
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value);
    // Check buttons stay down; among adjacent Grouped check buttons one is down at a time.
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool value) { grouped_ = value; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Indeterminate() const { return indeterminate_; }
    void SetIndeterminate(bool value) { indeterminate_ = value; }
    bool Marked() const { return marked_; }
    void SetMarked(bool value) { marked_ = value; }
    // The row of buttons ends after this one.
    bool Wrap() const { return wrap_; }
    void SetWrap(bool value);
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* value);
    // A click also clicks this menu item.
    TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(TMenuItem* value);
    // The position among the tool bar's buttons, -1 outside a tool bar.
    int Index() const;
    TToolBar* ToolBar() const;

    void SetParent(TWinControl* parent) override;
    // A check button toggles (within its group), then OnClick, then the menu item's click.
    // Separators and dividers take no clicks.
    void Click() override;
    // The arrow of a drop-down button: its menu pops up under the button.
    void DropDownClick();
    TCanvas* Canvas() const { return canvas_.get(); }
    // The edge (raised when up on a bar that is not flat, sunk when down), the tool bar's
    // image ImageIndex centred (greyed when disabled; one pixel down and right when down),
    // and the caption under it when the bar shows captions. A divider is a line.
    void Paint() override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void PaintEdge(bool sunk);

    // The adjacent grouped check buttons, this one included.
    std::vector<TToolButton*> Group() const;

    TToolButtonStyle style_ = tbsButton;
    bool down_ = false;
    bool grouped_ = false;
    bool allowAllUp_ = false;
    int imageIndex_ = -1;
    bool indeterminate_ = false;
    bool marked_ = false;
    bool wrap_ = false;
    TPopupMenu* dropdownMenu_ = nullptr;
    TMenuItem* menuItem_ = nullptr;
    std::unique_ptr<TControlCanvas> canvas_;
};

// A bar of tool buttons placed in rows from the left in the order they were added: a row
// ends after a button with Wrap, and (Wrapable) before a button that would cross the right
// edge.
class TToolBar : public TWinControl {
    KV_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* owner);

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const;  // EListError when out of range
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value) { flat_ = value; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    int Indent() const { return indent_; }
    void SetIndent(int value);
    bool List() const { return list_; }
    void SetList(bool value) { list_ = value; }
    // Buttons grow to their captions.
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    bool Wrapable() const { return wrapable_; }
    void SetWrapable(bool value);
    // Places the buttons.
    void ArrangeButtons();
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolButton;
    void AddButton(TToolButton* button);
    void RemoveButton(TToolButton* button);

    std::vector<TToolButton*> buttons_;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool flat_ = false;
    TCustomImageList* images_ = nullptr;
    int indent_ = 0;
    bool list_ = false;
    bool showCaptions_ = false;
    bool transparent_ = false;
    bool wrapable_ = true;
};

// ---------------------------------------------------------------------------------------------
// Status bars

class TStatusPanel : public TCollectionItem {
    KV_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* collection);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel value);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle value);
    std::string DisplayName() const override { return text_.empty() ? ClassName() : text_; }
    void Assign(const TPersistent* source) override;

private:
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
};

class TStatusPanels : public TOwnedCollection {
    KV_CLASS(TStatusPanels, TOwnedCollection)
public:
    explicit TStatusPanels(TCustomStatusBar* statusBar);

    TStatusPanel* Add();
    TStatusPanel* Items(int index) const;  // EListError when out of range

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomStatusBar* statusBar_;
};

KV_EVENT(TDrawPanelEvent,
         void(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect));

class TCustomStatusBar : public TWinControl {
    KV_CLASS(TCustomStatusBar, TWinControl)
public:
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return panels_.get(); }
    void SetPanels(TStatusPanels* value);
    // One panel showing SimpleText instead of the panels.
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value) { sizeGrip_ = value; }
    // Shows the application's hint in the first panel (or the simple panel).
    bool AutoHint() const { return autoHint_; }
    void SetAutoHint(bool value) { autoHint_ = value; }
    TCanvas* Canvas() const { return canvas_.get(); }
    // The panel's rectangle: panels from the left, each its Width wide (the last one to the
    // right edge).
    TRect PanelRect(int index) const;
    // Draws the panels (what a backend does when it paints); owner-draw panels through
    // OnDrawPanel.
    void PaintPanels();

    TDrawPanelEvent OnDrawPanel;

private:
    friend class TStatusPanels;
    void PanelsChanged();

    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
    bool autoHint_ = false;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TStatusBar : public TCustomStatusBar {
    KV_CLASS(TStatusBar, TCustomStatusBar)
public:
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};

}  // namespace kv
