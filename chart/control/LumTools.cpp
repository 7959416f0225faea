// The image tool (its rectangle from the series or the axes, rotation, metafile cache, drawing and mouse
// events) and the registration of the unit's tools.
#include "chart/control/LumTools.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Metafile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

const TClassInfo& TChartImageTool::StaticClassInfo()
{
    using P = TProps<TChartImageTool>;
    using T = TChartImageTool;
    static const TClassInfo info({
        .Name = "TChartImageTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties = {P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                       P::Object("Picture", [](const T& t) -> TPersistent* { return &t.Picture(); })},
        .Create = &CreateComponentOf<TChartImageTool>,
    });
    return info;
}

TChartImageTool::TChartImageTool(TComponent* AOwner)
    : TLumCustomToolSeries(AOwner), FPicture(std::make_unique<TPicture>()), FCacheBitmap(std::make_unique<TBitmap>())
{
    FPicture->OnChange = [this](TPicture*) { StyleChanged(nullptr); };
    FCacheBitmap->SetPixelFormat(pf24bit);
}

TChartImageTool::~TChartImageTool()
{
    FPicture->OnChange = nullptr;
}

std::string TChartImageTool::DescriptionText() const { return LumProCo::ImageTool; }

void TChartImageTool::SetSeries(TChartSeries* Value)
{
    TLumCustomToolSeries::SetSeries(Value);
    InvalidateChart();
}

double TChartImageTool::XPixelToValue(double X) const
{
    return Series() && Series()->GetHorizAxis() ? Series()->GetHorizAxis()->PixelToValueFloat(X) : 0;
}

double TChartImageTool::YPixelToValue(double Y) const
{
    return Series() && Series()->GetVertAxis() ? Series()->GetVertAxis()->PixelToValueFloat(Y) : 0;
}

// ---- Rectangle -------------------------------------------------------------------------------------------

bool TChartImageTool::ComputeImageRect()
{
    const TRect old = ImageRect;
    TRect r = ImageRect;
    if (TChartSeries* s = Series()) {
        r.Left = s->HorizValueToPixel(s->LowestX());
        r.Right = s->HorizValueToPixel(s->HighestX());
        if (FlipX) std::swap(r.Left, r.Right);
        r.Top = s->VertValueToPixel(s->HighestY());
        r.Bottom = s->VertValueToPixel(s->LowestY());
        if (FlipY) std::swap(r.Top, r.Bottom);
    } else {
        const TChartAxis* h = GetHorizAxis();
        const TChartAxis* v = GetVertAxis();
        if (h && v) {
            r.Left = h->CalcXPosValue(h->Minimum());
            r.Right = h->CalcXPosValue(h->Maximum());
            r.Top = v->CalcYPosValue(v->Maximum());
            r.Bottom = v->CalcYPosValue(v->Minimum());
        }
    }
    if (UseFixedVertPixels) {
        r.Top = FixedTop;
        r.Bottom = FixedBottom;
    }
    if (UseFixedHorizPixels) {
        r.Left = FixedLeft;
        r.Right = FixedRight;
    }
    ImageRect = r;
    const long long w = static_cast<long long>(r.Left) - r.Right, h = static_cast<long long>(r.Top) - r.Bottom;
    const long long ow = static_cast<long long>(old.Left) - old.Right, oh = static_cast<long long>(old.Top) - old.Bottom;
    return w != ow || h != oh;
}

// ---- Rotation --------------------------------------------------------------------------------------------

bool TChartImageTool::ApplyRotation()
{
    TChartSeries* s = Series();
    if (!s || s->PointCount() < 2) return false;
    const double x0 = s->XValueAt(0), y0 = s->YValueAt(0), x1 = s->XValueAt(1), y1 = s->YValueAt(1);
    const double xc = (x0 + x1) / 2, h = std::fabs(y1 - y0), a = Angle * std::numbers::pi / 180;
    const auto pixel = [s](double x, double y) {
        return TPoint{s->HorizValueToPixel(x), s->VertValueToPixel(y)};
    };
    const TPoint A = pixel(xc, y0), B = pixel(xc, y0 + h), C = pixel(xc + std::fabs(std::sin(a)) * h, y0 + std::cos(a) * h);
    const double ac = std::hypot(double(C.x) - A.x, double(C.y) - A.y);
    const double ab = std::hypot(double(B.x) - A.x, double(B.y) - A.y);
    if (!(ac > 0) || !(ab > 0)) return false;
    const double turn = (Angle < 0 ? -1 : 1) * std::fabs(std::asin(std::clamp((C.y - A.y) / ac, -1.0, 1.0)));
    double scale = ac / ab;
    const TGraphic* g = FPicture->Graphic();
    if (g && dynamic_cast<const TBitmap*>(g) && g->Height() != 0)
        scale = std::fabs(double(ImageRect.Top) - ImageRect.Bottom) * scale / std::fabs(double(g->Height()));
    TCanvas* dc = ParentChart()->ChartCanvas().DeviceHandle();
    if (!dc) return false;
    const double halfWidth = std::fabs(double(ImageRect.Left) - ImageRect.Right) / 2;
    dc->SetGraphicsMode(GM_ADVANCED);
    TXForm stretch;
    stretch.eM22 = scale;
    stretch.eDx = -halfWidth;
    dc->SetWorldTransform(stretch);
    TXForm rotate;
    rotate.eM11 = std::cos(turn);
    rotate.eM12 = std::sin(turn);
    rotate.eM21 = -std::sin(turn);
    rotate.eM22 = std::cos(turn);
    rotate.eDx = ImageRect.Left + halfWidth;
    rotate.eDy = ImageRect.Top;
    dc->ModifyWorldTransform(rotate, MWT_RIGHTMULTIPLY);
    return true;
}

