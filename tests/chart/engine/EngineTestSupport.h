// A small concrete chart for the engine tests (no walls, titles or legend; colours free unless a series
// uses them), a series kind that publishes the standard series properties, and a recording device that
// the chart's canvas draws on, with helpers that read lines and texts back.
#pragma once

#include "chart/engine/LumEngine.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TTestChart : public TCustomAxisPanel {
public:
    explicit TTestChart(TComponent* AOwner = nullptr) : TCustomAxisPanel(AOwner) {}

    void FitChartRectTo3D() override { ComputeDepthSizes(); }
    int WallSizeForAxis(const TChartAxis&) const override { return 0; }
    void PaintLegendAndTitles(bool) override {}
    void PaintWalls() override {}
    bool IsColorFree(TColor Color, bool, const TChartSeries* SkipSeries) const override
    {
        for (int i = 0; i < CountSeries(); ++i)
            if (SeriesAt(i) != SkipSeries && SeriesAt(i)->SeriesColor() == Color) return false;
        return true;
    }
    bool IsZoomed() const override { return Zoomed; }
    void UndoZoom() override { ++UndoZoomCalls; }
    void Invalidate() override
    {
        ++Invalidations;
        TCustomAxisPanel::Invalidate();
    }

    bool Zoomed = false;
    int UndoZoomCalls = 0;
    int Invalidations = 0;
};

// A series kind that publishes the series properties, as the concrete kinds do.
class TTestSeries : public TChartSeries {
public:
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info({.Name = "TTestSeries",
                                      .Parent = &TChartSeries::StaticClassInfo(),
                                      .Properties = TChartSeries::PublishedSeriesProperties()});
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

    explicit TTestSeries(TComponent* AOwner = nullptr) : TChartSeries(AOwner) {}
    using TChartSeries::MakeXMandatory;
    using TChartSeries::SetKeepOneBeyond;
};

// The chart drawing on a recording device in a 2-D view, with a fixed chart rectangle.
struct TRecordedChart {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(600, 400);
    TCanvas Device{Recorder};
    TTestChart Chart;

    explicit TRecordedChart(const TRect& chartRect = {50, 20, 450, 320})
    {
        Chart.SetView3D(false);
        Chart.SetBufferedDisplay(false);
        Chart.ChartCanvas().SetupView(&Device, &Chart.View3DOptions(), clWhite, false, {0, 0, 600, 400});
        Chart.SetCustomChartRect(true);
        Chart.SetChartRect(chartRect);
        Chart.RecalcChartRect();
    }

    // The axis' range from its series and its pixel span from the chart rectangle.
    void Scale(TChartAxis& axis)
    {
        axis.ComputeAutoRange();
        axis.CalcPixelRange();
    }

    // Texts written since the last Clear, with the coordinate along the axis (x for a horizontal axis).
    std::vector<std::pair<int, std::string>> Texts(bool horizontal) const
    {
        std::vector<std::pair<int, std::string>> out;
        for (const auto* r : Recorder->OfKind("TextOut")) out.emplace_back(r->Args[horizontal ? 0 : 1], r->Text);
        return out;
    }

    struct TSegment {
        int x0, y0, x1, y1;
        bool operator==(const TSegment&) const = default;
    };
    // Lines drawn since the last Clear (MoveTo/LineTo pairs), in logical pixels.
    std::vector<TSegment> Segments() const
    {
        std::vector<TSegment> out;
        for (const auto* r : Recorder->OfKind("LineTo")) {
            const auto& pts = r->Shape.Stroke.at(0).Points;
            out.push_back({static_cast<int>(pts.front().x), static_cast<int>(pts.front().y),
                           static_cast<int>(pts.back().x), static_cast<int>(pts.back().y)});
        }
        return out;
    }
};
