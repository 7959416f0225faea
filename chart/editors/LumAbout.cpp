// The about box: its labels, the gradient drawn by the engine's canvas on a custom-drawn background, the
// colour sweep of the timer, and the about-box hook.
#include "chart/editors/LumAbout.h"

#include "chart/base/LumCanvasGdi.h"
#include "chart/base/LumConst.h"
#include "chart/control/ChartMouse.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

// The program's version, as its splash shows it.
constexpr char ProductVersion[] = "Lumigram Pro 1.0";

// The form's background: the engine's diagonal gradient between the form's two colours.
class TAboutBackground : public TCustomControl {
public:
    explicit TAboutBackground(const TLumAboutForm& Form) : TCustomControl(nullptr), FForm(Form) {}

protected:
    void Paint() override
    {
        TLumCanvas3D canvas;
        canvas.AttachCanvas(&Canvas());
        canvas.FillGradientRect(ClientRect(), FForm.StartColor(), FForm.EndColor(), gdDiagonalUp, 50);
    }

private:
    const TLumAboutForm& FForm;
};

// A colour with every component moved by Delta, each kept within 0..255.
TColor Shifted(TColor Color, int Delta)
{
    const auto c = [Delta](int v) { return std::clamp(v + Delta, 0, 255); };
    return RGB(c(GetRValue(Color)), c(GetGValue(Color)), c(GetBValue(Color)));
}

} // namespace

std::string LumAboutProductVersion() { return ProductVersion; }

TLumAboutForm::TLumAboutForm(QWidget* Owner)
    : TForm(Owner), FBack(std::make_unique<TAboutBackground>(*this)), FTimer(std::make_unique<TTimer>(nullptr))
{
    SetCaption(std::string("About ") + ProductVersion);
    setFixedSize(363, 232);
    setSizeGripEnabled(false);
    FBack->SetParentWidget(this);
    FBack->SetBounds(0, 0, 363, 232);
    QWidget* back = FBack->Widget();
    QFont small("Arial");
    small.setPixelSize(11);
    LabelVersion = new QLabel(AnsiToQString(ProductVersion), back);
    LabelVersion->setFont(small);
    LabelCopy = new QLabel(AnsiToQString(LumConst::Notice), back);
    LabelCopy->setFont(small);
    Label1 = new QLabel("All rights reserved.", back);
    Labelwww = new QLabel(back);
    Labelwww->hide();
    BClose = new QPushButton("Close", back);
    BClose->setDefault(true);
    SetButtonModalResult(BClose, mrCancel);
    auto* layout = new QGridLayout(back);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setRowStretch(0, 1);
    layout->addWidget(LabelVersion, 1, 0, Qt::AlignHCenter);
    layout->addWidget(LabelCopy, 2, 0, Qt::AlignHCenter);
    layout->addWidget(Label1, 3, 0, Qt::AlignHCenter);
    layout->addWidget(Labelwww, 4, 0, Qt::AlignHCenter);
    layout->setRowStretch(5, 1);
    layout->addWidget(BClose, 6, 0, Qt::AlignRight);
    FTimer->SetInterval(100);
    FTimer->OnTimer = [this](TPersistent*) { Timer1Timer(); };
}

TLumAboutForm::~TLumAboutForm()
{
    FTimer->SetEnabled(false);
}

void TLumAboutForm::Timer1Timer()
{
    FStartColor = Shifted(FStartColor, -FStep);
    FEndColor = Shifted(FEndColor, FStep);
    if (FStartColor == clBlack || FEndColor == clBlack) FStep = -FStep;
    FBack->Invalidate();
}

void ShowAboutBox(const std::string& Caption, const std::string& Version)
{
    TLumAboutForm form(nullptr);
    if (!Caption.empty()) form.SetCaption(Caption);
    if (!Version.empty()) form.LabelVersion->setText(AnsiToQString(Version));
    TranslateFormControls(&form);
    form.Labelwww->setFixedWidth(313);
    form.ShowModal();
}

void LumAboutInitialization()
{
    ChartEditorHooks().ShowAboutBox = [] {
        // Cleared before the box shows, so a second call while it shows finds no hook either.
        ChartEditorHooks().ShowAboutBox = nullptr;
        ShowAboutBox("", "");
    };
}

void LumAboutFinalization() { ChartEditorHooks().ShowAboutBox = nullptr; }
