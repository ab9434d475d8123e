// TfrmBaseGene: the base bodies of the virtual operations that the levels of the form chain
// extend: the job array, the lookup window, and the operations whose work belongs to the
// condition schemes and the server module.
#include <exception>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include "src/framework/BaseGene.h"
#include "src/runtime/CodeConverter.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

// An array 1..count of null elements, the shape every level fills.
Variant NullArray(int count) {
    Variant array = VarArrayCreate({1, count});
    for (int i = 1; i <= count; ++i)
        array[i] = Variant::Null();
    return array;
}

}  // namespace

bool TfrmBaseGene::BuildJob() {
    if (EnvCount < 1 || (ConditionCount < 1 && !AutoRun)) {
        ShowMessageId("I", "000003", {}, {Variant("")});
        return false;
    }
    Variant env = NullArray(EnvCount);
    Variant texts = NullArray(ConditionCount);
    Variant values = NullArray(ConditionCount);
    const int own = ConditionCount - BaseElementCount;

    // Each level reports its own failure; a wrong shape is reported here, naming the array.
    auto checked = [this](const Variant& array, int expected, const char* ident,
                          const char* defaultName) {
        const std::string name = GetLangText("TfrmBaseGene", ident, true, defaultName);
        const int high = array.IsArray() ? array.HighBound(1) : -1;
        if (high != expected) {
            ShowMessageId("W", "000002", {},
                          {Variant(name), Variant(IntToStr(expected)), Variant(IntToStr(high))});
            return false;
        }
        for (int i = 1; i <= expected; ++i) {
            if (array[i].IsEmpty() || array[i].IsNull()) {
                ShowMessageId("W", "000003", {},
                              {Variant(name), Variant(IntToStr(expected)), Variant(IntToStr(i))});
                return false;
            }
        }
        return true;
    };
    if (!FillTextArray(texts, own) || !checked(texts, ConditionCount, "sOption", "选择条件文字"))
        return false;
    if (!FillValueArray(values, own) ||
        !checked(values, ConditionCount, "sOptionInf", "选择条件信息"))
        return false;
    if (!FillEnvArray(env, EnvCount) || !checked(env, EnvCount, "sEnvSetting", "环境设置"))
        return false;
    const Variant dbTexts = KvConverter != nullptr ? KvConverter->UIToDB(texts) : texts;
    const Variant dbValues = KvConverter != nullptr ? KvConverter->UIToDB(values) : values;
    JobArray = VarArrayOf({env, dbTexts, dbValues});
    return true;
}

bool TfrmBaseGene::FillEnvArray(Variant& env, int count) {
    const Variant entries[] = {Variant(UpperCase(ProgramCode)),
                               Variant(EnvCount),
                               Variant(ConditionCount),
                               Variant(CompanyId),
                               Variant(UserId),
                               Variant(DatabaseName),
                               Variant::Date(Now()),
                               Variant(ProgramServerClass),
                               Variant(UpperCase(JobKind))};
    // A level that counts fewer entries gets the ones it has room for.
    for (int i = 1; i <= 9 && i <= count; ++i)
        env[i] = entries[i - 1];
    return true;
}

bool TfrmBaseGene::FillTextArray(Variant& texts, int count) {
    try {
        ServerRunMode = 1;
        texts[count + BaseElementCount] =
            VarArrayOf({Variant(lblToday->Caption()), Variant(edPrintDate->Name())});
        return true;
    } catch (const std::exception&) {
        ShowMessageCode("E;000030;" + GetMessageText("I", "000011"));
        return false;
    }
}

bool TfrmBaseGene::FillValueArray(Variant& values, int count) {
    try {
        const std::string typed = Trim(edPrintDate->Text());
        const std::string separator = GetDateSeparator();
        // An empty or half-typed masked date begins or ends with its separator.
        std::string ymd;
        if (!typed.empty() && !typed.starts_with(separator) && !typed.ends_with(separator))
            ymd = DateToStorage(edPrintDate->Text());
        values[count + BaseElementCount] = Variant(ymd);
        return true;
    } catch (const std::exception&) {
        ShowMessageCode("E;000030");
        return false;
    }
}

