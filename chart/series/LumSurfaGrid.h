// The base of series whose points form a grid in the X-Z plane with a height Y per node: the grid index
// from grid positions (1-based columns and rows) to point indexes, rebuilt before every paint, the
// corners of a cell, and grids generated from an event or the built-in sample surface.
#pragma once

#include "chart/series/LumSurfa.h"

#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

// The height of grid node (X, Z), 1-based.
using TChartSurfaceGetY = std::function<double(TChartSeries* Sender, int X, int Z)>;

class TCustom3DGridSeries : public TCustom3DPaletteSeries {
    VSP_PERSISTENT_CLASS
public:
    // An index larger than this many entries is not built (the series then draws nothing).
    static constexpr long long MaxGridIndexEntries = 1LL << 25;

    explicit TCustom3DGridSeries(TComponent* AOwner);

    // The published properties of a grid kind: the series base's (less Without), Own, the grid base's
    // (IrregularGrid only where named) and the palette base's, then the value lists with Z last.
    static std::vector<TPropInfo> GridKindProperties(std::vector<TPropInfo> Own, bool WithIrregularGrid,
                                                     std::initializer_list<std::string_view> Without = {});

    // From another grid series NumXValues, NumZValues and IrregularGrid; then the palette base's copy.
    void Assign(const TPersistent& Source) override;

    bool IrregularGrid() const { return FIrregularGrid; }
    void SetIrregularGrid(bool Value) { SetBooleanField(FIrregularGrid, Value); }
    int NumXValues() const { return FNumXValues; }
    // A new value empties the series and generates the grid again when it can.
    void SetNumXValues(int Value);
    int NumZValues() const { return FNumZValues; }
    void SetNumZValues(int Value);
    bool SampleMode() const { return FSampleMode; }
    void SetSampleMode(bool Value) { FSampleMode = Value; }

    TChartSurfaceGetY OnGetYValue;

    // Nothing unless CanGenerateGrid; else Columns x Rows points, stored row by row, then a palette.
    virtual void GenerateGrid(int Columns, int Rows);
    // OnGetYValue; else the sample surface while designing or in sample mode; else 0.
    virtual double GridYValue(int X, int Z);
    bool CanGenerateGrid() const;

    // The index from the points, regular or irregular; NumXValues and NumZValues become the counts found.
    // Not built (every cell missing) when an X or Z is not finite or the index would be too large.
    void RebuildGridIndex();
    // The point at column X and row Z, or -1 (also outside the index).
    int GridIndex(int X, int Z) const
    {
        if (X < 0 || Z < 0 || X >= FIndexColumns || Z >= FIndexRows) return -1;
        return FGridIndex[static_cast<std::size_t>(X) * static_cast<std::size_t>(FIndexRows) + static_cast<std::size_t>(Z)];
    }
    int IndexColumns() const { return FIndexColumns; }
    int IndexRows() const { return FIndexRows; }
    // The distinct X and Z values of the last irregular index, ascending (entry 0 unused: columns are 1-based).
    const std::vector<double>& IrregularXs() const { return FIrregularXs; }
    const std::vector<double>& IrregularZs() const { return FIrregularZs; }

    // Corner0..Corner3 of the cell at (X, Z) through XStep and ZStep, looked up in order up to the first
    // missing one; True when all four are there.
    bool GridCellCorners(int X, int Z);
    int XStep() const { return FXStep; }
    int ZStep() const { return FZStep; }
    void SetCellSteps(int XStep, int ZStep)
    {
        FXStep = XStep;
        FZStep = ZStep;
    }
    int Corner0() const { return FCorner[0]; }
    int Corner1() const { return FCorner[1]; }
    int Corner2() const { return FCorner[2]; }
    int Corner3() const { return FCorner[3]; }

    // ---- Series overrides ----
    void PrepareForDraw() override;
    void CopyPointsFrom(TChartSeries& Source) override;
    void ClearPoints() override;
    // A sample grid of Count x Count nodes in sample mode (restored afterwards).
    void AddRandomSampleValues(int Count, bool AsValues) override;
    int DefaultSampleCount() const override { return FNumXValues; }
    bool FunctionAcceptsSource(const TChartSeries* Source) const override;

protected:
    // A water-fall strip names its corners itself (two of them twice).
    void SetCorners(int C0, int C1, int C2, int C3)
    {
        FCorner[0] = C0;
        FCorner[1] = C1;
        FCorner[2] = C2;
        FCorner[3] = C3;
    }
    void StoreGridSize(int Columns, int Rows)
    {
        FNumXValues = Columns;
        FNumZValues = Rows;
    }

private:
    void ResetGridIndex(int Columns, int Rows);
    bool BuildRegularIndex();
    bool BuildIrregularIndex();

    bool FIrregularGrid = false;
    int FNumXValues = 10;
    int FNumZValues = 10;
    int FXStep = 1;
    int FZStep = 1;
    int FCorner[4] = {-1, -1, -1, -1};
    bool FSampleMode = false;
    // Column-major: entry (x, z) at x * FIndexRows + z; column 0 and row 0 stay -1.
    std::vector<int> FGridIndex;
    int FIndexColumns = 0;
    int FIndexRows = 0;
    std::vector<double> FIrregularXs;
    std::vector<double> FIrregularZs;
};
