// The preview panel: a sheet of paper in the current printer page's proportions on which one or more
// chart panels are drawn inside their print margins; the mouse drags the current chart's margins, and the
// panel prints the same page. Qt-free.
#pragma once

#include "chart/base/RadErarePanelExt.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TLumPreviewPanel;

enum TLumPreviewPanelOrientation { ppoDefault, ppoPortrait, ppoLandscape };

// The pen of the margin lines: small dots by default.
class TPreviewChartPen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TPreviewChartPen(TNotifyEvent onChange = nullptr);
};

// The panels shown on the paper (not owned); item 0 is the current one. Panels added here are watched, so
// one that is freed leaves the list.
class TLumPanelsList {
public:
    explicit TLumPanelsList(TLumPreviewPanel& Owner) : FOwner(Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    TCustomLumPanel* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    int IndexOf(const TCustomLumPanel* Panel) const;
    void Add(TCustomLumPanel* Panel);
    void Delete(int Index);
    void Remove(const TCustomLumPanel* Panel);
    void RemoveComponent(const TComponent* Component);
    void Exchange(int A, int B);
    void Clear();

private:
    TLumPreviewPanel& FOwner;
    std::vector<TCustomLumPanel*> FItems;
};

// Sender, whether the chart's proportional margins were switched off, the new margins in percent.
using TOnChangeMarginsEvent = std::function<void(TPersistent* Sender, bool DisableProportional, const TRect& NewMargins)>;
using TOnGetPaperRect = std::function<void(TPersistent* Sender, TRect& PaperRect)>;

// Hit-test codes of the margins rectangle.
enum TMarginPart { mpNone, mpLeft, mpTop, mpRight, mpBottom, mpMove, mpTopLeft, mpTopRight, mpBottomLeft, mpBottomRight };

class TLumPreviewPanel : public TCustomLumPanelExtended {
    VSP_PERSISTENT_CLASS
public:
    // 432 x 312 pixels.
    explicit TLumPreviewPanel(TComponent* AOwner);
    ~TLumPreviewPanel() override;

    // ---- Settings (writers store and repaint unless said) ----
    bool AllowResize = true;  // margins dragged by edges and corners
    bool AllowMove = true;    // the margins rectangle dragged as a whole
    bool DragImage = false;   // repaint the page at every drag step instead of moving the dotted lines
    std::string Title;        // the print job's title
    bool AsBitmap() const { return FAsBitmap; }
    void SetAsBitmap(bool v) { ChangeBoolean(FAsBitmap, v); }
    TPreviewChartPen& Margins() const { return *FMargins; }
    void SetMargins(const TChartPen& v) { FMargins->Assign(v); }
    TLumPreviewPanelOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TLumPreviewPanelOrientation v);
    // The current chart (item 0). Writing replaces item 0 by the panel (nil: only removes it).
    TCustomLumPanel* Panel() const;
    void SetPanel(TCustomLumPanel* Value);
    TColor PaperColor() const { return FPaperColor; }
    void SetPaperColor(TColor v) { ChangeCardinal(FPaperColor, v); }
    TLumShadow& PaperShadow() const { return *FPaperShadow; }
    void SetPaperShadow(const TLumShadow& v) { FPaperShadow->Assign(v); }
    bool ShowImage() const { return FShowImage; }
    void SetShowImage(bool v) { ChangeBoolean(FShowImage, v); }
    bool SmoothBitmap() const { return FSmoothBitmap; }
    void SetSmoothBitmap(bool v) { ChangeBoolean(FSmoothBitmap, v); }

    TOnChangeMarginsEvent OnChangeMargins;
    TOnGetPaperRect OnGetPaperRect;

    TLumPanelsList& Panels() { return FPanels; }

    // ---- Layout ----
    // The paper in client pixels, as of the last paint (or CalcPaperRect).
    const TRect& PaperRect() const { return FPaperRect; }
    // The current chart's rectangle on the paper, which the mouse drags.
    const TRect& MarginsRect() const { return FMarginsRect; }
    // The paper fitted into the client area in the printer page's proportions (the screen's without a
    // printer), then OnGetPaperRect.
    void CalcPaperRect();
    // A panel's rectangle on the paper from its print margins (proportional ones first when it asks for
    // them and a printer exists); 15 % on every side without a panel.
    TRect PanelPaperRect(TCustomLumPanel* Panel);
    TMarginPart MarginPartAt(int X, int Y) const;
    // The panel drawn, at its size on the paper, into a new bitmap through the bitmap export format.
    std::unique_ptr<TBitmap> PanelBitmap(TCustomLumPanel* Panel);
    // The four dotted lines through the edges of R across the paper, in a mode that a second drawing
    // erases. Nothing while the Margins pen is invisible.
    void DrawMarginLines(const TRect& R);

    // Prints every listed panel (the current one last) on one page, each in its print margins.
    void Print();

    // The printer's orientation as Orientation asks (nothing for ppoDefault or without a printer).
    void ApplyOrientation();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawChartContent(const TRect& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    friend class TLumPanelsList;
    void DrawPaper();
    void DrawPanel(TCustomLumPanel* Panel);
    void DrawPanelAsBitmap(TCustomLumPanel* Panel, const TRect& R);
    void DrawPanelDirect(TCustomLumPanel* Panel, const TRect& R);
    // The margins rectangle moved by a drag step of Part to (X, Y); false when the step is refused.
    bool DragTo(int X, int Y);
    void MarginsDragged();

    TLumPanelsList FPanels{*this};
    std::unique_ptr<TPreviewChartPen> FMargins;
    std::unique_ptr<TLumShadow> FPaperShadow;
    bool FAsBitmap = false;
    TLumPreviewPanelOrientation FOrientation = ppoDefault;
    TColor FPaperColor = clWhite;
    bool FShowImage = true;
    bool FSmoothBitmap = true;
    TRect FPaperRect;
    TRect FMarginsRect;
    TMarginPart FDragPart = mpNone;
    TPoint FDragStart;
    TRect FDragStartRect;
};

// The paper in a client area of ClientWidth x ClientHeight for a page of PageWidth x PageHeight: fitted to
// the height when the client is relatively wider than the page (a 1/50 strip kept free), else to the
// width, and centred the other way.
TRect FitPaperRect(int ClientWidth, int ClientHeight, int PageWidth, int PageHeight);

// The cursor shown over a margin part.
TCursor MarginPartCursor(TMarginPart Part);
