// The gradient editor: its controls and layout, the presets, binding and loading a gradient, the edit
// handlers with their enabling rules, the direction gallery, giving the gradient back on Cancel; the
// preview panel and the gradient button.
#include "chart/editors/LumEdiGrad.h"

#include "chart/base/LumCanvas.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/FloatFormat.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string>
#include <vector>

// ---- Presets ------------------------------------------------------------------------------------------------

const std::array<TGradientPreset, GradientPresetCount>& GradientPresets()
{
    static const std::array<TGradientPreset, GradientPresetCount> presets{{
        {"Caribe Sun", 0x00DDDFD2, 0x00F50A97, 0x000B80F4, gdTopBottom, 50},
        {"Business", 0x00C0C0C0, 0x00FFFFFF, 0x00808080, gdTopBottom, 50},
        {"Hot", 0x000000FF, clNone, 0x0000FFFF, gdTopBottom, 50},
        {"Ace", 0x00000000, 0x00FF8080, 0x00000000, gdBottomTop, 74},
        {"Farm", 0x00006AD5, 0x00FFFFFF, 0x000062C4, gdBottomTop, 4},
        {"Sea", 0x00FFFF80, 0x00FF8080, 0x00800000, gdBottomTop, 55},
        {"Night", 0x00FFFFFF, 0x00800040, 0x00000000, gdTopBottom, 40},
        {"Space", 0x00A50320, 0x00800040, 0x00FFFFFF, gdFromTopLeft, 50},
        {"Golf", 0x00159902, 0x00C0C0C0, 0x00D9F986, gdTopBottom, 50},
        {"Funky", 0x00BD3881, 0x0087607A, 0x0052EB85, gdTopBottom, 50},
        {"Sunset", 0x00B85A06, 0x00A7D8AF, 0x00001042, gdTopBottom, 50},
        {"Rainbow", 0x00A11EE8, 0x000F8355, 0x00DD011A, gdTopBottom, 50},
        {"Pastel", 0x00247489, 0x009491F6, 0x00FD8B9D, gdTopBottom, 50},
        {"Tropical", 0x009A414B, 0x00732FF3, 0x0020D761, gdTopBottom, 50},
        {"Sea 2", 0x004C031C, 0x00BACBE1, 0x00291EF9, gdTopBottom, 50},
        {"Desert", 0x00265FB7, 0x00CE7185, 0x00604457, gdTopBottom, 50},
        {"Clear day", 0x00FFF3EA, 0x00E0E6E9, 0x00CEDBFF, gdTopBottom, 50},
    }};
    return presets;
}

void ApplyGradientPreset(TCustomLumGradient& Gradient, int Index)
{
    const TGradientPreset& p = GradientPresets().at(static_cast<std::size_t>(Index));
    Gradient.SetStartColor(p.Start);
    Gradient.SetMidColor(p.Mid);
    Gradient.SetEndColor(p.End);
    Gradient.SetDirection(p.Direction);
    Gradient.SetBalance(p.Balance);
}

namespace {

const std::vector<std::string> DirectionNames = {"Top Bottom",    "Bottom Top",       "Left Right", "Right Left",
                                                  "From Center",   "From Top Left",    "From Bottom Left",
                                                  "Radial",        "Diagonal Up",      "Diagonal Down"};

bool IsCentredDirection(TGradientDirection d)
{
    return d == gdFromCenter || d == gdFromTopLeft || d == gdFromBottomLeft || d == gdRadial;
}

bool SameGradient(const TCustomLumGradient& a, const TCustomLumGradient& b)
{
    return a.Visible() == b.Visible() && a.Direction() == b.Direction() && a.StartColor() == b.StartColor() &&
           a.HasMidColor() == b.HasMidColor() && a.MidColor() == b.MidColor() && a.EndColor() == b.EndColor() &&
           a.Balance() == b.Balance() && a.RadialX() == b.RadialX() && a.RadialY() == b.RadialY();
}


} // namespace

// ---- Preview panel ------------------------------------------------------------------------------------------

const TClassInfo& TPreviewGradient::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TPreviewGradient",
        .Parent = &TCustomLumPanelExtended::StaticClassInfo(),
        .Create = &CreateComponentOf<TPreviewGradient>,
    });
    return info;
}

TPreviewGradient::TPreviewGradient(TComponent* AOwner) : TCustomLumPanelExtended(AOwner)
{
    SetBevelOuter(bvNone);
    SetView3D(false);
}

