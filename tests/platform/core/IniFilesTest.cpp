#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/IniFiles.h"
#include "platform/core/Strings.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class IniFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kv_ini_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& text, const std::string& name = "test.ini") {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder_;
};

// Both classes read the same way; each case is checked with both.
std::vector<std::unique_ptr<TCustomIniFile>> BothReaders(const std::string& path) {
    std::vector<std::unique_ptr<TCustomIniFile>> readers;
    readers.push_back(std::make_unique<TIniFile>(path));
    readers.push_back(std::make_unique<TMemIniFile>(path));
    return readers;
}

const char kSample[] =
    "\xEF\xBB\xBF"
    "; leading comment\r\n"
    "orphan=before any section\r\n"
    "[Server Information]\r\n"
    "  ComputerName  =  srv1;srv2;  \r\n"
    "ServerPort=8000\r\n"
    "# hash comment=ignored\r\n"
    "line without equals sign\r\n"
    "serverport=9999\r\n"
    "Empty=\r\n"
    "\r\n"
    "[CodePage]\r\n"
    "UICodePage=950\r\n"
    "[ server information ]\r\n"
    "SupportCallBack=1\r\n"
    "ComputerName=ignored duplicate\r\n"
    "[中文]\r\n"
    "名称=值\r\n";

TEST_F(IniFilesTest, ReadsThePlatformsLineRules) {
    const std::string path = Write(kSample);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Server Information", "ComputerName", "srv1;srv2;"},  // blanks trimmed, BOM skipped
        {"SERVER INFORMATION", "computername", "srv1;srv2;"},  // names without case
        {"Server Information", "ServerPort", "8000"},          // first duplicate key counts
        {"Server Information", "SupportCallBack", "1"},        // repeated section merges
        {"Server Information", "Empty", ""},                   // present but empty
        {"Server Information", "# hash comment", "<default>"},
        {"Server Information", "line without equals sign", "<default>"},
        {"CodePage", "UICodePage", "950"},
        {"CodePage", "DBCodePage", "<default>"},
        {"", "orphan", "<default>"},  // entries before the first section belong nowhere
        {"Missing", "Key", "<default>"},
        {"中文", "名称", "值"},
    };
    for (const auto& ini : BothReaders(path))
        for (const Case& c : cases)
            EXPECT_EQ(ini->ReadString(c.section, c.key, "<default>"), c.expected)
                << c.section << "/" << c.key;
}

TEST_F(IniFilesTest, ListsSectionsKeysAndValuesInFileOrder) {
    const std::string path = Write(kSample);
    for (const auto& ini : BothReaders(path)) {
        EXPECT_EQ(ini->ReadSections(),
                  (std::vector<std::string>{"Server Information", "CodePage", "中文"}));
        EXPECT_EQ(
            ini->ReadSection("server information"),
            (std::vector<std::string>{"ComputerName", "ServerPort", "Empty", "SupportCallBack"}));
        EXPECT_EQ(ini->ReadSectionValues("Server Information"),
                  (std::vector<std::string>{"ComputerName=srv1;srv2;", "ServerPort=8000",
                                            "Empty=", "SupportCallBack=1"}));
        EXPECT_TRUE(ini->SectionExists("codepage"));
        EXPECT_FALSE(ini->SectionExists("WorkDLLPath"));
        EXPECT_TRUE(ini->ValueExists("Server Information", "EMPTY"));
        EXPECT_FALSE(ini->ValueExists("Server Information", "Missing"));
        EXPECT_TRUE(ini->ReadSection("Missing").empty());
    }
}

TEST_F(IniFilesTest, IntegerBooleanAndFloatReads) {
    const std::string path = Write(
        "[N]\nDec= -7 \nPlus=+12\nDollar=$1F\nHex=0x10\nHexUpper=0XfF\nAll=$7FFFFFFF\n"
        "Min=-2147483648\nOver=2147483648\nHexOver=$100000000\nText=abc\nTail=12abc\n"
        "Frac=1.5\nTrue=true\nTwo=2\nZero=0\nExp=-2.5e3\nComma=1,5\nInf=inf\nNan=nan\n"
        "Empty=\n");
    TMemIniFile ini(path);
    struct IntCase {
        const char* key;
        int expected;
    };
    const IntCase ints[] = {{"Dec", -7},       {"Plus", 12},     {"Dollar", 31},   {"Hex", 16},
                            {"HexUpper", 255}, {"All", INT_MAX}, {"Min", INT_MIN}, {"Over", 99},
                            {"HexOver", 99},   {"Text", 99},     {"Tail", 99},     {"Frac", 99},
                            {"Empty", 99},     {"Missing", 99}};
    for (const IntCase& c : ints)
        EXPECT_EQ(ini.ReadInteger("N", c.key, 99), c.expected) << c.key;

    // Booleans are integers: a word is no number and gives the default either way.
    EXPECT_TRUE(ini.ReadBool("N", "Two", false));
    EXPECT_FALSE(ini.ReadBool("N", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "True", true));
    EXPECT_FALSE(ini.ReadBool("N", "True", false));
    EXPECT_TRUE(ini.ReadBool("N", "Missing", true));

    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "Frac", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "Exp", 0), -2500);
    for (const char* key : {"Comma", "Inf", "Nan", "Text", "Empty", "Missing"})
        EXPECT_DOUBLE_EQ(ini.ReadFloat("N", key, 7.25), 7.25) << key;
}

