// The chart element, base of everything a chart holds as a component of its own (series and tools): an
// Active switch, a pen and a brush that repaint the chart, the link to the chart, and the store-and-
// repaint helpers of every property writer of the engine. TCustomChartSeries adds what a chart needs of
// any series before values exist: legend visibility, title, identifier, editor flags, the margins asked
// of the axes and the hooks the chart calls when the series joins or leaves it.
#pragma once

#include "chart/base/LumCanvasStyles.h"
#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/Classes.h"

#include <cstdint>
#include <memory>
#include <string>

class TCustomChartElement : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomChartElement(TComponent* AOwner);
    // Frees pen and brush and leaves the chart (descendants leave it first, through their own writer).
    ~TCustomChartElement() override;

    // From another element copies Active, Brush, Pen and Tag; other sources go to the inherited copy.
    void Assign(const TPersistent& Source) override;

    // A pen or brush changed: repaint the chart.
    virtual void StyleChanged(TPersistent* Sender);
    // The class name of the element kind's editor form; empty when it has none.
    virtual std::string EditorFormName() const { return {}; }

    bool Active() const { return FActive; }
    virtual void SetActive(bool Value);
    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    // Stores the chart; series and tools also join and leave the chart's lists.
    virtual void SetParentChart(TCustomAxisPanel* Value);
    TChartBrush& Brush() const { return *FBrush; }
    void SetBrush(const TChartBrush& Value) { FBrush->Assign(Value); }
    TChartPen& Pen() const { return *FPen; }
    virtual void SetPen(const TChartPen& Value);
    bool ShowInEditor() const { return FShowInEditor; }
    void SetShowInEditor(bool Value) { FShowInEditor = Value; }
    // Design-time lists of series leave an element with this flag out.
    bool InternalUse() const { return FInternalUse; }
    void SetInternalUse(bool Value) { FInternalUse = Value; }

    // A new chart pen reporting to StyleChanged.
    std::unique_ptr<TChartPen> CreateChartPen();
    // Repaints the chart when there is one.
    void InvalidateChart();

    // Store-and-repaint helpers: only a value that differs is stored, and then the chart repaints.
    void SetBooleanField(bool& Field, bool Value);
    void SetColorField(TColor& Field, TColor Value);
    // Compares with not-equal.
    void SetFloatField(double& Field, double Value);
    void SetIntegerField(int& Field, int Value);
    void SetStringField(std::string& Field, const std::string& Value);

    // Streaming as a child of the chart: the parent is the chart; another component is ignored.
    TComponent* GetParentComponent() const;
    void SetParentComponent(TComponent* Value) override;
    bool HasParent() const { return true; }

protected:
    // The writer's plain store, for RemovedFromChart and destructors.
    void ForgetParentChart() { FParentChart = nullptr; }
    // A pen of another kind (its own stored defaults) in place of the element's; at construction only.
    void ReplacePen(std::unique_ptr<TChartPen> Value) { FPen = std::move(Value); }

private:
    bool FActive = true;
    std::unique_ptr<TChartBrush> FBrush;
    TCustomAxisPanel* FParentChart = nullptr;
    std::unique_ptr<TChartPen> FPen;
    bool FShowInEditor = true;
    bool FInternalUse = false;
};

// The class name of an element kind's editor form, as the element answers it.
std::string EditorNameOfClass(const TCustomChartElement& Element);

// An object an editor's series list box gives the chart: told whenever a series' title, colour or Active
// switch changes.
class ISeriesListObserver {
public:
    virtual ~ISeriesListObserver() = default;
    virtual void SeriesListChanged() = 0;
};

class TCustomChartSeries : public TCustomChartElement {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomChartSeries(TComponent* AOwner);

    // Copies ShowInLegend, Title, the editor flags and Identifier, then the element's fields.
    void Assign(const TPersistent& Source) override;

    // Extra pixels the series asks of its horizontal (vertical) axis beside the automatic ends.
    virtual void HorizMargins(int& Left, int& Right) { Left = Right = 0; }
    virtual void VertMargins(int& Top, int& Bottom) { Top = Bottom = 0; }
    // Called for each Active series before the chart lays out and draws; overrides call it first.
    virtual void PrepareForDraw() {}

    // Called by the chart when it adds the series: after the series' chart link is set, before the
    // series is appended to its list.
    virtual void AddedToChart() {}
    // The chart's 3-D view was switched.
    virtual void SetParentView3D(bool Value);
    // Clears the chart link (the field, not through the writer).
    virtual void RemovedFromChart() { ForgetParentChart(); }

    // Same class, or one descends from the other.
    bool ClassesRelated(const TPersistent& Other) const;
    // Tells the chart's series-list observer, when there is one.
    void NotifySeriesObserver();

    // The element's writer, then the Active event to the chart's listeners and the observer.
    void SetActive(bool Value) override;
    bool ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool Value) { SetBooleanField(FShowInLegend, Value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    const std::string& Identifier() const { return FIdentifier; }
    void SetIdentifier(const std::string& Value) { FIdentifier = Value; }
    // Six bits (1, 2, 4, 8, 0x10, 0x20) the editors read; streamed as "Style".
    std::uint8_t EditorFlags() const { return FEditorFlags; }
    void SetEditorFlags(std::uint8_t Value) { FEditorFlags = Value & 0x3F; }

private:
    void SendSeriesEvent(std::uint8_t Kind);

    bool FShowInLegend = true;
    std::string FTitle;
    std::string FIdentifier;
    std::uint8_t FEditorFlags = 0;
};
