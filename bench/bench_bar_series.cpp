// A bar series and a high-low series of 100,000 points, each drawn by the chart's paint into a 1600 x 1000
// bitmap, against a reference that draws the same elements with plain QPainter calls (one fillRect per bar,
// one drawPolygon per high-low band, antialiasing off, pixels from the same linear mapping) on a QImage of
// the same size and format. The four run in turn, round by round; the medians, their ratios, the share of
// pixels painted alike, the processor and the load are printed. Target: at most 3 times the reference.
#include "bench/bench_common.h"

#include "chart/control/Chart.h"
#include "chart/series/ErrorBar.h"
#include "chart/series/SeriesBar.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <QImage>
#include <QPainter>
#include <QPoint>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Width = 1600, Height = 1000, PointCount = 100000;
constexpr TColor BarColor = 0x3070D0, BandColor = 0x40A040;

// A seeded random walk of PointCount values and a spread around it.
struct TData {
    std::vector<double> X, Value, Spread;
    TData()
    {
        std::mt19937 random(20261211);
        std::normal_distribution<double> step(0.0, 1.0);
        std::uniform_real_distribution<double> spread(2.0, 30.0);
        double v = 400;
        for (int i = 0; i < PointCount; ++i) {
            v += step(random);
            X.push_back(i);
            Value.push_back(v);
            Spread.push_back(spread(random));
        }
    }
};

const TData& Data()
{
    static const TData data;
    return data;
}

// A chart drawing straight onto its target, as the reference does, without legend, marks or pens.
struct TScene {
    TChart Chart{nullptr};
    TBarSeries* Bars = nullptr;
    THighLowSeries* HighLow = nullptr;

    explicit TScene(bool WithBars)
    {
        EnsureQtApplication();
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.SetBufferedDisplay(false);
        const TData& d = Data();
        if (WithBars) {
            Bars = new TBarSeries(&Chart);
            Bars->SetParentChart(&Chart);
            Bars->Marks().SetVisible(false);
            Bars->BarPen().SetVisible(false);
            Bars->SetSeriesColor(BarColor);
            Bars->AddArrays(d.X, d.Value);
        } else {
            HighLow = new THighLowSeries(&Chart);
            HighLow->SetParentChart(&Chart);
            HighLow->Marks().SetVisible(false);
            HighLow->HighPen().SetVisible(false);
            HighLow->LowPen().SetVisible(false);
            HighLow->Pen().SetVisible(false);
            HighLow->HighBrush().SetStyle(bsSolid);
            HighLow->LowBrush().SetStyle(bsSolid);
            HighLow->SetSeriesColor(BandColor);
            for (int i = 0; i < PointCount; ++i)
                HighLow->AddHighLowPoint(d.X[std::size_t(i)], d.Value[std::size_t(i)] + d.Spread[std::size_t(i)],
                                         d.Value[std::size_t(i)] - d.Spread[std::size_t(i)]);
        }
    }
};

struct TScenes {
    std::unique_ptr<TScene> Bars, HighLow;
};

TScenes& Scenes()
{
    static TScenes scenes;
    if (!scenes.Bars) {
        scenes.Bars = std::make_unique<TScene>(true);
        scenes.HighLow = std::make_unique<TScene>(false);
    }
    return scenes;
}

