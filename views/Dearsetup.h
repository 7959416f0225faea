// The "Create survey" dialog: the point number and the minimal separation of an evenly spaced synthetic
// survey, stored into the survey state on "Apply" when both are in range. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Edit.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Spin.h"

#include <memory>

struct TSurveyState;
class TuiPicBtn;

class TDefarray : public TForm {
public:
    // Stores into `survey`'s SyntheticCount and SyntheticSpacing.
    TDefarray(QWidget* owner, TSurveyState& survey);
    ~TDefarray() override;

    TSpinEdit SpinEdit3; // point number, 5..1000
    TCustomEdit Edit1;   // minimal separation, 0.5..300
    std::unique_ptr<TuiPicBtn> uiPicBtn1; // "Apply"

    // On "Apply": the point number stored when above 0, then the separation when in range; false (the
    // dialog stays open) when either is not.
    bool FormCloseQuery();

private:
    TSurveyState& FSurvey;
};
