// The chart's legend: a framed box beside, above or below the plot that lists the series of the chart or
// the values of one series, each item with a symbol, up to two text columns and, for series, a check
// box or radio button; with its symbol settings and its title box. Qt-free.
#pragma once

#include "chart/control/ChartWalls.h"
#include "chart/engine/LumEngineSeries.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomChart;
class TChartSeries;

// A refused legend setting.
VSP_DECLARE_EXCEPTION(LegendException, Exception);

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
inline const TEnumNames LegendAlignmentNames{"laLeft", "laRight", "laTop", "laBottom"};

enum TCheckBoxesStyle { cbsCheck, cbsRadio };
inline const TEnumNames CheckBoxesStyleNames{"cbsCheck", "cbsRadio"};

// What the items are: series, values of one series, or the last value of each series (lsAuto decides
// between the first two).
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
inline const TEnumNames LegendStyleNames{"lsAuto", "lsSeries", "lsValues", "lsLastValues"};

enum TLegendSymbolPosition { spLeft, spRight };
inline const TEnumNames LegendSymbolPositionNames{"spLeft", "spRight"};

enum TLegendSymbolSize { lcsPercent, lcsPixels };
inline const TEnumNames LegendSymbolSizeNames{"lcsPercent", "lcsPixels"};

// Called after an item symbol is drawn (the series is none for a values item without series).
using TSymbolDrawEvent =
    std::function<void(TPersistent* Sender, TChartSeries* Series, int ValueIndex, const TRect& R)>;
// Lets a companion reserve room inside the legend: Size grows by what it needs.
using TLegendSizeHook = std::function<void(TPersistent* Sender, int& Size)>;

// ---- Symbol ----------------------------------------------------------------------------------------------

class TLegendSymbol : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    // Width 20 percent, on the left, visible; ItemHeight reports the legend's item height.
    TLegendSymbol(TCustomLumPanel* Chart, std::function<int()> ItemHeight);
    ~TLegendSymbol() override;
    TLegendSymbol(const TLegendSymbol&) = delete;
    TLegendSymbol& operator=(const TLegendSymbol&) = delete;

    // Continuous, Gradient, Pen, Position, Squared, Width, WidthUnits and Visible (not DefaultPen).
    void Assign(const TPersistent& Source) override;

    // Symbols of adjacent items touch.
    bool Continuous() const { return FContinuous; }
    void SetContinuous(bool Value) { Store(FContinuous, Value); }
    // Series outline their symbols with their own pen (else with Pen).
    bool DefaultPen() const { return FDefaultPen; }
    void SetDefaultPen(bool Value) { Store(FDefaultPen, Value); }
    TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TLumGradient& Value) { FGradient->Assign(Value); }
    TChartPen& Pen() const { return *FPen; }
    void SetPen(const TChartPen& Value) { FPen->Assign(Value); }
    TLegendSymbolPosition Position() const { return FPosition; }
    void SetPosition(TLegendSymbolPosition Value) { Store(FPosition, Value); }
    // As wide as the item is high, less 5.
    bool Squared() const { return FSquared; }
    void SetSquared(bool Value) { Store(FSquared, Value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { Store(FVisible, Value); }
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TLegendSymbolSize WidthUnits() const { return FWidthUnits; }
    void SetWidthUnits(TLegendSymbolSize Value) { Store(FWidthUnits, Value); }
    TSymbolDrawEvent OnDraw;

    // The symbol's width for items whose text is Base pixels wide.
    int CalcWidth(int Base) const;
    // A symbol box of the colour: the gradient ending in it (when visible) or white, outlined with Pen.
    void PaintSymbolRect(TColor Color, const TRect& Rect);

private:
    template <class T>
    void Store(T& Field, T Value)
    {
        if (Field == Value) return;
        Field = Value;
        Repaint();
    }
    void Repaint();

    TCustomLumPanel* FChart;
    std::function<int()> FItemHeight;
    bool FContinuous = false;
    bool FDefaultPen = true;
    std::unique_ptr<TLumGradient> FGradient;
    std::unique_ptr<TChartPen> FPen;
    TLegendSymbolPosition FPosition = spLeft;
    bool FSquared = false;
    bool FVisible = true;
    int FWidth = 20;
    TLegendSymbolSize FWidthUnits = lcsPercent;
};

// ---- Title -----------------------------------------------------------------------------------------------

// The box of text lines at the top of the legend: transparent, bold, with a silver shadow of 2.
class TLegendTitle : public TLumShape {
    VSP_PERSISTENT_CLASS
public:
    explicit TLegendTitle(TCustomLumPanel* Chart);
    ~TLegendTitle() override;

    void Assign(const TPersistent& Source) override;

    TStringList& Text() const { return *FText; }
    void SetText(const TStringList& Value) { FText->Assign(Value); }
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment Value);

    // Visible and some text.
    bool Shown() const;
    // The box's height and width on the chart canvas (its font selected).
    int TitleHeight();
    int TitleWidth();
    // The lines in the box Rect (which the box is drawn in first).
    void DrawTitle(const TRect& Rect);

private:
    int FramePenWidth() const { return Pen().Visible() ? Pen().Width() : 0; }
    // The widest line, plain or, for an HTML title, as the HTML measure lays it out.
    int WidestLine(TCanvas3D& Canvas) const;

    std::unique_ptr<TStringList> FText;
    TAlignment FTextAlignment = taLeftJustify;
};

