// The line family's model: construction and copying, stacking, extents, margins, the click test, marks
// placement, legend symbols, gallery sub-styles and the published properties of each kind.
#include "chart/series/SeriesLine.h"

#include "chart/series/SeriesDraw.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

// ---- Published properties ------------------------------------------------------------------------------

std::vector<TPropInfo> SeriesKindProperties(std::vector<TPropInfo> Own, std::initializer_list<std::string_view> Without)
{
    std::vector<TPropInfo> base = TChartSeries::PublishedSeriesProperties();
    std::vector<TPropInfo> result;
    std::vector<TPropInfo> last;
    for (TPropInfo& p : base) {
        if (std::find(Without.begin(), Without.end(), p.Name) != Without.end()) continue;
        if (p.Name == "XValues" || p.Name == "YValues")
            last.push_back(std::move(p));
        else
            result.push_back(std::move(p));
    }
    for (TPropInfo& p : Own) result.push_back(std::move(p));
    for (TPropInfo& p : last) result.push_back(std::move(p));
    return result;
}

namespace {

using P = TProps<TCustomSeries>;

TPropInfo ClickableLineProp() { return P::Boolean("ClickableLine", &TCustomSeries::ClickableLine, &TCustomSeries::SetClickableLine).Default(true); }
TPropInfo ColorEachLineProp() { return P::Boolean("ColorEachLine", &TCustomSeries::ColorEachLine, &TCustomSeries::SetColorEachLine).Default(true); }
TPropInfo Dark3DProp() { return P::Boolean("Dark3D", &TCustomSeries::Dark3D, &TCustomSeries::SetDark3D).Default(true); }
TPropInfo InvertedStairsProp() { return P::Boolean("InvertedStairs", &TCustomSeries::InvertedStairs, &TCustomSeries::SetInvertedStairs).Default(false); }
TPropInfo LinePenProp() { return P::Object("LinePen", [](const TCustomSeries& s) -> TPersistent* { return &s.LinePen(); }); }
TPropInfo PointerProp() { return P::Object("Pointer", [](const TCustomSeries& s) -> TPersistent* { return &s.Pointer(); }); }
TPropInfo StackedProp()
{
    return P::Enumeration("Stacked", CustomSeriesStackNames, &TCustomSeries::Stacked, &TCustomSeries::SetStacked).Default(cssNone);
}
TPropInfo StairsProp() { return P::Boolean("Stairs", &TCustomSeries::Stairs, &TCustomSeries::SetStairs).Default(false); }
TPropInfo TransparencyProp() { return P::Integer("Transparency", &TCustomSeries::Transparency, &TCustomSeries::SetTransparency).Default(0); }

std::vector<TPropInfo> LineProperties()
{
    return SeriesKindProperties({
        P::Object("Brush", [](const TCustomSeries& s) -> TPersistent* { return &s.Brush(); }),
        ClickableLineProp(),
        ColorEachLineProp(),
        Dark3DProp(),
        InvertedStairsProp(),
        P::Enumeration("LineBrush", BrushStyleNames, &TCustomSeries::LineBrush, &TCustomSeries::SetLineBrush).Default(bsSolid),
        P::Integer("LineHeight", &TCustomSeries::LineHeight, &TCustomSeries::SetLineHeight).Default(0),
        LinePenProp(),
        P::Object("OutLine", [](const TCustomSeries& s) -> TPersistent* { return &s.OutLine(); }),
        PointerProp(),
        P::Object("Shadow", [](const TCustomSeries& s) -> TPersistent* { return &s.Shadow(); }),
        StackedProp(),
        StairsProp(),
    });
}

std::vector<TPropInfo> PointProperties()
{
    return SeriesKindProperties({ClickableLineProp(), PointerProp(), StackedProp(), TransparencyProp()});
}

std::vector<TPropInfo> AreaProperties()
{
    using A = TProps<TAreaSeries>;
    return SeriesKindProperties({
        P::Enumeration("AreaBrush", BrushStyleNames, &TCustomSeries::AreaBrush, &TCustomSeries::SetAreaBrush).Default(bsSolid),
        P::Object("AreaChartBrush", [](const TCustomSeries& s) -> TPersistent* { return &s.AreaChartBrush(); }),
        P::Colour("AreaColor", &TCustomSeries::AreaColor, &TCustomSeries::SetAreaColor).Default(clDefault),
        P::Object("AreaLinesPen", [](const TCustomSeries& s) -> TPersistent* { return &s.AreaLinesPen(); }),
        ClickableLineProp(),
        ColorEachLineProp(),
        Dark3DProp(),
        P::Boolean("DrawArea", &TCustomSeries::DrawArea, &TCustomSeries::SetDrawArea).Default(false),
        P::Object("Gradient", [](const TCustomSeries& s) -> TPersistent* { return &s.Gradient(); }),
        InvertedStairsProp(),
        LinePenProp(),
        A::Enumeration("MultiArea", MultiAreaNames, &TAreaSeries::MultiArea, &TAreaSeries::SetMultiArea).Default(maNone),
        PointerProp(),
        StairsProp(),
        TransparencyProp(),
        A::Boolean("UseYOrigin", &TAreaSeries::UseYOrigin, &TAreaSeries::SetUseYOrigin).Default(false),
        A::Real("YOrigin", &TAreaSeries::YOrigin, &TAreaSeries::SetYOrigin),
    });
}

template <class T>
TComponent* Make(TComponent* Owner)
{
    return new T(Owner);
}

} // namespace

