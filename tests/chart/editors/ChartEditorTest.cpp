// The whole chart editor window on a live chart, shown modally and driven through the prompter: every
// page visited and edited, the page chosen at show, the series list's buttons, the series groups, and
// tree mode with the width it remembers.
#include "chart/editors/LumEdi3D.h"
#include "chart/editors/LumEdiAxis.h"
#include "chart/editors/LumEdiGene.h"
#include "chart/editors/LumEdiLege.h"
#include "chart/editors/LumEdiPage.h"
#include "chart/editors/LumEdiPane.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/editors/LumEdiTitl.h"
#include "chart/editors/LumEdiWall.h"
#include "chart/editors/LumEditCha.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/control/ChartWalls.h"
#include "chart/control/LumPrevi.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/Registry.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A chart of three line series named in the window (the editor's caption uses the chart's name).
struct TEditedChart : TChartWindow {
    std::vector<TLineSeries*> Series;
    TEditedChart()
    {
        ClearEditorOptions();
        Chart.SetName("Profile");
        for (const char* title : {"Measured", "Computed", "Residual"})
            Series.push_back(&AddSeries<TLineSeries>(title, [](int i) { return double(i); }));
        Show();
    }
};

// Opens the window modally on the chart and runs the script on it; More answers the prompts the script
// brings up.
void Edit(TCustomAxisPanel& Chart, const std::function<void(TChartEditForm&)>& Prepare,
          const std::function<void(TChartEditForm&)>& Script, const std::function<void(TPromptScript&)>& More = nullptr)
{
    TChartEditForm form(nullptr);
    form.BindChart(&Chart);
    if (Prepare) Prepare(form);
    TPromptScript script;
    script.DriveForm([&](TForm& Form) {
        Script(FormAs<TChartEditForm>(Form));
        FormAs<TChartEditForm>(Form).BClose->click();
    });
    if (More) More(script);
    form.ShowModal();
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
}

template <class T>
T& Page(TChartEditForm& Form, int Index)
{
    Form.MainPage->setCurrentWidget(Form.TabChart);
    Form.SubPage->setCurrentIndex(Index);
    TForm* page = Form.PageForm(Index);
    if (!page) throw std::logic_error("no page " + std::to_string(Index));
    return FormAs<T>(*page);
}

} // namespace

TEST(ChartEditor, EveryPageVisitedEditsTheChartAndCloseKeepsTheEdits)
{
    TEditedChart c;
    const bool subTitleShown = !c.Chart.SubTitle().Visible();
    const bool legendShown = !c.Chart.Legend().Visible();
    Edit(c.Chart, nullptr, [&](TChartEditForm& f) {
        EXPECT_EQ(f.Caption(), "Editing Profile");
        EXPECT_EQ(f.MainPage->currentWidget(), f.TabChart);
        EXPECT_EQ(f.SubPage->currentIndex(), cetSeriesList);
        EXPECT_EQ(f.LBSeries.ItemIndex(), 0) << "the first series row is selected";
        EXPECT_FALSE(f.CBNames->isVisible());
        EXPECT_FALSE(f.ButtonHelp->isVisible());
        for (QWidget* hidden : {f.TabData, f.TabTools, f.TabExport})
            EXPECT_FALSE(f.MainPage->isTabVisible(f.MainPage->indexOf(hidden))) << "their forms come with other work";

        f.BAddSeries->click();  // the gallery, cancelled
        EXPECT_EQ(c.Chart.CountSeries(), 3) << "the gallery's Cancel adds nothing";
        EXPECT_EQ(f.MainPage->currentWidget(), f.TabChart);

        Page<TFormLumGeneral>(f, cetGeneral).PanningModes[pmNone]->click();
        Page<TFormLumAxis>(f, cetAxis).CBInverted->click();
        Pick(*Page<TFormLumTitle>(f, cetTitles).CBTitles, 1);
        Page<TFormLumTitle>(f, cetTitles).CBVisible->click();
        Page<TFormLumLegend>(f, cetLegend).CBShow->click();
        Page<TFormLumPanel>(f, cetPanel).SEPanelBor->setValue(6);
        Page<TFormLumPage>(f, cetPaging).SEPointsPerPage->setValue(5);
        Page<TFormLumWall>(f, cetWalls).EAllSize->setValue(7);
        Page<TFormLum3D>(f, cet3D).CBView3d->click();

        f.MainPage->setCurrentWidget(f.TabSeries);
        ASSERT_NE(f.SeriesHost(), nullptr);
        EXPECT_EQ(f.SeriesHost()->EditedSeries, c.Series[0]);
        f.SeriesHost()->CBShowInLegend->click();

        f.MainPage->setCurrentWidget(f.TabPrint);
        ASSERT_NE(f.PrintPreview(), nullptr);
        EXPECT_FALSE(f.PrintPreview()->Panel2->isVisible()) << "no options column";
        EXPECT_FALSE(f.PrintPreview()->PanelClose->isVisible());
        EXPECT_NE(f.PrintPreview()->PageNavigator(), nullptr);
    }, [](TPromptScript& script) {
        script.DriveForm([](TForm& gallery) { gallery.done(mrCancel); });
    });
    EXPECT_EQ(c.Chart.AllowPanning(), pmNone);
    EXPECT_TRUE(c.Chart.LeftAxis().Inverted());
    EXPECT_EQ(c.Chart.SubTitle().Visible(), subTitleShown);
    EXPECT_EQ(c.Chart.Legend().Visible(), legendShown);
    EXPECT_EQ(c.Chart.BorderWidth(), 6);
    EXPECT_EQ(c.Chart.MaxPointsPerPage(), 5);
    EXPECT_EQ(c.Chart.BackWall().Size(), 7);
    EXPECT_TRUE(c.Chart.View3D());
    EXPECT_FALSE(c.Series[0]->ShowInLegend());
}

