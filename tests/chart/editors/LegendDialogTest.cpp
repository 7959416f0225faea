// The legend dialog: opened by the legend pop-up's "Options" as "Legend options", custom position enabling
// both ways, the check box styles, pixels and percent, a two-line title, and the symbol editor.
#include "chart/editors/LumCustomShapeEditor.h"
#include "chart/editors/LumEdiLege.h"
#include "chart/editors/LumSymbolEditor.h"

#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Menus.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TLegendChart : TChartWindow {
    TLegendChart()
    {
        for (const char* title : {"Measured", "Computed"}) AddSeries<TLineSeries>(title, [](int i) { return double(i); });
        ShowLegend();
        Show();
    }
};

void Activate(QComboBox& Combo, int Index)
{
    Combo.setCurrentIndex(Index);
    emit Combo.activated(Index);
}

} // namespace

TEST(LegendDialog, OpensFromTheLegendPopupAndEditsPositionAndStyle)
{
    TLegendChart c;
    TChartLegend& legend = c.Chart.Legend();
    legend.SetResizeChart(true);
    TPromptScript script;
    script.Expect(TPromptKind::PopupMenu, [](TPrompt& p) {
        EXPECT_TRUE(p.Menu->Items(0)->Enabled());
        p.MenuIndex = 0;
        p.Result = mrOk;
    });
    bool driven = false;
    script.DriveForm([&](TForm& form) {
        driven = true;
        auto& e = FormAs<TFormLumLegend>(form);
        EXPECT_EQ(e.Caption(), "Legend options");
        EXPECT_EQ(e.Legend(), &legend);
        EXPECT_EQ(e.PageControl1->count(), 8) << "Style, Position, Symbols, Title and the four shape pages";
        EXPECT_EQ(e.PageControl1->currentIndex(), 0);
        EXPECT_EQ(e.PageControl2->tabText(1), "Format");

        // Custom position: on unchecks "Resize Chart" and swaps the enabling; off keeps ResizeChart.
        EXPECT_FALSE(e.ECustLeft->isEnabled());
        EXPECT_TRUE(e.SEMargin->isEnabled());
        e.CBCustPos->click();
        EXPECT_TRUE(legend.CustomPosition());
        EXPECT_FALSE(legend.ResizeChart());
        EXPECT_FALSE(e.CBResizeChart->isChecked());
        EXPECT_TRUE(e.ECustLeft->isEnabled());
        EXPECT_TRUE(e.CBPosPercent->isEnabled());
        EXPECT_FALSE(e.SEMargin->isEnabled());
        EXPECT_FALSE(e.SETopPos->isEnabled());
        EXPECT_FALSE(e.CBResizeChart->isEnabled());
        // Pixels move the legend by pixels; percent sets the percent edges.
        e.CBPosPercent->setChecked(true);
        e.CBPosPercent->click();
        EXPECT_EQ(legend.PositionUnits(), muPixels);
        e.ECustLeft->setValue(40);
        e.ECustTop->setValue(25);
        EXPECT_EQ(legend.Left(), 40);
        EXPECT_EQ(legend.Top(), 25);
        e.CBPosPercent->click();
        EXPECT_EQ(legend.PositionUnits(), muPercent);
        e.ECustLeft->setValue(60);
        EXPECT_EQ(legend.LeftPercent(), 60);
        EXPECT_EQ(legend.Left(), 40) << "percent leaves the pixel edge";
        e.CBCustPos->click();
        EXPECT_FALSE(legend.CustomPosition());
        EXPECT_FALSE(legend.ResizeChart()) << "switching back keeps ResizeChart";
        EXPECT_TRUE(e.SEMargin->isEnabled());
        EXPECT_FALSE(e.ECustLeft->isEnabled());

        // Check boxes.
        Activate(*e.CBCheckBoxes, 2);
        EXPECT_TRUE(legend.CheckBoxes());
        EXPECT_EQ(legend.CheckBoxesStyle(), cbsRadio);
        Activate(*e.CBCheckBoxes, 1);
        EXPECT_EQ(legend.CheckBoxesStyle(), cbsCheck);
        Activate(*e.CBCheckBoxes, 0);
        EXPECT_FALSE(legend.CheckBoxes());

        // Style and position writes.
        Activate(*e.CBLegStyle, 3);
        EXPECT_EQ(legend.TextStyle(), ltsLeftPercent);
        e.EVertSpacing->setValue(-4);
        EXPECT_EQ(legend.VertSpacing(), -4);
        e.PositionButtons[laBottom]->click();
        EXPECT_EQ(legend.Alignment(), laBottom);
        e.SEMargin->setValue(12);
        EXPECT_EQ(legend.VertMargin(), 12) << "a top or bottom legend's margin is vertical";
        e.PositionButtons[laLeft]->click();
        e.SEMargin->setValue(7);
        EXPECT_EQ(legend.HorizMargin(), 7);
        e.SETopPos->setValue(30);
        EXPECT_EQ(legend.TopPos(), 30);

        // A two-line title.
        e.MemoText->setPlainText("Survey\nLine 3");
        ASSERT_EQ(legend.Title().Text().Count(), 2);
        EXPECT_EQ(legend.Title().Text()[0], "Survey");
        EXPECT_EQ(legend.Title().Text()[1], "Line 3");
        Activate(*e.CBTextAlign, 2);
        EXPECT_EQ(legend.Title().TextAlignment(), taRightJustify);
        form.done(mrCancel);
    });
    c.RightClick(c.LegendItem(0), Qt::ShiftModifier);
    EXPECT_TRUE(driven);
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
}

TEST(LegendDialog, SymbolEditorWritesTheSymbol)
{
    TLegendChart c;
    TLegendSymbol& symbol = c.Chart.Legend().Symbol();
    symbol.SetSquared(true);
    auto form = TFormLumLegend::CreateForLegend(nullptr, c.Chart.Legend());
    form->show();
    form->PageControl1->setCurrentWidget(form->TabSymbols);
    TSymbolEditor& e = *form->SymbolEditor();
    EXPECT_EQ(e.Symbol(), &symbol);
    EXPECT_TRUE(e.SEColWi->isEnabled()) << "loading a squared symbol leaves the width enabled";
    e.CBSquared->click();
    EXPECT_FALSE(symbol.Squared());
    e.CBSquared->click();
    EXPECT_FALSE(e.SEColWi->isEnabled());
    e.CBSquared->click();
    e.SEColWi->setValue(35);
    EXPECT_EQ(symbol.Width(), 35);
    Activate(*e.CBColWUnits, 1);
    EXPECT_EQ(symbol.WidthUnits(), lcsPixels);
    Activate(*e.CBSymbolPos, 1);
    EXPECT_EQ(symbol.Position(), spRight);
    e.CBContinuous->click();
    EXPECT_TRUE(symbol.Continuous());
    EXPECT_FALSE(e.BSymPen.Enabled()) << "the default border";
    e.CBSymPen->click();
    EXPECT_FALSE(symbol.DefaultPen());
    EXPECT_TRUE(e.BSymPen.Enabled());
    EXPECT_TRUE(e.BSymGradient.HideEndColor());
}
