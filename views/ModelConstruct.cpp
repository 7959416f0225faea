// The model constructor's form: its edits with their labels and hints, showing and reading the values,
// and the "Ok" that keeps the dialog open while the values make no model box.
#include "views/ModelConstruct.h"

#include "core/Supermath2d.h"
#include "platform/controls/AnsiText.h"
#include "ui/uibtn.h"

#include <QGridLayout>
#include <QLabel>

namespace {

QLabel* HintedLabel(const char* caption, const char* hint)
{
    auto* label = new QLabel(AnsiToQString(caption));
    if (*hint) label->setToolTip(AnsiToQString(hint));
    return label;
}

} // namespace

TModConstr::TModConstr(QWidget* owner)
    : TForm(owner), Edit4(nullptr), Edit1(nullptr), Edit2(nullptr), Edit6(nullptr),
      uiPicBtn1(std::make_unique<TuiPicBtn>(nullptr))
{
    SetCaption("Model constructor");
    const struct {
        TCustomEdit* Edit;
        const char* Name;
        const char* Caption;
        const char* LabelHint;
        const char* EditHint;
    } rows[] = {
        {&Edit4, "Edit4", " Maximal depth", "Bottom depths of last layer.", "Bottom edge of model"},
        {&Edit1, "Edit1", " Start X", "Horizontal position of first electrode.", "Left edge of model"},
        {&Edit2, "Edit2", " End X", "Horizontal position of last electrode.", "Right edge of model"},
        {&Edit6, "Edit6", " Start resistivity", "", "Starting model resistivity."},
    };
    auto* grid = new QGridLayout(this);
    int row = 0;
    for (const auto& r : rows) {
        r.Edit->SetName(r.Name);
        r.Edit->SetHint(r.EditHint);
        r.Edit->SetShowHint(true);
        r.Edit->SetParentWidget(this);
        grid->addWidget(HintedLabel(r.Caption, r.LabelHint), row++, 0);
        grid->addWidget(r.Edit->Widget(), row++, 0);
    }
    uiPicBtn1->SetName("uiPicBtn1");
    uiPicBtn1->SetCaption("Ok");
    uiPicBtn1->SetModalResult(mrOk);
    uiPicBtn1->SetDefault(true);
    uiPicBtn1->SetParentWidget(this);
    uiPicBtn1->OnClick = [this](TPersistent*) { uiPicBtn1Click(); };
    grid->addWidget(uiPicBtn1->Widget(), row, 0, Qt::AlignHCenter);
    resize(201, 273);
}

TModConstr::~TModConstr() = default;

void TModConstr::ShowValues()
{
    Edit6.SetText(FormatValue(StartResistivity, 0, true));
    Edit1.SetText(FormatValue(LeftEdge, 0, true));
    Edit2.SetText(FormatValue(RightEdge, 0, true));
    Edit4.SetText(FormatValue(Bottom, 0, true));
}

void TModConstr::ReadValues()
{
    StartResistivity = StrToValue(Edit6.Text());
    LeftEdge = StrToValue(Edit1.Text());
    RightEdge = StrToValue(Edit2.Text());
    Bottom = StrToValue(Edit4.Text());
}

bool TModConstr::ValuesUsable() const
{
    for (double v : {StartResistivity, LeftEdge, RightEdge, Bottom})
        if (v == MissingValue) return false;
    return LeftEdge < RightEdge && Bottom > 0 && StartResistivity > 0;
}

void TModConstr::uiPicBtn1Click()
{
    ReadValues();
    if (!ValuesUsable()) SetModalResult(mrNone);
}
