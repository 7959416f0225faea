// The font editor: its controls, binding a font, the font and colour dialogs, spacing, outline, shadow
// and gradient.
#include "chart/editors/LumEdiFont.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasHelpers.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/LumPenDlgHelpers.h"
#include "chart/base/RadErareServices.h"
#include "chart/editors/LumShadowEditor.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>

namespace {

// A colour swatch that reports a release of the left button inside it.
class TSwatch : public QFrame {
public:
    std::function<void()> OnMouseUp;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QFrame::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnMouseUp)
            Application->Guarded([this] { OnMouseUp(); });
    }
};

} // namespace

TLumFontEditor::TLumFontEditor(QWidget* Owner)
    : TLumEditorForm(Owner), Button3(new QPushButton(AnsiToQString("&Font..."))), UDInter(NewUpDown(-100, 100)),
      BOutline(nullptr), BShadow(new QPushButton(AnsiToQString("&Shadow..."))),
      CBOutGrad(NewCheckBox("O&utline gradient")), BGradient(nullptr)
{
    SetCaption("LumFont Editor");
    auto* swatch = new TSwatch;
    swatch->OnMouseUp = [this] { SHTextMouseUp(); };
    SHText = swatch;
    SHText->setFrameShape(QFrame::Box);
    SHText->setFixedSize(24, 22);
    SHText->setCursor(Qt::PointingHandCursor);
    SHText->setAutoFillBackground(true);
    Label1 = NewLabel("&Inter-char spacing:", UDInter);
    BOutline.SetCaption("&Outline...");
    BOutline.SetParentWidget(this);
    BGradient.SetCaption("&Gradient...");
    BGradient.SetParentWidget(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Button3, 0, 0);
    grid->addWidget(SHText, 0, 1, Qt::AlignLeft);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(UDInter, 1, 1);
    grid->addWidget(BOutline.Widget(), 2, 0);
    grid->addWidget(BShadow, 2, 1);
    grid->addWidget(BGradient.Widget(), 3, 0);
    grid->addWidget(CBOutGrad, 3, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);

    ConnectGuarded(Button3, &QPushButton::clicked, this, [this](bool) { BFontClick(); });
    ConnectGuarded(UDInter, &QSpinBox::valueChanged, this, [this](int v) {
        // Only while the editor shows, so that loading a font never writes it back.
        if (FFont && !FLoading && isVisible()) FFont->SetInterCharSize(v);
    });
    ConnectGuarded(BShadow, &QPushButton::clicked, this, [this](bool) {
        if (FFont) ShowShadowEditorModal(nullptr, FFont->Shadow());
    });
    ConnectGuarded(CBOutGrad, &QCheckBox::clicked, this, [this](bool checked) {
        if (FFont) FFont->Gradient().SetOutline(checked);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TLumFontEditor::~TLumFontEditor() = default;

void TLumFontEditor::FormShow()
{
    if (FFont) BindFont(FFont);
    TranslateFormControls(this);
}

void TLumFontEditor::BindFont(TLumFont* Font)
{
    FFont = Font;
    if (!FFont) return;
    FLoading = true;
    ShowSwatchColor(FFont->Color());
    UDInter->setValue(FFont->InterCharSize());
    BOutline.LinkPen(&FFont->OutLine());
    CBOutGrad->setChecked(FFont->Gradient().Outline());
    BGradient.LinkGradient(&FFont->Gradient());
    FLoading = false;
}

void TLumFontEditor::ShowSwatchColor(TColor Color)
{
    QPalette palette = SHText->palette();
    const TColor rgb = ColorToRGB(Color);
    palette.setColor(QPalette::Window, QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    SHText->setPalette(palette);
}

void TLumFontEditor::BFontClick()
{
    if (!FFont || !RunFontDialog(nullptr, *FFont)) return;
    ShowSwatchColor(FFont->Color());
}

void TLumFontEditor::SHTextMouseUp()
{
    if (!FFont) return;
    TColor color = FFont->Color();
    if (!EditColorWithDialog(nullptr, color)) return;
    FFont->SetColor(color);
    ShowSwatchColor(color);
}

TLumFontEditor* EmbedFontEditor(QWidget& Page)
{
    auto* editor = new TLumFontEditor(Page.window());
    EmbedFormFilling(*editor, Page);
    return editor;
}

void ShowFontEditorModal(TWinControl* Owner, TLumFont& Font)
{
    auto editor = CreateEditorDialog<TLumFontEditor>(Owner);
    editor->BindFont(&Font);
    editor->ShowModal();
}
