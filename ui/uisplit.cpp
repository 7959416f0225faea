// The splitter: positions with their clamps, percents and bands, limits, the panes' bounds, the bar's
// painting, dragging with an inverted line or live, the arrow keys, resizing, and the panes themselves.
#include "ui/uisplit.h"

#include "platform/controls/Application.h"
#include "platform/controls/Screen.h"
#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"
#include "ui/uiexctl.h"

#include <algorithm>
#include <string>

namespace {

int Nearest(double v) { return PixelFromReal(v); }

// The two-way move cursor's image: arrows in all four directions.
const TCursorImage& TwoWayCursor()
{
    static const TCursorImage image{{"       X       ", "      XXX      ", "     X.X.X     ", "       X       ",
                                     "   X   X   X   ", "  X.   X   .X  ", " XXXXXXXXXXXXX ", "  X.   X   .X  ",
                                     "   X   X   X   ", "       X       ", "     X.X.X     ", "      XXX      ",
                                     "       X       "},
                                    7,
                                    6};
    return image;
}

// Unit start-up, done once before the first splitter or pane is made: the pane classes for form
// streaming and the cursor slot of the two-way cursor.
void StartUnit()
{
    static const bool started = [] {
        RegisterClass(TuiSplitPane::StaticClassInfo());
        RegisterClass(TuiScrollingSplitPane::StaticClassInfo());
        Screen->SetCursorImage(crSplitMove, TwoWayCursor());
        return true;
    }();
    (void)started;
}

bool InBand(int v, int low, int high) { return low <= v && (high == 0 || v <= high); }

// The pixel colour a drag line inverts with (XOR) at a point: the whole pixel for the black style, the
// checker's colour where x and y have the same parity for the patterned styles.
std::uint32_t PatternAt(TuiSplitMoveStyle style, int x, int y)
{
    if (style == amsBlack) return 0xFFFFFF;
    if ((x & 1) != (y & 1)) return 0;
    switch (style) {
    case amsDark: return 0xFFFFFF;
    case amsMedium: return 0xC0C0C0;
    case amsMediumLight: return 0x808080;
    default: return 0x404040;
    }
}

} // namespace

// ---- Drag line ---------------------------------------------------------------------------------------

// The drag line: a window over the bar's band showing the pixels that were there at button down, inverted
// with the style's pattern. Hiding it shows what is beneath again.
class TuiSplitDragLine : public TCustomControl {
public:
    TuiSplitDragLine(TuiCustomSplit& splitter, TPixelBuffer snapshot, TuiSplitMoveStyle style)
        : TCustomControl(nullptr), FSnapshot(std::move(snapshot)), FStyle(style)
    {
        SetParent(&splitter);
        Hide();
    }

    void ShowAt(const TRect& r)
    {
        FRect = r;
        // Made after the panes, the line stands above them.
        SetBounds(r.Left, r.Top, r.Width(), r.Height());
        Show();
        Invalidate();
        Update();
    }

protected:
    void Paint() override
    {
        TPixelBuffer px;
        px.Width = FRect.Width();
        px.Height = FRect.Height();
        px.Pixels.resize(static_cast<std::size_t>(px.Width) * px.Height);
        for (int y = 0; y < px.Height; ++y)
            for (int x = 0; x < px.Width; ++x) {
                const int sx = FRect.Left + x, sy = FRect.Top + y;
                const bool inside = sx >= 0 && sy >= 0 && sx < FSnapshot.Width && sy < FSnapshot.Height;
                const std::uint32_t under = inside ? FSnapshot.At(sx, sy) & 0xFFFFFF : 0xFFFFFF;
                px.At(x, y) = under ^ PatternAt(FStyle, sx, sy);
            }
        Canvas().StretchPixels(0, 0, px.Width, px.Height, px, 0, 0, px.Width, px.Height, SRCCOPY);
    }

private:
    TPixelBuffer FSnapshot;
    TuiSplitMoveStyle FStyle;
    TRect FRect;
};

