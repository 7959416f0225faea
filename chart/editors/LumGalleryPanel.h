// Miniature charts in a grid: TGalleryChart (a small chart with a focused and a plain look, a frame
// while the mouse is over it, and an optional smoothed picture) and TChartGalleryPanel, which fills pages
// of series and function types from the type registry, lays its miniatures out in rows and columns,
// keeps one focused, answers clicks, double clicks and the arrow keys, and offers a kind's sub-styles in
// a pop-up. Editors also fill it with their own miniatures (the gradient editor's directions).
#pragma once

#include "chart/control/ChartControl.h"

#include <memory>
#include <vector>

class TChartGalleryPanel;
class TChartSeries;
struct TLumSeriesType;
class TForm;

class TGalleryChart : public TCustomChart {
    VSP_PERSISTENT_CLASS
public:
    // A miniature for the panel (which may be none): no legend, no axis labels, navy title, animated
    // zoom, perspective 3-D at full depth, no clipping, no frame, bevel width 2 without outer bevel,
    // white left and bottom walls of size 4 with grey pens.
    explicit TGalleryChart(TChartGalleryPanel* Panel);

    TChartGalleryPanel* Panel() const { return FPanel; }
    // Enabled miniatures show the hand cursor; disabled ones the "no" cursor and answer no clicks.
    // Kept apart from the cursor, which the chart panel changes while the mouse moves over it.
    bool MiniatureEnabled() const { return !FDisabled; }
    // Grey title, walls and axes, the "no" cursor, no click handlers.
    void Disable();

    // A silver-to-white gradient, turned to rotation 345 when the panel turns focused miniatures, a bold
    // black title of size 9 and a raised bevel.
    void ShowFocusedLook();
    // Back to the plain look (only when the focused look is on).
    void ShowPlainLook();
    bool FocusedLook() const;

    // Whether the hover frame is drawn now.
    bool HoverFrameShown() const { return FHover; }

    // Drawn four times larger and shrunk with a smoothing filter; off hides the axis labels.
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    // True while the enlarged picture is being drawn.
    bool RenderingEnlarged() const { return FRenderingEnlarged; }
    // Margins 4 in 3-D, 5 in 2-D.
    void ApplyMargins();
    // With axes shown, their labels follow the maximized state of the window the miniature is on.
    void ApplyLabels();
    // Where the sub-style marker is drawn (its bottom-left corner).
    TPoint SubStyleMarkerOrigin() const;

protected:
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void DrawHoverFrame(TColor Light, TColor Dark);
    void AfterDraw();
    void RenderSmoothed();
    void DrawSubStyleMarker();

    TChartGalleryPanel* FPanel;
    bool FDisabled = false;
    bool FHover = false;
    bool FSmooth = false;
    bool FRenderingEnlarged = false;
};

class TChartGalleryPanel : public TCustomPanelNoCaption {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartGalleryPanel(TComponent* AOwner);
    ~TChartGalleryPanel() override;

