// The chart editor's walls page (TFormLumWall): which of the four walls is edited, its colour, border,
// pattern, gradient, size, transparency and visibility, and the size of all four at once; every
// control writes into the wall at once. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumControls.h"
#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumEditorForms.h"

#include <memory>

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTabBar;
class TCustomChartWall;

class TFormLumWall : public TLumEditorForm {
public:
    TFormLumWall(QWidget* Owner, TCustomChartWall& Wall);
    ~TFormLumWall() override;

    static std::unique_ptr<TFormLumWall> CreateForWall(QWidget* Owner, TCustomChartWall& Wall);
    TCustomChartWall& Wall() const { return *FWall; }

    QTabBar* TabSubWalls;         // "Left", "Right", "Bottom", "Back"
    QCheckBox* CBView3dWalls;     // "&Visible Walls"
    QSpinBox* EAllSize;           // "Size:"
    TButtonColor BWallColor;      // "&Color..."
    TButtonPen BWallPen;          // "B&order..."
    QPushButton* BWallBrush;      // "&Pattern..."
    TButtonGradient BGradient;    // "&Gradient..."
    QSpinBox* SEWallSize;         // "Siz&e:"
    QCheckBox* CBTransp;          // "&Transparent"
    QCheckBox* CBDark3D;          // "&Dark 3D"
    QCheckBox* CBVisible;         // "V&isible"
    QSpinBox* Edit1;              // "T&ransparency:"
    QCheckBox* CBAutoHide;        // "&Auto Hide"

    // The wall of tab 0..3 becomes the edited one and the page is filled again.
    void TabSubWallsChange(int Index);

private:
    void FormShow();
    void FillControls();
    TCustomChart* Chart() const;

    TCustomChartWall* FWall;
    bool FFilling = false;
    bool FAllSizeShown = false;
};