void TPreviewGradient::DrawChartContent(const TRect& Rect) { PaintPanelFace(Rect); }

// ---- Gradient editor ----------------------------------------------------------------------------------------

TLumGradientEditor::TLumGradientEditor(QWidget* Owner)
    : TLumEditorForm(Owner), CBDirection(nullptr), Preview(nullptr), BStart(nullptr), BMid(nullptr), BEnd(nullptr),
      Directions(nullptr)
{
    BuildForm();
}

TLumGradientEditor::TLumGradientEditor(QWidget* Owner, TCustomLumGradient* Gradient) : TLumGradientEditor(Owner)
{
    FGradient = Gradient;
    SetTag(Gradient);
    Panel1->hide();
    resize(width(), height() - BOk->sizeHint().height());
}

TLumGradientEditor::~TLumGradientEditor()
{
    // The miniatures and the preview go before the widgets they stand on.
    Directions.ClearMiniatures();
}

void TLumGradientEditor::BuildForm()
{
    SetCaption("Gradient Editor");
    resize(259, 224);

    Panel2 = new QWidget;
    CBVisible = NewCheckBox("&Visible");
    CBDirection.SetItems(DirectionNames);
    CBDirection.SetWidth(130);
    CBDirection.SetParentWidget(Panel2);
    LDirection = NewLabel("&Direction:", CBDirection.Widget());
    auto* top = new QHBoxLayout(Panel2);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(CBVisible);
    top->addStretch(1);
    top->addWidget(LDirection);
    top->addWidget(CBDirection.Widget());

    PageControl1 = new QTabWidget;
    ShowTabsWhole(*PageControl1);
    TabDefault = new QWidget;
    TabColors = new QWidget;
    TabOptions = new QWidget;
    TabDirections = new QWidget;
    PageControl1->addTab(TabDefault, "Default");
    PageControl1->addTab(TabColors, "Colors");
    PageControl1->addTab(TabOptions, "Options");
    PageControl1->addTab(TabDirections, "Directions");

    // "Default": the presets, sorted by name, beside the preview.
    Gallery = new QListWidget;
    for (int i = 0; i < GradientPresetCount; ++i) {
        auto* item = new QListWidgetItem(AnsiToQString(GradientPresets()[static_cast<std::size_t>(i)].Name));
        item->setData(Qt::UserRole, i);
        Gallery->addItem(item);
    }
    Gallery->sortItems();
    Gallery->setFixedWidth(100);
    Preview.SetParentWidget(TabDefault);
    auto* defaults = new QHBoxLayout(TabDefault);
    defaults->addWidget(Gallery);
    defaults->addWidget(Preview.Widget(), 1);

    // "Colors".
    BStart.SetCaption("&Start...");
    BMid.SetCaption("&Middle...");
    BEnd.SetCaption("&End...");
    for (TButtonColor* b : {&BStart, &BMid, &BEnd}) b->SetParentWidget(TabColors);
    BSwap = new QPushButton(AnsiToQString("S&wap"));
    CBMid = NewCheckBox("&No Middle");
    auto* colors = new QGridLayout(TabColors);
    colors->addWidget(BStart.Widget(), 0, 0);
    colors->addWidget(BSwap, 0, 1);
    colors->addWidget(BMid.Widget(), 1, 0);
    colors->addWidget(CBMid, 1, 1);
    colors->addWidget(BEnd.Widget(), 2, 0);
    colors->setRowStretch(3, 1);
    colors->setColumnStretch(2, 1);

    // "Options".
    SBBalance = new QScrollBar(Qt::Horizontal);
    SBBalance->setRange(0, 100);
    SBBalance->setValue(50);
    Label1 = NewLabel("&Balance:", SBBalance);
    LabelBalance = NewLabel("50 %");
    GroupRadial = new QGroupBox("Radial offset:");
    TrackBar1 = new QSlider(Qt::Horizontal);
    TrackBar2 = new QSlider(Qt::Horizontal);
    for (QSlider* t : {TrackBar1, TrackBar2}) {
        t->setRange(-300, 300);
        t->setTickPosition(QSlider::NoTicks);
    }
    Label2 = NewLabel("&Horiz:", TrackBar1);
    Label3 = NewLabel("&Vert:", TrackBar2);
    LRadialX = NewLabel("0");
    LRadialY = NewLabel("0");
    for (QLabel* l : {LRadialX, LRadialY}) l->setMinimumWidth(30);
    auto* radial = new QGridLayout(GroupRadial);
    radial->addWidget(Label2, 0, 0);
    radial->addWidget(TrackBar1, 0, 1);
    radial->addWidget(LRadialX, 0, 2);
    radial->addWidget(Label3, 1, 0);
    radial->addWidget(TrackBar2, 1, 1);
    radial->addWidget(LRadialY, 1, 2);
    auto* options = new QGridLayout(TabOptions);
    options->addWidget(Label1, 0, 0);
    options->addWidget(SBBalance, 0, 1);
    options->addWidget(LabelBalance, 0, 2);
    options->addWidget(GroupRadial, 1, 0, 1, 3);
    options->setRowStretch(2, 1);

    BuildDirections();

    Panel1 = new QWidget;
    BOk = new QPushButton("OK");
    BCancel = new QPushButton("Cancel");
    BOk->setDefault(true);
    auto* bottom = new QHBoxLayout(Panel1);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addStretch(1);
    bottom->addWidget(BOk);
    bottom->addWidget(BCancel);

    auto* form = new QVBoxLayout(this);
    form->addWidget(Panel2);
    form->addWidget(PageControl1, 1);
    form->addWidget(Panel1);

    ConnectGuarded(CBVisible, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FGradient || FLoading) return;
        FModified = true;
        FGradient->SetVisible(checked);
        EnableColorControls();
        RefreshPreview();
    });
    CBDirection.OnChange = [this](TPersistent*) { DirectionChosen(); };
    BStart.OnClick = [this](TPersistent*) { ColorButtonClicked(); };
    BEnd.OnClick = [this](TPersistent*) { ColorButtonClicked(); };
    BMid.OnClick = [this](TPersistent*) { MidButtonClicked(); };
    ConnectGuarded(BSwap, &QPushButton::clicked, this, [this](bool) { SwapClicked(); });
    ConnectGuarded(CBMid, &QCheckBox::clicked, this, [this](bool checked) { NoMiddleClicked(checked); });
    ConnectGuarded(SBBalance, &QScrollBar::valueChanged, this, [this](int v) { BalanceChanged(v); });
    ConnectGuarded(TrackBar1, &QSlider::valueChanged, this, [this](int v) {
        LRadialX->setText(QString::number(v));
        if (!FGradient || FLoading) return;
        FModified = true;
        FGradient->SetRadialX(v);
    });
    ConnectGuarded(TrackBar2, &QSlider::valueChanged, this, [this](int v) {
        LRadialY->setText(QString::number(v));
        if (!FGradient || FLoading) return;
        FModified = true;
        FGradient->SetRadialY(v);
    });
    ConnectGuarded(Gallery, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { PresetChosen(); });
    SetButtonModalResult(BOk, mrOk);
    SetButtonModalResult(BCancel, mrCancel);
    OnShow = [this](TForm*) { FormShow(); };
    OnClose = [this](TForm*) { FormClose(); };

    PageControl1->setCurrentWidget(TabColors);
}