const TClassInfo& TCustomLineSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomLineSeries", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TCustomSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomSeries", .Parent = &TCustomLineSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TLineSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLineSeries",
                                  .Parent = &TCustomSeries::StaticClassInfo(),
                                  .Properties = LineProperties(),
                                  .Create = &Make<TLineSeries>});
    return info;
}

const TClassInfo& THorizLineSeries::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "THorizLineSeries", .Parent = &TLineSeries::StaticClassInfo(), .Create = &Make<THorizLineSeries>});
    return info;
}

const TClassInfo& TPointSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPointSeries",
                                  .Parent = &TCustomSeries::StaticClassInfo(),
                                  .Properties = PointProperties(),
                                  .Create = &Make<TPointSeries>});
    return info;
}

const TClassInfo& TAreaSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TAreaSeries",
                                  .Parent = &TCustomSeries::StaticClassInfo(),
                                  .Properties = AreaProperties(),
                                  .Create = &Make<TAreaSeries>});
    return info;
}

const TClassInfo& THorizAreaSeries::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "THorizAreaSeries", .Parent = &TAreaSeries::StaticClassInfo(), .Create = &Make<THorizAreaSeries>});
    return info;
}

// ---- TCustomSeries: life -------------------------------------------------------------------------------

TCustomSeries::TCustomSeries(TComponent* AOwner) : TCustomLineSeries(AOwner)
{
    SetKeepOneBeyond(true);
    const TNotifyEvent changed = [this](TPersistent* Sender) { StyleChanged(Sender); };
    FPointer = std::make_unique<TSeriesPointer>(this);
    FAreaLinesPen = CreateChartPen();
    FOutLine = std::make_unique<TChartHiddenPen>(changed);
    FShadow = std::make_unique<TLumShadow>(changed);
    FAreaBrush = std::make_unique<TChartBrush>(changed);
    FGradient = std::make_unique<TLumGradient>(changed);
}

// Leaves the chart while the pointer and pens still exist.
TCustomSeries::~TCustomSeries() { TCustomSeries::SetParentChart(nullptr); }

void TCustomSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCustomSeries*>(&Source); s && s != this) {
        FClickableLine = s->FClickableLine;
        FAreaBrush->Assign(*s->FAreaBrush);
        FAreaColor = s->FAreaColor;
        FAreaLinesPen->Assign(*s->FAreaLinesPen);
        FColorEachLine = s->FColorEachLine;
        FDark3D = s->FDark3D;
        FDrawArea = s->FDrawArea;
        FDrawLine = s->FDrawLine;
        FInvertedStairs = s->FInvertedStairs;
        FLineHeight = s->FLineHeight;
        FPointer->Assign(*s->FPointer);
        FStacked = s->FStacked;
        FStairs = s->FStairs;
        FOutLine->Assign(*s->FOutLine);
        FShadow->Assign(*s->FShadow);
        FTransparency = s->FTransparency;
        FGradient->Assign(*s->FGradient);
    }
    TCustomLineSeries::Assign(Source);
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* Value)
{
    TCustomLineSeries::SetParentChart(Value);
    FPointer->SetParentPanel(Value);
}

