#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

struct Ymd {
    int y, m, d;
};

void ExpectDate(TDateTime value, Ymd expected) {
    int y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    EXPECT_EQ(y, expected.y) << value;
    EXPECT_EQ(m, expected.m) << value;
    EXPECT_EQ(d, expected.d) << value;
}

// ---------------------------------------------------------------------------------------------
// Calendar

TEST(DateTimeCalendar, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_TRUE(IsLeapYear(1600));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_FALSE(IsLeapYear(2100));
    struct Case {
        int year, month, days;
    } cases[] = {{2024, 2, 29}, {2023, 2, 28},  {1900, 2, 28}, {2000, 2, 29},
                 {2024, 4, 30}, {2024, 12, 31}, {2024, 13, 0}, {2024, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(DaysInAMonth(c.year, c.month), c.days);
    EXPECT_EQ(MonthDays[1][1], 29);
    EXPECT_EQ(MonthDays[0][1], 28);
}

TEST(DateTimeCalendar, EncodeDateCountsDaysFromTheEpoch) {
    struct Case {
        Ymd date;
        double days;
    } cases[] = {
        {{1899, 12, 30}, 0},  {{1899, 12, 31}, 1},       {{1900, 1, 1}, 2},
        {{1899, 12, 29}, -1}, {{2000, 1, 1}, 36526},     {{2024, 2, 29}, 45351},
        {{1, 1, 1}, -693593}, {{9999, 12, 31}, 2958465}, {{1753, 1, 1}, -53688},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.date.y, c.date.m, c.date.d), c.days);
        ExpectDate(c.days, c.date);
    }
}

TEST(DateTimeCalendar, EveryDayRoundTrips) {
    // Every day of years 1 to 9999 decodes to a valid date that encodes back to itself, and
    // consecutive days advance the calendar by one day.
    int lastY = 0, lastM = 12, lastD = 31;
    for (int day = -693593; day <= 2958465; ++day) {
        int y = 0, m = 0, d = 0;
        DecodeDate(day, y, m, d);
        TDateTime back = 0;
        ASSERT_TRUE(TryEncodeDate(y, m, d, back)) << day;
        ASSERT_EQ(back, day);
        const bool nextDay = d == lastD + 1 && m == lastM && y == lastY;
        const bool nextMonth =
            d == 1 && lastD == DaysInAMonth(lastY, lastM) &&
            ((m == lastM + 1 && y == lastY) || (m == 1 && lastM == 12 && y == lastY + 1));
        ASSERT_TRUE(nextDay || nextMonth) << day;
        lastY = y, lastM = m, lastD = d;
    }
}

TEST(DateTimeCalendar, InvalidDatesAndTimesRaise) {
    const Ymd badDates[] = {{2023, 2, 29}, {2024, 2, 30}, {1900, 2, 29}, {2100, 2, 29},
                            {0, 1, 1},     {10000, 1, 1}, {2024, 13, 1}, {2024, 0, 1},
                            {2024, 1, 0},  {2024, 4, 31}, {-1, 1, 1}};
    for (const auto& b : badDates) {
        TDateTime value = 123;
        EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, value));
        EXPECT_EQ(value, 123);
        try {
            EncodeDate(b.y, b.m, b.d);
            ADD_FAILURE() << b.y << "-" << b.m << "-" << b.d;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    const int badTimes[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000},
                               {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, -1}};
    for (const auto& t : badTimes) {
        try {
            EncodeTime(t[0], t[1], t[2], t[3]);
            ADD_FAILURE();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to time encode");
        }
    }
    EXPECT_THROW(EncodeDateTime(2024, 2, 30, 0, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeDateTime(2024, 2, 1, 25, 0, 0, 0), EConvertError);
}

TEST(DateTimeCalendar, TimesDecodeToTheExactMillisecond) {
    // Times built by encoding (alone, added to a date, or composed before the epoch) decode
    // to the very millisecond, never to the one before.
    const int msValues[] = {0, 1, 499, 500, 998, 999};
    const TDateTime days[] = {0, 45356, 2958465};
    for (int h = 0; h < 24; ++h) {
        for (int n = 0; n < 60; ++n) {
            for (int s = 0; s < 60; s += 7) {
                for (int ms : msValues) {
                    const TDateTime time = EncodeTime(h, n, s, ms);
                    for (TDateTime day : days) {
                        int hh = 0, nn = 0, ss = 0, zz = 0;
                        DecodeTime(day + time, hh, nn, ss, zz);
                        ASSERT_EQ(hh * 3600000 + nn * 60000 + ss * 1000 + zz,
                                  h * 3600000 + n * 60000 + s * 1000 + ms)
                            << day << " " << h << ":" << n << ":" << s << "." << ms;
                    }
                    const TDateTime old = EncodeDateTime(1753, 1, 1, h, n, s, ms);
                    int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0, zz = 0;
                    DecodeDateTime(old, y, m, d, hh, nn, ss, zz);
                    ASSERT_EQ(y * 10000 + m * 100 + d, 17530101);
                    ASSERT_EQ(hh * 3600000 + nn * 60000 + ss * 1000 + zz,
                              h * 3600000 + n * 60000 + s * 1000 + ms);
                }
            }
        }
    }
}

