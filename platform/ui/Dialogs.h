// The Dialogs unit: the platform's standard message dialog.
//
// CreateMessageDialog builds a real form (TMessageForm) with an icon image "Image", the text
// label "Message" and one push button per requested button, named after it ("Yes", "No",
// "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help") so that
// callers can find and re-caption them before showing the dialog modally. MessageDlg creates,
// shows and frees one. Every dialog shown modally is recorded by the automation interface.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

KV_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom);
KV_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
        mbYesToAll, mbHelp);
KV_SET(TMsgDlgButtons, TMsgDlgBtn);

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// The name, caption and modal result of a dialog button.
const char* MsgDlgButtonName(TMsgDlgBtn button);     // "Yes", ..., "NoToAll", "Help"
const char* MsgDlgButtonCaption(TMsgDlgBtn button);  // "&Yes", ..., "N&o to All", "&Help"
TModalResult MsgDlgButtonResult(TMsgDlgBtn button);  // mrYes, ...; mbHelp: mrNone
// The dialog's caption by type: "Warning", "Error", "Information", "Confirm"; mtCustom: the
// application's title.
std::string MsgDlgCaption(TMsgDlgType type);
// The buttons as text: "[mbYes,mbNo]".
std::string MsgDlgButtonsText(TMsgDlgButtons buttons);

// The text label and the icon of a message dialog.
class TMsgDlgLabel : public TGraphicControl {
    KV_CLASS(TMsgDlgLabel, TGraphicControl)
public:
    explicit TMsgDlgLabel(TComponent* owner);
};

class TMsgDlgImage : public TGraphicControl {
    KV_CLASS(TMsgDlgImage, TGraphicControl)
public:
    explicit TMsgDlgImage(TComponent* owner);
};

// The message dialog form: remembers what it was made with, for callers and the recorder.
class TMessageForm : public TForm {
    KV_CLASS(TMessageForm, TForm)
public:
    explicit TMessageForm(TComponent* owner);

    const std::string& MessageText() const { return message_; }
    TMsgDlgType DialogType() const { return type_; }
    TMsgDlgButtons Buttons() const { return buttons_; }
    // The button made for b, or null when the dialog has none.
    TButton* Button(TMsgDlgBtn b) const;

private:
    friend TMessageForm* CreateMessageDialog(const std::string&, TMsgDlgType, TMsgDlgButtons);

    std::string message_;
    TMsgDlgType type_ = mtCustom;
    TMsgDlgButtons buttons_;
};

// A new dialog form, owned by the application, not yet shown; the caller frees it. Without
// buttons the dialog gets an OK button. The default button is OK, else Yes, else Retry, else
// the first one; the cancel button is Cancel, else No, else OK (when present).
TMessageForm* CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                  TMsgDlgButtons buttons);
// Shows a dialog modally and answers the modal result (mrCancel when closed without a button).
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);
int MessageDlgPos(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                  int helpContext, int x, int y);
void ShowMessage(const std::string& message);

}  // namespace kv
