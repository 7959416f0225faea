// The series editor host: the editor lookup, embedding pages, the chooser, the "General" and "Marks"
// tabs with their writes, and following the chart's series events.
#include "chart/editors/LumEdiSeri.h"

#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/editors/LumCustomShapeEditor.h"
#include "chart/editors/LumFormatting.h"
#include "chart/editors/LumPoEdi.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineMarksSymbol.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEnginePointer.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineValues.h"
#include "platform/controls/AnsiText.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/StringList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

// The chooser's colour box: the series' legend symbol over its colour; a click edits the series colour.
class TSeriesColorBox : public TCustomControl {
public:
    explicit TSeriesColorBox(TFormLumSeries& Host) : TCustomControl(nullptr), FHost(Host)
    {
        SetCursor(crHandPoint);
    }

protected:
    void Paint() override
    {
        TCanvas& c = Canvas();
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(ClientRect());
        TChartSeries* series = FHost.EditedSeries;
        if (!series) return;
        TRect r = ClientRect();
        r.Top += 4;
        r.Bottom -= 4;
        PaintSeriesLegendSymbol(*series, c, r, dynamic_cast<TCustomChart*>(series->ParentChart()));
    }

private:
    TFormLumSeries& FHost;
};

namespace {

const std::vector<std::string> MarkStyleCaptions = {
    "Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend", "Percent Total",
    "Label and Percent Total", "X value", "X and Y values"};

constexpr int StandardAxisCount = 6;

QComboBox* NewCombo(bool Editable)
{
    auto* c = new QComboBox;
    c->setEditable(Editable);
    return c;
}

void SetComboItems(QComboBox& Combo, const std::vector<std::string>& Items)
{
    Combo.clear();
    for (const std::string& s : Items) Combo.addItem(AnsiToQString(s));
}

void ShowFormatInCombo(QComboBox& Combo, const std::string& StoredFormat)
{
    const QString shown = AnsiToQString(LocalizeNumberFormat(StoredFormat));
    if (Combo.findText(shown) < 0) Combo.addItem(shown);
    Combo.setCurrentText(shown);
}

int TabIndexOf(const QTabWidget& Tabs, const QWidget* Page) { return Tabs.indexOf(const_cast<QWidget*>(Page)); }

} // namespace

TFormFactory FindEditorClass(const TCustomChartElement& Element)
{
    const std::string name = EditorNameOfClass(Element);
    if (name.empty()) return {};
    return FindFormClass(name);
}

TFormLumSeries* SeriesHostOf(QWidget* Control)
{
    for (QWidget* w = Control; w; w = w->parentWidget())
        if (auto* host = dynamic_cast<TFormLumSeries*>(w)) return host;
    return nullptr;
}

// ---- Construction -----------------------------------------------------------------------------------------

