// The data view's construction, its defaults and view settings string, the legend's place beside the
// plot, and the section's operations as far as an empty section needs them.
#include "views/PseudoSection2d.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/control/LumLegendScrollBar.h"
#include "chart/control/LumTools.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/series/Series.h"
#include "core/SectionContour.h"
#include "core/Supermath2d.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/TextFile.h"
#include "views/PseudoSetup.h"
#include "chart/control/LumPrevi.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/PixelMath.h"
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
    // The picture of many thousand bands is played once per change, not at every repaint.
    ImageTool->CacheMetafile = true;

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

void TPseudoSection2d::CommitSection(TSectionData&& work, bool withMesh, bool cut)
{
    static_cast<TSectionData&>(*this) = std::move(work);
    if (withMesh || (GridSeries->Active() && GridSeries->PointCount() == 0)) {
        GridSeries->ClearPoints();
        GridSeries->Pointer().SetVisible(true);
        for (int i = 1; i < NodeEnd && i < FNodes.Length(); ++i)
            GridSeries->InsertPoint(FNodes[i].OrigX, FNodes[i].OrigY, FNodes[i].Text);
    } else if (GridSeries->Active()) {
        for (int i = 1; i < NodeEnd && i - 1 < GridSeries->PointCount(); ++i)
            GridSeries->SetPointLabel(i - 1, FNodes[i].Text);
    }
    if (cut) ShowMessage("Very large nodes number!");
}

void TPseudoSection2d::RebuildSection(bool withMesh)
{
    // Built on a copy: a triangulation past its limits leaves the section as it was.
    TSectionData work = *this;
    const bool cut = RebuildSectionMesh(work, withMesh);
    CommitSection(std::move(work), withMesh, cut);
}

void TPseudoSection2d::SetSectionNodes(const arofdoubleM& x, const arofdoubleM& y, const arofdoubleM& values,
                                       const arofintM& border)
{
    TSectionData work = *this;
    ::SetSectionNodes(work, x, y, values, border);
    MapNodes(work);
    const bool cut = RebuildSectionMesh(work, true);
    CommitSection(std::move(work), true, cut);
    UpdateLevels();
    UpdateImage();
}

void TPseudoSection2d::SetSectionGrid(const arofdoubleM& columnX, const arofdoubleM& depths,
                                      const ararofdoubleM& values, const arofdoubleM& relief, double depthStretch)
{
    TSectionData work = *this;
    ::SetSectionGrid(work, columnX, depths, values, relief, depthStretch);
    const bool cut = RebuildSectionMesh(work, true);
    CommitSection(std::move(work), true, cut);
    UpdateLevels();
    UpdateImage();
}

void TPseudoSection2d::ClearSection()
{
    NodeEnd = 1;
    FGridInput = false;
}

void TPseudoSection2d::UpdateLevels()
{
    if (SectionEmpty()) return;
    ::UpdateLevels(*this);
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
    // The copy comes unmodified: marked so, the tool's cached rendering is made again from it.
    if (auto* shown = dynamic_cast<TMetafile*>(ImageTool->Picture().Graphic())) shown->SetModified(true);
}

void TPseudoSection2d::MapNodes(TSectionData& section) const
{
    auto scaled = [](const TChartAxis& axis, double v) {
        if (!axis.Logarithmic()) return v;
        return axis.SignedLogMode ? SymLogTransform(axis.SignedLogScale, v) : std::log10(v);
    };
    for (int i = 1; i < section.NodeEnd; ++i) {
        dVertex3d& n = section.FNodes[i];
        n.Y = scaled(LeftAxis(), n.OrigY);
        n.X = scaled(BottomAxis(), n.OrigX);
    }
}

void TPseudoSection2d::TransformNodes()
{
    MapNodes(*this);
    UpdateGeometry(*this);
}

