// Survey preparation: the steps from the survey as read to the electrode records and the data set, each a
// named routine called in order by PrepareSurvey.
#include "core/SurveyPrepare.h"

#include "core/SurveySort.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr double SamePosition = 1e-5;    // positions closer than this are one electrode
constexpr double ZeroPosition = 1e-7;    // a converted x closer to 0 than this is 0
constexpr double ProfileExtension = 1000; // flat extension of the profile at both ends
const char* const DataFileError = "Error in data file!";

bool IsMissing(double v) { return v == MissingValue; }

// Merging of positions closer than SamePosition, in n log n. A position (x, z) is kept unless an earlier
// kept one lies closer than SamePosition in x and in z, as AddUniqueValue and FindElectrode decide one
// by one. Two positions can only be that close within a run of x values whose neighbours in sorted
// order lie closer than SamePosition, so each run is settled on its own, in the order of the positions.
class TPositionMerge {
public:
    void Add(double x, double z)
    {
        FX.push_back(x);
        FZ.push_back(z);
    }
    // Per position in the order added: whether it is kept.
    std::vector<bool> Kept() const
    {
        const std::size_t n = FX.size();
        std::vector<bool> kept(n, true); // a NaN x is near nothing
        std::vector<std::pair<double, std::size_t>> order; // (x, position), sorted
        order.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isnan(FX[i])) order.push_back({FX[i], i});
        if (!std::is_sorted(order.begin(), order.end())) std::sort(order.begin(), order.end());
        std::vector<std::size_t> run;
        for (std::size_t k = 0; k < order.size(); ++k) {
            run.push_back(order[k].second);
            if (k + 1 < order.size() && order[k + 1].first - order[k].first < SamePosition) continue;
            SettleRun(run, kept);
            run.clear();
        }
        return kept;
    }

private:
    bool Near(std::size_t a, std::size_t b) const
    {
        return std::abs(FX[a] - FX[b]) < SamePosition && std::abs(FZ[a] - FZ[b]) < SamePosition;
    }
    // Within a run, in the order added: a short run compares with its kept positions one by one, a long
    // one looks them up by x.
    void SettleRun(std::vector<std::size_t>& run, std::vector<bool>& kept) const
    {
        if (run.size() == 1) return;
        std::sort(run.begin(), run.end());
        if (run.size() <= 32) {
            std::vector<std::size_t> taken;
            for (std::size_t i : run) {
                kept[i] = std::none_of(taken.begin(), taken.end(), [&](std::size_t j) { return Near(i, j); });
                if (kept[i]) taken.push_back(i);
            }
            return;
        }
        std::multimap<double, std::size_t> taken;
        for (std::size_t i : run) {
            const auto end = taken.upper_bound(FX[i] + SamePosition);
            bool near = false;
            for (auto it = taken.lower_bound(FX[i] - SamePosition); it != end && !near; ++it) near = Near(i, it->second);
            kept[i] = !near;
            if (!near) taken.insert({FX[i], i});
        }
    }

    std::vector<double> FX, FZ;
};

// The distinct values of a list (AddUniqueValue over it, MissingValue left out), sorted.
arofdoubleM DistinctSorted(const std::vector<double>& values)
{
    TPositionMerge merge;
    for (double v : values) merge.Add(v, 0.0);
    const std::vector<bool> kept = merge.Kept();
    arofdoubleM distinct;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (kept[i] && !IsMissing(values[i])) distinct.push_back(values[i]);
    SortDoubles(distinct);
    return distinct;
}

// FindElectrode over records sorted by x: the lowest index of a record near (x, depth).
class TElectrodeIndex {
public:
    explicit TElectrodeIndex(const elecarray& electrodes)
    {
        for (int i = 0; i < electrodes.Length(); ++i)
            if (!std::isnan(electrodes[i].x)) FByX.push_back({electrodes[i].x, electrodes[i].zraw, i});
        const auto byX = [](const TRecord& a, const TRecord& b) { return a.x < b.x; };
        if (!std::is_sorted(FByX.begin(), FByX.end(), byX)) std::sort(FByX.begin(), FByX.end(), byX);
    }
    int Find(double x, double depth)
    {
        int found = NoElectrode;
        if (std::isnan(x)) return found;
        auto it = FByX.begin() + static_cast<std::ptrdiff_t>(LowerBound(x - SamePosition));
        FHint = static_cast<std::size_t>(it - FByX.begin());
        for (; it != FByX.end() && it->x <= x + SamePosition; ++it)
            if (std::abs(x - it->x) < SamePosition && std::abs(depth - it->zraw) < SamePosition
                && (found == NoElectrode || it->index < found))
                found = it->index;
        return found;
    }

private:
    struct TRecord {
        double x;
        double zraw;
        int index;
    };

