// The shape editor: its pages, loading a shape, writing each control, and the two ways of embedding it.
#include "chart/editors/LumCustomShapeEditor.h"

#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareShapes.h"
#include "chart/editors/LumEdiFont.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumShadowEditor.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

TFormLumShape::TFormLumShape(QWidget* Owner, TLumCustomShape* Shape)
    : TLumEditorForm(Owner), BBackColor(nullptr), Button4(nullptr), CBBevel(nullptr), FShape(Shape)
{
    PC1 = new QTabWidget;
    ShowTabsWhole(*PC1);
    TabFormat = new QWidget;
    TabText = new QWidget;
    TabGradient = new QWidget;
    TabShadow = new QWidget;
    PC1->addTab(TabFormat, "Format");
    PC1->addTab(TabText, "Text");
    PC1->addTab(TabGradient, "Gradient");
    PC1->addTab(TabShadow, "Shadow");
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(PC1);

    BBackColor.SetCaption("&Color...");
    Button4.SetCaption("&Frame...");
    for (TLumButton* b : std::initializer_list<TLumButton*>{&BBackColor, &Button4}) b->SetParentWidget(TabFormat);
    Button6 = new QPushButton(AnsiToQString("&Pattern..."));
    CBRound = NewCheckBox("&Round Frame");
    CBTransparent = NewCheckBox("&Transparent");
    CBBevel.SetItems({"None", "Lowered", "Raised"});
    CBBevel.SetParentWidget(TabFormat);
    LBevel = NewLabel("&Bevel:", CBBevel.Widget());
    UDBevW = NewUpDown(1, 100);
    UDBevW->setValue(1);
    LBevelSize = NewLabel("Siz&e:", UDBevW);
    UDShadowTransp = NewUpDown(0, 100);
    LTransp = NewLabel("&Transparency:", UDShadowTransp);
    auto* grid = new QGridLayout(TabFormat);
    grid->addWidget(BBackColor.Widget(), 0, 0);
    grid->addWidget(CBRound, 0, 1, 1, 2);
    grid->addWidget(Button4.Widget(), 1, 0);
    grid->addWidget(CBTransparent, 1, 1, 1, 2);
    grid->addWidget(Button6, 2, 0);
    grid->addWidget(LBevel, 3, 0);
    grid->addWidget(CBBevel.Widget(), 3, 1);
    grid->addWidget(LBevelSize, 4, 0);
    grid->addWidget(UDBevW, 4, 1);
    grid->addWidget(LTransp, 5, 0);
    grid->addWidget(UDShadowTransp, 5, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(3, 1);

    // The pages of the other editors (their objects are given when a shape is loaded).
    FGradientEditor = new TLumGradientEditor(this, nullptr);
    EmbedFormFilling(*FGradientEditor, *TabGradient);
    FFontEditor = EmbedFontEditor(*TabText);
    FShadowEditor = EmbedShadowEditor(*TabShadow);

    ConnectGuarded(Button6, &QPushButton::clicked, this, [this](bool) {
        if (FShape) ShowBrushEditorModal(nullptr, FShape->Brush());
    });
    ConnectGuarded(CBRound, &QCheckBox::clicked, this, [this](bool checked) {
        if (FShape) FShape->SetShapeStyle(checked ? fosRoundRectangle : fosRectangle);
    });
    ConnectGuarded(CBTransparent, &QCheckBox::clicked, this, [this](bool checked) {
        if (FShape) FShape->SetTransparent(checked);
    });
    CBBevel.OnChange = [this](TPersistent*) {
        if (!FShape || CBBevel.ItemIndex() < 0) return;
        FShape->SetBevel(static_cast<TBevelCut>(CBBevel.ItemIndex()));
        EnableBevelSize();
    };
    ConnectGuarded(UDBevW, &QSpinBox::valueChanged, this, [this](int v) {
        if (FShape && !FCreating) FShape->SetBevelWidth(v);
    });
    ConnectGuarded(UDShadowTransp, &QSpinBox::valueChanged, this, [this](int v) {
        if (FShape && !FCreating) FShape->SetTransparency(v);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumShape::~TFormLumShape() = default;

TLumGradientEditor* TFormLumShape::GradientEditor() const { return FGradientEditor; }
TLumFontEditor* TFormLumShape::FontEditor() const { return FFontEditor; }
TLumShadowEditor* TFormLumShape::ShadowEditor() const { return FShadowEditor; }

void TFormLumShape::FormShow()
{
    PC1->setCurrentWidget(TabFormat);
    if (FShape) LoadShape(FShape);
    TranslateFormControls(this);
}

void TFormLumShape::LoadShape(TLumCustomShape* Shape)
{
    FShape = Shape;
    if (!FShape) return;
    FCreating = true;
    CBRound->setChecked(FShape->ShapeStyle() == fosRoundRectangle);
    CBTransparent->setChecked(FShape->Transparent());
    CBBevel.SetItemIndex(FShape->Bevel() <= bvRaised ? FShape->Bevel() : -1);
    UDBevW->setValue(FShape->BevelWidth());
    UDShadowTransp->setValue(FShape->Transparency());
    if (FGradientEditor) FGradientEditor->BindGradient(&FShape->Gradient());
    if (FFontEditor) FFontEditor->BindFont(&FShape->Font());
    if (FShadowEditor) FShadowEditor->BindShadow(&FShape->Shadow());
    Button4.LinkPen(&FShape->Pen());
    BBackColor.LinkProperty(FShape, "Color");
    EnableBevelSize();
    FCreating = false;
}

void TFormLumShape::EnableBevelSize()
{
    const bool on = FShape && FShape->Bevel() != bvNone;
    LBevelSize->setEnabled(on);
    UDBevW->setEnabled(on);
}

void TFormLumShape::CBVisibleChecked(QCheckBox* Sender)
{
    if (FShape && Sender) FShape->SetVisible(Sender->isChecked());
}

TFormLumShape* CreateShapeEditor(QWidget* Owner, TLumCustomShape* Shape, QWidget* Parent)
{
    auto* editor = new TFormLumShape(Owner, Shape);
    if (Parent) {
        TranslateFormControls(editor);
        EmbedFormFilling(*editor, *Parent);
    }
    return editor;
}

TFormLumShape* EmbedShapeEditorPages(QTabWidget& PageControl, TLumCustomShape* Shape)
{
    auto* editor = new TFormLumShape(PageControl.window(), Shape);
    // The form itself stays out of sight behind the pages; its pages move over.
    editor->setParent(&PageControl, Qt::Widget);
    editor->hide();
    while (editor->PC1->count() > 0) {
        QWidget* page = editor->PC1->widget(0);
        const QString caption = editor->PC1->tabText(0);
        editor->PC1->removeTab(0);
        PageControl.addTab(page, caption);
    }
    PageControl.setCurrentIndex(0);
    TranslateFormControls(editor);
    return editor;
}
