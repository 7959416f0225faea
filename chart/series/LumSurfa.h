// The two bases of 3-D and palette-coloured series: TCustom3DSeries gives every point a Z (the list "Z")
// and makes the chart reserve depth for it; TCustom3DPaletteSeries colours points by their mandatory
// value along a two- or three-colour range or through a stepped palette, and shows that range or palette
// in the legend.
#pragma once

#include "chart/engine/LumEngine.h"

#include <functional>
#include <string>
#include <vector>

enum TLumPaletteStyle { psPale, psStrong, psGrayScale, psInvGray, psRainbow };
inline const TEnumNames LumPaletteStyleNames{"psPale", "psStrong", "psGrayScale", "psInvGray", "psRainbow"};

// One step of a palette: values below UpToValue (and at or above the step before) take Color.
struct TCustom3DPaletteEntry {
    double UpToValue = 0;
    TColor Color = 0;
};
// Kept sorted by UpToValue.
using TCustom3DPalette = std::vector<TCustom3DPaletteEntry>;

// The last word on a point's colour.
using TChartSurfaceGetColor = std::function<void(TChartSeries* Sender, int ValueIndex, TColor& Color)>;

// The 25 colours of the rainbow palette, from dark red through yellow and green to violet.
extern const TColor RainbowPaletteColors[25];

class TCustom3DSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustom3DSeries(TComponent* AOwner);

    // From another 3-D series: the Z list's settings and TimesZOrder; then the series base's copy.
    void Assign(const TPersistent& Source) override;

    TChartValueList& ZValues() const { return *FZValues; }
    void SetZValues(const TChartValueList& Value) { ReplaceValueListSettings(*FZValues, Value); }
    // The largest z order the chart takes while the series is in it.
    int TimesZOrder() const { return FTimesZOrder; }
    void SetTimesZOrder(int Value) { SetIntegerField(FTimesZOrder, Value); }

    // A point (X decides its place by its list's order; Z goes in at the same place); its index.
    int AppendXYZ(double X, double Y, double Z) { return AppendXYZWithLabel(X, Y, Z, {}, clDefault); }
    virtual int AppendXYZWithLabel(double X, double Y, double Z, const std::string& Label, TColor Color);
    // The depth pixel of point Index's Z through the chart's depth axis (0 without a chart).
    int ZScreenPosition(int Index) const;

    void ComputeZOrder() override;
    // Marks stand at the point's own depth.
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    TChartValueList* ValuesForAxis(const TChartAxis* Axis) const override;
    bool UsesAxis(const TChartAxis* Axis) const override;
    double HighestZ() override { return FZValues->HighestValue(); }
    double LowestZ() override { return FZValues->LowestValue(); }
    // Only 3-D series feed a 3-D series.
    bool AcceptsSource(const TChartSeries* Series) const override;

private:
    TChartValueList* FZValues;
    int FTimesZOrder = 3;
};

// The depth axis' Inverted flag, turned over when the chart is rotated to look from behind (rotation above
// 90 and below 270).
bool DepthAxisDrawnReversed(const TChartSeries& Series);

