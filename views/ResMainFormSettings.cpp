// Section "common" of the settings file and the file association of the main window.
#include "views/ResMainFormSettings.h"

#include "core/PolyModelBlock.h"
#include "core/ProgramConfig.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"

namespace {

// An integer setting of the survey's configuration: the file's value only when the setting may hold it.
void ReadConfigInteger(const TIniFile& ini, const char* key, TConfigField field, std::int32_t& value)
{
    const std::int32_t read = ini.ReadInteger(CommonSection, key, value);
    if (ConfigValueValid(field, read)) value = read;
}

// Opens (creating) a key of the classes root and writes its default value; a key the store refuses is
// left out.
void WriteClassesKey(const std::string& key, const std::string& value)
{
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        if (!reg.OpenKey("\\" + key, true)) return;
        reg.WriteString("", value);
        reg.CloseKey();
    } catch (const ERegistryException&) {
    }
}

} // namespace

void ReadCommonSettings(const TIniFile& ini, TMainWindowSettings& window, TSurveyState& survey,
                        PolygonProperties& defaults)
{
    window.LastPath = ini.ReadString(CommonSection, "LastPath", window.LastPath);
    window.FilterIndex = ini.ReadInteger(CommonSection, "FilterIndex", window.FilterIndex);
    window.AddDataType = ini.ReadInteger(CommonSection, "AddDataType", window.AddDataType);
    survey.DataType = ini.ReadInteger(CommonSection, "DataType", survey.DataType);
    window.DataPlotType = ini.ReadInteger(CommonSection, "DataPlotType", window.DataPlotType);
    window.graphicstype = ini.ReadInteger(CommonSection, "graphicstype", window.graphicstype);
    const std::string line = ini.ReadString(CommonSection, "Defpolparams", PropertiesToText(defaults));
    TextToProperties(defaults, line); // refused: the row stays as it was
    TProgramConfig& c = survey.Settings;
    ReadConfigInteger(ini, "infperc", TConfigField::infperc, c.infperc);
    ReadConfigInteger(ini, "redperc", TConfigField::redperc, c.redperc);
    ReadConfigInteger(ini, "numqp", TConfigField::numqp, c.numqp);
    // ReadBool gives the default for text that is no integer; any other integer than 0 and 1 is refused.
    const std::int32_t recetha = ini.ReadInteger(CommonSection, "recetha", c.recetha ? 1 : 0);
    if (ConfigValueValid(TConfigField::recetha, recetha)) c.recetha = recetha != 0;
}

void WriteCommonSettings(TIniFile& ini, const TMainWindowSettings& window, const TSurveyState& survey,
                         const PolygonProperties& defaults)
{
    const TProgramConfig& c = survey.Settings;
    // One save for the section: a refused one leaves the file as it was.
    ini.BeginUpdate();
    ini.WriteString(CommonSection, "LastPath", window.LastPath);
    ini.WriteInteger(CommonSection, "FilterIndex", window.FilterIndex);
    ini.WriteInteger(CommonSection, "AddDataType", 0);
    ini.WriteInteger(CommonSection, "DataType", survey.DataType);
    ini.WriteInteger(CommonSection, "DataPlotType", window.DataPlotType);
    ini.WriteInteger(CommonSection, "graphicstype", window.graphicstype);
    ini.WriteString(CommonSection, "Defpolparams", PropertiesToText(defaults));
    ini.WriteInteger(CommonSection, "infperc", c.infperc);
    ini.WriteInteger(CommonSection, "redperc", c.redperc);
    ini.WriteInteger(CommonSection, "numqp", c.numqp);
    ini.WriteBool(CommonSection, "recetha", c.recetha);
    ini.UpdateFile();
}

void RegisterFileType(const std::string& extension, const std::string& description, const std::string& icon,
                      const std::string& executable)
{
    const std::string fileType = extension + "QELFile";
    WriteClassesKey("." + extension, fileType);
    WriteClassesKey(fileType, description);
    WriteClassesKey(fileType + "\\DefaultIcon", icon);
    WriteClassesKey(fileType + "\\shell\\open\\command", executable + " %1");
}
