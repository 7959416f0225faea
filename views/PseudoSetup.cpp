// The contour-section setup form: margins, colour keys with the level count and isolines, the user
// limits, and the Font, Apply and Cancel commands.
#include "views/PseudoSetup.h"

#include "chart/editors/LumEdiFont.h"
#include "core/Supermath2d.h"
#include "platform/controls/AnsiText.h"
#include "ui/KITClrBn.h"
#include "ui/uibtn.h"
#include "ui/uiexctl.h"
#include "views/AppDialogParts.h"
#include "views/PseudoSection2d.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

// The colour buttons' palette, column by column (4 columns of 5), and white custom colours.
constexpr TColor PaletteColumns[20] = {0x00FFFFFF, 0x000000FF, 0x0000FF00, 0x00FF0000, 0x00BFD7BF,
                                       0x00000000, 0x0000007F, 0x00007F00, 0x007F0000, 0x00EFBF9F,
                                       0x00BFBFBF, 0x0000FFFF, 0x00FFFF00, 0x00FF00FF, 0x00EFF7FF,
                                       0x007F7F7F, 0x00007F7F, 0x007F7F00, 0x007F007F, 0x009F9F9F};

void SetUpColourButton(TkitColorButton& b, const char* name, QWidget* parent)
{
    b.SetName(name);
    b.SetParentWidget(parent);
    b.Widget()->setFixedSize(45, 22);
    b.SetOtherBtnCaption("&Other");
    TColorArrayClass& palette = b.PaletteColors();
    palette.SetXSize(4);
    palette.SetYSize(5);
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 5; ++y) palette.SetCell(x, y, PaletteColumns[(x - 1) * 5 + y - 1]);
    TColorArrayClass& custom = b.CustomColors();
    custom.SetXSize(8);
    custom.SetYSize(2);
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 2; ++y) custom.SetCell(x, y, 0xFFFFFF);
}

// Arial stands in the font engine as Liberation Sans.
void UseArial(QWidget* w)
{
    QFont f = w->font();
    f.setFamily("Arial");
    w->setFont(f);
}

// The dialog of the run. Held by a plain pointer: it goes with the application (a routine the
// application runs as it ends); at the program's exit without that end (tests) the windowing system is
// already gone and the dialog must not be destroyed then.
struct TPseudoSetupState {
    TPseudosetupForm* Dialog = nullptr;
};

TPseudoSetupState& SetupState()
{
    static TPseudoSetupState state;
    return state;
}

} // namespace

TPseudosetupForm& PseudoSetupDialog()
{
    TPseudoSetupState& state = SetupState();
    if (!state.Dialog) {
        state.Dialog = std::make_unique<TPseudosetupForm>(nullptr).release();
        qAddPostRoutine([] { std::unique_ptr<TPseudosetupForm>(std::exchange(SetupState().Dialog, nullptr)); });
    }
    return *state.Dialog;
}

