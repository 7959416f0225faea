// The chart panel base: a custom-drawn panel that owns the chart canvas, the margins and frame, the 3-D
// view settings and the listener list, lays out its chart rectangle, and draws itself on any canvas (the
// screen, an off-screen bitmap, a metafile or the printer page). The chart itself is drawn by
// descendants in DrawChartContent. Qt-free.
#pragma once

#include "chart/base/LumCanvas.h"
#include "chart/base/RadErareEvents.h"
#include "chart/base/RadErareZoom.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/GraphicsTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class TBitmap;
class TCanvas;
class TGraphic;
class TMetafile;
class TPicture;
class TCustomLumPanel;

enum TLumUnits { muPercent, muPixels };
inline const TEnumNames LumUnitsNames{"muPercent", "muPixels"};

// Called before printing with the panel, the printing canvas and the print rectangle (which the handler
// may change).
using TLumPrintEvent = std::function<void(TCustomLumPanel* Sender, TCanvas& Canvas, TRect& Rect)>;

// The unit's switches, constant in this program: clip when printing and when drawing into a metafile,
// and leave the panel colour and bevels out of printouts.
inline constexpr bool ClipWhenPrinting = true;
inline constexpr bool ClipWhenMetafiling = true;
inline constexpr bool PaintColorWhenPrinting = false;

// A panel that never shows a caption (the chart panels and the editors' gallery and navigator).
class TCustomPanelNoCaption : public TCustomPanel {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomPanelNoCaption(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

class TCustomLumPanel : public TCustomPanelNoCaption, public ILumPanelRepaint {
    VSP_PERSISTENT_CLASS
public:
    // 400 x 250 pixels, margins 3, 4, 3, 4 percent, 3-D on, print margins 15 percent.
    explicit TCustomLumPanel(TComponent* AOwner);
    ~TCustomLumPanel() override;

    // From another panel: border, round corners, buffered display, print settings, margins and their
    // units, monochrome, shadow, 3-D switch and options, colour. Other sources go to the inherited Assign.
    void Assign(const TPersistent& Source) override;
    void Loaded() override;

    // --- Settings (writers store and repaint only on a change) ---
    bool ApplyZOrder() const { return FApplyZOrder; }
    void SetApplyZOrder(bool v) { ChangeBoolean(FApplyZOrder, v); }
    // While false, Invalidate does nothing (descendants switch it off while they build or draw).
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool v) { FAutoRepaint = v; }
    TChartHiddenPen& Border() const { return *FBorder; }
    void SetBorder(const TChartPen& v);
    // Corner size of a round window; 0 keeps the window square.
    int BorderRound() const { return FBorderRound; }
    void SetBorderRound(int v);
    // Set by a listener or tool to end the handling of the current mouse event.
    bool CancelMouse() const { return FCancelMouse; }
    void SetCancelMouse(bool v) { FCancelMouse = v; }
    bool CustomChartRect() const { return FCustomChartRect; }
    void SetCustomChartRect(bool v) { FCustomChartRect = v; }
    int Height3D() const { return FHeight3D; }
    void SetHeight3D(int v) { FHeight3D = v; }
    int Width3D() const { return FWidth3D; }
    void SetWidth3D(int v) { FWidth3D = v; }
    // Margins by index: 0 left, 1 top, 2 right, 3 bottom.
    int Margin(int Index) const;
    void SetMargin(int Index, int v);
    int MarginLeft() const { return FMargins[0]; }
    void SetMarginLeft(int v) { SetMargin(0, v); }
    int MarginTop() const { return FMargins[1]; }
    void SetMarginTop(int v) { SetMargin(1, v); }
    int MarginRight() const { return FMargins[2]; }
    void SetMarginRight(int v) { SetMargin(2, v); }
    int MarginBottom() const { return FMargins[3]; }
    void SetMarginBottom(int v) { SetMargin(3, v); }
    TLumUnits MarginUnits() const { return FMarginUnits; }
    void SetMarginUnits(TLumUnits v);
    bool Monochrome() const;
    void SetMonochrome(bool v);
    bool BufferedDisplay() const;
    void SetBufferedDisplay(bool v);
    // Page margins of printouts in percent (left, top, right, bottom).
    const TRect& PrintMargins() const { return FPrintMargins; }
    void SetPrintMargins(const TRect& v) { FPrintMargins = v; }
    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool v) { FPrintProportional = v; }
    // Percent by which the logical print size is reduced (fonts and pens print larger).
    int PrintResolution() const { return FPrintResolution; }
    void SetPrintResolution(int v) { FPrintResolution = v; }
    TLumShadow& Shadow() const { return *FShadow; }
    void SetShadow(const TLumShadow& v);
    bool View3D() const { return FView3D; }
    // Tells the listeners when it changes (TLumView3DEvent).
    void SetView3D(bool v);
    TView3DOptions& View3DOptions() const { return *FView3DOptions; }
    void SetView3DOptions(const TView3DOptions& v);
    TCursor SavedCursor() const { return FSavedCursor; }
    void SetSavedCursor(TCursor v) { FSavedCursor = v; }

