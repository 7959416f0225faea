// The chart editor's 3-D page (TFormLum3D): the 3-D switch, depth, orthogonal view, zoom, rotation,
// elevation, offsets, perspective and text zoom, enabled by what the chart's canvas and first series
// allow; and a gallery of six preset views whose choice copies the view into the chart. Form code:
// Qt Widgets.
#pragma once

#include "chart/editors/LumEditorForms.h"

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QSlider;
class QSpinBox;
class QTabWidget;
class TChartGalleryPanel;
class TCustomChart;

class TFormLum3D : public TLumEditorForm {
public:
    TFormLum3D(QWidget* Owner, TCustomChart& Chart);
    ~TFormLum3D() override;
    static std::unique_ptr<TFormLum3D> CreateForChart(QWidget* Owner, TCustomChart& Chart);
    TCustomChart& Chart() const { return FChart; }

    QTabWidget* PageControl1;
    QWidget* TabOptions;           // "Options"
    QWidget* TabViews;             // "Views"
    QCheckBox* CBView3d;           // "&3 Dimensions"
    QSpinBox* SE3d;                // "3&D %:"
    QCheckBox* CBOrthogonal;       // "&Orthogonal"
    QSlider* SBZoom;               // "&Zoom:"
    QLabel* LZoom;
    QSlider* SBRotation;           // "&Rotation:"
    QLabel* LRotation;
    QSlider* SBElevation;          // "E&levation:"
    QLabel* LElevation;
    QSlider* SBHOffset;            // "&Horiz. Offset:"
    QLabel* LHOffset;
    QSlider* SBVOffset;            // "&Vert. Offset:"
    QLabel* LVOffset;
    QSlider* SBPerspec;            // "&Perspective:"
    QLabel* LPerspec;
    QCheckBox* CBZoomText;         // "Zoom &Text"
    QSpinBox* EOrthoAngle;         // "&Angle:"
    QCheckBox* CBClipPoints;       // "&Clip Points"
    QSpinBox* ETextSize;           // text zoom, followed by "%"
    // Made at the first showing of "Views".
    TChartGalleryPanel* ChartGalleryPanel1() const { return FViews.get(); }

    // Every control loaded from the chart, ranges and enabling set.
    void RefreshControls();
    bool RotationAllowed() const { return FRotationAllowed; }

private:
    void EnableControls();
    void ShowViews();
    void BuildViews();
    void ViewChosen();

    TCustomChart& FChart;
    std::unique_ptr<TChartGalleryPanel> FViews;
    QWidget* FViewsHost = nullptr;
    bool FChanging = false;
    bool FRotationAllowed = true;
    bool FActivateOptions = true;
};
