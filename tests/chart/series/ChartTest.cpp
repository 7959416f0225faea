// The series on the real chart control: the registry after start-up and shut-down, legend symbols of
// every kind drawn onto a canvas, and the two kinds of chart the views build (a model section of map
// polygons under a mask with node and electrode markers; two data curves with a legend) shown in a window.
#include "SeriesTestSupport.h"

#include "chart/series/ErrorBar.h"

#include "chart/control/Chart.h"
#include "platform/controls/Application.h"
#include "platform/rtl/SystemColors.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace {

struct TEntry {
    std::string ClassName;
    std::string Caption;
    std::string Page;
    int Count;
    bool operator==(const TEntry&) const = default;
};

std::vector<TEntry> SeriesEntries()
{
    std::vector<TEntry> out;
    const TLumSeriesTypes* types = LumSeriesTypes();
    for (int i = 0; types && i < types->Count(); ++i) {
        const TLumSeriesType& t = types->GetSeriesType(i);
        if (t.SeriesClassRef && !t.FunctionClassRef)
            out.push_back({t.SeriesClassRef->Name(), t.Caption, t.Page, t.GallerySeriesCount});
    }
    return out;
}

} // namespace

TEST(SeriesRegistry, StartUpAndShutDown)
{
    const std::vector<TEntry> standard{
        {"TLineSeries", "Line", "Standard", 2},
        {"TBarSeries", "Bar", "Standard", 2},
        {"THorizBarSeries", "Horizontal\rBar", "Standard", 2},
        {"TAreaSeries", "Area", "Standard", 2},
        {"TPointSeries", "Point", "Standard", 2},
        {"TPieSeries", "Pie", "Standard", 1},
        {"TFastLineSeries", "Fast Line", "Standard", 2},
        {"THorizLineSeries", "Horizontal\rLine", "Standard", 1},
        {"THorizAreaSeries", "Horizontal\rArea", "Standard", 1},
    };
    std::vector<TEntry> withMap = standard;
    withMap.push_back({"TErrorBarSeries", "Error Bar", "Stats", 1});
    withMap.push_back({"TErrorSeries", "Error", "Stats", 1});
    withMap.push_back({"THighLowSeries", "High-Low", "Stats", 1});
    withMap.push_back({"TMapSeries", "Map", "Extended", 1});
    withMap.push_back({"TSurfaceSeries", "Surface", "3D", 1});
    withMap.push_back({"TContourSeries", "Contour", "3D", 1});
    withMap.push_back({"TWaterFallSeries", "Water Fall", "3D", 1});
    withMap.push_back({"TColorGridSeries", "Color Grid", "3D", 1});
    withMap.push_back({"TVector3DSeries", "Vector 3D", "3D", 1});
    withMap.push_back({"TTowerSeries", "Tower", "3D", 1});
    withMap.push_back({"TTriSurfaceSeries", "Triangle Surf.", "3D", 1});
    EXPECT_EQ(SeriesEntries(), withMap);
    for (const TEntry& e : withMap) EXPECT_NE(FindClassInfo(e.ClassName), nullptr) << "streams create " << e.ClassName;
    // A second start-up and a second registration add nothing.
    SeriesLibraryInitialization();
    RegisterSeriesUnitTypes();
    EXPECT_EQ(SeriesEntries(), withMap);
    SeriesLibraryFinalization();
    EXPECT_EQ(SeriesEntries(), withMap) << "only the balancing shut-down unregisters";
    // Shut-down takes the statistics kinds, the map and the grid kinds.
    SeriesLibraryFinalization();
    EXPECT_EQ(SeriesEntries(), standard);
    SeriesLibraryInitialization();
    EXPECT_EQ(SeriesEntries(), withMap);
    // Series created from the registry's classes.
    TChart chart(nullptr);
    TChartSeries* s = chart.CreateSeriesFromClass(TMapSeries::StaticClassInfo());
    ASSERT_NE(dynamic_cast<TMapSeries*>(s), nullptr);
    EXPECT_EQ(SeriesTypeDescription(*s), "Map");
    chart.FreeSeriesOfClass("");
}

