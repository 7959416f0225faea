// The ".sp2" survey reader: header with the role columns, measurement and "***" lines, the "topo" section
// with its markers, the "start_config" block and the polygon-model block, and the ".cfg" offered beside
// the file; with the fit that turns the positions of a "~" survey onto the ground line.
#pragma once

#include "core/PolyModelBlock.h"
#include "core/SurveyData.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Results of ReadDataFile.
inline constexpr int ReadError = -1;        // no header with P1, P2 and dU, no data and no model, or a
                                            // malformed model block
inline constexpr int ReadData = 0;          // measurements, no model block
inline constexpr int ReadDataWithModel = 1; // a model block (with or without measurements)

// Asks a question with OK and Cancel; true for OK. An empty function answers Cancel.
using TConfirm = std::function<bool(const std::string& question)>;

// Reads the survey text `text` (of the file `path`) into `s` and a model block into `model`.
// `s` should be a fresh copy on which ResetForOpen has run: the reader fills SurveyRows, UnreadableLines,
// StarValues,
// Topography, TopoReference, SlopeTopography, the optional column indexes, the source curve parameters,
// StartResistivity (100, or the block's host resistivity), CurrentFile and SetupDefaultsPending, and with
// `cfgText` (the ".cfg" beside the file, when there is one) asks `confirm` "Load project configuration"
// and on OK reads the settings from it. `model` is written only when the file carries a valid block.
// Returns ReadError, ReadData or ReadDataWithModel.
int ReadSurveyText(TSurveyState& s, std::string_view text, const std::string& path,
                   const std::optional<std::string>& cfgText, const TConfirm& confirm, TPolygonModel& model);

// ReadSurveyText on the file at `path` and the ".cfg" of the same name beside it. A file that cannot be
// read reads as empty (ReadError).
int ReadDataFile(TSurveyState& s, const std::string& path, const TConfirm& confirm, TPolygonModel& model);

// "N lines could not be read: 5, 28, ..." for the unreadable lines of a survey (their numbers from 1, the
// first UnreadableLinesShown of them, then ", ..." when there are more); "1 line ..." for one; empty for
// none.
inline constexpr int UnreadableLinesShown = 10;
std::string UnreadableLinesMessage(const arofintM& lines);

// The whole content of the file at `path`, or nothing when it cannot be read.
std::optional<std::string> ReadTextFileIfAny(const std::string& path);

// The fitted ground line of a "~" survey.
struct TTopoFit {
    double Slope = 0.0;     // slope a of the line through the profile
    double Intercept = 0.0; // intercept of the second fit (close to 0)
    double X0 = 0.0;        // smallest x of the profile, the turning point
    double Shift = 0.0;     // intercept of the first fit, taken off every z before turning
};

// Fits a line through the profile by least squares and turns the profile onto it (x measured along the
// line from X0, z across it). A profile with fewer than two distinct x gets a horizontal line through its
// mean elevation. An empty profile is left alone.
TTopoFit FitTopoLine(arofcomplexM& profile);

// The x, in the turned frame of `fit`, of the ground point above `x` on `profileAsRead` (ascending in x,
// linear between its points, its end heights beyond them).
double ToFittedFrame(const TTopoFit& fit, const arofcomplexM& profileAsRead, double x);