    // The first record of x at least v, searched outward from the last one found: the rows come sorted,
    // so consecutive lookups land close together and a long survey is not a cache miss per halving.
    std::size_t LowerBound(double v) const
    {
        const auto less = [](const TRecord& r, double value) { return r.x < value; };
        const std::size_t n = FByX.size();
        std::size_t lo = 0, hi = n, step = 1;
        if (FHint < n && FByX[FHint].x < v) {
            lo = FHint + 1; // every record before lo lies below v
            while (lo + step < n && FByX[lo + step - 1].x < v) {
                lo += step;
                step *= 2;
            }
            hi = std::min(n, lo + step);
        } else {
            hi = std::min(FHint, n); // the record at hi, if any, lies at v or above
            while (hi >= step && !(FByX[hi - step].x < v)) {
                hi -= step;
                step *= 2;
            }
            lo = hi >= step ? hi - step : 0;
        }
        return static_cast<std::size_t>(std::lower_bound(FByX.begin() + static_cast<std::ptrdiff_t>(lo),
                                                         FByX.begin() + static_cast<std::ptrdiff_t>(hi), v, less) -
                                        FByX.begin());
    }

    std::vector<TRecord> FByX;
    std::size_t FHint = 0;
};

// Rows of other code may be short; every step below reads the nine columns.
void EnsureRowLength(TSurveyState& s)
{
    for (TMeasurementRow& row : s.SurveyRows) {
        const int n = row.Length();
        if (n >= MeasurementRowLength) continue;
        row.SetLength(MeasurementRowLength);
        for (int i = n; i < MeasurementRowLength; ++i) row[i] = MissingValue;
    }
}

// x becomes LineShift - x everywhere a position along the line is held: the rows, the profile, the "***"
// positions and the along-ground reference (its point and its distance), so they stay in one frame.
void ReverseLine(TSurveyState& s)
{
    if (!s.ReverseLine) return;
    const auto reverse = [&s](double& x) {
        if (!IsMissing(x)) x = s.LineShift - x;
    };
    for (TMeasurementRow& row : s.SurveyRows)
        for (int c : {mcP1x, mcP2x}) reverse(row[c]);
    for (complexM& p : s.Topography) p.x = s.LineShift - p.x;
    for (double& x : s.StarValues) reverse(x);
    if (!IsMissing(s.TopoReference.x)) {
        reverse(s.TopoReference.x);
        s.TopoReference.distance = s.LineShift - s.TopoReference.distance;
    }
}

// Sorts the profile and gives the axis offset that shows real elevations.
double SortTopography(TSurveyState& s)
{
    if (s.Topography.Length() < 2) return 0.0;
    StableSortBy(s.Topography, [](const complexM& a, const complexM& b) { return a.x < b.x; });
    if (!s.RealTopoCoordinates) return 0.0;
    double top = 0.0;
    for (const complexM& p : s.Topography) top = std::max(top, p.z);
    return top > 0.0 ? -top : 0.0;
}

// x values measured along the ground become horizontal positions; the first point is the reference.
bool ConvertSlopeProfile(TSurveyState& s)
{
    arofcomplexM& t = s.Topography;
    if (t.empty() || !s.SlopeTopography) return true;
    s.TopoReference = {t[0].x, t[0].x};
    arofdoubleM x(t.size());
    x[0] = t[0].x;
    for (int i = 1; i < t.Length(); ++i) {
        const double ds = t[i].x - t[i - 1].x;
        const double dz = t[i].z - t[i - 1].z;
        const double run = ds * ds - dz * dz;
        if (run < 0.0) return false; // a step higher than its length along the ground
        x[i] = x[i - 1] + std::sqrt(run);
    }
    for (int i = 0; i < t.Length(); ++i) t[i].x = x[i];
    return true;
}

