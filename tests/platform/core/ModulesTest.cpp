#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/core/Modules.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const std::string kPlatformLibrary = std::string(KV_BIN_DIR) + "/libkvplatform.so";

int FunctionOfTheTestProgram() {
    return 42;
}

TEST(ModulesTest, LoadsALibraryAndCallsItsExport) {
    const HMODULE math = LoadLibrary("libm.so.6");
    ASSERT_NE(math, 0u) << GetLastModuleError();
    const auto cosine = GetProcAddressAs<double(double)>(math, "cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_TRUE(fs::path(GetModuleFileName(math)).is_absolute());
    EXPECT_NE(GetModuleFileName(math).find("libm"), std::string::npos);
    EXPECT_TRUE(FreeLibrary(math));
}

TEST(ModulesTest, MissingExportsAndLibrariesGiveClearErrors) {
    const HMODULE platform = LoadLibrary(kPlatformLibrary);
    ASSERT_NE(platform, 0u) << GetLastModuleError();
    EXPECT_EQ(GetProcAddress(platform, "GetSvrController"), nullptr);
    EXPECT_NE(GetLastModuleError().find("GetSvrController"), std::string::npos);
    EXPECT_TRUE(FreeLibrary(platform));

    EXPECT_EQ(LoadLibrary("/no/such/folder/KvDownLoad.so"), 0u);
    EXPECT_NE(GetLastModuleError().find("KvDownLoad.so"), std::string::npos);
    EXPECT_EQ(LoadLibrary(""), 0u);
    EXPECT_FALSE(GetLastModuleError().empty());
    EXPECT_EQ(LoadLibrary(std::string(KV_TEST_DATA_DIR)), 0u);  // a folder is no library
}

TEST(ModulesTest, UnknownAndReleasedHandlesAreRefused) {
    const HMODULE math = LoadLibrary("libm.so.6");
    ASSERT_NE(math, 0u);
    const HMODULE again = LoadLibrary("libm.so.6");  // the same library, counted twice
    EXPECT_EQ(again, math);
    EXPECT_TRUE(FreeLibrary(again));
    EXPECT_NE(GetProcAddress(math, "cos"), nullptr);
    EXPECT_TRUE(FreeLibrary(math));
    EXPECT_FALSE(FreeLibrary(math));
    EXPECT_EQ(GetProcAddress(math, "cos"), nullptr);
    EXPECT_EQ(GetLastModuleError(), "not a loaded library");
    EXPECT_EQ(GetModuleFileName(math), "");
    EXPECT_FALSE(FreeLibrary(0));
    EXPECT_EQ(GetProcAddress(HMODULE{12345}, "x"), nullptr);
}

TEST(ModulesTest, ALibraryAndTheProgramKnowTheirOwnFileNames) {
    // The platform library finds its path from an address inside it, as a plug-in does.
    const std::string own = ModuleFileNameOf(&LoadLibrary);
    EXPECT_EQ(own, fs::canonical(kPlatformLibrary).string());
    const HMODULE platform = LoadLibrary(kPlatformLibrary);
    EXPECT_EQ(GetModuleFileName(platform), own);
    FreeLibrary(platform);

    const std::string program = ModuleFileNameOf(&FunctionOfTheTestProgram);
    EXPECT_EQ(program, GetModuleFileName(0));
    EXPECT_EQ(fs::path(program).filename(), fs::canonical("/proc/self/exe").filename());
    EXPECT_EQ(ModuleFileNameOf(nullptr), "");
}

TEST(ModulesTest, DllNamesFallBackToSoAndBareNamesLookBesideTheProgram) {
    std::string pattern = (fs::temp_directory_path() / "kv_mod_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    const HMODULE math = LoadLibrary("libm.so.6");
    fs::create_symlink(GetModuleFileName(math), folder / "Mathlib.so");
    FreeLibrary(math);

    const HMODULE viaDll = LoadLibrary((folder / "Mathlib.DLL").string());
    ASSERT_NE(viaDll, 0u) << GetLastModuleError();
    EXPECT_NE(GetProcAddress(viaDll, "sin"), nullptr);
    FreeLibrary(viaDll);
    fs::remove_all(folder);

    // The test program lies beside the platform library.
    const HMODULE beside = LoadLibrary("libkvplatform.so");
    ASSERT_NE(beside, 0u) << GetLastModuleError();
    EXPECT_EQ(GetModuleFileName(beside), fs::canonical(kPlatformLibrary).string());
    FreeLibrary(beside);
}

}  // namespace
}  // namespace kv
