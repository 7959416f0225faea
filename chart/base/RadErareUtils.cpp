// Engine utilities of the chart panel unit: date steps, palette, hit tests, number formats, fields,
// callback sort and component names.
#include "chart/base/RadErareUtils.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/FormatSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// ---- Module state --------------------------------------------------------------------------------------

TRadErareUtilsModule::TRadErareUtilsModule() : ColorPalette(DefaultColorPalette()) {}

TRadErareUtilsModule& RadErareUtilsModule()
{
    static TRadErareUtilsModule module;
    return module;
}

void ResetRadErareUtilsModule() { RadErareUtilsModule() = TRadErareUtilsModule(); }

void ClearRadErareUtilsModule()
{
    TRadErareUtilsModule& m = RadErareUtilsModule();
    m.ColorPalette.clear();
    m.FieldSeparator.clear();
}

// ---- Date-time steps ---------------------------------------------------------------------------------

namespace {

constexpr double Second = 1.0 / SecsPerDay;
constexpr double Minute = 1.0 / MinsPerDay;
constexpr double Hour = 1.0 / HoursPerDay;

// 1900-01-01 as a date value (day 2 of the calendar): label dates start after it.
constexpr double EarliestRoundedDate = 2.0;

// Moves a calendar date by months (negative: back), day 1 first.
void MoveMonths(int& year, int& month, int& day, int months)
{
    day = 1;
    month += months;
    while (month > 12) {
        month -= 12;
        ++year;
    }
    while (month < 1) {
        month += 12;
        --year;
    }
}

void StepHalfMonth(bool forward, int& year, int& month, int& day)
{
    if (forward) {
        if (day < 15) {
            day = 15;
        } else {
            MoveMonths(year, month, day, 1);
        }
        return;
    }
    if (day > 15) {
        day = 15;
    } else if (day > 1) {
        day = 1;
    } else {
        MoveMonths(year, month, day, -1);
        day = 15;
    }
}

constexpr int MonthsOfStep(int stepIndex)
{
    constexpr int months[] = {1, 2, 3, 4, 6};
    return months[stepIndex - dtOneMonth];
}

} // namespace

const std::array<double, DateTimeStepCount> DateTimeStep = {
    Second / 1000000.0, Second / 1000.0, Second, 5 * Second, 10 * Second, 15 * Second, 30 * Second,
    Minute, 5 * Minute, 10 * Minute, 15 * Minute, 30 * Minute,
    Hour, 2 * Hour, 6 * Hour, 12 * Hour,
    1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365,
};

int MonthDayCount(int Year, int Month) { return DaysInAMonth(Year, Month); }

std::string DateTimeFormatForStep(double Step)
{
    return Step > 1 ? FormatSettings().ShortDateFormat : FormatSettings().ShortTimeFormat;
}

double NextLargerDateTimeStep(double X)
{
    for (int i = dtOneYear - 1; i >= 0; --i)
        if (DateTimeStep[i] <= X) return DateTimeStep[i + 1];
    return DateTimeStep[dtOneYear];
}

int FindDateTimeStep(double X)
{
    for (int i = DateTimeStepCount - 1; i >= 0; --i)
        if (std::fabs(DateTimeStep[i] - X) < DateTimeStep[0]) return i;
    return dtNoStep;
}

double RoundDateToStep(int StepIndex, double Date)
{
    if (!(Date > EarliestRoundedDate)) return Date;
    int year = 0, month = 0, day = 0;
    DecodeDate(Date, year, month, day);
    if (year == 0) return Date; // beyond the calendar
    if (StepIndex == dtHalfMonth) {
        day = day < 15 ? 1 : 15;
    } else if (StepIndex > dtHalfMonth && StepIndex < dtOneYear) {
        day = 1;
    } else if (StepIndex == dtOneYear) {
        day = 1;
        month = 1;
    }
    return EncodeDate(year, month, day);
}

