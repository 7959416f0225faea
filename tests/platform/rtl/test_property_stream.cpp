// The binary property list: its byte layout, extended reals, round trips through the class descriptions,
// and refusals of damaged lists.
#include "platform/rtl/PropertyStream.h"

#include "platform/rtl/Sets.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

enum TShade { shLight, shDark };
inline const TEnumNames ShadeNames{"shLight", "shDark"};
using TShades = TSet<TShade>;

class TInner : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    std::string Blob;

private:
    int FSize = 1;
};

const TClassInfo& TInner::StaticClassInfo()
{
    using P = TProps<TInner>;
    static const TClassInfo info({
        .Name = "TInner",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Integer("Size", &TInner::Size, &TInner::SetSize).Default(1)},
        .Defined = {P::DefinedBinary(
            "Blob", [](TInner& o, TStream& s) { o.Blob = s.ReadBytes(s.Size()); },
            [](const TInner& o, TStream& s) { s.WriteBytes(o.Blob); }, [](const TInner& o) { return !o.Blob.empty(); })},
    });
    return info;
}

class TSample : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    std::int64_t Count = 0;
    double Ratio = 0;
    bool Flag = false;
    TShade Shade = shLight;
    TShades Shades;
    std::string Caption;
    std::int64_t Colour = 0;
    TInner Inner;
};

const TClassInfo& TSample::StaticClassInfo()
{
    using P = TProps<TSample>;
    using S = TSample;
    static const TClassInfo info({
        .Name = "TSample",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties =
            {
                P::Integer("Count", [](const S& s) { return s.Count; }, [](S& s, std::int64_t v) { s.Count = v; })
                    .Default(0),
                P::Real("Ratio", [](const S& s) { return s.Ratio; }, [](S& s, double v) { s.Ratio = v; }).Default(0.0),
                P::Boolean("Flag", [](const S& s) { return s.Flag; }, [](S& s, bool v) { s.Flag = v; }).Default(false),
                P::Enumeration("Shade", ShadeNames, [](const S& s) { return s.Shade; },
                               [](S& s, TShade v) { s.Shade = v; })
                    .Default(shLight),
                P::Set("Shades", ShadeNames, [](const S& s) { return s.Shades; }, [](S& s, TShades v) { s.Shades = v; }),
                P::Text("Caption", [](const S& s) { return s.Caption; },
                        [](S& s, const std::string& v) { s.Caption = v; }),
                P::Colour("Colour", [](const S& s) { return s.Colour; }, [](S& s, std::int64_t v) { s.Colour = v; })
                    .Default(0),
                P::Object("Inner", [](const S& s) -> TPersistent* { return const_cast<TInner*>(&s.Inner); }),
            },
    });
    return info;
}

std::string StreamBytes(TMemoryStream& s)
{
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

TMemoryStream StreamOf(const std::string& bytes)
{
    TMemoryStream s;
    s.WriteBytes(bytes);
    s.SetPosition(0);
    return s;
}

} // namespace

TEST(PropertyStream, ExtendedRealsHaveTheTenByteLayoutAndReadBack)
{
    TMemoryStream s;
    WriteExtended(s, 1.0);
    WriteExtended(s, -2.5);
    EXPECT_EQ(StreamBytes(s), std::string("\0\0\0\0\0\0\0\x80\xff\x3f" "\0\0\0\0\0\0\0\xa0\x00\xc0", 20));
    const double values[] = {0.0, 1.0, -2.5, 1e-300, 123456789.125, 6.02e23, -0.1};
    TMemoryStream round;
    for (double v : values) WriteExtended(round, v);
    WriteExtended(round, std::numeric_limits<double>::infinity());
    WriteExtended(round, std::numeric_limits<double>::quiet_NaN());
    round.SetPosition(0);
    for (double v : values) EXPECT_EQ(ReadExtended(round), v);
    EXPECT_EQ(ReadExtended(round), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(ReadExtended(round)));
}

TEST(PropertyStream, ListLayoutOfStoredPropertiesOnly)
{
    TSample o;
    o.Count = 300;
    o.Shade = shDark;
    TMemoryStream s;
    WritePropertyList(s, o);
    // Defaults left out; the empty set and the empty caption have no default and are written.
    const std::string expected = std::string("\x01", 1) + "\x05" "Count" + std::string("\x03\x2c\x01", 3) +
                                 "\x05" "Shade" "\x07\x06" "shDark" + "\x06" "Shades" + std::string("\x0b\x00", 2) +
                                 "\x07" "Caption" + std::string("\x06\x00", 2) + std::string("\x00", 1);
    EXPECT_EQ(StreamBytes(s), expected);
}

