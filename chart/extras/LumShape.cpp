// The shape series' settings, its bounds from the two points, the shape and text drawing in 2-D and 3-D,
// the click test per style, sample values, gallery styles and its registration.
#include "chart/extras/LumShape.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

TComponent* MakeShape(TComponent* Owner) { return new TChartShape(Owner); }

std::vector<TPropInfo> ShapeProperties()
{
    using P = TProps<TChartShape>;
    using S = TChartShape;
    std::vector<TPropInfo> props = TChartSeries::PublishedSeriesProperties();
    std::vector<TPropInfo> own{
        P::Enumeration("Alignment", AlignmentNames, &S::Alignment, &S::SetAlignment).Default(taCenter),
        P::Object("Brush", [](const S& s) -> TPersistent* { return &s.Brush(); }),
        P::Object("Font", [](const S& s) -> TPersistent* { return &s.Font(); }),
        P::Object("Gradient", [](const S& s) -> TPersistent* { return &s.Gradient(); }),
        P::Object("Pen", [](const S& s) -> TPersistent* { return &s.Pen(); }),
        P::Boolean("RoundRectangle", &S::RoundRectangle, &S::SetRoundRectangle).Default(false),
        P::Enumeration("Style", ChartShapeStyleNames, &S::Style, &S::SetStyle).Default(chasCircle),
        P::Object("Text", [](const S& s) -> TPersistent* { return &s.Text(); }),
        P::Boolean("Transparent", &S::Transparent, &S::SetTransparent).Default(false),
        P::Enumeration("VertAlign", LumVertAlignNames, &S::VertAlign, &S::SetVertAlign).Default(vaCenter),
        P::Real("X0", &S::X0, &S::SetX0).Default(0.0),
        P::Real("X1", &S::X1, &S::SetX1).Default(100.0),
        P::Enumeration("XYStyle", ChartShapeXYStyleNames, &S::XYStyle, &S::SetXYStyle).Default(xysAxis),
        P::Real("Y0", &S::Y0, &S::SetY0).Default(0.0),
        P::Real("Y1", &S::Y1, &S::SetY1).Default(100.0),
    };
    for (TPropInfo& p : own) props.push_back(std::move(p));
    return props;
}

// One beyond a pixel, kept inside the int range.
int Next(int V) { return ClampedPixel(std::int64_t(V) + 1); }

// Left <= Right and Top <= Bottom.
TRect Sorted(const TRect& R)
{
    return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
}

// The centre with halves rounded toward zero, worked out in 64 bits.
int Half(int A, int B) { return static_cast<int>((std::int64_t(A) + B) / 2); }

// A pixel lies on a line when the line passes through it: no farther than half a pixel.
bool OnSegment(TPoint P, TPoint A, TPoint B) { return PointSegmentDistance(P, A, B) <= 0.5; }

} // namespace

const TClassInfo& TChartShape::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartShape",
                                  .Parent = &TChartSeries::StaticClassInfo(),
                                  .Properties = ShapeProperties(),
                                  .Defaults = {{"SeriesColor", clWhite}},
                                  .Create = &MakeShape});
    return info;
}

TChartShape::TChartShape(TComponent* AOwner) : TChartSeries(AOwner)
{
    SetOrderedRange(false);
    Brush().SetColor(clWhite);
    FFont = std::make_unique<TLumFont>([this](TPersistent* s) { StyleChanged(s); });
    FGradient = std::make_unique<TLumGradient>([this](TPersistent* s) { StyleChanged(s); });
    FText = std::make_unique<TStringList>();
    FText->OnChange = [this](TPersistent*) { StyleChanged(FText.get()); };
    TChartSeries::SetSeriesColor(Brush().Color());
    InsertPoint(0, 0);
    InsertPoint(100, 100);
}

TChartShape::~TChartShape() { TChartSeries::SetParentChart(nullptr); }

void TChartShape::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TChartShape*>(&Source); s && s != this) {
        FAlignment = s->FAlignment;
        FFont->Assign(*s->FFont);
        FGradient->Assign(*s->FGradient);
        FRoundRectangle = s->FRoundRectangle;
        FStyle = s->FStyle;
        FText->Assign(*s->FText);
        FTransparent = s->FTransparent;
        FVertAlign = s->FVertAlign;
        FXYStyle = s->FXYStyle;
    }
    TChartSeries::Assign(Source);
}

void TChartShape::SetStyle(TChartShapeStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    InvalidateChart();
}

void TChartShape::SetXYStyle(TChartShapeXYStyle Value)
{
    if (Value == FXYStyle) return;
    FXYStyle = Value;
    InvalidateChart();
}

