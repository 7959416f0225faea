// The calendar series: its cells, the month grid and its drawing, the buttons and the month menu, the
// mouse through the chart's listeners, the date of a clicked cell, and its registration.
#include "chart/extras/LumCalendar.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/PopupMenu.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cctype>
#include <cmath>

// ---- Cells ---------------------------------------------------------------------------------------------

const TClassInfo& TCalendarCell::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCalendarCell", .Parent = &TLumShape::StaticClassInfo()});
    return info;
}

const TClassInfo& TCalendarCellUpper::StaticClassInfo()
{
    using P = TProps<TCalendarCellUpper>;
    using C = TCalendarCellUpper;
    static const TClassInfo info({.Name = "TCalendarCellUpper",
                                  .Parent = &TCalendarCell::StaticClassInfo(),
                                  .Properties = {P::Text("Format", &C::Format, &C::SetFormat),
                                                 P::Boolean("UpperCase", &C::UpperCase, &C::SetUpperCase).Default(false)}});
    return info;
}

TCalendarCell::TCalendarCell(TCalendarSeries* Series) : TLumShape(nullptr), FSeries(Series) {}

TCalendarCellUpper::TCalendarCellUpper(TCalendarSeries* Series, const std::string& Format)
    : TCalendarCell(Series), FFormat(Format)
{
}

void TCalendarCellUpper::Assign(const TPersistent& Source)
{
    if (const auto* c = dynamic_cast<const TCalendarCellUpper*>(&Source); c && c != this) {
        FFormat = c->FFormat;
        FUpperCase = c->FUpperCase;
    }
    TCalendarCell::Assign(Source);
}

void TCalendarCellUpper::SetFormat(const std::string& Value) { Series()->ChangeCellText(FFormat, Value); }

void TCalendarCellUpper::SetUpperCase(bool Value) { Series()->ChangeCellFlag(FUpperCase, Value); }

std::string TCalendarCellUpper::DateText(double Date) const
{
    std::string text = FormatDateTime(FFormat, Date);
    if (FUpperCase)
        for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

// ---- Series --------------------------------------------------------------------------------------------

namespace {

TComponent* MakeCalendar(TComponent* Owner) { return new TCalendarSeries(Owner); }

std::vector<TPropInfo> CalendarProperties()
{
    using P = TProps<TCalendarSeries>;
    using C = TCalendarSeries;
    std::vector<TPropInfo> props = TChartSeries::PublishedSeriesProperties();
    std::vector<TPropInfo> own{
        P::Real("Date", &C::Date, &C::SetDate),
        P::Object("Days", [](const C& s) -> TPersistent* { return &s.Days(); }),
        P::Object("Months", [](const C& s) -> TPersistent* { return &s.Months(); }),
        P::Boolean("NextButtonVisible", &C::NextButtonVisible, &C::SetNextButtonVisible).Default(true),
        P::Object("Pen", [](const C& s) -> TPersistent* { return &s.Pen(); }),
        P::Boolean("PreviousButtonVisible", &C::PreviousButtonVisible, &C::SetPreviousButtonVisible).Default(true),
        P::Object("Sunday", [](const C& s) -> TPersistent* { return &s.Sunday(); }),
        P::Object("Today", [](const C& s) -> TPersistent* { return &s.Today(); }),
        P::Object("Trailing", [](const C& s) -> TPersistent* { return &s.Trailing(); }),
        P::Object("WeekDays", [](const C& s) -> TPersistent* { return &s.WeekDays(); }),
    };
    for (TPropInfo& p : own) props.push_back(std::move(p));
    return props;
}

// A date whose month and both neighbouring months the calendar can encode.
bool CalendarDate(double Date)
{
    return std::isfinite(Date) && Date >= EncodeDate(1, 2, 1) && Date < EncodeDate(9999, 12, 1);
}

// Monday = 1 .. Sunday = 7.
int IsoWeekDay(double Date) { return (DayOfWeek(Date) + 5) % 7 + 1; }

// The date of Year, Month (any, carried into the year) and a day clamped into the month, at midnight.
double ClampedDate(int Year, int Month, int Day)
{
    while (Month > 12) {
        Month -= 12;
        ++Year;
    }
    while (Month < 1) {
        Month += 12;
        --Year;
    }
    return EncodeDate(Year, Month, std::clamp(Day, 1, MonthDayCount(Year, Month)));
}

} // namespace

const TClassInfo& TCalendarSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCalendarSeries",
                                  .Parent = &TChartSeries::StaticClassInfo(),
                                  .Properties = CalendarProperties(),
                                  .Defaults = {{"ShowInLegend", false}},
                                  .Create = &MakeCalendar});
    return info;
}

