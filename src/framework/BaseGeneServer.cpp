// The framework's server calls of the generic condition form: the company's system settings,
// the program table, check queries, counters, and the connection to the application server.
#include <array>
#include <string>

#include "platform/core/ComObj.h"
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/net/SocketConnection.h"
#include "src/framework/BaseGene.h"
#include "src/runtime/CodeConverter.h"
#include "src/runtime/LibStrs.h"
#include "src/runtime/VelmarINI.h"

namespace kv {

namespace {

// The names of the four goods categories, shown when the company has not named them.
constexpr std::array<const char*, 4> kCategorySettings = {"SYS007", "SYS008", "SYS009", "SYS010"};
constexpr std::array<const char*, 4> kCategoryNamesChinese = {"商品分类方式一", "商品分类方式二",
                                                              "商品分类方式三", "商品分类方式四"};
constexpr std::array<const char*, 4> kCategoryNamesEnglish = {"Inv.Cate.1", "Inv.Cate.2",
                                                              "Inv.Cate.3", "Inv.Cate.4"};

// -1 when name is none of the category settings.
int CategoryIndex(const std::string& name) {
    const std::string upper = UpperCase(name);
    for (std::size_t i = 0; i < kCategorySettings.size(); ++i)
        if (upper == kCategorySettings[i]) return static_cast<int>(i);
    return -1;
}

bool IsTwoDimensional(const Variant& value) {
    return value.IsArray() && value.DimCount() == 2;
}

}  // namespace

std::string TfrmBaseGene::GetSysSetting(const std::string& name) {
    if (name.empty()) {
        if (VarIsClear(Counter) || SysSettings == nullptr) return "";
        Variant company = CompanyId;
        const Variant answer = OleCall(Counter, "GetSysInfo", {VarRef(company)});
        // Row 0 holds the names, row 1 the values, one column per setting.
        if (!IsTwoDimensional(answer) || answer.LowBound(1) > 0 || answer.HighBound(1) < 1)
            return "";
        for (int i = answer.LowBound(2); i <= answer.HighBound(2); ++i)
            SysSettings->SetValues(VarToStr(answer.Get(0, i)), VarToStr(answer.Get(1, i)));
        return "";
    }
    std::string value;
    if (SysSettings != nullptr) {
        try {
            value = SysSettings->Values(name);
        } catch (const std::exception&) {
            value.clear();
        }
    }
    if (value.empty()) {
        const int category = CategoryIndex(name);
        if (category < 0) return value;
        const auto index = static_cast<std::size_t>(category);
        return UICodePage() == "437" ? kCategoryNamesEnglish[index] : kCategoryNamesChinese[index];
    }
    if (FormConverted && KvConverter != nullptr) return VarToStr(KvConverter->DBToUI(value));
    return value;
}

std::string TfrmBaseGene::LoadProgramInfo() {
    std::string title;
    try {
        Variant row;
        if (QueryTable("ADMMB", "01", false, row, VarArrayOf({Variant(ProgramCode)}))) {
            title = VarToStr(row[0]);
            WantLog = VarToStr(row[4]) == "Y";
            if (row.HighBound(1) >= 7 && UICodePage() == "437") title = VarToStr(row[7]);
        }
    } catch (const std::exception&) {
        // A row that is not what the program table gives: the program is named by its code.
        title = ProgramCode;
        WantLog = false;
    }
    ProgramName = title;
    return title;
}

bool TfrmBaseGene::QueryTable(const std::string& table, const std::string& kind, bool fetch,
                              Variant& result, const Variant& params) {
    Variant values = KvConverter != nullptr ? KvConverter->UIToDB(params) : params;
    if (VarIsClear(Validator)) return false;
    try {
        OlePut(Validator, "ProductID", ProductId);
        OlePut(Validator, "BaseLimited", Variant::Wide(BaseLimits));
    } catch (const std::exception&) {
        // A check-query object without these properties still answers queries.
    }
    bool found = false;
    try {
        Variant tableArg = table;
        Variant kindArg = kind;
        Variant database = DatabaseName;
        found = OleCall(Validator, fetch ? "QueryData" : "CheckValue",
                        {VarRef(tableArg), VarRef(kindArg), VarRef(database), VarRef(values),
                         VarRef(result)})
                    .AsBoolean();
    } catch (const std::exception&) {
        return false;
    }
    if (FormConverted && KvConverter != nullptr) result = KvConverter->DBToUI(result);
    return found;
}

void TfrmBaseGene::GetCounter(const std::string& name, const Variant& params, Variant& result) {
    if (VarIsClear(Counter)) {
        result = Unassigned();
        return;
    }
    result = OleCall(Counter, "GetCounter",
                     {Variant(UpperCase(name)), params,
                      VarArrayOf({Variant(CompanyId), Variant(DatabaseName)})});
    if (FormConverted && KvConverter != nullptr) result = KvConverter->DBToUI(result);
}

bool TfrmBaseGene::ConfigureConnection() {
    try {
        if (MainMidas == nullptr) throw EInvalidOperation("The form has no server connection");
        MainMidas->SetConnected(false);
        const TVelmarIniC configuration;
        std::string message;
        if (!MessageCodes.empty()) {
            // An error was already reported during this initialisation.
            message = MessageCodes;
        } else if (IsTwoDimensional(configuration.ServerList) &&
                   configuration.ServerList.HighBound(2) >= configuration.ServerList.LowBound(2)) {
            const Variant& servers = configuration.ServerList;
            const int first = servers.LowBound(2);
            MainMidas->SetAddress(VarToStr(servers.Get(0, first)));
            MainMidas->SetObjectBroker(nullptr);
            MainMidas->SetPort(servers.Get(1, first).AsInteger());
        }
        if (!message.empty()) ShowMessageCode(message);
        return message.empty();
    } catch (const std::exception& error) {
        RecordError(error.what());
        return false;
    }
}

bool TfrmBaseGene::ConnectAppServer() {
    try {
        AppServer = Unassigned();
        if (MainMidas == nullptr) throw EInvalidOperation("The form has no server connection");
        if (MainMidas->Connected()) MainMidas->SetConnected(false);
        LocalServer = IsLocalAddress(MainMidas->Address());
        if (LocalServer) {
            // The embedded default: the server object lives in this process.
            const Variant server = CreateOleObject(MainMidas->ServerName());
            MainMidas->SetAppServer(server);
            AppServer = server;
        } else {
            MainMidas->SetConnected(true);
            if (MainMidas->Connected()) AppServer = MainMidas->AppServer();
        }
        return true;
    } catch (const std::exception& error) {
        RecordError(error.what());
        return false;
    }
}

}  // namespace kv
