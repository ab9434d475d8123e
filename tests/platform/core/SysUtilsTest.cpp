#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

// ---------------------------------------------------------------------------------------------
// Strings

TEST(SysUtilsStrings, TrimStripsBlanksAndControlCharacters) {
    struct Case {
        const char* in;
        const char* both;
        const char* left;
        const char* right;
    } cases[] = {
        {"  a b \t\r\n", "a b", "a b \t\r\n", "  a b"},
        {"\x01x\x1f", "x", "x\x1f", "\x01x"},
        {"   ", "", "", ""},
        {"", "", "", ""},
        {" 中文 ", "中文", "中文 ", " 中文"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.in), c.both);
        EXPECT_EQ(TrimLeft(c.in), c.left);
        EXPECT_EQ(TrimRight(c.in), c.right);
    }
}

TEST(SysUtilsStrings, CaseMapping) {
    EXPECT_EQ(UpperCase("abc-xyz é"), "ABC-XYZ é");
    EXPECT_EQ(LowerCase("ABC-XYZ É"), "abc-xyz É");
    EXPECT_EQ(AnsiUpperCase("straße àéîõü ÿ ž ł"), "STRAßE ÀÉÎÕÜ Ÿ Ž Ł");
    EXPECT_EQ(AnsiLowerCase("ÀÉÎÕÜ Ÿ Ž Ł ÷×"), "àéîõü ÿ ž ł ÷×");
    EXPECT_EQ(AnsiUpperCase("αβγ ς привет ё"), "ΑΒΓ Σ ПРИВЕТ Ё");
    EXPECT_EQ(AnsiLowerCase("ΑΒΓ ПРИВЕТ Ё"), "αβγ привет ё");
    EXPECT_EQ(AnsiUpperCase("中文abc"), "中文ABC");
    // Malformed UTF-8 passes through byte for byte.
    EXPECT_EQ(AnsiUpperCase("\xff\xfe a \xc3"), "\xff\xfe A \xc3");
    EXPECT_EQ(AnsiUpperCase("\xe0\x80\xa1"), "\xe0\x80\xa1");
}

TEST(SysUtilsStrings, Comparisons) {
    struct Case {
        const char* a;
        const char* b;
        int str;
        int text;
    } cases[] = {
        {"abc", "abc", 0, 0}, {"abc", "ABC", 1, 0},  {"a", "b", -1, -1},
        {"B", "a", -1, 1},    {"ab", "abc", -1, -1}, {"", "", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareStr(c.a, c.b), c.str) << c.a << " " << c.b;
        EXPECT_EQ(CompareText(c.a, c.b), c.text) << c.a << " " << c.b;
        EXPECT_EQ(SameText(c.a, c.b), c.text == 0);
    }
    EXPECT_TRUE(AnsiSameText("Äbc", "äBC"));
    EXPECT_FALSE(SameText("Äbc", "äBC"));
    EXPECT_LT(AnsiCompareText("äa", "ÄB"), 0);
}

TEST(SysUtilsStrings, Quoting) {
    EXPECT_EQ(QuotedStr("O'Neil"), "'O''Neil'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(AnsiDequotedStr("'O''Neil'", '\''), "O'Neil");
    EXPECT_EQ(AnsiDequotedStr("'a'b", '\''), "a");
    EXPECT_EQ(AnsiDequotedStr("'unclosed", '\''), "unclosed");
    EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
}

TEST(SysUtilsStrings, StringReplace) {
    struct Case {
        const char* s;
        const char* from;
        const char* to;
        TReplaceFlags flags;
        const char* expected;
    } cases[] = {
        {"a-b-c", "-", "+", rfNone, "a+b-c"},
        {"a-b-c", "-", "+", rfReplaceAll, "a+b+c"},
        {"a;b;c", ";", "", rfReplaceAll, "abc"},
        {"Hello HELLO", "hello", "x", rfReplaceAll | rfIgnoreCase, "x x"},
        {"Hello HELLO", "hello", "x", rfReplaceAll, "Hello HELLO"},
        {"aaa", "a", "aa", rfReplaceAll, "aaaaaa"},  // replaced text is not searched again
        {"abc", "", "x", rfReplaceAll, "abc"},
        {"abc", "abcd", "x", rfReplaceAll, "abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s;
    }
}

TEST(SysUtilsStrings, PosAndCopyAreOneBasedAndForgiving) {
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("abc", "abc"), 1);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosEx("a", "aba", 2), 3);
    EXPECT_EQ(PosEx("a", "aba", 0), 0);
    EXPECT_EQ(PosEx("a", "aba", 4), 0);
    struct Case {
        int index;
        int count;
        const char* expected;
    } cases[] = {
        {2, 3, "ell"}, {0, 2, "he"}, {-5, 2, "he"}, {4, 100, "lo"},
        {6, 1, ""},    {2, 0, ""},   {2, -1, ""},   {1, std::numeric_limits<int>::max(), "hello"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Copy("hello", c.index, c.count), c.expected) << c.index << "," << c.count;
    }
    EXPECT_EQ(StringOfChar('-', 3), "---");
    EXPECT_EQ(StringOfChar('-', -3), "");
}

