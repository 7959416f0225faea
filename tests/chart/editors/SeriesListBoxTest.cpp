// The series list box on a chart: where the sections sit, radio checks, deleting the selection with its
// question, dragging a row onto another, changing the type of several series with one gallery, renaming,
// the keys that follow the Allow switches, the in-place title, and the rows following the chart's events.
#include "chart/editors/LumLisB.h"

#include "chart/editors/LumGally.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/StringList.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Four series in a chart and the list on them, shown.
struct TListedChart : TChartWindow {
    QWidget ListWindow;
    TChartListBox List{nullptr};
    std::vector<TChartSeries*> Series;
    TListedChart()
    {
        for (const char* title : {"North", "East", "South", "West"}) {
            Series.push_back(&AddSeries<TLineSeries>(title, [](int i) { return double(i); }));
            Series.back()->SetName(std::string("Series") + title);
        }
        ListWindow.setGeometry(600, 50, 300, 200);
        List.SetParentWidget(&ListWindow);
        List.SetBounds(0, 0, 300, 200);
        List.SetChart(&Chart);
        ListWindow.show();
        QCoreApplication::processEvents();
    }
    std::vector<TChartSeries*> ChartOrder() const
    {
        std::vector<TChartSeries*> result;
        for (int i = 0; i < Chart.CountSeries(); ++i) result.push_back(Chart.SeriesAt(i));
        return result;
    }
    std::vector<TChartSeries*> Rows() const
    {
        std::vector<TChartSeries*> result;
        for (int i = 0; i < List.Count(); ++i) result.push_back(List.SeriesOfItem(i));
        return result;
    }
    QWidget* Viewport() const { return static_cast<QListWidget*>(List.Widget())->viewport(); }
    QPoint RowPoint(int Row, int X) const
    {
        const TRect r = List.ItemRect(Row);
        return {X, (r.Top + r.Bottom) / 2};
    }
    void Mouse(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons)
    {
        QMouseEvent e(Type, P, Viewport()->mapToGlobal(P), Button, Buttons, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &e);
    }
    void Key(int QtKey)
    {
        QKeyEvent press(QEvent::KeyPress, QtKey, Qt::NoModifier);
        QApplication::sendEvent(List.Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, QtKey, Qt::NoModifier);
        QApplication::sendEvent(List.Widget(), &release);
    }
    void SelectRows(std::initializer_list<int> Rows)
    {
        for (int i = 0; i < List.Count(); ++i) List.SetSelected(i, false);
        for (int r : Rows) List.SetSelected(r, true);
    }
};

} // namespace

TEST(SeriesListBox, SectionsSitWhereTheRowDrawsThem)
{
    TListedChart c;
    struct Case {
        bool IconShown;
        int Check, ColourLeft, ColourRight, Title;
    };
    for (const Case& k : {Case{true, 28, 44, 62, 69}, Case{false, 2, 18, 36, 43}}) {
        c.List.SetShowSeriesIcon(k.IconShown);
        EXPECT_EQ(c.List.SectionLeft(TChartListBox::secCheck) + 2, k.Check);
        const int colour = c.List.SectionLeft(TChartListBox::secColor) - 2;
        EXPECT_EQ(colour + 4, k.ColourLeft);
        EXPECT_EQ(colour + c.List.SectionWidth(TChartListBox::secColor) - 4, k.ColourRight);
        EXPECT_EQ(c.List.SectionLeft(TChartListBox::secTitle) + 1, k.Title);
        EXPECT_EQ(c.List.SectionAt(k.Check + 1), TChartListBox::secCheck);
        EXPECT_EQ(c.List.SectionAt(k.Title + 5), TChartListBox::secTitle);

        // The drawn row: the check box's frame at its x, nothing drawn left of it in the plain section.
        TBitmap row(300, 24);
        c.List.PaintItem(row.Canvas(), 0, {0, 0, 300, 24}, {});
        const int y = (24 - 13) / 2 + 6;
        EXPECT_NE(row.Canvas().GetPixel(k.Check, y), ColorToRGB(c.List.Color())) << "check frame at " << k.Check;
        EXPECT_EQ(row.Canvas().GetPixel(k.Check - 1, y), ColorToRGB(c.List.Color()));
    }
}

