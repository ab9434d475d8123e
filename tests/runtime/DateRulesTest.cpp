#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"
#include "src/runtime/DateRules.h"

namespace kv {
namespace {

// ---------------------------------------------------------------------------------------------
// EvalDateRule and WeekBoundary

struct RuleCase {
    const char* base;
    const char* amount;
    const char* unit;
    const char* mode;
    const char* offset;
    const char* expected;
};

TEST(EvalDateRuleTest, Rules) {
    const RuleCase cases[] = {
        // Month rules on 15 January of a leap year.
        {"20240115", "1", "1", "2", "0", "20240229"},   // last day of the month reached
        {"20240115", "1", "1", "1", "0", "20240201"},   // first day
        {"20240115", "1", "1", "0", "-1", "20240214"},  // then the day offset
        {"20240131", "1", "1", "0", "0", "20240229"},   // missing day falls back to the last
        {"20240131", "-2", "1", "0", "0", "20231130"},
        {"20240115", "1", "1", "7", "x", "20240215"},  // other modes keep the moved day
        {"20240115", "0", "1", "1", "0", "20240101"},  // this month's first day
        {"20240115", "12", "1", "2", "0", "20250131"},
        // Week rules from Wednesday 3 January 2024.
        {"20240103", "1", "0", "1", "0", "20240107"},   // Sunday four days later
        {"20240103", "1", "0", "2", "0", "20240113"},   // Saturday ten days later
        {"20240103", "0", "0", "1", "99", "20231231"},  // the week's own Sunday, offset unused
        {"20240107", "-1", "0", "9", "0", "20240106"},  // from a Sunday: last week's Saturday
        {"20240101", "2", "0", "0", "3", "20240118"},   // plain week rule
        {"20240101", "0", "0", "0", "-1", "20231231"},
        // Year-month bases move by months only, whatever unit and mode say.
        {"202401", "-1", "0", "1", "5", "202312"},
        {"202401", "-1", "1", "x", "y", "202312"},
        {"202411", "3", "1", "2", "0", "202502"},
        // No date to move.
        {"", "1", "1", "2", "0", ""},
        {"2024013", "1", "0", "0", "0", ""},
        {"20241340", "1", "1", "0", "0", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EvalDateRule(c.base, c.amount, c.unit, c.mode, c.offset), c.expected)
            << c.base << " " << c.amount << " " << c.unit << " " << c.mode << " " << c.offset;
}

TEST(EvalDateRuleTest, RaisesForNonNumericPartsItNeeds) {
    EXPECT_THROW(EvalDateRule("20240115", "a", "1", "0", "0"), EConvertError);
    EXPECT_THROW(EvalDateRule("202401", "", "1", "0", "0"), EConvertError);
    EXPECT_THROW(EvalDateRule("20240115", "1", "1", "m", "0"), EConvertError);
    EXPECT_THROW(EvalDateRule("20240115", "1", "1", "0", "d"), EConvertError);
    EXPECT_THROW(EvalDateRule("20240115", "1", "0", "0", "d"), EConvertError);
    EXPECT_THROW(EvalDateRule("20240115", "1", "0", "m", "0"), EConvertError);
    // Moves too large for a day count fail cleanly instead of overflowing.
    EXPECT_THROW(EvalDateRule("20240115", "2000000000", "0", "0", "0"), ERangeError);
    EXPECT_THROW(EvalDateRule("20240115", "1", "0", "0", "2147483647"), ERangeError);
}

TEST(WeekBoundaryTest, SundayOrSaturdayOfTheWeekReached) {
    EXPECT_EQ(WeekBoundary("20240103", 0, "1"), "20231231");
    EXPECT_EQ(WeekBoundary("20240103", 0, "2"), "20240106");
    EXPECT_EQ(WeekBoundary("20240106", 0, "2"), "20240106");  // a Saturday stays
    EXPECT_EQ(WeekBoundary("20231231", 0, "1"), "20231231");  // a Sunday stays
    EXPECT_EQ(WeekBoundary("20240103", -2, "1"), "20231217");
    EXPECT_EQ(WeekBoundary("", 1, "1"), "");
    EXPECT_THROW(WeekBoundary("20240103", 1, "x"), EConvertError);
}

// ---------------------------------------------------------------------------------------------
// FirstRunDate

Variant Style(int kind, Variant detail) {
    return VarArrayOf({kind, std::move(detail)});
}
Variant Ints(std::initializer_list<int> values) {
    std::vector<Variant> items(values.begin(), values.end());
    return VarArrayOf(items);
}

struct RunCase {
    const char* name;
    const char* start;
    Variant style;
    const char* expected;
};

TEST(FirstRunDateTest, Schedules) {
    const RunCase cases[] = {
        {"daily: the start itself", "20240103", Style(0, 3), "20240103"},
        {"weekly Monday from a Wednesday", "20240103", Style(1, Ints({1, 1})), "20240108"},
        {"weekly Monday from a Monday", "20240108", Style(1, Ints({1, 1})), "20240108"},
        {"weekly Monday from a Sunday", "20240107", Style(1, Ints({1, 1})), "20240108"},
        {"every 2 weeks on Monday from a Wednesday", "20240103", Style(1, Ints({2, 1})),
         "20240115"},
        {"weekly Saturday across the year end", "20231231", Style(1, Ints({1, 6})), "20240106"},
        {"monthly day 31 from 10 February", "20240210", Style(2, Ints({0, 1, 31})), "20240229"},
        {"monthly day 31 from 1 January", "20240101", Style(2, Ints({0, 1, 31})), "20240131"},
        {"monthly day 5, already past", "20240110", Style(2, Ints({0, 1, 5})), "20240205"},
        {"monthly day 10 on the day", "20240110", Style(2, Ints({0, 1, 10})), "20240110"},
        {"every 3 months on day 30", "20231215", Style(2, Ints({0, 3, 30})), "20240229"},
        {"last Friday from the 1st", "20240301", Style(2, Ints({1, 1, 4, 5})), "20240329"},
        {"last Sunday, month ends on one", "20240301", Style(2, Ints({1, 1, 4, 0})), "20240331"},
        {"first Friday, month begins on one", "20240301", Style(2, Ints({1, 1, 0, 5})), "20240301"},
        {"first Monday, already past", "20240305", Style(2, Ints({1, 1, 0, 1})), "20240401"},
        {"second Tuesday", "20240101", Style(2, Ints({1, 1, 1, 2})), "20240109"},
        {"fourth Wednesday in 2 months", "20240101", Style(2, Ints({1, 2, 3, 3})), "20240228"},
        {"hourly", "20240103", Style(3, 1.5), ""},
        {"unknown kind", "20240103", Style(7, 1), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstRunDate(c.start, c.style), c.expected) << c.name;
}

TEST(FirstRunDateTest, MalformedStylesGiveWhatWasComputed) {
    const RunCase cases[] = {
        {"not an array", "20240103", Variant(), ""},
        {"kind is no number", "20240103", Style(0, 1), "20240103"},
        {"detail is no array", "20240103", Style(1, 1), ""},
        {"detail too short", "20240103", Style(2, Ints({1, 1, 4})), ""},
        {"weekday index 7", "20240103", Style(1, Ints({1, 7})), ""},
        {"no week count", "20240103", Style(1, Ints({0, 1})), ""},
        {"occurrence 5", "20240103", Style(2, Ints({1, 1, 5, 1})), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstRunDate(c.start, c.style), c.expected) << c.name;
    EXPECT_EQ(FirstRunDate("20240103", VarArrayOf({Variant("x"), 1})), "");
}

// ---------------------------------------------------------------------------------------------
// RedateDynamicFields

std::string Record(std::initializer_list<const char*> fields) {
    std::string record;
    for (const char* field : fields) {
        if (!record.empty() || field != *fields.begin()) record += '\x03';
        record += field;
    }
    return record;
}

Variant Range(const char* begin, const char* end) {
    return VarArrayOf({Variant('\x04'), Variant(begin), Variant(end)});
}

// The form's value array: [1] a date, [2] a date range, [3] a year-month, [4] a text.
Variant Values() {
    Variant values = VarArrayCreate({1, 4});
    values[1] = "20240110";
    values[2] = Range("20240101", "20240131");
    values[3] = "202401";
    values[4] = "R01";
    return values;
}

Variant Job(Variant values, std::initializer_list<std::string> records) {
    Variant list = VarArrayCreate({0, static_cast<int>(records.size())});
    list[0] = static_cast<int>(records.size());
    int i = 1;
    for (const auto& record : records)
        list[i++] = record;
    Variant job = VarArrayCreate({1, 3});
    job[1] = std::move(values);
    job[2] = VarArrayOf({"Y", "06:30"});
    job[3] = std::move(list);
    return job;
}

TEST(RedateDynamicFieldsTest, RedatesRuledValuesOnly) {
    const Variant job =
        Job(Values(),
            {Record({"1", "edDate", "Y", "1", "1", "2", "0", "D", "1"}),  // end of next month
             Record({"0", "sp01", "Y", "0", "1", "1", "0", "Y", "0", "0", "0", "0", "D", "2"}),
             Record({"1", "edYm", "Y", "0", "0", "0", "0", "M", "3"})});  // the run's year-month
    const Variant values = RedateDynamicFields(job, "20240315");
    ASSERT_TRUE(values.IsArray());
    EXPECT_EQ(values[1].AsString(), "20240430");
    EXPECT_EQ(values[2], Range("20240301", "20240315"));
    EXPECT_EQ(values[3].AsString(), "202403");
    EXPECT_EQ(values[4].AsString(), "R01");
    EXPECT_EQ(job[1], Values());  // the job itself is left alone
}

TEST(RedateDynamicFieldsTest, DisabledRulesKeepTheEnteredValues) {
    const Variant job =
        Job(Values(),
            {Record({"1", "edDate", "N", "1", "1", "2", "0", "D", "1"}),
             Record({"0", "sp01", "N", "0", "1", "1", "0", "Y", "1", "1", "0", "3", "M", "2"}),
             Record({"1", "edYm", "Y", "-1", "0", "0", "0", "M", "3"})});
    const Variant values = RedateDynamicFields(job, "20240315");
    EXPECT_EQ(values[1].AsString(), "20240110");
    EXPECT_EQ(values[2], Range("20240101", "202404"));
    EXPECT_EQ(values[3].AsString(), "202402");
}

TEST(RedateDynamicFieldsTest, NoRecordsGiveTheValuesUnchanged) {
    EXPECT_EQ(RedateDynamicFields(Job(Values(), {}), "20240315"), Values());
}

TEST(RedateDynamicFieldsTest, AnyFailureGivesTheEmptyText) {
    struct FailCase {
        const char* name;
        Variant job;
    };
    Variant countTooHigh = Job(Values(), {Record({"1", "a", "N", "0", "0", "0", "0", "D", "1"})});
    countTooHigh[3][0] = 2;
    const FailCase cases[] = {
        {"position outside the array",
         Job(Values(), {Record({"1", "a", "Y", "1", "1", "2", "0", "D", "9"})})},
        {"no position", Job(Values(), {Record({"1", "a", "N", "1", "1", "2", "0", "D"})})},
        {"non-numeric amount",
         Job(Values(), {Record({"1", "a", "Y", "x", "1", "2", "0", "D", "1"})})},
        {"range over a plain value", Job(Values(), {Record({"0", "a", "Y", "1", "1", "1", "0", "N",
                                                            "0", "0", "0", "0", "D", "1"})})},
        {"count beyond the records", countTooHigh},
        {"job without records", VarArrayOf({Variant(), Values()})},
        {"no job", Variant()},
    };
    for (const auto& c : cases) {
        const Variant result = RedateDynamicFields(c.job, "20240315");
        EXPECT_EQ(VarType(result), varString) << c.name;
        EXPECT_EQ(result.AsString(), "") << c.name;
    }
}

}  // namespace
}  // namespace kv
