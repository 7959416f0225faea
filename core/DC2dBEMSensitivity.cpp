// Analytic sensitivities: everything is read from the element-integral caches of the first inversion
// iteration and the decomposition of the current system matrix, so a solution with sensitivities costs
// one multi-column solve more than one without.
#include "core/DC2dBEMSensitivity.h"

#include "core/DC2dBEMSolve.h"
#include "core/DC2dBEMSource.h"
#include "platform/rtl/ThreadPool.h"

#include <numbers>
#include <vector>

namespace {

constexpr double SensitivityPotentialScale = 2.0 / std::numbers::pi;

// Rows of the right-hand sides, and electrodes, per task of the worker pool.
constexpr int SensitivityRowsPerTask = 16;
constexpr int SensitivityElectrodesPerTask = 4;

int GroupCount(const TSolverState& s) { return static_cast<int>(s.GroupStart.size()) - 1; }

// Sum over the elements of a group of wA x(a) + wB x(b) for a vector x by unknown.
double GroupSum(const TSolverState& s, const TElementUnknowns& unknowns, const TIntegralPair* pairs, int group,
                const double* x)
{
    double sum = 0.0;
    const int first = s.GroupStart[group];
    for (int i = first; i < s.GroupStart[group + 1]; ++i)
        sum += pairs[i - first].wA * x[unknowns.a[i]] + pairs[i - first].wB * x[unknowns.b[i]];
    return sum;
}

// Column p of the right-hand sides: -(dM/dsigma_p) u, row by row from the node table.
void ConductivityRightHandSides(TSolverState& s, const TElementUnknowns& unknowns)
{
    const TIntegralTable& table = s.NodeTable;
    const double rho0 = s.StartResistivity;
    const double* u = s.Solution.data();
    ParallelForBlocks(s.UnknownCount, SensitivityRowsPerTask, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            double* row = s.SolutionDerivatives.Row(r);
            for (int p = 0; p < s.ParamCount; ++p)
                row[p] = -rho0 * GroupSum(s, unknowns, table.Group(r, p + 1), p + 1, u);
        }
    });
    const double freeTermScale = rho0 / (2.0 * std::numbers::pi);
    for (int p = 0; p < s.ParamCount; ++p) {
        const arofintM& ring = s.SolverBodies[s.Params[p].Body][s.Params[p].Sub].ring;
        for (int k = 0; k < ring.Length(); ++k) {
            const int r = s.NodeNumber[ring[k]];
            s.SolutionDerivatives(r, p) -= RingAngle(s, ring, k) * freeTermScale * s.Solution[r];
        }
    }
}

void SourceRightHandSides(TSolverState& s)
{
    arofdoubleM rhs;
    for (int i = 0; i < s.SourceParams.Length(); ++i) {
        BuildSourceRHS(s, s.SourceParams[i], rhs);
        for (int r = 0; r < s.UnknownCount; ++r) s.SolutionDerivatives(r, s.ParamCount + i) = rhs[r];
    }
}

// The derivatives of one electrode's unscaled potential off the ground nodes: by sigma_p into dSigma[p],
// by source parameter i into dSource[i].
void OffNodeDerivatives(const TSolverState& s, const TElementUnknowns& unknowns, int e, std::vector<double>& dSigma,
                        std::vector<double>& dSource)
{
    const int P = s.ParamCount, columns = s.SolutionDerivatives.Cols();
    std::vector<double> sum(columns, 0.0), groupSum(columns);
    std::vector<double> own(P, 0.0); // integrals of p's own elements times u
    for (int g = 0; g < GroupCount(s); ++g) {
        const TIntegralPair* pairs = s.ElectrodeTable.Group(e, g);
        std::fill(groupSum.begin(), groupSum.end(), 0.0);
        const int first = s.GroupStart[g];
        for (int i = first; i < s.GroupStart[g + 1]; ++i) {
            const TIntegralPair& w = pairs[i - first];
            const double* rowA = s.SolutionDerivatives.Row(unknowns.a[i]);
            const double* rowB = s.SolutionDerivatives.Row(unknowns.b[i]);
            for (int c = 0; c < columns; ++c) groupSum[c] += w.wA * rowA[c] + w.wB * rowB[c];
        }
        // The ground line enters with weight -1, a sub-polygon with its contrast.
        const double weight = g == 0 ? -1.0 : s.Params[g - 1].Contrast;
        for (int c = 0; c < columns; ++c) sum[c] += weight * groupSum[c];
        if (g > 0) own[g - 1] = GroupSum(s, unknowns, pairs, g, s.Solution.data());
    }
    const double factor = s.ElectrodeFactor[e];
    const int param = s.ElectrodeParam[e];
    const double potential = s.RawElectrodePotentials[0][e];
    for (int p = 0; p < P; ++p) {
        double d = sum[p] - s.StartResistivity * own[p];
        if (param == p) d -= potential * factor * s.Params[p].Resistivity;
        dSigma[p] = d / factor;
    }
    // The imposed potential of an electrode inside (or on) an electronic sub-polygon moves with the curve.
    const bool imposed = param >= 0 && s.Params[param].Electronic;
    const complexM& at = s.ElectrodePoint[e];
    for (int i = 0; i < s.SourceParams.Length(); ++i) {
        const double source = imposed ? SourcePotentialDerivative(s, s.SourceParams[i], at.x, at.z) : 0.0;
        dSource[i] = (source + sum[P + i]) / factor;
    }
}