TEST_F(IniFilesTest, MissingFileGivesEveryDefaultAndCreatesNothing) {
    const std::string path = (folder_ / "absent.ini").string();
    for (const auto& ini : BothReaders(path)) {
        EXPECT_EQ(ini->ReadString("Server Information", "ComputerName", "127.0.0.1"), "127.0.0.1");
        EXPECT_EQ(ini->ReadInteger("Server Information", "ServerPort", 211), 211);
        EXPECT_TRUE(ini->ReadSections().empty());
        EXPECT_FALSE(ini->SectionExists("Server Information"));
    }
    EXPECT_TRUE(FolderEntries().empty());
    // A folder in place of the file reads as missing too.
    fs::create_directory(folder_ / "dir.ini");
    EXPECT_EQ(TIniFile((folder_ / "dir.ini").string()).ReadString("A", "B", "d"), "d");
}

TEST_F(IniFilesTest, TIniFileStripsOnePairOfQuotesTMemIniFileKeepsThem) {
    const std::string path = Write("[Q]\nD=\"a b\"\nS='x'\nMixed=\"y'\nOne=\"\n");
    TIniFile file(path);
    EXPECT_EQ(file.ReadString("Q", "D", ""), "a b");
    EXPECT_EQ(file.ReadString("Q", "S", ""), "x");
    EXPECT_EQ(file.ReadString("Q", "Mixed", ""), "\"y'");
    EXPECT_EQ(file.ReadString("Q", "One", ""), "\"");
    EXPECT_EQ(TMemIniFile(path).ReadString("Q", "D", ""), "\"a b\"");
}

TEST_F(IniFilesTest, MemIniFileWritesOnlyOnUpdateAndKeepsCommentsAndLayout) {
    const std::string original =
        "; settings\r\n[A]\r\nx = 1\r\n; note\r\nold=2\r\n\r\n[B]\r\ny=3\r\n";
    const std::string path = Write(original);
    TMemIniFile ini(path);
    ini.WriteString("a", "X", "10");  // existing key, other case: replaced in place
    ini.WriteString("A", "new", "n");
    ini.WriteInteger("C", "z", -5);
    EXPECT_EQ(ini.ReadString("A", "new", ""), "n");
    EXPECT_EQ(Contents(path), original);  // nothing written yet

    ini.UpdateFile();
    EXPECT_EQ(Contents(path),
              "; settings\r\n[A]\r\nx=10\r\n; note\r\nold=2\r\nnew=n\r\n\r\n[B]\r\ny=3\r\n"
              "[C]\r\nz=-5\r\n");
    EXPECT_EQ(TIniFile(path).ReadInteger("C", "Z", 0), -5);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"test.ini"});  // no temporary left
}

TEST_F(IniFilesTest, TIniFileWritesAtOnceAndSeesChangesOnDisk) {
    const std::string path = (folder_ / "new.ini").string();
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "K", "none"), "none");
    ini.WriteBool("S", "On", true);
    ini.WriteFloat("S", "Big", 1.5e20);
    ini.WriteFloat("S", "Tenth", 0.1);
    EXPECT_EQ(Contents(path), "[S]\nOn=1\nBig=1.5E20\nTenth=0.1\n");
    EXPECT_DOUBLE_EQ(TMemIniFile(path).ReadFloat("S", "Big", 0), 1.5e20);

    // Another writer replaces the file: the next read sees its content.
    std::ofstream(path + ".other") << "[S]\nOn=0\n";
    fs::rename(path + ".other", path);
    EXPECT_FALSE(ini.ReadBool("S", "On", true));
    EXPECT_EQ(ini.ReadSection("S"), std::vector<std::string>{"On"});
}

