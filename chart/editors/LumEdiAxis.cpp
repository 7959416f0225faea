// The axis editor: the axis list, each page's controls and writes, the scales with their dialogs and the
// signed-logarithm options, and the axis dialog.
#include "chart/editors/LumEdiAxis.h"

#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartMouse.h"
#include "chart/editors/LumAxMaxMin.h"
#include "chart/editors/LumAxisIncr.h"
#include "chart/editors/LumEdiFont.h"
#include "chart/editors/LumFormatting.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEnginePanel.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace {

const std::vector<std::string> StandardAxisNames = {"Left Axis",   "Right Axis",  "Top Axis",
                                                    "Bottom Axis", "Depth Right", "Depth Top"};

QComboBox* NewList(const std::vector<std::string>& Items, bool Editable = false)
{
    auto* c = new QComboBox;
    c->setEditable(Editable);
    for (const std::string& s : Items) c->addItem(AnsiToQString(s));
    return c;
}

std::string EndText(const TChartAxis& Axis, double Value)
{
    if (Axis.ShowsDateTime()) return Value < 1 ? TimeToStr(Value) : DateTimeToStr(Value);
    return FormatFloat(Axis.AxisValuesFormat(), Axis.LabelValueScale * (Value + Axis.LabelValueOffset));
}

// The base e as typed back from its text (fifteen digits) still counts as e.
bool IsE(double Base) { return std::abs(Base - std::numbers::e) < 1e-12; }

} // namespace