TEST(DateTimeCalendar, BeforeTheEpochTheFractionIsTheTimeOfDay) {
    // -1.25 is 29 December 1899 at 06:00, not 28 December at 18:00.
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    ExpectDate(-1.25, {1899, 12, 29});
    int h = 0, n = 0, s = 0, ms = 0;
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    ExpectDate(-0.5, {1899, 12, 30});
    DecodeTime(-0.5, h, n, s, ms);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", -1.25), "1899/12/29 06:00");
    EXPECT_EQ(DayOfWeek(-1.25), 6);
    // A time that rounds up to midnight starts the next day, before the epoch as after.
    ExpectDate(-1.9999999999, {1899, 12, 30});
    ExpectDate(1.9999999999, {1900, 1, 1});
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", 1.9999999999), "00:00:00.000");
}

TEST(DateTimeCalendar, DayOfWeekStartsOnSunday) {
    struct Case {
        TDateTime value;
        int expected;
    } cases[] = {{0, 7},
                 {1, 1},
                 {-1, 6},
                 {EncodeDate(2024, 3, 6), 4},
                 {EncodeDate(1, 1, 1), 2},
                 {EncodeDate(2024, 3, 9) + 0.99, 7},
                 {EncodeDate(9999, 12, 31), 6}};
    for (const auto& c : cases)
        EXPECT_EQ(DayOfWeek(c.value), c.expected) << c.value;
}

