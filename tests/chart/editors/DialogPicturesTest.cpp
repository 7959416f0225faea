// Pictures of the editor dialogs on a real chart, for looking at their layout: written only when
// VSP_EDITOR_PICTURES names a folder (the test is skipped otherwise).
#include "chart/editors/LumAbout.h"
#include "chart/editors/LumAxMaxMin.h"
#include "chart/editors/LumEdi3D.h"
#include "chart/editors/LumAxisIncr.h"
#include "chart/editors/LumEdiAxis.h"
#include "chart/editors/LumEdiFont.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumEdiLege.h"
#include "chart/editors/LumEdiPane.h"
#include "chart/editors/LumEdiTitl.h"
#include "chart/editors/LumEdiWall.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/editors/LumEditCha.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/editors/LumFormatting.h"
#include "chart/editors/LumGalleryAlternate.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/editors/LumGally.h"
#include "chart/editors/LumLisB.h"
#include "chart/editors/LumPoEdi.h"
#include "chart/editors/LumShadowEditor.h"

#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/base/RadErareServices.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/series/SeriesLine.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

std::string Folder()
{
    const char* dir = std::getenv("VSP_EDITOR_PICTURES");
    return dir ? dir : "";
}

void Save(QWidget& W, const std::string& Name)
{
    QCoreApplication::processEvents();
    W.grab().save(QString::fromStdString(Folder() + "/" + Name + ".png"));
}

// Saves every tab of the tab widget, then returns to the first.
void SaveTabs(QWidget& Form, QTabWidget& Tabs, const std::string& Name)
{
    for (int i = 0; i < Tabs.count(); ++i) {
        if (!Tabs.isTabVisible(i)) continue;
        Tabs.setCurrentIndex(i);
        Save(Form, Name + "-" + std::to_string(i) + "-" + Tabs.tabText(i).remove('&').replace(' ', '_').toStdString());
    }
    Tabs.setCurrentIndex(0);
}

} // namespace

TEST(DialogPictures, EveryDialogOnARealChart)
{
    if (Folder().empty()) GTEST_SKIP() << "VSP_EDITOR_PICTURES not set";
    TChartWindow c;
    TChart& chart = c.Chart;
    TLineSeries* line = &c.AddSeries<TLineSeries>("Measured", [](int i) { return double((i - 5) * (i - 5) - 10); });
    TPointSeries* points = &c.AddSeries<TPointSeries>("Electrodes", [](int) { return 0.0; });
    c.ShowLegend();
    c.Show();
    Save(*c.Window, "chart");

    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& f = FormAs<TChartEditForm>(form);
        SaveTabs(f, *f.SeriesHost()->PageSeries, "graphic-editor-line");
        f.SeriesHost()->PageSeries->setCurrentWidget(f.SeriesHost()->TabMarks);
        SaveTabs(f, *f.SeriesHost()->PageControlMarks, "graphic-editor-line-marks");
        form.done(mrCancel);
    });
    ShowGraphicEditor(*line);
    script.DriveForm([](TForm& form) {
        auto& f = FormAs<TChartEditForm>(form);
        SaveTabs(f, *f.SeriesHost()->PageSeries, "graphic-editor-points");
        form.done(mrCancel);
    });
    ShowGraphicEditor(*points);
    script.DriveForm([](TForm& form) {
        auto& e = FormAs<TFormLumAxis>(form);
        SaveTabs(e, *e.PageAxis, "axis");
        e.PageAxis->setCurrentWidget(e.TabLabels);
        SaveTabs(e, *e.PageLabels, "axis-labels");
        e.PageAxis->setCurrentWidget(e.TabTitle);
        SaveTabs(e, *e.PageTitle, "axis-title");
        e.PageAxis->setCurrentIndex(0);
        e.BIncre->click();
        e.BAxisMax->click();
        form.done(mrCancel);
    });
    script.DriveForm([](TForm& form) {
        Save(form, "increment");
        form.done(mrCancel);
    });
    script.DriveForm([](TForm& form) {
        Save(form, "axis-maximum");
        form.done(mrCancel);
    });
    ShowAxisDialog(chart, chart.BottomAxis());
    {
        TAxisIncrement dates(nullptr);
        dates.DateTimeAxis = true;
        dates.ExactSteps = true;
        dates.IncrementValue = 1;
        dates.StepIndex = 16;
        script.DriveForm([](TForm& form) {
            Save(form, "increment-datetime");
            form.done(mrCancel);
        });
        dates.ShowModal();
    }
    script.DriveForm([](TForm& form) {
        auto& e = FormAs<TFormLumLegend>(form);
        SaveTabs(e, *e.PageControl1, "legend");
        e.PageControl1->setCurrentWidget(e.TabTitle);
        SaveTabs(e, *e.PageControl2, "legend-title");
        form.done(mrCancel);
    });
    {
        auto legend = TFormLumLegend::CreateForLegend(nullptr, chart.Legend());
        legend->SetCaption("Legend options");
        legend->ShowModal();
    }
    script.DriveForm([](TForm& form) {
        Save(form, "number-format");
        form.done(mrCancel);
    });
    ShowFormatEditor(nullptr, "#,##0.00", true);
    script.DriveForm([](TForm& form) {
        Save(form, "font");
        form.done(mrCancel);
    });
    ShowFontEditorModal(nullptr, chart.Title().Font());
    script.DriveForm([](TForm& form) {
        auto& g = FormAs<TLumGradientEditor>(form);
        SaveTabs(g, *g.PageControl1, "gradient");
        form.done(mrCancel);
    });
    ShowGradientEditorModal(nullptr, chart.Gradient());
    script.DriveForm([](TForm& form) {
        Save(form, "shadow");
        form.done(mrCancel);
    });
    ShowShadowEditorModal(nullptr, chart.Legend().Shadow());
    script.DriveForm([](TForm& form) {
        Save(form, "pointer");
        form.done(mrCancel);
    });
    ShowPointerEditorModal(nullptr, points->Pointer());
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
}

