// TCustomForm and TForm: creation, showing, closing, modal loops and the focus rules.
#include "platform/ui/Forms.h"

#include <algorithm>

#include "platform/ui/Automation.h"
#include "platform/ui/Widgetset.h"

namespace kv {

namespace {

TFormDescriptionLoader& LoaderSlot() {
    static TFormDescriptionLoader loader = nullptr;
    return loader;
}

// Counts every focus change, so that code raising focus events can tell whether a handler
// moved the focus meanwhile.
int& FocusCount() {
    static int count = 0;
    return count;
}

// Sends a focus message; false when a handler changed the focus meanwhile.
bool SendFocusMessage(TWinControl& control, UINT msg) {
    const int count = FocusCount();
    control.Perform(msg);
    return FocusCount() == count;
}

}  // namespace

void SetFormDescriptionLoader(TFormDescriptionLoader loader) {
    LoaderSlot() = loader;
}

TFormDescriptionLoader GetFormDescriptionLoader() {
    return LoaderSlot();
}

KV_PUBLISHED(TCustomForm) {}

TCustomForm::TCustomForm(TComponent* owner, bool createNew)
    : TWinControl(owner), createNew_(createNew) {
    visible_ = false;
    parentFont_ = false;
    parentShowHint_ = false;
    color_ = clBtnFace;
    width_ = 320;
    height_ = 240;
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    activeControl_ = nullptr;
    focusedControl_ = nullptr;
    if (Application().MainForm() == this) Application().SetMainForm(nullptr);
    Screen().RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    formState_.Include(fsCreating);
    try {
        if (TFormDescriptionLoader loader = LoaderSlot(); loader != nullptr && !createNew_)
            loader(*this);
    } catch (...) {
        formState_.Exclude(fsCreating);
        throw;
    }
    formState_.Exclude(fsCreating);
    DoCreate();
    created_ = true;
    if (formState_.Contains(fsVisible)) {
        formState_.Exclude(fsVisible);
        SetVisible(true);
    }
}

void TCustomForm::BeforeDestruction() {
    Destroying();
    if (Visible()) Hide();
    // A form whose construction failed never ran OnCreate; its OnDestroy is not raised either.
    if (created_) {
        created_ = false;
        DoDestroy();
    }
    TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    OnCreate(this);
}

void TCustomForm::DoDestroy() {
    OnDestroy(this);
}

void TCustomForm::DoShow() {
    OnShow(this);
}

void TCustomForm::DoHide() {
    OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    OnClose(this, action);
}

void TCustomForm::Activate() {
    OnActivate(this);
}

void TCustomForm::Deactivate() {
    OnDeactivate(this);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (activeControl_ != nullptr && GetParentForm(activeControl_) != this)
        activeControl_ = nullptr;
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == focusedControl_) focusedControl_ = nullptr;
}

// ---- showing

bool TCustomForm::Showing() const {
    if (Parent() != nullptr) return TWinControl::Showing();
    return Visible();
}

void TCustomForm::SetVisible(bool value) {
    if (formState_.Contains(fsCreating)) {
        if (value) {
            formState_.Include(fsVisible);
        } else {
            formState_.Exclude(fsVisible);
        }
        return;
    }
    if (Visible() == value) return;
    TWinControl::SetVisible(value);
    ShowingChanged();
}

namespace {

void CollectWindowed(const TWinControl& parent, std::vector<TWinControl*>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        if (auto* child = dynamic_cast<TWinControl*>(parent.Controls(i))) {
            out.push_back(child);
            CollectWindowed(*child, out);
        }
    }
}

// The windowed controls on the form learn that their showing changed with the form's (tab
// sheets raise their OnShow and OnHide on it). Handlers may free controls on the way.
void TellShowingChanged(const TWinControl& form) {
    std::vector<TWinControl*> controls;
    CollectWindowed(form, controls);
    std::vector<std::weak_ptr<const bool>> lives;
    for (const TWinControl* control : controls)
        lives.push_back(control->LifeToken());
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (!lives[i].expired()) controls[i]->Perform(CM_SHOWINGCHANGED);
}

}  // namespace