TCalendarSeries::TCalendarSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    FDate = std::floor(Now());
    FFirstDayOfWeek = std::clamp(FormatSettings().FirstDayOfWeek, 0, 6);
    CreateCells();
    SetShowInLegend(false);
    SetOrderedRange(false);
    SetHasSeriesColor(false);
    AppendNullValue();
}

void TCalendarSeries::CreateCells()
{
    const auto make = [this](auto& Cell, auto... Args) {
        using T = typename std::decay_t<decltype(Cell)>::element_type;
        Cell = std::make_unique<T>(this, Args...);
        Cell->Font().OnChange = [this](TPersistent*) { InvalidateChart(); };
    };
    make(FDays);
    FDays->SetTransparent(true);
    make(FMonths, std::string("mmmm, yyyy"));
    FMonths->SetTransparent(true);
    make(FWeekDays, std::string("ddd"));
    FWeekDays->Pen().SetVisible(false);
    make(FToday);
    FToday->SetColor(TColor(0x00FF0000));
    FToday->Font().SetColor(clWhite);
    FToday->SetShadow(nullptr);
    make(FSunday);
    FSunday->SetColor(TColor(0x000000FF));
    FSunday->Font().SetColor(clWhite);
    FSunday->SetShadow(nullptr);
    make(FTrailing);
    FTrailing->SetTransparent(true);
    FTrailing->Font().SetColor(TColor(0x00808080));
}

TCalendarSeries::~TCalendarSeries()
{
    FDestroying = true;
    TChartSeries::SetParentChart(nullptr);
}

void TCalendarSeries::SetDate(double Value)
{
    if (OnChange && Value != FDate) OnChange(this, Value);
    if (Value == FDate) return;
    FDate = Value;
    InvalidateChart();
}

std::unique_ptr<TSpeedButton> TCalendarSeries::MakeButton(const char* Caption, int Left, int Months)
{
    auto button = std::make_unique<TSpeedButton>(nullptr);
    button->SetCaption(Caption);
    button->SetFlat(true);
    button->SetLeft(Left);
    button->SetTop(6);
    button->SetVisible(Active());
    if (TCustomAxisPanel* chart = ParentChart()) button->SetParent(chart);
    button->OnClick = [this, Months](TPersistent*) { SetDate(IncMonth(FDate, Months)); };
    return button;
}

TSpeedButton& TCalendarSeries::NextButton()
{
    if (!FNext) FNext = MakeButton(">", 30, 1);
    return *FNext;
}

TSpeedButton& TCalendarSeries::PreviousButton()
{
    if (!FPrevious) FPrevious = MakeButton("<", 6, -1);
    return *FPrevious;
}

bool TCalendarSeries::NextButtonVisible() const { return !FNext || FNext->Visible(); }
void TCalendarSeries::SetNextButtonVisible(bool Value) { NextButton().SetVisible(Value); }
bool TCalendarSeries::PreviousButtonVisible() const { return !FPrevious || FPrevious->Visible(); }
void TCalendarSeries::SetPreviousButtonVisible(bool Value) { PreviousButton().SetVisible(Value); }

void TCalendarSeries::FreeButtons()
{
    FNext.reset();
    FPrevious.reset();
}

void TCalendarSeries::SetActive(bool Value)
{
    TChartSeries::SetActive(Value);
    if (FNext) FNext->SetVisible(Value);
    if (FPrevious) FPrevious->SetVisible(Value);
}

void TCalendarSeries::SetParentChart(TCustomAxisPanel* Value)
{
    if (Value == ParentChart()) return;
    if (TCustomAxisPanel* old = ParentChart()) old->RemoveListener(&FListener);
    TChartSeries::SetParentChart(Value);
    if (FDestroying) return;
    for (TCalendarCell* cell : {FDays.get(), static_cast<TCalendarCell*>(FMonths.get()), FSunday.get(), FToday.get(),
                                FTrailing.get(), static_cast<TCalendarCell*>(FWeekDays.get())})
        cell->SetParentPanel(Value);
    FreeButtons();
    if (!Value) return;
    ListAddOnce(Value->Listeners(), &FListener);
    NextButton();
    PreviousButton();
}

void TCalendarSeries::TListener::HandleChartEvent(TLumEvent& Event)
{
    auto* mouse = dynamic_cast<TLumMouseEvent*>(&Event);
    if (mouse && mouse->Event == TLumMouseEventKind::Down && mouse->Button == mbLeft) FSeries.HandleMousePress(mouse->X, mouse->Y);
}

// ---- Grid and drawing ----------------------------------------------------------------------------------

