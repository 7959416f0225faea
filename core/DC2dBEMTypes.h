// The records the survey preparation fills and the solver reads: electrode records, data sets and
// ground-line locations.
#pragma once

#include "platform/rtl/DynArray.h"

#include <cstdint>

// A pair of 32-bit integers: two node indices of a ground-line edge, or one node index and -1.
struct TIntPair {
    std::int32_t first = 0;
    std::int32_t second = 0;
    bool operator==(const TIntPair&) const = default;
};
using Points = DynArray<TIntPair>;

// One distinct electrode of the survey.
struct TElectrode {
    double x = 0.0;     // position along the profile
    double zraw = 0.0;  // depth as the measurement row gives it; > 0 means buried
    double ztopo = 0.0; // zraw plus the topography at x (survey preparation only)
    double z = 0.0;     // depth in the model frame (zraw + largest topography z - topography at x)
    bool surface = false; // zraw <= 0
    double minusZtopo = 0.0; // -ztopo, kept for the record layout; read nowhere
    double spare1 = 0.0;
    double spare2 = 0.0;
    bool operator==(const TElectrode&) const = default;
};
using elecarray = DynArray<TElectrode>;

// Electrode index of a measurement end without an electrode (its position was "*"); its potential is 0.
inline constexpr std::int32_t NoElectrode = -1;

// One data set: parallel arrays with one element per measurement.
struct osource {
    arofintM P1, P2;                    // electrode indexes, NoElectrode for none
    arofdoubleM P1x, P2x, P1y, P2y, P1z, P2z;
    arofdoubleM Observed;               // measured dU; 0 where the survey gave none
    arofdoubleM Calculated;             // calculated dU, written by the solver
    arofdoubleM Weight;
    arofboolM ObservedPresent;          // false where the survey gave no dU ("*"): no misfit, no weight
    bool operator==(const osource&) const = default;
};
using Asource = DynArray<osource>;