TFormLumAxis::TFormLumAxis(QWidget* Owner, TChartAxis* Axis)
    : TLumEditorForm(Owner), BAxisPen(nullptr), BTickPen(nullptr), BTickInner(nullptr), BAxisGrid(nullptr),
      BTickMinor(nullptr), BMinorGrid(nullptr), FAxis(Axis)
{
    resize(464, 284);
    PageAxis = new QTabWidget;
    ShowTabsWhole(*PageAxis);
    TabScales = new QWidget;
    TabTitle = new QWidget;
    TabLabels = new QWidget;
    TabTicks = new QWidget;
    TabMinor = new QWidget;
    TabPosition = new QWidget;
    PageAxis->addTab(TabScales, "Scales");
    PageAxis->addTab(TabTitle, "Title");
    PageAxis->addTab(TabLabels, "Labels");
    PageAxis->addTab(TabTicks, "Ticks");
    PageAxis->addTab(TabMinor, "Minor");
    PageAxis->addTab(TabPosition, "Position");
    BuildLeftPanel();
    BuildScales();
    BuildTitle();
    BuildLabels();
    BuildTicks();
    BuildPosition();
    auto* form = new QHBoxLayout(this);
    form->addWidget(PanelLeft);
    form->addWidget(PageAxis, 1);
    ConnectGuarded(PageAxis, &QTabWidget::currentChanged, this, [this](int) {
        FFilling = true;
        PageAxisChange();
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumAxis::~TFormLumAxis() = default;

TCustomAxisPanel* TFormLumAxis::Chart() const { return FAxis ? FAxis->ParentChart() : nullptr; }

void TFormLumAxis::OnValue(QSpinBox* Spin, std::function<void(TChartAxis&, int)> Write)
{
    ConnectGuarded(Spin, &QSpinBox::valueChanged, this, [this, Write](int value) {
        if (FAxis && !FFilling) Write(*FAxis, value);
    });
}

void TFormLumAxis::OnCheck(QCheckBox* Box, std::function<void(TChartAxis&, bool)> Write)
{
    ConnectGuarded(Box, &QCheckBox::clicked, this, [this, Write](bool checked) {
        if (FAxis) Write(*FAxis, checked);
    });
}

// ---- Building the pages -----------------------------------------------------------------------------------

void TFormLumAxis::BuildLeftPanel()
{
    PanelLeft = new QWidget;
    LBAxes = new QListWidget;
    LBAxes->setFixedWidth(110);
    CBShow = NewCheckBox("Visible");
    CBAxisBeh = NewCheckBox("&Behind");
    BAdd = new QPushButton("+");
    BDelete = new QPushButton("-");
    auto* left = new QGridLayout(PanelLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(NewLabel("A&xes:", LBAxes), 0, 0, 1, 2);
    left->addWidget(LBAxes, 1, 0, 1, 2);
    left->addWidget(CBShow, 2, 0, 1, 2);
    left->addWidget(CBAxisBeh, 3, 0, 1, 2);
    left->addWidget(BAdd, 4, 0);
    left->addWidget(BDelete, 4, 1);
    ConnectGuarded(LBAxes, &QListWidget::currentRowChanged, this, [this](int row) {
        TCustomAxisPanel* chart = Chart();
        if (!chart || row < 0) return;
        static const std::vector<std::function<TChartAxis&(TCustomAxisPanel&)>> standard = {
            [](TCustomAxisPanel& c) -> TChartAxis& { return c.LeftAxis(); },
            [](TCustomAxisPanel& c) -> TChartAxis& { return c.RightAxis(); },
            [](TCustomAxisPanel& c) -> TChartAxis& { return c.TopAxis(); },
            [](TCustomAxisPanel& c) -> TChartAxis& { return c.BottomAxis(); },
            [](TCustomAxisPanel& c) -> TChartAxis& { return c.DepthAxis(); },
            [](TCustomAxisPanel& c) -> TChartAxis& { return c.DepthTopAxis(); }};
        FAxis = row < 6 ? &standard[static_cast<std::size_t>(row)](*chart) : &chart->CustomAxes().CustomAxisAt(row - 6);
        FFilling = true;
        PageAxisChange();
    });
    ConnectGuarded(CBShow, &QCheckBox::clicked, this, [this](bool checked) {
        if (Chart()) Chart()->SetAxisVisible(checked);
    });
    ConnectGuarded(CBAxisBeh, &QCheckBox::clicked, this, [this](bool checked) {
        if (Chart()) Chart()->SetAxisBehind(checked);
    });
    ConnectGuarded(BAdd, &QPushButton::clicked, this, [this](bool) {
        TCustomAxisPanel* chart = Chart();
        if (!chart) return;
        chart->CustomAxes().Add();
        FillAxisList();
        LBAxes->setCurrentRow(LBAxes->count() - 1);
    });
    ConnectGuarded(BDelete, &QPushButton::clicked, this, [this](bool) {
        TCustomAxisPanel* chart = Chart();
        if (!chart || !FAxis || !FAxis->IsCustom()) return;
        const int row = LBAxes->currentRow();
        TChartAxis* gone = FAxis;
        FAxis = &chart->LeftAxis();
        chart->CustomAxes().Remove(gone);
        FillAxisList();
        LBAxes->setCurrentRow(std::max(0, row - 1));
    });
}

void TFormLumAxis::BuildScales()
{
    CBAutomatic = NewCheckBox("Auto");
    CBVisible = NewCheckBox("Visible");
    CBLogarithmic = NewCheckBox("Logarithmic");
    CBInverted = NewCheckBox("Inverted");
    ELogBase = new QLineEdit("10");
    ELogBase->setMaximumWidth(60);
    LLogBase = NewLabel("Log base:", ELogBase);
    LogE = NewCheckBox("e");
    LAxisIncre = new QLabel;
    BIncre = new QPushButton(AnsiToQString("&Change..."));
    PageMinMax = new QTabWidget;
    // The pages' tabs always show whole; the dialog widens for them instead.
    ShowTabsWhole(*PageMinMax);
    auto* tabMin = new QWidget;
    auto* tabMax = new QWidget;
    PageMinMax->addTab(tabMin, "Minimum");
    PageMinMax->addTab(tabMax, "Maximum");
    LAxisMin = new QLabel;
    CBAutoMin = NewCheckBox("Aut&o");
    BAxisMin = new QPushButton(AnsiToQString("Cha&nge..."));
    EMinOff = NewUpDown(-10000, 10000);
    LAxisMax = new QLabel;
    CBAutoMax = NewCheckBox("A&uto");
    BAxisMax = new QPushButton(AnsiToQString("C&hange..."));
    EMaxOff = NewUpDown(-10000, 10000);
    const auto endTab = [](QWidget* tab, QLabel* value, QCheckBox* automatic, QPushButton* change, QSpinBox* offset) {
        auto* g = new QGridLayout(tab);
        g->addWidget(value, 0, 0, 1, 2);
        g->addWidget(automatic, 1, 0);
        g->addWidget(change, 1, 1);
        g->addWidget(NewLabel("Offset:", offset), 2, 0);
        g->addWidget(offset, 2, 1);
    };
    endTab(tabMin, LAxisMin, CBAutoMin, BAxisMin, EMinOff);
    endTab(tabMax, LAxisMax, CBAutoMax, BAxisMax, EMaxOff);
    GroupLinLog = new QGroupBox("LinLog options");
    SpinEdit1 = NewUpDown(1, 15);
    CheckBox1 = NewCheckBox("Min dec");
    Edit3 = new QLineEdit;
    Edit3->setMaximumWidth(70);
    CheckBox2 = NewCheckBox("Rounded limits");
    auto* linlog = new QGridLayout(GroupLinLog);
    linlog->addWidget(NewLabel("Dec shift", SpinEdit1), 0, 0);
    linlog->addWidget(SpinEdit1, 0, 1);
    linlog->addWidget(CheckBox1, 1, 0);
    linlog->addWidget(Edit3, 1, 1);
    linlog->addWidget(CheckBox2, 2, 0, 1, 2);

    auto* g = new QGridLayout(TabScales);
    g->addWidget(CBAutomatic, 0, 0);
    g->addWidget(CBVisible, 1, 0);
    g->addWidget(CBLogarithmic, 2, 0);
    g->addWidget(CBInverted, 3, 0);
    auto* base = new QHBoxLayout;
    base->addWidget(LLogBase);
    base->addWidget(ELogBase);
    base->addWidget(LogE);
    g->addLayout(base, 4, 0, 1, 2);
    auto* incr = new QHBoxLayout;
    incr->addWidget(new QLabel("Increment:"));
    incr->addWidget(LAxisIncre, 1);
    incr->addWidget(BIncre);
    g->addLayout(incr, 5, 0, 1, 3);
    g->addWidget(PageMinMax, 0, 1, 4, 1);
    g->addWidget(GroupLinLog, 0, 2, 5, 1);
    g->setRowStretch(6, 1);

    ConnectGuarded(CBAutomatic, &QCheckBox::clicked, this, [this](bool) { AutomaticClicked(); });
    ConnectGuarded(CBAutoMin, &QCheckBox::clicked, this, [this](bool) { AutoEndClicked(false); });
    ConnectGuarded(CBAutoMax, &QCheckBox::clicked, this, [this](bool) { AutoEndClicked(true); });
    ConnectGuarded(BAxisMin, &QPushButton::clicked, this, [this](bool) { ChangeEnd(false); });
    ConnectGuarded(BAxisMax, &QPushButton::clicked, this, [this](bool) { ChangeEnd(true); });
    ConnectGuarded(BIncre, &QPushButton::clicked, this, [this](bool) { ChangeIncrement(); });
    OnValue(EMinOff, [](TChartAxis& a, int v) { a.SetMinimumOffset(v); });
    OnValue(EMaxOff, [](TChartAxis& a, int v) { a.SetMaximumOffset(v); });
    ConnectGuarded(CBLogarithmic, &QCheckBox::clicked, this, [this](bool) { LogarithmicClicked(); });
    ConnectGuarded(ELogBase, &QLineEdit::textChanged, this, [this](const QString&) { LogBaseChanged(); });
    ConnectGuarded(LogE, &QCheckBox::clicked, this, [this](bool) {
        ELogBase->setText(AnsiToQString(FloatToStr(std::numbers::e)));
        LogE->setEnabled(false);
    });
    OnCheck(CBInverted, [](TChartAxis& a, bool v) { a.SetInverted(v); });
    OnCheck(CBVisible, [](TChartAxis& a, bool v) { a.SetVisible(v); });
    ConnectGuarded(SpinEdit1, &QSpinBox::valueChanged, this, [this](int value) {
        if (!FAxis || FFilling || SpinEdit1->text().isEmpty()) return;
        FAxis->DecShift = value;
        if (FAxis->Logarithmic()) FAxis->ApplyRangeChange();
    });
    ConnectGuarded(CheckBox1, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FAxis) return;
        Edit3->setEnabled(checked);
        FAxis->MinDecOn = checked;
        SpinEdit1->setEnabled(!checked);
        if (FAxis->Logarithmic()) FAxis->ApplyRangeChange();
    });
    // Only the user's typing is read (a value the page fills in is not written back).
    ConnectGuarded(Edit3, &QLineEdit::textEdited, this, [this](const QString&) { MinDecChanged(); });
    ConnectGuarded(CheckBox2, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FAxis) return;
        FAxis->RoundedLimits = checked;
        FAxis->ComputeAutoRange();
        FAxis->BindPositionCalculators();
        if (Chart()) Chart()->Invalidate();
    });
}