TFormLumSeries::TFormLumSeries(QWidget* Owner)
    : TForm(Owner), CBCursor(nullptr), BMarkLinCol(nullptr)
{
    PageSeries = new QTabWidget;
    ShowTabsWhole(*PageSeries);
    TheTabSheet = new QWidget;
    TabGeneral = new QWidget;
    TabMarks = new QWidget;
    TabDataSource = new QWidget;
    PageSeries->addTab(TheTabSheet, "Format");
    PageSeries->addTab(TabGeneral, "General");
    PageSeries->addTab(TabMarks, "Marks");
    PageSeries->addTab(TabDataSource, "Data Source");
    BuildChooser();
    BuildGeneral();
    BuildMarks();

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(Panel1);
    form->addWidget(Panel3);
    form->addWidget(PageSeries, 1);

    ConnectGuarded(PageSeries, &QTabWidget::currentChanged, this, [this](int) {
        FPageChanging = true;
        PageChanged();
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumSeries::~TFormLumSeries()
{
    FDestroying = true;
    if (FListenedChart) FListenedChart->Listeners().Remove(this);
    delete PaintBox1;
}

void TFormLumSeries::BuildChooser()
{
    Panel1 = new QWidget;
    ImageSeries = new QLabel;
    ImageSeries->setFixedSize(24, 24);
    PaintBox1 = new TSeriesColorBox(*this);
    PaintBox1->SetBounds(0, 0, 24, 24);
    PaintBox1->OnClick = [this](TPersistent*) { EditSeriesColor(); };
    LabelSeriesClass = new QLabel;
    CBSeries = new QComboBox;
    CBSeries->setMinimumWidth(140);
    auto* strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(4, 4, 4, 0);
    strip->addWidget(CBSeries);
    strip->addWidget(ImageSeries);
    PaintBox1->SetParentWidget(Panel1);
    strip->addWidget(PaintBox1->Widget());
    strip->addWidget(LabelSeriesClass, 1);
    ConnectGuarded(CBSeries, &QComboBox::currentIndexChanged, this, [this](int) { SeriesChosen(); });

    Panel3 = new QWidget;
    CBPersistent = NewCheckBox("Persistent");
    auto* persistent = new QHBoxLayout(Panel3);
    persistent->setContentsMargins(4, 0, 4, 0);
    persistent->addStretch(1);
    persistent->addWidget(CBPersistent);
    CBPersistent->hide();
    ConnectGuarded(CBPersistent, &QCheckBox::clicked, this, [this](bool checked) {
        if (!EditedSeries) return;
        const std::uint8_t flags = EditedSeries->EditorFlags();
        EditedSeries->SetEditorFlags(checked ? (flags | 0x10) : (flags & ~0x10));
    });
}

void TFormLumSeries::BuildGeneral()
{
    CBShowInLegend = NewCheckBox("&Show In Legend");
    CBShowInLegend->setChecked(true);
    CBCursor.SetStyle(csDropDownList);
    CBCursor.SetWidth(120);
    CBCursor.SetParentWidget(TabGeneral);
    LCursor = NewLabel("&Cursor:", CBCursor.Widget());
    UDDepth = NewUpDown(0, 1200);
    LDepth = NewLabel("&Depth:", UDDepth);
    CBDepth = NewCheckBox("Auto");
    CBFormat = NewCombo(true);
    LFormat = NewLabel("&Values:", CBFormat);
    BFormat = new QPushButton("...");
    EPercentFormat = NewCombo(true);
    LPercentFormat = NewLabel("&Percents:", EPercentFormat);
    BPercentFormat = new QPushButton("...");
    for (QPushButton* b : {BFormat, BPercentFormat}) b->setFixedWidth(28);
    GBHorizAxis = new QGroupBox("Horizontal Axis:");
    CBHorizAxis = NewCombo(false);
    CBXDateTime = NewCheckBox("Dat&eTime");
    auto* h = new QVBoxLayout(GBHorizAxis);
    h->addWidget(CBHorizAxis);
    h->addWidget(CBXDateTime);
    GBVertAxis = new QGroupBox("Vertical Axis:");
    CBVertAxis = NewCombo(false);
    CBYDateTime = NewCheckBox("D&ateTime");
    auto* v = new QVBoxLayout(GBVertAxis);
    v->addWidget(CBVertAxis);
    v->addWidget(CBYDateTime);
    CBZDateTime = NewCheckBox("&Z DateTime");
    CBSort = NewCombo(false);
    SetComboItems(*CBSort, {"Ascending", "Descending", "None"});
    LSort = NewLabel("S&ort:", CBSort);

    auto* grid = new QGridLayout(TabGeneral);
    grid->addWidget(CBShowInLegend, 0, 0, 1, 2);
    grid->addWidget(LCursor, 1, 0);
    grid->addWidget(CBCursor.Widget(), 1, 1);
    grid->addWidget(LDepth, 2, 0);
    auto* depth = new QHBoxLayout;
    depth->addWidget(UDDepth);
    depth->addWidget(CBDepth);
    grid->addLayout(depth, 2, 1);
    grid->addWidget(LSort, 3, 0);
    grid->addWidget(CBSort, 3, 1);
    grid->addWidget(LFormat, 4, 0);
    auto* format = new QHBoxLayout;
    format->addWidget(CBFormat, 1);
    format->addWidget(BFormat);
    grid->addLayout(format, 4, 1);
    grid->addWidget(LPercentFormat, 5, 0);
    auto* percent = new QHBoxLayout;
    percent->addWidget(EPercentFormat, 1);
    percent->addWidget(BPercentFormat);
    grid->addLayout(percent, 5, 1);
    grid->addWidget(GBHorizAxis, 0, 2, 3, 1);
    grid->addWidget(GBVertAxis, 3, 2, 3, 1);
    grid->addWidget(CBZDateTime, 6, 2);
    grid->setRowStretch(7, 1);

    ConnectGuarded(CBShowInLegend, &QCheckBox::clicked, this, [this](bool checked) {
        if (EditedSeries) EditedSeries->SetShowInLegend(checked);
    });
    CBCursor.OnChange = [this](TPersistent*) {
        if (EditedSeries) EditedSeries->SetCursor(LookupCursorByName(EditedSeries->Cursor(), CBCursor.Text()));
    };
    ConnectGuarded(UDDepth, &QSpinBox::valueChanged, this, [this](int value) {
        if (!Guarded()) return;
        EditedSeries->SetDepth(value);
        CBDepth->setChecked(false);
    });
    ConnectGuarded(CBDepth, &QCheckBox::clicked, this, [this](bool checked) {
        if (Guarded()) EditedSeries->SetDepth(checked ? -1 : UDDepth->value());
    });
    ConnectGuarded(CBFormat, &QComboBox::currentTextChanged, this, [this](const QString&) { WriteFormat(*CBFormat, false); });
    ConnectGuarded(EPercentFormat, &QComboBox::currentTextChanged, this,
                   [this](const QString&) { WriteFormat(*EPercentFormat, true); });
    ConnectGuarded(BFormat, &QPushButton::clicked, this, [this](bool) { FormatButton(*CBFormat, false); });
    ConnectGuarded(BPercentFormat, &QPushButton::clicked, this, [this](bool) { FormatButton(*EPercentFormat, true); });
    ConnectGuarded(CBHorizAxis, &QComboBox::activated, this, [this](int) { WriteAxisChoice(*CBHorizAxis, true); });
    ConnectGuarded(CBVertAxis, &QComboBox::activated, this, [this](int) { WriteAxisChoice(*CBVertAxis, false); });
    ConnectGuarded(CBXDateTime, &QCheckBox::clicked, this, [this](bool checked) {
        if (EditedSeries) EditedSeries->XValues().SetDateTime(checked);
    });
    ConnectGuarded(CBYDateTime, &QCheckBox::clicked, this, [this](bool checked) {
        if (EditedSeries) EditedSeries->YValues().SetDateTime(checked);
    });
    ConnectGuarded(CBZDateTime, &QCheckBox::clicked, this, [this](bool checked) {
        TCustomAxisPanel* chart = EditedSeries ? EditedSeries->ParentChart() : nullptr;
        if (!chart) return;
        TChartValueList* z = EditedSeries->ValuesForAxis(&chart->DepthAxis());
        if (!z) z = EditedSeries->ValuesForAxis(&chart->DepthTopAxis());
        if (z) z->SetDateTime(checked);
    });
    ConnectGuarded(CBSort, &QComboBox::activated, this, [this](int) { SortChosen(); });
}

void TFormLumSeries::BuildMarks()
{
    PageControlMarks = new QTabWidget;
    ShowTabsWhole(*PageControlMarks);
    TabStyle = new QWidget;
    TabArrows = new QWidget;
    TabSymbol = new QWidget;
    PageControlMarks->addTab(TabStyle, "Style");
    PageControlMarks->addTab(TabArrows, "Arrows");
    PageControlMarks->addTab(TabSymbol, "Symbol");
    auto* marks = new QVBoxLayout(TabMarks);
    marks->setContentsMargins(2, 2, 2, 2);
    marks->addWidget(PageControlMarks);

    CBMarksVisible = NewCheckBox("&Visible");
    CBAllVisible = NewCheckBox("All Series Visi&ble");
    RGMarkStyle = new QGroupBox(AnsiToQString("&Style:"));
    auto* styles = new QGridLayout(RGMarkStyle);
    styles->setVerticalSpacing(0);
    for (std::size_t i = 0; i < MarkStyleCaptions.size(); ++i) {
        auto* r = new QRadioButton(AnsiToQString(MarkStyleCaptions[i]));
        MarkStyleButtons.push_back(r);
        styles->addWidget(r, static_cast<int>(i % 5), static_cast<int>(i / 5));
        ConnectGuarded(r, &QRadioButton::clicked, this, [this, i](bool) {
            if (!EditedSeries) return;
            EditedSeries->Marks().SetStyle(static_cast<TSeriesMarksStyle>(i));
            EnableMultiLine();
        });
    }
    CBMultiLine = NewCheckBox("&Multi line");
    UDEvery = NewUpDown(1, 5000);
    CBMarkClip = NewCheckBox("Cl&ipped");
    UDMarksAngle = NewUpDown(0, 360, 5);
    UDMarksAngle->setWrapping(true);
    auto* style = new QGridLayout(TabStyle);
    style->addWidget(CBMarksVisible, 0, 0);
    style->addWidget(CBAllVisible, 0, 1, 1, 2);
    style->addWidget(RGMarkStyle, 1, 0, 1, 4);
    style->addWidget(CBMultiLine, 2, 0);
    style->addWidget(CBMarkClip, 3, 0);
    style->addWidget(NewLabel("Draw &every:", UDEvery), 2, 1);
    style->addWidget(UDEvery, 2, 2);
    style->addWidget(NewLabel("&Angle:", UDMarksAngle), 3, 1);
    style->addWidget(UDMarksAngle, 3, 2);
    style->setColumnStretch(3, 1);
    style->setRowStretch(4, 1);

    BMarkLinCol.SetCaption("&Border...");
    BMarkLinCol.SetParentWidget(TabArrows);
    UDArrowsLength = NewUpDown(-1000, 1000);
    UDArrowDist = NewUpDown(-1000, 1000);
    BCalloutPointer = new QPushButton(AnsiToQString("&Pointer..."));
    CBHead = NewCombo(false);
    SetComboItems(*CBHead, {"None", "Line", "Solid"});
    UDHeadSize = NewUpDown(-1000, 1000);
    auto* arrows = new QGridLayout(TabArrows);
    arrows->addWidget(BMarkLinCol.Widget(), 0, 0);
    arrows->addWidget(BCalloutPointer, 1, 0);
    arrows->addWidget(NewLabel("&Length:", UDArrowsLength), 0, 1);
    arrows->addWidget(UDArrowsLength, 0, 2);
    arrows->addWidget(NewLabel("&Distance:", UDArrowDist), 1, 1);
    arrows->addWidget(UDArrowDist, 1, 2);
    arrows->addWidget(NewLabel("&Arrow head:", CBHead), 2, 1);
    arrows->addWidget(CBHead, 2, 2);
    arrows->addWidget(NewLabel("&Size:", UDHeadSize), 3, 1);
    arrows->addWidget(UDHeadSize, 3, 2);
    arrows->setColumnStretch(3, 1);
    arrows->setRowStretch(4, 1);

    ConnectGuarded(CBMarksVisible, &QCheckBox::clicked, this, [this](bool checked) {
        if (!EditedSeries) return;
        EditedSeries->Marks().SetVisible(checked);
        const bool changing = FPageChanging;
        FPageChanging = true;
        RefreshAllVisible();
        FPageChanging = changing;
    });
    ConnectGuarded(CBAllVisible, &QCheckBox::clicked, this, [this](bool checked) {
        if (!Guarded()) return;
        if (TCustomAxisPanel* chart = EditedSeries->ParentChart())
            for (int i = 0; i < chart->CountSeries(); ++i) chart->SeriesAt(i)->Marks().SetVisible(checked);
        CBMarksVisible->setChecked(checked);
    });
    ConnectGuarded(CBMultiLine, &QCheckBox::clicked, this, [this](bool checked) {
        if (EditedSeries) EditedSeries->Marks().SetMultiLine(checked);
    });
    ConnectGuarded(UDEvery, &QSpinBox::valueChanged, this, [this](int value) {
        if (Guarded()) EditedSeries->Marks().SetDrawEvery(value);
    });
    ConnectGuarded(CBMarkClip, &QCheckBox::clicked, this, [this](bool checked) {
        if (EditedSeries) EditedSeries->Marks().SetClip(checked);
    });
    ConnectGuarded(UDMarksAngle, &QSpinBox::valueChanged, this, [this](int value) {
        if (Guarded()) EditedSeries->Marks().SetAngle(value);
    });
    ConnectGuarded(UDArrowsLength, &QSpinBox::valueChanged, this, [this](int value) {
        if (Guarded()) EditedSeries->Marks().Callout().SetLength(value);
    });
    ConnectGuarded(UDArrowDist, &QSpinBox::valueChanged, this, [this](int value) {
        if (Guarded()) EditedSeries->Marks().Callout().SetDistance(value);
    });
    ConnectGuarded(BCalloutPointer, &QPushButton::clicked, this, [this](bool) {
        if (EditedSeries) ShowPointerEditorModal(this, EditedSeries->Marks().Callout());
    });
    ConnectGuarded(CBHead, &QComboBox::activated, this, [this](int index) {
        if (Guarded()) EditedSeries->Marks().Callout().SetArrowHead(static_cast<TArrowHeadStyle>(index));
    });
    ConnectGuarded(UDHeadSize, &QSpinBox::valueChanged, this, [this](int value) {
        if (Guarded()) EditedSeries->Marks().Callout().SetArrowHeadSize(value);
    });
}

// ---- Pages --------------------------------------------------------------------------------------------

TForm& TFormLumSeries::EmbedEditorPage(TForm& Form, QWidget& Page, TPersistent* Object)
{
    TranslateFormControls(&Form);
    if (auto* editor = dynamic_cast<TLumEditorForm*>(&Form)) {
        EmbedFormClient(*editor, Page, Object);
    } else {
        EmbedFormFilling(Form, Page);
    }
    return Form;
}

void TFormLumSeries::InsertPage(TForm& Form, int PageIndex, const std::string& Caption, TPersistent* Object)
{
    auto* page = new QWidget;
    PageSeries->insertTab(std::clamp(PageIndex, 0, PageSeries->count()), page, AnsiToQString(Caption));
    FAddedPages.emplace_back(page);
    EmbedEditorPage(Form, *page, Object);
}

void TFormLumSeries::CreateTypeEditor()
{
    TFormFactory factory = EditedSeries ? FindEditorClass(*EditedSeries) : TFormFactory();
    if (!factory) {
        RemoveTypeEditorPages();
        PageSeries->setTabVisible(TabIndexOf(*PageSeries, TheTabSheet), false);
        return;
    }
    TForm* form = factory(this).release();
    FTypeEditor = form;
    PageSeries->setTabVisible(TabIndexOf(*PageSeries, TheTabSheet), true);
    EmbedEditorPage(*form, *TheTabSheet, EditedSeries);
}

void TFormLumSeries::RemoveTypeEditorPages()
{
    // Removed now, freed once control is back in the event loop (a page may be the sender of the call).
    for (QObject* child : TheTabSheet->children())
        if (auto* w = qobject_cast<QWidget*>(child)) {
            w->hide();
            w->deleteLater();
        }
    FTypeEditor = nullptr;
    for (QPointer<QWidget>& page : FAddedPages) {
        if (!page) continue;
        const int index = PageSeries->indexOf(page);
        if (index > 0 && !FDestroying) {
            PageSeries->removeTab(index);
            page->hide();
            page->deleteLater();
        }
    }
    FAddedPages.clear();
}

// ---- Choosing and showing a series --------------------------------------------------------------------

void TFormLumSeries::SetSeriesChoices(const std::vector<TChartSeries*>& Series)
{
    const QSignalBlocker block(CBSeries);
    CBSeries->clear();
    for (TChartSeries* s : Series)
        CBSeries->addItem(AnsiToQString(SeriesCaption(*s)), QVariant::fromValue(static_cast<void*>(s)));
}

void TFormLumSeries::ShowCurrentSeries()
{
    int index = -1;
    for (int i = 0; i < CBSeries->count(); ++i)
        if (CBSeries->itemData(i).value<void*>() == EditedSeries) index = i;
    if (index < 0 && EditedSeries) {
        CBSeries->addItem(AnsiToQString(SeriesCaption(*EditedSeries)), QVariant::fromValue(static_cast<void*>(EditedSeries)));
        index = CBSeries->count() - 1;
    }
    const QSignalBlocker block(CBSeries);
    CBSeries->setCurrentIndex(index);
    SeriesChosen();
}

void TFormLumSeries::SeriesChosen()
{
    FFilling = true;
    const std::string caption =
        PageSeries->currentIndex() >= 0 ? QStringToAnsi(PageSeries->tabText(PageSeries->currentIndex())) : std::string();
    const int index = CBSeries->currentIndex();
    auto* series = index >= 0 ? static_cast<TChartSeries*>(CBSeries->itemData(index).value<void*>()) : nullptr;
    if (!series) {
        ImageSeries->hide();
        LabelSeriesClass->clear();
        PageSeries->hide();
    } else {
        EditedSeries = series;
        if (series != FPreviousSeries) {
            ShowSeries(caption);
            FPreviousSeries = series;
        }
    }
    FFilling = false;
}

void TFormLumSeries::ShowSeries(const std::string& Caption)
{
    TChartSeries& s = *EditedSeries;
    if (FListenedChart && FListenedChart != s.ParentChart()) FListenedChart->Listeners().Remove(this);
    FListenedChart = s.ParentChart();
    if (FListenedChart) ListAddOnce(FListenedChart->Listeners(), this);

    PaintBox1->SetVisible(s.HasSeriesColor());
    std::string description = SeriesTypeDescription(s);
    if (const auto amp = description.find('&'); amp != std::string::npos) description.insert(amp, "&");
    LabelSeriesClass->setText(AnsiToQString(description + ": " + SeriesCaption(s)));
    ImageSeries->show();
    PageSeries->show();

    PageSeries->setTabVisible(TabIndexOf(*PageSeries, TabGeneral), ShowGeneralPage);
    PageSeries->setTabVisible(TabIndexOf(*PageSeries, TabMarks), ShowMarksPage);
    // The data page comes with the data grid; until then it stays hidden.
    PageSeries->setTabVisible(TabIndexOf(*PageSeries, TabDataSource), false);
    std::string chosen = Caption;
    if (chosen.empty() || chosen == "Data Source") chosen = "Format";

    const bool axes = s.UsesAxes();
    GBHorizAxis->setVisible(axes);
    GBVertAxis->setVisible(axes);
    CBPersistent->setVisible(ShowPersistentBox && !(s.EditorFlags() & 1));
    CBPersistent->setChecked(s.EditorFlags() & 0x10);

    RemoveTypeEditorPages();
    CreateTypeEditor();

    int active = -1;
    for (int i = 0; i < PageSeries->count(); ++i)
        if (QStringToAnsi(PageSeries->tabText(i)) == chosen && PageSeries->isTabVisible(i)) active = i;
    if (active < 0) active = TabIndexOf(*PageSeries, TheTabSheet);
    if (!PageSeries->isTabVisible(active)) active = TabIndexOf(*PageSeries, TabGeneral);
    {
        const QSignalBlocker block(PageSeries);
        PageSeries->setCurrentIndex(active);
    }
    const bool filling = FFilling;
    FFilling = false;
    PageChanged();
    FFilling = filling;
    PaintBox1->Invalidate();
}

void TFormLumSeries::FormShow()
{
    FFilling = false;
    TranslateFormControls(this);
}

void TFormLumSeries::PageChanged()
{
    QWidget* page = PageSeries->currentWidget();
    if (page == TabGeneral)
        FillGeneral();
    else if (page == TabMarks)
        FillMarks();
    FPageChanging = false;
}

// ---- General ------------------------------------------------------------------------------------------

void TFormLumSeries::FillGeneral()
{
    if (!EditedSeries) return;
    TChartSeries& s = *EditedSeries;
    const bool filling = FFilling;
    FFilling = true;
    CBShowInLegend->setChecked(s.ShowInLegend());
    FillCursorCombo(CBCursor, s.Cursor());
    CBDepth->setChecked(s.Depth() == -1);
    UDDepth->setValue(s.Depth() == -1 ? 0 : s.Depth());
    TStringList formats;
    FillValueFormatList(formats);
    CBFormat->clear();
    EPercentFormat->clear();
    for (int i = 0; i < formats.Count(); ++i) {
        CBFormat->addItem(AnsiToQString(formats[i]));
        EPercentFormat->addItem(AnsiToQString(formats[i]));
    }
    ShowFormatInCombo(*CBFormat, s.ValueFormat());
    ShowFormatInCombo(*EPercentFormat, s.PercentFormat());
    FillAxisCombo(*CBHorizAxis, true);
    FillAxisCombo(*CBVertAxis, false);
    CBXDateTime->setChecked(s.XValues().DateTime());
    CBYDateTime->setChecked(s.YValues().DateTime());
    TChartValueList* z = nullptr;
    if (TCustomAxisPanel* chart = s.ParentChart()) {
        z = s.ValuesForAxis(&chart->DepthAxis());
        if (!z) z = s.ValuesForAxis(&chart->DepthTopAxis());
    }
    CBZDateTime->setVisible(z != nullptr);
    if (z) CBZDateTime->setChecked(z->DateTime());
    const bool few = s.ValueLists().Count() <= 2;
    for (QWidget* w : std::initializer_list<QWidget*>{CBSort, LSort, LDepth, UDDepth, CBDepth}) w->setVisible(few);
    const TChartListOrder order = s.MandatoryValues().Order();
    CBSort->setCurrentIndex(order == loAscending ? 0 : order == loDescending ? 1 : 2);
    FFilling = filling;
}

void TFormLumSeries::FillAxisCombo(QComboBox& Combo, bool Horizontal)
{
    TChartSeries& s = *EditedSeries;
    Combo.clear();
    SetComboItems(Combo, Horizontal ? std::vector<std::string>{"Top", "Bottom", "Top and Bottom"}
                                    : std::vector<std::string>{"Left", "Right", "Left and Right"});
    TChartAxis* bound = Horizontal ? s.CustomHorizAxis() : s.CustomVertAxis();
    int boundIndex = -1;
    if (TCustomAxisPanel* chart = s.ParentChart()) {
        const TChartAxes& axes = chart->Axes();
        for (int i = StandardAxisCount; i < axes.Count(); ++i) {
            TChartAxis* axis = axes.AxisAt(i);
            if (axis->Horizontal() != Horizontal) continue;
            Combo.addItem(AnsiToQString("Custom  " + std::to_string(i - StandardAxisCount)),
                          QVariant::fromValue(static_cast<void*>(axis)));
            if (axis == bound) boundIndex = Combo.count() - 1;
        }
    }
    const int kind = Horizontal ? static_cast<int>(s.HorizAxis()) : static_cast<int>(s.VertAxis());
    Combo.setCurrentIndex(kind <= 2 ? kind : boundIndex);
}

void TFormLumSeries::WriteAxisChoice(QComboBox& Combo, bool Horizontal)
{
    if (!EditedSeries) return;
    const int index = Combo.currentIndex();
    if (index < 0) return;
    if (index <= 2) {
        if (Horizontal)
            EditedSeries->SetHorizAxis(static_cast<THorizAxis>(index));
        else
            EditedSeries->SetVertAxis(static_cast<TVertAxis>(index));
        return;
    }
    auto* axis = static_cast<TChartAxis*>(Combo.itemData(index).value<void*>());
    if (Horizontal) {
        EditedSeries->SetHorizAxis(aCustomHorizAxis);
        EditedSeries->BindCustomHorizAxis(axis);
    } else {
        EditedSeries->SetVertAxis(aCustomVertAxis);
        EditedSeries->BindCustomVertAxis(axis);
    }
}

void TFormLumSeries::WriteFormat(QComboBox& Combo, bool Percent)
{
    if (!EditedSeries || FFilling) return;
    const std::string stored = NeutralizeNumberFormat(QStringToAnsi(Combo.currentText()));
    if (Percent)
        EditedSeries->SetPercentFormat(stored);
    else
        EditedSeries->SetValueFormat(stored);
}

void TFormLumSeries::FormatButton(QComboBox& Combo, bool Percent)
{
    if (!EditedSeries) return;
    const std::string result = ShowFormatEditor(this, QStringToAnsi(Combo.currentText()), true);
    Combo.setCurrentText(AnsiToQString(result));
    WriteFormat(Combo, Percent);
}

void TFormLumSeries::SortChosen()
{
    if (!EditedSeries) return;
    const int index = CBSort->currentIndex();
    const TChartListOrder order = index == 0 ? loAscending : index == 1 ? loDescending : loNone;
    EditedSeries->OtherValues().SetOrder(loNone);
    EditedSeries->MandatoryValues().SetOrder(order);
    if (order != loNone) EditedSeries->ReorderPoints();
}

// ---- Marks --------------------------------------------------------------------------------------------

void TFormLumSeries::FillMarks()
{
    if (!EditedSeries) return;
    TSeriesMarks& marks = EditedSeries->Marks();
    const bool filling = FFilling;
    FFilling = true;
    CBMarksVisible->setChecked(marks.Visible());
    RefreshAllVisible();
    if (marks.Style() < static_cast<int>(MarkStyleButtons.size())) MarkStyleButtons[marks.Style()]->setChecked(true);
    CBMultiLine->setChecked(marks.MultiLine());
    EnableMultiLine();
    UDEvery->setValue(marks.DrawEvery());
    CBMarkClip->setChecked(marks.Clip());
    UDMarksAngle->setValue(marks.Angle());
    TMarksCallout& callout = marks.Callout();
    BMarkLinCol.LinkPen(&callout.Arrow());
    UDArrowsLength->setValue(callout.Length());
    UDArrowDist->setValue(callout.Distance());
    CBHead->setCurrentIndex(callout.ArrowHead());
    UDHeadSize->setValue(callout.ArrowHeadSize());

    PrepareMarksPages();
    FMarksFormat->LoadShape(&marks);
    FMarksSymbol->LoadShape(&marks.Symbol());
    FSymbolVisible->setChecked(marks.Symbol().Visible());
    FFilling = filling;
}

void TFormLumSeries::PrepareMarksPages()
{
    if (!EditedSeries) return;
    TSeriesMarks& marks = EditedSeries->Marks();
    if (!FMarksFormat) {
        const int current = PageControlMarks->currentIndex();
        FMarksFormat = EmbedShapeEditorPages(*PageControlMarks, &marks);
        PageControlMarks->setCurrentIndex(current < 0 ? 0 : current);
    }
    if (!FMarksSymbol) {
        FMarksSymbol = CreateShapeEditor(this, &marks.Symbol(), TabSymbol);
        FMarksSymbol->BBackColor.SetVisible(false);
        FMarksSymbol->PC1->setTabVisible(FMarksSymbol->PC1->indexOf(FMarksSymbol->TabText), false);
        FSymbolVisible = NewCheckBox("&Visible");
        if (auto* grid = qobject_cast<QGridLayout*>(FMarksSymbol->TabFormat->layout())) grid->addWidget(FSymbolVisible, 0, 0);
        ConnectGuarded(FSymbolVisible, &QCheckBox::clicked, this,
                       [this](bool) { if (FMarksSymbol) FMarksSymbol->CBVisibleChecked(FSymbolVisible); });
    }
}

void TFormLumSeries::RefreshAllVisible()
{
    bool all = true;
    if (TCustomAxisPanel* chart = EditedSeries ? EditedSeries->ParentChart() : nullptr)
        for (int i = 0; i < chart->CountSeries(); ++i) all = all && chart->SeriesAt(i)->Marks().Visible();
    CBAllVisible->setChecked(all);
}

void TFormLumSeries::EnableMultiLine()
{
    const TSeriesMarksStyle style = EditedSeries ? EditedSeries->Marks().Style() : smsValue;
    CBMultiLine->setEnabled(style == smsLabelPercent || style == smsLabelValue || style == smsPercentTotal ||
                            style == smsLabelPercentTotal || style == smsXY);
}

// ---- Colour box and chart events --------------------------------------------------------------------------

void TFormLumSeries::EditSeriesColor()
{
    if (!EditedSeries) return;
    TColor color = EditedSeries->SeriesColor();
    if (!EditColorWithDialog(nullptr, color)) return;
    if (color != EditedSeries->SeriesColor()) {
        EditedSeries->SetSeriesColor(color);
        PaintBox1->Invalidate();
    }
}

void TFormLumSeries::HandleChartEvent(TLumEvent& Event)
{
    if (FDestroying) return;
    auto* e = dynamic_cast<TLumSeriesEvent*>(&Event);
    if (!e) return;
    if (e->Event == seColor) {
        PaintBox1->Invalidate();
    } else if (e->Event == seRemoved && e->Series && e->Series == EditedSeries) {
        RemoveTypeEditorPages();
        for (int i = CBSeries->count() - 1; i >= 0; --i)
            if (CBSeries->itemData(i).value<void*>() == e->Series) {
                const QSignalBlocker block(CBSeries);
                CBSeries->removeItem(i);
            }
        EditedSeries = nullptr;
        FPreviousSeries = nullptr;
        {
            const QSignalBlocker block(CBSeries);
            CBSeries->setCurrentIndex(-1);
        }
        SeriesChosen();
    }
}
