// ComCtrls: tab controls, page controls and tab sheets (tool bars and status bars:
// ComBars.cpp).
#include "platform/ui/ComCtrls.h"

#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TPageControl);
KV_REGISTER_CLASS(TTabSheet);

// ---- TCustomTabControl

KV_PUBLISHED(TCustomTabControl) {}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::SetImages(TCustomImageList* value) {
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value != nullptr) value->FreeNotification(this);
    Invalidate();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

void TCustomTabControl::SetOwnerDraw(bool value) {
    ownerDraw_ = value;
    Invalidate();
}

void TCustomTabControl::SetTabHeight(int value) {
    tabHeight_ = std::max(value, 0);
    TabsChanged();
}

void TCustomTabControl::SetTabWidth(int value) {
    tabWidth_ = std::max(value, 0);
    Invalidate();
}

int TCustomTabControl::TabHeightInUse() const {
    return tabHeight_ > 0 ? tabHeight_ : canvas_->TextHeight("Wg") + 6;
}

TRect TCustomTabControl::TabRect(int tabIndex) const {
    if (tabIndex < 0 || tabIndex >= TabCount()) return {};
    const int imageWidth = images_ != nullptr ? images_->Width() + 4 : 0;
    int x = 2;
    for (int i = 0;; ++i) {
        const int width = tabWidth_ > 0
                              ? tabWidth_
                              : canvas_->TextWidth(StripHotkey(TabCaption(i))) + 12 + imageWidth;
        if (i == tabIndex) return Bounds(x, 2, width, TabHeightInUse());
        x += width;
    }
}

TRect TCustomTabControl::DisplayRect() const {
    const int top = TabHeightInUse() + 5;
    return Rect(4, top, std::max(Width() - 4, 4), std::max(Height() - 4, top));
}

void TCustomTabControl::PaintTabs() {
    const int selected = TabIndex();
    for (int i = 0; i < TabCount(); ++i) {
        TRect rect = TabRect(i);
        DrawTab(i, rect, i == selected);
    }
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    canvas_->Brush()->SetColor(Color());
    canvas_->FillRect(rect);
    const std::string caption = StripHotkey(TabCaption(tabIndex));
    const TSize size = canvas_->TextExtent(caption);
    canvas_->Brush()->SetStyle(bsClear);
    canvas_->TextOut(rect.Left + (rect.Width() - size.cx) / 2,
                     rect.Top + (rect.Height() - size.cy) / 2, caption);
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    OnChange(this);
}

// ---- TTabSheet

KV_PUBLISHED(TTabSheet) {
    PublishControlMembers(b, "Caption Enabled Font");
    b.Property("Highlighted", &T::Highlighted, &T::SetHighlighted).Default(0);
    b.Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(0);
    b.Property("PageControl", &T::PageControl, &T::SetPageControl).Stored(false);
    b.Property("PageIndex", &T::PageIndex, &T::SetPageIndex).Stored(false);
    PublishControlMembers(b, "ParentFont ParentShowHint PopupMenu ShowHint");
    b.Property("TabVisible", &T::TabVisible, &T::SetTabVisible).Default(1);
    PublishControlMembers(b, "OnEnter OnExit OnResize");
    b.Event("OnHide", &T::OnHide);
    b.Event("OnShow", &T::OnShow);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetVisible(false);
    SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
    if (pageControl_ == value) return;
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
    pageControl_ = value;
    TWinControl::SetParent(value);
    if (value != nullptr) value->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (auto* pages = dynamic_cast<TPageControl*>(parent)) return SetPageControl(pages);
    if (pageControl_ != nullptr) {
        pageControl_->RemovePage(this);
        pageControl_ = nullptr;
    }
    TWinControl::SetParent(parent);
}

int TTabSheet::PageIndex() const {
    if (pageControl_ == nullptr) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (pageControl_ == nullptr) return;
    auto& pages = pageControl_->pages_;
    value = std::clamp(value, 0, static_cast<int>(pages.size()) - 1);
    pages.erase(pages.begin() + PageIndex());
    pages.insert(pages.begin() + value, this);
    pageControl_->Invalidate();
}