void TChartShape::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    InvalidateChart();
}

void TChartShape::SetVertAlign(TLumVertAlign Value)
{
    if (Value == FVertAlign) return;
    FVertAlign = Value;
    InvalidateChart();
}

void TChartShape::SetText(const TStringList& Value)
{
    FText->Assign(Value);
    InvalidateChart();
}

void TChartShape::SetCorner(TChartValueList& List, int Index, double Value)
{
    List.ValueAt(Index); // a missing point raises the range error before anything changes
    List.StoreValueAt(Index, Value);
    SetForceStoreData(true);
    InvalidateChart();
}

void TChartShape::SetSeriesColor(TColor Value)
{
    TChartSeries::SetSeriesColor(Value);
    Brush().SetColor(Value);
}

bool TChartShape::AcceptsSource(const TChartSeries* Series) const
{
    return dynamic_cast<const TChartShape*>(Series) && TChartSeries::AcceptsSource(Series);
}

void TChartShape::ComputeZOrder()
{
    if (UsesAxes()) TChartSeries::ComputeZOrder();
}

// ---- Bounds and drawing --------------------------------------------------------------------------------

TRect TChartShape::ShapeBounds() const
{
    switch (FXYStyle) {
    case xysPixels:
        return {TruncFromReal(X0()), TruncFromReal(Y0()), TruncFromReal(X1()), TruncFromReal(Y1())};
    case xysAxis:
        return {ScreenXOf(0), ScreenYOf(0), ScreenXOf(1), ScreenYOf(1)};
    case xysAxisOrigin: {
        const int left = ScreenXOf(0), top = ScreenYOf(0);
        return {left, top, ClampedPixel(std::int64_t(left) + TruncFromReal(X1())),
                ClampedPixel(std::int64_t(top) + TruncFromReal(Y1()))};
    }
    }
    return {};
}

void TChartShape::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || PointCount() != 2 || Index != 0) return;
    const TRect raw = ShapeBounds();
    TRect r = Sorted(raw);
    if (r.Top == r.Bottom) r.Bottom = Next(r.Bottom);
    if (r.Left == r.Right) r.Right = Next(r.Right);
    const TRect& plot = chart->ChartRect();
    if (r.Right < plot.Left || r.Left > plot.Right || r.Bottom < plot.Top || r.Top > plot.Bottom) return;
    const bool is3D = chart->View3D() && FXYStyle != xysPixels;
    DrawShape(is3D, FStyle == chasLine ? raw : r);
    DrawText(r);
}

void TChartShape::GradientStep(bool Is3D, const TRect& Rect)
{
    if (FTransparent || !FGradient->Visible()) return;
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const TRect box = Is3D ? canvas.ProjectRect(Rect, MiddleZ()) : Rect;
    if (FStyle == chasCircle) {
        canvas.ClipToEllipse(box, false);
        FGradient->DrawRect(canvas, box);
        canvas.RemoveClip();
    } else {
        FGradient->DrawRect(canvas, box);
    }
    canvas.Brush().SetStyle(bsClear);
}

