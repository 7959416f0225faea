// The data view's construction, its defaults and view settings string, the legend's place beside the
// plot, and the section's operations as far as an empty section needs them.
#include "views/PseudoSection2d.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/control/LumLegendScrollBar.h"
#include "chart/control/LumTools.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>
#include <cmath>
#include <limits>

const TClassInfo& TPseudoSection2d::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPseudoSection2d", .Parent = &TChart::StaticClassInfo()});
    return info;
}

namespace {

// The view's small text: "Small Fonts", 7 points.
void SetSectionSmallFont(TFont& font, TColor color = clBlack)
{
    font.SetName("Small Fonts");
    font.SetSize(7);
    font.SetColor(color);
}

// The series belong to the chart, which frees them; their own data take no part in the axes' ranges.
TPointSeries* NewMarksSeries(TPseudoSection2d& chart, const char* name, int size, TSeriesPointerStyle style)
{
    auto* series = new TPointSeries(nullptr);
    series->SetName(name);
    series->SetParentChart(&chart);
    series->Pointer().SetVisible(true);
    series->Pointer().SetHorizSize(size);
    series->Pointer().SetVertSize(size);
    series->Pointer().SetStyle(style);
    series->Pointer().Brush().SetColor(clBlack);
    series->SetExcludeFromXRange(true);
    series->SetExcludeFromYRange(true);
    series->SetShowInLegend(false);
    return series;
}

const char* const MenuCaptions[] = {"Log data scale", "Display grid point", "Display ColorBar", "Setup",
                                    "Print preview",  "Save picture",       "Save XYZ file",    "Default"};

// The rounded value as a 32-bit integer; ERangeError beyond that range (or for no number at all).
std::int32_t RoundedInt(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        throw ERangeError();
    return static_cast<std::int32_t>(r);
}

bool FlagOf(std::int32_t v) { return (v & 0xFF) != 0; }

} // namespace

TPseudoSection2d::TPseudoSection2d(TComponent* AOwner)
    : TChart(AOwner)
{
    FBarFont = std::make_unique<TLumFont>();
    SetSectionSmallFont(*FBarFont);
    CreateSeries();
    SetUpChart();
    StoreAxesDefaults();
    FGridInput = false;
    CreateViewMenu();

    FNodes.SetLength(8001);
    FTriangles.SetLength(8001);
    FShowIsolines = true;
    NodeEnd = 1;
    FTriangleCount = 0;
    SetViewDefaults();
    InstallHandlers();

    FPictureHeight = 5 * Screen->Height();
    FPictureWidth = 5 * Screen->Width();
    FPicture = std::make_unique<TMetafile>();
    FPicture->SetWidth(FPictureWidth);
    FPicture->SetHeight(FPictureHeight);

    OnResize = [this](TPersistent*) { PlaceLegend(); };
    PlaceLegend();
    Title().ClearText();
}

TPseudoSection2d::~TPseudoSection2d() = default;

void TPseudoSection2d::CreateSeries()
{
    // The picture's frame: two corner points that the image tool stretches the picture between.
    FrameSeries = new TPointSeries(nullptr);
    FrameSeries->SetName("FrameSeries");
    FrameSeries->SetParentChart(this);
    FrameSeries->Pointer().SetVisible(false);
    FrameSeries->SetShowInLegend(false);

    ImageTool = new TChartImageTool(nullptr);
    ImageTool->SetParentChart(this);
    ImageTool->SetSeries(FrameSeries);
    ImageTool->FlipY = true;

    // One labelled point per node; the labels are plain black text without a box or connector.
    GridSeries = NewMarksSeries(*this, "GridSeries", 2, psCircle);
    TSeriesMarks& marks = GridSeries->Marks();
    marks.SetVisible(false);
    marks.SetStyle(smsLabel);
    marks.SetTransparent(true);
    SetSectionSmallFont(marks.Font());
    marks.Pen().SetVisible(false);
    marks.SetArrowLength(0);
    GridSeries->StoreDefaultStyle();
    LoadSeriesFromIni("roz2i_ps_grid", GridSeries);

    // Stations and electrode marks keep a colour per point (the picked electrodes turn blue).
    StationSeries = NewMarksSeries(*this, "StationSeries", 3, psDownTriangle);
    StationSeries->SetSeriesColor(clBlack);
    StationSeries->SetColorEachPoint(true);
    StationSeries->Pointer().Brush().SetColor(clBlack);
    StationSeries->StoreDefaultStyle();
    LoadSeriesFromIni("roz2i_ps_st", StationSeries);

    // A picked measurement's electrodes: "p1" and "p2" written in blue beside their points.
    MarkerSeries = NewMarksSeries(*this, "MarkSeries", 3, psCircle);
    MarkerSeries->SetSeriesColor(clBlack);
    MarkerSeries->SetColorEachPoint(true);
    MarkerSeries->Pointer().Brush().SetColor(clBlack);
    TSeriesMarks& labels = MarkerSeries->Marks();
    labels.SetVisible(true);
    labels.SetStyle(smsLabel);
    labels.SetTransparent(true);
    SetSectionSmallFont(labels.Font(), clBlue);
    labels.Pen().SetVisible(false);
    labels.SetArrowLength(2);
    MarkerSeries->StoreDefaultStyle();
}