class TCustom3DPaletteSeries : public TCustom3DSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustom3DPaletteSeries(TComponent* AOwner);
    ~TCustom3DPaletteSeries() override;

    // The palette base's settings, published by its descendants (PaletteStyle only where named).
    static std::vector<TPropInfo> PaletteProperties(bool WithPaletteStyle);

    // From another palette series its colouring settings and palette; then the 3-D base's copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TGrid3DSeriesEditor"; }

    // ---- Colour range ----
    // The colour of the highest value.
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor Value);
    // The colour of the middle of the range; clNone: a two-colour range.
    TColor MidColor() const { return FMidColor; }
    void SetMidColor(TColor Value);
    // The colour of the lowest value.
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    bool UseColorRange() const { return FUseColorRange; }
    // Switching it on switches ColorEachPoint off.
    void SetUseColorRange(bool Value);
    // 1 / (highest - lowest) of the mandatory values when the series last prepared to draw; 0 for no range.
    double RangeFactor() const { return FRangeFactor; }

    // ---- Palette ----
    const TCustom3DPalette& Palette() const { return FPalette; }
    bool UsePalette() const { return FUsePalette; }
    // Switching it on switches ColorEachPoint off and builds the palette when it is missing.
    void SetUsePalette(bool Value);
    int PaletteSteps() const { return FPaletteSteps; }
    // Rebuilds the palette with that many entries.
    void SetPaletteSteps(int Value);
    TLumPaletteStyle PaletteStyle() const { return FPaletteStyle; }
    // A change clears the palette; the next drawing builds it again.
    void SetPaletteStyle(TLumPaletteStyle Value);
    double PaletteMin() const { return FPaletteMin; }
    void SetPaletteMin(double Value);
    // 0: the data's range spread over the steps.
    double PaletteStep() const { return FPaletteStep; }
    void SetPaletteStep(double Value);
    bool UsePaletteMin() const { return FUsePaletteMin; }
    void SetUsePaletteMin(bool Value);
    // The legend shows every n-th palette entry (below 1 counts as 1).
    int LegendEvery() const { return FLegendEvery; }
    void SetLegendEvery(int Value) { SetIntegerField(FLegendEvery, Value); }

    TChartSurfaceGetColor OnGetColor;

    // Inserts an entry before the first one whose limit is greater (equal limits keep their order); its index.
    int AddPaletteEntry(TColor Color, double Value);
    void ClearPalette();
    // With points and no palette: a palette of PaletteSteps entries.
    void EnsurePalette();
    // A palette of Steps entries from PaletteMin (or the lowest value) by PaletteStep (or the range spread
    // over the steps), coloured by PaletteStyle; then a repaint.
    void CreateDefaultPalette(int Steps);
    // The colour of the first entry whose limit is above Value, else of the last entry.
    TColor PaletteColorOf(double Value) const;
    // The range colour at T (0: EndColor, 0.5: MidColor when set, 1: StartColor).
    TColor RangeColorAt(double T) const;
    // The colour of a value: by the range, else by the palette, else the series colour.
    TColor ValueColor(double Value) const;
    // The per-channel differences of the range.
    void ComputeColorDeltas();
    void UpdateRangeFactor();
    // The palette entry legend entry A shows: from the highest limit down.
    int LegendPaletteIndex(int A) const;

    // ---- Series overrides ----
    void PrepareForDraw() override;
    // The explicit colour, else (unless ColorEachPoint or neither colouring is on) the value's colour;
    // OnGetColor last.
    TColor PointColor(int Index) const override;
    void ClearPoints() override;
    int LegendEntryCount() const override;
    TColor LegendColorOf(int Index) const override;
    std::string LegendTextOf(int LegendIndex, TLegendTextStyle Style) const override;
    void PaintLegendShape(int Index, const TRect& Rect) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PrepareForGallery(bool Enabled) override;
    void SetParentView3D(bool Value) override;

private:
    bool PaletteLegend() const;
    int LegendStep() const { return FLegendEvery < 1 ? 1 : FLegendEvery; }

    TColor FEndColor = 0xFFFFFF;
    TColor FMidColor = clNone;
    TCustom3DPalette FPalette;
    int FLegendEvery = 1;
    double FPaletteMin = 0;
    double FPaletteStep = 0;
    int FPaletteSteps = 32;
    TLumPaletteStyle FPaletteStyle = psPale;
    TColor FStartColor = 0x800000;
    bool FUseColorRange = true;
    bool FUsePalette = false;
    bool FUsePaletteMin = false;
    // Per channel (red, green, blue): the end colour's and the mid colour's value, and the deltas of the
    // lower and the upper half.
    int FEnd[3] = {};
    int FMid[3] = {};
    int FLow[3] = {};
    int FHigh[3] = {};
    double FRangeFactor = 0;
    // Divisors of the angle for red, green and blue in the pale and strong palettes.
    double FWave[3] = {2, 1, 1};
};
