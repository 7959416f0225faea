// The two gallery dialogs through the prompter: the tabbed one's pages ("Standard" first), its
// change-type mode, the style and 3-D flag a choice returns; the list-style one that "GalleryMode"
// selects, with "(all)" first and the types sorted.
#include "chart/editors/LumGally.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/ChartRegistry.h"
#include "chart/editors/LumGalleryAlternate.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/editors/LumLisB.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/StrUtils.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<std::string> TabTexts(const QTabBar& Bar)
{
    std::vector<std::string> result;
    for (int i = 0; i < Bar.count(); ++i) result.push_back(Bar.tabText(i).toStdString());
    return result;
}

TGalleryChart* MiniatureOf(TChartGalleryPanel& Panel, const TClassInfo& Class)
{
    for (int i = 0; i < Panel.MiniatureCount(); ++i)
        if (&Panel.Miniature(i).SeriesAt(0)->ClassInfo() == &Class) return &Panel.Miniature(i);
    return nullptr;
}

// What a gallery run answers.
struct TChoice {
    bool View3D = true;
    const TClassInfo* SeriesClass = nullptr;
    const TClassInfo* FunctionClass = nullptr;
    int Style = -1;
    bool Run(TChartSeries* Reference, bool Adding, bool DisableRefused)
    {
        return RunGalleryDialog(nullptr, Reference, Adding, DisableRefused, View3D, SeriesClass, FunctionClass, Style);
    }
};

struct TGalleryMode {
    explicit TGalleryMode(int Mode) { WriteEditorOptionInteger("GalleryMode", Mode); }
    ~TGalleryMode() { WriteEditorOptionInteger("GalleryMode", 0); }
};

} // namespace

TEST(GalleryDialogs, StandardRegisteredSecondLeadsTheTabs)
{
    std::vector<TLumSeriesType> saved;
    TLumSeriesTypes& types = *LumSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) saved.push_back(types.GetSeriesType(i));
    types.Clear();
    for (const char* page : {"Other", "Standard", "Extended", "Stats"})
        types.Add({&TLineSeries::StaticClassInfo(), nullptr, "Line", page, 1});
    TLumGallery gallery(nullptr);
    gallery.TabTypesChange();
    const std::vector<std::string> expected{"Standard", "Other", "Extended", "Stats"};
    EXPECT_EQ(TabTexts(*gallery.TabPages), expected);
    types.Clear();
    for (const TLumSeriesType& e : saved) types.Add(e);
}

TEST(GalleryDialogs, ChangeTypeModeHasNoFunctionsTab)
{
    TChartWindow window;
    TLineSeries& line = window.AddSeries<TLineSeries>("line", [](int i) { return double(i); });
    TChoice choice;
    choice.View3D = false;
    {
        TPromptScript script;
        script.DriveForm([&](TForm& Form) {
            auto& gallery = FormAs<TLumGallery>(Form);
            EXPECT_EQ(gallery.Caption(), "Lumigram Gallery");
            EXPECT_EQ(TabTexts(*gallery.TabTypes), std::vector<std::string>{"Series"});
            EXPECT_EQ(gallery.TabPages->tabText(0), "Standard");
            EXPECT_FALSE(gallery.CB3D->isChecked());
            EXPECT_TRUE(gallery.ChartGalleryPanel1->DisableRefused);
            gallery.BCancel->click();
        });
        EXPECT_FALSE(choice.Run(&line, false, true));
        EXPECT_TRUE(script.Failures().empty());
    }

    // Adding offers the function types too.
    TPromptScript adding;
    adding.DriveForm([&](TForm& Form) {
        auto& gallery = FormAs<TLumGallery>(Form);
        EXPECT_EQ(TabTexts(*gallery.TabTypes), (std::vector<std::string>{"Series", "Functions"}));
        gallery.TabTypes->setCurrentIndex(1);
        EXPECT_TRUE(gallery.ChartGalleryPanel1->ShowsFunctions);
        EXPECT_GT(gallery.ChartGalleryPanel1->MiniatureCount(), 0);
        gallery.BOk->click();
    });
    ASSERT_TRUE(choice.Run(nullptr, true, false));
    EXPECT_NE(choice.FunctionClass, nullptr);
}

