// The print preview window: a printer choice (the platform's printers and "PDF file"), printer setup,
// orientation, margin fields, the detail slider, the proportional and smooth switches, the preview paper,
// and commands to print, to save the page as BMP or PNG and to close; with the two entry points for one
// chart and for the page holding both views. Form code: Qt Widgets.
#pragma once

#include "chart/control/LumPreviewPanel.h"
#include "platform/controls/Forms.h"

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QWidget;

// The chart editor's page navigator, as the preview window uses it: shown at the bottom of the option
// column, bound to the chart, and printing a paged chart page by page.
class TPreviewPageNavigator {
public:
    virtual ~TPreviewPageNavigator() = default;
    virtual QWidget* Widget() = 0;
    virtual void SetChart(TCustomLumPanel* Chart) = 0;
    virtual int PageCount() const = 0;
    virtual void PrintPages() = 0;
    // Set by the window: its buttons repaint the preview.
    std::function<void()> OnButtonClick;
};
using TPreviewNavigatorClass = std::function<std::unique_ptr<TPreviewPageNavigator>()>;

class TChartPreview : public TForm {
public:
    explicit TChartPreview(QWidget* Owner);
    ~TChartPreview() override;

    // Hides the Close button's panel (when another window embeds this one).
    void HideClosePanel();
    // The navigator's maker, given before showing (none: no navigator).
    TPreviewNavigatorClass PageNavigatorClass;
    // The chart to show, taken at the next showing (like the form's Tag).
    TCustomLumPanel* TagChart = nullptr;

    // The form's components.
    QWidget* Panel1;         // the printer row
    QLabel* Label1;
    QComboBox* CBPrinters;   // the platform's printers, then "PDF file"
    QWidget* PanelClose;
    QPushButton* BClose;
    QWidget* Panel3;
    QPushButton* BSetupPrinter;
    QPushButton* BPrint;
    QPushButton* Button1;    // "Save"
    QWidget* Panel2;         // the option column
    QGroupBox* Orientation;
    QButtonGroup* OrientationItems;  // 0 portrait, 1 landscape
    QGroupBox* GBMargins;
    // The margin fields with their arrows, 0 to 100 in steps of 5.
    QSpinBox* UDTopMa;
    QSpinBox* UDLeftMa;
    QSpinBox* UDBotMa;
    QSpinBox* UDRightMa;
    QWidget* PanelMargins;
    QPushButton* BReset;
    QCheckBox* ShowMargins;
    QGroupBox* ChangeDetailGroup;
    QSlider* Resolution;
    QWidget* Panel4;
    QCheckBox* CBProp;
    QCheckBox* CheckBox1;    // "S&mooth"
    std::unique_ptr<TLumPreviewPanel> LumPreviewPanel1;

    // The margins that "Reset &Margins" returns to.
    const TRect& MarginsSnapshot() const { return FOldMargins; }
    TPreviewPageNavigator* PageNavigator() const { return FPageNavigator.get(); }

    // Handlers, callable as the controls call them.
    void FormShow();
    void CBPrintersChange();
    void BSetupPrinterClick();
    void OrientationClick();
    void MarginChange(QSpinBox* Field);
    void ShowMarginsClick();
    void BResetClick();
    void BPrintClick();
    void CBPropClick();
    void LumPreviewPanel1ChangeMargins(bool DisableProportional, const TRect& NewMargins);
    void TrackBar1Change();
    void CheckBox1Click();
    void Button1Click();

private:
    TCustomLumPanel* Chart() const { return LumPreviewPanel1->Panel(); }
    void RefreshMargins();
    void FillPrinters();
    // The save dialog for the PDF file's name; true when one was given (the printer then prints into it).
    bool AskPdfFileName();
    void ShowPrinterOrientation();
    void EnablePrinting(bool HasPrinter);
    void SetMarginFields(const TRect& Margins);

    bool FUpdating = true;       // margin fields set from code (and until the first refresh)
    bool FSuppressProp = false;  // CBProp changed by code
    TRect FOldMargins;
    std::unique_ptr<TPreviewPageNavigator> FPageNavigator;
    int FPrinterItem = -1;       // the printer entry chosen last, for a cancelled "PDF file"
};

// The preview of one chart: its margins start at 0 and proportional (a printer then gives the
// proportional ones), shown modally; the chart is repainted afterwards.
void ShowChartPreview(QWidget* Owner, TCustomLumPanel* Chart);
// The page holding both views: the first chart in the band from 5 % to 40 % of the page height, the
// second from 60 % to 95 %, both between 10 % and 90 % of the width; no option column and no margin lines.
void ShowTwoChartPreview(QWidget* MainWindow, TCustomLumPanel* First, TCustomLumPanel* Second);

// The entry of the printer list that prints to a PDF file.
inline constexpr const char* PdfFileItem = "PDF file";
