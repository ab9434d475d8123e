// Variants in scripts and transcripts: what is written reads back the same, and what is no
// value is refused.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/kvhost/VariantJson.h"

namespace kv {
namespace {

TEST(VariantJson, ValuesSurviveTheRoundTrip) {
    Variant oneBased = VarArrayCreate({1, 2});
    oneBased[1] = "维修";
    oneBased[2] = Null();
    const Variant values[] = {
        Variant(),
        Null(),
        Variant(true),
        Variant(-7),
        Variant(5000000000LL),
        Variant(2.5),
        Variant("维修单清单"),
        Variant::Date(EncodeDate(2024, 3, 15) + EncodeTime(8, 30, 5, 0)),
        Variant::Date(EncodeDate(2024, 3, 15) + EncodeTime(8, 30, 5, 250)),
        Variant::Error(-2147352572),
        VarArrayOf({"a", 1, VarArrayOf({"nested", Null()})}),
        VarArrayCreate({0, -1}),
        oneBased,
    };
    for (const Variant& value : values) {
        const TJson json = VariantToJson(value);
        EXPECT_EQ(JsonToVariant(json), value) << json.dump();
        EXPECT_EQ(VarType(JsonToVariant(json)) & varTypeMask, VarType(value) & varTypeMask)
            << json.dump();
    }
}

TEST(VariantJson, WritesTheReadableForms) {
    EXPECT_EQ(VariantToJson(Variant()).dump(), "null");
    EXPECT_EQ(VariantToJson(Null()).dump(), R"({"null":true})");
    EXPECT_EQ(VariantToJson(Variant::Date(EncodeDate(2024, 3, 15))).dump(),
              R"({"date":"2024-03-15 00:00:00"})");
    Variant grid = VarArrayCreate({1, 2, 0, 1});
    grid.Put(1, 0, "Sys001");
    grid.Put(2, 1, 3);
    EXPECT_EQ(VariantToJson(grid).dump(), R"({"rows":[["Sys001",null],[null,3]],"low":[1,0]})");
    EXPECT_EQ(VariantToJson(Variant(std::make_shared<TAutoObject>())).dump(), R"x("(object)")x");
}

TEST(VariantJson, RefusesWhatIsNoValue) {
    const char* bad[] = {
        R"({"answer": 42})",         R"({"date": "2024-13-01"})",
        R"({"date": "yesterday"})",  R"({"low": "one", "items": []})",
        R"({"low": 1, "items": 5})", R"({"null": false})",
    };
    for (const char* text : bad)
        EXPECT_THROW(JsonToVariant(TJson::parse(text)), EConvertError) << text;
    std::string deep(40, '[');
    deep += std::string(40, ']');
    EXPECT_THROW(JsonToVariant(TJson::parse(deep)), EConvertError);
}

}  // namespace
}  // namespace kv
