// The line-type series' format page: filling from the series, each control's write, the shadow dialog and
// the pointer page.
#include "chart/editors/LumCustEdit.h"

#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "chart/editors/LumPoEdi.h"
#include "chart/editors/LumShadowEditor.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TCustomSeriesEditor::TCustomSeriesEditor(QWidget* Owner)
    : TLumEditorForm(Owner), BLineBorder(nullptr), BLineColor(nullptr), BBrush(new QPushButton(AnsiToQString("&Pattern..."))),
      BOutline(nullptr), Button1(new QPushButton(AnsiToQString("S&hadow..."))), GBStair(new QGroupBox("Line Mode:")),
      CBStairs(NewCheckBox("&Stairs")), CBInvStairs(NewCheckBox("&Inverted")), CBColorEach(NewCheckBox("Color &Each")),
      CBDark3D(NewCheckBox("&Dark 3D")), CBStack(nullptr), UDHeight(NewUpDown(0, 1000)),
      CBClick(NewCheckBox("Clic&kable")), CheckBox1(NewCheckBox("Color Each line"))
{
    resize(368, 176);
    BLineBorder.SetCaption("&Border...");
    BLineColor.SetCaption("&Color...");
    BOutline.SetCaption("&Outline...");
    for (TLumButton* b : std::initializer_list<TLumButton*>{&BLineBorder, &BLineColor, &BOutline}) b->SetParentWidget(this);
    CBStack.SetItems({"None", "Overlap", "Stack", "Stack 100%"});
    CBStack.SetParentWidget(this);
    Label1 = NewLabel("S&tack:", CBStack.Widget());
    LHeight = NewLabel("&Height 3D:", UDHeight);
    auto* stairs = new QVBoxLayout(GBStair);
    stairs->addWidget(CBStairs);
    stairs->addWidget(CBInvStairs);

    auto* grid = new QGridLayout(this);
    grid->addWidget(BLineBorder.Widget(), 0, 0);
    grid->addWidget(BLineColor.Widget(), 1, 0);
    grid->addWidget(BBrush, 2, 0);
    grid->addWidget(BOutline.Widget(), 3, 0);
    grid->addWidget(Button1, 4, 0);
    grid->addWidget(GBStair, 0, 1, 2, 1);
    grid->addWidget(CBColorEach, 2, 1);
    grid->addWidget(CBDark3D, 3, 1);
    grid->addWidget(CBClick, 4, 1);
    grid->addWidget(Label1, 0, 2);
    grid->addWidget(CBStack.Widget(), 0, 3);
    grid->addWidget(LHeight, 1, 2);
    grid->addWidget(UDHeight, 1, 3);
    grid->addWidget(CheckBox1, 2, 2, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(4, 1);

    BLineBorder.OnClick = [this](TPersistent*) { BLineColor.Invalidate(); };
    BLineColor.OnClick = [this](TPersistent*) { BLineBorder.Invalidate(); };
    ConnectGuarded(BBrush, &QPushButton::clicked, this, [this](bool) {
        if (FSeries) ShowBrushEditorModal(nullptr, FSeries->Brush());
    });
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { ShadowClicked(); });
    ConnectGuarded(CBStairs, &QCheckBox::clicked, this, [this](bool checked) {
        if (auto* line = dynamic_cast<TLineSeries*>(FSeries)) line->SetStairs(checked);
        CBInvStairs->setEnabled(checked);
    });
    ConnectGuarded(CBInvStairs, &QCheckBox::clicked, this, [this](bool checked) {
        if (auto* line = dynamic_cast<TLineSeries*>(FSeries)) line->SetInvertedStairs(checked);
    });
    ConnectGuarded(CBColorEach, &QCheckBox::clicked, this, [this](bool checked) {
        if (FSeries) FSeries->SetColorEachPoint(checked);
    });
    ConnectGuarded(CBDark3D, &QCheckBox::clicked, this, [this](bool checked) {
        if (FSeries) FSeries->SetDark3D(checked);
    });
    CBStack.OnChange = [this](TPersistent*) {
        if (FSeries && CBStack.ItemIndex() >= 0) FSeries->SetStacked(static_cast<TCustomSeriesStack>(CBStack.ItemIndex()));
    };
    ConnectGuarded(UDHeight, &QSpinBox::valueChanged, this, [this](int value) {
        if (FSeries && !FFilling && isVisible()) FSeries->SetLineHeight(value);
    });
    ConnectGuarded(CBClick, &QCheckBox::clicked, this, [this](bool checked) {
        if (FSeries) FSeries->SetClickableLine(checked);
    });
    ConnectGuarded(CheckBox1, &QCheckBox::clicked, this, [this](bool checked) {
        if (FSeries) FSeries->SetColorEachLine(checked);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TCustomSeriesEditor::~TCustomSeriesEditor()
{
    if (FPointerPage) FPointerPage->deleteLater();
}

TSeriesPointerEditor* TCustomSeriesEditor::PointerPage() const { return FPointerPage; }

void TCustomSeriesEditor::FormShow()
{
    FSeries = dynamic_cast<TCustomSeries*>(Tag());
    if (!FSeries) return;
    FFilling = true;
    CBColorEach->setChecked(FSeries->ColorEachPoint());
    BLineBorder.LinkPen(&FSeries->LinePen());
    CBStack.SetItemIndex(FSeries->Stacked());
    CBClick->setChecked(FSeries->ClickableLine());
    CheckBox1->setChecked(FSeries->ColorEachLine());
    if (auto* line = dynamic_cast<TLineSeries*>(FSeries)) {
        CBStairs->setChecked(line->Stairs());
        CBInvStairs->setChecked(line->InvertedStairs());
        CBInvStairs->setEnabled(line->Stairs());
        CBDark3D->setChecked(line->Dark3D());
        UDHeight->setValue(line->LineHeight());
        BOutline.LinkPen(&line->OutLine());
    } else {
        SetControlsVisibility(false, {BBrush, BOutline.Widget(), GBStair, CBDark3D, LHeight, UDHeight});
    }
    BLineColor.LinkProperty(FSeries, "SeriesColor");
    if (parentWidget() && !FPointerPage) FPointerPage = AddPointerEditorPage(parentWidget(), FSeries->Pointer(), "Point");
    FFilling = false;
}

void TCustomSeriesEditor::ShadowClicked()
{
    if (!FSeries) return;
    TLumShadowEditor editor(this);
    editor.setSizeGripEnabled(false);
    editor.BindShadow(&FSeries->Shadow());
    SetControlsVisibility(false, {editor.CBSmooth, editor.LTransp, editor.UDShadowTransp});
    editor.BOK->show();
    editor.ShowModal();
}
