// The calendar series: the month grid drawn on a real chart (a leap February with its trailing days, a
// month that starts on the week's first day, six rows without headers, Today and Sunday cells, Sunday as
// the first day of the week), and on a chart window driven by mouse events: a day press, a grey day of
// the next year, the month menu through the prompt script, the ">" button, an OnChange that keeps the date,
// the buttons of an inactive calendar and of a calendar moved to another chart.
#include "chart/extras/LumCalendar.h"

#include "ChartMouse.h"
#include "ExtrasTestSupport.h"

#include "platform/controls/Buttons.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The centre of cell (Column, Row) of a calendar over the chart's axes, both from 1.
QPoint CellCentre(const TChart& Chart, const TCalendarSeries& S, int Column, int Row)
{
    const TChartAxis& h = const_cast<TChart&>(Chart).BottomAxis();
    const TChartAxis& v = const_cast<TChart&>(Chart).LeftAxis();
    const double w = (h.EndPixel - h.StartPixel) / 7.0, r = double(v.EndPixel - v.StartPixel) / S.RowCount();
    return {static_cast<int>(h.StartPixel + w * (Column - 0.5)), static_cast<int>(v.StartPixel + r * (Row - 0.5))};
}

// A calendar on the render chart whose cells are boxes of distinct colours without shadows: days yellow,
// trailing days green, Sundays red, today blue.
struct TCalendarChart : TRenderChart {
    TCalendarSeries& Calendar;
    explicit TCalendarChart(double Date) : Calendar(Add<TCalendarSeries>())
    {
        Calendar.SetDate(Date);
        Calendar.Days().SetTransparent(false);
        Calendar.Days().SetColor(clYellow);
        Calendar.Trailing().SetTransparent(false);
        Calendar.Trailing().SetColor(clLime);
        for (TCalendarCell* c : {&Calendar.Days(), &Calendar.Trailing(), static_cast<TCalendarCell*>(&Calendar.WeekDays())})
            c->SetShadow(nullptr);
    }
    // The colour a little inside the cell's top-left corner (clear of its text).
    TColor CellColor(const TBitmap& B, int Column, int Row) const
    {
        const QPoint p = CellCentre(Chart, Calendar, Column, Row);
        return B.PixelRGB(p.x() - 20, p.y() - 12);
    }
};

} // namespace

TEST(CalendarSeries, LeapFebruaryWithItsTrailingDays)
{
    TCalendarChart c(EncodeDate(2024, 2, 15) + 0.25);
    const auto b = c.Render();
    KeepShot(*b, "calendar-feb2024");
    // 1 February 2024 is a Thursday: column 4 of row 3 (Monday first).
    EXPECT_EQ(c.Calendar.FirstDayColumn(), 4);
    EXPECT_EQ(c.Calendar.FirstDayRow(), 3);
    for (int col = 1; col <= 3; ++col) EXPECT_EQ(c.CellColor(*b, col, 3), clLime) << "29 .. 31 January in column " << col;
    EXPECT_EQ(c.CellColor(*b, 4, 3), clYellow);
    // Sundays 4, 11, 18, 25 in column 7; the 15th (a Thursday) is today.
    for (int row = 3; row <= 6; ++row) EXPECT_EQ(c.CellColor(*b, 7, row), clRed) << row;
    EXPECT_EQ(c.CellColor(*b, 4, 5), clBlue);
    // The 29th in row 7, column 4; the following days from 1 March fill rows 7 and 8.
    EXPECT_EQ(c.CellColor(*b, 4, 7), clYellow);
    for (int col = 5; col <= 7; ++col) EXPECT_EQ(c.CellColor(*b, col, 7), clLime) << col;
    for (int col = 1; col <= 7; ++col) EXPECT_EQ(c.CellColor(*b, col, 8), clLime) << col;
}

TEST(CalendarSeries, MonthStartingOnTheFirstDayOfTheWeekHasNoLeadingDays)
{
    TCalendarChart c(EncodeDate(2024, 4, 10)); // 1 April 2024 is a Monday
    const auto b = c.Render();
    EXPECT_EQ(c.Calendar.FirstDayColumn(), 1);
    for (int col = 1; col <= 6; ++col) EXPECT_EQ(c.CellColor(*b, col, 3), clYellow) << col;
    EXPECT_EQ(c.CellColor(*b, 7, 3), clRed);
}

TEST(CalendarSeries, SixRowsWithoutMonthsAndWeekDays)
{
    TCalendarChart c(EncodeDate(2024, 4, 10));
    c.Calendar.Months().SetVisible(false);
    c.Calendar.WeekDays().SetVisible(false);
    EXPECT_EQ(c.Calendar.RowCount(), 6);
    const auto b = c.Render();
    KeepShot(*b, "calendar-six-rows");
    EXPECT_EQ(c.Calendar.FirstDayRow(), 1);
    EXPECT_EQ(c.CellColor(*b, 1, 1), clYellow);
    // 30 April is a Tuesday in row 5; the trailing May days fill row 6.
    EXPECT_EQ(c.CellColor(*b, 2, 5), clYellow);
    EXPECT_EQ(c.CellColor(*b, 3, 5), clLime);
    EXPECT_EQ(c.CellColor(*b, 1, 6), clLime);
}

