// The model view's construction: its six series with their looks, the default property row of new
// polygons, margins, title and axes, and the handlers it hooks to its own chart events.
#include "views/PolygonChart.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"

#include <algorithm>
#include <cmath>
#include <vector>

const TClassInfo& TPolygonChart::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPolygonChart", .Parent = &TChart::StaticClassInfo()});
    return info;
}

namespace {

const std::string ChartTitle = "Cross-section";
// Pixels between the depth axis' flat title and the widest depth label.
constexpr int TitleGap = 3;
// Depth labels measured at the most.
constexpr int MaxDepthLabels = 1000;

// The values the depth axis writes, as its label walk finds them: scale x (depth + offset) (elevations
// with "Real topo coordinates") at multiples of the label step down from the deep end. The range's ends
// themselves may carry digits that no label shows (the depth an equal scale gives), and a plot made
// narrower for them would change that depth again. Without a usable step: the ends.
std::vector<double> DepthLabelValues(const TChartAxis& axis)
{
    const double scale = axis.LabelValueScale == 0 ? 1.0 : axis.LabelValueScale;
    const double a = std::fabs(scale) * (axis.Minimum() + axis.LabelValueOffset);
    const double b = std::fabs(scale) * (axis.Maximum() + axis.LabelValueOffset);
    const double lo = std::min(a, b), hi = std::max(a, b), step = std::fabs(scale) * axis.MinLabelStep();
    const auto shown = [scale](double v) { return scale < 0 ? -v : v; };
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(hi - lo) || (hi - lo) / step > MaxDepthLabels)
        return {shown(lo), shown(hi)};
    std::vector<double> values;
    double v = axis.RoundFirstLabel() ? std::trunc(hi / step) * step : hi;
    for (int k = 0; k <= MaxDepthLabels && v >= lo - step * 1e-9; ++k, v -= step) values.push_back(shown(v));
    return values;
}

// The label font of shapes and the title's: "small fonts", 7 points.
void SetSmallFont(TFont& font)
{
    font.SetName("Small Fonts");
    font.SetSize(7);
}

// The series own no data of the program's files: they take part in no axis range of their own unless
// told, and keep their points in the order given.
template <class S>
S* NewSeries(TPolygonChart& chart, const char* name)
{
    auto* series = new S(nullptr); // the chart frees its series
    series->SetName(name);
    series->XValues().SetOrder(loNone);
    series->YValues().SetOrder(loNone);
    series->SetParentChart(&chart);
    return series;
}

void ExcludeFromRanges(TChartSeries& series)
{
    series.SetExcludeFromXRange(true);
    series.SetExcludeFromYRange(true);
}

// A red line whose points show as open circles.
void StyleWorkLine(TLineSeries& line)
{
    line.SetSeriesColor(clRed);
    line.Pointer().SetVisible(true);
    line.Pointer().SetStyle(psCircle);
    line.Pointer().SetHorizSize(3);
    line.Pointer().SetVertSize(3);
    line.Pointer().Pen().SetColor(clRed);
    line.Marks().SetVisible(false);
}

// The property row of new polygons at first: a clear brush, a grey pen, and a hidden red-yellow-blue
// gradient.
PolygonProperties InitialPolygonProperties()
{
    TChartBrush brush;
    brush.SetStyle(bsClear);
    TChartPen pen;
    pen.SetColor(clGray);
    TLumGradient gradient;
    gradient.SetStartColor(clRed);
    gradient.SetEndColor(clBlue);
    gradient.SetMidColor(clYellow);
    gradient.SetVisible(false);
    return MakeDefaultPolygonProperties(WriteBrushStyle(brush), WritePenStyle(pen), WriteGradientStyle(gradient));
}

} // namespace

