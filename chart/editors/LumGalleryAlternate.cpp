// The list-style gallery: its pages, the type list on a hidden chart, and the chosen type's sub-styles.
#include "chart/editors/LumGalleryAlternate.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/editors/LumEditorForms.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/editors/LumLisB.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/ControlWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

// The form hears every key first and hands it to the gallery panel.
class TGalleryKeys : public QObject {
public:
    explicit TGalleryKeys(TChartGalleryPanel& Panel) : FPanel(Panel) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress) return false;
        std::uint16_t key = VirtualKeyOf(static_cast<QKeyEvent&>(*e));
        if (key == VK_RETURN || key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT) {
            Application->Guarded([&] { FPanel.KeyDown(key, ShiftStateOf(static_cast<QKeyEvent&>(*e).modifiers(), {})); });
        }
        return false;
    }

private:
    TChartGalleryPanel& FPanel;
};

} // namespace

TLumGalleryForm::TLumGalleryForm(QWidget* Owner)
    : TForm(Owner), CBPage(new QComboBox), CB3D(NewCheckBox("&3D")), CBSmooth(NewCheckBox("&Smooth")),
      BOK(new QPushButton("OK")), BCancel(new QPushButton("Cancel")), FHiddenChart(std::make_unique<TChart>(nullptr))
{
    SetCaption("Lumigram Pro Gallery");
    resize(470, 287);
    FList = std::make_unique<TChartListBox>(nullptr);
    FPanel = std::make_unique<TChartGalleryPanel>(nullptr);
    ChartListBox1 = FList.get();
    ChartGalleryPanel1 = FPanel.get();
    ChartListBox1->AllowAddSeries = false;
    ChartListBox1->AllowDeleteSeries = false;
    ChartListBox1->EnableDragSeries = false;
    ChartListBox1->EnableChangeType = false;
    ChartListBox1->SetShowActiveCheck(false);
    ChartListBox1->SetShowSeriesColor(false);
    ChartListBox1->SetMultiSelect(false);
    ChartListBox1->SetItemHeight(24);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(NewLabel("&Gallery:", CBPage));
    top->addWidget(CBPage, 1);
    top->addWidget(CB3D);
    top->addWidget(CBSmooth);
    layout->addLayout(top);
    auto* splitter = new QSplitter(Qt::Horizontal);
    ChartListBox1->SetParentWidget(splitter);
    ChartGalleryPanel1->SetParentWidget(splitter);
    splitter->addWidget(ChartListBox1->Widget());
    splitter->addWidget(ChartGalleryPanel1->Widget());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 290});
    layout->addWidget(splitter, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BOK);
    bottom->addWidget(BCancel);
    layout->addLayout(bottom);
    BOK->setDefault(true);
    SetButtonModalResult(BOK, mrOk);
    SetButtonModalResult(BCancel, mrCancel);
    CB3D->setChecked(true);

    ChartListBox1->SetChart(FHiddenChart.get());
    ChartListBox1->SetSorted(true);
    std::vector<std::string> pages;
    if (TLumSeriesTypes* types = LumSeriesTypes())
        for (int i = 0; i < types->Count(); ++i) {
            const TLumSeriesType& e = types->GetSeriesType(i);
            if (!e.FunctionClassRef && std::find(pages.begin(), pages.end(), e.Page) == pages.end()) pages.push_back(e.Page);
        }
    std::sort(pages.begin(), pages.end());
    CBPage->addItem("(all)");
    for (const std::string& page : pages) CBPage->addItem(AnsiToQString(page));
    const int standard = CBPage->findText("Standard");
    CBPage->setCurrentIndex(standard >= 0 ? standard : 0);
    CBSmooth->setChecked(ReadEditorOptionBool("SmoothGallery", false));

    ConnectGuarded(CBPage, &QComboBox::activated, this, [this](int) { CBPageChange(); });
    ConnectGuarded(CB3D, &QCheckBox::clicked, this, [this](bool) { ChartGalleryPanel1->SetView3D(CB3D->isChecked()); });
    ConnectGuarded(CBSmooth, &QCheckBox::clicked, this, [this](bool) { ChartGalleryPanel1->SetSmooth(CBSmooth->isChecked()); });
    ChartListBox1->OnRefresh = [this](TPersistent*) { ChartListBox1Click(); };
    ChartGalleryPanel1->OnSelectedChart = [this](TPersistent*) { SetModalResult(mrOk); };
    installEventFilter(new TGalleryKeys(*ChartGalleryPanel1));
    OnShow = [this](TForm*) { CBPageChange(); };
}

// The list and the panel go before the chart and before the widgets they stand on.
TLumGalleryForm::~TLumGalleryForm() = default;

void TLumGalleryForm::CBPageChange()
{
    const std::string page = CBPage->currentIndex() <= 0 ? std::string() : QStringToAnsi(CBPage->currentText());
    TChart& chart = *FHiddenChart;
    chart.FreeSeriesOfClass("");
    if (TLumSeriesTypes* types = LumSeriesTypes())
        for (int i = 0; i < types->Count(); ++i) {
            const TLumSeriesType& e = types->GetSeriesType(i);
            if (e.FunctionClassRef || !e.SeriesClassRef || (!page.empty() && e.Page != page)) continue;
            TChartSeries* s = chart.CreateSeriesFromClass(*e.SeriesClassRef);
            if (!s) continue;
            const TLumSeriesType* own = types->FindSeriesType(*e.SeriesClassRef);
            std::string title = own ? own->Caption : e.Caption;
            std::replace(title.begin(), title.end(), '\r', ' ');
            s->SetTitle(title);
        }
    // The titles came after the rows: the alphabetical order is the titles'.
    ChartListBox1->Refill(nullptr);
    ChartListBox1Click();
}

void TLumGalleryForm::ChartListBox1Click()
{
    TChartSeries* s = ChartListBox1->FocusedSeries();
    if (!s || &s->ClassInfo() == FShownClass) return;
    TChartGalleryPanel& panel = *ChartGalleryPanel1;
    panel.SetNumRows(3);
    panel.SetDisplaySub(false);
    panel.ClearMiniatures();
    TChartGalleryPanel::FillSubStyles(panel, s->ClassInfo());
    panel.ShowFocus();
    FShownClass = &s->ClassInfo();
}
