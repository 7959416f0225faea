// The chart editor's general page (TFormLumGeneral: cursor, margins, zoom and scroll, the print preview
// button), the page navigator over a paged chart (TChartPageNavigator) and the print preview with that
// navigator (ShowChartPrintPreview). Form code: Qt Widgets.
#pragma once

#include "chart/base/LumControls.h"
#include "chart/base/LumPenDlg.h"
#include "chart/control/LumPrevi.h"
#include "chart/editors/LumEditorForms.h"
#include "chart/editors/LumNavigator.h"
#include "platform/controls/StdCtrls.h"

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TCustomAxisPanel;
class TCustomChart;

// First, prior, next and last page of the chart; its buttons follow the chart's page and page count.
class TChartPageNavigator : public TCustomLumNavigator {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartPageNavigator(TComponent* AOwner) : TCustomLumNavigator(AOwner) {}

    TCustomAxisPanel* Chart() const;
    // Only an axis panel is taken; anything else counts as none.
    void SetChart(TCustomLumPanel* Value) { AttachPanel(Value); }
    // After a click, with the button clicked.
    TNotifyButtonClickedEvent OnButtonClicked;

    int PageCount() const;
    // One page prints without a question; more ask the print dialog for the range (all pages offered).
    void Print();
    void BtnClick(TLumNavigateBtn Index) override;
    void UpdateButtons() override;

protected:
    void ReceiveChartEvent(TLumEvent& Event) override;
    void AttachPanel(TCustomLumPanel* Value) override;
};

class TFormLumGeneral : public TLumEditorForm {
public:
    TFormLumGeneral(QWidget* Owner, TCustomChart& Chart);
    ~TFormLumGeneral() override;
    static std::unique_ptr<TFormLumGeneral> CreateForChart(QWidget* Owner, TCustomChart& Chart);
    TCustomChart& Chart() const { return FChart; }

    TComboFlat CBCursor;            // "&Cursor:"
    QPushButton* BPrint;            // "Print &Preview..."
    QGroupBox* GBMargins;           // "Margins (%)"
    QSpinBox* SETopMa;
    QSpinBox* SELeftMa;
    QSpinBox* SEBotMa;
    QSpinBox* SERightMa;
    QComboBox* CBMarUnits;          // "&Units:" Percent, Pixels
    QTabWidget* PageControl1;
    QWidget* TabZoom;
    QWidget* TabScroll;
    QCheckBox* CBAllowZoom;         // "&Allow"
    QCheckBox* CBAnimatedZoom;      // "An&imated"
    QSpinBox* SEAniZoomSteps;       // "&Steps:"
    TButtonPen BZoomPen;            // "P&en..."
    QPushButton* BZoomColor;        // "P&attern..."
    QSpinBox* EMinPix;              // "&Minimum pixels:"
    QComboBox* CBDir;               // "&Direction:"
    QComboBox* CBZoomMouse;         // "M&ouse Button:"
    QCheckBox* CBUpLeft;            // "Zoom on &Up Left drag"
    QGroupBox* RGPanning;           // "Allow Scroll:"
    std::array<QRadioButton*, 4> PanningModes{};
    QComboBox* CBScrollMouse;       // "&Mouse Button:"

private:
    void FormShow();
    // Margin Index (0 left, 1 top, 2 right, 3 bottom) from its edit; in percent a value that reaches
    // 100 with the opposite margin is refused and the edit put back.
    void MarginChanged(int Index, QSpinBox* Edit);
    void SetMarginRanges();
    void EnableZoomControls();
    QSpinBox* MarginEdit(int Index) const;

    TCustomChart& FChart;
    bool FChanging = false;
};

// The maker of the page navigator as the print preview holds it.
TPreviewNavigatorClass ChartPageNavigatorClass();
// The print preview of the chart with the page navigator, shown modally; the chart repaints afterwards
// (also when the preview fails).
void ShowChartPrintPreview(QWidget* Owner, TCustomAxisPanel& Chart);
