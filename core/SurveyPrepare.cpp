// Survey preparation: the steps from the survey as read to the electrode records and the data set, each a
// named routine called in order by PrepareSurvey.
#include "core/SurveyPrepare.h"

#include "core/SurveySort.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr double SamePosition = 1e-5;    // positions closer than this are one electrode
constexpr double ZeroPosition = 1e-7;    // a converted x closer to 0 than this is 0
constexpr double ProfileExtension = 1000; // flat extension of the profile at both ends
const char* const DataFileError = "Error in data file!";

bool IsMissing(double v) { return v == MissingValue; }

// AddUniqueValue over a list that keeps a sorted copy beside it, so that long surveys stay fast. Kept
// values lie at least SamePosition apart, so a lookup visits a few neighbours.
class TUniqueValues {
public:
    void Add(double v)
    {
        if (IsMissing(v) || Near(v)) return;
        FList.push_back(v);
        if (!std::isnan(v)) FSorted.insert(v);
    }
    arofdoubleM Sorted()
    {
        SortDoubles(FList);
        return FList;
    }

private:
    bool Near(double v) const
    {
        for (auto it = FSorted.lower_bound(v - 2 * SamePosition); it != FSorted.end() && *it <= v + 2 * SamePosition; ++it)
            if (std::abs(*it - v) < SamePosition) return true;
        return false;
    }
    arofdoubleM FList;
    std::set<double> FSorted;
};

// FindElectrode over records indexed by x: the first record (lowest index) near (x, depth).
class TElectrodeIndex {
public:
    void Add(double x, double zraw, int index)
    {
        if (!std::isnan(x)) FByX.insert({x, {zraw, index}});
    }
    int Find(double x, double depth) const
    {
        int found = NoElectrode;
        if (std::isnan(x)) return found;
        const auto end = FByX.upper_bound(x + 2 * SamePosition);
        for (auto it = FByX.lower_bound(x - 2 * SamePosition); it != end; ++it) {
            const auto [zraw, index] = it->second;
            if (std::abs(x - it->first) < SamePosition && std::abs(depth - zraw) < SamePosition
                && (found == NoElectrode || index < found))
                found = index;
        }
        return found;
    }

private:
    std::multimap<double, std::pair<double, int>> FByX;
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

void SortRows(TSurveyState& s)
{
    StableSortBy(s.SurveyRows, [](const TMeasurementRow& a, const TMeasurementRow& b) {
        return a[mcP1z] < b[mcP1z] || (a[mcP1z] == b[mcP1z] && a[mcP1x] < b[mcP1x]);
    });
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
    TUniqueValues w;
    for (const TMeasurementRow& row : s.SurveyRows) {
        w.Add(row[mcP1x]);
        w.Add(row[mcP2x]);
    }
    return w.Sorted();
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
    TElectrodeIndex known;
    for (const TMeasurementRow& row : s.SurveyRows) {
        for (auto [cx, cz] : {std::pair{mcP1x, mcP1z}, std::pair{mcP2x, mcP2z}}) {
            const double ex = row[cx];
            const double ez = row[cz];
            if (IsMissing(ex) || known.Find(ex, ez) != NoElectrode) continue;
            const double g = InterpolateProfile(s.Topography, ex); // 0 without a profile
            TElectrode e;
            e.x = ex;
            e.zraw = ez;
            e.ztopo = ez + g;
            e.z = s.Topography.empty() ? ez : ez + zTop - g;
            e.surface = !(ez > 0.0);
            e.minusZtopo = -e.ztopo;
            known.Add(ex, ez, s.Electrodes.Length());
            s.Electrodes.push_back(e);
        }
    }
    StableSortBy(s.Electrodes, [](const TElectrode& a, const TElectrode& b) {
        return a.zraw < b.zraw || (a.zraw == b.zraw && a.x < b.x);
    });
}

void FindScaleLength(TSurveyState& s)
{
    TUniqueValues distinct;
    for (const TElectrode& e : s.Electrodes) distinct.Add(e.x);
    const arofdoubleM w = distinct.Sorted();
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
    TElectrodeIndex index;
    for (int i = 0; i < s.Electrodes.Length(); ++i) index.Add(s.Electrodes[i].x, s.Electrodes[i].zraw, i);
    osource set;
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
    s.DataSets = {std::move(set)};
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