void TPseudoSection2d::SetUpChart()
{
    Zoom().SetAllow(true);
    Zoom().Pen().SetColor(clBlack);
    BackWall().Brush().SetColor(clWhite);
    BackWall().Brush().SetStyle(bsClear);
    SetMarginUnits(muPixels);
    Title().SetVisible(true);
    SetSectionSmallFont(Title().Font());
    SetView3D(false);
    SetView3DWalls(true);
    Walls().SetView3D(true);
    SetBevelOuter(bvNone);
    SetColor(clWhite);

    for (TChartAxis* axis : {&LeftAxis(), &BottomAxis()}) {
        axis->SetAutomatic(true);
        axis->Grid().SetVisible(false);
        axis->SetLabelsSize(1);
        axis->SetMinorTickCount(1);
        axis->AutoLogFormat = true;
        axis->DecShift = 1;
        axis->Axis().SetVisible(false);
        axis->SetLabelStyle(talValue);
    }
    LeftAxis().SetInverted(true);
    LeftAxis().SetStartPosition(5);
    LeftAxis().SetLogarithmic(false);
    LeftAxis().TitleFlat = true;
    RightAxis().SetLabelsSize(1);
    RightAxis().Axis().SetWidth(0);

    Legend().SetVisible(true);
    Legend().SetCustomPosition(true);
    Legend().SetCheckBoxes(true);
    Legend().SetResizeChart(false);
    SetSectionSmallFont(Legend().Font());
    Legend().SetPositionUnits(muPixels);

    LegendScrollBar = new TLegendScrollBar(nullptr);
    LegendScrollBar->SetBackColor(clWhite);
    LegendScrollBar->SetParentChart(this);
    LegendScrollBar->SetActive(true);
    // Only while some items are out of sight: the view's margin leaves the legend no room for a bar
    // beside two items that all show, which it would push past the view's right edge.
    LegendScrollBar->DrawStyle = dsWhenNeeded;
    LegendScrollBar->Pen().SetColor(clWindowFrame);
    LegendScrollBar->SetSize(7);
    LegendScrollBar->ThumbBrush().SetColor(clSilver);
}

void TPseudoSection2d::CreateDataGraphs()
{
    auto curve = [this](const char* name) {
        auto* series = new TLineSeries(nullptr);
        series->SetName(name);
        series->XValues().SetOrder(loAscending);
        series->SetParentChart(this);
        return series;
    };
    // The observed curve in a dark colour that reads on the white view beside the red calculated one.
    Series1 = curve("Series1");
    Series1->SetSeriesColor(clNavy);
    Series1->Pointer().SetVisible(true);
    Series1->Pointer().SetStyle(psCircle);
    Series1->Pointer().SetHorizSize(2);
    Series1->Pointer().SetVertSize(2);
    Series2 = curve("Series2");
    Series2->SetSeriesColor(clRed);
    Series2->LinePen().SetStyle(psDot);
    Series2->Pointer().SetVisible(false);
    RightAxis().Grid().SetVisible(false);
    SetView3D(false);
    Title().ClearText();
}

