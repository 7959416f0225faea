// The editor lookup by class name, the series editor host (Format shown or hidden by the series' editor,
// rebuilding only for another series, custom axes in the axis lists, a deleted series, the General and
// Marks writes), the line series' format page and the pointer editor.
#include "chart/editors/LumCustEdit.h"
#include "chart/editors/LumCustomShapeEditor.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/editors/LumPoEdi.h"
#include "chart/editors/LumShadowEditor.h"

#include "chart/control/ChartControl.h"
#include "chart/control/LumLegendScrollBar.h"
#include "chart/control/LumTools.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineMarksSymbol.h"
#include "chart/engine/LumEnginePointer.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/SeriesFastLine.h"
#include "chart/series/SeriesLine.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

std::vector<std::string> VisibleTabs(const QTabWidget& Tabs)
{
    std::vector<std::string> result;
    for (int i = 0; i < Tabs.count(); ++i)
        if (Tabs.isTabVisible(i)) result.push_back(Tabs.tabText(i).toStdString());
    return result;
}

// A chart with series of the given kinds, and a host shown on it.
struct THostFixture {
    TChart Chart{nullptr};
    std::unique_ptr<TFormLumSeries> Host = std::make_unique<TFormLumSeries>(nullptr);

    template <class T>
    T& Add(const std::string& Title)
    {
        auto* s = new T(&Chart);
        s->SetTitle(Title);
        for (int i = 0; i < 5; ++i) s->InsertPoint(i, i * i);
        s->SetParentChart(&Chart);
        return *s;
    }
    void Show(TChartSeries& Series)
    {
        std::vector<TChartSeries*> all;
        for (int i = 0; i < Chart.CountSeries(); ++i) all.push_back(Chart.SeriesAt(i));
        Host->SetSeriesChoices(all);
        Host->EditedSeries = &Series;
        Host->show();
        Host->ShowCurrentSeries();
    }
    std::string Active() const { return Host->PageSeries->tabText(Host->PageSeries->currentIndex()).toStdString(); }
    void Activate(QWidget* Page) { Host->PageSeries->setCurrentWidget(Page); }
};

} // namespace

TEST(EditorLookup, FindsTheFormsRegisteredForTheClassesNames)
{
    TChart chart(nullptr);
    struct Case {
        std::function<TCustomChartElement*()> Make;
        const char* Name;  // the editor form name the class answers
        const char* Form;  // the form found; nullptr: none (no name, or its form is not built)
    };
    const std::vector<Case> cases = {
        {[&] { return new TLineSeries(&chart); }, "TCustomSeriesEditor", "TCustomSeriesEditor"},
        {[&] { return new THorizLineSeries(&chart); }, "TCustomSeriesEditor", "TCustomSeriesEditor"},
        {[&] { return new TPointSeries(&chart); }, "TSeriesPointerEditor", "TSeriesPointerEditor"},
        {[&] { return new TAreaSeries(&chart); }, "TAreaSeriesEditor", nullptr},
        {[&] { return new THorizAreaSeries(&chart); }, "TAreaSeriesEditor", nullptr},
        {[&] { return new TFastLineSeries(&chart); }, "TFastLineSeriesEditor", nullptr},
        {[&] { return new TMapSeries(&chart); }, "TMapSeriesEditor", nullptr},
        {[&] { return new TPolygonSeries(&chart); }, "", nullptr},
        {[&] { return new TChartImageTool(&chart); }, "TChartImageToolEditor", nullptr},
        {[&] { return new TLegendScrollBar(&chart); }, "TScrollBarEditor", nullptr},
    };
    for (const Case& c : cases) {
        TCustomChartElement* e = c.Make();
        EXPECT_EQ(EditorNameOfClass(*e), c.Name) << e->ClassName();
        TFormFactory factory = FindEditorClass(*e);
        ASSERT_EQ(bool(factory), c.Form != nullptr) << e->ClassName();
        if (!factory) continue;
        std::unique_ptr<TForm> form = factory(nullptr);
        if (std::string(c.Form) == "TCustomSeriesEditor") {
            EXPECT_NE(dynamic_cast<TCustomSeriesEditor*>(form.get()), nullptr);
        } else {
            EXPECT_NE(dynamic_cast<TSeriesPointerEditor*>(form.get()), nullptr);
        }
    }
    EXPECT_FALSE(FindFormClass(""));
    EXPECT_FALSE(FindFormClass("TNoSuchEditor"));
    EXPECT_TRUE(FindFormClass("tseriespointereditor")) << "class names are found whatever their case";
}

