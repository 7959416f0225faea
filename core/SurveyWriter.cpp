// The ".sp2" survey writer: one routine per section of the file, and the safe save of the file and of
// the ".cfg" beside it.
#include "core/SurveyWriter.h"

#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextFile.h"

namespace {

// The optional columns written when the file read had them, in header order.
struct TOptionalColumn {
    const char* Name;
    std::int32_t TSurveyState::*Column;
    arofdoubleM osource::*Values;
};
constexpr TOptionalColumn OptionalColumns[] = {
    {"P1y ", &TSurveyState::P1yColumn, &osource::P1y},
    {"P2y ", &TSurveyState::P2yColumn, &osource::P2y},
    {"P1z ", &TSurveyState::P1zColumn, &osource::P1z},
    {"P2z ", &TSurveyState::P2zColumn, &osource::P2z},
};

std::string Position(double v) { return FormatValue(v, 1, true); }

void WriteHeader(const TSurveyState& s, std::string& out)
{
    out += "P1  P2 ";
    for (const TOptionalColumn& c : OptionalColumns)
        if (s.*c.Column != -1) out += c.Name;
    out += "du weight \n";
}

void WriteMeasurements(const TSurveyState& s, bool observed, std::string& out)
{
    for (const osource& set : s.DataSets) {
        for (int k = 0; k < set.P1x.Length(); ++k) {
            out += Position(set.P1x[k]) + ' ' + Position(set.P2x[k]) + ' ';
            for (const TOptionalColumn& c : OptionalColumns)
                if (s.*c.Column != -1) out += Position((set.*c.Values)[k]) + ' ';
            const bool present = k >= set.ObservedPresent.Length() || set.ObservedPresent[k];
            if (!observed)
                out += FormatPrecision(5, set.Calculated[k]);
            else
                out += present ? FormatPrecision(5, set.Observed[k]) : std::string("*");
            out += ' ' + FormatValue(set.Weight[k], 0, true) + '\n';
        }
    }
}

void WriteStarValues(const TSurveyState& s, std::string& out)
{
    for (double v : s.StarValues) out += "*** " + FormatReal23(v) + '\n';
}

void WriteTopography(const TSurveyState& s, std::string& out)
{
    if (s.Topography.empty()) return;
    out += "topo\n";
    for (const complexM& p : s.Topography) out += Position(p.x) + ' ' + Position(p.z) + '\n';
}

void WriteStartConfig(const TSurveyState& s, std::string& out)
{
    out += "start_config\n";
    for (double v : {s.SourceA, s.SourceB, s.SourceC}) out += FormatReal23(v) + ' ';
    out += std::to_string(s.SourceType) + '\n';
    out += JoinValues(s.SourceValues, "", 1, true) + '\n';
    out += "end_config\n";
}

} // namespace

std::string FormatSurveyText(const TSurveyState& s, bool observed, const TPolygonModel* model)
{
    std::string out;
    WriteHeader(s, out);
    WriteMeasurements(s, observed, out);
    WriteStarValues(s, out);
    WriteTopography(s, out);
    if (model) {
        WriteStartConfig(s, out);
        out += ModelBlockText(*model);
    }
    return out;
}

std::string WriteDataFile(const TSurveyState& s, const std::string& path, bool observed,
                          const TPolygonModel* model)
{
    if (!SaveFileSafely(path, FormatSurveyText(s, observed, model))) return "Cannot write file " + path;
    const std::string cfg = ConfigFileBeside(path);
    // The survey stands saved: the message says so, lest the user take both for lost.
    if (!SaveFileSafely(cfg, ProgramConfigText(s.Settings))) return path + " was saved; cannot write file " + cfg;
    return {};
}
