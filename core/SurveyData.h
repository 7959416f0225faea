// The survey state: the measurement table as read, the topography, the source curve, the solver and
// discretisation settings, the electrode records and data set handed to the solver, and the survey flags
// and options. The main window owns one; the reader, the preparation and the writer work on it.
#pragma once

#include "core/DC2dBEMTypes.h"
#include "core/ProgramConfig.h"
#include "core/Supermath2d.h"

#include <cstdint>
#include <string>

// Columns of a measurement row (TMeasurementRow): one double per index, MissingValue when absent.
inline constexpr int mcP1x = 0;
inline constexpr int mcP2x = 1;
inline constexpr int mcP1y = 2;
inline constexpr int mcP2y = 3;
inline constexpr int mcP1z = 4; // depth below the ground, positive downward
inline constexpr int mcP2z = 5;
inline constexpr int mcDU = 6;
inline constexpr int mcWeight = 7;
inline constexpr int mcSpare = 8; // filled by no file column and read by nothing
inline constexpr int MeasurementRowLength = 9;  // rows read from a file
inline constexpr int SyntheticRowLength = 16;   // rows of a synthetic survey
using TMeasurementRow = arofdoubleM;

// A position on the ground profile and its along-ground distance; x is MissingValue when there is none.
struct TTopoReference {
    double x = MissingValue;
    double distance = 0.0;
    bool operator==(const TTopoReference&) const = default;
};

// Number of points of the source curve.
inline constexpr int SourceCurvePoints = 50;

struct TSurveyState {
    // The survey as read or made; after preparation sorted and with its gaps filled.
    ararofdoubleM SurveyRows;
    // Lines of the file's data section (numbered from 1) that held no sound measurement: a value that is
    // no number (read as missing) or too few values (passed over).
    arofintM UnreadableLines;
    // Extra electrode positions ("***" lines, "Extended nodes"); written back to files, used by nothing else.
    arofdoubleM StarValues;
    // Ground profile: x and elevation z (upward positive); ascending in x after preparation.
    arofcomplexM Topography;
    bool SlopeTopography = false; // the profile's x values are distances along the ground
    TTopoReference TopoReference;
    // Columns of "p1y", "p2y", "p1z", "p2z" in the file read; -1 when absent (and then not written).
    std::int32_t P1yColumn = -1;
    std::int32_t P2yColumn = -1;
    std::int32_t P1zColumn = -1;
    std::int32_t P2zColumn = -1;
    std::string CurrentFile;

    // Primary source curve: 0 linear, 1 exponential, 2 arbitrary (the 50 values edited by hand).
    std::int32_t SourceType = 0;
    double SourceA = 1.0;
    double SourceB = 30.0;
    double SourceC = 0.0;
    bool InvertSource = false;
    arofdoubleM SourceDepths;
    arofdoubleM SourceValues;

    // Discretisation and solver settings, the content of a ".cfg" file.
    TProgramConfig Settings;

    // Typical electrode spacing; MissingValue when the survey has fewer than two distinct positions.
    double ScaleLength = 0.0;
    double StartResistivity = 0.0; // host resistivity, ohm m

    elecarray Electrodes;            // one record per distinct electrode
    Asource DataSets;                // exactly one data set after preparation
    arofdoubleM ElectrodePositions;  // sorted distinct x of the measured electrodes

    bool DataLoaded = false;  // observed data are present
    bool ModelReady = false;  // the model has been computed at least once
    bool SurveyReady = false; // a survey exists
    std::int32_t DataType = 0;       // 0 "DU", 1 "Potential"
    std::int32_t NullPointIndex = 0; // measurement whose P1 is the zero of the potential view
    bool ReverseLine = false;        // positions become LineShift - x
    double LineShift = 0.0;
    bool SetupDefaultsPending = false; // the preparation resets the discretisation settings
    std::int32_t SyntheticCount = 0;
    double SyntheticSpacing = 0.0;

    // Options of the main window's menu check items.
    bool RealTopoCoordinates = false; // "Real topo coordinates"
    bool ExtendedNodes = false;       // "Extended nodes"
    bool OpenInModelingMode = false;  // "Open in modeling mode"
};

// What the open pipeline resets before a survey file is read: the slope flag, the four optional column
// indexes, the along-ground reference, the "***" positions; and it asks the preparation for the
// discretisation defaults.
void ResetForOpen(TSurveyState& s);

// True when the preparation found a typical electrode spacing (at least two distinct electrode
// positions). Without it the survey cannot be discretised and the forward run must refuse.
bool HasScaleLength(const TSurveyState& s);

// Number of measurements over all data sets.
int MeasurementCount(const TSurveyState& s);

// The ".cfg" beside a survey file: the path with the extension of its file name replaced.
std::string ConfigFileBeside(const std::string& surveyPath);
