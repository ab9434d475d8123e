#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <array>

#include "platform/ui/Widgetset.h"

namespace kv {

namespace {

struct TButtonInfo {
    const char* name;
    const char* caption;
    TModalResult result;
};

constexpr std::array<TButtonInfo, 11> kButtons = {{
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
}};

constexpr int kMargin = 8;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;

const TButtonInfo& Info(TMsgDlgBtn button) {
    return kButtons[static_cast<std::size_t>(button)];
}

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
        if (buttons.Contains(b)) return b;
    for (int b = mbYes; b <= mbHelp; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return static_cast<TMsgDlgBtn>(b);
    return mbOK;
}

// Width and height of the message, line by line, in the dialog's font.
TTextExtent MeasureText(const TFont& font, const std::string& text) {
    TTextExtent total;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const TTextExtent extent = Widgetset().TextExtent(font, line);
        total.Width = std::max(total.Width, extent.Width);
        total.Height += extent.Height;
        start = end + 1;
    }
    return total;
}

}  // namespace

const char* MsgDlgButtonName(TMsgDlgBtn button) {
    return Info(button).name;
}

const char* MsgDlgButtonCaption(TMsgDlgBtn button) {
    return Info(button).caption;
}

TModalResult MsgDlgButtonResult(TMsgDlgBtn button) {
    return Info(button).result;
}

std::string MsgDlgCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return "Warning";
        case mtError:
            return "Error";
        case mtInformation:
            return "Information";
        case mtConfirmation:
            return "Confirm";
        default:
            return Application().Title();
    }
}

std::string MsgDlgButtonsText(TMsgDlgButtons buttons) {
    return SetToString(TypeInfo<TMsgDlgButtons>(), static_cast<int>(buttons.Bits()));
}

// ---- the dialog's controls

KV_PUBLISHED(TMsgDlgLabel) {
    PublishControlMembers(b, "Caption Font ParentFont");
}

TMsgDlgLabel::TMsgDlgLabel(TComponent* owner) : TGraphicControl(owner) {}

KV_PUBLISHED(TMsgDlgImage) {}

TMsgDlgImage::TMsgDlgImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, kIconSize, kIconSize);
}

// ---- the dialog

KV_PUBLISHED(TMessageForm) {}

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner, true) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBorderIcons({biSystemMenu});
}

TButton* TMessageForm::Button(TMsgDlgBtn b) const {
    if (!buttons_.Contains(b)) return nullptr;
    return FindComponentAs<TButton>(MsgDlgButtonName(b));
}

TMessageForm* CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                  TMsgDlgButtons buttons) {
    if (buttons.Empty()) buttons = {mbOK};
    auto* form = NewObject<TMessageForm>(&Application());
    try {
        form->message_ = message;
        form->type_ = type;
        form->buttons_ = buttons;
        form->SetCaption(MsgDlgCaption(type));

        int textLeft = kMargin;
        if (type != mtCustom) {
            auto* image = NewObject<TMsgDlgImage>(form);
            image->SetName("Image");
            image->SetParent(form);
            image->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
            textLeft += kIconSize + kMargin;
        }
        auto* label = NewObject<TMsgDlgLabel>(form);
        label->SetName("Message");
        label->SetParent(form);
        label->SetCaption(message);
        const TTextExtent text = MeasureText(*form->Font(), message);
        label->SetBounds(textLeft, kMargin, text.Width, text.Height);

        const TMsgDlgBtn defaultButton = DefaultButton(buttons);
        const TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel
                                        : buttons.Contains(mbNo)   ? mbNo
                                                                   : mbOK;
        std::vector<TButton*> made;
        for (int i = mbYes; i <= mbHelp; ++i) {
            const auto b = static_cast<TMsgDlgBtn>(i);
            if (!buttons.Contains(b)) continue;
            auto* button = NewObject<TButton>(form);
            button->SetName(MsgDlgButtonName(b));
            button->SetParent(form);
            button->SetCaption(MsgDlgButtonCaption(b));
            button->SetModalResult(MsgDlgButtonResult(b));
            button->SetDefault(b == defaultButton);
            button->SetCancel(b == cancelButton && buttons.Contains(cancelButton));
            if (b == defaultButton) form->SetActiveControl(button);
            made.push_back(button);
        }

        const int count = static_cast<int>(made.size());
        const int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
        const int textBottom = kMargin + std::max(text.Height, type != mtCustom ? kIconSize : 0);
        const int clientWidth = std::max(textLeft + text.Width, buttonsWidth + kMargin) + kMargin;
        int x = (clientWidth - buttonsWidth) / 2;
        for (TButton* button : made) {
            button->SetBounds(x, textBottom + kMargin * 2, kButtonWidth, kButtonHeight);
            x += kButtonWidth + kButtonGap;
        }
        form->SetBounds(form->Left(), form->Top(), clientWidth,
                        textBottom + kMargin * 3 + kButtonHeight);
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

int MessageDlgPos(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                  int helpContext, int x, int y) {
    TMessageForm* dialog = CreateMessageDialog(message, type, buttons);
    const auto life = dialog->LifeToken();
    auto freeDialog = [&] {
        if (!life.expired()) dialog->Free();
    };
    try {
        dialog->SetHelpContext(helpContext);
        if (x >= 0) dialog->SetLeft(x);
        if (y >= 0) dialog->SetTop(y);
        if (x >= 0 || y >= 0) dialog->SetPosition(poDesigned);
        const int result = dialog->ShowModal();
        freeDialog();
        return result;
    } catch (...) {
        freeDialog();
        throw;
    }
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext) {
    return MessageDlgPos(message, type, buttons, helpContext, -1, -1);
}

void ShowMessage(const std::string& message) {
    MessageDlg(message, mtCustom, {mbOK});
}

}  // namespace kv