void TPseudoSection2d::CreateViewMenu()
{
    FViewMenu = std::make_unique<TPopupMenu>(nullptr);
    FViewMenu->SetAutoHotkeys(maManual);
    for (int i = 0; i < 8; ++i) {
        auto* item = new TMenuItem(this);
        item->SetCaption(MenuCaptions[i]);
        item->OnClick = [this, item](TPersistent*) { MenuCommand(item); };
        FViewMenu->Items().Add(item);
        FMenuItems[i] = item;
    }
}

void TPseudoSection2d::InstallHandlers()
{
    OnDblClick = [this](TPersistent*) { ShowViewMenu(); };
    OnMouseMove = [this](TPersistent*, TShiftState Shift, int X, int Y) { ShowCursorValues(Shift, X, Y); };
    OnMouseDown = [](TPersistent*, TMouseButton, TShiftState, int, int) {};
    OnMouseUp = [](TPersistent*, TMouseButton, TShiftState, int, int) {};
    OnAfterDraw = [this](TPersistent*) { AfterDrawColorBar(); };
    OnSeriesMenuClick = [this](TPersistent*) { UpdateImage(); };
    LeftAxis().OnRangeChange = [this](TChartAxis*) { UpdateImage(); };
    BottomAxis().OnRangeChange = [this](TChartAxis*) { UpdateImage(); };
}

void TPseudoSection2d::RemoveHandlers()
{
    OnDblClick = nullptr;
    OnMouseMove = nullptr;
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    OnAfterDraw = nullptr;
    LeftAxis().OnRangeChange = nullptr;
    BottomAxis().OnRangeChange = nullptr;
}

void TPseudoSection2d::SetViewDefaults()
{
    FShowColorBar = true;
    FLogScale = false;
    FMinBandColor = clRed;
    FMaxBandColor = clBlue;
    FMidBandColors = {clYellow, clGreen};
    FMinLineColor = clBlue;
    FMaxLineColor = clRed;
    SetMarginLeft(25);
    SetMarginRight(70);
    SetMarginTop(1);
    SetMarginBottom(20);
    FLevelCount = 15;
}

void TPseudoSection2d::PlaceLegend()
{
    // The plot rectangle comes from a layout at the view's size, which a hidden view has not had: the
    // drawing onto a scratch canvas makes one and repaints the view afterwards.
    TBitmap scratch;
    scratch.SetSize(1, 1);
    DrawUnbuffered(scratch.Canvas(), ChartBounds());
    // A legend wider than the room beside the plot stays whole inside the view, over the plot's edge.
    const int width = Legend().ShapeRect().Width();
    Legend().SetLeft(std::max(ChartRect().Left, std::min(ChartRect().Right + 5, Width() - width)));
    Legend().SetTop(ChartRect().Top);
    FLegendPlot = ChartRect();
}

void TPseudoSection2d::FireBeforeDrawSeries()
{
    TChart::FireBeforeDrawSeries();
    TChartLegend& legend = Legend();
    if (FLegendPlot.IsEmpty() || !legend.CustomPosition() || legend.PositionUnits() != muPixels) return;
    // A page or a picture of another size has its plot elsewhere: the legend keeps its place beside it
    // instead of standing at the screen's pixels, over the plot or off the picture. Moved without a
    // repaint: this is part of one.
    const TRect& plot = ChartRect();
    const int dx = plot.Right - FLegendPlot.Right, dy = plot.Top - FLegendPlot.Top;
    const TRect r = legend.ShapeRect();
    legend.SetShapeRect({r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy});
    FLegendPlot = plot;
}

