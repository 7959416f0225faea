// Opening a survey: the open pipeline's core. The file is read into a copy of the survey in use and
// prepared there; the caller takes the new survey (and the model read with it) over only on success, so
// a failed open changes nothing in use.
#pragma once

#include "core/SurveyPrepare.h"
#include "core/SurveyReader.h"

#include <optional>
#include <string>
#include <string_view>

struct TSurveyOpenResult {
    int Kind = ReadError;       // ReadError, ReadData or ReadDataWithModel
    std::string Message;        // "Error in data file!" when Kind is ReadError
    TSurveyState Survey;        // the new survey; DataLoaded and SurveyReady set as the pipeline sets them
    std::optional<TPolygonModel> Model; // the model of the file's block (Kind ReadDataWithModel)
    double LabelValueOffset = 0.0;       // for the model chart's left axis
};

// Reads and prepares the survey text of the file `path` (with the ".cfg" text beside it, when there is
// one) on a copy of `current`: the open resets (ResetForOpen), ReadSurveyText with `confirm` for the
// configuration question, then PrepareSurvey with the model-box bottom of the file's model, or
// `modelBottomInUse` when the file has none. On success Survey has DataLoaded (unless
// OpenInModelingMode) and SurveyReady set. The caller then empties its well-log list, takes Survey and
// Model over and builds the model views.
TSurveyOpenResult OpenSurveyText(const TSurveyState& current, std::string_view text, const std::string& path,
                                 const std::optional<std::string>& cfgText, const TConfirm& confirm,
                                 double modelBottomInUse);

// OpenSurveyText on the file at `path` and the ".cfg" of the same name beside it.
TSurveyOpenResult OpenSurveyFile(const TSurveyState& current, const std::string& path, const TConfirm& confirm,
                                 double modelBottomInUse);