TPolygonChart::TPolygonChart(TComponent* AOwner) : TChart(AOwner), NewPolygonProperties(InitialPolygonProperties())
{
    FUndo.UndoLimit = 25;
    CreateSeries();
    SetUpChart();
    SetUpAxes();
    SetView3D(false);
    Zoom().SetAllow(false);
    SetColor(clWhite);

    OnAfterDraw = [this](TPersistent*) { DrawNodeMarks(); };
    OnResize = [this](TPersistent*) { UpdatePixelScales(); };
    // Hit tests measure in pixels: the scales follow every change of the axes' ranges.
    OnZoom = OnScroll = OnUndoZoom = [this](TPersistent*) { UpdatePixelScales(); };
    OnMouseMove = [this](TPersistent* Sender, TShiftState Shift, int X, int Y) { ChartMouseMove(Sender, Shift, X, Y); };
    OnMouseDown = [this](TPersistent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        ChartMouseDown(Sender, Button, Shift, X, Y);
    };
    OnDblClick = [this](TPersistent*) { EditBodyAt(); };

    FElectrodeSeries = NewSeries<TPointSeries>(*this, "ElectrodeSeries");
    // Each electrode may have a colour of its own; switching that on clears the brush colour, so red
    // comes after it.
    FElectrodeSeries->SetColorEachPoint(true);
    FElectrodeSeries->Pointer().SetStyle(psRectangle);
    FElectrodeSeries->Pointer().SetHorizSize(1);
    FElectrodeSeries->Pointer().SetVertSize(3);
    FElectrodeSeries->Pointer().Brush().SetColor(clRed);
    FElectrodeSeries->Pointer().Pen().SetColor(clGray);
    FElectrodeSeries->Marks().SetVisible(false);

    OnAxisMenuClick = [this](TPersistent*) { FollowAxes(); };

    const std::string* title = &ChartTitle;
    Title().SetTextLine(title);
    SetSmallFont(Title().Font());
    SettingsToText(DefaultSettingsText);
}

void TPolygonChart::CreateSeries()
{
    // One shape per sub-polygon, labelled in its middle by a plain transparent mark without connector.
    FShapeSeries = NewSeries<TMapSeries>(*this, "ShapeSeries");
    TSeriesMarks& marks = FShapeSeries->Marks();
    marks.Arrow().SetVisible(false);
    marks.SetArrowLength(0);
    marks.Callout().Brush().SetColor(clBlack);
    marks.Callout().SetArrowHeadSize(0);
    marks.Callout().SetLength(0);
    marks.Brush().SetColor(clWhite);
    marks.Brush().SetStyle(bsClear);
    marks.Pen().SetVisible(false);
    marks.Shadow().SetHorizSize(0);
    marks.Shadow().SetVertSize(0);
    marks.SetTransparent(true);
    marks.SetVisible(true);
    SetSmallFont(marks.Font());

    // The edit in progress: picked points and hover marks, and the rubber band in small dots.
    FWorkLine1 = NewSeries<TLineSeries>(*this, "WorkLine1");
    StyleWorkLine(*FWorkLine1);
    FWorkLine1->Pointer().Brush().SetStyle(bsClear);
    FWorkLine2 = NewSeries<TLineSeries>(*this, "WorkLine2");
    StyleWorkLine(*FWorkLine2);
    FWorkLine2->LinePen().SetSmallDots(true);

    // White from the surface up, over everything drawn before it.
    FSurfaceMask = NewSeries<TAreaSeries>(*this, "SurfaceMask");
    FSurfaceMask->SetUseYOrigin(true);
    FSurfaceMask->SetYOrigin(-10000);
    FSurfaceMask->SetAreaBrush(bsSolid);
    FSurfaceMask->SetSeriesColor(clWhite);
    FSurfaceMask->SetAreaColor(clWhite);
    FSurfaceMask->AreaLinesPen().SetVisible(false);
    FSurfaceMask->Marks().SetVisible(false);

    // The boundary-element nodes of a run, which the main window fills and clears.
    FNodeSeries = NewSeries<TPointSeries>(*this, "NodeSeries");
    FNodeSeries->SetSeriesColor(clLime);
    FNodeSeries->Pointer().SetStyle(psCircle);
    FNodeSeries->Pointer().SetHorizSize(2);
    FNodeSeries->Pointer().SetVertSize(2);
    FNodeSeries->Pointer().Brush().SetColor(clLime);
    FNodeSeries->Pointer().Pen().SetColor(clBlack);
    FNodeSeries->Marks().SetVisible(false);

    for (TChartSeries* s : std::initializer_list<TChartSeries*>{FShapeSeries, FWorkLine1, FWorkLine2, FSurfaceMask,
                                                                 FNodeSeries})
        s->SetEditLocked(true);
    for (TChartSeries* s : std::initializer_list<TChartSeries*>{FWorkLine1, FWorkLine2, FSurfaceMask, FNodeSeries})
        ExcludeFromRanges(*s);
    // "Default" of the section setup brings these looks back.
    FWorkLine2->StoreDefaultStyle();
    FWorkLine1->StoreDefaultStyle();
    FNodeSeries->StoreDefaultStyle();
}

