// The self-painted scroll bar: geometry, paint, press, drag, release, stepping with the repeat timer; the
// legend's scroll bar with its size hook; their registration.
#include "chart/control/LumLegendScrollBar.h"

#include "chart/base/LumProCo.h"
#include "chart/base/RadErarePanelExt.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEnginePanel.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

bool Holds(const TRect& r, TPoint p) { return p.x >= r.Left && p.x <= r.Right && p.y >= r.Top && p.y <= r.Bottom; }

int RoundPixelEven(double v) { return PixelFromReal(RoundHalfEven(v)); }

} // namespace

// ---- TLumScrollBar ---------------------------------------------------------------------------------------

const TClassInfo& TLumScrollBar::StaticClassInfo()
{
    using P = TProps<TLumScrollBar>;
    using T = TLumScrollBar;
    static const TClassInfo info({
        .Name = "TLumScrollBar",
        .Parent = &TLumCustomTool::StaticClassInfo(),
        .Properties = {
            P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
            P::Integer("MinThumbSize", &T::MinThumbSize, &T::SetMinThumbSize).Default(4),
            P::Integer("Size", &T::Size, &T::SetSize).Default(18),
        },
    });
    return info;
}

TLumScrollBar::TLumScrollBar(TComponent* AOwner) : TLumCustomTool(AOwner)
{
    const TNotifyEvent changed = [this](TPersistent* sender) { StyleChanged(sender); };
    FArrowBrush = std::make_unique<TChartBrush>(changed);
    FThumbBrush = std::make_unique<TChartBrush>(changed);
    FThumbBrush->SetColor(0xC0C0C0);
    FGradient = std::make_unique<TLumGradient>(changed);
    Brush().SetColor(clWhite);
    Pen().SetColor(clWindowFrame);
}

TLumScrollBar::~TLumScrollBar() = default;

void TLumScrollBar::SetParentChart(TCustomAxisPanel* Value)
{
    TLumCustomTool::SetParentChart(Value);
    InvalidateChart();
}

void TLumScrollBar::SetBackColor(TColor Value)
{
    if (FBackColor == Value) return;
    FBackColor = Value;
    InvalidateChart();
}

void TLumScrollBar::SetBevel(TBevelCut Value)
{
    if (FBevel == Value) return;
    FBevel = Value;
    InvalidateChart();
}

void TLumScrollBar::SetMinThumbSize(int Value)
{
    if (FMinThumbSize == Value) return;
    FMinThumbSize = Value;
    InvalidateChart();
}

void TLumScrollBar::SetSize(int Value)
{
    if (FSize == Value) return;
    FSize = Value;
    InvalidateChart();
    if (OnChangeSize) OnChangeSize(this);
}

double TLumScrollBar::PixelDeltaToPosition(int New, int Old)
{
    if (New == Old) return 0;
    const TRect& r = HostRect;
    const int track = (Horizontal ? r.Right - r.Left : r.Bottom - r.Top) - 2 * FSize;
    if (track <= 0) return 0;
    const double d = double(GetMaxPosition()) * std::abs(New - Old) / track;
    return New < Old ? -d : d;
}

int TLumScrollBar::GetPageSize() { return PageSize; }
int TLumScrollBar::GetLargeStep() { return GetPageSize() / 4; }
int TLumScrollBar::GetPosition() { return Position; }

void TLumScrollBar::SetPosition(int Value)
{
    if (Position != Value) {
        Position = Value;
        InvalidateChart();
    }
    if (OnSetPosition) OnSetPosition(this, Value);
}

bool TLumScrollBar::GetHostRect(TRect&) { return GetMaxPosition() > 0; }
int TLumScrollBar::GetMaxPosition() { return MaxPosition; }

// ---- Geometry --------------------------------------------------------------------------------------------

TRect TLumScrollBar::BarRect() const
{
    const TRect& h = HostRect;
    return Horizontal ? TRect{h.Left, h.Bottom - 1, h.Right, h.Bottom + FSize} : TRect{h.Right - FSize - 1, h.Top, h.Right, h.Bottom};
}

