// The readers of the installation's configuration files: TVelmarIniC for the client file
// "VelmarC.ini", TVelmarIniS for the server file "VelmarS.ini".
//
// Each reads everything in its constructor and is then a plain holder of values: create one,
// copy out what is needed, drop it. The installation folder comes from the registry key
// HKEY_LOCAL_MACHINE\Software\KVT\Velmar ("ClientPath" or "ServerPath", and "ProfileType");
// with per-user profiles the file is looked for in <root>/Profile/<user>/ first. Code pages are
// decimal texts ("936", "950", "437"). Nothing here raises for a missing or bad file: every key
// then takes its default; a missing key or installation path leaves the initial values and
// sets ErrorCode where stated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace kv {

class TStrings;

// Message codes left in ErrorCode.
inline constexpr const char* kErrNoInstallationKey = "E;000015";  // registry key missing
inline constexpr const char* kErrNoServerHost = "E;000016";       // client file names no host

// A work-library folder against the installation root: an absolute path (or one with a drive
// letter or a network share, as files written elsewhere may carry) is returned unchanged; a
// path beginning with "\" becomes root + the path without that character; any other path
// becomes root + path. root is expected to end in "/".
std::string ResolvePath(const std::string& path, const std::string& root);

// The fields both readers fill the same way, in their order.
struct TVelmarIniCommon {
    std::string RootPath;                 // installation folder, ending in "/" once read
    std::string ProfilePath;              // folder of the file actually read
    std::string ProfileType = "0";        // empty or "0": one shared profile
    std::string ProfileName = "Default";  // or the user's login name with per-user profiles
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    std::string SysCodePage;         // the system's ANSI code page: "936", "950" or "437"
    std::uint8_t UIConvertMode = 0;  // 0, 2 (UI is 950) or 4 (UI 936 on a 950 system)
    std::uint8_t DBConvertMode = 0;  // 0, 2 (UI 950, DB 936) or 1 (UI 936, DB 950)
    bool SupportCallBack = false;
    std::string IniFileName;  // full path of the file read
};

class TVelmarIniC : public TVelmarIniCommon {
public:
    TVelmarIniC();

    // Row 0 host names, row 1 ports; one column 0..n-1 per server host. Unassigned until read.
    Variant ServerList;
    std::string ErrorCode;  // "", kErrNoInstallationKey or kErrNoServerHost
    std::string LangType;
    std::vector<std::string> WorkDLLPaths;  // resolved folders ending in "/"
    std::string Version;
    std::string CreateGifBeforeSendEF;
    std::string AutoCheckNewMsg;
    std::string CheckInterval;
    std::string PopupMsg;
    std::string LoginCheck;
};

class TVelmarIniS : public TVelmarIniCommon {
public:
    TVelmarIniS();

    // Rows 0 main database, 1 temporary database, 2 password-control server and collation,
    // 3 EDI database; columns 0..7. Unlisted cells stay unassigned.
    Variant DBSettings;
    std::string ErrorCode;  // "" or kErrNoInstallationKey
    std::vector<std::string> WorkDLLPaths;
    std::string Version;
    std::uint8_t DBKind = 0;  // 1 main database ORACLE, 2 DB2, 0 other
    std::string SystemControlAddress;
    std::string OtherSystemControlAddress;

    // Replaces the content of list with a copy of WorkDLLPaths.
    void GetWorkDLLPaths(std::vector<std::string>& list) const;
    void GetWorkDLLPaths(TStrings& list) const;
};

}  // namespace kv