void AdvanceByDateStep(bool IsDateTime, bool Forward, double& Value, double Step, int StepIndex)
{
    const bool calendarStep = StepIndex >= dtHalfMonth && StepIndex <= dtOneYear;
    int year = 0, month = 0, day = 0;
    if (IsDateTime && calendarStep) DecodeDate(Value, year, month, day);
    if (year == 0) { // a plain value, a step of fixed length, or a value beyond the calendar
        Value += Forward ? Step : -Step;
        return;
    }
    if (StepIndex == dtHalfMonth) {
        StepHalfMonth(Forward, year, month, day);
    } else if (StepIndex == dtOneYear) {
        year += Forward ? 1 : -1;
        if (month == 2 && day == 29 && !IsLeapYear(year)) day = 28;
    } else {
        const int months = MonthsOfStep(StepIndex);
        MoveMonths(year, month, day, Forward ? months : -months);
    }
    Value = EncodeDate(year, month, day);
}

// ---- Palette -------------------------------------------------------------------------------------------

const TColorArray& DefaultColorPalette()
{
    static const TColorArray palette = {clRed,     clGreen, clYellow, clBlue,   clWhite,      clGray,    clFuchsia,
                                        clTeal,    clNavy,  clMaroon, clLime,   clOlive,      clPurple,  clSilver,
                                        clAqua,    clBlack, clMoneyGreen, clSkyBlue, clCream, clMedGray};
    return palette;
}

TColor CurrentPaletteColor(int I)
{
    const TColorArray& own = RadErareUtilsModule().ColorPalette;
    const TColorArray& palette = own.empty() ? DefaultColorPalette() : own;
    const long long n = static_cast<long long>(palette.size());
    const long long index = ((static_cast<long long>(I) % n) + n) % n;
    return palette[static_cast<std::size_t>(index)];
}

void SetColorPalette(const TColorArray& Colors, int HighIndex)
{
    TColorArray& palette = RadErareUtilsModule().ColorPalette;
    if (HighIndex == 0 || Colors.empty() || HighIndex < 0) {
        palette = DefaultColorPalette();
        return;
    }
    const std::size_t count = std::min(Colors.size(), static_cast<std::size_t>(HighIndex) + 1);
    palette.assign(Colors.begin(), Colors.begin() + static_cast<std::ptrdiff_t>(count));
}

// ---- Hit tests -------------------------------------------------------------------------------------------

namespace {

double Distance(double x0, double y0, double x1, double y1) { return std::hypot(x1 - x0, y1 - y0); }

} // namespace

double PointSegmentDistance(TPoint P, TPoint A, TPoint B)
{
    const double px = P.x, py = P.y, ax = A.x, ay = A.y, bx = B.x, by = B.y;
    if (A == B) return Distance(px, py, ax, ay);
    const double dx = bx - ax, dy = by - ay;
    const double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    if (t < 0) return Distance(px, py, ax, ay);
    if (t > 1) return Distance(px, py, bx, by);
    return Distance(px, py, ax + t * dx, ay + t * dy);
}

bool IsPointNearLine(TPoint P, TPoint A, int Tolerance, TPoint B)
{
    const bool near = P == A || P == B || PointSegmentDistance(P, A, B) <= static_cast<double>(Tolerance) + 1.0;
    if (near)
        RadErareUtilsModule().NearerFirstEndPoint =
            Distance(P.x, P.y, A.x, A.y) < Distance(P.x, P.y, B.x, B.y);
    return near;
}

bool IsPointNearLinePts(TPoint P, TPoint A, TPoint B, int Tolerance) { return IsPointNearLine(P, A, Tolerance, B); }

bool IsPointNearLineXY(int PX, int PY, int AX, int AY, int BX, int BY, int Tolerance)
{
    return IsPointNearLine({PX, PY}, {AX, AY}, Tolerance, {BX, BY});
}

bool IsPointOnLineXY(int PX, int PY, int AX, int AY, int BX, int BY)
{
    return IsPointNearLineXY(PX, PY, AX, AY, BX, BY, 0);
}

bool IsPointOnLinePts(TPoint P, TPoint A, TPoint B) { return IsPointNearLine(P, A, 0, B); }