// ---- Pane link -------------------------------------------------------------------------------------------

int TuiPaneLink::PaneIndex() const
{
    if (!FSplitter) return -1;
    for (int i = 0; i < FSplitter->PaneListCount(); ++i)
        if (FSplitter->Pane(i) == &FSelf) return i;
    return -1;
}

void TuiPaneLink::SetPaneIndex(int v)
{
    if (!FSplitter) return;
    const int last = FSplitter->PaneListCount() - 1;
    if (v > last)
        throw EListError(std::to_string(v) + " is an invalid PaneIndex value.  PaneIndex must be between 0 and " +
                         std::to_string(last));
    if (v < 0) throw EListError("List index out of bounds (" + std::to_string(v) + ")");
    auto& panes = FSplitter->FPanes;
    panes.erase(std::find(panes.begin(), panes.end(), &FSelf));
    panes.insert(panes.begin() + v, &FSelf);
    FSplitter->RealignPanes();
}

void TuiPaneLink::AssignParent(TWinControl* parent)
{
    auto* splitter = dynamic_cast<TuiCustomSplit*>(parent);
    if (parent && !splitter) Abort();
    if (splitter == FSplitter) return;
    LeaveSplitter();
    FSelf.TWinControl::SetParent(parent);
    if (splitter) splitter->AddPane(&FSelf);
}

void TuiPaneLink::LeaveSplitter()
{
    if (FSplitter) FSplitter->RemovePane(&FSelf);
}

// ---- Panes -----------------------------------------------------------------------------------------------

const TClassInfo& TuiSplitPane::StaticClassInfo()
{
    using P = TProps<TuiSplitPane>;
    static const TClassInfo info({
        .Name = "TuiSplitPane",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Integer("PaneIndex", &TuiSplitPane::PaneIndex, &TuiSplitPane::SetPaneIndex).NotStored(),
                       P::Integer("Left", &TuiSplitPane::Left, &TuiSplitPane::SetLeft).NotStored(),
                       P::Integer("Top", &TuiSplitPane::Top, &TuiSplitPane::SetTop).NotStored(),
                       P::Integer("Width", &TuiSplitPane::Width, &TuiSplitPane::SetWidth).NotStored(),
                       P::Integer("Height", &TuiSplitPane::Height, &TuiSplitPane::SetHeight).NotStored()},
        .Create = &CreateComponentOf<TuiSplitPane>,
    });
    return info;
}

TuiSplitPane::TuiSplitPane(TComponent* AOwner) : TWinControl(AOwner), TuiPaneLink(static_cast<TWinControl&>(*this))
{
    StartUnit();
}

TuiSplitPane::~TuiSplitPane() { LeaveSplitter(); }

void TuiSplitPane::Resize()
{
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetBounds(0, 0, Width(), Height());
    TWinControl::Resize();
}

const TClassInfo& TuiScrollingSplitPane::StaticClassInfo()
{
    using P = TProps<TuiScrollingSplitPane>;
    static const TClassInfo info({
        .Name = "TuiScrollingSplitPane",
        .Parent = &TuiCustomScrollBox::StaticClassInfo(),
        .Properties = {P::Integer("PaneIndex", &TuiScrollingSplitPane::PaneIndex, &TuiScrollingSplitPane::SetPaneIndex)
                           .NotStored()},
        .Defaults = {{"BorderStyle", bsNone}},
        .Create = &CreateComponentOf<TuiScrollingSplitPane>,
    });
    return info;
}

TuiScrollingSplitPane::TuiScrollingSplitPane(TComponent* AOwner)
    : TuiCustomScrollBox(AOwner), TuiPaneLink(static_cast<TWinControl&>(*this))
{
    StartUnit();
    SetBorderStyle(bsNone);
}

TuiScrollingSplitPane::~TuiScrollingSplitPane() { LeaveSplitter(); }

