// The series style string: the general part of every series (fields 0 to 41) as a table of field
// writers and readers, the class tails of line and point series with their pointer block, the type check
// that keeps a string to its own kind, and the hooks through which the engine and the chart reach it.
#include "chart/series/SeriesStyle.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/control/ChartRegistry.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/series/ErrorBar.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/StrUtils.h"

#include <cstdint>
#include <span>
#include <iterator>
#include <limits>

namespace {

constexpr char SeriesSeparator = '~';
constexpr int DescriptionField = 41;
constexpr int TailField = 42;
constexpr int TransparencyHigh = 100;

using TSeriesWrite = void (*)(const TChartSeries&, TStyleStringWriter&);
using TSeriesRead = void (*)(TChartSeries&, const TStyleFields&, int);

struct TSeriesField {
    TSeriesWrite Write;
    TSeriesRead Read;
};

TMarksCallout& CalloutOf(const TChartSeries& S) { return S.Marks().Callout(); }

// The marks' shadow; a box without one casts none, which a shadow of size 0 says.
std::string MarksShadowText(const TSeriesMarks& Marks)
{
    if (const TLumShadow* shadow = Marks.ShadowIfAny()) return WriteShadowStyle(*shadow);
    return WriteShadowStyle(TLumShadow());
}

// The general part, fields 0 to 40 in string order; they are applied in the same order. Some settings
// stand twice (the series colour, the callout's pen, the marks' frame): the later field wins.
const TSeriesField GeneralFields[] = {
    /* 0 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.SeriesColor()); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.SetSeriesColor(f.Integer(i)); }},
    /* 1 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.SeriesColor()); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.SetSeriesColor(f.Integer(i)); }},
    /* 2 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(s.ColorEachPoint()); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.SetColorEachPoint(f.Boolean(i)); }},
    /* 3 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteBrushStyle(s.Brush())); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.SetBrush(*f.Brush(i)); }},
    /* 4 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(s.Pen())); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.SetPen(*f.Pen(i)); }},
    /* 5 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Cursor()); },
             [](TChartSeries& s, const TStyleFields& f, int i) {
                 s.SetCursor(f.Bounded(i, std::numeric_limits<std::int16_t>::min(),
                                       std::numeric_limits<std::int16_t>::max()));
             }},
    /* 6 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().Angle()); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetAngle(f.Integer(i)); }},
    /* 7 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(s.Marks().Arrow())); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetArrow(*f.Pen(i)); }},
    /* 8 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().ArrowLength()); },
             [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetArrowLength(f.Integer(i)); }},
    /* 9 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).Length()); },
             [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetLength(f.Integer(i)); }},
    /* 10 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(CalloutOf(s).Visible()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetVisible(f.Boolean(i)); }},
    /* 11 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(CalloutOf(s).Arrow())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetArrow(*f.Pen(i)); }},
    /* 12 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).ArrowHead()); },
              [](TChartSeries& s, const TStyleFields& f, int i) {
                  CalloutOf(s).SetArrowHead(f.Enumeration<TArrowHeadStyle>(i, ArrowHeadStyleNames.Count()));
              }},
    /* 13 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).ArrowHeadSize()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetArrowHeadSize(f.Integer(i)); }},
    /* 14 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).Distance()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetDistance(f.Integer(i)); }},
    /* 15 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).Style()); },
              [](TChartSeries& s, const TStyleFields& f, int i) {
                  CalloutOf(s).SetStyle(f.Enumeration<TSeriesPointerStyle>(i, SeriesPointerStyleNames.Count()));
              }},
    /* 16 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).GetBrushColor()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetBrushColor(f.Integer(i)); }},
    /* 17 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteBrushStyle(CalloutOf(s).Brush())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetBrush(*f.Brush(i)); }},
    /* 18 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).HorizSize()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetHorizSize(f.Integer(i)); }},
    /* 19 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(CalloutOf(s).Pen())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetPen(*f.Pen(i)); }},
    /* 20 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(CalloutOf(s).VertSize()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetVertSize(f.Integer(i)); }},
    /* 21 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(CalloutOf(s).Pen())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetPen(*f.Pen(i)); }},
    /* 22 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteGradientStyle(CalloutOf(s).Gradient())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { CalloutOf(s).SetGradient(*f.Gradient(i)); }},
    /* 23 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().BackColor()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetBackColor(f.Integer(i)); }},
    /* 24 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().Bevel()); },
              [](TChartSeries& s, const TStyleFields& f, int i) {
                  s.Marks().SetBevel(f.Enumeration<TBevelCut>(i, BevelCutNames.Count()));
              }},
    /* 25 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().BevelWidth()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetBevelWidth(f.Integer(i)); }},
    /* 26 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteBrushStyle(s.Marks().Brush())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetBrush(*f.Brush(i)); }},
    /* 27 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(s.Marks().Clip()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetClip(f.Boolean(i)); }},
    /* 28 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().Color()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetColor(f.Integer(i)); }},
    /* 29 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteFontStyle(s.Marks().Font())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetFont(*f.Font(i)); }},
    /* 30 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(s.Marks().Pen())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetPen(*f.Pen(i)); }},
    /* 31 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteGradientStyle(s.Marks().Gradient())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetGradient(f.Gradient(i).get()); }},
    /* 32 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(s.Marks().MultiLine()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetMultiLine(f.Boolean(i)); }},
    /* 33 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().ShapeStyle()); },
              [](TChartSeries& s, const TStyleFields& f, int i) {
                  s.Marks().SetShapeStyle(f.Enumeration<TChartObjectShapeStyle>(i, ShapeStyleNames.Count()));
              }},
    /* 34 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().Style()); },
              [](TChartSeries& s, const TStyleFields& f, int i) {
                  s.Marks().SetStyle(f.Enumeration<TSeriesMarksStyle>(i, SeriesMarksStyleNames.Count()));
              }},
    /* 35 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(s.Marks().Visible()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetVisible(f.Boolean(i)); }},
    /* 36 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(s.Marks().Pen())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetPen(*f.Pen(i)); }},
    /* 37 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(s.Marks().Transparency()); },
              [](TChartSeries& s, const TStyleFields& f, int i) {
                  s.Marks().SetTransparency(f.Bounded(i, 0, TransparencyHigh));
              }},
    /* 38 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(MarksShadowText(s.Marks())); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetShadow(f.Shadow(i).get()); }},
    /* 39 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(s.SinglePointResults()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.SetSinglePointResults(f.Boolean(i)); }},
    /* 40 */ {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(s.Marks().Transparent()); },
              [](TChartSeries& s, const TStyleFields& f, int i) { s.Marks().SetTransparent(f.Boolean(i)); }},
};
static_assert(std::size(GeneralFields) == DescriptionField);

