// The palette series base: colours along the range with and without a middle colour, palette limits and
// the built palettes of every style, the palette legend, the range kept until the next drawing, and the
// explicit colour and OnGetColor on top.
#include "SeriesTestSupport.h"

#include "platform/rtl/PixelMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

int Ch(TColor c, int k) { return static_cast<int>((static_cast<std::uint32_t>(c) >> (8 * k)) & 0xFF); }
TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | g << 8 | b << 16); }

// A palette series of Y values 0, 1, ..., N - 1 (or the given values), ready to colour.
struct TPaletteBench {
    TCustom3DPaletteSeries Series{nullptr};
    explicit TPaletteBench(std::vector<double> Ys)
    {
        for (std::size_t i = 0; i < Ys.size(); ++i) Series.AppendXYZ(double(i), Ys[i], 0);
        Series.PrepareForDraw();
    }
};

// The range colour at t by the per-channel rule, written out beside the test.
TColor ExpectedRange(TColor start, TColor mid, TColor end, double t)
{
    int c[3];
    for (int k = 0; k < 3; ++k) {
        if (mid == clNone)
            c[k] = static_cast<int>(std::nearbyint(t * (Ch(start, k) - Ch(end, k)))) + Ch(end, k);
        else if (t >= 0.5)
            c[k] = static_cast<int>(std::nearbyint((t - 0.5) * 2 * (Ch(start, k) - Ch(mid, k)))) + Ch(mid, k);
        else
            c[k] = static_cast<int>(std::nearbyint(2 * t * (Ch(mid, k) - Ch(end, k)))) + Ch(end, k);
    }
    return Rgb(c[0], c[1], c[2]);
}

} // namespace

