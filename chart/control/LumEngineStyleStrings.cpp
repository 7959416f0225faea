// Style strings of pens, brushes, gradients, fonts, shadows and axes: the splitting helpers, the object
// codec (positional and lenient, since .sp2 files carry its strings), the axis codec (strict, as the
// settings file and the default styles want it) and the field writer and reader the series string shares.
#include "chart/control/LumEngineStyleStrings.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasStyles.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <limits>

// ---- Splitting ------------------------------------------------------------------------------------------

namespace {

bool IsFieldSeparator(char C) { return C == ' ' || C == '\t'; }

// A numeric token: the first "," read as ".", a decimal real rounded halves to even, within 32 bits.
bool TokenInteger(std::string Token, std::int32_t& Value)
{
    const std::size_t comma = Token.find(',');
    if (comma != std::string::npos) Token[comma] = '.';
    double v = 0;
    if (!TryParseNumber(Token, v)) return false;
    const double r = RoundHalfEven(v);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        return false;
    Value = static_cast<std::int32_t>(r);
    return true;
}

// Calls Proc(number, token) for every token of Text.
template <class Proc>
void ForEachToken(const std::string& Text, Proc&& proc)
{
    int number = 0;
    std::size_t i = 0;
    while (i < Text.size()) {
        while (i < Text.size() && IsFieldSeparator(Text[i])) ++i;
        const std::size_t start = i;
        while (i < Text.size() && !IsFieldSeparator(Text[i])) ++i;
        if (i > start) proc(number++, Text.substr(start, i - start));
    }
}

} // namespace

std::string ReplaceCharByBlank(const std::string& Text, char C)
{
    std::string out = Text;
    std::replace(out.begin(), out.end(), C, ' ');
    return out;
}

LUMarofstr SplitBlankFields(const std::string& Text, int StartIndex)
{
    LUMarofstr fields;
    ForEachToken(Text, [&](int number, std::string token) {
        if (number >= StartIndex) fields.push_back(std::move(token));
    });
    return fields;
}

LUMarofint ParseIntegerList(const std::string& Text, int StartIndex)
{
    LUMarofint values;
    ForEachToken(Text, [&](int number, const std::string& token) {
        std::int32_t v = 0;
        if (number >= StartIndex && TokenInteger(token, v)) values.push_back(v);
    });
    return values;
}

// ---- Object strings -------------------------------------------------------------------------------------

namespace {

constexpr char BrushSeparator = '#';
constexpr char GradientSeparator = '$';
constexpr char PenSeparator = '&';
constexpr char ShadowSeparator = '@';
constexpr char FontSeparator = '^';
constexpr char AxisSeparator = '~';

// A brush style holds pattern numbers beyond the eight named styles, up to a byte.
constexpr int BrushStyleCount = 256;
constexpr int CharsetCount = 256;
constexpr int TransparencyCount = 101;

// The fields of an object string by position; every setter is skipped for a field it cannot take.
class TObjectFields {
public:
    TObjectFields(const std::string& Text, char Separator)
        : FTokens(SplitBlankFields(ReplaceCharByBlank(Text, Separator), 0))
    {
    }

    const std::string* Token(int Index) const { return Index < FTokens.Length() ? &FTokens[Index] : nullptr; }

    template <class Setter>
    void Integer(int Index, Setter&& Set) const
    {
        std::int32_t v = 0;
        if (const std::string* t = Token(Index); t && TokenInteger(*t, v)) Set(v);
    }
    // True when the low byte is not 0.
    template <class Setter>
    void Boolean(int Index, Setter&& Set) const
    {
        Integer(Index, [&](std::int32_t v) { Set((v & 0xFF) != 0); });
    }
    template <class Setter>
    void Ordinal(int Index, int Count, Setter&& Set) const
    {
        Integer(Index, [&](std::int32_t v) {
            if (v >= 0 && v < Count) Set(v);
        });
    }

private:
    LUMarofstr FTokens;
};

} // namespace

std::string WriteBrushStyle(const TChartBrush& Brush)
{
    return TStyleStringWriter(BrushSeparator).Integer(Brush.Color()).Integer(Brush.StyleNumber()).Text();
}

std::unique_ptr<TChartBrush> ReadBrushStyle(const std::string& Text)
{
    auto brush = std::make_unique<TChartBrush>();
    const TObjectFields f(Text, BrushSeparator);
    f.Integer(0, [&](TColor v) { brush->SetColor(v); });
    f.Ordinal(1, BrushStyleCount, [&](int v) { brush->SetStyleNumber(v); });
    return brush;
}

