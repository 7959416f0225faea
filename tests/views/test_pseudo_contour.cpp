// The data view's contoured section fed by its two feeders: the renders probed at pixels (vertical bands
// with isolines, rings around a peak), the colour bar's bands and labels, the feeders' refusals, the cut
// grid's message, the emptied section, the cursor read-out and the mouse zones.
#include "chart/base/LumCanvas3D.h"
#include "chart/control/LumTools.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/series/Series.h"
#include "core/SectionContour.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/rtl/NumberText.h"
#include "views/PseudoSection2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

ararofdoubleM Values(int nx, int nz, const std::function<double(int, int)>& f)
{
    ararofdoubleM v(nx);
    for (int j = 0; j < nx; ++j) {
        v[j].SetLength(nz);
        for (int k = 0; k < nz; ++k) v[j][k] = f(j, k);
    }
    return v;
}

arofdoubleM Steps(int n, double start, double step)
{
    arofdoubleM v(n);
    for (int i = 0; i < n; ++i) v[i] = start + i * step;
    return v;
}

// A view of the main window's size fed with a grid whose values equal x (0 ... 160 over 17 columns).
struct TFedView {
    explicit TFedView(int levels = 3, double top = 160)
    {
        View.SetBounds(0, 0, 790, 339);
        View.GridSeries->SetActive(false); // the nodes' dots would stand over the probed pixels
        View.FLevelCount = levels;
        const int nx = 17;
        View.SetSectionGrid(Steps(nx, 0, top / (nx - 1)), Steps(6, 0, 10),
                            Values(nx, 6, [&](int j, int) { return top * j / (nx - 1); }), arofdoubleM{}, 0);
    }
    std::unique_ptr<TBitmap> Render() { return View.RenderToBitmap(clWhite, View.ChartBounds(), pf24bit); }
    TPseudoSection2d View{nullptr};
};

bool ColourNear(TBitmap& b, int x, int y, TColor c, int reach)
{
    for (int dx = -reach; dx <= reach; ++dx)
        if (b.Canvas().GetPixel(x + dx, y) == c) return true;
    return false;
}

} // namespace

TEST(PseudoContour, ValuesRisingWithXShowVerticalBandsAndIsolines)
{
    TFedView fed(3);
    TPseudoSection2d& view = fed.View;
    ASSERT_EQ(view.FLevels, (arofdoubleM{40, 80, 120}));
    for (const bool isolines : {true, false}) {
        SCOPED_TRACE(isolines ? "isolines on" : "isolines off");
        view.FShowIsolines = isolines;
        view.UpdateImage();
        const auto picture = fed.Render();
        const TRect plot = view.ChartRect();
        const int y = (plot.Top + plot.Bottom) / 2;
        const double middles[] = {20, 60, 100, 140};
        for (int k = 0; k <= 3; ++k) {
            const int x = view.BottomAxis().CalcPosValue(middles[k]);
            EXPECT_EQ(picture->Canvas().GetPixel(x, y), view.FBandColors[k]) << "band " << k;
        }
        for (int k = 0; k < 3; ++k) {
            const int x = view.BottomAxis().CalcPosValue(view.FLevels[k]);
            EXPECT_EQ(ColourNear(*picture, x, y, view.FLineColors[k], 1), isolines) << "isoline " << k;
            // Bands meet there: the colour left of the line is band k's, right of it band k + 1's.
            EXPECT_EQ(picture->Canvas().GetPixel(x - 3, y), view.FBandColors[k]);
            EXPECT_EQ(picture->Canvas().GetPixel(x + 3, y), view.FBandColors[k + 1]);
        }
    }
}

