// The chart editor window: its creation size, the remembered place and size, the series page, and the
// Graphic editor.
#include "chart/editors/LumEditCha.h"

#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "chart/editors/LumCustEdit.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Screen.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

constexpr int DesignedWidth = 414;
constexpr int DesignedHeight = 347;
constexpr int Missing = INT_MIN;

} // namespace

TChartEditForm::TChartEditForm(QWidget* Owner)
    : TForm(Owner), MainPage(new QTabWidget), TabChart(new QWidget), TabSeries(new QWidget), PanelBottom(new QWidget),
      ButtonHelp(new QPushButton(AnsiToQString("&Help..."))), BClose(new QPushButton("Close"))
{
    const int ppi = Screen->PixelsPerInch();
    resize(DesignedWidth * ppi / 96, DesignedHeight * ppi / 96);
    FDesignedWidth = DesignedWidth;
    FDesignedHeight = DesignedHeight;
    setSizeGripEnabled(false);
    MainPage->addTab(TabChart, "Chart");
    MainPage->addTab(TabSeries, "Series");
    auto* bottom = new QHBoxLayout(PanelBottom);
    bottom->setContentsMargins(4, 0, 4, 4);
    bottom->addWidget(ButtonHelp);
    bottom->addStretch(1);
    bottom->addWidget(BClose);
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    // The window keeps the size it is given; the pages fit themselves into it.
    form->setSizeConstraint(QLayout::SetNoConstraint);
    form->addWidget(MainPage, 1);
    form->addWidget(PanelBottom);
    SetButtonModalResult(BClose, mrCancel);
    BindChart(nullptr);
    SetCaption("");
    FRememberPosition = ReadEditorOptionBool("RememberPosition", true);
    FRememberSize = ReadEditorOptionBool("RememberSize", true);
    ConnectGuarded(MainPage, &QTabWidget::currentChanged, this, [this](int) {
        if (MainPage->currentWidget() == TabSeries) ShowSeriesPage();
    });
}

TChartEditForm::~TChartEditForm()
{
    try {
        WritePlace();
    } catch (...) {
        // A registry that cannot be written loses the place, never the window's close.
    }
}

void TChartEditForm::BindChart(TCustomAxisPanel* Chart)
{
    FChart = Chart;
    MainPage->setEnabled(Chart != nullptr);
    if (Chart && (FRememberPosition || FRememberSize)) ReadPlace();
}

void TChartEditForm::ReadPlace()
{
    int left = x();
    int top = y();
    int width = this->width();
    int height = this->height();
    bool moved = false;
    if (FRememberPosition) {
        const int storedLeft = ReadEditorOptionInteger("Left", Missing);
        if (storedLeft != Missing) {
            left = std::max(0, storedLeft);
            top = std::max(0, ReadEditorOptionInteger("Top", 0));
            moved = true;
        }
    }
    if (FRememberSize) {
        const int w = ReadEditorOptionInteger("Width", Missing);
        const int h = ReadEditorOptionInteger("Height", Missing);
        if (w != Missing) width = std::max(100, w);
        if (h != Missing) height = std::max(100, h);
        resize(width, height);
    }
    if (moved) {
        if (left > Screen->Width()) left = Screen->Width() - width;
        if (top > Screen->Height()) top = Screen->Height() - height;
        move(left, top);
    }
}

void TChartEditForm::WritePlace()
{
    if (!FChart) return;
    if (FRememberPosition) {
        WriteEditorOptionInteger("Left", x());
        WriteEditorOptionInteger("Top", y());
    }
    if (FRememberSize) {
        if (width() != FDesignedWidth) WriteEditorOptionInteger("Width", width());
        if (height() != FDesignedHeight) WriteEditorOptionInteger("Height", height());
    }
}

QSize TChartEditForm::NeededSize()
{
    // The layouts' cached hints learn of deeper changes (tabs joining an inner page control) only over
    // several event-loop turns; renewing every widget's hints gives the size they need now.
    for (QWidget* w : findChildren<QWidget*>()) w->updateGeometry();
    return minimumSizeHint();
}

void TChartEditForm::GrowToContents()
{
    const QSize needed = NeededSize();
    if (needed.width() > width() || needed.height() > height())
        resize(std::max(width(), needed.width()), std::max(height(), needed.height()));
}

void TChartEditForm::FitDesignedSizeToContents()
{
    const QSize needed = NeededSize();
    FDesignedWidth = std::max(FDesignedWidth, needed.width());
    FDesignedHeight = std::max(FDesignedHeight, needed.height());
    GrowToContents();
}

void TChartEditForm::ShowSeriesPage()
{
    if (!FHost) {
        FHost = new TFormLumSeries(this);
        FHost->ShowDataSourcePage = false;
        FHost->EditedSeries = SeriesToEdit;
        std::vector<TChartSeries*> series;
        if (FChart)
            for (int i = 0; i < FChart->CountSeries(); ++i) series.push_back(FChart->SeriesAt(i));
        FHost->SetSeriesChoices(series);
        EmbedFormFilling(*FHost, *TabSeries);
        TranslateFormControls(FHost);
    } else {
        FHost->EditedSeries = SeriesToEdit;
    }
    FHost->ShowCurrentSeries();
}

void TChartEditForm::PrepareShow()
{
    if (!FChart) return;
    if (Caption().empty()) SetCaption("Editing " + QStringToAnsi(objectName()));
    if (SeriesToEdit) {
        MainPage->setCurrentWidget(TabSeries);
        ShowSeriesPage();
    }
}

int ShowGraphicEditor(TChartSeries& Series)
{
    TChartEditForm form(nullptr);
    form.ButtonHelp->hide();
    form.BindChart(Series.ParentChart());
    form.SeriesToEdit = &Series;
    TranslateFormControls(&form);
    form.PrepareShow();
    form.ShowSeriesPage();

    TFormLumSeries& host = *form.SeriesHost();
    // Only the series editor fills the window.
    static_cast<QVBoxLayout*>(form.layout())->insertWidget(0, &host, 1);
    form.MainPage->hide();
    host.Panel1->hide();
    host.Panel3->hide();
    host.PageSeries->setTabVisible(host.PageSeries->indexOf(host.TabDataSource), false);
    host.PageSeries->setTabVisible(host.PageSeries->indexOf(host.TabGeneral), false);
    host.ShowDataSourcePage = false;
    host.ShowGeneralPage = false;
    if (auto* editor = dynamic_cast<TCustomSeriesEditor*>(host.TypeEditor()))
        SetControlsVisibility(false, {editor->CBStack.Widget(), editor->Label1, editor->CBDark3D, editor->CBColorEach,
                                      editor->CBClick, editor->CheckBox1, editor->LHeight, editor->UDHeight});
    // The window takes the size its largest page needs before it shows, so it keeps one size on every
    // page and nothing is ever cut off; a page that still grows later widens it.
    host.PrepareMarksPages();
    form.FitDesignedSizeToContents();
    QObject::connect(host.PageSeries, &QTabWidget::currentChanged, &form,
                     [&form](int) { QTimer::singleShot(0, &form, [&form] { form.GrowToContents(); }); });
    form.SetCaption("Graphic editor");
    form.ShowModal();
    return 0;
}