TEST(DateTimeCalendar, IncMonthClampsTheDayAndKeepsTheTime) {
    struct Case {
        Ymd from;
        int months;
        Ymd to;
    } cases[] = {
        {{2024, 1, 31}, 1, {2024, 2, 29}},   {{2023, 1, 31}, 1, {2023, 2, 28}},
        {{2024, 3, 31}, -1, {2024, 2, 29}},  {{2024, 12, 15}, 1, {2025, 1, 15}},
        {{2024, 3, 15}, -3, {2023, 12, 15}}, {{2024, 1, 31}, 13, {2025, 2, 28}},
        {{2024, 5, 31}, -12, {2023, 5, 31}}, {{2024, 3, 31}, 1, {2024, 4, 30}},
        {{1, 1, 1}, 0, {1, 1, 1}},           {{1900, 1, 15}, -1, {1899, 12, 15}},
    };
    for (const auto& c : cases) {
        const TDateTime from = EncodeDateTime(c.from.y, c.from.m, c.from.d, 6, 30, 0, 0);
        const TDateTime to = IncMonth(from, c.months);
        ExpectDate(to, c.to);
        EXPECT_EQ(FormatDateTime("hh:nn", to), "06:30");
    }
    ExpectDate(IncYear(EncodeDate(2024, 2, 29)), {2025, 2, 28});
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
    EXPECT_THROW(IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
    EXPECT_THROW(IncYear(0, 2'000'000'000), EConvertError);
}

TEST(DateTimeCalendar, IncDayCrossesTheEpochByCalendarDays) {
    const TDateTime sunday = EncodeDateTime(1899, 12, 31, 6, 0, 0, 0);
    EXPECT_EQ(IncDay(sunday, -2), -1.25);  // Friday 06:00, not Saturday 18:00
    EXPECT_EQ(IncDay(-1.25, 2), sunday);
    ExpectDate(IncDay(EncodeDate(2024, 2, 28)), {2024, 2, 29});
    EXPECT_EQ(DateOf(-1.25), -1);
    EXPECT_EQ(TimeOf(-1.25), 0.25);
    EXPECT_EQ(YearOf(EncodeDate(2024, 3, 5)), 2024);
    EXPECT_EQ(MonthOf(EncodeDate(2024, 3, 5)), 3);
    EXPECT_EQ(DayOf(EncodeDate(2024, 3, 5)), 5);
}

TEST(DateTimeCalendar, ValuesThatAreNoDateRaise) {
    int y = 0, m = 0, d = 0;
    EXPECT_THROW(DecodeDate(std::nan(""), y, m, d), EConvertError);
    EXPECT_THROW(DecodeDate(HUGE_VAL, y, m, d), EConvertError);
    EXPECT_THROW(FormatDateTime("yyyy", 1e300), EConvertError);
}

TEST(DateTimeCalendar, ClockReadsLocalTime) {
    const TDateTime now = Now();
    EXPECT_GE(YearOf(now), 2024);
    EXPECT_EQ(Date(), std::floor(Date()));
    EXPECT_GE(Time(), 0);
    EXPECT_LT(Time(), 1);
}

// ---------------------------------------------------------------------------------------------
// FormatDateTime

class FormatDateTimeTest : public ::testing::Test {
protected:
    // Tuesday 5 March 2024, 14:07:09.031
    const TDateTime value_ = EncodeDateTime(2024, 3, 5, 14, 7, 9, 31);
};

TEST_F(FormatDateTimeTest, Specifiers) {
    struct Case {
        const char* format;
        const char* expected;
    } cases[] = {
        {"YYYY", "2024"},
        {"YYYYMMDD", "20240305"},
        {"YYYYMM", "202403"},
        {"YYYY/MM/DD hh:nn:ss:zzz", "2024/03/05 14:07:09:031"},
        {"YYYYMMDDHHNNSSZZZ", "20240305140709031"},
        {"YYYYMMDDHHMMSS", "20240305140709"},  // "MM" after an hour is minutes
        {"hh:mm dd/mm", "14:07 05/03"},
        {"yy", "24"},
        {"yyy", "2024"},
        {"m/d/yyyy", "3/5/2024"},
        {"mmm mmmm", "Mar March"},
        {"ddd dddd", "Tue Tuesday"},
        {"h:n:s.z", "14:7:9.31"},
        {"hh:mm AM/PM", "02:07 PM"},
        {"hh:mm am/pm", "02:07 pm"},
        {"h a/p", "2 p"},
        {"hh ampm", "02 PM"},
        {"'Date:' yyyy", "Date: 2024"},
        {"\"yyyy\"=yyyy", "yyyy=2024"},
        {"'unclosed", "unclosed"},
        {"c", "2024/03/05 14:07:09"},
        {"", "2024/03/05 14:07:09"},
        {"ddddd", "2024/03/05"},
        {"dddddd", "2024/03/05"},
        {"t", "14:07"},
        {"tt", "14:07:09"},
        {"[x]", "[x]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, value_), c.expected) << c.format;
}

TEST_F(FormatDateTimeTest, TwelveHourClockAroundMidnightAndNoon) {
    const TDateTime day = EncodeDate(2024, 3, 5);
    EXPECT_EQ(FormatDateTime("h AM/PM", day), "12 AM");
    EXPECT_EQ(FormatDateTime("h AM/PM", day + EncodeTime(12, 0, 0, 0)), "12 PM");
    EXPECT_EQ(FormatDateTime("h AM/PM", day + EncodeTime(23, 0, 0, 0)), "11 PM");
    EXPECT_EQ(FormatDateTime("c", day), "2024/03/05");  // no time at midnight
}

TEST_F(FormatDateTimeTest, SettingsGiveSeparatorsNamesAndFormats) {
    TFormatSettings s;
    s.DateSeparator = '-';
    s.TimeSeparator = '.';
    s.ShortDateFormat = "dd/mm/yyyy";
    s.LongTimeFormat = "hh:nn";
    s.ShortMonthNames[2] = "Mär";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", value_, s), "2024-03-05 14.07");
    EXPECT_EQ(FormatDateTime("c", value_, s), "05-03-2024 14.07");
    EXPECT_EQ(FormatDateTime("mmm", value_, s), "Mär");
    // A format that names itself stops expanding instead of recursing for ever.
    s.ShortDateFormat = "c";
    EXPECT_NO_THROW(FormatDateTime("c", value_, s));
}

TEST_F(FormatDateTimeTest, DateAndTimeTextsUseTheGlobalSettings) {
    EXPECT_EQ(DateToStr(value_), "2024/03/05");
    EXPECT_EQ(TimeToStr(value_), "14:07:09");
    EXPECT_EQ(DateTimeToStr(value_), "2024/03/05 14:07:09");
    const TFormatSettings saved = FormatSettings;
    FormatSettings.ShortDateFormat = "YYYY/MM/DD";
    FormatSettings.DateSeparator = '.';
    EXPECT_EQ(DateToStr(value_), "2024.03.05");
    FormatSettings = saved;
}

// ---------------------------------------------------------------------------------------------
// Reading dates and times

TEST(DateTimeParse, DatesInTheOrderOfTheShortFormat) {
    struct Case {
        const char* shortFormat;
        char separator;
        const char* text;
        Ymd expected;
    } cases[] = {
        {"yyyy/mm/dd", '/', "2024/03/05", {2024, 3, 5}},
        {"yyyy/mm/dd", '/', " 2024/3/5 ", {2024, 3, 5}},
        {"YYYY/MM/DD", '/', "2024/02/29", {2024, 2, 29}},
        {"yyyy/mm/dd", '/', "24/03/05", {2024, 3, 5}},
        {"yyyy/mm/dd", '/', "0024/03/05", {24, 3, 5}},
        {"dd.mm.yyyy", '.', "05.03.2024", {2024, 3, 5}},
        {"mm/dd/yyyy", '/', "03/05/2024", {2024, 3, 5}},
        {"'Day' d-m-yy", '-', "5-3-2024", {2024, 3, 5}},
    };
    for (const auto& c : cases) {
        TFormatSettings s;
        s.ShortDateFormat = c.shortFormat;
        s.DateSeparator = c.separator;
        ExpectDate(StrToDate(c.text, s), c.expected);
    }
    // Two numbers are month and day of the current year.
    TDateTime value = 0;
    ASSERT_TRUE(TryStrToDate("3/5", value));
    ExpectDate(value, {YearOf(Now()), 3, 5});
}

TEST(DateTimeParse, TwoDigitYearsFollowTheCenturyWindow) {
    TFormatSettings s;
    const int current = YearOf(Now());
    const int twoDigits = (current + 10) % 100;  // ten years ahead: still this window
    ExpectDate(StrToDate(std::to_string(twoDigits) + "/1/1", s), {current + 10, 1, 1});
    const int old = (current - 60) % 100;  // sixty years back: outside the window, ahead
    ExpectDate(StrToDate(std::to_string(old) + "/1/1", s), {current + 40, 1, 1});
}

TEST(DateTimeParse, BadDatesAreRejected) {
    const char* bad[] = {"",           "abc",      "2024/02/30", "2024-03-05",      "2024/03/05 x",
                         "2024/13/01", "2024//05", "2024/03/",   "12345678901/1/1", "2024/03/05/01",
                         "20240305"};
    for (const char* text : bad) {
        TDateTime value = 9;
        EXPECT_FALSE(TryStrToDate(text, value)) << text;
        EXPECT_EQ(value, 9);
    }
    try {
        StrToDate("x");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid date");
    }
}

TEST(DateTimeParse, DateTimesAndTimes) {
    const TDateTime expected = EncodeDateTime(2024, 3, 5, 14, 7, 9, 31);
    EXPECT_EQ(StrToDateTime("2024/03/05 14:07:09:031"), expected);
    EXPECT_EQ(StrToDateTime("2024/03/05 14:07:09.031"), expected);
    EXPECT_EQ(StrToDateTime("2024/03/05 02:07:09:031 PM"), expected);
    EXPECT_EQ(StrToDateTime("2024/03/05"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToDateTime("1899/12/29 06:00"), -1.25);
    EXPECT_EQ(StrToTime("14:07:09"), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(StrToTime("12:00 AM"), 0);
    EXPECT_EQ(StrToTime("AM 12:30"), EncodeTime(0, 30, 0, 0));
    EXPECT_EQ(StrToTime("7"), EncodeTime(7, 0, 0, 0));
    // Round trip through the log line format.
    TFormatSettings s;
    EXPECT_EQ(StrToDateTime(FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", expected), s), expected);

    const char* bad[] = {"2024/03/05 25:00", "2024/03/05 14:60", "13:00 PM",           "0:00 AM",
                         "14:07:09:1000",    "2024/03/05 14:",   "2024/03/05 14:07 x", "x"};
    for (const char* text : bad) {
        TDateTime value = 9;
        EXPECT_FALSE(TryStrToDateTime(text, value)) << text;
        EXPECT_EQ(value, 9);
    }
    try {
        StrToDateTime("x");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid date and time");
    }
    try {
        StrToTime("25:00");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'25:00' is not a valid time");
    }
}

}  // namespace
}  // namespace kv
