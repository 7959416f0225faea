// The boundary-element solver's state: the inputs handed over before a run, the settings it reads from
// the survey, its flags, and the working arrays of the last solution, gathered in one struct. Inputs stay
// until the next hand-off replaces them; every solution rebuilds the working arrays it needs.
#pragma once

#include "core/DC2dBEMIntegrals.h"
#include "core/DC2dBEMLinalg.h"
#include "core/DC2dBEMTypes.h"
#include "core/Polygons.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Number of inversion iterations.
inline constexpr int MaxIterations = 20;

// The primary source curve as the survey holds it: U(d) = -a d + c (0), c + a exp(-d / b) (1), or the
// table SourceDepths -> SourceValues (2), d being the depth below the relief.
struct TSourceCurve {
    std::int32_t SourceType = 0;
    double SourceA = 1.0;
    double SourceB = 30.0;
    double SourceC = 0.0;
    arofdoubleM SourceDepths;
    arofdoubleM SourceValues;
};

// One resistivity parameter: a sub-polygon other than the host, in parameter order (body by body, sub-
// polygon by sub-polygon), with the values a solution derives from its property slots.
struct TSolverPolygon {
    int Body = 0;
    int Sub = 0;
    double Resistivity = 0.0; // rho_S
    double Contrast = 0.0;    // (rho_S - rho0) / rho_S
    double RhoRatio = 0.0;    // rho0 / rho_S
    bool Electronic = false;  // ConductorType 0: carries the imposed potential
};

// One boundary element of a solution: the unknown-carrying nodes a -> b and their geometry.
struct TSolverElement {
    int a = 0;
    int b = 0;
    TElement Geometry;
};

// Cached element integrals: one entry per collocation point, each a list of groups of pairs, one pair
// per element. Group 0 holds the ground-line elements (relief only), group g > 0 the ring elements of
// parameter g - 1. All entries share the group layout; an entry may be absent (not computed).
class TIntegralTable {
public:
    void Clear();
    // Sizes the table: `entries` entries, the groups' element counts given, every entry absent.
    void Layout(int entries, const std::vector<int>& groupSizes);
    int EntryCount() const { return FEntries; }
    int GroupCount() const { return static_cast<int>(FGroupStart.size()) - 1; }
    int GroupSize(int group) const;
    bool HasEntry(int entry) const;
    // The pairs of one group of an entry (marks the entry present when written).
    TIntegralPair* Group(int entry, int group);
    const TIntegralPair* Group(int entry, int group) const;
    const TIntegralPair& Pair(int entry, int group, int element) const;

private:
    std::size_t Offset(int entry, int group) const;
    int FEntries = 0;
    std::vector<int> FGroupStart{0};
    std::vector<TIntegralPair> FPairs;
    std::vector<bool> FPresent;
};

struct TSolverState {
    // ---- Inputs handed over before every run ----
    elecarray* Electrodes = nullptr; // the survey's own electrode records
    Asource* DataSets = nullptr;     // the survey's own data sets; Calculated is written into them
    AllSpolygon SolverBodies;        // discretised copy of the model's bodies
    Tnodes SolverNodes;              // discretised copy of the model's nodes
    double StartResistivity = 0.0;   // rho0 of the host medium
    double NearSingularDistance = 0.1;
    std::int32_t QuadratureOrder = 0;
    bool ReliefPresent = false; // the survey's topography has more than two points

    // ---- Survey values read during a run ----
    TSourceCurve Source;
    arofcomplexM Topography; // (x, elevation), ascending x
    bool DataLoaded = false;
    bool InvertSource = false;

    // ---- Callbacks, each called only when set ----
    std::function<void()> ProgressStep;                 // advance the gauge (and pump messages)
    std::function<void()> ProgressReset;                // gauge back to 0
    std::function<void(const std::string&)> ShowStatus; // the misfit text after every solution

    // ---- Flags and counters ----
    bool ElectrodeListStale = true; // UsedElectrodes is rebuilt at the next solution
    bool SensitivityMode = false;   // the current solution also computes sensitivities
    std::int32_t ForwardStepCount = 0;
    std::int32_t IterationCounter = 0;
    std::int32_t UnknownCount = 0;
    std::int32_t ParamCount = 0;
    std::int32_t MeasurementCount = 0;

    // ---- Working state of the last solution ----
    DynArray<TSolverPolygon> Params;      // the resistivity parameters, in parameter order
    // The elements of the solution by group: group 0 the ground line (relief only), group g > 0 the ring
    // edges of parameter g - 1 (closing edge last); group g is Elements[GroupStart[g] .. GroupStart[g+1]).
    std::vector<TSolverElement> Elements;
    std::vector<int> GroupStart;
    arofintM NodeNumber;                  // unknown per node of SolverNodes, -1 for none
    arofintM SurfaceNodeList;             // relief: ground-line nodes by ascending x
    arofboolM OnSurface;                  // relief: per node, on the ground line
    ararofintM UsedElectrodes;            // one row: electrode indexes the measurements use, ascending
    Points ElectrodeNodes;                // per electrode: ground edge or node it lies on
    DynArray<complexM> ElectrodePoint;    // per electrode: where its potential is evaluated
    arofboolM ElectrodeOffNode;           // per electrode: not on a ground node
    arofdoubleM ElectrodeSourcePotential; // per electrode: imposed potential inside an electronic body
    arofintM ElectrodeParam;              // per electrode: parameter whose factor it got, -1 for none
    arofdoubleM ElectrodeFactor;          // per electrode: divisor of its potential (0 on a ground node)
    arofdoubleM FreeTerms;                // per unknown
    TIntegralTable NodeTable;             // per unknown (sensitivity runs only)
    TIntegralTable ElectrodeTable;        // per electrode record
    TDenseMatrix SystemMatrix;            // UnknownCount squared, QR-decomposed in place
    arofdoubleM HouseholderD, HouseholderC;
    arofdoubleM Solution;                 // boundary potentials, per unknown
    // One row each, indexed by electrode record (0 for electrodes no measurement uses): the potentials
    // before and after the factor 2/pi.
    ararofdoubleM RawElectrodePotentials, ElectrodePotentialRow;
    double Misfit = 0.0;                  // percent, of the last solution
};

// The state the program's views use; tests may keep states of their own.
TSolverState& SolverState();
// Back to the start-up values (callbacks included).
void ResetSolverState(TSolverState& state);
