// The Forms unit: forms (TCustomForm, TForm), the application object (message queue and
// loops), the screen (forms, active form and control, cursor), and TInput, the entry points
// through which widgetsets and the automation interface hand user input to the controls.
//
// Life of a form:
//   auto* form = NewObject<TfrmX>(owner);   // or Application().CreateForm<TfrmX>()
// The constructor builds the form; AfterConstruction reads its form description (when a
// reader is installed, see SetFormDescriptionLoader) and raises OnCreate. Free() raises
// OnDestroy and destroys it; Release() frees it once the message loop gets to it (the way a
// form frees itself from its own event handlers). Closing with the close action caFree
// releases the form.
//
// ShowModal runs a nested message loop until ModalResult is set (a posted WM_CLOSE sets it to
// mrCancel). When the queue is empty, the loop first lets the automation interface apply a
// scripted answer, then asks the widgetset for input; when none will come (headless, nothing
// scripted) the form is closed as the user would close it, and if it refuses to close it is
// abandoned with mrCancel: a modal loop never hangs.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"

namespace kv {

KV_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized);
KV_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
        poDesktopCenter, poMainFormCenter, poOwnerFormCenter);
KV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp);
KV_SET(TBorderIcons, TBorderIcon);
KV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin);
KV_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop);
KV_ENUM(TFormStateItem, fsCreating, fsVisible, fsShowing, fsModal, fsActivated);
KV_SET(TFormState, TFormStateItem);

class TCustomForm : public TWinControl {
    KV_CLASS(TCustomForm, TWinControl)
public:
    // Builds an empty form ("CreateNew"); AfterConstruction reads the description of its
    // class chain if a reader is installed and the form was not made with createNew.
    explicit TCustomForm(TComponent* owner, bool createNew = false);
    ~TCustomForm() override;
    void AfterConstruction() override;
    // Raises OnDestroy while the whole form still exists.
    void BeforeDestruction() override;

    // ---- showing
    void SetVisible(bool value) override;
    bool Showing() const override;
    // Shows the form and makes it the active form.
    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form modally: raises EInvalidOperation "Cannot make a visible window modal"
    // for a visible or disabled form; answers the modal result.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    // Closes as the user's close box does: a modal form gets mrCancel; otherwise OnCloseQuery,
    // then OnClose with the action caHide; caHide hides, caMinimize minimises, caFree
    // releases, caNone keeps the form. Closing the main form terminates the application.
    void Close();
    // OnCloseQuery's verdict (true without a handler).
    virtual bool CloseQuery();
    // Frees the form once the message loop processes the request (safe from its own handlers).
    void Release();
    // Brings the form to the front and activates it.
    void BringToFront() override;
    bool Active() const { return active_; }
    TFormState FormState() const { return formState_; }
    // Disabled while a modal form of another window is up: the form takes no input.
    bool AcceptsInput() const { return Enabled() && modalDisabled_ == 0; }

    // ---- focus
    TWinControl* ActiveControl() const { return activeControl_; }
    // Records (hidden or loading form) or moves (shown form) the focus. Raises EInvalidOperation
    // "Cannot focus a disabled or invisible window" for a control that cannot take it or that is
    // on another form.
    void SetActiveControl(TWinControl* control);
    // Makes control the active control and gives the form the focus if it lacks it.
    void FocusControl(TWinControl* control);
    // The control the form's exit and enter events were last raised for (the focused one).
    TWinControl* FocusedControl() const { return focusedControl_; }
    // Takes the focus away from control (hidden, disabled or freed): the active control becomes
    // none and the focus goes to the form itself.
    void DefocusControl(TWinControl* control, bool removing);
    bool CanFocus() const override;
    void SetFocus() override;

    // ---- properties
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value) { formStyle_ = value; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }

    void WndProc(TMessage& message) override;
    void Loaded() override;
    // OnKeyDown, except while TInput hands the control the key this form already previewed.
    void KeyDown(Word& key, TShiftState shift) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    // Raises the exit events from the focused control up to the common parent and the enter
    // events down to control, as the focus moves (the form's active control is already the new
    // one while they run). Stops when a handler moves the focus elsewhere.
    bool SetFocusedControl(TWinControl* control);
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TWinControl;
    friend class TScreen;
    friend class TApplication;
    friend class TInput;

    void ShowingChanged();
    void PlaceOnScreen();
    void CloseModal();
    void SetWindowFocus();
    void SetActive(bool value);
    TModalResult RunModalLoop(const std::weak_ptr<const bool>& life);
    bool HandleDialogKey(Word key, TShiftState shift);
    void ReleaseNow();

    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    TFormState formState_;
    bool createNew_ = false;
    bool created_ = false;  // OnCreate ran: OnDestroy will run too
    bool active_ = false;
    bool positioned_ = false;
    bool releasePending_ = false;
    int modalDisabled_ = 0;
    bool keyPreview_ = false;
    bool keyPreviewed_ = false;  // TInput ran the preview of the key going down
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    TBorderIcons borderIcons_ = {biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    bool scaled_ = true;
    int pixelsPerInch_ = kScreenPixelsPerInch;
    int textHeight_ = 13;
};

// The form class that form descriptions and applications derive from; publishes the members
// a form description sets.
class TForm : public TCustomForm {
    KV_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner, bool createNew = false) : TCustomForm(owner, createNew) {}
};

// Reads the form descriptions of form's class chain into it (components, properties, event
// bindings, Loaded); answers false when there is none. Installed by the form-description
// reader; without one, forms are built by code.
using TFormDescriptionLoader = bool (*)(TCustomForm& form);
void SetFormDescriptionLoader(TFormDescriptionLoader loader);
TFormDescriptionLoader GetFormDescriptionLoader();