TEST(SeriesListBox, RadioStyleKeepsTheFirstActiveSeries)
{
    TListedChart c;
    c.Series[0]->SetActive(false);
    c.List.SetCheckStyle(cbsRadio);
    EXPECT_FALSE(c.Series[0]->Active());
    EXPECT_TRUE(c.Series[1]->Active());
    EXPECT_FALSE(c.Series[2]->Active());
    EXPECT_FALSE(c.Series[3]->Active());

    // A click on a row's check makes it the one active series.
    int changes = 0;
    c.List.OnChangeActive = [&](TPersistent*, TChartSeries* s) { EXPECT_EQ(s, c.Series[3]); ++changes; };
    const QPoint p = c.RowPoint(3, c.List.SectionLeft(TChartListBox::secCheck) + 6);
    c.Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    c.Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(c.Series[1]->Active());
    EXPECT_TRUE(c.Series[3]->Active());
}

TEST(SeriesListBox, DeletingTheSelectionAsksOnce)
{
    TListedChart c;
    c.SelectRows({0, 1, 3});
    {
        TPromptScript script;
        script.AnswerMessage(mrNo);
        EXPECT_FALSE(c.List.DeleteSelectedSeries());
        ASSERT_EQ(script.Log().size(), 1u);
        EXPECT_EQ(script.Log()[0].Text, "Delete (Selected Series) ?");
    }
    EXPECT_EQ(c.Chart.CountSeries(), 4);
    TChartSeries* south = c.Series[2];
    {
        TPromptScript script;
        script.AnswerMessage(mrYes);
        EXPECT_TRUE(c.List.DeleteSelectedSeries());
        EXPECT_TRUE(script.Failures().empty());
    }
    ASSERT_EQ(c.Chart.CountSeries(), 1);
    EXPECT_EQ(c.Chart.SeriesAt(0), south);
    EXPECT_EQ(c.Rows(), c.ChartOrder());

    // One selected names it.
    c.SelectRows({0});
    TPromptScript script;
    script.AnswerMessage(mrNo);
    c.List.DeleteSelectedSeries();
    EXPECT_EQ(script.Log().at(0).Text, "Delete South ?");
}

