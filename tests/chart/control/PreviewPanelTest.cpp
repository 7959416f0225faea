// The preview panel: the paper's place as a table, the printer's or the screen's proportions, charts drawn
// in their margins, margin drags with their guards, the current chart chosen by a click, margin lines that
// a second drawing erases, and the bitmap-to-PNG conversion of a saved page.
#include "ChartTestSupport.h"
#include "PrinterTestSupport.h"

#include "chart/control/LumPreviewPanel.h"
#include "chart/control/pngun.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Printers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The mouse handlers, reachable from the tests.
class TTestPreview : public TLumPreviewPanel {
public:
    TTestPreview() : TLumPreviewPanel(nullptr) {}
    using TLumPreviewPanel::MouseDown;
    using TLumPreviewPanel::MouseMove;
    using TLumPreviewPanel::MouseUp;
    void Drag(TPoint From, TPoint To)
    {
        MouseDown(mbLeft, TShiftState{ssLeft}, From.x, From.y);
        MouseMove(TShiftState{ssLeft}, To.x, To.y);
        MouseUp(mbLeft, TShiftState{}, To.x, To.y);
    }
};

std::string PreviewTempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("vsp_preview_" + name)).string();
}

TEST(PreviewPanel, PaperRectangleAsATable)
{
    struct TCase {
        int CW, CH, PW, PH;
        TRect Paper;
    };
    const TCase cases[] = {
        {505, 354, 4960, 7015, {130, 4, 375, 351}},  // portrait page, wide client: fitted to the height
        {505, 354, 7015, 4960, {7, 4, 498, 351}},    // landscape page: still the height, nearly full width
        {300, 600, 4960, 7015, {3, 92, 297, 508}},   // tall client: fitted to the width, centred vertically
        {505, 354, 0, 0, {5, 0, 500, 354}},          // no page size: the client's height
    };
    for (const TCase& c : cases) EXPECT_EQ(FitPaperRect(c.CW, c.CH, c.PW, c.PH), c.Paper) << c.CW << " " << c.PW;
}

TEST(PreviewPanel, ScreenProportionsWithoutAPrinterThePagesWithOne)
{
    TPrinterScope printer;
    TTestPreview preview;
    preview.SetBounds(0, 0, 505, 354);
    preview.CalcPaperRect();
    EXPECT_EQ(preview.PaperRect(), FitPaperRect(505, 354, Screen->Width(), Screen->Height()));

    // A proportional chart keeps its margins while no printer exists, and zero margins fill the paper.
    TChart chart(nullptr);
    chart.SetPrintMargins({0, 0, 0, 0});
    chart.SetPrintProportional(true);
    EXPECT_EQ(preview.PanelPaperRect(&chart), preview.PaperRect());
    EXPECT_EQ(chart.PrintMargins(), Rect(0, 0, 0, 0));

    Printer()->SetOutputFileName(PreviewTempPath("page.pdf"));
    for (auto [orientation, landscape] : {std::pair{ppoPortrait, false}, std::pair{ppoLandscape, true}}) {
        preview.SetOrientation(orientation);
        preview.CalcPaperRect();
        EXPECT_EQ(Printer()->Orientation(), landscape ? poLandscape : poPortrait);
        EXPECT_EQ(preview.PaperRect(), FitPaperRect(505, 354, Printer()->PageWidth(), Printer()->PageHeight()));
        EXPECT_EQ(preview.PaperRect().Width() > preview.PaperRect().Height(), landscape);
    }
    // With a printer, the proportional margins replace the chart's.
    EXPECT_EQ((preview.PanelPaperRect(&chart), chart.PrintMargins()), chart.ProportionalMargins());
    // The owner may move the paper.
    preview.OnGetPaperRect = [](TPersistent*, TRect& r) { r = {10, 20, 110, 220}; };
    preview.CalcPaperRect();
    EXPECT_EQ(preview.PaperRect(), Rect(10, 20, 110, 220));
}

// A preview whose paper is pinned to (50, 20, 450, 320), 400 x 300, so that percents are whole pixels,
// with one chart at 15 % margins.
struct TPinnedPreview {
    TPrinterScope Printers;
    TTestPreview Preview;
    TChart Chart{nullptr};
    std::vector<TRect> Changes;
    bool Disabled = false;
    TPinnedPreview()
    {
        Preview.SetBounds(0, 0, 500, 340);
        Preview.OnGetPaperRect = [](TPersistent*, TRect& r) { r = {50, 20, 450, 320}; };
        Preview.OnChangeMargins = [this](TPersistent*, bool disable, const TRect& m) {
            Changes.push_back(m);
            Disabled = disable;
        };
        Chart.SetBounds(0, 0, 400, 250);
        Chart.SetView3D(false);
        Chart.SetPrintMargins({15, 15, 15, 15});
        Chart.SetPrintProportional(true);
        AddSeries(Chart, {1, 3, 2, 5}).SetSeriesColor(clRed);
        Preview.SetPanel(&Chart);
        Preview.DrawClientArea();
    }
};

