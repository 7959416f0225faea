// The paging page: its controls, their writes into the chart, and the page-number tool it finds or
// makes.
#include "chart/editors/LumEdiPage.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <cstdio>

namespace {

TLumCustomTool* FindPageNumberTool(TCustomAxisPanel& Chart)
{
    const TClassInfo* cls = PageNumToolClass();
    if (!cls) return nullptr;
    for (int i = 0; i < Chart.Tools().Count(); ++i)
        if (TLumCustomTool* t = Chart.Tools().GetTool(i); t->ClassInfo().InheritsFrom(*cls)) return t;
    return nullptr;
}

} // namespace

TFormLumPage::TFormLumPage(QWidget* Owner) : TLumEditorForm(Owner), ChartPageNavigator1(nullptr)
{
    resize(380, 200);
    SEPointsPerPage = NewUpDown(0, 32000);
    CBPageLegend = NewCheckBox("&Current page Legend");
    CBScaleLast = NewCheckBox("&Scale Last Page");
    CBPageNum = NewCheckBox("Show &Page Number");
    auto* nav = new QWidget;
    nav->setMinimumSize(160, 25);
    ChartPageNavigator1.SetParentWidget(nav);
    ChartPageNavigator1.SetBounds(0, 0, 160, 25);
    LabelPages = new QLabel;
    auto* grid = new QGridLayout(this);
    grid->addWidget(NewLabel("P&oints per Page:", SEPointsPerPage), 0, 0);
    grid->addWidget(SEPointsPerPage, 0, 1);
    grid->addWidget(CBScaleLast, 1, 0, 1, 2);
    grid->addWidget(CBPageLegend, 2, 0, 1, 2);
    grid->addWidget(CBPageNum, 3, 0, 1, 2);
    grid->addWidget(nav, 4, 0, 1, 2);
    grid->addWidget(LabelPages, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);

    ConnectGuarded(SEPointsPerPage, &QSpinBox::valueChanged, this, [this](int v) {
        if (!isVisible() || !Chart()) return;
        Chart()->SetMaxPointsPerPage(SEPointsPerPage->text().trimmed().isEmpty() ? 0 : v);
        RefreshPageLabel();
    });
    // An emptied text is no value for the spin box: it is heard here and means no paging.
    ConnectGuarded(SEPointsPerPage->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!isVisible() || !Chart() || !text.trimmed().isEmpty()) return;
        Chart()->SetMaxPointsPerPage(0);
        RefreshPageLabel();
    });
    ConnectGuarded(CBPageLegend, &QCheckBox::clicked, this, [this](bool v) {
        if (auto* chart = dynamic_cast<TCustomChart*>(Chart())) chart->Legend().SetCurrentPage(v);
    });
    ConnectGuarded(CBScaleLast, &QCheckBox::clicked, this, [this](bool v) {
        if (Chart()) Chart()->SetScaleLastPage(v);
    });
    ConnectGuarded(CBPageNum, &QCheckBox::clicked, this, [this](bool v) { PageNumberClick(v); });
    ChartPageNavigator1.OnButtonClicked = [this](TPersistent*, TLumNavigateBtn) { RefreshPageLabel(); };
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumPage::~TFormLumPage() = default;

std::unique_ptr<TFormLumPage> TFormLumPage::CreateForChart(QWidget* Owner, TCustomAxisPanel& Chart)
{
    auto form = std::make_unique<TFormLumPage>(Owner);
    form->SetTag(&Chart);
    form->ChartPageNavigator1.SetChart(&Chart);
    return form;
}

void TFormLumPage::RefreshPageLabel()
{
    TCustomAxisPanel* chart = Chart();
    if (!chart) return;
    char text[64];
    std::snprintf(text, sizeof text, LumConst::PageOf, chart->Page(), chart->CountPages());
    LabelPages->setText(AnsiToQString(text));
    ChartPageNavigator1.UpdateButtons();
}

void TFormLumPage::FormShow()
{
    if (TCustomAxisPanel* chart = Chart()) {
        const QSignalBlocker block(SEPointsPerPage);
        SEPointsPerPage->setValue(chart->MaxPointsPerPage());
        CBScaleLast->setChecked(chart->ScaleLastPage());
        if (auto* c = dynamic_cast<TCustomChart*>(chart)) CBPageLegend->setChecked(c->Legend().CurrentPage());
        RefreshPageLabel();
    }
    CBPageNum->setVisible(PageNumToolClass() != nullptr);
    TLumCustomTool* tool = Chart() ? FindPageNumberTool(*Chart()) : nullptr;
    CBPageNum->setChecked(tool && tool->Active());
    TranslateFormControls(this);
}

void TFormLumPage::PageNumberClick(bool Checked)
{
    TCustomAxisPanel* chart = Chart();
    const TClassInfo* cls = PageNumToolClass();
    if (!chart || !cls) return;
    TLumCustomTool* tool = FindPageNumberTool(*chart);
    if (!tool) {
        TComponent* owner = chart->Owner() ? chart->Owner() : chart;
        tool = dynamic_cast<TLumCustomTool*>(cls->CreateComponent(owner));
        if (!tool) return;
        tool->SetName(UniqueComponentName(owner, "ChartTool"));
        chart->Tools().AddTool(tool);
    }
    tool->SetActive(Checked);
}