std::string WriteGradientStyle(const TCustomLumGradient& Gradient)
{
    return TStyleStringWriter(GradientSeparator)
        .Integer(Gradient.Balance())
        .Integer(Gradient.Direction())
        .Integer(Gradient.RadialX())
        .Integer(Gradient.MidColor())
        .Integer(Gradient.EndColor())
        .Integer(Gradient.RadialY())
        .Integer(Gradient.StartColor())
        .Boolean(Gradient.Visible())
        .Text();
}

std::unique_ptr<TLumGradient> ReadGradientStyle(const std::string& Text)
{
    auto g = std::make_unique<TLumGradient>();
    const TObjectFields f(Text, GradientSeparator);
    f.Integer(0, [&](int v) { g->SetBalance(v); });
    f.Ordinal(1, GradientDirectionNames.Count(), [&](int v) { g->SetDirection(static_cast<TGradientDirection>(v)); });
    f.Integer(2, [&](int v) { g->SetRadialX(v); });
    f.Integer(3, [&](TColor v) { g->SetMidColor(v); });
    f.Integer(4, [&](TColor v) { g->SetEndColor(v); });
    f.Integer(5, [&](int v) { g->SetRadialY(v); });
    f.Integer(6, [&](TColor v) { g->SetStartColor(v); });
    f.Boolean(7, [&](bool v) { g->SetVisible(v); });
    return g;
}

std::string WritePenStyle(const TChartPen& Pen)
{
    return TStyleStringWriter(PenSeparator)
        .Integer(Pen.Color())
        .Boolean(Pen.SmallDots())
        .Integer(Pen.EndStyle())
        .Boolean(Pen.Visible())
        .Integer(Pen.Style())
        .Integer(Pen.Mode())
        .Integer(Pen.Width())
        .Text();
}

std::unique_ptr<TChartPen> ReadPenStyle(const std::string& Text)
{
    auto pen = std::make_unique<TChartPen>();
    const TObjectFields f(Text, PenSeparator);
    f.Integer(0, [&](TColor v) { pen->SetColor(v); });
    f.Boolean(1, [&](bool v) { pen->SetSmallDots(v); });
    f.Ordinal(2, PenEndStyleNames.Count(), [&](int v) { pen->SetEndStyle(static_cast<TPenEndStyle>(v)); });
    f.Boolean(3, [&](bool v) { pen->SetVisible(v); });
    f.Ordinal(4, PenStyleNames.Count(), [&](int v) { pen->SetStyle(static_cast<TPenStyle>(v)); });
    f.Ordinal(5, PenModeNames.Count(), [&](int v) { pen->SetMode(static_cast<TPenMode>(v)); });
    f.Integer(6, [&](int v) { pen->SetWidth(v); });
    return pen;
}

std::string WriteShadowStyle(const TLumShadow& Shadow)
{
    return TStyleStringWriter(ShadowSeparator)
        .Integer(Shadow.MaxOffset())
        .Integer(Shadow.Color())
        .Integer(Shadow.HorizSize())
        .Integer(Shadow.Transparency())
        .Integer(Shadow.VertSize())
        .Text();
}

std::unique_ptr<TLumShadow> ReadShadowStyle(const std::string& Text)
{
    auto shadow = std::make_unique<TLumShadow>();
    const TObjectFields f(Text, ShadowSeparator);
    f.Integer(0, [&](int v) { shadow->SetUniformSize(v); });
    f.Integer(1, [&](TColor v) { shadow->SetColor(v); });
    f.Integer(2, [&](int v) { shadow->SetHorizSize(v); });
    f.Ordinal(3, TransparencyCount, [&](int v) { shadow->SetTransparency(static_cast<TLumTransparency>(v)); });
    f.Integer(4, [&](int v) { shadow->SetVertSize(v); });
    return shadow;
}

namespace {

constexpr TFontStyle FontStyleOrder[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};

std::string FontStyleText(TFontStyles Styles)
{
    std::string text;
    for (TFontStyle s : FontStyleOrder) text += Styles.Contains(s) ? '1' : '0';
    return text;
}

TFontStyles FontStylesOf(const std::string& Text)
{
    TFontStyles styles;
    for (std::size_t i = 0; i < std::size(FontStyleOrder) && i < Text.size(); ++i)
        if (Text[i] == '1') styles.Include(FontStyleOrder[i]);
    return styles;
}

} // namespace