void TChartShape::DrawShape(bool Is3D, const TRect& R)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectPen(Pen());
    if (FTransparent)
        canvas.Brush().SetStyle(bsClear);
    else
        canvas.SelectBrush(Brush(), SeriesColor());
    canvas.WriteBackMode(Brush().Color() == clNone ? TRANSPARENT : OPAQUE);
    const int l = R.Left, t = R.Top, rt = R.Right, b = R.Bottom;
    const int cx = Half(l, rt), cy = Half(t, b);
    const int z = MiddleZ();
    const bool dark = !FTransparent;
    auto crosses = [&](bool straight, bool diagonal) {
        if (straight) {
            if (Is3D) {
                canvas.DrawVertLineAtZ(cx, t, Next(b), z);
                canvas.DrawHorizLineAtZ(l, Next(rt), cy, z);
            } else {
                canvas.DrawVertLine(cx, t, Next(b));
                canvas.DrawHorizLine(l, Next(rt), cy);
            }
        }
        if (diagonal) {
            if (Is3D) {
                canvas.DrawLineAtZ(l, t, Next(rt), Next(b), z);
                canvas.DrawLineAtZ(l, b, Next(rt), t - 1, z);
            } else {
                canvas.DrawLineXY(l, t, Next(rt), Next(b));
                canvas.DrawLineXY(l, b, Next(rt), t - 1);
            }
        }
    };
    switch (FStyle) {
    case chasRectangle:
        if (Is3D) {
            GradientStep(true, R);
            canvas.DrawRectAtDepth(R, z);
        } else if (FRoundRectangle) {
            canvas.DrawRoundedBox(l, t, rt, b, 12, 12);
        } else {
            GradientStep(false, R);
            canvas.DrawRectangleBox(l, t, Next(rt), Next(b));
        }
        break;
    case chasCircle:
        GradientStep(Is3D, R);
        if (Is3D)
            canvas.DrawEllipseAtZ(l, t, rt, b, z);
        else
            canvas.DrawEllipseBox(l, t, rt, b);
        break;
    case chasVertLine:
        if (Is3D)
            canvas.DrawVertLineAtZ(cx, t, b, z);
        else
            canvas.DrawVertLine(cx, t, b);
        break;
    case chasHorizLine:
        if (Is3D)
            canvas.DrawHorizLineAtZ(l, rt, cy, z);
        else
            canvas.DrawHorizLine(l, Next(rt), cy);
        break;
    case chasTriangle:
        if (Is3D)
            canvas.DrawTriangleAtZ({cx, t}, {l, b}, {rt, b}, z);
        else
            canvas.DrawPolygonPoints(std::array<TPoint, 3>{TPoint{l, b}, TPoint{cx, t}, TPoint{rt, b}});
        break;
    case chasInvertTriangle:
        if (Is3D)
            canvas.DrawTriangleAtZ({l, t}, {cx, b}, {rt, t}, z);
        else
            canvas.DrawPolygonPoints(std::array<TPoint, 3>{TPoint{l, t}, TPoint{cx, b}, TPoint{rt, t}});
        break;
    case chasLine:
        if (Is3D)
            canvas.DrawLineAtZ(l, t, rt, b, z);
        else
            canvas.DrawLineXY(l, t, rt, b);
        break;
    case chasDiamond: {
        const std::array<TPoint, 4> p{TPoint{l, cy}, TPoint{cx, t}, TPoint{rt, cy}, TPoint{cx, b}};
        if (Is3D)
            canvas.DrawPolygonAtZ(p, z);
        else
            canvas.DrawPolygonPoints(p);
        break;
    }
    case chasCube:
        if (Is3D)
            canvas.DrawBoxFromRect(R, StartZ(), EndZ(), dark);
        else
            canvas.DrawRectangleBox(l, t, rt, b);
        break;
    case chasCross: crosses(true, false); break;
    case chasDiagCross: crosses(false, true); break;
    case chasStar: crosses(true, true); break;
    case chasPyramid:
        if (Is3D)
            canvas.DrawPyramidShape(true, l, t, rt, b, StartZ(), EndZ(), dark);
        else
            canvas.DrawPolygonPoints(std::array<TPoint, 3>{TPoint{l, b}, TPoint{cx, t}, TPoint{rt, b}});
        break;
    case chasInvertPyramid:
        if (Is3D)
            canvas.DrawPyramidShape(true, l, b, rt, t, StartZ(), EndZ(), dark);
        else
            canvas.DrawPolygonPoints(std::array<TPoint, 3>{TPoint{l, t}, TPoint{cx, b}, TPoint{rt, t}});
        break;
    }
}

void TChartShape::DrawText(const TRect& R)
{
    if (FText->Count() == 0) return;
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectFont(*FFont);
    if (canvas.Brush().Color() == canvas.Font().Color())
        canvas.Font().SetColor(canvas.Font().Color() == clBlack ? clWhite : clBlack);
    const int h = canvas.CharHeight();
    const int lines = FText->Count();
    const int cx = Half(R.Left, R.Right), cy = Half(R.Top, R.Bottom);
    int y = R.Top;
    if (FVertAlign == vaCenter)
        y = PixelFromReal(cy - lines * h / 2.0);
    else if (FVertAlign == vaBottom)
        y = R.Bottom - lines * h;
    canvas.WriteBackMode(TRANSPARENT);
    canvas.WriteTextAlign(TA_LEFT);
    const int pen = Pen().Width();
    for (const std::string& line : FText->Items()) {
        const int w = canvas.MeasureTextWidth(line);
        int x = cx - w / 2;
        if (FAlignment == taLeftJustify)
            x = R.Left + pen + 4;
        else if (FAlignment == taRightJustify)
            x = R.Right - pen - w - 4;
        if (FXYStyle == xysPixels)
            canvas.WriteText(x, y, line);
        else
            canvas.WriteTextAtZ(x, y, StartZ(), line);
        y += h;
    }
}

void TChartShape::PaintLegendShape(int, const TRect& Rect)
{
    if (ParentChart()) DrawShape(false, Rect);
}