void TFormLumAxis::BuildTitle()
{
    PageTitle = new QTabWidget;
    ShowTabsWhole(*PageTitle);
    auto* style = new QWidget;
    auto* text = new QWidget;
    PageTitle->addTab(style, "Style");
    PageTitle->addTab(text, "Text");
    auto* layout = new QVBoxLayout(TabTitle);
    layout->addWidget(PageTitle);
    ETitle = new QLineEdit;
    SETitleAngle = NewUpDown(0, 360, 90);
    SETitleSize = NewUpDown(0, 1000);
    CBTitleVisible = NewCheckBox("&Visible");
    auto* g = new QGridLayout(style);
    g->addWidget(NewLabel("T&itle:", ETitle), 0, 0);
    g->addWidget(ETitle, 0, 1, 1, 2);
    g->addWidget(NewLabel("&Angle:", SETitleAngle), 1, 0);
    g->addWidget(SETitleAngle, 1, 1);
    g->addWidget(NewLabel("Si&ze:", SETitleSize), 2, 0);
    g->addWidget(SETitleSize, 2, 1);
    g->addWidget(CBTitleVisible, 3, 0, 1, 2);
    g->setRowStretch(4, 1);
    g->setColumnStretch(2, 1);
    FTitleFont = EmbedFontEditor(*text);
    ConnectGuarded(ETitle, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (FAxis && !FFilling) FAxis->Title().SetCaption(QStringToAnsi(t));
    });
    OnValue(SETitleAngle, [](TChartAxis& a, int v) { a.Title().SetAngle(v); });
    OnValue(SETitleSize, [](TChartAxis& a, int v) { a.SetTitleSize(v); });
    OnCheck(CBTitleVisible, [](TChartAxis& a, bool v) { a.Title().SetVisible(v); });
}