TEST(ChartEditor, ActivePageIndexChoosesTheFirstPage)
{
    struct TCase {
        int Index;
        std::vector<int> Hidden;
        bool DataMaker;
        const char* Main;  // the tab chosen
        int Sub;           // the chart page, when the tab is "Chart"
    };
    const TCase cases[] = {
        {-1, {}, false, "Chart", cetSeriesList},
        {cetTitles, {}, false, "Chart", cetTitles},
        {cetTitles, {cetTitles}, false, "Chart", cetLegend},        // the next visible one
        {cet3D, {cetWalls, cet3D}, false, "Chart", cetPaging},     // none after: the previous one
        {cetAxis, {0, 1, 2, 3, 4, 5, 6, 7, 8}, false, "Print", -1}, // no chart page: the first of the others
        {cetData, {}, true, "Data", -1},
        {cetData, {}, false, "Print", -1},                          // Data hidden without its form
        {cetExport, {}, false, "Print", -1},
        {cetTools, {}, false, "Print", -1},
        {cetPrint, {}, false, "Print", -1},
        {cetPrint, {cetPrint}, true, "Data", -1},
    };
    TEditedChart c;
    for (const TCase& t : cases) {
        if (t.DataMaker)
            ChartEditorModule().DataPage = [](TChartEditForm&, QWidget&) {};
        std::string main;
        int sub = -2;
        Edit(c.Chart, [&](TChartEditForm& f) {
            f.ActivePageIndex = t.Index;
            for (int h : t.Hidden) f.HiddenTabs.set(static_cast<std::size_t>(h));
        }, [&](TChartEditForm& f) {
            main = f.MainPage->tabText(f.MainPage->currentIndex()).toStdString();
            sub = f.SubPage->currentIndex();
        });
        ChartEditorModule().DataPage = nullptr;
        EXPECT_EQ(main, t.Main) << "index " << t.Index;
        if (t.Sub >= 0) EXPECT_EQ(sub, t.Sub) << "index " << t.Index;
    }
}

TEST(ChartEditor, SeriesButtonsFollowOptionsAndEditorFlags)
{
    struct TCase {
        std::uint16_t Options;
        std::uint8_t Flags;
        int SelectedRows;
        // Add, Delete, Title, Change, Clone, Up, Down
        std::vector<bool> Enabled;
        bool MovesShown;
    };
    const std::uint16_t all = DefaultChartEditorOptions;
    const TCase cases[] = {
        {all, 0, 1, {true, true, true, true, true, false, true}, true},
        {all & ~ceoAdd, 0, 1, {false, true, true, true, true, false, true}, true},
        {all & ~ceoDelete, 0, 1, {true, false, true, true, true, false, true}, true},
        {all, 1, 1, {true, false, true, true, false, false, true}, true},
        {all, 4, 1, {true, false, true, true, true, false, true}, true},
        {all, 2, 1, {true, true, true, false, true, false, true}, true},
        {all, 8, 1, {true, true, true, true, false, false, true}, true},
        {all & ~ceoTitle & ~ceoClone & ~ceoChange, 0, 1, {true, true, false, false, false, false, true}, true},
        {all, 0, 2, {true, true, false, true, false, false, false}, true},
        {all & ~ceoOrderSeries, 0, 1, {true, true, true, true, true, false, true}, false},
    };
    TEditedChart c;
    for (const TCase& t : cases) {
        c.Series[0]->SetEditorFlags(t.Flags);
        TChartEditForm f(nullptr);
        f.BindChart(&c.Chart);
        f.EditorOptions = t.Options;
        f.LBSeries.SelectItem(0);
        if (t.SelectedRows > 1) f.LBSeries.SetSelected(1, true);
        f.LBSeriesRefreshButtons();
        const std::vector<bool> enabled{f.BAddSeries->isEnabled(),    f.BDeleteSeries->isEnabled(),
                                        f.BRenameSeries->isEnabled(), f.BChangeTypeSeries->isEnabled(),
                                        f.BCloneSeries->isEnabled(),  f.BMoveUP->isEnabled(),
                                        f.BMoveDown->isEnabled()};
        EXPECT_EQ(enabled, t.Enabled) << "options " << t.Options << ", flags " << int(t.Flags);
        EXPECT_EQ(!f.BMoveUP->isHidden(), t.MovesShown);
        EXPECT_EQ(f.LBSeries.AllowDeleteSeries, t.Enabled[1]) << "the Delete key follows the button";
        EXPECT_EQ(f.LBSeries.EnableChangeType, t.Enabled[3]);
    }
    c.Series[0]->SetEditorFlags(0);
}

