// The pen dialog: its components and layout, showing a pen, applying each change at once, giving the pen
// back when the dialog closes without OK, and drawing the style samples; the editor-form helpers.
#include "chart/base/LumPenDlgForm.h"

#include "chart/base/LumCanvas.h"
#include "chart/base/LumConst.h"
#include "chart/base/RadErareServices.h"
#include "platform/controls/AnsiText.h"
#include "platform/graphics/Canvas.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVariant>

#include <algorithm>
#include <cstdlib>

// ---- Making and embedding editor forms --------------------------------------------------------------------

QWidget* EditorParentForm(TWinControl* Control)
{
    if (!Control) return nullptr;
    if (TForm* form = ParentForm(Control)) return form;
    return Control->Widget();
}

void SetDialogBorder(QWidget& Form)
{
    Form.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint);
}

void SetControlsVisibility(bool Visible, std::initializer_list<QWidget*> Controls)
{
    for (QWidget* control : Controls)
        if (control) control->setVisible(Visible);
}

namespace {
constexpr char EmbedTagProperty[] = "vspEmbedTag";
}

void EmbedForm(TForm& Form, QWidget& Parent, TPersistent* Tag)
{
    const int top = std::min(4, std::abs(Parent.height() - Form.height()));
    Form.setParent(&Parent, Qt::Widget); // a borderless child, without border icons
    Form.setAutoFillBackground(false);   // the parent's background shows
    Form.setPalette(Parent.palette());
    Form.setProperty(EmbedTagProperty, QVariant::fromValue(static_cast<void*>(Tag)));
    Form.move(4, top);
    Form.show();
}

void EmbedFormInParent(TForm& Form, QWidget& Parent) { EmbedForm(Form, Parent, nullptr); }

void EmbedFormWithTag(TForm& Form, QWidget& Parent, TPersistent* Tag) { EmbedForm(Form, Parent, Tag); }

TPersistent* EmbeddedFormTag(const TForm& Form)
{
    return static_cast<TPersistent*>(Form.property(EmbedTagProperty).value<void*>());
}

// ---- The pen dialog -----------------------------------------------------------------------------------------

