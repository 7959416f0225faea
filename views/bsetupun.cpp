// The body parameters form: its fields and look buttons, loading a sub-polygon, Apply with the copies to
// the other polygons, "As default", and the shape's look given back when the dialog is left without a
// command.
#include "views/bsetupun.h"

#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/series/LumMapSeries.h"
#include "core/Supermath2d.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Prompter.h"
#include "views/AppDialogParts.h"
#include "views/PolygonChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The slots a copy box carries to the other polygons, in the order of the boxes 1 to 5.
constexpr int CopiedSlots[] = {psFillColor, psPenText, psBrushText, psGradientText, psLabelMode};

} // namespace

TBsetup::TBsetup(QWidget* owner)
    : TForm(owner), Label1(new QLabel(QString(QChar(0x03C1)))), Edit1(new QLineEdit), Label2(new QLabel("om m")),
      CheckBox6(new QCheckBox("Electronic")), Button7(new QPushButton("Color")), CheckBox1(new QCheckBox),
      Button5(new QPushButton("Pen")), CheckBox2(new QCheckBox), Button1(new QPushButton("Brush")),
      CheckBox3(new QCheckBox), Button2(new QPushButton("Gradient")), CheckBox4(new QCheckBox),
      ComboBox1(new QComboBox), CheckBox5(new QCheckBox), Edit5(new QLineEdit), Button3(new QPushButton("Apply")),
      Button8(new QPushButton("As default")), Button4(new QPushButton("Close"))
{
    SetCaption("Body parameters");
    setWindowFlag(Qt::Tool);
    QFont rho = Label1->font();
    rho.setBold(true);
    rho.setPixelSize(19);
    Label1->setFont(rho);
    for (const char* item : {"None", "Resistivity", "Resistivity&E/I", "User text"}) ComboBox1->addItem(AnsiToQString(item));

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(CheckBox6, 1, 1, 1, 2);
    int row = 2;
    for (const auto& [button, box] : {std::pair{Button7, CheckBox1}, std::pair{Button5, CheckBox2},
                                      std::pair{Button1, CheckBox3}, std::pair{Button2, CheckBox4}}) {
        grid->addWidget(button, row, 1);
        grid->addWidget(box, row++, 2);
    }
    grid->addWidget(ComboBox1, row, 1);
    grid->addWidget(CheckBox5, row++, 2);
    grid->addWidget(Edit5, row++, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {Button3, Button8, Button4}) commands->addWidget(b);
    auto* form = new QVBoxLayout(this);
    form->addLayout(grid);
    form->addStretch(1);
    form->addLayout(commands);
    resize(250, 224);

    ConnectGuarded(Edit1, &QLineEdit::textEdited, this, [this](const QString&) { FResistivityTyped = true; });
    ConnectGuarded(Button7, &QPushButton::clicked, this, [this](bool) { Button7Click(); });
    ConnectGuarded(Button5, &QPushButton::clicked, this, [this](bool) { Button5Click(); });
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { Button1Click(); });
    ConnectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
    ConnectGuarded(Button3, &QPushButton::clicked, this, [this](bool) { Button3Click(); });
    ConnectGuarded(Button8, &QPushButton::clicked, this, [this](bool) { Button8Click(); });
    ConnectGuarded(Button4, &QPushButton::clicked, this, [this](bool) { Button3Click(); });
    SetButtonModalResult(Button4, mrOk);
    OnClose = [this](TForm*) { FormClose(); };
}

TBsetup::~TBsetup() = default;

void TBsetup::SetTarget(TPolygonChart& Chart, int Body, int Sub, int Shape)
{
    FChart = &Chart;
    FBody = Body;
    FSub = Sub;
    FShape = Shape;
}

void TBsetup::LoadControls()
{
    if (!FChart) return;
    const PolygonProperties& row = FChart->Model.Bodies[FBody][FSub].properties;
    const Variant& rho = row[psResistivity];
    SetEditText(*Edit1, FormatValue(rho.IsNumber() ? rho.AsDouble() : MissingValue, 2, true));
    FResistivityTyped = false;
    const Variant& type = row[psConductorType];
    CheckBox6->setChecked(type.IsNumber() && type.AsDouble() == 0);
    const Variant& mode = row[psLabelMode];
    ComboBox1->setCurrentIndex(mode.IsNumber() && mode.AsDouble() >= 0 && mode.AsDouble() <= 3 ? mode.AsInteger() : -1);
    SetEditText(*Edit5, row[psLabelText].AsString());
    for (QCheckBox* b : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5}) b->setChecked(false);
}

