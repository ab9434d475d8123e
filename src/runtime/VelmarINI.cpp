#include "src/runtime/VelmarINI.h"

#include <exception>

#include "platform/core/IniFiles.h"
#include "platform/core/Registry.h"
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"
#include "platform/core/SystemInfo.h"
#include "src/runtime/BRAVNGeneratorU.h"
#include "src/runtime/LogRoot.h"

namespace kv {

namespace {

constexpr const char* kCodePage = "CodePage";
constexpr const char* kServerInfo = "Server Information";
constexpr const char* kDBE = "DBE Setting";
constexpr const char* kPasswordCtrl = "DBPasswordCtrl";
constexpr const char* kTaskCenter = "TaskMessageCenter Setting";
constexpr const char* kWorkDLLPath = "WorkDLLPath";

// What the two readers differ in while locating their file.
struct Installation {
    const char* pathValue;  // registry value of the installation folder
    const char* fileName;
    const char* packageFolder;  // work-library folder when the file names none
};
constexpr Installation kClient{"ClientPath", "VelmarC.ini", "C_PKG/"};
constexpr Installation kServer{"ServerPath", "VelmarS.ini", "S_PKG/"};

bool IsTrueText(const std::string& value) {
    const std::string upper = UpperCase(value);
    return upper == "1" || upper == "Y" || upper == "YES" || upper == "TRUE";
}

void DeriveConvertModes(TVelmarIniCommon& c) {
    c.UIConvertMode = 0;
    if (c.UICodePage == "950")
        c.UIConvertMode = 2;
    else if (c.UICodePage == "936" && c.SysCodePage == "950")
        c.UIConvertMode = 4;
    c.DBConvertMode = 0;
    if (c.UICodePage == "950" && c.DBCodePage == "936")
        c.DBConvertMode = 2;
    else if (c.UICodePage == "936" && c.DBCodePage == "950")
        c.DBConvertMode = 1;
}

// The initial state: system code page and the modes it gives.
void Initialise(TVelmarIniCommon& c) {
    c = TVelmarIniCommon{};
    const std::string acp = IntToStr(GetACP());
    c.SysCodePage = (acp == "936" || acp == "950") ? acp : "437";
    c.UICodePage = c.SysCodePage;
    DeriveConvertModes(c);
}

// Finds the installation and the file to read. False when there is nothing to read; a missing
// registry key (or one that cannot be read) also sets errorCode.
bool Locate(TVelmarIniCommon& c, const Installation& kind, std::string& errorCode) {
    try {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenKeyReadOnly(kVelmarKey)) {
            errorCode = kErrNoInstallationKey;
            return false;
        }
        c.RootPath = registry.ReadString(kind.pathValue);
        c.ProfileType = registry.ReadString("ProfileType");
    } catch (const std::exception&) {
        errorCode = kErrNoInstallationKey;
        return false;
    }
    if (c.RootPath.empty()) return false;
    if (c.RootPath.back() != '/') c.RootPath += '/';
    c.ProfilePath = c.RootPath;
    if (!c.ProfileType.empty() && c.ProfileType != "0") {
        c.ProfileName = GetUserName().substr(0, 32);
        c.ProfilePath = c.RootPath + "Profile/" + c.ProfileName + "/";
    }
    c.IniFileName = c.ProfilePath + kind.fileName;
    if (!FileExists(c.IniFileName)) {
        c.ProfilePath = c.RootPath;
        c.IniFileName = c.RootPath + kind.fileName;
    }
    return true;
}

void ReadCodePages(TVelmarIniCommon& c, const TCustomIniFile& ini) {
    c.UICodePage = ini.ReadString(kCodePage, "UICodePage", c.SysCodePage);
    c.DBCodePage = ini.ReadString(kCodePage, "DBCodePage", "936");
}

// The folders of the "WorkDLLPath" section (name=folder entries, in file order), resolved
// against the root; the package folder under the root when the section has none.
std::vector<std::string> WorkFolders(const TCustomIniFile& ini, const std::string& root,
                                     const char* packageFolder) {
    std::vector<std::string> folders;
    for (const auto& entry : ini.ReadSectionValues(kWorkDLLPath)) {
        const std::size_t eq = entry.find('=');
        const std::string folder = eq == std::string::npos ? entry : entry.substr(eq + 1);
        // Resolving first keeps an empty folder meaning the root itself.
        std::string resolved = ResolvePath(folder, root);
        if (resolved.empty() || resolved.back() != '/') resolved += '/';
        folders.push_back(std::move(resolved));
    }
    if (folders.empty()) folders.push_back(root + packageFolder);
    return folders;
}

bool HasDrive(const std::string& path) {
    if (!path.empty() && path[0] == '/') return true;
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    const bool letter =
        !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path.size() >= 2 && path[1] == ':';
}

}  // namespace

