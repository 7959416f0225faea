// The program setup form: its two pages and the source chart with its nearest-point and drag-point tools,
// filling the controls from the main window and storing them back, the change handlers of the user's
// typing and clicks, and giving back on every exit but "Apply" what the dialog changed.
#include "views/PrSetupUn.h"

#include "chart/control/ChartControl.h"
#include "chart/control/LumToolsNearest.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/extras/LumDragPoint.h"
#include "chart/series/SeriesLine.h"
#include "core/SurveyPrepare.h"
#include "core/Supermath2d.h"
#include "platform/controls/AnsiText.h"
#include "ui/uibtn.h"
#include "ui/uiexctl.h"
#include "ui/uisplit.h"
#include "views/AppDialogParts.h"
#include "views/ResMainForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The dividing edits in the order of TSetupForm::FTyped, with their fields.
enum TDividing { dvFactorZ, dvStartZ, dvFactorX, dvStartX };


} // namespace

TSetupForm::TSetupForm(QWidget* owner, TMainForm& main)
    : TForm(owner), Notebook(new QTabWidget), PageForward(new QWidget), PageSources(new QWidget),
      SpinEdit9(new QSpinBox), Edit1(new QLineEdit), Edit2(new QLineEdit), CheckBox2(new QCheckBox("Exponent")),
      Edit3(new QLineEdit), Edit4(new QLineEdit), RadioGroup1(new QGroupBox("Primary source distribution")),
      RadioButton1(new QRadioButton(AnsiToQString("Linear   [ U(Z) = - a * Z + c ]"))),
      RadioButton2(new QRadioButton(AnsiToQString("Exponential  [ U(Z) = - a * exp( Z / b ) +c  ]"))),
      RadioButton3(new QRadioButton("Arbitrary")), Edit5(new QLineEdit), Edit6(new QLineEdit), Edit7(new QLineEdit),
      CheckBox1(new QCheckBox("Invert")), Chart1(std::make_unique<TChart>(nullptr)), FMain(main)
{
    SetCaption("Program setup");
    setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Notebook->addTab(PageForward, "Forward modelling");
    Notebook->addTab(PageSources, "Sources");
    Notebook->setCurrentWidget(PageSources);
    BuildForwardPage();
    BuildSourcesPage();

    uiPicBtn1 = NewCommandButton(this, "uiPicBtn1", "Apply");
    uiPicBtn3 = NewCommandButton(this, "uiPicBtn3", "Default");
    uiPicBtn2 = NewCommandButton(this, "uiPicBtn2", "Cancel");
    uiPicBtn1->OnClick = [this](TPersistent*) { ApplyClicked(); };
    uiPicBtn3->OnClick = [this](TPersistent*) { DefaultClicked(); };
    uiPicBtn2->SetModalResult(mrCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (TuiPicBtn* b : {uiPicBtn1.get(), uiPicBtn3.get(), uiPicBtn2.get()}) {
        b->Widget()->setFixedSize(90, 27);
        buttons->addWidget(b->Widget());
    }
    auto* form = new QVBoxLayout(this);
    form->addWidget(Notebook, 1);
    form->addLayout(buttons);
    resize(431, 412);

    OnShow = [this](TForm*) { FormShow(); };
    OnClose = [this](TForm*) { FormClose(); };
}

TSetupForm::~TSetupForm()
{
    // The tools and the series belong to the chart, which goes before the form's widgets.
    Chart1.reset();
}

QWidget* TSetupForm::FrameLabel(const char* Caption, int Width)
{
    FLabels.push_back(NewFrameLabel(nullptr, Caption, Width));
    return FLabels.back()->Widget();
}

void TSetupForm::BuildForwardPage()
{
    SpinEdit9->setRange(2, 8);
    TSurveyState& s = FMain.Survey;
    auto* quadrature = new QHBoxLayout;
    quadrature->addWidget(FrameLabel(" Length quadrature ", 130));
    quadrature->addWidget(SpinEdit9);
    quadrature->addStretch(1);

    auto* dividing = new QGroupBox("Dividing options");
    auto* z = new QGroupBox("Z factors");
    auto* zGrid = new QGridLayout(z);
    zGrid->addWidget(FrameLabel("FactorZ"), 0, 0);
    zGrid->addWidget(Edit1, 0, 1);
    zGrid->addWidget(FrameLabel("StartZ"), 1, 0);
    zGrid->addWidget(Edit2, 1, 1);
    zGrid->addWidget(CheckBox2, 2, 0, 1, 2);
    auto* x = new QGroupBox("X factors");
    auto* xGrid = new QGridLayout(x);
    xGrid->addWidget(FrameLabel("FactorX"), 0, 0);
    xGrid->addWidget(Edit3, 0, 1);
    xGrid->addWidget(FrameLabel("StartX"), 1, 0);
    xGrid->addWidget(Edit4, 1, 1);
    xGrid->setRowStretch(2, 1);
    auto* groups = new QHBoxLayout(dividing);
    groups->addWidget(z);
    groups->addWidget(x);

    auto* page = new QVBoxLayout(PageForward);
    page->addLayout(quadrature);
    page->addWidget(dividing);
    page->addStretch(1);

    const struct {
        QLineEdit* Edit;
        TDividing Which;
        double* Field;
    } edits[] = {{Edit1, dvFactorZ, &s.Settings.FactorZ},
                 {Edit2, dvStartZ, &s.Settings.StartZ},
                 {Edit3, dvFactorX, &s.Settings.FactorX},
                 {Edit4, dvStartX, &s.Settings.StartX}};
    for (const auto& e : edits) {
        const bool factor = e.Which == dvFactorZ || e.Which == dvFactorX;
        ConnectGuarded(e.Edit, &QLineEdit::textEdited, this, [this, e, factor](const QString&) {
            FTyped[e.Which] = true;
            // Growth factors above 5 are ignored like any value out of range.
            DividingChanged(e.Edit, *e.Field, 0.001, factor ? 5 : 10);
        });
    }
    ConnectGuarded(CheckBox2, &QCheckBox::clicked, this, [this](bool) { ExponentClicked(); });
}

void TSetupForm::BuildSourcesPage()
{
    TSurveyState& s = FMain.Survey;
    auto* radios = new QVBoxLayout(RadioGroup1);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) radios->addWidget(r);
    RadioButton1->setChecked(true);

    auto* factors = new QGridLayout;
    const struct {
        const char* Caption;
        QLineEdit* Edit;
        double* Field;
    } rows[] = {{" \"A\" factor", Edit5, &s.SourceA}, {" \"B\" factor", Edit6, &s.SourceB}, {" \"C\" factor", Edit7, &s.SourceC}};
    int row = 0;
    for (const auto& r : rows) {
        factors->addWidget(FrameLabel(r.Caption), row, 0);
        factors->addWidget(r.Edit, row, 1);
        ++row;
        ConnectGuarded(r.Edit, &QLineEdit::textEdited, this,
                       [this, edit = r.Edit, field = r.Field](const QString&) { SourceFactorChanged(edit, *field); });
    }
    factors->addWidget(CheckBox1, row, 0, 1, 2);
    factors->setRowStretch(row + 1, 1);

    BuildChart();
    auto* top = new QHBoxLayout;
    top->addWidget(RadioGroup1, 1);
    auto* page = new QVBoxLayout(PageSources);
    page->addLayout(top);
    auto* lower = new QHBoxLayout;
    lower->addLayout(factors);
    lower->addWidget(Chart1->Widget(), 1);
    page->addLayout(lower, 1);

    ConnectGuarded(RadioButton1, &QRadioButton::clicked, this, [this](bool) { SourceKindClicked(0); });
    ConnectGuarded(RadioButton2, &QRadioButton::clicked, this, [this](bool) { SourceKindClicked(1); });
    ConnectGuarded(RadioButton3, &QRadioButton::clicked, this, [this](bool) { SourceKindClicked(2); });
    ConnectGuarded(CheckBox1, &QCheckBox::clicked, this, [this](bool) { InvertClicked(); });
}

