#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/SysUtils.h"
#include "src/runtime/AlertLog.h"
#include "tests/runtime/RuntimeTestSupport.h"

namespace kv {
namespace {

using test::ReadWholeFile;
using test::ScratchDir;
using ::testing::MatchesRegex;

struct FileNameCase {
    const char* logName;
    const char* period;
    const char* expected;
};

TEST(AlertLogFileNameTest, PeriodCodesAndExtensionRule) {
    const FileNameCase cases[] = {
        {"libstrs", "D", "Alert_libstrs_20240305.log"},
        {"libstrs", "M", "Alert_libstrs_202403.log"},
        {"libstrs", "Y", "Alert_libstrs_2024.log"},
        {"libstrs", "X", "Alert_libstrs_20240305.log"},
        {"libstrs", "", "Alert_libstrs_20240305.log"},
        {"libstrs", "m", "Alert_libstrs_20240305.log"},  // codes are upper case
        {"a.txt", "D", "Alert_a.txt_20240305"},
        {"a.", "Y", "Alert_a._2024"},
        {"../../etc/x", "D", "Alert_.._.._etc_x_20240305"},  // stays inside the Log folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(AlertLogFileName(c.logName, c.period, 2024, 3, 5), c.expected)
            << c.logName << " " << c.period;
}

std::string TodaysFile(const std::string& root, const std::string& name,
                       const std::string& period) {
    int y = 0, m = 0, d = 0;
    DecodeDate(Now(), y, m, d);
    return root + "/Log/" + AlertLogFileName(name, period, y, m, d);
}

TEST(WriteAlertLogTest, CreatesMissingFoldersAndAppendsStampedLines) {
    ScratchDir dir;
    const std::string root = dir / "install/deeper";
    ASSERT_TRUE(WriteAlertLogIn(root, "libstrs", "first", "D"));
    ASSERT_TRUE(WriteAlertLogIn(root + "/", "libstrs", "second 100%", "D"));
    const std::string text = ReadWholeFile(TodaysFile(root, "libstrs", "D"));
    const std::string stamp =
        R"(\[[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]{3}\] )";
    EXPECT_THAT(text, MatchesRegex(stamp + "first\r\n" + stamp + "second 100%\r\n"));
}

TEST(WriteAlertLogTest, StampIgnoresTheUsersSeparators) {
    ScratchDir dir;
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DateSeparator = '-';
    FormatSettings.TimeSeparator = '.';
    const bool written = WriteAlertLogIn(dir.Path(), "sep", "x", "Y");
    FormatSettings = saved;
    ASSERT_TRUE(written);
    EXPECT_THAT(
        ReadWholeFile(TodaysFile(dir.Path(), "sep", "Y")),
        MatchesRegex(R"(\[[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]{3}\] x)"
                     "\r\n"));
}

TEST(WriteAlertLogTest, ReportsFailureInsteadOfRaising) {
    ScratchDir dir;
    test::WriteWholeFile(dir / "plainfile", "not a folder");
    EXPECT_FALSE(WriteAlertLogIn(dir / "plainfile", "x", "line", "D"));  // Log cannot be made
    std::filesystem::create_directories(dir / "root/Log/" + AlertLogFileName("busy", "D", 1, 1, 1));
    std::filesystem::create_directories(TodaysFile(dir / "root", "busy", "D"));
    EXPECT_FALSE(WriteAlertLogIn(dir / "root", "busy", "line", "D"));  // file is a folder
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

struct RootCase {
    const char* name;
    std::string registry;  // registry file text; "" for no file
    const char* expected;  // "client", "server", "program"
};

TEST(GetLogRootTest, RegistryValuesThenTheProgramFolder) {
    ScratchDir dir;
    test::ScopedEnv registryFile{"KV_REGISTRY_FILE", dir / "registry.ini"};
    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\n";
    const std::string client = dir / "client";
    const std::string server = dir / "server";
    const RootCase cases[] = {
        {"client path first", key + "ClientPath=" + client + "//\nServerPath=" + server + "\n",
         "client"},
        {"server path when the client's is empty", key + "ClientPath=\nServerPath=" + server + "\n",
         "server"},
        {"no values", key, "program"},
        {"no key", "[HKEY_LOCAL_MACHINE\\Software\\KVT]\nClientPath=" + client + "\n", "program"},
        {"no registry file", "", "program"},
        {"unreadable value", key + "ClientPath=dword:1\n", "program"},
    };
    const std::string program = std::filesystem::canonical("/proc/self/exe").parent_path();
    for (const auto& c : cases) {
        std::filesystem::remove(dir / "registry.ini");
        if (!c.registry.empty()) test::WriteWholeFile(dir / "registry.ini", c.registry);
        const std::string expected = std::string(c.expected) == "client"   ? client
                                     : std::string(c.expected) == "server" ? server
                                                                           : program;
        EXPECT_EQ(GetLogRoot(), expected) << c.name;
    }
    test::WriteWholeFile(dir / "registry.ini", key + "ClientPath=" + client + "\n");
    ASSERT_TRUE(WriteAlertLog("rooted", "line", "M"));
    EXPECT_FALSE(ReadWholeFile(TodaysFile(client, "rooted", "M")).empty());
}

}  // namespace
}  // namespace kv
