// The image bar series' painting (stretched or tiled pictures in the bars), its registration, and the
// drawing of the extras' built-in pictures.
#include "chart/extras/ImageBar.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ResourceStore.h"

#include <algorithm>
#include <array>

// ---- Built-in pictures ---------------------------------------------------------------------------------

namespace {

// Drawn in colours of the 16-colour palette, so that the 4-bit bitmap keeps them exactly.
void Start(TBitmap& B, int W, int H)
{
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, H);
    TCanvas& c = B.Canvas();
    c.Brush().SetColor(clWhite);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, W, H});
    c.Pen().SetColor(clBlack);
}

void Finish(TBitmap& B) { B.SetPixelFormat(pf4bit); }

void DrawMoney(TBitmap& B)
{
    Start(B, 100, 88);
    TCanvas& c = B.Canvas();
    c.Brush().SetColor(clGreen);
    c.Pen().SetColor(clOlive);
    c.Rectangle(0, 0, 100, 88);
    c.Brush().SetColor(clLime);
    c.Rectangle(6, 6, 94, 82);
    c.Brush().SetColor(clYellow);
    c.Pen().SetColor(clGreen);
    c.Ellipse(30, 24, 70, 64);
    c.Pen().SetColor(clGreen);
    c.MoveTo(50, 28);
    c.LineTo(50, 61);
    c.MoveTo(58, 34);
    c.LineTo(42, 34);
    c.LineTo(42, 44);
    c.LineTo(58, 44);
    c.LineTo(58, 54);
    c.LineTo(42, 54);
    Finish(B);
}

void DrawDefaultImage(TBitmap& B)
{
    Start(B, 8, 8);
    TCanvas& c = B.Canvas();
    c.Brush().SetColor(clRed);
    c.Pen().SetColor(clMaroon);
    const std::array<TPoint, 4> diamond{TPoint{4, 0}, TPoint{7, 4}, TPoint{4, 7}, TPoint{0, 4}};
    c.Polygon(diamond.data(), 4);
    Finish(B);
}

// A face whose mouth curves up (+1), lies flat (0) or curves down (-1).
void DrawSmile(TBitmap& B, int Mood)
{
    Start(B, 16, 16);
    TCanvas& c = B.Canvas();
    c.Brush().SetColor(clYellow);
    c.Ellipse(0, 0, 16, 16);
    c.SetPixel(5, 5, clBlack);
    c.SetPixel(10, 5, clBlack);
    const int y = Mood > 0 ? 12 : Mood < 0 ? 10 : 11;
    c.MoveTo(4, y - (Mood > 0 ? 1 : Mood < 0 ? -1 : 0));
    c.LineTo(6, y);
    c.LineTo(10, y);
    c.LineTo(12, y - (Mood > 0 ? 1 : Mood < 0 ? -1 : 0));
    Finish(B);
}

// A hand pointing up (+1), aside (0) or down (-1): an arrow in green, blue or red.
void DrawHand(TBitmap& B, int Direction)
{
    Start(B, 16, 16);
    TCanvas& c = B.Canvas();
    c.Brush().SetColor(Direction > 0 ? clGreen : Direction < 0 ? clRed : clBlue);
    std::array<TPoint, 7> p{TPoint{8, 1}, TPoint{14, 7}, TPoint{10, 7}, TPoint{10, 14}, TPoint{6, 14}, TPoint{6, 7}, TPoint{2, 7}};
    if (Direction < 0)
        for (TPoint& q : p) q.y = 15 - q.y;
    if (Direction == 0)
        for (TPoint& q : p) q = {q.y, q.x};
    c.Polygon(p.data(), 7);
    Finish(B);
}

} // namespace

