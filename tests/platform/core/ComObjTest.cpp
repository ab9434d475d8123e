#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/core/ComObj.h"
#include "platform/core/Exceptions.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const std::string kTestLibrary = std::string(KV_BIN_DIR) + "/libkvtestoleclass.so";

// Each test gets its own folder for a class-registry file and points KV_CLASS_REGISTRY at it.
class ComObjTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = getenv("KV_CLASS_REGISTRY")) saved_ = old;
        std::string pattern = (fs::temp_directory_path() / "kv-comobj-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        registry_ = (folder_ / "classes.ini").string();
        setenv("KV_CLASS_REGISTRY", registry_.c_str(), 1);
    }

    void TearDown() override {
        if (saved_)
            setenv("KV_CLASS_REGISTRY", saved_->c_str(), 1);
        else
            unsetenv("KV_CLASS_REGISTRY");
        fs::remove_all(folder_);
    }

    void WriteRegistry(const std::string& text) { std::ofstream(registry_) << text; }

    static std::string Section(const std::string& progId, const std::string& library,
                               const std::string& factory) {
        return "[" + progId + "]\nLibrary=" + library + "\nFactory=" + factory + "\n";
    }

    // The message of the EOleSysError that creating progId raises.
    static std::string CreationError(const std::string& progId) {
        try {
            CreateOleObject(progId);
        } catch (const EOleSysError& e) {
            return e.Message();
        }
        return "(no error)";
    }

    std::optional<std::string> saved_;
    fs::path folder_;
    std::string registry_;
};

TEST_F(ComObjTest, CreatesFromTheLibraryNamedInTheRegistryFile) {
    WriteRegistry("; test classes\n" +
                  Section("KvTest.Counter", kTestLibrary, "KvTestCreateObject"));
    Variant counter = CreateOleObject("KvTest.Counter");
    ASSERT_EQ(VarType(counter), varDispatch);
    EXPECT_EQ(OleCall(counter, "Increment", {5}).AsInteger(), 5);
    EXPECT_EQ(OleCall(counter, "increment").AsInteger(), 6);
    OlePut(counter, "Count", 10);
    Variant taken;
    EXPECT_TRUE(OleCall(counter, "TakeCount", {VarRef(taken)}).AsBoolean());
    EXPECT_EQ(taken.AsInteger(), 10);
    EXPECT_EQ(OleGet(counter, "COUNT").AsInteger(), 0);
    // Class names ignore letter case; every creation gives a new object.
    Variant second = CreateOleObject("kvtest.counter");
    EXPECT_EQ(OleGet(second, "Count").AsInteger(), 0);
    EXPECT_FALSE(second == counter);
}

TEST_F(ComObjTest, RelativeLibraryPathsStartAtTheRegistryFolder) {
    std::string relative = fs::relative(kTestLibrary, folder_).string();
    ASSERT_NE(relative.front(), '/');
    WriteRegistry(Section("KvTest.Counter", relative, "KvTestCreateObject"));
    Variant counter = CreateOleObject("KvTest.Counter");
    EXPECT_EQ(OleCall(counter, "Increment").AsInteger(), 1);
}

TEST_F(ComObjTest, RegistryFailuresNameWhatIsWrong) {
    WriteRegistry(Section("KvTest.Missing", "missing.so", "KvTestCreateObject") +
                  Section("KvTest.NoFactory", kTestLibrary, "NoSuchFactory") +
                  Section("KvTest.Other", kTestLibrary, "KvTestCreateObject") +
                  "[KvTest.Half]\nLibrary=" + kTestLibrary + "\n");
    std::string missing = CreationError("KvTest.Missing");
    EXPECT_NE(missing.find("Cannot load library \"" + (folder_ / "missing.so").string() + "\""),
              std::string::npos)
        << missing;
    EXPECT_EQ(CreationError("KvTest.NoFactory"),
              "Library \"" + kTestLibrary +
                  "\" exports no factory \"NoSuchFactory\" for class \"KvTest.NoFactory\"");
    EXPECT_EQ(CreationError("KvTest.Other"),
              "The factory of class \"KvTest.Other\" gave no object");
    EXPECT_EQ(CreationError("KvTest.Half"),
              "Class \"KvTest.Half\" in \"" + registry_ + "\" needs both Library= and Factory=");
    EXPECT_EQ(CreationError("KvTest.Unknown"), "Invalid class string \"KvTest.Unknown\"");
    EXPECT_EQ(CreationError(""), "Invalid class string \"\"");
}

TEST_F(ComObjTest, MissingRegistryFileMeansNoClasses) {
    setenv("KV_CLASS_REGISTRY", (folder_ / "absent.ini").c_str(), 1);
    EXPECT_EQ(CreationError("KvTest.Counter"), "Invalid class string \"KvTest.Counter\"");
    unsetenv("KV_CLASS_REGISTRY");
    EXPECT_EQ(ClassRegistryFileName(), "/etc/kv/classes.ini");
}

TEST_F(ComObjTest, InProcessClassesComeFirst) {
    WriteRegistry(Section("KvTest.Counter", kTestLibrary, "KvTestCreateObject"));
    RegisterOleClass("KVTEST.COUNTER", [] {
        auto object = std::make_shared<TAutoObject>();
        object->RegisterProperty("Count", [] { return Variant(-1); });
        return object;
    });
    EXPECT_EQ(OleGet(CreateOleObject("KvTest.Counter"), "Count").AsInteger(), -1);
    EXPECT_TRUE(UnregisterOleClass("kvtest.counter"));
    EXPECT_FALSE(UnregisterOleClass("kvtest.counter"));
    EXPECT_EQ(OleGet(CreateOleObject("KvTest.Counter"), "Count").AsInteger(), 0);
}

TEST_F(ComObjTest, InProcessFactoryFailures) {
    RegisterOleClass("KvTest.Throws", []() -> DispatchPtr { throw EOleError("no licence"); });
    RegisterOleClass("KvTest.Null", [] { return DispatchPtr(); });
    EXPECT_EQ(CreationError("KvTest.Throws"),
              "Cannot create an object of class \"KvTest.Throws\": no licence");
    EXPECT_EQ(CreationError("KvTest.Null"), "The factory of class \"KvTest.Null\" gave no object");
    UnregisterOleClass("KvTest.Throws");
    UnregisterOleClass("KvTest.Null");
}

}  // namespace
}  // namespace kv