// ---------------------------------------------------------------------------------------------
// Integers

TEST(SysUtilsIntegers, IntToStrAndHex) {
    EXPECT_EQ(IntToStr(-5), "-5");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(IntToStr(static_cast<short>(-3)), "-3");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
}

TEST(SysUtilsIntegers, StrToIntAcceptsThePlatformsForms) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"123", 123},
        {"  42", 42},
        {"-7", -7},
        {"+7", 7},
        {"$FF", 255},
        {"0x1A", 26},
        {"0X1a", 26},
        {"-$10", -16},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_TRUE(TryStrToInt(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(StrToInt(c.text), c.value);
    }
}

TEST(SysUtilsIntegers, StrToIntRejectsEverythingElse) {
    // Leading blanks are read, trailing ones are not: the platform's rule.
    const char* bad[] = {"",  " ",   "42 ", "1.5", "abc", "2147483648", "-2147483649",
                         "$", "0x",  "--1", "1e3", "$G",  "+",          "1 2",
                         "-", "\t1", "0x-1"};
    for (const char* text : bad) {
        int value = 99;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, 99) << "value untouched for " << text;
        EXPECT_EQ(StrToIntDef(text, -1), -1);
    }
    try {
        StrToInt("abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(SysUtilsIntegers, StrToInt64UsesTheWholeRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StrToInt64("$7FFFFFFFFFFFFFFF"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_THROW(StrToInt64("99999999999999999999999"), EConvertError);
    EXPECT_EQ(StrToInt64Def("x", 5), 5);
}

// ---------------------------------------------------------------------------------------------
// Floating point

TEST(SysUtilsFloats, FloatToStrIsTheShortestOfFifteenDigits) {
    struct Case {
        double value;
        const char* expected;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1.5, "-1.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {100, "100"},
        {1234.5678, "1234.5678"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {-2.5e-300, "-2.5E-300"},
        {std::numeric_limits<double>::max(), "1.79769313486232E308"},
        {std::nan(""), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.value), c.expected) << c.expected;
}

TEST(SysUtilsFloats, FloatToStrFForms) {
    EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 2), "1234.50");
    EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 1), "1,234.5");
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(0.0, ffExponent, 3, 2), "0.00E+00");
    EXPECT_EQ(FloatToStrF(1234.5, ffGeneral, 3, 0), "1.23E3");
    // More integer digits than the precision: the platform switches to scientific.
    EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1.00000000000000E+020");
}

