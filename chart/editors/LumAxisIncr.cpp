// The increment dialog: standard steps, the custom edit and its reading, and the increment text.
#include "chart/editors/LumAxisIncr.h"

#include "chart/base/RadErareServices.h"
#include "chart/editors/LumEditorForms.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace {

const std::array<std::string, DateTimeStepCount> StepCaptions = {
    "One Microsecond", "One Millisecond", "One Second",     "Five Seconds",  "Ten Seconds",   "Fifteen Seconds",
    "Thirty Seconds",  "One Minute",      "Five Minutes",   "Ten Minutes",   "Fifteen Minutes", "Thirty Minutes",
    "One Hour",        "Two Hours",       "Six Hours",      "Twelve Hours",  "One Day",       "Two Days",
    "Three Days",      "One Week",        "Half Month",     "One Month",     "Two Months",    "Three Months",
    "Four Months",     "Six Months",      "One Year"};

constexpr int OneSecondStep = 2;

} // namespace

std::string IncorrectValueMessage(const std::string& Reason) { return "Incorrect value. Reason: " + Reason; }

const std::string& DateTimeStepCaption(int Index) { return StepCaptions.at(static_cast<std::size_t>(Index)); }

std::string DateTimeIncrementText(double Value)
{
    if (Value <= 0) return TimeToStr(DateTimeStep[OneSecondStep]);
    if (Value >= 1) {
        const double days = std::trunc(Value);
        std::string text = FloatToStr(days);
        if (Value - days != 0) text += " " + TimeToStr(Value - days);
        return text;
    }
    return TimeToStr(Value);
}

std::string AxisIncrementText(bool DateTime, bool Exact, const std::string& ValueFormat, double Value)
{
    if (DateTime) {
        const int step = FindDateTimeStep(Value);
        if (Exact && step != dtNoStep) return DateTimeStepCaption(step);
        return DateTimeIncrementText(Value);
    }
    const std::string text = FormatFloat(ValueFormat, Value);
    double back = 0;
    if (TryStrToFloat(text, back, FormatSettings()) && back == Value) return text;
    return FloatToStr(Value);
}