TRect TLumScrollBar::TrackRect() const
{
    TRect r = BarRect();
    if (Horizontal) {
        r.Left += FSize;
        r.Right -= FSize;
    } else {
        r.Top += FSize;
        r.Bottom -= FSize;
    }
    return r;
}

TRect TLumScrollBar::StartArrowRect() const
{
    const TRect& h = HostRect;
    return Horizontal ? TRect{h.Left, h.Bottom, h.Left + FSize, h.Bottom + FSize} : TRect{h.Right - FSize - 1, h.Top, h.Right, h.Top + FSize};
}

TRect TLumScrollBar::EndArrowRect() const
{
    const TRect& h = HostRect;
    return Horizontal ? TRect{h.Right - FSize, h.Bottom, h.Right, h.Bottom + FSize}
                      : TRect{h.Right - FSize - 1, h.Bottom - FSize, h.Right, h.Bottom};
}

TRect TLumScrollBar::ThumbRect() const
{
    const TRect& h = HostRect;
    if (!Horizontal) return {h.Right - FSize, ThumbStart, h.Right, ThumbEnd};
    TRect r{ThumbStart, h.Bottom, ThumbEnd, h.Bottom + FSize};
    if (r.Right - r.Left < 2) ++r.Right;
    return r;
}

void TLumScrollBar::ComputeThumb()
{
    const int m = GetMaxPosition();
    if (m == 0) {
        ThumbStart = ThumbSize = ThumbEnd = 0;
        return;
    }
    const TRect& h = HostRect;
    const int track = (Horizontal ? h.Right - h.Left : h.Bottom - h.Top) - 2 * FSize;
    const double ratio = double(track) / m;
    ThumbSize = std::max(FMinThumbSize, RoundPixelEven(GetPageSize() * ratio));
    ThumbStart = (Horizontal ? h.Left : h.Top) + RoundPixelEven(GetPosition() * ratio) + FSize;
    ThumbEnd = ThumbStart + ThumbSize + 1;
}

void TLumScrollBar::ComputeArrows()
{
    const int s = FSize, d = s / 6;
    const TRect a = StartArrowRect(), b = EndArrowRect();
    if (Horizontal) {
        StartArrowPoints = {TPoint{a.Left + d, a.Top + s / 2}, TPoint{a.Left + s - d, a.Top + d}, TPoint{a.Left + s - d, a.Bottom - d}};
        EndArrowPoints = {TPoint{b.Right - d, b.Top + s / 2}, TPoint{b.Right - s + d, b.Top + d}, TPoint{b.Right - s + d, b.Bottom - d}};
    } else {
        StartArrowPoints = {TPoint{a.Left + d, a.Top + s - 2 * d}, TPoint{a.Left + s / 2, a.Top + d},
                            TPoint{a.Left + s - d, a.Top + s - 2 * d}};
        const int bottom = HostRect.Bottom;
        EndArrowPoints = {TPoint{StartArrowPoints[0].x, bottom + 2 * d - s}, TPoint{StartArrowPoints[1].x, bottom - d},
                          TPoint{StartArrowPoints[2].x, bottom + 2 * d - s}};
    }
}

// ---- Paint -----------------------------------------------------------------------------------------------

void TLumScrollBar::NotifyChartStage(int Stage)
{
    if (Stage == 0) Paint();
}

