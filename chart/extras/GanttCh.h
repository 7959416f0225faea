// The gantt series: one horizontal bar per point from its start to its end value at its row (Y), drawn
// with the pointer's symbol, and connector lines from a bar to the bar of its next task. Qt-free.
#pragma once

#include "chart/series/SeriesLine.h"

class TGanttSeries : public TPointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TGanttSeries(TComponent* AOwner);
    ~TGanttSeries() override;

    // Then the point series' copy; ConnectingPen from another gantt series.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TGanttSeriesEditor"; }

    TChartValueList& StartValues() const { return XValues(); }
    void SetStartValues(const TChartValueList& Value) { SetXValues(Value); }
    TChartValueList& EndValues() const { return *FEndValues; }
    void SetEndValues(const TChartValueList& Value) { ReplaceValueListSettings(*FEndValues, Value); }
    // The index of the bar each bar connects to; -1: none.
    TChartValueList& NextTask() const { return *FNextTask; }
    void SetNextTask(const TChartValueList& Value) { ReplaceValueListSettings(*FNextTask, Value); }
    // The connector lines' pen (the line pen).
    TChartPen& ConnectingPen() const { return LinePen(); }
    void SetConnectingPen(const TChartPen& Value) { SetLinePen(Value); }

    int AddGanttColor(double Start, double End, double Y, const std::string& Label, TColor Color);
    int AddGantt(double Start, double End, double Y, const std::string& Label = {})
    {
        return AddGanttColor(Start, End, Y, Label, clDefault);
    }

    // A new bar has no next task.
    int InsertPoint(double X, double Y, const std::string& Label = {}, TColor Color = clDefault) override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PaintPoint(int Index) override;
    double HighestX() override;
    bool PointerHit(int Index, int PointX, int PointY, int X, int Y) const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    bool AcceptsSource(const TChartSeries* Series) const override;

private:
    TChartValueList* FEndValues;
    TChartValueList* FNextTask;
};

void GanttChInitialization();