double Potential(const arofdoubleM& row, int electrode) { return electrode == NoElectrode ? 0.0 : row[electrode]; }

} // namespace

arofintM InvertedSourceParams(const TSolverState& s)
{
    if (!s.InvertSource) return {};
    switch (s.Source.SourceType) {
    case 1:
        return {0, 1, 2};
    case 2:
        return {};
    default: // other kinds count as linear, as in SourcePotential
        return {0, 2};
    }
}

void CalcSolutionDerivatives(TSolverState& s)
{
    TPhaseTimer timer(s, &TSolverTimings::DerivativeSolves);
    const TElementUnknowns unknowns(s);
    s.SolutionDerivatives.SetSize(s.UnknownCount, s.ParamCount + s.SourceParams.Length());
    ConductivityRightHandSides(s, unknowns);
    SourceRightHandSides(s);
    QRSolveMany(s.SystemMatrix, s.HouseholderVectors, s.HouseholderD, s.HouseholderC, s.SolutionDerivatives);
}

void CalcElectrodeDerivatives(TSolverState& s)
{
    TPhaseTimer timer(s, &TSolverTimings::ElectrodeDerivatives);
    const TElementUnknowns unknowns(s);
    const int electrodes = s.Electrodes->Length(), P = s.ParamCount, Q = s.SourceParams.Length();
    s.Sensitivities.SetLength(0);
    s.Sensitivities.SetLength(P);
    for (arofdoubleM& row : s.Sensitivities) row.SetLength(electrodes);
    s.SourceParamPotentials.SetLength(0);
    s.SourceParamPotentials.SetLength(Q);
    for (arofdoubleM& row : s.SourceParamPotentials) row.SetLength(electrodes);
    const arofintM& used = s.UsedElectrodes[0];
    ParallelForBlocks(used.Length(), SensitivityElectrodesPerTask, [&](int begin, int end) {
        std::vector<double> dSigma(P), dSource(Q);
        for (int k = begin; k < end; ++k) {
            const int e = used[k];
            if (s.ElectrodeOffNode[e]) {
                OffNodeDerivatives(s, unknowns, e, dSigma, dSource);
            } else {
                const int r = s.NodeNumber[s.ElectrodeNodes[e].first];
                for (int p = 0; p < P; ++p) dSigma[p] = s.SolutionDerivatives(r, p);
                for (int i = 0; i < Q; ++i) dSource[i] = s.SolutionDerivatives(r, P + i);
            }
            for (int p = 0; p < P; ++p) s.Sensitivities[p][e] = dSigma[p] * SensitivityPotentialScale;
            for (int i = 0; i < Q; ++i) s.SourceParamPotentials[i][e] = dSource[i];
        }
    });
}

void AssembleJacobian(TSolverState& s)
{
    TPhaseTimer timer(s, &TSolverTimings::ElectrodeDerivatives);
    int count = 0;
    for (const osource& set : *s.DataSets) count += set.P1.Length();
    s.MeasurementCount = count;
    const int P = s.ParamCount, Q = s.SourceParams.Length();
    s.Jacobian.SetLength(0);
    s.Jacobian.SetLength(P + Q);
    for (arofdoubleM& row : s.Jacobian) row.SetLength(count);
    int k = 0;
    for (const osource& set : *s.DataSets) {
        for (int j = 0; j < set.P1.Length(); ++j, ++k) {
            const int p1 = set.P1[j], p2 = set.P2[j];
            for (int p = 0; p < P; ++p)
                s.Jacobian[p][k] = -(Potential(s.Sensitivities[p], p1) - Potential(s.Sensitivities[p], p2)) /
                                   s.Params[p].Resistivity;
            for (int i = 0; i < Q; ++i)
                s.Jacobian[P + i][k] =
                    (Potential(s.SourceParamPotentials[i], p1) - Potential(s.SourceParamPotentials[i], p2)) *
                    SensitivityPotentialScale;
        }
    }
}

void CalcSensitivities(TSolverState& s)
{
    s.SourceParams = InvertedSourceParams(s);
    CalcSolutionDerivatives(s);
    CalcElectrodeDerivatives(s);
    AssembleJacobian(s);
}
