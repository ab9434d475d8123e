#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TStrings& list) {
    Lines lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

void Fill(TStrings& list, const Lines& lines) {
    list.Clear();
    for (const std::string& line : lines)
        list.Add(line);
}

TEST(Strings, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
    struct Case {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\n\r", {"a", ""}},
        {"名字=值\n", {"名字=值"}},
    };
    TStringList list;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        list.SetText(c.text);
        EXPECT_EQ(LinesOf(list), c.lines);
    }
    Fill(list, {"a", "", "b"});
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    list.Clear();
    EXPECT_EQ(list.Text(), "");
}

TEST(Strings, CommaTextQuotesWhatNeedsIt) {
    struct Case {
        Lines lines;
        std::string text;
    } cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b"}, "a,b"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"x,y"}, "\"x,y\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"a", "", "b"}, "a,,b"},
        {{"tab\there"}, "\"tab\there\""},
        {{"中文", "sp01.style;"}, "中文,sp01.style;"},
    };
    TStringList list;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Fill(list, c.lines);
        EXPECT_EQ(list.CommaText(), c.text);
        list.SetCommaText(c.text);
        EXPECT_EQ(LinesOf(list), c.lines);
    }
}

TEST(Strings, CommaTextReadsThePlatformsWay) {
    struct Case {
        std::string text;
        Lines lines;
    } cases[] = {
        {" a , b ", {"a", "b"}},
        {"a b", {"a", "b"}},  // a blank ends an unquoted item
        {"a,", {"a", ""}},
        {",a", {"", "a"}},
        {"\"unterminated", {"unterminated"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {"\"\"\"\"", {"\""}},
        {std::string("a\0b", 3), {"a"}},  // a NUL ends the text
        {"   ", {}},
    };
    TStringList list;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        list.SetCommaText(c.text);
        EXPECT_EQ(LinesOf(list), c.lines);
    }
}

TEST(Strings, DelimitedTextWithOwnDelimiterQuoteAndStrictness) {
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    Fill(list, {"a b", "c;d", "e"});
    EXPECT_EQ(list.DelimitedText(), "'a b';'c;d';e");
    list.SetDelimitedText("x y;'p;q'");
    EXPECT_EQ(LinesOf(list), (Lines{"x", "y", "p;q"}));

    list.SetStrictDelimiter(true);
    list.SetDelimitedText(" x y ;z");
    EXPECT_EQ(LinesOf(list), (Lines{" x y ", "z"}));
    EXPECT_EQ(list.DelimitedText(), " x y ;z");
    // CommaText keeps its own rules whatever the list's settings.
    EXPECT_EQ(list.CommaText(), "\" x y \",z");
}

TEST(Strings, NamesAndValues) {
    TStringList list;
    list.SetText("Sys001=1\r\nSys002=/\r\nnoequals\r\nSys001=9\r\n=empty name\r\na=b=c\r\n");
    EXPECT_EQ(list.Names(0), "Sys001");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("sys001"), "1");  // the first line of a name counts
    EXPECT_EQ(list.Values("Sys002"), "/");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.Values("a"), "b=c");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.ValueFromIndex(4), "empty name");
    EXPECT_EQ(list.IndexOfName("SYS002"), 1);
    EXPECT_EQ(list.IndexOfName("noequals"), -1);

    list.SetValues("Sys002", "-");
    EXPECT_EQ(list[1], "Sys002=-");
    list.SetValues("New", "x");
    EXPECT_EQ(list[list.Count() - 1], "New=x");
    list.SetValues("Sys001", "");  // deletes the first Sys001 line
    EXPECT_EQ(list.Values("Sys001"), "9");
    list.SetValues("absent", "");
    EXPECT_EQ(list.Count(), 6);
    list.SetValueFromIndex(0, "slash");
    EXPECT_EQ(list[0], "Sys002=slash");
}

