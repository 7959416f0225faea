// Survey preparation: the steps from the survey as read to the electrode records and the data set, each a
// named routine called in order by PrepareSurvey.
#include "core/SurveyPrepare.h"

#include "core/SurveySort.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <type_traits>
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
// The positions are read where they lie (`x(i)` and `z(i)` of position i), not copied.
template <class X, class Z>
class TPositionMerge {
public:
    TPositionMerge(std::size_t count, X x, Z z) : FCount(count), FX(x), FZ(z) {}
    // Per position in the order given: whether it is kept.
    std::vector<bool> Kept() const
    {
        const std::size_t n = FCount;
        std::vector<bool> kept(n, true); // a NaN x is near nothing
        // Most surveys give their positions in ascending x already: then they are walked as given.
        bool ascending = true;
        for (std::size_t i = 1; i < n && ascending; ++i) ascending = FX(i - 1) <= FX(i);
        if (ascending) {
            SettleRuns(n, [](std::size_t k) { return k; }, kept);
            return kept;
        }
        std::vector<std::pair<double, std::size_t>> order; // (x, position), sorted
        order.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isnan(FX(i))) order.push_back({FX(i), i});
        std::sort(order.begin(), order.end());
        SettleRuns(order.size(), [&order](std::size_t k) { return order[k].second; }, kept);
        return kept;
    }

private:
    bool Near(std::size_t a, std::size_t b) const
    {
        return std::abs(FX(a) - FX(b)) < SamePosition && std::abs(FZ(a) - FZ(b)) < SamePosition;
    }
    // The runs of the `count` positions `at(0)`, `at(1)`, ... in ascending x, each settled on its own.
    template <class At>
    void SettleRuns(std::size_t count, At at, std::vector<bool>& kept) const
    {
        std::vector<std::size_t> run, taken;
        for (std::size_t k = 0; k < count; ++k) {
            run.push_back(at(k));
            if (k + 1 < count && FX(at(k + 1)) - FX(run.back()) < SamePosition) continue;
            SettleRun(run, taken, kept);
            run.clear();
        }
    }
    // Within a run, in the order given: a short run compares with its kept positions one by one, a long
    // one looks them up by x.
    void SettleRun(std::vector<std::size_t>& run, std::vector<std::size_t>& taken, std::vector<bool>& kept) const
    {
        if (run.size() == 1) return;
        if (run.size() == 2) { // two ends of neighbouring measurements on one electrode: the common case
            kept[std::max(run[0], run[1])] = !Near(run[0], run[1]);
            return;
        }
        std::sort(run.begin(), run.end());
        if (run.size() <= 32) {
            taken.clear();
            for (std::size_t i : run) {
                kept[i] = std::none_of(taken.begin(), taken.end(), [&](std::size_t j) { return Near(i, j); });
                if (kept[i]) taken.push_back(i);
            }
            return;
        }
        std::multimap<double, std::size_t> byX;
        for (std::size_t i : run) {
            const auto end = byX.upper_bound(FX(i) + SamePosition);
            bool near = false;
            for (auto it = byX.lower_bound(FX(i) - SamePosition); it != end && !near; ++it) near = Near(i, it->second);
            kept[i] = !near;
            if (!near) byX.insert({FX(i), i});
        }
    }

    std::size_t FCount;
    X FX;
    Z FZ;
};

template <class X, class Z>
std::vector<bool> KeptPositions(std::size_t count, X x, Z z)
{
    return TPositionMerge<X, Z>(count, x, z).Kept();
}

// The distinct values of a list (AddUniqueValue over it, MissingValue left out), sorted; `x(i)` is value i.
template <class X>
arofdoubleM DistinctSorted(std::size_t count, X x)
{
    const std::vector<bool> kept = KeptPositions(count, x, [](std::size_t) { return 0.0; });
    arofdoubleM distinct;
    distinct.Reserve(static_cast<std::size_t>(std::count(kept.begin(), kept.end(), true)));
    for (std::size_t i = 0; i < count; ++i)
        if (kept[i] && !IsMissing(x(i))) distinct.push_back(x(i));
    SortDoubles(distinct);
    return distinct;
}

