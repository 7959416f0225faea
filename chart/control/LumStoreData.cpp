// The series data exporters: which columns the points need, and their delimited text, XML, HTML table
// and spreadsheet records.
#include "chart/control/LumStoreData.h"

#include "chart/base/LumConst.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "chart/engine/LumEngineValues.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* CRLF = "\r\n";
// Rows and the row limit of the spreadsheet's records are 16-bit words.
constexpr int MaxSpreadsheetRows = 65535;

std::string Cell(const std::string& Text) { return "<td>" + Text + "</td>"; }

} // namespace

std::string ColorToHtmlText(std::int64_t Color)
{
    const TColor c = Color == clDefault ? 0 : ColorToRGB(static_cast<TColor>(Color));
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(c & 0xFF), static_cast<unsigned>((c >> 8) & 0xFF),
                  static_cast<unsigned>((c >> 16) & 0xFF));
    return text;
}

std::string EscapeMarkup(const std::string& Text)
{
    std::string out;
    for (char c : Text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// ---- TSeriesData -----------------------------------------------------------------------------------------

std::vector<TChartSeries*> TSeriesData::ExportedSeries() const
{
    if (SourceSeries) return {SourceSeries};
    std::vector<TChartSeries*> out;
    for (int i = 0; SourceChart && i < SourceChart->CountSeries(); ++i) out.push_back(SourceChart->SeriesAt(i));
    return out;
}

int TSeriesData::RowCount() const
{
    int rows = 0;
    for (const TChartSeries* s : ExportedSeries()) rows = std::max(rows, s->PointCount());
    return rows;
}

void TSeriesData::PrepareContent()
{
    const TChartSeries* model = SourceSeries;
    for (const TChartSeries* s : ExportedSeries())
        if (!model && s->PointCount() > 0) model = s;
    if (model) ContentFlags = PointDataFlags(*model) & (pdOtherValues | pdColors | pdLabels);
    if (!WithLabels) ContentFlags &= static_cast<std::uint8_t>(~pdLabels);
    if (!WithColors) ContentFlags &= static_cast<std::uint8_t>(~pdColors);
}

std::string TSeriesData::RowText(int) { return {}; }

std::string TSeriesData::AsString()
{
    PrepareContent();
    std::string text;
    for (int i = 0, n = RowCount(); i < n; ++i) text += RowText(i) + CRLF;
    return text;
}

std::vector<TChartValueList*> TSeriesData::ExtraLists(const TChartSeries& Series)
{
    std::vector<TChartValueList*> out;
    for (int i = 2; i < Series.ValueLists().Count(); ++i) out.push_back(Series.ValueLists().ListAt(i));
    return out;
}

std::string TSeriesData::Real(double Value, bool Point)
{
    if (!Point) return FloatToStr(Value);
    TFormatSettings settings = FormatSettings();
    settings.DecimalSeparator = '.';
    return FloatToStr(Value, settings);
}

// ---- Delimited text --------------------------------------------------------------------------------------

void TSeriesDataText::PrepareContent()
{
    TSeriesData::PrepareContent();
    if (!SourceSeries && WithLabels)
        for (const TChartSeries* s : ExportedSeries())
            for (int i = 0; i < s->PointCount(); ++i)
                if (!s->PointLabel(i).empty()) ContentFlags |= pdLabels;
}

bool TSeriesDataText::PointReals() const { return Separator == FormatSettings().DecimalSeparator; }

std::string TSeriesDataText::HeaderText()
{
    std::vector<std::string> cells;
    if (WithIndex) cells.push_back(Quoted(LumConst::Index));
    if (HasLabels()) cells.push_back(Quoted(LumConst::Text));
    if (HasColors()) cells.push_back(Quoted(LumConst::Colors));
    for (const TChartSeries* s : ExportedSeries()) {
        if (HasX()) cells.push_back(Quoted(s->OtherValues().Name()));
        if (s->ValueLists().Count() == 2) {
            cells.push_back(Quoted(SeriesCaption(*s)));
            continue;
        }
        cells.push_back(Quoted(s->MandatoryValues().Name()));
        for (const TChartValueList* l : ExtraLists(*s)) cells.push_back(Quoted(l->Name()));
    }
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? std::string(1, Separator) : std::string()) + cells[i];
    return line;
}

std::string TSeriesDataText::RowText(int Index)
{
    std::vector<std::string> cells;
    if (WithIndex) cells.push_back(std::to_string(Index));
    const std::vector<TChartSeries*> series = ExportedSeries();
    const auto value = [&](const TChartSeries& s, const TChartValueList& list) {
        if (Index >= s.PointCount()) return std::string();
        if (list.DateTime()) return Quoted(DateTimeToStr(list.ValueAt(Index)));
        return Real(list.ValueAt(Index), PointReals());
    };
    for (std::size_t k = 0; k < series.size(); ++k) {
        const TChartSeries& s = *series[k];
        if (k == 0 && HasLabels()) {
            std::string label;
            if (SourceSeries) label = Index < SourceSeries->PointCount() ? SourceSeries->PointLabel(Index) : "";
            else
                for (const TChartSeries* other : series)
                    if (Index < other->PointCount() && !other->PointLabel(Index).empty()) {
                        label = other->PointLabel(Index);
                        break;
                    }
            cells.push_back(label.empty() ? std::string() : Quoted(label));
        }
        if (k == 0 && HasColors())
            cells.push_back(ColorToHtmlText(Index < s.PointCount() ? s.StoredPointColor(Index) : clDefault));
        if (HasX()) cells.push_back(value(s, s.OtherValues()));
        cells.push_back(value(s, s.MandatoryValues()));
        for (const TChartValueList* l : ExtraLists(s)) cells.push_back(value(s, *l));
    }
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? std::string(1, Separator) : std::string()) + cells[i];
    return line;
}

