// TScreen: the forms that exist, which one is active, and which window has the focus.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Widgetset.h"

namespace kv {

TScreen& Screen() {
    static auto* screen = new TScreen(nullptr);  // never destroyed: see Forms.h
    return *screen;
}

KV_PUBLISHED(TScreen) {}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return forms_[static_cast<std::size_t>(index)];
}

TCustomForm* TScreen::FindForm(std::string_view name) const {
    for (TCustomForm* form : forms_)
        if (!form->Name().empty() && SameText(form->Name(), name)) return form;
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
    return activeForm_ == nullptr ? nullptr : activeForm_->ActiveControl();
}

int TScreen::Width() const {
    return Widgetset().ScreenWidth();
}

int TScreen::Height() const {
    return Widgetset().ScreenHeight();
}

void TScreen::AddForm(TCustomForm* form) {
    forms_.push_back(form);
}

// Quietly forgets a form that is being destroyed (a freed form was hidden before, which moved
// the activation already).
void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    activationOrder_.erase(std::remove(activationOrder_.begin(), activationOrder_.end(), form),
                           activationOrder_.end());
    if (activeForm_ == form) activeForm_ = nullptr;
    if (focusWindow_ != nullptr && form->ContainsControl(focusWindow_)) focusWindow_ = nullptr;
}

void TScreen::WindowGone(TWinControl* window) {
    if (focusWindow_ == window) focusWindow_ = nullptr;
}

TCustomForm* TScreen::NextActiveForm(const TCustomForm* except) const {
    for (auto it = activationOrder_.rbegin(); it != activationOrder_.rend(); ++it) {
        TCustomForm* form = *it;
        if (form != except && form->Visible() && form->Parent() == nullptr && form->AcceptsInput())
            return form;
    }
    return nullptr;
}

// Activation as the window system does it: the old form is deactivated, the new one activated
// and given the focus (its active control, else the form itself).
void TScreen::ActivateForm(TCustomForm* form) {
    if (form == activeForm_) {
        if (form != nullptr) form->SetWindowFocus();
        return;
    }
    TCustomForm* old = activeForm_;
    activeForm_ = form;
    if (form != nullptr) {
        activationOrder_.erase(std::remove(activationOrder_.begin(), activationOrder_.end(), form),
                               activationOrder_.end());
        activationOrder_.push_back(form);
    }
    if (old != nullptr) old->SetActive(false);
    if (form == nullptr) {
        focusWindow_ = nullptr;
    } else if (activeForm_ == form) {
        form->SetActive(true);
    }
    OnActiveFormChange(this);
}

void TScreen::SetFocusWindow(TWinControl* window) {
    if (focusWindow_ == window) return;
    TCustomForm* form = GetParentForm(window);
    if (form != nullptr && form != activeForm_) {
        // Focusing a window of another form activates that form first; its activation sets
        // the focus itself.
        ActivateForm(form);
        if (activeForm_ != form || focusWindow_ == window) return;
    }
    TWinControl* old = focusWindow_;
    focusWindow_ = window;
    if (old != nullptr) old->Perform(WM_KILLFOCUS);
    if (window != nullptr && focusWindow_ == window) window->Perform(WM_SETFOCUS);
}

}  // namespace kv