    TLumPrintEvent OnBeforePrint;

    // --- State ---
    // The canvas every drawing goes through.
    TCanvas3D& ChartCanvas() const { return *FChartCanvas; }
    // Another canvas takes over (one that watches the drawing calls, for example), attached to the
    // control's canvas as the first one was.
    void ReplaceChartCanvas(std::unique_ptr<TCanvas3D> Canvas);
    TZoomPanning& Panning() const { return *FPanning; }
    TLumEventListeners& Listeners() const { return *FListeners; }
    bool Printing() const { return FPrinting; }
    // A preview switches the printing state on while it draws the panel on its paper.
    void SetPrinting(bool v) { FPrinting = v; }
    // Where a preview panel last drew this panel, in the preview's client pixels.
    const TRect& PreviewRect() const { return FPreviewRect; }
    void SetPreviewRect(const TRect& r) { FPreviewRect = r; }
    // The rectangle the current drawing covers (set by DrawOnCanvas).
    const TRect& PanelRect() const { return FPanelRect; }
    // Where axes and series are drawn.
    const TRect& ChartRect() const { return FChartRect; }
    void SetChartRect(const TRect& r) { FChartRect = r; }
    int ChartWidth() const { return FChartWidth; }
    int ChartHeight() const { return FChartHeight; }
    int ChartXCenter() const { return FChartXCenter; }
    int ChartYCenter() const { return FChartYCenter; }

    // --- Drawing ---
    // The panel's colour here; the chart control answers its back wall's colour.
    virtual TColor GetBackColor() const;
    // The whole drawing on Canvas within Rect: set up the canvas, lay out ChartRect, draw the content,
    // finish (copy the off-screen picture to Canvas). The chart canvas is back on the control's own
    // canvas afterwards, also when drawing raises.
    virtual void DrawOnCanvas(TCanvas& Canvas, const TRect& Rect);
    // The client rectangle (0, 0, Width, Height).
    virtual TRect ChartBounds() const;
    // DrawOnCanvas on the control's canvas in its client rectangle.
    void DrawClientArea();
    // Clamps ChartRect into PanelRect (unless CustomChartRect) and derives size and centre from it.
    void RecalcChartRect();
    // The next paint redraws the chart (nothing while AutoRepaint is off).
    void Invalidate() override;
    void RepaintPanel() override { Invalidate(); }
    // The change handler of owned style objects: a repaint.
    virtual void NotifyChanged(TPersistent* Sender);
    // DrawOnCanvas with buffered display forced on (off), restored afterwards with a repaint.
    void DrawBuffered(TCanvas& Canvas, const TRect& Rect);
    void DrawUnbuffered(TCanvas& Canvas, const TRect& Rect);
    // DrawUnbuffered with the canvas in metafile mode.
    void DrawForMetafile(TCanvas& Canvas, const TRect& Rect);
    // Whether drawing may clip: always on the screen, and while printing or metafiling by the switches.
    bool ClippingAllowed() const;
    // Selects Brush on the chart canvas in Color; a patterned brush whose colour equals BackColor is
    // drawn black (white on black) so that it stays visible.
    void SelectBrushContrast(TColor Color, TChartBrush& Brush, TColor BackColor);
    // Border pen and bevels inside Rect (the face's frame).
    virtual void DrawPanelBevels(const TRect& Rect);

    // --- Change routines for property writers: store, then Invalidate only on a change ---
    void ChangeString(std::string& Field, const std::string& Value);
    void ChangeCardinal(TColor& Field, TColor Value);
    void ChangeCardinal(std::uint32_t& Field, std::uint32_t Value);
    void ChangeBoolean(bool& Field, bool Value);
    void ChangeInteger(int& Field, int Value);

    // --- Pictures ---
    // A new bitmap of Rect's size with the drawing, filled with BackColor first unless that is white.
    std::unique_ptr<TBitmap> RenderToBitmap(TColor BackColor, const TRect& Rect, TPixelFormat PixelFormat);
    // RenderToBitmap(Color, ChartBounds, device format).
    std::unique_ptr<TBitmap> RenderBitmap();
    void SaveBitmapFile(const std::string& FileName);
    // The drawing on white, saved as a bitmap file.
    void SaveBitmapFileRect(const std::string& FileName, const TRect& Rect);
    // A new metafile of Rect's size (at least 1 x 1) holding the drawing.
    std::unique_ptr<TMetafile> RenderToMetafile(bool Enhanced, const TRect& Rect);
    void SaveMetafileFile(const std::string& FileName);
    // Saved as an enhanced metafile (.emf), whatever Enhanced says.
    void SaveMetafileFileRect(bool Enhanced, const std::string& FileName, const TRect& Rect);
    // The panel's picture (RenderBitmap) into a picture or a graphic.
    void AssignTo(TPicture& Dest);
    void AssignTo(TGraphic& Dest);

