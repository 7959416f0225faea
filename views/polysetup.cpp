// The section setup form: margins, node colours and the series buttons laid out in three groups, and the
// three commands.
#include "views/polysetup.h"

#include "chart/editors/LumEdiFont.h"
#include "chart/editors/LumEditCha.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/AnsiText.h"
#include "ui/KITClrBn.h"
#include "ui/uibtn.h"
#include "ui/uiexctl.h"
#include "views/AppDialogParts.h"
#include "views/PolygonChart.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The work series buttons' glyph: a short polyline with its points.
QPixmap SeriesGlyph()
{
    QPixmap glyph(20, 14);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    const QPoint points[] = {{2, 11}, {7, 4}, {12, 8}, {17, 2}};
    p.setPen(QPen(Qt::darkBlue, 1));
    p.drawPolyline(points, 4);
    p.setBrush(Qt::red);
    for (const QPoint& q : points) p.drawRect(q.x() - 1, q.y() - 1, 2, 2);
    return glyph;
}

QPushButton* GlyphButton()
{
    auto* b = new QPushButton;
    b->setFixedSize(38, 23);
    return b;
}

} // namespace

TPolysetupForm::TPolysetupForm(QWidget* owner)
    : TForm(owner), GroupBox1(new QGroupBox("Box margins (pixels)")), PSLeftval(nullptr), PStopval(nullptr),
      PSRightval(nullptr), PSBottomval(nullptr), GroupBox2(new QGroupBox("Node colors")),
      PSMinContour(std::make_unique<TkitColorButton>(nullptr)),
      kitColorButton1(std::make_unique<TkitColorButton>(nullptr)),
      kitColorButton2(std::make_unique<TkitColorButton>(nullptr)),
      kitColorButton3(std::make_unique<TkitColorButton>(nullptr)), GroupBox3(new QGroupBox("Series parameters")),
      SpeedButton1(GlyphButton()), SpeedButton2(GlyphButton()), SpeedButton3(GlyphButton()),
      SpeedButton4(GlyphButton())
{
    SetCaption("Section setup");
    setWindowFlag(Qt::Tool);

    // Margins: the spin edits by index 0..3 are left, top, right, bottom.
    LayOutMarginSpins(GroupBox1, PSLeftval, PStopval, PSRightval, PSBottomval, FLabels, 21);

    auto* colours = new QGridLayout(GroupBox2);
    const struct {
        const char* Name;
        const char* Caption;
        TkitColorButton* Button;
    } buttons[] = {{"PSMinContour", "  Internal", PSMinContour.get()},
                   {"kitColorButton1", "  External", kitColorButton1.get()},
                   {"kitColorButton2", "  Fixed", kitColorButton2.get()},
                   {"kitColorButton3", " Border", kitColorButton3.get()}};
    int row = 0;
    for (const auto& b : buttons) {
        b.Button->SetName(b.Name);
        b.Button->SetParentWidget(GroupBox2);
        b.Button->Widget()->setFixedSize(45, 22);
        FLabels.push_back(NewFrameLabel(GroupBox2, b.Caption, 80));
        colours->addWidget(FLabels.back()->Widget(), row, 0);
        colours->addWidget(b.Button->Widget(), row++, 1);
    }
    colours->setRowStretch(row, 1);

    auto* series = new QGridLayout(GroupBox3);
    const QPixmap glyph = SeriesGlyph();
    const struct {
        const char* Caption;
        QPushButton* Button;
    } seriesButtons[] = {{"  Work series 1", SpeedButton1},
                         {"  Work series 2", SpeedButton2},
                         {"  Work series 3", SpeedButton3},
                         {" Marks font", SpeedButton4}};
    row = 0;
    for (const auto& s : seriesButtons) {
        FLabels.push_back(NewFrameLabel(GroupBox3, s.Caption, 100));
        series->addWidget(FLabels.back()->Widget(), row, 0);
        series->addWidget(s.Button, row++, 1);
        if (s.Button != SpeedButton4) s.Button->setIcon(glyph);
    }
    series->setRowStretch(row, 1);
    QFont face = SpeedButton4->font();
    face.setBold(true);
    face.setItalic(true);
    SpeedButton4->setFont(face);
    SpeedButton4->setText("Aa");

    uiPicBtn3 = NewCommandButton(this, "uiPicBtn3", "Apply");
    uiPicBtn1 = NewCommandButton(this, "uiPicBtn1", "Default");
    uiPicBtn4 = NewCommandButton(this, "uiPicBtn4", "Close");
    uiPicBtn3->OnClick = [this](TPersistent*) { ApplyClicked(); };
    uiPicBtn1->OnClick = [this](TPersistent*) { DefaultClicked(); };
    uiPicBtn4->OnClick = [this](TPersistent*) { ApplyClicked(); };
    uiPicBtn4->SetModalResult(mrOk);

    ConnectGuarded(SpeedButton1, &QPushButton::clicked, this, [this](bool) {
        if (FChart) ShowGraphicEditor(FChart->WorkLine1());
    });
    ConnectGuarded(SpeedButton2, &QPushButton::clicked, this, [this](bool) {
        if (FChart) ShowGraphicEditor(FChart->WorkLine2());
    });
    ConnectGuarded(SpeedButton3, &QPushButton::clicked, this, [this](bool) {
        if (FChart) ShowGraphicEditor(FChart->NodeSeries());
    });
    ConnectGuarded(SpeedButton4, &QPushButton::clicked, this, [this](bool) { Button1Click(); });

    auto* groups = new QHBoxLayout;
    for (QGroupBox* g : {GroupBox1, GroupBox2, GroupBox3}) groups->addWidget(g);
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    for (TuiPicBtn* b : {uiPicBtn3.get(), uiPicBtn1.get(), uiPicBtn4.get()}) {
        b->Widget()->setFixedSize(90, 27);
        commands->addWidget(b->Widget());
    }
    auto* form = new QVBoxLayout(this);
    form->addLayout(groups, 1);
    form->addLayout(commands);
    resize(445, 241);
}