TEST(CalendarSeries, SundayFirstShiftsTheColumns)
{
    FormatSettings().FirstDayOfWeek = 6;
    TCalendarChart c(EncodeDate(2024, 2, 15));
    ResetFormatSettings();
    EXPECT_EQ(c.Calendar.FirstDayOfWeek(), 6);
    const auto b = c.Render();
    KeepShot(*b, "calendar-sunday-first");
    EXPECT_EQ(c.Calendar.FirstDayColumn(), 5);
    for (int row = 4; row <= 7; ++row) EXPECT_EQ(c.CellColor(*b, 1, row), clRed) << row;
    EXPECT_EQ(c.CellColor(*b, 5, 5), clBlue) << "the 15th";
}

TEST(CalendarSeries, ModelSettings)
{
    TCalendarSeries s(nullptr);
    EXPECT_EQ(s.PointCount(), 1);
    EXPECT_TRUE(s.PointIsNull(0));
    EXPECT_FALSE(s.ShowInLegend());
    EXPECT_FALSE(Stored(s, "ShowInLegend"));
    EXPECT_FALSE(s.UsesAxes());
    EXPECT_EQ(s.Date(), std::floor(Now()));
    EXPECT_EQ(s.Months().Format(), "mmmm, yyyy");
    EXPECT_EQ(s.WeekDays().Format(), "ddd");
    EXPECT_TRUE(s.Days().Transparent());
    EXPECT_EQ(s.Today().Color(), TColor(0xFF0000));
    EXPECT_EQ(s.Sunday().Color(), TColor(0x0000FF));
    EXPECT_EQ(s.Trailing().Font().Color(), TColor(0x808080));
    EXPECT_FALSE(s.WeekDays().Pen().Visible());
    EXPECT_EQ(s.DefaultSampleCount(), 1);
    EXPECT_EQ(s.EditorFormName(), "TCalendarSeriesEditor");
    s.Months().SetUpperCase(true);
    EXPECT_EQ(s.Months().DateText(EncodeDate(2024, 3, 1)), "MARCH, 2024");
    EXPECT_EQ(s.WeekDays().DateText(EncodeDate(1899, 1, 2)), "Mon");
    TRenderChart c;
    auto& g = c.Add<TCalendarSeries>();
    g.PrepareForGallery(true);
    EXPECT_FALSE(g.Months().Visible());
    EXPECT_FALSE(g.Trailing().Visible());
    EXPECT_FALSE(g.NextButtonVisible());
    EXPECT_EQ(g.Days().Font().Size(), 6);
    EXPECT_EQ(g.WeekDays().Font().Size(), 5);
}

// ---- On a chart window -----------------------------------------------------------------------------------

namespace {

struct TCalendarWindow : TMouseChart {
    // A month menu that pops up unasked is a failure of the script, not a window waiting for a user.
    TPromptScript Script;
    TCalendarSeries* Calendar = nullptr;
    int Draws = 0;
    explicit TCalendarWindow(double Date)
    {
        Calendar = new TCalendarSeries(&Chart);
        Calendar->SetDate(Date);
        Calendar->SetParentChart(&Chart);
        Chart.OnBeforeDrawChart = [this](TPersistent*) { ++Draws; };
        Show();
    }
    ~TCalendarWindow() { EXPECT_TRUE(Script.Failures().empty()) << Script.Failures().front(); }
    void Click(QPoint P)
    {
        Press(P);
        Release(P);
    }
    void ClickCell(int Column, int Row) { Click(CellCentre(Chart, *Calendar, Column, Row)); }
};

void ClickButton(TSpeedButton& B)
{
    QWidget* w = B.Widget();
    const QPoint p(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(CalendarMouse, PressingADaySetsItAtMidnight)
{
    TCalendarWindow w(EncodeDate(2024, 2, 15) + 0.5);
    w.ClickCell(2, 4); // 6 February
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 2, 6));
    w.ClickCell(1, 3); // 29 January, a trailing day
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 1, 29));
    w.ClickCell(3, 2); // the week-day header: no change
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 1, 29));
}

TEST(CalendarMouse, AGreyDayAfterDecemberIsInJanuaryOfTheNextYear)
{
    {
        TCalendarWindow w(EncodeDate(2023, 12, 10));
        // 1 December 2023 is a Friday (column 5); the 31st ends row 7; row 8 starts with 1 January.
        w.ClickCell(3, 8);
        EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 1, 3));
    }
    TCalendarWindow hidden(EncodeDate(2023, 12, 10));
    hidden.Calendar->Trailing().SetVisible(false);
    hidden.Paint();
    hidden.ClickCell(3, 8);
    EXPECT_EQ(hidden.Calendar->Date(), EncodeDate(2023, 12, 10)) << "without trailing days nothing changes";
}

