// The axis editor (TFormLumAxis): the chart's axes in a list and, for the chosen axis, its scales (with
// the signed-logarithm options), title, labels, ticks, minor ticks and position, each control written at
// once; and ShowAxisDialog, the modal dialog the axis pop-up opens for one axis. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEditorForms.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TChartAxis;
class TCustomAxisPanel;
class TLumFontEditor;

class TFormLumAxis : public TLumEditorForm {
public:
    TFormLumAxis(QWidget* Owner, TChartAxis* Axis);
    ~TFormLumAxis() override;

    TChartAxis* Axis() const { return FAxis; }
    TCustomAxisPanel* Chart() const;
    // Called when a custom axis turns horizontal or vertical.
    std::function<void(TChartAxis*)> OnAxisOrientation;

    // Fills the active page from the axis.
    void PageAxisChange();

    QWidget* PanelLeft;
    QListWidget* LBAxes;         // "A&xes:"
    QCheckBox* CBShow;           // "Visible"
    QCheckBox* CBAxisBeh;        // "&Behind"
    QPushButton* BAdd;           // "+"
    QPushButton* BDelete;        // "-"
    QTabWidget* PageAxis;
    QWidget* TabScales;
    QWidget* TabTitle;
    QWidget* TabLabels;
    QWidget* TabTicks;
    QWidget* TabMinor;
    QWidget* TabPosition;

    // "Scales".
    QCheckBox* CBAutomatic;      // "Auto"
    QCheckBox* CBVisible;        // "Visible"
    QCheckBox* CBLogarithmic;    // "Logarithmic"
    QCheckBox* CBInverted;       // "Inverted"
    QLabel* LLogBase;
    QLineEdit* ELogBase;
    QCheckBox* LogE;             // "e"
    QLabel* LAxisIncre;
    QPushButton* BIncre;         // "&Change..."
    QTabWidget* PageMinMax;
    QLabel* LAxisMin;
    QCheckBox* CBAutoMin;        // "Aut&o"
    QPushButton* BAxisMin;       // "Cha&nge..."
    QSpinBox* EMinOff;           // "Offset:"
    QLabel* LAxisMax;
    QCheckBox* CBAutoMax;        // "A&uto"
    QPushButton* BAxisMax;       // "C&hange..."
    QSpinBox* EMaxOff;
    QGroupBox* GroupLinLog;      // "LinLog options"
    QSpinBox* SpinEdit1;         // "Dec shift"
    QCheckBox* CheckBox1;        // "Min dec"
    QLineEdit* Edit3;
    QCheckBox* CheckBox2;        // "Rounded limits"

    // "Title".
    QTabWidget* PageTitle;
    QLineEdit* ETitle;           // "T&itle:"
    QSpinBox* SETitleAngle;      // "&Angle:"
    QSpinBox* SETitleSize;       // "Si&ze:"
    QCheckBox* CBTitleVisible;   // "&Visible"

    // "Labels".
    QTabWidget* PageLabels;
    QWidget* TabLabelsFormat;
    QCheckBox* CBLabels;         // "V&isible"
    QCheckBox* CBMultiline;      // "Multi-lin&e"
    QCheckBox* CBOnAxis;         // "Label On A&xis"
    QCheckBox* CBRoundFirst;     // "Ro&und First"
    QCheckBox* CBAlternate;      // "&Alternate"
    QSpinBox* SELabelsSize;      // "Si&ze:"
    QSpinBox* SELabelsAngle;     // "An&gle:"
    QSpinBox* SESepar;           // "Min. Se&paration %:"
    QLabel* LLabelStyle;
    QComboBox* CBLabelStyle;     // "&Style:"
    QLabel* LFormat;             // "Labels For&mat:"
    QComboBox* CBFormat;
    QPushButton* Button1;        // "..."
    QCheckBox* CBExpo;           // "&Exponential"
    QCheckBox* CBLabelAlign;     // "&Default Alignment"

    // "Ticks" and "Minor".
    TButtonPen BAxisPen, BTickPen, BTickInner, BAxisGrid, BTickMinor, BMinorGrid;
    QSpinBox* SEAxisTickLength;
    QSpinBox* SEInnerTicksLength;
    QCheckBox* CBTickOnLabels;   // "At Labels Onl&y"
    QCheckBox* CBGridCentered;   // "C&entered"
    QLabel* LGridZ;              // "&Z:"
    QSpinBox* Edit2;
    QSpinBox* SEAxisMinorTickLen;
    QSpinBox* SEMinorCount;

    // "Position".
    QSpinBox* EPos;              // "&Position %:"
    QSpinBox* EStart;            // "St&art %:"
    QSpinBox* EEnd;              // "&End %:"
    QLabel* LZPos;               // "&Z %:"
    QSpinBox* Edit1;
    QComboBox* CBPosUnits;       // "&Units:"
    QCheckBox* CBOtherSide;      // "&Other side"
    QCheckBox* CBHorizAxis;      // "&Horizontal"

    TLumFontEditor* TitleFontEditor() const { return FTitleFont; }
    TLumFontEditor* LabelsFontEditor() const { return FLabelsFont; }

private:
    void BuildLeftPanel();
    void BuildScales();
    void BuildTitle();
    void BuildLabels();
    void BuildTicks();
    void BuildPosition();
    void FormShow();
    void FillAxisList();
    void FillScales();
    void FillTitle();
    void FillLabels();
    void FillTicks();
    void FillPosition();
    void EnableLogControls();
    void AutomaticClicked();
    void AutoEndClicked(bool Maximum);
    void ChangeEnd(bool Maximum);
    void ChangeIncrement();
    void LogarithmicClicked();
    void LogBaseChanged();
    void MinDecChanged();
    void FormatChanged();
    // Connects a spin box whose value goes to the axis only while the page is not filling.
    void OnValue(QSpinBox* Spin, std::function<void(TChartAxis&, int)> Write);
    // Connects a check box written at once.
    void OnCheck(QCheckBox* Box, std::function<void(TChartAxis&, bool)> Write);

    TChartAxis* FAxis;
    TLumFontEditor* FTitleFont = nullptr;
    TLumFontEditor* FLabelsFont = nullptr;
    bool FFilling = true;
    bool FScalesFilling = false;
};

// The axis dialog for one axis of the chart (nothing for an axis of another chart), shown modally.
void ShowAxisDialog(TCustomAxisPanel& Chart, TChartAxis& Axis);