namespace {

// The legend symbol of a series in (5, 5, 35, 15) of a white 40 x 20 bitmap.
std::unique_ptr<TBitmap> Symbol(TChart& Chart, TChartSeries& Series)
{
    auto bitmap = std::make_unique<TBitmap>(40, 20);
    bitmap->Canvas().Brush().SetColor(clWhite);
    bitmap->Canvas().FillRect({0, 0, 40, 20});
    PaintSeriesLegendSymbol(Series, bitmap->Canvas(), {5, 5, 35, 15}, &Chart);
    return bitmap;
}

int Blue(TColor c) { return (static_cast<int>(c) >> 16) & 0xFF; }
int Red(TColor c) { return static_cast<int>(c) & 0xFF; }

} // namespace

TEST(SeriesLegend, SymbolsOfEveryKind)
{
    TChart chart(nullptr);
    chart.SetView3D(false);
    auto add = [&](TChartSeries* s, TColor color) {
        s->InsertPoint(0, 1);
        s->InsertPoint(1, 2);
        s->SetParentChart(&chart);
        s->SetSeriesColor(color);
        return s;
    };
    TLineSeries* line = static_cast<TLineSeries*>(add(new TLineSeries(&chart), clBlue));
    auto lineSymbol = Symbol(chart, *line);
    EXPECT_EQ(lineSymbol->PixelRGB(20, 10), clBlue) << "a line through the middle";
    EXPECT_EQ(lineSymbol->PixelRGB(6, 10), clBlue);
    EXPECT_EQ(lineSymbol->PixelRGB(20, 7), clWhite);

    line->Pointer().SetVisible(true);
    line->Pointer().Brush().SetColor(clRed);
    auto withPointer = Symbol(chart, *line);
    EXPECT_EQ(withPointer->PixelRGB(20, 10), clRed) << "the pointer, at most a third of the box high";
    EXPECT_EQ(withPointer->PixelRGB(20, 6), clWhite);
    EXPECT_EQ(withPointer->PixelRGB(8, 10), clBlue) << "the line beside it";

    TChartSeries* area = add(new TAreaSeries(&chart), clGreen);
    auto areaSymbol = Symbol(chart, *area);
    EXPECT_EQ(areaSymbol->PixelRGB(20, 7), clGreen) << "a filled box";
    EXPECT_EQ(areaSymbol->PixelRGB(20, 13), clGreen);

    TChartSeries* fast = add(new TFastLineSeries(&chart), clFuchsia);
    auto fastSymbol = Symbol(chart, *fast);
    EXPECT_EQ(fastSymbol->PixelRGB(20, 10), clFuchsia);
    EXPECT_EQ(fastSymbol->PixelRGB(20, 12), clWhite);

    // Error whiskers from the centre (20, 10) to a pixel inside the edges, their cross lines as wide (or,
    // sideways, as high) as the symbol, all within it.
    auto* error = static_cast<TErrorSeries*>(add(new TErrorSeries(&chart), clRed));
    auto upDown = Symbol(chart, *error);
    struct TProbe {
        int x, y;
        bool drawn;
    };
    for (const TProbe& p : std::initializer_list<TProbe>{{20, 7}, {20, 13}, {5, 6}, {34, 6}, {5, 14}, {34, 14}, {20, 6},
                                                         {35, 6}, {20, 5}, {20, 15}, {10, 10}, {4, 6}})
        EXPECT_EQ(upDown->PixelRGB(p.x, p.y) == clRed,
                  (p.x >= 5 && p.x <= 34 && (p.y == 6 || p.y == 14)) || (p.x == 20 && p.y >= 6 && p.y <= 14))
            << "top-bottom at " << p.x << "," << p.y;
    error->SetErrorStyle(essLeftRight);
    auto sideways = Symbol(chart, *error);
    for (const TProbe& p : std::initializer_list<TProbe>{{6, 5}, {6, 14}, {34, 5}, {34, 14}, {10, 10}, {30, 10}, {6, 15},
                                                         {5, 10}, {35, 10}, {20, 8}, {34, 4}})
        EXPECT_EQ(sideways->PixelRGB(p.x, p.y) == clRed,
                  ((p.x == 6 || p.x == 34) && p.y >= 5 && p.y <= 14) || (p.y == 10 && p.x >= 6 && p.x <= 34))
            << "left-right at " << p.x << "," << p.y;
    error->SetActive(false);

    // A pie's symbol: the slice colour, framed by the pie pen; the gradient when it is visible.
    auto* pie = static_cast<TPieSeries*>(add(new TPieSeries(&chart), clRed));
    pie->StorePointColor(0, clLime);
    // Each slice has a symbol of its own, in its legend entry.
    auto sliceSymbol = [&] {
        auto bitmap = std::make_unique<TBitmap>(40, 20);
        bitmap->Canvas().Brush().SetColor(clWhite);
        bitmap->Canvas().FillRect({0, 0, 40, 20});
        TCanvas3D& canvas = chart.ChartCanvas();
        TCanvas* old = canvas.AttachedCanvas();
        canvas.AttachCanvas(&bitmap->Canvas());
        pie->PaintLegendSymbol(0, {5, 5, 35, 15});
        canvas.AttachCanvas(old);
        return bitmap;
    };
    EXPECT_EQ(Symbol(chart, *pie)->PixelRGB(20, 10), clWhite) << "none for the whole pie";
    auto pieSymbol = sliceSymbol();
    EXPECT_EQ(pieSymbol->PixelRGB(20, 10), clLime);
    EXPECT_EQ(pieSymbol->PixelRGB(5, 10), clBlack) << "the pie pen";
    pie->SetDarkPen(255);
    EXPECT_EQ(sliceSymbol()->PixelRGB(5, 10), clLime) << "DarkPen 255: the slice colour";
    pie->Gradient().SetVisible(true);
    auto gradientSymbol = sliceSymbol();
    EXPECT_NE(gradientSymbol->PixelRGB(20, 10), clLime) << "white towards the centre";
    EXPECT_EQ(gradientSymbol->PixelRGB(5, 10), clLime) << "the frame in the darkened pen";
    pie->SetActive(false);

    auto* map = new TMapSeries(&chart);
    map->SetParentChart(&chart);
    map->Shapes().AddPolygon()->AddVertex(0, 0);
    auto mapSymbol = Symbol(chart, *map);
    // The range as the legend lists it, highest first: the start colour (navy) at the top, the end colour
    // (white) at the bottom, framed.
    const TColor top = mapSymbol->PixelRGB(20, 6), bottom = mapSymbol->PixelRGB(20, 13);
    EXPECT_GT(Red(bottom), Red(top));
    EXPECT_GT(Blue(top), Red(top));
    EXPECT_EQ(mapSymbol->PixelRGB(20, 5), clBlack) << "the frame";
    chart.FreeSeriesOfClass("");
}

