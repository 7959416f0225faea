// The axis end dialog: showing the value, reading it back, and its message for text that does not convert.
#include "chart/editors/LumAxMaxMin.h"

#include "chart/base/RadErareServices.h"
#include "chart/editors/LumAxisIncr.h"
#include "chart/editors/LumEditorForms.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TAxisMaxMin::TAxisMaxMin(QWidget* Owner)
    : TForm(Owner), EMaximum(new QLineEdit), EMinimum(new QLineEdit), BitBtn1(new QPushButton("OK")),
      BitBtn2(new QPushButton("Cancel"))
{
    SetCaption("Axis Maximum and Minimum");
    setSizeGripEnabled(false);
    resize(274, 79);
    Label1 = NewLabel("&Date:", EMaximum);
    Label2 = NewLabel("&Time:", EMinimum);
    EMaximum->setToolTip("Enter Date");
    EMinimum->setToolTip("Enter Time");
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(EMaximum, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(EMinimum, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->addLayout(buttons, 0, 2, 2, 1);
    BitBtn1->setDefault(true);
    ConnectGuarded(BitBtn1, &QPushButton::clicked, this, [this](bool) { OkClicked(); });
    SetButtonModalResult(BitBtn2, mrCancel);
    OnShow = [this](TForm*) { FormShow(); };
}

TAxisMaxMin::~TAxisMaxMin() = default;

void TAxisMaxMin::FormShow()
{
    if (IsDateTime) {
        FDateShown = MaxMin >= 1;
        if (FDateShown) {
            EMaximum->setText(AnsiToQString(DateToStr(MaxMin)));
        } else {
            Label1->hide();
            EMaximum->hide();
        }
        EMinimum->setText(AnsiToQString(TimeToStr(MaxMin)));
    } else {
        EMaximum->setToolTip({});
        EMinimum->setToolTip({});
        Label1->setText("Value:");
        EMaximum->setText(AnsiToQString(FloatToStr(MaxMin)));
        Label2->hide();
        EMinimum->hide();
    }
    TranslateFormControls(this);
}

void TAxisMaxMin::OkClicked()
{
    try {
        if (!IsDateTime)
            MaxMin = StrToFloat(QStringToAnsi(EMaximum->text()));
        else if (FDateShown)
            MaxMin = StrToDateTime(QStringToAnsi(EMaximum->text()) + " " + QStringToAnsi(EMinimum->text()));
        else
            MaxMin = StrToTime(QStringToAnsi(EMinimum->text()));
    } catch (const Exception& e) {
        ShowMessage(IncorrectValueMessage(e.Message()));
        return;
    }
    SetModalResult(mrOk);
}
