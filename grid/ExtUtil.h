// The grid's shared free routines: character and substring search, links and cell references, the
// classification of cell and number texts, line breaks and quotes of delimited text, dates, names, the
// filter condition matcher, the wide-text form of ANSI cells, and the drawing helpers of cells (darkened
// colours, transparent bitmaps, the error zigzag, progress bar and pie, gradient bands, the combo button).
// Positions are 1-based where the routine answers a position, as the cell texts' users count them.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/DateUtils.h"

#include <string>
#include <string_view>

class TCanvas;
class TBitmap;
struct TGridRect;

// ---- Search and small numeric helpers -----------------------------------------------------------------

// Min = Max: Value unchanged; otherwise a positive Min raises Value to it and a positive Max lowers it.
int ClampToLimits(int Value, int Min, int Max);
int MaxOf(int A, int B);
int MinOf(int A, int B);
bool CellInGridRect(const TGridRect& Rect, int Col, int Row);
// 1-based position of the first Ch, 0 when absent.
int CharPosition(char Ch, const std::string& Text);
// As CharPosition; Next takes the position when found.
int CharPosNext(char Ch, const std::string& Text, int& Next);
int SubPosVar(const std::string& Sub, const std::string& Text, int& Pos);
// Position of Sub (given in upper case) in the upper-cased Text.
int PosInUpperText(const std::string& Sub, const std::string& Text);
// The first character of Text that is in Set; 0 when none.
char FirstCharInSet(const std::string& Set, const std::string& Text);

// ---- Links and cell references ------------------------------------------------------------------------

bool IsLinkText(const std::string& Text);
void StripLinkProtocol(std::string& Text);
// "R<row>C<col>" (any case, more than 3 characters): Point := (col, row).
bool ParseCellReference(const std::string& Text, TPoint& Point);

// ---- Cell text and number text -----------------------------------------------------------------------

// 0 plain, 1 mini-markup, 2 rich text, 3 formula, 5 wide text.
int ClassifyCellText(const std::string& Text, bool HTMLEnabled);
// 0 integer, 1 floating point, 2 not a number (with the locale's separators).
int ClassifyNumberText(const std::string& Text);
// The number characters of a display text in "." notation, "-" in front of negatives and "(...)".
std::string NormalizeNumberText(const std::string& Text);

// ---- Line breaks, quotes and delimited text -----------------------------------------------------------

std::string ExpandLineBreakEscapes(const std::string& Text);
void LinefeedsToLineBreaks(std::string& Text);
void TildesToLineBreaks(std::string& Text);
std::string RemoveCarriageReturns(const std::string& Text);
void QuoteMultilineText(std::string& Text);
void TakeFirstLine(std::string& Text, bool MultiLine, std::string& Line);
int CountTextLines(const std::string& Text, bool MultiLine);
std::string UnquoteText(char Quote, const std::string& Text);
int ClosingQuotePos(char Quote, std::string_view Text, int& Pos);
int CountClosingQuotes(char Ch, std::string_view Text);
int CountChar(char Ch, const std::string& Text);
// From the OEM code page (850) to Windows-1252; characters without a match become "?".
void OemTextToAnsi(std::string& Text);
void MaskText(std::string& Text, char Ch);

// ---- Dates, names, filters, wide text ------------------------------------------------------------------

// Day, month and year in the order of the locale's short date format, split at its date separator.
bool ParseLocaleDate(const std::string& Text, TDateTime& Date);
// "/", "." or "-" separated; two-digit years up to 25 are 20xx, others 19xx. 0 for text that does not
// split into three numbers; an impossible date raises EConvertError.
TDateTime ParseDateMDY(const std::string& Text);
TDateTime ParseDateDMY(const std::string& Text);
// Steps a date: only days, only years, only months (any count, the day clamped to the month's length),
// otherwise by Delta days.
TDateTime AdvanceDate(int Years, int Months, int Days, double Delta, TDateTime Date);
std::string CapitalizeName(const std::string& Text);
// Conditions joined by "&" (and) and ";", "^", "|" (or), left to right; each a wildcard pattern or a
// ">", "<", ">=", "<=" comparison (numbers, then dates, then text).
bool MatchFilterCondition(const std::string& Condition, const std::string& Text, bool CaseSensitive);
bool MatchSingleCondition(const std::string& Condition, const std::string& Text, bool CaseSensitive);
// "*" any run of characters, "?" any one, double quotes skipped, and a "!" reached by a match of the start
// of the text inverts the answer. Time grows with the lengths of pattern and text added, not multiplied
// (a piece between stars holding "?" costs a step per 64 of its characters); Steps, when given, receives
// the characters and mask words looked at.
bool MatchWildcard(const std::string& Pattern, const std::string& Text, std::size_t* Steps = nullptr);
// Cells holding Unicode text store "|\" and two bytes per UTF-16 code unit, high byte first.
std::u16string WideFromCellText(const std::string& Text);
std::string CellTextFromWide(const std::u16string& WideText);

// ---- Drawing ------------------------------------------------------------------------------------------

// Each channel of the colour's RGB value halved.
TColor DarkenedColor(TColor Color);
void DrawTransparentBitmap(TCanvas& Canvas, const TBitmap& Bitmap, TColor BackColor, const TRect& Rect);
// A red 2-pixel zigzag under Count characters from Start (0-based) of Text drawn at Rect's left.
void DrawErrorMark(TCanvas& Canvas, const std::string& Text, int Count, int Start, int LineOffset, const TRect& Rect);
void DrawProgressBar(TCanvas& Canvas, TRect Rect, TColor DoneColor, int MarginY, int MarginX, int Percent,
                     TColor RestFontColor, TColor RestColor, TColor DoneFontColor);
void DrawProgressPie(TCanvas& Canvas, const TRect& Rect, TColor FillColor, int Percent);
// Count bands (0 counts as 1) from FromColor to ToColor across (Horizontal) or down the rectangle.
void DrawGradientBands(TCanvas& Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect, int Count);
// The classic flat combo drop-down button in the rightmost 16 pixels of Rect.
void DrawComboButton(TCanvas& Canvas, const TRect& Rect);