void TFormLumAxis::BuildLabels()
{
    PageLabels = new QTabWidget;
    ShowTabsWhole(*PageLabels);
    auto* style = new QWidget;
    TabLabelsFormat = new QWidget;
    auto* text = new QWidget;
    PageLabels->addTab(style, "Style");
    PageLabels->addTab(TabLabelsFormat, "Format");
    PageLabels->addTab(text, "Text");
    auto* layout = new QVBoxLayout(TabLabels);
    layout->addWidget(PageLabels);
    CBLabels = NewCheckBox("V&isible");
    CBMultiline = NewCheckBox("Multi-lin&e");
    CBOnAxis = NewCheckBox("Label On A&xis");
    CBRoundFirst = NewCheckBox("Ro&und First");
    CBAlternate = NewCheckBox("&Alternate");
    SELabelsSize = NewUpDown(-1, 1000);
    SELabelsAngle = NewUpDown(0, 360, 90);
    SESepar = NewUpDown(0, 100, 10);
    CBLabelStyle = NewList({"Auto", "None", "Value", "Mark", "Text"});
    LLabelStyle = NewLabel("&Style:", CBLabelStyle);
    auto* g = new QGridLayout(style);
    int row = 0;
    for (QCheckBox* b : {CBLabels, CBMultiline, CBOnAxis, CBRoundFirst, CBAlternate}) g->addWidget(b, row++, 0);
    g->addWidget(NewLabel("Si&ze:", SELabelsSize), 0, 1);
    g->addWidget(SELabelsSize, 0, 2);
    g->addWidget(NewLabel("An&gle:", SELabelsAngle), 1, 1);
    g->addWidget(SELabelsAngle, 1, 2);
    g->addWidget(NewLabel("Min. Se&paration %:", SESepar), 2, 1);
    g->addWidget(SESepar, 2, 2);
    g->addWidget(LLabelStyle, 3, 1);
    g->addWidget(CBLabelStyle, 3, 2);
    g->setRowStretch(5, 1);
    g->setColumnStretch(3, 1);

    CBFormat = NewList({}, true);
    CBFormat->setMinimumWidth(140);
    LFormat = NewLabel("Labels For&mat:", CBFormat);
    Button1 = new QPushButton("...");
    Button1->setFixedWidth(28);
    CBExpo = NewCheckBox("&Exponential");
    CBLabelAlign = NewCheckBox("&Default Alignment");
    auto* f = new QGridLayout(TabLabelsFormat);
    f->addWidget(LFormat, 0, 0, 1, 2);
    f->addWidget(CBFormat, 1, 0);
    f->addWidget(Button1, 1, 1);
    f->addWidget(CBExpo, 2, 0);
    f->addWidget(CBLabelAlign, 3, 0);
    f->setRowStretch(4, 1);
    f->setColumnStretch(2, 1);
    FLabelsFont = EmbedFontEditor(*text);

    OnCheck(CBLabels, [](TChartAxis& a, bool v) { a.SetLabels(v); });
    OnCheck(CBMultiline, [](TChartAxis& a, bool v) { a.SetLabelsMultiLine(v); });
    OnCheck(CBOnAxis, [](TChartAxis& a, bool v) { a.SetLabelsOnAxis(v); });
    OnCheck(CBRoundFirst, [](TChartAxis& a, bool v) { a.SetRoundFirstLabel(v); });
    OnCheck(CBAlternate, [](TChartAxis& a, bool v) { a.SetLabelsAlternate(v); });
    OnCheck(CBExpo, [](TChartAxis& a, bool v) { a.SetLabelsExponent(v); });
    OnCheck(CBLabelAlign, [](TChartAxis& a, bool v) { a.SetLabelsAlign(v ? alDefault : alOpposite); });
    OnValue(SELabelsSize, [](TChartAxis& a, int v) { a.SetLabelsSize(v); });
    OnValue(SELabelsAngle, [](TChartAxis& a, int v) { a.SetLabelsAngle(v); });
    OnValue(SESepar, [](TChartAxis& a, int v) { a.SetLabelsSeparation(v); });
    ConnectGuarded(CBLabelStyle, &QComboBox::activated, this, [this](int index) {
        if (FAxis) FAxis->SetLabelStyle(static_cast<TAxisLabelStyle>(index));
    });
    ConnectGuarded(CBFormat, &QComboBox::currentTextChanged, this, [this](const QString&) { FormatChanged(); });
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this](bool) {
        if (!FAxis) return;
        const std::string result =
            ShowFormatEditor(this, QStringToAnsi(CBFormat->currentText()), FAxis->ShowsDateTime());
        CBFormat->setCurrentText(AnsiToQString(result));
        FormatChanged();
    });
}