// OnShow runs before the form appears (it may still change it); OnHide before it goes. The
// controls on it then learn that they appeared or went.
void TCustomForm::ShowingChanged() {
    const auto life = LifeToken();
    if (Visible()) {
        if (!positioned_) PlaceOnScreen();
        formState_.Include(fsShowing);
        DoShow();
        if (life.expired()) return;
        formState_.Exclude(fsShowing);
        if (!Visible()) return;
        TellShowingChanged(*this);
        if (life.expired() || !Visible()) return;
        if (Parent() == nullptr) Screen().ActivateForm(this);
    } else {
        formState_.Include(fsShowing);
        DoHide();
        if (life.expired()) return;
        formState_.Exclude(fsShowing);
        TellShowingChanged(*this);
        if (life.expired()) return;
        if (Screen().ActiveForm() == this) Screen().ActivateForm(Screen().NextActiveForm(this));
    }
}

void TCustomForm::PlaceOnScreen() {
    positioned_ = true;
    const TCustomForm* center = nullptr;
    switch (position_) {
        case poScreenCenter:
        case poDesktopCenter:
            break;
        case poMainFormCenter:
            center = Application().MainForm();
            break;
        case poOwnerFormCenter:
            center = dynamic_cast<const TCustomForm*>(Owner());
            break;
        default:
            return;
    }
    if (center == this) center = nullptr;
    if (center != nullptr) {
        SetBounds(center->Left() + (center->Width() - Width()) / 2,
                  center->Top() + (center->Height() - Height()) / 2, Width(), Height());
    } else {
        SetBounds((Screen().Width() - Width()) / 2, (Screen().Height() - Height()) / 2, Width(),
                  Height());
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront() {
    if (Parent() != nullptr) {
        TWinControl::BringToFront();
        return;
    }
    if (!Visible()) return;
    if (windowState_ == wsMinimized) SetWindowState(wsNormal);
    if (Screen().ActiveForm() != this) Screen().ActivateForm(this);
    UpdatePeer(TPeerChange::Other);
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (windowState_ == value) return;
    windowState_ = value;
    UpdatePeer(TPeerChange::WindowState);
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    borderIcons_ = value;
    UpdatePeer(TPeerChange::Other);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value;
    UpdatePeer(TPeerChange::Other);
}

void TCustomForm::SetActive(bool value) {
    if (active_ == value) return;
    active_ = value;
    if (value) {
        const auto life = LifeToken();
        Activate();
        if (life.expired() || !active_) return;
        if (activeControl_ == nullptr) activeControl_ = FindNextControl(nullptr, true, true, false);
        SetWindowFocus();
    } else {
        Deactivate();
    }
}

void TCustomForm::SetWindowFocus() {
    Screen().SetFocusWindow(activeControl_ != nullptr ? activeControl_ : this);
}

// ---- closing

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (formState_.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application().MainForm() == this) {
        Application().Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release() {
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

// A form in its modal loop is freed once the loop has ended (the loop's frame still uses it).
void TCustomForm::ReleaseNow() {
    if (formState_.Contains(fsModal)) {
        releasePending_ = true;
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    Free();
}

// ---- modal

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || formState_.Contains(fsModal) || formStyle_ == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    const auto life = LifeToken();
    TCustomForm* previous = Screen().ActiveForm();
    const auto previousLife =
        previous != nullptr ? previous->LifeToken() : std::weak_ptr<const bool>();
    std::vector<std::pair<TCustomForm*, std::weak_ptr<const bool>>> disabled;
    for (int i = 0; i < Screen().FormCount(); ++i) {
        TCustomForm* form = Screen().Forms(i);
        if (form == this) continue;
        ++form->modalDisabled_;
        disabled.emplace_back(form, form->LifeToken());
    }
    auto restore = [&] {
        for (auto& [form, formLife] : disabled)
            if (!formLife.expired()) --form->modalDisabled_;
        if (!life.expired()) formState_.Exclude(fsModal);
    };
    formState_.Include(fsModal);
    modalResult_ = mrNone;
    TModalResult result = mrCancel;
    try {
        Show();
        result = RunModalLoop(life);
        if (!life.expired()) Automation().ModalEnded(*this, result);
        if (!life.expired() && Visible()) Hide();
    } catch (...) {
        restore();
        if (!life.expired() && Visible()) Hide();
        throw;
    }
    restore();
    if (previous != nullptr && !previousLife.expired() && previous->Visible() &&
        Screen().ActiveForm() != previous)
        Screen().ActivateForm(previous);
    if (!life.expired() && releasePending_) {
        releasePending_ = false;
        Release();
    }
    return result;
}

TModalResult TCustomForm::RunModalLoop(const std::weak_ptr<const bool>& life) {
    int idle = 0;
    for (;;) {
        if (life.expired()) return mrCancel;
        if (Application().Terminated()) modalResult_ = mrCancel;
        if (modalResult_ != mrNone) {
            CloseModal();
            if (life.expired()) return mrCancel;
            if (modalResult_ != mrNone) return modalResult_;
        }
        if (Application().ProcessOne() || Automation().ApplyModalAnswer(*this) ||
            Widgetset().WaitForInput(this) == TIdleResult::Progress) {
            idle = 0;
            continue;
        }
        // No input will come: close the form as its user would; one that refuses to close is
        // abandoned with mrCancel, so the loop never hangs.
        if (++idle == 1) {
            Close();
            continue;
        }
        modalResult_ = mrCancel;
        return mrCancel;
    }
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone) {
            modalResult_ = mrNone;
        } else if (action == caFree) {
            Release();
        }
    } catch (const EAutomationError&) {
        throw;
    } catch (const std::exception& error) {
        modalResult_ = mrNone;
        Application().HandleException(error);
    }
}

// ---- focus

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (activeControl_ == control) return;
    if (control != nullptr && (control == this || GetParentForm(control) != this ||
                               (!ComponentState().Contains(csLoading) && !control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = control;
    if (!ComponentState().Contains(csLoading) && active_) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    const bool wasActive = active_;
    SetActiveControl(control);
    if (!wasActive) SetFocus();
}

bool TCustomForm::CanFocus() const {
    if (Parent() != nullptr) return TWinControl::CanFocus();
    return Visible() && Enabled();
}

void TCustomForm::SetFocus() {
    if (Parent() != nullptr) {
        TWinControl::SetFocus();
        return;
    }
    if (active_) {
        SetWindowFocus();
        return;
    }
    if (!Visible() || !Enabled())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    Screen().ActivateForm(this);
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && focusedControl_ != nullptr && control->ContainsControl(focusedControl_))
        focusedControl_ = control->Parent();
    if (activeControl_ != nullptr && control->ContainsControl(activeControl_)) {
        activeControl_ = nullptr;
        if (active_ && !formState_.Contains(fsCreating)) SetWindowFocus();
    }
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    ++FocusCount();
    if (!ContainsControl(control)) return false;
    activeControl_ = control == this ? nullptr : control;
    if (control->focusing_) return false;
    control->focusing_ = true;
    const auto controlLife = control->LifeToken();
    const auto formLife = LifeToken();
    auto done = [&](bool result) {
        if (!controlLife.expired()) control->focusing_ = false;
        return result;
    };
    // A handler may move the focus elsewhere, or free the form or the control.
    auto sendFocus = [&](TWinControl& target, UINT msg) {
        return SendFocusMessage(target, msg) && !formLife.expired() && !controlLife.expired();
    };
    try {
        if (focusedControl_ == nullptr) focusedControl_ = this;
        if (focusedControl_ == control) return done(true);
        // Exits from the focused control up to the common parent (the parent is recorded before
        // the event, so a handler that frees the control leaves a valid state).
        while (focusedControl_ != nullptr && !focusedControl_->ContainsControl(control)) {
            TWinControl* leaving = focusedControl_;
            focusedControl_ = leaving->Parent();
            if (!sendFocus(*leaving, CM_EXIT)) return done(false);
        }
        // Enters from below the common parent down to the control.
        while (focusedControl_ != control) {
            TWinControl* entering = control;
            while (entering->Parent() != focusedControl_)
                entering = entering->Parent();
            focusedControl_ = entering;
            if (!sendFocus(*entering, CM_ENTER)) return done(false);
        }
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
        Screen().OnActiveControlChange(&Screen());
    } catch (...) {
        done(false);
        throw;
    }
    return done(true);
}

// The mark is used up by the first preview it skips, so keys that handlers press meanwhile
// (a modal form's script, say) are previewed again.
void TCustomForm::KeyDown(Word& key, TShiftState shift) {
    if (keyPreviewed_) {
        keyPreviewed_ = false;
        return;
    }
    TWinControl::KeyDown(key, shift);
}

bool TCustomForm::HandleDialogKey(Word key, TShiftState shift) {
    switch (key) {
        case VK_TAB:
            if (shift.Contains(ssCtrl)) return false;
            SelectNext(activeControl_, !shift.Contains(ssShift), true);
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (activeControl_ == nullptr || activeControl_->Parent() == nullptr) return false;
            activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN,
                                                 false);
            return true;
        default:
            return false;
    }
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_CLOSE:
            Close();
            return;
        case CM_RELEASE:
            ReleaseNow();
            return;
        case CM_DIALOGKEY: {
            const auto shift = TShiftState::FromBits(static_cast<std::uint32_t>(message.LParam));
            if (HandleDialogKey(static_cast<Word>(message.WParam), shift)) {
                message.Result = 1;
                return;
            }
            break;
        }
        case WM_NEXTDLGCTL:
            if (message.LParam != 0) {
                if (TWinControl* target = FindControl(static_cast<HWND>(message.WParam)))
                    target->SetFocus();
            } else {
                SelectNext(activeControl_, message.WParam == 0, true);
            }
            return;
        default:
            break;
    }
    TWinControl::WndProc(message);
}

// ---- TForm

KV_PUBLISHED(TForm) {
    b.Property("ActiveControl", &T::ActiveControl, &T::SetActiveControl);
    b.Property("BorderIcons", &T::BorderIcons, &T::SetBorderIcons);
    b.Property("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsSizeable);
    PublishControlMembers(b, "Align Caption");
    b.Property("ClientHeight", &T::ClientHeight, &T::SetClientHeight).Stored(false);
    b.Property("ClientWidth", &T::ClientWidth, &T::SetClientWidth).Stored(false);
    PublishControlMembers(b, "Color Enabled Font ParentFont");
    b.Property("FormStyle", &T::FormStyle, &T::SetFormStyle).Default(fsNormal);
    b.Property("KeyPreview", &T::KeyPreview, &T::SetKeyPreview).Default(0);
    b.Property("PixelsPerInch", &T::PixelsPerInch, &T::SetPixelsPerInch);
    PublishControlMembers(b, "PopupMenu");
    b.Property("Position", &T::Position, &T::SetPosition).Default(poDesigned);
    b.Property("Scaled", &T::Scaled, &T::SetScaled).Default(1);
    PublishControlMembers(b, "ShowHint");
    b.Property("TextHeight", &T::TextHeight, &T::SetTextHeight);
    PublishControlMembers(b, "Visible");
    b.Property("WindowState", &T::WindowState, &T::SetWindowState).Default(wsNormal);
    b.Event("OnActivate", &T::OnActivate);
    PublishControlMembers(b, "OnClick");
    b.Event("OnClose", &T::OnClose);
    b.Event("OnCloseQuery", &T::OnCloseQuery);
    b.Event("OnCreate", &T::OnCreate);
    PublishControlMembers(b, "OnDblClick");
    b.Event("OnDestroy", &T::OnDestroy);
    b.Event("OnDeactivate", &T::OnDeactivate);
    b.Event("OnHide", &T::OnHide);
    PublishControlMembers(b, "OnKeyDown OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp");
    b.Event("OnPaint", &T::OnPaint);
    PublishControlMembers(b, "OnResize");
    b.Event("OnShow", &T::OnShow);
}

KV_REGISTER_CLASS(TForm);

}  // namespace kv
