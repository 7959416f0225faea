// The chart panel base: chart rectangle arithmetic, the paint cycle with its off-screen repaint,
// listener dispatch from real mouse events, pictures (bitmap, metafile) and printing (PDF pages, page
// margins with and without a printer, the print mapping restored also when drawing fails).
#include "chart/base/RadErarePanelExt.h"

#include "platform/controls/Application.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Printers.h"
#include "tests/platform/rtl/TempFolder.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace {

// A panel that counts its drawings and can be told to fail.
class TProbePanel : public TCustomLumPanelExtended {
public:
    explicit TProbePanel(TComponent* owner = nullptr) : TCustomLumPanelExtended(owner) {}
    int Drawings = 0;
    bool Fail = false;
    TRect LastContentRect;
    using TCustomLumPanel::Paint;

protected:
    void DrawChartContent(const TRect& Rect) override
    {
        ++Drawings;
        LastContentRect = Rect;
        PaintPanelFace(Rect);
        if (Fail) throw std::runtime_error("drawing failed");
    }
};

TRect LaidOut(TProbePanel& p)
{
    TBitmap target(p.Width(), p.Height());
    p.DrawOnCanvas(target.Canvas(), p.ChartBounds());
    return p.ChartRect();
}

class TPanelRecorder : public IChartEventListener {
public:
    std::vector<std::string> Heard;
    std::function<void(TLumEvent&)> OnEvent;
    void HandleChartEvent(TLumEvent& e) override
    {
        if (auto* m = dynamic_cast<TLumMouseEvent*>(&e)) {
            const char* kinds[] = {"down", "up", "move"};
            Heard.push_back(std::string(kinds[static_cast<int>(m->Event)]) + (m->Button == mbLeft ? " L" : " R") + " " +
                            std::to_string(m->X) + "," + std::to_string(m->Y));
        } else if (dynamic_cast<TLumView3DEvent*>(&e)) {
            Heard.push_back("3d");
        }
        if (OnEvent) OnEvent(e);
    }
};

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, int x, int y)
{
    const QPointF local(x, y);
    QMouseEvent event(type, local, w->mapToGlobal(local), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

TEST(LumPanel, ChartRectArithmetic)
{
    struct Case {
        const char* what;
        std::function<void(TProbePanel&)> set;
        TRect chart;
    };
    const std::vector<Case> cases = {
        {"frameless percent margins", [](TProbePanel& p) { p.SetBevelOuter(bvNone); }, {12, 10, 388, 240}},
        {"default raised bevel", [](TProbePanel&) {}, {13, 11, 387, 239}},
        {"both bevels 2 wide, border 3, border pen 2",
         [](TProbePanel& p) {
             p.SetBevelInner(bvLowered);
             p.SetBevelWidth(2);
             p.SetBorderWidth(3);
             p.Border().SetVisible(true);
             p.Border().SetWidth(2);
         },
         {21, 19, 379, 231}},
        {"pixel margins",
         [](TProbePanel& p) {
             p.SetBevelOuter(bvNone);
             p.SetMarginUnits(muPixels);
         },
         {3, 4, 397, 246}},
        {"right meets left: as wide as the panel",
         [](TProbePanel& p) {
             p.SetBevelOuter(bvNone);
             p.SetMarginUnits(muPixels);
             p.SetMarginLeft(200);
             p.SetMarginRight(200);
         },
         {200, 4, 600, 246}},
        {"crossing edges: one pixel",
         [](TProbePanel& p) {
             p.SetBevelOuter(bvNone);
             p.SetMarginUnits(muPixels);
             p.SetMarginTop(200);
             p.SetMarginBottom(100);
             p.SetMarginLeft(-50);
         },
         {0, 200, 397, 201}},
    };
    for (const Case& c : cases) {
        TProbePanel p;
        c.set(p);
        EXPECT_EQ(LaidOut(p), c.chart) << c.what;
        EXPECT_EQ(p.ChartWidth(), c.chart.Width()) << c.what;
        EXPECT_EQ(p.ChartHeight(), c.chart.Height()) << c.what;
        EXPECT_EQ(p.ChartXCenter(), (c.chart.Left + c.chart.Right) / 2) << c.what;
    }

    TProbePanel custom;
    custom.SetCustomChartRect(true);
    custom.SetChartRect({-5, 30, 20, 30});
    EXPECT_EQ(LaidOut(custom), (TRect{-5, 30, 20, 30})) << "neither margins nor clamping touch a custom rectangle";
    EXPECT_EQ(custom.ChartWidth(), 25);
    EXPECT_EQ(custom.ChartHeight(), 0);
    EXPECT_EQ(custom.ChartYCenter(), 30);

    TProbePanel huge;
    huge.SetMarginUnits(muPixels);
    huge.SetMarginLeft(2147483647);
    EXPECT_THROW(LaidOut(huge), EIntOverflow);
}

TEST(LumPanel, PaintRedrawsOnlyAfterInvalidate)
{
    TProbePanel p;
    p.Paint();
    EXPECT_EQ(p.Drawings, 1);
    p.Paint();
    EXPECT_EQ(p.Drawings, 1) << "an unchanged chart is copied from the off-screen picture";
    p.SetMarginTop(10);
    p.Paint();
    EXPECT_EQ(p.Drawings, 2);
    p.SetMarginTop(10);
    p.Paint();
    EXPECT_EQ(p.Drawings, 2) << "storing the same value repaints nothing";

    p.SetAutoRepaint(false);
    p.SetMarginTop(20);
    p.Paint();
    EXPECT_EQ(p.Drawings, 2) << "without automatic repaint a change waits";
    p.SetAutoRepaint(true);
    p.View3DOptions().SetElevation(300);
    p.Paint();
    EXPECT_EQ(p.Drawings, 3) << "the 3-D options repaint their panel";
    p.SetMonochrome(true);
    EXPECT_TRUE(p.Monochrome());
    p.Paint();
    EXPECT_EQ(p.Drawings, 4);

    // Without buffering every paint draws.
    p.SetBufferedDisplay(false);
    p.Paint();
    p.Paint();
    EXPECT_EQ(p.Drawings, 6);
}

TEST(LumPanel, ChangeRoutinesRepaintOnlyOnChange)
{
    TProbePanel p;
    p.Paint();
    double field = std::nan("");
    ChangeDoubleAndRepaint(p, field, std::nan(""));
    p.Paint();
    EXPECT_EQ(p.Drawings, 2) << "a NaN never equals itself";
    field = 1.5;
    ChangeDoubleAndRepaint(p, field, 1.5);
    std::string text = "a";
    p.ChangeString(text, "a");
    bool flag = true;
    p.ChangeBoolean(flag, true);
    p.Paint();
    EXPECT_EQ(p.Drawings, 2);
    TColor c = clRed;
    p.ChangeCardinal(c, clBlue);
    EXPECT_EQ(c, clBlue);
    p.Paint();
    EXPECT_EQ(p.Drawings, 3);
}

TEST(LumPanel, ListenersHearRealMouseEvents)
{
    TProbePanel p;
    TPanelRecorder first, second;
    ListAddOnce(p.Listeners(), &first);
    ListAddOnce(p.Listeners(), &second);
    QWidget* w = p.Widget();
    SendMouse(w, QEvent::MouseButtonPress, Qt::RightButton, 5, 6);
    SendMouse(w, QEvent::MouseMove, Qt::NoButton, 7, 8);
    SendMouse(w, QEvent::MouseButtonRelease, Qt::RightButton, 9, 10);
    const std::vector<std::string> all = {"down R 5,6", "move L 7,8", "up R 9,10"};
    EXPECT_EQ(first.Heard, all) << "moves always carry the left button";
    EXPECT_EQ(second.Heard, all);

    // CancelMouse stops a mouse event at the listener that set it, never a 3-D switch.
    first.OnEvent = [&](TLumEvent&) { p.SetCancelMouse(true); };
    first.Heard.clear();
    second.Heard.clear();
    SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, 1, 2);
    p.SetView3D(false);
    EXPECT_EQ(first.Heard, (std::vector<std::string>{"down L 1,2", "3d"}));
    EXPECT_EQ(second.Heard, std::vector<std::string>{"3d"});
    p.SetView3D(false);
    EXPECT_EQ(second.Heard.size(), 1u) << "no event when the switch does not change";

    // A double click whose handler cancels the mouse ends silently.
    bool messageShown = false;
    Application->OnException = [&](TApplication&, const std::exception&) { messageShown = true; };
    int clicks = 0;
    p.OnDblClick = [&](TPersistent*) {
        ++clicks;
        p.SetCancelMouse(true);
    };
    SendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, 3, 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(messageShown);
    Application->OnException = nullptr;

    p.RemoveListener(&first);
    p.RemoveListener(&second);
    first.Heard.clear();
    SendMouse(w, QEvent::MouseMove, Qt::NoButton, 1, 1);
    EXPECT_TRUE(first.Heard.empty());
}

TEST(LumPanel, ListenerRemovalDuringBroadcastAndPanelDestruction)
{
    TPanelRecorder survivor;
    {
        TProbePanel p;
        TPanelRecorder a, b;
        ListAddOnce(p.Listeners(), &a);
        ListAddOnce(p.Listeners(), &b);
        ListAddOnce(p.Listeners(), &survivor);
        a.OnEvent = [&](TLumEvent& e) {
            EXPECT_EQ(e.Sender, &p);
            p.RemoveListener(&a);
        };
        TLumView3DEvent e;
        p.BroadcastEvent(e);
        EXPECT_EQ(b.Heard.size(), 1u) << "the next listener still hears the event";
        EXPECT_EQ(p.Listeners().Count(), 2);
    }
    // The panel is gone; its listener outlives it and leaves nothing behind.
    EXPECT_EQ(survivor.Heard.size(), 1u);
}

TEST(LumPanel, MouseLeaveRestoresTheCursorAndEndsPanning)
{
    TProbePanel p;
    p.SetSavedCursor(crHandPoint);
    p.SetCursor(crCross);
    p.Panning().StartAt(4, 4);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(p.Widget(), &leave);
    EXPECT_EQ(p.Cursor(), crHandPoint);
    EXPECT_FALSE(p.Panning().Active);
}

TEST(LumPanel, RenderToBitmapDrawsTheFace)
{
    TProbePanel p;
    p.SetColor(clRed);
    p.SetBounds(0, 0, 60, 40);
    const std::unique_ptr<TBitmap> b = p.RenderToBitmap(clWhite, p.ChartBounds(), pf24bit);
    EXPECT_EQ(b->Width(), 60);
    EXPECT_EQ(b->Height(), 40);
    EXPECT_EQ(b->PixelFormat(), pf24bit);
    EXPECT_EQ(b->PixelRGB(30, 20), clRed);
    EXPECT_EQ(b->PixelRGB(0, 0), ColorToRGB(clBtnHighlight)) << "the raised bevel's lit side";
    EXPECT_EQ(b->PixelRGB(59, 39), ColorToRGB(clBtnShadow));

    const std::unique_ptr<TBitmap> device = p.RenderBitmap();
    EXPECT_EQ(device->PixelFormat(), pfDevice);
    EXPECT_EQ(device->PixelRGB(30, 20), clRed);

    TPicture picture;
    p.AssignTo(picture);
    ASSERT_TRUE(picture.HasGraphic());
    EXPECT_EQ(picture.Width(), 60);

    TTempFolder temp;
    p.SaveBitmapFile(temp.File("panel.bmp"));
    TBitmap read;
    read.LoadFromFile(temp.File("panel.bmp"));
    EXPECT_EQ(read.PixelRGB(30, 20), clRed);
}

TEST(LumPanel, FailedDrawingLeavesTheCanvasOnTheControl)
{
    TProbePanel p;
    p.Fail = true;
    EXPECT_THROW(p.RenderToMetafile(true, p.ChartBounds()), std::runtime_error);
    EXPECT_EQ(p.ChartCanvas().AttachedCanvas(), &p.Canvas()) << "never left on the metafile's canvas";
    EXPECT_FALSE(p.ChartCanvas().MetafileMode());
    EXPECT_TRUE(p.BufferedDisplay());
    p.Fail = false;
    p.Paint();
    EXPECT_EQ(p.Canvas().GetPixel(200, 125), ColorToRGB(p.Color()));
}

TEST(LumPanel, MetafileSizes)
{
    TProbePanel p;
    const std::unique_ptr<TMetafile> empty = p.RenderToMetafile(false, {5, 5, 5, 2});
    EXPECT_EQ(empty->Width(), 1);
    EXPECT_EQ(empty->Height(), 1);
    EXPECT_FALSE(empty->Enhanced());
    const std::unique_ptr<TMetafile> whole = p.RenderToMetafile(true, p.ChartBounds());
    EXPECT_EQ(whole->Width(), 400);
    EXPECT_EQ(whole->Height(), 250);
    EXPECT_GT(whole->CommandCount(), 0);
    EXPECT_EQ(p.LastContentRect, p.ChartBounds()) << "a metafile is drawn unbuffered, in the given rectangle";
}

// ---- Printing --------------------------------------------------------------------------------------------

namespace {

struct PanelPrinting : ::testing::Test {
    void SetUp() override
    {
        TPrinter::SetPlatformPrintersHidden(true);
        Printer()->Reset();
    }
    void TearDown() override
    {
        Printer()->Reset();
        TPrinter::SetPlatformPrintersHidden(false);
    }
    TTempFolder Temp;
};

struct TPdfPages {
    int Count = 0;
    std::vector<std::pair<double, double>> Sizes;
};

TPdfPages ReadPdfPages(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TPdfPages pages;
    const std::regex page(R"(/Type\s*/Page[^s])");
    pages.Count = static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
    const std::regex box(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it)
        pages.Sizes.emplace_back(std::stod((*it)[3]) - std::stod((*it)[1]), std::stod((*it)[4]) - std::stod((*it)[2]));
    return pages;
}

int ExpectedMargin(double page, double chartOnPage)
{
    return std::max(0, static_cast<int>(std::trunc(std::nearbyint((page - chartOnPage) * 100 / page) / 2)));
}

} // namespace

TEST_F(PanelPrinting, TwoPagesToPdf)
{
    const std::string file = Temp.File("chart.pdf");
    Printer()->SetOutputFileName(file);
    TProbePanel p;
    p.SetBounds(0, 0, 400, 200);
    const TRect page = p.PrinterPageRect();
    EXPECT_GT(page.Width(), 0);
    Printer()->BeginDoc();
    p.PrintInRect(page);
    Printer()->NewPage();
    p.PrintInRect(page);
    EXPECT_EQ(Printer()->Canvas().GetMapMode(), MM_TEXT) << "the page's map mode is back";
    TRegion clip;
    EXPECT_EQ(Printer()->Canvas().GetClipRgn(clip), 0) << "and its clip removed";
    Printer()->EndDoc();
    EXPECT_EQ(p.Drawings, 2);
    EXPECT_FALSE(p.Printing());

    const TPdfPages pages = ReadPdfPages(file);
    EXPECT_EQ(pages.Count, 2);
    ASSERT_FALSE(pages.Sizes.empty());
    const double pw = Printer()->PageWidth() * 72.0 / Printer()->DpiX();
    const double ph = Printer()->PageHeight() * 72.0 / Printer()->DpiY();
    for (auto [w, h] : pages.Sizes) { // the paper holds the printable area and the device's small margins
        EXPECT_GE(w, pw - 1);
        EXPECT_LT(w - pw, 50);
        EXPECT_GE(h, ph - 1);
        EXPECT_LT(h - ph, 50);
    }
}

TEST_F(PanelPrinting, ProportionalMarginsOnAPageAndWithoutPrinter)
{
    TProbePanel p;
    p.SetBounds(0, 0, 400, 200);
    // No printer: the screen stands in for the page.
    EXPECT_FALSE(Printer()->HasPrinter());
    const double sw = Screen->Width(), sh = Screen->Height();
    const int m = ExpectedMargin(sh, 0.7 * sw * 0.5);
    EXPECT_EQ(p.ProportionalMargins(), (TRect{15, m, 15, m}));

    Printer()->SetOutputFileName(Temp.File("m.pdf"));
    const double pw = Printer()->PageWidth(), ph = Printer()->PageHeight();
    ASSERT_EQ(Printer()->DpiX(), Printer()->DpiY());
    const int pm = ExpectedMargin(ph, 0.7 * pw * 0.5);
    EXPECT_EQ(p.ProportionalMargins(), (TRect{15, pm, 15, pm})) << "twice as wide as high on a portrait page";

    p.SetBounds(0, 0, 100, 400);
    const int tall = ExpectedMargin(pw, 0.7 * ph * 0.25);
    EXPECT_EQ(p.ProportionalMargins(), (TRect{tall, 15, tall, 15}));

    // A page whose dots are three times wider than high would need negative margins: they become 0.
    EXPECT_EQ(ProportionalPrintMargins(100, 100, 1000, 1000, 3.0), (TRect{0, 15, 0, 15}));
    EXPECT_EQ(ProportionalPrintMargins(200, 100, 1000, 300, 1.0), (TRect{15, 0, 15, 0}));
    EXPECT_EQ(ProportionalPrintMargins(200, 100, 1000, 1000, 1.0), (TRect{15, 32, 15, 32})) << "65 / 2, truncated";
    EXPECT_EQ(ProportionalPrintMargins(0, 0, 1000, 1000, 1.0), (TRect{0, 15, 0, 15})) << "an empty chart";
    EXPECT_EQ(ProportionalPrintMargins(100, 100, 0, 0, 1.0), (TRect{0, 15, 0, 15})) << "no page: no margin";

    p.SetPrintProportional(false);
    p.SetPrintMargins({10, 20, 30, 40});
    const TRect page = p.PrinterPageRect();
    const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
    EXPECT_EQ(page, (TRect{static_cast<int>(std::nearbyint(w * 0.1)), static_cast<int>(std::nearbyint(h * 0.2)),
                           w - static_cast<int>(std::nearbyint(w * 0.3)), h - static_cast<int>(std::nearbyint(h * 0.4))}));
}

TEST_F(PanelPrinting, PrintResolutionScalesTheLogicalSpace)
{
    TProbePanel p;
    p.SetBounds(0, 0, 400, 200);
    int x = 0, y = 0;
    EXPECT_EQ(p.ScaleForPrintResolution({0, 0, 800, 400}, x, y), (TRect{0, 0, 400, 200}));
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 200);
    p.SetPrintResolution(50);
    EXPECT_EQ(p.ScaleForPrintResolution({100, 50, 900, 450}, x, y), (TRect{25, 13, 225, 113}));
    EXPECT_EQ(x, 200) << "half the logical size prints fonts and pens twice as large";
    EXPECT_EQ(y, 100);
}

