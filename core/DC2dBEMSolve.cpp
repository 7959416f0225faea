// The steps of one solution in the order the progress reporting relies on. Element integrals are taken
// from the caches in sensitivity runs and computed directly otherwise; both give the same numbers.
#include "core/DC2dBEMSolve.h"

#include "core/DC2dBEMGeometry.h"
#include "core/DC2dBEMQuadrature.h"
#include "core/DC2dBEMSensitivity.h"
#include "core/DC2dBEMSource.h"
#include "core/Supermath2d.h"
#include "platform/rtl/ThreadPool.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double PotentialScale = 2.0 / std::numbers::pi;

// Rows of the system (or table entries) per task of the worker pool, and electrodes per task.
constexpr int RowsPerTask = 8;
constexpr int ElectrodesPerTask = 4;

int UnknownOf(const TSolverState& s, int node)
{
    const int u = s.NodeNumber[node];
    if (u < 0) throw ERangeError();
    return u;
}

complexM NodePoint(const TSolverState& s, int node) { return {s.SolverNodes[node].x, s.SolverNodes[node].z}; }

void AddElement(TSolverState& s, int a, int b)
{
    UnknownOf(s, a);
    UnknownOf(s, b);
    s.Elements.push_back({a, b, TElement(NodePoint(s, a), NodePoint(s, b))});
}

std::vector<int> GroupSizes(const TSolverState& s)
{
    std::vector<int> sizes;
    for (std::size_t g = 0; g + 1 < s.GroupStart.size(); ++g) sizes.push_back(s.GroupStart[g + 1] - s.GroupStart[g]);
    return sizes;
}

// The node of every unknown: unknowns are numbered in node order, so row r belongs to the r-th numbered
// node.
std::vector<int> NodesByUnknown(const TSolverState& s)
{
    std::vector<int> nodes(s.UnknownCount, -1);
    for (int node = 0; node < s.SolverNodes.Length(); ++node) {
        const int r = s.NodeNumber[node];
        if (r >= static_cast<int>(nodes.size())) throw ERangeError();
        if (r >= 0) nodes[r] = node;
    }
    return nodes;
}

// Row r of the system matrix, for the node of unknown r: zeros, then minus each group's pairs weighted.
void AssembleRow(TSolverState& s, const TKernelSettings& settings, const TElementUnknowns& unknowns, int node, int r)
{
    double* row = s.SystemMatrix.Row(r);
    std::fill(row, row + s.SystemMatrix.Stride(), 0.0);
    if (node < 0) return;
    const complexM P = NodePoint(s, node);
    const int groups = static_cast<int>(s.GroupStart.size()) - 1;
    for (int g = 0; g < groups; ++g) {
        // Group 0 is the ground line, entering with weight 1 and no contrast.
        const double weight = g == 0 ? -1.0 : s.Params[g - 1].Contrast;
        if (weight == 0.0 && !s.SensitivityMode) continue;
        const TIntegralPair* cached = s.SensitivityMode ? std::as_const(s.NodeTable).Group(r, g) : nullptr;
        for (int i = s.GroupStart[g]; i < s.GroupStart[g + 1]; ++i) {
            const TIntegralPair w =
                cached ? cached[i - s.GroupStart[g]] : ElementKernel(settings, P, s.Elements[i].Geometry, false);
            row[unknowns.a[i]] -= weight * w.wA;
            row[unknowns.b[i]] -= weight * w.wB;
        }
    }
}

// All groups' pairs for the field point P into one table entry.
void TabulateEntry(const TSolverState& s, TIntegralTable& table, int entry, const complexM& P)
{
    const TKernelSettings settings = KernelSettings(s);
    for (int g = 0; g + 1 < static_cast<int>(s.GroupStart.size()); ++g) {
        TIntegralPair* pairs = table.Group(entry, g);
        for (int i = s.GroupStart[g]; i < s.GroupStart[g + 1]; ++i)
            pairs[i - s.GroupStart[g]] = ElementKernel(settings, P, s.Elements[i].Geometry, false);
    }
}