void TuiScrollingSplitPane::WMScroll(int Bar, int Code, int& Pos)
{
    TuiCustomScrollBox::WMScroll(Bar, Code, Pos);
    if (TuiCustomSplit* s = Splitter()) {
        if (Bar == SB_HORZ)
            s->PaneScrolledH(this, Code, Pos);
        else
            s->PaneScrolledV(this, Code, Pos);
    }
}

// ---- TuiCustomSplit -------------------------------------------------------------------------------------

const TClassInfo& TuiCustomSplit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TuiCustomSplit", .Parent = &TuiCustomEdgePanel::StaticClassInfo()});
    return info;
}

TuiCustomSplit::TuiCustomSplit(TComponent* AOwner) : TuiCustomEdgePanel(AOwner)
{
    StartUnit();
    TCustomPanel::SetBevelOuter(bvRaised);
    TCustomPanel::SetBevelWidth(1);
    SetBounds(Left(), Top(), 100, 100);
    // Made in code (not read from a form): the positions count as applied at once.
    const bool loading = Loading() || (AOwner && AOwner->ComponentState().Contains(csLoading));
    FApplied = !loading;
    if (FApplied) ApplyPositions();   // the percents of the starting positions
    Invalidate();
}

TuiCustomSplit::~TuiCustomSplit()
{
    FDestroying = true;
    FAlive.reset();
    FDragLine.reset();
    DestroyPanes();
}

void TuiCustomSplit::DestroyPanes()
{
    while (!FPanes.empty()) {
        TWinControl* pane = FPanes.back();
        FPanes.pop_back();
        if (auto* link = dynamic_cast<TuiPaneLink*>(pane)) link->FSplitter = nullptr;
        pane->Free();
    }
}

TWinControl* TuiCustomSplit::Pane(int index) const
{
    if (index < 0 || index >= PaneListCount()) return nullptr;
    return FPanes[static_cast<std::size_t>(index)];
}

void TuiCustomSplit::AddPane(TWinControl* pane)
{
    FPanes.push_back(pane);
    if (auto* link = dynamic_cast<TuiPaneLink*>(pane)) link->FSplitter = this;
    if (!Loading()) RealignPanes();
}

void TuiCustomSplit::RemovePane(TWinControl* pane)
{
    if (auto* link = dynamic_cast<TuiPaneLink*>(pane)) link->FSplitter = nullptr;
    std::erase(FPanes, pane);
    if (!FDestroying) RealignPanes();
}

TWinControl* TuiCustomSplit::NewPane(TComponent* owner) { return new TWinControl(owner); }

void TuiCustomSplit::CreatePanes()
{
    while (PaneListCount() < PaneCount()) {
        TWinControl* pane = NewPane(Owner());
        if (auto* link = dynamic_cast<TuiPaneLink*>(pane))
            link->AssignParent(this);
        else {
            pane->SetParent(this);
            AddPane(pane);
        }
    }
}

void TuiCustomSplit::RealignPanes()
{
    const int e = FEdgeWidth;
    AlignPanes({e, e, ClientWidth() - e, ClientHeight() - e});
    if (!Loading()) Invalidate();
}

// -- positions

TPoint TuiCustomSplit::ClampSplitPoint(TPoint p) const
{
    const int e = FEdgeWidth, t = FThickness;
    int x = std::min(p.x, Width() - e);
    if (FSplitHMax != 0 && x > FSplitHMax)
        x = FSplitHMax;
    else if (x < FSplitHMin)
        x = FSplitHMin;
    int y = std::min(p.y, Height() - e);
    if (FSplitVMax != 0 && y > FSplitVMax)
        y = FSplitVMax;
    else if (y < FSplitVMin)
        y = FSplitVMin;
    int l = t / 2 + 1 + e;
    x = std::max(x, l);
    y = std::max(y, l);
    if (FBorderStyle == bsSingle) l += 2;
    if (t % 2 == 1) l += 1;
    // A splitter smaller than its margin puts the bar at 0, never before it.
    x = std::max(0, std::min(x, Width() - l));
    y = std::max(0, std::min(y, Height() - l));
    return {x, y};
}