int TCalendarSeries::RowCount() const { return 8 - (FWeekDays->Visible() ? 0 : 1) - (FMonths->Visible() ? 0 : 1); }

int TCalendarSeries::TGrid::X(double V) const { return ClampedPixel(std::int64_t(Left) + PixelFromReal(Width * V / 7)); }

int TCalendarSeries::TGrid::Y(double V) const { return ClampedPixel(std::int64_t(Top) + PixelFromReal(Height * V / Rows)); }

TCalendarSeries::TGrid TCalendarSeries::Grid() const
{
    TGrid g;
    g.Rows = RowCount();
    if (const TChartAxis* h = GetHorizAxis()) {
        g.Left = h->StartPixel;
        g.Width = h->EndPixel - h->StartPixel;
    }
    if (const TChartAxis* v = GetVertAxis()) {
        g.Top = v->StartPixel;
        g.Height = v->EndPixel - v->StartPixel;
    }
    return g;
}

void TCalendarSeries::DrawText(TCalendarCell& Cell, int X, int Y, const std::string& Text)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectFont(Cell.Font());
    canvas.WriteTextAlign(TA_CENTER);
    canvas.WriteBackMode(TRANSPARENT);
    canvas.WriteTextAtZ(X, Y - canvas.CharHeight() / 2, StartZ(), Text);
}

void TCalendarSeries::DrawCell(TCalendarCell& Cell, const TGrid& G, int Column, int Row, const std::string& Text)
{
    if (!Cell.Visible()) return;
    TRect r{G.X(Column - 1) + 1, G.Y(Row - 1) + 1, G.X(Column) - 1, G.Y(Row) - 1};
    Cell.SetShapeRect(r);
    if (!Cell.Transparent()) {
        const TLumShadow* shadow = Cell.ShadowIfAny();
        r.Bottom = r.Bottom + 1 - (shadow ? shadow->VertSize() : 0);
        r.Right = r.Right + 1 - (shadow ? shadow->HorizSize() : 0);
        Cell.DrawShapeRect(r, 0, StartZ());
    }
    DrawText(Cell, G.X(Column - 0.5), G.Y(Row - 0.5), Text);
}

void TCalendarSeries::PaintAllPoints()
{
    TChartSeries::PaintAllPoints();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !CalendarDate(FDate)) return;
    int year = 0, month = 0, day = 0;
    DecodeDate(FDate, year, month, day);
    const TGrid g = Grid();
    const bool withMonths = FMonths->Visible(), withWeekDays = FWeekDays->Visible();
    if (withWeekDays) {
        const int row = withMonths ? 2 : 1;
        for (int c = 1; c <= 7; ++c) DrawCell(*FWeekDays, g, c, row, FWeekDays->DateText(EncodeDate(1899, 1, c + FFirstDayOfWeek + 1)));
    }
    if (withMonths) {
        TRect r{g.X(0) + 1, g.Y(0) + 1, g.X(7) - 1, g.Y(1) - 1};
        FMonths->SetShapeRect(r);
        if (!FMonths->Transparent()) FMonths->DrawShapeRect(r, 0, StartZ());
        DrawText(*FMonths, g.X(3.5), g.Y(0.5), FMonths->DateText(FDate));
    }
    const int first = IsoWeekDay(EncodeDate(year, month, 1));
    int column = (first - FFirstDayOfWeek + 6) % 7 + 1;
    int row = 3 - (withWeekDays ? 0 : 1) - (withMonths ? 0 : 1);
    FDayOneColumn = column;
    FDayOneRow = row;
    if (FTrailing->Visible() && column > 1) {
        const int previous = MonthDayCount(month == 1 ? year - 1 : year, month == 1 ? 12 : month - 1);
        for (int c = 1; c < column; ++c) DrawCell(*FTrailing, g, c, row, std::to_string(previous - (column - c) + 1));
    }
    const auto advance = [&] {
        if (++column > 7) {
            column = 1;
            ++row;
        }
    };
    const int days = MonthDayCount(year, month);
    for (int d = 1; d <= days; ++d) {
        TCalendarCell* cell = FDays.get();
        if (d == day && FToday->Visible())
            cell = FToday.get();
        else if (DayOfWeek(EncodeDate(year, month, d)) == 1)
            cell = FSunday.get();
        DrawCell(*cell, g, column, row, std::to_string(d));
        advance();
    }
    if (FTrailing->Visible())
        for (int d = 1; column <= 7 && row <= g.Rows; ++d) {
            DrawCell(*FTrailing, g, column, row, std::to_string(d));
            advance();
        }
    if (!Pen().Visible()) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectPen(Pen());
    const int headers = (withMonths ? 1 : 0) + (withWeekDays ? 1 : 0);
    const int bottom = g.Top + g.Height, right = g.Left + g.Width;
    for (int c = 0; c <= 7; ++c) canvas.DrawLineAtZ(g.X(c), g.Y(headers), g.X(c), bottom, StartZ());
    for (int r = headers; r <= g.Rows; ++r) canvas.DrawLineAtZ(g.Left, g.Y(r), right, g.Y(r), StartZ());
}