void TPolygonChart::SetUpChart()
{
    SetAllowPanning(pmNone);
    Legend().SetVisible(false);
    SetMarginUnits(muPixels);
    Zoom().Pen().SetColor(clBlack);
    SetMarginLeft(25);
    SetMarginRight(70);
    SetMarginTop(1);
    SetMarginBottom(10);
    Title().SetVisible(true);
    const std::string* title = &ChartTitle;
    Title().SetTextLine(title);
}

void TPolygonChart::SetUpAxes()
{
    TChartAxis& bottom = BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetAutomaticMaximum(false);
    bottom.SetAutomaticMinimum(false);
    bottom.Axis().SetWidth(0);
    bottom.Grid().SetVisible(false);
    bottom.SetLabelStyle(talValue);
    bottom.SetMaximum(1000);

    // Depth runs down the left axis.
    TChartAxis& left = LeftAxis();
    left.SetStartPosition(5);
    left.SetAutomatic(false);
    left.SetAutomaticMaximum(false);
    left.SetAutomaticMinimum(false);
    left.Axis().SetWidth(1);
    left.Grid().SetVisible(false);
    left.SetInverted(true);
    left.SetLabelStyle(talValue);
    left.SetMaximum(100);
    left.Title().SetCaption("z");
    left.SetLabelsSize(1);
    left.DecShift = 1;
    left.TitleFlat = true;

    for (TChartAxis* axis : {&bottom, &left}) {
        axis->SetMinorTickCount(4);
        axis->SetTickLength(3);
        axis->MinorTicks().SetColor(clBlack);
        axis->Ticks().SetColor(clBlack);
        axis->TicksInner().SetVisible(false);
        axis->SetLogarithmic(false);
        axis->AutoLogFormat = true;
    }
    RightAxis().SetVisible(false);
    TopAxis().SetVisible(false);
    // The axis pop-up's "Default" brings these back.
    StoreAxesDefaults();
}

void TPolygonChart::FitChartRectTo3D()
{
    TChart::FitChartRectTo3D();
    TRect r = ChartRect();
    const int left = PanelRect().Left + DepthLabelsRoom();
    if (r.Left >= left || left >= r.Right) return;
    r.Left = left;
    SetChartRect(r);
    RecalcChartRect();
}

int TPolygonChart::DepthLabelsRoom()
{
    TChartAxis& left = LeftAxis();
    if (!left.Visible() || !left.Labels()) return 0;
    TCanvas3D& canvas = ChartCanvas();
    canvas.SelectFont(left.LabelsFont());
    int widest = 0, lines = 0;
    for (double value : DepthLabelValues(left))
        widest = std::max(widest, MeasureMultiLineText(left.FormatLabelValue(value), lines));
    int title = 0;
    if (left.Title().Visible() && !left.Title().Caption().empty()) {
        canvas.SelectFont(left.Title().Font());
        title = canvas.MeasureTextWidth(left.Title().Caption()) + TitleGap;
    }
    return title + widest - left.LabelZoneSize();
}

void TPolygonChart::DoChangeModel()
{
    if (onchangemodel) onchangemodel(this);
}
