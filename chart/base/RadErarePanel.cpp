// The chart panel base: construction and settings, the chart rectangle, the paint cycle, the window
// region, and the mouse handlers that feed the listeners.
#include "chart/base/RadErarePanel.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/PixelMath.h"

#include <limits>

// ---- Class description ---------------------------------------------------------------------------------

const TClassInfo& TCustomPanelNoCaption::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomPanelNoCaption", .Parent = &TCustomPanel::StaticClassInfo()});
    return info;
}

const TClassInfo& TCustomLumPanel::StaticClassInfo()
{
    using P = TProps<TCustomLumPanel>;
    using L = TCustomLumPanel;
    static const TClassInfo info({
        .Name = "TCustomLumPanel",
        .Parent = &TCustomPanelNoCaption::StaticClassInfo(),
        .Properties = {
            P::Object("Border", [](const L& p) -> TPersistent* { return &p.Border(); }),
            P::Integer("BorderRound", &L::BorderRound, &L::SetBorderRound).Default(0),
            P::Integer("MarginBottom", &L::MarginBottom, &L::SetMarginBottom).Default(4),
            P::Integer("MarginLeft", &L::MarginLeft, &L::SetMarginLeft).Default(3),
            P::Integer("MarginRight", &L::MarginRight, &L::SetMarginRight).Default(3),
            P::Integer("MarginTop", &L::MarginTop, &L::SetMarginTop).Default(4),
            P::Enumeration("MarginUnits", LumUnitsNames, &L::MarginUnits, &L::SetMarginUnits).Default(muPercent),
            P::Boolean("Monochrome", &L::Monochrome, &L::SetMonochrome).Default(false),
            P::Boolean("PrintProportional", &L::PrintProportional, &L::SetPrintProportional).Default(true),
            P::Object("Shadow", [](const L& p) -> TPersistent* { return &p.Shadow(); }),
            P::Boolean("View3D", &L::View3D, &L::SetView3D).Default(true),
            P::Object("View3DOptions", [](const L& p) -> TPersistent* { return &p.View3DOptions(); }),
        },
        // Older streams framed the panel with a border style.
        .Defined = {P::OldName("BorderStyle", TPropKind::Text, [](L& p, const TPropValue& v) {
            if (auto* ident = std::get_if<std::string>(&v)) p.ReadOldBorderStyle(*ident);
        })},
    });
    return info;
}

// ---- Construction --------------------------------------------------------------------------------------

namespace {

// The panel's frame line: hidden, with flat ends also as the stored default.
class TPanelBorderPen : public TChartHiddenPen {
public:
    explicit TPanelBorderPen(TNotifyEvent onChange) : TChartHiddenPen(nullptr)
    {
        FDefaultEndStyle = esFlat;
        SetEndStyle(esFlat);
        OnChange = std::move(onChange);
    }
};

} // namespace

TCustomLumPanel::TCustomLumPanel(TComponent* AOwner)
    : TCustomPanelNoCaption(AOwner),
      FListeners(std::make_unique<TLumEventListeners>()),
      FView3DOptions(std::make_unique<TView3DOptions>(this)),
      FChartCanvas(std::make_unique<TLumCanvas3D>()),
      FPanning(std::make_unique<TZoomPanning>())
{
    SetBounds(Left(), Top(), 400, 250);
    FControlCanvas = &Canvas();
    FChartCanvas->AttachCanvas(FControlCanvas);
    FChartCanvas->SetKeepingTarget({FControlCanvas, [this] { return CanvasChanges(); }, [this] { UseThreeByteBuffer(); }});
    const TNotifyEvent changed = [this](TPersistent* sender) { NotifyChanged(sender); };
    FShadow = std::make_unique<TLumShadow>(changed);
    FBorder = std::make_unique<TPanelBorderPen>(changed);
    FSavedCursor = Cursor();
    FAutoRepaint = true;
}

void TCustomLumPanel::ReplaceChartCanvas(std::unique_ptr<TCanvas3D> Canvas)
{
    if (!Canvas) return;
    FChartCanvas = std::move(Canvas);
    FChartCanvas->AttachCanvas(FControlCanvas);
    FChartCanvas->SetKeepingTarget({FControlCanvas, [this] { return CanvasChanges(); }, [this] { UseThreeByteBuffer(); }});
}

TCustomLumPanel::~TCustomLumPanel()
{
    FDestroying = true;
    FAutoRepaint = false;
    FChartCanvas.reset();
    FBorder.reset();
    FShadow.reset();
    FView3DOptions.reset();
    FPanning.reset();
    FListeners.reset(); // lets every listener go
}

void TCustomLumPanel::Assign(const TPersistent& Source)
{
    auto* p = dynamic_cast<const TCustomLumPanel*>(&Source);
    if (!p) {
        TCustomPanelNoCaption::Assign(Source);
        return;
    }
    if (p == this) return;
    FBorder->Assign(p->Border());
    SetBorderRound(p->BorderRound());
    SetBufferedDisplay(p->BufferedDisplay());
    FPrintMargins = p->FPrintMargins;
    FPrintProportional = p->FPrintProportional;
    FPrintResolution = p->FPrintResolution;
    FMargins = p->FMargins;
    FMarginUnits = p->FMarginUnits;
    SetMonochrome(p->Monochrome());
    FShadow->Assign(p->Shadow());
    FView3D = p->FView3D;
    FView3DOptions->Assign(p->View3DOptions());
    SetColor(p->Color());
    Invalidate();
}