int TTabSheet::TabIndex() const {
    if (pageControl_ == nullptr || !tabVisible_) return -1;
    int index = 0;
    for (const TTabSheet* page : pageControl_->pages_) {
        if (page == this) return index;
        if (page->tabVisible_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (tabVisible_ == value) return;
    const int tabIndex = TabIndex();
    tabVisible_ = value;
    if (pageControl_ == nullptr) return;
    if (!value) pageControl_->TabHidden(this, tabIndex);
    pageControl_->Invalidate();
}

void TTabSheet::UpdateShowing() {
    const bool showing = Showing();
    if (showing == shown_) return;
    shown_ = showing;
    if (showing) {
        OnShow(this);
    } else {
        OnHide(this);
    }
}

void TTabSheet::WndProc(TMessage& message) {
    const auto life = LifeToken();
    TWinControl::WndProc(message);
    if (life.expired()) return;
    if (message.Msg == CM_SHOWINGCHANGED) UpdateShowing();
    if (message.Msg == CM_VISIBLECHANGED) {
        UpdateShowing();
        if (!life.expired()) UpdateNestedSheets(*this);
    }
}

// The sheets of page controls on this sheet appear and go with it.
void TTabSheet::UpdateNestedSheets(const TWinControl& parent) {
    std::vector<TWinControl*> children;
    for (int i = 0; i < parent.ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(parent.Controls(i))) children.push_back(child);
    for (TWinControl* child : children) {
        const auto life = child->LifeToken();
        if (auto* sheet = dynamic_cast<TTabSheet*>(child)) sheet->UpdateShowing();
        if (!life.expired()) UpdateNestedSheets(*child);
    }
}

// ---- TPageControl

KV_PUBLISHED(TPageControl) {
    b.Property("ActivePage", &T::ActivePage, &T::SetActivePage);
    PublishControlMembers(b, "Align Anchors Enabled Font");
    b.Property("HotTrack", &T::HotTrack, &T::SetHotTrack).Default(0);
    b.Property("Images", &T::Images, &T::SetImages);
    b.Property("MultiLine", &T::MultiLine, &T::SetMultiLine).Default(0);
    b.Property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).Default(0);
    PublishControlMembers(b, "ParentFont ParentShowHint PopupMenu");
    b.Property("RaggedRight", &T::RaggedRight, &T::SetRaggedRight).Default(0);
    PublishControlMembers(b, "ShowHint");
    b.Property("Style", &T::Style, &T::SetStyle).Default(tsTabs);
    b.Property("TabHeight", &T::TabHeight, &T::SetTabHeight).Default(0);
    b.Property("TabIndex", &T::TabIndex).Stored(false);
    PublishControlMembers(b, "TabOrder");
    b.Property("TabPosition", &T::TabPosition, &T::SetTabPosition).Default(tpTop);
    PublishControlMembers(b, "TabStop");
    b.Property("TabWidth", &T::TabWidth, &T::SetTabWidth).Default(0);
    PublishControlMembers(b, "Visible");
    b.Event("OnChange", &T::OnChange);
    b.Event("OnChanging", &T::OnChanging);
    b.Event("OnDrawTab", &T::OnDrawTab);
    PublishControlMembers(b,
                          "OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp OnMouseDown OnMouseMove "
                          "OnMouseUp OnResize");
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

// The sheets are freed after this part of the control is gone: they must not call back.
TPageControl::~TPageControl() {
    for (TTabSheet* page : pages_)
        page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return pages_[static_cast<std::size_t>(index)];
}

int TPageControl::ActivePageIndex() const {
    return activePage_ == nullptr ? -1 : activePage_->PageIndex();
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? Pages(value) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page != nullptr && page->pageControl_ != this) return;
    ChangeActivePage(page);
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* page : pages_) {
        if (!page->tabVisible_) continue;
        if (tabIndex-- == 0) return page;
    }
    return nullptr;
}

int TPageControl::TabCount() const {
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(),
                                          [](const TTabSheet* p) { return p->tabVisible_; }));
}

std::string TPageControl::TabCaption(int tabIndex) const {
    const TTabSheet* page = PageForTab(tabIndex);
    return page == nullptr ? std::string() : page->Caption();
}

