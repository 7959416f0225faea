// The main window's Save command: the seven kinds of the save dialog, the condition each needs, the name
// it is written under and the writer it calls; and the worksheet picture of the two views stacked.
#pragma once

#include "core/Polygons.h"
#include "core/SurveyData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;

// Filter indexes of the save dialog.
enum TSaveKind : int {
    skProjectData = 1,        // observed data with the source curve and the model
    skCalculatedData = 2,     // calculated data
    skObservedData = 3,       // observed data
    skModelWithCalculated = 4, // calculated data with the source curve and the model
    skWorksheet = 5,          // both views as one picture
    skModelPicture = 6,       // the model view as a picture
    skProgramConfig = 7,      // the solver and discretisation settings
};

inline constexpr const char* SaveDialogFilter =
    "Vorn project data [*.sp2]|*.sp2|Vorn calculated data [*.sp2]|*.sp2|Vorn observed data [*.sp2]|*.sp2|"
    "Vorn model with calculated [*.sp2]|*.sp2|Worksheet [*.bmp]|*.bmp|Model [*.bmp]|*.bmp|"
    "Program configuration [*.cfg]|*.cfg";

inline constexpr const char* NothingSavedNoObservedData = "Nothing was saved: there are no observed data.";
inline constexpr const char* NothingSavedNoCalculatedData = "Nothing was saved: run the forward problem first.";

// The chosen name with the extension of the kind (".sp2", ".bmp" or ".cfg") in place of its own.
std::string SaveKindFileName(int kind, const std::string& chosen);

// Writes a picture of the views (the model view alone when `modelOnly`) to a ".bmp" path; false when
// the file could not be written.
using TPictureWriter = std::function<bool(const std::string& path, bool modelOnly)>;

// Saves the survey as `kind` under SaveKindFileName(kind, chosen): the four ".sp2" kinds through core's
// writer (which writes the ".cfg" beside), with `model` for kinds 1 and 4 (null: no model block), the
// pictures through `writePicture`, the configuration through WriteProgramConfig. Returns the message to
// show: "" when saved, one of the NothingSaved texts when the kind's condition fails (kinds 1 and 3 need
// observed data, kind 1 also a survey; 2 and 4 a computed model), "Cannot write file " + name when a
// write failed (for a ".sp2" saved whose ".cfg" failed, the writer's message naming both). An unknown
// kind saves nothing and says nothing.
std::string SaveSurveyAs(int kind, const std::string& chosen, const TSurveyState& survey, const TPolygonModel* model,
                         const TPictureWriter& writePicture);

// One bitmap as wide as the widest picture holding the pictures one under the other, the first on top.
std::unique_ptr<TBitmap> StackPictures(const std::vector<const TBitmap*>& pictures);