TEST(PreviewPanel, MarginDragsAndTheirGuards)
{
    struct TCase {
        const char* Name;
        TPoint From, To;
        TRect Margins;  // after the drag
    };
    // The margins rectangle is (110, 65, 390, 275).
    const TCase cases[] = {
        {"left edge by 10 %", {110, 150}, {150, 150}, {25, 15, 15, 15}},
        {"right edge", {391, 150}, {350, 150}, {15, 15, 25, 15}},
        {"top edge", {200, 63}, {200, 95}, {15, 25, 15, 15}},
        {"bottom edge", {200, 275}, {200, 305}, {15, 15, 15, 5}},
        {"bottom-right corner", {390, 275}, {430, 290}, {15, 15, 5, 10}},
        {"move", {200, 150}, {220, 160}, {20, 18, 10, 12}},
        {"top-left corner past the right edge", {110, 65}, {400, 100}, {15, 15, 15, 15}},
        {"bottom-left corner above the top edge", {110, 275}, {200, 60}, {15, 15, 15, 15}},
        {"left edge onto the right edge", {110, 150}, {390, 150}, {15, 15, 15, 15}},
        {"top edge past the bottom edge", {200, 65}, {200, 300}, {15, 15, 15, 15}},
    };
    for (const TCase& c : cases) {
        TPinnedPreview t;
        ASSERT_EQ(t.Preview.MarginsRect(), Rect(110, 65, 390, 275));
        t.Preview.Drag(c.From, c.To);
        EXPECT_EQ(t.Chart.PrintMargins(), c.Margins) << c.Name;
        EXPECT_FALSE(t.Chart.PrintProportional()) << c.Name;
        ASSERT_EQ(t.Changes.size(), 1u) << c.Name;
        EXPECT_EQ(t.Changes[0], c.Margins) << c.Name;
        EXPECT_TRUE(t.Disabled);
    }
}

TEST(PreviewPanel, PartsCursorsAndSwitches)
{
    TPinnedPreview t;
    struct TCase {
        TPoint At;
        TMarginPart Part;
        TCursor Cursor;
    };
    const TCase cases[] = {
        {{106, 150}, mpLeft, crHSplit},       {{394, 150}, mpRight, crHSplit},    {{200, 61}, mpTop, crVSplit},
        {{200, 279}, mpBottom, crVSplit},     {{200, 150}, mpMove, 2020},         {{112, 67}, mpTopLeft, crSizeNWSE},
        {{388, 67}, mpTopRight, crSizeNESW},  {{112, 273}, mpBottomLeft, crSizeNESW},
        {{388, 273}, mpBottomRight, crSizeNWSE}, {{60, 30}, mpNone, crDefault},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(t.Preview.MarginPartAt(c.At.x, c.At.y), c.Part) << c.At.x << "," << c.At.y;
        t.Preview.MouseMove(TShiftState{}, c.At.x, c.At.y);
        EXPECT_EQ(t.Preview.Cursor(), c.Cursor) << c.At.x << "," << c.At.y;
    }
    // Without resizing, edges and corners are nothing; without moving, the inside is nothing.
    t.Preview.AllowResize = false;
    EXPECT_EQ(t.Preview.MarginPartAt(106, 150), mpNone);
    EXPECT_EQ(t.Preview.MarginPartAt(112, 67), mpNone);
    EXPECT_EQ(t.Preview.MarginPartAt(200, 150), mpMove);
    t.Preview.AllowMove = false;
    EXPECT_EQ(t.Preview.MarginPartAt(200, 150), mpNone);
    // The right button drags nothing.
    t.Preview.AllowResize = t.Preview.AllowMove = true;
    t.Preview.MouseDown(mbRight, TShiftState{ssRight}, 110, 150);
    t.Preview.MouseMove(TShiftState{ssRight}, 150, 150);
    EXPECT_EQ(t.Chart.PrintMargins(), Rect(15, 15, 15, 15));
    EXPECT_TRUE(t.Changes.empty());
}

TEST(PreviewPanel, ChartsDrawnInTheirMarginsOnThePaper)
{
    for (bool asBitmap : {false, true}) {
        TPinnedPreview t;
        t.Preview.SetAsBitmap(asBitmap);
        TBitmap b(500, 340);
        t.Preview.DrawOnCanvas(b.Canvas(), t.Preview.ClientRect());
        const TRect r = t.Chart.PreviewRect();
        EXPECT_EQ(r, Rect(110, 65, 390, 275));
        EXPECT_FALSE(t.Chart.Printing()) << "the printing state is off again";
        // The paper is white outside the chart and the red series is inside it, nowhere else.
        EXPECT_EQ(b.PixelRGB(70, 40), clWhite);
        EXPECT_EQ(b.PixelRGB(440, 310), clWhite);
        int inside = 0, outside = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                if (b.PixelRGB(x, y) != clRed) continue;
                (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom ? inside : outside) += 1;
            }
        EXPECT_GT(inside, 50) << asBitmap;
        EXPECT_EQ(outside, 0) << asBitmap;
    }
}

