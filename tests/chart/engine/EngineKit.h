// Pieces the drawing, marks, sources and function tests share: a series kind that paints its pointer at
// each point and asks its axes for the pointer's room, a tool that records the drawing stages it hears,
// and a chart of series built from value lists.
#pragma once

#include "tests/chart/engine/EngineTestSupport.h"

#include "chart/engine/LumEnginePointer.h"
#include "platform/graphics/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

// Paints its pointer at every point; the pointer's size widens the axes' margins.
class TPointerSeries : public TTestSeries {
public:
    explicit TPointerSeries(TComponent* AOwner = nullptr) : TTestSeries(AOwner), Pointer(this) {}

    TSeriesPointer Pointer;

    void SetParentChart(TCustomAxisPanel* Value) override
    {
        TTestSeries::SetParentChart(Value);
        Pointer.SetParentPanel(Value);
    }
    void HorizMargins(int& Left, int& Right) override
    {
        Left = Right = 0;
        Pointer.WidenHorizMargins(Left, Right);
    }
    void VertMargins(int& Top, int& Bottom) override
    {
        Top = Bottom = 0;
        Pointer.WidenVertMargins(Top, Bottom);
    }
    void PaintPoint(int Index) override
    {
        TCustomAxisPanel* chart = ParentChart();
        const TColor color = PointColor(Index);
        Pointer.PrepareCanvas(chart->ChartCanvas(), color);
        Pointer.PaintSymbol(chart->ChartCanvas(), chart->View3D(), ScreenXOf(Index), ScreenYOf(Index),
                            Pointer.HorizSize(), Pointer.VertSize(), color, Pointer.Style());
        Painted.push_back(Index);
    }
    // The point whose symbol box holds the pixel.
    int PointAtPixel(int X, int Y) const override
    {
        for (int i = 0; i < PointCount(); ++i)
            if (std::abs(X - ScreenXOf(i)) <= Pointer.HorizSize() && std::abs(Y - ScreenYOf(i)) <= Pointer.VertSize())
                return i;
        return -1;
    }

    using TChartSeries::SetSinglePointResults;
    std::vector<int> Painted;
};

// Records the drawing stages it is told of.
class TStageTool : public TLumCustomTool {
public:
    explicit TStageTool(TComponent* AOwner = nullptr) : TLumCustomTool(AOwner) {}
    void NotifyChartStage(int Stage) override { Stages.push_back(Stage); }
    std::vector<int> Stages;
};

// A chart owning the series and tools the tests make (freed before the chart).
struct TSeriesChart {
    TTestChart Chart;
    std::vector<std::unique_ptr<TChartSeries>> Series;

    TSeriesChart() { Chart.SetView3D(false); }
    ~TSeriesChart()
    {
        Series.clear();
    }

    template <class T = TPointerSeries>
    T& Add(const std::vector<double>& Ys, const std::vector<double>& Xs = {})
    {
        auto s = std::make_unique<T>();
        for (std::size_t i = 0; i < Ys.size(); ++i) s->InsertPoint(Xs.empty() ? double(i) : Xs[i], Ys[i]);
        s->SetParentChart(&Chart);
        T& ref = *s;
        Series.push_back(std::move(s));
        return ref;
    }

    // The chart drawn on a bitmap of its own size.
    std::unique_ptr<TBitmap> Render()
    {
        auto bitmap = std::make_unique<TBitmap>(Chart.Width(), Chart.Height());
        Chart.DrawOnCanvas(bitmap->Canvas(), Chart.ChartBounds());
        return bitmap;
    }
};

// The points of a series as (x, y) pairs.
inline std::vector<std::pair<double, double>> PointsOf(const TChartSeries& S)
{
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < S.PointCount(); ++i) out.emplace_back(S.XValues().ValueAt(i), S.YValues().ValueAt(i));
    return out;
}
