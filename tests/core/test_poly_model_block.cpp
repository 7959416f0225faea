// The polygon-model block: property lines, writing, reading, the three outcomes and the malformed
// fixtures in tests/data/modelblock/.
#include "core/PolyModelBlock.h"

#include "core/Supermath2d.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(VSP_TEST_DATA) + "/modelblock/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ToCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string Field(const std::string& line, int index)
{
    const arofstrM tokens = SplitToStrings(line);
    return index < tokens.Length() ? tokens[index] : std::string("<none>");
}

// A frame with a relief point, an inner body of two sub-polygons, and a layer of the host body.
TPolygonModel SampleModel()
{
    TPolygonModel m;
    m.Rho0 = 123.25;
    m.SecondModelValue = -7.5e-3;
    m.ModelBox = TModelBox{-20, 980.5, 0, 240};
    m.HasRelief = true;
    m.Relief = arofcomplexM{{-30, 2.5}, {500, 0}, {1000, 12.125}};
    const double xz[9][2] = {{-20, 2.9}, {-20, 240}, {980.5, 240}, {980.5, 11.8}, {500, 0},
                             {100, 50}, {200, 50}, {150, 90}, {250, 90}};
    m.Nodes.SetLength(9);
    for (int i = 0; i < 9; ++i) {
        m.Nodes[i].x = xz[i][0];
        m.Nodes[i].z = xz[i][1];
        m.Nodes[i].FrameCode = i < 4 ? (const int[]){1, 2, 4, 5}[i] : (i == 4 ? 6 : 0);
        m.Nodes[i].FixedFlag = i == 4;
        m.Nodes[i].NodeClass = i == 6 || i == 7 ? 1 : 0; // the two ends of the shared edge
    }
    m.Bodies.SetLength(2);
    m.Bodies[0].SetLength(1);
    m.Bodies[0][0].ring = arofintM{0, 1, 2, 3, 4, 0, 4, 3, 2, 1};
    m.Bodies[0][0].properties[psShapeIndex] = Variant(std::int8_t(-1));
    m.Bodies[1].SetLength(2);
    for (int s = 0; s < 2; ++s) {
        m.Bodies[1][s].properties = MakeDefaultPolygonProperties("bs,1", "ps,8421504,1", "gs,255,65535");
        m.Bodies[1][s].properties[psShapeIndex] = Variant(std::int32_t(s));
        m.Bodies[1][s].properties[psResistivity] = Variant(s == 0 ? 0.5 : 2500.0);
    }
    m.Bodies[1][0].ring = arofintM{5, 6, 7};
    m.Bodies[1][1].ring = arofintM{6, 8, 7};
    return m;
}

// What a reload gives for a written row: slots 5, 6, 9 and 15-19 are never read back, "*" stays empty,
// and a one-byte integer, which writes no field, comes back empty.
PolygonProperties AsReloaded(PolygonProperties row)
{
    for (int slot : {5, 6, 9, 15, 16, 17, 18, 19}) row[slot] = Variant();
    for (int i = 0; i < PolygonPropertyCount; ++i)
        if (row[i] == Variant("*") || row[i].GetKind() == Variant::Kind::Byte) row[i] = Variant();
    return row;
}

bool SameModel(const TPolygonModel& a, const TPolygonModel& b)
{
    if (a.Nodes.Length() != b.Nodes.Length()) return false;
    for (int i = 0; i < a.Nodes.Length(); ++i) {
        const TNode &p = a.Nodes[i], &q = b.Nodes[i];
        if (p.x != q.x || p.z != q.z || p.FixedFlag != q.FixedFlag || p.NodeClass != q.NodeClass
            || p.FrameCode != q.FrameCode)
            return false;
    }
    return a.Bodies == b.Bodies && a.Rho0 == b.Rho0 && a.SecondModelValue == b.SecondModelValue
           && a.ModelBox == b.ModelBox && a.HasRelief == b.HasRelief && a.Relief == b.Relief;
}

} // namespace