void TLumGradientEditor::BuildDirections()
{
    Directions.SetParentWidget(TabDirections);
    Directions.SetDisplaySub(false);
    Directions.SetNumRows(2);
    Directions.SetNumCols(5);
    Directions.SetBounds(0, 0, 250, 120);
    for (int d = 0; d <= gdDiagonalDown; ++d) {
        TGalleryChart& m = Directions.NewMiniature();
        m.SetHint(DirectionNames[static_cast<std::size_t>(d)]);
        m.SetShowHint(true);
        m.Title().ClearText();
        m.SetView3D(false);
        m.SetAxisVisible(false);
        m.BackWall().SetTransparent(false);
        m.BackWall().Gradient().SetVisible(true);
        m.BackWall().Gradient().SetDirection(static_cast<TGradientDirection>(d));
        m.SetMarginLeft(16);
        m.SetMarginTop(22);
        m.SetMarginRight(16);
        m.SetMarginBottom(22);
    }
    auto* layout = new QVBoxLayout(TabDirections);
    layout->addWidget(Directions.Widget());
    Directions.LayoutMiniatures();
    Directions.OnChangeChart = [this](TPersistent*) { DirectionsChangeChart(); };
}

void TLumGradientEditor::SetHideEndColor(bool Value)
{
    FHideEndColor = Value;
    BEnd.SetVisible(!Value);
    BSwap->setVisible(!Value);
}

void TLumGradientEditor::SetHideVisible(bool Value) { CBVisible->setVisible(!Value); }

