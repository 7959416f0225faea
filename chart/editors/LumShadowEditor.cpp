// The shadow editor: loading a shadow, writing each control's value, modal and embedded use.
#include "chart/editors/LumShadowEditor.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

TLumShadowEditor::TLumShadowEditor(QWidget* Owner)
    : TLumEditorForm(Owner), UDShadowSize(NewUpDown(-1000, 1000)), UDShaVert(NewUpDown(-1000, 1000)),
      UDShadowTransp(NewUpDown(0, 100)), BShadowColor(nullptr), CBSmooth(NewCheckBox("&Smooth")),
      BOK(new QPushButton("OK"))
{
    SetCaption("Shadow editor");
    Label1 = NewLabel("&Horiz. Size:", UDShadowSize);
    Label2 = NewLabel("&Vert. Size:", UDShaVert);
    LTransp = NewLabel("&Transparency:", UDShadowTransp);
    BShadowColor.SetCaption("&Color...");
    BShadowColor.SetParentWidget(this);
    CBSmooth->setChecked(true);
    BOK->setDefault(true);
    SetButtonModalResult(BOK, mrOk);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(UDShadowSize, 0, 1);
    grid->addWidget(BShadowColor.Widget(), 0, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(UDShaVert, 1, 1);
    grid->addWidget(CBSmooth, 1, 2);
    grid->addWidget(LTransp, 2, 0);
    grid->addWidget(UDShadowTransp, 2, 1);
    grid->addWidget(BOK, 3, 2);
    grid->setRowStretch(4, 1);

    ConnectGuarded(UDShadowSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (CanWrite()) FShadow->SetHorizSize(v);
    });
    ConnectGuarded(UDShaVert, &QSpinBox::valueChanged, this, [this](int v) {
        if (CanWrite()) FShadow->SetVertSize(v);
    });
    ConnectGuarded(UDShadowTransp, &QSpinBox::valueChanged, this, [this](int v) {
        if (CanWrite()) FShadow->SetTransparency(static_cast<TLumTransparency>(v));
    });
    ConnectGuarded(CBSmooth, &QCheckBox::clicked, this, [this](bool checked) {
        if (FShadow) FShadow->SetSmooth(checked);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TLumShadowEditor::~TLumShadowEditor() = default;

void TLumShadowEditor::FormShow()
{
    if (FShadow) LoadControls();
    TranslateFormControls(this);
    FCreating = false;
}

void TLumShadowEditor::BindShadow(TLumShadow* Shadow)
{
    FShadow = Shadow;
    if (FShadow) LoadControls();
}

void TLumShadowEditor::LoadControls()
{
    FLoading = true;
    UDShadowSize->setValue(FShadow->HorizSize());
    UDShaVert->setValue(FShadow->VertSize());
    UDShadowTransp->setValue(FShadow->Transparency());
    CBSmooth->setChecked(FShadow->Smooth());
    BShadowColor.LinkProperty(FShadow, "Color");
    FLoading = false;
}

void ShowShadowEditorModal(TWinControl* Owner, TLumShadow& Shadow)
{
    auto editor = CreateEditorDialog<TLumShadowEditor>(Owner);
    editor->BindShadow(&Shadow);
    editor->BOK->show();
    editor->ShowModal();
}

TLumShadowEditor* EmbedShadowEditor(QWidget& Page)
{
    auto* editor = new TLumShadowEditor(Page.window());
    editor->BOK->hide();
    EmbedFormFilling(*editor, Page);
    return editor;
}
