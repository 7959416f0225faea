// The marks every series owns: the framed text boxes a series can show at its points, with their text
// style, rotation and thinning, the per-point overrides (mark items) and the stored geometry of every
// mark (mark positions), which the series keeps in step with its points.
#pragma once

#include "chart/base/RadErareShapes.h"
#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/StringList.h"
#include "chart/engine/LumEngineMarksSymbol.h"
#include "chart/engine/LumEnginePointer.h"

#include <memory>
#include <vector>

// The geometry of one drawn mark; Custom marks one the user placed.
class TSeriesMarkPosition {
public:
    TPoint ArrowFrom;
    bool ArrowFix = false; // the computed arrow start is kept for a custom position
    TPoint ArrowTo;
    bool Custom = false;
    int Height = 0;
    TPoint LeftTop;
    int Width = 0;

    // From the left-top corner to the corner plus (Width, Height).
    TRect GetBoundsRect() const { return {LeftTop.x, LeftTop.y, LeftTop.x + Width, LeftTop.y + Height}; }
    // Copies the points and the size, not the two flags.
    void CopyFrom(const TSeriesMarkPosition& Other);
};

// One stored position (or none) per point index.
class TSeriesMarksPositions {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // The stored position, nil when none (also past the end).
    TSeriesMarkPosition* PositionAt(int Index) const;
    // Pads with empty entries, creates the position when missing, marks it custom and copies the geometry.
    void StoreCustomPosition(int Index, const TSeriesMarkPosition& Position);
    // The entry at Index, created (not custom) when missing.
    TSeriesMarkPosition& Ensure(int Index);
    bool HasCustomPositions() const;
    // Removes the entries of deleted points (bounded by the list's length).
    void DeleteRange(int Start, int Quantity);
    void ClearAll() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

class TSeriesMarks;

// A per-point mark shape with an optional text of its own.
class TMarksItem : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    explicit TMarksItem(TCustomLumPanel* Panel);

    // Made on first read; its changes repaint the panel.
    TStringList& Text();
    bool HasText() const { return FText != nullptr; }
    // A copy; nullptr frees it.
    void SetText(const TStringList* Value);

private:
    std::unique_ptr<TStringList> FText;
};

// The per-point items of the marks; entries may be empty.
class TMarksItems {
public:
    explicit TMarksItems(TSeriesMarks& Marks) : FMarks(Marks) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    // Pads the list and creates a missing item (colour of the marks' default, the item shadow).
    TMarksItem& ItemAt(int Index);
    bool HasItem(int Index) const;
    // Frees every item and repaints.
    void ClearItems();
    // Removes the entries of deleted points (bounded by the list's length).
    void DeleteRange(int Start, int Quantity);
    // Set while items are read from a stream: point clears then keep them.
    bool Loading = false;

private:
    TSeriesMarks& FMarks;
    std::vector<std::unique_ptr<TMarksItem>> FItems;
};

// The gradient of the marks' box: right to left, from silver-grey to white.
class TSeriesMarksGradient : public TLumGradient {
    VSP_PERSISTENT_CLASS
public:
    explicit TSeriesMarksGradient(TNotifyEvent OnChange = nullptr);
};