TEST(GalleryDialogs, MainGridChoiceIsStyleZeroAndFlatKindsTurnThreeDOff)
{
    struct Case {
        const TClassInfo* Class;
        const char* Page;
        bool View3D;
    };
    for (const Case& c : {Case{&TPointSeries::StaticClassInfo(), "Standard", true},
                          Case{&TMapSeries::StaticClassInfo(), "Extended", false}}) {
        TChoice choice;
        choice.View3D = true;
        TPromptScript script;
        script.DriveForm([&](TForm& Form) {
            auto& gallery = FormAs<TLumGallery>(Form);
            for (int i = 0; i < gallery.TabPages->count(); ++i)
                if (gallery.TabPages->tabText(i) == c.Page) gallery.TabPages->setCurrentIndex(i);
            TGalleryChart* m = MiniatureOf(*gallery.ChartGalleryPanel1, *c.Class);
            ASSERT_NE(m, nullptr);
            // A kind that draws its miniature flat (polar, gauge) leaves it 2-D.
            m->SetView3D(c.View3D);
            gallery.ChartGalleryPanel1->MiniatureDblClick(m);
        });
        ASSERT_TRUE(choice.Run(nullptr, true, false)) << c.Page;
        EXPECT_EQ(choice.SeriesClass, c.Class);
        EXPECT_EQ(choice.Style, 0);
        EXPECT_EQ(choice.View3D, c.View3D) << c.Page;
    }
}

TEST(GalleryDialogs, ChangingToTheOwnTypeStillReplacesTheSeries)
{
    TChartWindow window;
    TChartSeries* line = &window.AddSeries<TLineSeries>("line", [](int i) { return double(i); });
    TChartSeries* original = line;
    TPromptScript script;
    script.DriveForm([](TForm& Form) { FormAs<TLumGallery>(Form).BOk->click(); });
    const TClassInfo* result = GalleryChangeSeriesType(nullptr, line);
    EXPECT_EQ(result, &TLineSeries::StaticClassInfo());
    EXPECT_NE(line, original);
    EXPECT_EQ(window.Chart.CountSeries(), 1);
    EXPECT_EQ(window.Chart.SeriesAt(0), line);
    EXPECT_EQ(line->Title(), "line");
}

TEST(GalleryDialogs, GalleryModeOneOpensTheListStyleDialog)
{
    TGalleryMode mode(1);
    TChoice choice;
    choice.View3D = true;
    TPromptScript script;
    script.DriveForm([&](TForm& Form) {
        auto& gallery = FormAs<TLumGalleryForm>(Form);
        EXPECT_EQ(gallery.Caption(), "Lumigram Pro Gallery");
        ASSERT_GT(gallery.CBPage->count(), 1);
        EXPECT_EQ(gallery.CBPage->itemText(0), "(all)");
        EXPECT_EQ(gallery.CBPage->currentText(), "Standard");
        std::vector<std::string> pages;
        for (int i = 1; i < gallery.CBPage->count(); ++i) pages.push_back(gallery.CBPage->itemText(i).toStdString());
        EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()));
        auto* page = gallery.CBPage;
        page->setCurrentIndex(0);
        emit page->activated(0);
        TChartListBox& list = *gallery.ChartListBox1;
        ASSERT_GT(list.Count(), 1);
        std::vector<std::string> items;
        for (int i = 0; i < list.Count(); ++i) items.push_back(list.Item(i));
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
            return CompareText(a, b) < 0;
        }));
        EXPECT_NE(std::find(items.begin(), items.end(), "Map"), items.end()) << "(all) lists every page";
        for (int i = 0; i < list.Count(); ++i)
            if (&list.SeriesOfItem(i)->ClassInfo() == &TPointSeries::StaticClassInfo()) list.SetItemIndex(i);
        gallery.ChartListBox1Click();
        EXPECT_GT(gallery.ChartGalleryPanel1->MiniatureCount(), 1) << "the point kind's sub-styles";
        gallery.BOK->click();
    });
    ASSERT_TRUE(choice.Run(nullptr, true, false));
    EXPECT_TRUE(script.Failures().empty());
    EXPECT_EQ(choice.SeriesClass, &TPointSeries::StaticClassInfo());
    EXPECT_EQ(choice.Style, 0);
}