TEST(PropertyLine, SlotsRoundTripByKind)
{
    PolygonProperties row;
    row[0] = Variant(std::int32_t(17));
    row[1] = Variant("bs,2");
    row[2] = Variant("pen with blanks");
    row[3] = Variant("");
    row[4] = Variant(std::int32_t(-16777216));
    row[5] = Variant(std::int32_t(5));
    row[6] = Variant(6.5);
    row[7] = Variant("a b");
    row[8] = Variant(std::int32_t(2));
    row[9] = Variant("nine");
    row[10] = Variant(123.4567);
    row[11] = Variant(0.05);
    row[12] = Variant(MissingValue);
    row[13] = Variant(-3.0);
    row[14] = Variant(0.000123456);
    row[15] = Variant("x");
    row[19] = Variant(std::int32_t(19));

    const std::string line = PropertiesToText(row);
    EXPECT_EQ(line, "17 bs,2 pen\xA6with\xA6" "blanks * -16777216 5 6.500 a\xA6" "b 2 nine 123.457 0.0500 * -3 "
                    "0.000123 x * * * 19 ");
    EXPECT_EQ(SplitToStrings(line).Length(), 20) << "20 fields, the line ends in one blank";

    PolygonProperties back;
    ASSERT_TRUE(TextToProperties(back, line));
    PolygonProperties expected;
    expected[0] = Variant(std::int32_t(17));
    expected[1] = Variant("bs,2");
    expected[2] = Variant("pen with blanks");
    expected[4] = Variant(std::int32_t(-16777216));
    expected[7] = Variant("a b");
    expected[8] = Variant(std::int32_t(2));
    expected[10] = Variant(123.457);     // to the written precision
    expected[11] = Variant(0.05);
    expected[13] = Variant(-3.0);
    expected[14] = Variant(0.000123);
    EXPECT_EQ(back, expected) << "slots 3 and 12 were '*'; 5, 6, 9 and 15-19 are never read";
    for (int slot : {10, 11, 13, 14}) EXPECT_EQ(back[slot].GetKind(), Variant::Kind::Real) << slot;
}

TEST(PropertyLine, HostLinesAndTextControls)
{
    // The host's shape index is a one-byte integer, which writes no field: 19 fields, all "*".
    PolygonProperties host;
    host[psShapeIndex] = Variant(std::int8_t(-1));
    const std::string line = PropertiesToText(host);
    EXPECT_EQ(line, "* * * * * * * * * * * * * * * * * * * ");
    EXPECT_EQ(SplitToStrings(line).Length(), 19);

    // Both forms read: the 19 fields as an empty row, the 20 fields that earlier files hold with -1.
    PolygonProperties nineteen;
    ASSERT_TRUE(TextToProperties(nineteen, line));
    EXPECT_EQ(nineteen, PolygonProperties{});
    PolygonProperties twenty;
    ASSERT_TRUE(TextToProperties(twenty, "-1 * * * * * * * * * * * * * * * * * * * "));
    PolygonProperties minusOne;
    minusOne[psShapeIndex] = Variant(std::int32_t(-1));
    EXPECT_EQ(twenty, minusOne);

    // Tabs and line ends inside a text never split the field or the line.
    PolygonProperties label;
    label[psLabelText] = Variant("two\nlines\there");
    const std::string labelLine = PropertiesToText(label);
    EXPECT_EQ(labelLine.find_first_of("\n\t"), std::string::npos);
    EXPECT_EQ(Field(labelLine, 7), "two\xA6lines\xA6here");
}

TEST(PropertyLine, ReadingRules)
{
    PolygonProperties start;
    start[0] = Variant(std::int32_t(4));
    start[10] = Variant(9.0);
    start[7] = Variant("keep");
    struct Case { const char* line; bool ok; int slot; Variant value; };
    const Case cases[] = {
        {"* * * * * * * * * * 1,5", true, 10, Variant(1.5)},           // "," as the point
        {"* * * * * * * * * * abc", true, 10, Variant(MissingValue)},  // a real that is no number
        {"* * * * * * * * * * *", true, 10, Variant(9.0)},             // "*" keeps the slot
        {"  \t 12\t\t*", true, 0, Variant(std::int32_t(12))},          // blanks and tabs in runs
        {"+12", true, 0, Variant(std::int32_t(12))},
        {"", true, 7, Variant("keep")},
        {"x", false, 0, Variant(std::int32_t(4))},
        {"1.0", false, 0, Variant(std::int32_t(4))},
        {"2147483648", false, 0, Variant(std::int32_t(4))},
        {"* * * * 12.5", false, 0, Variant(std::int32_t(4))},
        {"* * * * * * * * -", false, 0, Variant(std::int32_t(4))},
    };
    for (const Case& c : cases) {
        PolygonProperties row = start;
        EXPECT_EQ(TextToProperties(row, c.line), c.ok) << '"' << c.line << '"';
        EXPECT_EQ(row[c.slot], c.value) << '"' << c.line << '"';
        if (!c.ok) {
            EXPECT_EQ(row, start) << "a refused line leaves the row alone";
        }
    }
}

