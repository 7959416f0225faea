// The preview panel: the paper's place, the charts drawn on it inside their margins, the dotted margin
// lines, dragging the margins with the mouse, and printing the page.
#include "chart/control/LumPreviewPanel.h"

#include "chart/base/LumSmoothStretch.h"
#include "chart/base/RadErareServices.h"
#include "chart/control/LumBmpOptions.h"
#include "platform/controls/Application.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Printers.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cstdint>

namespace {

// Runs an undo step when the scope ends, also on an exception.
template <class F>
class TOnExit {
public:
    explicit TOnExit(F f) : FUndo(std::move(f)) {}
    ~TOnExit() { FUndo(); }
    TOnExit(const TOnExit&) = delete;
    TOnExit& operator=(const TOnExit&) = delete;

private:
    F FUndo;
};

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

int RoundEven(double v) { return PixelFromReal(RoundHalfEven(v)); }

} // namespace

// ---- Margin pen and panel list -----------------------------------------------------------------------------

const TClassInfo& TPreviewChartPen::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPreviewChartPen",
                                  .Parent = &TChartPen::StaticClassInfo(),
                                  .Defaults = {{"Style", psDot}, {"SmallDots", true}}});
    return info;
}

TPreviewChartPen::TPreviewChartPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetStyle(psDot);
    SetSmallDots(true);
    OnChange = std::move(onChange);
}

int TLumPanelsList::IndexOf(const TCustomLumPanel* Panel) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Panel);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TLumPanelsList::Add(TCustomLumPanel* Panel)
{
    FItems.push_back(Panel);
    if (Panel) FOwner.FreeNotification(Panel);
}

void TLumPanelsList::Delete(int Index) { FItems.erase(FItems.begin() + Index); }

void TLumPanelsList::Remove(const TCustomLumPanel* Panel)
{
    std::erase(FItems, Panel);
}

void TLumPanelsList::RemoveComponent(const TComponent* Component)
{
    std::erase_if(FItems, [Component](TCustomLumPanel* p) { return static_cast<TComponent*>(p) == Component; });
}

void TLumPanelsList::Exchange(int A, int B) { std::swap(FItems.at(std::size_t(A)), FItems.at(std::size_t(B))); }

void TLumPanelsList::Clear() { FItems.clear(); }

// ---- The panel ---------------------------------------------------------------------------------------------

const TClassInfo& TLumPreviewPanel::StaticClassInfo()
{
    using P = TProps<TLumPreviewPanel>;
    using T = TLumPreviewPanel;
    static const TClassInfo info({
        .Name = "TLumPreviewPanel",
        .Parent = &TCustomLumPanelExtended::StaticClassInfo(),
        .Properties = {
            P::Boolean("AsBitmap", &T::AsBitmap, &T::SetAsBitmap).Default(false),
            P::Colour("PaperColor", &T::PaperColor, &T::SetPaperColor).Default(clWhite),
            P::Boolean("ShowImage", &T::ShowImage, &T::SetShowImage).Default(true),
            P::Boolean("SmoothBitmap", &T::SmoothBitmap, &T::SetSmoothBitmap).Default(true),
        },
        .Create = &CreateComponentOf<TLumPreviewPanel>,
    });
    return info;
}

TLumPreviewPanel::TLumPreviewPanel(TComponent* AOwner) : TCustomLumPanelExtended(AOwner)
{
    const TNotifyEvent changed = [this](TPersistent* sender) { NotifyChanged(sender); };
    FMargins = std::make_unique<TPreviewChartPen>(changed);
    FPaperShadow = std::make_unique<TLumShadow>(changed);
    FPaperShadow->SetDefaultColor(clGray);
    FPaperShadow->SetDefaultSize(4);
    FPaperShadow->SetColor(clGray);
    FPaperShadow->SetUniformSize(4);
    SetBounds(Left(), Top(), 432, 312);
}

TLumPreviewPanel::~TLumPreviewPanel() = default;

TCustomLumPanel* TLumPreviewPanel::Panel() const { return FPanels.Count() > 0 ? FPanels.Items(0) : nullptr; }

void TLumPreviewPanel::SetPanel(TCustomLumPanel* Value)
{
    if (Value == Panel() || Value == this) return;
    if (FPanels.Count() > 0) FPanels.Delete(0);
    if (Value && FPanels.IndexOf(Value) < 0) FPanels.Add(Value);
    if (TCustomLumPanel* current = Panel()) FAsBitmap = current->ChartCanvas().HasOwnRenderer();
    Invalidate();
}