TEST(SeriesHost, FormatFollowsTheSeriesEditorAndTheSameSeriesRebuildsNothing)
{
    THostFixture f;
    TFastLineSeries& fast = f.Add<TFastLineSeries>("Fast");
    TLineSeries& line = f.Add<TLineSeries>("Line");
    TPointSeries& points = f.Add<TPointSeries>("Points");
    f.Show(fast);
    EXPECT_EQ(VisibleTabs(*f.Host->PageSeries), (std::vector<std::string>{"General", "Marks"}));
    EXPECT_EQ(f.Active(), "General");
    EXPECT_EQ(f.Host->TypeEditor(), nullptr);

    f.Show(line);
    EXPECT_EQ(f.Active(), "General") << "the tab is kept by its caption";
    EXPECT_EQ(VisibleTabs(*f.Host->PageSeries), (std::vector<std::string>{"Format", "General", "Marks"}));
    f.Activate(f.Host->TheTabSheet);
    EXPECT_EQ(VisibleTabs(*f.Host->PageSeries), (std::vector<std::string>{"Format", "Point", "General", "Marks"}))
        << "the line page adds the pointer page when it shows";
    auto* editor = dynamic_cast<TCustomSeriesEditor*>(f.Host->TypeEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Tag(), &line);
    EXPECT_EQ(f.Host->LabelSeriesClass->text().toStdString().find(": Line") != std::string::npos, true);

    f.Show(line);
    EXPECT_EQ(f.Host->TypeEditor(), editor) << "the series already built is not built again";

    f.Show(points);
    EXPECT_EQ(VisibleTabs(*f.Host->PageSeries), (std::vector<std::string>{"Format", "General", "Marks"}));
    EXPECT_EQ(f.Active(), "Format");
    auto* pointer = dynamic_cast<TSeriesPointerEditor*>(f.Host->TypeEditor());
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(pointer->Pointer(), &points.Pointer());
    EXPECT_TRUE(pointer->CBColorEach->isVisible()) << "a series' pointer page offers colour each";
}

TEST(SeriesHost, CustomAxesAndTheGeneralControls)
{
    THostFixture f;
    TLineSeries& line = f.Add<TLineSeries>("Line");
    TChartAxis& v0 = f.Chart.CustomAxes().Add();
    TChartAxis& h1 = f.Chart.CustomAxes().Add();
    h1.SetHorizontal(true);
    f.Chart.CustomAxes().Add();
    f.Show(line);
    f.Activate(f.Host->TabGeneral);
    QComboBox& vert = *f.Host->CBVertAxis;
    QComboBox& horiz = *f.Host->CBHorizAxis;
    ASSERT_EQ(vert.count(), 5);
    EXPECT_EQ(vert.itemText(3), "Custom  0");
    EXPECT_EQ(vert.itemText(4), "Custom  2");
    ASSERT_EQ(horiz.count(), 4);
    EXPECT_EQ(horiz.itemText(3), "Custom  1");
    EXPECT_EQ(horiz.currentIndex(), 1);

    vert.setCurrentIndex(3);
    emit vert.activated(3);
    EXPECT_EQ(line.VertAxis(), aCustomVertAxis);
    EXPECT_EQ(line.CustomVertAxis(), &v0);
    horiz.setCurrentIndex(0);
    emit horiz.activated(0);
    EXPECT_EQ(line.HorizAxis(), aTopAxis);

    f.Host->CBShowInLegend->click();
    EXPECT_FALSE(line.ShowInLegend());
    f.Host->UDDepth->setValue(40);
    EXPECT_EQ(line.Depth(), 40);
    f.Host->CBDepth->click();
    EXPECT_EQ(line.Depth(), -1);
    f.Host->CBXDateTime->click();
    EXPECT_TRUE(line.XValues().DateTime());
    f.Host->CBYDateTime->click();
    EXPECT_TRUE(line.YValues().DateTime());
    f.Host->CBFormat->setCurrentText("0.00");
    EXPECT_EQ(line.ValueFormat(), "0.00");
    f.Host->EPercentFormat->setCurrentText("0 %");
    EXPECT_EQ(line.PercentFormat(), "0 %");
    Choose(f.Host->CBCursor, f.Host->CBCursor.Items().size() > 3 ? 3 : 0);
    EXPECT_EQ(line.Cursor(), LookupCursorByName(crDefault, f.Host->CBCursor.Text()));
    f.Host->CBSort->setCurrentIndex(1);
    emit f.Host->CBSort->activated(1);
    EXPECT_EQ(line.YValues().Order(), loDescending);
    EXPECT_EQ(line.XValues().Order(), loNone);
    EXPECT_EQ(line.YValueAt(0), 16) << "descending re-sorts the points at once";
    EXPECT_EQ(line.YValueAt(4), 0);

    // The format editor's result is stored in the neutral form.
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        form.findChild<QCheckBox*>(QString(), Qt::FindChildrenRecursively);
        form.done(mrOk);
    });
    f.Host->BFormat->click();
    EXPECT_TRUE(script.Failures().empty());
    EXPECT_EQ(line.ValueFormat(), "0.00");
}

