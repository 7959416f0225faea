// The small dialog that asks for one end of an axis: a plain value, or a date and a time of day.
// Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TAxisMaxMin : public TForm {
public:
    explicit TAxisMaxMin(QWidget* Owner);
    ~TAxisMaxMin() override;

    // Set before showing, read after OK.
    bool IsDateTime = false;
    double MaxMin = 0;

    QLabel* Label1;          // "&Date:"
    QLineEdit* EMaximum;
    QLabel* Label2;          // "&Time:"
    QLineEdit* EMinimum;
    QPushButton* BitBtn1;    // "OK"
    QPushButton* BitBtn2;    // "Cancel"

private:
    void FormShow();
    void OkClicked();
    bool FDateShown = true;
};
