// The ".sp2" reader: header roles, measurement and "***" lines, the "topo" section and its markers, the
// "start_config" block, the model block, the ".cfg" offered beside the file, and the "~" fit.
#include "core/SurveyReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const std::string Dir = std::string(VSP_TEST_DATA) + "/survey/";
const double M = MissingValue;

struct TRead {
    TSurveyState s;
    TPolygonModel model;
    int result = ReadError;
    std::vector<std::string> questions;
};

TRead ReadFixture(const std::string& name, bool answer = true)
{
    TRead r;
    ResetForOpen(r.s);
    r.result = ReadDataFile(r.s, Dir + name, [&](const std::string& q) { r.questions.push_back(q); return answer; },
                            r.model);
    return r;
}

TRead ReadText(const std::string& text)
{
    TRead r;
    ResetForOpen(r.s);
    r.result = ReadSurveyText(r.s, text, "mem.sp2", std::nullopt, nullptr, r.model);
    return r;
}

std::vector<double> Row(const TSurveyState& s, int i)
{
    const TMeasurementRow& row = s.SurveyRows[i];
    return {row.begin(), row.end()};
}

std::vector<double> Values(const arofdoubleM& a) { return {a.begin(), a.end()}; }

} // namespace

TEST(SurveyReader, HeaderRolesAndMeasurementLines)
{
    struct Case {
        const char* text;
        int result;
        std::vector<std::vector<double>> rows;
        int p1y, p2y, p1z, p2z;
    };
    const Case cases[] = {
        // Least token count is the number of roles; the weight stays missing without its column.
        {"P1 P2 dU\n0 1 0,25\n1 2\n", ReadData, {{0, 1, 0, 0, 0, 0, 0.25, M, M}}, -1, -1, -1, -1},
        // A column without a role before the roles: the roles are found by position.
        {"x p1 p2 du\nA 0 1 2\n", ReadData, {{0, 1, 0, 0, 0, 0, 2, M, M}}, -1, -1, -1, -1},
        // Enough tokens by count but none at the dU column: no measurement.
        {"x y P1 P2 dU\n1 2 3\n1 2 3 4 5\n", ReadData, {{3, 4, 0, 0, 0, 0, 5, M, M}}, -1, -1, -1, -1},
        // The last matching token wins; "P1y" is not P1.
        {"P1 P1y P1 P2 dU\n9 8 7 6 5\n", ReadData, {{7, 6, 8, 0, 0, 0, 5, M, M}}, 1, -1, -1, -1},
        // Non-numeric values become MissingValue; a z column of the file keeps its value.
        {"P1 P2 P2z dU Weight\n* 1 2 x 0.5\n", ReadData, {{M, 1, 0, 0, 0, 2, M, 0.5, M}}, -1, -1, -1, 2},
        // Required roles missing, no header, or a header with no measurement after it.
        {"P1 P2 weight\n0 1 2\n", ReadError, {}, -1, -1, -1, -1},
        {"P1 P2\n0 1\n", ReadError, {}, -1, -1, -1, -1},
        {"", ReadError, {}, -1, -1, -1, -1},
        {"P1 P2 dU\n", ReadError, {}, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TRead r = ReadText(c.text);
        EXPECT_EQ(r.result, c.result);
        ASSERT_EQ(r.s.SurveyRows.Length(), static_cast<int>(c.rows.size()));
        for (std::size_t i = 0; i < c.rows.size(); ++i) EXPECT_EQ(Row(r.s, i), c.rows[i]);
        EXPECT_EQ(r.s.P1yColumn, c.p1y);
        EXPECT_EQ(r.s.P2yColumn, c.p2y);
        EXPECT_EQ(r.s.P1zColumn, c.p1z);
        EXPECT_EQ(r.s.P2zColumn, c.p2z);
    }
}

// Lines of the data section that hold no sound measurement are numbered (from 1, preamble and header
// counted); the garbled ones still give their row, with the value missing, as before.
TEST(SurveyReader, UnreadableLinesAreNumbered)
{
    struct Case {
        const char* text;
        std::vector<int> lines;
        int rows;
    };
    const Case cases[] = {
        // A garbled number and a line cut short; the garbled line is still a row.
        {"P1 P2 dU\n0 1 2\n1 2 3.3x9\n2 3\n3 4 5\n", {3, 4}, 3},
        // The preamble before the header, blank lines, "***" lines, the "*" of a missing value and the
        // line that ends the section are no faults.
        {"survey\n\nP1 P2 dU\n0 1 *\n\n*** 5\n1 2 3\ntopo\n0 1\n", {}, 2},
        // Enough values by count, but none at the dU column; a word in a position.
        {"x P1 P2 dU\n1 2 3\nA b 1 2\n", {2, 3}, 1},
        // A line of words in the data section.
        {"P1 P2 dU\n0 1 2\nthis is a comment\n", {3}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TRead r = ReadText(c.text);
        EXPECT_EQ(std::vector<int>(r.s.UnreadableLines.begin(), r.s.UnreadableLines.end()), c.lines);
        EXPECT_EQ(r.s.SurveyRows.Length(), c.rows);
    }
    // A second read starts its own list.
    TRead r = ReadText("P1 P2 dU\n0 1 x\n");
    ResetForOpen(r.s);
    ReadSurveyText(r.s, "P1 P2 dU\n0 1 2\n", "mem.sp2", std::nullopt, nullptr, r.model);
    EXPECT_TRUE(r.s.UnreadableLines.empty());
}

TEST(SurveyReader, UnreadableLinesMessage)
{
    arofintM twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(i * 5);
    arofintM ten = twelve;
    ten.SetLength(10);
    const struct {
        arofintM lines;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{7}, "1 line could not be read: 7"},
        {{5, 28, 31}, "3 lines could not be read: 5, 28, 31"},
        {ten, "10 lines could not be read: 5, 10, 15, 20, 25, 30, 35, 40, 45, 50"},
        {twelve, "12 lines could not be read: 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, ..."},
    };
    for (const auto& c : cases) EXPECT_EQ(UnreadableLinesMessage(c.lines), c.text);
}

TEST(SurveyReader, FixtureWithPreambleCommaAndMissingValues)
{
    const TRead r = ReadFixture("basic.sp2");
    EXPECT_EQ(r.result, ReadData);
    ASSERT_EQ(r.s.SurveyRows.Length(), 4);
    EXPECT_EQ(Row(r.s, 0), (std::vector<double>{0, 1, 0, 0, 0, 0, 0.25, M, M}));
    EXPECT_EQ(Row(r.s, 2)[mcDU], M);
    EXPECT_EQ(Row(r.s, 3)[mcDU], 1e-3);
    EXPECT_EQ(r.s.CurrentFile, Dir + "basic.sp2");
    EXPECT_EQ(r.s.StartResistivity, 100.0);
    EXPECT_TRUE(r.s.SetupDefaultsPending); // no ".cfg" beside it, nothing asked
    EXPECT_TRUE(r.questions.empty());
}

TEST(SurveyReader, AllOptionalColumns)
{
    const TRead r = ReadFixture("columns.sp2");
    EXPECT_EQ(r.result, ReadData);
    EXPECT_EQ((std::vector<int>{r.s.P1yColumn, r.s.P2yColumn, r.s.P1zColumn, r.s.P2zColumn}),
              (std::vector<int>{3, 4, 5, 6}));
    ASSERT_EQ(r.s.SurveyRows.Length(), 2); // the line with three tokens is no measurement
    EXPECT_EQ(Row(r.s, 0), (std::vector<double>{10, 20, 1, 2, 0.5, 0, 0.125, 2, M}));
    EXPECT_EQ(Row(r.s, 1), (std::vector<double>{50, 60, 0, 0, 0, 0, -1, M, M}));
}

TEST(SurveyReader, StarLinesGiveTheirFirstNumberAndAreNoMeasurements)
{
    const TRead r = ReadFixture("stars.sp2");
    EXPECT_EQ(Values(r.s.StarValues), (std::vector<double>{12.5, -3}));
    ASSERT_EQ(r.s.SurveyRows.Length(), 2);
    EXPECT_EQ(Row(r.s, 1)[mcP1x], 1);
}

TEST(SurveyReader, TopoSectionEndsTheDataAndTakesPointsWithTwoNumbers)
{
    const TRead r = ReadFixture("topo.sp2");
    EXPECT_EQ(r.s.SurveyRows.Length(), 2);
    ASSERT_EQ(r.s.Topography.Length(), 3);
    EXPECT_EQ(r.s.Topography[2], (complexM{20, 99.5}));
    EXPECT_FALSE(r.s.SlopeTopography);
    EXPECT_EQ(r.s.TopoReference.x, M);

    // A line naming "model" ends the data section after it was read as a measurement.
    const TRead m = ReadText("P1 P2 dU\n0 1 2 model\n1 2 3\n");
    EXPECT_EQ(m.s.SurveyRows.Length(), 1);
}

TEST(SurveyReader, ReferenceLineAndAlongGroundMarker)
{
    const TRead r = ReadFixture("topo_reference.sp2");
    EXPECT_EQ(r.s.TopoReference, (TTopoReference{5, 0}));
    EXPECT_TRUE(r.s.SlopeTopography); // "^" is looked for on the reference line
    EXPECT_EQ(r.s.Topography.Length(), 2);

    // "^" on the "topo" line itself counts only without "#".
    EXPECT_TRUE(ReadText("P1 P2 dU\n0 1 2\ntopo ^\n0 1\n").s.SlopeTopography);
    EXPECT_FALSE(ReadText("P1 P2 dU\n0 1 2\ntopo ^ #\n5 0\n0 1\n").s.SlopeTopography);
    // A reference line with one number leaves no reference.
    EXPECT_EQ(ReadText("P1 P2 dU\n0 1 2\ntopo #\n5\n0 1\n").s.TopoReference.x, M);
}

TEST(SurveyReader, StartConfigBlock)
{
    const TRead r = ReadFixture("start_config.sp2");
    EXPECT_EQ(r.s.SourceA, 1);
    EXPECT_EQ(r.s.SourceB, 30);
    EXPECT_EQ(r.s.SourceC, 0);
    EXPECT_EQ(r.s.SourceType, 1);
    EXPECT_EQ(Values(r.s.SourceValues), (std::vector<double>{0.5, 0.4}));

    struct Case {
        const char* block;
        double a;
        int type;
        std::vector<double> values;
    };
    const TSurveyState fresh;
    const Case cases[] = {
        {"start_config\n2 3 4 2.5\n7\nend_config\n", 2, 2, {7}},       // kind rounded, halves to even
        {"start_config\n2 3 4\n7\nend_config\n", fresh.SourceA, 0, {}}, // fewer than four numbers: ignored
        {"start_config\n2 3 4 5\n7\nend_config\n", fresh.SourceA, 0, {}}, // no such source kind: ignored
        {"start_config\n2 3 4 1e300\n7\n", fresh.SourceA, 0, {}},
        {"start_config\n2 3 4 1\n", 2, 1, {}},                          // cut short: keeps what was read
        {"topo\n0 0\nstart_config\n2 3 4 1\n9 8\n", 2, 1, {9, 8}},      // after the "topo" section
        {"VornPolyModelDescription2.0\nstart_config\n2 3 4 1\n", fresh.SourceA, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const TRead t = ReadText(std::string("P1 P2 dU\n0 1 2\n") + c.block);
        EXPECT_EQ(t.s.SourceA, c.a);
        EXPECT_EQ(t.s.SourceType, c.type);
        EXPECT_EQ(Values(t.s.SourceValues), c.values);
    }
}

TEST(SurveyReader, CrLfLinesReadLikeLf)
{
    const TRead r = ReadFixture("crlf.sp2");
    EXPECT_EQ(r.result, ReadData);
    ASSERT_EQ(r.s.SurveyRows.Length(), 1);
    EXPECT_EQ(Row(r.s, 0), (std::vector<double>{0, 1, 0, 0, 0, 0, 0.5, M, M}));
    EXPECT_EQ(Values(r.s.StarValues), (std::vector<double>{7}));
    ASSERT_EQ(r.s.Topography.Length(), 2);
    EXPECT_EQ(r.s.Topography[1], (complexM{1, 2}));
}

TEST(SurveyReader, ErrorsLeaveTheRowsOfAFailedHeaderAlone)
{
    for (const char* name : {"no_du.sp2", "no_header.sp2", "header_only.sp2", "does_not_exist.sp2"}) {
        SCOPED_TRACE(name);
        TRead r;
        ResetForOpen(r.s);
        r.s.SurveyRows = {arofdoubleM{1, 2, 3}};
        r.result = ReadDataFile(r.s, Dir + name, nullptr, r.model);
        EXPECT_EQ(r.result, ReadError);
        if (std::string(name) != "header_only.sp2") {
            EXPECT_EQ(r.s.SurveyRows.Length(), 1);
        }
    }
}

TEST(SurveyReader, ConfigurationBesideTheFileIsOfferedOnce)
{
    const TRead yes = ReadFixture("with_cfg.sp2", true);
    EXPECT_EQ(yes.questions, (std::vector<std::string>{"Load project configuration"}));
    EXPECT_FALSE(yes.s.SetupDefaultsPending);
    EXPECT_EQ(yes.s.Settings.FactorX, 0.5);
    EXPECT_EQ(yes.s.Settings.numqp, 5);

    const TRead no = ReadFixture("with_cfg.sp2", false);
    EXPECT_EQ(no.questions.size(), 1u);
    EXPECT_FALSE(no.s.SetupDefaultsPending);
    EXPECT_EQ(no.s.Settings.FactorX, TSurveyState().Settings.FactorX);
}

TEST(SurveyReader, TiltedFrameOfAStraightSlope)
{
    // Profile z = 0.5 x: positions measure the distance along the line from its left end.
    const TRead r = ReadFixture("topo_tilde.sp2");
    ASSERT_EQ(r.s.SurveyRows.Length(), 1);
    const double stretch = std::sqrt(1 + 0.5 * 0.5);
    EXPECT_NEAR(Row(r.s, 0)[mcP1x], 0, 1e-12);
    EXPECT_NEAR(Row(r.s, 0)[mcP2x], 10 * stretch, 1e-12);
    ASSERT_EQ(r.s.Topography.Length(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(r.s.Topography[i].x, 10 * i * stretch, 1e-12);
        EXPECT_NEAR(r.s.Topography[i].z, 0, 1e-12);
    }
}

TEST(SurveyReader, TiltedFrameOfAHillyProfileFollowsTheTurnedProfile)
{
    // Each position is the turned ground point above it: at a profile point it lands on that point of
    // the turned profile, between two points on the straight line between their turned images.
    const arofcomplexM asRead{{30, 4}, {0, 0}, {10, 3}, {20, 1}};
    arofcomplexM sorted{{0, 0}, {10, 3}, {20, 1}, {30, 4}};
    arofcomplexM turned = asRead;
    const TTopoFit fit = FitTopoLine(turned);
    EXPECT_EQ(fit.X0, 0);
    for (int i = 0; i < asRead.Length(); ++i)
        EXPECT_NEAR(ToFittedFrame(fit, sorted, asRead[i].x), turned[i].x, 1e-12);
    const double mid = ToFittedFrame(fit, sorted, 15);
    EXPECT_NEAR(mid, (turned[2].x + turned[3].x) / 2, 1e-12);
    // Turning keeps the distances between profile points.
    const auto dist = [](complexM a, complexM b) { return std::hypot(a.x - b.x, a.z - b.z); };
    EXPECT_NEAR(dist(turned[0], turned[1]), dist(asRead[0], asRead[1]), 1e-12);

    // A reference point is converted instead of the positions.
    const TRead r = ReadText("P1 P2 dU\n0 10 1\ntopo ~ #\n10 0\n0 0\n10 5\n20 10\n");
    EXPECT_NEAR(r.s.TopoReference.x, 10 * std::sqrt(1.25), 1e-12);
    EXPECT_EQ(Row(r.s, 0)[mcP2x], 10);
}

TEST(SurveyReader, TiltedFrameWithoutALine)
{
    // One profile point, or all at one x: a flat line through the mean height, positions unchanged.
    for (const char* topo : {"topo ~\n5 7\n", "topo ~\n5 7\n5 9\n", "topo ~\n"}) {
        SCOPED_TRACE(topo);
        const TRead r = ReadText(std::string("P1 P2 dU\n0 10 1\n") + topo);
        EXPECT_EQ(Row(r.s, 0)[mcP1x], 0);
        EXPECT_EQ(Row(r.s, 0)[mcP2x], 10);
        for (const complexM& p : r.s.Topography) {
            EXPECT_EQ(p.x, 5);
            EXPECT_TRUE(std::isfinite(p.z));
        }
    }
}

TEST(SurveyReader, ModelBlockResults)
{
    struct Case {
        const char* name;
        int result;
        int rows;
        double startResistivity;
        int nodes; // of the model handed back; -1: the model is left as it was
    };
    const Case cases[] = {
        {"with_model.sp2", ReadDataWithModel, 2, 250, 7},
        {"model_only.sp2", ReadDataWithModel, 0, 250, 7},
        {"bad_model.sp2", ReadError, 1, 100, -1},
        {"basic.sp2", ReadData, 4, 100, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRead r;
        ResetForOpen(r.s);
        r.model.Nodes.SetLength(1);
        r.result = ReadDataFile(r.s, Dir + c.name, nullptr, r.model);
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.s.SurveyRows.Length(), c.rows);
        EXPECT_EQ(r.s.StartResistivity, c.startResistivity);
        EXPECT_EQ(r.model.Nodes.Length(), c.nodes < 0 ? 1 : c.nodes);
        if (c.nodes > 0) {
            EXPECT_EQ(r.model.ModelBox.ZMax, 24.5);
        }
    }
}