void TuiCustomSplit::UpdateSplitH(int v)
{
    if (Loading()) {
        FSplitHPos = v;
        return;
    }
    if (Width() == 0) return;
    const int x = ClampSplitPoint({v, 0}).x;
    FSplitHPos = x;
    FSplitHPercent = Nearest(static_cast<long double>(x) / Width() * 100);
    FHBandLow = std::max(0, x - 1 - FThickness / 2);
    FHBandHigh = x + (FThickness + 1) / 2;
    if (FApplied) RealignPanes();
}

void TuiCustomSplit::UpdateSplitV(int v)
{
    if (Loading()) {
        FSplitVPos = v;
        return;
    }
    if (Height() == 0) return;
    const int y = ClampSplitPoint({0, v}).y;
    FSplitVPos = y;
    FSplitVPercent = Nearest(static_cast<long double>(y) / Height() * 100);
    FVBandLow = std::max(0, y - 1 - FThickness / 2);
    FVBandHigh = y + (FThickness + 1) / 2;
    if (FApplied) RealignPanes();
}

void TuiCustomSplit::SetSplitHPos(int v)
{
    if (v < 0) throw ERangeError();
    if (v == FSplitHPos) return;
    UpdateSplitH(v);
    if (OnSplitMoveH) OnSplitMoveH(this);
}

void TuiCustomSplit::SetSplitVPos(int v)
{
    if (v < 0) throw ERangeError();
    if (v == FSplitVPos) return;
    UpdateSplitV(v);
    if (OnSplitMoveV) OnSplitMoveV(this);
}

void TuiCustomSplit::SetSplitHPercent(int v)
{
    if (v < 0 || v > 100) throw ERangeError();
    SetSplitHPos(v != 100 && Width() != 0 ? Nearest(static_cast<long double>(v) / 100 * Width()) : Width());
}

void TuiCustomSplit::SetSplitVPercent(int v)
{
    if (v < 0 || v > 100) throw ERangeError();
    SetSplitVPos(v != 100 && Height() != 0 ? Nearest(static_cast<long double>(v) / 100 * Height()) : Height());
}

void TuiCustomSplit::SetSplitHMin(int v)
{
    if (v < 0) throw ERangeError();
    if (v == FSplitHMin) return;
    if (v == 0) {
        FSplitHMin = 0;
        return;
    }
    if ((FSplitHMax != 0 && v > FSplitHMax) || v >= Width()) return;
    FSplitHMin = v;
    if (FSplitHPos < v) SetSplitHPos(v);
}

void TuiCustomSplit::SetSplitHMax(int v)
{
    if (v < 0) throw ERangeError();
    if (v == FSplitHMax) return;
    if (v == 0) {
        FSplitHMax = 0;
        return;
    }
    if (v < FSplitHMin) return;
    FSplitHMax = std::min(v, Width());
    if (FSplitHMax < FSplitHPos) SetSplitHPos(v);
}

void TuiCustomSplit::SetSplitVMin(int v)
{
    if (v < 0) throw ERangeError();
    if (v == FSplitVMin) return;
    if (v == 0) {
        FSplitVMin = 0;
        return;
    }
    if ((FSplitVMax != 0 && v > FSplitVMax) || v >= Height()) return;
    FSplitVMin = v;
    if (FSplitVPos < v) SetSplitVPos(v);
}

void TuiCustomSplit::SetSplitVMax(int v)
{
    if (v < 0) throw ERangeError();
    if (v == FSplitVMax) return;
    if (v == 0) {
        FSplitVMax = 0;
        return;
    }
    if (v < FSplitVMin) return;
    FSplitVMax = std::min(v, Height());
    if (FSplitVMax < FSplitVPos) SetSplitVPos(v);
}

