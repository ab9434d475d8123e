#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"

namespace kv {
namespace {

// Runs f and answers the class name of what it raised ("" when nothing).
std::string RaisedClass(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.ClassName();
    }
    return "";
}

TEST(VariantTypes, ConstructorsTagTheirTypes) {
    struct Case {
        Variant value;
        TVarType type;
    } cases[] = {
        {Variant(), varEmpty},
        {Null(), varNull},
        {Variant(true), varBoolean},
        {Variant('\x04'), varString},
        {Variant(static_cast<signed char>(-3)), varShortInt},
        {Variant(static_cast<unsigned char>(200)), varByte},
        {Variant(static_cast<short>(-300)), varSmallint},
        {Variant(static_cast<unsigned short>(60000)), varWord},
        {Variant(7), varInteger},
        {Variant(7u), varLongWord},
        {Variant(7L), varInt64},
        {Variant(7LL), varInt64},
        {Variant(7UL), varUInt64},
        {Variant(1.5f), varSingle},
        {Variant(1.5), varDouble},
        {Variant("text"), varString},
        {Variant(std::string("text")), varString},
        {Variant::Wide("text"), varOleStr},
        {Variant::Date(45000), varDate},
        {Variant::Currency(1.5), varCurrency},
        {Variant::Error(-1), varError},
        {Variant(DispatchPtr()), varDispatch},
        {VarArrayOf({1, 2}), varArray | varVariant},
        {VarArrayCreate({0, 1}, varInteger), varArray | varInteger},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VarType(c.value), c.type) << VarTypeAsText(c.type);
    }
}

TEST(VariantTypes, Predicates) {
    EXPECT_TRUE(VarIsStr(Variant::Wide("w")));
    EXPECT_TRUE(VarIsStr(Variant("s")));
    EXPECT_FALSE(VarIsStr(Variant(1)));
    EXPECT_TRUE(VarIsNumeric(Variant(true)));
    EXPECT_TRUE(VarIsNumeric(Variant::Currency(2)));
    EXPECT_FALSE(VarIsNumeric(Variant::Date(1)));
    EXPECT_FALSE(VarIsNumeric(Variant("1")));
    EXPECT_TRUE(VarIsClear(Variant()));
    EXPECT_TRUE(VarIsClear(Variant(DispatchPtr())));
    EXPECT_FALSE(VarIsClear(Null()));
    EXPECT_TRUE(VarIsType(Variant(1), {varSmallint, varInteger}));
    EXPECT_EQ(VarTypeAsText(varArray | varVariant), "Array Variant");
    EXPECT_EQ(VarTypeAsText(varString), "String");
}

// ---------------------------------------------------------------------------------------------
// Conversions

TEST(VariantConvert, ToInteger) {
    struct Case {
        Variant value;
        std::int64_t expected;
    } cases[] = {
        {Variant(), 0},
        {Variant(true), -1},
        {Variant(false), 0},
        {Variant(static_cast<short>(-300)), -300},
        {Variant(2.5), 2},  // halves go to the even neighbour
        {Variant(3.5), 4},
        {Variant(-2.5), -2},
        {Variant("42"), 42},
        {Variant(" 42"), 42},
        {Variant("12.7"), 13},
        {Variant::Wide("-5"), -5},
        {Variant::Currency(1.5), 2},
        {Variant::Date(45000.75), 45001},
        {Variant(9000000000LL), 9000000000LL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.AsInt64(), c.expected) << c.value;
    }
}

