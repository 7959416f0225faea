// What the extras' tests share: a real chart control of 480 x 340 pixels with its plot rectangle fixed at
// (40, 20, 440, 320), hidden axes and legend, axes fixed to chosen ranges, rendered into a bitmap through
// its own paint; pixel probes; the registry's series entries; and the stored rule of a published property.
#pragma once

#include "chart/control/Chart.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SystemColors.h"
#include "platform/rtl/TypInfo.h"

#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct TRenderChart {
    TChart Chart{nullptr};

    // Bottom axis X0..X1 over x 40..440, left axis Y0..Y1 over y 320..20.
    explicit TRenderChart(double X0 = 0, double X1 = 10, double Y0 = 0, double Y1 = 10)
    {
        Chart.SetBounds(0, 0, 480, 340);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.SetAxisVisible(false);
        Chart.SetCustomChartRect(true);
        Chart.SetChartRect({40, 20, 440, 320});
        Chart.BottomAxis().SetFixedRange(X0, X1);
        Chart.LeftAxis().SetFixedRange(Y0, Y1);
    }
    // A series of kind T in the chart (the chart owns it).
    template <class T>
    T& Add()
    {
        auto* s = new T(&Chart);
        s->SetParentChart(&Chart);
        return *s;
    }
    std::unique_ptr<TBitmap> Render()
    {
        auto bitmap = std::make_unique<TBitmap>(Chart.Width(), Chart.Height());
        Chart.DrawOnCanvas(bitmap->Canvas(), Chart.ChartBounds());
        return bitmap;
    }
    int X(double V) const { return Chart.BottomAxis().CalcXPosValue(V); }
    int Y(double V) const { return Chart.LeftAxis().CalcYPosValue(V); }
    TColor Back() const { return ColorToRGB(Chart.Color()); }
};

// Whether a pixel of that colour lies within Radius of (X, Y).
inline bool AnyNear(const TBitmap& B, int X, int Y, TColor Color, int Radius = 1)
{
    for (int dy = -Radius; dy <= Radius; ++dy)
        for (int dx = -Radius; dx <= Radius; ++dx)
            if (B.PixelRGB(X + dx, Y + dy) == Color) return true;
    return false;
}

// How many pixels of the rectangle have that colour.
inline int CountColor(const TBitmap& B, const TRect& R, TColor Color)
{
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x)
            if (B.PixelRGB(x, y) == Color) ++n;
    return n;
}

struct TSeriesEntry {
    std::string ClassName;
    std::string Caption;
    std::string Page;
    int Count;
    bool operator==(const TSeriesEntry&) const = default;
};

inline std::vector<TSeriesEntry> RegisteredSeries()
{
    std::vector<TSeriesEntry> out;
    const TLumSeriesTypes* types = LumSeriesTypes();
    for (int i = 0; types && i < types->Count(); ++i) {
        const TLumSeriesType& t = types->GetSeriesType(i);
        if (t.SeriesClassRef && !t.FunctionClassRef)
            out.push_back({t.SeriesClassRef->Name(), t.Caption, t.Page, t.GallerySeriesCount});
    }
    return out;
}

// Whether a stream writes the property (a dotted path reaches sub-objects).
inline bool Stored(const TPersistent& Obj, const std::string& Path)
{
    TPersistent* holder = nullptr;
    const TPropInfo* prop = FindPropInfo(Obj, Path, &holder);
    if (!prop || !holder) throw Exception("no property " + Path);
    return IsStoredProp(*holder, *prop);
}

// The gallery sub-style names a series lists.
inline std::vector<std::string> GalleryStyles(const TChartSeries& S)
{
    std::vector<std::string> out;
    S.ListGalleryStyles([&](const std::string& n) { out.push_back(n); });
    return out;
}

// Keeps a render as <name>.bmp in the folder VSP_EXTRAS_SHOTS names, for looking at; nothing without it.
inline void KeepShot(const TBitmap& B, const std::string& Name)
{
    if (const char* dir = std::getenv("VSP_EXTRAS_SHOTS")) B.SaveToFile(std::string(dir) + "/" + Name + ".bmp");
}