TEST(PseudoContour, AFieldRisingFromACentreGivesClosedRings)
{
    TPseudoSection2d view(nullptr);
    view.SetBounds(0, 0, 790, 339);
    view.GridSeries->SetActive(false);
    view.FLevelCount = 4;
    view.SetSectionGrid(Steps(21, 0, 10), Steps(21, 0, 5),
                        Values(21, 21, [](int j, int k) { return 100 - 10 * std::hypot(j - 10.0, k - 10.0); }),
                        arofdoubleM{}, 0);
    const auto picture = view.RenderToBitmap(clWhite, view.ChartBounds(), pf24bit);
    const int cx = view.BottomAxis().CalcPosValue(100), cy = view.LeftAxis().CalcPosValue(50);
    const int N = view.FLevels.Length();
    EXPECT_EQ(picture->Canvas().GetPixel(cx, cy), view.FBandColors[N]) << "inside the innermost ring";
    const int ox = view.BottomAxis().CalcPosValue(3), oy = view.LeftAxis().CalcPosValue(3);
    EXPECT_EQ(picture->Canvas().GetPixel(ox, oy), view.FBandColors[0]) << "outside every ring";
    // The rings are closed: every level's isoline is drawn round the centre, crossed on the centre's row
    // on both sides.
    int crossings = 0;
    for (int x = view.BottomAxis().CalcPosValue(0); x < cx; ++x)
        for (int k = 0; k < N; ++k) crossings += picture->Canvas().GetPixel(x, cy) == view.FLineColors[k];
    EXPECT_GE(crossings, N);
}

