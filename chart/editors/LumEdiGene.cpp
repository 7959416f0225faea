// The general page's controls and writes, the page navigator's buttons, enabling and printing, and the
// print preview that uses it.
#include "chart/editors/LumEdiGene.h"

#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/LumPenDlgHelpers.h"
#include "chart/control/ChartControl.h"
#include "chart/control/LumPrevi.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineTypes.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

// ---- TChartPageNavigator -----------------------------------------------------------------------------------

const TClassInfo& TChartPageNavigator::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartPageNavigator", .Parent = &TCustomLumNavigator::StaticClassInfo()});
    return info;
}

TCustomAxisPanel* TChartPageNavigator::Chart() const { return dynamic_cast<TCustomAxisPanel*>(Panel()); }

void TChartPageNavigator::AttachPanel(TCustomLumPanel* Value)
{
    TCustomLumNavigator::AttachPanel(dynamic_cast<TCustomAxisPanel*>(Value));
}

void TChartPageNavigator::ReceiveChartEvent(TLumEvent& Event)
{
    auto* series = dynamic_cast<TLumSeriesEvent*>(&Event);
    if (dynamic_cast<TChartChangePage*>(&Event) || (series && series->Event == seDataChanged)) UpdateButtons();
}

int TChartPageNavigator::PageCount() const { return Chart() ? Chart()->CountPages() : 0; }

void TChartPageNavigator::UpdateButtons()
{
    TCustomAxisPanel* chart = Chart();
    const int page = chart ? chart->Page() : 0;
    const int count = PageCount();
    const bool back = chart && page > 1;
    const bool forward = chart && page < count;
    Button(nbFirst).SetEnabled(back);
    Button(nbPrior).SetEnabled(back);
    Button(nbNext).SetEnabled(forward);
    Button(nbLast).SetEnabled(forward);
}

void TChartPageNavigator::BtnClick(TLumNavigateBtn Index)
{
    if (TCustomAxisPanel* chart = Chart()) {
        const int page = chart->Page();
        const int count = PageCount();
        switch (Index) {
        case nbFirst: if (page > 1) chart->SetPage(1); break;
        case nbPrior: if (page > 1) chart->SetPage(page - 1); break;
        case nbNext: if (page < count) chart->SetPage(page + 1); break;
        case nbLast: if (page < count) chart->SetPage(count); break;
        default: break;
        }
    }
    UpdateButtons();
    TCustomLumNavigator::BtnClick(Index);
    if (OnButtonClicked) OnButtonClicked(this, Index);
}

void TChartPageNavigator::Print()
{
    TCustomAxisPanel* chart = Chart();
    if (!chart) return;
    const int count = PageCount();
    if (count < 2) {
        chart->PrintPageRange(1, 1);
        return;
    }
    TPrintDialogData range;
    range.FromPage = 1;
    range.ToPage = count;
    if (ExecutePrintDialog(this, range)) chart->PrintPageRange(range.FromPage, range.ToPage);
}

// ---- The print preview with the page navigator -------------------------------------------------------------

namespace {

// The page navigator as the preview window holds it.
class TPreviewChartPageNavigator : public TPreviewPageNavigator {
public:
    TPreviewChartPageNavigator()
    {
        FNavigator.OnButtonClicked = [this](TPersistent*, TLumNavigateBtn) {
            if (OnButtonClick) OnButtonClick();
        };
    }
    QWidget* Widget() override { return FNavigator.Widget(); }
    void SetChart(TCustomLumPanel* Chart) override { FNavigator.SetChart(Chart); }
    int PageCount() const override { return FNavigator.PageCount(); }
    void PrintPages() override { FNavigator.Print(); }

private:
    TChartPageNavigator FNavigator{nullptr};
};

} // namespace

TPreviewNavigatorClass ChartPageNavigatorClass()
{
    return [] { return std::make_unique<TPreviewChartPageNavigator>(); };
}