bool AllValuesFinite(const arofdoubleM& values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

void MarkCalculatedMissing(TSolverState& s)
{
    for (osource& set : *s.DataSets)
        for (double& v : set.Calculated) v = MissingValue;
}

void Call(const std::function<void()>& f)
{
    if (f) f();
}

// The boundary values and the electrode potentials on the decomposed matrix, whose decomposition has
// turned the right-hand side in Solution already; whether all are finite.
bool SolveBoundaryAndElectrodes(TSolverState& s)
{
    TPhaseTimer timer(s, &TSolverTimings::ForwardSolve);
    QRBackSubstitute(s.SystemMatrix, s.HouseholderD, s.Solution);
    arofdoubleM potentials;
    const arofintM& used = s.UsedElectrodes[0];
    ElectrodePotentials(s, used, s.Solution, potentials);
    for (int m = 0; m < used.Length(); ++m) {
        s.RawElectrodePotentials[0][used[m]] = potentials[m];
        s.ElectrodePotentialRow[0][used[m]] = potentials[m] * PotentialScale;
    }
    return AllValuesFinite(s.Solution) && AllValuesFinite(potentials);
}

// The calculated dU (missing when the solution is not finite), the misfit and its status text.
void ReportSolution(TSolverState& s, bool finite)
{
    TPhaseTimer timer(s, &TSolverTimings::ForwardSolve);
    CalcDifferences(s, s.ElectrodePotentialRow[0]);
    if (!finite) MarkCalculatedMissing(s);
    if (!s.SensitivityMode) Call(s.ProgressReset);
    s.Misfit = finite ? CalcMisfit(s) : MissingValue;
    if (s.ShowStatus) s.ShowStatus(finite ? FormatValue(s.Misfit, 1, true) : std::string());
}

} // namespace

void PrepareSolution(TSolverState& s)
{
    if (s.ElectrodeListStale) CollectUsedElectrodes(s);
    const int electrodes = s.Electrodes->Length();
    s.RawElectrodePotentials.SetLength(1);
    s.ElectrodePotentialRow.SetLength(1);
    s.RawElectrodePotentials[0].SetLength(0);
    s.RawElectrodePotentials[0].SetLength(electrodes);
    s.ElectrodePotentialRow[0].SetLength(0);
    s.ElectrodePotentialRow[0].SetLength(electrodes);
    CollectSolverPolygons(s);
    CollectSurfaceNodes(s);
    NumberBoundaryNodes(s);
    BuildSolverElements(s);
    FreeTermCoefficients(s);
    LocateSurfaceElectrodes(s);
    ElectrodeFactors(s);
    s.ForwardStepCount = 2;
    s.ElectrodeListStale = false;
}

TElementUnknowns::TElementUnknowns(const TSolverState& s)
{
    a.reserve(s.Elements.size());
    b.reserve(s.Elements.size());
    for (const TSolverElement& el : s.Elements) {
        a.push_back(UnknownOf(s, el.a));
        b.push_back(UnknownOf(s, el.b));
    }
}

TKernelSettings KernelSettings(const TSolverState& s)
{
    return {ClampQuadratureOrder(s.QuadratureOrder), s.NearSingularDistance, s.ReliefPresent};
}

void BuildSolverElements(TSolverState& s)
{
    s.Elements.clear();
    s.GroupStart.assign(1, 0);
    if (s.ReliefPresent)
        for (int q = 0; q + 1 < s.SurfaceNodeList.Length(); ++q) AddElement(s, s.SurfaceNodeList[q], s.SurfaceNodeList[q + 1]);
    s.GroupStart.push_back(static_cast<int>(s.Elements.size()));
    for (const TSolverPolygon& p : s.Params) {
        const arofintM& ring = s.SolverBodies[p.Body][p.Sub].ring;
        for (int k = 0; k < ring.Length(); ++k) AddElement(s, ring[k], ring[k + 1 < ring.Length() ? k + 1 : 0]);
        s.GroupStart.push_back(static_cast<int>(s.Elements.size()));
    }
}

