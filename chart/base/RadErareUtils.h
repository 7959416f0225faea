// Engine utilities of the chart panel unit that need no window: the date-time step table and calendar
// stepping of date axes, the global colour palette, hit tests of points against lines, polygons and
// ellipses, segment intersection, number-format localisation, delimited fields, a quicksort driven by
// callbacks, and unique component names. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/DateUtils.h"

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

class TComponent;
class TForm;

// A component or a form to translate (forms are dialogs of the form code, not components).
struct TTranslationTarget {
    TComponent* Component = nullptr;
    TForm* Form = nullptr;
};
// The form-translation procedure: the target and the components to leave untranslated.
using TTranslationHook =
    std::function<void(const TTranslationTarget& Target, const std::vector<TComponent*>& Exclusions)>;

// ---- Module state --------------------------------------------------------------------------------------

using TColorArray = std::vector<TColor>;

// What the unit keeps for the whole process. Tests reset it with ResetRadErareUtilsModule.
struct TRadErareUtilsModule {
    // The palette new series take their colours from.
    TColorArray ColorPalette;
    // Separator of CountFields and ExtractField.
    std::string FieldSeparator = ";";
    // Set by the line hit tests when they accept a point: it lies nearer the first end than the second.
    bool NearerFirstEndPoint = false;
    // The installed form-translation procedure (none in this program).
    TTranslationHook TranslationHook;

    TRadErareUtilsModule();
};

TRadErareUtilsModule& RadErareUtilsModule();
// Back to the start-up state: the default palette, ";" as separator, no translation procedure.
void ResetRadErareUtilsModule();
// The shut-down state: no palette and no separator.
void ClearRadErareUtilsModule();

// ---- Date-time steps ---------------------------------------------------------------------------------

inline constexpr int DateTimeStepCount = 27;
// Indexes of the calendar steps, and the index that stands for "no step of the table".
enum : int {
    dtHalfMonth = 20, dtOneMonth, dtTwoMonths, dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear,
    dtNoStep = DateTimeStepCount
};

// Step lengths in days: 1 microsecond, 1 millisecond, 1, 5, 10, 15, 30 seconds, 1, 5, 10, 15, 30
// minutes, 1, 2, 6, 12 hours, 1, 2, 3, 7, 15, 30, 60, 90, 120, 182 and 365 days.
extern const std::array<double, DateTimeStepCount> DateTimeStep;

// Days of Month (1-12) of Year, leap years counted; 0 for a month outside 1..12.
int MonthDayCount(int Year, int Month);
// The locale's short date format for a step longer than one day, else its short time format.
std::string DateTimeFormatForStep(double Step);
// The step after the largest of entries 0..25 that is at most X; entry 26 (365 days) when X is below
// entry 0.
double NextLargerDateTimeStep(double X);
// The highest index whose entry differs from X by less than one microsecond; dtNoStep when none does.
int FindDateTimeStep(double X);
// The first label date of a calendar step at or before Date: the date part (day 1 or 15 for the half
// month, day 1 for the month steps, 1 January for the year); a date at or before 1900-01-01 unchanged.
double RoundDateToStep(int StepIndex, double Date);
// Moves Value one step forward or backward. Plain values move by Step; date-time values move by the
// calendar for steps 20 to 26 (the time of day dropped) and by Step for any other index. The half month
// goes back to the 15th or the 1st, forward to the 15th or the next month's 1st; a year step from
// 29 February lands on 28 February in a year that is not leap.
void AdvanceByDateStep(bool IsDateTime, bool Forward, double& Value, double Step, int StepIndex);

// ---- Palette -------------------------------------------------------------------------------------------

// The 20 default colours, in order.
const TColorArray& DefaultColorPalette();
// The palette colour for index I, counting round the palette (negative indexes too); the default
// palette stands in when the palette is empty.
TColor CurrentPaletteColor(int I);
// The palette becomes Colors[0..HighIndex] (clipped to the colours given); HighIndex 0 restores the
// default palette.
void SetColorPalette(const TColorArray& Colors, int HighIndex);