TEST_F(PanelPrinting, PrintingOnAnyCanvasRestoresItsMappingAlsoWhenDrawingFails)
{
    TProbePanel p;
    p.SetBounds(0, 0, 100, 50);
    p.SetColor(clRed);
    TBitmap page(300, 200);
    p.Gradient().SetVisible(true);
    p.Gradient().SetStartColor(clBlue);
    p.Gradient().SetEndColor(clBlue);
    TCanvas& c = page.Canvas();
    TRect seen;
    p.OnBeforePrint = [&](TCustomLumPanel* sender, TCanvas& canvas, TRect& r) {
        EXPECT_EQ(sender, &p);
        EXPECT_EQ(&canvas, &c);
        EXPECT_TRUE(p.Printing());
        seen = r;
    };
    p.PrintOnCanvas(c, {200, 100, 0, 0});
    EXPECT_EQ(seen, (TRect{0, 0, 100, 50})) << "the corners are ordered, then scaled to the logical space";
    EXPECT_EQ(c.GetMapMode(), MM_TEXT);
    EXPECT_EQ(page.PixelRGB(100, 50), clBlue) << "the gradient prints, stretched onto the rectangle";
    EXPECT_EQ(page.PixelRGB(250, 150), clWhite);
    p.Gradient().SetVisible(false);
    p.PrintOnCanvas(c, {0, 100, 200, 200});
    EXPECT_EQ(page.PixelRGB(100, 150), clWhite) << "while printing the panel colour is left out";

    p.Fail = true;
    c.SetMapMode(MM_LOMETRIC);
    EXPECT_THROW(p.PrintOnCanvas(c, {0, 0, 200, 100}), std::runtime_error);
    EXPECT_EQ(c.GetMapMode(), MM_LOMETRIC);
    TRegion clip;
    EXPECT_EQ(c.GetClipRgn(clip), 0);
    EXPECT_FALSE(p.Printing());
    EXPECT_FALSE(p.ChartCanvas().MetafileMode());

    p.Fail = false;
    p.PrintOnCanvas(c, {10, 10, 10, 90}); // an empty rectangle prints nothing
    EXPECT_EQ(p.Drawings, 3);
}