std::string TSeriesDataText::AsString()
{
    PrepareContent();
    std::string text = WithHeader ? HeaderText() + CRLF : std::string();
    return text + TSeriesData::AsString() + CRLF;
}

// ---- XML -------------------------------------------------------------------------------------------------

std::string TSeriesDataXML::SeriesElement(const TChartSeries& Series)
{
    const auto attribute = [](const std::string& Name, const std::string& Value) {
        return EscapeMarkup(AnsiToUtf8(Name)) + "=\"" + EscapeMarkup(AnsiToUtf8(Value)) + "\"";
    };
    // Numbers and colours need no escaping; a million points should not pay for it.
    const auto number = [](const std::string& Name, const std::string& Value) { return Name + "=\"" + Value + "\""; };
    std::string text = "<series " + attribute("title", SeriesCaption(Series)) + " " +
                       attribute("type", SeriesTypeDescription(Series)) + " " +
                       attribute("color", ColorToHtmlText(Series.SeriesColor())) + ">" + CRLF;
    text += "<points count=\"" + std::to_string(Series.PointCount()) + "\">" + CRLF;
    const std::string xName = EscapeMarkup(AnsiToUtf8(Series.OtherValues().Name()));
    const std::string yName = EscapeMarkup(AnsiToUtf8(Series.MandatoryValues().Name()));
    const std::vector<TChartValueList*> extras = ExtraLists(Series);
    std::vector<std::string> extraNames;
    for (const TChartValueList* l : extras) extraNames.push_back(EscapeMarkup(AnsiToUtf8(l->Name())));
    for (int i = 0; i < Series.PointCount(); ++i) {
        text += "<point ";
        if (WithIndex) text += number("index", std::to_string(i));
        if (HasLabels()) text += " " + attribute("text", Series.PointLabel(i));
        if (HasColors()) text += " " + number("color", ColorToHtmlText(Series.StoredPointColor(i)));
        if (HasX()) text += " " + number(xName, Real(Series.OtherValues().ValueAt(i)));
        text += " " + number(yName, Real(Series.MandatoryValues().ValueAt(i)));
        for (std::size_t k = 0; k < extras.size(); ++k) text += " " + number(extraNames[k], Real(extras[k]->ValueAt(i)));
        text += std::string("/>") + CRLF;
    }
    return text + "</points>" + CRLF + "</series>" + CRLF + CRLF;
}

std::string TSeriesDataXML::AsString()
{
    PrepareContent();
    std::string text;
    if (WithHeader) {
        text = "<?xml version=\"1.0\"";
        if (!EncodingName.empty()) text += " encoding=\"" + EncodingName + "\"";
        text += std::string("?>") + CRLF;
    }
    if (SourceSeries) return text + SeriesElement(*SourceSeries);
    text += std::string("<chart>") + CRLF;
    for (const TChartSeries* s : ExportedSeries()) text += SeriesElement(*s);
    return text + "</chart>";
}

// ---- HTML table ------------------------------------------------------------------------------------------

std::string TSeriesDataHTML::RowText(int Index)
{
    std::string row = "<tr>";
    if (WithIndex) row += Cell(std::to_string(Index));
    for (const TChartSeries* s : ExportedSeries()) {
        const bool exists = Index < s->PointCount();
        const auto value = [&](const TChartValueList& l) { return Cell(exists ? Real(l.ValueAt(Index)) : ""); };
        if (HasLabels()) row += Cell(exists ? EscapeMarkup(s->PointLabel(Index)) : "");
        if (HasColors()) row += Cell(exists ? ColorToHtmlText(s->StoredPointColor(Index)) : "");
        if (HasX()) row += value(s->OtherValues());
        row += value(s->MandatoryValues());
        for (const TChartValueList* l : ExtraLists(*s)) row += value(*l);
    }
    return row + "</tr>";
}