TEST(Strings, SortedListsAndDuplicates) {
    struct Case {
        TDuplicates duplicates;
        Lines expected;
        bool raises;
    } cases[] = {
        {dupIgnore, {"A", "b", "c"}, false},
        {dupAccept, {"a", "A", "b", "c"}, false},
        {dupError, {"A", "b", "c"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(GetEnumName(TypeInfo<TDuplicates>(), c.duplicates));
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.duplicates);
        list.Add("b");
        list.Add("A");
        list.Add("c");
        if (c.raises) {
            try {
                list.Add("a");
                FAIL() << "no error";
            } catch (const EStringListError& e) {
                EXPECT_EQ(e.Message(), "String list does not allow duplicates");
            }
        } else {
            EXPECT_EQ(list.Add("a"), 0);
        }
        EXPECT_EQ(LinesOf(list), c.expected);
    }
}

TEST(Strings, SortedListSearchesAndRefusesPositionalChanges) {
    TStringList list;
    Fill(list, {"pear", "Apple", "fig"});
    list.SetSorted(true);
    EXPECT_EQ(LinesOf(list), (Lines{"Apple", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf("PEAR"), 2);
    EXPECT_EQ(list.IndexOf("plum"), -1);

    for (auto change :
         {+[](TStringList& l) { l.Insert(0, "x"); }, +[](TStringList& l) { l.SetStrings(0, "x"); },
          +[](TStringList& l) { l.Exchange(0, 1); }, +[](TStringList& l) { l.Move(0, 2); }}) {
        EXPECT_THROW(change(list), EStringListError);
        EXPECT_EQ(LinesOf(list), (Lines{"Apple", "fig", "pear"}));
    }

    list.Add("apple2");
    list.SetCaseSensitive(true);  // "Apple" < "apple2" < "fig" < "pear" bytewise
    EXPECT_EQ(LinesOf(list), (Lines{"Apple", "apple2", "fig", "pear"}));
    EXPECT_EQ(list.IndexOf("APPLE"), -1);
    list.Add("Zebra");
    EXPECT_EQ(list[1], "Zebra");
}

TEST(Strings, SortsLikeAnOrderedComparison) {
    TStringList list;
    Lines expected;
    unsigned seed = 12345;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::string line = "k" + IntToStr(static_cast<int>((seed >> 8) % 1000));
        list.Add(line);
        expected.push_back(line);
    }
    std::sort(expected.begin(), expected.end());
    list.Sort();
    EXPECT_EQ(LinesOf(list), expected);

    TStringList custom;
    int tag = 0;
    custom.AddObject("ccc", nullptr);
    custom.AddPointer("a", &tag);
    custom.Add("bb");
    custom.CustomSort([](TStringList& l, int i, int j) {
        return static_cast<int>(l[i].size()) - static_cast<int>(l[j].size());
    });
    EXPECT_EQ(LinesOf(custom), (Lines{"a", "bb", "ccc"}));
    EXPECT_EQ(custom.Pointers(0), &tag);
}

TEST(Strings, IndexErrorsNameTheIndex) {
    TStringList list;
    Fill(list, {"a", "b", "c"});
    try {
        list.Strings(3);
        FAIL() << "no error";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_THROW(list.Objects(5), EStringListError);
    EXPECT_THROW(list.Insert(4, "x"), EStringListError);
    EXPECT_THROW(list.Exchange(0, 3), EStringListError);
    EXPECT_THROW(list.Move(3, 0), EStringListError);
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));
    list.Insert(3, "d");
    EXPECT_EQ(list[3], "d");
}

class TChangeCounter : public TObject {
    KV_CLASS(TChangeCounter, TObject)
public:
    TChangeCounter() = default;
    void Changing(TObject*) { ++changing; }
    void Changed(TObject* sender) {
        ++changed;
        lastSender = sender;
    }
    int changing = 0;
    int changed = 0;
    TObject* lastSender = nullptr;
};

KV_PUBLISHED(TChangeCounter) {}

TEST(Strings, ChangeEventsAreBatchedByUpdates) {
    TChangeCounter counter;
    TStringList list;
    list.OnChanging = TNotifyEvent(&counter, &TChangeCounter::Changing);
    list.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
    list.Add("a");
    EXPECT_EQ(counter.changing, 1);
    EXPECT_EQ(counter.changed, 1);
    EXPECT_EQ(counter.lastSender, &list);

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(counter.changed, 1);
    list.EndUpdate();
    EXPECT_EQ(counter.changing, 2);
    EXPECT_EQ(counter.changed, 2);

    list.SetText("x\ny\nz");
    list.SetCommaText("p,q");
    EXPECT_EQ(counter.changed, 4);
    list.EndUpdate();  // unbalanced: nothing happens
    EXPECT_EQ(counter.changed, 4);
}

TEST(Strings, AttachedPointersTravelWithTheirLines) {
    TStringList owner;
    TStringList list;
    int code = 0;
    list.AddObject("obj", &owner);
    list.AddPointer("code", &code);
    list.Add("plain");
    EXPECT_EQ(list.Objects(0), &owner);
    EXPECT_EQ(list.Pointers(1), &code);
    EXPECT_EQ(list.IndexOfObject(&owner), 0);
    EXPECT_EQ(list.IndexOfPointer(&code), 1);
    EXPECT_EQ(list.IndexOfPointer(nullptr), 2);

    list.Move(0, 2);
    EXPECT_EQ(LinesOf(list), (Lines{"code", "plain", "obj"}));
    EXPECT_EQ(list.Objects(2), &owner);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Pointers(2), &code);

    TStringList copy;
    copy.SetDelimiter('|');
    list.SetDelimiter(';');
    copy.Assign(&list);
    EXPECT_EQ(LinesOf(copy), LinesOf(list));
    EXPECT_EQ(copy.Objects(0), &owner);
    EXPECT_EQ(copy.Delimiter(), ';');
    EXPECT_TRUE(copy.Equals(list));
    copy.AddStrings(copy);
    EXPECT_EQ(copy.Count(), 6);
    EXPECT_EQ(copy.Pointers(5), &code);
}

class StringsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(::testing::TempDir()) / ("kv_strings_" + IntToStr(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string PathOf(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST_F(StringsFileTest, LoadsUtf8WithOrWithoutBomAndSavesWithCrLf) {
    {
        std::ofstream out(PathOf("bom.txt"), std::ios::binary);
        out << "\xEF\xBB\xBF"
            << "936=CHS\r\n950=CHT\n";
    }
    TStringList list;
    list.LoadFromFile(PathOf("bom.txt"));
    EXPECT_EQ(LinesOf(list), (Lines{"936=CHS", "950=CHT"}));
    EXPECT_EQ(list.Values("950"), "CHT");

    list.Add("条件方案");
    list.SaveToFile(PathOf("out.txt"));
    std::ifstream in(PathOf("out.txt"), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(written, "936=CHS\r\n950=CHT\r\n条件方案\r\n");
    TStringList again;
    again.LoadFromFile(PathOf("out.txt"));
    EXPECT_TRUE(again.Equals(list));
}

TEST_F(StringsFileTest, FailuresRaiseAndKeepTheList) {
    TStringList list;
    list.Add("kept");
    EXPECT_THROW(list.LoadFromFile(PathOf("missing.txt")), EFOpenError);
    EXPECT_THROW(list.LoadFromFile(dir_.string()), EStreamError);
    EXPECT_EQ(LinesOf(list), Lines{"kept"});
    EXPECT_THROW(list.SaveToFile(PathOf("no/such/dir.txt")), EStreamError);
}

}  // namespace
}  // namespace kv