void TFormLumAxis::BuildTicks()
{
    struct TPenButton {
        TButtonPen* Button;
        const char* Caption;
        QWidget* Page;
    };
    for (const TPenButton& b : {TPenButton{&BAxisPen, "&Axis...", TabTicks}, TPenButton{&BTickPen, "T&icks...", TabTicks},
                                TPenButton{&BTickInner, "I&nner...", TabTicks}, TPenButton{&BAxisGrid, "&Grid...", TabTicks},
                                TPenButton{&BTickMinor, "&Ticks...", TabMinor}, TPenButton{&BMinorGrid, "&Grid...", TabMinor}}) {
        b.Button->SetCaption(b.Caption);
        b.Button->SetParentWidget(b.Page);
    }
    SEAxisTickLength = NewUpDown(0, 1000);
    SEInnerTicksLength = NewUpDown(0, 1000);
    CBTickOnLabels = NewCheckBox("At Labels Onl&y");
    CBGridCentered = NewCheckBox("C&entered");
    Edit2 = NewUpDown(0, 100);
    LGridZ = NewLabel("&Z:", Edit2);
    auto* t = new QGridLayout(TabTicks);
    t->addWidget(BAxisPen.Widget(), 0, 0);
    t->addWidget(BTickPen.Widget(), 1, 0);
    t->addWidget(NewLabel("Len:", SEAxisTickLength), 1, 1);
    t->addWidget(SEAxisTickLength, 1, 2);
    t->addWidget(BTickInner.Widget(), 2, 0);
    t->addWidget(NewLabel("Len:", SEInnerTicksLength), 2, 1);
    t->addWidget(SEInnerTicksLength, 2, 2);
    t->addWidget(BAxisGrid.Widget(), 3, 0);
    t->addWidget(CBGridCentered, 3, 1, 1, 2);
    t->addWidget(LGridZ, 4, 1);
    t->addWidget(Edit2, 4, 2);
    t->addWidget(CBTickOnLabels, 5, 0);
    t->setRowStretch(6, 1);
    t->setColumnStretch(3, 1);

    SEAxisMinorTickLen = NewUpDown(0, 1000);
    SEMinorCount = NewUpDown(0, 1000);
    auto* m = new QGridLayout(TabMinor);
    m->addWidget(BTickMinor.Widget(), 0, 0);
    m->addWidget(NewLabel("Length:", SEAxisMinorTickLen), 0, 1);
    m->addWidget(SEAxisMinorTickLen, 0, 2);
    m->addWidget(BMinorGrid.Widget(), 1, 0);
    m->addWidget(NewLabel("&Count:", SEMinorCount), 1, 1);
    m->addWidget(SEMinorCount, 1, 2);
    m->setRowStretch(2, 1);
    m->setColumnStretch(3, 1);

    OnValue(SEAxisTickLength, [](TChartAxis& a, int v) { a.SetTickLength(v); });
    OnValue(SEInnerTicksLength, [](TChartAxis& a, int v) { a.SetTickInnerLength(v); });
    OnValue(SEAxisMinorTickLen, [](TChartAxis& a, int v) { a.SetMinorTickLength(v); });
    OnValue(SEMinorCount, [](TChartAxis& a, int v) { a.SetMinorTickCount(v); });
    OnValue(Edit2, [](TChartAxis& a, int v) { a.Grid().SetZPosition(v); });
    OnCheck(CBTickOnLabels, [](TChartAxis& a, bool v) { a.SetTickOnLabelsOnly(v); });
    OnCheck(CBGridCentered, [](TChartAxis& a, bool v) { a.SetGridCentered(v); });
}

void TFormLumAxis::BuildPosition()
{
    EPos = NewUpDown(-1000, 1000);
    EStart = NewUpDown(0, 100);
    EEnd = NewUpDown(0, 100);
    Edit1 = NewUpDown(0, 100);
    LZPos = NewLabel("&Z %:", Edit1);
    CBPosUnits = NewList({"Percent", "Pixels"});
    CBOtherSide = NewCheckBox("&Other side");
    CBHorizAxis = NewCheckBox("&Horizontal");
    auto* g = new QGridLayout(TabPosition);
    g->addWidget(NewLabel("&Position %:", EPos), 0, 0);
    g->addWidget(EPos, 0, 1);
    g->addWidget(NewLabel("&Units:", CBPosUnits), 0, 2);
    g->addWidget(CBPosUnits, 0, 3);
    g->addWidget(NewLabel("St&art %:", EStart), 1, 0);
    g->addWidget(EStart, 1, 1);
    g->addWidget(NewLabel("&End %:", EEnd), 2, 0);
    g->addWidget(EEnd, 2, 1);
    g->addWidget(LZPos, 3, 0);
    g->addWidget(Edit1, 3, 1);
    g->addWidget(CBOtherSide, 1, 2, 1, 2);
    g->addWidget(CBHorizAxis, 2, 2, 1, 2);
    g->setRowStretch(4, 1);
    g->setColumnStretch(4, 1);

    OnValue(EPos, [](TChartAxis& a, int v) { a.SetPositionPercent(v); });
    OnValue(Edit1, [](TChartAxis& a, int v) { a.SetZPosition(v); });
    ConnectGuarded(EStart, &QSpinBox::valueChanged, this, [this](int v) {
        if (!FAxis || FFilling) return;
        if (v >= FAxis->EndPosition()) {
            const QSignalBlocker block(EStart);
            EStart->setValue(static_cast<int>(FAxis->StartPosition()));
            return;
        }
        FAxis->SetStartPosition(v);
    });
    ConnectGuarded(EEnd, &QSpinBox::valueChanged, this, [this](int v) {
        if (!FAxis || FFilling) return;
        if (v <= FAxis->StartPosition()) {
            const QSignalBlocker block(EEnd);
            EEnd->setValue(static_cast<int>(FAxis->EndPosition()));
            return;
        }
        FAxis->SetEndPosition(v);
    });
    ConnectGuarded(CBPosUnits, &QComboBox::activated, this, [this](int index) {
        if (FAxis) FAxis->SetPositionUnits(index == 0 ? muPercent : muPixels);
    });
    OnCheck(CBOtherSide, [](TChartAxis& a, bool v) { a.SetOtherSide(v); });
    ConnectGuarded(CBHorizAxis, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FAxis || !FAxis->IsCustom()) return;
        FAxis->SetHorizontal(checked);
        if (OnAxisOrientation) OnAxisOrientation(FAxis);
    });
}