void TLumPreviewPanel::SetOrientation(TLumPreviewPanelOrientation v)
{
    if (FOrientation == v) return;
    FOrientation = v;
    Invalidate();
}

void TLumPreviewPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLumPanelExtended::Notification(AComponent, Operation);
    // Every listed panel that goes leaves the list, so that nothing draws a freed chart. Compared as
    // components: by now the panel part of the object is already gone.
    if (Operation == opRemove) FPanels.RemoveComponent(AComponent);
}

// ---- Paper ---------------------------------------------------------------------------------------------------

void TLumPreviewPanel::ApplyOrientation()
{
    if (FOrientation == ppoDefault || !Printer()->HasPrinter()) return;
    Printer()->SetOrientation(FOrientation == ppoPortrait ? poPortrait : poLandscape);
}

TRect FitPaperRect(int cw, int ch, int pageW, int pageH)
{
    TRect r;
    if (std::int64_t(cw) * pageH > std::int64_t(ch) * pageW) {
        const int h = ch - RoundEven(ch / 50.0);
        r.Top = RoundEven(ch / 100.0);
        r.Bottom = r.Top + h;
        const int w = pageH > 0 ? MulDiv(h, pageW, pageH) : cw;
        r.Left = (cw - w) / 2;
        r.Right = r.Left + w;
    } else {
        const int w = cw - RoundEven(cw / 50.0);
        r.Left = RoundEven(cw / 100.0);
        r.Right = r.Left + w;
        const int h = pageW > 0 ? MulDiv(w, pageH, pageW) : ch;
        r.Top = (ch - h) / 2;
        r.Bottom = r.Top + h;
    }
    return r;
}

void TLumPreviewPanel::CalcPaperRect()
{
    ApplyOrientation();
    int pageW = Screen->Width(), pageH = Screen->Height();
    if (Printer()->HasPrinter()) {
        try {
            const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
            pageW = w;
            pageH = h;
        } catch (const EPrinter&) {
            // the screen's proportions stand in
        }
    }
    TRect r = FitPaperRect(ClientWidth(), ClientHeight(), pageW, pageH);
    if (OnGetPaperRect) OnGetPaperRect(this, r);
    FPaperRect = r;
}

TRect TLumPreviewPanel::PanelPaperRect(TCustomLumPanel* Panel)
{
    TRect m{15, 15, 15, 15};
    if (Panel) {
        if (Panel->PrintProportional() && Printer()->HasPrinter()) Panel->SetPrintMargins(Panel->ProportionalMargins());
        m = Panel->PrintMargins();
    }
    const TRect& p = FPaperRect;
    const int w = p.Width(), h = p.Height();
    return {p.Left + MulDiv(m.Left, w, 100), p.Top + MulDiv(m.Top, h, 100), p.Right - MulDiv(m.Right, w, 100),
            p.Bottom - MulDiv(m.Bottom, h, 100)};
}

void TLumPreviewPanel::DrawPaper()
{
    TCanvas3D& canvas = ChartCanvas();
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetMode(pmCopy);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(FPaperColor);
    canvas.DrawRect(FPaperRect);
    FPaperShadow->DrawRect(canvas, FPaperRect);
}

// ---- Charts on the paper -------------------------------------------------------------------------------------

void TLumPreviewPanel::DrawChartContent(const TRect& Rect)
{
    PaintPanelFace(Rect);
    ChartCanvas().ResetState();
    CalcPaperRect();
    DrawPaper();
    FMarginsRect = PanelPaperRect(Panel());
    for (int i = FPanels.Count() - 1; i >= 0; --i) DrawPanel(FPanels.Items(i));
    DrawMarginLines(FMarginsRect);
    ChartCanvas().ResetState();
    if (OnAfterDraw) OnAfterDraw(this);
}

void TLumPreviewPanel::DrawPanel(TCustomLumPanel* Panel)
{
    const TRect r = PanelPaperRect(Panel);
    TCanvas3D& canvas = ChartCanvas();
    Panel->SetPrinting(true);
    TOnExit done([&] {
        canvas.RemoveClip();
        Panel->SetPrinting(false);
    });
    canvas.ClipToRect(Panel->ClippingAllowed() ? r : FPaperRect);
    Panel->SetPreviewRect(r);
    // A chart squeezed to nothing (margins that meet) has nothing to show.
    if (!FShowImage || r.Width() < 2 || r.Height() < 2) return;
    if (FAsBitmap)
        DrawPanelAsBitmap(Panel, r);
    else
        DrawPanelDirect(Panel, r);
}

