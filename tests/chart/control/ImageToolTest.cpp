// The image tool: a four-colour picture stretched over a series' extents or the axes' range, mirrored by
// the flips, its mouse and resize events, the rotation's guard and the metafile cache of a deep zoom.
#include "ChartTestSupport.h"

#include "chart/control/LumTools.h"
#include "platform/graphics/Metafile.h"

#include <gtest/gtest.h>

namespace {

// Corner points of a picture; draws nothing itself.
class TQuietSeries : public TLineTestSeries {
public:
    explicit TQuietSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
    void PaintPoint(int) override {}
};

constexpr TColor kTL = 0x0000FF, kTR = 0x00FF00, kBL = 0xFF0000, kBR = 0x00FFFF;

// A 2 x 2 picture: red, green above blue, yellow.
TPicture& FourColours(TPicture& picture)
{
    TBitmap& b = picture.Bitmap();
    b.SetSize(2, 2);
    b.SetPixelRGB(0, 0, kTL);
    b.SetPixelRGB(1, 0, kTR);
    b.SetPixelRGB(0, 1, kBL);
    b.SetPixelRGB(1, 1, kBR);
    b.NotifyChanged();
    return picture;
}

struct TImageChart {
    TChart Chart{nullptr};
    TChartImageTool* Tool = new TChartImageTool(&Chart);
    TQuietSeries* Series = nullptr;