void TLumScrollBar::Paint()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !GetHostRect(HostRect)) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const auto bodyBrush = [&] { canvas.SelectBrushColors(Brush(), FBackColor, Brush().Color()); };
    bodyBrush();
    canvas.SelectPen(Pen());
    const TRect bar = BarRect();
    if (FGradient->Visible()) {
        FGradient->DrawRect(canvas, bar);
        canvas.Brush().SetStyle(bsClear);
    }
    canvas.DrawRect(bar);
    bodyBrush();
    canvas.DrawRect(StartArrowRect());
    canvas.DrawRect(EndArrowRect());
    canvas.Pen().SetStyle(psClear);
    ComputeArrows();
    const int position = GetPosition();
    canvas.SelectBrush(*FArrowBrush, StartArrowDown || position == 0 ? 0x808080 : FArrowBrush->Color());
    canvas.DrawPolygonPoints(StartArrowPoints);
    if (EndArrowDown || position == GetMaxPosition() - GetPageSize())
        canvas.SelectBrushColors(*FArrowBrush, 0x808080, 0x808080);
    else
        canvas.SelectBrush(*FArrowBrush, FArrowBrush->Color());
    canvas.DrawPolygonPoints(EndArrowPoints);
    canvas.SelectBrush(*FThumbBrush, FThumbBrush->Color());
    ComputeThumb();
    if (GetMaxPosition() == 0) return;
    TRect thumb = ThumbRect();
    canvas.DrawRect(thumb);
    if (FBevel != bvNone) {
        --thumb.Right;
        DrawBevelBorder(canvas, FBevel, thumb, 0, 1);
    }
}

// ---- Mouse -----------------------------------------------------------------------------------------------

void TLumScrollBar::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState Shift, int X, int Y)
{
    switch (Kind) {
    case TChartMouseKind::Press: MouseDownAt({X, Y}); break;
    case TChartMouseKind::Move: MouseMoveAt(X, Y, Shift); break;
    case TChartMouseKind::Release: MouseRelease(); break;
    }
}

void TLumScrollBar::MouseDownAt(TPoint P)
{
    LastMouse = P;
    ThumbDragging = StartArrowDown = EndArrowDown = false;
    double step = 0;
    if (Holds(StartArrowRect(), P)) {
        StartArrowDown = true;
        step = -1;
    } else if (Holds(EndArrowRect(), P)) {
        EndArrowDown = true;
        step = 1;
    } else if (Holds(ThumbRect(), P)) {
        ThumbDragging = true;
        return;
    } else if (Holds(BarRect(), P)) {
        const int c = Horizontal ? P.x : P.y;
        if (c < ThumbStart)
            step = -GetLargeStep();
        else if (c > ThumbEnd)
            step = GetLargeStep();
        else
            return;
    } else {
        return;
    }
    ScrollBy(step, true);
}

void TLumScrollBar::MouseMoveAt(int X, int Y, TShiftState Shift)
{
    if (!ThumbDragging || !Shift.Contains(ssLeft)) return;
    const double delta = Horizontal ? PixelDeltaToPosition(X, LastMouse.x) : PixelDeltaToPosition(Y, LastMouse.y);
    // Smaller moves add up: the last point stays until they reach a whole position.
    if (std::fabs(delta) >= 1) {
        ScrollBy(delta, false);
        LastMouse = {X, Y};
    }
}

void TLumScrollBar::MouseRelease()
{
    ThumbDragging = StartArrowDown = EndArrowDown = false;
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    InvalidateChart();
}

void TLumScrollBar::ScrollBy(double Delta, bool StartTimer)
{
    const int position = GetPosition();
    double target = 0;
    if (Delta < 0) {
        Delta = std::max(Delta, -double(position));
        if (Delta + 1 >= position) return;
        target = position + Delta;
    } else {
        const int room = GetMaxPosition() - GetPageSize();
        target = room > position + Delta - 1 ? position + Delta : room;
    }
    SetPosition(RoundPixelEven(target));
    if (OnScrolled) OnScrolled(this);
    if (StartTimer && AutoRepeat) {
        if (!FRepeatTimer) {
            FRepeatTimer = std::make_unique<TTimer>(nullptr);
            FRepeatTimer->OnTimer = [this](TPersistent*) { RepeatTick(); };
        }
        FRepeatTimer->SetInterval(InitialDelay);
        FRepeatTimer->SetEnabled(true);
    }
}

