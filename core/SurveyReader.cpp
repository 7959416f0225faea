// The ".sp2" survey reader: one routine per section of the file (header, data, "topo", "start_config"),
// the "~" fit, and the model block and ".cfg" handed to their own readers.
#include "core/SurveyReader.h"

#include "core/SurveySort.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The lines of the text (LF or CR LF, as SplitTextLines makes them), read one after the other as views
// into it: a long survey is not copied line by line before it is read.
class TLineCursor {
public:
    explicit TLineCursor(std::string_view text) : FText(text) {}
    bool Next(std::string_view& line)
    {
        if (!NextTextLine(FText, FNext, line)) return false;
        ++FLineNumber;
        return true;
    }
    // The number of the line Next gave last, from 1.
    int LineNumber() const { return FLineNumber; }
    // At least the number of lines left.
    std::size_t LinesLeftAtMost() const
    {
        const std::string_view rest = FText.substr(FNext);
        return static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n')) + 1;
    }

private:
    std::string_view FText;
    std::size_t FNext = 0;
    int FLineNumber = 0;
};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Contains on the lower-cased text, without making it: `part` is lower case.
bool ContainsLower(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char a, char b) { return LoCaseChar(a) == b; }) != text.end();
}

// Role columns of the header, in the order of the row columns they fill (mcP1x .. mcWeight).
struct THeader {
    std::array<int, 8> Column{-1, -1, -1, -1, -1, -1, -1, -1};
    int Roles = 0;      // number of roles found: the least token count of a measurement line
    int LastColumn = -1; // a measurement line must reach it
};

THeader FindRoles(const arofstrM& tokens)
{
    THeader h;
    for (int i = 0; i < tokens.Length(); ++i) {
        const std::string t = LowerCase(tokens[i]);
        const bool plain = !Contains(t, "y") && !Contains(t, "z");
        const bool match[8] = {Contains(t, "p1") && plain, Contains(t, "p2") && plain, Contains(t, "p1y"),
                               Contains(t, "p2y"),         Contains(t, "p1z"),         Contains(t, "p2z"),
                               Contains(t, "du"),          Contains(t, "weight")};
        for (int r = 0; r < 8; ++r)
            if (match[r]) h.Column[r] = i;
    }
    for (int c : h.Column) {
        if (c < 0) continue;
        ++h.Roles;
        h.LastColumn = std::max(h.LastColumn, c);
    }
    return h;
}

bool HasRequiredRoles(const THeader& h)
{
    return h.Column[mcP1x] >= 0 && h.Column[mcP2x] >= 0 && h.Column[mcDU] >= 0;
}

// A measurement row from the tokens; `garbled` tells whether a role's token was neither a number nor the
// "*" that files write for a missing value (it reads as missing all the same).
TMeasurementRow MakeRow(const THeader& h, const std::vector<std::string_view>& tokens, bool& garbled)
{
    TMeasurementRow row(MeasurementRowLength);
    FillDoubles(row, MissingValue);
    garbled = false;
    for (int r = 0; r < 8; ++r) {
        if (h.Column[r] >= 0) {
            const std::string_view token = tokens[h.Column[r]];
            row[r] = StrToValue(token);
            garbled = garbled || (row[r] == MissingValue && token != "*");
        } else if (r >= mcP1y && r <= mcP2z) {
            row[r] = 0.0;
        }
    }
    return row;
}

// Every word that ends a section holds an "o": a line of numbers is passed over at one look.
bool MayEndSection(std::string_view line)
{
    return std::any_of(line.begin(), line.end(), [](char c) { return (c | 0x20) == 'o'; });
}

bool EndsDataSection(std::string_view line)
{
    return MayEndSection(line)
           && (ContainsLower(line, "topo") || ContainsLower(line, "model") || ContainsLower(line, "start_config"));
}

bool EndsTopoSection(std::string_view line)
{
    return MayEndSection(line) && (ContainsLower(line, "model") || ContainsLower(line, "start_config"));
}