    TImageChart()
    {
        Chart.SetBounds(0, 0, 400, 300);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.BottomAxis().SetFixedRange(-10, 30);
        Chart.LeftAxis().SetFixedRange(-10, 20);
        Tool->SetParentChart(&Chart);
        FourColours(Tool->Picture());
    }
    void AddSeries(double x0, double y0, double x1, double y1)
    {
        Series = new TQuietSeries(&Chart);
        Series->InsertPoint(x0, y0);
        Series->InsertPoint(x1, y1);
        Series->SetParentChart(&Chart);
        Tool->SetSeries(Series);
    }
    std::unique_ptr<TBitmap> Render() { return RenderChart(Chart); }
    // The colours a quarter inside each corner of a rectangle: top-left, top-right, bottom-left, bottom-right.
    static std::vector<TColor> Quarters(TBitmap& b, TRect r)
    {
        const int l = std::min(r.Left, r.Right), rr = std::max(r.Left, r.Right);
        const int t = std::min(r.Top, r.Bottom), bb = std::max(r.Top, r.Bottom);
        const int qx = (rr - l) / 4, qy = (bb - t) / 4;
        return {b.PixelRGB(l + qx, t + qy), b.PixelRGB(rr - qx, t + qy), b.PixelRGB(l + qx, bb - qy),
                b.PixelRGB(rr - qx, bb - qy)};
    }
};

using TColours = std::vector<TColor>;

TEST(ImageTool, PictureFollowsTheSeriesExtentsAndTheFlips)
{
    struct TCase {
        bool FlipX, FlipY, Inverted;
        TColours Seen;
    };
    const TCase cases[] = {
        {false, false, false, {kTL, kTR, kBL, kBR}},
        {false, true, false, {kBL, kBR, kTL, kTR}},   // upside down
        {true, false, false, {kTR, kTL, kBR, kBL}},
        {false, true, true, {kTL, kTR, kBL, kBR}},    // FlipY on an inverted axis: upright again
    };
    for (const TCase& c : cases) {
        TImageChart t;
        t.AddSeries(0, 0, 20, 10);
        t.Tool->FlipX = c.FlipX;
        t.Tool->FlipY = c.FlipY;
        t.Chart.LeftAxis().SetInverted(c.Inverted);
        auto b = t.Render();
        const TChartAxis& h = t.Chart.BottomAxis();
        const TChartAxis& v = t.Chart.LeftAxis();
        const TRect expected{h.CalcXPosValue(c.FlipX ? 20 : 0), v.CalcYPosValue(c.FlipY ? 0 : 10),
                             h.CalcXPosValue(c.FlipX ? 0 : 20), v.CalcYPosValue(c.FlipY ? 10 : 0)};
        EXPECT_EQ(t.Tool->ImageRect, expected) << c.FlipX << c.FlipY << c.Inverted;
        EXPECT_EQ(TImageChart::Quarters(*b, expected), c.Seen) << c.FlipX << c.FlipY << c.Inverted;
        // Outside the rectangle the chart's back shows.
        EXPECT_NE(b->PixelRGB(h.CalcXPosValue(25), v.CalcYPosValue(15)), kTL);
    }
}

TEST(ImageTool, WithoutASeriesThePictureCoversTheAxesRangeUnflipped)
{
    TImageChart t;
    t.Tool->FlipX = true;
    t.Tool->FlipY = true;
    auto b = t.Render();
    const TChartAxis& h = t.Chart.BottomAxis();
    const TChartAxis& v = t.Chart.LeftAxis();
    const TRect expected{h.CalcXPosValue(-10), v.CalcYPosValue(20), h.CalcXPosValue(30), v.CalcYPosValue(-10)};
    EXPECT_EQ(t.Tool->ImageRect, expected);
    EXPECT_EQ(TImageChart::Quarters(*b, expected), (TColours{kTL, kTR, kBL, kBR}));
    EXPECT_EQ(t.Tool->XPixelToValue(200), 0);
    EXPECT_EQ(t.Tool->YPixelToValue(100), 0);

    // Behind a series by default; over it after the series.
    t.AddSeries(0, 0, 20, 10);
    EXPECT_NEAR(t.Tool->XPixelToValue(h.CalcXPosValue(5)), 5, 0.2);
    EXPECT_NEAR(t.Tool->YPixelToValue(v.CalcYPosValue(7)), 7, 0.2);
}

TEST(ImageTool, DrawsBeforeOrAfterTheSeries)
{
    for (bool after : {false, true}) {
        TImageChart t;
        auto& line = AddSeries(t.Chart, {0, 10, 20});
        line.SetSeriesColor(clBlack);
        t.Tool->DrawAfterSeries = after;
        t.Render();
        auto b = t.Render();
        const TPoint onLine{line.ScreenXOf(1), line.ScreenYOf(1)};
        EXPECT_EQ(b->PixelRGB(onLine.x, onLine.y) == 0, !after) << after;
    }
}

TEST(ImageTool, MouseEventsOnlyStrictlyInside)
{
    TImageChart t;
    t.AddSeries(0, 0, 20, 10);
    t.Render();
    std::vector<std::string> log;
    t.Tool->OnImageMouseDown = [&](TPersistent*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    t.Tool->OnImageMouseMove = [&](TPersistent*, TMouseButton, TShiftState, int, int) { log.push_back("move"); };
    t.Tool->OnImageMouseUp = [&](TPersistent*) { log.push_back("up"); };
    const TRect r = t.Tool->ImageRect;  // Top < Bottom, Left < Right
    t.Tool->HandleChartMouse(TChartMouseKind::Press, mbLeft, {}, r.Left, r.Top + 5);       // on the edge
    t.Tool->HandleChartMouse(TChartMouseKind::Press, mbLeft, {}, r.Left + 1, r.Top + 1);   // one inside
    t.Tool->HandleChartMouse(TChartMouseKind::Move, mbLeft, {}, r.Right - 1, r.Bottom - 1);
    t.Tool->HandleChartMouse(TChartMouseKind::Move, mbLeft, {}, r.Right, r.Bottom - 1);
    t.Tool->HandleChartMouse(TChartMouseKind::Release, mbLeft, {}, r.Left + 3, r.Bottom);
    t.Tool->HandleChartMouse(TChartMouseKind::Release, mbLeft, {}, r.Left + 3, r.Bottom - 3);
    EXPECT_EQ(log, (std::vector<std::string>{"down " + std::to_string(r.Left + 1) + "," + std::to_string(r.Top + 1),
                                             "move", "up"}));
    EXPECT_FALSE(t.Chart.CancelMouse());

    // Mirrored: the same test holds in any orientation.
    t.Tool->FlipY = true;
    t.Render();
    log.clear();
    t.Tool->HandleChartMouse(TChartMouseKind::Release, mbLeft, {}, r.Left + 3, r.Top + 3);
    EXPECT_EQ(log, (std::vector<std::string>{"up"}));
}

TEST(ImageTool, ResizeEventsOnlyWhenWidthHeightOrASignChanges)
{
    TImageChart t;
    t.AddSeries(0, 0, 20, 10);
    std::vector<std::string> log;
    t.Tool->OnImageResized = [&](TPersistent*) { log.push_back("resized"); };
    t.Tool->OnBeforeDrawResized = [&](TPersistent*) { log.push_back("before resized"); };
    t.Tool->OnBeforeDrawImage = [&](TPersistent*) { log.push_back("before"); };
    t.Tool->OnAfterDrawResized = [&](TPersistent*) { log.push_back("after resized"); };
    t.Tool->OnAfterDrawImage = [&](TPersistent*) { log.push_back("after"); };
    const std::vector<std::string> resized = {"resized", "before resized", "before", "after resized", "after"};
    const std::vector<std::string> same = {"before", "after"};
    struct TStep {
        std::function<void()> Change;
        bool Resizes;
    };
    const TStep steps[] = {
        {[] {}, true},                                                         // first drawing
        {[] {}, false},                                                        // nothing changed
        {[&] { t.Chart.BottomAxis().SetFixedRange(-5, 35); }, false},          // moved, same size
        {[&] { t.Tool->FlipY = true; }, true},                                 // mirrored
        {[&] { t.Chart.LeftAxis().SetFixedRange(-10, 40); }, true},            // shorter
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].Change();
        log.clear();
        t.Render();
        EXPECT_EQ(log, steps[i].Resizes ? resized : same) << i;
    }
}

TEST(ImageTool, RotationOnlyWithTwoPointsApartElseUnrotated)
{
    // A rotation needs the series' first two points at distinct pixels; otherwise the picture is drawn
    // as if unrotated (and the world transform stays the identity).
    struct TCase {
        std::vector<std::pair<double, double>> Points;
        bool Turns;
    };
    const TCase cases[] = {
        {{{0, 0}}, false},
        {{{5, 5}, {5, 5}}, false},
        {{{0, 0}, {20, 10}}, true},
    };
    for (const TCase& c : cases) {
        TImageChart t;
        t.Series = new TQuietSeries(&t.Chart);
        for (auto [x, y] : c.Points) t.Series->InsertPoint(x, y);
        t.Series->SetParentChart(&t.Chart);
        t.Tool->SetSeries(t.Series);
        t.Tool->Angle = 30;
        auto turned = t.Render();
        t.Tool->Angle = 0;
        auto plain = t.Render();
        EXPECT_EQ(turned->ToPixels().Pixels != plain->ToPixels().Pixels, c.Turns) << c.Points.size();
        EXPECT_EQ(t.Chart.ChartCanvas().DeviceHandle()->GetWorldTransform(), TXForm{});
    }
}

TEST(ImageTool, DeepZoomDrawsTheMetafileWithoutACache)
{
    // A metafile all red with a blue square in its middle, the series' extents 1000 times the plot.
    TMetafile metafile;
    metafile.SetWidth(100);
    metafile.SetHeight(100);
    {
        TMetafileCanvas c(metafile, nullptr);
        c.Brush().SetColor(clRed);
        c.FillRect({0, 0, 100, 100});
        c.Brush().SetColor(clBlue);
        c.FillRect({45, 45, 55, 55});
    }
    for (double span : {10.0, 10000.0}) {
        TImageChart t;
        t.AddSeries(5 - span / 2, 5 - span / 2, 5 + span / 2, 5 + span / 2);
        t.Chart.BottomAxis().SetFixedRange(0, 10);
        t.Chart.LeftAxis().SetFixedRange(0, 10);
        t.Tool->Picture().SetGraphic(&metafile);
        t.Tool->CacheMetafile = true;
        auto b = t.Render();
        const TRect& plot = t.Chart.ChartRect();
        const TPoint mid{(plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2};
        if (span == 10.0) {
            EXPECT_EQ(t.Tool->CacheBitmap().Width(), std::abs(t.Tool->ImageRect.Right - t.Tool->ImageRect.Left));
            EXPECT_EQ(b->PixelRGB(mid.x, mid.y), ColorToRGB(clBlue));
            EXPECT_EQ(b->PixelRGB(plot.Left + 5, plot.Top + 5), ColorToRGB(clRed));
        } else {
            EXPECT_TRUE(t.Tool->CacheBitmap().Empty());
            // The middle of the picture (its blue square) now fills the plot.
            EXPECT_EQ(b->PixelRGB(mid.x, mid.y), ColorToRGB(clBlue));
            EXPECT_EQ(b->PixelRGB(plot.Left + 5, plot.Top + 5), ColorToRGB(clBlue));
        }
    }
}

TEST(ImageTool, RegistrationAndTexts)
{
    TChartImageTool tool(nullptr);
    EXPECT_EQ(tool.DescriptionText(), "Image");
    EXPECT_EQ(tool.EditorFormName(), "TChartImageToolEditor");
    EXPECT_TRUE(tool.Active());
    ASSERT_NE(LumToolTypes(), nullptr);
    EXPECT_GE(LumToolTypes()->IndexOf(&TChartImageTool::StaticClassInfo()), 0);
}

} // namespace