std::string WriteFontStyle(const TLumFont& Font)
{
    const TLumFontGradient* gradient = Font.GradientIfAny();
    const TLumGradient fresh;
    return TStyleStringWriter(FontSeparator)
        .Integer(Font.Charset())
        .Integer(Font.Color())
        .Integer(Font.Height())
        .Integer(Font.InterCharSize())
        .Integer(Font.Size())
        .Integer(Font.PixelsPerInch())
        .Integer(0) // reserved: the change-notifier link no chart font has
        .Integer(Font.Pitch())
        .Nested(WriteGradientStyle(gradient ? static_cast<const TCustomLumGradient&>(*gradient) : fresh))
        .Nested(FontStyleText(Font.Style()))
        .Name(Font.Name())
        .Text();
}

std::unique_ptr<TLumFont> ReadFontStyle(const std::string& Text)
{
    auto font = std::make_unique<TLumFont>();
    const TObjectFields f(Text, FontSeparator);
    f.Ordinal(0, CharsetCount, [&](int v) { font->SetCharset(v); });
    f.Integer(1, [&](TColor v) { font->SetColor(v); });
    f.Integer(2, [&](int v) { font->SetHeight(v); });
    f.Integer(3, [&](int v) { font->SetInterCharSize(v); });
    // After the height, so that the size decides it at the new font's pixels per inch.
    f.Integer(4, [&](int v) { font->SetSize(v); });
    f.Integer(5, [&](int v) { font->SetPixelsPerInch(v); });
    f.Ordinal(7, FontPitchNames.Count(), [&](int v) { font->SetPitch(static_cast<TFontPitch>(v)); });
    if (const std::string* t = f.Token(8)) font->Gradient().Assign(*ReadGradientStyle(*t));
    if (const std::string* t = f.Token(9)) font->SetStyle(FontStylesOf(*t));
    if (const std::string* t = f.Token(10)) font->SetName(NameFromStyleField(*t));
    return font;
}

// ---- Field writer and reader ----------------------------------------------------------------------------

void TStyleStringWriter::Append(const std::string& Field)
{
    if (!FFirst) FText += FSeparator;
    FText += Field;
    FFirst = false;
}

TStyleStringWriter& TStyleStringWriter::Integer(std::int64_t Value)
{
    Append(std::to_string(Value));
    return *this;
}

TStyleStringWriter& TStyleStringWriter::Boolean(bool Value)
{
    Append(Value ? "1" : "0");
    return *this;
}

TStyleStringWriter& TStyleStringWriter::Real(double Value)
{
    // Files are locale-free: "." whatever the display settings say.
    TFormatSettings fs;
    fs.DecimalSeparator = '.';
    Append(FloatToStr(Value, fs));
    return *this;
}

TStyleStringWriter& TStyleStringWriter::Nested(const std::string& Value)
{
    Append(Value);
    return *this;
}

TStyleStringWriter& TStyleStringWriter::Name(const std::string& Value)
{
    Append(StyleNameField(Value));
    return *this;
}

namespace {

constexpr char NameEscape = '%';
const char* const HexDigits = "0123456789ABCDEF";

int HexValue(char C)
{
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    return -1;
}

} // namespace

std::string StyleNameField(const std::string& Text)
{
    std::string field;
    for (const char c : Text) {
        if (c == ' ' || c == '\r' || c == '\n') {
            field += '*';
        } else if (c == '*' || c == '\t' || c == NameEscape || c == AxisSeparator || c == FontSeparator) {
            const auto byte = static_cast<unsigned char>(c);
            field += NameEscape;
            field += HexDigits[byte >> 4];
            field += HexDigits[byte & 0xF];
        } else {
            field += c;
        }
    }
    return field;
}

std::string NameFromStyleField(const std::string& Field)
{
    std::string text;
    for (std::size_t i = 0; i < Field.size(); ++i) {
        const char c = Field[i];
        if (c == '*') {
            text += ' ';
            continue;
        }
        if (c == NameEscape && i + 2 < Field.size() && HexValue(Field[i + 1]) >= 0 && HexValue(Field[i + 2]) >= 0) {
            text += static_cast<char>(HexValue(Field[i + 1]) * 16 + HexValue(Field[i + 2]));
            i += 2;
            continue;
        }
        text += c;
    }
    return text;
}

std::string StyleLineText(const std::string& Text)
{
    std::string out = Text;
    for (char& c : out)
        if (c == '\r' || c == '\n') c = '*';
    return out;
}

TStyleFields::TStyleFields(const std::string& Text, char Separator)
    : Fields(SplitBlankFields(ReplaceCharByBlank(Text, Separator), 0))
{
}