// ---- Click test ----------------------------------------------------------------------------------------

int TChartShape::PointAtPixel(int X, int Y) const
{
    if (PointCount() < 2) return -1;
    if (TCustomAxisPanel* chart = ParentChart()) chart->ChartCanvas().UnprojectPoint(X, Y, StartZ());
    const TRect r = ShapeBounds();
    const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
    const int cx = Half(l, rt), cy = Half(t, b);
    const TPoint p{X, Y};
    bool hit = false;
    switch (FStyle) {
    case chasCircle: hit = EllipseContainsPoint(p, l, t, rt, b); break;
    case chasVertLine: hit = OnSegment(p, {cx, t}, {cx, b}); break;
    case chasHorizLine: hit = OnSegment(p, {l, cy}, {rt, cy}); break;
    // Triangles are tested as they are drawn, on the sorted rectangle: with axis points the unsorted top
    // is the lower edge on the screen, and the test would turn the triangle over.
    case chasTriangle:
    case chasPyramid: {
        const TRect s = Sorted(r);
        hit = TriangleContainsPoint(p, {cx, s.Top}, {s.Left, s.Bottom}, {s.Right, s.Bottom});
        break;
    }
    case chasInvertTriangle:
    case chasInvertPyramid: {
        const TRect s = Sorted(r);
        hit = TriangleContainsPoint(p, {cx, s.Bottom}, {s.Left, s.Top}, {s.Right, s.Top});
        break;
    }
    case chasLine: hit = OnSegment(p, {l, t}, {rt, b}); break;
    case chasDiamond: {
        const std::array<TPoint, 4> poly{TPoint{cx, t}, TPoint{rt, cy}, TPoint{cx, b}, TPoint{l, cy}};
        hit = PolygonContainsPoint(p, poly, 3);
        break;
    }
    default: {
        const TRect s = Sorted(r);
        hit = X >= s.Left && X <= s.Right && Y >= s.Top && Y <= s.Bottom;
        break;
    }
    }
    return hit ? 0 : -1;
}

// ---- Gallery and samples -------------------------------------------------------------------------------

void TChartShape::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TChartSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumConst::Rectangle, LumConst::VertLine, LumConst::HorizLine, LumConst::Ellipse,
                             LumConst::DownTriangle, LumConst::LineStyle, LumConst::Diamond, LumConst::Cube,
                             LumConst::Cross, LumConst::DiagCross, LumConst::Star, LumConst::Pyramid,
                             LumConst::InvertedPyramid, LumConst::Hollow})
        Callback(name);
}

void TChartShape::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<TChartShape*>(Series);
    if (!s) return;
    static constexpr TChartShapeStyle styles[] = {chasRectangle, chasVertLine,  chasHorizLine, chasCircle,
                                                  chasInvertTriangle, chasLine, chasDiamond,   chasCube,
                                                  chasCross,     chasDiagCross, chasStar,      chasPyramid,
                                                  chasInvertPyramid};
    if (Index >= 1 && Index <= 13)
        s->SetStyle(styles[Index - 1]);
    else if (Index == 14)
        s->SetTransparent(!s->Transparent());
}

void TChartShape::AddRandomSampleValues(int, bool)
{
    const TSampleBounds b = SampleValueBounds(1);
    if (b.StepX == 0) {
        InsertPoint(0, 0);
        InsertPoint(100, 100);
        return;
    }
    InsertPoint(b.StartX + b.StepX / 8, b.FirstY / 2);
    InsertPoint(b.StartX + b.StepX - b.StepX / 8, b.FirstY + RandomBelow(PixelFromReal(b.SpanY)));
}

void TChartShape::PrepareForGallery(bool Coloured)
{
    TChartSeries::PrepareForGallery(Coloured);
    FFont->SetColor(Coloured ? TColor(0x0000FFFF) : TColor(0x00808080));
    FFont->SetStyle(TFontStyles{fsBold});
    FFont->SetSize(12);
    FText->Clear();
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->CountSeries() > 1 && chart->SeriesAt(1) == this) {
        SetStyle(chasCircle);
        SetSeriesColor(Coloured ? TColor(0x00FF0000) : TColor(0x00C0C0C0));
        FText->Add("abc");
    } else {
        SetStyle(chasTriangle);
        SetSeriesColor(Coloured ? TColor(0x000000FF) : TColor(0x00C0C0C0));
        FText->Add("123");
    }
}

void LumShapeInitialization() { RegisterSeries(TChartShape::StaticClassInfo(), LumConst::Shape, LumConst::GalleryStandard, 2); }
