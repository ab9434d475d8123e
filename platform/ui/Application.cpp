// TApplication: the message queue and loops, error reports; the process's application object.
#include "platform/core/SysUtils.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Widgetset.h"

namespace kv {

namespace {

// The application's own window: a number below the controls' range, never in the handle table.
constexpr HWND kApplicationHandle = 0x100;

// ProcessMessages stops after this many messages in one call, so that a handler that posts
// again for every message it gets cannot keep the caller from returning.
constexpr int kMaxMessagesPerCall = 100000;

}  // namespace

TApplication& Application() {
    static auto* application = new TApplication(nullptr);  // never destroyed: see Forms.h
    return *application;
}

bool PostMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (handle != kApplicationHandle && FindControl(handle) == nullptr) return false;
    Application().Post(handle, TMessage{msg, wParam, lParam, 0});
    return true;
}

KV_PUBLISHED(TApplication) {}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() = default;

HWND TApplication::Handle() {
    return kApplicationHandle;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::SetHint(const std::string& value) {
    if (hint_ == value) return;
    hint_ = value;
    OnHint(this);
}

// Processes the oldest queued message; a message for a window that is gone is dropped. Errors
// of the handlers are reported as the platform's window procedure reports them.
bool TApplication::ProcessOne() {
    if (queue_.empty()) return false;
    const TQueued queued = queue_.front();
    queue_.pop_front();
    if (queued.window == kApplicationHandle) {
        if (queued.message.Msg == WM_QUIT) Terminate();
        return true;
    }
    TWinControl* control = FindControl(queued.window);
    if (control == nullptr) return true;
    try {
        control->Perform(queued.message.Msg, queued.message.WParam, queued.message.LParam);
    } catch (const EAutomationError&) {
        throw;
    } catch (const std::exception& error) {
        HandleException(error);
    }
    return true;
}

void TApplication::ProcessMessages() {
    for (int n = 0; n < kMaxMessagesPerCall && ProcessOne(); ++n) {
    }
}

bool TApplication::HandleMessage() {
    if (ProcessOne()) return true;
    OnIdle(this);
    return Widgetset().WaitForInput(nullptr) == TIdleResult::Progress;
}

void TApplication::Run() {
    if (mainForm_ != nullptr && !mainForm_->Visible()) mainForm_->Show();
    while (!terminated_ && mainForm_ != nullptr) {
        try {
            if (!HandleMessage()) break;
        } catch (const EAutomationError&) {
            throw;
        } catch (const std::exception& error) {
            HandleException(error);
        }
    }
}

void TApplication::HandleException(const std::exception& error) {
    if (dynamic_cast<const EAbort*>(&error) != nullptr) return;
    if (OnException.Assigned()) {
        OnException(this, error);
    } else {
        ShowException(error);
    }
}

void TApplication::ShowException(const std::exception& error) {
    std::string text = error.what();
    if (!text.empty() && text.back() != '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    TMsgDlgType type = mtCustom;
    switch (flags & 0xF0) {
        case MB_ICONERROR:
            type = mtError;
            break;
        case MB_ICONQUESTION:
            type = mtConfirmation;
            break;
        case MB_ICONWARNING:
            type = mtWarning;
            break;
        case MB_ICONINFORMATION:
            type = mtInformation;
            break;
        default:
            break;
    }
    TMsgDlgButtons buttons{mbOK};
    switch (flags & 0x0F) {
        case MB_OKCANCEL:
            buttons = mbOKCancel;
            break;
        case MB_ABORTRETRYIGNORE:
            buttons = mbAbortRetryIgnore;
            break;
        case MB_YESNOCANCEL:
            buttons = mbYesNoCancel;
            break;
        case MB_YESNO:
            buttons = TMsgDlgButtons{mbYes, mbNo};
            break;
        case MB_RETRYCANCEL:
            buttons = TMsgDlgButtons{mbRetry, mbCancel};
            break;
        default:
            break;
    }
    TMessageForm* dialog = CreateMessageDialog(text, type, buttons);
    const auto life = dialog->LifeToken();
    if (!caption.empty()) dialog->SetCaption(caption);
    try {
        const int result = dialog->ShowModal();
        if (!life.expired()) dialog->Free();
        return result;
    } catch (...) {
        if (!life.expired()) dialog->Free();
        throw;
    }
}

}  // namespace kv