// The pointer of a line or point series.
TSeriesPointer& PointerOf(const TChartSeries& S) { return static_cast<const TCustomSeries&>(S).Pointer(); }
TCustomErrorSeries& ErrorBarOf(const TChartSeries& S) { return const_cast<TCustomErrorSeries&>(static_cast<const TCustomErrorSeries&>(S)); }
THighLowSeries& HighLowOf(const TChartSeries& S) { return const_cast<THighLowSeries&>(static_cast<const THighLowSeries&>(S)); }

// The pointer block of line and point series, after its marker "1", in string and reading order; the
// pen stands twice.
const TSeriesField PointerFields[] = {
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(PointerOf(s).GetBrushColor()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetBrushColor(f.Integer(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteBrushStyle(PointerOf(s).Brush())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetBrush(*f.Brush(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(PointerOf(s).Dark3D()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetDark3D(f.Boolean(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteGradientStyle(PointerOf(s).Gradient())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetGradient(*f.Gradient(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(PointerOf(s).HorizSize()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetHorizSize(f.Integer(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(PointerOf(s).Pen())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetPen(*f.Pen(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(PointerOf(s).Style()); },
     [](TChartSeries& s, const TStyleFields& f, int i) {
         PointerOf(s).SetStyle(f.Enumeration<TSeriesPointerStyle>(i, SeriesPointerStyleNames.Count()));
     }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(PointerOf(s).VertSize()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetVertSize(f.Integer(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Boolean(PointerOf(s).Visible()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetVisible(f.Boolean(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(PointerOf(s).Pen())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { PointerOf(s).SetPen(*f.Pen(i)); }},
};

// Line and point series (and their descendants) carry their line pen and their pointer.
bool HasPointerBlock(const TChartSeries& S)
{
    return dynamic_cast<const TLineSeries*>(&S) || dynamic_cast<const TPointSeries*>(&S);
}

std::string DescriptionText(const TChartSeries& S) { return StyleLineText(SeriesTypeDescription(S)); }

// Whether a string whose type field holds Field was written for this series.
bool IsOwnType(const TChartSeries& S, const std::string& Field)
{
    if (Field == DescriptionText(S)) return true;
    return LowerCase(S.ClassName()).find(LowerCase(Field)) != std::string::npos;
}

// The class tails of error-bar and high-low series (fields 42 on); a high-low transparency must lie in
// 0..100.
const TSeriesField ErrorBarTail[] = {
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(ErrorBarOf(s).ErrorPen())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { ErrorBarOf(s).SetErrorPen(*f.Pen(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(ErrorBarOf(s).ErrorStyle()); },
     [](TChartSeries& s, const TStyleFields& f, int i) {
         ErrorBarOf(s).SetErrorStyle(f.Enumeration<TErrorSeriesStyle>(i, ErrorSeriesStyleNames.Count()));
     }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(ErrorBarOf(s).ErrorWidth()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { ErrorBarOf(s).SetErrorWidth(f.Integer(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(ErrorBarOf(s).ErrorWidthUnits()); },
     [](TChartSeries& s, const TStyleFields& f, int i) {
         ErrorBarOf(s).SetErrorWidthUnits(f.Enumeration<TErrorWidthUnits>(i, ErrorWidthUnitsNames.Count()));
     }},
};

const TSeriesField HighLowTail[] = {
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteBrushStyle(HighLowOf(s).HighBrush())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { HighLowOf(s).HighBrush().Assign(*f.Brush(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(HighLowOf(s).HighPen())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { HighLowOf(s).SetHighPen(*f.Pen(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WriteBrushStyle(HighLowOf(s).LowBrush())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { HighLowOf(s).SetLowBrush(*f.Brush(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Nested(WritePenStyle(HighLowOf(s).LowPen())); },
     [](TChartSeries& s, const TStyleFields& f, int i) { HighLowOf(s).SetLowPen(*f.Pen(i)); }},
    {[](const TChartSeries& s, TStyleStringWriter& w) { w.Integer(HighLowOf(s).Transparency()); },
     [](TChartSeries& s, const TStyleFields& f, int i) { HighLowOf(s).SetTransparency(f.Bounded(i, 0, TransparencyHigh)); }},
};

// The tail a series' class calls for; empty for kinds without one.
std::span<const TSeriesField> TailOf(const TChartSeries& S)
{
    if (dynamic_cast<const TErrorBarSeries*>(&S)) return ErrorBarTail;
    if (dynamic_cast<const THighLowSeries*>(&S)) return HighLowTail;
    return {};
}

} // namespace

std::string WriteSeriesStyle(const TChartSeries* Series)
{
    if (!Series) return {};
    TStyleStringWriter w(SeriesSeparator);
    for (const TSeriesField& field : GeneralFields) field.Write(*Series, w);
    // Blanks stay: a description of two words takes two fields, and the reader then finds the first in
    // the class name.
    w.Nested(DescriptionText(*Series));
    if (HasPointerBlock(*Series)) {
        w.Nested(WritePenStyle(Series->Pen())); // the line pen
        w.Boolean(true);
        for (const TSeriesField& field : PointerFields) field.Write(*Series, w);
    } else {
        for (const TSeriesField& field : TailOf(*Series)) field.Write(*Series, w);
        w.Boolean(false);
    }
    w.Integer(Series->Marks().DrawEvery());
    return w.Text();
}

bool ReadSeriesStyle(TChartSeries* Series, const std::string& Text)
{
    if (!Series || Text.empty()) return false;
    const TStyleFields fields(Text, SeriesSeparator);
    if (fields.Count() <= DescriptionField) return false;
    const std::string& type = fields.Field(DescriptionField);
    if (!IsOwnType(*Series, type) || LowerCase(type).find("error") != std::string::npos) return false;

    for (int i = 0; i < DescriptionField; ++i) GeneralFields[i].Read(*Series, fields, i);
    int p = TailField;
    if (HasPointerBlock(*Series)) {
        Series->SetPen(*fields.Pen(TailField));
        ++p;
    } else {
        const std::span<const TSeriesField> tail = TailOf(*Series);
        if (tail.empty()) return true; // no tail: DrawEvery is not read
        for (const TSeriesField& field : tail) field.Read(*Series, fields, p++);
    }
    if (p < fields.Count() && fields.Field(p) == "1") {
        for (int k = 0; k < static_cast<int>(std::size(PointerFields)); ++k)
            PointerFields[k].Read(*Series, fields, p + 1 + k);
        p += static_cast<int>(std::size(PointerFields));
    }
    if (p + 1 < fields.Count()) Series->Marks().SetDrawEvery(fields.Integer(p + 1));
    return true;
}

void InstallSeriesStyleHooks()
{
    TLumEngineStyleHooks& hooks = LumEngineModule().Style;
    hooks.WriteSeriesStyle = [](TChartSeries& Series) { return WriteSeriesStyle(&Series); };
    hooks.ReadSeriesStyle = [](TChartSeries& Series, const std::string& Text) { return ReadSeriesStyle(&Series, Text); };
}

void RemoveSeriesStyleHooks()
{
    TLumEngineStyleHooks& hooks = LumEngineModule().Style;
    hooks.WriteSeriesStyle = nullptr;
    hooks.ReadSeriesStyle = nullptr;
}