void TCustomSeries::SetStacked(TCustomSeriesStack Value)
{
    if (Value == FStacked) return;
    FStacked = Value;
    PropagateStacked();
    InvalidateChart();
}

void TCustomSeries::PropagateStacked()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        auto* s = dynamic_cast<TCustomSeries*>(chart->SeriesAt(i));
        if (s && s != this && ClassInfo().InheritsFrom(s->ClassInfo())) s->FStacked = FStacked;
    }
}

void TCustomSeries::SetTransparency(int Value) { SetIntegerField(FTransparency, Value); }

// ---- Stacking ------------------------------------------------------------------------------------------

double TCustomSeries::StackedOrigin(int Index, bool IncludeSelf) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return 0;
    const double v = MandatoryValueAt(Index);
    double sum = 0;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        const TChartSeries* s = chart->SeriesAt(i);
        if (!IncludeSelf && s == this) break;
        if (!s->Active() || !ClassesRelated(*s) || s->PointCount() <= Index) continue;
        const double a = s->DisplayValueAt(Index);
        if ((v >= 0 && a > 0) || (v < 0 && a < 0)) sum += a;
    }
    return sum;
}

int TCustomSeries::StackedPosition(int Index, double Value) const
{
    const TChartAxis* axis = MandatoryAxis();
    if (!axis) return 0;
    const double below = StackedOrigin(Index, false);
    if (FStacked == cssStack) return std::min(MandatoryValueToPixel(below + Value), axis->EndPixel);
    const double total = StackedOrigin(Index, true);
    return total != 0 ? MandatoryValueToPixel((below + Value) * 100 / total) : axis->EndPixel;
}

int TCustomSeries::ScreenXOf(int Index) const
{
    if (!YMandatory() && IsStacking()) return StackedPosition(Index, XValues().ValueAt(Index));
    return TCustomLineSeries::ScreenXOf(Index);
}

int TCustomSeries::ScreenYOf(int Index) const
{
    if (YMandatory() && IsStacking()) return StackedPosition(Index, YValues().ValueAt(Index));
    return TCustomLineSeries::ScreenYOf(Index);
}

int TCustomSeries::OriginPosition(int Index) const
{
    if (IsStacking()) return StackedPosition(Index, 0);
    if (YMandatory()) {
        const TChartAxis* axis = GetVertAxis();
        return !axis ? 0 : axis->Inverted() ? axis->StartPixel : axis->EndPixel;
    }
    const TChartAxis* axis = GetHorizAxis();
    return !axis ? 0 : axis->Inverted() ? axis->EndPixel : axis->StartPixel;
}

void TCustomSeries::ComputeZOrder()
{
    TCustomAxisPanel* chart = ParentChart();
    if (FStacked == cssNone || !chart || !chart->View3D()) {
        TCustomLineSeries::ComputeZOrder();
        return;
    }
    // The first stacked series opens the depth slot the others share.
    if (chart->MaxZOrder() < 0) chart->SetMaxZOrder(0);
    SetZOrder(chart->MaxZOrder());
}

// ---- Extents and margins -------------------------------------------------------------------------------

void TCustomSeries::StackedExtents(double& Low, double& High)
{
    if (FStacked == cssStack100) {
        Low = 0;
        High = 100;
        return;
    }
    if (FStacked != cssStack) return;
    for (int i = 0; i < PointCount(); ++i) {
        const double top = StackedOrigin(i, false) + MandatoryValueAt(i);
        Low = std::min(Low, top);
        High = std::max(High, top);
    }
}

double TCustomSeries::HighestX()
{
    double low = TCustomLineSeries::LowestX(), high = TCustomLineSeries::HighestX();
    if (!YMandatory()) StackedExtents(low, high);
    return high;
}

double TCustomSeries::LowestX()
{
    double low = TCustomLineSeries::LowestX(), high = TCustomLineSeries::HighestX();
    if (!YMandatory()) StackedExtents(low, high);
    return low;
}

double TCustomSeries::HighestY()
{
    double low = TCustomLineSeries::LowestY(), high = TCustomLineSeries::HighestY();
    if (YMandatory()) StackedExtents(low, high);
    return high;
}

double TCustomSeries::LowestY()
{
    double low = TCustomLineSeries::LowestY(), high = TCustomLineSeries::HighestY();
    if (YMandatory()) StackedExtents(low, high);
    return low;
}