TEST(PropertyStream, EveryKindRoundTrips)
{
    TSample o;
    o.Count = -5000000000LL;
    o.Ratio = 0.1;
    o.Flag = true;
    o.Shade = shDark;
    o.Shades = TShades{shLight, shDark};
    o.Caption = std::string(300, 'x');
    o.Colour = 0x20000000;
    o.Inner.SetSize(70000);
    o.Inner.Blob = std::string("\0\1\2", 3);
    TMemoryStream s;
    WritePropertyList(s, o);
    s.SetPosition(0);
    TSample back;
    ReadPropertyList(s, back);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(back.Count, o.Count);
    EXPECT_EQ(back.Ratio, o.Ratio);
    EXPECT_TRUE(back.Flag);
    EXPECT_EQ(back.Shade, shDark);
    EXPECT_EQ(back.Shades, o.Shades);
    EXPECT_EQ(back.Caption, o.Caption);
    EXPECT_EQ(back.Colour, o.Colour);
    EXPECT_EQ(back.Inner.Size(), 70000);
    EXPECT_EQ(back.Inner.Blob, o.Inner.Blob);
}

TEST(PropertyStream, DamagedListsAreRefusedWithTheirPropertyName)
{
    struct Case {
        const char* what;
        std::string bytes;
        const char* messagePart;
    };
    const Case cases[] = {
        {"no list marker", std::string("\x02", 1), "list expected"},
        {"unknown name", std::string("\x01\x04" "Nope\x02\x01\x00", 9), "Nope: property does not exist"},
        {"wrong enumeration name", std::string("\x01\x05" "Shade\x07\x03" "shX\x00", 13), "Shade: invalid identifier shX"},
        {"unknown tag", std::string("\x01\x05" "Count\x63\x00", 9), "Count: invalid property value"},
        {"text past the end", std::string("\x01\x07" "Caption\x06\x09" "ab", 13), "Stream read error"},
        {"negative long text", std::string("\x01\x07" "Caption\x0c\xff\xff\xff\xff\x00", 15), "negative text length"},
        {"negative block", std::string("\x01\x0a" "Inner.Blob\x0a\xfe\xff\xff\xff\x00", 18), "negative block size"},
        {"no end marker", std::string("\x01\x05" "Count\x02\x07", 8), "Stream read error"},
        {"text for a number", std::string("\x01\x05" "Count\x06\x01" "a\x00", 11), "Invalid property value for Count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMemoryStream s = StreamOf(c.bytes);
        TSample o;
        try {
            ReadPropertyList(s, o);
            ADD_FAILURE() << "read";
        } catch (const EReadError& e) {
            EXPECT_NE(e.Message().find(c.messagePart), std::string::npos) << e.Message();
        }
    }
}

TEST(PropertyStream, TextsAboveAsciiGoAsUtf8AndComeBackAsTheCodePage)
{
    // 8-bit text with a byte above 127 is written as vaUTF8String of the Windows-1252 characters (the
    // bytes the code page leaves undefined as the control characters of their value), and read back whole.
    struct Case {
        std::string text, utf8;
    };
    const Case cases[] = {
        {"caf\xe9", "caf\xc3\xa9"},
        {"\x80 5", "\xe2\x82\xac 5"},
        {"\x9f\x8a", "\xc5\xb8\xc5\xa0"},
        {"\x81\x9d", "\xc2\x81\xc2\x9d"},
        {"\xff", "\xc3\xbf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TMemoryStream s;
        WriteStreamText(s, c.text, true);
        const auto size = static_cast<char>(c.utf8.size());
        EXPECT_EQ(StreamBytes(s), std::string("\x14", 1) + size + std::string(3, '\0') + c.utf8);
        s.SetPosition(0);
        EXPECT_EQ(ReadStreamText(s, true), c.text);
        TMemoryStream plain;
        WriteStreamText(plain, c.text, false);
        EXPECT_EQ(StreamBytes(plain), std::string("\x06", 1) + static_cast<char>(c.text.size()) + c.text);
    }
    TMemoryStream ascii;
    WriteStreamText(ascii, "abc", true);
    EXPECT_EQ(StreamBytes(ascii), "\x06\x03" "abc");

    // Characters the code page lacks, and broken sequences, come back as '?'.
    const std::pair<std::string, std::string> read[] = {
        {"\xce\xa9", "?"}, {"x\xf0\x9f\x98\x80y", "x?y"}, {"\xe2\x82", "??"}, {"\xc2\x80", "?"}, {"\xe2\x84\xa2", "\x99"}};
    for (const auto& [utf8, ansi] : read) {
        TMemoryStream s = StreamOf(std::string("\x14", 1) + static_cast<char>(utf8.size()) + std::string(3, '\0') + utf8);
        EXPECT_EQ(ReadStreamText(s, true), ansi) << utf8;
    }
}