TEST(PaletteColours, AlongTheRange)
{
    struct Case {
        const char* name;
        TColor mid;
        double value;
        TColor expected;
    };
    const TColor start = 0x800000, end = 0xFFFFFF, green = 0x00FF00;
    const Case cases[] = {
        {"lowest value: the end colour", clNone, 0, end},
        {"highest value: the start colour", clNone, 10, start},
        {"a quarter", clNone, 2.5, ExpectedRange(start, clNone, end, 0.25)},
        {"below the range", clNone, -1, end},
        {"above the range", clNone, 11, start},
        {"exactly the middle with a mid colour", green, 5, green},
        {"just below the middle: the lower half", green, 4.99, ExpectedRange(start, green, end, 0.499)},
        {"three quarters: the upper half", green, 7.5, ExpectedRange(start, green, end, 0.75)},
        {"lowest with a mid colour", green, 0, end},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TPaletteBench p({0, 10});
        p.Series.SetMidColor(k.mid);
        EXPECT_EQ(p.Series.ValueColor(k.value), k.expected);
    }
    // A range of 0: every point takes the end colour.
    TPaletteBench flat({3, 3, 3});
    EXPECT_EQ(flat.Series.RangeFactor(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(flat.Series.PointColor(i), end);
    // Just below the middle differs from the middle itself.
    TPaletteBench p({0, 10});
    p.Series.SetMidColor(green);
    EXPECT_NE(p.Series.ValueColor(4.99), green);
}

TEST(PaletteColours, PaletteLimits)
{
    TPaletteBench p({0, 10});
    p.Series.SetUseColorRange(false);
    p.Series.SetUsePalette(true);
    p.Series.ClearPalette();
    p.Series.AddPaletteEntry(clRed, 1);
    p.Series.AddPaletteEntry(clBlue, 3);
    EXPECT_EQ(p.Series.AddPaletteEntry(clLime, 2), 1) << "kept sorted";
    const std::pair<double, TColor> cases[] = {
        {0.5, clRed}, {1, clLime}, {1.5, clLime}, {2, clBlue}, {3, clBlue}, {100, clBlue}, {-100, clRed}};
    for (const auto& [value, color] : cases) EXPECT_EQ(p.Series.ValueColor(value), color) << value;
    // Equal limits keep their insertion order.
    EXPECT_EQ(p.Series.AddPaletteEntry(clYellow, 2), 2);
    EXPECT_EQ(p.Series.Palette()[1].Color, clLime);
    EXPECT_EQ(p.Series.Palette()[2].Color, clYellow);
    EXPECT_EQ(p.Series.ValueColor(1.9), clLime);
    // Neither range nor palette: the series colour; an empty palette falls back to it too.
    p.Series.SetSeriesColor(clFuchsia);
    p.Series.ClearPalette();
    EXPECT_EQ(p.Series.ValueColor(1), clFuchsia);
    p.Series.SetUsePalette(false);
    EXPECT_EQ(p.Series.PointColor(0), clFuchsia);
}

TEST(PaletteColours, BuiltPalettesOfEveryStyle)
{
    const int n = 32;
    const double step = 10.0 / (n - 1);
    auto wave = [](double d) {
        return Rgb(static_cast<int>((std::sin(d / 2) + 1) * 127), static_cast<int>((std::sin(d) + 1) * 127),
                   static_cast<int>((std::cos(d) + 1) * 127));
    };
    auto gray = [](int g) { return Rgb(g, g, g); };
    struct Case {
        TLumPaletteStyle style;
        TColor first, second, third;
    };
    const double pale = std::numbers::pi / n, strong = 2 * std::numbers::pi / n, g = 255.0 / n;
    const Case cases[] = {
        {psPale, wave(0), wave(pale), wave(2 * pale)},
        {psStrong, wave(0), wave(strong), wave(2 * strong)},
        {psGrayScale, gray(0), gray(static_cast<int>(RoundHalfEven(g))), gray(static_cast<int>(RoundHalfEven(2 * g)))},
        {psInvGray, gray(255), gray(255 - static_cast<int>(RoundHalfEven(g))), gray(255 - static_cast<int>(RoundHalfEven(2 * g)))},
        {psRainbow, 0x000099, 0x0000C3, 0x0000EE},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.style);
        TPaletteBench p({0, 10});
        p.Series.SetPaletteStyle(k.style);
        p.Series.CreateDefaultPalette(n);
        const TCustom3DPalette& palette = p.Series.Palette();
        ASSERT_EQ(palette.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(palette[0].Color, k.first);
        EXPECT_EQ(palette[1].Color, k.second);
        EXPECT_EQ(palette[2].Color, k.third);
        for (int i = 0; i < n; ++i) EXPECT_DOUBLE_EQ(palette[static_cast<std::size_t>(i)].UpToValue, i * step);
    }
    // The 25 rainbow colours, then round again.
    const TColor rainbow[25] = {0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF,
                                0x00CBFF, 0x00F7FF, 0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063,
                                0x38B342, 0x42A622, 0x4B9A02, 0x6A870C, 0x8A751A, 0xAA6328, 0xCB5036,
                                0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC};
    TPaletteBench p({0, 10});
    p.Series.SetPaletteStyle(psRainbow);
    p.Series.CreateDefaultPalette(27);
    for (int i = 0; i < 27; ++i) EXPECT_EQ(p.Series.Palette()[static_cast<std::size_t>(i)].Color, rainbow[i % 25]) << i;
    // A minimum and a step of its own; one step gives one entry at the start.
    p.Series.SetPaletteStep(2);
    p.Series.SetPaletteMin(-4);
    p.Series.SetUsePaletteMin(true);
    EXPECT_EQ(p.Series.Palette().size(), 32u);
    EXPECT_EQ(p.Series.Palette()[1].UpToValue, -2);
    p.Series.SetPaletteStep(0);
    p.Series.SetPaletteSteps(1);
    ASSERT_EQ(p.Series.Palette().size(), 1u);
    EXPECT_EQ(p.Series.Palette()[0].UpToValue, -4);
}

TEST(PaletteColours, PaletteLifecycle)
{
    TCustom3DPaletteSeries s(nullptr);
    s.SetUsePalette(true);
    EXPECT_TRUE(s.Palette().empty()) << "no points, no palette";
    s.AppendXYZ(0, 1, 0);
    s.AppendXYZ(1, 5, 0);
    s.PrepareForDraw();
    EXPECT_EQ(s.Palette().size(), 32u);
    EXPECT_EQ(s.Palette().front().UpToValue, 1);
    EXPECT_EQ(s.Palette().back().UpToValue, 5);
    // New data keep the built limits.
    s.AppendXYZ(2, 50, 0);
    s.PrepareForDraw();
    EXPECT_EQ(s.Palette().back().UpToValue, 5);
    // A style change clears; the next drawing builds again.
    s.SetPaletteStyle(psRainbow);
    EXPECT_TRUE(s.Palette().empty());
    s.PrepareForDraw();
    EXPECT_EQ(s.Palette().back().UpToValue, 50);
    s.ClearPoints();
    EXPECT_TRUE(s.Palette().empty()) << "cleared with the points while the palette is on";
    s.AppendXYZ(0, 1, 0);
    s.SetUsePalette(false);
    s.CreateDefaultPalette(4);
    s.ClearPoints();
    EXPECT_EQ(s.Palette().size(), 4u) << "with only the range on the palette stays";
    // Switching on a colouring switches ColorEachPoint off.
    s.SetColorEachPoint(true);
    s.SetUseColorRange(true);
    EXPECT_FALSE(s.ColorEachPoint());
    s.SetColorEachPoint(true);
    s.SetUsePalette(true);
    EXPECT_FALSE(s.ColorEachPoint());
    // Assign copies the colouring and the palette.
    s.SetMidColor(clRed);
    s.SetLegendEvery(3);
    TCustom3DPaletteSeries copy(nullptr);
    copy.Assign(s);
    EXPECT_EQ(copy.MidColor(), clRed);
    EXPECT_EQ(copy.LegendEvery(), 3);
    EXPECT_EQ(copy.PaletteStyle(), psRainbow);
    EXPECT_EQ(copy.Palette().size(), s.Palette().size());
    EXPECT_TRUE(copy.UsePalette());
}

TEST(PaletteColours, LegendListsEveryNthEntryFromTheTop)
{
    struct Case {
        int entries, every;
        int count;
        std::vector<int> firstIndexes;
    };
    const Case cases[] = {
        {32, 2, 16, {31, 29, 27}}, {33, 2, 17, {32, 30, 28}}, {32, 1, 32, {31, 30, 29}},
        {32, 0, 32, {31, 30, 29}}, {32, -1, 32, {31, 30, 29}}, {5, 3, 2, {4, 1}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.entries) + " every " + std::to_string(k.every));
        TPaletteBench p({0, 10});
        p.Series.CreateDefaultPalette(k.entries);
        p.Series.SetLegendEvery(k.every);
        EXPECT_EQ(p.Series.LegendEvery(), k.every) << "the value is kept";
        EXPECT_EQ(p.Series.LegendEntryCount(), k.count);
        for (std::size_t a = 0; a < k.firstIndexes.size(); ++a)
            EXPECT_EQ(p.Series.LegendPaletteIndex(static_cast<int>(a)), k.firstIndexes[a]);
        const int last = p.Series.LegendPaletteIndex(k.count - 1);
        EXPECT_GE(last, 0) << "never below the palette";
        EXPECT_LT(last, std::max(1, k.every));
    }
    // Texts and colours of the entries; nothing beyond them.
    TPaletteBench p({0, 10});
    p.Series.CreateDefaultPalette(11);
    p.Series.SetValueFormat("0.0");
    EXPECT_EQ(p.Series.LegendTextOf(0, ltsPlain), "10.0");
    EXPECT_EQ(p.Series.LegendTextOf(10, ltsPlain), "0.0");
    EXPECT_EQ(p.Series.LegendTextOf(11, ltsPlain), "");
    EXPECT_EQ(p.Series.LegendColorOf(0), p.Series.StartColor());
    EXPECT_EQ(p.Series.LegendColorOf(10), p.Series.EndColor());
    p.Series.SetUseColorRange(false);
    p.Series.SetUsePalette(true);
    EXPECT_EQ(p.Series.LegendColorOf(0), p.Series.Palette()[10].Color);
    // Without colouring the legend lists the points.
    p.Series.SetUsePalette(false);
    EXPECT_EQ(p.Series.LegendEntryCount(), 2);
}

TEST(PaletteColours, OldRangeKeptUntilTheNextDrawing)
{
    TPaletteBench p({0, 10});
    const TColor start = p.Series.StartColor(), end = p.Series.EndColor();
    p.Series.AppendXYZ(2, 20, 0);
    // The factor of 0..10 still applies: 15 lies past its top.
    EXPECT_EQ(p.Series.ValueColor(15), start);
    p.Series.PrepareForDraw();
    EXPECT_EQ(p.Series.ValueColor(15), ExpectedRange(start, clNone, end, 0.75));
}

TEST(PaletteColours, ExplicitColourWinsAndOnGetColorHasTheLastWord)
{
    TPaletteBench p({0, 10});
    p.Series.StorePointColor(1, clRed);
    EXPECT_EQ(p.Series.PointColor(1), clRed);
    EXPECT_EQ(p.Series.PointColor(0), p.Series.EndColor());
    std::vector<std::pair<int, TColor>> seen;
    p.Series.OnGetColor = [&](TChartSeries*, int i, TColor& c) {
        seen.emplace_back(i, c);
        if (i == 1) c = clBlue;
    };
    EXPECT_EQ(p.Series.PointColor(1), clBlue);
    EXPECT_EQ(p.Series.PointColor(0), p.Series.EndColor());
    EXPECT_EQ(seen, (std::vector<std::pair<int, TColor>>{{1, clRed}, {0, p.Series.EndColor()}}));
    // Each point its own palette colour with ColorEachPoint.
    p.Series.OnGetColor = nullptr;
    p.Series.SetColorEachPoint(true);
    EXPECT_EQ(p.Series.PointColor(0), CurrentPaletteColor(0));
}

TEST(PaletteColours, GalleryStyles)
{
    TCustom3DPaletteSeries s(nullptr);
    std::vector<std::string> names;
    s.ListGalleryStyles([&](const std::string& n) { names.push_back(n); });
    EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Color Range"}));
    TCustom3DPaletteSeries target(nullptr);
    target.SetUseColorRange(false);
    target.SetUsePalette(true);
    s.ApplyGalleryStyle(&target, 1);
    EXPECT_TRUE(target.UseColorRange());
    EXPECT_FALSE(target.UsePalette());
    TSeriesBench b;
    auto& map = b.Add<TMapSeries>();
    map.PrepareForGallery(true);
    EXPECT_FALSE(map.UseColorRange());
    EXPECT_TRUE(map.UsePalette());
    EXPECT_EQ(map.PaletteStyle(), psRainbow);
    EXPECT_EQ(map.Pen().Color(), clBlack);
    EXPECT_EQ(s.EditorFormName(), "TGrid3DSeriesEditor");
}