TEST_F(IniFilesTest, EraseSectionAndDeleteKeyAgreeWithTheRewrittenFile) {
    const std::string path = Write("[A]\nk=1\nK=2\nm=3\n[B]\nn=4\n[a]\nk=5\n");
    TMemIniFile ini(path);
    ini.DeleteKey("A", "k");  // removes the later duplicates too
    ini.EraseSection("b");
    ini.DeleteKey("Missing", "x");
    ini.UpdateFile();
    TIniFile reread(path);
    EXPECT_EQ(reread.ReadString("A", "k", "gone"), "gone");
    EXPECT_EQ(reread.ReadSections(), std::vector<std::string>{"A"});
    EXPECT_EQ(reread.ReadSectionValues("A"), std::vector<std::string>{"m=3"});

    reread.EraseSection("A");
    EXPECT_EQ(Contents(path), "");
}

TEST_F(IniFilesTest, RejectsWritesTheFileCannotHoldAndLeavesItUnchanged) {
    const std::string original = "[A]\nk=1\n";
    const std::string path = Write(original);
    TIniFile ini(path);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case bad[] = {{"A", "k=x", "v"}, {"A", "", "v"},    {"A", "  ", "v"},
                        {"A", ";c", "v"},  {"A", "[s", "v"},  {"A", "k", "two\nlines"},
                        {"A]", "k", "v"},  {"A\n", "k", "v"}, {"A", "k\rx", "v"}};
    for (const Case& c : bad)
        EXPECT_THROW(ini.WriteString(c.section, c.key, c.value), EIniFileException) << c.key;
    EXPECT_EQ(Contents(path), original);
}

TEST_F(IniFilesTest, FailedWriteRaisesWithTheFileNameAndKeepsMemory) {
    const std::string path = (folder_ / "no such folder" / "x.ini").string();
    TMemIniFile ini(path);
    ini.WriteString("A", "k", "v");
    try {
        ini.UpdateFile();
        FAIL() << "no error raised";
    } catch (const EIniFileException& error) {
        EXPECT_NE(error.Message().find("Unable to write to " + path), std::string::npos);
    }
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
    EXPECT_THROW(TIniFile(path).WriteString("A", "k", "v"), EIniFileException);
}

TEST_F(IniFilesTest, RewriteKeepsPermissionsAndWritesThroughLinks) {
    const std::string target = Write("[A]\nk=1\n", "real.ini");
    ::chmod(target.c_str(), 0600);
    const fs::path link = folder_ / "link.ini";
    fs::create_symlink(target, link);
    TIniFile(link.string()).WriteString("A", "k", "2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(target), "[A]\nk=2\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFilesTest, StringsRoundTripAndRename) {
    TMemIniFile ini(Write("[A]\nk=1\n"));
    ini.SetStrings({"; c", "[X]", "a = b", "[Y]", "c=d"});
    EXPECT_EQ(ini.ReadString("x", "A", ""), "b");
    EXPECT_EQ(ini.GetStrings(), (std::vector<std::string>{"; c", "[X]", "a = b", "[Y]", "c=d"}));
    ini.Clear();
    EXPECT_TRUE(ini.ReadSections().empty());

    const std::string other = Write("[O]\nq=7\n", "other.ini");
    ini.Rename(other, true);
    EXPECT_EQ(ini.FileName(), other);
    EXPECT_EQ(ini.ReadInteger("O", "q", 0), 7);
}

TEST_F(IniFilesTest, StringListsAreClearedAndFilledInFileOrder) {
    TMemIniFile ini(Write("[W]\nPath1=Work\npath2 = \\Lib\n[X]\n"));
    TStringList list;
    list.Add("stale");
    ini.ReadSection("w", list);
    EXPECT_EQ(list.CommaText(), "Path1,path2");
    ini.ReadSectionValues("W", list);
    EXPECT_EQ(list.Values("PATH2"), "\\Lib");
    EXPECT_EQ(list.Count(), 2);
    ini.ReadSections(list);
    EXPECT_EQ(list.CommaText(), "W,X");

    list.SetText("[Y]\nk=v\n");
    ini.SetStrings(list);
    EXPECT_EQ(ini.ReadString("Y", "K", ""), "v");
    ini.GetStrings(list);
    EXPECT_EQ(list.CommaText(), "[Y],k=v");
}

TEST_F(IniFilesTest, ArbitraryBytesReadWithoutHarm) {
    std::string bytes = "[A\0B]\n\xFF\xFE=\x80\x81\n[\xC3]\nk\0=v\0w\n=\n[]\n==\n"s;
    bytes += std::string("\0\0\0", 3);
    const std::string path = Write(bytes);
    for (const auto& ini : BothReaders(path)) {
        for (const std::string& section : ini->ReadSections())
            for (const std::string& key : ini->ReadSection(section))
                EXPECT_TRUE(ini->ValueExists(section, key));
        EXPECT_EQ(ini->ReadString("\xC3", std::string("k\0", 2), ""), std::string("v\0w", 3));
    }
}

}  // namespace
}  // namespace kv
