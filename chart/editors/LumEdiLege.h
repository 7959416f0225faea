// The legend editor (TFormLumLegend): style, position, symbols and title of a chart legend, each control
// written at once; the frame, fill, font and shadow pages of the legend and of its title join its page
// controls. It is also the modal "Legend options" dialog of the legend's pop-up. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEditorForms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TCustomChartLegend;
class TFormLumShape;
class TSymbolEditor;

class TFormLumLegend : public TLumEditorForm {
public:
    explicit TFormLumLegend(QWidget* Owner);
    ~TFormLumLegend() override;

    // A new editor for the legend, its shape pages joined; the caller captions and shows it.
    static std::unique_ptr<TFormLumLegend> CreateForLegend(QWidget* Owner, TCustomChartLegend& Legend);
    void BindLegend(TCustomChartLegend* Legend);
    TCustomChartLegend* Legend() const { return FLegend; }

    QTabWidget* PageControl1;
    QWidget* TabStyle;
    QWidget* TabPosition;
    QWidget* TabSymbols;
    QWidget* TabTitle;
    QCheckBox* CBShow;            // "&Visible"
    QCheckBox* CBInverted;        // "&Inverted"
    QComboBox* CBLegendStyle;     // "Legend &Style:"
    QComboBox* CBLegStyle;        // "Text St&yle:"
    TButtonPen BDivLines;         // "&Dividing Lines..."
    QSpinBox* EVertSpacing;       // "V&ert. Spacing:"
    QCheckBox* CBFontColor;       // "&Font Series Color"
    QComboBox* CBCheckBoxes;      // "No check boxes", "Check boxes", "Radio buttons"
    QGroupBox* RGPosition;        // "Position"
    std::vector<QRadioButton*> PositionButtons;
    QLabel* LTopPos;
    QSpinBox* SETopPos;           // "&Position Offset %:"
    QLabel* LMargin;
    QSpinBox* SEMargin;           // "&Margin:"
    QCheckBox* CBResizeChart;     // "Resi&ze Chart"
    QGroupBox* GBCustom;
    QCheckBox* CBCustPos;         // "&Custom:"
    QCheckBox* CBPosPercent;      // "Percent"
    QLabel* LCustLeft;
    QSpinBox* ECustLeft;          // "L&eft:"
    QLabel* LCustTop;
    QSpinBox* ECustTop;           // "T&op:"
    QTabWidget* PageControl2;
    QWidget* TabTitleOptions;
    QPlainTextEdit* MemoText;     // "&Text:"
    QComboBox* CBTextAlign;       // "Text &alignment:"
    QCheckBox* CBTitleVisible;    // "&Visible"
    TSymbolEditor* SymbolEditor() const { return FSymbolEditor; }

private:
    void FormShow();
    void EnableCustomPosition();
    void LoadCustomEdges();
    void CustomEdgeChanged(bool Left, int Value);

    TCustomChartLegend* FLegend = nullptr;
    TFormLumShape* FLegendShape = nullptr;
    TFormLumShape* FTitleShape = nullptr;
    TSymbolEditor* FSymbolEditor = nullptr;
    bool FFilling = true;
};