void TLumScrollBar::RepeatTick()
{
    MouseDownAt(LastMouse);
    if (FRepeatTimer && FRepeatTimer->Interval() > 50) FRepeatTimer->SetInterval(50);
}

// ---- TLegendScrollBar ------------------------------------------------------------------------------------

const TClassInfo& TLegendScrollBar::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TLegendScrollBar",
        .Parent = &TLumScrollBar::StaticClassInfo(),
        .Create = &CreateComponentOf<TLegendScrollBar>,
    });
    return info;
}

TLegendScrollBar::TLegendScrollBar(TComponent* AOwner) : TLumScrollBar(AOwner) {}

TLegendScrollBar::~TLegendScrollBar() { Unhook(); }

std::string TLegendScrollBar::DescriptionText() const { return LumProCo::LegendScrollbar; }

void TLegendScrollBar::Unhook()
{
    if (auto* chart = dynamic_cast<TCustomChart*>(FHookedChart); chart && !chart->IsDestroying())
        chart->Legend().SizeHook = nullptr;
    if (FHookedChart) RemoveFreeNotification(FHookedChart);
    FHookedChart = nullptr;
    Legend = nullptr;
}

void TLegendScrollBar::SetParentChart(TCustomAxisPanel* Value)
{
    Unhook();
    TLumScrollBar::SetParentChart(Value);
    if (auto* chart = dynamic_cast<TCustomChart*>(Value)) {
        FHookedChart = chart;
        // Told when the chart goes first, so that the destructor never reaches a freed legend.
        FreeNotification(chart);
        chart->Legend().SizeHook = [this](TPersistent*, int& Size) { SizeHook(Size); };
    }
}

void TLegendScrollBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TLumScrollBar::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FHookedChart) {
        FHookedChart = nullptr;
        Legend = nullptr;
    }
}

void TLegendScrollBar::SizeHook(int& Size)
{
    TRect r;
    if (Active() && GetHostRect(r)) Size += this->Size() + 1;
}

bool TLegendScrollBar::Paging() const { return ParentChart() && ParentChart()->MaxPointsPerPage() > 0; }

int TLegendScrollBar::GetPageSize()
{
    if (Paging()) return 1;
    return Legend ? Legend->Layout().LastValue - Legend->FirstValue() + 1 : 0;
}

int TLegendScrollBar::GetLargeStep() { return Paging() ? 1 : TLumScrollBar::GetLargeStep(); }

int TLegendScrollBar::GetPosition()
{
    if (Paging()) return ParentChart()->Page() - 1;
    return Legend ? Legend->FirstValue() : 0;
}

void TLegendScrollBar::SetPosition(int Value)
{
    if (Paging())
        ParentChart()->SetPage(Value + 1);
    else if (Legend)
        Legend->SetFirstValue(Value);
}

int TLegendScrollBar::GetMaxPosition()
{
    if (Paging()) return ParentChart()->CountPages();
    return Legend ? Legend->Layout().TotalItems + Legend->FirstValue() : 0;
}

bool TLegendScrollBar::GetHostRect(TRect& Rect)
{
    auto* chart = dynamic_cast<TCustomChart*>(ParentChart());
    if (!chart) return false;
    Legend = &chart->Legend();
    if (!Legend->ShouldDraw() || Legend->Layout().LastValue < 0) return false;
    // Only needed once some items are out of sight: scrolled, or more items than the legend shows.
    if (DrawStyle == dsWhenNeeded && Legend->FirstValue() == 0 && Legend->Layout().LastValue + 1 >= Legend->Layout().TotalItems)
        return false;
    Horizontal = !Legend->IsSideAligned();
    Rect = Legend->ShapeRect();
    return true;
}

void LumLegendScrollBarInitialization() { RegisterToolClasses({&TLegendScrollBar::StaticClassInfo()}); }

void LumLegendScrollBarFinalization() { UnregisterToolClasses({&TLegendScrollBar::StaticClassInfo()}); }