TEST(DialogPictures, SeriesListAndGalleries)
{
    if (Folder().empty()) GTEST_SKIP() << "VSP_EDITOR_PICTURES not set";
    TChartWindow c;
    TLineSeries* line = &c.AddSeries<TLineSeries>("Measured", [](int i) { return double((i - 5) * (i - 5) - 10); });
    c.AddSeries<TPointSeries>("Electrodes", [](int) { return 0.0; });
    c.AddSeries<TAreaSeries>("Background", [](int i) { return double(i % 3); }).SetActive(false);
    c.Show();
    {
        QWidget window;
        window.setGeometry(700, 60, 260, 120);
        TChartListBox list(nullptr);
        list.SetParentWidget(&window);
        list.SetBounds(0, 0, 260, 120);
        list.SetChart(&c.Chart);
        list.SetSelected(1, true);
        window.show();
        Save(window, "series-list");
    }

    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& g = FormAs<TLumGallery>(form);
        for (int i = 0; i < g.TabPages->count(); ++i) {
            g.TabPages->setCurrentIndex(i);
            Save(form, "gallery-" + g.TabPages->tabText(i).toStdString());
        }
        g.TabTypes->setCurrentIndex(1);
        Save(form, "gallery-functions");
        g.TabTypes->setCurrentIndex(0);
        g.CBSmooth->click();
        Save(form, "gallery-smooth");
        g.CBSmooth->click();
        g.ChartGalleryPanel1->PopupSubStyles();
        form.done(mrCancel);
    });
    script.DriveForm([](TForm& form) {
        Save(form, "gallery-substyles");
        form.done(mrCancel);
    });
    int style = -1;
    CreateSeriesFromGallery(nullptr, line, &c.Chart, true, false, style);
    WriteEditorOptionInteger("GalleryMode", 1);
    script.DriveForm([](TForm& form) {
        Save(form, "gallery-list-style");
        form.done(mrCancel);
    });
    CreateSeriesFromGallery(nullptr, line, &c.Chart, true, false, style);
    WriteEditorOptionInteger("GalleryMode", 0);
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
}