bool PolygonContainsPoint(TPoint P, std::span<const TPoint> Points, int LastIndex)
{
    if (LastIndex < 0 || Points.empty()) return false;
    const std::size_t last = std::min(static_cast<std::size_t>(LastIndex), Points.size() - 1);
    bool inside = false;
    std::size_t previous = last;
    for (std::size_t i = 0; i <= last; previous = i++) {
        const double xi = Points[i].x, yi = Points[i].y;
        const double xj = Points[previous].x, yj = Points[previous].y;
        const double py = P.y;
        // Half-open in y, so a horizontal edge never counts and a vertex is met once.
        if (py >= std::min(yi, yj) && py < std::max(yi, yj) && P.x < xi + (xj - xi) * (py - yi) / (yj - yi))
            inside = !inside;
    }
    return inside;
}

bool TriangleContainsPoint(TPoint P, TPoint A, TPoint B, TPoint C)
{
    const TPoint points[] = {A, B, C};
    return PolygonContainsPoint(P, points, 2);
}

namespace {

// (a + b) div 2 without overflow, truncated toward zero.
int HalfSum(int a, int b) { return static_cast<int>((static_cast<long long>(a) + b) / 2); }

} // namespace

bool VertTriangleContainsPoint(TPoint P, int X0, int X1, int YApex, int YBase)
{
    return TriangleContainsPoint(P, {X0, YBase}, {HalfSum(X0, X1), YApex}, {X1, YBase});
}

bool HorizTriangleContainsPoint(TPoint P, int Y0, int Y1, int XApex, int XBase)
{
    return TriangleContainsPoint(P, {XBase, Y0}, {XApex, HalfSum(Y0, Y1)}, {XBase, Y1});
}

bool EllipseContainsPoint(TPoint P, int Left, int Top, int Right, int Bottom)
{
    const double cx = HalfSum(Left, Right), cy = HalfSum(Top, Bottom);
    const double rx2 = (cx - Left) * (cx - Left), ry2 = (cy - Top) * (cy - Top);
    if (rx2 == 0 || ry2 == 0) return false;
    const double dx = P.x - cx, dy = P.y - cy;
    return dx * dx / rx2 + dy * dy / ry2 <= 1.0;
}