void TSetupForm::BuildChart()
{
    TChart& c = *Chart1;
    c.SetParentWidget(PageSources);
    c.SetView3D(false);
    c.Legend().SetVisible(false);
    c.Zoom().SetAllow(false);
    c.SetAllowPanning(pmNone);
    c.SetMarginLeft(5);
    c.SetMarginRight(10);
    c.SetMarginTop(0);
    c.SetMarginBottom(0);
    c.SetColor(clWhite);
    c.BackWall().SetColor(clWhite);
    c.BackWall().SetTransparent(true);
    const std::string title = "Source distribution";
    c.Title().SetTextLine(&title);
    TChartAxis& left = c.LeftAxis();
    left.SetInverted(true);
    left.Title().SetCaption("z");
    left.Title().SetAngle(0);
    left.SetMinorTickCount(5);
    for (TChartAxis* axis : {&c.BottomAxis(), &c.TopAxis()}) axis->Title().Font().SetName("Symbol");
    for (TChartAxis* axis : {&c.LeftAxis(), &c.BottomAxis(), &c.TopAxis(), &c.RightAxis()})
        axis->Grid().SetVisible(false);
    c.Widget()->setMinimumSize(180, 200);

    Series1 = new TLineSeries(&c);
    Series1->SetName("Series1");
    Series1->Pointer().SetVisible(true);
    Series1->Pointer().SetStyle(psCircle);
    Series1->Pointer().SetHorizSize(2);
    Series1->Pointer().SetVertSize(2);
    Series1->SetParentChart(&c);

    // The nearest-point tool first, the drag tool second: the order in which they hear the mouse.
    ChartTool2 = new TNearestTool(&c);
    ChartTool2->SetName("ChartTool2");
    ChartTool2->SetSeries(Series1);
    ChartTool2->SetSize(8);
    ChartTool2->Pen().SetStyle(psDot);
    ChartTool2->Pen().SetColor(0x00808040);
    ChartTool2->Brush().SetStyle(bsClear);
    ChartTool2->SetParentChart(&c);
    ChartTool2->OnChange = [this](TPersistent*) {
        if (ChartTool2->NearestIndex != -1) CopyDraggedValue(ChartTool2->NearestIndex);
    };
    ChartTool1 = new TDragPointTool(&c);
    ChartTool1->SetName("ChartTool1");
    ChartTool1->SetSeries(Series1);
    ChartTool1->SetDragStyle(dsX);
    ChartTool1->SetParentChart(&c);
    // The drag's own report carries the dragged value at once, the release included; the nearest
    // tool's copy lags one move behind the drag.
    ChartTool1->OnDragPoint = [this](TDragPointTool*, int index) {
        if (index != -1) CopyDraggedValue(index);
    };
}