TAxisIncrement::TAxisIncrement(QWidget* Owner)
    : TForm(Owner), RGIncrement(new QGroupBox("Increment:")), RBStandard(new QRadioButton(AnsiToQString("&Standard:"))),
      RBCustom(new QRadioButton(AnsiToQString("&Custom:"))), CBSteps(new QComboBox), ECustom(new QLineEdit),
      CBExact(NewCheckBox("&Exact Date Time")), BOk(new QPushButton("OK")), BCancel(new QPushButton("Cancel"))
{
    SetCaption("Axis Increment");
    setSizeGripEnabled(false);
    for (const std::string& caption : StepCaptions) CBSteps->addItem(AnsiToQString(caption));
    LIncrement = NewLabel("&Increment:", ECustom);
    auto* group = new QGridLayout(RGIncrement);
    group->addWidget(RBStandard, 0, 0);
    group->addWidget(CBSteps, 0, 1);
    group->addWidget(RBCustom, 1, 0);
    group->addWidget(CBExact, 2, 0, 1, 2);

    auto* form = new QGridLayout(this);
    form->addWidget(RGIncrement, 0, 0, 1, 2);
    form->addWidget(LIncrement, 1, 0);
    form->addWidget(ECustom, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    form->addLayout(buttons, 2, 0, 1, 2);
    BOk->setDefault(true);
    BOk->setAutoDefault(true);

    ConnectGuarded(RBStandard, &QRadioButton::clicked, this, [this](bool) { ChooseStandard(); });
    ConnectGuarded(RBCustom, &QRadioButton::clicked, this, [this](bool) { ChooseCustom(); });
    ConnectGuarded(CBExact, &QCheckBox::clicked, this, [this](bool checked) { ExactClicked(checked); });
    ConnectGuarded(CBSteps, &QComboBox::activated, this, [this](int index) { StepIndex = index; });
    ConnectGuarded(BOk, &QPushButton::clicked, this, [this](bool) { OkClicked(); });
    SetButtonModalResult(BCancel, mrCancel);
    OnShow = [this](TForm*) { FormShow(); };
}

TAxisIncrement::~TAxisIncrement() = default;

void TAxisIncrement::FormShow()
{
    FShowing = true;
    CBExact->setVisible(DateTimeAxis);
    CBExact->setChecked(ExactSteps);
    if (DateTimeAxis) {
        ECustom->setToolTip(AnsiToQString("Enter [Number of Days] [hh:nn:ss]"));
        ECustom->setText(AnsiToQString(DateTimeIncrementText(IncrementValue)));
        if (ExactSteps && StepIndex != dtNoStep) {
            RBStandard->setChecked(true);
            CBSteps->setCurrentIndex(StepIndex);
            ECustom->clear();
            ECustom->setEnabled(false);
            CBSteps->setEnabled(true);
            CBExact->setEnabled(true);
            CBSteps->setFocus();
        } else {
            RBCustom->setChecked(true);
            CBSteps->setCurrentIndex(-1);
            CBSteps->setEnabled(false);
            CBExact->setEnabled(false);
            ECustom->setEnabled(true);
        }
    } else {
        RGIncrement->hide();
        RBCustom->setChecked(true);
        ECustom->setToolTip({});
        ECustom->setText(AnsiToQString(FloatToStr(IncrementValue)));
        ECustom->setEnabled(true);
        ECustom->setFocus();
        adjustSize(); // no room kept for the hidden steps
    }
    TranslateFormControls(this);
    FShowing = false;
}

void TAxisIncrement::RefreshCustomText() { ECustom->setText(AnsiToQString(DateTimeIncrementText(IncrementValue))); }

void TAxisIncrement::ChooseStandard()
{
    ECustom->setEnabled(false);
    CBExact->setChecked(true);
    CBExact->setEnabled(true);
    ExactSteps = true;
    CBSteps->setEnabled(true);
    if (StepIndex == dtNoStep) StepIndex = 0;
    CBSteps->setCurrentIndex(StepIndex);
    CBSteps->setFocus();
}

void TAxisIncrement::ChooseCustom()
{
    ECustom->setEnabled(true);
    CBExact->setChecked(false);
    CBExact->setEnabled(false);
    ExactSteps = false;
    CBSteps->setEnabled(false);
    RefreshCustomText();
    ECustom->setFocus();
}

void TAxisIncrement::ExactClicked(bool Checked)
{
    if (Checked) return;
    RBCustom->setChecked(true);
    ChooseCustom();
}

void TAxisIncrement::OkClicked()
{
    const std::string text = QStringToAnsi(ECustom->text());
    try {
        if (!DateTimeAxis) {
            IncrementValue = StrToFloat(text);
        } else if (RBStandard->isChecked()) {
            IncrementValue = DateTimeStep.at(static_cast<std::size_t>(CBSteps->currentIndex() < 0 ? 0 : CBSteps->currentIndex()));
            StepIndex = CBSteps->currentIndex();
        } else if (const auto blank = text.find(' '); blank != std::string::npos) {
            const double days = StrToFloat(text.substr(0, blank));
            IncrementValue = days + StrToTime(text.substr(blank + 1, 255));
        } else {
            std::int32_t whole = 0;
            TDateTime time = 0;
            if (TryStrToInt(text, whole))
                IncrementValue = whole;
            else if (TryStrToTime(text, time, FormatSettings()))
                IncrementValue = time;
            else
                IncrementValue = StrToFloat(text);
        }
    } catch (const Exception& e) {
        ShowMessage(IncorrectValueMessage(e.Message()));
        return;
    }
    SetModalResult(mrOk);
}