TEST(SeriesHost, MarksControlsWriteAndTheShapePagesJoin)
{
    THostFixture f;
    TLineSeries& line = f.Add<TLineSeries>("Line");
    TLineSeries& other = f.Add<TLineSeries>("Other");
    f.Show(line);
    f.Activate(f.Host->TabMarks);
    EXPECT_EQ(f.Host->PageControlMarks->count(), 7) << "Style, Arrows, Symbol and the four format pages";
    EXPECT_EQ(f.Host->PageControlMarks->tabText(3), "Format");
    EXPECT_EQ(f.Host->PageControlMarks->currentIndex(), 0);

    f.Host->CBMarksVisible->click();
    EXPECT_TRUE(line.Marks().Visible());
    EXPECT_FALSE(f.Host->CBAllVisible->isChecked());
    f.Host->CBAllVisible->click();
    EXPECT_TRUE(other.Marks().Visible());
    EXPECT_FALSE(f.Host->CBMultiLine->isEnabled());
    f.Host->MarkStyleButtons[smsLabelValue]->click();
    EXPECT_EQ(line.Marks().Style(), smsLabelValue);
    EXPECT_TRUE(f.Host->CBMultiLine->isEnabled());
    f.Host->CBMultiLine->click();
    EXPECT_TRUE(line.Marks().MultiLine());
    f.Host->UDEvery->setValue(3);
    EXPECT_EQ(line.Marks().DrawEvery(), 3);
    f.Host->CBMarkClip->click();
    EXPECT_TRUE(line.Marks().Clip());
    f.Host->UDMarksAngle->setValue(90);
    EXPECT_EQ(line.Marks().Angle(), 90);
    f.Host->UDArrowsLength->setValue(-30);
    EXPECT_EQ(line.Marks().Callout().Length(), -30);
    f.Host->UDArrowDist->setValue(7);
    EXPECT_EQ(line.Marks().Callout().Distance(), 7);
    f.Host->CBHead->setCurrentIndex(2);
    emit f.Host->CBHead->activated(2);
    EXPECT_EQ(line.Marks().Callout().ArrowHead(), ahSolid);
    f.Host->UDHeadSize->setValue(12);
    EXPECT_EQ(line.Marks().Callout().ArrowHeadSize(), 12);

    // The symbol page: no colour button and no text page, its own "Visible".
    TFormLumShape& symbol = *f.Host->MarksSymbolEditor();
    EXPECT_EQ(symbol.Shape(), &line.Marks().Symbol());
    EXPECT_FALSE(symbol.PC1->isTabVisible(symbol.PC1->indexOf(symbol.TabText)));
    const bool was = line.Marks().Symbol().Visible();
    f.Host->SymbolVisible()->click();
    EXPECT_NE(line.Marks().Symbol().Visible(), was);
    // The callout's pointer opens the pointer dialog.
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& e = FormAs<TSeriesPointerEditor>(form);
        EXPECT_EQ(e.Caption(), "Pointer");
        EXPECT_TRUE(e.Button1->isVisible());
        EXPECT_FALSE(e.CBInflate->isVisible());
        e.Button1->click();
    });
    f.Host->BCalloutPointer->click();
    EXPECT_TRUE(script.Failures().empty());
}

TEST(SeriesHost, DeletingTheShownSeriesEmptiesTheHost)
{
    THostFixture f;
    TLineSeries* line = &f.Add<TLineSeries>("Line");
    f.Show(*line);
    ASSERT_NE(f.Host->TypeEditor(), nullptr);
    delete line;
    EXPECT_EQ(f.Host->EditedSeries, nullptr);
    EXPECT_FALSE(f.Host->PageSeries->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.Host->TypeEditor(), nullptr);
    f.Chart.Invalidate();
}