void TCustomLumPanel::Loaded()
{
    TCustomPanelNoCaption::Loaded();
    FSavedCursor = Cursor();
    if (FBorderRound > 0) ApplyRoundRegion();
}

void TCustomLumPanel::ReadOldBorderStyle(const std::string& Ident) { FBorder->SetVisible(Ident == "bsSingle"); }

// ---- Settings ------------------------------------------------------------------------------------------

void TCustomLumPanel::SetBorder(const TChartPen& v)
{
    FBorder->Assign(v);
    Invalidate();
}

void TCustomLumPanel::SetBorderRound(int v)
{
    if (FBorderRound == v) return;
    FBorderRound = v;
    if (!ComponentState().Contains(csLoading)) ApplyRoundRegion();
    Invalidate();
}

int TCustomLumPanel::Margin(int Index) const
{
    if (Index < 0 || Index > 3) throw ERangeError();
    return FMargins[static_cast<std::size_t>(Index)];
}

void TCustomLumPanel::SetMargin(int Index, int v)
{
    if (Index < 0 || Index > 3) throw ERangeError();
    ChangeInteger(FMargins[static_cast<std::size_t>(Index)], v);
}

void TCustomLumPanel::SetMarginUnits(TLumUnits v)
{
    if (FMarginUnits == v) return;
    FMarginUnits = v;
    Invalidate();
}

bool TCustomLumPanel::Monochrome() const { return FChartCanvas->IsMonochrome(); }

void TCustomLumPanel::SetMonochrome(bool v)
{
    if (Monochrome() == v) return;
    FChartCanvas->ChangeMonochrome(v);
    Invalidate();
}

bool TCustomLumPanel::BufferedDisplay() const { return FChartCanvas->IsBufferedDisplay(); }

void TCustomLumPanel::SetBufferedDisplay(bool v)
{
    if (BufferedDisplay() == v) return;
    FChartCanvas->ChangeBufferedDisplay(v);
    Invalidate();
}

void TCustomLumPanel::SetShadow(const TLumShadow& v)
{
    FShadow->Assign(v);
    Invalidate();
}

void TCustomLumPanel::SetView3D(bool v)
{
    if (FView3D == v) return;
    ChangeBoolean(FView3D, v);
    TLumView3DEvent event;
    BroadcastEvent(event);
}

void TCustomLumPanel::SetView3DOptions(const TView3DOptions& v)
{
    FView3DOptions->Assign(v);
    Invalidate();
}