std::string TSeriesDataHTML::AsString()
{
    const std::string rows = TSeriesData::AsString(); // prepares the flags
    std::string text = std::string("<table border=\"1\">") + CRLF;
    if (WithHeader) {
        std::string row = "<tr>";
        if (WithIndex) row += Cell(LumConst::Index);
        for (const TChartSeries* s : ExportedSeries()) {
            if (HasLabels()) row += Cell(LumConst::Text);
            if (HasColors()) row += Cell(LumConst::Colors);
            if (HasX()) row += Cell(EscapeMarkup(s->OtherValues().Name()));
            if (s->ValueLists().Count() == 2) {
                row += Cell(EscapeMarkup(SeriesCaption(*s)));
                continue;
            }
            row += Cell(EscapeMarkup(s->MandatoryValues().Name()));
            for (const TChartValueList* l : ExtraLists(*s)) row += Cell(EscapeMarkup(l->Name()));
        }
        text += row + "</tr>" + CRLF;
    }
    return text + rows + CRLF + "</table>";
}

// ---- Spreadsheet -----------------------------------------------------------------------------------------

namespace {

// The cell records of the spreadsheet file.
class TCellWriter {
public:
    explicit TCellWriter(TStream& Stream) : FStream(Stream) {}

    void Label(int Row, int Column, const std::string& Text)
    {
        const std::size_t n = std::min<std::size_t>(Text.size(), 255);
        Head(4, static_cast<std::uint16_t>(8 + n), Row, Column);
        FStream.WriteByte(static_cast<std::uint8_t>(n));
        FStream.WriteBytes(std::string_view(Text).substr(0, n));
    }
    void Number(int Row, int Column, double Value)
    {
        Head(3, 15, Row, Column);
        FStream.WriteDouble(Value);
    }
    void Blank(int Row, int Column) { Head(1, 7, Row, Column); }

private:
    void Head(std::uint16_t Record, std::uint16_t Length, int Row, int Column)
    {
        FStream.WriteWord(Record);
        FStream.WriteWord(Length);
        FStream.WriteWord(static_cast<std::uint16_t>(Row));
        FStream.WriteWord(static_cast<std::uint16_t>(Column));
        FStream.WriteBytes(std::string_view("\0\0\0", 3));
    }

    TStream& FStream;
};

} // namespace

void TSeriesDataXLS::SaveToStream(TStream& Stream)
{
    PrepareContent();
    const std::vector<TChartSeries*> series = ExportedSeries();
    const int rows = RowCount() + (WithHeader ? 1 : 0);
    if (rows > MaxSpreadsheetRows) throw ChartException("Too many rows for a spreadsheet file");
    const int perFlag = SourceSeries ? 1 : static_cast<int>(series.size());
    int columns = WithIndex ? 1 : 0;
    columns += perFlag * ((HasLabels() ? 1 : 0) + (HasColors() ? 1 : 0) + (HasX() ? 1 : 0));
    for (const TChartSeries* s : series) columns += s->ValueLists().Count() - 1;

    TMemoryStream out;
    out.WriteBytes(std::string_view("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12));
    out.WriteBytes(std::string_view("\x00\x02\x0A\x00", 4));
    for (int word : {0, rows, 0, columns, 0}) out.WriteWord(static_cast<std::uint16_t>(word));
    TCellWriter cells(out);
    const int top = WithHeader ? 1 : 0;
    if (WithHeader) {
        int c = 0;
        if (WithIndex) cells.Label(0, c++, LumConst::Index);
        for (const TChartSeries* s : series) {
            if (HasLabels()) cells.Label(0, c++, LumConst::Text);
            if (HasColors()) cells.Label(0, c++, LumConst::Colors);
            if (HasX()) cells.Label(0, c++, s->OtherValues().Name());
            for (int l = 1; l < s->ValueLists().Count(); ++l) cells.Label(0, c++, s->ValueLists().ListAt(l)->Name());
        }
    }
    for (int i = 0; i < RowCount(); ++i) {
        const int r = top + i;
        int c = 0;
        if (WithIndex) cells.Number(r, c++, i);
        for (const TChartSeries* s : series) {
            const bool exists = i < s->PointCount();
            if (HasLabels()) cells.Label(r, c++, exists ? s->PointLabel(i) : "");
            if (HasColors()) cells.Label(r, c++, exists ? ColorToHtmlText(s->StoredPointColor(i)) : "");
            if (HasX()) {
                if (exists) cells.Number(r, c++, s->OtherValues().ValueAt(i));
                else cells.Blank(r, c++);
            }
            if (!exists || s->PointIsNull(i)) {
                for (int l = 1; l < s->ValueLists().Count(); ++l) cells.Blank(r, c++);
                continue;
            }
            cells.Number(r, c++, s->MandatoryValues().ValueAt(i));
            for (const TChartValueList* l : ExtraLists(*s)) cells.Number(r, c++, l->ValueAt(i));
        }
    }
    out.WriteBytes(std::string_view("\x0A\x00\x00\x00", 4));
    out.SetPosition(0);
    Stream.CopyFrom(out, out.Size());
}