TEST(VariantConvert, FailuresRaiseTheirClasses) {
    struct Case {
        std::function<void()> convert;
        const char* raised;
    } cases[] = {
        {[] { Null().AsInteger(); }, "EVariantTypeCastError"},
        {[] { Null().AsString(); }, "EVariantTypeCastError"},
        {[] { Null().AsBoolean(); }, "EVariantTypeCastError"},
        {[] { Variant("abc").AsInteger(); }, "EConvertError"},
        {[] { Variant("").AsDouble(); }, "EConvertError"},
        {[] { Variant("yes").AsBoolean(); }, "EConvertError"},
        {[] { Variant("not a date").AsDate(); }, "EConvertError"},
        {[] { VarArrayOf({1}).AsString(); }, "EVariantTypeCastError"},
        {[] { Variant::Error(5).AsInteger(); }, "EVariantTypeCastError"},
        {[] { Variant(9000000000LL).AsInteger(); }, "EVariantError"},
        {[] { Variant(1e300).AsInt64(); }, "EVariantError"},
        {[] { Variant(18446744073709551615ULL).AsInt64(); }, "EVariantError"},
        {[] { Variant(1).AsDispatch(); }, "EVariantTypeCastError"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(RaisedClass(cases[i].convert), cases[i].raised) << "case " << i;
    }
}

TEST(VariantConvert, NullNamesBothTypesInTheMessage) {
    try {
        Null().AsInteger();
        FAIL() << "no error";
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (Null) into type (Integer)");
    }
}

TEST(VariantConvert, ToText) {
    double day = EncodeDateTime(2024, 1, 31, 12, 30, 0, 0);
    struct Case {
        Variant value;
        std::string expected;
    } cases[] = {
        {Variant(), ""},
        {Variant(true), "True"},
        {Variant(false), "False"},
        {Variant(42), "42"},
        {Variant(-7LL), "-7"},
        {Variant(18446744073709551615ULL), "18446744073709551615"},
        {Variant(2.5), "2.5"},
        {Variant(0.1f), "0.1"},
        {Variant::Currency(12.3456), "12.3456"},
        {Variant::Wide("中文"), "中文"},
        {Variant::Date(day), DateTimeToStr(day)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.AsString(), c.expected);
    }
    EXPECT_EQ(VarToStr(Null()), "");
    EXPECT_EQ(VarToStrDef(Null(), "none"), "none");
    EXPECT_EQ(VarToStrDef(Variant(), "none"), "");
    EXPECT_EQ(VarToStrDef(Variant(3), "none"), "3");
}

TEST(VariantConvert, ToBooleanAndDouble) {
    struct Case {
        Variant value;
        bool expected;
    } booleans[] = {
        {Variant("True"), true}, {Variant("false"), false}, {Variant::Wide("TRUE"), true},
        {Variant("0"), false},   {Variant("-1"), true},     {Variant(0), false},
        {Variant(2.0), true},    {Variant(), false},
    };
    for (const auto& c : booleans) {
        EXPECT_EQ(c.value.AsBoolean(), c.expected) << c.value;
    }
    EXPECT_DOUBLE_EQ(Variant("1.5").AsDouble(), 1.5);
    EXPECT_DOUBLE_EQ(Variant("1e3").AsDouble(), 1000.0);
    EXPECT_DOUBLE_EQ(Variant(true).AsDouble(), -1.0);
    EXPECT_DOUBLE_EQ(Variant::Currency(-0.0001).AsDouble(), -0.0001);
    EXPECT_DOUBLE_EQ(Variant(45000).AsDate(), 45000.0);
}

TEST(VariantConvert, VarAsType) {
    struct Case {
        Variant value;
        TVarType type;
        Variant expected;
    } cases[] = {
        {Variant(42), varString, Variant("42")},
        {Variant(42), varOleStr, Variant::Wide("42")},
        {Variant("7"), varInteger, Variant(7)},
        {Variant(3.7), varSmallint, Variant(static_cast<short>(4))},
        {Variant(), varInteger, Variant(0)},
        {Variant("True"), varBoolean, Variant(true)},
        {Variant(5), varCurrency, Variant::Currency(5)},
        {Variant(45000.5), varDate, Variant::Date(45000.5)},
        {Null(), varNull, Null()},
        {Variant(-1), varInt64, Variant(-1LL)},
    };
    for (const auto& c : cases) {
        Variant converted = VarAsType(c.value, c.type);
        EXPECT_EQ(VarType(converted), c.type) << c.value;
        EXPECT_EQ(converted, c.expected) << c.value;
    }
    EXPECT_EQ(RaisedClass([] { VarAsType(Variant(300), varByte); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarAsType(Variant(-1), varWord); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarAsType(Variant(1e40), varSingle); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarAsType(Null(), varInteger); }), "EVariantTypeCastError");
    EXPECT_EQ(RaisedClass([] { VarAsType(VarArrayOf({1}), varString); }), "EVariantTypeCastError");
}

// ---------------------------------------------------------------------------------------------
// Arrays

TEST(VariantArray, TwoDimensionalBoundsAndElements) {
    // The shape of a server list: row 0 host names, row 1 ports, one column per server.
    Variant list = VarArrayCreate({0, 1, 0, 2});
    ASSERT_EQ(VarArrayDimCount(list), 2);
    EXPECT_EQ(VarArrayLowBound(list, 1), 0);
    EXPECT_EQ(VarArrayHighBound(list, 1), 1);
    EXPECT_EQ(VarArrayLowBound(list, 2), 0);
    EXPECT_EQ(VarArrayHighBound(list, 2), 2);
    for (int column = 0; column <= 2; ++column) {
        list.Put(0, column, "srv" + std::to_string(column));
        list.Put(1, column, 8000 + column);
    }
    EXPECT_EQ(list.Get(0, 2).AsString(), "srv2");
    EXPECT_EQ(list.Get(1, 0).AsInteger(), 8000);
    EXPECT_EQ(list.Get(1, 2).AsInteger(), 8002);
    EXPECT_EQ(VarToDebugText(list), "[['srv0', 'srv1', 'srv2'], [8000, 8001, 8002]]");
}

TEST(VariantArray, BoundsThatDoNotStartAtZero) {
    Variant env = VarArrayCreate({1, 3});
    EXPECT_TRUE(VarIsEmpty(env[1]));
    env[3] = "KPQX07";
    EXPECT_EQ(env[3].AsString(), "KPQX07");
    Variant grid = VarArrayCreate({-1, 0, 5, 6});
    grid.Put(-1, 6, 1);
    grid.Put(0, 5, 2);
    EXPECT_EQ(grid.Get(-1, 6).AsInteger(), 1);
    EXPECT_EQ(grid.Get(0, 5).AsInteger(), 2);
    EXPECT_TRUE(VarIsEmpty(grid.Get(-1, 5)));
}

TEST(VariantArray, BadIndexesRaise) {
    Variant env = VarArrayCreate({1, 3});
    Variant grid = VarArrayCreate({0, 1, 0, 1});
    struct Case {
        std::function<void()> access;
        const char* raised;
    } cases[] = {
        {[&] { env[0]; }, "EVariantBadIndexError"},
        {[&] { env[4]; }, "EVariantBadIndexError"},
        {[&] { env.Put(4, 1); }, "EVariantBadIndexError"},
        {[&] { grid.Get(2, 0); }, "EVariantBadIndexError"},
        {[&] { grid[0]; }, "EVariantBadIndexError"},  // one index for two dimensions
        {[&] { VarArrayHighBound(grid, 3); }, "EVariantBadIndexError"},
        {[&] { VarArrayLowBound(env, 0); }, "EVariantBadIndexError"},
        {[] { Variant()[0]; }, "EVariantInvalidOpError"},
        {[] { VarArrayHighBound(Variant(42), 1); }, "EVariantInvalidOpError"},
        {[] { VarArrayDimCount(Null()); }, "EVariantInvalidOpError"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(RaisedClass(cases[i].access), cases[i].raised) << "case " << i;
    }
}

TEST(VariantArray, CreationRefusesBadBounds) {
    EXPECT_EQ(RaisedClass([] { VarArrayCreate({0}); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarArrayCreate({5, 3}); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarArrayCreate({0, INT_MAX}); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarArrayCreate({0, 65535, 0, 65535}); }), "EVariantError");
    EXPECT_EQ(RaisedClass([] { VarArrayCreate({0, 1}, varNull); }), "EVariantError");
    Variant empty = VarArrayCreate({0, -1});
    EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
    Variant noRows = VarArrayCreate({0, INT_MAX, 0, -1});  // no elements, however wide
    EXPECT_EQ(VarArrayHighBound(noRows, 1), INT_MAX);
    EXPECT_EQ(VarToDebugText(VarArrayOf({})), "[]");
}

TEST(VariantArray, CopiesAreIndependent) {
    Variant job = VarArrayOf({"env", VarArrayOf({Variant('\x04'), "20240101", "20241231"})});
    Variant copy = job;
    copy[0] = "changed";
    copy[1][1] = "19990101";
    EXPECT_EQ(job[0].AsString(), "env");
    EXPECT_EQ(job[1][1].AsString(), "20240101");
    EXPECT_FALSE(job == copy);

    Variant passed;
    auto keep = [&passed](Variant v) { passed = std::move(v); };
    keep(job);
    passed[0] = "other";
    EXPECT_EQ(job[0].AsString(), "env");
}

TEST(VariantArray, AssigningAnElementToItsOwnArray) {
    Variant nested = VarArrayOf({VarArrayOf({1, 2}), 3});
    nested = nested[0];
    EXPECT_EQ(VarToDebugText(nested), "[1, 2]");
    Variant moved = VarArrayOf({VarArrayOf({"a"}), 3});
    moved = std::move(moved[0]);
    EXPECT_EQ(VarToDebugText(moved), "['a']");
}

TEST(VariantArray, TypedElementsAreConvertedOnPut) {
    Variant numbers = VarArrayCreate({0, 1}, varInteger);
    EXPECT_EQ(VarType(numbers[0]), varInteger);
    EXPECT_EQ(numbers[0].AsInteger(), 0);
    numbers.Put(1, "12");
    EXPECT_EQ(VarType(numbers[1]), varInteger);
    EXPECT_EQ(numbers[1].AsInteger(), 12);
    EXPECT_EQ(RaisedClass([&] { numbers.Put(0, "abc"); }), "EConvertError");
    EXPECT_EQ(numbers[0].AsInteger(), 0);
    Variant texts = VarArrayCreate({0, 0}, varOleStr);
    texts.Put(0, 5);
    EXPECT_EQ(VarType(texts[0]), varOleStr);
}

TEST(VariantArray, RedimKeepsElements) {
    Variant job = VarArrayOf({"env", "texts", "values"});
    VarArrayRedim(job, 4);
    EXPECT_EQ(VarArrayHighBound(job, 1), 4);
    EXPECT_EQ(job[2].AsString(), "values");
    EXPECT_TRUE(VarIsEmpty(job[4]));
    VarArrayRedim(job, 0);
    EXPECT_EQ(VarToDebugText(job), "['env']");

    Variant list = VarArrayCreate({0, 1, 0, 0});
    list.Put(0, 0, "srv1");
    list.Put(1, 0, 211);
    VarArrayRedim(list, 1);
    list.Put(0, 1, "srv2");
    EXPECT_EQ(VarToDebugText(list), "[['srv1', 'srv2'], [211, Unassigned]]");
    EXPECT_EQ(RaisedClass([&] { VarArrayRedim(list, -5); }), "EVariantError");
}

// ---------------------------------------------------------------------------------------------
// Comparison

TEST(VariantCompare, Equality) {
    struct Case {
        Variant a;
        Variant b;
        bool equal;
    } cases[] = {
        {Variant(1), Variant(1.0), true},
        {Variant(1), Variant(2), false},
        {Variant("1"), Variant(1), true},  // numeric text against a number
        {Variant(1.5), Variant("1.5"), true},
        {Variant("abc"), Variant(1), false},  // no number: different, no error
        {Variant("a"), Variant("a"), true},
        {Variant("a"), Variant("A"), false},
        {Variant::Wide("x"), Variant("x"), true},
        {Null(), Null(), true},
        {Null(), Variant(), false},
        {Null(), Variant(0), false},
        {Variant(), Variant(0), true},
        {Variant(), Variant(""), true},
        {Variant(), Variant(false), true},
        {Variant(), Variant("x"), false},
        {Variant(true), Variant(-1), true},
        {Variant("True"), Variant(true), true},
        {Variant(9007199254740993LL), Variant(9007199254740992LL), false},
        {Variant(18446744073709551615ULL), Variant(-1), false},
        {Variant(5UL), Variant(static_cast<short>(5)), true},
        {VarArrayOf({1, "a"}), VarArrayOf({1, "a"}), true},
        {VarArrayOf({1, "a"}), VarArrayOf({1, "b"}), false},
        {VarArrayCreate({0, 1}), VarArrayCreate({1, 2}), false},
        {VarArrayOf({1}), Variant(1), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.a << " vs " << c.b;
        EXPECT_EQ(c.b == c.a, c.equal) << c.b << " vs " << c.a;
    }
}

TEST(VariantCompare, Relationship) {
    struct Case {
        Variant a;
        Variant b;
        TVariantRelationship expected;
    } cases[] = {
        {Variant(1), Variant(2), vrLessThan},
        {Variant("b"), Variant("a"), vrGreaterThan},
        {Variant("10"), Variant(9), vrGreaterThan},  // read as a number, not as text
        {Variant(9), Variant("10"), vrLessThan},
        {Variant("10"), Variant("9"), vrLessThan},  // both texts: text order
        {Variant::Date(2), Variant(1.5), vrGreaterThan},
        {Variant(-1), Variant(18446744073709551615ULL), vrLessThan},
        {Variant::Currency(0.0001), Variant::Currency(0.0002), vrLessThan},
        {Variant(), Variant(), vrEqual},
        {Variant(), Variant(0), vrNotEqual},
        {Null(), Null(), vrEqual},
        {Variant(1), Null(), vrNotEqual},
        {VarArrayOf({1}), VarArrayOf({1}), vrEqual},
        {VarArrayOf({1}), VarArrayOf({2}), vrNotEqual},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VarCompareValue(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(RaisedClass([] { VarCompareValue(Variant("abc"), Variant(1)); }), "EConvertError");
}

// ---------------------------------------------------------------------------------------------
// References and readable form

TEST(VariantRef, MarkerReadsAndWritesItsTarget) {
    Variant target = 5;
    Variant ref = VarRef(target);
    EXPECT_TRUE(ref.IsByRef());
    EXPECT_EQ(ref.Type(), varByRef | varVariant);
    EXPECT_EQ(VarType(ref), varInteger);
    EXPECT_EQ(ref.AsInteger(), 5);
    ref.Deref() = "changed";
    EXPECT_EQ(target.AsString(), "changed");
    Variant refOfRef = VarRef(ref);
    EXPECT_EQ(&refOfRef.Deref(), &target);
}

TEST(VariantDebugText, ShowsKindsAndBounds) {
    Variant list = VarArrayCreate({1, 2});
    list[1] = Variant::Wide("w");
    list[2] = Null();
    EXPECT_EQ(VarToDebugText(list), "1..[W'w', Null]");
    EXPECT_EQ(VarToDebugText(VarArrayOf({1, "a", true, Variant()})), "[1, 'a', True, Unassigned]");
    // A day outside the calendar cannot be shown as a date, but the debug text never raises.
    EXPECT_EQ(VarToDebugText(Variant::Date(1e300)), "Date(1E300)");
}

}  // namespace
}  // namespace kv
