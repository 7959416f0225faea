// The pointer editor: the point symbol of a series or of a mark callout (visibility, 3-D, sizes, style,
// pattern, border, default colours, gradient). It is the "Format" page of point series, the "Point" tab
// other series editors add, and a small dialog. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEditorForms.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;
class TChartSeries;
class TSeriesPointer;

class TSeriesPointerEditor : public TLumEditorForm {
public:
    explicit TSeriesPointerEditor(QWidget* Owner);
    ~TSeriesPointerEditor() override;

    TSeriesPointer* Pointer() const { return FPointer; }
    // Hides the width and height controls.
    void HideSizeControls();

    QCheckBox* CBDrawPoint;     // "&Visible"
    QCheckBox* CB3dPoint;       // "&3D"
    QCheckBox* CBPoDark;        // "Dar&k 3D"
    QCheckBox* CBInflate;       // "Inflate &Margins"
    QLabel* LWidth;
    QSpinBox* UDPointHorizSize; // "&Width:"
    QLabel* LHeight;
    QSpinBox* UDPointVertSize;  // "&Height:"
    QLabel* LStyle;
    TComboFlat CBStyle;         // "&Style:"
    QPushButton* BPointFillColor; // "&Pattern..."
    TButtonPen BPoinPenCol;     // "B&order..."
    QCheckBox* CBDefBrushColor; // "&Default"
    QCheckBox* CBColorEach;     // "&Color Each "
    QPushButton* BGradient;     // "&Gradient..."
    QWidget* PanelBottom;
    QPushButton* Button1;       // "Close"

private:
    void FormShow();
    void ApplyVisibility();
    void Enable3D();
    void CheckDefault();
    void DrawStyleItem(int Index, TRect Rect, TOwnerDrawState State);
    bool CanWrite() const { return FPointer && !FFilling; }

    TSeriesPointer* FPointer = nullptr;
    TChartSeries* FSeries = nullptr;
    bool FFilling = true;
};

// The editor as the "Pointer" dialog on the pointer, with its Close button.
void ShowPointerEditorModal(QWidget* Owner, TSeriesPointer& Pointer);
// A pointer page at index 1 of the series editor host the control stands on (or a free-standing form).
TSeriesPointerEditor* AddPointerEditorPage(QWidget* Control, TSeriesPointer& Pointer, const std::string& Caption);