TEST(ModelBlock, FrameOnlyModelText)
{
    TPolygonModel m;
    m.Rho0 = 100;
    m.Nodes.SetLength(4);
    const double xz[4][2] = {{0, 0}, {0, 100}, {1000, 100}, {1000, 0}};
    for (int i = 0; i < 4; ++i) {
        m.Nodes[i].x = xz[i][0];
        m.Nodes[i].z = xz[i][1];
        m.Nodes[i].FrameCode = (const int[]){1, 2, 4, 5}[i];
    }
    m.Bodies.SetLength(1);
    m.Bodies[0].SetLength(1);
    m.Bodies[0][0].ring = arofintM{0, 1, 2, 3, 0, 3, 2, 1};
    m.Bodies[0][0].properties[psShapeIndex] = Variant(std::int8_t(-1));
    EXPECT_EQ(ModelBlockText(m),
              "VornPolyModelDescription2.0\n"
              " 1.00000000000000E+0002  0.00000000000000E+0000\n"
              " 0.00000000000000E+0000  1.00000000000000E+0003  0.00000000000000E+0000  1.00000000000000E+0002\n"
              "0 0\n"
              "\n"
              "4\n"
              " 0.00000000000000E+0000  0.00000000000000E+0000 0 0 1\n"
              " 0.00000000000000E+0000  1.00000000000000E+0002 0 0 2\n"
              " 1.00000000000000E+0003  1.00000000000000E+0002 0 0 4\n"
              " 1.00000000000000E+0003  0.00000000000000E+0000 0 0 5\n"
              "1\n"
              "1\n"
              "* * * * * * * * * * * * * * * * * * * \n"
              "0 1 2 3 0 3 2 1 \n"
              "EndPolyModelDescription2.0\n");
}

TEST(ModelBlock, RoundTrip)
{
    const TPolygonModel written = SampleModel();
    const std::string text = "P1 P2 dU\n0 10 1\n" + ModelBlockText(written);
    TPolygonModel read;
    ASSERT_EQ(ReadModelBlock(text, read), TModelBlockResult::Loaded);
    TPolygonModel expected = SampleModel();
    for (SPolygon& body : expected.Bodies)
        for (Polygon& p : body) p.properties = AsReloaded(p.properties);
    EXPECT_TRUE(SameModel(read, expected));
    EXPECT_EQ(read.Bodies[1][0].properties[psFillColor], Variant(std::int32_t(12632256)));
    EXPECT_EQ(read.Bodies[1][0].properties[psLabelText], Variant(" "));
    EXPECT_EQ(read.Bodies[1][0].properties[psResistivity], Variant(0.5));
    EXPECT_EQ(read.Bodies[1][0].properties[12].GetKind(), Variant::Kind::Real);

    // Written again, the reloaded model gives the same text.
    EXPECT_EQ(ModelBlockText(read), ModelBlockText(expected));
    // CR LF line ends read like LF.
    TPolygonModel crlf;
    ASSERT_EQ(ReadModelBlock(ToCrLf(text), crlf), TModelBlockResult::Loaded);
    EXPECT_TRUE(SameModel(crlf, read));
    // Coordinates keep 15 significant digits.
    TPolygonModel fine = SampleModel();
    fine.Nodes[5].x = 1.0 / 3.0;
    ASSERT_EQ(ReadModelBlock(ModelBlockText(fine), read), TModelBlockResult::Loaded);
    EXPECT_NEAR(read.Nodes[5].x, 1.0 / 3.0, 1e-15);
}

