#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/core/SystemInfo.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// Sets (or, with nullopt, removes) an environment variable for the scope of a test.
class TEnvironmentSetting {
public:
    TEnvironmentSetting(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        Set(value);
    }
    ~TEnvironmentSetting() { Set(saved_); }
    TEnvironmentSetting(const TEnvironmentSetting&) = delete;
    TEnvironmentSetting& operator=(const TEnvironmentSetting&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(name_, value->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(SystemInfoTest, AnsiCodePageFromSettingOrLocale) {
    struct Case {
        std::optional<std::string> acp, all, ctype, lang;
        unsigned int expected;
    };
    const std::nullopt_t none = std::nullopt;
    const Case cases[] = {
        {none, none, none, "zh_CN.UTF-8", 936},
        {none, none, none, "zh_SG", 936},
        {none, none, none, "zh_TW.Big5", 950},
        {none, none, none, "zh_HK.UTF-8", 950},
        {none, none, none, "zh_MO", 950},
        {none, none, none, "zh-tw", 950},
        {none, none, none, "en_US.UTF-8", 1252},
        {none, none, none, "zh", 1252},
        {none, none, none, "C", 1252},
        {none, none, none, none, 1252},
        {none, "zh_TW.UTF-8", "zh_CN.UTF-8", "en_US", 950},  // LC_ALL first
        {none, "", "zh_CN.UTF-8", "zh_TW", 936},             // then LC_CTYPE
        {"936", "en_US", none, none, 936},                   // the setting wins
        {"437", none, none, "zh_TW", 437},
        {"abc", none, none, "zh_TW", 950},  // not a number: the locale decides
        {"0", none, none, "zh_CN", 936},
        {"70000", none, none, "zh_CN", 936},
        {"936x", none, none, "en_US", 1252},
    };
    for (const Case& c : cases) {
        TEnvironmentSetting acp("KV_ACP", c.acp), all("LC_ALL", c.all), ctype("LC_CTYPE", c.ctype),
            lang("LANG", c.lang);
        EXPECT_EQ(GetACP(), c.expected) << c.acp.value_or("-") << " " << c.all.value_or("-") << " "
                                        << c.ctype.value_or("-") << " " << c.lang.value_or("-");
    }
}

TEST(SystemInfoTest, UserComputerAndTemporaryFolder) {
    {
        TEnvironmentSetting user("USER", "velmar");
        EXPECT_EQ(GetUserName(), "velmar");
    }
    {
        TEnvironmentSetting user("USER", std::nullopt);
        const passwd* entry = ::getpwuid(::geteuid());
        EXPECT_EQ(GetUserName(), entry != nullptr ? entry->pw_name : "");
    }

    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    std::string expected(host);
    expected = expected.substr(0, expected.find('.'));
    std::transform(expected.begin(), expected.end(), expected.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    EXPECT_EQ(GetComputerName(), expected);

    for (const auto& [tmpdir, path] :
         {std::pair<std::optional<std::string>, std::string>{std::nullopt, "/tmp/"},
          {"", "/tmp/"},
          {"/var/tmp", "/var/tmp/"},
          {"/srv/tmp/", "/srv/tmp/"}}) {
        TEnvironmentSetting setting("TMPDIR", tmpdir);
        EXPECT_EQ(GetTempPath(), path);
    }
}

TEST(SystemInfoTest, VersionAndAddresses) {
    const TOSVersionInfo info = GetVersionEx();
    EXPECT_EQ(info.SystemName, "Linux");
    EXPECT_GE(info.MajorVersion, 3u);
    EXPECT_TRUE(info.Release.starts_with(std::to_string(info.MajorVersion) + "." +
                                         std::to_string(info.MinorVersion)));
    EXPECT_EQ(GetOSVersionText(), "Linux " + info.Release + " " + info.Machine);

    const auto addresses = GetLocalAddresses();
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), "127.0.0.1"), addresses.end());
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), "127.0.0.1"), 1);
}

class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kv_open_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    // An opener that records its argument (complete once the file has its final name).
    void InstallOpener() {
        const fs::path opener = folder_ / "bin" / "xdg-open";
        fs::create_directories(opener.parent_path());
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << Record()
                              << ".part\"\nmv \"" << Record() << ".part\" \"" << Record() << "\"\n";
        fs::permissions(opener, fs::perms::owner_all);
    }
    std::string Record() const { return (folder_ / "opened").string(); }
    std::optional<std::string> WaitForRecord() const {
        for (int i = 0; i < 500 && !fs::exists(Record()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!fs::exists(Record())) return std::nullopt;
        std::ifstream in(Record());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder_;
};

TEST_F(ShellOpenTest, HandsTheTargetToTheOpener) {
    InstallOpener();
    TEnvironmentSetting path("PATH", (folder_ / "bin").string() + ":/usr/bin:/bin");
    const std::string address = "http://report.example/Server/ReportView.aspx?a=1&b=2 c";
    EXPECT_TRUE(ShellOpen(address));
    EXPECT_EQ(WaitForRecord(), address);
}

TEST_F(ShellOpenTest, TargetsThatLookLikeOptionsAreFileNames) {
    InstallOpener();
    TEnvironmentSetting path("PATH", (folder_ / "bin").string() + ":/usr/bin:/bin");
    EXPECT_TRUE(ShellOpen("--version"));
    EXPECT_EQ(WaitForRecord(), "./--version");
}

TEST_F(ShellOpenTest, WithoutAnOpenerOrTargetNothingStarts) {
    fs::create_directories(folder_ / "empty" / "xdg-open");  // a folder is no program
    TEnvironmentSetting path("PATH", (folder_ / "empty").string());
    EXPECT_FALSE(ShellOpen("http://report.example/"));
    InstallOpener();
    TEnvironmentSetting withOpener("PATH", (folder_ / "bin").string());
    EXPECT_FALSE(ShellOpen(""));
    EXPECT_FALSE(fs::exists(Record()));
}

}  // namespace
}  // namespace kv
