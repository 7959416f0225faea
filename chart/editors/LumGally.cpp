// The tabbed gallery dialog, the choice of gallery dialog, and the gallery operations of the series list
// box with their installation.
#include "chart/editors/LumGally.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartRegistry.h"
#include "chart/editors/LumEditorForms.h"
#include "chart/editors/LumGalleryAlternate.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/editors/LumLisB.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

TLumGallery::TLumGallery(QWidget* Owner)
    : TForm(Owner), TabTypes(new QTabBar), TabPages(new QTabBar), CB3D(NewCheckBox("&3D")),
      CBSmooth(NewCheckBox("&Smooth")), BOk(new QPushButton("OK")), BCancel(new QPushButton("Cancel")),
      FPanel(std::make_unique<TChartGalleryPanel>(nullptr))
{
    SetCaption("Lumigram Gallery");
    resize(417, 355);
    ChartGalleryPanel1 = FPanel.get();
    TabTypes->addTab("Series");
    TabTypes->addTab("Functions");
    for (QTabBar* bar : {TabTypes, TabPages}) {
        bar->setExpanding(false);
        bar->setDrawBase(true);
    }
    CB3D->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabTypes);
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(6, 0, 0, 0);
    inner->addWidget(TabPages);
    ChartGalleryPanel1->SetParentWidget(this);
    ChartGalleryPanel1->Widget()->setMinimumSize(200, 150);
    inner->addWidget(ChartGalleryPanel1->Widget(), 1);
    layout->addLayout(inner, 1);
    auto* p1 = new QHBoxLayout;
    p1->addWidget(CB3D);
    p1->addWidget(CBSmooth);
    p1->addStretch(1);
    p1->addWidget(BOk);
    p1->addWidget(BCancel);
    layout->addLayout(p1);
    BOk->setDefault(true);
    SetButtonModalResult(BOk, mrOk);
    SetButtonModalResult(BCancel, mrCancel);
    ConnectGuarded(TabTypes, &QTabBar::currentChanged, this, [this](int) { TabTypesChange(); });
    ConnectGuarded(TabPages, &QTabBar::currentChanged, this, [this](int) { TabPagesChange(); });
    ConnectGuarded(CB3D, &QCheckBox::clicked, this, [this](bool) { ChartGalleryPanel1->SetView3D(CB3D->isChecked()); });
    ConnectGuarded(CBSmooth, &QCheckBox::clicked, this, [this](bool) {
        ChartGalleryPanel1->SetSmooth(CBSmooth->isChecked());
        WriteEditorOptionBool("SmoothGallery", ChartGalleryPanel1->Smooth());
    });
    ChartGalleryPanel1->OnSelectedChart = [this](TPersistent*) { SetModalResult(mrOk); };
    OnShow = [this](TForm*) { FormShow(); };
}

TLumGallery::~TLumGallery()
{
    // The miniatures go before the widgets they stand on.
    FPanel.reset();
}

void TLumGallery::Prepare(TChartSeries* ReferenceSeries, bool Adding, bool DisableRefused, bool View3D)
{
    CB3D->setChecked(View3D);
    ChartGalleryPanel1->ReferenceSeries = ReferenceSeries;
    if (!Adding) {
        const QSignalBlocker block(TabTypes);
        TabTypes->removeTab(1);
        ChartGalleryPanel1->ShowsFunctions = false;
    }
    ChartGalleryPanel1->DisableRefused = DisableRefused;
}

void TLumGallery::FormShow()
{
    CBSmooth->setChecked(ChartGalleryPanel1->Smooth());
    {
        const QSignalBlocker block(TabTypes);
        TabTypes->setCurrentIndex(0);
    }
    TabTypesChange();
    TranslateFormControls(this);
}

void TLumGallery::TabTypesChange()
{
    const bool functions = TabTypes->currentIndex() == 1;
    const QSignalBlocker block(TabPages);
    while (TabPages->count() > 0) TabPages->removeTab(0);
    std::vector<std::string> pages;
    if (TLumSeriesTypes* types = LumSeriesTypes())
        for (int i = 0; i < types->Count(); ++i) {
            const TLumSeriesType& e = types->GetSeriesType(i);
            if (e.GallerySeriesCount <= 0 || (e.FunctionClassRef != nullptr) != functions) continue;
            if (std::find(pages.begin(), pages.end(), e.Page) == pages.end()) pages.push_back(e.Page);
        }
    // "Standard" leads; the page that led takes its place.
    const auto standard = std::find(pages.begin(), pages.end(), std::string("Standard"));
    if (standard != pages.end() && standard != pages.begin()) std::iter_swap(pages.begin(), standard);
    for (const std::string& page : pages) TabPages->addTab(AnsiToQString(page));
    TabPages->setCurrentIndex(pages.empty() ? -1 : 0);
    TabPagesChange();
}

