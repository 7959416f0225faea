// The panel page: its tabs and controls, filling from the panel, each write, the "Default" colour box
// and the back image's controls.
#include "chart/editors/LumEdiPane.h"

#include "chart/base/RadErarePanelExt.h"
#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareZoom.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumShadowEditor.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox* NewBevelList()
{
    auto* c = new QComboBox;
    for (const char* s : {"None", "Lowered", "Raised"}) c->addItem(s);
    return c;
}

} // namespace

TFormLumPanel::TFormLumPanel(QWidget* Owner, TCustomLumPanelExtended& Panel)
    : TLumEditorForm(Owner), BPanelColor(nullptr), BBorder(nullptr), FPanel(Panel)
{
    resize(400, 240);
    SetTag(&Panel);
    PageControl1 = new QTabWidget;
    ShowTabsWhole(*PageControl1);
    TabBack = new QWidget;
    TabBorders = new QWidget;
    TabGradient = new QWidget;
    TabShadow = new QWidget;
    PageControl1->addTab(TabBack, "Background");
    PageControl1->addTab(TabBorders, "Borders");
    PageControl1->addTab(TabGradient, "Gradient");
    PageControl1->addTab(TabShadow, "Shadow");
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(PageControl1);

    // "Background": the colour, then the back image.
    BPanelColor.SetCaption("&Color...");
    BPanelColor.SetParentWidget(TabBack);
    BPanelColor.LinkProperty(&Panel, "Color");
    CBColorDef = NewCheckBox("&Default");
    RGBitmap = new QGroupBox("St&yle");
    auto* modes = new QVBoxLayout(RGBitmap);
    for (const char* caption : {"Stretch", "Tile", "Center", "C&ustom"}) {
        auto* r = new QRadioButton(AnsiToQString(caption));
        ImageModes.push_back(r);
        modes->addWidget(r);
    }
    BBrowseImage = new QPushButton("B&rowse...");
    CBImageInside = NewCheckBox("I&nside");
    CBTransp = NewCheckBox("&Transparent");
    ELeft = NewUpDown(-10000, 10000);
    ETop = NewUpDown(-10000, 10000);
    auto* back = new QGridLayout(TabBack);
    back->addWidget(BPanelColor.Widget(), 0, 0);
    back->addWidget(CBColorDef, 1, 0);
    back->addWidget(BBrowseImage, 2, 0);
    back->addWidget(CBImageInside, 3, 0);
    back->addWidget(CBTransp, 4, 0);
    back->addWidget(RGBitmap, 0, 1, 5, 1);
    back->addWidget(NewLabel("&Left:", ELeft), 0, 2);
    back->addWidget(ELeft, 0, 3);
    back->addWidget(NewLabel("T&op:", ETop), 1, 2);
    back->addWidget(ETop, 1, 3);
    back->setRowStretch(5, 1);
    back->setColumnStretch(4, 1);

    // "Borders".
    SEPanelBor = NewUpDown(0, 100);
    SEPanelWi = NewUpDown(1, 100);
    ERound = NewUpDown(0, 10000);
    CBInner = NewBevelList();
    CBOuter = NewBevelList();
    BBorder.SetCaption("&Border...");
    BBorder.SetParentWidget(TabBorders);
    auto* borders = new QGridLayout(TabBorders);
    borders->addWidget(NewLabel("Bevel &inner:", CBInner), 0, 0);
    borders->addWidget(CBInner, 0, 1);
    borders->addWidget(NewLabel("Bevel &outer:", CBOuter), 1, 0);
    borders->addWidget(CBOuter, 1, 1);
    borders->addWidget(NewLabel("Widt&h:", SEPanelWi), 2, 0);
    borders->addWidget(SEPanelWi, 2, 1);
    borders->addWidget(NewLabel("&Separation:", SEPanelBor), 0, 2);
    borders->addWidget(SEPanelBor, 0, 3);
    borders->addWidget(NewLabel("&Round border:", ERound), 1, 2);
    borders->addWidget(ERound, 1, 3);
    borders->addWidget(BBorder.Widget(), 2, 2, 1, 2);
    borders->setRowStretch(3, 1);
    borders->setColumnStretch(4, 1);

    // "Gradient" and "Shadow": their own editors.
    FGradientEditor = std::make_unique<TLumGradientEditor>(this, &Panel.Gradient());
    EmbedFormClient(*FGradientEditor, *TabGradient, &Panel.Gradient());
    FShadowEditor = EmbedShadowEditor(*TabShadow);
    FShadowEditor->BindShadow(&Panel.Shadow());

    BPanelColor.OnClick = [this](TPersistent*) {
        FPanel.Invalidate();
        CheckColorDefault();
    };
    ConnectGuarded(CBColorDef, &QCheckBox::clicked, this, [this](bool v) {
        if (FChanging || !v) return;
        FPanel.SetColor(clBtnFace);
        CheckColorDefault();
        BPanelColor.Invalidate();
    });
    for (std::size_t i = 0; i < ImageModes.size(); ++i)
        ConnectGuarded(ImageModes[i], &QRadioButton::clicked, this, [this, i](bool) {
            FPanel.SetBackImageMode(static_cast<TLumBackImageMode>(i));
            EnableImageControls();
        });
    ConnectGuarded(BBrowseImage, &QPushButton::clicked, this, [this](bool) {
        LoadOrClearPicture(nullptr, FPanel.BackImage());
        FPanel.Invalidate();
        EnableImageControls();
    });
    ConnectGuarded(CBImageInside, &QCheckBox::clicked, this, [this](bool v) { FPanel.SetBackImageInside(v); });
    ConnectGuarded(CBTransp, &QCheckBox::clicked, this, [this](bool v) {
        if (CBTransp->isEnabled()) FPanel.SetBackImageTransp(v);
    });
    const auto spin = [this](QSpinBox* box, std::function<void(int)> write) {
        ConnectGuarded(box, &QSpinBox::valueChanged, this, [this, write](int v) {
            if (isVisible() && !FChanging) write(v);
        });
    };
    spin(ELeft, [this](int v) { FPanel.BackImage().SetLeft(v); });
    spin(ETop, [this](int v) { FPanel.BackImage().SetTop(v); });
    spin(SEPanelBor, [this](int v) {
        if (FPanel.BorderWidth() != v) FPanel.SetBorderWidth(v);
    });
    spin(SEPanelWi, [this](int v) {
        if (FPanel.BevelWidth() != v) FPanel.SetBevelWidth(v);
    });
    spin(ERound, [this](int v) { FPanel.SetBorderRound(v); });
    ConnectGuarded(CBInner, &QComboBox::activated, this, [this](int i) {
        if (FPanel.BevelInner() != static_cast<TBevelCut>(i)) FPanel.SetBevelInner(static_cast<TBevelCut>(i));
    });
    ConnectGuarded(CBOuter, &QComboBox::activated, this, [this](int i) {
        if (FPanel.BevelOuter() != static_cast<TBevelCut>(i)) FPanel.SetBevelOuter(static_cast<TBevelCut>(i));
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumPanel::~TFormLumPanel() = default;

std::unique_ptr<TFormLumPanel> TFormLumPanel::CreateForPanel(QWidget* Owner, TCustomLumPanelExtended& Panel)
{
    auto form = std::make_unique<TFormLumPanel>(Owner, Panel);
    form->PageControl1->setCurrentWidget(form->TabBack);
    return form;
}

void TFormLumPanel::FormShow()
{
    FChanging = true;
    SEPanelBor->setValue(FPanel.BorderWidth());
    SEPanelWi->setValue(FPanel.BevelWidth());
    ERound->setValue(FPanel.BorderRound());
    CBInner->setCurrentIndex(std::min<int>(FPanel.BevelInner(), 2));
    CBOuter->setCurrentIndex(std::min<int>(FPanel.BevelOuter(), 2));
    BBorder.LinkPen(&FPanel.Border());
    FChanging = false;
    CheckColorDefault();
    EnableImageControls();
    FGradientEditor->LoadControls();
    PageControl1->setCurrentWidget(TabBack);
    TranslateFormControls(this);
}

void TFormLumPanel::CheckColorDefault()
{
    FChanging = true;
    // The button face picked in the colour dialog arrives as its RGB value.
    const bool face = ColorToRGB(FPanel.Color()) == ColorToRGB(clBtnFace);
    CBColorDef->setChecked(face);
    CBColorDef->setEnabled(!face);
    FChanging = false;
}

void TFormLumPanel::EnableImageControls()
{
    FChanging = true;
    const bool loaded = FPanel.HasBackImage();
    BBrowseImage->setText(loaded ? "Clea&r" : "B&rowse...");
    RGBitmap->setEnabled(loaded);
    CBImageInside->setEnabled(loaded);
    CBTransp->setEnabled(loaded);
    const TLumBackImageMode mode = FPanel.BackImageMode();
    ImageModes[static_cast<std::size_t>(mode)]->setChecked(true);
    CBImageInside->setChecked(FPanel.BackImageInside());
    CBTransp->setChecked(loaded && FPanel.BackImageTransp());
    const bool custom = loaded && mode == pbmCustom;
    ELeft->setEnabled(custom);
    ETop->setEnabled(custom);
    if (FPanel.HasBackImageObject()) {
        ELeft->setValue(FPanel.BackImage().Left());
        ETop->setValue(FPanel.BackImage().Top());
    }
    FChanging = false;
}