// Measurement and "***" lines up to a line that names "topo", "model" or "start_config"; returns that
// line lower-cased, or "" at the end of the text. Lines that hold something but no sound measurement (a
// value that is no number, too few values) are listed in UnreadableLines; the garbled ones are kept as
// rows with missing values, the short ones are passed over.
std::string ReadDataSection(TSurveyState& s, TLineCursor& lines, const THeader& h)
{
    s.SurveyRows.Reserve(lines.LinesLeftAtMost());
    std::vector<std::string_view> tokens;
    std::string_view line;
    while (lines.Next(line)) {
        const bool ends = EndsDataSection(line);
        bool unreadable = false;
        if (Contains(line, "***")) {
            const arofdoubleM numbers = SplitToDoubles(line);
            if (!numbers.empty()) s.StarValues.push_back(numbers[0]);
        } else {
            SplitToViews(line, tokens);
            const int count = static_cast<int>(tokens.size());
            if (count >= h.Roles && count > h.LastColumn) {
                s.SurveyRows.push_back(MakeRow(h, tokens, unreadable));
            } else {
                // The line that ends the section says so in a word or two; a blank line says nothing.
                unreadable = count > 0 && !ends;
            }
        }
        if (unreadable) s.UnreadableLines.push_back(lines.LineNumber());
        if (ends) return LowerCase(line);
    }
    return {};
}

// The "topo" section after its first line `topoLine`; returns the line that ended it, lower-cased.
std::string ReadTopoSection(TSurveyState& s, TLineCursor& lines, const std::string& topoLine)
{
    std::string_view markers = topoLine;
    std::string_view line;
    if (Contains(topoLine, "#") && lines.Next(line)) {
        const arofdoubleM reference = SplitToDoubles(line);
        if (reference.Length() >= 2) s.TopoReference = {reference[0], reference[1]};
        markers = line; // "^" is looked for on the reference line
    }
    if (Contains(markers, "^")) s.SlopeTopography = true;
    while (lines.Next(line)) {
        const arofdoubleM point = SplitToDoubles(line);
        if (point.Length() >= 2) s.Topography.push_back({point[0], point[1]});
        if (EndsTopoSection(line)) return LowerCase(line);
    }
    return {};
}

// The source kind of a "start_config" line: its fourth number rounded, halves to even; -1 unless 0..2.
int SourceKind(double v)
{
    if (!(std::abs(v) < 1e9)) return -1;
    const double k = std::nearbyint(v);
    return k >= 0 && k <= 2 ? static_cast<int>(k) : -1;
}

// The three lines after "start_config". A first line without a, b, c and a source kind 0..2 makes the
// block ignored; a block cut short keeps what was read.
void ReadStartConfig(TSurveyState& s, TLineCursor& lines)
{
    std::string_view line;
    if (!lines.Next(line)) return;
    const arofdoubleM p = SplitToDoubles(line);
    const bool valid = p.Length() >= 4 && SourceKind(p[3]) >= 0;
    if (valid) {
        s.SourceA = p[0];
        s.SourceB = p[1];
        s.SourceC = p[2];
        s.SourceType = SourceKind(p[3]);
    }
    if (!lines.Next(line)) return;
    if (valid) s.SourceValues = SplitToDoubles(line);
    lines.Next(line); // "end_config"
}

// "~": positions are turned onto the line fitted through the ground profile.
void TurnOntoGroundLine(TSurveyState& s)
{
    if (s.Topography.empty()) return;
    arofcomplexM asRead = s.Topography;
    StableSortBy(asRead, [](const complexM& a, const complexM& b) { return a.x < b.x; });
    const TTopoFit fit = FitTopoLine(s.Topography);
    if (s.TopoReference.x != MissingValue) {
        s.TopoReference.x = ToFittedFrame(fit, asRead, s.TopoReference.x);
        return;
    }
    for (TMeasurementRow& row : s.SurveyRows)
        for (int c : {mcP1x, mcP2x})
            if (row[c] != MissingValue) row[c] = ToFittedFrame(fit, asRead, row[c]);
}

// Least-squares line z = a x + b; false when the x values do not span a line.
bool FitLine(const arofcomplexM& p, double& a, double& b)
{
    double sx = 0, sz = 0, sxx = 0, sxz = 0;
    for (const complexM& q : p) {
        sx += q.x;
        sz += q.z;
        sxx += q.x * q.x;
        sxz += q.x * q.z;
    }
    const double n = p.Length();
    const double denominator = sxx > 0.0 ? n - sx * sx / sxx : 0.0;
    if (denominator > 0.0 && std::isfinite(denominator)) {
        b = (sz - sx * sxz / sxx) / denominator;
        a = (sxz - sx * b) / sxx;
        if (std::isfinite(a) && std::isfinite(b)) return true;
    }
    a = 0.0;
    b = n > 0 ? sz / n : 0.0;
    return false;
}

} // namespace

