// The ".sp2" survey writer: header, one line per measurement with the observed or the calculated dU,
// the "***" positions, the "topo" section and, with the model, the "start_config" block and the polygon
// model block; saved whole or not at all, with the ".cfg" beside it.
#pragma once

#include "core/PolyModelBlock.h"
#include "core/SurveyData.h"

#include <string>

// The text of a ".sp2" file from the prepared survey's data set: the observed dU ("*" where the survey gave
// none) or the calculated one, and with `model` (not null) the source curve and the model block.
std::string FormatSurveyText(const TSurveyState& s, bool observed, const TPolygonModel* model);

// Writes FormatSurveyText to `path` (replacing any file there), then the program configuration to the
// same path with the extension ".cfg". Each file is written into a temporary file beside it that is
// renamed over it once complete, so a failure leaves the old file whole. Returns "" on success, else
// "Cannot write file " followed by the survey's name when it failed, or, when only the ".cfg" failed,
// the survey's name, " was saved; cannot write file " and the ".cfg"'s name.
std::string WriteDataFile(const TSurveyState& s, const std::string& path, bool observed,
                          const TPolygonModel* model);