TEST(SeriesListBox, DraggingRowZeroOntoRowThreeSwapsThoseTwo)
{
    TListedChart c;
    TChartSeries* a = nullptr;
    TChartSeries* b = nullptr;
    c.List.OnChangeOrder = [&](TPersistent*, TChartSeries* A, TChartSeries* B) {
        a = A;
        b = B;
    };
    const int x = c.List.SectionLeft(TChartListBox::secTitle) + 20;
    c.Mouse(QEvent::MouseButtonPress, c.RowPoint(0, x), Qt::LeftButton, Qt::LeftButton);
    c.Mouse(QEvent::MouseMove, c.RowPoint(1, x), Qt::NoButton, Qt::LeftButton);
    c.Mouse(QEvent::MouseMove, c.RowPoint(3, x), Qt::NoButton, Qt::LeftButton);
    c.Mouse(QEvent::MouseButtonRelease, c.RowPoint(3, x), Qt::LeftButton, Qt::NoButton);
    const std::vector<TChartSeries*> expected{c.Series[3], c.Series[1], c.Series[2], c.Series[0]};
    EXPECT_EQ(c.ChartOrder(), expected);
    EXPECT_EQ(c.Rows(), expected);
    EXPECT_EQ(a, c.Series[0]);
    EXPECT_EQ(b, c.Series[3]);

    // A press and release without moving is no drag.
    c.Mouse(QEvent::MouseButtonPress, c.RowPoint(1, x), Qt::LeftButton, Qt::LeftButton);
    c.Mouse(QEvent::MouseButtonRelease, c.RowPoint(1, x), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(c.ChartOrder(), expected);

    // Up and down move the focused row.
    c.List.SetItemIndex(1);
    c.List.MoveSelectedUp();
    EXPECT_EQ(c.Chart.SeriesAt(0), c.Series[1]);
    c.List.SetItemIndex(3);
    c.List.MoveSelectedDown();
    EXPECT_EQ(c.Chart.SeriesAt(3), c.Series[0]) << "the last row stays";
}

TEST(SeriesListBox, TwoSelectedChangeTypeWithOneGallery)
{
    // The first's gallery chooses the point series; the second follows without a dialog.
    {
        TListedChart c;
        c.SelectRows({1, 2});
        TPromptScript script;
        script.DriveForm([](TForm& Form) {
            auto& gallery = FormAs<TLumGallery>(Form);
            TChartGalleryPanel& panel = *gallery.ChartGalleryPanel1;
            for (int i = 0; i < panel.MiniatureCount(); ++i)
                if (&panel.Miniature(i).SeriesAt(0)->ClassInfo() == &TPointSeries::StaticClassInfo())
                    panel.MiniatureClick(&panel.Miniature(i));
            gallery.BOk->click();
        });
        c.List.ChangeTypeByGallery();
        EXPECT_TRUE(script.Failures().empty());
        ASSERT_EQ(c.Chart.CountSeries(), 4);
        EXPECT_EQ(&c.Chart.SeriesAt(0)->ClassInfo(), &TLineSeries::StaticClassInfo());
        EXPECT_EQ(&c.Chart.SeriesAt(1)->ClassInfo(), &TPointSeries::StaticClassInfo());
        EXPECT_EQ(&c.Chart.SeriesAt(2)->ClassInfo(), &TPointSeries::StaticClassInfo());
        EXPECT_EQ(c.Chart.SeriesAt(2)->Title(), "South") << "settings move to the new series";
        EXPECT_EQ(c.Rows(), c.ChartOrder());
    }
    // Cancel: the second takes the first's own class.
    {
        TListedChart c;
        TChartSeries* second = &c.AddSeries<TPointSeries>("Points", [](int i) { return double(i); });
        c.SelectRows({3, 4});
        TPromptScript script;
        script.DriveForm([](TForm& Form) { FormAs<TLumGallery>(Form).BCancel->click(); });
        c.List.ChangeTypeByGallery();
        EXPECT_EQ(c.Chart.SeriesAt(3), c.Series[3]) << "Cancel leaves the first as it was";
        EXPECT_NE(c.Chart.SeriesAt(4), second);
        EXPECT_EQ(&c.Chart.SeriesAt(4)->ClassInfo(), &TLineSeries::StaticClassInfo());
    }
}

TEST(SeriesListBox, AddingThroughTheGalleryAndItsCancel)
{
    TListedChart c;
    {
        TPromptScript script;
        script.DriveForm([](TForm& Form) { FormAs<TLumGallery>(Form).BCancel->click(); });
        EXPECT_EQ(c.List.AddSeriesByGallery(), nullptr);
    }
    EXPECT_EQ(c.Chart.CountSeries(), 4) << "Cancel creates nothing";
    TPromptScript script;
    script.DriveForm([](TForm& Form) { FormAs<TLumGallery>(Form).BOk->click(); });
    TChartSeries* added = c.List.AddSeriesByGallery();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(c.Chart.CountSeries(), 5);
    EXPECT_EQ(c.List.FocusedSeries(), added);
    EXPECT_EQ(&added->ClassInfo(), &TLineSeries::StaticClassInfo()) << "the focused series' own kind is preselected";
}

TEST(SeriesListBox, RenamingToTheComponentNameClearsTheTitle)
{
    TListedChart c;
    c.List.SetItemIndex(1);
    TChartSeries* east = c.Series[1];
    {
        TPromptScript script;
        script.Expect(TPromptKind::InputBox, [](TPrompt& p) {
            EXPECT_EQ(p.Caption, "Change Series Title");
            EXPECT_EQ(p.Text, "New Series Title:");
            EXPECT_EQ(p.Value, "East");
            p.Value = "Eastern";
            p.Result = mrOk;
        });
        EXPECT_TRUE(c.List.RenameSelected());
    }
    EXPECT_EQ(east->Title(), "Eastern");
    EXPECT_EQ(c.List.Item(1), "Eastern");
    {
        TPromptScript script;
        script.AnswerInput(east->Name());
        c.List.RenameSelected();
    }
    EXPECT_EQ(east->Title(), "");
    EXPECT_EQ(c.List.Item(1), east->Name());
    {
        TPromptScript script;
        script.AnswerInput("");
        EXPECT_FALSE(c.List.RenameSelected()) << "an empty name changes nothing";
    }
}

TEST(SeriesListBox, KeysFollowTheAllowSwitchesAndF2EditsInPlace)
{
    TListedChart c;
    c.List.AllowDeleteSeries = false;
    c.List.SetItemIndex(0);
    c.Key(Qt::Key_Delete);
    EXPECT_EQ(c.Chart.CountSeries(), 4);
    c.List.AllowAddSeries = false;
    c.Key(Qt::Key_Insert);    // no gallery prompt: a script would record it as a failure
    c.List.AllowDeleteSeries = true;
    c.List.AskDelete = false;
    c.Key(Qt::Key_Delete);
    EXPECT_EQ(c.Chart.CountSeries(), 3);

    c.List.SetItemIndex(1);
    c.Key(Qt::Key_F2);
    TCustomEdit* editor = c.List.TitleEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->Visible());
    EXPECT_EQ(editor->Text(), "South");
    EXPECT_EQ(editor->Left(), c.List.SectionLeft(TChartListBox::secTitle) - 2);
    editor->SetText("Southern");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(editor->Widget(), &enter);
    EXPECT_FALSE(editor->Visible());
    EXPECT_EQ(c.Chart.SeriesAt(1)->Title(), "Southern");

    c.Key(Qt::Key_F2);
    editor->SetText("ignored");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor->Widget(), &escape);
    EXPECT_EQ(c.Chart.SeriesAt(1)->Title(), "Southern") << "Esc keeps the title";
}