// FindElectrode over records sorted by x: the lowest index of a record near (x, depth). Records already in
// ascending x without a NaN (a survey on one level) are searched where they lie; others are copied and
// sorted by x.
class TElectrodeIndex {
public:
    explicit TElectrodeIndex(const elecarray& electrodes) : FElectrodes(electrodes.data()), FCount(electrodes.size())
    {
        bool direct = true;
        for (std::size_t i = 0; i < FCount && direct; ++i)
            direct = !std::isnan(FElectrodes[i].x) && (i == 0 || !(FElectrodes[i].x < FElectrodes[i - 1].x));
        if (direct) return;
        FByX.reserve(FCount);
        for (std::size_t i = 0; i < FCount; ++i)
            if (!std::isnan(FElectrodes[i].x))
                FByX.push_back({FElectrodes[i].x, FElectrodes[i].zraw, static_cast<int>(i)});
        const auto byX = [](const TRecord& a, const TRecord& b) { return a.x < b.x; };
        if (!std::is_sorted(FByX.begin(), FByX.end(), byX)) std::sort(FByX.begin(), FByX.end(), byX);
        FElectrodes = nullptr;
        FCount = FByX.size();
    }
    int Find(double x, double depth)
    {
        int found = NoElectrode;
        if (std::isnan(x)) return found;
        FHint = LowerBound(x - SamePosition);
        for (std::size_t i = FHint; i < FCount && X(i) <= x + SamePosition; ++i)
            if (std::abs(x - X(i)) < SamePosition && std::abs(depth - Depth(i)) < SamePosition
                && (found == NoElectrode || Index(i) < found))
                found = Index(i);
        return found;
    }

private:
    struct TRecord {
        double x;
        double zraw;
        int index;
    };
    double X(std::size_t i) const { return FElectrodes ? FElectrodes[i].x : FByX[i].x; }
    double Depth(std::size_t i) const { return FElectrodes ? FElectrodes[i].zraw : FByX[i].zraw; }
    int Index(std::size_t i) const { return FElectrodes ? static_cast<int>(i) : FByX[i].index; }

    // The first record of x at least v, searched outward from the last one found: the rows come sorted,
    // so consecutive lookups land close together and a long survey is not a cache miss per halving.
    std::size_t LowerBound(double v) const
    {
        const std::size_t n = FCount;
        std::size_t lo = 0, hi = n, step = 1;
        if (FHint < n && X(FHint) < v) {
            lo = FHint + 1; // every record before lo lies below v
            while (lo + step < n && X(lo + step - 1) < v) {
                lo += step;
                step *= 2;
            }
            hi = std::min(n, lo + step);
        } else {
            hi = std::min(FHint, n); // the record at hi, if any, lies at v or above
            while (hi >= step && !(X(hi - step) < v)) {
                hi -= step;
                step *= 2;
            }
            lo = hi >= step ? hi - step : 0;
        }
        while (lo < hi) { // the first of [lo, hi) at v or above
            const std::size_t mid = lo + (hi - lo) / 2;
            if (X(mid) < v) lo = mid + 1;
            else hi = mid;
        }
        return lo;
    }

