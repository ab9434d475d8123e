#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/Strings.h"
#include "src/runtime/BRAVNGeneratorU.h"
#include "src/runtime/VelmarINI.h"
#include "tests/runtime/RuntimeTestSupport.h"

namespace kv {
namespace {

using test::ScopedEnv;
using test::ScratchDir;
using test::WriteWholeFile;
using Strings = std::vector<std::string>;

// An installation in a scratch folder, its registry file, and the readers' environment.
class VelmarIniTest : public ::testing::Test {
protected:
    ScratchDir dir_;
    std::string root_ = dir_ / "App/";
    ScopedEnv registryFile_{"KV_REGISTRY_FILE", dir_ / "registry.ini"};
    ScopedEnv user_{"USER", "alice"};

    void SetUp() override { std::filesystem::create_directories(root_); }

    // The key with the given values ("" leaves a value out).
    void Registry(const std::string& clientPath, const std::string& serverPath,
                  const std::string& profileType = "") {
        std::string text = "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\n";
        if (!clientPath.empty()) text += "ClientPath=" + clientPath + "\n";
        if (!serverPath.empty()) text += "ServerPath=" + serverPath + "\n";
        if (!profileType.empty()) text += "ProfileType=" + profileType + "\n";
        WriteWholeFile(dir_ / "registry.ini", text);
    }
    void Installed(const std::string& profileType = "") { Registry(root_, root_, profileType); }
    void File(const std::string& name, const std::string& text) {
        WriteWholeFile(root_ + name, text);
    }
};

// ---------------------------------------------------------------------------------------------
// Registry and location

TEST_F(VelmarIniTest, MissingKeyLeavesTheInitialState) {
    WriteWholeFile(dir_ / "registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Other]\nX=1\n");
    const TVelmarIniC client;
    EXPECT_EQ(client.ErrorCode, kErrNoInstallationKey);
    EXPECT_EQ(client.RootPath, "");
    EXPECT_EQ(client.IniFileName, "");
    EXPECT_EQ(client.ProfileType, "0");
    EXPECT_EQ(client.ProfileName, "Default");
    EXPECT_TRUE(client.WorkDLLPaths.empty());
    EXPECT_TRUE(client.ServerList.IsEmpty());
    const TVelmarIniS server;
    EXPECT_EQ(server.ErrorCode, kErrNoInstallationKey);
    EXPECT_TRUE(server.WorkDLLPaths.empty());
    EXPECT_TRUE(server.DBSettings.IsEmpty());
}

TEST_F(VelmarIniTest, EmptyInstallationPathReadsNoFile) {
    Registry("", root_);  // a server installation only
    File("VelmarC.ini", "[Client Components]\nLangType=CHS\n");
    const TVelmarIniC client;
    EXPECT_EQ(client.ErrorCode, "");
    EXPECT_EQ(client.IniFileName, "");
    EXPECT_EQ(client.LangType, "");
    EXPECT_TRUE(client.WorkDLLPaths.empty());
    const TVelmarIniS server;  // reads ServerPath
    EXPECT_EQ(server.RootPath, root_);
    EXPECT_EQ(server.IniFileName, root_ + "VelmarS.ini");
}

TEST_F(VelmarIniTest, RootGetsItsTrailingSeparator) {
    Registry(dir_ / "App", "");
    const TVelmarIniC client;
    EXPECT_EQ(client.RootPath, root_);
    EXPECT_EQ(client.ProfilePath, root_);
    EXPECT_EQ(client.IniFileName, root_ + "VelmarC.ini");
}

TEST_F(VelmarIniTest, PerUserProfileFallsBackToTheInstallationFile) {
    Installed("1");
    File("VelmarC.ini", "[Client Components]\nLangType=ROOT\n");
    {
        const TVelmarIniC client;
        EXPECT_EQ(client.ProfileType, "1");
        EXPECT_EQ(client.ProfileName, "alice");
        EXPECT_EQ(client.ProfilePath, root_);
        EXPECT_EQ(client.LangType, "ROOT");
    }
    std::filesystem::create_directories(root_ + "Profile/alice");
    File("Profile/alice/VelmarC.ini", "[Client Components]\nLangType=ALICE\n");
    const TVelmarIniC client;
    EXPECT_EQ(client.ProfilePath, root_ + "Profile/alice/");
    EXPECT_EQ(client.IniFileName, root_ + "Profile/alice/VelmarC.ini");
    EXPECT_EQ(client.LangType, "ALICE");
}

TEST_F(VelmarIniTest, SharedProfileIgnoresTheUsersFolder) {
    Installed("0");
    std::filesystem::create_directories(root_ + "Profile/alice");
    File("Profile/alice/VelmarC.ini", "[Client Components]\nLangType=ALICE\n");
    const TVelmarIniC client;
    EXPECT_EQ(client.ProfileName, "Default");
    EXPECT_EQ(client.ProfilePath, root_);
    EXPECT_EQ(client.LangType, "ENG");
}

// ---------------------------------------------------------------------------------------------
// Client keys

TEST_F(VelmarIniTest, MissingClientFileGivesEveryDefault) {
    Installed();
    const TVelmarIniC client;
    EXPECT_EQ(client.ErrorCode, "");
    EXPECT_EQ(client.LangType, "ENG");
    EXPECT_EQ(client.Version, "");
    EXPECT_EQ(client.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(client.DBCodePage, "936");
    EXPECT_EQ(client.UICodePage, client.SysCodePage);
    EXPECT_FALSE(client.SupportCallBack);
    EXPECT_EQ(client.AutoCheckNewMsg, "1");
    EXPECT_EQ(client.CheckInterval, "1");
    EXPECT_EQ(client.PopupMsg, "1");
    EXPECT_EQ(client.LoginCheck, "0");
    ASSERT_EQ(client.ServerList.DimCount(), 2);
    EXPECT_EQ(client.ServerList.HighBound(1), 1);
    EXPECT_EQ(client.ServerList.HighBound(2), 0);
    EXPECT_EQ(client.ServerList.Get(0, 0).AsString(), "127.0.0.1");
    EXPECT_EQ(client.ServerList.Get(1, 0).AsInteger(), 211);
    EXPECT_EQ(client.WorkDLLPaths, Strings{root_ + "C_PKG/"});
}

TEST_F(VelmarIniTest, CodePagesAndConversionModes) {
    struct Case {
        const char* acp;
        const char* uiKey;  // null: key absent
        const char* dbKey;
        const char* sys;
        const char* ui;
        int uiMode;
        int dbMode;
    };
    const Case cases[] = {
        {"1252", nullptr, nullptr, "437", "437", 0, 0},
        {"65001", nullptr, nullptr, "437", "437", 0, 0},
        {"936", nullptr, nullptr, "936", "936", 0, 0},
        {"950", nullptr, nullptr, "950", "950", 2, 2},
        {"950", "936", nullptr, "950", "936", 4, 0},
        {"950", "936", "950", "950", "936", 4, 1},
        {"1252", "950", nullptr, "437", "950", 2, 2},
        {"936", "950", "950", "936", "950", 2, 0},
        {"936", "936", "950", "936", "936", 0, 1},
    };
    Installed();
    for (const auto& c : cases) {
        ScopedEnv acp{"KV_ACP", c.acp};
        std::string text = "[CodePage]\n";
        if (c.uiKey != nullptr) text += std::string("UICodePage=") + c.uiKey + "\n";
        if (c.dbKey != nullptr) text += std::string("DBCodePage=") + c.dbKey + "\n";
        File("VelmarC.ini", text);
        File("VelmarS.ini", text);
        const TVelmarIniC client;
        const TVelmarIniS server;
        const TVelmarIniCommon* readers[] = {&client, &server};
        for (const TVelmarIniCommon* reader : readers) {
            EXPECT_EQ(reader->SysCodePage, c.sys) << c.acp;
            EXPECT_EQ(reader->UICodePage, c.ui) << c.acp;
            EXPECT_EQ(reader->UIConvertMode, c.uiMode) << c.acp << " " << reader->UICodePage;
            EXPECT_EQ(reader->DBConvertMode, c.dbMode) << c.acp << " " << reader->DBCodePage;
        }
    }
}

TEST_F(VelmarIniTest, MissingKeyStillDerivesTheSystemsModes) {
    ScopedEnv acp{"KV_ACP", "950"};
    const TVelmarIniC client;
    EXPECT_EQ(client.ErrorCode, kErrNoInstallationKey);
    EXPECT_EQ(client.UICodePage, "950");
    EXPECT_EQ(client.DBCodePage, "936");
    EXPECT_EQ(client.UIConvertMode, 2);
    EXPECT_EQ(client.DBConvertMode, 2);
}

TEST_F(VelmarIniTest, ServerHostLists) {
    struct Case {
        const char* hosts;
        Strings expected;  // empty: no host named
    };
    const Case cases[] = {
        {"srv1;srv2;", {"srv1", "srv2"}},
        {"  srv1;;srv3  ", {"srv1", "", "srv3"}},
        {";;", {"", ""}},
        {"10.0.0.5", {"10.0.0.5"}},
        {";", {}},
        {"   ", {}},
    };
    Installed();
    for (const auto& c : cases) {
        File("VelmarC.ini", std::string("[Server Information]\nComputerName=") + c.hosts +
                                "\nServerPort=8000\n[WorkDLLPath]\nA=Work\n");
        const TVelmarIniC client;
        if (c.expected.empty()) {
            EXPECT_EQ(client.ErrorCode, kErrNoServerHost) << c.hosts;
            EXPECT_TRUE(client.ServerList.IsEmpty()) << c.hosts;
            // The folders are still resolved, not left as raw entries.
            EXPECT_EQ(client.WorkDLLPaths, Strings{root_ + "Work/"}) << c.hosts;
            continue;
        }
        EXPECT_EQ(client.ErrorCode, "") << c.hosts;
        const int n = static_cast<int>(c.expected.size());
        ASSERT_EQ(client.ServerList.HighBound(2), n - 1) << c.hosts;
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(client.ServerList.Get(0, i).AsString(), c.expected[std::size_t(i)]);
            EXPECT_EQ(client.ServerList.Get(1, i).AsInteger(), 8000);
        }
    }
}

TEST_F(VelmarIniTest, SupportCallBackTexts) {
    const std::pair<const char*, bool> cases[] = {{"1", true},    {"y", true},  {"Yes", true},
                                                  {"TRUE", true}, {"0", false}, {"no", false},
                                                  {"2", false},   {" 1", true}};
    Installed();
    for (const auto& [text, expected] : cases) {
        File("VelmarC.ini", std::string("[Server Information]\nSupportCallBack=") + text + "\n");
        File("VelmarS.ini", std::string("[DBPasswordCtrl]\nSupportCallBack=") + text + "\n");
        EXPECT_EQ(TVelmarIniC().SupportCallBack, expected) << text;
        EXPECT_EQ(TVelmarIniS().SupportCallBack, expected) << text;
    }
}

TEST_F(VelmarIniTest, WorkLibraryFolders) {
    Installed();
    File("VelmarC.ini", "[WorkDLLPath]\nA=Work\nB=\\Lib\nC=/opt/x\nD=D:\\X\nE=Sub/\nF=\nG=a=b\n");
    const TVelmarIniC client;
    EXPECT_EQ(client.WorkDLLPaths, (Strings{root_ + "Work/", root_ + "Lib/", "/opt/x/", "D:\\X/",
                                            root_ + "Sub/", root_, root_ + "a=b/"}));
    File("VelmarS.ini", "[WorkDLLPath]\n");
    const TVelmarIniS server;
    Strings copy{"stale"};
    server.GetWorkDLLPaths(copy);
    EXPECT_EQ(copy, Strings{root_ + "S_PKG/"});
    TStringList list;
    list.Add("stale");
    server.GetWorkDLLPaths(list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], root_ + "S_PKG/");
}

TEST(ResolvePathTest, Rules) {
    const std::string root = "/srv/App/";
    const std::pair<const char*, std::string> cases[] = {
        {"Work", root + "Work"},
        {"\\Lib", root + "Lib"},
        {"/abs/X", "/abs/X"},
        {"D:\\X", "D:\\X"},
        {"d:", "d:"},
        {"\\\\share\\p", "\\\\share\\p"},
        {"", root},
        {"1:x", root + "1:x"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(ResolvePath(path, root), expected) << path;
}

// ---------------------------------------------------------------------------------------------
// Server keys

TEST_F(VelmarIniTest, MissingServerFileGivesEveryDefault) {
    Installed();
    const TVelmarIniS server;
    EXPECT_EQ(server.ErrorCode, "");
    const Variant& s = server.DBSettings;
    ASSERT_EQ(s.DimCount(), 2);
    EXPECT_EQ(s.HighBound(1), 3);
    EXPECT_EQ(s.HighBound(2), 7);
    const std::vector<std::pair<std::pair<int, int>, Variant>> cells = {
        {{0, 0}, "Pinnox"},     {{0, 1}, "sa"},
        {{0, 2}, ""},           {{0, 3}, "MSSQL"},
        {{0, 4}, ""},           {{0, 5}, ""},
        {{0, 6}, 300},          {{0, 7}, 3000},
        {{1, 0}, "PinnoxTemp"}, {{1, 1}, "sa"},
        {{1, 2}, ""},           {{1, 3}, "PARADOX"},
        {{1, 4}, ""},           {{1, 5}, "PostgreSQL"},
        {{1, 6}, 300},          {{1, 7}, 3000},
        {{2, 0}, ""},           {{2, 1}, 211},
        {{2, 2}, 1024},         {{2, 3}, "Chinese_Taiwan_Stroke_BIN"},
        {{3, 0}, "EDIDATA"},    {{3, 1}, "sa"},
        {{3, 2}, ""},
    };
    for (const auto& [at, value] : cells)
        EXPECT_EQ(s.Get(at.first, at.second), value) << at.first << "," << at.second;
    for (int column = 4; column <= 7; ++column)
        EXPECT_TRUE(s.Get(2, column).IsEmpty());
    for (int column = 3; column <= 7; ++column)
        EXPECT_TRUE(s.Get(3, column).IsEmpty());
    EXPECT_EQ(server.DBKind, 0);
    EXPECT_EQ(server.SystemControlAddress, "");
    EXPECT_EQ(server.WorkDLLPaths, Strings{root_ + "S_PKG/"});
}

TEST_F(VelmarIniTest, ServerFileValues) {
    Installed();
    File("VelmarS.ini",
         "[ProductVersion]\nVersion=7.1\n[DBE Setting]\nMainDBType=oracle\n"
         "MainServerName=dbhost\nXXXXXX=" +
             ScramblePassword("s3cret") + "\nTempPassword=" + ScramblePassword("") +
             "\nEctPassword=A0\nMainConnectionTimeOut=abc\n"
             "MainCommandTimeOut=60\nSystemControlAddress=  \n"
             "OtherSystemControlAddress=ctl2\n"
             "[DBPasswordCtrl]\nComputerName=  pwhost  \n");
    const TVelmarIniS server;
    EXPECT_EQ(server.Version, "7.1");
    EXPECT_EQ(server.DBKind, 1);
    EXPECT_EQ(server.DBSettings.Get(0, 2).AsString(), "s3cret");
    EXPECT_EQ(server.DBSettings.Get(1, 2).AsString(), "");
    EXPECT_EQ(server.DBSettings.Get(3, 2).AsString(), "A0");  // stored as it is
    EXPECT_EQ(server.DBSettings.Get(0, 6).AsInteger(), 300);  // no number: the default
    EXPECT_EQ(server.DBSettings.Get(0, 7).AsInteger(), 60);
    EXPECT_EQ(server.DBSettings.Get(2, 0).AsString(), "pwhost");
    EXPECT_EQ(server.SystemControlAddress, "dbhost");  // blank: the main server
    EXPECT_EQ(server.OtherSystemControlAddress, "ctl2");
}

TEST_F(VelmarIniTest, DatabaseKinds) {
    const std::pair<const char*, int> cases[] = {{"ORACLE", 1}, {"Oracle", 1}, {"db2", 2},
                                                 {"DB2 ", 0},   {"MSSQL", 0},  {"", 0}};
    Installed();
    for (const auto& [type, kind] : cases) {
        File("VelmarS.ini", std::string("[DBE Setting]\nMainDBType=\"") + type + "\"\n");
        EXPECT_EQ(TVelmarIniS().DBKind, kind) << type;
    }
}

TEST_F(VelmarIniTest, BadPasswordGivesTheErrorMarker) {
    Installed();
    File("VelmarS.ini", "[DBE Setting]\nXXXXXX=not hex\n");
    ScopedEnv temp{"TMPDIR", dir_.Path()};
    EXPECT_EQ(TVelmarIniS().DBSettings.Get(0, 2).AsString(), kPasswordErrorMarker);
}

}  // namespace
}  // namespace kv
