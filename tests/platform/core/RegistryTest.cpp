#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Registry.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const char kRegistryText[] =
    "; machine settings\n"
    "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\n"
    "ClientPath=/opt/velmar/client/\n"
    "ServerPath=\"/opt/velmar/server/\"\n"
    "ProfileType=0\n"
    "@=default value\n"
    "Count=dword:0000000a\n"
    "Negative=dword:FFFFFFFF\n"
    "BadNumber=dword:12xy\n"
    "\"Quoted Name\"=\"a \\\"b\\\" c\\\\d\"\n"
    "clientpath=shadowed\n"
    "[hklm\\software\\tovq\\Morlandi\\]\n"
    "GoAhead= 1 \n"
    "[HKEY_LOCAL_MACHINE\\\\SOFTWARE\\KVT\\Velmar\\Sub]\n"
    "[HKEY_CURRENT_USER\\Software\\KVT\\Velmar]\n"
    "ClientPath=/home/user/velmar/\n"
    "[NOT_A_ROOT\\Software]\n"
    "x=1\n";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kv_reg_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_ = (folder_ / "registry.ini").string();
        std::ofstream(file_) << kRegistryText;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    std::string file_;
};

TEST_F(RegistryTest, OpensKeysWithoutRegardToCaseAndSlashes) {
    TRegistry reg(file_);
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);  // the platform's initial root
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    struct Case {
        const char* key;
        bool opens;
    };
    const Case cases[] = {
        {"Software\\KVT\\Velmar", true},
        {"\\software\\kvt\\velmar", true},
        {"Software\\KVT\\Velmar\\", true},
        {"Software\\\\KVT\\Velmar", true},
        {"Software\\TOVQ\\Morlandi", true},
        {"Software", true},  // implied by the keys below it
        {"Software\\KVT\\Velmar\\Sub", true},
        {"Software\\KVT\\Missing", false},
        {"Software\\KV", false},
        {"Velmar", false},
    };
    for (const Case& c : cases) {
        reg.CloseKey();
        EXPECT_EQ(reg.KeyExists(c.key), c.opens) << c.key;
        EXPECT_EQ(reg.OpenKeyReadOnly(c.key), c.opens) << c.key;
        EXPECT_EQ(reg.HasOpenKey(), c.opens) << c.key;
    }
}

TEST_F(RegistryTest, ReadsStringAndIntegerValues) {
    TRegistry reg(file_);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KVT\\Velmar"));
    EXPECT_EQ(reg.CurrentPath(), "Software\\KVT\\Velmar");
    EXPECT_EQ(reg.ReadString("CLIENTPATH"), "/opt/velmar/client/");  // first spelling counts
    EXPECT_EQ(reg.ReadString("ServerPath"), "/opt/velmar/server/");
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadString("Quoted Name"), "a \"b\" c\\d");
    EXPECT_EQ(reg.ReadString("BadNumber"), "dword:12xy");
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(reg.ReadInteger("Count"), 10);
    EXPECT_EQ(reg.ReadInteger("Negative"), -1);
    EXPECT_TRUE(reg.ReadBool("count"));
    EXPECT_EQ(reg.GetDataType("Count"), TRegDataType::rdInteger);
    EXPECT_EQ(reg.GetDataType("ProfileType"), TRegDataType::rdString);
    EXPECT_EQ(reg.GetDataType("Missing"), TRegDataType::rdUnknown);
    EXPECT_TRUE(reg.ValueExists("profiletype"));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_EQ(reg.GetValueNames(),
              (std::vector<std::string>{"ClientPath", "ServerPath", "ProfileType", "", "Count",
                                        "Negative", "BadNumber", "Quoted Name"}));

    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\TOVQ\\Morlandi"));
    EXPECT_EQ(reg.ReadString("GoAhead"), "1");
}

TEST_F(RegistryTest, WrongTypesAndMissingIntegersRaise) {
    TRegistry reg(file_);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\KVT\\Velmar"));
    EXPECT_THROW(reg.ReadString("Count"), ERegistryException);
    try {
        reg.ReadInteger("ClientPath");
        FAIL() << "no error raised";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), "Invalid data type for 'ClientPath'");
    }
    try {
        reg.ReadInteger("Missing");
        FAIL() << "no error raised";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), "Failed to get data for 'Missing'");
    }
    reg.CloseKey();
    EXPECT_EQ(reg.ReadString("ClientPath"), "");
    EXPECT_THROW(reg.ReadInteger("Count"), ERegistryException);
}

TEST_F(RegistryTest, RelativePathsSubKeysAndRoots) {
    TRegistry reg(file_);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software"));
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"KVT", "tovq"}));
    EXPECT_TRUE(reg.KeyExists("KVT\\Velmar"));  // relative to the open key
    ASSERT_TRUE(reg.OpenKey("KVT\\Velmar"));
    EXPECT_EQ(reg.CurrentPath(), "Software\\KVT\\Velmar");
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Sub"});
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_FALSE(reg.OpenKey("Nowhere", true));             // read-only: nothing is created
    EXPECT_EQ(reg.CurrentPath(), "Software\\KVT\\Velmar");  // a failed open keeps the key

    reg.SetRootKey(HKEY_CURRENT_USER);  // closes the key
    EXPECT_FALSE(reg.HasOpenKey());
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KVT\\Velmar"));
    EXPECT_EQ(reg.ReadString("ClientPath"), "/home/user/velmar/");

    for (const HKEY root : {HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY{7}}) {
        reg.SetRootKey(root);
        EXPECT_FALSE(reg.OpenKeyReadOnly("Software")) << root;
    }
}

TEST_F(RegistryTest, MissingFileIsARegistryWithoutKeys) {
    TRegistry reg((folder_ / "absent.ini").string());
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\KVT\\Velmar"));
    EXPECT_FALSE(reg.OpenKeyReadOnly(""));
    EXPECT_TRUE(reg.GetValueNames().empty());
}

TEST_F(RegistryTest, FileNameComesFromTheEnvironment) {
    const char* saved = std::getenv("KV_REGISTRY_FILE");
    const std::string previous = saved != nullptr ? saved : "";
    ::unsetenv("KV_REGISTRY_FILE");
    EXPECT_EQ(TRegistry::DefaultFileName(), "/etc/kv/registry.ini");
    ::setenv("KV_REGISTRY_FILE", file_.c_str(), 1);
    {
        TRegistry reg;
        EXPECT_EQ(reg.FileName(), file_);
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(reg.OpenKeyReadOnly("Software\\KVT\\Velmar"));
    }
    if (saved != nullptr)
        ::setenv("KV_REGISTRY_FILE", previous.c_str(), 1);
    else
        ::unsetenv("KV_REGISTRY_FILE");
}

}  // namespace
}  // namespace kv
