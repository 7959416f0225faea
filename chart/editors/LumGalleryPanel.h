// Miniature charts in a grid: TGalleryChart (a small chart with a focused and a plain look and a frame
// while the mouse is over it) and TChartGalleryPanel, which lays its miniatures out in rows and columns,
// keeps one focused, and answers clicks, double clicks and the arrow keys. Editors fill it with their
// own miniatures (the gradient editor's directions). Qt-free.
#pragma once

#include "chart/control/ChartControl.h"

#include <memory>
#include <vector>

class TChartGalleryPanel;

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

protected:
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void DrawHoverFrame(TColor Light, TColor Dark);

    TChartGalleryPanel* FPanel;
    bool FDisabled = false;
    bool FHover = false;
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
    void SetView3D(bool Value) { FView3D = Value; }

    // A miniature chose itself (double click, Enter), and the focused miniature changed.
    TNotifyEvent OnSelectedChart;
    TNotifyEvent OnChangeChart;

    // A new enabled miniature at the end of the grid, standing on the panel and answering its clicks,
    // double clicks and keys.
    TGalleryChart& NewMiniature();
    int MiniatureCount() const { return static_cast<int>(FMiniatures.size()); }
    TGalleryChart& Miniature(int Index) const { return *FMiniatures.at(static_cast<std::size_t>(Index)); }
    int IndexOfMiniature(const TGalleryChart* Miniature) const;
    // Frees every miniature.
    void ClearMiniatures();

    TGalleryChart* FocusedMiniature() const { return FFocused; }
    // Focuses the miniature (none: the first enabled one) and shows the looks; OnChangeChart.
    virtual void FocusMiniature(TGalleryChart* Miniature);
    // The click of a miniature (focuses it), its double click (focuses it, then OnSelectedChart).
    void MiniatureClick(TPersistent* Sender);
    void MiniatureDblClick(TPersistent* Sender);

    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    // Cell sizes from the panel's size, and every miniature in its cell (row-major).
    void LayoutMiniatures();

    // Arrows move the focus to the neighbouring cell (never wrapping, never onto an empty cell or a
    // disabled miniature); Enter fires OnSelectedChart.
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

protected:
    void Resize() override;

private:
    void ShowFocus();

    bool FDisplaySub = true;
    bool FFocusRotation = true;
    int FNumRows = 3;
    int FNumCols = 4;
    bool FView3D = true;
    int FCellWidth = 0;
    int FCellHeight = 0;
    TGalleryChart* FFocused = nullptr;
    std::vector<std::unique_ptr<TGalleryChart>> FMiniatures;
};
