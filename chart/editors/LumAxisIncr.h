// The increment dialog ("Axis Increment"): a plain number for value axes, or for date-time axes a
// standard step or a custom number of days and time of day; and the text the axis editor shows for an
// increment. Form code: Qt Widgets.
#pragma once

#include "chart/base/RadErareUtils.h"
#include "platform/controls/Forms.h"

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TAxisIncrement : public TForm {
public:
    explicit TAxisIncrement(QWidget* Owner);
    ~TAxisIncrement() override;

    // Set by the caller before showing, read after OK.
    bool DateTimeAxis = false;
    bool ExactSteps = false;
    double IncrementValue = 0;
    int StepIndex = dtNoStep;

    QGroupBox* RGIncrement;      // "Increment:"
    QRadioButton* RBStandard;    // "&Standard:"
    QRadioButton* RBCustom;      // "&Custom:"
    QComboBox* CBSteps;
    QLabel* LIncrement;          // "&Increment:"
    QLineEdit* ECustom;
    QCheckBox* CBExact;          // "&Exact Date Time"
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    void FormShow();
    void ChooseStandard();
    void ChooseCustom();
    void ExactClicked(bool Checked);
    void OkClicked();
    void RefreshCustomText();

    bool FShowing = false;
};

// The list caption of a standard step ("One Microsecond" .. "One Year").
const std::string& DateTimeStepCaption(int Index);
// A date-time increment as the custom edit shows it: whole days, then the time of day.
std::string DateTimeIncrementText(double Value);
// "Incorrect value. Reason: <reason>": the dialogs' answer to a text that does not convert.
std::string IncorrectValueMessage(const std::string& Reason);
// The text the axis editor shows for an increment.
std::string AxisIncrementText(bool DateTime, bool Exact, const std::string& ValueFormat, double Value);