// ---- Filling ------------------------------------------------------------------------------------------

void TFormLumAxis::FormShow()
{
    FillAxisList();
    if (TCustomAxisPanel* chart = Chart()) {
        CBShow->setChecked(chart->AxisVisible());
        CBAxisBeh->setChecked(chart->AxisBehind());
    }
    {
        const QSignalBlocker block(PageAxis);
        PageAxis->setCurrentWidget(TabScales);
    }
    PageLabels->setCurrentIndex(0);
    PageTitle->setCurrentIndex(0);
    FFilling = true;
    PageAxisChange();
    TranslateFormControls(this);
}

void TFormLumAxis::FillAxisList()
{
    TCustomAxisPanel* chart = Chart();
    const QSignalBlocker block(LBAxes);
    LBAxes->clear();
    if (!chart) return;
    for (const std::string& name : StandardAxisNames) LBAxes->addItem(AnsiToQString(name));
    const std::vector<TChartAxis*> standard = {&chart->LeftAxis(),  &chart->RightAxis(), &chart->TopAxis(),
                                               &chart->BottomAxis(), &chart->DepthAxis(), &chart->DepthTopAxis()};
    int current = -1;
    for (std::size_t i = 0; i < standard.size(); ++i)
        if (standard[i] == FAxis) current = static_cast<int>(i);
    for (int i = 0; i < chart->CustomAxes().Count(); ++i) {
        LBAxes->addItem(AnsiToQString("Custom " + std::to_string(i)));
        if (&chart->CustomAxes().CustomAxisAt(i) == FAxis) current = 6 + i;
    }
    LBAxes->setCurrentRow(current);
}

void TFormLumAxis::PageAxisChange()
{
    if (!FAxis) return;
    BAxisPen.LinkPen(&FAxis->Axis());
    BTickPen.LinkPen(&FAxis->Ticks());
    BTickInner.LinkPen(&FAxis->TicksInner());
    BAxisGrid.LinkPen(&FAxis->Grid());
    BTickMinor.LinkPen(&FAxis->MinorTicks());
    BMinorGrid.LinkPen(&FAxis->MinorGrid());
    QWidget* page = PageAxis->currentWidget();
    if (page == TabScales)
        FillScales();
    else if (page == TabTitle)
        FillTitle();
    else if (page == TabLabels)
        FillLabels();
    else if (page == TabTicks || page == TabMinor)
        FillTicks();
    else if (page == TabPosition)
        FillPosition();
    BDelete->setEnabled(FAxis->IsCustom());
    CBVisible->setChecked(FAxis->Visible());
    CBLabelAlign->setChecked(FAxis->LabelsAlign() == alDefault);
    CBLabelAlign->setEnabled(!FAxis->Horizontal() && !FAxis->IsDepthAxis());
    FFilling = false;
}

void TFormLumAxis::FillScales()
{
    TChartAxis& a = *FAxis;
    LAxisIncre->setText(AnsiToQString(AxisIncrementText(a.ShowsDateTime(), a.ExactDateTime(), a.AxisValuesFormat(), a.Increment())));
    LAxisMin->setText(AnsiToQString(EndText(a, a.Minimum())));
    LAxisMax->setText(AnsiToQString(EndText(a, a.Maximum())));
    FScalesFilling = true;
    CBAutomatic->setChecked(a.Automatic());
    CBAutoMin->setChecked(a.AutomaticMinimum());
    CBAutoMax->setChecked(a.AutomaticMaximum());
    EMinOff->setValue(a.MinimumOffset());
    EMaxOff->setValue(a.MaximumOffset());
    FScalesFilling = false;
    CBLogarithmic->setChecked(a.Logarithmic());
    CBLogarithmic->setEnabled(!a.IsDepthAxis());
    LogE->setChecked(IsE(a.LogarithmicBase()));
    {
        const QSignalBlocker block(ELogBase);
        ELogBase->setText(AnsiToQString(FloatToStr(a.LogarithmicBase())));
    }
    SpinEdit1->setValue(a.DecShift);
    Edit3->setText(AnsiToQString(FloatToStr(a.MinDec)));
    CheckBox1->setChecked(a.MinDecOn);
    CheckBox2->setChecked(a.RoundedLimits);
    Edit3->setEnabled(a.MinDecOn);
    SpinEdit1->setEnabled(!a.MinDecOn);
    EnableLogControls();
    CBInverted->setChecked(a.Inverted());
    CBVisible->setChecked(a.Visible());
}