void TLumGradientEditor::FormShow()
{
    TCustomLumGradient* g = FGradient ? FGradient : dynamic_cast<TCustomLumGradient*>(Tag());
    BindGradient(g);
    FModified = false;
    TranslateFormControls(this);
}

void TLumGradientEditor::FormClose()
{
    if (ModalResult() != mrOk) RestoreBackup();
}

void TLumGradientEditor::RestoreBackup()
{
    if (!FGradient || !FBackup || SameGradient(*FGradient, *FBackup)) return;
    FGradient->Assign(*FBackup);
    FModified = false;
    if (FGradient->OnChange) FGradient->OnChange(FGradient);
}

void TLumGradientEditor::BindGradient(TCustomLumGradient* Gradient)
{
    FLoading = true;
    SetTag(Gradient);
    FGradient = Gradient;
    if (FGradient) {
        FBackup = std::make_unique<TLumGradient>();
        FBackup->Assign(*FGradient);
        BStart.LinkProperty(FGradient, "StartColor");
        BMid.LinkProperty(FGradient, "MidColor");
        BEnd.LinkProperty(FGradient, "EndColor");
        LoadControls();
        EnableColorControls();
        EnableDirectionControls();
        RefreshPreview();
        const int d = FGradient->Direction();
        if (d < Directions.MiniatureCount()) Directions.FocusMiniature(&Directions.Miniature(d));
    }
    FLoading = false;
}

void TLumGradientEditor::LoadControls()
{
    if (!FGradient) return;
    SBBalance->setValue(FGradient->Balance());
    LabelBalance->setText(AnsiToQString(FormatFloat("##0.## %", FGradient->Balance())));
    CBVisible->setChecked(FGradient->Visible());
    CBDirection.SetItemIndex(FGradient->Direction());
    CBMid->setChecked(FGradient->MidColor() == clNone);
    TrackBar1->setValue(FGradient->RadialX());
    TrackBar2->setValue(FGradient->RadialY());
    LRadialX->setText(QString::number(FGradient->RadialX()));
    LRadialY->setText(QString::number(FGradient->RadialY()));
    for (TButtonColor* b : {&BStart, &BMid, &BEnd}) b->Invalidate();
    RecolorMiniatures();
}

void TLumGradientEditor::RefreshPreview()
{
    if (!FGradient) return;
    TLumGradient& p = Preview.Gradient();
    p.SetVisible(FGradient->Visible());
    p.SetDirection(FGradient->Direction());
    p.SetStartColor(FGradient->StartColor());
    p.SetMidColor(FGradient->MidColor());
    p.SetEndColor(FGradient->EndColor());
    Preview.Invalidate();
    RecolorMiniatures();
}

void TLumGradientEditor::RecolorMiniatures()
{
    if (!FGradient) return;
    for (int i = 0; i < Directions.MiniatureCount(); ++i) {
        TLumGradient& g = Directions.Miniature(i).BackWall().Gradient();
        g.SetStartColor(FGradient->StartColor());
        g.SetMidColor(FGradient->MidColor());
        g.SetEndColor(FGradient->EndColor());
    }
}

void TLumGradientEditor::EnableColorControls()
{
    const bool on = FHideEndColor || (FGradient && FGradient->Visible());
    CBDirection.SetEnabled(on);
    LDirection->setEnabled(on);
    for (TButtonColor* b : {&BStart, &BMid, &BEnd}) b->SetEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{CBMid, BSwap, Gallery}) w->setEnabled(on);
    EnableDirectionControls();
}

void TLumGradientEditor::EnableDirectionControls()
{
    const bool visible = FGradient && FGradient->Visible();
    const TGradientDirection d = FGradient ? FGradient->Direction() : gdTopBottom;
    const bool middle = FHideEndColor || (visible && !IsCentredDirection(d));
    CBMid->setEnabled(middle);
    BMid.SetEnabled(middle);
    const bool radial = d == gdRadial;
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Label3, TrackBar1, TrackBar2}) w->setEnabled(radial);
}

void TLumGradientEditor::DirectionChosen()
{
    const int index = CBDirection.ItemIndex();
    if (!FGradient || index < 0) return;
    FModified = true;
    FGradient->SetDirection(static_cast<TGradientDirection>(index));
    EnableDirectionControls();
    if (index > gdRightLeft) Gallery->setCurrentRow(-1);
    RefreshPreview();
    if (index < Directions.MiniatureCount()) Directions.FocusMiniature(&Directions.Miniature(index));
}

void TLumGradientEditor::ColorButtonClicked()
{
    FModified = true;
    RefreshPreview();
}