// ---- Filling and storing --------------------------------------------------------------------------------

void TSetupForm::LoadValues()
{
    const TSurveyState& s = FMain.Survey;
    CheckBox1->setChecked(s.InvertSource);
    CheckBox2->setChecked(s.Settings.Exponent);
    const struct {
        QLineEdit* Edit;
        double Value;
    } edits[] = {{Edit1, s.Settings.FactorZ}, {Edit2, s.Settings.StartZ}, {Edit3, s.Settings.FactorX},
                 {Edit4, s.Settings.StartX},  {Edit5, s.SourceA},          {Edit6, s.SourceB},
                 {Edit7, s.SourceC}};
    for (const auto& e : edits) SetEditText(*e.Edit, FormatValue(e.Value, 3));
    for (bool& typed : FTyped) typed = false;
    RadioButton1->setChecked(s.SourceType == 0);
    RadioButton2->setChecked(s.SourceType == 1);
    RadioButton3->setChecked(s.SourceType == 2);
    SpinEdit9->setValue(s.Settings.numqp);
}

void TSetupForm::StoreValues()
{
    TSurveyState& s = FMain.Survey;
    s.InvertSource = CheckBox1->isChecked();
    s.Settings.Exponent = CheckBox2->isChecked();
    const struct {
        TDividing Which;
        QLineEdit* Edit;
        TConfigField Field;
        double* Value;
    } dividing[] = {{dvFactorZ, Edit1, TConfigField::FactorZ, &s.Settings.FactorZ},
                    {dvStartZ, Edit2, TConfigField::StartZ, &s.Settings.StartZ},
                    {dvFactorX, Edit3, TConfigField::FactorX, &s.Settings.FactorX},
                    {dvStartX, Edit4, TConfigField::StartX, &s.Settings.StartX}};
    // Only what the user typed is read back: an untouched edit shows a rounded text of the exact value.
    for (const auto& d : dividing) {
        if (!FTyped[d.Which]) continue;
        const double v = StrToValue(EditText(*d.Edit));
        if (v != MissingValue && ConfigValueValid(d.Field, v)) *d.Value = v;
    }
    if (ConfigValueValid(TConfigField::numqp, SpinEdit9->value())) s.Settings.numqp = SpinEdit9->value();
}