void TFormLumAxis::EnableLogControls()
{
    const bool log = CBLogarithmic->isChecked();
    GroupLinLog->setEnabled(log);
    const bool base = log && CBLogarithmic->isEnabled();
    ELogBase->setEnabled(base);
    LLogBase->setEnabled(base);
    LogE->setEnabled(base && !LogE->isChecked());
}

void TFormLumAxis::FillTitle()
{
    TChartAxis& a = *FAxis;
    ETitle->setText(AnsiToQString(a.Title().Caption()));
    SETitleAngle->setValue(a.Title().Angle());
    SETitleSize->setValue(a.TitleSize());
    CBTitleVisible->setChecked(a.Title().Visible());
    FTitleFont->BindFont(&a.Title().Font());
}

void TFormLumAxis::FillLabels()
{
    TChartAxis& a = *FAxis;
    CBLabels->setChecked(a.Labels());
    CBMultiline->setChecked(a.LabelsMultiLine());
    CBOnAxis->setChecked(a.LabelsOnAxis());
    CBRoundFirst->setChecked(a.RoundFirstLabel());
    CBAlternate->setChecked(a.LabelsAlternate());
    SELabelsSize->setValue(a.LabelsSize());
    SELabelsAngle->setValue(a.LabelsAngle());
    SESepar->setValue(a.LabelsSeparation());
    CBLabelStyle->setCurrentIndex(a.LabelStyle());
    CBExpo->setChecked(a.LabelsExponent());
    CBFormat->clear();
    std::string shown;
    if (a.ShowsDateTime()) {
        LFormat->setText(AnsiToQString("DateTime For&mat:"));
        const std::vector<std::string> formats =
            a.Maximum() - a.Minimum() > 1
                ? std::vector<std::string>{FormatSettings().ShortDateFormat, "dd/mm/yyyy", "mm/dd/yyyy", "dd/mm/yy",
                                           "dd/mmm/yyyy", "mmm/yyyy"}
                : std::vector<std::string>{FormatSettings().LongTimeFormat, "hh:nn", "hh:nn:ss", "hh:nn:ss.zzz"};
        for (const std::string& f : formats) CBFormat->addItem(AnsiToQString(f));
        shown = a.DateTimeFormat();
    } else {
        LFormat->setText(AnsiToQString("Labels For&mat:"));
        TStringList formats;
        FillValueFormatList(formats);
        for (int i = 0; i < formats.Count(); ++i) CBFormat->addItem(AnsiToQString(formats[i]));
        shown = LocalizeNumberFormat(a.AxisValuesFormat());
    }
    if (CBFormat->findText(AnsiToQString(shown)) < 0) CBFormat->addItem(AnsiToQString(shown));
    CBFormat->setCurrentText(AnsiToQString(shown));
    FLabelsFont->BindFont(&a.LabelsFont());
}

void TFormLumAxis::FillTicks()
{
    TChartAxis& a = *FAxis;
    SEAxisTickLength->setValue(a.TickLength());
    SEInnerTicksLength->setValue(a.TickInnerLength());
    CBTickOnLabels->setChecked(a.TickOnLabelsOnly());
    CBGridCentered->setChecked(a.GridCentered());
    Edit2->setValue(static_cast<int>(a.Grid().ZPosition()));
    SEAxisMinorTickLen->setValue(a.MinorTickLength());
    SEMinorCount->setValue(a.MinorTickCount());
}

void TFormLumAxis::FillPosition()
{
    TChartAxis& a = *FAxis;
    EPos->setValue(static_cast<int>(a.PositionPercent()));
    EStart->setValue(static_cast<int>(a.StartPosition()));
    EEnd->setValue(static_cast<int>(a.EndPosition()));
    Edit1->setValue(static_cast<int>(a.ZPosition()));
    CBPosUnits->setCurrentIndex(a.PositionUnits() == muPercent ? 0 : 1);
    CBOtherSide->setChecked(a.OtherSide());
    CBHorizAxis->setChecked(a.Horizontal());
    CBHorizAxis->setEnabled(a.IsCustom());
}

// ---- Scale handlers -------------------------------------------------------------------------------------

void TFormLumAxis::AutomaticClicked()
{
    if (!FAxis || FScalesFilling) return;
    FAxis->SetAutomatic(CBAutomatic->isChecked());
    if (FAxis->Automatic()) {
        FAxis->ComputeAutoRange();
    } else {
        FAxis->SetAutomaticMaximum(false);
        FAxis->SetAutomaticMinimum(false);
    }
    FillScales();
}