// ---- Drawing ---------------------------------------------------------------------------------------------

void TChartImageTool::RefreshCache(bool SizeChanged)
{
    auto* metafile = dynamic_cast<TMetafile*>(FPicture->Graphic());
    if (!metafile || !CacheMetafile) return;
    const long long w = std::llabs(static_cast<long long>(ImageRect.Right) - ImageRect.Left);
    const long long h = std::llabs(static_cast<long long>(ImageRect.Top) - ImageRect.Bottom);
    // A deep zoom makes the rectangle far larger than the plot: it is drawn from the metafile itself.
    if (w * h > MaxCachePixels) {
        FCacheBitmap->SetSize(0, 0);
        return;
    }
    if (!metafile->Modified() && !SizeChanged && FCacheBitmap->Width() == w && FCacheBitmap->Height() == h) return;
    FCacheBitmap->SetSize(static_cast<int>(w), static_cast<int>(h));
    TCanvas& c = FCacheBitmap->Canvas();
    c.PatBlt(0, 0, FCacheBitmap->Width(), FCacheBitmap->Height(), WHITENESS);
    c.StretchDraw({0, 0, FCacheBitmap->Width(), FCacheBitmap->Height()}, *metafile);
    metafile->SetModified(false);
}

void TChartImageTool::DrawPicture(bool Rotated)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TGraphic* g = FPicture->Graphic();
    const int depth = chart->Width3D();
    const bool metafile = dynamic_cast<const TMetafile*>(g) != nullptr;
    if (chart->View3D() && !chart->View3DOptions().Orthogonal())
        canvas.DrawPictureAtZ(ImageRect, g, depth);
    else if (metafile && CacheMetafile && !FCacheBitmap->Empty())
        canvas.StretchGraphic(canvas.ProjectRect(ImageRect, depth), FCacheBitmap.get());
    else if (Rotated)
        canvas.DrawGraphicAt(0, 0, g);
    else
        canvas.StretchGraphic(canvas.ProjectRect(ImageRect, depth), g);
}

void TChartImageTool::NotifyChartStage(int Stage)
{
    TCustomAxisPanel* chart = ParentChart();
    const int wanted = DrawAfterSeries ? 4 : 1;
    if (chart && Stage == wanted && FPicture->Graphic() && !FPicture->Graphic()->Empty()) {
        const bool sizeChanged = ComputeImageRect();
        TCanvas3D& canvas = chart->ChartCanvas();
        FRotated = Angle != 0 && ApplyRotation();
        RefreshCache(sizeChanged);
        if (sizeChanged) {
            Fire(OnImageResized);
            Fire(OnBeforeDrawResized);
        }
        Fire(OnBeforeDrawImage);
        std::unique_ptr<TLumBlend> blend;
        if (Transparency > 0) blend = canvas.BeginTransparency(ImageRect, Transparency);
        if (Angle == 0 && chart->ClippingAllowed()) canvas.ClipToBox(chart->ChartRect(), 0, chart->Width3D());
        DrawPicture(FRotated);
        if (blend) canvas.EndTransparency(std::move(blend));
        canvas.RemoveClip();
        if (sizeChanged) Fire(OnAfterDrawResized);
        Fire(OnAfterDrawImage);
    }
    if (chart && FRotated) {
        if (TCanvas* dc = chart->ChartCanvas().DeviceHandle()) dc->ModifyWorldTransform(TXForm{}, MWT_IDENTITY);
        FRotated = false;
    }
}

// ---- Mouse -----------------------------------------------------------------------------------------------

void TChartImageTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TRect& r = ImageRect;
    const bool inside = X > std::min(r.Left, r.Right) && X < std::max(r.Left, r.Right) &&
                        Y > std::min(r.Top, r.Bottom) && Y < std::max(r.Top, r.Bottom);
    if (!inside) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        if (OnImageMouseDown) OnImageMouseDown(this, Button, Shift, X, Y);
        break;
    case TChartMouseKind::Move:
        if (OnImageMouseMove) OnImageMouseMove(this, Button, Shift, X, Y);
        break;
    case TChartMouseKind::Release: Fire(OnImageMouseUp); break;
    }
}

// ---- Registration ----------------------------------------------------------------------------------------

namespace {

// The gallery's order.
std::vector<const TClassInfo*> StandardToolClasses()
{
    return {&TCursorTool::StaticClassInfo(),       &TDragMarksTool::StaticClassInfo(),  &TAxisArrowTool::StaticClassInfo(),
            &TDrawLineTool::StaticClassInfo(),     &TNearestTool::StaticClassInfo(),    &TColorBandTool::StaticClassInfo(),
            &TColorLineTool::StaticClassInfo(),    &TRotateTool::StaticClassInfo(),     &TChartImageTool::StaticClassInfo(),
            &TMarksTipTool::StaticClassInfo(),     &TAnnotationTool::StaticClassInfo(), &TSeriesAnimationTool::StaticClassInfo(),
            &TGridBandTool::StaticClassInfo(),     &TAxisScrollTool::StaticClassInfo(), &TRectangleTool::StaticClassInfo(),
            &TClipSeriesTool::StaticClassInfo()};
}

} // namespace

void LumToolsInitialization()
{
    for (const TClassInfo* c : StandardToolClasses()) RegisterToolClasses({c});
}

void LumToolsFinalization()
{
    for (const TClassInfo* c : StandardToolClasses()) UnregisterToolClasses({c});
}
