// The "Contour-section setup" dialog of the data view: plot margins, number of levels, the band and
// isoline colour keys, isolines on or off, the colour bar's font and the user data limits. It holds no
// settings of its own: "Apply" writes into the view it was loaded from and recomputes it. Form code: Qt.
#pragma once

#include "platform/controls/Forms.h"
#include "platform/controls/Spin.h"

#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TPseudoSection2d;
class TkitColorButton;
class TuiPicBtn;
class TuiSuperLabel;

class TPseudosetupForm : public TForm {
public:
    explicit TPseudosetupForm(QWidget* owner);
    ~TPseudosetupForm() override;

    // Remembers the view and shows its settings; the limits as the view holds them ("*" for none).
    void LoadFromView(TPseudoSection2d& View);
    // Writes every setting into the remembered view, then its range, levels and picture anew.
    void ApplyToView();

    QGroupBox* GroupBox1; // "Box margins (pixels)"
    TSpinEdit PSLeftval, PStopval, PSRightval, PSBottomval;
    QGroupBox* GroupBox2; // "Fill&Line colors (Gradient) "
    std::unique_ptr<TkitColorButton> PSMinContour, PScontour1_3, PScontour2_3, PSMaxContour;
    TSpinEdit PSLevNum;
    std::unique_ptr<TkitColorButton> PSMinIsoline, PSMaxIsoline;
    QCheckBox* PSLinesVisible;
    QPushButton* Button1; // "Font"
    QGroupBox* GroupBox3; // "User data limits"
    QCheckBox* PSuseExternal;
    QLineEdit* PSExtMin;
    QLineEdit* PSExtMax;
    std::unique_ptr<TuiPicBtn> uiPicBtn3; // "Apply"
    std::unique_ptr<TuiPicBtn> uiPicBtn4; // "Cancel"

    void PSuseExternalClick();
    void uiPicBtn3Click();
    void uiPicBtn4Click();
    void Button1Click();

    TPseudoSection2d* View() const { return FView; }

private:
    TPseudoSection2d* FView = nullptr;
    std::vector<std::unique_ptr<TuiSuperLabel>> FLabels;
};

// The one dialog of the run, made on first use; it goes with the application.
TPseudosetupForm& PseudoSetupDialog();
