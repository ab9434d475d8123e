#include "src/report/Kpqx07CF.h"

#include "platform/core/ComObj.h"
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

constexpr const char* kVersionText = "870401-0.00.00";
constexpr const char* kHostClass = "PinnoxWorkCenter.Manager";
constexpr const char* kServerClass = "ReportCounterS.dmReportCounter";

// The parameters of the stand-alone test program: user, company, database.
Variant StandAloneParams() {
    return VarArrayOf({"796", "DAZudo60", "DAZudo60"});
}

}  // namespace

TfrmKpqx07::TfrmKpqx07(TComponent* owner) : TForm(owner, true) {
    BuildComponents();
}

void TfrmKpqx07::BuildComponents() {
    SetName("frmKpqx07");
    SetBounds(0, 0, 360, 150);
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    lblToday = NewObject<TLabel>(this);
    lblToday->SetName("lblToday");
    lblToday->SetParent(this);
    lblToday->SetCaption("制表日期");
    lblToday->SetBounds(8, 12, 48, 13);
    edPrintDate = NewObject<TEdit>(this);
    edPrintDate->SetName("edPrintDate");
    edPrintDate->SetParent(this);
    edPrintDate->SetBounds(60, 8, 85, 21);
    edPrintDate->SetHint("[F2]日期快手");
    edPrintDate->SetText("");
    btnOk = NewObject<TButton>(this);
    btnOk->SetName("btnOk");
    btnOk->SetParent(this);
    btnOk->SetCaption("确定");
    btnOk->SetBounds(190, 80, 75, 25);
    btnOk->OnClick = TNotifyEvent(this, &TfrmKpqx07::btnOkClick);
    btnCancel = NewObject<TButton>(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetParent(this);
    btnCancel->SetCaption("取消");
    btnCancel->SetBounds(275, 80, 75, 25);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->OnClick = TNotifyEvent(this, &TfrmKpqx07::btnCancelClick);
    OnCreate = TNotifyEvent(this, &TfrmKpqx07::FormCreate);
    OnClose = TCloseEvent(this, &TfrmKpqx07::FormClose);
    OnDestroy = TNotifyEvent(this, &TfrmKpqx07::FormDestroy);
    OnKeyDown = TKeyEvent(this, &TfrmKpqx07::FormKeyDown);
}

void TfrmKpqx07::FormCreate(TObject*) {
    VersionText = kVersionText;
    CompanyId.clear();
    ProgramCode.clear();
    ProgramName.clear();
}

void TfrmKpqx07::FormClose(TObject*, TCloseAction& action) {
    action = caFree;
}

void TfrmKpqx07::FormDestroy(TObject*) {
    Validator = Unassigned();
    LookupWindow = Unassigned();
    AppServer = Unassigned();
    HostObject = Unassigned();
}

void TfrmKpqx07::FormKeyDown(TObject*, Word& key, TShiftState) {
    if (key == VK_ESCAPE) Close();
    if (key == VK_F2) LookupKey(key, ActiveControl());
}

void TfrmKpqx07::LookupKey(Word, TWinControl* control) {
    if (control != nullptr && control == edPrintDate)
        edPrintDate->SetText(PickDate(edPrintDate->Text()));
}

std::string TfrmKpqx07::PickDate(const std::string& text) {
    if (VarIsClear(LookupWindow)) return text;
    const std::string start = text.size() == 8 ? text : FormatDateTime("yyyymmdd", Date());
    std::string answer;
    try {
        answer = Trim(VarToStr(
            OleCall(LookupWindow, "ShowInputDay", {VarArrayOf({false, start, DatabaseName})})));
    } catch (const Exception& error) {
        RecordError(error.Message());
        return text;
    }
    if (answer.size() != 8) return text;
    return answer.substr(0, 4) + "/" + answer.substr(4, 2) + "/" + answer.substr(6, 2);
}

// ---------------------------------------------------------------------------------------------
// Module

void TfrmKpqx07::SetModulePath(const std::string& path) {
    ModulePath = path;
    if (!IsLibrary()) InitWithParams(StandAloneParams());
}

bool TfrmKpqx07::IsLibrary() const {
    const std::string ext = ExtractFileExt(ExtractFileName(ModulePath));
    return SameText(ext, ".so") || SameText(ext, ".dll");
}

std::string TfrmKpqx07::ModuleProgramCode() const {
    const std::string name = ExtractFileName(ModulePath);
    const auto ext = static_cast<int>(ExtractFileExt(name).size());
    int count = static_cast<int>(name.size()) - ext - (IsLibrary() ? 1 : 2);
    if (count < 6) count = 6;
    return Copy(name, 1, count);
}

// ---------------------------------------------------------------------------------------------
// Initialisation

bool TfrmKpqx07::InitWithParams(const Variant& params) {
    if (!CompanyId.empty()) return false;  // the form keeps its first parameters
    bool result = true;
    bool closeRequested = false;
    try {
        RecordError("");
        LastHostCommand = Null();
        ValuesByName = true;
        AutoRun = false;
        const int high = params.IsArray() ? params.HighBound(1) : -1;
        HostWindow = high >= 3 ? params[3].AsInt64() : 0;
        if (high >= 4) {
            HostParam4 = params[4];
        } else {
            ShowMessageCode("E;000038");
            closeRequested = true;
        }
        Hide();
        ReadHostParams(params);
        ConnectHostServices();
        ProgramCode = UpperCase(ModuleProgramCode());
        LoadProgramInfo();
        SetCaption((ProgramName.empty() ? ProgramCode : ProgramName) + "[" + CompanyId + "]");
        if (!BelongsToProgram()) {
            ShowMessageCode("E;000036");
            closeRequested = true;
        } else if (!ConnectAppServer()) {
            ShowMessageCode("E;000006");
            result = false;
            closeRequested = true;
        }
    } catch (const Exception& error) {
        RecordError(error.Message());
        result = false;
    }
    if (closeRequested) PostMessage(Handle(), WM_CLOSE, 0, 0);
    return result;
}

void TfrmKpqx07::ReadHostParams(const Variant& params) {
    // A short array leaves the missing elements (and those after them) empty, without error.
    std::string* const fields[] = {&UserId, &CompanyId, &DatabaseName};
    try {
        for (int i = 0; i < 3; ++i)
            *fields[i] = VarToStr(params[i]);
    } catch (const Exception&) {
    }
}

void TfrmKpqx07::ConnectHostServices() {
    if (!IsLibrary()) {
        try {
            HostObject = CreateOleObject(kHostClass);
        } catch (const Exception&) {
            HostObject = Unassigned();
        }
    }
    try {
        Validator = OleCall(HostObject, "Com_Validator");
    } catch (const Exception&) {
        Validator = Unassigned();
    }
    try {
        LookupWindow = OleCall(HostObject, "Com_F2Window");
    } catch (const Exception&) {
        LookupWindow = Unassigned();
    }
    OleGet(HostObject, "VersionType");  // a host that cannot answer fails the initialisation
    try {
        ProductId = OleGet(HostObject, "ProductID").AsInteger();
    } catch (const Exception&) {
        ProductId = 3;
    }
}

void TfrmKpqx07::LoadProgramInfo() {
    ProgramName.clear();
    if (VarIsClear(Validator)) return;
    try {
        Variant row;
        const bool found =
            OleCall(Validator, "CheckValue",
                    {"ADMMB", "01", DatabaseName, VarArrayOf({ProgramCode}), VarRef(row)})
                .AsBoolean();
        if (found && row.IsArray()) ProgramName = VarToStr(row[row.LowBound(1)]);
    } catch (const Exception&) {
        ProgramName = ProgramCode;
    }
}

bool TfrmKpqx07::BelongsToProgram() const {
    return SameText(Copy(Name(), 4, 3), Copy(ProgramCode, 1, 3));
}

bool TfrmKpqx07::ConnectAppServer() {
    try {
        AppServer = CreateOleObject(kServerClass);
        return true;
    } catch (const Exception& error) {
        RecordError(error.Message());
        AppServer = Unassigned();
        return false;
    }
}

KV_PUBLISHED(TfrmKpqx07) {
    b.Method("FormCreate", &T::FormCreate);
    b.Method("FormClose", &T::FormClose);
    b.Method("FormDestroy", &T::FormDestroy);
    b.Method("FormKeyDown", &T::FormKeyDown);
    b.Method("btnOkClick", &T::btnOkClick);
    b.Method("btnCancelClick", &T::btnCancelClick);
    b.Field("lblToday", &T::lblToday);
    b.Field("edPrintDate", &T::edPrintDate);
    b.Field("btnOk", &T::btnOk);
    b.Field("btnCancel", &T::btnCancel);
}

}  // namespace kv