TPseudosetupForm::TPseudosetupForm(QWidget* owner)
    : TForm(owner), GroupBox1(new QGroupBox("Box margins (pixels)")), PSLeftval(nullptr), PStopval(nullptr),
      PSRightval(nullptr), PSBottomval(nullptr), GroupBox2(new QGroupBox("Fill&&Line colors (Gradient) ")),
      PSMinContour(std::make_unique<TkitColorButton>(nullptr)),
      PScontour1_3(std::make_unique<TkitColorButton>(nullptr)),
      PScontour2_3(std::make_unique<TkitColorButton>(nullptr)),
      PSMaxContour(std::make_unique<TkitColorButton>(nullptr)), PSLevNum(nullptr),
      PSMinIsoline(std::make_unique<TkitColorButton>(nullptr)),
      PSMaxIsoline(std::make_unique<TkitColorButton>(nullptr)), PSLinesVisible(new QCheckBox),
      Button1(new QPushButton("Font")), GroupBox3(new QGroupBox("User data limits")), PSuseExternal(new QCheckBox),
      PSExtMin(nullptr), PSExtMax(nullptr)
{
    SetCaption("Contour-section setup");
    setWindowFlag(Qt::Tool);
    // QGroupBox shows "&&" as one ampersand, as the dialog's caption wants.
    GroupBox2->setTitle("Fill&&Line colors (Gradient) ");

    QGridLayout* margins = LayOutMarginSpins(GroupBox1, PSLeftval, PStopval, PSRightval, PSBottomval, FLabels, 20);

    // Colour keys and levels in two columns: the band keys, then levels and isolines.
    auto* colours = new QGridLayout(GroupBox2);
    const struct {
        const char* Name;
        const char* Caption;
        TkitColorButton* Button;
        int Row, Column;
    } buttons[] = {{"PSMinContour", "  Min contour", PSMinContour.get(), 0, 0},
                   {"PScontour1_3", "  1/3 contour", PScontour1_3.get(), 1, 0},
                   {"PScontour2_3", "  2/3 contour", PScontour2_3.get(), 2, 0},
                   {"PSMaxContour", "  Max contour", PSMaxContour.get(), 3, 0},
                   {"PSMinIsoline", "  Min isoline", PSMinIsoline.get(), 1, 2},
                   {"PSMaxIsoline", "  Max isoline", PSMaxIsoline.get(), 2, 2}};
    for (const auto& b : buttons) {
        SetUpColourButton(*b.Button, b.Name, GroupBox2);
        FLabels.push_back(NewFrameLabel(GroupBox2, b.Caption, 90, 20));
        colours->addWidget(FLabels.back()->Widget(), b.Row, b.Column);
        colours->addWidget(b.Button->Widget(), b.Row, b.Column + 1);
    }
    PSLevNum.SetName("PSLevNum");
    PSLevNum.SetMinValue(2);
    PSLevNum.SetMaxValue(100);
    PSLevNum.SetParentWidget(GroupBox2);
    PSLevNum.Widget()->setFixedWidth(50);
    FLabels.push_back(NewFrameLabel(GroupBox2, "  Num levels", 90, 20));
    colours->addWidget(FLabels.back()->Widget(), 0, 2);
    colours->addWidget(PSLevNum.Widget(), 0, 3);
    PSLinesVisible->setObjectName("PSLinesVisible");
    PSLinesVisible->setToolTip("This turns on or off the contour\nlines on a color contour image.");
    FLabels.push_back(NewFrameLabel(GroupBox2, "  Isolines", 90, 20));
    FLabels.back()->Widget()->setToolTip(PSLinesVisible->toolTip());
    colours->addWidget(FLabels.back()->Widget(), 3, 2);
    colours->addWidget(PSLinesVisible, 3, 3);
    Button1->setObjectName("Button1");
    colours->addWidget(Button1, 4, 2, 1, 2);
    colours->setRowStretch(5, 1);

    auto* limits = new QGridLayout(GroupBox3);
    PSuseExternal->setObjectName("PSuseExternal");
    PSExtMin = NewValueEdit(GroupBox3);
    PSExtMin->setObjectName("PSExtMin");
    PSExtMax = NewValueEdit(GroupBox3);
    PSExtMax->setObjectName("PSExtMax");
    const struct {
        const char* Caption;
        QWidget* Control;
    } limitRows[] = {{"  User limits", PSuseExternal}, {"  Minimum", PSExtMin}, {"  Maximum", PSExtMax}};
    int row = 0;
    for (const auto& r : limitRows) {
        FLabels.push_back(NewFrameLabel(GroupBox3, r.Caption, 90, 20));
        limits->addWidget(FLabels.back()->Widget(), row, 0);
        limits->addWidget(r.Control, row++, 1);
    }
    limits->setRowStretch(row, 1);

    uiPicBtn3 = NewCommandButton(this, "uiPicBtn3", "Apply");
    uiPicBtn4 = NewCommandButton(this, "uiPicBtn4", "Cancel");
    uiPicBtn3->OnClick = [this](TPersistent*) { uiPicBtn3Click(); };
    uiPicBtn4->OnClick = [this](TPersistent*) { uiPicBtn4Click(); };
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { Button1Click(); });
    ConnectGuarded(PSuseExternal, &QCheckBox::clicked, this, [this](bool) { PSuseExternalClick(); });

    for (QWidget* w : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(GroupBox2),
                       static_cast<QWidget*>(GroupBox3), static_cast<QWidget*>(Button1)})
        UseArial(w);

    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox1);
    top->addWidget(GroupBox3);
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    for (TuiPicBtn* b : {uiPicBtn3.get(), uiPicBtn4.get()}) {
        b->Widget()->setFixedSize(90, 27);
        commands->addWidget(b->Widget());
    }
    auto* form = new QVBoxLayout(this);
    form->addLayout(top, 1);
    form->addWidget(GroupBox2, 1);
    form->addLayout(commands);
    // Tight spacing: the client area stays at its 464 x 316 pixels.
    form->setContentsMargins(6, 4, 6, 6);
    form->setSpacing(3);
    for (QGridLayout* grid : {margins, colours, limits}) {
        grid->setContentsMargins(6, 3, 6, 3);
        grid->setVerticalSpacing(2);
    }
    resize(464, 316);
}