double RingAngle(const TSolverState& s, const arofintM& ring, int k)
{
    const int len = ring.Length();
    const complexM X = NodePoint(s, ring[k]);
    const complexM prev = NodePoint(s, ring[k == 0 ? len - 1 : k - 1]);
    const complexM next = NodePoint(s, ring[k + 1 < len ? k + 1 : 0]);
    const double theta = InteriorAngle({prev.x - X.x, prev.z - X.z}, {next.x - X.x, next.z - X.z});
    return !s.ReliefPresent && X.z <= 0.0 ? 2.0 * theta : theta;
}

void FreeTermCoefficients(TSolverState& s)
{
    const int n = s.UnknownCount;
    const double fullAngle = 2.0 * std::numbers::pi;
    arofdoubleM angleSum(n), C(n);
    for (const TSolverPolygon& p : s.Params) {
        const arofintM& ring = s.SolverBodies[p.Body][p.Sub].ring;
        for (int k = 0; k < ring.Length(); ++k) {
            const double theta = RingAngle(s, ring, k);
            const int u = UnknownOf(s, ring[k]);
            angleSum[u] += theta;
            C[u] += theta * p.RhoRatio;
        }
    }
    if (s.ReliefPresent) {
        const arofintM& list = s.SurfaceNodeList;
        for (int q = 0; q < list.Length(); ++q) {
            const complexM h = NodePoint(s, list[q]);
            double ground = std::numbers::pi;
            if (q > 0 && q + 1 < list.Length()) {
                const complexM prev = NodePoint(s, list[q - 1]), next = NodePoint(s, list[q + 1]);
                ground = InteriorAngle({prev.x - h.x, prev.z - h.z}, {next.x - h.x, next.z - h.z});
            }
            const int u = UnknownOf(s, list[q]);
            C[u] = (C[u] + ground - angleSum[u]) / fullAngle;
        }
        for (int node = 0; node < s.SolverNodes.Length(); ++node) {
            const int u = s.NodeNumber[node];
            if (u >= 0 && !s.OnSurface[node]) C[u] = (fullAngle - angleSum[u] + C[u]) / fullAngle;
        }
    } else {
        for (int u = 0; u < n; ++u) C[u] = (fullAngle - angleSum[u] + C[u]) / fullAngle;
    }
    s.FreeTerms = C;
}

void TabulateElementIntegrals(TSolverState& s)
{
    const bool firstIteration = s.SensitivityMode && s.IterationCounter == 1;
    const std::vector<int> sizes = GroupSizes(s);
    if (firstIteration) {
        s.NodeTable.Layout(s.UnknownCount, sizes);
        const std::vector<int> nodes = NodesByUnknown(s);
        ParallelForBlocks(s.UnknownCount, RowsPerTask, [&](int begin, int end) {
            for (int r = begin; r < end; ++r)
                if (nodes[r] >= 0) TabulateEntry(s, s.NodeTable, r, NodePoint(s, nodes[r]));
        });
    }
    if (!s.SensitivityMode || firstIteration) {
        const elecarray& electrodes = *s.Electrodes;
        s.ElectrodeTable.Layout(electrodes.Length(), sizes);
        const arofintM& used = s.UsedElectrodes[0];
        ParallelForBlocks(used.Length(), ElectrodesPerTask, [&](int begin, int end) {
            for (int k = begin; k < end; ++k) {
                const int e = used[k];
                if (s.ElectrodeOffNode[e]) TabulateEntry(s, s.ElectrodeTable, e, s.ElectrodePoint[e]);
            }
        });
    }
}

void AssembleMatrix(TSolverState& s)
{
    const TKernelSettings settings = KernelSettings(s);
    s.SystemMatrix.SetSizeForOverwrite(s.UnknownCount, s.UnknownCount);
    const std::vector<int> nodes = NodesByUnknown(s);
    const TElementUnknowns unknowns(s);
    ParallelForBlocks(s.UnknownCount, RowsPerTask, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) AssembleRow(s, settings, unknowns, nodes[r], r);
    });
}

