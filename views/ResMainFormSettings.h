// The main window's settings: section "common" of the settings file, read at start-up and written when the
// window closes, and the ".sp2" file association written into the registry store at every start.
#pragma once

#include "core/Polygons.h"
#include "core/SurveyData.h"

#include <cstdint>
#include <string>

class TIniFile;

inline constexpr const char* CommonSection = "common";

// What the window keeps of its own in section "common"; the rest belongs to the survey (DataType and the
// solver settings) and to the default property row of new polygons.
struct TMainWindowSettings {
    std::string LastPath;          // the open dialog's file name
    std::int32_t FilterIndex = 1;  // the open dialog's filter
    std::int32_t AddDataType = 0;  // carried through the file only; always written 0
    std::int32_t DataPlotType = 0; // 0 pseudo-section mode, any other value plain graph mode
    std::int32_t graphicstype = 0; // carried through the file only
};

// Reads section "common" key by key, each with the value it replaces as default: "LastPath",
// "FilterIndex", "AddDataType", "DataType", "DataPlotType", "graphicstype", "Defpolparams" (a line that
// TextToProperties refuses keeps `defaults`), "infperc", "redperc", "numqp", "recetha" (a value that
// ConfigValueValid refuses keeps the setting). Nothing else of `survey` changes.
void ReadCommonSettings(const TIniFile& ini, TMainWindowSettings& window, TSurveyState& survey,
                        PolygonProperties& defaults);

// Writes the eleven keys in the order above; "AddDataType" is written 0 whatever the window holds.
// Raises EIniFileException when the file cannot be written.
void WriteCommonSettings(TIniFile& ini, const TMainWindowSettings& window, const TSurveyState& survey,
                         const PolygonProperties& defaults);

// The file association under HKEY_CLASSES_ROOT: "." + extension names extension + "QELFile", which holds
// the description, its "DefaultIcon" the icon and "shell\open\command" the executable + " %1". Values
// present are overwritten; a key that cannot be opened is skipped without a message.
void RegisterFileType(const std::string& extension, const std::string& description, const std::string& icon,
                      const std::string& executable);