void TuiCustomSplit::SetSplitPoint(TPoint p)
{
    const TPoint c = ClampSplitPoint(p);
    SetSplitHPos(c.x);
    SetSplitVPos(c.y);
    NotifyDesignerModified(this);
}

void TuiCustomSplit::ApplyPositions()
{
    UpdateSplitH(FSplitHPos);
    UpdateSplitV(FSplitVPos);
}

// -- look

void TuiCustomSplit::SetThickness(int v)
{
    if (v < 1 || v > 10) throw ERangeError();
    FThickness = v;
    ApplyPositions();
}

void TuiCustomSplit::SetSplitBevel(TBevelCut v)
{
    FSplitBevel = v;
    if (!Loading()) Invalidate();
}

void TuiCustomSplit::SetSplitColor(TColor v)
{
    FSplitColor = v;
    if (!Loading()) Invalidate();
}

void TuiCustomSplit::SetMoveImmediate(bool v)
{
    if (v)
        FSplitMoveStyle = amsImmediate;
    else if (FSplitMoveStyle == amsImmediate)
        FSplitMoveStyle = amsMedium;
}

void TuiCustomSplit::SetCursor(TCursor v)
{
    FCursor = v;
    TWinControl::SetCursor(v);
    if (Loading()) return;
    for (TWinControl* pane : FPanes) pane->SetCursor(v);
}

void TuiCustomSplit::SetBorderStyle(TBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    UpdateEdgeWidth();
}

void TuiCustomSplit::SetBevelInner(TBevelCut v)
{
    if (BevelInner() == v) return;
    TCustomPanel::SetBevelInner(v);
    UpdateEdgeWidth();
}

void TuiCustomSplit::SetBevelOuter(TBevelCut v)
{
    if (BevelOuter() == v) return;
    TCustomPanel::SetBevelOuter(v);
    UpdateEdgeWidth();
}

void TuiCustomSplit::SetBevelWidth(int v)
{
    if (v < 1) throw ERangeError();
    if (BevelWidth() == v) return;
    TCustomPanel::SetBevelWidth(v);
    UpdateEdgeWidth();
}

void TuiCustomSplit::SetBorderWidth(int v)
{
    if (v < 0) throw ERangeError();
    if (BorderWidth() == v) return;
    TCustomPanel::SetBorderWidth(v);
    UpdateEdgeWidth();
}

void TuiCustomSplit::UpdateEdgeWidth()
{
    FEdgeWidth = BorderWidth() + (BevelOuter() != bvNone ? BevelWidth() : 0) + (BevelInner() != bvNone ? BevelWidth() : 0);
    if (!Loading()) ApplyPositions();
}

// -- life

// The positions are applied against the size the splitter has when loading ends, and once more after a
// turn of the message loop, when the form's alignment has given it its real size.
void TuiCustomSplit::Loaded()
{
    TuiCustomEdgePanel::Loaded();
    UpdateEdgeWidth();
    ApplyPositions();
    RealignPanes();
    std::weak_ptr<bool> alive = FAlive;
    Application->Post([this, alive] {
        if (alive.expired()) return;
        ApplyPositions();
        RealignPanes();
        FApplied = true;
    });
}

void TuiCustomSplit::Resize()
{
    TuiCustomEdgePanel::Resize();
    if (Loading() || Width() == 0 || Height() == 0) return;
    const int x = FSplitHScaled ? Nearest(static_cast<long double>(Width()) / 100 * FSplitHPercent) : FSplitHPos;
    const int y = FSplitVScaled ? Nearest(static_cast<long double>(Height()) / 100 * FSplitVPercent) : FSplitVPos;
    SetSplitPoint({x, y});
    RealignPanes();
}

// -- painting