void ElectrodePotentials(const TSolverState& s, const arofintM& list, const arofdoubleM& u, arofdoubleM& potentials)
{
    potentials.SetLength(0);
    potentials.SetLength(list.size());
    const int groups = static_cast<int>(s.GroupStart.size()) - 1;
    ParallelForBlocks(list.Length(), ElectrodesPerTask, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const int e = list[i];
            if (!s.ElectrodeOffNode[e]) {
                potentials[i] = u[UnknownOf(s, s.ElectrodeNodes[e].first)];
                continue;
            }
            double sum = s.ElectrodeSourcePotential[e];
            for (int g = 0; g < groups; ++g) {
                const double weight = g == 0 ? -1.0 : s.Params[g - 1].Contrast;
                if (weight == 0.0) continue;
                const TIntegralPair* pairs = s.ElectrodeTable.Group(e, g);
                for (int k = s.GroupStart[g]; k < s.GroupStart[g + 1]; ++k) {
                    const TSolverElement& el = s.Elements[k];
                    const TIntegralPair& w = pairs[k - s.GroupStart[g]];
                    sum += weight * (w.wA * u[s.NodeNumber[el.a]] + w.wB * u[s.NodeNumber[el.b]]);
                }
            }
            potentials[i] = sum / s.ElectrodeFactor[e];
        }
    });
}

void CalcDifferences(TSolverState& s, const arofdoubleM& row)
{
    auto potential = [&](int e) { return e == NoElectrode ? 0.0 : row[e]; };
    for (osource& set : *s.DataSets) {
        set.Calculated.SetLength(set.P1.size());
        for (int j = 0; j < set.P1.Length(); ++j) set.Calculated[j] = potential(set.P1[j]) - potential(set.P2[j]);
    }
}

double CalcMisfit(const TSolverState& s)
{
    if (!s.DataLoaded) return 0.0;
    double sum = 0.0;
    int count = 0;
    for (const osource& set : *s.DataSets) {
        for (int j = 0; j < set.Calculated.Length(); ++j) {
            if (j < set.ObservedPresent.Length() && !set.ObservedPresent[j]) continue;
            const double o = set.Observed[j], c = set.Calculated[j];
            sum += std::fabs(o - c) / std::max({std::fabs(c), std::fabs(o), 1e-8});
            ++count;
        }
    }
    return count == 0 ? MissingValue : sum / count * 100.0;
}

bool SolveForward(TSolverState& s, bool WithSensitivities)
{
    {
        TPhaseTimer timer(s, &TSolverTimings::Preparation);
        PrepareSolution(s);
        s.SensitivityMode = WithSensitivities;
        TabulateElementIntegrals(s);
        AssembleMatrix(s);
        AddToDiagonal(s.SystemMatrix, s.FreeTerms);
    }
    if (!s.SensitivityMode) Call(s.ProgressStep);

    {
        // The boundary values' right-hand side goes through the decomposition, which applies its
        // reflections on the way; only the sensitivities' solves read the reflections packed.
        TPhaseTimer timer(s, &TSolverTimings::Factorisation);
        SourceNodePotentials(s, s.Solution);
        if (WithSensitivities) {
            QRDecompose(s.SystemMatrix, s.HouseholderD, s.HouseholderC, s.Solution, s.HouseholderVectors);
        } else {
            QRDecompose(s.SystemMatrix, s.HouseholderD, s.HouseholderC, s.Solution);
            s.HouseholderVectors = TQRReflections();
        }
    }
    const bool finite = SolveBoundaryAndElectrodes(s);
    if (WithSensitivities) {
        if (finite)
            CalcSensitivities(s);
        else
            s.Jacobian.SetLength(0);
    }
    if (!s.SensitivityMode) Call(s.ProgressStep);

    ReportSolution(s, finite);
    if (s.SensitivityMode) Call(s.ProgressStep);
    return finite;
}

bool RunForward(TSolverState& s) { return SolveForward(s, false); }
