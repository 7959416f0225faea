// The two-way splitter (TuiBiSplit) and its panes: a container divided by one movable bar, side by side or
// one above the other. The bar is set in pixels or in percent, limited, locked, moved by the arrow keys
// and dragged with an inverted line (or live). Panes are child windows the splitter lays out; whatever
// stands in a pane fills it.
#pragma once

#include "ui/uipanel.h"
#include "ui/uiscrol.h"

#include <memory>
#include <vector>

class TuiCustomSplit;
class TuiSplitDragLine;

enum TuiBiSplitLayout { bslVert, bslHorz };
inline const TEnumNames uiBiSplitLayoutNames{"bslVert", "bslHorz"};
enum TuiSplitMoveStyle { amsBlack, amsDark, amsMedium, amsMediumLight, amsLight, amsNoLine, amsImmediate };
inline const TEnumNames uiSplitMoveStyleNames{"amsBlack", "amsDark", "amsMedium", "amsMediumLight", "amsLight",
                                              "amsNoLine", "amsImmediate"};

// The two-way move cursor of the splitter's cursor slot ("ABCCRSIZE").
constexpr TCursor crSplitMove = -23;

// ---- Panes -----------------------------------------------------------------------------------------------

// What makes a window a pane: its splitter, its place in the splitter's list, and the rule that its
// parent is a splitter or nothing. Both pane classes carry one.
class TuiPaneLink {
public:
    TuiCustomSplit* Splitter() const { return FSplitter; }
    // The index in the splitter's pane list; -1 without a splitter.
    int PaneIndex() const;
    // Moves the pane to that index and realigns; nothing without a splitter; EListError "%d is an
    // invalid PaneIndex value.  PaneIndex must be between 0 and %d" above the last index, the list's
    // own error below 0.
    void SetPaneIndex(int v);

protected:
    explicit TuiPaneLink(TWinControl& self) : FSelf(self) {}
    ~TuiPaneLink() = default;
    // A parent that is not a splitter cancels the assignment silently (EAbort); a splitter parent
    // takes the pane into its list (leaving the old splitter first).
    void AssignParent(TWinControl* parent);
    void LeaveSplitter();

private:
    friend class TuiCustomSplit;
    TWinControl& FSelf;
    TuiCustomSplit* FSplitter = nullptr;
};

class TuiSplitPane : public TWinControl, public TuiPaneLink {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiSplitPane(TComponent* AOwner);
    ~TuiSplitPane() override;
    void SetParent(TWinControl* parent) { AssignParent(parent); }

protected:
    // The controls in a pane fill it.
    void Resize() override;
};

class TuiScrollingSplitPane : public TuiCustomScrollBox, public TuiPaneLink {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiScrollingSplitPane(TComponent* AOwner);
    ~TuiScrollingSplitPane() override;
    void SetParent(TWinControl* parent) { AssignParent(parent); }

protected:
    // After the scroll box has scrolled, the splitter hears of it.
    void WMScroll(int Bar, int Code, int& Pos) override;
};

// ---- The splitter --------------------------------------------------------------------------------------

class TuiCustomSplit : public TuiCustomEdgePanel {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiCustomSplit(TComponent* AOwner);
    ~TuiCustomSplit() override;

    void Loaded() override;

    // --- Positions: pixels of the bar's centre, and the same in percent of the size.
    int SplitHPos() const { return FSplitHPos; }
    void SetSplitHPos(int v);
    int SplitVPos() const { return FSplitVPos; }
    void SetSplitVPos(int v);
    int SplitHPercent() const { return FSplitHPercent; }
    void SetSplitHPercent(int v);
    int SplitVPercent() const { return FSplitVPercent; }
    void SetSplitVPercent(int v);
    // Limits (0: none); a write that contradicts the other limit or the size is ignored.
    int SplitHMin() const { return FSplitHMin; }
    void SetSplitHMin(int v);
    int SplitHMax() const { return FSplitHMax; }
    void SetSplitHMax(int v);
    int SplitVMin() const { return FSplitVMin; }
    void SetSplitVMin(int v);
    int SplitVMax() const { return FSplitVMax; }
    void SetSplitVMax(int v);
    bool SplitHLock() const { return FSplitHLock; }
    void SetSplitHLock(bool v) { FSplitHLock = v; }
    bool SplitVLock() const { return FSplitVLock; }
    void SetSplitVLock(bool v) { FSplitVLock = v; }
    // A resize keeps the percent instead of the pixel position.
    bool SplitHScaled() const { return FSplitHScaled; }
    void SetSplitHScaled(bool v) { FSplitHScaled = v; }
    bool SplitVScaled() const { return FSplitVScaled; }
    void SetSplitVScaled(bool v) { FSplitVScaled = v; }
    // The bar's band: its two edge lines.
    int HBandLow() const { return FHBandLow; }
    int HBandHigh() const { return FHBandHigh; }
    int VBandLow() const { return FVBandLow; }
    int VBandHigh() const { return FVBandHigh; }