void TFormLumAxis::AutoEndClicked(bool Maximum)
{
    if (!FAxis || FScalesFilling) return;
    if (Maximum)
        FAxis->SetAutomaticMaximum(CBAutoMax->isChecked());
    else
        FAxis->SetAutomaticMinimum(CBAutoMin->isChecked());
    FAxis->ComputeAutoRange();
    FillScales();
}

void TFormLumAxis::ChangeEnd(bool Maximum)
{
    if (!FAxis) return;
    TAxisMaxMin dialog(this);
    dialog.SetCaption((Maximum ? "Maximum " : "Minimum ") + AxisTitleOrName(*FAxis));
    dialog.IsDateTime = FAxis->ShowsDateTime();
    const double factor = FAxis->LabelValueScale;
    const double offset = FAxis->LabelValueOffset;
    dialog.MaxMin = factor * (offset + (Maximum ? FAxis->Maximum() : FAxis->Minimum()));
    if (dialog.ShowModal() != mrOk) return;
    const double value = dialog.MaxMin / factor - offset;
    if (Maximum) {
        FAxis->SetMaximum(value);
        FAxis->SetAutomaticMaximum(false);
    } else {
        FAxis->SetMinimum(value);
        FAxis->SetAutomaticMinimum(false);
    }
    FillScales();
}

void TFormLumAxis::ChangeIncrement()
{
    if (!FAxis) return;
    TAxisIncrement dialog(this);
    dialog.SetCaption("Desired " + AxisTitleOrName(*FAxis) + " Increment");
    const double factor = std::abs(FAxis->LabelValueScale);
    dialog.DateTimeAxis = FAxis->ShowsDateTime();
    dialog.ExactSteps = FAxis->ExactDateTime();
    dialog.IncrementValue = factor * FAxis->Increment();
    dialog.StepIndex = FindDateTimeStep(dialog.IncrementValue);
    if (dialog.ShowModal() != mrOk) return;
    FAxis->SetIncrement(dialog.IncrementValue / factor);
    FAxis->SetExactDateTime(dialog.ExactSteps);
    FillScales();
}

void TFormLumAxis::LogarithmicClicked()
{
    if (!FAxis) return;
    try {
        FAxis->SetLogarithmic(CBLogarithmic->isChecked());
    } catch (...) {
        FAxis->SetLogarithmic(false);
        CBLogarithmic->setChecked(false);
        EnableLogControls();
        throw;
    }
    EnableLogControls();
}

void TFormLumAxis::LogBaseChanged()
{
    if (!FAxis || FFilling) return;
    double v = FAxis->LogarithmicBase();
    double typed = 0;
    if (TryStrToFloat(QStringToAnsi(ELogBase->text()), typed, FormatSettings())) v = typed;
    if (v == 1 || v == 0) return;
    FAxis->SetLogarithmicBase(v);
    const bool isE = IsE(FAxis->LogarithmicBase());
    LogE->setChecked(isE);
    LogE->setEnabled(!isE);
}

void TFormLumAxis::MinDecChanged()
{
    if (!FAxis) return;
    const double v = StrToFloat(QStringToAnsi(Edit3->text()));
    if (v > 0 && v < std::max(std::abs(FAxis->Minimum()), std::abs(FAxis->Maximum()))) {
        FAxis->MinDec = v;
        if (FAxis->Logarithmic()) FAxis->ApplyRangeChange();
    }
}

void TFormLumAxis::FormatChanged()
{
    if (!FAxis || FFilling) return;
    const std::string text = QStringToAnsi(CBFormat->currentText());
    if (FAxis->ShowsDateTime())
        FAxis->SetDateTimeFormat(text);
    else
        FAxis->SetAxisValuesFormat(NeutralizeNumberFormat(text));
}

// ---- The axis dialog ------------------------------------------------------------------------------------

void ShowAxisDialog(TCustomAxisPanel& Chart, TChartAxis& Axis)
{
    if (Axis.ParentChart() != &Chart) return;
    TFormLumAxis form(nullptr, &Axis);
    form.resize(400, 300);
    TranslateFormControls(&form);
    if (Axis.AutoLogFormat) form.PageLabels->setTabVisible(form.PageLabels->indexOf(form.TabLabelsFormat), false);
    const std::vector<std::pair<TChartAxis*, const char*>> captions = {{&Chart.LeftAxis(), "Left axis edit"},
                                                                       {&Chart.RightAxis(), "Right axis edit"},
                                                                       {&Chart.TopAxis(), "Top axis edit"},
                                                                       {&Chart.BottomAxis(), "Bottom axis edit"}};
    form.SetCaption(AxisTitleOrName(Axis) + " edit");
    for (const auto& [axis, caption] : captions)
        if (axis == &Axis) form.SetCaption(caption);
    SetControlsVisibility(false, {form.CBLabelStyle, form.LLabelStyle, form.PanelLeft, form.LGridZ, form.Edit2,
                                  form.LZPos, form.Edit1});
    form.setSizeGripEnabled(true);
    form.ShowModal();
}