int TCustomSeries::MarksSpace()
{
    TMarksCallout& callout = Marks().Callout();
    return callout.Length() + callout.Distance();
}

void TCustomSeries::HorizMargins(int& Left, int& Right)
{
    TCustomLineSeries::HorizMargins(Left, Right);
    FPointer->WidenHorizMargins(Left, Right);
    if (FDrawLine) {
        const int room = std::max(FStairs ? LinePen().Width() : 0, FOutLine->Visible() ? FOutLine->Width() : 0);
        Left = std::max(Left, room);
        Right = std::max(Right, room);
    }
    if (!YMandatory() && Marks().Visible()) Right = std::max(Left, MarksSpace());
}

void TCustomSeries::VertMargins(int& Top, int& Bottom)
{
    TCustomLineSeries::VertMargins(Top, Bottom);
    FPointer->WidenVertMargins(Top, Bottom);
    if (FDrawLine) {
        const int room = std::max(FStairs ? LinePen().Width() : 0, FOutLine->Visible() ? FOutLine->Width() : 0);
        Top = std::max(Top, room);
        Bottom = std::max(Bottom, room);
    }
    if (YMandatory() && Marks().Visible()) Top = std::max(Bottom, MarksSpace());
    if (FLineHeight > 0 && !FDrawArea && ParentChart() && ParentChart()->View3D()) Bottom = std::max(Bottom, FLineHeight);
}

// ---- Click test ----------------------------------------------------------------------------------------

void TCustomSeries::PreparePointer(int) const {}

bool TCustomSeries::PointerHit(int Index, int PointX, int PointY, int X, int Y) const
{
    PreparePointer(Index);
    return std::abs(PointX - X) < FPointer->HorizSize() && std::abs(PointY - Y) < FPointer->VertSize();
}

// (PX, PY) the previous point's pixel, (CX, CY) this point's.
bool TCustomSeries::IsLineHit(int X, int Y, int PX, int PY, int CX, int CY) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->View3D()) {
        const int dx = chart->SeriesWidth3D(), dy = chart->SeriesHeight3D();
        const TPoint quad[4] = {{CX, CY}, {CX + dx, CY - dy}, {PX + dx, PY - dy}, {PX, PY}};
        return PolygonContainsPoint({X, Y}, quad, 3);
    }
    if (!FStairs) return IsPointOnLineXY(X, Y, CX, CY, PX, PY);
    // On a step the leg decides nothing about the nearer end: the distances to the two points do.
    bool hit;
    if (FInvertedStairs)
        hit = IsPointOnLineXY(X, Y, PX, PY, PX, CY) || IsPointOnLineXY(X, Y, PX, CY, CX, CY);
    else
        hit = IsPointOnLineXY(X, Y, PX, PY, CX, PY) || IsPointOnLineXY(X, Y, CX, PY, CX, CY);
    if (hit) {
        const double toCurrent = std::hypot(X - CX, Y - CY), toPrevious = std::hypot(X - PX, Y - PY);
        RadErareUtilsModule().NearerFirstEndPoint = toCurrent < toPrevious;
    }
    return hit;
}

int TCustomSeries::PointAtPixel(int X, int Y) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart) chart->ChartCanvas().UnprojectPoint(X, Y, StartZ());
    const int base = TCustomLineSeries::PointAtPixel(X, Y);
    if (base != -1 || FirstVisible() < 0 || LastVisible() < 0) return base;
    const int first = FClickableLine ? std::max(0, FirstVisible() - 1) : FirstVisible();
    int px = 0, py = 0;
    for (int i = first; i <= LastVisible() && i < PointCount(); ++i) {
        const int cx = ScreenXOf(i), cy = ScreenYOf(i);
        if (FPointer->Visible() && PointerHit(i, cx, cy, X, Y)) {
            if (OnClickPointer) OnClickPointer(const_cast<TCustomSeries*>(this), i, X, Y);
            return i;
        }
        if (cx == X && cy == Y) return i;
        if (i > first && FClickableLine) {
            RadErareUtilsModule().NearerFirstEndPoint = false;
            bool hit = IsLineHit(X, Y, px, py, cx, cy);
            if (!hit && FDrawArea) {
                const int origin = OriginPosition(i), previousOrigin = OriginPosition(i - 1);
                const TPoint quad[4] = {{px, py},
                                        {cx, cy},
                                        Vertical() ? TPoint{cx, origin} : TPoint{origin, cy},
                                        Vertical() ? TPoint{px, previousOrigin} : TPoint{previousOrigin, py}};
                hit = PolygonContainsPoint({X, Y}, quad, 3);
            }
            if (hit && !PointIsNull(i - 1))
                return FDrawArea || !RadErareUtilsModule().NearerFirstEndPoint ? i - 1 : i;
        }
        px = cx;
        py = cy;
    }
    return -1;
}