// Row positions given as distances along the ground become x positions.
bool ConvertSlopePositions(TSurveyState& s)
{
    if (IsMissing(s.TopoReference.x)) return true;
    for (TMeasurementRow& row : s.SurveyRows) {
        arofdoubleM distances;
        for (int c : {mcP1x, mcP2x})
            if (!IsMissing(row[c])) distances.push_back(row[c]);
        if (distances.empty()) continue;
        arofdoubleM xs;
        if (!ArcLengthToX(s.Topography, s.TopoReference, distances, xs)) return false;
        int k = 0;
        for (int c : {mcP1x, mcP2x})
            if (!IsMissing(row[c])) row[c] = xs[k++];
    }
    return true;
}

// By P1's depth, then its x. The keys are sorted beside the rows' indexes, then the rows follow: each row
// holds its values elsewhere on the heap, and comparing rows there would wait on memory at every step.
void SortRows(TSurveyState& s)
{
    struct TRowKey {
        double z, x;
        std::size_t row;
    };
    DynArray<TRowKey> keys;
    keys.Reserve(s.SurveyRows.size());
    for (std::size_t k = 0; k < s.SurveyRows.size(); ++k)
        keys.push_back({s.SurveyRows[k][mcP1z], s.SurveyRows[k][mcP1x], k});
    StableSortBy(keys, [](const TRowKey& a, const TRowKey& b) { return a.z < b.z || (a.z == b.z && a.x < b.x); });
    DynArray<TMeasurementRow> sorted;
    sorted.Reserve(keys.size());
    for (const TRowKey& key : keys) sorted.push_back(std::move(s.SurveyRows[key.row]));
    s.SurveyRows = std::move(sorted);
}

// Which rows carry a measured dU, taken before the gaps are filled.
std::vector<bool> ObservedFlags(const TSurveyState& s)
{
    std::vector<bool> present;
    present.reserve(s.SurveyRows.size());
    for (const TMeasurementRow& row : s.SurveyRows) present.push_back(!IsMissing(row[mcDU]));
    return present;
}

void FillGaps(TSurveyState& s)
{
    for (TMeasurementRow& row : s.SurveyRows)
        for (int i = mcP1y; i < row.Length(); ++i)
            if (IsMissing(row[i])) row[i] = i == mcWeight ? 1.0 : 0.0;
}

arofdoubleM DistinctRowPositions(const TSurveyState& s)
{
    std::vector<double> positions;
    positions.reserve(2 * s.SurveyRows.size());
    for (const TMeasurementRow& row : s.SurveyRows) {
        positions.push_back(row[mcP1x]);
        positions.push_back(row[mcP2x]);
    }
    return DistinctSorted(positions);
}

// "Extended nodes": one spacing beyond each end, unless the file gave its own "***" positions.
void ExtendNodes(TSurveyState& s)
{
    if (!s.ExtendedNodes || !s.StarValues.empty()) return;
    const arofdoubleM w = DistinctRowPositions(s);
    if (w.Length() < 2) return;
    const int last = w.High();
    s.StarValues = {w[0] - std::abs(w[1] - w[0]), w[last] + std::abs(w[last] - w[last - 1])};
}