// The legend's gradient: right to left, silver to white (also as its stored defaults).
class TChartLegendGradient : public TLumGradient {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartLegendGradient(TNotifyEvent OnChange = nullptr);
};

// ---- Legend ----------------------------------------------------------------------------------------------

class TCustomChartLegend : public TLumCustomShapePosition {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomChartLegend(TCustomAxisPanel* Chart);
    ~TCustomChartLegend() override;

    // Every setting but Series; then the positioned box's settings.
    void Assign(const TPersistent& Source) override;

    // ---- Settings ----
    TLegendAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment Value);
    bool CheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool Value) { Change(FCheckBoxes, Value); }
    TCheckBoxesStyle CheckBoxesStyle() const { return FCheckBoxesStyle; }
    // Becoming radio keeps only the first active series of the legend active.
    void SetCheckBoxesStyle(TCheckBoxesStyle Value);
    bool CurrentPage() const { return FCurrentPage; }
    void SetCurrentPage(bool Value) { Change(FCurrentPage, Value); }
    TChartHiddenPen& DividingLines() const { return *FDividingLines; }
    void SetDividingLines(const TChartPen& Value) { FDividingLines->Assign(Value); }
    int FirstValue() const { return FFirstValue; }
    // LegendException "First Legend Value must be > 0" for a negative value (0 is taken).
    void SetFirstValue(int Value);
    bool FontSeriesColor() const { return FFontSeriesColor; }
    void SetFontSeriesColor(bool Value) { Change(FFontSeriesColor, Value); }
    int HorizMargin() const { return FHorizMargin; }
    void SetHorizMargin(int Value) { Change(FHorizMargin, Value); }
    bool Inverted() const { return FInverted; }
    void SetInverted(bool Value) { Change(FInverted, Value); }
    int LeftPercent() const { return FLeftPercent; }
    void SetLeftPercent(int Value) { Change(FLeftPercent, Value); }
    TLegendStyle LegendStyle() const { return FLegendStyle; }
    void SetLegendStyle(TLegendStyle Value);
    int MaxNumRows() const { return FMaxNumRows; }
    void SetMaxNumRows(int Value) { Change(FMaxNumRows, Value); }
    TLumUnits PositionUnits() const { return FPositionUnits; }
    void SetPositionUnits(TLumUnits Value);
    bool ResizeChart() const { return FResizeChart; }
    void SetResizeChart(bool Value) { Change(FResizeChart, Value); }
    TLegendSymbol& Symbol() const { return *FSymbol; }
    void SetSymbol(const TLegendSymbol& Value) { FSymbol->Assign(Value); }
    // Symbol.Width.
    int ColorWidth() const { return FSymbol->Width(); }
    void SetColorWidth(int Value) { FSymbol->SetWidth(Value); }
    TLegendTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle Value);
    TLegendTitle& Title() const { return *FTitle; }
    void SetTitle(const TLegendTitle& Value) { FTitle->Assign(Value); }
    int TopPos() const { return FTopPos; }
    void SetTopPos(int Value) { Change(FTopPos, Value); }
    int TopPercent() const { return FTopPercent; }
    void SetTopPercent(int Value) { Change(FTopPercent, Value); }
    int VertMargin() const { return FVertMargin; }
    void SetVertMargin(int Value) { Change(FVertMargin, Value); }
    int VertSpacing() const { return FVertSpacing; }
    void SetVertSpacing(int Value) { Change(FVertSpacing, Value); }

    // The series whose values a values legend lists; none: the first active series.
    TChartSeries* Series() const { return FSeries; }
    // The chart is told when the series is freed, and the legend then forgets it.
    void SetSeries(TChartSeries* Value);
    // SetSeries and a repaint.
    void AssignSeries(TChartSeries* Value);
    TLegendSizeHook SizeHook;

    // ---- What the chart asks ----
    // lsAuto resolved: series with check boxes or more than one active series, else values.
    TLegendStyle ComputeEffectiveStyle() const;
    // The style of the last drawing (lsSeries before the first).
    TLegendStyle EffectiveStyle() const { return FEffectiveStyle; }
    bool CheckBoxesShown() const { return FCheckBoxes && ComputeEffectiveStyle() != lsValues; }
    // Visible, and check boxes shown or some active series.
    bool ShouldDraw() const;
    bool IsSideAligned() const { return FAlignment == laLeft || FAlignment == laRight; }
    // The legend font's character height (at least 17 with check boxes), the spacing and, for a side
    // legend, the dividing lines.
    int ItemHeight();
    // The text of a point of a series in TextStyle (line breaks as blanks); empty for index -1.
    std::string ItemText(const TChartSeries& Series, int ValueIndex) const;
    // The series whose values a values legend lists.
    TChartSeries* LegendSeries() const;
    // Lays out and draws the legend, taking its space from the chart rectangle unless custom-positioned
    // or ResizeChart is off. Nothing when no item fits.
    void DrawLegend();
    // The item at a point of the last drawing; -1 outside the items (on the title too).
    int ItemAtPoint(int X, int Y);
    // A left press on an item: toggles or selects its series by the check mode; false when nothing
    // changed hands (no check boxes, no item, no series).
    bool Clicked(int X, int Y, int Item);

    // ---- Layout of the last drawing ----
    struct TLayout {
        int SymbolWidth = 0;
        int TotalItems = 0;
        bool TitleShown = false;
        int LastValue = -1;
        int Columns = 0;
        int Rows = 0;
        std::array<int, 2> ColumnWidths{0, 0};
        int ItemHeight = 0;
        int SpaceWidth = 0;
        int TextWidth = 0;
        int ItemsTop = 0;
        // Space above the first item (a tenth of the item height).
        int Margin = 0;
        int CheckBoxX = 0;
        int SymbolX = 0;
        int TextX = 0;
    };
    const TLayout& Layout() const { return FLayout; }

