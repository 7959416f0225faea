// The "Format" page of line-type series (TCustomSeriesEditor): line border and colour, pattern, outline,
// shadow, stairs, colour each, dark 3-D, stacking, 3-D height, clickable line and colour each line; it
// adds the series pointer's page "Point" to the host it stands in. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEditorForms.h"

#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TCustomSeries;
class TSeriesPointerEditor;

class TCustomSeriesEditor : public TLumEditorForm {
public:
    explicit TCustomSeriesEditor(QWidget* Owner);
    ~TCustomSeriesEditor() override;

    TCustomSeries* Series() const { return FSeries; }
    TSeriesPointerEditor* PointerPage() const;

    TButtonPen BLineBorder;     // "&Border..."
    TButtonColor BLineColor;    // "&Color..."
    QPushButton* BBrush;        // "&Pattern..."
    TButtonPen BOutline;        // "&Outline..."
    QPushButton* Button1;       // "S&hadow..."
    QGroupBox* GBStair;         // "Line Mode:"
    QCheckBox* CBStairs;        // "&Stairs"
    QCheckBox* CBInvStairs;     // "&Inverted"
    QCheckBox* CBColorEach;     // "Color &Each"
    QCheckBox* CBDark3D;        // "&Dark 3D"
    QLabel* Label1;             // "S&tack:"
    TComboFlat CBStack;
    QLabel* LHeight;            // "&Height 3D:"
    QSpinBox* UDHeight;
    QCheckBox* CBClick;         // "Clic&kable"
    QCheckBox* CheckBox1;       // "Color Each line"

private:
    void FormShow();
    void ShadowClicked();

    TCustomSeries* FSeries = nullptr;
    QPointer<TSeriesPointerEditor> FPointerPage;
    bool FFilling = true;
};