namespace {

void Pump(int Turns)
{
    for (int i = 0; i < Turns; ++i) Application->ProcessMessages();
}

// The section model as the model view draws it: polygons coloured by resistivity through the palette,
// the sky masked white above the relief, nodes and electrodes as point series.
void BuildModelChart(TChart& Chart)
{
    Chart.SetView3D(false);
    Chart.Legend().SetVisible(false);
    Chart.LeftAxis().SetInverted(true);
    Chart.BottomAxis().SetFixedRange(0, 100);
    Chart.LeftAxis().SetFixedRange(-10, 50);
    auto* map = new TMapSeries(&Chart);
    map->SetParentChart(&Chart);
    map->SetUseColorRange(false);
    map->SetUsePalette(true);
    map->SetPaletteStyle(psRainbow);
    auto polygon = [&](std::initializer_list<std::pair<double, double>> pts, double z) {
        TLumPolygon& p = *map->Shapes().AddPolygon();
        for (const auto& [x, y] : pts) p.AddVertex(x, y);
        p.SetZ(z);
        p.Pen().SetColor(clBlack);
        return &p;
    };
    // A partition of the section, as the model's bodies are: the upper layer around the ore body, the
    // lower layer, the ore body.
    polygon({{0, -10}, {100, -10}, {100, 25}, {60, 18}, {40, 20}, {0, 15}, {0, -10}, {35, 8}, {40, 14}, {55, 15}, {62, 12},
             {50, 5}, {35, 8}},
            10);
    polygon({{0, 15}, {40, 20}, {60, 18}, {100, 25}, {100, 50}, {0, 50}}, 100);
    polygon({{35, 8}, {50, 5}, {62, 12}, {55, 15}, {40, 14}}, 1000)->SetText("Ore");
    auto* mask = new TAreaSeries(&Chart);
    mask->SetParentChart(&Chart);
    mask->SetSeriesColor(clWhite);
    mask->SetUseYOrigin(true);
    mask->SetYOrigin(-10000);
    mask->AreaLinesPen().SetVisible(false);
    mask->LinePen().SetColor(clOlive);
    mask->LinePen().SetWidth(2);
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, -2}, {20, -4}, {45, 1}, {70, -3}, {100, 0}}) mask->InsertPoint(x, y);
    auto* nodes = new TPointSeries(&Chart);
    nodes->SetParentChart(&Chart);
    nodes->SetSeriesColor(clRed);
    nodes->Pointer().SetHorizSize(2);
    nodes->Pointer().SetVertSize(2);
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{35, 8}, {50, 5}, {62, 12}, {55, 15}, {40, 14}}) nodes->InsertPoint(x, y);
    auto* electrodes = new TPointSeries(&Chart);
    electrodes->SetParentChart(&Chart);
    electrodes->SetSeriesColor(clNavy);
    electrodes->Pointer().SetStyle(psDownTriangle);
    for (int x = 5; x <= 95; x += 10) electrodes->InsertPoint(x, -6);
}