void TBsetup::ApplyValues()
{
    if (!FChart) return;
    AllSpolygon& bodies = FChart->Model.Bodies;
    PolygonProperties& row = bodies[FBody][FSub].properties;
    // A resistivity must be a positive finite number: 0 or less divides by zero in the solver and has no
    // logarithm for the inversion.
    if (FResistivityTyped) {
        const double rho = StrToValue(EditText(*Edit1));
        if (rho != MissingValue && std::isfinite(rho) && rho > 0) row[psResistivity] = rho;
    }
    row[psConductorType] = CheckBox6->isChecked() ? 0.0 : 1.0;
    row[psLabelMode] = static_cast<std::int32_t>(ComboBox1->currentIndex());
    if (Edit5->text().isEmpty()) Edit5->setText(" ");
    row[psLabelText] = EditText(*Edit5);
    const QCheckBox* boxes[] = {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5};
    const PolygonProperties edited = row;
    for (int b = 0; b < bodies.Length(); ++b)
        for (int s = 0; s < bodies[b].Length(); ++s) {
            if (b == 0 && s == 0) continue; // the host medium
            for (int k = 0; k < 5; ++k)
                if (boxes[k]->isChecked()) bodies[b][s].properties[CopiedSlots[k]] = edited[CopiedSlots[k]];
        }
}

// ---- Look buttons -----------------------------------------------------------------------------------------

void TBsetup::ShapeChanged() { FChart->ShapeSeries().AnnounceDataChanged(); }

void TBsetup::Button7Click()
{
    if (!FChart || FShape < 0) return;
    TLumPolygon& shape = *FChart->ShapeSeries().Shapes().GetPolygon(FShape);
    TColorDialogData data;
    data.Color = shape.Color();
    if (ExecuteColorDialog(nullptr, data)) shape.SetColor(data.Color);
    ShapeChanged();
}

void TBsetup::Button5Click()
{
    if (!FChart || FShape < 0) return;
    TLumPolygon& shape = *FChart->ShapeSeries().Shapes().GetPolygon(FShape);
    shape.SetParentPen(false);
    ShowPenEditorModal(nullptr, shape.Pen(), false);
    shape.SetParentPen(false);
    ShapeChanged();
}

void TBsetup::Button1Click()
{
    if (!FChart || FShape < 0) return;
    TLumPolygon& shape = *FChart->ShapeSeries().Shapes().GetPolygon(FShape);
    shape.SetParentBrush(false);
    ShowBrushEditorModal(nullptr, shape.Brush());
    shape.SetParentBrush(false);
    ShapeChanged();
}

void TBsetup::Button2Click()
{
    if (!FChart || FShape < 0) return;
    ShowGradientEditorModal(nullptr, FChart->ShapeSeries().Shapes().GetPolygon(FShape)->Gradient());
    ShapeChanged();
}

// ---- Commands ---------------------------------------------------------------------------------------------

void TBsetup::Button3Click()
{
    if (!FChart) return;
    FShape = FChart->ShapeOfSubPolygon(FBody, FSub);
    FChart->ShapeSeries().AnnounceDataChanged();
    if (FShape >= 0) FChart->StoreShapeStyle(FBody, FSub, FShape);
    ApplyValues();
    FChart->RebuildShapes();
    // The shapes have new identifiers.
    FShape = FChart->ShapeOfSubPolygon(FBody, FSub);
    FResistivityTyped = false;
    FChart->DoChangeModel();
}

void TBsetup::Button8Click()
{
    Button3Click();
    if (!FChart) return;
    FChart->NewPolygonProperties = FChart->Model.Bodies[FBody][FSub].properties;
}

void TBsetup::FormClose()
{
    // Left without a command: the shape shows again the look its properties hold, which the model, its
    // file and its undo steps know.
    if (ModalResult() == mrOk || !FChart) return;
    FShape = FChart->ShapeOfSubPolygon(FBody, FSub);
    if (FShape >= 0) {
        FChart->ApplyShapeStyle(FBody, FSub, FShape);
        FChart->ShapeSeries().AnnounceDataChanged();
    }
}

void ShowBodyParameters(std::unique_ptr<TBsetup>& Dialog, QWidget* Owner, TPolygonChart& Chart, int Shape, int Body,
                        int Sub)
{
    if (!Dialog) Dialog = std::make_unique<TBsetup>(Owner);
    Dialog->SetTarget(Chart, Body, Sub, Shape);
    Dialog->LoadControls();
    Dialog->ShowModal();
}
