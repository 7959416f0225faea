// The legend editor: its tabs and controls, filling from a legend, each write, the custom position's
// enabling, and the legend and title shape pages.
#include "chart/editors/LumEdiLege.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartLegend.h"
#include "chart/editors/LumCustomShapeEditor.h"
#include "chart/editors/LumSymbolEditor.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/StringList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox* NewLegendList(const std::vector<std::string>& Items)
{
    auto* c = new QComboBox;
    for (const std::string& s : Items) c->addItem(AnsiToQString(s));
    return c;
}

} // namespace

TFormLumLegend::TFormLumLegend(QWidget* Owner) : TLumEditorForm(Owner), BDivLines(nullptr)
{
    resize(374, 224);
    PageControl1 = new QTabWidget;
    ShowTabsWhole(*PageControl1);
    TabStyle = new QWidget;
    TabPosition = new QWidget;
    TabSymbols = new QWidget;
    TabTitle = new QWidget;
    PageControl1->addTab(TabStyle, "Style");
    PageControl1->addTab(TabPosition, "Position");
    PageControl1->addTab(TabSymbols, "Symbols");
    PageControl1->addTab(TabTitle, "Title");
    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl1);

    // "Style".
    CBShow = NewCheckBox("&Visible");
    CBInverted = NewCheckBox("&Inverted");
    CBLegendStyle = NewLegendList({"Automatic", "Series Names", "Series Values", "Last Values"});
    CBLegStyle = NewLegendList({"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent", "X Value", "Value",
                          "Percent", "X and Value", "X and Percent"});
    BDivLines.SetCaption("&Dividing Lines...");
    BDivLines.SetParentWidget(TabStyle);
    EVertSpacing = NewUpDown(-10, 100);
    CBFontColor = NewCheckBox("&Font Series Color");
    CBCheckBoxes = NewLegendList({"No check boxes", "Check boxes", "Radio buttons"});
    auto* style = new QGridLayout(TabStyle);
    style->addWidget(CBShow, 0, 0);
    style->addWidget(CBInverted, 1, 0);
    style->addWidget(CBFontColor, 2, 0);
    style->addWidget(BDivLines.Widget(), 3, 0);
    style->addWidget(CBCheckBoxes, 4, 0);
    style->addWidget(NewLabel("Legend &Style:", CBLegendStyle), 0, 1);
    style->addWidget(CBLegendStyle, 0, 2);
    style->addWidget(NewLabel("Text St&yle:", CBLegStyle), 1, 1);
    style->addWidget(CBLegStyle, 1, 2);
    style->addWidget(NewLabel("V&ert. Spacing:", EVertSpacing), 2, 1);
    style->addWidget(EVertSpacing, 2, 2);
    style->setRowStretch(5, 1);

    // "Position".
    RGPosition = new QGroupBox("Position");
    auto* positions = new QVBoxLayout(RGPosition);
    for (const char* caption : {"&Left", "&Right", "&Top", "&Bottom"}) {
        auto* r = new QRadioButton(AnsiToQString(caption));
        PositionButtons.push_back(r);
        positions->addWidget(r);
    }
    SETopPos = NewUpDown(-100, 100);
    LTopPos = NewLabel("&Position Offset %:", SETopPos);
    SEMargin = NewUpDown(-1000, 1000);
    LMargin = NewLabel("&Margin:", SEMargin);
    CBResizeChart = NewCheckBox("Resi&ze Chart");
    GBCustom = new QGroupBox;
    CBCustPos = NewCheckBox("&Custom:");
    CBPosPercent = NewCheckBox("Percent");
    ECustLeft = NewUpDown(-100, 1000, 5);
    ECustTop = NewUpDown(-100, 1000, 5);
    LCustLeft = NewLabel("L&eft:", ECustLeft);
    LCustTop = NewLabel("T&op:", ECustTop);
    auto* custom = new QGridLayout(GBCustom);
    custom->addWidget(CBCustPos, 0, 0);
    custom->addWidget(CBPosPercent, 0, 1);
    custom->addWidget(LCustLeft, 1, 0);
    custom->addWidget(ECustLeft, 1, 1);
    custom->addWidget(LCustTop, 2, 0);
    custom->addWidget(ECustTop, 2, 1);
    auto* position = new QGridLayout(TabPosition);
    position->addWidget(RGPosition, 0, 0, 4, 1);
    position->addWidget(LTopPos, 0, 1);
    position->addWidget(SETopPos, 0, 2);
    position->addWidget(LMargin, 1, 1);
    position->addWidget(SEMargin, 1, 2);
    position->addWidget(CBResizeChart, 2, 1, 1, 2);
    position->addWidget(GBCustom, 0, 3, 4, 1);
    position->setRowStretch(4, 1);

    // "Title": options, then the title's shape pages.
    PageControl2 = new QTabWidget;
    ShowTabsWhole(*PageControl2);
    TabTitleOptions = new QWidget;
    PageControl2->addTab(TabTitleOptions, "Options");
    auto* title = new QVBoxLayout(TabTitle);
    title->addWidget(PageControl2);
    MemoText = new QPlainTextEdit;
    CBTextAlign = NewLegendList({"Left", "Center", "Right"});
    CBTitleVisible = NewCheckBox("&Visible");
    auto* options = new QGridLayout(TabTitleOptions);
    options->addWidget(NewLabel("&Text:", MemoText), 0, 0);
    options->addWidget(MemoText, 1, 0, 3, 1);
    options->addWidget(CBTitleVisible, 0, 1);
    options->addWidget(NewLabel("Text &alignment:", CBTextAlign), 1, 1);
    options->addWidget(CBTextAlign, 2, 1);

    const auto check = [this](QCheckBox* box, std::function<void(TCustomChartLegend&, bool)> write) {
        ConnectGuarded(box, &QCheckBox::clicked, this, [this, write](bool v) {
            if (FLegend) write(*FLegend, v);
        });
    };
    check(CBShow, [](TCustomChartLegend& l, bool v) { l.SetVisible(v); });
    check(CBInverted, [](TCustomChartLegend& l, bool v) { l.SetInverted(v); });
    check(CBFontColor, [](TCustomChartLegend& l, bool v) { l.SetFontSeriesColor(v); });
    check(CBResizeChart, [](TCustomChartLegend& l, bool v) { l.SetResizeChart(v); });
    check(CBTitleVisible, [](TCustomChartLegend& l, bool v) { l.Title().SetVisible(v); });
    ConnectGuarded(CBLegendStyle, &QComboBox::activated, this, [this](int i) {
        if (FLegend) FLegend->SetLegendStyle(static_cast<TLegendStyle>(i));
    });
    ConnectGuarded(CBLegStyle, &QComboBox::activated, this, [this](int i) {
        if (FLegend) FLegend->SetTextStyle(static_cast<TLegendTextStyle>(i));
    });
    ConnectGuarded(CBCheckBoxes, &QComboBox::activated, this, [this](int i) {
        if (!FLegend) return;
        FLegend->SetCheckBoxes(i > 0);
        FLegend->SetCheckBoxesStyle(i == 1 ? cbsCheck : cbsRadio);
    });
    ConnectGuarded(EVertSpacing, &QSpinBox::valueChanged, this, [this](int v) {
        if (FLegend && !FFilling) FLegend->SetVertSpacing(v);
    });
    for (std::size_t i = 0; i < PositionButtons.size(); ++i)
        ConnectGuarded(PositionButtons[i], &QRadioButton::clicked, this, [this, i](bool) {
            if (FLegend) FLegend->SetAlignment(static_cast<TLegendAlignment>(i));
        });
    ConnectGuarded(SETopPos, &QSpinBox::valueChanged, this, [this](int v) {
        if (FLegend && !FFilling) FLegend->SetTopPos(v);
    });
    ConnectGuarded(SEMargin, &QSpinBox::valueChanged, this, [this](int v) {
        if (!FLegend || FFilling) return;
        if (FLegend->IsSideAligned())
            FLegend->SetHorizMargin(v);
        else
            FLegend->SetVertMargin(v);
    });
    ConnectGuarded(CBCustPos, &QCheckBox::clicked, this, [this](bool v) {
        if (!FLegend) return;
        FLegend->SetCustomPosition(v);
        if (v) {
            FLegend->SetResizeChart(false);
            CBResizeChart->setChecked(false);
        }
        EnableCustomPosition();
    });
    ConnectGuarded(CBPosPercent, &QCheckBox::clicked, this, [this](bool v) {
        if (!FLegend) return;
        FLegend->SetPositionUnits(v ? muPercent : muPixels);
        LoadCustomEdges();
    });
    ConnectGuarded(ECustLeft, &QSpinBox::valueChanged, this, [this](int v) { CustomEdgeChanged(true, v); });
    ConnectGuarded(ECustTop, &QSpinBox::valueChanged, this, [this](int v) { CustomEdgeChanged(false, v); });
    ConnectGuarded(CBTextAlign, &QComboBox::activated, this, [this](int i) {
        if (FLegend) FLegend->Title().SetTextAlignment(i == 0 ? taLeftJustify : i == 1 ? taCenter : taRightJustify);
    });
    ConnectGuarded(MemoText, &QPlainTextEdit::textChanged, this, [this] {
        if (!FLegend || FFilling) return;
        // Each line of the memo is a line of the title.
        TStringList lines;
        for (const QString& line : MemoText->toPlainText().split('\n')) lines.Add(QStringToAnsi(line));
        FLegend->Title().SetText(lines);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumLegend::~TFormLumLegend() = default;

std::unique_ptr<TFormLumLegend> TFormLumLegend::CreateForLegend(QWidget* Owner, TCustomChartLegend& Legend)
{
    auto form = std::make_unique<TFormLumLegend>(Owner);
    form->BindLegend(&Legend);
    return form;
}

void TFormLumLegend::BindLegend(TCustomChartLegend* Legend)
{
    FLegend = Legend;
    if (!FLegend) return;
    if (!FLegendShape) FLegendShape = EmbedShapeEditorPages(*PageControl1, FLegend);
    if (!FTitleShape) FTitleShape = EmbedShapeEditorPages(*PageControl2, &FLegend->Title());
}

void TFormLumLegend::FormShow()
{
    if (!FLegend) return;
    FFilling = true;
    TCustomChartLegend& l = *FLegend;
    CBShow->setChecked(l.Visible());
    CBInverted->setChecked(l.Inverted());
    CBLegendStyle->setCurrentIndex(l.LegendStyle());
    CBLegStyle->setCurrentIndex(l.TextStyle());
    BDivLines.LinkPen(&l.DividingLines());
    EVertSpacing->setValue(l.VertSpacing());
    CBFontColor->setChecked(l.FontSeriesColor());
    CBCheckBoxes->setCurrentIndex(!l.CheckBoxes() ? 0 : l.CheckBoxesStyle() == cbsRadio ? 2 : 1);
    PositionButtons[static_cast<std::size_t>(l.Alignment())]->setChecked(true);
    SETopPos->setValue(l.TopPos());
    SEMargin->setValue(l.IsSideAligned() ? l.HorizMargin() : l.VertMargin());
    CBResizeChart->setChecked(l.ResizeChart());
    CBCustPos->setChecked(l.CustomPosition());
    CBPosPercent->setChecked(l.PositionUnits() == muPercent);
    LoadCustomEdges();
    EnableCustomPosition();
    if (!FSymbolEditor) {
        FSymbolEditor = new TSymbolEditor(this);
        EmbedFormClient(*FSymbolEditor, *TabSymbols, &l.Symbol());
    }
    QStringList lines;
    for (int i = 0; i < l.Title().Text().Count(); ++i) lines << AnsiToQString(l.Title().Text()[i]);
    MemoText->setPlainText(lines.join('\n'));
    const TAlignment align = l.Title().TextAlignment();
    CBTextAlign->setCurrentIndex(align == taLeftJustify ? 0 : align == taCenter ? 1 : 2);
    CBTitleVisible->setChecked(l.Title().Visible());
    if (FLegendShape) FLegendShape->LoadShape(&l);
    if (FTitleShape) FTitleShape->LoadShape(&l.Title());
    FFilling = false;
    TranslateFormControls(this);
}

void TFormLumLegend::LoadCustomEdges()
{
    if (!FLegend) return;
    const bool filling = FFilling;
    FFilling = true;
    const bool percent = FLegend->PositionUnits() == muPercent;
    ECustLeft->setValue(percent ? FLegend->LeftPercent() : FLegend->Left());
    ECustTop->setValue(percent ? FLegend->TopPercent() : FLegend->Top());
    FFilling = filling;
}

void TFormLumLegend::CustomEdgeChanged(bool Left, int Value)
{
    if (!FLegend || FFilling || !FLegend->CustomPosition()) return;
    const bool pixels = FLegend->PositionUnits() == muPixels;
    if (Left) {
        if (pixels)
            FLegend->SetLeft(Value);
        else
            FLegend->SetLeftPercent(Value);
    } else if (pixels) {
        FLegend->SetTop(Value);
    } else {
        FLegend->SetTopPercent(Value);
    }
}

void TFormLumLegend::EnableCustomPosition()
{
    const bool custom = FLegend && FLegend->CustomPosition();
    for (QWidget* w : std::initializer_list<QWidget*>{ECustLeft, ECustTop, LCustLeft, LCustTop, CBPosPercent})
        w->setEnabled(custom);
    for (QWidget* w : std::initializer_list<QWidget*>{CBResizeChart, SEMargin, LMargin, SETopPos, LTopPos})
        w->setEnabled(!custom);
}
