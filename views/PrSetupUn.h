// The "Program setup" dialog: the main window's forward-modelling settings (quadrature order, growth
// factors and start sizes of the boundary elements, "Exponent") and the primary source distribution (kind,
// factors, inversion of the factors, and the arbitrary curve's 50 values dragged sideways on its chart),
// previewed on the model view and on the source chart while it is open. Form code: Qt Widgets.
#pragma once

#include "core/ProgramConfig.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/DynArray.h"

#include <cstdint>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TChart;
class TDragPointTool;
class TLineSeries;
class TMainForm;
class TNearestTool;
class TuiPicBtn;
class TuiSuperLabel;

class TSetupForm : public TForm {
public:
    // The dialog of the main window, whose fields it reads and writes.
    TSetupForm(QWidget* owner, TMainForm& main);
    ~TSetupForm() override;

    // Every control from the main window's fields (no change handler acts on these texts).
    void LoadValues();
    // "Apply": "Invert", "Exponent", the quadrature order and the dividing values the user typed; a typed
    // dividing value that is not valid leaves the stored one.
    void StoreValues();
    // The source curve made anew and shown on Chart1, once the main window shows its views (after the
    // first forward run); before that the chart stays empty.
    void DrawSourceCurve();

    QTabWidget* Notebook;
    QWidget* PageForward; // "Forward modelling"
    QWidget* PageSources; // "Sources"
    QSpinBox* SpinEdit9;  // quadrature order, 2..8
    QLineEdit* Edit1;     // FactorZ
    QLineEdit* Edit2;     // StartZ
    QCheckBox* CheckBox2; // "Exponent"
    QLineEdit* Edit3;     // FactorX
    QLineEdit* Edit4;     // StartX
    QGroupBox* RadioGroup1; // "Primary source distribution"
    QRadioButton* RadioButton1; // linear
    QRadioButton* RadioButton2; // exponential
    QRadioButton* RadioButton3; // arbitrary
    QLineEdit* Edit5;     // "A" factor
    QLineEdit* Edit6;     // "B" factor
    QLineEdit* Edit7;     // "C" factor
    QCheckBox* CheckBox1; // "Invert"
    std::unique_ptr<TChart> Chart1;
    TLineSeries* Series1 = nullptr;
    TNearestTool* ChartTool2 = nullptr;
    TDragPointTool* ChartTool1 = nullptr;
    std::unique_ptr<TuiPicBtn> uiPicBtn1; // "Apply"
    std::unique_ptr<TuiPicBtn> uiPicBtn3; // "Default"
    std::unique_ptr<TuiPicBtn> uiPicBtn2; // "Cancel"

private:
    // What the dialog may change in the main window, as it was when the dialog was shown: every way out
    // but "Apply" gives it back.
    struct TSnapshot {
        TProgramConfig Settings;
        std::int32_t SourceType = 0;
        double SourceA = 0, SourceB = 0, SourceC = 0;
        bool InvertSource = false;
        arofdoubleM SourceDepths, SourceValues;
    };

    void BuildForwardPage();
    void BuildSourcesPage();
    void BuildChart();
    // A framing label the form keeps (so that it goes before the form's widgets).
    QWidget* FrameLabel(const char* Caption, int Width = 90);
    void FormShow();
    void FormClose();
    // The handlers of the user's typing and clicks.
    void DividingChanged(QLineEdit* edit, double& field, double low, double high);
    void SourceFactorChanged(QLineEdit* edit, double& field);
    void SourceKindClicked(std::int32_t kind);
    void InvertClicked();
    void ExponentClicked();
    void CopyDraggedValue(int index);
    void ApplyClicked();
    void DefaultClicked();

    TMainForm& FMain;
    std::vector<std::unique_ptr<TuiSuperLabel>> FLabels;
    TSnapshot FSnapshot;
    bool FApplied = false;
    // The dividing edits the user typed into since they were last filled.
    bool FTyped[4] = {false, false, false, false};
};
