// The grid series base: its class description, the regular and irregular grid index, cell corners and
// grid generation.
#include "chart/series/LumSurfaGrid.h"

#include "chart/series/SeriesLine.h"

#include <algorithm>
#include <cmath>

namespace {

// Restores the engine's value-list growth step, also when an exception passes.
class TGrowthStepScope {
public:
    explicit TGrowthStepScope(long long Points) : FSaved(LumEngineModule().ValueListGrowthStep)
    {
        LumEngineModule().ValueListGrowthStep = static_cast<int>(std::clamp<long long>(Points, 1, 1 << 30));
    }
    ~TGrowthStepScope() { LumEngineModule().ValueListGrowthStep = FSaved; }
    TGrowthStepScope(const TGrowthStepScope&) = delete;
    TGrowthStepScope& operator=(const TGrowthStepScope&) = delete;

private:
    int FSaved;
};

// The sorted distinct values of a list (position 0 left free for the 1-based grid).
std::vector<double> DistinctValues(const TChartValueList& List)
{
    std::vector<double> values(static_cast<std::size_t>(List.ValueCount()));
    for (int i = 0; i < List.ValueCount(); ++i) values[static_cast<std::size_t>(i)] = List.ValueAt(i);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    values.insert(values.begin(), 0.0);
    return values;
}

bool AllFinite(const TChartValueList& List)
{
    for (int i = 0; i < List.ValueCount(); ++i)
        if (!std::isfinite(List.ValueAt(i))) return false;
    return true;
}

// The 1-based position of Value among Sorted[1..].
int PositionOf(const std::vector<double>& Sorted, double Value)
{
    return static_cast<int>(std::lower_bound(Sorted.begin() + 1, Sorted.end(), Value) - Sorted.begin());
}

bool IndexFits(long long Columns, long long Rows)
{
    return Columns >= 0 && Rows >= 0 && (Columns + 1) * (Rows + 1) <= TCustom3DGridSeries::MaxGridIndexEntries;
}

} // namespace

std::vector<TPropInfo> TCustom3DGridSeries::GridKindProperties(std::vector<TPropInfo> Own, bool WithIrregularGrid,
                                                               std::initializer_list<std::string_view> Without)
{
    using P = TProps<TCustom3DGridSeries>;
    if (WithIrregularGrid)
        Own.push_back(
            P::Boolean("IrregularGrid", &TCustom3DGridSeries::IrregularGrid, &TCustom3DGridSeries::SetIrregularGrid)
                .Default(false));
    Own.push_back(P::Integer("NumXValues", &TCustom3DGridSeries::NumXValues, &TCustom3DGridSeries::SetNumXValues).Default(10));
    Own.push_back(P::Integer("NumZValues", &TCustom3DGridSeries::NumZValues, &TCustom3DGridSeries::SetNumZValues).Default(10));
    for (TPropInfo& p : PaletteProperties(true))
        if (p.Name != "ZValues") Own.push_back(std::move(p));
    std::vector<TPropInfo> props = SeriesKindProperties(std::move(Own), Without);
    props.push_back(P::Object("ZValues", [](const TCustom3DGridSeries& s) -> TPersistent* { return &s.ZValues(); }));
    return props;
}

const TClassInfo& TCustom3DGridSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustom3DGridSeries", .Parent = &TCustom3DPaletteSeries::StaticClassInfo()});
    return info;
}

TCustom3DGridSeries::TCustom3DGridSeries(TComponent* AOwner) : TCustom3DPaletteSeries(AOwner)
{
    TCustom3DGridSeries::ClearPoints();
}

void TCustom3DGridSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCustom3DGridSeries*>(&Source); s && s != this) {
        FNumXValues = s->FNumXValues;
        FNumZValues = s->FNumZValues;
        FIrregularGrid = s->FIrregularGrid;
    }
    TCustom3DPaletteSeries::Assign(Source);
}

void TCustom3DGridSeries::SetNumXValues(int Value)
{
    if (Value == FNumXValues) return;
    FNumXValues = Value;
    ClearPoints();
    GenerateGrid(FNumXValues, FNumZValues);
}

void TCustom3DGridSeries::SetNumZValues(int Value)
{
    if (Value == FNumZValues) return;
    FNumZValues = Value;
    ClearPoints();
    GenerateGrid(FNumXValues, FNumZValues);
}

bool TCustom3DGridSeries::CanGenerateGrid() const
{
    return OnGetYValue || ComponentState().Contains(csDesigning) || FSampleMode;
}

double TCustom3DGridSeries::GridYValue(int X, int Z)
{
    if (OnGetYValue) return OnGetYValue(this, X, Z);
    if (!ComponentState().Contains(csDesigning) && !FSampleMode) return 0;
    const double cx = std::cos(X / (0.2 * FNumXValues));
    const double cz = std::cos(Z / (0.2 * FNumZValues));
    return 0.5 * cx * cx + cz * cz - std::cos(Z / (0.5 * FNumZValues));
}

