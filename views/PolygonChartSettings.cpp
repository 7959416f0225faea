// The model view's settings text: writing it, reading it only when all nine fields are sound, the
// construction defaults, and the settings file.
#include "views/PolygonChart.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/series/LumMapSeries.h"
#include "core/Supermath2d.h"
#include "platform/rtl/IniFiles.h"

#include <charconv>
#include <cstdint>

namespace {

bool ReadInteger(const std::string& token, std::int32_t& value)
{
    const char* end = token.data() + token.size();
    const auto [last, error] = std::from_chars(token.data(), end, value);
    return error == std::errc() && last == end;
}

} // namespace

void TPolygonChart::SettingsToText(std::string& text) const
{
    for (const std::int32_t v : {static_cast<std::int32_t>(ExternalNodeColor), static_cast<std::int32_t>(FixedNodeColor),
                                 static_cast<std::int32_t>(InternalNodeColor), static_cast<std::int32_t>(BorderNodeColor),
                                 static_cast<std::int32_t>(MarginLeft()), static_cast<std::int32_t>(MarginRight()),
                                 static_cast<std::int32_t>(MarginTop()), static_cast<std::int32_t>(MarginBottom())})
        text += " " + std::to_string(v);
    text += " " + WriteFontStyle(FShapeSeries->Marks().Font());
}

bool TPolygonChart::TextToSettings(const std::string& text)
{
    const arofstrM tokens = SplitToStrings(text);
    // Nothing is taken unless all nine fields are there and sound: a damaged line must not leave the
    // view half changed (the next close writes a sound one).
    if (tokens.Length() < 9 || tokens[8].empty()) return false;
    std::int32_t v[8] = {};
    for (int i = 0; i < 8; ++i)
        if (!ReadInteger(tokens[i], v[i])) return false;
    ExternalNodeColor = static_cast<TColor>(v[0]);
    FixedNodeColor = static_cast<TColor>(v[1]);
    InternalNodeColor = static_cast<TColor>(v[2]);
    BorderNodeColor = static_cast<TColor>(v[3]);
    SetMarginLeft(v[4]);
    SetMarginRight(v[5]);
    SetMarginTop(v[6]);
    SetMarginBottom(v[7]);
    FShapeSeries->Marks().Font().Assign(*ReadFontStyle(tokens[8]));
    Invalidate();
    return true;
}

void TPolygonChart::RestoreDefaultSettings() { TextToSettings(DefaultSettingsText); }

void TPolygonChart::SaveSettings(TIniFile& ini) const
{
    std::string text;
    SettingsToText(text);
    ini.WriteString(PolygonChartSection, PolygonChartKey, text);
}

void TPolygonChart::LoadSettings(const TIniFile& ini)
{
    std::string current;
    SettingsToText(current);
    TextToSettings(ini.ReadString(PolygonChartSection, PolygonChartKey, current));
}
