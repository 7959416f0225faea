// The boundary-element solver's state: the inputs handed over before a run, the settings it reads from
// the survey, its flags, and the working arrays of the last solution, gathered in one struct. Inputs stay
// until the next hand-off replaces them; every solution rebuilds the working arrays it needs.
#pragma once

#include "core/DC2dBEMIntegrals.h"
#include "core/DC2dBEMLinalg.h"
#include "core/DC2dBEMTypes.h"
#include "core/Polygons.h"

#include <chrono>
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
    // Sizes the table: `entries` entries, the groups' element counts given, every entry absent. An absent
    // entry's pairs are not defined; they are written through the writable Group, read through the
    // others, which refuse an absent entry (ERangeError).
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
    TLargeBuffer<TIntegralPair> FPairs;
    std::vector<std::uint8_t> FPresent; // bytes, not bits: entries are written from several threads
};

// Seconds spent in the phases of the solutions, added up while a state's Timings points here (the
// benchmarks set it; runs without it read no clock).
struct TSolverTimings {
    double Preparation = 0.0;          // numbering, factors, free terms, element integrals, assembly
    double Factorisation = 0.0;        // the system matrix's QR
    double ForwardSolve = 0.0;         // boundary values, electrode potentials, dU and misfit
    double DerivativeSolves = 0.0;     // right-hand sides of all parameters, solved in one pass
    double ElectrodeDerivatives = 0.0; // potential derivatives at the electrodes and the Jacobian
    double Update = 0.0;               // normal equations, damping and the parameter update
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
    TQRReflections HouseholderVectors;    // the decomposition's reflections packed for its solves
    arofdoubleM Solution;                 // boundary potentials, per unknown
    // One row each, indexed by electrode record (0 for electrodes no measurement uses): the potentials
    // before and after the factor 2/pi.
    ararofdoubleM RawElectrodePotentials, ElectrodePotentialRow;
    double Misfit = 0.0;                  // percent, of the last solution

    // ---- Sensitivities of the last solution that computed them (an inversion's) ----
    // Source-curve parameters with a Jacobian row, by BuildSourceRHS number: with InvertSource a and c
    // (linear) or a, b and c (exponential); none for the arbitrary curve.
    arofintM SourceParams;
    // UnknownCount rows, one column per parameter: du/dsigma of each resistivity parameter, then the
    // solution of each source parameter's right-hand side.
    TDenseMatrix SolutionDerivatives;
    // Per resistivity parameter, per electrode record: the derivative of the scaled potential (after the
    // factor 2/pi) by the parameter's conductivity; 0 for electrodes no measurement uses.
    ararofdoubleM Sensitivities;
    // Per source parameter, per electrode record: the derivative of the unscaled potential.
    ararofdoubleM SourceParamPotentials;
    // Per parameter (resistivity rows, then source rows), per measurement of all data sets in order: the
    // derivative of the calculated dU by ln rho, or by the source parameter.
    ararofdoubleM Jacobian;

    TSolverTimings* Timings = nullptr; // phase clock of the benchmarks, when set
};

// Adds the seconds of its lifetime to one field of the state's timings; reads no clock without them.
class TPhaseTimer {
public:
    TPhaseTimer(const TSolverState& s, double TSolverTimings::*field);
    ~TPhaseTimer();
    TPhaseTimer(const TPhaseTimer&) = delete;
    TPhaseTimer& operator=(const TPhaseTimer&) = delete;

private:
    double* FSlot = nullptr;
    std::chrono::steady_clock::time_point FStart;
};

// The state the program's views use; tests may keep states of their own.
TSolverState& SolverState();
// Back to the start-up values (callbacks included).
void ResetSolverState(TSolverState& state);
