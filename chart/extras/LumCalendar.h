// The calendar series: a chart turned into a month calendar (title, week-day names, six rows of days)
// with "<" and ">" buttons to page month by month, a month menu on the title and a click on a day that
// selects that date; and its framed text cells. Qt-free.
#pragma once

#include "chart/engine/LumEngine.h"
#include "chart/base/RadErareEvents.h"
#include "chart/base/RadErareShapes.h"

#include <functional>
#include <memory>
#include <string>

class TCalendarSeries;
class TPopupMenu;
class TSpeedButton;

// A framed text box of the calendar.
class TCalendarCell : public TLumShape {
    VSP_PERSISTENT_CLASS
public:
    explicit TCalendarCell(TCalendarSeries* Series);
    TCalendarSeries* Series() const { return FSeries; }

private:
    TCalendarSeries* FSeries;
};

// A cell whose text is a date in Format, upper-cased on request.
class TCalendarCellUpper : public TCalendarCell {
    VSP_PERSISTENT_CLASS
public:
    TCalendarCellUpper(TCalendarSeries* Series, const std::string& Format);
    void Assign(const TPersistent& Source) override;

    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& Value);
    bool UpperCase() const { return FUpperCase; }
    void SetUpperCase(bool Value);
    // The date formatted and, with UpperCase, upper-cased.
    std::string DateText(double Date) const;

private:
    std::string FFormat;
    bool FUpperCase = false;
};

using TCalendarChangeEvent = std::function<void(TCalendarSeries* Sender, double& Value)>;

class TCalendarSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCalendarSeries(TComponent* AOwner);
    ~TCalendarSeries() override;

    std::string EditorFormName() const override { return "TCalendarSeriesEditor"; }

    double Date() const { return FDate; }
    // OnChange may change the value first; nothing happens when it equals Date.
    void SetDate(double Value);

    TCalendarCell& Days() const { return *FDays; }
    void SetDays(const TCalendarCell& Value) { FDays->Assign(Value); }
    TCalendarCellUpper& Months() const { return *FMonths; }
    void SetMonths(const TCalendarCellUpper& Value) { FMonths->Assign(Value); }
    TCalendarCell& Sunday() const { return *FSunday; }
    void SetSunday(const TCalendarCell& Value) { FSunday->Assign(Value); }
    TCalendarCell& Today() const { return *FToday; }
    void SetToday(const TCalendarCell& Value) { FToday->Assign(Value); }
    TCalendarCell& Trailing() const { return *FTrailing; }
    void SetTrailing(const TCalendarCell& Value) { FTrailing->Assign(Value); }
    TCalendarCellUpper& WeekDays() const { return *FWeekDays; }
    void SetWeekDays(const TCalendarCellUpper& Value) { FWeekDays->Assign(Value); }

    // The ">" and "<" buttons on the chart, made on first use.
    TSpeedButton& NextButton();
    TSpeedButton& PreviousButton();
    // True before the buttons exist.
    bool NextButtonVisible() const;
    void SetNextButtonVisible(bool Value);
    bool PreviousButtonVisible() const;
    void SetPreviousButtonVisible(bool Value);
    // The buttons as they are, none before first use.
    TSpeedButton* NextButtonIfAny() const { return FNext.get(); }
    TSpeedButton* PreviousButtonIfAny() const { return FPrevious.get(); }
    TPopupMenu* MonthMenu() const { return FMenu.get(); }

    // The first day of a week column 1 shows: 0 Monday .. 6 Sunday (the locale's at creation).
    int FirstDayOfWeek() const { return FFirstDayOfWeek; }
    // Rows of the grid: 8, one less for each hidden header.
    int RowCount() const;
    // Where day 1 stood in the last drawing.
    int FirstDayRow() const { return FDayOneRow; }
    int FirstDayColumn() const { return FDayOneColumn; }

    TCalendarChangeEvent OnChange;

    // The cells' writers go through the series, so that a change repaints.
    void ChangeCellText(std::string& Field, const std::string& Value) { SetStringField(Field, Value); }
    void ChangeCellFlag(bool& Field, bool Value) { SetBooleanField(Field, Value); }

    void SetActive(bool Value) override;
    void SetParentChart(TCustomAxisPanel* Value) override;
    void PaintAllPoints() override;
    int PointAtPixel(int X, int Y) const override;
    bool UsesAxes() const override { return false; }
    void PrepareForGallery(bool Coloured) override;
    int DefaultSampleCount() const override { return 1; }
    void AddRandomSampleValues(int, bool) override {}

    // A left press at (X, Y) of the chart: the month menu on the title, or the date of a day cell.
    void HandleMousePress(int X, int Y);

private:
    class TListener : public IChartEventListener {
    public:
        explicit TListener(TCalendarSeries& Series) : FSeries(Series) {}
        void HandleChartEvent(TLumEvent& Event) override;

    private:
        TCalendarSeries& FSeries;
    };

    // The grid: the axes' pixel spans.
    struct TGrid {
        int Left = 0, Top = 0, Width = 0, Height = 0, Rows = 8;
        int X(double V) const;
        int Y(double V) const;
    };
    TGrid Grid() const;
    void DrawCell(TCalendarCell& Cell, const TGrid& G, int Column, int Row, const std::string& Text);
    void DrawText(TCalendarCell& Cell, int X, int Y, const std::string& Text);
    std::unique_ptr<TSpeedButton> MakeButton(const char* Caption, int Left, int Months);
    void FreeButtons();
    void PopMonthMenu(int X, int Y);
    void CreateCells();

    double FDate = 0;
    std::unique_ptr<TCalendarCell> FDays;
    std::unique_ptr<TCalendarCellUpper> FMonths;
    std::unique_ptr<TCalendarCell> FSunday;
    std::unique_ptr<TCalendarCell> FToday;
    std::unique_ptr<TCalendarCell> FTrailing;
    std::unique_ptr<TCalendarCellUpper> FWeekDays;
    std::unique_ptr<TSpeedButton> FNext;
    std::unique_ptr<TSpeedButton> FPrevious;
    std::unique_ptr<TPopupMenu> FMenu;
    int FFirstDayOfWeek = 0;
    int FDayOneRow = 0;
    int FDayOneColumn = 0;
    bool FDestroying = false;
    TListener FListener{*this};
};

void LumCalendarInitialization();
void LumCalendarFinalization();