TEST(DialogPictures, PanelTitlesAndWallsPages)
{
    if (Folder().empty()) GTEST_SKIP() << "VSP_EDITOR_PICTURES not set";
    TChartWindow c;
    c.AddSeries<TLineSeries>("Measured", [](int i) { return double((i - 5) * (i - 5) - 10); });
    c.Chart.Title().Text().SetText("Profile A");
    c.Show();
    TPromptScript script;
    const auto tabs = [](const std::string& Name) {
        return [Name](TForm& form) {
            if (auto* pages = form.findChild<QTabWidget*>()) SaveTabs(form, *pages, Name);
            form.done(mrCancel);
        };
    };
    script.DriveForm(tabs("panel-page"));
    TFormLumPanel::CreateForPanel(nullptr, c.Chart)->ShowModal();
    script.DriveForm(tabs("titles-page"));
    TFormLumTitle::CreateForTitle(nullptr, c.Chart, &c.Chart.Title())->ShowModal();
    script.DriveForm([](TForm& form) {
        Save(form, "walls-page");
        form.done(mrCancel);
    });
    TFormLumWall::CreateForWall(nullptr, c.Chart.LeftWall())->ShowModal();
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
}

TEST(DialogPictures, ChartEditorWindow)
{
    if (Folder().empty()) GTEST_SKIP() << "VSP_EDITOR_PICTURES not set";
    ClearEditorOptions();
    TChartWindow c;
    c.Chart.SetName("Profile");
    TLineSeries& measured = c.AddSeries<TLineSeries>("Measured", [](int i) { return double((i - 5) * (i - 5) - 10); });
    c.AddSeries<TPointSeries>("Electrodes", [](int) { return 0.0; });
    c.AddSeries<TAreaSeries>("Background", [](int i) { return double(i % 3); }).SetActive(false);
    TSeriesGroup& group = c.Chart.SeriesList().Groups().Add();
    group.SetName("Field data");
    group.Series().Add(&measured);
    c.Chart.Title().Text().SetText("Profile A");
    c.Show();
    const auto pages = [](const std::string& Name) {
        return [Name](TForm& form) {
            auto& f = FormAs<TChartEditForm>(form);
            for (int i = 0; i < f.SubPage->count(); ++i) {
                f.MainPage->setCurrentWidget(f.TabChart);
                f.SubPage->setCurrentIndex(i);
                Save(form, Name + "-chart-" + std::to_string(i) + "-" + f.SubPage->tabText(i).toStdString());
            }
            auto& threeD = FormAs<TFormLum3D>(*f.PageForm(cet3D));
            threeD.PageControl1->setCurrentWidget(threeD.TabViews);
            Save(form, Name + "-chart-8-3D-views");
            f.MainPage->setCurrentWidget(f.TabSeries);
            Save(form, Name + "-series");
            f.MainPage->setCurrentWidget(f.TabPrint);
            Save(form, Name + "-print");
            form.done(mrCancel);
        };
    };
    {
        TChartEditForm form(nullptr);
        form.BindChart(&c.Chart);
        form.EditorOptions |= ceoGroups;
        TPromptScript script;
        script.DriveForm(pages("editor"));
        form.ShowModal();
        EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    }
    WriteEditorOptionBool("TreeMode", true);
    {
        TChartEditForm form(nullptr);
        form.BindChart(&c.Chart);
        TPromptScript script;
        script.DriveForm([](TForm& form) {
            auto& f = FormAs<TChartEditForm>(form);
            Save(form, "editor-tree");
            f.Tree->setCurrentItem(f.Tree->topLevelItem(1)->child(1)->child(3));
            Save(form, "editor-tree-bottom-axis");
            form.done(mrCancel);
        });
        form.ShowModal();
        EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    }
    ClearEditorOptions();
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        for (int i = 0; i < 20; ++i) FormAs<TLumAboutForm>(form).Timer1Timer();
        Save(form, "about");
        form.done(mrCancel);
    });
    ShowAboutBox("", "");
}