TEST(PseudoContour, ColourBarBandsAndLabels)
{
    struct Case {
        double top;
        std::vector<std::string> firstLabels;
    };
    // 15 levels of 10 ... 150 (no decimals) and of 0.1 ... 1.5 (one decimal).
    const Case cases[] = {{160, {"150", "130", "110"}}, {1.6, {"1.5", "1.3", "1.1"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.top);
        TFedView fed(15, c.top);
        TPseudoSection2d& view = fed.View;
        ASSERT_EQ(view.FLevels.Length(), 15);
        // Bands at rows top + round(i * 6.25), highest first, probed at the bar's middle column.
        TBitmap bitmap(100, 200);
        TLumCanvas3D canvas;
        canvas.AttachCanvas(&bitmap.Canvas());
        view.DrawColorBar(20, 50, canvas, "", 100, 15);
        for (int i = 0; i <= 15; ++i) {
            const int row = 50 + static_cast<int>(std::nearbyint(i * 6.25));
            EXPECT_EQ(bitmap.Canvas().GetPixel(27, row + 1), view.FBandColors[15 - i]) << "band row " << i;
        }
        // The frame: black at the bar's left edge.
        EXPECT_EQ(bitmap.Canvas().GetPixel(20, 100), clBlack);

        // Labels from the recording canvas: right of the ticks, centred on them, overlapping ones left out.
        auto recorder = std::make_shared<TRecordingBackend>(100, 200);
        TCanvas device(recorder);
        TLumCanvas3D recording;
        recording.AttachCanvas(&device);
        view.ColorBarTitle = "<b>mV</b>";
        view.DrawColorBar(20, 50, recording, view.ColorBarTitle, 100, 15);
        recording.SelectFont(view.BarFont());
        const int hT = std::abs(recording.MeasureTextHeight("123"));
        std::vector<std::string> expected;
        std::vector<int> rows;
        double lastBottom = -10;
        for (int i = 1; i <= 15; ++i) {
            const int y = 50 + static_cast<int>(std::nearbyint(i * 6.25));
            if (y - hT / 2.0 < lastBottom) continue;
            expected.push_back(FormatFixed(view.FLevels[15 - i], c.top > 10 ? 0 : 1));
            rows.push_back(static_cast<int>(std::nearbyint(y - hT / 2.0)));
            lastBottom = y + hT / 2.0;
        }
        ASSERT_LT(expected.size(), 15u) << "some labels overlap";
        std::vector<std::string> texts;
        std::vector<int> ys;
        std::string title;
        for (const auto* r : recorder->OfKind("TextOut")) {
            if (r->Args[0] == 20 + 15 + 6) {
                texts.push_back(r->Text);
                ys.push_back(r->Args[1]);
            } else {
                title += r->Text;
            }
        }
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(ys, rows);
        for (std::size_t i = 0; i < c.firstLabels.size(); ++i) EXPECT_EQ(texts[i], c.firstLabels[i]);
        EXPECT_EQ(title, "mV") << "the title goes through the HTML writer";
    }
}

TEST(PseudoContour, NoColourBarWhenEmptyOrSwitchedOff)
{
    TFedView fed(5);
    TPseudoSection2d& view = fed.View;
    auto barPixel = [&] {
        const auto picture = fed.Render();
        const TRect plot = view.ChartRect();
        return picture->Canvas().GetPixel(plot.Right + 17, plot.Top + 3);
    };
    EXPECT_EQ(barPixel(), view.FBandColors[5]) << "the bar's top band";
    view.FShowColorBar = false;
    EXPECT_EQ(barPixel(), clWhite);
    view.FShowColorBar = true;
    view.ClearSection();
    EXPECT_EQ(barPixel(), clWhite);
}

TEST(PseudoContour, FeederRefusalsLeaveTheSectionAsItWas)
{
    const double M = MissingValue;
    const double nan = std::nan("");
    struct Case {
        const char* name;
        std::function<void(TPseudoSection2d&)> feed;
        std::string message;
    };
    const arofdoubleM x3{0, 1, 2}, y3{0, 1, 0};
    const Case cases[] = {
        {"two nodes", [&](TPseudoSection2d& v) { v.SetSectionNodes({0, 1}, {0, 1}, {1, 2}, {}); },
         "A section needs at least three nodes."},
        {"a value not finite", [&](TPseudoSection2d& v) { v.SetSectionNodes(x3, y3, {1, nan, 2}, {}); },
         "A node's value is not a finite number."},
        {"a missing value", [&](TPseudoSection2d& v) { v.SetSectionNodes(x3, y3, {1, M, 2}, {}); },
         "A node's value is not a finite number."},
        {"an infinite x", [&](TPseudoSection2d& v) { v.SetSectionNodes({0, INFINITY, 2}, y3, {1, 2, 3}, {}); },
         "A node's x is not a finite number."},
        {"arrays of other lengths", [&](TPseudoSection2d& v) { v.SetSectionNodes(x3, {0, 1}, {1, 2, 3}, {}); },
         "The node arrays differ in length."},
        {"one vertical line", [&](TPseudoSection2d& v) { v.SetSectionNodes({1, 1, 1}, {0, 1, 2}, {1, 2, 3}, {}); },
         "All nodes lie on one vertical or horizontal line."},
        {"one horizontal line", [&](TPseudoSection2d& v) { v.SetSectionNodes({0, 1, 2}, {4, 4, 4}, {1, 2, 3}, {}); },
         "All nodes lie on one vertical or horizontal line."},
        {"values not nx by nz",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(3, 0, 1), Steps(2, 0, 1), Values(3, 3, [](int, int) { return 1.0; }), {}, 0); },
         "The grid values need one value per level."},
        {"values of too few columns",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(3, 0, 1), Steps(2, 0, 1), Values(2, 2, [](int, int) { return 1.0; }), {}, 0); },
         "The grid values need one row per column."},
        {"relief of another length",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(3, 0, 1), Steps(2, 0, 1), Values(3, 2, [](int, int) { return 1.0; }), {0, 1}, 0); },
         "The relief needs one value per column or none."},
        {"x not ascending",
         [&](TPseudoSection2d& v) { v.SetSectionGrid({0, 2, 1}, Steps(2, 0, 1), Values(3, 2, [](int, int) { return 1.0; }), {}, 0); },
         "The column positions must ascend."},
        {"depths not ascending",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(3, 0, 1), {1, 1}, Values(3, 2, [](int, int) { return 1.0; }), {}, 0); },
         "The depths must ascend."},
        {"one level",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(3, 0, 1), {1}, Values(3, 1, [](int, int) { return 1.0; }), {}, 0); },
         "A grid needs at least two columns and two levels."},
        {"more than 10,000 columns",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(10001, 0, 1), Steps(2, 0, 1), Values(10001, 2, [](int, int) { return 1.0; }), {}, 0); },
         "A grid has at most 10000 columns."},
        {"a grid value missing",
         [&](TPseudoSection2d& v) { v.SetSectionGrid(Steps(3, 0, 1), Steps(2, 0, 1), Values(3, 2, [&](int j, int) { return j == 1 ? M : 1.0; }), {}, 0); },
         "A grid value is not a finite number."},
        {"too many nodes",
         [&](TPseudoSection2d& v) {
             arofdoubleM x, y, z;
             for (int i = 0; i < 8500; ++i) {
                 x.push_back(std::fmod(i * 0.618034, 1.0) * 1000);
                 y.push_back(std::fmod(i * 0.414214, 1.0) * 300);
                 z.push_back(i);
             }
             v.SetSectionNodes(x, y, z, {});
         },
         "Too many nodes for the section mesh."},
    };
    TFedView fed(5);
    TPseudoSection2d& view = fed.View;
    const TSectionData before = view;
    const int gridPoints = view.GridSeries->PointCount();
    for (const Case& c : cases) {
        try {
            c.feed(view);
            ADD_FAILURE() << c.name << " was taken";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message) << c.name;
        }
        EXPECT_EQ(view.NodeEnd, before.NodeEnd) << c.name;
        EXPECT_EQ(view.FTriangleCount, before.FTriangleCount) << c.name;
        EXPECT_EQ(view.FGridInput, before.FGridInput) << c.name;
        EXPECT_EQ(view.FGridX, before.FGridX) << c.name;
        EXPECT_EQ(view.FRangeMax, before.FRangeMax) << c.name;
        EXPECT_EQ(view.FXScale, before.FXScale) << c.name;
        EXPECT_EQ(view.FLevels, before.FLevels) << c.name;
        EXPECT_EQ(view.FNodes.Length(), before.FNodes.Length()) << c.name;
        EXPECT_EQ(view.GridSeries->PointCount(), gridPoints) << c.name;
    }
}