    // --- Printing ---
    // PrintOnCanvas on the printer's page.
    void PrintInRect(const TRect& Rect);
    // Draws the chart into Rect of a printing canvas, in a logical space the size of the screen chart
    // (less PrintResolution percent) stretched onto Rect. The canvas' map mode and clip are restored on
    // every exit, also when drawing raises.
    void PrintOnCanvas(TCanvas& Canvas, const TRect& Rect);
    // The page rectangle inside PrintMargins (made proportional first when PrintProportional).
    TRect PrinterPageRect();
    // Margins that give the page the chart's proportions: 15 percent on the longer sides; without a
    // printer the screen stands in for the page. Never negative.
    TRect ProportionalMargins() const;
    // Rect scaled into the logical print space; LogicalX and LogicalY receive that space's size.
    TRect ScaleForPrintResolution(const TRect& Rect, int& LogicalX, int& LogicalY) const;

    // --- Events to listeners ---
    // Sets the event's Sender and hands it to every listener (a mouse event stops once a listener sets
    // CancelMouse). Nothing while the panel is being destroyed.
    TLumEvent& BroadcastEvent(TLumEvent& Event);
    void BroadcastMouseEvent(TLumMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RemoveListener(IChartEventListener* Listener);

    // Reads the panel's stored-only properties (for the stream reader and tests).
    void ReadOldBorderStyle(const std::string& Ident);

protected:
    using TPersistent::AssignTo;

    // Draws the chart; empty here.
    virtual void DrawChartContent(const TRect& Rect);
    // ChartRect from PanelRect, frame and margins (skipped for a custom chart rectangle).
    void ComputeChartRect();
    // Unless printing, repaints from the canvas' off-screen picture, else draws the client area.
    void Paint() override;
    void Resize() override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void MouseLeave() override;

    bool Destroying() const { return FDestroying; }
    // The frame width that the chart rectangle keeps clear of: border width, bevels and border pen.
    int FrameWidth() const;

private:
    // The window region for BorderRound (none without a parent).
    void ApplyRoundRegion();

    std::unique_ptr<TLumEventListeners> FListeners;
    std::unique_ptr<TView3DOptions> FView3DOptions;
    std::unique_ptr<TCanvas3D> FChartCanvas;
    std::unique_ptr<TZoomPanning> FPanning;
    std::unique_ptr<TLumShadow> FShadow;
    std::unique_ptr<TChartHiddenPen> FBorder;
    TCanvas* FControlCanvas = nullptr;

    bool FApplyZOrder = true;
    bool FAutoRepaint = false;
    int FBorderRound = 0;
    bool FCancelMouse = false;
    TRect FPanelRect;
    int FChartWidth = 0, FChartHeight = 0, FChartXCenter = 0, FChartYCenter = 0;
    int FHeight3D = 0;
    std::array<int, 4> FMargins{3, 4, 3, 4};
    TLumUnits FMarginUnits = muPercent;
    TCursor FSavedCursor = crDefault;
    bool FPrinting = false;
    TRect FPreviewRect;
    TRect FPrintMargins{15, 15, 15, 15};
    bool FPrintProportional = true;
    int FPrintResolution = 0;
    bool FView3D = true;
    int FWidth3D = 0;
    bool FCustomChartRect = false;
    TRect FChartRect;
    bool FDestroying = false;
    bool FSettingRegion = false;
};

// Print margins in percent that give a page (PageWidth x PageHeight device pixels, DpiRatio = horizontal
// over vertical resolution) the chart's proportions: 15 on the sides along the chart's longer side, the
// others from the page's share the chart leaves; never negative.
TRect ProportionalPrintMargins(int ChartWidth, int ChartHeight, double PageWidth, double PageHeight, double DpiRatio);

// Stores a real in a panel's field and repaints only when it changed (a NaN never equals itself).
void ChangeDoubleAndRepaint(TCustomLumPanel& Control, double& Field, double Value);

// Switches a panel's automatic repaint off for a while and back to what it was on every exit (no panel:
// nothing to do).
class TRepaintPause {
public:
    explicit TRepaintPause(TCustomLumPanel* Panel) : FPanel(Panel), FWas(Panel && Panel->AutoRepaint())
    {
        if (FPanel) FPanel->SetAutoRepaint(false);
    }
    explicit TRepaintPause(TCustomLumPanel& Panel) : TRepaintPause(&Panel) {}
    ~TRepaintPause()
    {
        if (FPanel) FPanel->SetAutoRepaint(FWas);
    }
    TRepaintPause(const TRepaintPause&) = delete;
    TRepaintPause& operator=(const TRepaintPause&) = delete;

private:
    TCustomLumPanel* FPanel;
    bool FWas;
};
