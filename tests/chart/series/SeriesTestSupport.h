// A chart for the series tests: the engine tests' small concrete axis panel with a fixed chart rectangle
// (40, 20, 440, 320) on a 480 x 340 panel, axes fixed to chosen ranges, the series the test adds (freed
// before the chart), and renders into a bitmap or onto the recording device.
#pragma once

#include "tests/chart/engine/EngineTestSupport.h"

#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"
#include "platform/graphics/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

inline constexpr TRect BenchChartRect{40, 20, 440, 320};

struct TSeriesBench {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(480, 340);
    TCanvas Device{Recorder};
    TTestChart Chart;
    std::vector<std::unique_ptr<TChartSeries>> Series;

    TSeriesBench()
    {
        Chart.SetView3D(false);
        Chart.SetBounds(0, 0, 480, 340);
        Chart.SetCustomChartRect(true);
        Chart.SetChartRect(BenchChartRect);
        Chart.RecalcChartRect();
    }
    ~TSeriesBench() { Series.clear(); }

    // A series of kind T with points (Xs[i] or i, Ys[i]), in the chart.
    template <class T>
    T& Add(const std::vector<double>& Ys = {}, const std::vector<double>& Xs = {})
    {
        auto s = std::make_unique<T>(nullptr);
        for (std::size_t i = 0; i < Ys.size(); ++i) s->InsertPoint(Xs.empty() ? double(i) : Xs[i], Ys[i]);
        s->SetParentChart(&Chart);
        T& ref = *s;
        Series.push_back(std::move(s));
        return ref;
    }

    // Bottom axis X0..X1 over x 40..440 and left axis Y0..Y1 over y 320..20.
    void FixAxes(double X0, double X1, double Y0, double Y1)
    {
        Chart.BottomAxis().SetFixedRange(X0, X1);
        Chart.LeftAxis().SetFixedRange(Y0, Y1);
    }

    // Axis ranges and pixel spans, and the series' visible ranges, as a paint computes them, with the
    // chart canvas on the recording device.
    void Layout()
    {
        Chart.SetBufferedDisplay(false);
        const TRect panel{0, 0, Chart.Width(), Chart.Height()};
        Chart.ChartCanvas().SetupView(&Device, &Chart.View3DOptions(), clWhite, Chart.View3D(), panel);
        Chart.AssignSeriesZOrders();
        Chart.FitChartRectTo3D();
        Chart.FitAxesInChartRect();
        Chart.ComputeSeriesZExtents();
        Chart.ApplySeriesMargins();
        Chart.ChartCanvas().SetRotationCentre(Chart.Width3D(), panel, Chart.ChartRect());
        for (auto& s : Series) s->ComputeVisibleIndexRange();
    }

    // Layout after every Active series has prepared for the drawing pass (bar slots, pie slices).
    void PrepareAndLayout()
    {
        for (auto& s : Series)
            if (s->Active()) s->PrepareForDraw();
        Layout();
    }

    // The chart drawn on a bitmap of the panel's size.
    std::unique_ptr<TBitmap> Render()
    {
        auto bitmap = std::make_unique<TBitmap>(Chart.Width(), Chart.Height());
        Chart.DrawOnCanvas(bitmap->Canvas(), Chart.ChartBounds());
        return bitmap;
    }
};

// Bottom axis 0..10 (40 pixels a unit from x 40) and left axis 0..10 (30 pixels a unit up from y 320).
inline int PixelX(double X) { return 40 + static_cast<int>(X * 40); }
inline int PixelY(double Y) { return 320 - static_cast<int>(Y * 30); }