namespace {

constexpr int SmallDotsItem = 5;
const std::vector<std::string> PenStyleItems = {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"};

QLabel* BuddyLabel(const char* caption, QWidget* buddy)
{
    auto* label = new QLabel(AnsiToQString(caption));
    label->setBuddy(buddy);
    return label;
}

} // namespace

TPenDialog::TPenDialog(QWidget* Owner, TPen& Pen)
    : TForm(Owner), CBVisible(new QCheckBox(AnsiToQString("&Visible"))), CBStyle(nullptr), SEWidth(new QSpinBox),
      BColor(nullptr), CBEndStyle(nullptr), BOk(new QPushButton("OK")), BCancel(new QPushButton("Cancel")), FPen(Pen),
      FChartPen(dynamic_cast<TChartPen*>(&Pen))
{
    SetCaption("Border Editor");
    CBStyle.SetStyle(csOwnerDrawFixed);
    CBStyle.SetItems(PenStyleItems);
    CBStyle.SetWidth(120);
    CBStyle.SetParentWidget(this);
    CBStyle.OnDrawItem = [this](TPersistent*, int index, TRect rect, TOwnerDrawState state) {
        DrawStyleItem(index, rect, state);
    };
    CBStyle.OnChange = [this](TPersistent*) { StyleChosen(); };
    LStyle = BuddyLabel("&Style:", CBStyle.Widget());
    SEWidth->setRange(1, 100);
    SEWidth->setValue(1);
    LWidth = BuddyLabel("&Width:", SEWidth);
    BColor.SetCaption("&Color...");
    BColor.SetParentWidget(this);
    BColor.OnClick = [this](TPersistent*) { ColorClicked(); };
    CBEndStyle.SetItems({"Round", "Square", "Flat"});
    CBEndStyle.SetParentWidget(this);
    CBEndStyle.OnChange = [this](TPersistent*) { EndStyleChosen(); };
    BOk->setDefault(true);
    SetButtonModalResult(BOk, mrOk);
    SetButtonModalResult(BCancel, mrCancel);

    auto* grid = new QGridLayout(this);
    grid->addWidget(CBVisible, 0, 0, 1, 2);
    grid->addWidget(LStyle, 1, 0);
    grid->addWidget(CBStyle.Widget(), 1, 1);
    grid->addWidget(LWidth, 2, 0);
    grid->addWidget(SEWidth, 2, 1);
    grid->addWidget(BColor.Widget(), 3, 0);
    grid->addWidget(CBEndStyle.Widget(), 3, 1);
    grid->addWidget(BOk, 4, 0);
    grid->addWidget(BCancel, 4, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(SEWidth, &QSpinBox::valueChanged, this, [this](int v) { WidthChanged(v); });
    QObject::connect(CBVisible, &QCheckBox::toggled, this, [this](bool v) { VisibleChanged(v); });
    OnShow = [this](TForm*) { FormShow(); };
    OnClose = [this](TForm*) { FormClose(); };
}

TPenDialog::~TPenDialog() = default;

void TPenDialog::FormShow()
{
    FShowing = false; // setting the controls below changes nothing of the pen
    FBackup = std::make_unique<TChartPen>();
    FBackup->Assign(FPen);
    const int style = FPen.Style();
    const int listedStyle = style < static_cast<int>(PenStyleItems.size()) ? style : -1;
    if (FChartPen) {
        CBVisible->setChecked(FChartPen->Visible());
        CBVisible->show();
        if (CBStyle.ItemCount() == static_cast<int>(PenStyleItems.size())) CBStyle.AddItem(LumConst::SmallDots);
        if (FChartPen->SmallDots()) {
            CBStyle.SetItemIndex(SmallDotsItem);
            EnableWidthControls(false);
        } else {
            CBStyle.SetItemIndex(listedStyle);
        }
        CBEndStyle.SetItemIndex(FChartPen->EndStyle());
        CBEndStyle.SetVisible(true);
    } else {
        CBVisible->hide();
        CBStyle.SetItemIndex(listedStyle);
        // A plain pen has no end style to choose.
        CBEndStyle.SetVisible(false);
    }
    SEWidth->setValue(std::max(1, FPen.Width()));
    EnableStyleByWidth();
    BColor.LinkProperty(&FPen, "Color");
    TranslateFormControls(this);
    FModified = false;
    FShowing = true;
}

void TPenDialog::FormClose()
{
    if (ModalResult() != mrOk) Restore();
    FShowing = false;
}

void TPenDialog::Restore()
{
    if (!FModified || !FBackup) return;
    // One notification for the whole restore, after it.
    const TNotifyEvent changed = FPen.OnChange;
    FPen.OnChange = nullptr;
    try {
        FPen.Assign(*FBackup);
    } catch (...) {
        FPen.OnChange = changed;
        throw;
    }
    FPen.OnChange = changed;
    FModified = false;
    if (changed) changed(&FPen);
}

void TPenDialog::WidthChanged(int width)
{
    if (!FShowing) return;
    FPen.SetWidth(width);
    EnableStyleByWidth();
    FModified = true;
}

void TPenDialog::StyleChosen()
{
    const int index = CBStyle.ItemIndex();
    if (index < 0) return;
    if (index == SmallDotsItem && FChartPen) {
        FChartPen->SetSmallDots(true);
        EnableWidthControls(false);
    } else {
        FPen.SetStyle(static_cast<TPenStyle>(index));
        if (FChartPen) FChartPen->SetSmallDots(false);
        EnableWidthControls(true);
    }
    FModified = true;
}

void TPenDialog::EndStyleChosen()
{
    const int index = CBEndStyle.ItemIndex();
    if (!FChartPen || index < 0) return;
    FChartPen->SetEndStyle(static_cast<TPenEndStyle>(index));
    FModified = true;
}

void TPenDialog::VisibleChanged(bool visible)
{
    if (!FShowing || !FChartPen) return;
    FChartPen->SetVisible(visible);
    FModified = true;
}

void TPenDialog::ColorClicked()
{
    FModified = true;
    CBStyle.Invalidate();
}

void TPenDialog::EnableStyleByWidth()
{
    // Geometric pens draw every style at any width; simple pens only at width 1.
    CBStyle.SetEnabled(LumCanvasModule().GeometricPens || FPen.Width() == 1);
}

void TPenDialog::EnableWidthControls(bool enabled)
{
    SEWidth->setEnabled(enabled);
    LWidth->setEnabled(enabled);
}

void TPenDialog::DrawStyleItem(int Index, TRect Rect, TOwnerDrawState State)
{
    TCanvas& c = CBStyle.Canvas();
    const TColor back = State.Contains(odSelected) ? clHighlight : CBStyle.Color();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(back);
    c.FillRect(Rect);

    // The sample line in the pen's colour, or in a colour that stands out from the background.
    TColor line = FPen.Color();
    if (ColorToRGB(line) == ColorToRGB(back)) line = ColorToRGB(back) == clBlack ? clWhite : clBlack;
    TChartPen sample;
    sample.SetColor(line);
    sample.SetStyle(Index >= 0 && Index < SmallDotsItem ? static_cast<TPenStyle>(Index) : psSolid);
    sample.SetSmallDots(Index == SmallDotsItem);
    TLumCanvas3D canvas;
    canvas.AttachCanvas(&c);
    canvas.SelectPen(sample);
    canvas.DrawLineXY(Rect.Left + 2, Rect.Top + 8, Rect.Left + 30, Rect.Top + 8);

    if (Index < 0 || Index >= CBStyle.ItemCount()) return;
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
    c.TextOut(Rect.Left + 34, Rect.Top + 2, CBStyle.Item(Index));
}