// ---- Marks ---------------------------------------------------------------------------------------------

void TCustomSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Marks().SetZPosition(StartZ());
    if (YMandatory()) Marks().DrawMarkCallout(Position);
    TCustomLineSeries::PaintMark(Index, Text, Position);
}

void THorizLineSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    TMarksCallout& callout = Marks().Callout();
    int s = callout.Length() + callout.Distance();
    const bool toLeft = Position.ArrowFrom.x < OriginPosition(Index);
    if (toLeft) s = -s - Position.Width;
    Position.LeftTop.x += s + Position.Width / 2;
    Position.LeftTop.y += Position.Height / 2;
    Position.ArrowTo.x += s;
    Position.ArrowFrom.x += toLeft ? -callout.Distance() : callout.Distance();
    TCustomSeries::PaintMark(Index, Text, Position);
}

void THorizAreaSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    TMarksCallout& callout = Marks().Callout();
    const int s = callout.Length() + callout.Distance();
    Position.LeftTop.y = Position.ArrowTo.y - Position.Height / 2;
    Position.LeftTop.x += s + Position.Width / 2;
    Position.ArrowTo.x += s;
    Position.ArrowFrom.y = Position.ArrowTo.y;
    Position.ArrowFrom.x += callout.Distance();
    TCustomSeries::PaintMark(Index, Text, Position);
}

// ---- Legend --------------------------------------------------------------------------------------------

TColor TCustomSeries::AreaColorOf(TColor PointColor) const
{
    if (ColorEachPoint() || FAreaColor == clDefault) return PointColor;
    return FAreaColor;
}

TSeriesPointerStyle TCustomSeries::PointerStyleOf(int Index) const
{
    if (OnGetPointerStyle) return OnGetPointerStyle(const_cast<TCustomSeries*>(this), Index);
    return FPointer->Style();
}

namespace {
// The legend's own symbol pen replaces the series' pens while it is set.
const TChartPen* LegendPen(const TCustomLumPanel* Panel)
{
    const auto* chart = dynamic_cast<const TCustomAxisPanel*>(Panel);
    return chart ? chart->LegendSymbolPen() : nullptr;
}
} // namespace

void TCustomSeries::DrawLegendLine(const TRect& Rect, TColor Color)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    if (!LegendPen(chart)) PrepareLinePen(canvas, Color);
    if (chart->View3D())
        canvas.DrawRect(Rect);
    else
        canvas.DrawHorizLine(Rect.Left, Rect.Right, (Rect.Top + Rect.Bottom) / 2);
}

void TCustomSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    const TColor color = Index == -1 ? SeriesColor() : LegendColorOf(Index);
    if (FPointer->Visible()) {
        if (FDrawLine) DrawLegendLine(Rect, color);
        DrawPointerInRect(*FPointer, color, Rect, LinePen().Visible());
    } else if (!FDrawLine || FDrawArea) {
        TCustomLineSeries::PaintLegendShape(Index, Rect);
    } else {
        DrawLegendLine(Rect, color);
    }
}

void TLineSeries::LegendSymbolStyle(int, TColor&, TBrushStyle& Style)
{
    if (ParentChart()) ParentChart()->ChartCanvas().SelectPen(LinePen());
    Style = LineBrush();
}

void TAreaSeries::LegendSymbolStyle(int, TColor& BackColor, TBrushStyle& Style)
{
    if (TCustomAxisPanel* chart = ParentChart()) {
        TCanvas3D& canvas = chart->ChartCanvas();
        BackColor = AreaColorOf(canvas.Brush().Color());
        canvas.SelectPen(AreaLinesPen());
    }
    Style = AreaChartBrush().Style();
}

void TAreaSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    if (Gradient().Visible()) {
        Gradient().DrawRect(canvas, Rect);
        return;
    }
    if (AreaChartBrush().HasImage()) {
        TColor color = AreaChartBrush().Color();
        if (color == clDefault) color = Index == -1 ? SeriesColor() : LegendColorOf(Index);
        TColor back = AreaColorOf(canvas.Brush().Color());
        if (back == color) back = clWhite;
        canvas.SelectBrushColors(AreaChartBrush(), color, back);
    }
    TCustomSeries::PaintLegendShape(Index, Rect);
}

// ---- Line series ---------------------------------------------------------------------------------------

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    SetDrawLine(true);
    SetSinglePointResults(false);
    Pointer().SetVisible(false);
}

void TLineSeries::Assign(const TPersistent& Source)
{
    TCustomSeries::Assign(Source);
    if (!Source.ClassInfo().InheritsFrom(ClassInfo())) Pointer().SetVisible(false);
    SetDrawArea(false);
    SetDrawLine(true);
}

void TLineSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustomSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumConst::Stairs, LumConst::Points, LumConst::Height, LumConst::Hollow, LumConst::Colors,
                             LumConst::Marks, LumConst::NoBorder, LumConst::Outline})
        Callback(name);
}

void TLineSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    TCustomSeries* s = AsCustomSeries(Series);
    if (!s) return;
    switch (Index) {
    case 1: s->SetStairs(true); break;
    case 2: s->Pointer().SetVisible(true); break;
    case 3: s->SetLineHeight(5); break;
    case 4: s->SetLineBrush(bsClear); break;
    case 5: s->SetColorEachPoint(true); break;
    case 6: s->Marks().SetVisible(true); break;
    case 7: s->LinePen().SetVisible(false); break;
    case 8: s->OutLine().SetVisible(true); break;
    default: break;
    }
}

THorizLineSeries::THorizLineSeries(TComponent* AOwner) : TLineSeries(AOwner)
{
    MakeXMandatory();
    SetOrderedRange(false);
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
}

// ---- Point series --------------------------------------------------------------------------------------

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    ApplyPointDefaults();
    Marks().Callout().InitLength(0);
}

void TPointSeries::ApplyPointDefaults()
{
    Pointer().SetVisible(true);
    SetDrawArea(false);
    SetDrawLine(false);
    SetClickableLine(false);
}

void TPointSeries::Assign(const TPersistent& Source)
{
    TCustomSeries::Assign(Source);
    ApplyPointDefaults();
}

void TPointSeries::SetColorEachPoint(bool Value)
{
    TCustomSeries::SetColorEachPoint(Value);
    if (Value) Pointer().Brush().SetColor(clDefault);
}

void TPointSeries::SetTransparency(int Value) { Pointer().SetTransparency(static_cast<TLumTransparency>(Value)); }

void TPointSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustomSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumConst::Colors, LumConst::Marks, LumConst::Hollow, LumConst::NoBorder, LumConst::Gradient})
        Callback(name);
    if (!OffersPointerVariants()) return;
    for (const char* name : {LumConst::Point2D, LumConst::Triangle, LumConst::Star, LumConst::Circle,
                             LumConst::DownTriangle, LumConst::Cross, LumConst::Diamond})
        Callback(name);
}

void TPointSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    TCustomSeries* s = AsCustomSeries(Series);
    if (!s) return;
    TSeriesPointer& p = s->Pointer();
    switch (Index) {
    case 1: s->SetColorEachPoint(true); break;
    case 2: s->Marks().SetVisible(true); break;
    case 3: p.Brush().SetStyle(bsClear); break;
    case 4: p.Pen().SetVisible(false); break;
    case 5: p.Gradient().SetVisible(true); break;
    case 6: p.SetDraw3D(false); break;
    case 7: p.SetStyle(psTriangle); break;
    case 8: p.SetStyle(psStar); break;
    case 9:
        p.SetStyle(psCircle);
        p.SetHorizSize(8);
        p.SetVertSize(8);
        break;
    case 10: p.SetStyle(psDownTriangle); break;
    case 11: p.SetStyle(psCross); break;
    case 12: p.SetStyle(psDiamond); break;
    default: break;
    }
}