int TCalendarSeries::PointAtPixel(int X, int Y) const
{
    if (!Active()) return -1;
    const TGrid g = Grid();
    const int firstRow = 3 - (FWeekDays->Visible() ? 0 : 1) - (FMonths->Visible() ? 0 : 1);
    const bool inside = X >= g.Left && X <= g.Left + g.Width && Y >= g.Y(firstRow - 1) && Y <= g.Top + g.Height;
    return inside ? 0 : -1;
}

// ---- Mouse ---------------------------------------------------------------------------------------------

void TCalendarSeries::PopMonthMenu(int X, int Y)
{
    if (!FMenu) {
        FMenu = std::make_unique<TPopupMenu>(nullptr);
        for (int k = 0; k < 12; ++k) {
            // The items belong to the menu's root item through their owner, the menu.
            auto* item = new TMenuItem(FMenu.get());
            item->SetCaption(FormatSettings().LongMonthNames[static_cast<std::size_t>(k)]);
            item->OnClick = [this, k](TPersistent*) {
                int year = 0, month = 0, day = 0;
                DecodeDate(FDate, year, month, day);
                SetDate(ClampedDate(year, k + 1, day));
            };
            FMenu->Items().Add(item);
        }
    }
    const TPoint screen = ParentChart() ? ParentChart()->ClientToScreen({X, Y}) : TPoint{X, Y};
    FMenu->Popup(screen.x, screen.y);
}

void TCalendarSeries::HandleMousePress(int X, int Y)
{
    const TRect title = FMonths->ShapeRect();
    if (FMonths->Visible() && X >= title.Left && X <= title.Right && Y >= title.Top && Y <= title.Bottom) {
        PopMonthMenu(X, Y);
        return;
    }
    if (PointAtPixel(X, Y) != 0 || !CalendarDate(FDate)) return;
    const TGrid g = Grid();
    if (g.Width <= 0 || g.Height <= 0) return;
    const int column = std::clamp(static_cast<int>((X - g.Left) / (g.Width / 7.0)) + 1, 1, 7);
    const int row = std::clamp(static_cast<int>((Y - g.Top) / (static_cast<double>(g.Height) / g.Rows)) + 1, 1, g.Rows);
    int year = 0, month = 0, day = 0;
    DecodeDate(FDate, year, month, day);
    const int firstRow = FDayOneRow > 0 ? FDayOneRow : 3 - (FWeekDays->Visible() ? 0 : 1) - (FMonths->Visible() ? 0 : 1);
    const int firstColumn = FDayOneColumn > 0 ? FDayOneColumn : 1;
    double date = std::floor(FDate);
    if (row < firstRow) {
        // A header row: the current date again.
    } else if (row == firstRow && column < firstColumn) {
        if (FTrailing->Visible()) {
            const int py = month == 1 ? year - 1 : year, pm = month == 1 ? 12 : month - 1;
            date = EncodeDate(py, pm, MonthDayCount(py, pm) - firstColumn + 1 + column);
        }
    } else {
        const int d = (row - firstRow) * 7 + column - firstColumn + 1;
        const int days = MonthDayCount(year, month);
        if (d <= days)
            date = EncodeDate(year, month, d);
        else if (FTrailing->Visible())
            date = ClampedDate(year, month + 1, d - days);
    }
    SetDate(date);
}

// ---- Gallery and registration --------------------------------------------------------------------------

void TCalendarSeries::PrepareForGallery(bool Coloured)
{
    TChartSeries::PrepareForGallery(Coloured);
    Pen().SetVisible(false);
    for (TCalendarCell* cell : {FDays.get(), FSunday.get(), FToday.get()}) cell->Font().SetSize(6);
    FWeekDays->Font().SetSize(5);
    FWeekDays->SetShadow(nullptr);
    FMonths->SetVisible(false);
    FTrailing->SetVisible(false);
    SetNextButtonVisible(false);
    SetPreviousButtonVisible(false);
}

void LumCalendarInitialization() { RegisterSeries(TCalendarSeries::StaticClassInfo(), LumProCo::Calendar, LumProCo::Other, 1); }

void LumCalendarFinalization() { UnregisterSeriesClasses({&TCalendarSeries::StaticClassInfo()}); }
