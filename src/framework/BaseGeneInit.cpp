// TfrmBaseGene: the module path, the host parameters and the initialisation that connects the
// form to the host's services and the application server.
#include <algorithm>
#include <exception>
#include <string>

#include "platform/core/ComObj.h"
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/net/SocketConnection.h"
#include "platform/ui/Mask.h"
#include "src/framework/BaseGene.h"

namespace kv {

namespace {

// The class the stand-alone test creates in place of the host's object.
constexpr const char* kStandaloneHostClass = "PinnoxWorkCenter.Manager";

// The high bound of a one-dimensional parameter array; -1 for anything that is no array.
int ParamsHighBound(const Variant& params) {
    if (!params.IsArray() || params.DimCount() != 1) return -1;
    return params.HighBound(1);
}

// Element i of the parameters, or unassigned when the array lacks it.
Variant ParamAt(const Variant& params, int i) {
    if (!params.IsArray() || params.DimCount() != 1) return Variant();
    if (i < params.LowBound(1) || i > params.HighBound(1)) return Variant();
    return params[i];
}

}  // namespace

void TfrmBaseGene::SetModulePath(const std::string& path) {
    ModulePath = path;
    if (!IsLibrary()) InitWithParams(VarArrayOf({"796", "DAZudo60", "DAZudo60"}));
}

bool TfrmBaseGene::IsLibrary() const {
    const std::string ext = ExtractFileExt(ExtractFileName(ModulePath));
    return SameText(ext, ".so") || SameText(ext, ".dll");
}

std::string TfrmBaseGene::ModuleProgramCode() const {
    const std::string name = ExtractFileName(ModulePath);
    const int ext = static_cast<int>(ExtractFileExt(name).size());
    const int length = static_cast<int>(name.size()) - ext - (IsLibrary() ? 1 : 2);
    return name.substr(0, static_cast<std::size_t>(std::max(length, 6)));
}

bool TfrmBaseGene::InitWithParams(const Variant& params) {
    if (!CompanyId.empty() || initialising_) return false;  // the form keeps its first parameters
    // The close requests of the steps are posted once they are all over (PostCloseRequest).
    struct TCloseAtEnd {
        TfrmBaseGene& form;
        explicit TCloseAtEnd(TfrmBaseGene& f) : form(f) { form.initialising_ = true; }
        ~TCloseAtEnd() {
            form.initialising_ = false;
            if (!form.closeRequested_) return;
            form.closeRequested_ = false;
            form.PostCloseRequest();
        }
        TCloseAtEnd(const TCloseAtEnd&) = delete;
        TCloseAtEnd& operator=(const TCloseAtEnd&) = delete;
    } closeAtEnd(*this);
    try {
        return InitSteps(params);
    } catch (const Exception& error) {
        RecordError(error.Message());
        return false;
    }
}

bool TfrmBaseGene::InitSteps(const Variant& params) {
    CreateLists();
    LookupWindow = Variant();
    Validator = Variant();
    Counter = Variant();
    BaseElementCount = 1;
    RecordError("");
    if (edPrintDate != nullptr) edPrintDate->SetText("");
    LastHostCommand = Variant::Null();
    ValuesByName = true;
    AutoRun = false;

    const int high = ParamsHighBound(params);
    HostWindow = high >= 3 ? ParamAt(params, 3).AsInt64() : 0;
    if (high >= 4) {
        HostParam4 = ParamAt(params, 4);
    } else {
        ShowMessageCode("E;000038");
        PostCloseRequest();
    }
    Hide();
    StoreHostIdentity(params);
    PrepareFromHost();

    if (!BelongsToProgram()) {
        ShowMessageCode("E;000036");
        PostCloseRequest();
        return true;  // the form closes itself; the host still sees a created form
    }

    MainMidas->Close();
    bool connected = false;
    if (ConfigureConnection()) {
        SetServerName(*MainMidas);
        if (!MainMidas->ServerName().empty()) connected = ConnectAppServer();
    }
    // A connection that answered without a server object is no connection either.
    if (!connected || AppServer.IsEmpty() || AppServer.IsNull()) {
        ShowMessageCode("E;000006");
        PostCloseRequest();
        return false;
    }
    return true;
}

// Elements 0..2 arrive in one guarded step: a short array leaves the rest empty, silently.
void TfrmBaseGene::StoreHostIdentity(const Variant& params) {
    std::string* targets[] = {&UserId, &CompanyId, &DatabaseName};
    const int high = ParamsHighBound(params);
    for (int i = 0; i < 3 && i <= high; ++i) {
        try {
            *targets[i] = ParamAt(params, i).AsString();
        } catch (const Exception&) {
            return;
        }
    }
}

bool TfrmBaseGene::BelongsToProgram() const {
    const std::string& name = Name();
    const std::string formPart = name.size() > 3 ? name.substr(3, 3) : std::string();
    return SameText(formPart, ProgramCode.substr(0, 3));
}

void TfrmBaseGene::PrepareFromHost() {
    SaveColours(this);
    ConnectHostServices();
    OleCall(HostObject, "VersionType");  // unguarded: a host that cannot answer fails the start
    try {
        ProductId = OleGet(HostObject, "ProductID").AsInteger();
    } catch (const std::exception&) {
        ProductId = 3;
    }
    SetDefaults();
    ConnectLookupWindow();
}

void TfrmBaseGene::ConnectHostServices() {
    if (!IsLibrary()) {
        try {
            HostObject = CreateOleObject(kStandaloneHostClass);
        } catch (const std::exception&) {
            HostObject = Variant();
        }
    }
    try {
        Counter = OleCall(HostObject, "Com_Counter");
        GetSysSetting("");
        CompanyCaption = GetSysSetting("KVT002");
    } catch (const std::exception&) {
        Counter = Variant();
    }
    try {
        Validator = OleCall(HostObject, "Com_Validator");
    } catch (const std::exception&) {
        Validator = Variant();
    }
}

void TfrmBaseGene::ConnectLookupWindow() {
    if ((LookupOptions & 4) == 0) return;
    try {
        LookupWindow = OleCall(HostObject, "Com_F2Window");
    } catch (const std::exception&) {
        LookupWindow = Variant();
    }
}

void TfrmBaseGene::SetDefaults() {
    JobKind = "R";
    EnvCount = 9;
    LookupOptions = 0;
    SetDateFields("edPrintDate");
    SetProgramCode(ModuleProgramCode());
    SetConditionCount(0);
}

void TfrmBaseGene::SetProgramCode(const std::string& code) {
    ProgramCode = UpperCase(code);
    ProgramServerClass = ProgramCode + "S.Class1";
    Title = LoadProgramInfo();
}

void TfrmBaseGene::SetConditionCount(int n) {
    // Once a level has counted the framework's trailing elements in, they are not added again.
    const int base = BaseElementCount < ConditionCount ? 0 : BaseElementCount;
    ConditionCount = n + base;
}

}  // namespace kv