void TPointSeries::PrepareForGallery(bool Enabled)
{
    TCustomSeries::PrepareForGallery(Enabled);
    TCustomAxisPanel* chart = ParentChart();
    const int size = chart && chart->Width() > 49 ? 6 : 4;
    Pointer().SetHorizSize(size);
    Pointer().SetVertSize(size);
    if (chart && chart->CountSeries() > 1 && chart->SeriesAt(1) == this) Pointer().SetStyle(psTriangle);
}

// ---- Area series ---------------------------------------------------------------------------------------

TAreaSeries::TAreaSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    SetDrawArea(true);
    SetDrawLine(true);
    SetSinglePointResults(false);
    Pointer().SetVisible(false);
}

void TAreaSeries::Assign(const TPersistent& Source)
{
    TCustomSeries::Assign(Source);
    SetDrawArea(true);
    SetDrawLine(true);
    const auto* s = dynamic_cast<const TCustomChartSeries*>(&Source);
    if (s && ClassesRelated(*s)) {
        if (const auto* area = dynamic_cast<const TAreaSeries*>(&Source)) {
            FUseYOrigin = area->FUseYOrigin;
            FYOrigin = area->FYOrigin;
        }
    } else {
        Pointer().SetVisible(false);
    }
}

TMultiArea TAreaSeries::MultiArea() const
{
    switch (Stacked()) {
    case cssStack: return maStacked;
    case cssStack100: return maStacked100;
    default: return maNone;
    }
}

void TAreaSeries::SetMultiArea(TMultiArea Value)
{
    if (Value == MultiArea()) return;
    SetStacked(Value == maStacked ? cssStack : Value == maStacked100 ? cssStack100 : cssNone);
}

double TAreaSeries::HighestX()
{
    const double v = TCustomSeries::HighestX();
    return FUseYOrigin && !YMandatory() ? std::max(v, FYOrigin) : v;
}

double TAreaSeries::LowestX()
{
    const double v = TCustomSeries::LowestX();
    return FUseYOrigin && !YMandatory() ? std::min(v, FYOrigin) : v;
}

double TAreaSeries::HighestY()
{
    const double v = TCustomSeries::HighestY();
    return FUseYOrigin && YMandatory() ? std::max(v, FYOrigin) : v;
}

double TAreaSeries::LowestY()
{
    const double v = TCustomSeries::LowestY();
    return FUseYOrigin && YMandatory() ? std::min(v, FYOrigin) : v;
}

bool TAreaSeries::DrawSeriesForward(int Index) const
{
    if (MultiArea() == maNone) return TCustomSeries::DrawSeriesForward(Index);
    const TChartAxis* axis = MandatoryAxis();
    return !(axis && axis->Inverted());
}

int TAreaSeries::OriginPosition(int Index) const
{
    if (FUseYOrigin) return MandatoryValueToPixel(FYOrigin);
    return TCustomSeries::OriginPosition(Index);
}

void TAreaSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustomSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumConst::Stairs, LumConst::Marks, LumConst::Colors, LumConst::Hollow, LumConst::NoLines,
                             LumConst::Stack, LumConst::Stack100, LumConst::Points, LumConst::Gradient})
        Callback(name);
}

void TAreaSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<TAreaSeries*>(Series);
    if (!s) return;
    switch (Index) {
    case 1: s->SetStairs(true); break;
    case 2: s->Marks().SetVisible(true); break;
    case 3: s->SetColorEachPoint(true); break;
    case 4: s->SetAreaBrush(bsClear); break;
    case 5: s->AreaLinesPen().SetVisible(false); break;
    case 6: s->SetMultiArea(maStacked); break;
    case 7: s->SetMultiArea(maStacked100); break;
    case 8: s->Pointer().SetVisible(true); break;
    case 9: s->Gradient().SetVisible(true); break;
    default: break;
    }
}

void TAreaSeries::PrepareForGallery(bool Enabled)
{
    TCustomSeries::PrepareForGallery(Enabled);
    Gradient().SetVisible(true);
    Gradient().SetEndColor(SeriesColor());
}

THorizAreaSeries::THorizAreaSeries(TComponent* AOwner) : TAreaSeries(AOwner)
{
    MakeXMandatory();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
    Gradient().SetDirection(gdRightLeft);
}

// ---- Unit routines ---------------------------------------------------------------------------------------

TBrushStyle BrushPatternOf(int Index)
{
    static constexpr TBrushStyle patterns[6] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    return patterns[((Index % 6) + 6) % 6];
}
