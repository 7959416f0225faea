// Scroll bars that a chart paints itself as tools: TLumScrollBar (body, arrows, thumb, driven by the chart's
// mouse events and a repeat timer; position, maximum and page size come from virtual operations) and
// TLegendScrollBar, which pages the chart's legend (or the chart's pages) and widens the legend to hold
// itself. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class TChartLegend;
class TLumGradient;
class TTimer;

enum TLumScrollBarDrawStyle { dsAlways, dsWhenNeeded };

class TLumScrollBar;
using TSetPositionEvent = std::function<void(TLumScrollBar* Sender, int Value)>;

class TLumScrollBar : public TLumCustomTool {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumScrollBar(TComponent* AOwner);
    ~TLumScrollBar() override;

    std::string EditorFormName() const override { return "TScrollBarEditor"; }
    std::string DescriptionText() const override { return "Scrollbar"; }
    // Paints at the end of the chart's drawing.
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void SetParentChart(TCustomAxisPanel* Value) override;

    // ---- Settings ----
    TChartBrush& ArrowBrush() const { return *FArrowBrush; }
    TChartBrush& ThumbBrush() const { return *FThumbBrush; }
    TLumGradient& Gradient() const { return *FGradient; }
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    TBevelCut Bevel() const { return FBevel; }
    void SetBevel(TBevelCut Value);
    int MinThumbSize() const { return FMinThumbSize; }
    void SetMinThumbSize(int Value);
    int Size() const { return FSize; }
    // Repaints and fires OnChangeSize on a change only.
    void SetSize(int Value);
    bool AutoRepeat = true;
    TLumScrollBarDrawStyle DrawStyle = dsAlways;
    int InitialDelay = 250;

    TNotifyEvent OnChangeSize;
    TNotifyEvent OnScrolled;
    TSetPositionEvent OnSetPosition;

    // ---- What descendants give ----
    // The position change for a move of the mouse from Old to New pixels along the bar.
    virtual double PixelDeltaToPosition(int New, int Old);
    virtual int GetPageSize();
    // One press on the track moves by this: a quarter page.
    virtual int GetLargeStep();
    virtual int GetPosition();
    virtual void SetPosition(int Value);
    // Fills Rect with the rectangle the bar stands beside; false when no bar is shown.
    virtual bool GetHostRect(TRect& Rect);
    virtual int GetMaxPosition();

    // ---- State of the last paint and press ----
    std::array<TPoint, 3> StartArrowPoints{};
    std::array<TPoint, 3> EndArrowPoints{};
    int ThumbStart = 0, ThumbSize = 0, ThumbEnd = 0;
    bool ThumbDragging = false, StartArrowDown = false, EndArrowDown = false;
    TPoint LastMouse;
    bool Horizontal = false;
    TRect HostRect;
    int Position = 0;
    int MaxPosition = 0;
    int PageSize = 0;
    // Made at the first press that repeats.
    TTimer* RepeatTimer() const { return FRepeatTimer.get(); }

    // The rectangles of the bar's parts for HostRect (left, top, right, bottom as drawn).
    TRect BarRect() const;
    TRect TrackRect() const;
    TRect StartArrowRect() const;
    TRect EndArrowRect() const;
    TRect ThumbRect() const;
    // Thumb extent and arrow triangles for HostRect and the current position.
    void ComputeThumb();
    void ComputeArrows();

    void MouseDownAt(TPoint P);
    void MouseMoveAt(int X, int Y, TShiftState Shift);
    void MouseRelease();
    // Moves by Delta positions (clamped to the range); with StartTimer the repeat timer starts.
    void ScrollBy(double Delta, bool StartTimer);

private:
    void Paint();
    void RepeatTick();

    std::unique_ptr<TChartBrush> FArrowBrush;
    std::unique_ptr<TChartBrush> FThumbBrush;
    std::unique_ptr<TLumGradient> FGradient;
    std::unique_ptr<TTimer> FRepeatTimer;
    TColor FBackColor = clScrollBar;
    TBevelCut FBevel = bvRaised;
    int FMinThumbSize = 4;
    int FSize = 18;
};

// Pages the parent chart's legend (its first shown item), or the chart's pages when it is paged.
class TLegendScrollBar : public TLumScrollBar {
    VSP_PERSISTENT_CLASS
public:
    explicit TLegendScrollBar(TComponent* AOwner);
    // Takes its hook off the legend.
    ~TLegendScrollBar() override;

    std::string DescriptionText() const override;
    // The old chart's legend loses the hook, the new one's gets it.
    void SetParentChart(TCustomAxisPanel* Value) override;

    int GetPageSize() override;
    int GetLargeStep() override;
    int GetPosition() override;
    void SetPosition(int Value) override;
    bool GetHostRect(TRect& Rect) override;
    int GetMaxPosition() override;

    TChartLegend* Legend = nullptr;

protected:
    // Forgets the chart that is being freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Paging() const;
    // The legend's size hook: Size + 1 more while the bar shows.
    void SizeHook(int& Size);
    void Unhook();
    TCustomAxisPanel* FHookedChart = nullptr;
};

// Registers the legend scroll bar with the chart's tool registry (the chart control's start-up calls it).
void LumLegendScrollBarInitialization();
void LumLegendScrollBarFinalization();
