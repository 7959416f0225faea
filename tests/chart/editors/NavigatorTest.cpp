// The navigator base and the page navigator: the buttons' shared widths, the repeat of a held button,
// the keys, the page buttons' enabling over a paged chart, and printing one page or a chosen range.
#include "chart/editors/LumEdiGene.h"

#include "chart/series/SeriesLine.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Printers.h"
#include "tests/chart/editors/ChartWindowFixture.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

std::vector<int> Widths(const TCustomLumNavigator& Nav)
{
    std::vector<int> w;
    for (int i = nbFirst; i <= nbLast; ++i) w.push_back(Nav.Button(static_cast<TLumNavigateBtn>(i)).Width());
    return w;
}

void Mouse(TWinControl& Control, QEvent::Type Type)
{
    QWidget* w = Control.Widget();
    const QPointF p(w->width() / 2, w->height() / 2);
    QMouseEvent e(Type, p, w->mapToGlobal(p), Qt::LeftButton,
                  Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Key(TCustomLumNavigator& Nav, std::uint16_t Key)
{
    Nav.KeyDown(Key, {});
}

// Printing goes to a PDF file of the test.
struct TPdfPrinter {
    std::filesystem::path File =
        std::filesystem::temp_directory_path() / ("vsp-navigator-" + std::to_string(getpid()) + ".pdf");
    TPdfPrinter()
    {
        TPrinter::SetPlatformPrintersHidden(true);
        Printer()->Reset();
        Printer()->SetOutputFileName(File.string());
    }
    ~TPdfPrinter()
    {
        Printer()->Reset();
        TPrinter::SetPlatformPrintersHidden(false);
        std::error_code ignored;
        std::filesystem::remove(File, ignored);
    }
};

} // namespace

TEST(Navigator, FourButtonsShareTheWidth)
{
    TCustomLumNavigator nav(nullptr);
    EXPECT_EQ(nav.Width(), 240) << "241 unaligned shrinks to four buttons of 60";
    EXPECT_EQ(Widths(nav), (std::vector<int>{60, 60, 60, 60}));
    EXPECT_FALSE(nav.Button(nbInsert).Visible());
    EXPECT_GT(nav.Button(nbInsert).Left(), nav.Width()) << "hidden buttons are parked past the right edge";
    nav.SetAligned(true);
    nav.SetBounds(0, 0, 241, 25);
    EXPECT_EQ(nav.Width(), 241);
    EXPECT_EQ(Widths(nav), (std::vector<int>{60, 60, 61, 60})) << "the leftover pixel goes to the third button";
    EXPECT_EQ(nav.Button(nbLast).Left(), 181);
    EXPECT_EQ(nav.Button(nbFirst).Height(), 25);
    nav.SetBounds(0, 0, 30, 5);
    EXPECT_EQ(nav.Width(), 80) << "at least 20 pixels a button";
    EXPECT_EQ(nav.Height(), 18);
    EXPECT_EQ(nav.Button(nbFirst).Hint(), "First");
    nav.SetCustomHints({"", "Back"});
    EXPECT_EQ(nav.Button(nbFirst).Hint(), "First");
    EXPECT_EQ(nav.Button(nbPrior).Hint(), "Back");
}

TEST(Navigator, HeldButtonRepeatsAfter400ThenEvery100)
{
    QWidget host;
    TCustomLumNavigator nav(nullptr);
    nav.SetParentWidget(&host);
    host.show();
    std::vector<int> clicks;
    nav.OnNavigate = [&](TPersistent*, int i) { clicks.push_back(i); };
    TLumNavButton& next = nav.Button(nbNext);
    next.SetEnabled(true);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(next.Widget(), &enter);
    Mouse(next, QEvent::MouseButtonPress);
    ASSERT_NE(next.RepeatTimer(), nullptr);
    EXPECT_TRUE(next.RepeatTimer()->Enabled());
    EXPECT_EQ(next.RepeatTimer()->Interval(), 400);
    EXPECT_EQ(nav.FocusedButton(), nbNext) << "a press focuses the button";
    EXPECT_TRUE(clicks.empty());
    next.RepeatTimer()->OnTimer(next.RepeatTimer());
    EXPECT_EQ(next.RepeatTimer()->Interval(), 100);
    next.RepeatTimer()->OnTimer(next.RepeatTimer());
    EXPECT_EQ(clicks, (std::vector<int>{nbNext, nbNext}));
    Mouse(next, QEvent::MouseButtonRelease);
    EXPECT_FALSE(next.RepeatTimer()->Enabled());
    EXPECT_EQ(clicks.size(), 3u) << "the release clicks once more";
    next.RepeatTimer()->OnTimer(next.RepeatTimer());
    EXPECT_EQ(clicks.size(), 3u) << "a late tick after the release clicks nothing";
}

TEST(Navigator, SpaceClicksTheFocusedButtonArrowsMoveWithoutWrapping)
{
    TCustomLumNavigator nav(nullptr);
    std::vector<int> clicks;
    nav.OnNavigate = [&](TPersistent*, int i) { clicks.push_back(i); };
    Key(nav, VK_LEFT);
    EXPECT_EQ(nav.FocusedButton(), nbFirst);
    Key(nav, VK_SPACE);
    EXPECT_TRUE(clicks.empty()) << "a disabled button does not click";
    for (int i = 0; i < 5; ++i) Key(nav, VK_RIGHT);
    EXPECT_EQ(nav.FocusedButton(), nbLast) << "hidden buttons are skipped, no wrap";
    nav.Button(nbLast).SetEnabled(true);
    Key(nav, VK_SPACE);
    EXPECT_EQ(clicks, (std::vector<int>{nbLast}));
    nav.Button(nbEdit).SetVisible(true);
    Key(nav, VK_RIGHT);
    EXPECT_EQ(nav.FocusedButton(), nbEdit);
}

TEST(PageNavigator, ButtonsFollowThePageAndPrintingAsksOnlyForMorePages)
{
    TPdfPrinter pdf;
    TChartWindow c;
    c.AddSeries<TLineSeries>("A", [](int i) { return i; });
    TChartPageNavigator nav(nullptr);
    std::vector<TLumNavigateBtn> clicked;
    nav.OnButtonClicked = [&](TPersistent*, TLumNavigateBtn b) { clicked.push_back(b); };
    nav.SetChart(&c.Chart);
    ASSERT_EQ(nav.PageCount(), 1);
    for (int b = nbFirst; b <= nbLast; ++b) EXPECT_FALSE(nav.Button(static_cast<TLumNavigateBtn>(b)).Enabled());
    {
        TPromptScript script;  // no print dialog for one page
        nav.Print();
        EXPECT_TRUE(script.Failures().empty());
    }
    EXPECT_EQ(Printer()->PageNumber(), 1);

    c.Chart.SetMaxPointsPerPage(4);  // 11 points: three pages; the chart tells the navigator
    ASSERT_EQ(nav.PageCount(), 3);
    EXPECT_FALSE(nav.Button(nbFirst).Enabled());
    EXPECT_FALSE(nav.Button(nbPrior).Enabled());
    EXPECT_TRUE(nav.Button(nbNext).Enabled());
    EXPECT_TRUE(nav.Button(nbLast).Enabled());
    nav.Button(nbLast).Click();
    EXPECT_EQ(c.Chart.Page(), 3);
    EXPECT_TRUE(nav.Button(nbPrior).Enabled());
    EXPECT_FALSE(nav.Button(nbNext).Enabled());
    EXPECT_FALSE(nav.Button(nbLast).Enabled());
    nav.Button(nbPrior).Click();
    EXPECT_EQ(c.Chart.Page(), 2);
    nav.Button(nbFirst).Click();
    EXPECT_EQ(c.Chart.Page(), 1);
    EXPECT_EQ(clicked, (std::vector<TLumNavigateBtn>{nbLast, nbPrior, nbFirst}));
    c.Chart.SetPage(3);
    EXPECT_FALSE(nav.Button(nbNext).Enabled()) << "a page change from elsewhere re-enables the buttons";

    {
        TPromptScript script;
        script.Expect(TPromptKind::PrintDialog, [](TPrompt& p) {
            EXPECT_EQ(p.Print->FromPage, 1);
            EXPECT_EQ(p.Print->ToPage, 3);
            p.Print->FromPage = 2;
            p.Print->ToPage = 3;
            p.Result = mrOk;
        });
        script.Expect(TPromptKind::PrintDialog, [](TPrompt& p) { p.Result = mrCancel; });
        nav.Print();
        EXPECT_EQ(Printer()->PageNumber(), 2) << "pages 2 and 3";
        nav.Print();
        EXPECT_EQ(Printer()->PageNumber(), 2) << "cancelled: nothing printed";
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    }
    nav.SetChart(nullptr);
    EXPECT_EQ(nav.Chart(), nullptr);
}