void TuiCustomSplit::Paint()
{
    TuiCustomEdgePanel::Paint();
    TCanvas& c = Canvas();
    c.Pen().SetColor(clBlack);
    c.Pen().SetWidth(1);
    c.Pen().SetMode(pmCopy);
    TColor one = Color(), two = Color();
    if (FSplitBevel == bvRaised) {
        one = clBtnHighlight;
        two = clBtnShadow;
    } else if (FSplitBevel == bvLowered) {
        one = clBtnShadow;
        two = clBtnHighlight;
    }
    const int e = FEdgeWidth;
    DrawSplitBar(c, {e, e, ClientWidth() - e, ClientHeight() - e}, one, two);
}

// -- dragging

TCursor TuiCustomSplit::LockedCursor(TCursor c) const
{
    if (c == crSplitMove) {
        if (FSplitHLock && FSplitVLock) return FCursor;
        if (FSplitHLock) return crVSplit;
        if (FSplitVLock) return crHSplit;
        return c;
    }
    if (c == crVSplit && FSplitVLock) return FCursor;
    if (c == crHSplit && FSplitHLock) return FCursor;
    return c;
}

TWinControl* TuiCustomSplit::DragLine() const { return FDragLine && FDragLine->Visible() ? FDragLine.get() : nullptr; }

void TuiCustomSplit::ShowDragLine(TPoint p)
{
    if (!FDragLine) return;
    const TRect r = DragBarRect(p);
    if (r.IsEmpty()) return;
    FDragLine->ShowAt(r);
}

void TuiCustomSplit::HideDragLine()
{
    if (FDragLine) FDragLine->Hide();
}

void TuiCustomSplit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TuiCustomEdgePanel::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || FCurrentCursor == FCursor || (FSplitHLock && FSplitVLock)) return;
    FLastDragPoint = DragPoint(X, Y);
    if (FSplitMoveStyle < amsNoLine) {
        // What lies under the bar now is what the drag line shows inverted until the button goes up.
        TPixelBuffer snapshot;
        GrabWindowPixels(Widget(), snapshot);
        FDragLine = std::make_unique<TuiSplitDragLine>(*this, std::move(snapshot), FSplitMoveStyle);
        ShowDragLine(FLastDragPoint);
    }
    FDragging = true;
}

void TuiCustomSplit::MouseMove(TShiftState Shift, int X, int Y)
{
    TuiCustomEdgePanel::MouseMove(Shift, X, Y);
    if (!FDragging) {
        FCurrentCursor = LockedCursor(CursorAt(X, Y));
        TWinControl::SetCursor(FCurrentCursor);
        return;
    }
    if (FSplitMoveStyle == amsImmediate) {
        const TPoint p = DragPoint(X, Y);
        if (p == FLastDragPoint) return;
        FLastDragPoint = p;
        SetSplitPoint(p);
        return;
    }
    const TPoint p = ClampSplitPoint({X, Y});
    if (FSplitMoveStyle < amsNoLine) ShowDragLine(p);
    FLastDragPoint = p;
}

void TuiCustomSplit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TuiCustomEdgePanel::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft) return;
    FDragging = false;
    HideDragLine();
    FDragLine.reset();
    SetSplitPoint(DragPoint(X, Y));
    FCurrentCursor = FCursor;
    TWinControl::SetCursor(FCursor);
}

// -- keys

void TuiCustomSplit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TuiCustomEdgePanel::KeyDown(Key, Shift);
    if (Key != VK_LEFT && Key != VK_RIGHT && Key != VK_UP && Key != VK_DOWN) return;
    if (!WantsArrow(Key)) return;
    const bool shift = Shift.Contains(ssShift);
    int x = FSplitHPos, y = FSplitVPos;
    switch (Key) {
    case VK_LEFT: x = shift ? 0 : FSplitHPos - FKeyIncrement; break;
    case VK_RIGHT: x = shift ? Width() : FSplitHPos + FKeyIncrement; break;
    case VK_UP: y = shift ? 0 : FSplitVPos - FKeyIncrement; break;
    default: y = shift ? Height() : FSplitVPos + FKeyIncrement; break;
    }
    SetSplitPoint({x, y});
    Key = 0;
}