bool EllipseRectContainsPoint(TPoint P, const TRect& Rect)
{
    return EllipseContainsPoint(P, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

namespace {

// Which side of the line through (x1, y1)-(x2, y2) the point lies on.
bool SideOfLine(double x, double y, double x1, double y1, double x2, double y2)
{
    return (y2 - y1) * x - (x2 - x1) * y - (x1 * y2 - x2 * y1) > 0;
}

} // namespace

bool IntersectSegments(double& X, double& Y, double x1, double y1, double x2, double y2, double x3, double y3,
                       double x4, double y4)
{
    const bool vertical1 = x1 == x2, vertical2 = x3 == x4;
    const double m1 = vertical1 ? 0 : (y2 - y1) / (x2 - x1);
    const double m2 = vertical2 ? 0 : (y4 - y3) / (x4 - x3);
    const double b1 = y1 - m1 * x1, b2 = y3 - m2 * x3;
    if (vertical1 && vertical2) { // parallel
        X = x2;
        Y = y2;
    } else if (vertical1) {
        X = x1;
        Y = m2 * X + b2;
    } else if (vertical2) {
        X = x3;
        Y = m1 * X + b1;
    } else {
        X = std::fabs(m2 - m1) <= 1e-15 ? x2 : (b1 - b2) / (m2 - m1);
        Y = m1 * X + b1;
    }
    return SideOfLine(x3, y3, x1, y1, x2, y2) != SideOfLine(x4, y4, x1, y1, x2, y2) &&
           SideOfLine(x1, y1, x3, y3, x4, y4) != SideOfLine(x2, y2, x3, y3, x4, y4);
}

// ---- Number formats --------------------------------------------------------------------------------------

namespace {

std::string MapSeparators(const std::string& format, char fromThousands, char fromDecimal, char toThousands,
                          char toDecimal)
{
    const TFormatSettings& fs = FormatSettings();
    if (fs.ThousandSeparator == fs.DecimalSeparator) return format;
    std::string out = format;
    for (char& c : out) {
        if (c == fromThousands)
            c = toThousands;
        else if (c == fromDecimal)
            c = toDecimal;
    }
    return out;
}

} // namespace

std::string LocalizeNumberFormat(const std::string& Format)
{
    const TFormatSettings& fs = FormatSettings();
    return MapSeparators(Format, ',', '.', fs.ThousandSeparator, fs.DecimalSeparator);
}

std::string NeutralizeNumberFormat(const std::string& Format)
{
    const TFormatSettings& fs = FormatSettings();
    return MapSeparators(Format, fs.ThousandSeparator, fs.DecimalSeparator, ',', '.');
}

// ---- Delimited fields --------------------------------------------------------------------------------------

namespace {

// Sets FieldSeparator for one call and puts the previous one back.
class TSeparatorScope {
public:
    explicit TSeparatorScope(const std::string& sep) : FSaved(RadErareUtilsModule().FieldSeparator)
    {
        RadErareUtilsModule().FieldSeparator = sep;
    }
    ~TSeparatorScope() { RadErareUtilsModule().FieldSeparator = FSaved; }
    TSeparatorScope(const TSeparatorScope&) = delete;
    TSeparatorScope& operator=(const TSeparatorScope&) = delete;

private:
    std::string FSaved;
};

} // namespace

int CountFields(const std::string& Text)
{
    if (Text.empty()) return 0;
    const std::string& sep = RadErareUtilsModule().FieldSeparator;
    if (sep.empty()) return 1;
    int count = 1;
    for (std::size_t at = Text.find(sep); at != std::string::npos; at = Text.find(sep, at + sep.size())) ++count;
    return count;
}

int CountFieldsWithSeparator(const std::string& Text, const std::string& Sep)
{
    TSeparatorScope scope(Sep);
    return CountFields(Text);
}

std::string ExtractField(const std::string& Text, int N)
{
    if (Text.empty() || N <= 0) return {};
    const std::string& sep = RadErareUtilsModule().FieldSeparator;
    std::size_t start = 0;
    while (!sep.empty()) {
        const std::size_t at = Text.find(sep, start);
        if (at == std::string::npos) break;
        if (N == 1) return Text.substr(start, at - start);
        start = at + sep.size();
        --N;
    }
    return Text.substr(start);
}

std::string ExtractFieldWithSeparator(const std::string& Text, int N, const std::string& Sep)
{
    TSeparatorScope scope(Sep);
    return ExtractField(Text, N);
}

std::string ReplaceCharInText(const std::string& Text, char Old, char New)
{
    std::string out;
    out.reserve(Text.size());
    for (char c : Text) {
        if (c != Old)
            out += c;
        else if (New != '\0')
            out += New;
    }
    return out;
}

// ---- Sorting and names -------------------------------------------------------------------------------------

void SortByCallbacks(int Lo, int Hi, const TSortCompare& Compare, const TSortSwap& Swap)
{
    int l = Lo, h = Hi;
    int pivot = static_cast<int>((static_cast<long long>(Lo) + Hi) / 2);
    while (l < h) {
        // The bounds only matter for a comparer that contradicts itself: the pivot stops both scans.
        while (l < Hi && Compare(l, pivot) < 0) ++l;
        while (h > Lo && Compare(pivot, h) < 0) --h;
        if (l < h) {
            Swap(l, h);
            if (pivot == l)
                pivot = h;
            else if (pivot == h)
                pivot = l;
        }
        if (l <= h) {
            ++l;
            --h;
        }
    }
    if (Lo < h) SortByCallbacks(Lo, h, Compare, Swap);
    if (l < Hi) SortByCallbacks(l, Hi, Compare, Swap);
}

std::string UniqueComponentName(const TComponent* Owner, const std::string& Base)
{
    if (!Owner) return Base + "1";
    for (long long n = 1;; ++n) {
        std::string name = Base + std::to_string(n);
        if (!Owner->FindComponent(name)) return name;
    }
}

std::string IntegerToText(long long N) { return std::to_string(N); }