// The data view: observed values as points on a line, the calculated curve beside them, a legend.
void BuildDataChart(TChart& Chart)
{
    Chart.SetView3D(false);
    auto* observed = new TLineSeries(&Chart);
    observed->SetParentChart(&Chart);
    observed->SetTitle("Observed");
    observed->SetSeriesColor(clBlue);
    observed->Pointer().SetVisible(true);
    observed->Pointer().SetStyle(psCircle);
    auto* calculated = new TLineSeries(&Chart);
    calculated->SetParentChart(&Chart);
    calculated->SetTitle("Calculated");
    calculated->SetSeriesColor(clRed);
    calculated->LinePen().SetWidth(2);
    for (int i = 0; i <= 20; ++i) {
        const double x = i * 5;
        const double dU = -40 * std::exp(-(x - 50) * (x - 50) / 300.0);
        observed->InsertPoint(x, dU + ((i * 7) % 5 - 2));
        calculated->InsertPoint(x, dU);
    }
}

TColor Bgr(QRgb Rgb) { return static_cast<TColor>(qRed(Rgb) | qGreen(Rgb) << 8 | qBlue(Rgb) << 16); }

// A 900 x 420 window holding two 450 x 420 charts side by side. Show shows it and returns its picture,
// saved under the name in the folder $VSP_SERIES_SHOTS names, when set, for a person to look at.
struct TTwoChartWindow {
    QWidget Window;
    TChart Left{nullptr}, Right{nullptr};