std::string ResolvePath(const std::string& path, const std::string& root) {
    if (HasDrive(path)) return path;
    if (!path.empty() && path[0] == '\\') return root + path.substr(1);
    return root + path;
}

namespace {

std::vector<std::string> SplitHosts(const std::string& hosts) {
    std::vector<std::string> names;
    std::size_t from = 0;
    for (;;) {
        const std::size_t semicolon = hosts.find(';', from);
        names.push_back(hosts.substr(from, semicolon - from));
        if (semicolon == std::string::npos) return names;
        from = semicolon + 1;
    }
}

// Fills the server list; false when the file names no host.
bool ReadServerList(TVelmarIniC& c, const TCustomIniFile& ini) {
    std::string hosts = Trim(ini.ReadString(kServerInfo, "ComputerName", "127.0.0.1"));
    if (!hosts.empty() && hosts.back() == ';') hosts.pop_back();
    if (hosts.empty()) return false;
    const std::vector<std::string> names = SplitHosts(hosts);
    const int port = ini.ReadInteger(kServerInfo, "ServerPort", 211);
    const int last = static_cast<int>(names.size()) - 1;
    Variant list = VarArrayCreate({0, 1, 0, last});
    for (int i = 0; i <= last; ++i) {
        list.Put(0, i, names[static_cast<std::size_t>(i)]);
        list.Put(1, i, port);
    }
    c.ServerList = std::move(list);
    return true;
}

void ReadClientKeys(TVelmarIniC& c, const TCustomIniFile& ini) {
    c.LangType = ini.ReadString("Client Components", "LangType", "ENG");
    c.Version = ini.ReadString("ProductVersion", "Version", "");
    c.CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
    ReadCodePages(c, ini);
    c.SupportCallBack = IsTrueText(ini.ReadString(kServerInfo, "SupportCallBack", "0"));
    c.AutoCheckNewMsg = ini.ReadString(kTaskCenter, "AutoCheckNewMsg", "1");
    c.CheckInterval = ini.ReadString(kTaskCenter, "CheckInterval", "1");
    c.PopupMsg = ini.ReadString(kTaskCenter, "PopupMsg", "1");
    c.LoginCheck = ini.ReadString(kTaskCenter, "LoginCheck", "0");
}

}  // namespace

TVelmarIniC::TVelmarIniC() {
    Initialise(*this);
    if (!Locate(*this, kClient, ErrorCode)) return;
    try {
        const TIniFile ini(IniFileName);
        ReadClientKeys(*this, ini);
        DeriveConvertModes(*this);
        // A missing host is reported, yet the work-library folders are still resolved: a
        // list of raw "name=folder" entries would be no list of folders.
        if (!ReadServerList(*this, ini)) ErrorCode = kErrNoServerHost;
        WorkDLLPaths = WorkFolders(ini, RootPath, kClient.packageFolder);
    } catch (const std::exception&) {
        // A file the reader cannot hold (more hosts than an array takes): keep what was read.
    }
}