namespace {

Qt::CheckState CheckOf(const TChartEditForm& F, int Row) { return F.Groups->item(Row)->checkState(); }

} // namespace

TEST(ChartEditor, GroupsCheckAddDeleteAndTakeADraggedSeries)
{
    TEditedChart c;
    TSeriesGroups& groups = c.Chart.SeriesList().Groups();
    TSeriesGroup& wells = groups.Add();
    wells.SetName("Wells");
    wells.Series().Add(c.Series[0]);
    wells.Series().Add(c.Series[1]);
    TSeriesGroup& model = groups.Add();
    model.SetName("Model");
    c.Series[1]->SetActive(false);
    Edit(c.Chart, [](TChartEditForm& f) { f.EditorOptions |= ceoGroups; }, [&](TChartEditForm& f) {
        ASSERT_TRUE(f.PanelGroups->isVisible());
        EXPECT_TRUE(f.BAddGroup->isVisible());
        ASSERT_EQ(f.Groups->count(), 3);
        EXPECT_EQ(f.Groups->item(0)->text(), "(all)");
        EXPECT_EQ(CheckOf(f, 0), Qt::Unchecked) << "not every series is active";
        EXPECT_EQ(CheckOf(f, 1), Qt::PartiallyChecked) << "Wells: one active, one not";
        EXPECT_EQ(CheckOf(f, 2), Qt::Checked) << "an empty group counts as active";

        f.Groups->item(0)->setCheckState(Qt::Checked);  // the user checks "(all)"
        QCoreApplication::processEvents();
        EXPECT_TRUE(c.Series[1]->Active());
        EXPECT_EQ(CheckOf(f, 1), Qt::Checked);
        f.Groups->item(1)->setCheckState(Qt::Unchecked);
        QCoreApplication::processEvents();
        EXPECT_FALSE(c.Series[0]->Active());
        EXPECT_FALSE(c.Series[1]->Active());
        EXPECT_TRUE(c.Series[2]->Active());
        EXPECT_EQ(CheckOf(f, 0), Qt::Unchecked);

        f.Groups->setCurrentRow(1);
        EXPECT_EQ(f.LBSeries.ShownGroup(), &wells);
        EXPECT_EQ(f.LBSeries.Count(), 2) << "the list shows the group's series";
        f.Groups->setCurrentRow(0);
        EXPECT_EQ(f.LBSeries.Count(), 3);

        // A row of the list dragged onto "Model" joins it.
        f.LBSeries.SelectItem(2);
        auto* list = static_cast<QListWidget*>(f.LBSeries.Widget());
        QWidget* viewport = list->viewport();
        const TRect row = f.LBSeries.ItemRect(2);
        const QPoint from(row.Left + 100, row.Top + 5);
        const QRect target = f.Groups->visualItemRect(f.Groups->item(2));
        const QPoint to = viewport->mapFromGlobal(f.Groups->viewport()->mapToGlobal(target.center()));
        const auto mouse = [&](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent e(type, p, viewport->mapToGlobal(p), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(viewport, &e);
        };
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + QPoint(0, 8), Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        EXPECT_TRUE(model.Series().Contains(c.Series[2]));
        EXPECT_EQ(c.Chart.SeriesAt(2), c.Series[2]) << "no reordering";

        f.BAddGroup->click();
        ASSERT_EQ(groups.Count(), 3);
        EXPECT_EQ(groups.GroupAt(2).Name(), "Profiles");
        EXPECT_EQ(f.Groups->count(), 4);
        f.Groups->setCurrentRow(3);
        f.BDeleteGroup->click();
        EXPECT_EQ(groups.Count(), 3) << "No keeps the group";
        f.BDeleteGroup->click();
        EXPECT_EQ(groups.Count(), 2);
        EXPECT_EQ(f.Groups->count(), 3);
    }, [](TPromptScript& script) {
        script.AnswerInput("Profiles");
        script.Expect(TPromptKind::MessageBox, [](TPrompt& p) {
            EXPECT_EQ(p.Text, "Delete Profiles ?");
            p.Result = mrNo;
        });
        script.AnswerMessage(mrYes);
    });
}

TEST(ChartEditor, TreeModeNodesSelectPagesAndElementsAndTheWidthIsRemembered)
{
    TEditedChart c;
    c.Chart.CustomAxes().Add();
    WriteEditorOptionBool("TreeMode", true);
    int widthBefore = 0;
    {
        TChartEditForm f(nullptr);
        f.BindChart(&c.Chart);
        widthBefore = f.width();
        TPromptScript script;
        script.DriveForm([&](TForm&) {
            ASSERT_TRUE(f.Tree->isVisible());
            EXPECT_GT(f.width(), widthBefore + 100) << "the window widens by the tree";
            EXPECT_FALSE(f.MainPage->tabBar()->isVisible());
            QTreeWidget& t = *f.Tree;
            ASSERT_EQ(t.topLevelItemCount(), 3);
            EXPECT_EQ(t.topLevelItem(0)->text(0), "Series");
            EXPECT_EQ(t.topLevelItem(1)->text(0), "Chart");
            EXPECT_EQ(t.topLevelItem(2)->text(0), "Print");
            QTreeWidgetItem* series = t.topLevelItem(0);
            ASSERT_EQ(series->childCount(), 3);
            EXPECT_EQ(series->child(1)->text(0), "Computed");
            QTreeWidgetItem* chart = t.topLevelItem(1);
            ASSERT_EQ(chart->childCount(), 8);
            QTreeWidgetItem* axis = chart->child(1);
            EXPECT_EQ(axis->text(0), "Axis");
            ASSERT_EQ(axis->childCount(), 7);
            EXPECT_EQ(axis->child(6)->text(0), "Custom 0");
            QTreeWidgetItem* titles = chart->child(2);
            ASSERT_EQ(titles->childCount(), 4);
            EXPECT_EQ(titles->child(2)->text(0), "Footer");

            t.setCurrentItem(axis->child(3));
            EXPECT_EQ(f.SubPage->currentIndex(), cetAxis);
            EXPECT_EQ(FormAs<TFormLumAxis>(*f.PageForm(cetAxis)).Axis(), &c.Chart.BottomAxis());
            t.setCurrentItem(titles->child(3));
            EXPECT_EQ(f.SubPage->currentIndex(), cetTitles);
            EXPECT_EQ(FormAs<TFormLumTitle>(*f.PageForm(cetTitles)).Title(), &c.Chart.SubFoot());
            t.setCurrentItem(chart->child(6));
            EXPECT_EQ(f.SubPage->currentIndex(), cetWalls);
            t.setCurrentItem(series->child(2));
            EXPECT_EQ(f.MainPage->currentWidget(), f.TabSeries);
            EXPECT_EQ(f.SeriesHost()->EditedSeries, c.Series[2]);
            t.setCurrentItem(t.topLevelItem(2));
            EXPECT_EQ(f.MainPage->currentWidget(), f.TabPrint);

            EXPECT_TRUE(series->child(1)->flags() & Qt::ItemIsEditable);
            EXPECT_FALSE(chart->child(0)->flags() & Qt::ItemIsEditable) << "only series nodes are renamed";
            series->child(1)->setText(0, "Model curve");  // the in-place editor's commit
            EXPECT_EQ(c.Series[1]->Title(), "Model curve");

            // A node whose series went since the tree was built selects nothing.
            TChartSeries* gone = c.Series[0];
            gone->Free();
            t.setCurrentItem(t.topLevelItem(1));
            t.setCurrentItem(t.topLevelItem(0)->child(0));
            QCoreApplication::processEvents();
            EXPECT_EQ(t.topLevelItem(0)->childCount(), 2) << "the tree is built again";
            EXPECT_NE(f.SeriesHost()->EditedSeries, gone);
            f.done(mrCancel);
        });
        f.ShowModal();
        EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    }
    EXPECT_GE(ReadEditorOptionInteger("TreeWidth", -1), 10);
    EXPECT_EQ(ReadEditorOptionInteger("Width", -1), -1) << "the width without the tree is the designed one";
    ClearEditorOptions();
}