TEST(PreviewPanel, AClickInTheSecondChartMakesItCurrent)
{
    TPinnedPreview t;
    TChart second(nullptr);
    second.SetBounds(0, 0, 400, 250);
    t.Chart.SetPrintProportional(false);
    t.Chart.SetPrintMargins({10, 5, 10, 60});
    second.SetPrintMargins({10, 60, 10, 5});
    second.SetPrintProportional(false);
    t.Preview.Panels().Add(&second);
    t.Preview.DrawClientArea();
    EXPECT_EQ(second.PreviewRect(), Rect(90, 200, 410, 305));
    t.Preview.MouseDown(mbLeft, TShiftState{ssLeft}, 250, 250);
    t.Preview.MouseUp(mbLeft, TShiftState{}, 250, 250);
    EXPECT_EQ(t.Preview.Panel(), &second);
    EXPECT_EQ(t.Preview.Panels().Items(1), &t.Chart);
    // The next drag changes the second chart's margins: its left edge at x = 90 by 10 % of the paper.
    t.Preview.DrawClientArea();
    t.Preview.Drag({90, 250}, {130, 250});
    EXPECT_EQ(second.PrintMargins(), Rect(20, 60, 10, 5));
    EXPECT_EQ(t.Chart.PrintMargins(), Rect(10, 5, 10, 60));
}

TEST(PreviewPanel, MarginLinesDrawnTwiceLeaveThePixels)
{
    TPinnedPreview t;
    const auto snapshot = [&] {
        std::vector<TColor> px;
        TCanvas& c = t.Preview.Canvas();
        for (int y = 0; y < 340; ++y)
            for (int x = 0; x < 500; ++x) px.push_back(c.GetPixel(x, y));
        return px;
    };
    const std::vector<TColor> before = snapshot();
    t.Preview.DrawMarginLines(t.Preview.MarginsRect());
    const std::vector<TColor> once = snapshot();
    t.Preview.DrawMarginLines(t.Preview.MarginsRect());
    EXPECT_NE(once, before) << "the lines show";
    EXPECT_EQ(snapshot(), before);
    // Invisible lines draw nothing, yet the margins still drag.
    t.Preview.Margins().SetVisible(false);
    t.Preview.DrawClientArea();
    const std::vector<TColor> plain = snapshot();
    t.Preview.DrawMarginLines(t.Preview.MarginsRect());
    EXPECT_EQ(snapshot(), plain);
    t.Preview.Drag({110, 150}, {150, 150});
    EXPECT_EQ(t.Chart.PrintMargins().Left, 25);
}

TEST(PreviewPanel, AFreedChartLeavesTheList)
{
    TPinnedPreview t;
    {
        TChart gone(nullptr);
        t.Preview.Panels().Add(&gone);
        ASSERT_EQ(t.Preview.Panels().Count(), 2);
    }
    EXPECT_EQ(t.Preview.Panels().Count(), 1);
    auto* current = new TChart(nullptr);
    t.Preview.SetPanel(current);
    EXPECT_EQ(t.Preview.Panel(), current);
    delete current;
    EXPECT_EQ(t.Preview.Panel(), nullptr);
    TBitmap b(500, 340);
    t.Preview.DrawOnCanvas(b.Canvas(), t.Preview.ClientRect());  // draws without the freed charts
}

TEST(PreviewPanel, BitmapFileBecomesA16BitRgbPng)
{
    TBitmap b(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) b.SetPixelRGB(x, y, TColor(RGB(x * 30, y * 50, 200)));
    const std::string path = PreviewTempPath("convert.png");
    b.SaveToFile(path);
    ConvertBitmapFileToPng(path);
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    EXPECT_EQ(bytes[24], 16) << "bits per sample";
    EXPECT_EQ(bytes[25], 2) << "RGB";
    TPngImage png;
    png.LoadFromFile(path);
    ASSERT_EQ(png.Width(), 7);
    ASSERT_EQ(png.Height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(png.Bitmap().PixelRGB(x, y), b.PixelRGB(x, y)) << x << "," << y;
    // Not a bitmap: an error, and the file stays.
    std::ofstream(path, std::ios::binary) << "not a picture";
    EXPECT_THROW(ConvertBitmapFileToPng(path), EInvalidGraphic);
    EXPECT_EQ(std::filesystem::file_size(path), 13u);
    std::remove(path.c_str());
}

} // namespace
