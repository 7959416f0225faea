// The series data exporters of the native store: the points of one series, or of every series of a chart
// side by side, as delimited text, XML, an HTML table or a spreadsheet file of binary records. Qt-free.
#pragma once

#include "chart/base/RadErareServices.h"

#include <cstdint>
#include <string>
#include <vector>

class TChartSeries;
class TChartValueList;
class TCustomChart;

class TSeriesData : public TLumExportData {
public:
    // Series none: every series of the chart in series order.
    TSeriesData(TCustomChart* Chart, TChartSeries* Series = nullptr) : SourceChart(Chart), SourceSeries(Series) {}

    bool WithColors = false;
    bool WithIndex = false;
    bool WithHeader = false;
    bool WithLabels = true;
    TCustomChart* SourceChart;
    TChartSeries* SourceSeries;
    // 1: X values, 2: point colours, 4: point labels (the point data flags), set at each export.
    std::uint8_t ContentFlags = 0;

    // Each row's text and a line break.
    std::string AsString() override;

protected:
    virtual void PrepareContent();
    virtual std::string RowText(int Index);
    // The source series' point count, or the largest of the chart's series (0 without series).
    int RowCount() const;
    std::vector<TChartSeries*> ExportedSeries() const;
    bool HasX() const { return (ContentFlags & 1) != 0; }
    bool HasColors() const { return (ContentFlags & 2) != 0; }
    bool HasLabels() const { return (ContentFlags & 4) != 0; }
    // The value lists after the mandatory one that a column shows: lists 2, 3, ...
    static std::vector<TChartValueList*> ExtraLists(const TChartSeries& Series);
    // The general real form in the user's decimal separator (or "." when asked).
    static std::string Real(double Value, bool Point = false);
};

class TSeriesDataText : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    char Separator = '\t';
    // Put before and after every text cell.
    std::string QuoteText;

    std::string AsString() override;

protected:
    void PrepareContent() override;
    std::string RowText(int Index) override;

private:
    std::string HeaderText();
    std::string Quoted(const std::string& Text) const { return QuoteText + Text + QuoteText; }
    // Reals keep "." when the separator is the decimal separator, so that the columns stay apart.
    bool PointReals() const;
};

class TSeriesDataXML : public TSeriesData {
public:
    TSeriesDataXML(TCustomChart* Chart, TChartSeries* Series = nullptr) : TSeriesData(Chart, Series) { WithHeader = true; }
    // The texts are written as UTF-8 and the declaration says so.
    std::string EncodingName = "UTF-8";

    std::string AsString() override;

private:
    std::string SeriesElement(const TChartSeries& Series);
};

class TSeriesDataHTML : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    std::string AsString() override;

protected:
    std::string RowText(int Index) override;
};

class TSeriesDataXLS : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    // BOF, DIMENSIONS, the cells and EOF. ChartException "Too many rows for a spreadsheet file" (nothing
    // written) when the rows, header included, pass 65,535.
    void SaveToStream(TStream& Stream) override;
};

// "#RRGGBB" of a colour (system colours resolved; the default colour black).
std::string ColorToHtmlText(std::int64_t Color);
// The text with &, <, > and " as entities.
std::string EscapeMarkup(const std::string& Text);
