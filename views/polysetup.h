// The "Section setup" dialog of the model view: its margins and node-mark colours, written into the
// chart by "Apply" and "Close", its work series through the Graphic editor and the label font through the
// font editor (both live), and "Default", which brings back the construction's settings and the work
// series' stored looks. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"
#include "platform/controls/Spin.h"

#include <memory>
#include <vector>

class QGroupBox;
class QPushButton;
class TPolygonChart;
class TkitColorButton;
class TuiPicBtn;
class TuiSuperLabel;

class TPolysetupForm : public TForm {
public:
    explicit TPolysetupForm(QWidget* owner);
    ~TPolysetupForm() override;

    // Remembers the chart and fills the controls from it.
    void LoadFromChart(TPolygonChart& Chart);
    // Writes the margins and colours into the remembered chart.
    void ApplyToChart();

    QGroupBox* GroupBox1; // "Box margins (pixels)"
    TSpinEdit PSLeftval, PStopval, PSRightval, PSBottomval;
    QGroupBox* GroupBox2; // "Node colors"
    std::unique_ptr<TkitColorButton> PSMinContour;    // internal
    std::unique_ptr<TkitColorButton> kitColorButton1; // external
    std::unique_ptr<TkitColorButton> kitColorButton2; // fixed
    std::unique_ptr<TkitColorButton> kitColorButton3; // border
    QGroupBox* GroupBox3; // "Series parameters"
    QPushButton* SpeedButton1; // work series 1
    QPushButton* SpeedButton2; // work series 2
    QPushButton* SpeedButton3; // work series 3 (the boundary nodes)
    QPushButton* SpeedButton4; // the marks font
    std::unique_ptr<TuiPicBtn> uiPicBtn3; // "Apply"
    std::unique_ptr<TuiPicBtn> uiPicBtn1; // "Default"
    std::unique_ptr<TuiPicBtn> uiPicBtn4; // "Close"

    // The marks font in the font editor, as SpeedButton4 does (no control uses it).
    void Button1Click();

private:
    void ApplyClicked();
    void DefaultClicked();
    TSpinEdit& Margin(int Index);

    TPolygonChart* FChart = nullptr;
    std::vector<std::unique_ptr<TuiSuperLabel>> FLabels;
};