TPolysetupForm::~TPolysetupForm() = default;

TSpinEdit& TPolysetupForm::Margin(int Index)
{
    TSpinEdit* edits[] = {&PSLeftval, &PStopval, &PSRightval, &PSBottomval};
    return *edits[Index];
}

void TPolysetupForm::LoadFromChart(TPolygonChart& Chart)
{
    FChart = &Chart;
    for (int i = 0; i < 4; ++i) Margin(i).SetValue(Chart.Margin(i));
    PSMinContour->SetColor(Chart.InternalNodeColor);
    kitColorButton1->SetColor(Chart.ExternalNodeColor);
    kitColorButton2->SetColor(Chart.FixedNodeColor);
    kitColorButton3->SetColor(Chart.BorderNodeColor);
}

void TPolysetupForm::ApplyToChart()
{
    if (!FChart) return;
    for (int i = 0; i < 4; ++i) FChart->SetMargin(i, Margin(i).Value());
    FChart->InternalNodeColor = PSMinContour->Color();
    FChart->ExternalNodeColor = kitColorButton1->Color();
    FChart->FixedNodeColor = kitColorButton2->Color();
    FChart->BorderNodeColor = kitColorButton3->Color();
}

void TPolysetupForm::Button1Click()
{
    if (FChart) ShowFontEditorModal(nullptr, FChart->ShapeSeries().Marks().Font());
}

void TPolysetupForm::ApplyClicked()
{
    ApplyToChart();
    if (FChart) {
        LoadFromChart(*FChart);
        FChart->Invalidate();
    }
}

void TPolysetupForm::DefaultClicked()
{
    if (!FChart) return;
    FChart->WorkLine1().RestoreDefaultStyle();
    FChart->WorkLine2().RestoreDefaultStyle();
    FChart->NodeSeries().RestoreDefaultStyle();
    FChart->RestoreDefaultSettings();
    LoadFromChart(*FChart);
    FChart->Invalidate();
}