    TTwoChartWindow()
    {
        Pump(1);
        Window.setGeometry(40, 40, 900, 420);
        Left.SetParentWidget(&Window);
        Left.SetBounds(0, 0, 450, 420);
        Right.SetParentWidget(&Window);
        Right.SetBounds(450, 0, 450, 420);
    }
    QImage Show(const char* Name)
    {
        Window.show();
        // A real X server maps the first window of a run a little later: wait for it, two seconds at most.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!(Window.windowHandle() && Window.windowHandle()->isExposed()) && std::chrono::steady_clock::now() < until) Pump(1);
        Pump(8);
        const QImage shot = Window.screen()->grabWindow(Window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        if (const char* dir = std::getenv("VSP_SERIES_SHOTS")) shot.save(QString(dir) + "/" + Name);
        return shot;
    }
};

} // namespace

TEST(SeriesWindow, ModelAndDataChartsInAWindow)
{
    TTwoChartWindow window;
    TChart& model = window.Left;
    TChart& data = window.Right;
    BuildModelChart(model);
    BuildDataChart(data);
    const QImage shot = window.Show("series-views.png");

    auto* map = dynamic_cast<TMapSeries*>(model.SeriesAt(0));
    ASSERT_NE(map, nullptr);
    auto at = [&](TChart& chart, double x, double y) {
        return QPoint(chart.Left() + chart.BottomAxis().CalcXPosValue(x), chart.Top() + chart.LeftAxis().CalcYPosValue(y));
    };
    // Inside the ore body, its palette colour; above the relief the white mask; deep down the host.
    EXPECT_EQ(Bgr(shot.pixel(at(model, 50, 10))), map->PointColor(2));
    EXPECT_EQ(Bgr(shot.pixel(at(model, 10, -8))), clWhite);
    EXPECT_EQ(Bgr(shot.pixel(at(model, 10, 5))), map->PointColor(0));
    EXPECT_EQ(Bgr(shot.pixel(at(model, 10, 45))), map->PointColor(1));
    EXPECT_NE(map->PointColor(1), map->PointColor(2));
    // The calculated curve at its lowest point, the observed pointers.
    auto* calculated = dynamic_cast<TLineSeries*>(data.SeriesAt(1));
    const QPoint low(data.Left() + calculated->ScreenXOf(10), data.Top() + calculated->ScreenYOf(10));
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) red = red || Bgr(shot.pixel(low + QPoint(dx, dy))) == clRed;
    EXPECT_TRUE(red);
    // The second legend text lies on the legend's background, not on the blue brush of the pointer above it.
    const auto& layout = data.Legend().Layout();
    const int top = layout.ItemsTop + layout.Margin + 1 + layout.ItemHeight;
    int stained = 0;
    for (int y = top; y < top + layout.ItemHeight - 1; ++y) {
        for (int x = layout.TextX; x < layout.TextX + layout.TextWidth; ++x) {
            stained += Bgr(shot.pixel(data.Left() + x, data.Top() + y)) == clBlue;
        }
    }
    EXPECT_EQ(stained, 0);
}

TEST(SeriesLegend, ContinuousSymbolsOfPaletteSeriesHaveNoFrames)
{
    TChart chart(nullptr);
    auto* map = new TMapSeries(&chart);
    map->SetParentChart(&chart);
    TColor back = clWhite;
    TBrushStyle style = bsSolid;
    chart.ChartCanvas().Pen().SetStyle(psSolid);
    map->LegendSymbolStyle(0, back, style);
    EXPECT_EQ(chart.ChartCanvas().Pen().Style(), psSolid);
    chart.Legend().Symbol().SetContinuous(true);
    map->LegendSymbolStyle(0, back, style);
    EXPECT_EQ(chart.ChartCanvas().Pen().Style(), psClear);
    chart.FreeSeriesOfClass("");
}

