// The ".cfg" program configuration file and the one validity check of its settings.
#include "core/ProgramConfig.h"

#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextFile.h"

#include <cmath>
#include <vector>

namespace {

enum class TValueKind { Integer, Boolean, Real };

struct TFieldInfo {
    TConfigField field;
    TValueKind kind;
    double low, high; // inclusive range, checked when low < high
};

// The twelve values in file order, with their kinds and ranges.
constexpr TFieldInfo FieldTable[] = {
    {TConfigField::SolverOption1, TValueKind::Integer, 0, 0},
    {TConfigField::SolverOption2, TValueKind::Boolean, 0, 0},
    {TConfigField::SolverOption3, TValueKind::Integer, 0, 0},
    {TConfigField::FactorX, TValueKind::Real, 0.001, 5},
    {TConfigField::FactorZ, TValueKind::Real, 0.001, 5},
    {TConfigField::StartX, TValueKind::Real, 0.001, 10},
    {TConfigField::StartZ, TValueKind::Real, 0.001, 10},
    {TConfigField::Exponent, TValueKind::Boolean, 0, 0},
    {TConfigField::infperc, TValueKind::Integer, 0, 0},
    {TConfigField::redperc, TValueKind::Integer, 0, 0},
    {TConfigField::numqp, TValueKind::Integer, 2, 8},
    {TConfigField::recetha, TValueKind::Boolean, 0, 0},
};

const TFieldInfo& InfoOf(TConfigField field) { return FieldTable[static_cast<int>(field)]; }

// Reads and writes one field of the struct as a double.
double GetField(const TProgramConfig& c, TConfigField f)
{
    switch (f) {
    case TConfigField::SolverOption1: return c.SolverOption1;
    case TConfigField::SolverOption2: return c.SolverOption2;
    case TConfigField::SolverOption3: return c.SolverOption3;
    case TConfigField::FactorX: return c.FactorX;
    case TConfigField::FactorZ: return c.FactorZ;
    case TConfigField::StartX: return c.StartX;
    case TConfigField::StartZ: return c.StartZ;
    case TConfigField::Exponent: return c.Exponent;
    case TConfigField::infperc: return c.infperc;
    case TConfigField::redperc: return c.redperc;
    case TConfigField::numqp: return c.numqp;
    case TConfigField::recetha: return c.recetha;
    }
    return 0;
}

void SetField(TProgramConfig& c, TConfigField f, double v)
{
    const auto i = static_cast<std::int32_t>(v);
    switch (f) {
    case TConfigField::SolverOption1: c.SolverOption1 = i; break;
    case TConfigField::SolverOption2: c.SolverOption2 = v != 0; break;
    case TConfigField::SolverOption3: c.SolverOption3 = i; break;
    case TConfigField::FactorX: c.FactorX = v; break;
    case TConfigField::FactorZ: c.FactorZ = v; break;
    case TConfigField::StartX: c.StartX = v; break;
    case TConfigField::StartZ: c.StartZ = v; break;
    case TConfigField::Exponent: c.Exponent = v != 0; break;
    case TConfigField::infperc: c.infperc = i; break;
    case TConfigField::redperc: c.redperc = i; break;
    case TConfigField::numqp: c.numqp = i; break;
    case TConfigField::recetha: c.recetha = v != 0; break;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// An integer token: optional sign and decimal digits, nothing else.
bool ParseIntegerToken(std::string_view token, double& value)
{
    std::size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
    if (i == token.size()) return false;
    for (std::size_t k = i; k < token.size(); ++k)
        if (token[k] < '0' || token[k] > '9') return false;
    return TryParseNumber(token, value);
}

bool ParseRealToken(std::string_view token, double& value)
{
    std::string copy(token);
    if (auto comma = copy.find(','); comma != std::string::npos) copy[comma] = '.';
    return TryParseNumber(copy, value);
}

// Walks the lines the way the settings are read: numbers skip blanks and empty lines and consume the rest
// of their line, Booleans consume one whole line.
class TConfigCursor {
public:
    explicit TConfigCursor(std::vector<std::string> lines) : FLines(std::move(lines)) {}

    void SkipLine() { ++FLine; }

    // The next number token, or false at the end of the text.
    bool NextToken(std::string_view& token)
    {
        for (; FLine < FLines.size(); ++FLine) {
            std::string_view line = FLines[FLine];
            std::size_t start = 0;
            while (start < line.size() && IsBlank(line[start])) ++start;
            if (start == line.size()) continue;
            std::size_t end = start;
            while (end < line.size() && !IsBlank(line[end])) ++end;
            token = line.substr(start, end - start);
            ++FLine;
            return true;
        }
        return false;
    }

    bool NextLine(std::string_view& line)
    {
        if (FLine >= FLines.size()) return false;
        line = FLines[FLine++];
        return true;
    }

private:
    std::vector<std::string> FLines;
    std::size_t FLine = 0;
};

// Reads the value of one field; false when the text ended or the token is not of the field's kind.
bool ReadValue(TConfigCursor& cursor, TValueKind kind, double& value)
{
    if (kind == TValueKind::Boolean) {
        std::string_view line;
        if (!cursor.NextLine(line)) return false;
        value = ReadConfigBool(line) ? 1 : 0;
        return true;
    }
    std::string_view token;
    if (!cursor.NextToken(token)) return false;
    return kind == TValueKind::Integer ? ParseIntegerToken(token, value) : ParseRealToken(token, value);
}

std::string ValueText(const TProgramConfig& config, const TFieldInfo& info)
{
    const double v = GetField(config, info.field);
    switch (info.kind) {
    case TValueKind::Integer: return std::to_string(static_cast<std::int32_t>(v));
    case TValueKind::Boolean: return v != 0 ? "TRUE" : "FALSE";
    case TValueKind::Real: return FormatReal23(v);
    }
    return {};
}

} // namespace

bool ConfigValueValid(TConfigField field, double value)
{
    const TFieldInfo& info = InfoOf(field);
    if (!std::isfinite(value)) return false;
    switch (info.kind) {
    case TValueKind::Boolean: return value == 0 || value == 1;
    case TValueKind::Integer:
        if (value != std::trunc(value) || value < -2147483648.0 || value > 2147483647.0) return false;
        break;
    case TValueKind::Real: break;
    }
    return !(info.low < info.high) || (value >= info.low && value <= info.high);
}

void ApplySetupDefaults(TProgramConfig& config)
{
    const std::int32_t redperc = config.redperc;
    config = TProgramConfig{};
    config.FactorX = 0.1;
    config.FactorZ = 0.1;
    config.SolverOption1 = 3;
    config.SolverOption2 = false;
    config.SolverOption3 = 8;
    config.redperc = redperc;
}

bool ReadConfigBool(std::string_view line)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string lower(line);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower == "true";
}

std::string ProgramConfigText(const TProgramConfig& config)
{
    std::string text(ProgramConfigMarker);
    text += '\n';
    for (const TFieldInfo& info : FieldTable) text += ValueText(config, info) + '\n';
    return text;
}

bool ReadProgramConfigText(std::string_view text, TProgramConfig& config)
{
    TConfigCursor cursor(SplitTextLines(text));
    std::string_view first;
    if (!cursor.NextLine(first) || first.find(ProgramConfigMarker) == std::string_view::npos) return false;
    for (const TFieldInfo& info : FieldTable) {
        double value = 0;
        if (ReadValue(cursor, info.kind, value) && ConfigValueValid(info.field, value))
            SetField(config, info.field, value);
    }
    return true;
}

bool WriteProgramConfig(const std::string& path, const TProgramConfig& config)
{
    return SaveFileSafely(path, ProgramConfigText(config));
}

bool ReadProgramConfig(const std::string& path, TProgramConfig& config)
{
    std::string text;
    return LoadFileBytes(path, text) && ReadProgramConfigText(text, config);
}
