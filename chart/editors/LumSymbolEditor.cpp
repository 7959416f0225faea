// The legend symbol editor: loading a symbol and each control's write.
#include "chart/editors/LumSymbolEditor.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartLegend.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace {

QComboBox* NewSymbolList(std::initializer_list<const char*> Items)
{
    auto* c = new QComboBox;
    for (const char* s : Items) c->addItem(s);
    return c;
}

} // namespace

TSymbolEditor::TSymbolEditor(QWidget* Owner)
    : TLumEditorForm(Owner), SEColWi(NewUpDown(0, 1000, 5)), CBColWUnits(NewSymbolList({"Percent", "Pixels"})),
      CBSymbolPos(NewSymbolList({"Left", "Right"})), CBContinuous(NewCheckBox("&Continuous")),
      CBVisible(NewCheckBox("&Visible")), CBSquared(NewCheckBox("&Squared")), CBSymPen(NewCheckBox("&Default border")),
      BSymPen(nullptr), BSymGradient(nullptr)
{
    SetCaption("Legend Symbol Editor");
    resize(302, 154);
    LWidth = NewLabel("&Width:", SEColWi);
    BSymPen.SetCaption("&Border...");
    BSymPen.SetParentWidget(this);
    BSymGradient.SetCaption("&Gradient...");
    BSymGradient.SetHideEndColor(true);
    BSymGradient.SetParentWidget(this);
    auto* g = new QGridLayout(this);
    g->addWidget(LWidth, 0, 0);
    g->addWidget(SEColWi, 0, 1);
    g->addWidget(NewLabel("Width &Units:", CBColWUnits), 1, 0);
    g->addWidget(CBColWUnits, 1, 1);
    g->addWidget(NewLabel("&Position:", CBSymbolPos), 2, 0);
    g->addWidget(CBSymbolPos, 2, 1);
    g->addWidget(CBVisible, 0, 2);
    g->addWidget(CBContinuous, 1, 2);
    g->addWidget(CBSquared, 2, 2);
    g->addWidget(CBSymPen, 3, 2);
    g->addWidget(BSymPen.Widget(), 3, 0, 1, 2);
    g->addWidget(BSymGradient.Widget(), 4, 0, 1, 2);
    g->setRowStretch(5, 1);
    g->setColumnStretch(3, 1);

    ConnectGuarded(SEColWi, &QSpinBox::valueChanged, this, [this](int v) {
        if (FSymbol && !FFilling) FSymbol->SetWidth(v);
    });
    ConnectGuarded(CBColWUnits, &QComboBox::activated, this, [this](int i) {
        if (FSymbol) FSymbol->SetWidthUnits(i == 0 ? lcsPercent : lcsPixels);
    });
    ConnectGuarded(CBSymbolPos, &QComboBox::activated, this, [this](int i) {
        if (FSymbol) FSymbol->SetPosition(i == 0 ? spLeft : spRight);
    });
    ConnectGuarded(CBContinuous, &QCheckBox::clicked, this, [this](bool v) {
        if (FSymbol) FSymbol->SetContinuous(v);
    });
    ConnectGuarded(CBVisible, &QCheckBox::clicked, this, [this](bool v) {
        if (FSymbol) FSymbol->SetVisible(v);
    });
    ConnectGuarded(CBSquared, &QCheckBox::clicked, this, [this](bool v) {
        if (!FSymbol) return;
        FSymbol->SetSquared(v);
        SEColWi->setEnabled(!v);
        LWidth->setEnabled(!v);
    });
    ConnectGuarded(CBSymPen, &QCheckBox::clicked, this, [this](bool v) {
        if (!FSymbol) return;
        FSymbol->SetDefaultPen(v);
        BSymPen.SetEnabled(!v);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TSymbolEditor::~TSymbolEditor() = default;

void TSymbolEditor::FormShow()
{
    LoadSymbol(dynamic_cast<TLegendSymbol*>(Tag()));
    TranslateFormControls(this);
}

void TSymbolEditor::LoadSymbol(TLegendSymbol* Symbol)
{
    FSymbol = Symbol;
    if (!FSymbol) return;
    FFilling = true;
    SEColWi->setValue(FSymbol->Width());
    CBColWUnits->setCurrentIndex(FSymbol->WidthUnits() == lcsPercent ? 0 : 1);
    CBSymbolPos->setCurrentIndex(FSymbol->Position() == spLeft ? 0 : 1);
    CBContinuous->setChecked(FSymbol->Continuous());
    CBSquared->setChecked(FSymbol->Squared());
    CBVisible->setChecked(FSymbol->Visible());
    CBSymPen->setChecked(FSymbol->DefaultPen());
    BSymPen.LinkPen(&FSymbol->Pen());
    BSymPen.SetEnabled(!FSymbol->DefaultPen());
    BSymGradient.LinkGradient(&FSymbol->Gradient());
    FFilling = false;
}
