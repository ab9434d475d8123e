// The seed form's submission, host commands and coded messages.
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Dialogs.h"
#include "src/report/Kpqx07CF.h"

namespace kv {

namespace {

constexpr int kEnvCount = 9;
constexpr int kConditionCount = 1;  // the print date
constexpr int kMaxMessageArgs = 10;

// A one-dimensional array 1..values.size().
Variant OneBased(const std::vector<Variant>& values) {
    Variant array = VarArrayCreate({1, static_cast<int>(values.size())});
    for (std::size_t i = 0; i < values.size(); ++i)
        array[static_cast<int>(i) + 1] = values[i];
    return array;
}

// The strings of a job travel to the server as wide strings.
Variant ToWide(const Variant& value) {
    if (VarIsStr(value)) return Variant::Wide(value.AsString());
    if (!value.IsArray() || value.DimCount() != 1) return value;
    Variant copy = value;
    for (int i = value.LowBound(1); i <= value.HighBound(1); ++i)
        copy[i] = ToWide(value[i]);
    return copy;
}

bool IsNonEmptyArray(const Variant& v) {
    return v.IsArray() && v.DimCount() >= 1 && v.HighBound(1) >= v.LowBound(1);
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(';', start);
        if (end == std::string::npos) {
            if (start < text.size()) fields.push_back(text.substr(start));
            break;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

TMsgDlgType BoxTypeOfKind(const std::string& kind) {
    const std::string k = UpperCase(kind);
    if (k == "E") return mtError;
    if (k == "I") return mtInformation;
    if (k == "Q") return mtConfirmation;
    if (k == "C" || k == "D" || k == "W") return mtWarning;
    return mtCustom;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Submission

void TfrmKpqx07::btnOkClick(TObject*) {
    if (!BuildJob()) return;
    Variant answer;
    try {
        answer = OleCall(AppServer, "Request", {JobArray});
    } catch (const Exception&) {
        answer = "ERROR";
    }
    if (SameText(VarToStr(answer), "ERROR")) {
        std::string reason;
        try {
            reason = VarToStr(OleCall(AppServer, "ErrorDescript"));
        } catch (const Exception& error) {
            reason = error.Message();
        }
        ShowMessageCode("E;000013;" + reason);
        return;
    }
    ShowMessageCode((ShowResultMessage ? "I;000004;" : "I;-000004;") + VarToStr(answer));
    ResultCode = 1;
    ResultValue = answer;
    Close();
}

void TfrmKpqx07::btnCancelClick(TObject*) {
    Close();
    ResultCode = 2;
}

bool TfrmKpqx07::BuildJob() {
    std::string printDate;
    try {
        printDate = PrintDateValue();
    } catch (const EConvertError&) {
        ShowMessageCode("E;000005");
        return false;
    }
    const Variant env =
        OneBased({ProgramCode, kEnvCount, kConditionCount, CompanyId, UserId, DatabaseName,
                  Variant::Date(Now()), ProgramCode + "S.Class1", "R"});
    const Variant texts = OneBased({VarArrayOf({lblToday->Caption(), edPrintDate->Name()})});
    const Variant values = OneBased({printDate});
    JobArray = ToWide(VarArrayOf({env, texts, values}));
    return true;
}

// "yyyymmdd" of the print date typed with or without separators; "" when none was typed.
// Raises EConvertError for anything that is no date.
std::string TfrmKpqx07::PrintDateValue() const {
    std::string digits;
    for (const char c : Trim(edPrintDate->Text()))
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != '/' && c != '-' && c != '.')
            throw EConvertError("not a date");
    if (digits.empty()) return "";
    TDateTime date = 0;
    if (digits.size() != 8 ||
        !TryEncodeDate(StrToInt(digits.substr(0, 4)), StrToInt(digits.substr(4, 2)),
                       StrToInt(digits.substr(6, 2)), date))
        throw EConvertError("not a date");
    return digits;
}

// ---------------------------------------------------------------------------------------------
// Host commands

void TfrmKpqx07::HandleHostCommand(const Variant& command) {
    const Variant c = command[1];
    LastHostCommand = c;
    if (!c.IsArray()) return;
    const int mode = c[0].AsInteger();
    ShowResultMessage = mode == 0 || mode == 1;
    bool accepted = false;
    AutoRun = false;
    const Variant& request = c[1];
    if (IsNonEmptyArray(request)) {
        ValuesByName = request[0].AsBoolean();
        const Variant& values = request[1];
        if (IsNonEmptyArray(values))
            accepted = ValuesByName ? AcceptHostValuesByName(values) : AcceptHostValues(values);
        AutoRun = mode != 0 && accepted;
    }
    if (mode > 2 && accepted) {
        RunFromHost(mode);
    } else if (AutoRun) {
        btnOk->Click();
    }
}

bool TfrmKpqx07::AcceptHostValues(const Variant&) {
    return false;
}

bool TfrmKpqx07::AcceptHostValuesByName(const Variant& values) {
    const Variant& entries = values[0];
    bool result = false;
    for (int i = entries.LowBound(1); i <= entries.HighBound(1); ++i) {
        try {
            TComponent* target = FindComponent(VarToStr(entries[i][1]));
            result = target != nullptr &&
                     (dynamic_cast<TCustomComboBox*>(target) != nullptr ||
                      IsPublishedProp(target, "ItemIndex") || IsPublishedProp(target, "Checked") ||
                      IsPublishedProp(target, "Text") || IsPublishedProp(target, "Lines"));
        } catch (const Exception&) {
            result = false;
        }
    }
    if (!result) ShowMessageCode("W;000014");
    return result;
}

bool TfrmKpqx07::RunFromHost(int) {
    return true;
}

// ---------------------------------------------------------------------------------------------
// Coded messages

std::string TfrmKpqx07::GetMessageText(const std::string& kind, const std::string& number) {
    if (VarIsClear(HostObject))
        return Format("Can not Get Message\rType= %s, ID= %s ", {kind, number});
    return VarToStr(OleCall(HostObject, "GetMessage", {kind, number}));
}

void TfrmKpqx07::ShowMessageCode(const std::string& codeText) {
    if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
    if (codeText.empty()) {
        RecordError("");
        return;
    }
    MessageCodes += codeText + "; ";
    std::vector<std::string> fields = SplitFields(codeText);
    fields.resize(std::max<std::size_t>(fields.size(), 2));
    const std::string kind = fields[0];
    std::string number = fields[1];
    const bool show = StrToIntDef(number, 0) > 0;
    if (!show && !number.empty()) number.erase(0, 1);
    std::vector<FormatArg> args;
    for (std::size_t i = 2; i < fields.size() && args.size() < kMaxMessageArgs; ++i)
        args.emplace_back(fields[i]);
    while (args.size() < kMaxMessageArgs)
        args.emplace_back("");
    std::string text;
    try {
        text = GetMessageText(kind, number);
        text = Format(text, args);
    } catch (const Exception&) {
        text += "\r";
        for (const FormatArg& arg : args)
            text += arg.AsText() + ";";
    }
    if (MessageTexts.find(text) == std::string::npos) MessageTexts += text + "; ";
    if (show) MessageDlg(text, BoxTypeOfKind(kind), {mbOK});
}

void TfrmKpqx07::RecordError(const std::string& text) {
    if (btnCancel != nullptr && ActiveControl() == btnCancel) return;
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        MessageCodes.clear();
        MessageTexts.clear();
        return;
    }
    MessageCodes += "E;-1; ";
    if (MessageTexts.find(trimmed) == std::string::npos) MessageTexts += trimmed + "; ";
}

}  // namespace kv