// ---- TuiCustomBiSplit ----------------------------------------------------------------------------------

const TClassInfo& TuiCustomBiSplit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TuiCustomBiSplit", .Parent = &TuiCustomSplit::StaticClassInfo()});
    return info;
}

TuiCustomBiSplit::TuiCustomBiSplit(TComponent* AOwner) : TuiCustomSplit(AOwner) {}

void TuiCustomBiSplit::SetLayout(TuiBiSplitLayout v)
{
    FLayout = v;
    if (!Loading()) RealignPanes();
}

TCursor TuiCustomBiSplit::CursorAt(int x, int y) const
{
    if (FLayout == bslHorz && InBand(y, VBandLow(), VBandHigh())) return crVSplit;
    if (FLayout == bslVert && InBand(x, HBandLow(), HBandHigh())) return crHSplit;
    return Cursor();
}

TPoint TuiCustomBiSplit::DragPoint(int x, int y) const
{
    if (CurrentCursor() == crVSplit) return {SplitHPos(), y};
    if (CurrentCursor() == crHSplit) return {x, SplitVPos()};
    return {0, 0};
}

// The band a drag line covers at a point, kept off the splitter's edges.
TRect TuiCustomBiSplit::DragBarRect(TPoint p) const
{
    const int e = EdgeWidth() + (BorderStyle() != bsNone ? 1 : 0), t = Thickness();
    const auto along = [e](int v, int size) { return v < e ? e : v > size - e ? size - e : v; };
    if (CurrentCursor() == crVSplit) {
        const int y = along(p.y, Height());
        return {e, y - t / 2, Width() - e, y - t / 2 + t};
    }
    if (CurrentCursor() == crHSplit) {
        const int x = along(p.x, Width());
        return {x - t / 2, e, x - t / 2 + t, Height() - e};
    }
    return {};
}

void TuiCustomBiSplit::DrawSplitBar(TCanvas& c, const TRect& R, TColor one, TColor two)
{
    if (FLayout == bslVert) {
        const int low = HBandLow(), high = HBandHigh();
        c.Pen().SetColor(one);
        c.MoveTo(low, R.Top);
        c.LineTo(low, R.Bottom);
        c.Pen().SetColor(two);
        c.MoveTo(high, R.Bottom - 1);
        c.LineTo(high, R.Top - 1);
        if (SplitColor() != Color()) {
            c.Brush().SetStyle(bsSolid);
            c.Brush().SetColor(SplitColor());
            c.FillRect({low + 1, R.Top, high, R.Bottom});
        }
        return;
    }
    const int low = VBandLow(), high = VBandHigh();
    c.Pen().SetColor(one);
    c.MoveTo(R.Left, low);
    c.LineTo(R.Right, low);
    c.Pen().SetColor(two);
    c.MoveTo(R.Right - 1, high);
    c.LineTo(R.Left - 1, high);
    if (SplitColor() != Color()) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(SplitColor());
        c.FillRect({R.Left, low + 1, R.Right, high});
    }
}

void TuiCustomBiSplit::AlignPanes(const TRect& R)
{
    const int e = EdgeWidth();
    TWinControl* first = Pane(0);
    TWinControl* second = Pane(1);
    if (FLayout == bslVert) {
        if (first) first->SetBounds(R.Left, R.Top, HBandLow() - e, R.Height());
        if (second) second->SetBounds(HBandHigh() + 1, R.Top, R.Right - HBandHigh() - 1, R.Height());
    } else {
        if (first) first->SetBounds(R.Left, R.Top, R.Width(), VBandLow() - e);
        if (second) second->SetBounds(R.Left, VBandHigh() + 1, R.Width(), R.Bottom - VBandHigh() - 1);
    }
}

bool TuiCustomBiSplit::WantsArrow(std::uint16_t Key) const
{
    if (Key == VK_LEFT || Key == VK_RIGHT) return FLayout == bslVert && !SplitHLock();
    return FLayout == bslHorz && !SplitVLock();
}