KV_EVENT(TExceptionEvent, void(TObject* Sender, const std::exception& E));

// The application object: the message queue and loops, the main form, hint settings.
class TApplication : public TComponent {
    KV_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Creates a form of class F owned by the application; the first one becomes MainForm.
    template <class F>
    F* CreateForm() {
        F* form = NewObject<F>(this);
        if (mainForm_ == nullptr) mainForm_ = form;
        return form;
    }
    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }
    // Shows the main form and processes messages until Terminate (or the main form is gone).
    // Headless with nothing to do, it ends at once.
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    void ResetTerminated() { terminated_ = false; }

    // Processes the queued messages, including those posted meanwhile, without waiting for
    // input. A handler that keeps posting cannot trap it: it stops after a bounded number.
    void ProcessMessages();
    // Processes one message; with none queued, waits for input (headless: answers at once).
    // False when no message was processed and no input came.
    bool HandleMessage();
    // Queued messages not processed yet.
    int PendingMessages() const { return static_cast<int>(queue_.size()); }

    // Reports an error caught by the message loop: OnException, else an error message box
    // with the error's message (EAbort shows nothing).
    void HandleException(const std::exception& error);
    void ShowException(const std::exception& error);
    // A message box with the given MB_* flags; answers the ID* (= mr*) result.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    // The application's own window handle (no control stands behind it).
    HWND Handle();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    const std::string& ExeName() const { return exeName_; }
    void SetExeName(const std::string& name) { exeName_ = name; }

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int value) { hintPause_ = value; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int value) { hintHidePause_ = value; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int value) { hintShortPause_ = value; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);

    TExceptionEvent OnException;
    TNotifyEvent OnHint;
    TNotifyEvent OnIdle;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend bool PostMessage(HWND, UINT, WPARAM, LPARAM);
    friend class TCustomForm;

    struct TQueued {
        HWND window;
        TMessage message;
    };
    void Post(HWND window, const TMessage& message) { queue_.push_back({window, message}); }
    bool ProcessOne();

    std::deque<TQueued> queue_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    HWND handle_ = 0;
    std::string title_;
    std::string exeName_;
    bool showHint_ = true;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    int hintShortPause_ = 50;
    std::string hint_;
};

// MessageBox flags and results.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The screen: every form that exists, the active form and control, the cursor.
class TScreen : public TComponent {
    KV_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);

    // Forms in creation order.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;  // EListError when out of range
    // The form of that name (letter case ignored), or null.
    TCustomForm* FindForm(std::string_view name) const;
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const;
    // The window that has the input focus (a control or a form), or null.
    TWinControl* FocusedWindow() const { return focusWindow_; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) { cursor_ = value; }
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return kScreenPixelsPerInch; }

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    friend class TCustomForm;
    friend class TWinControl;
    friend class TControl;

    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    // Gives the input focus to window (activating its form) and tells the form.
    void SetFocusWindow(TWinControl* window);
    void ActivateForm(TCustomForm* form);
    // The visible, input-taking form that was active most recently, other than except.
    TCustomForm* NextActiveForm(const TCustomForm* except) const;
    void WindowGone(TWinControl* window);

    std::vector<TCustomForm*> forms_;
    std::vector<TCustomForm*> activationOrder_;  // most recent last
    TCustomForm* activeForm_ = nullptr;
    TWinControl* focusWindow_ = nullptr;
    TCursor cursor_ = crDefault;
};

// The process's application and screen objects (created on first use, never destroyed, so
// that no exit-time order matters).
TApplication& Application();
TScreen& Screen();

// User input, delivered in the platform's order. Widgetsets call these for real input; the
// automation interface for scripted input. All of them act on live controls only and stop
// when a handler frees the control.
class TInput {
public:
    // A key pressed and released on the focused window: a form with KeyPreview sees KeyDown
    // first (setting Key to 0 there stops the key: no dialog key, no KeyDown of the control,
    // no character); then the dialog keys (Tab, Ctrl+Tab, arrows, Enter, Esc, unless the
    // control keeps them), the control's KeyDown, the character (KeyPress, again the form
    // first) and KeyUp.
    static void Key(Word key, TShiftState shift = {});
    static void KeyDown(Word key, TShiftState shift);
    static void KeyUp(Word key, TShiftState shift);
    // One character typed (KeyPress path only).
    static void Char(char key);
    // Text typed by the user: ASCII characters as key strokes, other characters as input-method
    // text.
    static void TypeText(std::string_view text);
    // The user moves the focus to the control (click or shortcut); false when it could not
    // take it or a handler moved the focus elsewhere.
    static bool Focus(TWinControl& control);
    // A mouse click at (x, y) of the control: the focus first when the control takes it on
    // clicks, then MouseDown, Click, MouseUp. No click when the focus did not arrive.
    static void Click(TControl& control, TMouseButton button = mbLeft, TShiftState shift = {},
                      int x = 1, int y = 1);
    // Click, then the double click (DblClick, MouseDown with ssDouble, MouseUp).
    static void DblClick(TControl& control, int x = 1, int y = 1);
    // The user's close box: WM_CLOSE posted to the form and processed.
    static void CloseBox(TCustomForm& form);

    // The character a key makes with the shift state (0 when none), on a US layout.
    static char KeyToChar(Word key, TShiftState shift);
    // The key and shift state that type an ASCII character; false for others.
    static bool CharToKey(char ch, Word& key, TShiftState& shift);

private:
    // The key going down, in order; false when it was used up before the control's KeyDown
    // (no character follows then). The form's preview may change key.
    static bool DispatchKeyDown(TWinControl& target, Word& key, TShiftState shift);
};

}  // namespace kv