void ShowChartPrintPreview(QWidget* Owner, TCustomAxisPanel& Chart)
{
    auto preview = std::make_unique<TChartPreview>(Owner);
    preview->PageNavigatorClass = ChartPageNavigatorClass();
    preview->TagChart = &Chart;
    preview->LumPreviewPanel1->SetPanel(&Chart);
    try {
        preview->ShowModal();
    } catch (...) {
        preview.reset();
        Chart.Invalidate();
        throw;
    }
    preview.reset();
    Chart.Invalidate();
}

// ---- TFormLumGeneral ---------------------------------------------------------------------------------------

namespace {

QComboBox* NewChoice(std::initializer_list<const char*> Items)
{
    auto* c = new QComboBox;
    for (const char* s : Items) c->addItem(AnsiToQString(s));
    return c;
}

} // namespace

TFormLumGeneral::TFormLumGeneral(QWidget* Owner, TCustomChart& Chart)
    : TLumEditorForm(Owner), CBCursor(nullptr), BZoomPen(nullptr), FChart(Chart)
{
    resize(420, 240);
    SetTag(&Chart);

    // The left column: cursor, print preview, margins.
    auto* left = new QWidget;
    CBCursor.SetStyle(csDropDownList);
    CBCursor.SetParentWidget(left);
    BPrint = new QPushButton("Print &Preview...");
    GBMargins = new QGroupBox("Margins (%)");
    SETopMa = NewUpDown(0, 100, 5);
    SELeftMa = NewUpDown(0, 100, 5);
    SEBotMa = NewUpDown(0, 100, 5);
    SERightMa = NewUpDown(0, 100, 5);
    CBMarUnits = NewChoice({"Percent", "Pixels"});
    auto* margins = new QGridLayout(GBMargins);
    margins->addWidget(SETopMa, 0, 1);
    margins->addWidget(SELeftMa, 1, 0);
    margins->addWidget(SERightMa, 1, 2);
    margins->addWidget(SEBotMa, 2, 1);
    margins->addWidget(NewLabel("&Units:", CBMarUnits), 3, 0);
    margins->addWidget(CBMarUnits, 3, 1, 1, 2);
    auto* leftLayout = new QGridLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(NewLabel("&Cursor:", CBCursor.Widget()), 0, 0);
    leftLayout->addWidget(CBCursor.Widget(), 0, 1);
    leftLayout->addWidget(BPrint, 1, 0, 1, 2);
    leftLayout->addWidget(GBMargins, 2, 0, 1, 2);
    leftLayout->setRowStretch(3, 1);

    // The right side: zoom and scroll.
    PageControl1 = new QTabWidget;
    ShowTabsWhole(*PageControl1);
    TabZoom = new QWidget;
    TabScroll = new QWidget;
    PageControl1->addTab(TabZoom, "Zoom");
    PageControl1->addTab(TabScroll, "Scroll");
    CBAllowZoom = NewCheckBox("&Allow");
    CBAnimatedZoom = NewCheckBox("An&imated");
    SEAniZoomSteps = NewUpDown(0, 100);
    BZoomPen.SetCaption("P&en...");
    BZoomPen.SetParentWidget(TabZoom);
    BZoomColor = new QPushButton("P&attern...");
    EMinPix = NewUpDown(0, 100);
    CBDir = NewChoice({"Horizontal", "Vertical", "Both"});
    CBZoomMouse = NewChoice({"Left", "Right", "Middle"});
    CBUpLeft = NewCheckBox("Zoom on &Up Left drag");
    auto* zoom = new QGridLayout(TabZoom);
    zoom->addWidget(CBAllowZoom, 0, 0);
    zoom->addWidget(CBAnimatedZoom, 1, 0);
    zoom->addWidget(NewLabel("&Steps:", SEAniZoomSteps), 1, 1);
    zoom->addWidget(SEAniZoomSteps, 1, 2);
    zoom->addWidget(BZoomPen.Widget(), 2, 0);
    zoom->addWidget(BZoomColor, 3, 0);
    zoom->addWidget(NewLabel("&Minimum pixels:", EMinPix), 2, 1);
    zoom->addWidget(EMinPix, 2, 2);
    zoom->addWidget(NewLabel("&Direction:", CBDir), 3, 1);
    zoom->addWidget(CBDir, 3, 2);
    zoom->addWidget(NewLabel("M&ouse Button:", CBZoomMouse), 4, 1);
    zoom->addWidget(CBZoomMouse, 4, 2);
    zoom->addWidget(CBUpLeft, 5, 0, 1, 3);
    zoom->setRowStretch(6, 1);

    RGPanning = new QGroupBox("Allow Scroll:");
    auto* modes = new QVBoxLayout(RGPanning);
    int i = 0;
    for (const char* caption : {"&None", "&Horizontal", "&Vertical", "&Both"}) {
        PanningModes[i] = new QRadioButton(AnsiToQString(caption));
        modes->addWidget(PanningModes[i++]);
    }
    CBScrollMouse = NewChoice({"Left", "Right", "Middle"});
    auto* scroll = new QGridLayout(TabScroll);
    scroll->addWidget(RGPanning, 0, 0, 3, 1);
    scroll->addWidget(NewLabel("&Mouse Button:", CBScrollMouse), 0, 1);
    scroll->addWidget(CBScrollMouse, 1, 1);
    scroll->setRowStretch(3, 1);

    auto* form = new QHBoxLayout(this);
    form->setContentsMargins(4, 4, 4, 4);
    form->addWidget(left);
    form->addWidget(PageControl1, 1);

    // Writes.
    CBCursor.OnChange = [this](TPersistent*) {
        const TCursor c = LookupCursorByName(FChart.Cursor(), CBCursor.Text());
        FChart.SetCursor(c);
        FChart.SetSavedCursor(c);
    };
    ConnectGuarded(BPrint, &QPushButton::clicked, this, [this](bool) { ShowChartPrintPreview(nullptr, FChart); });
    for (int m = 0; m < 4; ++m) {
        QSpinBox* edit = MarginEdit(m);
        ConnectGuarded(edit, &QSpinBox::valueChanged, this, [this, m, edit](int) { MarginChanged(m, edit); });
    }
    ConnectGuarded(CBMarUnits, &QComboBox::activated, this, [this](int i) {
        FChart.SetMarginUnits(i == 0 ? muPercent : muPixels);
        SetMarginRanges();
    });
    ConnectGuarded(CBAllowZoom, &QCheckBox::clicked, this, [this](bool v) {
        FChart.Zoom().SetAllow(v);
        EnableZoomControls();
    });
    ConnectGuarded(CBAnimatedZoom, &QCheckBox::clicked, this, [this](bool v) { FChart.Zoom().SetAnimated(v); });
    ConnectGuarded(SEAniZoomSteps, &QSpinBox::valueChanged, this, [this](int v) {
        if (isVisible() && !FChanging) FChart.Zoom().SetAnimatedSteps(v);
    });
    ConnectGuarded(BZoomColor, &QPushButton::clicked, this, [this](bool) { ShowBrushEditorModal(nullptr, FChart.Zoom().Brush()); });
    ConnectGuarded(EMinPix, &QSpinBox::valueChanged, this, [this](int v) {
        if (isVisible() && !FChanging) FChart.Zoom().SetMinimumPixels(v);
    });
    ConnectGuarded(CBDir, &QComboBox::activated, this, [this](int i) { FChart.Zoom().SetDirection(static_cast<TLumZoomDirection>(i)); });
    ConnectGuarded(CBZoomMouse, &QComboBox::activated, this, [this](int i) { FChart.Zoom().SetMouseButton(static_cast<TMouseButton>(i)); });
    ConnectGuarded(CBUpLeft, &QCheckBox::clicked, this, [this](bool v) { FChart.Zoom().SetUpLeftZooms(v); });
    for (std::size_t m = 0; m < PanningModes.size(); ++m)
        ConnectGuarded(PanningModes[m], &QRadioButton::clicked, this, [this, m](bool) {
            FChart.SetAllowPanning(static_cast<TPanningMode>(m));
            CBScrollMouse->setEnabled(m != pmNone);
        });
    ConnectGuarded(CBScrollMouse, &QComboBox::activated, this, [this](int i) { FChart.SetScrollMouseButton(static_cast<TMouseButton>(i)); });
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumGeneral::~TFormLumGeneral() = default;

std::unique_ptr<TFormLumGeneral> TFormLumGeneral::CreateForChart(QWidget* Owner, TCustomChart& Chart)
{
    auto form = std::make_unique<TFormLumGeneral>(Owner, Chart);
    form->PageControl1->setCurrentWidget(form->TabZoom);
    return form;
}

QSpinBox* TFormLumGeneral::MarginEdit(int Index) const
{
    const std::array<QSpinBox*, 4> edits{SELeftMa, SETopMa, SERightMa, SEBotMa};
    return edits[static_cast<std::size_t>(Index)];
}

void TFormLumGeneral::SetMarginRanges()
{
    const bool percent = FChart.MarginUnits() == muPercent;
    const bool was = FChanging;
    FChanging = true;
    for (int m = 0; m < 4; ++m) {
        MarginEdit(m)->setRange(percent ? 0 : -2000, percent ? 100 : 2000);
        MarginEdit(m)->setValue(FChart.Margin(m));
    }
    FChanging = was;
}

void TFormLumGeneral::MarginChanged(int Index, QSpinBox* Edit)
{
    if (FChanging || !isVisible()) return;
    const int value = Edit->value();
    const int opposite = FChart.Margin((Index + 2) % 4);
    if (FChart.MarginUnits() == muPercent && value + opposite >= 100) {
        FChanging = true;
        Edit->setValue(FChart.Margin(Index));
        FChanging = false;
        return;
    }
    FChart.SetMargin(Index, value);
}

void TFormLumGeneral::EnableZoomControls()
{
    const bool allow = FChart.Zoom().Allow();
    for (QWidget* w : {static_cast<QWidget*>(CBAnimatedZoom), static_cast<QWidget*>(SEAniZoomSteps),
                       BZoomPen.Widget(), static_cast<QWidget*>(BZoomColor), static_cast<QWidget*>(EMinPix),
                       static_cast<QWidget*>(CBDir), static_cast<QWidget*>(CBZoomMouse),
                       static_cast<QWidget*>(CBUpLeft)})
        w->setEnabled(allow);
    // The labels of the edits and lists follow their controls.
    for (QWidget* w : TabZoom->findChildren<QWidget*>())
        if (auto* l = qobject_cast<QLabel*>(w)) l->setEnabled(allow);
}

void TFormLumGeneral::FormShow()
{
    FChanging = true;
    FillCursorCombo(CBCursor, FChart.Cursor());
    CBMarUnits->setCurrentIndex(FChart.MarginUnits() == muPercent ? 0 : 1);
    SetMarginRanges();
    TLumZoom& z = FChart.Zoom();
    CBAllowZoom->setChecked(z.Allow());
    CBAnimatedZoom->setChecked(z.Animated());
    SEAniZoomSteps->setValue(z.AnimatedSteps());
    BZoomPen.LinkPen(&z.Pen());
    EMinPix->setValue(z.MinimumPixels());
    CBDir->setCurrentIndex(z.Direction());
    CBZoomMouse->setCurrentIndex(z.MouseButton());
    CBUpLeft->setChecked(z.UpLeftZooms());
    PanningModes[FChart.AllowPanning()]->setChecked(true);
    CBScrollMouse->setCurrentIndex(FChart.ScrollMouseButton());
    CBScrollMouse->setEnabled(FChart.AllowPanning() != pmNone);
    EnableZoomControls();
    FChanging = false;
    TranslateFormControls(this);
}
