// The "Graphic editor" on a real chart, opened as the user opens it (the series pop-up's "Options", a
// right-click on a legend item): its pages for line and point series, the controls it hides, changes on
// the chart at once, and the window's remembered place and size.
#include "chart/editors/LumCustEdit.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/editors/LumEditCha.h"
#include "chart/editors/LumPoEdi.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePointer.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/Registry.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

bool EditorOptionExists(const std::string& Name)
{
    TRegistry registry;
    return registry.OpenKeyReadOnly(EditorOptionsKey) && registry.ValueExists(Name);
}

std::vector<std::string> ShownTabs(const QTabWidget& Tabs)
{
    std::vector<std::string> result;
    for (int i = 0; i < Tabs.count(); ++i)
        if (Tabs.isTabVisible(i)) result.push_back(Tabs.tabText(i).toStdString());
    return result;
}

// A 2-D chart with a line series and a point series, both in the legend.
struct TWindowChart : TChartWindow {
    TLineSeries* Line = nullptr;
    TPointSeries* Points = nullptr;
    TWindowChart()
    {
        Line = &AddSeries<TLineSeries>("Measured", [](int i) { return double(i); });
        Points = &AddSeries<TPointSeries>("Electrodes", [](int i) { return double(10 - i); });
        ShowLegend();
        Show();
    }
};

void PickOptions(TPromptScript& Script)
{
    Script.Expect(TPromptKind::PopupMenu, [](TPrompt& p) {
        EXPECT_EQ(p.Menu->Items(0)->Caption(), "Options");
        EXPECT_TRUE(p.Menu->Items(0)->Enabled());
        p.MenuIndex = 0;
        p.Result = mrOk;
    });
}

} // namespace

TEST(GraphicEditor, LineSeriesFromThePopupShowsFormatPointAndMarks)
{
    ClearEditorOptions();
    TWindowChart c;
    TPromptScript script;
    PickOptions(script);
    bool driven = false;
    script.DriveForm([&](TForm& form) {
        driven = true;
        auto& f = FormAs<TChartEditForm>(form);
        EXPECT_EQ(f.Caption(), "Graphic editor");
        // The designed 414 x 347, grown where the pages need more room.
        EXPECT_GE(f.width(), 414);
        EXPECT_GE(f.height(), 347);
        EXPECT_FALSE(f.MainPage->isVisible());
        EXPECT_FALSE(f.ButtonHelp->isVisible());
        TFormLumSeries& host = *f.SeriesHost();
        EXPECT_TRUE(host.isVisible());
        EXPECT_FALSE(host.Panel1->isVisible());
        EXPECT_EQ(ShownTabs(*host.PageSeries), (std::vector<std::string>{"Format", "Point", "Marks"}));
        EXPECT_EQ(host.PageSeries->currentWidget(), host.TheTabSheet);
        auto& page = *dynamic_cast<TCustomSeriesEditor*>(host.TypeEditor());
        for (QWidget* hidden : std::initializer_list<QWidget*>{page.CBStack.Widget(), page.CBDark3D, page.CBColorEach,
                                                              page.CBClick, page.CheckBox1, page.UDHeight, page.LHeight})
            EXPECT_FALSE(hidden->isVisible());
        EXPECT_TRUE(page.CBStairs->isVisible());
        // A change shows on the chart at once.
        c.Paint();
        EXPECT_FALSE(c.Chart.PaintPending());
        page.CBStairs->click();
        EXPECT_TRUE(c.Line->Stairs());
        EXPECT_TRUE(c.Chart.PaintPending());
        auto* point = dynamic_cast<TSeriesPointerEditor*>(host.PageSeries->widget(1)->findChild<TSeriesPointerEditor*>());
        ASSERT_NE(point, nullptr);
        host.PageSeries->setCurrentIndex(1);
        EXPECT_EQ(point->Pointer(), &c.Line->Pointer());
        EXPECT_FALSE(point->CB3dPoint->isEnabled()) << "a 2-D chart";
        EXPECT_FALSE(point->CBPoDark->isEnabled());
        point->CBDrawPoint->click();
        EXPECT_EQ(c.Line->Pointer().Visible(), point->CBDrawPoint->isChecked());
        f.BClose->click();
    });
    c.RightClick(c.At(4, 4), Qt::ShiftModifier);
    EXPECT_TRUE(driven);
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    EXPECT_TRUE(EditorOptionExists("Left"));
    EXPECT_TRUE(EditorOptionExists("Top"));
    EXPECT_FALSE(EditorOptionExists("Width")) << "an unchanged size is not written";
    EXPECT_FALSE(EditorOptionExists("Height"));
}

