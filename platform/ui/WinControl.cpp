// TWinControl: children, window handles, tab order, focus, keys and alignment.
#include <algorithm>
#include <array>
#include <unordered_map>

#include "platform/core/SysUtils.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Widgetset.h"

namespace kv {

namespace {

// Handles are never reused, so a message posted to a control that is gone finds nothing.
struct THandleTable {
    std::unordered_map<HWND, TWinControl*> controls;
    HWND next = 0x10000;
};

THandleTable& Handles() {
    static auto* table = new THandleTable();  // outlives every control, whatever exits last
    return *table;
}

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

}  // namespace

TWinControl* FindControl(HWND handle) {
    if (handle == 0) return nullptr;
    const auto& controls = Handles().controls;
    const auto found = controls.find(handle);
    return found == controls.end() ? nullptr : found->second;
}

LRESULT SendMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(handle);
    return control == nullptr ? 0 : control->Perform(msg, wParam, lParam);
}

KV_PUBLISHED(TWinControl) {}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Leaving the parent here, while this is still a windowed control, takes the focus away
    // from this control and its children (they get no exit events) and out of the tab order.
    if (Parent() != nullptr) Parent()->RemoveControl(this);
    // Each child leaves this list as it is destroyed.
    while (!controls_.empty())
        controls_.back()->Free();
    DestroyHandle();
    Screen().WindowGone(this);
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return controls_[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    while (control != nullptr && control != this)
        control = control->Parent();
    return control != nullptr;
}

TControl* TWinControl::FindChildControl(std::string_view name) const {
    for (TControl* control : controls_)
        if (!control->Name().empty() && SameText(control->Name(), name)) return control;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message, bool untilHandled) {
    const std::vector<TControl*> children = controls_;
    for (TControl* child : children) {
        if (std::find(controls_.begin(), controls_.end(), child) == controls_.end()) continue;
        child->WndProc(message);
        if (untilHandled && message.Result != 0) return;
    }
}

void TWinControl::NotifyChildren(UINT msg) {
    TMessage message{msg, 0, 0, 0};
    Broadcast(message);
}

void TWinControl::InsertControl(TControl* control) {
    control->parent_ = this;
    controls_.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
    control->ParentFontChanged();
    control->ParentColorChanged();
    control->ParentShowHintChanged();
    control->UpdatePeer(TPeerChange::Parent);
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->RemoveFocus(true);
        win->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), win), tabList_.end());
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    control->UpdatePeer(TPeerChange::Parent);
    if (control->Align() != alNone) Realign();
}

// The form forgets this control as its active (and, when it goes, focused) control.
void TWinControl::RemoveFocus(bool removing) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this)
        form->DefocusControl(this, removing);
}

// ---- handles

HWND TWinControl::Handle() {
    if (handle_ == 0) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle() {
    if (Parent() == nullptr && dynamic_cast<TCustomForm*>(this) == nullptr)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    if (Parent() != nullptr) Parent()->HandleNeeded();
    THandleTable& table = Handles();
    handle_ = table.next++;
    table.controls[handle_] = this;
    Widgetset().CreatePeer(*this);
}

void TWinControl::DestroyHandle() {
    if (handle_ == 0) return;
    for (TWinControl* child : tabList_)
        child->DestroyHandle();
    Widgetset().DestroyPeer(*this);
    Handles().controls.erase(handle_);
    handle_ = 0;
}

// ---- tab order and focus

int TWinControl::TabOrder() const {
    if (Parent() == nullptr) return -1;
    const auto& list = Parent()->tabList_;
    const auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (IsLoading(*this)) {
        loadingTabOrder_ = value;
    } else {
        UpdateTabOrder(value);
    }
}

void TWinControl::UpdateTabOrder(int value) {
    if (Parent() == nullptr) return;
    auto& list = Parent()->tabList_;
    const int current = TabOrder();
    const int count = static_cast<int>(list.size());
    if (value < 0 || value >= count) value = count - 1;
    if (current < 0 || value == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + value, this);
}

void TWinControl::FixupTabList() {
    const std::size_t count = tabList_.size();
    std::vector<TWinControl*> wanted(count, nullptr);
    for (TWinControl* control : tabList_) {
        const int order = control->loadingTabOrder_;
        if (order >= 0 && static_cast<std::size_t>(order) < count)
            wanted[static_cast<std::size_t>(order)] = control;
        control->loadingTabOrder_ = -1;
    }
    for (std::size_t i = 0; i < count; ++i)
        if (wanted[i] != nullptr) wanted[i]->UpdateTabOrder(static_cast<int>(i));
}

void TWinControl::SetTabStop(bool value) {
    if (tabStop_ == value) return;
    tabStop_ = value;
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* control : tabList_) {
        list.push_back(control);
        control->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    const auto found = std::find(list.begin(), list.end(), current);
    int start =
        found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[static_cast<std::size_t>(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
            (!checkParent || candidate->Parent() == this))
            return candidate;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (next != nullptr) next->SetFocus();
}

void TWinControl::SelectFirst() {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr) return;
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    if (first == nullptr) first = FindNextControl(nullptr, true, false, false);
    if (first != nullptr) form->SetActiveControl(first);
}

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    if (form == nullptr) return false;
    for (const TControl* c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    return Screen().FocusedWindow() == this;
}

void TWinControl::SetFocus() {
    ValidParentForm(this)->FocusControl(this);
}

// ---- layout

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0) --alignDisabled_;
    if (alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::Realign() {
    if (alignDisabled_ > 0 || IsLoading(*this) || aligning_) {
        if (!aligning_) alignPending_ = true;
        return;
    }
    alignPending_ = false;
    aligning_ = true;
    TRect area = ClientRect();
    AdjustClientRect(area);
    try {
        for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient})
            AlignGroup(align, area);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

// Places the visible children of one alignment, nearest to their edge first.
void TWinControl::AlignGroup(TAlign align, TRect& area) {
    std::vector<TControl*> group;
    for (TControl* c : controls_)
        if (c->Align() == align && c->Visible()) group.push_back(c);
    auto edge = [align](const TControl* c) {
        switch (align) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(c->Top() + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
        }
    };
    std::stable_sort(group.begin(), group.end(),
                     [&](const TControl* a, const TControl* b) { return edge(a) < edge(b); });
    for (TControl* c : group) {
        const int w = c->Width();
        const int h = c->Height();
        switch (align) {
            case alTop:
                c->SetBounds(area.Left, area.Top, area.Width(), h);
                area.Top += h;
                break;
            case alBottom:
                c->SetBounds(area.Left, area.Bottom - h, area.Width(), h);
                area.Bottom -= h;
                break;
            case alLeft:
                c->SetBounds(area.Left, area.Top, w, area.Height());
                area.Left += w;
                break;
            case alRight:
                c->SetBounds(area.Right - w, area.Top, w, area.Height());
                area.Right -= w;
                break;
            default:
                c->SetBounds(area.Left, area.Top, area.Width(), area.Height());
                break;
        }
    }
}

// Children anchored to the right or bottom edge keep their distance to it.
void TWinControl::AnchorChildren(int dx, int dy) {
    for (TControl* c : controls_) {
        if (c->Align() != alNone) continue;
        const TAnchors a = c->Anchors();
        int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft)) {
                width += dx;
            } else {
                left += dx;
            }
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop)) {
                height += dy;
            } else {
                top += dy;
            }
        }
        c->SetBounds(left, top, width, height);
    }
}