// Two bar series side by side and horizontal stacked bars in 3-D, as a user sees them in a window.
TEST(SeriesWindow, BarChartsInAWindow)
{
    TTwoChartWindow window;
    TChart& flat = window.Left;
    TChart& solid = window.Right;
    flat.SetView3D(false);
    const char* labels[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};
    TChartSeries* first = nullptr;
    for (int k = 0; k < 2; ++k) {
        auto* s = dynamic_cast<TBarSeries*>(flat.CreateSeriesFromClass(TBarSeries::StaticClassInfo()));
        s->SetTitle(k ? "Measured" : "Computed");
        s->SetSeriesColor(k ? clBlue : clRed);
        for (int i = 0; i < 6; ++i) s->AppendValue(3 + (i * (k + 2)) % 7, labels[i]);
        if (!first) first = s;
    }
    for (int k = 0; k < 2; ++k) {
        auto* s = dynamic_cast<THorizBarSeries*>(solid.CreateSeriesFromClass(THorizBarSeries::StaticClassInfo()));
        s->SetMultiBar(mbStacked);
        s->SetBarStyle(k ? bsRectGradient : bsCilinder);
        s->SetSeriesColor(k ? clGreen : clYellow);
        for (int i = 0; i < 4; ++i) s->AppendValue(2 + (i * (k + 3)) % 5, labels[i]);
    }
    const QImage shot = window.Show("series-bars.png");
    // The middle of the first series' third bar shows its colour.
    auto* bars = dynamic_cast<TBarSeries*>(first);
    const QPoint mid(flat.Left() + bars->ScreenXOf(2) + bars->BarPixelWidth() / 2,
                     flat.Top() + (bars->ScreenYOf(2) + bars->BarOriginPixel(2)) / 2);
    EXPECT_EQ(Bgr(shot.pixel(mid)), clRed);
    flat.FreeSeriesOfClass("");
    solid.FreeSeriesOfClass("");
}

// A 3-D pie with an exploded slice and its marks, and a flat pie grouping its small slices into
// "Other", as a user sees them in a window.
TEST(SeriesWindow, PieChartsInAWindow)
{
    TTwoChartWindow window;
    TChart& solid = window.Left;
    TChart& flat = window.Right;
    const char* labels[] = {"Clay", "Sand", "Gravel", "Rock", "Ore", "Water"};
    const double values[] = {30, 22, 18, 14, 4, 2};
    auto* pie = dynamic_cast<TPieSeries*>(solid.CreateSeriesFromClass(TPieSeries::StaticClassInfo()));
    ASSERT_NE(pie, nullptr);
    solid.SetView3D(true);
    for (int i = 0; i < 6; ++i) pie->AppendValue(values[i], labels[i]);
    pie->ExplodePercents().SetValue(0, 25);
    flat.SetView3D(false);
    auto* grouped = dynamic_cast<TPieSeries*>(flat.CreateSeriesFromClass(TPieSeries::StaticClassInfo()));
    ASSERT_NE(grouped, nullptr);
    for (int i = 0; i < 6; ++i) grouped->AppendValue(values[i], labels[i]);
    grouped->OtherSlice().SetStyle(poBelowPercent);
    grouped->OtherSlice().SetValue(10);
    grouped->SetCircled(true);
    const QImage shot = window.Show("series-pies.png");
    // Every slice of the 3-D pie shows its colour somewhere in its chart.
    for (int i = 0; i < 6; ++i) {
        const TColor c = pie->PointColor(i);
        bool seen = false;
        for (int y = 0; y < 420 && !seen; ++y)
            for (int x = 0; x < 450 && !seen; ++x) seen = Bgr(shot.pixel(x, y)) == c;
        EXPECT_TRUE(seen) << "slice " << i;
    }
    // The flat pie: four slices and the other slice of the two small ones; the exploded 3-D slice is
    // found under the mouse at its moved place.
    ASSERT_EQ(grouped->PointCount(), 7);
    EXPECT_EQ(grouped->LegendEntryCount(), 5);
    const TPieAngle& other = grouped->SliceAngles()[6];
    const TPoint inOther = grouped->PolarToScreen(other.MiddleAngle, grouped->XRadius() / 2, grouped->YRadius() / 2);
    EXPECT_EQ(grouped->PointAtPixel(inOther.x, inOther.y), 6);
    EXPECT_EQ(Bgr(shot.pixel(450 + inOther.x, inOther.y)), grouped->PointColor(6));
    solid.FreeSeriesOfClass("");
    flat.FreeSeriesOfClass("");
}