    const TElectrode* FElectrodes; // the records searched where they lie, or null for FByX
    std::size_t FCount;
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

// Rows out of order by P1's depth as read, then its x: the keys are sorted beside the rows' indexes
// (comparing rows where they lie on the heap would wait on memory at every step), then the rows and their
// gathered columns follow.
void MoveIntoOrder(TSurveyState& s, osource& set, const std::vector<bool>& depthMissing)
{
    struct TRowKey {
        double z, x;
        std::size_t row;
    };
    const std::size_t n = s.SurveyRows.size();
    DynArray<TRowKey> keys;
    keys.Reserve(n);
    for (std::size_t k = 0; k < n; ++k)
        keys.push_back({depthMissing[k] ? MissingValue : set.P1z.data()[k], set.P1x.data()[k], k});
    StableSortBy(keys, [](const TRowKey& a, const TRowKey& b) { return a.z < b.z || (a.z == b.z && a.x < b.x); });
    const auto follow = [&keys, n](auto& items) {
        std::remove_reference_t<decltype(items)> moved;
        moved.Reserve(n);
        for (const TRowKey& key : keys) moved.push_back(std::move(items.data()[key.row]));
        items = std::move(moved);
    };
    follow(s.SurveyRows);
    for (arofdoubleM* a : {&set.P1x, &set.P2x, &set.P1y, &set.P2y, &set.P1z, &set.P2z, &set.Observed, &set.Weight})
        follow(*a);
    follow(set.ObservedPresent);
}

// Fills the gaps of the rows (y, z and dU 0, weight 1), sorts them by P1's depth as read, then its x, and
// gathers their columns into the data set, with ObservedPresent taken before dU is filled. For rows
// already in order (most files) it is one pass over them: a row lies in its own block of the heap, and a
// long survey is read from memory once instead of once per step. The fill does not depend on the order, so
// rows out of order are moved afterwards.
osource SortAndFillRows(TSurveyState& s)
{
    const std::size_t n = s.SurveyRows.size();
    osource set;
    for (arofdoubleM* a : {&set.P1x, &set.P2x, &set.P1y, &set.P2y, &set.P1z, &set.P2z, &set.Observed, &set.Weight})
        a->Reserve(n);
    set.ObservedPresent.Reserve(n);
    std::vector<bool> depthMissing; // the sort's key, as the fill turns a missing depth into 0
    depthMissing.reserve(n);
    bool ordered = true;
    double lastDepth = 0.0, lastX = 0.0;
    for (TMeasurementRow& row : s.SurveyRows) {
        double* v = row.data(); // EnsureRowLength gave every row the nine columns
        const double depth = v[mcP1z], x = v[mcP1x];
        if (!depthMissing.empty() && (depth < lastDepth || (depth == lastDepth && x < lastX))) ordered = false;
        lastDepth = depth;
        lastX = x;
        depthMissing.push_back(IsMissing(depth));
        set.ObservedPresent.push_back(!IsMissing(v[mcDU]));
        for (int i = mcP1y; i < row.Length(); ++i)
            if (IsMissing(v[i])) v[i] = i == mcWeight ? 1.0 : 0.0;
        set.P1x.push_back(v[mcP1x]);
        set.P2x.push_back(v[mcP2x]);
        set.P1y.push_back(v[mcP1y]);
        set.P2y.push_back(v[mcP2y]);
        set.P1z.push_back(v[mcP1z]);
        set.P2z.push_back(v[mcP2z]);
        set.Observed.push_back(v[mcDU]);
        set.Weight.push_back(v[mcWeight]);
    }
    if (!ordered) MoveIntoOrder(s, set, depthMissing);
    set.Calculated.SetLength(n);
    return set;
}

// Position i of the measurements' ends, P1 then P2 of each: one of the two columns.
double EndOf(const arofdoubleM& p1, const arofdoubleM& p2, std::size_t i)
{
    return (i & 1 ? p2 : p1).data()[i >> 1];
}

// The distinct P1 and P2 positions of the measurements, sorted.
arofdoubleM DistinctPositions(const osource& set)
{
    return DistinctSorted(2 * set.P1x.size(), [&set](std::size_t i) { return EndOf(set.P1x, set.P2x, i); });
}

// "Extended nodes": one spacing beyond each end of the electrode positions, unless the file gave its own
// "***" positions.
void ExtendNodes(TSurveyState& s)
{
    if (!s.ExtendedNodes || !s.StarValues.empty()) return;
    const arofdoubleM& w = s.ElectrodePositions;
    if (w.Length() < 2) return;
    const int last = w.High();
    s.StarValues = {w[0] - std::abs(w[1] - w[0]), w[last] + std::abs(w[last] - w[last - 1])};
}

// One record per group of near positions of the measurements' ends, P1 then P2 of each, ends without a
// position left out; the first of a group is the record. The records are sorted by depth, then x. Returns
// their x values in that order, gathered as they are made while they come in order (the records are long,
// and walking them again to check the order and take x out would read them from memory twice more).
std::vector<double> BuildElectrodes(TSurveyState& s, const osource& set)
{
    s.Electrodes.clear();
    double zTop = 0.0;
    for (int i = 0; i < s.Topography.Length(); ++i)
        zTop = i == 0 ? s.Topography[0].z : std::max(zTop, s.Topography[i].z);
    const auto less = [](const TElectrode& a, const TElectrode& b) {
        return a.zraw < b.zraw || (a.zraw == b.zraw && a.x < b.x);
    };
    std::vector<double> xs;
    bool ordered = true;
    const auto build = [&](std::size_t count, auto x, auto z) {
        const std::vector<bool> kept = KeptPositions(count, x, z);
        const auto records = static_cast<std::size_t>(std::count(kept.begin(), kept.end(), true));
        s.Electrodes.Reserve(records);
        xs.reserve(records);
        for (std::size_t k = 0; k < count; ++k) {
            if (!kept[k]) continue;
            const double ex = x(k);
            const double ez = z(k);
            const double g = InterpolateProfile(s.Topography, ex); // 0 without a profile
            TElectrode e;
            e.x = ex;
            e.zraw = ez;
            e.ztopo = ez + g;
            e.z = s.Topography.empty() ? ez : ez + zTop - g;
            e.surface = !(ez > 0.0);
            e.minusZtopo = -e.ztopo;
            if (!s.Electrodes.empty() && less(e, s.Electrodes.data()[s.Electrodes.size() - 1])) ordered = false;
            s.Electrodes.push_back(e);
            xs.push_back(ex);
        }
    };
    const std::size_t ends = 2 * set.P1x.size();
    const auto x = [&set](std::size_t i) { return EndOf(set.P1x, set.P2x, i); };
    const auto z = [&set](std::size_t i) { return EndOf(set.P1z, set.P2z, i); };
    std::size_t missing = 0;
    for (std::size_t i = 0; i < ends; ++i) missing += IsMissing(x(i));
    if (missing == 0) {
        build(ends, x, z);
    } else {
        std::vector<double> px, pz;
        px.reserve(ends - missing);
        pz.reserve(ends - missing);
        for (std::size_t i = 0; i < ends; ++i)
            if (!IsMissing(x(i))) {
                px.push_back(x(i));
                pz.push_back(z(i));
            }
        build(px.size(), [&px](std::size_t i) { return px[i]; }, [&pz](std::size_t i) { return pz[i]; });
    }
    if (!ordered) {
        StableSortBy(s.Electrodes, less);
        for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = s.Electrodes.data()[i].x;
    }
    return xs;
}

// The typical electrode spacing from the x values of the electrode records, in their order.
void FindScaleLength(TSurveyState& s, std::vector<double> x)
{
    arofdoubleM w = DistinctSorted(x.size(), [&x](std::size_t i) { return x[i]; });
    x = {};
    if (w.Length() < 2) {
        s.ScaleLength = MissingValue; // no spacing: the survey cannot be discretised
        return;
    }
    for (int i = 0; i + 1 < w.Length(); ++i) w[i] = w[i + 1] - w[i]; // the gaps, in place
    w.SetLength(w.size() - 1);
    s.ScaleLength = RobustMean(w);
}

// The electrode records of both ends of every measurement; the data set becomes the survey's one set.
void BuildDataSet(TSurveyState& s, osource set)
{
    TElectrodeIndex index(s.Electrodes);
    const std::size_t n = set.P1x.size();
    set.P1.Reserve(n);
    set.P2.Reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        set.P1.push_back(index.Find(set.P1x.data()[k], set.P1z.data()[k]));
        set.P2.push_back(index.Find(set.P2x.data()[k], set.P2z.data()[k]));
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
    osource set = SortAndFillRows(s);
    s.ElectrodePositions = DistinctPositions(set);
    ExtendNodes(s);
    FindScaleLength(s, BuildElectrodes(s, set));
    BuildDataSet(s, std::move(set));
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