QColor ToQColor(TColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// The pictures of the last round, to count the pixels both sides painted alike.
struct TPictures {
    std::unique_ptr<TBitmap> Chart;
    QImage Reference;
};

std::map<std::string, TPictures>& Pictures()
{
    static std::map<std::string, TPictures> pictures;
    return pictures;
}

std::map<std::string, std::vector<double>>& Samples()
{
    static std::map<std::string, std::vector<double>> samples;
    return samples;
}

double Timed(const std::string& Case, const std::function<void()>& Draw)
{
    const auto t0 = std::chrono::steady_clock::now();
    Draw();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    Samples()[Case].push_back(s);
    return s;
}

void ChartPaint(TScene& Scene, const std::string& Case)
{
    TPictures& p = Pictures()[Case];
    if (!p.Chart) p.Chart = std::make_unique<TBitmap>(Width, Height, pf32bit);
    Timed(Case + ", chart", [&] { Scene.Chart.DrawOnCanvas(p.Chart->Canvas(), {0, 0, Width, Height}); });
}

// The axes' linear mapping as the chart's last paint left it.
struct TMapping {
    double X0, XScale, XMin, Y0, YScale, YMin;
    explicit TMapping(const TChart& Chart)
    {
        const TChartAxis& h = Chart.BottomAxis();
        const TChartAxis& v = Chart.LeftAxis();
        X0 = h.StartPixel, XScale = h.PixelsPerUnit, XMin = h.CurrentMinimum;
        Y0 = v.EndPixel, YScale = v.PixelsPerUnit, YMin = v.CurrentMinimum;
    }
    int X(double Value) const { return int(std::lround(X0 + (Value - XMin) * XScale)); }
    int Y(double Value) const { return int(std::lround(Y0 - (Value - YMin) * YScale)); }
};

// One fillRect per bar: from its left edge one bar width on (at least a pixel), from its value to the
// origin 0, in the series' colour.
void BarsReference(const TScene& Scene, const std::string& Case)
{
    const TMapping m(Scene.Chart);
    const int width = std::max(1, Scene.Bars->BarPixelWidth());
    const int origin = m.Y(0);
    const TData& d = Data();
    QImage& image = Pictures()[Case].Reference;
    if (image.isNull()) image = QImage(Width, Height, QImage::Format_RGB32);
    const QColor colour = ToQColor(BarColor);
    Timed(Case + ", reference", [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (int i = 0; i < PointCount; ++i) {
            const int x = m.X(d.X[std::size_t(i)]) - width / 2, y = m.Y(d.Value[std::size_t(i)]);
            painter.fillRect(x, std::min(y, origin), width, std::abs(y - origin), colour);
        }
    });
}

// One drawPolygon per band between two neighbouring points, without a pen.
void HighLowReference(const TScene& Scene, const std::string& Case)
{
    const TMapping m(Scene.Chart);
    const TData& d = Data();
    QImage& image = Pictures()[Case].Reference;
    if (image.isNull()) image = QImage(Width, Height, QImage::Format_RGB32);
    const QColor colour = ToQColor(BandColor);
    Timed(Case + ", reference", [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        // The chart's pixel centres lie on whole coordinates, QPainter's half a pixel on; a little less
        // than half moves the centres just inside the left and top edges, which the chart's pixels take.
        painter.translate(0.5 - 1.0 / 32, 0.5 - 1.0 / 32);
        QPoint band[4];
        for (int i = 1; i < PointCount; ++i) {
            const std::size_t a = std::size_t(i - 1), b = std::size_t(i);
            band[0] = {m.X(d.X[a]), m.Y(d.Value[a] + d.Spread[a])};
            band[1] = {m.X(d.X[a]), m.Y(d.Value[a] - d.Spread[a])};
            band[2] = {m.X(d.X[b]), m.Y(d.Value[b] - d.Spread[b])};
            band[3] = {m.X(d.X[b]), m.Y(d.Value[b] + d.Spread[b])};
            painter.drawPolygon(band, 4);
        }
    });
}

const std::string BarsCase = "bars", HighLowCase = "high-low";

// One round: each picture in turn, so that all four see the same load.
void BM_Round(benchmark::State& state)
{
    TScenes& s = Scenes();
    for (auto _ : state) {
        ChartPaint(*s.Bars, BarsCase);
        BarsReference(*s.Bars, BarsCase);
        ChartPaint(*s.HighLow, HighLowCase);
        HighLowReference(*s.HighLow, HighLowCase);
        double total = 0;
        for (const auto& [name, seconds] : Samples()) total += seconds.back();
        state.SetIterationTime(total);
    }
}

// Of the pixels either side painted (not left white), the share both painted alike.
void PrintAgreement(const std::string& Case)
{
    const TPictures& p = Pictures()[Case];
    if (!p.Chart || p.Reference.isNull()) return;
    long painted = 0, same = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const QRgb r = p.Reference.pixel(x, y);
            const TColor c = p.Chart->PixelRGB(x, y);
            const TColor reference = static_cast<TColor>(qRed(r) | qGreen(r) << 8 | qBlue(r) << 16);
            if (reference == 0xFFFFFF && c != BarColor && c != BandColor) continue;
            ++painted;
            same += reference == c;
        }
    std::printf("    agreement %6.2f %% of %ld pixels painted by either\n", painted ? 100.0 * same / painted : 0.0, painted);
}

} // namespace

BENCHMARK(BM_Round)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(21);

int main(int argc, char** argv)
{
    EnsureQtApplication();
    benchmark::Initialize(&argc, argv);
    const std::string loadBefore = bench::LoadAverage();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\n%d points in a %d x %d bitmap, medians of interleaved rounds, on %s\n", PointCount, Width, Height,
                bench::Machine().c_str());
    std::printf("Load average (1, 5, 15 min) before: %s, after: %s\n", loadBefore.c_str(), bench::LoadAverage().c_str());
    for (const std::string& c : {BarsCase, HighLowCase}) {
        const double chart = bench::Median(Samples()[c + ", chart"]), reference = bench::Median(Samples()[c + ", reference"]);
        std::printf("  %-9s chart paint %8.2f ms, QPainter %8.2f ms, ratio %5.2f (target at most 3: %s)\n", c.c_str(),
                    chart * 1e3, reference * 1e3, reference > 0 ? chart / reference : 0.0,
                    reference > 0 && chart <= 3 * reference ? "met" : "MISSED");
        PrintAgreement(c);
    }
    Pictures().clear();
    Scenes() = TScenes();
    benchmark::Shutdown();
    return 0;
}