// Bars with whiskers on top, and whiskers alone over measured points with a half-transparent high-low
// band behind them, as a user sees them in a window.
TEST(SeriesWindow, ErrorBarChartsInAWindow)
{
    TTwoChartWindow window;
    TChart& bars = window.Left;
    TChart& profile = window.Right;
    bars.SetView3D(false);
    profile.SetView3D(false);
    const char* labels[] = {"A1", "A2", "B1", "B2", "C1", "C2"};
    constexpr TColor kBandColour = 0xFFC040;
    const double values[] = {12, 18, 9, 15, 21, 11}, errors[] = {2, 3, 1.5, 4, 2.5, 3};
    auto* withBars = dynamic_cast<TErrorBarSeries*>(bars.CreateSeriesFromClass(TErrorBarSeries::StaticClassInfo()));
    ASSERT_NE(withBars, nullptr);
    withBars->SetTitle("Mean");
    withBars->SetSeriesColor(clTeal);
    withBars->ErrorPen().SetColor(clRed);
    withBars->ErrorPen().SetWidth(2);
    withBars->Marks().SetVisible(false);
    for (int i = 0; i < 6; ++i) withBars->AddErrorPoint(i, values[i], errors[i], labels[i]);

    auto* band = dynamic_cast<THighLowSeries*>(profile.CreateSeriesFromClass(THighLowSeries::StaticClassInfo()));
    auto* whiskers = dynamic_cast<TErrorSeries*>(profile.CreateSeriesFromClass(TErrorSeries::StaticClassInfo()));
    auto* measured = dynamic_cast<TPointSeries*>(profile.CreateSeriesFromClass(TPointSeries::StaticClassInfo()));
    ASSERT_TRUE(band && whiskers && measured);
    band->SetTitle("Model range");
    band->SetSeriesColor(kBandColour);
    band->HighBrush().SetStyle(bsSolid);
    band->LowBrush().SetStyle(bsSolid);
    band->SetTransparency(50);
    whiskers->SetTitle("Error");
    whiskers->SetSeriesColor(clNavy);
    whiskers->SetErrorWidth(8);
    whiskers->SetErrorWidthUnits(ewuPixels);
    measured->SetTitle("Measured");
    measured->SetSeriesColor(clBlue);
    for (TChartSeries* s : {static_cast<TChartSeries*>(band), static_cast<TChartSeries*>(whiskers), static_cast<TChartSeries*>(measured)})
        s->Marks().SetVisible(false);
    for (int i = 0; i <= 10; ++i) {
        const double x = i * 10, model = -40 * std::exp(-(x - 50) * (x - 50) / 400.0);
        const double y = model + ((i * 7) % 5 - 2);
        band->AddHighLowPoint(x, model + 5, model - 5);
        whiskers->AddErrorPoint(x, y, 2 + i % 3);
        measured->InsertPoint(x, y);
    }
    const QImage shot = window.Show("series-errors.png");
    const auto near = [&](const TChart& chart, int x, int y, TColor colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (Bgr(shot.pixel(chart.Left() + x + dx, chart.Top() + y + dy)) == colour) return true;
        return false;
    };
    // The whisker above the fifth bar in the error pen's colour, the bar below its top in the series'.
    const int middle = withBars->ScreenXOf(4) + withBars->BarPixelWidth() / 2;
    EXPECT_TRUE(near(bars, middle, withBars->ScreenYOf(4) - 6, clRed));
    EXPECT_TRUE(near(bars, middle, withBars->ScreenYOf(4) + 10, clTeal));
    // The whisker of the lowest point (drawn at its bar's middle) above its pointer; the band behind, half
    // its colour and half the back wall's.
    EXPECT_TRUE(near(profile, whiskers->ScreenXOf(5) + whiskers->BarPixelWidth() / 2, whiskers->ScreenYOf(5) - 8, clNavy));
    const int inBandX = (band->ScreenXOf(2) + band->ScreenXOf(3)) / 2;
    const int inBandY = (band->ScreenYOf(2) + band->ScreenYOf(3) + band->VertValueToPixel(band->LowValues().ValueAt(2)) +
                         band->VertValueToPixel(band->LowValues().ValueAt(3))) / 4;
    const QRgb behind = shot.pixel(profile.Left() + inBandX, profile.Top() + inBandY);
    const TColor wall = ColorToRGB(profile.GetBackColor());
    EXPECT_NEAR(qRed(behind), ((kBandColour & 0xFF) + (wall & 0xFF)) / 2, 2);
    EXPECT_NEAR(qBlue(behind), ((kBandColour >> 16) + (wall >> 16 & 0xFF)) / 2, 2);
    bars.FreeSeriesOfClass("");
    profile.FreeSeriesOfClass("");
}

