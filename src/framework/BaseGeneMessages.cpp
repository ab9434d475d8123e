// The coded messages of the generic condition form: texts from the host's message table,
// formatted with the message's arguments, recorded for later failure reports, and shown in
// message boxes dressed in the user's code page.
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include "src/framework/BaseGene.h"
#include "src/runtime/CodeConverter.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

constexpr int kMessageArgumentSlots = 10;

TMsgDlgType BoxTypeOfKind(const std::string& kind) {
    if (kind == "C" || kind == "D" || kind == "W") return mtWarning;
    if (kind == "E") return mtError;
    if (kind == "I") return mtInformation;
    if (kind == "Q") return mtConfirmation;
    return mtCustom;
}

// The buttons ShowMessageId offers when the caller names none.
TMsgDlgButtons ButtonsOfKind(const std::string& kind) {
    if (kind == "C" || kind == "Q" || kind == "W") return mbOKCancel;
    if (kind == "D") return mbYesNoCancel;
    return {mbOK};
}

FormatArg ToFormatArg(const Variant& value) {
    switch (VarType(value)) {
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varInt64:
            return FormatArg(value.AsInt64());
        case varByte:
        case varWord:
        case varLongWord:
        case varUInt64:
            return FormatArg(static_cast<std::uint64_t>(value.AsInt64()));
        case varSingle:
        case varDouble:
        case varCurrency:
            return FormatArg(value.AsDouble());
        default:
            return FormatArg(VarToStr(value));
    }
}

std::string FormatMessage(const std::string& text, const std::vector<Variant>& arguments) {
    std::vector<FormatArg> args;
    args.reserve(arguments.size());
    for (const Variant& argument : arguments)
        args.push_back(ToFormatArg(argument));
    return Format(text, args);
}

// What a message shows when its text cannot be looked up or formatted: the text as it came,
// then every argument slot followed by ";".
std::string UnformattedMessage(const std::string& text, const std::vector<Variant>& arguments) {
    std::string result = text + "\r";
    for (const Variant& argument : arguments)
        result += VarToStr(argument) + ";";
    return result;
}

// The number without its first character (a whole character of the text).
std::string DropFirstCharacter(const std::string& text) {
    if (text.empty()) return text;
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(length);
}

// The message records hold each distinct text once (an empty text never counts as held).
void AddDistinctText(std::string& texts, const std::string& text) {
    if (text.empty() || texts.find(text) == std::string::npos) texts += text + "; ";
}

}  // namespace

std::string TfrmBaseGene::GetMessageText(const std::string& kind, const std::string& number) {
    std::string text;
    if (VarIsClear(HostObject))
        text = Format("Can not Get Message\rType= %s, ID= %s ", {kind, number});
    else
        text = VarToStr(OleCall(HostObject, "GetMessage", {Variant(kind), Variant(number)}));
    return KvConverter != nullptr ? VarToStr(KvConverter->DBToUI(Variant(text))) : text;
}

void TfrmBaseGene::ShowMessageCode(const std::string& codeText) {
    // Validation handlers stay quiet while the user leaves for the Cancel button.
    if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
    if (codeText.empty()) {
        MessageCodes.clear();
        MessageTexts.clear();
        return;
    }
    MessageCodes += codeText + "; ";
    std::string rest = codeText;
    const std::string kind = CutField(rest, ";");
    std::string number = CutField(rest, ";");
    const bool show = StrToIntDef(number, 0) > 0;
    std::vector<Variant> arguments(kMessageArgumentSlots);
    for (int i = 0; i < kMessageArgumentSlots && !rest.empty(); ++i)
        arguments[static_cast<std::size_t>(i)] = CutField(rest, ";");
    if (!show) number = DropFirstCharacter(number);
    std::string raw;
    std::string text;
    try {
        raw = GetMessageText(kind, number);
        text = FormatMessage(raw, arguments);
    } catch (const std::exception&) {
        text = UnformattedMessage(raw, arguments);
    }
    AddDistinctText(MessageTexts, text);
    if (show) ShowMessageBox(text, BoxTypeOfKind(kind), {mbOK});
}

void TfrmBaseGene::RecordError(const std::string& text) {
    if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        MessageCodes.clear();
        MessageTexts.clear();
        return;
    }
    MessageCodes += "E;-1; ";
    AddDistinctText(MessageTexts, trimmed);
}

TModalResult TfrmBaseGene::ShowMessageId(const std::string& kind, const std::string& number,
                                         TMsgDlgButtons buttons,
                                         const std::vector<Variant>& arguments) {
    std::string raw;
    std::string text;
    // A host that cannot answer, or a text whose placeholders do not fit the arguments, still
    // gives the user a box with what is known.
    try {
        raw = GetMessageText(kind, number);
        text = FormatMessage(raw, arguments);
    } catch (const std::exception&) {
        text = UnformattedMessage(raw, arguments);
    }
    return ShowMessageBox(text, BoxTypeOfKind(kind),
                          buttons.Empty() ? ButtonsOfKind(kind) : buttons);
}

TModalResult TfrmBaseGene::ShowMessageBox(const std::string& text, TMsgDlgType boxType,
                                          TMsgDlgButtons buttons) {
    if (Silent && boxType != mtError) return mrNone;
    TMessageForm* dialog = CreateMessageDialog(text, boxType, buttons);
    TModalResult result = mrNone;
    try {
        dialog->SetCaption(Caption());
        if (UICodePage() != "437") {
            for (int i = 0; i < dialog->ComponentCount(); ++i) {
                auto* button = dynamic_cast<TButton*>(dialog->Components(i));
                if (button == nullptr) continue;
                const std::string caption = ButtonCaption(button->Name());
                button->SetCaption(KvConverter != nullptr ? KvConverter->DesignToUI(caption)
                                                          : caption);
            }
        }
        TCodeConverter::SetFontCharset(UIConvertMode(), dialog->Font());
        result = dialog->ShowModal();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    // A mouse capture taken before the box ends with the button's release.
    if (TWinControl* active = ActiveControl()) PostMessage(active->Handle(), WM_LBUTTONUP, 0, 0);
    if (boxType == mtError && LastFocused != nullptr && LastFocused->CanFocus())
        LastFocused->SetFocus();
    return result;
}

}  // namespace kv