void BuildElectrodes(TSurveyState& s)
{
    s.Electrodes.clear();
    double zTop = 0.0;
    for (int i = 0; i < s.Topography.Length(); ++i)
        zTop = i == 0 ? s.Topography[0].z : std::max(zTop, s.Topography[i].z);
    // The rows' positions, P1 then P2 of each row; the first of each group of near ones is the record.
    TPositionMerge merge;
    for (const TMeasurementRow& row : s.SurveyRows)
        for (auto [cx, cz] : {std::pair{mcP1x, mcP1z}, std::pair{mcP2x, mcP2z}})
            if (!IsMissing(row[cx])) merge.Add(row[cx], row[cz]);
    const std::vector<bool> kept = merge.Kept();
    s.Electrodes.Reserve(static_cast<std::size_t>(std::count(kept.begin(), kept.end(), true)));
    std::size_t k = 0;
    for (const TMeasurementRow& row : s.SurveyRows) {
        for (auto [cx, cz] : {std::pair{mcP1x, mcP1z}, std::pair{mcP2x, mcP2z}}) {
            const double ex = row[cx];
            const double ez = row[cz];
            if (IsMissing(ex) || !kept[k++]) continue;
            const double g = InterpolateProfile(s.Topography, ex); // 0 without a profile
            TElectrode e;
            e.x = ex;
            e.zraw = ez;
            e.ztopo = ez + g;
            e.z = s.Topography.empty() ? ez : ez + zTop - g;
            e.surface = !(ez > 0.0);
            e.minusZtopo = -e.ztopo;
            s.Electrodes.push_back(e);
        }
    }
    StableSortBy(s.Electrodes, [](const TElectrode& a, const TElectrode& b) {
        return a.zraw < b.zraw || (a.zraw == b.zraw && a.x < b.x);
    });
}

void FindScaleLength(TSurveyState& s)
{
    std::vector<double> x;
    x.reserve(s.Electrodes.size());
    for (const TElectrode& e : s.Electrodes) x.push_back(e.x);
    const arofdoubleM w = DistinctSorted(x);
    if (w.Length() < 2) {
        s.ScaleLength = MissingValue; // no spacing: the survey cannot be discretised
        return;
    }
    arofdoubleM gaps;
    for (int i = 0; i + 1 < w.Length(); ++i) gaps.push_back(w[i + 1] - w[i]);
    s.ScaleLength = RobustMean(gaps);
}

void BuildDataSet(TSurveyState& s, const std::vector<bool>& observedPresent)
{
    TElectrodeIndex index(s.Electrodes);
    const std::size_t n = s.SurveyRows.size();
    osource set;
    for (arofdoubleM* a : {&set.P1x, &set.P2x, &set.P1y, &set.P2y, &set.P1z, &set.P2z, &set.Observed, &set.Weight,
                           &set.Calculated})
        a->Reserve(n);
    set.ObservedPresent.Reserve(n);
    set.P1.Reserve(n);
    set.P2.Reserve(n);
    for (std::size_t k = 0; k < s.SurveyRows.size(); ++k) {
        const TMeasurementRow& row = s.SurveyRows[k];
        set.P1x.push_back(row[mcP1x]);
        set.P2x.push_back(row[mcP2x]);
        set.P1y.push_back(row[mcP1y]);
        set.P2y.push_back(row[mcP2y]);
        set.P1z.push_back(row[mcP1z]);
        set.P2z.push_back(row[mcP2z]);
        set.Observed.push_back(row[mcDU]);
        set.Weight.push_back(row[mcWeight]);
        set.Calculated.push_back(0.0);
        set.ObservedPresent.push_back(observedPresent[k]);
        set.P1.push_back(index.Find(row[mcP1x], row[mcP1z]));
        set.P2.push_back(index.Find(row[mcP2x], row[mcP2z]));
    }
    s.DataSets.clear();
    s.DataSets.push_back(std::move(set));
}

void ApplySetupDefaults(TSurveyState& s)
{
    if (!s.SetupDefaultsPending) return;
    s.Settings.FactorX = 0.1;
    s.Settings.FactorZ = 0.1;
    s.Settings.StartX = 2.0;
    s.Settings.StartZ = 1.0;
    s.Settings.Exponent = false;
}

// The extended profile of ArcLengthToX with the index of the walk's start point, or -1.
int ExtendedProfile(const arofcomplexM& profile, double rx, std::vector<complexM>& p)
{
    p.clear();
    p.push_back({profile[0].x - ProfileExtension, profile[0].z});
    p.insert(p.end(), profile.begin(), profile.end());
    p.push_back({profile.back().x + ProfileExtension, profile.back().z});
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        if (p[i].x < rx && rx < p[i + 1].x) {
            const double z = InterpolateLinear(rx, p[i].x, p[i + 1].x, p[i].z, p[i + 1].z);
            p.insert(p.begin() + static_cast<std::ptrdiff_t>(i) + 1, complexM{rx, z});
            return static_cast<int>(i) + 1;
        }
    }
    int start = -1;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (p[i].x == rx) start = static_cast<int>(i);
    return start;
}