class TSeriesMarks : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    // The marks of a series: style smsLabel, every point, the info-background colour, not visible.
    explicit TSeriesMarks(TChartSeries* Series);
    ~TSeriesMarks() override;

    // From other marks: Angle, Clip, DrawEvery, Style, MultiLine, the items, then the shape's fields.
    void Assign(const TPersistent& Source) override;

    TChartSeries* Series() const { return FSeries; }
    int Angle() const { return FAngle; }
    void SetAngle(int Value);
    bool Clip() const { return FClip; }
    void SetClip(bool Value);
    int DrawEvery() const { return FDrawEvery; }
    void SetDrawEvery(int Value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle Value);
    TColor BackColor() const { return Color(); }
    void SetBackColor(TColor Value) { SetColor(Value); }
    // The series' middle depth, where marks are drawn in 3-D.
    int ZPosition() const { return FZPosition; }
    void SetZPosition(int Value) { FZPosition = Value; }

    TSeriesMarksPositions& Positions() { return FPositions; }
    TMarksItems& Items() { return FItems; }
    // The point's item when the index lies within the items (created when missing), else the marks.
    TLumCustomShape& ShapeForPoint(int Index);

    // ---- Callout and symbol ----
    // The connector and lift of the marks, made on first read (also through Arrow and ArrowLength).
    TMarksCallout& Callout();
    TMarksCallout* CalloutIfAny() const { return FCallout.get(); }
    // Nil frees the callout; a callout is copied into the (made) own one.
    void SetCallout(const TMarksCallout* Value);
    TWhitePen& Arrow() { return Callout().Arrow(); }
    void SetArrow(const TChartPen& Value) { Callout().SetArrow(Value); }
    int ArrowLength() { return Callout().Length(); }
    void SetArrowLength(int Value) { Callout().SetLength(Value); }
    // The small symbol in the point's colour inside each box, made on first read.
    TSeriesMarksSymbol& Symbol();
    TSeriesMarksSymbol* SymbolIfAny() const { return FSymbol.get(); }
    void SetSymbol(const TSeriesMarksSymbol* Value);
    // The panel, then the callout and the symbol get it.
    void SetParentPanel(TCustomLumPanel* Panel) override;

    // ---- Drawing and hit tests ----
    // One mark: its stored position applied, the connector, the box, the symbol and the text.
    void PaintMarkAt(int Index, TColor Color, TSeriesMarkPosition& Position, const std::string& Text);
    // Stores the computed geometry in the point's position, or replaces it by a user-placed one.
    void ApplyStoredPosition(int Index, TSeriesMarkPosition& Position);
    // The lines of a mark text centred in Rect (rotated by Angle).
    void DrawMarkText(const TRect& Rect, const std::string& Text);
    // The left-top corner of a box at the marks' depth: in a 3-D chart drawn through the device canvas
    // the arrow end is projected and the corner keeps its offset from it.
    TPoint ProjectLeftTop(TPoint ArrowTo, TPoint LeftTop) const;
    // The index of the last drawn mark whose box holds (X, Y) (edges included); -1 when none.
    int MarkAtPoint(int X, int Y) const;
    // The widest line of a point's mark text with the canvas' current font.
    int MarkTextWidth(int Index) const;
    // Moves Position up (or down) clear of each earlier mark First..Index-1 whose box it meets.
    void ShiftToAvoidOverlap(int First, int Index, TSeriesMarkPosition& Position);
    // A mark's box grown by its frame and toward its shadow, at the projected corner.
    TRect MarkBoundsWithShadow(int Index, const TSeriesMarkPosition& Position);
    // With a callout, lifts the position by its length and distance.
    void DrawMarkCallout(TSeriesMarkPosition& Position) const;

    // ---- Stream ----
    // "Items": the int32 item count, then each item's properties as a property list.
    void WriteItems(TStream& Stream);
    // Refuses (ChartException) a count below 0 or one whose smallest lists cannot fit the block.
    void ReadItems(TStream& Stream);

    // Colour 0x808080 and size 1, also as the shadow's stream defaults (marks and their items).
    static void InitItemShadow(TLumShadow& Shadow);
    // Every stored position loses its custom flag; the series repaints.
    void ClearCustomPositions();
    // Frees every stored position and, unless items are being read, every item.
    void ClearPositionsAndItems();
    // The series deleted points: their positions and items go.
    void DeletePointAt(int Index) { DeletePointRange(Index, 1); }
    void DeletePointRange(int Start, int Quantity);

protected:
    std::unique_ptr<TLumGradient> NewGradient(TNotifyEvent OnChange) override;

private:
    TChartSeries* FSeries;
    bool FClip = false;
    int FDrawEvery = 1;
    TMarksItems FItems;
    TSeriesMarksStyle FStyle = smsLabel;
    bool FMultiLine = false;
    TSeriesMarksPositions FPositions;
    int FZPosition = 0;
    int FAngle = 0;
    std::unique_ptr<TMarksCallout> FCallout;
    std::unique_ptr<TSeriesMarksSymbol> FSymbol;
};