void TLumGradientEditor::MidButtonClicked()
{
    FModified = true;
    if (FGradient) CBMid->setChecked(FGradient->MidColor() == clNone);
    RefreshPreview();
}

void TLumGradientEditor::SwapClicked()
{
    if (!FGradient) return;
    FModified = true;
    const TColor start = FGradient->StartColor();
    FGradient->SetStartColor(FGradient->EndColor());
    FGradient->SetEndColor(start);
    BStart.Invalidate();
    BEnd.Invalidate();
    RefreshPreview();
}

void TLumGradientEditor::NoMiddleClicked(bool Checked)
{
    if (!FGradient || FLoading) return;
    FModified = true;
    if (Checked) {
        FGradient->SetMidColor(clNone);
    } else {
        // Three colours again, with the middle colour it had before, or white when it never had one.
        FGradient->TurnOnMidColor();
        if (FGradient->MidColor() == clNone) FGradient->SetMidColor(clWhite);
    }
    BMid.Invalidate();
    RefreshPreview();
}

void TLumGradientEditor::BalanceChanged(int Position)
{
    if (FGradient && !FLoading) {
        FModified = true;
        FGradient->SetBalance(Position);
    }
    if (FGradient) LabelBalance->setText(AnsiToQString(FormatFloat("##0.## %", FGradient->Balance())));
}

void TLumGradientEditor::PresetChosen()
{
    QListWidgetItem* item = Gallery->currentItem();
    if (!FGradient || !item) return;
    ApplyGradientPreset(*FGradient, item->data(Qt::UserRole).toInt());
    FLoading = true;
    LoadControls();
    FLoading = false;
    EnableDirectionControls();
    RefreshPreview();
}

void TLumGradientEditor::DirectionsChangeChart()
{
    const int index = Directions.IndexOfMiniature(Directions.FocusedMiniature());
    if (!FGradient || index < 0) return;
    FGradient->SetDirection(static_cast<TGradientDirection>(index));
    CBDirection.SetItemIndex(index);
    EnableDirectionControls();
    if (!FLoading) RefreshPreview();
}

bool ShowGradientEditorModal(TWinControl* Owner, TCustomLumGradient& Gradient)
{
    return ShowGradientEditorWithOptions(Owner, Gradient, false, false);
}

bool ShowGradientEditorWithOptions(TWinControl* Owner, TCustomLumGradient& Gradient, bool HideEndColor,
                                   bool HideVisible)
{
    auto editor = CreateGradientEditor(Owner, Gradient, HideEndColor, HideVisible);
    return editor->ShowModal() == mrOk;
}

std::unique_ptr<TLumGradientEditor> CreateGradientEditor(TWinControl* Owner, TCustomLumGradient& Gradient,
                                                         bool HideEndColor, bool HideVisible)
{
    auto editor = CreateEditorDialog<TLumGradientEditor>(Owner);
    editor->SetTag(&Gradient);
    editor->SetHideEndColor(HideEndColor);
    editor->SetHideVisible(HideVisible);
    return editor;
}

// ---- Gradient button --------------------------------------------------------------------------------------

const TClassInfo& TButtonGradient::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TButtonGradient",
        .Parent = &TLumButton::StaticClassInfo(),
        .Create = &CreateComponentOf<TButtonGradient>,
    });
    return info;
}

TButtonGradient::TButtonGradient(TComponent* AOwner) : TLumButton(AOwner) {}

void TButtonGradient::LinkGradient(TCustomLumGradient* Gradient)
{
    LinkProperty(Gradient, "");
    Invalidate();
}

void TButtonGradient::Click()
{
    TCustomLumGradient* gradient = LinkedGradient();
    if (!gradient) {
        TLumButton::Click();
        return;
    }
    auto editor = CreateGradientEditor(this, *gradient, FHideEndColor, false);
    FEditor = editor.get();
    TModalResult result = mrCancel;
    try {
        result = editor->ShowModal();
    } catch (...) {
        FEditor = nullptr;
        throw;
    }
    FEditor = nullptr;
    editor.reset();
    if (result == mrOk) {
        Invalidate();
        TLumButton::Click();
    }
}

void TButtonGradient::DrawSymbol(TLumCanvas& Canvas)
{
    TCustomLumGradient* gradient = LinkedGradient();
    if (!Enabled() || !gradient) return;
    const TRect r = SymbolRect();
    gradient->DrawRect(Canvas, r);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(gradient->Visible() ? clBlack : clGray);
    Canvas.DrawRect(r);
}