std::unique_ptr<TBitmap> TLumPreviewPanel::PanelBitmap(TCustomLumPanel* Panel)
{
    Panel->SetPrinting(true);
    TOnExit done([&] { Panel->SetPrinting(false); });
    const TRect r = PanelPaperRect(Panel);
    TBMPExportFormat format;
    format.Panel = Panel;
    // At least one pixel: a size of 0 would mean the panel's own size.
    format.Width = std::max(1, r.Width());
    format.Height = std::max(1, r.Height());
    return format.Bitmap();
}

void TLumPreviewPanel::DrawPanelAsBitmap(TCustomLumPanel* Panel, const TRect& R)
{
    std::unique_ptr<TBitmap> b = PanelBitmap(Panel);
    TCanvas3D& canvas = ChartCanvas();
    if (FSmoothBitmap) {
        TBitmap smooth(R.Width(), R.Height());
        SmoothStretch(b.get(), &smooth);
        canvas.DrawGraphicAt(R.Left, R.Top, &smooth);
    } else {
        canvas.StretchGraphic(R, b.get());
    }
}

void TLumPreviewPanel::DrawPanelDirect(TCustomLumPanel* Panel, const TRect& R)
{
    TBitmap b(R.Width(), R.Height());  // white
    Panel->DrawUnbuffered(b.Canvas(), {0, 0, R.Width(), R.Height()});
    ChartCanvas().DrawGraphicAt(R.Left, R.Top, &b);
}

void TLumPreviewPanel::DrawMarginLines(const TRect& R)
{
    if (!FMargins->Visible()) return;
    TCanvas3D& canvas = ChartCanvas();
    canvas.SelectPen(*FMargins);
    canvas.Pen().SetMode(pmNotXor);
    canvas.WriteBackMode(TRANSPARENT);
    const TRect& p = FPaperRect;
    canvas.DrawVertLine(R.Left - 1, p.Top + 1, p.Bottom);
    canvas.DrawVertLine(R.Right, p.Top + 1, p.Bottom);
    canvas.DrawHorizLine(p.Left + 1, p.Right, R.Top - 1);
    canvas.DrawHorizLine(p.Left + 1, p.Right, R.Bottom);
    canvas.Pen().SetMode(pmCopy);
    canvas.WriteBackMode(OPAQUE);
}

// ---- Mouse ---------------------------------------------------------------------------------------------------

TCursor MarginPartCursor(TMarginPart Part)
{
    switch (Part) {
    case mpLeft:
    case mpRight: return crHSplit;
    case mpTop:
    case mpBottom: return crVSplit;
    case mpMove: return crVizIdur;
    case mpTopLeft:
    case mpBottomRight: return crSizeNWSE;
    case mpTopRight:
    case mpBottomLeft: return crSizeNESW;
    default: return crDefault;
    }
}

TMarginPart TLumPreviewPanel::MarginPartAt(int X, int Y) const
{
    const TRect& r = FMarginsRect;
    const auto near = [](int a, int b) { return std::abs(a - b) <= 4; };
    const bool left = near(X, r.Left), right = near(X, r.Right), top = near(Y, r.Top), bottom = near(Y, r.Bottom);
    TMarginPart part = mpNone;
    if (left && top) part = mpTopLeft;
    else if (left && bottom) part = mpBottomLeft;
    else if (right && top) part = mpTopRight;
    else if (right && bottom) part = mpBottomRight;
    else if (left) part = mpLeft;
    else if (right) part = mpRight;
    else if (top) part = mpTop;
    else if (bottom) part = mpBottom;
    else if (Inside(r, X, Y) && AllowMove) return mpMove;
    else return mpNone;
    return AllowResize ? part : mpNone;
}

void TLumPreviewPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    for (int i = FPanels.Count() - 1; i >= 0; --i) {
        TCustomLumPanel* panel = FPanels.Items(i);
        if (!Inside(panel->PreviewRect(), X, Y)) continue;
        FMarginsRect = PanelPaperRect(panel);
        if (i != 0) {
            FPanels.Exchange(i, 0);
            Invalidate();  // the margin lines go to the new current chart
        }
        break;
    }
    if (Button == mbRight) return;
    TCustomLumPanelExtended::MouseDown(Button, Shift, X, Y);
    FDragPart = MarginPartAt(X, Y);
    if (FDragPart == mpMove) {
        FDragStart = {X, Y};
        FDragStartRect = FMarginsRect;
    }
}

