// The "Model constructor" dialog: the start resistivity and the model box (left and right edge, maximal
// depth) that the model view builds its default model from. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Edit.h"
#include "platform/controls/Forms.h"

#include <memory>

class QLabel;
class TuiPicBtn;

class TModConstr : public TForm {
public:
    explicit TModConstr(QWidget* owner = nullptr);
    ~TModConstr() override;

    // The dialog's values: what ShowValues shows and what "Ok" reads back.
    double StartResistivity = 0;
    double LeftEdge = 0;
    double RightEdge = 0;
    double Bottom = 0;
    double Unused = 0; // set by the caller, read by nobody

    // The four values into their edits ("*" for MissingValue).
    void ShowValues();
    // The four edits into the values; text that is no number gives MissingValue.
    void ReadValues();
    // The values describe a box a model can be built in: all numbers, left below right, a depth and a
    // resistivity above 0.
    bool ValuesUsable() const;

    TCustomEdit Edit4; // maximal depth
    TCustomEdit Edit1; // start x
    TCustomEdit Edit2; // end x
    TCustomEdit Edit6; // start resistivity
    std::unique_ptr<TuiPicBtn> uiPicBtn1; // "Ok"

private:
    // "Ok": the values read; values no model can be built from keep the dialog open.
    void uiPicBtn1Click();
};