void TWinControl::BoundsChanged(const TRect& old) {
    const bool moved = old.Left != Left() || old.Top != Top();
    const bool sized = old.Width() != Width() || old.Height() != Height();
    if (sized && !IsLoading(*this)) AnchorChildren(Width() - old.Width(), Height() - old.Height());
    if (sized) Realign();
    if (!IsLoading(*this)) {
        if (moved) Perform(WM_MOVE, 0, MakeLParam(Left(), Top()));
        if (sized) Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(Width(), Height()));
    }
    TControl::BoundsChanged(old);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    Realign();
}

// ---- keys and messages

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    OnKeyPress(this, key);
}

void TWinControl::DefaultKeyDown(Word&, TShiftState) {}

void TWinControl::DefaultKeyPress(char&) {}

void TWinControl::InputMethodText(const std::string&) {}

void TWinControl::DoEnter() {
    OnEnter(this);
}

void TWinControl::DoExit() {
    OnExit(this);
}

namespace {

// The form previews the key first when it asks for it; true when the key was consumed.
bool PreviewKeyDown(TWinControl& control, Word& key, TShiftState shift, bool up) {
    TCustomForm* form = GetParentForm(&control);
    if (form == nullptr || form == &control || !form->KeyPreview()) return false;
    const auto life = control.LifeToken();
    if (up) {
        form->KeyUp(key, shift);
    } else {
        form->KeyDown(key, shift);
    }
    return key == 0 || life.expired();
}

bool PreviewKeyPress(TWinControl& control, char& key) {
    TCustomForm* form = GetParentForm(&control);
    if (form == nullptr || form == &control || !form->KeyPreview()) return false;
    const auto life = control.LifeToken();
    form->KeyPress(key);
    return key == 0 || life.expired();
}

}  // namespace

void TWinControl::WndProc(TMessage& message) {
    const auto life = LifeToken();
    switch (message.Msg) {
        case WM_SETFOCUS:
            if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
            return;
        case CM_ENTER:
            DoEnter();
            return;
        case CM_EXIT:
            DoExit();
            return;
        case WM_GETDLGCODE:
            message.Result = DialogCode();
            return;
        case CM_DIALOGKEY:
            Broadcast(message, true);
            return;
        case CM_CHILDKEY:
            if (Parent() != nullptr) Parent()->WndProc(message);
            return;
        case WM_KEYDOWN:
        case WM_KEYUP: {
            const bool up = message.Msg == WM_KEYUP;
            Word key = static_cast<Word>(message.WParam);
            const TShiftState shift =
                TShiftState::FromBits(static_cast<std::uint32_t>(message.LParam));
            if (PreviewKeyDown(*this, key, shift, up) || life.expired()) return;
            if (up) {
                KeyUp(key, shift);
            } else {
                KeyDown(key, shift);
                if (key != 0 && !life.expired()) DefaultKeyDown(key, shift);
            }
            return;
        }
        case WM_CHAR: {
            char key = static_cast<char>(static_cast<unsigned char>(message.WParam & 0xFF));
            if (PreviewKeyPress(*this, key) || life.expired()) return;
            KeyPress(key);
            if (key != 0 && !life.expired()) DefaultKeyPress(key);
            return;
        }
        default:
            break;
    }
    TControl::WndProc(message);
    if (life.expired()) return;
    switch (message.Msg) {
        case CM_FONTCHANGED:
            NotifyChildren(CM_PARENTFONTCHANGED);
            break;
        case CM_COLORCHANGED:
            NotifyChildren(CM_PARENTCOLORCHANGED);
            break;
        case CM_SHOWHINTCHANGED:
            NotifyChildren(CM_PARENTSHOWHINTCHANGED);
            break;
        case CM_VISIBLECHANGED:
            if (!Visible() && Parent() != nullptr) RemoveFocus(false);
            break;
        case CM_ENABLEDCHANGED:
            if (!Enabled() && Parent() != nullptr) RemoveFocus(false);
            break;
        default:
            break;
    }
}

}  // namespace kv