std::int32_t TStyleFields::Integer(int Index) const { return StrToInt(Field(Index)); }

bool TStyleFields::Boolean(int Index) const { return Integer(Index) != 0; }

std::int32_t TStyleFields::Bounded(int Index, std::int32_t Low, std::int32_t High) const
{
    const std::int32_t v = Integer(Index);
    if (v < Low || v > High) throw ERangeError();
    return v;
}

double TStyleFields::Number(int Index) const { return ParseNumberInRange(Field(Index), true, 0, 0); }

double TStyleFields::Real(int Index) const
{
    const std::string& text = Field(Index);
    std::string dotted = text;
    const std::size_t comma = dotted.find(',');
    if (comma != std::string::npos) dotted[comma] = '.';
    double v = 0;
    if (!TryParseNumber(dotted, v)) throw EConvertError("'" + text + "' is not a valid floating point value");
    return v;
}

// ---- Axis strings ---------------------------------------------------------------------------------------

namespace {

using TAxisWrite = void (*)(const TChartAxis&, TStyleStringWriter&);
using TAxisRead = void (*)(TChartAxis&, const TStyleFields&, int);

// One field of the axis string: how it is written and, unless it is never read, how it is applied.
struct TAxisField {
    TAxisWrite Write;
    TAxisRead Read;
};

// The fields in string order. Fields written into the axis directly (no setter) are its unpublished
// settings and the range ends, which must not switch Automatic off.
const TAxisField AxisFields[] = {
    /* 0 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Automatic()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetAutomatic(f.Boolean(i)); }},
    /* 1 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WritePenStyle(a.Axis())); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetAxis(*f.Pen(i)); }},
    /* 2 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WritePenStyle(a.Grid())); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetGrid(*f.Pen(i)); }},
    /* 3 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.GridCentered()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetGridCentered(f.Boolean(i)); }},
    /* 4 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Inverted()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetInverted(f.Boolean(i)); }},
    /* 5 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Horizontal()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetHorizontal(f.Boolean(i)); }},
    /* 6 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.OtherSide()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetOtherSide(f.Boolean(i)); }},
    /* 7 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Labels()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabels(f.Boolean(i)); }},
    /* 8 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.LabelsAlign()); },
             [](TChartAxis& a, const TStyleFields& f, int i) {
                 a.SetLabelsAlign(f.Enumeration<TAxisLabelAlign>(i, AxisLabelAlignNames.Count()));
             }},
    /* 9 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.LabelsAngle()); },
             [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsAngle(f.Integer(i)); }},
    /* 10 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.LabelsExponent()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsExponent(f.Boolean(i)); }},
    /* 11 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WriteFontStyle(a.LabelsFont())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsFont(*f.Font(i)); }},
    /* 12 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.LabelsMultiLine()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsMultiLine(f.Boolean(i)); }},
    /* 13 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.LabelsOnAxis()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsOnAxis(f.Boolean(i)); }},
    /* 14 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.LabelsSeparation()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsSeparation(f.Integer(i)); }},
    /* 15 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.LabelsSize()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLabelsSize(f.Integer(i)); }},
    /* 16 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.LabelStyle()); },
              [](TChartAxis& a, const TStyleFields& f, int i) {
                  a.SetLabelStyle(f.Enumeration<TAxisLabelStyle>(i, AxisLabelStyleNames.Count()));
              }},
    /* 17 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Logarithmic()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLogarithmic(f.Boolean(i)); }},
    /* 18 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.MaximumOffset()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetMaximumOffset(f.Integer(i)); }},
    /* 19 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.MinimumOffset()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetMinimumOffset(f.Integer(i)); }},
    /* 20 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WritePenStyle(a.MinorGrid())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetMinorGrid(*f.Pen(i)); }},
    /* 21 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.MinorTickCount()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetMinorTickCount(f.Integer(i)); }},
    /* 22 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.MinorTickLength()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetMinorTickLength(f.Integer(i)); }},
    /* 23 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WritePenStyle(a.MinorTicks())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetMinorTicks(*f.Pen(i)); }},
    /* 24 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(PixelFromReal(a.StartPosition())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetStartPosition(f.Integer(i)); }},
    /* 25 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(PixelFromReal(a.EndPosition())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetEndPosition(f.Integer(i)); }},
    /* 26 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(PixelFromReal(a.PositionPercent())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetPositionPercent(f.Integer(i)); }},
    /* 27 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.PositionUnits()); },
              [](TChartAxis& a, const TStyleFields& f, int i) {
                  a.SetPositionUnits(f.Enumeration<TLumUnits>(i, LumUnitsNames.Count()));
              }},
    /* 28 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.RoundFirstLabel()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetRoundFirstLabel(f.Boolean(i)); }},
    /* 29 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.TickInnerLength()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetTickInnerLength(f.Integer(i)); }},
    /* 30 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.TickLength()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetTickLength(f.Integer(i)); }},
    /* 31 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WritePenStyle(a.Ticks())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetTicks(*f.Pen(i)); }},
    /* 32 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WritePenStyle(a.TicksInner())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetTicksInner(*f.Pen(i)); }},
    /* 33 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.TickOnLabelsOnly()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetTickOnLabelsOnly(f.Boolean(i)); }},
    /* 34 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.Title().Angle()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.Title().SetAngle(f.Integer(i)); }},
    /* 35 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Nested(WriteFontStyle(a.Title().Font())); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.Title().SetFont(*f.Font(i)); }},
    /* 36 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Title().Visible()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.Title().SetVisible(f.Boolean(i)); }},
    /* 37 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.TitleSize()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetTitleSize(f.Integer(i)); }},
    /* 38 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.Visible()); }, nullptr},
    /* 39 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Integer(a.DecShift); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.DecShift = f.Integer(i); }},
    /* 40 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.RoundedLimits); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.RoundedLimits = f.Boolean(i); }},
    /* 41 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.MinDecOn); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.MinDecOn = f.Boolean(i); }},
    /* 42 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.MinDec); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.MinDec = f.Number(i); }},
    /* 43 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.AutomaticMinimum()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetAutomaticMinimum(f.Boolean(i)); }},
    /* 44 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.AutomaticMaximum()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetAutomaticMaximum(f.Boolean(i)); }},
    /* 45 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.LogarithmicBase()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetLogarithmicBase(f.Number(i)); }},
    /* 46 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.Increment()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.SetIncrement(f.Real(i)); }},
    /* 47 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.FixedAutoMinimum); }, nullptr},
    /* 48 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.FixedAutoMaximum); }, nullptr},
    /* 49 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.Minimum()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.StoreMinimum(f.Number(i)); }},
    /* 50 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Real(a.Maximum()); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.StoreMaximum(f.Number(i)); }},
    /* 51 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.AutoLogFormat); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.AutoLogFormat = f.Boolean(i); }},
    /* 52 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Boolean(a.FixedAutoLimits); },
              [](TChartAxis& a, const TStyleFields& f, int i) { a.FixedAutoLimits = f.Boolean(i); }},
    /* 53 */ {[](const TChartAxis& a, TStyleStringWriter& w) { w.Name(a.Title().Caption()); }, nullptr},
};

static_assert(std::size(AxisFields) == 54);

// The order of application: Logarithmic after the range and its flags, so that its setter works with
// them; FixedAutoLimits after it, to act at the next range computation.
constexpr int AxisReadOrder[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 18, 19, 20,
                                 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 39, 40, 41,
                                 42, 43, 44, 45, 46, 49, 50, 51, 17, 52};
constexpr int HorizontalField = 5;
constexpr int OtherSideField = 6;

} // namespace

std::string WriteAxisStyle(const TChartAxis& Axis)
{
    TStyleStringWriter w(AxisSeparator);
    for (const TAxisField& field : AxisFields) field.Write(Axis, w);
    return w.Text();
}

void ReadAxisStyle(TChartAxis& Axis, const std::string& Text, bool WithPosition)
{
    const TStyleFields fields(Text, AxisSeparator);
    if (fields.Count() == 0) return;
    for (int index : AxisReadOrder) {
        if (!WithPosition && (index == HorizontalField || index == OtherSideField)) continue;
        AxisFields[index].Read(Axis, fields, index);
    }
}

void InstallAxisStyleHooks()
{
    TLumEngineStyleHooks& hooks = LumEngineModule().Style;
    hooks.WriteAxisStyle = [](TChartAxis& Axis) { return WriteAxisStyle(Axis); };
    hooks.ReadAxisStyle = [](TChartAxis& Axis, const std::string& Text, bool WithPosition) {
        ReadAxisStyle(Axis, Text, WithPosition);
    };
}

void RemoveAxisStyleHooks()
{
    TLumEngineStyleHooks& hooks = LumEngineModule().Style;
    hooks.WriteAxisStyle = nullptr;
    hooks.ReadAxisStyle = nullptr;
}