void TSetupForm::DrawSourceCurve()
{
    if (!FMain.uiBiSplit1 || !FMain.uiBiSplit1->Visible()) return;
    TSurveyState& s = FMain.Survey;
    MakeSourceCurve(s, FMain.PolygonChart1->Model.ModelBox.ZMax);
    Series1->ClearPoints();
    Series1->XValues().SetOrder(loNone);
    Series1->YValues().SetOrder(loNone);
    for (int i = 0; i < s.SourceValues.Length() && i < s.SourceDepths.Length(); ++i)
        Series1->InsertPoint(s.SourceValues[i], s.SourceDepths[i], std::string(), clDefault);
}

// ---- Showing and closing --------------------------------------------------------------------------------

void TSetupForm::FormShow()
{
    const TSurveyState& s = FMain.Survey;
    FSnapshot = {s.Settings, s.SourceType, s.SourceA, s.SourceB, s.SourceC, s.InvertSource,
                 CopyDoubles(s.SourceDepths), CopyDoubles(s.SourceValues)};
    FApplied = false;
    FMain.ShowBoundaryPreview();
    DrawSourceCurve();
}

void TSetupForm::FormClose()
{
    if (!FApplied) {
        // Cancel, Escape and the close box: the main window as the dialog found it.
        TSurveyState& s = FMain.Survey;
        s.Settings = FSnapshot.Settings;
        s.SourceType = FSnapshot.SourceType;
        s.SourceA = FSnapshot.SourceA;
        s.SourceB = FSnapshot.SourceB;
        s.SourceC = FSnapshot.SourceC;
        s.InvertSource = FSnapshot.InvertSource;
        s.SourceDepths = CopyDoubles(FSnapshot.SourceDepths);
        s.SourceValues = CopyDoubles(FSnapshot.SourceValues);
    }
    FMain.PolygonChart1->NodeSeries().ClearPoints();
}

// ---- Handlers -------------------------------------------------------------------------------------------

void TSetupForm::DividingChanged(QLineEdit* edit, double& field, double low, double high)
{
    const double v = StrToValue(EditText(*edit), true, low, high);
    if (v == MissingValue) return;
    field = v;
    FMain.ShowBoundaryPreview();
}

void TSetupForm::SourceFactorChanged(QLineEdit* edit, double& field)
{
    const double v = StrToValue(EditText(*edit), true, -1000, 1000);
    if (v == MissingValue) return;
    field = v;
    DrawSourceCurve();
}

void TSetupForm::SourceKindClicked(std::int32_t kind)
{
    FMain.Survey.SourceType = kind;
    // The arbitrary curve has no factors to invert.
    if (kind == 2) CheckBox1->setChecked(false);
    DrawSourceCurve();
}

void TSetupForm::InvertClicked()
{
    if (FMain.Survey.SourceType == 2) CheckBox1->setChecked(false);
}

void TSetupForm::ExponentClicked()
{
    if (!isVisible()) return;
    FMain.Survey.Settings.Exponent = CheckBox2->isChecked();
    FMain.ShowBoundaryPreview();
}

void TSetupForm::CopyDraggedValue(int index)
{
    arofdoubleM& values = FMain.Survey.SourceValues;
    if (index >= 0 && index < values.Length() && index < Series1->PointCount()) values[index] = Series1->XValueAt(index);
}

void TSetupForm::ApplyClicked()
{
    StoreValues();
    LoadValues();
    FApplied = true;
    SetModalResult(mrOk);
}

void TSetupForm::DefaultClicked()
{
    ApplySetupDefaults(FMain.Survey.Settings);
    LoadValues();
    FMain.ShowBoundaryPreview();
}
