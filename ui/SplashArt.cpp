// The splash picture drawn in code: a card in blue shades, the program's name and version, and an orange
// potential curve over electrode marks.
#include "ui/SplashArt.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ResourceStore.h"

#include <cmath>
#include <vector>

const std::string SplashArtResource = "VORNSP2DP_SPLASH";

void DrawSplashArt(TBitmap& into)
{
    constexpr int W = 300, H = 200;
    into.SetSize(W, H);
    into.SetPixelFormat(pf24bit);
    TCanvas& c = into.Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clGreen);
    c.FillRect({0, 0, W, H});
    // The card, with a lighter rim.
    c.Pen().SetColor(RGB(190, 205, 240));
    c.Pen().SetWidth(1);
    c.Brush().SetColor(RGB(24, 48, 120));
    c.RoundRect(4, 4, W - 4, H - 4, 40, 40);
    // A potential curve over the ground line with electrodes.
    c.Pen().SetColor(RGB(120, 150, 210));
    c.MoveTo(30, 150);
    c.LineTo(270, 150);
    for (int x = 40; x <= 260; x += 20) {
        c.MoveTo(x, 147);
        c.LineTo(x, 154);
    }
    std::vector<TPoint> curve;
    for (int x = 30; x <= 270; x += 2) {
        const double u = (x - 150) / 38.0;
        curve.push_back({x, 140 - static_cast<int>(std::lround(32 * std::exp(-u * u) - 10 * std::exp(-(u - 1.6) * (u - 1.6))))});
    }
    c.Pen().SetColor(RGB(245, 150, 40));
    c.Pen().SetWidth(2);
    c.Polyline(curve);
    // Name and version.
    c.Brush().SetStyle(bsClear);
    c.Font().SetName("Arial");
    c.Font().SetStyle(TFontStyles{fsBold});
    c.Font().SetHeight(-30);
    c.Font().SetColor(RGB(255, 255, 255));
    TRect title{10, 26, W - 10, 64};
    c.DrawText("VornSP2Dp", title, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c.Font().SetStyle(TFontStyles{});
    c.Font().SetHeight(-12);
    c.Font().SetColor(RGB(200, 215, 245));
    TRect line{10, 66, W - 10, 82};
    c.DrawText("Self-potential survey interpretation", line, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    TRect version{10, 164, W - 10, 182};
    c.DrawText("Version 1.0", version, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void RegisterSplashArt()
{
    static const bool done = [] {
        RegisterBitmapResource(SplashArtResource, [](TBitmap& b) { DrawSplashArt(b); });
        return true;
    }();
    (void)done;
}
