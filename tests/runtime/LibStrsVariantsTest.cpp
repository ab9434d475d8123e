#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/core/Variant.h"
#include "src/runtime/AlertLog.h"
#include "src/runtime/LibStrs.h"

namespace kv {
namespace {

// The system code page for one test, restored afterwards.
class ScopedAcp {
public:
    explicit ScopedAcp(const char* codePage) {
        if (const char* old = std::getenv("KV_ACP")) saved_ = old;
        setenv("KV_ACP", codePage, 1);
    }
    ~ScopedAcp() {
        if (saved_.empty()) {
            unsetenv("KV_ACP");
        } else {
            setenv("KV_ACP", saved_.c_str(), 1);
        }
    }
    ScopedAcp(const ScopedAcp&) = delete;
    ScopedAcp& operator=(const ScopedAcp&) = delete;

private:
    std::string saved_;
};

TEST(LibStrsCodePage, AnsiToWideDecodesBytesOfTheCodePage) {
    ScopedAcp acp("1252");
    struct Case {
        const char* text;
        int codePage;
        const char* expected;
    };
    const Case cases[] = {
        {"plain", 936, "plain"},
        {"中文", 950, "中文"},                  // already Unicode: unchanged
        {"\xD6\xD0\xCE\xC4", 936, "中文"},      // GB bytes
        {"\xA4\xA4\xA4\xE5", 950, "中文"},      // BIG5 bytes
        {"caf\xE9", 437, "caf\xCE\x98"},        // 437: 0xE9 is a Greek theta
        {"\xFF\xFE", 936, "\xC3\xBF\xC3\xBE"},  // not GB: the system's 1252 decides
        {"\xFF\xFE", 0, "\xC3\xBF\xC3\xBE"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnsiToWideCP(c.text, c.codePage), c.expected) << c.text;
        EXPECT_EQ(WideToAnsiCP(c.text, c.codePage), c.expected) << c.text;
    }
}

TEST(LibStrsCodePage, LastResortWidensEachByte) {
    ScopedAcp acp("936");
    EXPECT_EQ(AnsiToWideCP("a\xFF", 936), "a\xC3\xBF");
}

TEST(LibStrsVarToWide, ScalarsAndEmptyValues) {
    Variant wide = VarToWideCP(Variant("abc"), 936);
    EXPECT_EQ(VarType(wide), varOleStr);
    EXPECT_EQ(wide.AsString(), "abc");

    EXPECT_TRUE(VarToWideCP(Variant(), 936).IsEmpty());
    EXPECT_TRUE(VarToWideCP(Variant::Null(), 936).IsNull());
    EXPECT_EQ(VarType(VarToWideCP(Variant(42), 936)), varInteger);

    Variant narrow = VarToAnsiCP(Variant::Wide("abc"), 936);
    EXPECT_EQ(VarType(narrow), varString);
    EXPECT_EQ(narrow.AsString(), "abc");
}

TEST(LibStrsVarToWide, WalksOneDimensionRecursively) {
    Variant job = VarArrayOf({Variant("a"), Variant::Wide("b"), Variant(5),
                              VarArrayOf({Variant("\xD6\xD0"), VarArrayOf({Variant("d")})}),
                              Variant::Null()});
    Variant wide = VarToWideCP(job, 936);
    EXPECT_EQ(VarType(wide[0]), varOleStr);
    EXPECT_EQ(VarType(wide[1]), varOleStr);
    EXPECT_EQ(VarType(wide[2]), varInteger);
    EXPECT_EQ(VarType(wide[3][0]), varOleStr);
    EXPECT_EQ(wide[3][0].AsString(), "中");
    EXPECT_EQ(VarType(wide[3][1][0]), varOleStr);
    EXPECT_TRUE(wide[4].IsNull());
    EXPECT_EQ(VarType(job[0]), varString);  // the input is a copy, untouched

    Variant back = VarToAnsiCP(wide, 936);
    EXPECT_EQ(VarType(back[1]), varString);
    EXPECT_EQ(VarType(back[3][1][0]), varString);
    EXPECT_EQ(back[3][0].AsString(), "中");
}

TEST(LibStrsVarToWide, TwoDimensionsInPlaceWithoutRecursion) {
    Variant grid = VarArrayCreate({0, 1, 1, 2});
    grid.Put(0, 1, Variant("x"));
    grid.Put(1, 2, VarArrayOf({Variant("nested")}));
    Variant wide = VarToWideCP(grid, 936);
    EXPECT_EQ(VarType(wide.Get(0, 1)), varOleStr);
    EXPECT_TRUE(wide.Get(0, 2).IsEmpty());
    EXPECT_EQ(VarType(wide.Get(1, 2)[0]), varString);

    Variant cube = VarArrayCreate({0, 0, 0, 0, 0, 0});
    cube.Put(std::vector<int>{0, 0, 0}, Variant("x"));
    EXPECT_EQ(VarType(VarToWideCP(cube, 936).Get(std::vector<int>{0, 0, 0})), varString);
}

std::string TodaysLibstrsLog() {
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(Date(), year, month, day);
    std::ifstream in(GetLogRoot() + "/Log/" + AlertLogFileName("libstrs", "D", year, month, day),
                     std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(LibStrsVarToWide, FailureIsLoggedAndTheInputAnswered) {
    Variant deep = VarArrayOf({Variant("leaf")});
    for (int i = 0; i < 80; ++i)
        deep = VarArrayOf({deep, Variant("level")});

    Variant wide = VarToWideCP(deep, 936);
    EXPECT_EQ(VarType(wide[1]), varString);  // unchanged copy
    EXPECT_NE(TodaysLibstrsLog().find("LINE[115] Variant arrays nested too deeply"),
              std::string::npos);

    Variant narrow = VarToAnsiCP(VarToWideCP(VarArrayOf({deep}), 936), 936);
    EXPECT_TRUE(narrow.IsArray());
    EXPECT_NE(TodaysLibstrsLog().find("LINE[2735] Variant arrays nested too deeply"),
              std::string::npos);
}

TEST(LibStrsVariants, JoinVarArray) {
    const std::string s = "\x03";
    Variant rights = VarArrayOf({Variant(2), Variant("a"), Variant::Null(), Variant("c")});
    EXPECT_EQ(JoinVarArray("P", rights), "P" + s + "2" + s + "a" + s + "" + s);
    Variant shortArray = VarArrayOf({Variant("5"), Variant("a")});
    EXPECT_EQ(JoinVarArray("P", shortArray), "P" + s + "5" + s + "a" + s);
    EXPECT_EQ(JoinVarArray("P", Variant("no array")), "P" + s + "0" + s);
    Variant fromOne = VarArrayCreate({1, 2});
    EXPECT_EQ(JoinVarArray("", fromOne), s + s);
}

TEST(LibStrsVariants, IIfAndBlank) {
    EXPECT_EQ(VarIIf(true, Variant(1), Variant("b")).AsInteger(), 1);
    EXPECT_EQ(VarIIf(false, Variant(1), Variant("b")).AsString(), "b");
    EXPECT_TRUE(VarIsBlank(Variant()));
    EXPECT_TRUE(VarIsBlank(Variant::Null()));
    EXPECT_FALSE(VarIsBlank(Variant("")));
    EXPECT_FALSE(VarIsBlank(Variant(0)));
}

TEST(LibStrsMisc, TempDirEndsInDelimiter) {
    std::string dir = GetTempDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir.find("//"), std::string::npos);
}

}  // namespace
}  // namespace kv