// ---- Hit tests -------------------------------------------------------------------------------------------

// Distance from P to the segment AB.
double PointSegmentDistance(TPoint P, TPoint A, TPoint B);
// True when P equals A or B or lies within Tolerance + 1 pixels of the segment AB; then
// NearerFirstEndPoint tells whether P is nearer A than B.
bool IsPointNearLine(TPoint P, TPoint A, int Tolerance, TPoint B);
bool IsPointNearLinePts(TPoint P, TPoint A, TPoint B, int Tolerance);
bool IsPointNearLineXY(int PX, int PY, int AX, int AY, int BX, int BY, int Tolerance);
// The same with tolerance 0.
bool IsPointOnLineXY(int PX, int PY, int AX, int AY, int BX, int BY);
bool IsPointOnLinePts(TPoint P, TPoint A, TPoint B);
// Even-odd rule over Points[0..LastIndex]: a point on a left or top edge is inside, one on a right or
// bottom edge outside. False for a negative LastIndex; a LastIndex past the points counts as the last.
bool PolygonContainsPoint(TPoint P, std::span<const TPoint> Points, int LastIndex);
bool TriangleContainsPoint(TPoint P, TPoint A, TPoint B, TPoint C);
// The triangle (X0, YBase), ((X0 + X1) div 2, YApex), (X1, YBase).
bool VertTriangleContainsPoint(TPoint P, int X0, int X1, int YApex, int YBase);
// The triangle (XBase, Y0), (XApex, (Y0 + Y1) div 2), (XBase, Y1).
bool HorizTriangleContainsPoint(TPoint P, int Y0, int Y1, int XApex, int XBase);
// Inside or on the ellipse inscribed in the box; false for a box of no width or no height.
bool EllipseContainsPoint(TPoint P, int Left, int Top, int Right, int Bottom);
bool EllipseRectContainsPoint(TPoint P, const TRect& Rect);

// The crossing (X, Y) of the lines through segment 1 (x1, y1)-(x2, y2) and segment 2 (x3, y3)-(x4, y4);
// true when the segments themselves cross (each one's ends on different sides of the other's line).
// A vertical segment gives X at its own x and Y on the other line; parallel lines give (x2, y2).
bool IntersectSegments(double& X, double& Y, double x1, double y1, double x2, double y2, double x3, double y3,
                       double x4, double y4);

// ---- Number formats --------------------------------------------------------------------------------------

// "," becomes the locale's thousands separator and "." its decimal separator (nothing changes when the
// two separators are equal).
std::string LocalizeNumberFormat(const std::string& Format);
// The reverse: the locale's thousands separator becomes "," and its decimal separator ".".
std::string NeutralizeNumberFormat(const std::string& Format);

// ---- Delimited fields --------------------------------------------------------------------------------------

// 0 for an empty text, else 1 + the number of separators (FieldSeparator).
int CountFields(const std::string& Text);
int CountFieldsWithSeparator(const std::string& Text, const std::string& Sep);
// Field N, counted from 1; empty for an empty text or N <= 0; the rest of the text when fewer
// separators follow.
std::string ExtractField(const std::string& Text, int N);
std::string ExtractFieldWithSeparator(const std::string& Text, int N, const std::string& Sep);
// Every Old replaced by New, or deleted when New is character 0.
std::string ReplaceCharInText(const std::string& Text, char Old, char New);

// ---- Sorting and names -------------------------------------------------------------------------------------

using TSortCompare = std::function<int(int A, int B)>;
using TSortSwap = std::function<void(int A, int B)>;
// Quicksort of the indexes Lo..Hi: Compare answers <0, 0 or >0 for two indexes, Swap exchanges the
// caller's data at two indexes. The middle index is the pivot, followed through the swaps.
void SortByCallbacks(int Lo, int Hi, const TSortCompare& Compare, const TSortSwap& Swap);

// Base followed by the smallest number from 1 that names no component of Owner (Base + "1" without
// owner).
std::string UniqueComponentName(const TComponent* Owner, const std::string& Base);

// The decimal text of N.
std::string IntegerToText(long long N);