// ---- TuiBiSplit -----------------------------------------------------------------------------------------------

const TClassInfo& TuiBiSplit::StaticClassInfo()
{
    using P = TProps<TuiBiSplit>;
    using S = TuiBiSplit;
    static const TClassInfo info({
        .Name = "TuiBiSplit",
        .Parent = &TuiCustomBiSplit::StaticClassInfo(),
        .Properties = {P::Enumeration("BevelInner", BevelCutNames, &S::BevelInner, &S::SetBevelInner).Default(bvNone),
                       P::Enumeration("BevelOuter", BevelCutNames, &S::BevelOuter, &S::SetBevelOuter).Default(bvRaised),
                       P::Integer("BevelWidth", &S::BevelWidth, &S::SetBevelWidth).Default(1),
                       P::Enumeration("BorderStyle", BorderStyleNames, &S::BorderStyle, &S::SetBorderStyle).Default(bsNone),
                       P::Integer("BorderWidth", &S::BorderWidth, &S::SetBorderWidth),
                       P::Integer("Cursor", &S::Cursor, &S::SetCursor).Default(crDefault),
                       P::Integer("KeyIncrement", &S::KeyIncrement, &S::SetKeyIncrement).Default(10),
                       P::Enumeration("Layout", uiBiSplitLayoutNames, &S::Layout, &S::SetLayout).Default(bslVert),
                       P::Boolean("MoveImmediate", &S::MoveImmediate, &S::SetMoveImmediate).NotStored(),
                       P::Enumeration("SplitBevel", BevelCutNames, &S::SplitBevel, &S::SetSplitBevel).Default(bvRaised),
                       P::Colour("SplitColor", &S::SplitColor, &S::SetSplitColor).Default(clBtnFace),
                       P::Boolean("SplitHLock", &S::SplitHLock, &S::SetSplitHLock).Default(false),
                       P::Integer("SplitHMax", &S::SplitHMax, &S::SetSplitHMax),
                       P::Integer("SplitHMin", &S::SplitHMin, &S::SetSplitHMin),
                       P::Integer("SplitHPercent", &S::SplitHPercent, &S::SetSplitHPercent).NotStored(),
                       P::Integer("SplitHPos", &S::SplitHPos, &S::SetSplitHPos),
                       P::Boolean("SplitHScaled", &S::SplitHScaled, &S::SetSplitHScaled).Default(false),
                       P::Enumeration("SplitMoveStyle", uiSplitMoveStyleNames, &S::SplitMoveStyle, &S::SetSplitMoveStyle)
                           .Default(amsBlack),
                       P::Boolean("SplitVLock", &S::SplitVLock, &S::SetSplitVLock).Default(false),
                       P::Integer("SplitVMax", &S::SplitVMax, &S::SetSplitVMax),
                       P::Integer("SplitVMin", &S::SplitVMin, &S::SetSplitVMin),
                       P::Integer("SplitVPercent", &S::SplitVPercent, &S::SetSplitVPercent).NotStored(),
                       P::Integer("SplitVPos", &S::SplitVPos, &S::SetSplitVPos),
                       P::Boolean("SplitVScaled", &S::SplitVScaled, &S::SetSplitVScaled).Default(false),
                       P::Integer("Thickness", &S::Thickness, &S::SetThickness).Default(2)},
        .Defaults = {{"Color", clBtnFace}, {"TabStop", false}},
        .Create = &CreateComponentOf<TuiBiSplit>,
    });
    return info;
}

TuiBiSplit::TuiBiSplit(TComponent* AOwner) : TuiCustomBiSplit(AOwner)
{
    if (!Loading() && !(AOwner && AOwner->ComponentState().Contains(csLoading))) CreatePanes();
}

TWinControl* TuiBiSplit::NewPane(TComponent* owner) { return new TuiSplitPane(owner); }