TEST(SysUtilsFloats, StrToFloatReadsDecimalNumbers) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1.5", 1.5},   {" -2.25 ", -2.25},
        {"+3", 3},      {"1e3", 1000},
        {"1E-2", 0.01}, {".5", 0.5},
        {"5.", 5},      {"-0", 0},
        {"2.5e+1", 25}, {"123456789012", 123456789012.0},
    };
    for (const auto& c : cases) {
        double value = 0;
        EXPECT_TRUE(TryStrToFloat(c.text, value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
    const char* bad[] = {"",      "abc",  "1,5", "1.2.3", "e5",  "1e",   "1e+", "--1",
                         "1e999", "0x10", "inf", "nan",   "1 2", "1.5x", "+",   "-."};
    for (const char* text : bad) {
        double value = 7;
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
        EXPECT_EQ(value, 7) << text;
    }
    EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5);
    try {
        StrToFloat("abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
    }
}

TEST(SysUtilsFloats, DecimalSeparatorComesFromTheSettings) {
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    EXPECT_EQ(StrToFloat("1,5", comma), 1.5);
    EXPECT_THROW(StrToFloat("1.5", comma), EConvertError);
    EXPECT_EQ(FloatToStr(1.5, comma), "1,5");
}

TEST(SysUtilsFloats, FloatTextRoundTrips) {
    const double values[] = {0.1, 1.0 / 7, 123.456, -98765.4321, 1e-10, 6.02214076e23};
    for (double v : values) {
        EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
    }
}

TEST(SysUtilsFloats, FormatFloatPictures) {
    struct Case {
        const char* format;
        double value;
        const char* expected;
    } cases[] = {
        {"0.00", 3.14159, "3.14"},
        {"0.00", 1.005, "1.00"},
        {"0.00", -0.001, "0.00"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", 0, "0.00"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0", -1234567, "-1,234,567"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 123456, "123456"},
        {"00000", 42, "00042"},
        {"0.###", 1.5, "1.5"},
        {"0.###", 2, "2"},
        {"#.##", 0.5, ".5"},
        {".00", 12.5, "12.50"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"0.00E-00", 12345, "1.23E04"},
        {"0.0E+0", 0.000123, "1.2E-4"},
        {"0.0;(0.0);'zero'", 1.25, "1.3"},
        {"0.0;(0.0);'zero'", -1.25, "(1.3)"},
        {"0.0;(0.0);'zero'", 0, "zero"},
        {"0.0;", -1.25, "-1.3"},
        {"'$'#,##0", 1234, "$1,234"},
        {"\"No.\" 0", 7, "No. 7"},
        {"0 'kg'", 3, "3 kg"},
        {"", 1.5, "1.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFloat(c.format, c.value), c.expected) << c.format << " " << c.value;
    }
}

// ---------------------------------------------------------------------------------------------
// Booleans

TEST(SysUtilsBooleans, TextsAndNumbers) {
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false), "0");
    EXPECT_EQ(BoolToStr(true, true), "True");
    EXPECT_EQ(BoolToStr(false, true), "False");
    struct Case {
        const char* text;
        bool value;
    } cases[] = {{"true", true}, {"TRUE", true}, {" False ", false}, {"1", true},
                 {"0", false},   {"-1", true},   {"2.5", true}};
    for (const auto& c : cases)
        EXPECT_EQ(StrToBool(c.text), c.value) << c.text;
    bool value = true;
    EXPECT_FALSE(TryStrToBool("yes", value));
    EXPECT_TRUE(StrToBoolDef("", true));
    try {
        StrToBool("yes");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'yes' is not a valid boolean value");
    }
}

// ---------------------------------------------------------------------------------------------
// File names and files

TEST(SysUtilsFileNames, TakingNamesApart) {
    struct Case {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    } cases[] = {
        {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt"},
        {"c.txt", "", "", "c.txt", ".txt"},
        {"/c.txt", "/", "/", "c.txt", ".txt"},
        {"a/b.c.txt", "a/", "a", "b.c.txt", ".txt"},
        {"a.d/c", "a.d/", "a.d", "c", ""},
        {"dir/", "dir/", "dir", "", ""},
        {".hidden", "", "", ".hidden", ".hidden"},
        {"C:\\Velmar\\Client\\VelmarC.ini", "C:\\Velmar\\Client\\", "C:\\Velmar\\Client",
         "VelmarC.ini", ".ini"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    }
    EXPECT_EQ(ChangeFileExt("a/b.txt", ".ini"), "a/b.ini");
    EXPECT_EQ(ChangeFileExt("a.d/b", ".x"), "a.d/b.x");
    EXPECT_EQ(ChangeFileExt("a.txt", ""), "a");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a"), "a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a/"), "a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a\\"), "a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a/"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");  // the root stays the root
}

class SysUtilsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root_ =
            std::filesystem::temp_directory_path() /
            ("kv_sysutils_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string Path(const std::string& relative) const { return (root_ / relative).string(); }

    std::filesystem::path root_;
};

TEST_F(SysUtilsFiles, CreateFindAndDelete) {
    const std::string nested = Path("a/b/c");
    EXPECT_FALSE(DirectoryExists(nested));
    EXPECT_TRUE(ForceDirectories(nested + "/"));
    EXPECT_TRUE(DirectoryExists(nested));
    EXPECT_TRUE(ForceDirectories(nested));  // already there
    EXPECT_FALSE(FileExists(nested));       // a directory is no file

    const std::string file = Path("a/b/f.txt");
    EXPECT_FALSE(FileExists(file));
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(ForceDirectories(file + "/sub"));  // a file is in the way

    EXPECT_FALSE(DeleteFile(nested));  // not for directories
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(DirectoryExists(""));
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_FALSE(GetCurrentDir().empty());
}

}  // namespace
}  // namespace kv
