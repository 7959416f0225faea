// The base classes of chart tools (non-visual components attached to a chart that paint at fixed stages
// of its drawing and may take part in its mouse handling): a plain tool, a tool bound to a series, a
// tool bound to an axis; and the chart's tool list, whose order is the order of stage notices, mouse
// dispatch and streaming.
#pragma once

#include "chart/engine/LumEngineElement.h"
#include "platform/controls/Controls.h"

#include <cstdint>
#include <string>
#include <vector>

// What the mouse did, as tools number it (a distinct type from the listeners' numbering: compare by
// name, never by number).
enum class TChartMouseKind : std::uint8_t { Press = 0, Move = 1, Release = 2 };

class TLumCustomTool : public TCustomChartElement {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumCustomTool(TComponent* AOwner);
    // Leaves its chart's tool list.
    ~TLumCustomTool() override;

    // A stage of the chart's drawing (2 start, 3 axes, 1 before series, 4 after series, 0 end, 5 mouse
    // left); the base does nothing.
    virtual void NotifyChartStage(int) {}
    // A mouse event of the chart; a tool that takes it sets the chart's handled flag.
    virtual void HandleChartMouse(TChartMouseKind, TMouseButton, TShiftState, int, int) {}
    // The tool kind's text in the tools gallery; empty here.
    virtual std::string DescriptionText() const { return {}; }
    // Leaves the old chart's list (repainting it only when the tool leaves every chart), stores the
    // chart, joins the new chart's list.
    void SetParentChart(TCustomAxisPanel* Value) override;

    // Tools that paint in the series stages paint after the series (stage 4) instead of before (1).
    bool DrawAfterSeries = false;
};

class TLumCustomToolSeries : public TLumCustomTool {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumCustomToolSeries(TComponent* AOwner) : TLumCustomTool(AOwner) {}

    std::string EditorFormName() const override { return "TSeriesToolEditor"; }
    TChartSeries* Series() const { return FSeries; }
    // Moves the free notification from the old series to the new one.
    virtual void SetSeries(TChartSeries* Value);
    // The series' axis; without a series the top (right) axis when only it has series, else the
    // bottom (left) axis.
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TChartSeries* FSeries = nullptr;
};

class TLumCustomToolAxis : public TLumCustomTool {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumCustomToolAxis(TComponent* AOwner) : TLumCustomTool(AOwner) {}

    std::string EditorFormName() const override { return "TAxisToolEditor"; }
    TChartAxis* Axis() const { return FAxis; }
    // Stores the axis; the tool's chart becomes the axis' chart (none for no axis), which repaints.
    virtual void SetAxis(TChartAxis* Value);
    // The chart lets go of an axis that is being destroyed.
    void ForgetAxis() { FAxis = nullptr; }

private:
    // The stream property "AxisID": the axis' index in its chart's axis list.
    void ReadAxisID(const TPropValue& Value);
    std::int64_t AxisID() const;

    TChartAxis* FAxis = nullptr;
};

class TChartTools {
public:
    explicit TChartTools(TCustomAxisPanel* Chart) : FChart(Chart) {}
    // Frees the tools.
    ~TChartTools() { Clear(); }
    TChartTools(const TChartTools&) = delete;
    TChartTools& operator=(const TChartTools&) = delete;

    TCustomAxisPanel* Chart() const { return FChart; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TLumCustomTool* GetTool(int Index) const;
    int IndexOf(const TLumCustomTool* Tool) const;
    // Gives the tool this list's chart (which appends it) and returns it.
    TLumCustomTool* AddTool(TLumCustomTool* Tool);
    // Frees the first tool while any remain (each leaves the list when freed).
    void Clear();
    // Every axis tool bound to the axis loses it.
    void ForgetAxis(const TChartAxis* Axis);

    // Used by the tools themselves when they join or leave the chart.
    void Append(TLumCustomTool* Tool) { FItems.push_back(Tool); }
    void Remove(const TLumCustomTool* Tool);

private:
    TCustomAxisPanel* FChart;
    std::vector<TLumCustomTool*> FItems;
};