void TPseudoSection2d::ApplyViewSettings(const std::string& text)
{
    if (SplitToStrings(text).Length() < 18) return;
    // A token that is no number leaves a value short: the items' positions no longer hold.
    const arofdoubleM items = SplitToDoubles(text);
    if (items.Length() < 18) throw ERangeError();
    std::array<std::int32_t, 16> ints{};
    for (int i = 0; i < 16; ++i) ints[i] = RoundedInt(items[i]);

    FMinBandColor = static_cast<TColor>(ints[0]);
    FMaxBandColor = static_cast<TColor>(ints[1]);
    FMinLineColor = static_cast<TColor>(ints[2]);
    FMaxLineColor = static_cast<TColor>(ints[3]);
    FMidBandColors = {static_cast<TColor>(ints[4]), static_cast<TColor>(ints[5])};
    FLevelCount = ints[6];
    SetMarginLeft(ints[7]);
    SetMarginRight(ints[8]);
    SetMarginTop(ints[9]);
    SetMarginBottom(ints[10]);
    FUseUserLimits = FlagOf(ints[11]);
    FShowIsolines = FlagOf(ints[12]);
    FLogScale = FlagOf(ints[13]);
    FShowColorBar = FlagOf(ints[14]);
    GridSeries->SetActive(FlagOf(ints[15]));
    FUserMax = items[16];
    FUserMin = items[17];
    if (std::max(FUserMin, FUserMax) == MissingValue) FUserMin = FUserMax = MissingValue;
    UpdateLevels();
}

void TPseudoSection2d::RebuildSection(bool withMesh)
{
    (void)withMesh; // the mesh is the contour section's; the empty section has none
    GridSeries->ClearPoints();
    GridSeries->Pointer().SetVisible(true);
    for (int i = 1; i < NodeEnd && i < FNodes.Length(); ++i)
        GridSeries->InsertPoint(FNodes[i].OrigX, FNodes[i].OrigY, FNodes[i].Text);
}

void TPseudoSection2d::UpdateLevels()
{
    if (SectionEmpty()) return;
}

void TPseudoSection2d::UpdateImage()
{
    if (SectionEmpty() || !ImageTool->Active()) return;
    double xmin = FNodes[1].OrigX, xmax = xmin, ymin = FNodes[1].OrigY, ymax = ymin;
    for (int i = 2; i < NodeEnd; ++i) {
        xmin = std::min(xmin, FNodes[i].OrigX);
        xmax = std::max(xmax, FNodes[i].OrigX);
        ymin = std::min(ymin, FNodes[i].OrigY);
        ymax = std::max(ymax, FNodes[i].OrigY);
    }
    if (FrameSeries->PointCount() == 2) {
        FrameSeries->ChangeXValueAt(0, xmin);
        FrameSeries->ChangeYValueAt(0, ymin);
        FrameSeries->ChangeXValueAt(1, xmax);
        FrameSeries->ChangeYValueAt(1, ymax);
    } else {
        FrameSeries->ClearPoints();
        FrameSeries->InsertPoint(xmin, ymin);
        FrameSeries->InsertPoint(xmax, ymax);
    }
    Repaint();
    TransformNodes();
    RenderSectionImage();
    ImageTool->Picture().SetGraphic(FPicture.get());
}

void TPseudoSection2d::TransformNodes()
{
    auto scaled = [](const TChartAxis& axis, double v) {
        if (!axis.Logarithmic()) return v;
        return axis.SignedLogMode ? SymLogTransform(axis.SignedLogScale, v) : std::log10(v);
    };
    for (int i = 1; i < NodeEnd; ++i) {
        dVertex3d& n = FNodes[i];
        n.Y = scaled(LeftAxis(), n.OrigY);
        n.X = scaled(BottomAxis(), n.OrigX);
        if (i == 1) {
            FXMin = FXMax = n.X;
            FYMin = FYMax = n.Y;
        }
        FXMin = std::min(FXMin, n.X);
        FXMax = std::max(FXMax, n.X);
        FYMin = std::min(FYMin, n.Y);
        FYMax = std::max(FYMax, n.Y);
    }
    FXScale = FPictureWidth / (FXMax - FXMin);
    FYScale = FPictureHeight / (FYMax - FYMin);
}

// The filled bands and isolines are drawn by the contour section, which no survey builds.
void TPseudoSection2d::RenderSectionImage() {}

void TPseudoSection2d::AfterDrawColorBar()
{
    if (SectionEmpty() || !FShowColorBar) return;
}

void TPseudoSection2d::ShowCursorValues(TShiftState, int, int)
{
    if (SectionEmpty()) return;
}

void TPseudoSection2d::ShowViewMenu()
{
    if (SectionEmpty()) return;
}

void TPseudoSection2d::MenuCommand(TMenuItem* Sender)
{
    (void)Sender;
    if (SectionEmpty()) return;
    if (OnViewCommand) OnViewCommand(this);
}