// A kind that says its screen x follows its X values places every point at the horizontal axis' pixel of
// its X (the nearest-point tool bisects on that pixel): every registered kind flat and in 3-D, and line
// kinds stacked, where horizontal ones move their points along the horizontal axis and say so.
TEST(SeriesRegistry, ScreenXFollowsXValuesOnlyWhereItDoes)
{
    const auto follows = [](const TChartSeries& s) {
        for (int i = 0; i < s.PointCount(); ++i)
            if (s.ScreenXOf(i) != s.HorizValueToPixel(s.XValues().ValueAt(i))) return false;
        return true;
    };
    const TLumSeriesTypes* types = LumSeriesTypes();
    ASSERT_NE(types, nullptr);
    int kinds = 0;
    for (int i = 0; i < types->Count(); ++i) {
        const TLumSeriesType& t = types->GetSeriesType(i);
        if (!t.SeriesClassRef || t.FunctionClassRef) continue;
        for (bool view3D : {false, true}) {
            TSeriesBench bench;
            bench.Chart.SetView3D(view3D);
            for (int k = 0; k < 2; ++k) {
                auto* s = dynamic_cast<TChartSeries*>(t.SeriesClassRef->CreateComponent(nullptr));
                ASSERT_NE(s, nullptr) << t.SeriesClassRef->Name();
                bench.Series.emplace_back(s);
                s->FillSampleValues(25);
                s->SetParentChart(&bench.Chart);
            }
            bench.Render();
            for (const auto& s : bench.Series)
                if (s->ScreenXFollowsXValues()) EXPECT_TRUE(follows(*s)) << t.SeriesClassRef->Name() << (view3D ? " in 3-D" : "");
        }
        ++kinds;
    }
    EXPECT_GE(kinds, 15);

    for (bool horizontal : {false, true}) {
        TSeriesBench bench;
        for (int k = 0; k < 2; ++k) {
            TLineSeries& s = horizontal ? bench.Add<THorizLineSeries>({1, 2, 3}, {4, 5, 6}) : bench.Add<TLineSeries>({4, 5, 6}, {1, 2, 3});
            s.SetStacked(cssStack);
        }
        bench.Render();
        const TChartSeries& upper = *bench.Series[1];
        EXPECT_EQ(upper.ScreenXFollowsXValues(), !horizontal);
        EXPECT_EQ(follows(upper), !horizontal) << "stacked on the first series";
    }
}