namespace {

struct Cell {
    int row, column;
    const char* section;
    const char* key;
    const char* defaultText;  // null: an integer key with defaultNumber
    int defaultNumber;
};

// The plain cells of the database settings; passwords and the trimmed host are read apart.
constexpr Cell kDBCells[] = {
    {0, 0, kDBE, "MainAlias", "Pinnox", 0},
    {0, 1, kDBE, "MainUserName", "sa", 0},
    {0, 3, kDBE, "MainDBType", "MSSQL", 0},
    {0, 4, kDBE, "MainDBName", "", 0},
    {0, 5, kDBE, "MainServerName", "", 0},
    {0, 6, kDBE, "MainConnectionTimeOut", nullptr, 300},
    {0, 7, kDBE, "MainCommandTimeOut", nullptr, 3000},
    {1, 0, kDBE, "TempAlias", "PinnoxTemp", 0},
    {1, 1, kDBE, "TempUserName", "sa", 0},
    {1, 3, kDBE, "TempDBType", "PARADOX", 0},
    {1, 4, kDBE, "TempDBName", "", 0},
    {1, 5, kDBE, "TempDriverName", "PostgreSQL", 0},
    {1, 6, kDBE, "TempConnectionTimeOut", nullptr, 300},
    {1, 7, kDBE, "TempCommandTimeOut", nullptr, 3000},
    {2, 1, kPasswordCtrl, "ServerPort", nullptr, 211},
    {2, 2, kPasswordCtrl, "ClientSocketPort", nullptr, 1024},
    {2, 3, kDBE, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN", 0},
    {3, 0, kDBE, "EctAlias", "EDIDATA", 0},
    {3, 1, kDBE, "EctUserName", "sa", 0},
    {3, 2, kDBE, "EctPassword", "", 0},  // the EDI password is stored as it is
};

Variant ReadDBSettings(const TCustomIniFile& ini) {
    Variant settings = VarArrayCreate({0, 3, 0, 7});
    for (const Cell& cell : kDBCells) {
        if (cell.defaultText != nullptr)
            settings.Put(cell.row, cell.column,
                         ini.ReadString(cell.section, cell.key, cell.defaultText));
        else
            settings.Put(cell.row, cell.column,
                         ini.ReadInteger(cell.section, cell.key, cell.defaultNumber));
    }
    // The main and temporary passwords are kept scrambled in the file.
    settings.Put(0, 2, UnscramblePassword(ini.ReadString(kDBE, "XXXXXX", "")));
    settings.Put(1, 2, UnscramblePassword(ini.ReadString(kDBE, "TempPassword", "")));
    settings.Put(2, 0, Trim(ini.ReadString(kPasswordCtrl, "ComputerName", "")));
    return settings;
}

std::string AddressOr(const TCustomIniFile& ini, const char* key, const std::string& fallback) {
    const std::string address = ini.ReadString(kDBE, key, "");
    return Trim(address).empty() ? fallback : address;
}

std::uint8_t DBKindOf(const std::string& type) {
    const std::string upper = UpperCase(type);
    if (upper == "ORACLE") return 1;
    if (upper == "DB2") return 2;
    return 0;
}

}  // namespace

TVelmarIniS::TVelmarIniS() {
    Initialise(*this);
    if (!Locate(*this, kServer, ErrorCode)) return;
    try {
        const TIniFile ini(IniFileName);
        Version = ini.ReadString("ProductVersion", "Version", "");
        ReadCodePages(*this, ini);
        DBSettings = ReadDBSettings(ini);
        const std::string mainServer = DBSettings.Get(0, 5).AsString();
        SystemControlAddress = AddressOr(ini, "SystemControlAddress", mainServer);
        OtherSystemControlAddress = AddressOr(ini, "OtherSystemControlAddress", mainServer);
        SupportCallBack = IsTrueText(ini.ReadString(kPasswordCtrl, "SupportCallBack", "0"));
        DBKind = DBKindOf(DBSettings.Get(0, 3).AsString());
        DeriveConvertModes(*this);
        WorkDLLPaths = WorkFolders(ini, RootPath, kServer.packageFolder);
    } catch (const std::exception&) {
        // Keep what was read; the reader never raises.
    }
}

void TVelmarIniS::GetWorkDLLPaths(std::vector<std::string>& list) const {
    list = WorkDLLPaths;
}

void TVelmarIniS::GetWorkDLLPaths(TStrings& list) const {
    list.Clear();
    for (const auto& folder : WorkDLLPaths)
        list.Add(folder);
}

}  // namespace kv