TPseudosetupForm::~TPseudosetupForm() = default;

void TPseudosetupForm::LoadFromView(TPseudoSection2d& View)
{
    FView = &View;
    PSLeftval.SetValue(View.MarginLeft());
    PStopval.SetValue(View.MarginTop());
    PSRightval.SetValue(View.MarginRight());
    PSBottomval.SetValue(View.MarginBottom());
    PSLevNum.SetValue(View.FLevelCount);
    PSLinesVisible->setChecked(View.FShowIsolines);
    PSMinIsoline->SetColor(View.FMinLineColor);
    PSMaxIsoline->SetColor(View.FMaxLineColor);
    PSMinContour->SetColor(View.FMinBandColor);
    PSMaxContour->SetColor(View.FMaxBandColor);
    PScontour1_3->SetColor(View.FMidBandColors[0]);
    PScontour2_3->SetColor(View.FMidBandColors[1]);
    PSuseExternal->setChecked(View.FUseUserLimits);
    SetEditText(*PSExtMin, FormatValue(View.FUserMin));
    SetEditText(*PSExtMax, FormatValue(View.FUserMax));
    PSuseExternalClick();
}

void TPseudosetupForm::ApplyToView()
{
    if (!FView) return;
    TPseudoSection2d& view = *FView;
    view.SetMarginLeft(PSLeftval.Value());
    view.SetMarginTop(PStopval.Value());
    view.SetMarginRight(PSRightval.Value());
    view.SetMarginBottom(PSBottomval.Value());
    view.FLevelCount = PSLevNum.Value();
    view.FShowIsolines = PSLinesVisible->isChecked();
    view.FMinLineColor = PSMinIsoline->Color();
    view.FMaxLineColor = PSMaxIsoline->Color();
    view.FMinBandColor = PSMinContour->Color();
    view.FMaxBandColor = PSMaxContour->Color();
    view.FMidBandColors = {PScontour1_3->Color(), PScontour2_3->Color()};
    view.FUseUserLimits = PSuseExternal->isChecked();
    view.FUserMin = StrToValue(EditText(*PSExtMin));
    view.FUserMax = StrToValue(EditText(*PSExtMax));
    view.RebuildSection(false);
    view.UpdateLevels();
    view.UpdateImage();
}

void TPseudosetupForm::PSuseExternalClick()
{
    const bool on = PSuseExternal->isChecked();
    PSExtMin->setEnabled(on);
    PSExtMax->setEnabled(on);
}

void TPseudosetupForm::uiPicBtn3Click()
{
    ApplyToView();
    if (FView) LoadFromView(*FView);
}

void TPseudosetupForm::uiPicBtn4Click() { SetModalResult(mrCancel); }

void TPseudosetupForm::Button1Click()
{
    if (FView) ShowFontEditorModal(FView, FView->BarFont());
}