TEST(PseudoContour, DuplicateAndSlantedNodesAreTakenAndRender)
{
    for (const bool slanted : {false, true}) {
        SCOPED_TRACE(slanted ? "on one slanted line" : "with duplicates");
        TPseudoSection2d view(nullptr);
        view.SetBounds(0, 0, 790, 339);
        arofdoubleM x{0, 10, 20, 10, 30}, y{0, 5, 0, 5, 9}, z{1, 2, 3, 4, 5};
        if (slanted) y = arofdoubleM{0, 1, 2, 1, 3};
        view.SetSectionNodes(x, y, z, {});
        EXPECT_EQ(view.NodeEnd, 6);
        EXPECT_EQ(view.GridSeries->PointCount(), 5);
        EXPECT_NO_THROW(view.RenderToBitmap(clWhite, view.ChartBounds(), pf24bit));
    }
}

TEST(PseudoContour, ScatteredNodesTakeTheAxesScales)
{
    TPseudoSection2d view(nullptr);
    view.SetBounds(0, 0, 790, 339);
    view.BottomAxis().SetLogarithmic(true);
    view.SetSectionNodes({1, 10, 100, 1000}, {0, 5, 0, 5}, {1, 2, 3, 4}, {1, 0, 0, 1});
    // The axis takes its signed mode itself (over a range reaching 0).
    const TChartAxis& axis = view.BottomAxis();
    auto t = [&](double v) { return axis.SignedLogMode ? SymLogTransform(axis.SignedLogScale, v) : std::log10(v); };
    EXPECT_EQ(view.FNodes[3].X, t(100));
    EXPECT_EQ(view.FNodes[3].OrigX, 100);
    EXPECT_EQ(view.FNodes[4].Border, 1);
    EXPECT_EQ(view.FNodes[2].Text, "2");
    EXPECT_EQ(view.FXMax, t(1000));
}

TEST(PseudoContour, ZeroSpansDrawNoPictureAndRaiseNothing)
{
    TFedView fed(5);
    TPseudoSection2d& view = fed.View;
    // A logarithmic bottom axis over x from 0.
    EXPECT_NO_THROW(view.BottomAxis().SetLogarithmic(true));
    EXPECT_NO_THROW(fed.Render());
    view.BottomAxis().SetLogarithmic(false);
    // Source coordinates of no width: no picture.
    for (int i = 1; i < view.NodeEnd; ++i) view.FNodes[i].OrigX = 5;
    EXPECT_NO_THROW(view.UpdateImage());
    EXPECT_EQ(view.Picture().CommandCount(), 0);
    EXPECT_NO_THROW(fed.Render());
}