void TPseudoSection2d::RenderSectionImage()
{
    if (FLevels.Length() == 0 || FTriangleCount < 3) return;
    FPicture->Clear();
    FPicture->SetWidth(FPictureWidth);
    FPicture->SetHeight(FPictureHeight);
    // Working coordinates of no width or height (or beyond a logarithmic axis) give an empty picture.
    const TSectionPicture picture = RenderSection(*this);
    // The picture is shown reduced by sampling its pixels: an isoline as wide as the reduction keeps one
    // pixel on the screen.
    // Before the first drawing the plot or the view's size stands in for the picture's place.
    TRect shown = ImageTool->ImageRect;
    if (shown.Right == shown.Left || shown.Bottom == shown.Top) shown = ChartRect();
    if (shown.Right <= shown.Left || shown.Bottom <= shown.Top) shown = {0, 0, Width(), Height()};
    const double reduction = std::max(double(FPictureWidth) / std::max(1, std::abs(shown.Right - shown.Left)),
                                      double(FPictureHeight) / std::max(1, std::abs(shown.Bottom - shown.Top)));
    const int lineWidth = std::clamp(PixelFromReal(std::ceil(reduction)) + 1, 1, 64);
    TMetafileCanvas canvas(*FPicture, nullptr);
    canvas.Pen().SetWidth(lineWidth);
    std::vector<TPoint> points;
    for (const TSectionShape& shape : picture) {
        points.clear();
        for (const auto& p : shape.Points) points.push_back({p.X, p.Y});
        if (shape.Filled) {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(shape.Color);
            canvas.Pen().SetStyle(psClear);
            canvas.Polygon(points);
            canvas.Pen().SetStyle(psSolid);
        } else {
            canvas.Pen().SetColor(shape.Color);
            canvas.Polyline(points);
        }
    }
}

void TPseudoSection2d::AfterDrawColorBar()
{
    if (SectionEmpty() || !FShowColorBar) return;
    const TRect plot = ChartRect();
    DrawColorBar(plot.Right + 10, plot.Top, ChartCanvas(), ColorBarTitle, std::abs(plot.Top - plot.Bottom), 15);
}

void TPseudoSection2d::DrawColorBar(int Left, int Top, TLumCanvas& Canvas, const std::string& Caption, int Height,
                                    int Width)
{
    Canvas.Pen().SetMode(pmCopy);
    const int N = FLevels.Length();
    if (FBandColors.Length() == 0 || FBandColors.Length() != N + 1 || FLineColors.Length() != N) return;
    Canvas.SelectFont(*FBarFont);
    Canvas.Pen().SetColor(clBlack);
    int hT = std::abs(Canvas.MeasureTextHeight("123"));
    const int x1 = Left + Width;
    const double step = double(Height) / (N + 1);
    double lastBottom = -10;
    for (int i = 0; i <= N; ++i) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(FBandColors[N - i]);
        Canvas.FillRectWithBrush(
            {Left, Top + PixelFromReal(i * step), x1, Top + PixelFromReal((i + 1) * step)});
        if (i == 0) continue;
        const int y = Top + PixelFromReal(i * step);
        Canvas.Pen().SetColor(FLineColors[N - i]);
        Canvas.MoveToXY(x1, y);
        Canvas.LineToXY(x1 + 3, y);
        const std::string text = FormatFixed(FLevels[N - i], LevelDecimals(*this, N - i));
        Canvas.Brush().SetStyle(bsClear);
        if (y - hT / 2.0 >= lastBottom) {
            Canvas.WriteText(x1 + 6, PixelFromReal(y - hT / 2.0), text);
            lastBottom = y + hT / 2.0;
        }
    }
    Canvas.Brush().SetStyle(bsClear);
    TLumFont titleFont;
    titleFont.Assign(*FBarFont);
    titleFont.SetSize(FBarFont->Size() + 2);
    Canvas.SelectFont(titleFont);
    hT = std::abs(Canvas.MeasureTextHeight("123"));
    Canvas.WriteTextOrHtml(Left, PixelFromReal(Top - hT - 3.0), Caption, true);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(clBlack);
    Canvas.DrawRectangleBox(Left, Top, Left + Width, Top + Height);
}

