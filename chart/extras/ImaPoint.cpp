// The image point and delta point series: pictures at the points, their sizes, the delta pictures and
// their registration.
#include "chart/extras/ImaPoint.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/extras/ImageBar.h"
#include "platform/graphics/ResourceStore.h"

namespace {

std::vector<TPropInfo> ImagePointProperties(bool TransparentDefault, bool WithStyle)
{
    using P = TProps<TCustomImagePointSeries>;
    using C = TCustomImagePointSeries;
    std::vector<TPropInfo> own{
        P::Boolean("ImageTransparent", &C::ImageTransparent, &C::SetImageTransparent).Default(TransparentDefault)};
    if (WithStyle)
        own.push_back(TProps<TDeltaPointSeries>::Enumeration("ImageStyle", DeltaImageStyleNames, &TDeltaPointSeries::ImageStyle,
                                                             &TDeltaPointSeries::SetImageStyle)
                          .Default(disSmiles));
    return own;
}

} // namespace

const TClassInfo& TCustomImagePointSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomImagePointSeries", .Parent = &TPointSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TImagePointSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TImagePointSeries",
                                  .Parent = &TCustomImagePointSeries::StaticClassInfo(),
                                  .Properties = ImagePointProperties(true, false),
                                  .Create = &CreateComponentOf<TImagePointSeries>});
    return info;
}

const TClassInfo& TDeltaPointSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TDeltaPointSeries",
                                  .Parent = &TCustomImagePointSeries::StaticClassInfo(),
                                  .Properties = ImagePointProperties(false, true),
                                  .Create = &CreateComponentOf<TDeltaPointSeries>});
    return info;
}

// ---- Image points --------------------------------------------------------------------------------------

TCustomImagePointSeries::TCustomImagePointSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    FImagePoint = std::make_unique<TPicture>();
    FImagePoint->OnChange = [this](TPicture*) { InvalidateChart(); };
    RegisterExtrasPictures();
}

TCustomImagePointSeries::~TCustomImagePointSeries() { TChartSeries::SetParentChart(nullptr); }

void TCustomImagePointSeries::SetImagePoint(const TPicture& Value) { FImagePoint->Assign(Value); }

void TCustomImagePointSeries::FollowPictureSize(const TPicture& Picture)
{
    if (Picture.Width() > 0) Pointer().StoreHorizSize(Picture.Width());
    if (Picture.Height() > 0) Pointer().StoreVertSize(Picture.Height());
}

void TCustomImagePointSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (!FImagePoint->HasGraphic()) {
        TPointSeries::PaintPoint(Index);
        return;
    }
    if (OnGetImage) OnGetImage(this, Index, *FImagePoint);
    TGraphic* g = FImagePoint->Graphic();
    if (!g) return;
    const int x = ScreenXOf(Index), y = ScreenYOf(Index);
    const int h = Pointer().HorizSize(), v = Pointer().VertSize();
    const int left = x - h / 2, top = y - v / 2;
    g->SetTransparent(FImageTransparent);
    TCanvas3D& canvas = chart->ChartCanvas();
    const TRect r = canvas.ProjectRect({left, top, left + h, top + v}, StartZ());
    if (g->Width() == r.Right - r.Left && g->Height() == r.Bottom - r.Top)
        canvas.DrawGraphicAt(r.Left, r.Top, g);
    else
        canvas.StretchGraphic(r, g);
}

void TCustomImagePointSeries::PrepareForGallery(bool Coloured)
{
    TPointSeries::PrepareForGallery(Coloured);
    if (TCustomAxisPanel* chart = ParentChart()) chart->View3DOptions().SetOrthogonal(true);
}

TImagePointSeries::TImagePointSeries(TComponent* AOwner) : TCustomImagePointSeries(AOwner)
{
    LoadBitmapResource("LumDefaultImage", FImagePoint->Bitmap());
    FImageTransparent = true;
    FollowPictureSize(*FImagePoint);
}

TImagePointSeries::TImagePointSeries(TComponent* AOwner, const TPicture& Picture) : TImagePointSeries(AOwner)
{
    SetImagePoint(Picture);
}

void TImagePointSeries::SetImagePoint(const TPicture& Value)
{
    FImagePoint->Assign(Value);
    if (Value.Width() > 0) Pointer().SetHorizSize(Value.Width());
    if (Value.Height() > 0) Pointer().SetVertSize(Value.Height());
}

// ---- Delta points --------------------------------------------------------------------------------------

TDeltaPointSeries::TDeltaPointSeries(TComponent* AOwner) : TCustomImagePointSeries(AOwner)
{
    for (auto* p : {&FEqual, &FGreater, &FLower}) {
        *p = std::make_unique<TPicture>();
        (*p)->OnChange = [this](TPicture*) { InvalidateChart(); };
    }
    SetImageStyle(disSmiles);
}

void TDeltaPointSeries::SetImageStyle(TDeltaImageStyle Value)
{
    FImageStyle = Value;
    const bool hands = Value == disHands;
    LoadBitmapResource(hands ? "LumEqualHand" : "LumEqualSmile", FEqual->Bitmap());
    LoadBitmapResource(hands ? "LumGreaterHand" : "LumGreaterSmile", FGreater->Bitmap());
    LoadBitmapResource(hands ? "LumLowerHand" : "LumLowerSmile", FLower->Bitmap());
    InvalidateChart();
}

TPicture& TDeltaPointSeries::PictureFor(int Index) const
{
    if (Index <= 0) return *FEqual;
    const double now = MandatoryValueAt(Index), before = MandatoryValueAt(Index - 1);
    if (now > before) return *FGreater;
    if (now < before) return *FLower;
    return *FEqual;
}

void TDeltaPointSeries::PaintPoint(int Index)
{
    TPicture& picture = PictureFor(Index);
    // The copy must not repaint the chart that is being drawn.
    const auto onChange = std::move(FImagePoint->OnChange);
    FImagePoint->OnChange = nullptr;
    FImagePoint->Assign(picture);
    FImagePoint->OnChange = onChange;
    FollowPictureSize(*FImagePoint);
    TCustomImagePointSeries::PaintPoint(Index);
}

void ImaPointInitialization()
{
    RegisterExtrasPictures();
    RegisterSeries(TImagePointSeries::StaticClassInfo(), LumProCo::ImagePoint, LumProCo::Other, 1);
    RegisterSeries(TDeltaPointSeries::StaticClassInfo(), LumProCo::DeltaPoint, LumProCo::Other, 1);
}

void ImaPointFinalization()
{
    UnregisterSeriesClasses({&TImagePointSeries::StaticClassInfo(), &TDeltaPointSeries::StaticClassInfo()});
}
