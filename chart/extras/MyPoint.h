// The line-point series (point symbols with guide lines to both axes) and the bar-join series (bars with
// a line joining the tops of consecutive bars). Qt-free.
#pragma once

#include "chart/series/SeriesBar.h"
#include "chart/series/SeriesLine.h"

#include <memory>

class TMyPointSeries : public TPointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TMyPointSeries(TComponent* AOwner);
    ~TMyPointSeries() override;

    // LinesPen from another line-point series, then the point series' copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TLinePointEditor"; }

    TChartPen& LinesPen() const { return *FLinesPen; }
    void SetLinesPen(const TChartPen& Value) { FLinesPen->Assign(Value); }

    void PaintPoint(int Index) override;

private:
    std::unique_ptr<TChartPen> FLinesPen;
};

class TBarJoinSeries : public TBarSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TBarJoinSeries(TComponent* AOwner);
    ~TBarJoinSeries() override;

    // JoinPen from another bar-join series, then the bar series' copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TBarJoinEditor"; }

    TChartPen& JoinPen() const { return *FJoinPen; }
    void SetJoinPen(const TChartPen& Value) { FJoinPen->Assign(Value); }

    void PrepareForDraw() override;
    void PaintBar(int Index, int Upper, int Lower) override;
    int DefaultSampleCount() const override { return 3; }
    void PrepareForGallery(bool Coloured) override;

private:
    std::unique_ptr<TChartPen> FJoinPen;
    bool FFirstBar = true;
    TRect FPrevious;
};

void MyPointInitialization();
void MyPointFinalization();