TEST(ModelBlock, FixtureLoadsAndCrLfReadsLikeLf)
{
    const std::string text = ReadFixture("valid.sp2");
    TPolygonModel lf, crlf;
    ASSERT_EQ(ReadModelBlock(text, lf), TModelBlockResult::Loaded);
    ASSERT_EQ(ReadModelBlock(ToCrLf(text), crlf), TModelBlockResult::Loaded);
    EXPECT_TRUE(SameModel(lf, crlf));
    EXPECT_EQ(lf.Rho0, 100);
    EXPECT_TRUE(lf.HasRelief);
    EXPECT_EQ(lf.Relief, (arofcomplexM{{-50, 3}, {1050, 0}}));
    EXPECT_EQ(lf.Nodes.Length(), 7);
    EXPECT_EQ(lf.Nodes[6].z, 40.5);
    EXPECT_EQ(lf.Nodes[6].NodeClass, 0) << "stored as 2, worked out anew";
    EXPECT_EQ(lf.Bodies[0][0].ring, (arofintM{0, 1, 2, 3, 0, 3, 2, 1}));
    EXPECT_EQ(lf.Bodies[1][0].properties[psLabelText], Variant("a b"));
    EXPECT_EQ(lf.Bodies[1][0].properties[psResistivity], Variant(25.5));
}

TEST(ModelBlock, MalformedFixturesLeaveTheModelUnchanged)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VSP_TEST_DATA) + "/modelblock")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("malformed_", 0) != 0) continue;
        ++count;
        TPolygonModel model = SampleModel();
        EXPECT_EQ(ReadModelBlock(ReadFixture(name), model), TModelBlockResult::Malformed) << name;
        EXPECT_TRUE(SameModel(model, SampleModel())) << name;
    }
    EXPECT_GE(count, 20);
}

TEST(ModelBlock, StaleClassesAreWorkedOutAnew)
{
    // The triangle 4 5 6 is stored with class 2 (inner) at every node, as if no edge of it were open.
    TPolygonModel m;
    ASSERT_EQ(ReadModelBlock(ReadFixture("stale_classes.sp2"), m), TModelBlockResult::Loaded);
    for (int v : {4, 5, 6}) EXPECT_EQ(m.Nodes[v].NodeClass, 0) << v;
    for (int v : {0, 1, 2, 3}) EXPECT_EQ(m.Nodes[v].NodeClass, 0) << v;

    // A new polygon's edge across the triangle (not through its edge 4-5) is refused ...
    const arofcomplexM across{{50, 30}, {250, 30}};
    EXPECT_FALSE(CheckNewPolygon(across, m.Bodies, m.Nodes, false));
    // ... which the stored classes would have let through.
    for (int v : {4, 5, 6}) m.Nodes[v].NodeClass = 2;
    EXPECT_TRUE(CheckNewPolygon(across, m.Bodies, m.Nodes, false));
}

TEST(ModelBlock, WhereTheBlockStarts)
{
    const std::string block = ModelBlockText(SampleModel());
    TPolygonModel m = SampleModel();
    m.Rho0 = 1;
    struct Case { std::string text; TModelBlockResult result; };
    const Case cases[] = {
        {"P1 P2 dU\n0 1 2\n", TModelBlockResult::None},
        {"", TModelBlockResult::None},
        {"P1 P2 dU\nVornPolyModelDescription2.0", TModelBlockResult::None},         // the last line
        {"P1 P2 dU\nVornPolyModelDescription2.0\r\n", TModelBlockResult::None},
        {"P1 P2 dU\nVornPolyModelDescription2.0\n\n", TModelBlockResult::Malformed}, // an empty next line
        {"x ** " + block, TModelBlockResult::Loaded},                              // inside a longer line
        {block.substr(0, block.find("EndPoly")), TModelBlockResult::Loaded},        // no end line needed
    };
    for (const Case& c : cases) {
        TPolygonModel read = m;
        EXPECT_EQ(ReadModelBlock(c.text, read), c.result) << c.text.substr(0, 40);
        EXPECT_EQ(read.Rho0, c.result == TModelBlockResult::Loaded ? 123.25 : 1.0);
    }
}

TEST(ModelBlock, AppendKeepsTheChosenLines)
{
    TPolygonModel m;
    m.Bodies.SetLength(1);
    const std::string block = ModelBlockText(m);
    const std::string existing = "a\r\nb\nc";
    struct Case { int keep; std::string head; };
    const Case cases[] = {
        {-1, "a\nb\nc\n"}, {0, ""}, {-5, ""}, {2, "a\nb\n"}, {5, "a\nb\nc\n\n\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(AppendModelBlock(existing, c.keep, m), c.head + block) << c.keep;
    EXPECT_EQ(AppendModelBlock("", -1, m), block) << "a file that does not exist yet";
}