void TPseudoSection2d::UpdateMouseZone(int X, int Y)
{
    TRect I = ImageTool->ImageRect;
    if (I.Left > I.Right) std::swap(I.Left, I.Right);
    if (I.Top > I.Bottom) std::swap(I.Top, I.Bottom);
    const TRect R = ChartRect();
    if (I.Left < X && X <= I.Right && I.Top <= Y && Y <= I.Bottom) FMouseZone = 0;
    else if (X < R.Left && R.Top <= Y && Y <= R.Bottom) FMouseZone = 1;
    else if (R.Left <= X && X <= R.Right && Y < R.Top) FMouseZone = 3;
    else if (R.Left <= X && X <= R.Right && Y > R.Bottom) FMouseZone = 4;
    else if (X >= R.Right && R.Top <= Y && Y <= R.Bottom) FMouseZone = 2;
}

void TPseudoSection2d::ShowCursorValues(TShiftState, int X, int Y)
{
    if (SectionEmpty()) return;
    FCursorX = ImageTool->XPixelToValue(X);
    FCursorY = ImageTool->YPixelToValue(Y);
    UpdateMouseZone(X, Y);
    const double offset = LeftAxis().Logarithmic() ? 0 : LeftAxis().LabelValueOffset;
    CursorText = FormatValue(FCursorX) + " " + FormatValue(FCursorY + offset);
    if (OnCursorText) OnCursorText(this);
}

void TPseudoSection2d::ShowViewMenu()
{
    if (SectionEmpty() || FMouseZone == 0) return;
    FMenuItems[smLogScale]->SetChecked(FLogScale);
    FMenuItems[smGridPoints]->SetChecked(GridSeries->Active());
    FMenuItems[smColorBar]->SetChecked(FShowColorBar);
    SetCancelMouse(true);
    MenuChart = this;
    const TPoint at = Screen->CursorPos();
    FViewMenu->Popup(at.x, at.y);
}

void TPseudoSection2d::SaveXYZFile(const std::string& path) const
{
    TTextWriter file;
    file.WriteLn("X -Y  Z");
    for (int i = 1; i < NodeEnd; ++i) {
        const dVertex3d& n = FNodes[i];
        file.WriteLn(FormatReal23(n.X) + " " + FormatReal23(-n.Y) + " " + FormatReal23(n.Z));
    }
    if (!file.SaveToFile(path)) ShowMessage("Cannot write file " + path);
}

void TPseudoSection2d::MenuCommand(TMenuItem* Sender)
{
    if (SectionEmpty()) return;
    const auto found = std::find(FMenuItems.begin(), FMenuItems.end(), Sender);
    switch (static_cast<TSectionMenuCommand>(found - FMenuItems.begin())) {
    case smLogScale: {
        const bool was = FLogScale;
        FLogScale = !FLogScale;
        if (FRangeMin <= 0 || FUserMin <= 0) FLogScale = false;
        if (FLogScale != was) {
            UpdateLevels();
            UpdateImage();
        }
        break;
    }
    case smGridPoints: GridSeries->SetActive(!GridSeries->Active()); break;
    case smColorBar:
        FShowColorBar = !FShowColorBar;
        Repaint();
        break;
    case smSetup: {
        TPseudosetupForm& dialog = PseudoSetupDialog();
        dialog.LoadFromView(*this);
        dialog.ShowModal();
        break;
    }
    case smPrintPreview: ShowChartPreview(ControlWidget(this), MenuChart ? MenuChart : this); break;
    case smSavePicture: {
        TFileDialogData dialog;
        dialog.Filter = "Meta files [*.emf]|*.emf";
        if (!ExecuteSaveDialog(this, dialog)) break;
        const std::string path = ChangeFileExt(dialog.FileName, ".emf");
        try {
            SaveMetafileFile(path);
        } catch (const Exception&) {
            ShowMessage("Cannot write file " + path);
        }
        break;
    }
    case smSaveXYZ: {
        TFileDialogData dialog;
        dialog.Filter = "XYZ files [*.dat]|*.dat";
        if (ExecuteSaveDialog(this, dialog)) SaveXYZFile(ChangeFileExt(dialog.FileName, ".dat"));
        break;
    }
    case smDefault:
        if (!DefaultSettings.empty()) ApplyViewSettings(DefaultSettings);
        break;
    default: break;
    }
    if (OnViewCommand) OnViewCommand(this);
}