protected:
    std::unique_ptr<TLumGradient> NewGradient(TNotifyEvent OnChange) override;

private:
    using TItemText = std::array<std::string, 2>;

    // Stores through the chart's change routine.
    template <class T>
    void Change(T& Field, T Value)
    {
        if (Field == Value) return;
        Field = Value;
        RepaintParent();
    }
    // The chart, which must be a TCustomChart (EInvalidCast otherwise).
    TCustomChart& Chart() const;
    // The frame pen's width when visible, or the bevel's.
    int FrameWidth() const;
    int TotalItemCount(TLegendStyle Style) const;
    // The item's text, through the chart's OnGetLegendText.
    std::string LegendText(int Index) const;
    // The texts of items First..Last into their slots, split into two columns at character 6.
    void FetchItemTexts(int First, int Last);
    // The columns' widths; the text width of an item.
    int MeasureItemTexts(TCanvas3D& Canvas, int SpaceWidth);
    void LayOutSide(TRect& R, int F, int ItemsTopOffset);
    void LayOutTopBottom(TRect& R, TCanvas3D& Canvas, int F);
    void PlaceItemColumns(int A);
    void PlaceSide(TRect& R, int F, int TitleWidth);
    void PlaceTopBottom(TRect& R, int TitleWidth);
    void DrawTitleBox(const TRect& R);
    void DrawItems(TCanvas3D& Canvas);
    void DrawItem(TCanvas3D& Canvas, int ValueIndex, int Slot, TChartSeries* ValuesSeries);
    void DrawItemTexts(TCanvas3D& Canvas, int X, int Y, const TItemText& Texts);
    void GiveUpChartSpace(const TRect& R);
    bool RightAlignedColumn(int Column) const;
    // The horizontal distance between the columns of a top or bottom legend.
    int ColumnStep() const;

    TLegendAlignment FAlignment = laRight;
    bool FCheckBoxes = false;
    TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
    bool FCurrentPage = true;
    std::unique_ptr<TChartHiddenPen> FDividingLines;
    int FFirstValue = 0;
    bool FFontSeriesColor = false;
    int FHorizMargin = 0;
    bool FInverted = false;
    int FLeftPercent = 0;
    TLegendStyle FLegendStyle = lsAuto;
    int FMaxNumRows = 10;
    TLumUnits FPositionUnits = muPixels;
    bool FResizeChart = true;
    TChartSeries* FSeries = nullptr;
    std::unique_ptr<TLegendSymbol> FSymbol;
    TLegendTextStyle FTextStyle = ltsLeftValue;
    std::unique_ptr<TLegendTitle> FTitle;
    int FTopPos = 10;
    int FTopPercent = 0;
    int FVertMargin = 0;
    int FVertSpacing = 0;

    TLegendStyle FEffectiveStyle = lsSeries;
    TLayout FLayout;
    std::vector<TItemText> FItems;
    int FTitleHeight = 0;
};

class TChartLegend : public TCustomChartLegend {
    VSP_PERSISTENT_CLASS
public:
    using TCustomChartLegend::TCustomChartLegend;
};