TEST(PseudoContour, LargeGridIsCutWithOneMessage)
{
    TPseudoSection2d view(nullptr);
    view.SetBounds(0, 0, 790, 339);
    TPromptScript script;
    script.AnswerMessage(mrOk);
    view.SetSectionGrid(Steps(300, 0, 1), Steps(100, 1, 1), Values(300, 100, [](int j, int k) { return double(j * k); }),
                        arofdoubleM{}, 0);
    ASSERT_EQ(script.Log().size(), 1u);
    EXPECT_EQ(script.Log()[0].Text, "Very large nodes number!");
    EXPECT_TRUE(script.Failures().empty());
    EXPECT_EQ(view.NodeEnd, 300 * 66 + 1);
    EXPECT_EQ(view.GridSeries->PointCount(), 300 * 66);
}

TEST(PseudoContour, ClearedSectionIsNotRebuiltFromItsOldGrid)
{
    TFedView fed(5);
    TPseudoSection2d& view = fed.View;
    const int triangles = view.FTriangleCount;
    // What "Create survey" does to the data view.
    view.ClearSection();
    view.RebuildSection(true);
    view.RefreshImage();
    view.PlaceLegend();
    EXPECT_EQ(view.NodeEnd, 1);
    EXPECT_FALSE(view.FGridInput);
    EXPECT_EQ(view.GridSeries->PointCount(), 0);
    EXPECT_EQ(view.FTriangleCount, triangles);
    int events = 0;
    view.OnCursorText = [&](TPersistent*) { ++events; };
    view.ShowCursorValues({}, 300, 100);
    EXPECT_EQ(events, 0);
}

TEST(PseudoContour, CursorTextAddsTheLabelOffset)
{
    TFedView fed(5);
    TPseudoSection2d& view = fed.View;
    fed.Render();
    view.LeftAxis().LabelValueOffset = 100;
    int events = 0;
    view.OnCursorText = [&](TPersistent*) { ++events; };
    const int x = view.BottomAxis().CalcPosValue(80), y = view.LeftAxis().CalcPosValue(12);
    view.ShowCursorValues({}, x, y);
    EXPECT_EQ(events, 1);
    EXPECT_NEAR(view.FCursorY, 12, 0.5);
    EXPECT_EQ(view.CursorText, FormatValue(view.FCursorX) + " " + FormatValue(view.FCursorY + 100));
    EXPECT_NEAR(std::stod(view.CursorText.substr(view.CursorText.find(' ') + 1)), 112, 0.5);
}

TEST(PseudoContour, MouseZones)
{
    TFedView fed(5);
    TPseudoSection2d& view = fed.View;
    fed.Render();
    const TRect R = view.ChartRect();
    TRect I = view.ImageTool->ImageRect;
    if (I.Top > I.Bottom) std::swap(I.Top, I.Bottom);
    const int midY = (R.Top + R.Bottom) / 2, midX = (R.Left + R.Right) / 2;
    struct Case {
        const char* where;
        int x, y, zone;
    };
    // In order: each row starts from the zone the row before left.
    const Case cases[] = {
        {"over the picture", (I.Left + I.Right) / 2, (I.Top + I.Bottom) / 2, 0},
        {"left of the plot", R.Left - 5, midY, 1},
        {"left of and above the plot keeps the previous zone", R.Left - 5, R.Top - 1 < 0 ? 0 : R.Top - 1, 1},
        {"right of the plot, where the bar is", R.Right + 20, midY, 2},
        {"below the plot", midX, R.Bottom + 5, 4},
        {"far right below keeps the zone", R.Right + 30, R.Bottom + 10, 4},
        {"on the picture's left edge is not over it", I.Left, midY, 4},
    };
    for (const Case& c : cases) {
        view.ShowCursorValues({}, c.x, c.y);
        EXPECT_EQ(view.FMouseZone, c.zone) << c.where;
    }
    // Above the plot needs room above it: with a top margin of 20 there is.
    view.SetMarginTop(20);
    fed.Render();
    view.ShowCursorValues({}, (view.ChartRect().Left + view.ChartRect().Right) / 2, view.ChartRect().Top - 5);
    EXPECT_EQ(view.FMouseZone, 3);
}