    bool DisplaySub() const { return FDisplaySub; }
    void SetDisplaySub(bool Value) { FDisplaySub = Value; }
    bool FocusRotation() const { return FFocusRotation; }
    void SetFocusRotation(bool Value) { FFocusRotation = Value; }
    // Setting either places the miniatures again.
    int NumRows() const { return FNumRows; }
    void SetNumRows(int Value);
    int NumCols() const { return FNumCols; }
    void SetNumCols(int Value);
    bool View3D() const { return FView3D; }
    // Every miniature's first series follows, and its margins.
    void SetView3D(bool Value);
    // Read from the editor option "SmoothGallery" at construction and written back at destruction
    // when it changed.
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value);

    // Miniatures whose series refuses ReferenceSeries as its source are disabled (change of type).
    bool DisableRefused = false;
    // The series being changed or the selected series: its kind is focused by a page fill.
    TChartSeries* ReferenceSeries = nullptr;
    // The page lists function types.
    bool ShowsFunctions = false;
    // The panel inside a sub-style pop-up.
    bool IsSubStylesPanel = false;

    // A miniature chose itself (double click, Enter), the focused miniature changed, a sub-style was
    // chosen in the pop-up.
    TNotifyEvent OnSelectedChart;
    TNotifyEvent OnChangeChart;
    TNotifyEvent OnSubSelected;

    // A miniature of a registered type: its series (a line series carrying the function for a function
    // type), its caption as title, disabled when its series refuses ReferenceSeries and DisableRefused
    // is on.
    TGalleryChart& AddMiniature(const TLumSeriesType& Entry);
    // The miniatures of every type of the page (series or function types as ShowsFunctions says),
    // enough rows for them, the kind of ReferenceSeries focused. NumCols below 1 places nothing.
    void FillPage(const std::string& Page);
    // The focused miniature's series class, its function class (none) and its sub-style (the miniature's
    // Tag); false when nothing is focused.
    bool ChosenType(const TClassInfo*& SeriesClass, const TClassInfo*& FunctionClass, int& Style) const;
    // The sub-styles of a series class as miniatures of Target (Tag = the style's index).
    static void FillSubStyles(TChartGalleryPanel& Target, const TClassInfo& SeriesClass);
    // The focused miniature's sub-styles in a borderless modal pop-up below it, kept inside the screen's
    // work area; a choice gives the miniature that style (0: its series made anew) and OnSubSelected.
    void PopupSubStyles();
    // The pop-up while it is shown (tests drive it), and its panel.
    TForm* SubStylesForm() const { return FSubStylesForm; }
    TChartGalleryPanel* SubStylesPanel() const { return FSubStylesPanel; }

    // A new enabled miniature at the end of the grid, standing on the panel and answering its clicks,
    // double clicks and keys.
    TGalleryChart& NewMiniature();
    int MiniatureCount() const { return static_cast<int>(FMiniatures.size()); }
    TGalleryChart& Miniature(int Index) const { return *FMiniatures.at(static_cast<std::size_t>(Index)); }
    int IndexOfMiniature(const TGalleryChart* Miniature) const;
    // Frees every miniature.
    void ClearMiniatures();

    TGalleryChart* FocusedMiniature() const { return FFocused; }
    // Focuses the miniature (none: the first enabled one) and shows the looks; OnChangeChart. With
    // DisplaySub, a click on the focused miniature's marker opens its sub-styles.
    virtual void FocusMiniature(TGalleryChart* Miniature);
    // No miniature focused, every one in the plain look (a gallery whose entries may all be unchosen).
    void ClearFocus();
    // The click of a miniature (focuses it), its double click (focuses it, then OnSelectedChart).
    void MiniatureClick(TPersistent* Sender);
    void MiniatureDblClick(TPersistent* Sender);

    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    // Cell sizes from the panel's size, and every miniature in its cell (row-major).
    void LayoutMiniatures();

    // Arrows move the focus to the neighbouring cell (never wrapping, never onto an empty cell or a
    // disabled miniature); Alt+Down opens the sub-styles; Enter fires OnSelectedChart.
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

    // The focused look on the focused miniature (none: the first enabled one), the plain look on the rest.
    void ShowFocus();

protected:
    void Resize() override;

private:
    void SubStyleChosen();

    bool FDisplaySub = true;
    bool FFocusRotation = true;
    int FNumRows = 3;
    int FNumCols = 4;
    bool FView3D = true;
    bool FSmooth = false;
    bool FSmoothAtStart = false;
    TForm* FSubStylesForm = nullptr;
    TChartGalleryPanel* FSubStylesPanel = nullptr;
    int FCellWidth = 0;
    int FCellHeight = 0;
    TGalleryChart* FFocused = nullptr;
    std::vector<std::unique_ptr<TGalleryChart>> FMiniatures;
};
