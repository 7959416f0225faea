// The create-survey form: the spin edit and the edit with their labels, and "Apply", which closes the
// dialog only when both values could be stored.
#include "views/Dearsetup.h"

#include "core/SurveyData.h"
#include "platform/controls/AnsiText.h"
#include "ui/uibtn.h"

#include <QGridLayout>
#include <QLabel>

TDefarray::TDefarray(QWidget* owner, TSurveyState& survey)
    : TForm(owner), SpinEdit3(nullptr), Edit1(nullptr), uiPicBtn1(std::make_unique<TuiPicBtn>(nullptr)),
      FSurvey(survey)
{
    SetCaption("Create survey");
    setWindowFlag(Qt::Tool);
    SpinEdit3.SetName("SpinEdit3");
    SpinEdit3.SetMinValue(5);
    SpinEdit3.SetMaxValue(1000);
    SpinEdit3.SetValue(100);
    SpinEdit3.SetParentWidget(this);
    Edit1.SetName("Edit1");
    Edit1.SetText("1");
    Edit1.SetParentWidget(this);
    uiPicBtn1->SetName("uiPicBtn1");
    uiPicBtn1->SetCaption("Apply");
    uiPicBtn1->SetModalResult(mrOk);
    uiPicBtn1->SetDefault(true);
    uiPicBtn1->SetParentWidget(this);
    // The result set by the button stays only when the values are stored.
    uiPicBtn1->OnClick = [this](TPersistent*) {
        if (!FormCloseQuery()) SetModalResult(mrNone);
    };

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(AnsiToQString("  Point number")), 0, 0);
    grid->addWidget(SpinEdit3.Widget(), 0, 1);
    grid->addWidget(new QLabel(AnsiToQString("  Minimal separation")), 1, 0);
    grid->addWidget(Edit1.Widget(), 1, 1);
    grid->addWidget(uiPicBtn1->Widget(), 2, 0, 1, 2, Qt::AlignHCenter);
    resize(229, 192);
}

TDefarray::~TDefarray() = default;

bool TDefarray::FormCloseQuery()
{
    const std::int32_t count = SpinEdit3.Value();
    if (count <= 0) return false;
    FSurvey.SyntheticCount = count;
    const double spacing = StrToValue(Edit1.Text(), true, 0.5, 300);
    if (spacing == MissingValue) return false;
    FSurvey.SyntheticSpacing = spacing;
    return true;
}