TEST(GraphicEditor, PointSeriesFromTheLegendShowsThePointerAsFormat)
{
    ClearEditorOptions();
    WriteEditorOptionInteger("Left", -20);
    WriteEditorOptionInteger("Top", 30);
    WriteEditorOptionInteger("Width", 50);
    TWindowChart c;
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& f = FormAs<TChartEditForm>(form);
        EXPECT_EQ(f.x(), 0) << "a stored Left of -20 opens at 0";
        EXPECT_EQ(f.y(), 30);
        EXPECT_GE(f.width(), f.minimumSizeHint().width()) << "the Graphic editor widens to hold its pages";
        TFormLumSeries& host = *f.SeriesHost();
        EXPECT_EQ(ShownTabs(*host.PageSeries), (std::vector<std::string>{"Format", "Marks"}));
        auto* pointer = dynamic_cast<TSeriesPointerEditor*>(host.TypeEditor());
        ASSERT_NE(pointer, nullptr);
        EXPECT_EQ(pointer->Pointer(), &c.Points->Pointer());
        Choose(pointer->CBStyle, psDiamond);
        EXPECT_EQ(c.Points->Pointer().Style(), psDiamond);
        form.done(mrCancel);
    });
    c.RightClick(c.LegendItem(1), Qt::NoModifier);
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    EXPECT_EQ(c.Points->Pointer().Style(), psDiamond) << "closing keeps the edits";
    EXPECT_EQ(ReadEditorOptionInteger("Width", 0), 50) << "a window only grown to hold its pages stores no size";
    TChartEditForm plain(nullptr);
    plain.BindChart(&c.Chart);
    EXPECT_EQ(plain.width(), 100) << "a stored Width of 50 opens the window 100 wide";
    plain.BindChart(nullptr);  // leaves the stored place alone
    ClearEditorOptions();
}

TEST(GraphicEditor, EveryTabShowsWholeAndTheWindowKeepsOneSizeOnEveryPage)
{
    ClearEditorOptions();
    TWindowChart c;
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& f = FormAs<TChartEditForm>(form);
        TFormLumSeries& host = *f.SeriesHost();
        const QSize opened = f.size();
        EXPECT_GT(opened.width(), 414) << "the marks' pages need more than the designed width";
        // Every page of the window and of the marks' page control in turn.
        std::vector<std::pair<QTabWidget*, int>> pages;
        for (int i = 0; i < host.PageSeries->count(); ++i)
            if (host.PageSeries->isTabVisible(i)) pages.emplace_back(host.PageSeries, i);
        host.PageSeries->setCurrentWidget(host.TabMarks);
        QCoreApplication::processEvents();
        EXPECT_EQ(host.PageControlMarks->count(), 7);
        for (int i = 0; i < host.PageControlMarks->count(); ++i) pages.emplace_back(host.PageControlMarks, i);
        pages.emplace_back(host.PageSeries, host.PageSeries->indexOf(host.TheTabSheet));
        for (const auto& [tabs, index] : pages) {
            if (tabs == host.PageControlMarks) host.PageSeries->setCurrentWidget(host.TabMarks);
            tabs->setCurrentIndex(index);
            for (int turn = 0; turn < 3; ++turn) QCoreApplication::processEvents();
            const std::string page = tabs->tabText(index).toStdString();
            EXPECT_EQ(f.size(), opened) << page;
            for (QTabBar* bar : f.findChildren<QTabBar*>()) {
                if (!bar->isVisible()) continue;
                EXPECT_LE(bar->sizeHint().width(), bar->width()) << page << ": " << bar->tabText(0).toStdString();
            }
        }
        // On the Format page the captions of the sample buttons keep off their samples.
        host.PageSeries->setCurrentWidget(host.TheTabSheet);
        QCoreApplication::processEvents();
        auto& format = *dynamic_cast<TCustomSeriesEditor*>(host.TypeEditor());
        for (TLumButton* button : {static_cast<TLumButton*>(&format.BLineBorder), static_cast<TLumButton*>(&format.BLineColor),
                                   static_cast<TLumButton*>(&format.BOutline)}) {
            const QWidget& w = *button->Widget();
            ASSERT_TRUE(w.isVisible());
            QString caption = w.property("text").toString();
            caption.remove(QLatin1Char('&'));
            const int captionRight = (w.width() + QFontMetrics(w.font()).horizontalAdvance(caption)) / 2;
            EXPECT_LT(captionRight, button->SymbolRect().Left) << caption.toStdString();
        }
        form.done(mrCancel);
    });
    ShowGraphicEditor(*c.Line);
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    EXPECT_FALSE(EditorOptionExists("Width")) << "a window only grown to hold its pages stores no size";
    ClearEditorOptions();
}