void TLumGallery::TabPagesChange()
{
    TChartGalleryPanel& panel = *ChartGalleryPanel1;
    panel.ShowsFunctions = TabTypes->currentIndex() == 1;
    panel.SetView3D(CB3D->isChecked());
    if (TabPages->currentIndex() < 0)
        panel.ClearMiniatures();
    else
        panel.FillPage(QStringToAnsi(TabPages->tabText(TabPages->currentIndex())));
}

namespace {

// The results of a gallery closed with OK: the focused miniature's type, and 3-D only when asked for
// and the kind's miniature stayed 3-D.
bool ReadChoice(TChartGalleryPanel& Panel, const QCheckBox& CB3D, bool& View3D, const TClassInfo*& SeriesClass,
                const TClassInfo*& FunctionClass, int& Style)
{
    if (!Panel.ChosenType(SeriesClass, FunctionClass, Style)) return false;
    View3D = CB3D.isChecked() && Panel.FocusedMiniature()->View3D();
    return true;
}

void PlaceGallery(TForm& Form, QWidget* Owner)
{
    const QRect area = Owner ? Owner->window()->frameGeometry() : QRect();
    if (area.isValid()) Form.move(area.center() - QPoint(Form.width() / 2, Form.height() / 2));
}

} // namespace

bool RunGalleryDialog(QWidget* Owner, TChartSeries* ReferenceSeries, bool Adding, bool DisableRefused, bool& View3D,
                      const TClassInfo*& SeriesClass, const TClassInfo*& FunctionClass, int& Style)
{
    if (ReadEditorOptionInteger("GalleryMode", 0) != 0) {
        TLumGalleryForm form(Owner);
        PlaceGallery(form, Owner);
        form.CB3D->setChecked(View3D);
        TranslateFormControls(&form);
        if (form.ShowModal() != mrOk) return false;
        return ReadChoice(*form.ChartGalleryPanel1, *form.CB3D, View3D, SeriesClass, FunctionClass, Style);
    }
    TLumGallery form(Owner);
    PlaceGallery(form, Owner);
    form.Prepare(ReferenceSeries, Adding, DisableRefused, View3D);
    if (form.ShowModal() != mrOk) return false;
    return ReadChoice(*form.ChartGalleryPanel1, *form.CB3D, View3D, SeriesClass, FunctionClass, Style);
}

TChartSeries* CreateSeriesFromGallery(QWidget* Owner, TChartSeries* Series, TCustomAxisPanel* Chart, bool Adding,
                                      bool DisableRefused, int& Style)
{
    if (!Chart) return nullptr;
    bool view3D = Chart->View3D();
    const TClassInfo* seriesClass = nullptr;
    const TClassInfo* functionClass = nullptr;
    Style = -1;
    if (!RunGalleryDialog(Owner, Series, Adding, DisableRefused, view3D, seriesClass, functionClass, Style))
        return nullptr;
    Chart->SetView3D(view3D);
    TChartSeries* made = NewSeriesOfClass(Series ? Series->Owner() : Chart->Owner(), Chart, *seriesClass, functionClass);
    if (made && Style != -1) made->ApplyGalleryStyle(made, Style);
    return made;
}

TChartSeries* GalleryAddSeries(TWinControl* Owner, TCustomAxisPanel* Chart, TChartSeries* Selected)
{
    if (!Chart) return nullptr;
    int style = -1;
    return CreateSeriesFromGallery(ControlWidget(Owner), Selected, Chart, true, false, style);
}

const TClassInfo* GalleryChangeSeriesType(TWinControl* Owner, TChartSeries*& Series)
{
    int style = -1;
    TChartSeries* made = CreateSeriesFromGallery(ControlWidget(Owner), Series, Series->ParentChart(), false, true, style);
    if (made) {
        ReplaceSeriesObject(Series, made);
        Series = made;
        if (style != -1) made->ApplyGalleryStyle(made, style);
    }
    return &Series->ClassInfo();
}

void GalleryInitialization()
{
    SeriesLibraryInitialization();
    TChartListBoxModule& module = ChartListBoxModule();
    module.GalleryAddSeriesHook = &GalleryAddSeries;
    module.GalleryChangeTypeHook = &GalleryChangeSeriesType;
}

void GalleryFinalization()
{
    TChartListBoxModule& module = ChartListBoxModule();
    module.GalleryAddSeriesHook = nullptr;
    module.GalleryChangeTypeHook = nullptr;
    SeriesLibraryFinalization();
}