TEST(SeriesListBox, RowsAndMirrorFollowTheChart)
{
    TListedChart c;
    TStringList mirror;
    c.List.MirrorItems = &mirror;
    c.List.Refill(nullptr);
    auto same = [&] {
        ASSERT_EQ(c.Rows(), c.ChartOrder());
        ASSERT_EQ(mirror.Count(), c.List.Count());
        for (int i = 0; i < c.List.Count(); ++i) EXPECT_EQ(mirror[i], c.List.Item(i));
    };
    same();
    c.AddSeries<TPointSeries>("Added", [](int i) { return double(i); });
    same();
    c.Series[1]->SetTitle("Retitled");
    same();
    EXPECT_EQ(c.List.Item(1), "Retitled");
    TChartSeries* removed = nullptr;
    c.List.OnRemovedSeries = [&](TPersistent*, TChartSeries* s) { removed = s; };
    TChartSeries* gone = c.Series[2];
    gone->Free();
    EXPECT_EQ(removed, gone);
    same();
    c.Chart.SwapSeries(0, 1);
    same();
    c.List.CloneSelectedSeries();
    same();
    EXPECT_EQ(c.Chart.CountSeries(), 5);

    c.List.SetListsNames(true);
    EXPECT_EQ(c.List.Item(0), c.Chart.SeriesAt(0)->Name());
    c.List.SetChart(nullptr);
    EXPECT_EQ(c.List.Count(), 0);
    EXPECT_EQ(mirror.Count(), 0);
}
