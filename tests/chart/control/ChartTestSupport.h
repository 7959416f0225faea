// Pieces the chart control's tests share: series kinds (one drawn as a line through its points, one that
// uses no axes), a chart that keeps the chart rectangle before and after the titles-and-legend pass, and
// a chart drawn on the recording backend's fixed metrics or on a bitmap.
#pragma once

#include "chart/control/Chart.h"
#include "chart/engine/LumEngine.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// A series drawn as a polyline through its points, in its colour.
class TLineTestSeries : public TChartSeries {
public:
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info({.Name = "TLineTestSeries",
                                      .Parent = &TChartSeries::StaticClassInfo(),
                                      .Properties = TChartSeries::PublishedSeriesProperties(),
                                      .Create = &CreateComponentOf<TLineTestSeries>});
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
    explicit TLineTestSeries(TComponent* AOwner = nullptr) : TChartSeries(AOwner) {}

    void PaintPoint(int Index) override
    {
        TCanvas3D& canvas = ParentChart()->ChartCanvas();
        canvas.Pen().SetStyle(psSolid);
        canvas.Pen().SetWidth(3);
        canvas.Pen().SetColor(PointColor(Index));
        const int x = ScreenXOf(Index), y = ScreenYOf(Index);
        if (Index == FirstVisible())
            canvas.MoveToAtZ(x, y, MiddleZ());
        else
            canvas.LineToAtZ(x, y, MiddleZ());
    }
};

// A second kind, so that class changes have somewhere to go.
class TOtherTestSeries : public TLineTestSeries {
public:
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info({.Name = "TOtherTestSeries",
                                      .Parent = &TLineTestSeries::StaticClassInfo(),
                                      .Create = &CreateComponentOf<TOtherTestSeries>});
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
    explicit TOtherTestSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
};

// A series drawn without axes (as pies are): walls do not belong to it.
class TNoAxesTestSeries : public TLineTestSeries {
public:
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info({.Name = "TNoAxesTestSeries",
                                      .Parent = &TLineTestSeries::StaticClassInfo(),
                                      .Create = &CreateComponentOf<TNoAxesTestSeries>});
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
    explicit TNoAxesTestSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
    bool UsesAxes() const override { return false; }
    void PaintPoint(int) override {}
};

// A chart that keeps the chart rectangle around the first titles-and-legend pass.
class TProbeChart : public TChart {
public:
    explicit TProbeChart(TComponent* AOwner = nullptr) : TChart(AOwner) {}
    void PaintLegendAndTitles(bool BeforeSeries) override
    {
        if (BeforeSeries) Before = ChartRect();
        TChart::PaintLegendAndTitles(BeforeSeries);
        if (BeforeSeries) After = ChartRect();
    }
    TRect Before, After;
};

// Appends a series of values (x = 0, 1, ...) to a chart; the chart frees it.
template <class T = TLineTestSeries>
T& AddSeries(TCustomAxisPanel& Chart, const std::vector<double>& Ys, const std::string& Title = {})
{
    auto* s = new T(&Chart);
    for (std::size_t i = 0; i < Ys.size(); ++i) s->InsertPoint(double(i), Ys[i]);
    s->SetTitle(Title);
    s->SetParentChart(&Chart);
    return *s;
}

// A chart drawn in full on the recording backend (fixed font metrics), in 2-D unless asked otherwise.
struct TRecordedChart {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(600, 400);
    TCanvas Device{Recorder};
    TProbeChart Chart;

    TRecordedChart()
    {
        Chart.SetView3D(false);
        Chart.SetBufferedDisplay(false);
        Chart.SetBounds(0, 0, 600, 400);
    }
    void Draw()
    {
        Recorder->Clear();
        Chart.DrawOnCanvas(Device, {0, 0, 600, 400});
    }
    // The texts written, with their x and y.
    struct TText {
        int X, Y;
        std::string Text;
    };
    std::vector<TText> Texts() const
    {
        std::vector<TText> out;
        for (const auto* r : Recorder->OfKind("TextOut")) out.push_back({r->Args[0], r->Args[1], r->Text});
        return out;
    }
    // The first text written with that content; y -1 when none.
    TText Find(const std::string& Text) const
    {
        for (const TText& t : Texts())
            if (t.Text == Text) return t;
        return {-1, -1, Text};
    }
    bool Has(const std::string& Text) const { return Find(Text).Y != -1; }
    // The height of "W" and the width of a text in a font, on the recorder's fixed metrics.
    int CharHeight(const TFont& Font) { return TextSize(Font, "W").cy; }
    int TextWidth(const TFont& Font, const std::string& Text) { return TextSize(Font, Text).cx; }
    TSize TextSize(const TFont& Font, const std::string& Text)
    {
        TCanvas measure(Recorder);
        measure.Font().Assign(Font);
        return measure.TextExtent(Text);
    }
};

// The chart drawn on a bitmap of its size.
inline std::unique_ptr<TBitmap> RenderChart(TCustomChart& Chart)
{
    auto bitmap = std::make_unique<TBitmap>(Chart.Width(), Chart.Height());
    Chart.DrawOnCanvas(bitmap->Canvas(), Chart.ChartBounds());
    return bitmap;
}