    // --- Look and behaviour.
    int Thickness() const { return FThickness; }
    void SetThickness(int v);                 // 1..10
    TBevelCut SplitBevel() const { return FSplitBevel; }
    void SetSplitBevel(TBevelCut v);
    TColor SplitColor() const { return FSplitColor; }
    void SetSplitColor(TColor v);
    TuiSplitMoveStyle SplitMoveStyle() const { return FSplitMoveStyle; }
    void SetSplitMoveStyle(TuiSplitMoveStyle v) { FSplitMoveStyle = v; }
    bool MoveImmediate() const { return FSplitMoveStyle == amsImmediate; }
    void SetMoveImmediate(bool v);
    int KeyIncrement() const { return FKeyIncrement; }
    void SetKeyIncrement(int v) { FKeyIncrement = v; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    // The panel's frame: each change recomputes the edge width and applies both positions again.
    void SetBevelInner(TBevelCut v);
    void SetBevelOuter(TBevelCut v);
    void SetBevelWidth(int v);
    void SetBorderWidth(int v);
    // BorderWidth plus BevelWidth for each bevel that is not bvNone.
    int EdgeWidth() const { return FEdgeWidth; }

    // --- Panes.
    int PaneListCount() const { return static_cast<int>(FPanes.size()); }
    TWinControl* Pane(int index) const;
    void AddPane(TWinControl* pane);
    void RemovePane(TWinControl* pane);
    void RealignPanes();
    // Creates panes of PaneClass (owner: the splitter's owner) until there are PaneCount.
    void CreatePanes();
    virtual int PaneCount() const { return 0; }
    // A new pane of the splitter's pane class.
    virtual TWinControl* NewPane(TComponent* owner);

    // --- Geometry.
    TPoint ClampSplitPoint(TPoint p) const;
    void SetSplitPoint(TPoint p);
    // The cursor shown over a point (the split cursors over the bar), before the lock rule.
    virtual TCursor CursorAt(int x, int y) const { (void)x; (void)y; return crDefault; }
    // Where a drag at the point puts the bar.
    virtual TPoint DragPoint(int x, int y) const { (void)x; (void)y; return {0, 0}; }
    // The cursor shown over the point after the lock rule, and whether a drag is running.
    TCursor CurrentCursor() const { return FCurrentCursor; }
    bool Dragging() const { return FDragging; }
    // The drag line's window (nullptr while no line is shown).
    TWinControl* DragLine() const;

    TNotifyEvent OnSplitMoveH, OnSplitMoveV;

    // Scroll messages of a scrolling pane (after the pane has scrolled).
    virtual void PaneScrolledH(TWinControl* Pane, int Code, int Pos) { (void)Pane; (void)Code; (void)Pos; }
    virtual void PaneScrolledV(TWinControl* Pane, int Code, int Pos) { (void)Pane; (void)Code; (void)Pos; }

protected:
    virtual void DestroyPanes();
    // The band rectangle of the drag line at a point, in client pixels (empty: none).
    virtual TRect DragBarRect(TPoint p) const { (void)p; return {}; }
    virtual void DrawSplitBar(TCanvas& Canvas, const TRect& R, TColor Colour1, TColor Colour2)
    {
        (void)Canvas; (void)R; (void)Colour1; (void)Colour2;
    }
    virtual void AlignPanes(const TRect& R) { (void)R; }

    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    // Whether the splitter takes an arrow key itself (all four here).
    virtual bool WantsArrow(std::uint16_t Key) const { (void)Key; return true; }

    bool Loading() const { return ComponentState().Contains(csLoading); }

private:
    friend class TuiPaneLink;
    void UpdateSplitH(int v);
    void UpdateSplitV(int v);
    void ApplyPositions();
    void UpdateEdgeWidth();
    TCursor LockedCursor(TCursor c) const;
    void ShowDragLine(TPoint p);
    void HideDragLine();

    bool FApplied = false;
    TuiSplitMoveStyle FSplitMoveStyle = amsBlack;
    int FEdgeWidth = 1;
    TCursor FCursor = crDefault;
    int FKeyIncrement = 10;
    TPoint FLastDragPoint;
    TCursor FCurrentCursor = crDefault;
    bool FDragging = false;
    std::vector<TWinControl*> FPanes;
    TBevelCut FSplitBevel = bvRaised;
    TColor FSplitColor = clBtnFace;
    TBorderStyle FBorderStyle = bsNone;
    bool FSplitHLock = false, FSplitVLock = false;
    int FSplitHMax = 0, FSplitHMin = 0, FSplitVMax = 0, FSplitVMin = 0;
    int FHBandLow = 48, FHBandHigh = 51, FVBandLow = 48, FVBandHigh = 51;
    int FSplitHPercent = 0, FSplitVPercent = 0;
    int FSplitHPos = 50, FSplitVPos = 50;
    bool FSplitHScaled = false, FSplitVScaled = false;
    int FThickness = 2;
    bool FDestroying = false;
    std::unique_ptr<TuiSplitDragLine> FDragLine;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TuiCustomBiSplit : public TuiCustomSplit {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiCustomBiSplit(TComponent* AOwner);

    TuiBiSplitLayout Layout() const { return FLayout; }
    void SetLayout(TuiBiSplitLayout v);

    int PaneCount() const override { return 2; }
    TCursor CursorAt(int x, int y) const override;
    TPoint DragPoint(int x, int y) const override;

protected:
    TRect DragBarRect(TPoint p) const override;
    void DrawSplitBar(TCanvas& Canvas, const TRect& R, TColor Colour1, TColor Colour2) override;
    void AlignPanes(const TRect& R) override;
    bool WantsArrow(std::uint16_t Key) const override;

private:
    TuiBiSplitLayout FLayout = bslVert;
};

class TuiBiSplit : public TuiCustomBiSplit {
    VSP_PERSISTENT_CLASS
public:
    // Created in code, it makes its two panes (TuiSplitPane) at once.
    explicit TuiBiSplit(TComponent* AOwner);
    TWinControl* NewPane(TComponent* owner) override;
};
