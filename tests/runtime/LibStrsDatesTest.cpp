#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/core/Variant.h"
#include "src/runtime/LibStrs.h"

namespace kv {
namespace {

struct Ymd {
    int year;
    int month;
    int day;
};

TDateTime D(Ymd d) {
    return EncodeDate(d.year, d.month, d.day);
}

struct FormatCase {
    int form;
    const char* separator;
    Ymd date;
    const char* date_text;
    const char* year_month_text;
};

TEST(LibStrsDateForms, FormatDateAndYearMonth) {
    const FormatCase cases[] = {
        {1, "/", {2024, 1, 31}, "2024/01/31", "2024/01"},
        {2, "-", {2024, 1, 31}, "01-31-2024", "01-2024"},
        {3, ".", {2024, 1, 31}, "31.01.2024", "01.2024"},
        {4, "/", {2024, 1, 31}, "113/01/31", "113/01"},  // widths are minimums
        {4, "/", {1920, 3, 4}, "09/03/04", "09/03"},
        {5, ".", {1999, 12, 5}, "088.12.05", "088.12"},
        {1, "", {2024, 1, 31}, "20240131", "202401"},
        {1, "//", {2024, 1, 31}, "2024/01/31", "2024/01"},  // only the first character
        {1, "年", {2024, 1, 31}, "2024年01年31", "2024年01"},
        {6, "/", {2024, 1, 31}, "", ""},
        {0, "/", {2024, 1, 31}, "", ""},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FormatDateStr(c.form, c.separator, D(c.date)), c.date_text) << c.form;
        EXPECT_EQ(FormatYearMonthStr(c.form, c.separator, D(c.date)), c.year_month_text) << c.form;
    }
}

TEST(LibStrsDateForms, NoDateGivesNoText) {
    for (int form = 1; form <= 5; ++form) {
        EXPECT_EQ(FormatDateStr(form, "/", 0), "");
        EXPECT_EQ(FormatYearMonthStr(form, "/", 0), "");
    }
    EXPECT_EQ(FormatDateStr(1, "/", 1e12), "");  // beyond the calendar
}

struct ParseCase {
    const char* text;
    int form;
    const char* separator;
    Ymd expected;  // year 0: no date
};

TEST(LibStrsDateForms, ParseDateStr) {
    const ParseCase cases[] = {
        {"113/02/30", 4, "/", {2024, 3, 1}},  // a day past the month's end runs on
        {"2023/02/29", 1, "/", {2023, 3, 1}},
        {"2024/13/01", 1, "/", {0, 0, 0}},
        {"2024/01", 1, "/", {0, 0, 0}},
        {"", 1, "/", {0, 0, 0}},
        {"   ", 1, "/", {0, 0, 0}},
        {" 2024 / 1 / 5 ", 1, "/", {2024, 1, 5}},
        {"12/31/2024", 2, "/", {2024, 12, 31}},
        {"31.12.2024", 3, ".", {2024, 12, 31}},
        {"088.12.05", 5, ".", {1999, 12, 5}},
        {"2024--01--05", 1, "--", {2024, 1, 5}},  // the whole separator text
        {"2024/01/05/tail", 1, "/", {2024, 1, 5}},
        {"2024/01/05", 6, "/", {0, 0, 0}},
        {"2024/0/05", 1, "/", {0, 0, 0}},
        {"2024/ab/05", 1, "/", {0, 0, 0}},
        {"-5/01/05", 1, "/", {0, 0, 0}},
        {"20240105", 1, "", {0, 0, 0}},
        {"9999/12/99", 1, "/", {0, 0, 0}},        // would run past the calendar's end
        {"2147483647/01/01", 4, "/", {0, 0, 0}},  // no overflow of the year
        {"2024/01/2147483647", 1, "/", {0, 0, 0}},
    };
    for (const ParseCase& c : cases) {
        TDateTime expected = c.expected.year == 0 ? 0 : D(c.expected);
        EXPECT_EQ(ParseDateStr(c.text, c.form, c.separator), expected)
            << c.text << " form " << c.form;
    }
}

TEST(LibStrsDateForms, ParseReadsWhatFormatWrote) {
    const Ymd dates[] = {{1912, 1, 1}, {1999, 12, 5}, {2000, 2, 29}, {2024, 1, 31}, {9999, 12, 31}};
    for (int form = 1; form <= 5; ++form) {
        for (const Ymd& d : dates) {
            std::string text = FormatDateStr(form, "-", D(d));
            EXPECT_EQ(ParseDateStr(text, form, "-"), D(d)) << text << " form " << form;
        }
    }
}

TEST(LibStrsYmd, YmdToDate) {
    EXPECT_EQ(YmdToDate("20240131"), D({2024, 1, 31}));
    const char* const bad[] = {"",         "2024013",  "202401311", "20240230",
                               "00000101", "2024ab31", "20241301"};
    for (const char* text : bad)
        EXPECT_EQ(YmdToDate(text), 0) << text;
}

TEST(LibStrsYmd, IsValidYmd) {
    struct ValidCase {
        const char* text;
        bool valid;
    };
    const ValidCase cases[] = {
        {"", true},           {"20240229", true},  {"17530101", true},  {"99991231", true},
        {"17521231", false},  {"20230229", false}, {"20241301", false}, {"2024010a", false},
        {"202401011", false}, {"9990101", false},  // year 999 written without its leading zero
        {" 2024010", false},
    };
    for (const ValidCase& c : cases)
        EXPECT_EQ(IsValidYmd(c.text), c.valid) << c.text;
}

struct ShiftCase {
    Variant value;
    const char* unit;
    int n;
    const char* expected;
};

TEST(LibStrsYmd, ShiftDate) {
    const ShiftCase cases[] = {
        {"20240131", "M", 1, "20240229"},
        {"20240315", "M", -3, "20231215"},
        {"20241215", "m", 1, "20250115"},
        {"20240229", "Y", 1, "20250228"},
        {"20240229", "y", 4, "20280229"},
        {"20240331", "M", 1, "20240430"},
        {"20240115", "M", -1, "20231215"},
        {"20240115", "M", -13, "20221215"},
        {"20240115", "M", 0, "20240115"},
        {"20241231", "D", 1, "20250101"},
        {"20240301", "d", -1, "20240229"},
        {"20240131", "X", 1, ""},
        {"20240131", "YY", 1, ""},
        {"20240131", "", 1, ""},
        {"2024013", "D", 1, ""},
        {"99991231", "D", 1, ""},
        {"00010115", "M", -1, ""},
        {"20240101", "Y", INT_MAX, ""},
        {"20240101", "M", INT_MIN, ""},
        {Variant::Wide("20240131"), "D", 1, "20240201"},
        {Variant::Date(D({2024, 1, 31}) + 0.75), "D", 1, "20240201"},
        {Variant::Date(D({2024, 1, 31})), "M", 1, "20240229"},
        {Variant::Date(0), "D", 1, ""},
        {Variant(45322.0), "D", 1, ""},  // a plain number is no date
        {Variant(20240131), "D", 1, ""},
        {Variant(), "D", 1, ""},
        {Variant::Null(), "D", 1, ""},
    };
    for (const ShiftCase& c : cases) {
        EXPECT_EQ(ShiftDate(c.value, c.unit, c.n), c.expected)
            << c.value << " " << c.unit << " " << c.n;
    }
}

TEST(LibStrsYmd, DaysOfMonth) {
    EXPECT_EQ(DaysOfMonth(1900, 2), 28);
    EXPECT_EQ(DaysOfMonth(2000, 2), 29);
    EXPECT_EQ(DaysOfMonth(2023, 2), 28);
    EXPECT_EQ(DaysOfMonth(2024, 4), 30);
    EXPECT_EQ(DaysOfMonth(2024, 12), 31);
    EXPECT_EQ(DaysOfMonth(2024, 13), 0);
    EXPECT_EQ(DaysOfMonth(2024, 0), 0);
}

}  // namespace
}  // namespace kv