bool TLumPreviewPanel::DragTo(int X, int Y)
{
    TRect& r = FMarginsRect;
    const TRect& p = FPaperRect;
    // Edges and corners never reach or pass the opposite edge: crossed margins print nothing sensible.
    switch (FDragPart) {
    case mpLeft:
        if (X >= r.Right) return false;
        r.Left = X;
        break;
    case mpTop:
        if (Y >= r.Bottom) return false;
        r.Top = Y;
        break;
    case mpRight:
        if (X <= r.Left) return false;
        r.Right = X;
        break;
    case mpBottom:
        if (Y <= r.Top) return false;
        r.Bottom = Y;
        break;
    case mpMove:
        r = {FDragStartRect.Left + X - FDragStart.x, FDragStartRect.Top + Y - FDragStart.y,
             FDragStartRect.Right + X - FDragStart.x, FDragStartRect.Bottom + Y - FDragStart.y};
        break;
    case mpTopLeft:
        if (p.Left <= X && X < r.Right && p.Top <= Y && Y < r.Bottom) r.Left = X, r.Top = Y;
        break;
    case mpTopRight:
        if (r.Left < X && X <= p.Right && p.Top <= Y && Y < r.Bottom) r.Right = X, r.Top = Y;
        break;
    case mpBottomLeft:
        if (p.Left <= X && X < r.Right && r.Top < Y && Y <= p.Bottom) r.Left = X, r.Bottom = Y;
        break;
    case mpBottomRight:
        if (r.Left < X && X <= p.Right && r.Top < Y && Y <= p.Bottom) r.Right = X, r.Bottom = Y;
        break;
    default: return false;
    }
    return true;
}

void TLumPreviewPanel::MarginsDragged()
{
    TCustomLumPanel* panel = Panel();
    if (!panel) return;
    const TRect& p = FPaperRect;
    const TRect& r = FMarginsRect;
    const double w = p.Width(), h = p.Height();
    if (w <= 0 || h <= 0) return;
    const TRect margins{RoundEven((r.Left - p.Left) * 100 / w), RoundEven((r.Top - p.Top) * 100 / h),
                        RoundEven((p.Right - r.Right) * 100 / w), RoundEven((p.Bottom - r.Bottom) * 100 / h)};
    panel->SetPrintProportional(false);
    panel->SetPrintMargins(margins);
    if (OnChangeMargins) OnChangeMargins(this, true, margins);
}

void TLumPreviewPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomLumPanelExtended::MouseMove(Shift, X, Y);
    if (Shift.Contains(ssRight) || !Inside(FPaperRect, X, Y)) return;
    if (FDragPart == mpNone) {
        FMarginsRect = PanelPaperRect(Panel());
        SetCursor(MarginPartCursor(MarginPartAt(X, Y)));
        return;
    }
    if (!DragImage) DrawMarginLines(FMarginsRect);  // off at the old place
    DragTo(X, Y);
    MarginsDragged();
    if (DragImage)
        Invalidate();
    else
        DrawMarginLines(FMarginsRect);
}

void TLumPreviewPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbRight) return;
    TCustomLumPanelExtended::MouseUp(Button, Shift, X, Y);
    FDragPart = mpNone;
    if (!DragImage) Invalidate();
}

// ---- Printing ------------------------------------------------------------------------------------------------

void TLumPreviewPanel::Print()
{
    if (FPanels.Count() == 0) return;
    Screen->SetCursor(crHourGlass);
    TOnExit cursor([] { Screen->SetCursor(crDefault); });
    ApplyOrientation();
    if (!Title.empty())
        Printer()->SetTitle(Title);
    else if (!Panel()->Name().empty())
        Printer()->SetTitle(Panel()->Name());
    // The charts keep the size they have on the paper.
    if (FPaperRect.IsEmpty()) CalcPaperRect();
    Printer()->BeginDoc();
    try {
        for (int i = FPanels.Count() - 1; i >= 0; --i) {
            TCustomLumPanel* panel = FPanels.Items(i);
            const TRect page = panel->PrinterPageRect();
            const std::unique_ptr<TBitmap> bitmap = PanelBitmap(panel);
            Printer()->Canvas().StretchDraw(page, *bitmap);
            Application->ProcessMessages();
        }
        if (OnAfterDraw) OnAfterDraw(this);
        Printer()->EndDoc();
    } catch (...) {
        if (Printer()->Printing()) Printer()->Abort();
        throw;
    }
}