int TPageControl::TabIndex() const {
    return activePage_ == nullptr ? -1 : activePage_->TabIndex();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
    const int count = PageCount();
    if (count == 0) return nullptr;
    const auto found = std::find(pages_.begin(), pages_.end(), current);
    const int start = found == pages_.end() ? (goForward ? count - 1 : 0)
                                            : static_cast<int>(found - pages_.begin());
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* page = pages_[static_cast<std::size_t>(i)];
        if (!checkTabVisible || page->tabVisible_) return page;
    } while (i != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
    if (page == nullptr || page == activePage_ || !CanChange()) return;
    if (ChangeActivePage(page)) Change();
}

bool TPageControl::SelectTab(int tabIndex) {
    TTabSheet* page = PageForTab(tabIndex);
    if (page == nullptr) return false;
    if (page == activePage_) return true;
    if (!CanChange() || !ChangeActivePage(page)) return false;
    Change();
    return true;
}

bool TPageControl::SelectItemByUser(const std::string& item) {
    for (int i = 0; i < TabCount(); ++i) {
        if (SameText(StripHotkey(TabCaption(i)), StripHotkey(item))) {
            SelectTab(i);
            return true;
        }
    }
    return false;
}

bool TPageControl::SelectIndexByUser(int index) {
    if (index < 0 || index >= TabCount()) return false;
    SelectTab(index);
    return true;
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    const TRect r = DisplayRect();
    page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    if (activePage_ == nullptr && page->tabVisible_) ChangeActivePage(page);
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end()) return;
    TTabSheet* next = nullptr;
    if (page == activePage_) {
        next = FindNextPage(page, true, true);
        if (next == page) next = nullptr;
        ChangeActivePage(next);
        if (activePage_ == page) activePage_ = nullptr;  // the focus could not leave it
    }
    pages_.erase(std::find(pages_.begin(), pages_.end(), page));
    Invalidate();
}

void TPageControl::TabHidden(TTabSheet* page, int tabIndex) {
    if (page != activePage_) return;
    const int count = TabCount();
    ChangeActivePage(count == 0 ? nullptr : PageForTab(std::min(tabIndex, count - 1)));
}

bool TPageControl::ChangeActivePage(TTabSheet* page) {
    if (activePage_ == page) return true;
    TTabSheet* old = activePage_;
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form != nullptr ? form->ActiveControl() : nullptr;
    const bool focusInside = old != nullptr && focused != nullptr && old->ContainsControl(focused);
    if (focusInside && old->CanFocus()) {
        // The focused control's exit checks run now; one that keeps the focus keeps the page.
        form->SetActiveControl(old);
        if (form->ActiveControl() != old) return false;
    }
    // The sheets' OnShow and OnHide already see the new active page.
    activePage_ = page;
    if (page != nullptr) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (focusInside && form->ActiveControl() == old) {
        if (page != nullptr && page->CanFocus()) {
            form->SetActiveControl(page);
        } else if (CanFocus()) {
            form->SetActiveControl(this);
        }
    }
    if (old != nullptr) old->SetVisible(false);
    if (focusInside && page != nullptr && form->ActiveControl() == page) page->SelectFirst();
    UpdatePeer(TPeerChange::Other);
    return true;
}

void TPageControl::TabsChanged() {
    PlacePages();
    Invalidate();
}

void TPageControl::PlacePages() {
    const TRect r = DisplayRect();
    for (TTabSheet* page : pages_)
        page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::DefaultKeyDown(Word& key, TShiftState shift) {
    const int tab = TabIndex();
    if (key == VK_LEFT && tab > 0) SelectTab(tab - 1);
    if (key == VK_RIGHT && tab + 1 < TabCount()) SelectTab(tab + 1);
    TCustomTabControl::DefaultKeyDown(key, shift);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is in the page control.
void TPageControl::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && message.WParam == VK_TAB) {
        const auto shift = TShiftState::FromBits(static_cast<std::uint32_t>(message.LParam));
        const TWinControl* focused = Screen().FocusedWindow();
        if (shift.Contains(ssCtrl) && focused != nullptr && ContainsControl(focused)) {
            SelectNextPage(!shift.Contains(ssShift));
            message.Result = 1;
            return;
        }
    }
    const auto life = LifeToken();
    TCustomTabControl::WndProc(message);
    if (life.expired()) return;
    if (message.Msg == WM_SIZE || message.Msg == CM_FONTCHANGED) PlacePages();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    PlacePages();
}

}  // namespace kv