TEST(LineFormatPage, EachControlWritesAndOtherKindsHideTheLineControls)
{
    THostFixture f;
    TLineSeries& line = f.Add<TLineSeries>("Line");
    f.Show(line);
    f.Activate(f.Host->TheTabSheet);
    auto& e = *dynamic_cast<TCustomSeriesEditor*>(f.Host->TypeEditor());
    EXPECT_FALSE(e.CBInvStairs->isEnabled());
    e.CBStairs->click();
    EXPECT_TRUE(line.Stairs());
    EXPECT_TRUE(e.CBInvStairs->isEnabled());
    e.CBInvStairs->click();
    EXPECT_TRUE(line.InvertedStairs());
    e.CBStairs->click();
    EXPECT_FALSE(e.CBInvStairs->isEnabled());
    EXPECT_TRUE(line.InvertedStairs()) << "unchecking stairs keeps the inverted value";
    e.CBColorEach->click();
    EXPECT_TRUE(line.ColorEachPoint());
    const bool dark = line.Dark3D();
    e.CBDark3D->click();
    EXPECT_EQ(line.Dark3D(), !dark);
    Choose(e.CBStack, 2);
    EXPECT_EQ(line.Stacked(), cssStack);
    e.UDHeight->setValue(6);
    EXPECT_EQ(line.LineHeight(), 6);
    const bool clickable = line.ClickableLine();
    e.CBClick->click();
    EXPECT_EQ(line.ClickableLine(), !clickable);
    const bool eachLine = line.ColorEachLine();
    e.CheckBox1->click();
    EXPECT_EQ(line.ColorEachLine(), !eachLine);
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& shadow = FormAs<TLumShadowEditor>(form);
        EXPECT_FALSE(shadow.CBSmooth->isVisible());
        EXPECT_FALSE(shadow.UDShadowTransp->isVisible());
        shadow.UDShadowSize->setValue(5);
        shadow.BOK->click();
    });
    e.Button1->click();
    EXPECT_EQ(line.Shadow().HorizSize(), 5);

    // Not a line series: the pattern, outline, stairs, dark 3-D and height controls are hidden.
    TPointSeries& points = f.Add<TPointSeries>("Points");
    TCustomSeriesEditor page(nullptr);
    page.SetTag(&points);
    page.show();
    EXPECT_FALSE(page.GBStair->isVisible());
    EXPECT_FALSE(page.BBrush->isVisible());
    EXPECT_FALSE(page.UDHeight->isVisible());
    EXPECT_TRUE(page.CBClick->isVisible());
    EXPECT_EQ(page.PointerPage(), nullptr) << "a page on no host adds no pointer page";
}

TEST(PointerEditor, EnablingSizesAndDefaultColours)
{
    TChart chart(nullptr);
    auto* points = new TPointSeries(&chart);
    points->SetParentChart(&chart);
    TSeriesPointer& p = points->Pointer();
    for (bool view3D : {false, true}) {
        chart.SetView3D(view3D);
        TSeriesPointerEditor e(nullptr);
        e.SetTag(&p);
        e.show();
        EXPECT_FALSE(e.CBColorEach->isVisible());
        EXPECT_EQ(e.CB3dPoint->isEnabled(), view3D);
        Choose(e.CBStyle, psStar);
        EXPECT_EQ(p.Style(), psStar);
        EXPECT_FALSE(e.CB3dPoint->isEnabled()) << "a star is never 3-D";
        EXPECT_FALSE(e.CBPoDark->isEnabled());
        Choose(e.CBStyle, psRectangle);
        EXPECT_EQ(e.CBPoDark->isEnabled(), view3D && p.Draw3D());
    }
    {
        TSeriesPointerEditor e(nullptr);
        e.SetTag(points);
        e.show();
        EXPECT_TRUE(e.UDPointHorizSize->isVisible());
        e.UDPointHorizSize->setValue(9);
        EXPECT_EQ(p.HorizSize(), 9);
        e.UDPointVertSize->setValue(2);
        EXPECT_EQ(p.VertSize(), 2);
        e.CBInflate->click();
        EXPECT_FALSE(p.InflateMargins());
        e.CBColorEach->click();
        EXPECT_TRUE(points->ColorEachPoint());
        e.CBDrawPoint->click();
        EXPECT_FALSE(p.Visible());
        EXPECT_FALSE(e.UDPointHorizSize->isEnabled());
        EXPECT_FALSE(e.CB3dPoint->isEnabled());
        e.CBDrawPoint->click();
        EXPECT_TRUE(e.UDPointHorizSize->isEnabled());

        // "Default" sets both colours to the default; unchecked, a default pen turns black.
        p.SetBrushColor(clRed);
        e.hide();
        e.show();
        EXPECT_FALSE(e.CBDefBrushColor->isChecked());
        e.CBDefBrushColor->click();
        EXPECT_EQ(p.GetBrushColor(), clDefault);
        EXPECT_EQ(p.Pen().Color(), clDefault);
        e.CBDefBrushColor->click();
        EXPECT_EQ(p.Pen().Color(), clBlack);
        EXPECT_EQ(p.GetBrushColor(), clDefault);
    }
    p.SetSizeEditable(false);
    TSeriesPointerEditor e(nullptr);
    e.SetTag(&p);
    e.show();
    EXPECT_FALSE(e.UDPointHorizSize->isVisible());
    EXPECT_FALSE(e.LHeight->isVisible());
    // The gradient opens without its end colour (a series pointer's gradient ends in the point colour).
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& g = FormAs<TLumGradientEditor>(form);
        EXPECT_FALSE(g.BSwap->isVisible());
        g.BCancel->click();
    });
    e.BGradient->click();
    EXPECT_TRUE(script.Failures().empty());
}
