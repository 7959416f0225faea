// The titles page: its controls, filling from a title, each write, the custom position's guard and the
// shape editor's pages.
#include "chart/editors/LumEdiTitl.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartWalls.h"
#include "chart/editors/LumCustomShapeEditor.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/StringList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr TAlignment AlignmentOfItem[] = {taLeftJustify, taCenter, taRightJustify};

int ItemOfAlignment(TAlignment A)
{
    return A == taLeftJustify ? 0 : A == taCenter ? 1 : 2;
}

} // namespace

TFormLumTitle::TFormLumTitle(QWidget* Owner, TCustomChart& Chart, TChartTitle* Title)
    : TLumEditorForm(Owner), FChart(Chart), FTitle(Title)
{
    resize(400, 240);
    SetTag(Title);
    CBTitles = new QComboBox;
    for (const char* s : {"Title", "SubTitle", "SubFoot", "Foot"}) CBTitles->addItem(s);
    PageControlTitle = new QTabWidget;
    ShowTabsWhole(*PageControlTitle);
    TabStyle = new QWidget;
    TabPosition = new QWidget;
    PageControlTitle->addTab(TabStyle, "Style");
    PageControlTitle->addTab(TabPosition, "Position");
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(CBTitles);
    top->addStretch(1);
    form->addLayout(top);
    form->addWidget(PageControlTitle, 1);

    CBVisible = NewCheckBox("&Visible");
    CBAdjust = NewCheckBox("&Adjust Frame");
    CBAlign = new QComboBox;
    for (const char* s : {"Left", "Center", "Right"}) CBAlign->addItem(s);
    MText = new QPlainTextEdit;
    auto* style = new QGridLayout(TabStyle);
    style->addWidget(NewLabel("&Text:", MText), 0, 0);
    style->addWidget(MText, 1, 0, 4, 1);
    style->addWidget(CBVisible, 1, 1);
    style->addWidget(CBAdjust, 2, 1);
    style->addWidget(NewLabel("Alig&nment:", CBAlign), 3, 1);
    style->addWidget(CBAlign, 4, 1);
    style->setColumnStretch(0, 1);

    CBCustPos = NewCheckBox("&Custom:");
    ECustLeft = NewUpDown(-1000, 1000, 5);
    ECustTop = NewUpDown(-1000, 1000, 5);
    auto* position = new QGridLayout(TabPosition);
    position->addWidget(CBCustPos, 0, 0, 1, 2);
    position->addWidget(NewLabel("L&eft:", ECustLeft), 1, 0);
    position->addWidget(ECustLeft, 1, 1);
    position->addWidget(NewLabel("T&op:", ECustTop), 2, 0);
    position->addWidget(ECustTop, 2, 1);
    position->setRowStretch(3, 1);
    position->setColumnStretch(2, 1);

    FShape = EmbedShapeEditorPages(*PageControlTitle, Title);
    PageControlTitle->setCurrentWidget(TabStyle);

    ConnectGuarded(CBTitles, &QComboBox::activated, this, [this](int i) { CBTitlesChange(i); });
    ConnectGuarded(CBVisible, &QCheckBox::clicked, this, [this](bool v) {
        if (FTitle) FTitle->SetVisible(v);
    });
    ConnectGuarded(CBAdjust, &QCheckBox::clicked, this, [this](bool v) {
        if (FTitle) FTitle->SetAdjustFrame(v);
    });
    ConnectGuarded(CBAlign, &QComboBox::activated, this, [this](int i) {
        if (FTitle && i >= 0 && i < 3) FTitle->SetAlignment(AlignmentOfItem[i]);
    });
    ConnectGuarded(MText, &QPlainTextEdit::textChanged, this, [this] {
        if (!FTitle || FAssigningText) return;
        TStringList lines;
        lines.SetText(QStringToAnsi(MText->toPlainText()));
        if (lines.Text() != FTitle->Text().Text()) FTitle->SetText(lines);
    });
    ConnectGuarded(CBCustPos, &QCheckBox::clicked, this, [this](bool v) {
        if (!FTitle) return;
        FTitle->SetCustomPosition(v);
        EnablePosition();
    });
    const auto edge = [this](QSpinBox* box, bool Left) {
        ConnectGuarded(box, &QSpinBox::valueChanged, this, [this, Left](int v) {
            if (FCreating || !FTitle || !FTitle->CustomPosition()) return;
            if (Left && FTitle->Left() != v) FTitle->SetLeft(v);
            if (!Left && FTitle->Top() != v) FTitle->SetTop(v);
            FChart.Invalidate();
        });
    };
    edge(ECustLeft, true);
    edge(ECustTop, false);
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumTitle::~TFormLumTitle() = default;

std::unique_ptr<TFormLumTitle> TFormLumTitle::CreateForTitle(QWidget* Owner, TCustomChart& Chart, TChartTitle* Title)
{
    return std::make_unique<TFormLumTitle>(Owner, Chart, Title);
}

void TFormLumTitle::FormShow()
{
    if (FTitle) {
        int item = 3;
        if (FTitle == &FChart.Title()) item = 0;
        else if (FTitle == &FChart.SubTitle()) item = 1;
        else if (FTitle == &FChart.SubFoot()) item = 2;
        CBTitles->setCurrentIndex(item);
        FillControls();
    }
    FCreating = false;
    TranslateFormControls(this);
}

void TFormLumTitle::CBTitlesChange(int Index)
{
    TChartTitle* titles[] = {&FChart.Title(), &FChart.SubTitle(), &FChart.SubFoot(), &FChart.Foot()};
    if (Index < 0 || Index > 3) return;
    FTitle = titles[Index];
    SetTag(FTitle);
    FillControls();
}

void TFormLumTitle::FillControls()
{
    if (!FTitle) return;
    CBAlign->setCurrentIndex(ItemOfAlignment(FTitle->Alignment()));
    CBVisible->setChecked(FTitle->Visible());
    CBAdjust->setChecked(FTitle->AdjustFrame());
    CBCustPos->setChecked(FTitle->CustomPosition());
    EnablePosition();
    FAssigningText = true;
    MText->setPlainText(AnsiToQString(FTitle->Text().Text()).trimmed());
    FAssigningText = false;
    if (FShape) FShape->LoadShape(FTitle);
}

void TFormLumTitle::EnablePosition()
{
    const bool custom = FTitle && FTitle->CustomPosition();
    ECustLeft->setEnabled(custom);
    ECustTop->setEnabled(custom);
    if (!custom) return;
    const bool was = FCreating;
    FCreating = true;
    ECustLeft->setValue(FTitle->Left());
    ECustTop->setValue(FTitle->Top());
    FCreating = was;
}