void TCustom3DGridSeries::GenerateGrid(int Columns, int Rows)
{
    if (!CanGenerateGrid()) return;
    StoreGridSize(Columns, Rows);
    {
        const TGrowthStepScope growth(static_cast<long long>(std::max(Columns, 0)) * std::max(Rows, 0));
        ClearPoints();
        BeginDataUpdate();
        try {
            for (int z = 1; z <= Rows; ++z)
                for (int x = 1; x <= Columns; ++x) AppendXYZ(x, GridYValue(x, z), z);
        } catch (...) {
            EndDataUpdate();
            throw;
        }
        EndDataUpdate();
    }
    CreateDefaultPalette(PaletteSteps());
}

void TCustom3DGridSeries::ResetGridIndex(int Columns, int Rows)
{
    FGridIndex.clear();
    FIndexColumns = FIndexRows = 0;
    if (!IndexFits(Columns, Rows)) return;
    FIndexColumns = Columns + 1;
    FIndexRows = Rows + 1;
    FGridIndex.assign(static_cast<std::size_t>(FIndexColumns) * static_cast<std::size_t>(FIndexRows), -1);
}

void TCustom3DGridSeries::RebuildGridIndex()
{
    FIrregularXs.clear();
    FIrregularZs.clear();
    if (PointCount() == 0) {
        ResetGridIndex(FNumXValues, FNumZValues);
        return;
    }
    const bool built = AllFinite(XValues()) && AllFinite(ZValues()) &&
                       (FIrregularGrid ? BuildIrregularIndex() : BuildRegularIndex());
    if (!built) ResetGridIndex(-1, -1);
}

bool TCustom3DGridSeries::BuildRegularIndex()
{
    const double bx = std::nearbyint(XValues().LowestValue()) - 1;
    const double bz = std::nearbyint(ZValues().LowestValue()) - 1;
    const double columns = std::nearbyint(XValues().HighestValue()) - bx;
    const double rows = std::nearbyint(ZValues().HighestValue()) - bz;
    // Decided in doubles: one stray coordinate of 1e9 must not size a huge index.
    if ((columns + 1) * (rows + 1) > static_cast<double>(MaxGridIndexEntries)) return false;
    ResetGridIndex(static_cast<int>(columns), static_cast<int>(rows));
    for (int i = 0; i < PointCount(); ++i) {
        const int x = static_cast<int>(std::nearbyint(XValues().ValueAt(i)) - bx);
        const int z = static_cast<int>(std::nearbyint(ZValues().ValueAt(i)) - bz);
        FGridIndex[static_cast<std::size_t>(x) * static_cast<std::size_t>(FIndexRows) + static_cast<std::size_t>(z)] = i;
    }
    StoreGridSize(static_cast<int>(columns), static_cast<int>(rows));
    return true;
}

bool TCustom3DGridSeries::BuildIrregularIndex()
{
    std::vector<double> xs = DistinctValues(XValues());
    std::vector<double> zs = DistinctValues(ZValues());
    const long long columns = static_cast<long long>(xs.size()) - 1, rows = static_cast<long long>(zs.size()) - 1;
    if (!IndexFits(columns, rows)) return false;
    ResetGridIndex(static_cast<int>(columns), static_cast<int>(rows));
    for (int i = 0; i < PointCount(); ++i) {
        const int c = PositionOf(xs, XValues().ValueAt(i));
        const int r = PositionOf(zs, ZValues().ValueAt(i));
        FGridIndex[static_cast<std::size_t>(c) * static_cast<std::size_t>(FIndexRows) + static_cast<std::size_t>(r)] = i;
    }
    StoreGridSize(static_cast<int>(columns), static_cast<int>(rows));
    FIrregularXs = std::move(xs);
    FIrregularZs = std::move(zs);
    return true;
}

bool TCustom3DGridSeries::GridCellCorners(int X, int Z)
{
    FCorner[0] = GridIndex(X, Z);
    if (FCorner[0] < 0) return false;
    FCorner[1] = GridIndex(X + FXStep, Z);
    if (FCorner[1] < 0) return false;
    FCorner[2] = GridIndex(X + FXStep, Z + FZStep);
    if (FCorner[2] < 0) return false;
    FCorner[3] = GridIndex(X, Z + FZStep);
    return FCorner[3] >= 0;
}

void TCustom3DGridSeries::PrepareForDraw()
{
    TCustom3DPaletteSeries::PrepareForDraw();
    if (PointCount() > 0) RebuildGridIndex();
}

void TCustom3DGridSeries::CopyPointsFrom(TChartSeries& Source)
{
    if (auto* grid = dynamic_cast<TCustom3DGridSeries*>(&Source)) StoreGridSize(grid->FNumXValues, grid->FNumZValues);
    TCustom3DPaletteSeries::CopyPointsFrom(Source);
    RebuildGridIndex();
    InvalidateChart();
}

void TCustom3DGridSeries::ClearPoints()
{
    TCustom3DPaletteSeries::ClearPoints();
    XValues().SetOrder(loNone);
    ResetGridIndex(FNumXValues, FNumZValues);
}

void TCustom3DGridSeries::AddRandomSampleValues(int Count, bool)
{
    if (Count <= 0) return;
    const bool saved = FSampleMode;
    FSampleMode = true;
    try {
        GenerateGrid(Count, Count);
    } catch (...) {
        FSampleMode = saved;
        throw;
    }
    FSampleMode = saved;
}

bool TCustom3DGridSeries::FunctionAcceptsSource(const TChartSeries* Source) const
{
    return dynamic_cast<const TCustom3DGridSeries*>(Source) != nullptr;
}