int ReadSurveyText(TSurveyState& s, std::string_view text, const std::string& path,
                   const std::optional<std::string>& cfgText, const TConfirm& confirm, TPolygonModel& model)
{
    s.StartResistivity = 100.0;
    s.P1yColumn = s.P2yColumn = s.P1zColumn = s.P2zColumn = -1;
    TLineCursor lines(text);
    std::string_view line;
    arofstrM tokens;
    while (lines.Next(line)) {
        tokens = SplitToStrings(line);
        if (tokens.Length() >= 3) break;
    }
    if (tokens.Length() < 3) return ReadError;
    const THeader header = FindRoles(tokens);
    if (!HasRequiredRoles(header)) return ReadError;
    s.P1yColumn = header.Column[mcP1y];
    s.P2yColumn = header.Column[mcP2y];
    s.P1zColumn = header.Column[mcP1z];
    s.P2zColumn = header.Column[mcP2z];

    s.SurveyRows.clear();
    s.UnreadableLines.clear();
    s.Topography.clear();
    std::string ending = ReadDataSection(s, lines, header);
    bool turn = false;
    if (Contains(ending, "topo")) {
        turn = Contains(ending, "~");
        ending = ReadTopoSection(s, lines, ending);
    }
    if (Contains(ending, "start_config")) ReadStartConfig(s, lines);
    if (turn) TurnOntoGroundLine(s);

    int result = s.SurveyRows.empty() ? ReadError : ReadData;
    s.CurrentFile = path;
    TPolygonModel loaded;
    switch (ReadModelBlock(text, loaded)) {
    case TModelBlockResult::None: break;
    case TModelBlockResult::Loaded:
        model = std::move(loaded);
        s.StartResistivity = model.Rho0;
        result = ReadDataWithModel;
        break;
    case TModelBlockResult::Malformed: return ReadError;
    }
    if (cfgText) {
        if (result != ReadError && confirm && confirm("Load project configuration"))
            ReadProgramConfigText(*cfgText, s.Settings);
        s.SetupDefaultsPending = false;
    }
    return result;
}

int ReadDataFile(TSurveyState& s, const std::string& path, const TConfirm& confirm, TPolygonModel& model)
{
    const std::optional<std::string> text = ReadTextFileIfAny(path);
    const std::optional<std::string> cfg = ReadTextFileIfAny(ConfigFileBeside(path));
    return ReadSurveyText(s, text ? *text : std::string(), path, cfg, confirm, model);
}

TTopoFit FitTopoLine(arofcomplexM& profile)
{
    TTopoFit fit;
    if (profile.empty()) return fit;
    fit.X0 = profile[0].x;
    for (const complexM& p : profile) fit.X0 = std::min(fit.X0, p.x);
    for (complexM& p : profile) p.x -= fit.X0;
    double a = 0.0;
    FitLine(profile, a, fit.Shift);
    for (complexM& p : profile) p.z -= fit.Shift;
    FitLine(profile, fit.Slope, fit.Intercept);
    const double t = -std::atan(fit.Slope);
    const double c = std::cos(t), sn = std::sin(t);
    for (complexM& p : profile) {
        const double x = c * p.x - sn * p.z;
        p.z = sn * p.x + c * p.z;
        p.x = x + fit.X0;
    }
    return fit;
}

double ToFittedFrame(const TTopoFit& fit, const arofcomplexM& profileAsRead, double x)
{
    const double t = -std::atan(fit.Slope);
    const double dx = x - fit.X0;
    const double dz = InterpolateProfile(profileAsRead, x) - fit.Shift;
    return std::cos(t) * dx - std::sin(t) * dz + fit.X0;
}

std::string UnreadableLinesMessage(const arofintM& lines)
{
    if (lines.empty()) return {};
    const int n = lines.Length();
    std::string text = std::to_string(n) + (n == 1 ? " line" : " lines") + " could not be read: ";
    for (int i = 0; i < std::min(n, UnreadableLinesShown); ++i) text += (i > 0 ? ", " : "") + std::to_string(lines[i]);
    if (n > UnreadableLinesShown) text += ", ...";
    return text;
}

std::optional<std::string> ReadTextFileIfAny(const std::string& path)
{
    std::string text;
    if (!LoadFileBytes(path, text)) return std::nullopt;
    return text;
}