// Walks `d` (>= 0) along the ground from `start` in direction `dir`; false when it passes an end.
bool WalkAlongGround(const std::vector<complexM>& p, int start, int dir, double d, double& x)
{
    if (d == 0.0) return true; // the reference itself, even at an end of the profile
    const int n = static_cast<int>(p.size());
    double length = 0.0;
    for (int i = start;; i += dir) {
        const int j = i + dir;
        if (j < 0 || j >= n) return false;
        const double dx = p[j].x - p[i].x;
        const double dz = p[j].z - p[i].z;
        const double segment = std::sqrt(dx * dx + dz * dz);
        length += segment;
        if (length <= d) {
            x += dx;
            if (length == d) return true; // ends on this point, which may be the last
            continue;
        }
        x += (1.0 - (length - d) / segment) * dx;
        return true;
    }
}

} // namespace

TPrepareResult PrepareSurvey(TSurveyState& s, double modelBottom)
{
    TPrepareResult result;
    MakeSourceCurve(s, modelBottom);
    EnsureRowLength(s);
    ReverseLine(s);
    result.LabelValueOffset = SortTopography(s);
    if (!ConvertSlopeProfile(s) || !ConvertSlopePositions(s)) {
        result.Accepted = false;
        result.Message = DataFileError;
        return result;
    }
    SortRows(s);
    const std::vector<bool> observedPresent = ObservedFlags(s);
    FillGaps(s);
    ExtendNodes(s);
    BuildElectrodes(s);
    s.ElectrodePositions = DistinctRowPositions(s);
    FindScaleLength(s);
    BuildDataSet(s, observedPresent);
    ApplySetupDefaults(s);
    return result;
}

void MakeSourceCurve(TSurveyState& s, double modelBottom)
{
    const bool keepValues = s.SourceType == 2 && s.SourceValues.Length() == SourceCurvePoints;
    if (keepValues && s.SourceDepths.Length() == SourceCurvePoints) return;
    s.SourceDepths.SetLength(SourceCurvePoints);
    for (int i = 0; i < SourceCurvePoints; ++i) s.SourceDepths[i] = 2.0 * modelBottom * i / (SourceCurvePoints - 1);
    if (keepValues) return; // an edited arbitrary curve only gets the depths it lacked
    s.SourceValues.SetLength(SourceCurvePoints);
    for (int i = 0; i < SourceCurvePoints; ++i) {
        const double d = s.SourceDepths[i];
        switch (s.SourceType) {
        case 0: s.SourceValues[i] = -s.SourceA * d + s.SourceC; break;
        case 1: s.SourceValues[i] = s.SourceC + s.SourceA * std::exp(-d / s.SourceB); break;
        default: s.SourceValues[i] = s.SourceA; break;
        }
    }
}

bool ArcLengthToX(const arofcomplexM& profile, const TTopoReference& reference,
                  const arofdoubleM& distances, arofdoubleM& positions)
{
    positions.clear();
    if (profile.empty()) return false;
    std::vector<complexM> p;
    const int start = ExtendedProfile(profile, reference.x, p);
    if (start < 0) return false;
    for (double v : distances) {
        const double d = v - reference.distance;
        double x = reference.x;
        if (!WalkAlongGround(p, start, d >= 0.0 ? 1 : -1, std::abs(d), x)) return false;
        positions.push_back(std::abs(x) < ZeroPosition ? 0.0 : x);
    }
    return true;
}

int FindElectrode(const elecarray& electrodes, double x, double depth, double tolerance)
{
    for (int i = 0; i < electrodes.Length(); ++i)
        if (std::abs(x - electrodes[i].x) < tolerance && std::abs(depth - electrodes[i].zraw) < tolerance)
            return i;
    return NoElectrode;
}

void AddUniqueValue(arofdoubleM& list, double value, double tolerance)
{
    if (IsMissing(value)) return;
    for (double v : list)
        if (std::abs(v - value) < tolerance) return;
    list.push_back(value);
}

void SortDoubles(arofdoubleM& list)
{
    StableSortBy(list, [](double a, double b) { return a < b; });
}
