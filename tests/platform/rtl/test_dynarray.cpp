// Checked arrays: value semantics, zero-filled growth, range errors.
#include "platform/rtl/DynArray.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

TEST(DynArray, GrowthZeroFillsAndIndexingIsChecked)
{
    arofdoubleM a;
    a.SetLength(3);
    EXPECT_EQ(a.Length(), 3);
    for (double v : a) EXPECT_EQ(v, 0.0);
    a[2] = 5;
    a.SetLength(1);
    a.SetLength(3);
    EXPECT_EQ(a[2], 0.0) << "shrinking then growing must not resurrect old values";
    EXPECT_THROW(a[3], ERangeError);
    EXPECT_THROW(a[-1], ERangeError);
    EXPECT_THROW(a[std::size_t(7)], ERangeError);
    try {
        (void)a[9];
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "Range check error");
    }
}

TEST(DynArray, AssignmentCopies)
{
    ararofintM a(2);
    a[0].push_back(1);
    ararofintM b = a;
    b[0][0] = 9;
    b[1].push_back(4);
    EXPECT_EQ(a[0][0], 1);
    EXPECT_EQ(a[1].Length(), 0);
    arofboolM flags(2);
    flags[1] = true;
    EXPECT_FALSE(flags[0]);
    EXPECT_TRUE(flags[1]);
}

TEST(DynArray, AppendingAnElementOfTheSameArrayWhileItGrows)
{
    arofstrM a{"first", "second", "third", "fourth"};
    a.push_back(a[0]); // the growth frees the storage the argument lives in
    a.Insert(0, a[4]);
    EXPECT_EQ(a[0], "first");
    EXPECT_EQ(a[5], "first");
}

TEST(DynArray, InsertAndDelete)
{
    arofintM a{1, 2, 3};
    a.Insert(0, 0);
    a.Insert(4, 4);
    EXPECT_EQ(a, (arofintM{0, 1, 2, 3, 4}));
    a.Delete(2);
    EXPECT_EQ(a, (arofintM{0, 1, 3, 4}));
    EXPECT_THROW(a.Insert(6, 1), ERangeError);
    EXPECT_THROW(a.Delete(4), ERangeError);
}

TEST(NumberText, Grammar)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5},   {"  7", true, 7},       {"7 ", false, 0},    {"", false, 0},
        {".", true, 0},       {"e5", true, 0},        {"1e", false, 0},    {"+", false, 0},
        {"-", false, 0},      {"2e3", true, 2000},    {"inf", false, 0},   {"nan", false, 0},
        {"0x10", false, 0},   {"1e999", false, 0},    {"1e-999", true, 0}, {"-.5", true, -0.5},
        {"+3.", true, 3},     {"\t1", false, 0},      {"1,5", false, 0},   {"1E+2", true, 100},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(TryParseNumber(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(NumberText, IntegerText)
{
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"12", true, 12},           {"  -7", true, -7},          {"+3", true, 3},
        {"$1F", true, 31},          {"0x1f", true, 31},          {"-$10", true, -16},
        {"$FFFFFFFF", true, -1},    {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},   {"$100000000", false, 0},    {"", false, 0},
        {"-", false, 0},            {"$", false, 0},             {"1.0", false, 0},
        {"7 ", false, 0},           {"\t1", false, 0},           {"--1", false, 0},
        {"+-1", false, 0},          {"1e3", false, 0},           {"x", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t v = -99;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
            EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
        } else {
            EXPECT_EQ(v, -99) << c.text << ": a refused text leaves the value alone";
        }
    }
    try {
        StrToInt("1x");
        ADD_FAILURE() << "no error raised";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'1x' is not a valid integer value");
    }
}

TEST(Variant, Conversions)
{
    EXPECT_EQ(Variant().AsDouble(), 0.0);
    EXPECT_EQ(Variant(std::int32_t(7)).AsDouble(), 7.0);
    EXPECT_EQ(Variant("2,5").AsDouble(), 2.5);
    EXPECT_THROW(Variant("abc").AsDouble(), EConvertError);
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_THROW(Variant(1e12).AsInteger(), EConvertError);
    EXPECT_EQ(Variant(std::int32_t(-1)).AsString(), "-1");
    EXPECT_EQ(Variant(10.0).GetKind(), Variant::Kind::Real);
    // A one-byte integer converts like any number, and stays a kind of its own.
    const Variant byte(std::int8_t(-1));
    EXPECT_EQ(byte.GetKind(), Variant::Kind::Byte);
    EXPECT_TRUE(byte.IsNumber());
    EXPECT_EQ(byte.AsInteger(), -1);
    EXPECT_EQ(byte.AsDouble(), -1.0);
    EXPECT_EQ(byte.AsString(), "-1");
    EXPECT_NE(byte, Variant(std::int32_t(-1)));
}