void TCustomLumPanel::ChangeString(std::string& Field, const std::string& Value)
{
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void TCustomLumPanel::ChangeCardinal(TColor& Field, TColor Value)
{
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void TCustomLumPanel::ChangeCardinal(std::uint32_t& Field, std::uint32_t Value)
{
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void TCustomLumPanel::ChangeBoolean(bool& Field, bool Value)
{
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void TCustomLumPanel::ChangeInteger(int& Field, int Value)
{
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void ChangeDoubleAndRepaint(TCustomLumPanel& Control, double& Field, double Value)
{
    if (Field != Value) {
        Field = Value;
        Control.Invalidate();
    }
}

// ---- Chart rectangle -----------------------------------------------------------------------------------

int TCustomLumPanel::FrameWidth() const
{
    long long frame = BorderWidth();
    if (BevelInner() != bvNone) frame += BevelWidth();
    if (BevelOuter() != bvNone) frame += BevelWidth();
    if (FBorder->Visible()) frame += FBorder->Width();
    return CheckedPixel(frame);
}

void TCustomLumPanel::ComputeChartRect()
{
    if (FCustomChartRect) return;
    const long long w = FPanelRect.Width(), h = FPanelRect.Height();
    const long long frame = FrameWidth();
    const auto pixels = [this](int margin, long long size) -> long long {
        return FMarginUnits == muPixels ? margin : margin * size / 100;
    };
    FChartRect.Left = CheckedPixel(FPanelRect.Left + frame + pixels(FMargins[0], w));
    FChartRect.Top = CheckedPixel(FPanelRect.Top + frame + pixels(FMargins[1], h));
    FChartRect.Right = CheckedPixel(FPanelRect.Right - frame - pixels(FMargins[2], w));
    FChartRect.Bottom = CheckedPixel(FPanelRect.Bottom - frame - pixels(FMargins[3], h));
}

void TCustomLumPanel::RecalcChartRect()
{
    TRect& r = FChartRect;
    if (!FCustomChartRect) {
        if (r.Left < FPanelRect.Left) r.Left = FPanelRect.Left;
        if (r.Top < FPanelRect.Top) r.Top = FPanelRect.Top;
        if (r.Right < r.Left)
            r.Right = CheckedPixel(static_cast<long long>(r.Left) + 1);
        else if (r.Right == r.Left)
            r.Right = CheckedPixel(static_cast<long long>(r.Left) + Width());
        if (r.Bottom < r.Top)
            r.Bottom = CheckedPixel(static_cast<long long>(r.Top) + 1);
        else if (r.Bottom == r.Top)
            r.Bottom = CheckedPixel(static_cast<long long>(r.Top) + Height());
    }
    FChartWidth = CheckedPixel(static_cast<long long>(r.Right) - r.Left);
    FChartHeight = CheckedPixel(static_cast<long long>(r.Bottom) - r.Top);
    FChartXCenter = static_cast<int>((static_cast<long long>(r.Left) + r.Right) / 2);
    FChartYCenter = static_cast<int>((static_cast<long long>(r.Top) + r.Bottom) / 2);
}

// ---- Paint cycle ---------------------------------------------------------------------------------------

TColor TCustomLumPanel::GetBackColor() const { return Color(); }

void TCustomLumPanel::DrawChartContent(const TRect&) {}

void TCustomLumPanel::NotifyChanged(TPersistent*) { Invalidate(); }

TRect TCustomLumPanel::ChartBounds() const { return {0, 0, Width(), Height()}; }

void TCustomLumPanel::Invalidate()
{
    if (!FAutoRepaint) return;
    if (FChartCanvas) FChartCanvas->MarkChanged();
    TCustomPanelNoCaption::Invalidate();
}

void TCustomLumPanel::Paint()
{
    if (!FPrinting && FChartCanvas->RepaintFromBuffer()) return;
    DrawClientArea();
}

void TCustomLumPanel::DrawClientArea() { DrawOnCanvas(*FControlCanvas, ClientRect()); }

void TCustomLumPanel::DrawOnCanvas(TCanvas& Canvas, const TRect& Rect)
{
    try {
        FPanelRect = FChartCanvas->SetupView(&Canvas, FView3DOptions.get(), Color(), FView3D, Rect);
        ComputeChartRect();
        RecalcChartRect();
        DrawChartContent(FPanelRect);
        FChartCanvas->FinishDrawing(&Canvas, FControlCanvas, Rect.TopLeft());
    } catch (...) {
        // The target may be a canvas that goes away with the exception (a metafile's, a printer's).
        FChartCanvas->AttachCanvas(FControlCanvas);
        FChartCanvas->MarkChanged();
        throw;
    }
}

// ---- Window region -------------------------------------------------------------------------------------

void TCustomLumPanel::ApplyRoundRegion()
{
    if (!HasParent() || FSettingRegion) return;
    FSettingRegion = true;
    try {
        if (FBorderRound > 0) {
            const TRegion region = TRegion::FromRoundRect(0, 0, Width(), Height(), FBorderRound, FBorderRound);
            SetWindowRegion(&region);
        } else {
            SetWindowRegion(nullptr);
        }
    } catch (...) {
        FSettingRegion = false;
        throw;
    }
    FSettingRegion = false;
}

void TCustomLumPanel::Resize()
{
    if (FBorderRound > 0 && !ComponentState().Contains(csLoading)) ApplyRoundRegion();
    TCustomPanelNoCaption::Resize();
}

// ---- Listeners and mouse -------------------------------------------------------------------------------

TLumEvent& TCustomLumPanel::BroadcastEvent(TLumEvent& Event)
{
    if (FDestroying || !FListeners) return Event;
    Event.Sender = this;
    const bool mouse = dynamic_cast<TLumMouseEvent*>(&Event) != nullptr;
    FListeners->Dispatch(Event, [this, mouse] { return mouse && FCancelMouse; });
    return Event;
}

void TCustomLumPanel::BroadcastMouseEvent(TLumMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FListeners || FListeners->Count() == 0) return;
    TLumMouseEvent event;
    event.Event = Kind;
    event.Button = Button;
    event.Shift = Shift;
    event.X = X;
    event.Y = Y;
    BroadcastEvent(event);
}

void TCustomLumPanel::RemoveListener(IChartEventListener* Listener)
{
    if (FListeners) FListeners->Remove(Listener);
}

void TCustomLumPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FCancelMouse = false;
    TCustomPanelNoCaption::MouseDown(Button, Shift, X, Y);
    BroadcastMouseEvent(TLumMouseEventKind::Down, Button, Shift, X, Y);
}

void TCustomLumPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanelNoCaption::MouseUp(Button, Shift, X, Y);
    BroadcastMouseEvent(TLumMouseEventKind::Up, Button, Shift, X, Y);
}

void TCustomLumPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    FCancelMouse = false;
    TCustomPanelNoCaption::MouseMove(Shift, X, Y);
    if (FListeners->Count() > 0 && !ComponentState().Contains(csDesigning))
        BroadcastMouseEvent(TLumMouseEventKind::Move, mbLeft, Shift, X, Y);
}

void TCustomLumPanel::DblClick()
{
    FCancelMouse = false;
    TCustomPanelNoCaption::DblClick();
    if (FCancelMouse) Abort();
}

void TCustomLumPanel::MouseLeave()
{
    SetCursor(FSavedCursor);
    FPanning->Active = false;
    TCustomPanelNoCaption::MouseLeave();
}
