// Style strings: the one-line texts in which pens, brushes, gradients, fonts, shadows and axes keep their
// look (settings file, default styles of axes and series, polygon properties of the model), the helpers
// that split them, and the field readers and writers that the series string shares.
#pragma once

#include "platform/rtl/DynArray.h"

#include <cstdint>
#include <memory>
#include <string>

class TChartAxis;
class TChartBrush;
class TChartPen;
class TCustomLumGradient;
class TLumFont;
class TLumGradient;
class TLumShadow;

// The split fields of a style string, and its numeric fields.
using LUMarofstr = DynArray<std::string>;
using LUMarofint = DynArray<std::int32_t>;

// ---- Splitting ------------------------------------------------------------------------------------------

// A copy of Text with every C turned into a blank.
std::string ReplaceCharByBlank(const std::string& Text, char C);
// The tokens of Text (maximal runs of characters other than blank and tab), numbered from 0, from token
// StartIndex on.
LUMarofstr SplitBlankFields(const std::string& Text, int StartIndex);
// The tokens from StartIndex on that are numbers (the first "," read as "."), each rounded to the
// nearest integer (halves to even). A token that is no number, or whose value leaves 32 bits, is
// skipped but still counted.
LUMarofint ParseIntegerList(const std::string& Text, int StartIndex);

// ---- Objects ----------------------------------------------------------------------------------------------

// Writers give the object's string; readers give a new object (no owner, no change event) with the
// string applied. A reader takes field k from token k: a field that is no number, lies outside 32 bits
// or holds an ordinal outside its enumeration leaves that property as a new object has it; missing
// fields at the end do the same. Readers never raise.
std::string WriteBrushStyle(const TChartBrush& Brush);
std::unique_ptr<TChartBrush> ReadBrushStyle(const std::string& Text);
std::string WriteGradientStyle(const TCustomLumGradient& Gradient);
std::unique_ptr<TLumGradient> ReadGradientStyle(const std::string& Text);
std::string WritePenStyle(const TChartPen& Pen);
std::unique_ptr<TChartPen> ReadPenStyle(const std::string& Text);
std::string WriteShadowStyle(const TLumShadow& Shadow);
std::unique_ptr<TLumShadow> ReadShadowStyle(const std::string& Text);
// The font's height comes back from its size in points at the new font's pixels per inch.
std::string WriteFontStyle(const TLumFont& Font);
std::unique_ptr<TLumFont> ReadFontStyle(const std::string& Text);

// ---- Axes -------------------------------------------------------------------------------------------------

// The axis' 54 fields joined by "~"; reals with "." whatever the locale.
std::string WriteAxisStyle(const TChartAxis& Axis);
// Applies an axis string; an empty one changes nothing. Horizontal and OtherSide are taken only with
// WithPosition; Visible and the title caption never. Logarithmic comes after the range fields and
// FixedAutoLimits after it. Raises EConvertError for a field that is no integer (or, the increment, no
// real), ERangeError for a missing field or an ordinal outside its enumeration, and what the axis'
// setters raise; what was applied before stays.
void ReadAxisStyle(TChartAxis& Axis, const std::string& Text, bool WithPosition);

// Installs the axis codec into the chart engine's style hooks (the chart control's start-up), and
// takes it out again (its shut-down).
void InstallAxisStyleHooks();
void RemoveAxisStyleHooks();

// ---- Fields of axis and series strings --------------------------------------------------------------

// The text with every line break (character 13 or 10) turned into "*": a series type description as
// field and settings key, where a line break could not stand.
std::string StyleLineText(const std::string& Text);

// A name or caption as one field of any style string: line breaks and blanks become "*"; the
// separators that enclose a name ("~" of axis and series strings, "^" of font strings), a literal "*",
// a tab and the escape "%" itself become "%" and two hexadecimal digits.
std::string StyleNameField(const std::string& Text);
// The name back from its field: "*" is a blank, "%" and two hexadecimal digits the character they
// give; any other "%" stays as written, as in strings from before the escapes.
std::string NameFromStyleField(const std::string& Field);

// Joins the fields of a style string with its separator, each encoded as the strings want it.
class TStyleStringWriter {
public:
    explicit TStyleStringWriter(char Separator) : FSeparator(Separator) {}

    TStyleStringWriter& Integer(std::int64_t Value);
    TStyleStringWriter& Boolean(bool Value);
    // The general form with at most 15 significant digits and "." as the point.
    TStyleStringWriter& Real(double Value);
    // A nested style string, unchanged.
    TStyleStringWriter& Nested(const std::string& Value);
    // A name or caption (StyleNameField), so that it stays one field in one line.
    TStyleStringWriter& Name(const std::string& Value);

    const std::string& Text() const { return FText; }

private:
    void Append(const std::string& Field);

    char FSeparator;
    std::string FText;
    bool FFirst = true;
};

// The fields of an axis or series string, read strictly: a missing field raises ERangeError, an
// integer field that is no integer EConvertError.
class TStyleFields {
public:
    TStyleFields(const std::string& Text, char Separator);

    int Count() const { return Fields.Length(); }
    const std::string& Field(int Index) const { return Fields[Index]; }
    std::int32_t Integer(int Index) const;
    // Any integer other than 0 is true.
    bool Boolean(int Index) const;
    // An integer Low..High; ERangeError outside.
    std::int32_t Bounded(int Index, std::int32_t Low, std::int32_t High) const;
    // An ordinal 0..Count-1; ERangeError outside.
    int Ordinal(int Index, int Count) const { return Bounded(Index, 0, Count - 1); }
    template <class E>
    E Enumeration(int Index, int Count) const { return static_cast<E>(Ordinal(Index, Count)); }
    // The first "," read as "."; text that is no number gives 123456789.0.
    double Number(int Index) const;
    // The first "," read as "."; EConvertError "'<text>' is not a valid floating point value".
    double Real(int Index) const;
    std::unique_ptr<TChartBrush> Brush(int Index) const { return ReadBrushStyle(Field(Index)); }
    std::unique_ptr<TChartPen> Pen(int Index) const { return ReadPenStyle(Field(Index)); }
    std::unique_ptr<TLumGradient> Gradient(int Index) const { return ReadGradientStyle(Field(Index)); }
    std::unique_ptr<TLumFont> Font(int Index) const { return ReadFontStyle(Field(Index)); }
    std::unique_ptr<TLumShadow> Shadow(int Index) const { return ReadShadowStyle(Field(Index)); }

    LUMarofstr Fields;
};