void RegisterExtrasPictures()
{
    RegisterBitmapResource("LumMoney", DrawMoney);
    RegisterBitmapResource("LumDefaultImage", DrawDefaultImage);
    RegisterBitmapResource("LumEqualSmile", [](TBitmap& b) { DrawSmile(b, 0); });
    RegisterBitmapResource("LumGreaterSmile", [](TBitmap& b) { DrawSmile(b, 1); });
    RegisterBitmapResource("LumLowerSmile", [](TBitmap& b) { DrawSmile(b, -1); });
    RegisterBitmapResource("LumEqualHand", [](TBitmap& b) { DrawHand(b, 0); });
    RegisterBitmapResource("LumGreaterHand", [](TBitmap& b) { DrawHand(b, 1); });
    RegisterBitmapResource("LumLowerHand", [](TBitmap& b) { DrawHand(b, -1); });
}

// ---- Image bar -----------------------------------------------------------------------------------------

namespace {
TComponent* MakeImageBar(TComponent* Owner) { return new TImageBarSeries(Owner); }
} // namespace

const TClassInfo& TImageBarSeries::StaticClassInfo()
{
    using P = TProps<TImageBarSeries>;
    static const TClassInfo info(
        {.Name = "TImageBarSeries",
         .Parent = &TBarSeries::StaticClassInfo(),
         .Properties = {P::Boolean("ImageTiled", &TImageBarSeries::ImageTiled, &TImageBarSeries::SetImageTiled).Default(false)},
         .Create = &MakeImageBar});
    return info;
}

TImageBarSeries::TImageBarSeries(TComponent* AOwner) : TBarSeries(AOwner)
{
    FImage = std::make_unique<TPicture>();
    RegisterExtrasPictures();
    LoadBitmapResource("LumMoney", FImage->Bitmap());
    FImage->OnChange = [this](TPicture*) { InvalidateChart(); };
}

TImageBarSeries::~TImageBarSeries() { TChartSeries::SetParentChart(nullptr); }

void TImageBarSeries::Tile(const TRect& R, bool FromTop)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const TGraphic* g = FImage->Graphic();
    const int pw = g->Width(), ph = g->Height();
    if (pw < 1 || ph < 1) return;
    canvas.ClipToRect(R);
    const int h = R.Bottom - R.Top;
    for (int b = 0; b < h; b += ph) {
        const int top = FromTop ? R.Top + b : R.Bottom - b - ph;
        for (int x = R.Left; x < R.Right; x += pw) canvas.StretchGraphic({x, top, x + pw, top + ph}, g);
    }
    canvas.RemoveClip();
}

void TImageBarSeries::PaintBar(int Index, int Upper, int Lower)
{
    TBarSeries::PaintBar(Index, Upper, Lower);
    const TGraphic* g = FImage->Graphic();
    if (!g || g->Width() == 0) return;
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    TRect r{BarBounds().Left, std::min(Upper, Lower), BarBounds().Right, std::max(Upper, Lower)};
    const bool is3D = chart->View3D();
    if (BarPen().Visible()) {
        int w = BarPen().Width();
        if (w > 1 && w % 2 == 0) --w;
        r.Left += w;
        r.Top += w;
        if (!is3D) {
            r.Right -= 1;
            r.Bottom -= 1;
        }
    }
    if (is3D && !chart->View3DOptions().Orthogonal()) {
        canvas.DrawPictureAtZ(r, g, StartZ());
        return;
    }
    r = canvas.ProjectRect(r, StartZ());
    if (FImageTiled)
        Tile(r, ScreenYOf(Index) > BarOriginPixel(Index));
    else
        canvas.StretchGraphic(r, g);
}

void TImageBarSeries::PrepareForGallery(bool Coloured)
{
    TBarSeries::PrepareForGallery(Coloured);
    FillSampleValues(2);
    if (TCustomAxisPanel* chart = ParentChart()) chart->View3DOptions().SetOrthogonal(true);
}

void ImageBarInitialization()
{
    RegisterExtrasPictures();
    RegisterSeries(TImageBarSeries::StaticClassInfo(), LumProCo::ImageBar, LumProCo::Other, 1);
}

void ImageBarFinalization() { UnregisterSeriesClasses({&TImageBarSeries::StaticClassInfo()}); }