void TfrmBaseGene::ShowLookup(const std::string& table, const std::string& kind,
                              const Variant& params, const std::string& startText, bool multiSelect,
                              Variant& result) {
    result = Variant();
    if (LookupWindow.IsEmpty() || LookupWindow.IsNull()) return;
    const auto toDB = [this](const Variant& v) {
        return KvConverter != nullptr ? KvConverter->UIToDB(v) : v;
    };
    const Variant request =
        VarArrayOf({Variant(table), Variant(kind), toDB(params), Variant(multiSelect),
                    toDB(Variant(startText)), Variant(CompanyId), Variant(DatabaseName),
                    Variant(static_cast<int>(Handle())), Variant(1), Variant(false),
                    Variant(ProductId), Variant(""), Variant(""), Variant(""), Variant(BaseLimits),
                    Variant(RightsFlagB), Variant(RightsFlagA), HostObject, Variant(UserId)});
    result = OleCall(LookupWindow, "F2GetData", {request});
    if (FormConverted && KvConverter != nullptr) result = KvConverter->DBToUI(result);
}

void TfrmBaseGene::InsertPhrase(TControl* control) {
    std::string text;
    if (!LookupWindow.IsEmpty() && !LookupWindow.IsNull()) {
        Variant phrase =
            OleCall(LookupWindow, "GetPhrase",
                    {Variant(UserId), Variant(DatabaseName), Variant(static_cast<int>(Handle()))});
        if (FormConverted && KvConverter != nullptr) phrase = KvConverter->DBToUI(phrase);
        text = phrase.AsString();
    }
    if (!text.empty() && control != nullptr) control->SetText(text);
}

std::string TfrmBaseGene::PickDate(const std::string& text) {
    if (LookupWindow.IsEmpty() || LookupWindow.IsNull()) return "";
    const std::string start = text.size() == 8 ? text : FormatDateTime("yyyymmdd", Date());
    const Variant request =
        VarArrayOf({Variant(DateForm > 3), Variant(start), Variant(DatabaseName)});
    const std::string answer = Trim(OleCall(LookupWindow, "ShowInputDay", {request}).AsString());
    if (answer.empty()) return text;
    return FormatDateStr(GetDateForm(), GetDateSeparator(), YmdToDate(answer));
}

void TfrmBaseGene::LookupKey(Word key, TWinControl* control) {
    if (key != VK_F2 || control == nullptr) return;
    if (control->CanFocus()) control->SetFocus();
    // Without a lookup window there is no quick entry: the typed date stays.
    if (control == edPrintDate && !LookupWindow.IsEmpty() && !LookupWindow.IsNull())
        edPrintDate->SetText(PickDate(edPrintDate->Text()));
}

// ---- operations whose work the other levels and later units supply

// The condition schemes live in the scheme panel's unit; at this level no scheme is kept, so
// nothing is saved, applied or listed.
bool TfrmBaseGene::SaveScheme() {
    return false;
}
bool TfrmBaseGene::ApplyScheme() {
    return false;
}
bool TfrmBaseGene::LoadSchemeList() {
    return false;
}

// Running a server module needs the file update of the work libraries, which this build does
// not carry yet: the run is refused and the reason recorded for the caller's failure report.
bool TfrmBaseGene::RunServerModule(const Variant&, const std::string& programCode, const Variant&,
                                   const std::string&, const std::string&, const std::string&,
                                   const std::string&, const std::string&, const Variant&,
                                   const Variant&, const Variant&) {
    RecordError("The server module " + programCode + "S cannot be run by this build");
    return false;
}

void TfrmBaseGene::SpareHookA() {}
void TfrmBaseGene::SpareHookB() {}
bool TfrmBaseGene::AcceptHostValues(const Variant&) {
    return false;
}
void TfrmBaseGene::RightsLoaded() {}
void TfrmBaseGene::SetServerName(TSocketConnection&) {}
bool TfrmBaseGene::SchemeOpened() {
    return true;
}
bool TfrmBaseGene::RunFromHost(int) {
    return true;
}
void TfrmBaseGene::BeforeSchemeValue() {}
void TfrmBaseGene::AfterSchemeValue() {}

}  // namespace kv