TEST(CalendarMouse, TitlePopsTheMonthMenuAndTheChoiceClampsTheDay)
{
    TCalendarWindow w(EncodeDate(2024, 1, 31) + 0.75);
    TPromptScript& script = w.Script;
    std::vector<std::string> captions;
    script.Expect(TPromptKind::PopupMenu, [&](TPrompt& p) {
        ASSERT_NE(p.Menu, nullptr);
        for (int i = 0; i < p.Menu->Count(); ++i) captions.push_back(p.Menu->Items(i)->Caption());
        p.MenuIndex = 1;
        p.Result = mrOk;
    });
    w.Click(CellCentre(w.Chart, *w.Calendar, 2, 1));
    EXPECT_TRUE(script.Failures().empty());
    ASSERT_EQ(captions.size(), 12u);
    EXPECT_EQ(captions[0], "January");
    EXPECT_EQ(captions[11], "December");
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 2, 29));
}

TEST(CalendarMouse, NextButtonPagesAMonthClampingTheDay)
{
    TCalendarWindow w(EncodeDate(2024, 1, 31) + 0.25);
    ASSERT_NE(w.Calendar->NextButtonIfAny(), nullptr);
    EXPECT_EQ(w.Calendar->NextButton().Caption(), ">");
    EXPECT_EQ(w.Calendar->NextButton().Left(), 30);
    EXPECT_EQ(w.Calendar->PreviousButton().Left(), 6);
    ClickButton(w.Calendar->NextButton());
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 2, 29) + 0.25);
    w.Paint();
    w.KeepShot("calendar-window");
    ClickButton(w.Calendar->PreviousButton());
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 1, 29) + 0.25);
}

TEST(CalendarMouse, OnChangeThatKeepsTheDateCausesNoRepaint)
{
    TCalendarWindow w(EncodeDate(2024, 3, 5));
    std::vector<double> asked;
    w.Calendar->OnChange = [&](TCalendarSeries* s, double& v) {
        asked.push_back(v);
        v = s->Date();
    };
    w.Draws = 0;
    w.ClickCell(3, 5);
    w.Paint();
    const int afterPaint = w.Draws;
    w.Draws = 0;
    w.ClickCell(4, 5);
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    EXPECT_EQ(w.Draws, 0);
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_GE(afterPaint, 1);
}

TEST(CalendarMouse, ButtonsFollowActiveAndTheChart)
{
    TCalendarWindow w(EncodeDate(2024, 3, 5));
    w.Calendar->SetActive(false);
    EXPECT_FALSE(w.Calendar->NextButton().Visible());
    EXPECT_FALSE(w.Calendar->PreviousButton().Visible());
    EXPECT_EQ(w.Calendar->PointAtPixel(240, 200), -1);
    w.Calendar->SetActive(true);
    EXPECT_TRUE(w.Calendar->NextButton().Visible());
    w.Calendar->SetNextButtonVisible(false);

    TMouseChart other;
    other.Show();
    w.Calendar->SetParentChart(&other.Chart);
    ASSERT_NE(w.Calendar->NextButtonIfAny(), nullptr);
    EXPECT_EQ(w.Calendar->NextButton().Parent(), &other.Chart);
    EXPECT_TRUE(w.Calendar->NextButton().Visible()) << "new buttons are visible";
    EXPECT_EQ(w.Calendar->PreviousButton().Parent(), &other.Chart);
    // The old chart's mouse no longer reaches the calendar; the new one's does.
    const double before = w.Calendar->Date();
    w.ClickCell(3, 4); // 6 March
    EXPECT_EQ(w.Calendar->Date(), before);
    other.Paint();
    const QPoint p = CellCentre(other.Chart, *w.Calendar, 3, 4);
    other.Press(p);
    other.Release(p);
    EXPECT_EQ(w.Calendar->Date(), EncodeDate(2024, 3, 6));
    w.Calendar->SetParentChart(nullptr);
    EXPECT_EQ(w.Calendar->NextButtonIfAny(), nullptr);
    delete w.Calendar;
}

TEST(CalendarSeries, DegenerateDatesAndCharts)
{
    for (const double date : {0.0, -700000.0, 2958465.0, NaN}) {
        TRenderChart c;
        auto& s = c.Add<TCalendarSeries>();
        if (!std::isnan(date)) s.SetDate(date);
        EXPECT_NO_THROW(c.Render()) << date;
        EXPECT_NO_THROW(s.HandleMousePress(240, 200));
    }
    TCalendarSeries alone(nullptr);
    EXPECT_NO_THROW(alone.HandleMousePress(10, 10));
    EXPECT_EQ(alone.PointAtPixel(10, 10), -1);
}
