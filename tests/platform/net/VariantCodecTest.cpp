// Round trips of every variant kind through the encoding, and refusal of damaged input.
#include <gtest/gtest.h>

#include "platform/core/Dispatch.h"
#include "platform/net/VariantCodec.h"

namespace kv {
namespace {

Variant RoundTrip(const Variant& v) {
    return DecodeVariant(EncodeVariant(v));
}

TEST(VariantCodecTest, EveryScalarKindKeepsItsTypeAndValue) {
    const Variant cases[] = {Variant(),
                             Variant::Null(),
                             Variant(true),
                             Variant(false),
                             Variant(static_cast<signed char>(-5)),
                             Variant(static_cast<unsigned char>(250)),
                             Variant(static_cast<short>(-30000)),
                             Variant(static_cast<unsigned short>(60000)),
                             Variant(-2000000000),
                             Variant(4000000000u),
                             Variant(-9000000000000000000LL),
                             Variant(18000000000000000000ULL),
                             Variant(1.5f),
                             Variant(-0.1),
                             Variant::Date(45356.75),
                             Variant::Currency(12.3456),
                             Variant::Error(-2147352572),
                             Variant("8-bit 文字"),
                             Variant::Wide("wide 文字\r\n\x01\x03\x04"),
                             Variant(std::string("nul\0inside", 10)),
                             Variant(DispatchPtr())};
    for (const auto& v : cases) {
        const Variant back = RoundTrip(v);
        EXPECT_EQ(VarType(back), VarType(v)) << v;
        EXPECT_EQ(VarToDebugText(back), VarToDebugText(v));
        if (!v.IsNull()) {
            EXPECT_TRUE(back == v) << v;
        }
    }
}

TEST(VariantCodecTest, NestedArraysKeepTheirBoundsAndElementTypes) {
    // A job array: environment 1..3, a two-dimensional list, an empty array and a typed one.
    Variant env = VarArrayCreate({1, 3});
    env[1] = Variant::Wide("KPQX07");
    env[2] = Variant(3);
    env[3] = Variant::Date(45000.5);
    Variant grid = VarArrayCreate({0, 1, 5, 7});
    grid.Put(1, 6, Variant("cell"));
    Variant typed = VarArrayCreate({-2, 0}, varInteger);
    typed.Put(-1, Variant(42));
    const Variant job = VarArrayOf({env, grid, VarArrayCreate({1, 0}), typed});

    const Variant back = RoundTrip(job);
    EXPECT_EQ(VarToDebugText(back), VarToDebugText(job));
    EXPECT_EQ(back[0].LowBound(1), 1);
    EXPECT_EQ(VarType(back[0][1]), varOleStr);
    EXPECT_EQ(back[1].DimCount(), 2);
    EXPECT_EQ(back[1].LowBound(2), 5);
    EXPECT_EQ(back[1].Get(1, 6).AsString(), "cell");
    EXPECT_EQ(back[2].HighBound(1), 0);
    EXPECT_EQ(back[3].ElementType(), varInteger);
    EXPECT_EQ(back[3][-1].AsInteger(), 42);
}

TEST(VariantCodecTest, ByReferenceMarkersEncodeTheirTarget) {
    Variant target("value");
    EXPECT_EQ(RoundTrip(VarRef(target)).AsString(), "value");
}

TEST(VariantCodecTest, DamagedInputRaisesDecodeErrors) {
    const std::string good = EncodeVariant(VarArrayOf({Variant("abc"), Variant(1)}));
    std::vector<std::string> bad = {
        "",                                          // nothing at all
        good.substr(0, good.size() - 1),             // truncated
        good + "x",                                  // trailing bytes
        std::string("\x77\x77", 2),                  // unknown type code
        std::string("\x08\x00\xff\xff\xff\x7f", 6),  // text longer than the input
        // an array claiming a billion elements in a few bytes
        std::string("\x0c\x20\x0c\x00\x01\x00\x00\x00\x00\xff\xff\xff\x3f", 13),
        // an array whose high bound lies below its low bound - 1
        std::string("\x0c\x20\x0c\x00\x01\x05\x00\x00\x00\x01\x00\x00\x00", 13),
        // an array of five dimensions
        std::string("\x0c\x20\x0c\x00\x05", 5),
        // a currency amount beyond the range of the type
        std::string("\x06\x00\xe5\xff\xff\xff\xff\xff\xff\x7f", 10),
    };
    for (const auto& input : bad)
        EXPECT_THROW(DecodeVariant(input), EVariantDecodeError);
}

TEST(VariantCodecTest, NestingIsBoundedOnBothSides) {
    Variant deep = Variant(1);
    for (int i = 0; i < 40; ++i)
        deep = VarArrayOf({deep});
    EXPECT_THROW(EncodeVariant(deep), EVariantEncodeError);
    TVariantLimits generous;
    generous.maxDepth = 64;
    const std::string bytes = EncodeVariant(deep, generous);
    EXPECT_THROW(DecodeVariant(bytes), EVariantDecodeError);
    EXPECT_NO_THROW(DecodeVariant(bytes, generous));
}

class TSomeObject : public TAutoObject {};

TEST(VariantCodecTest, LiveObjectsCannotBeEncoded) {
    EXPECT_THROW(EncodeVariant(Variant(DispatchPtr(std::make_shared<TSomeObject>()))),
                 EVariantEncodeError);
}

}  // namespace
}  // namespace kv
