// Reading and writing the polygon-model block and the property line of a sub-polygon.
#include "core/PolyModelBlock.h"

#include "core/Supermath2d.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextFile.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr char BrokenBar = '\xA6';

// ---- Property line -----------------------------------------------------------------------------------

std::string EscapeText(const std::string& text)
{
    if (text.empty()) return "*";
    std::string escaped = text;
    for (char& c : escaped)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = BrokenBar;
    return escaped;
}

std::string UnescapeText(std::string_view token)
{
    std::string text(token);
    for (char& c : text)
        if (c == BrokenBar) c = ' ';
    return text;
}

// The field a slot writes, without its blank; nothing at all (no field) for a one-byte integer.
std::optional<std::string> SlotText(const Variant& slot)
{
    switch (slot.GetKind()) {
    case Variant::Kind::Empty: return "*";
    case Variant::Kind::Integer: return slot.AsString();
    case Variant::Kind::Real: return FormatValue(slot.AsDouble(), 2, true);
    case Variant::Kind::Text: return EscapeText(slot.AsString());
    case Variant::Kind::Byte: return std::nullopt;
    }
    return "*";
}

// A 32-bit integer in decimal text: an optional sign and digits only.
bool ParseInt32(std::string_view token, std::int32_t& value)
{
    const std::size_t start = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
    if (start == token.size() || token.size() > 12) return false;
    std::int64_t v = 0;
    for (std::size_t i = start; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') return false;
        v = v * 10 + (token[i] - '0');
    }
    if (token[0] == '-') v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

enum class TSlotRead { Integer, Real, Text };

// Which tokens of a property line are read, and as what.
struct TSlotRule {
    int slot;
    TSlotRead kind;
};
constexpr TSlotRule SlotRules[] = {
    {0, TSlotRead::Integer}, {1, TSlotRead::Text},  {2, TSlotRead::Text},  {3, TSlotRead::Text},
    {4, TSlotRead::Integer}, {7, TSlotRead::Text},  {8, TSlotRead::Integer}, {10, TSlotRead::Real},
    {11, TSlotRead::Real},   {12, TSlotRead::Real}, {13, TSlotRead::Real}, {14, TSlotRead::Real},
};

// ---- Block writing -----------------------------------------------------------------------------------

void AppendLine(std::string& text, const std::string& line)
{
    text += line;
    text += '\n';
}

std::string NodeLine(const TNode& n)
{
    return FormatReal23(n.x) + " " + FormatReal23(n.z) + " " + std::to_string(n.FixedFlag) + " "
           + std::to_string(n.NodeClass) + " " + std::to_string(n.FrameCode);
}

std::string RingLine(const arofintM& ring)
{
    std::string line;
    for (std::int32_t index : ring) line += std::to_string(index) + " ";
    return line;
}

void AppendHeader(std::string& text, const TPolygonModel& m)
{
    AppendLine(text, std::string(ModelBlockBegin));
    AppendLine(text, FormatReal23(m.Rho0) + " " + FormatReal23(m.SecondModelValue));
    const TModelBox& b = m.ModelBox;
    AppendLine(text, FormatReal23(b.XMin) + " " + FormatReal23(b.XMax) + " " + FormatReal23(b.ZMin) + " "
                         + FormatReal23(b.ZMax));
    AppendLine(text, std::string(m.HasRelief ? "1" : "0") + " " + std::to_string(m.Relief.Length()));
    std::string relief;
    for (const complexM& p : m.Relief) relief += FormatReal23(p.x) + " " + FormatReal23(p.z) + " ";
    AppendLine(text, relief);
}

void AppendNodesAndBodies(std::string& text, const TPolygonModel& m)
{
    AppendLine(text, std::to_string(m.Nodes.Length()));
    for (const TNode& n : m.Nodes) AppendLine(text, NodeLine(n));
    AppendLine(text, std::to_string(m.Bodies.Length()));
    for (const SPolygon& body : m.Bodies) {
        AppendLine(text, std::to_string(body.Length()));
        for (const Polygon& p : body) {
            AppendLine(text, PropertiesToText(p.properties));
            AppendLine(text, RingLine(p.ring));
        }
    }
}

// ---- Block reading -----------------------------------------------------------------------------------

// Reads the block line by line; every step reports false for a malformed block.
class TBlockReader {
public:
    TBlockReader(const std::vector<std::string>& lines, std::size_t first) : FLines(lines), FNext(first) {}

    bool Read(TPolygonModel& m)
    {
        if (!(ReadHeader(m) && ReadNodes(m) && ReadBodies(m))) return false;
        // A block that breaks what the model operations rely on would fail at a later edit, or corrupt the
        // model there; it is refused here instead. Stored classes may be stale (and a stale class lets a
        // new polygon overlap a body), so they are worked out again.
        if (!ModelStructureFault(m.Bodies, m.Nodes.Length()).empty()) return false;
        for (int b = 0; b < m.Bodies.Length(); ++b) ClassifyBodyNodes(b, m.Bodies, m.Nodes);
        return true;
    }

private:
    std::string_view NextLine() { return FNext < FLines.size() ? FLines[FNext++] : std::string_view(); }
    std::int64_t LinesLeft() const { return static_cast<std::int64_t>(FLines.size() - FNext); }

    // The reals of the next line, at least `needed` of them.
    bool Reals(std::size_t needed, arofdoubleM& values)
    {
        values = SplitToDoubles(NextLine());
        return values.size() >= needed;
    }
    // The first integer of the next line: a count of items that take `perItem` lines each, which the lines
    // left must hold (checked before anything is allocated).
    bool Count(std::int64_t perItem, std::int32_t& count)
    {
        const arofintM values = SplitToInts(NextLine());
        if (values.empty()) return false;
        count = values[0];
        return count >= 0 && count * perItem <= LinesLeft();
    }

    bool ReadHeader(TPolygonModel& m)
    {
        arofdoubleM v;
        if (!Reals(2, v)) return false;
        m.Rho0 = v[0];
        m.SecondModelValue = v[1];
        if (!Reals(4, v)) return false;
        m.ModelBox = TModelBox{v[0], v[1], v[2], v[3]};
        const arofintM flags = SplitToInts(NextLine());
        if (flags.size() < 2 || flags[1] < 0) return false;
        m.HasRelief = flags[0] != 0;
        const std::int32_t points = flags[1];
        if (!Reals(2 * static_cast<std::size_t>(points), v)) return false;
        m.Relief.SetLength(points);
        for (int g = 0; g < points; ++g) m.Relief[g] = complexM{v[2 * g], v[2 * g + 1]};
        for (double x : v)
            if (!std::isfinite(x)) return false;
        return true;
    }

    bool ReadNodes(TPolygonModel& m)
    {
        std::int32_t count = 0;
        if (!Count(1, count)) return false;
        m.Nodes.SetLength(count);
        for (TNode& n : m.Nodes) {
            arofdoubleM v;
            if (!Reals(5, v) || !std::isfinite(v[0]) || !std::isfinite(v[1])) return false;
            const double fixed = std::nearbyint(v[2]), cls = std::nearbyint(v[3]), frame = std::nearbyint(v[4]);
            if (!(fixed >= 0 && fixed <= 1 && cls >= 0 && cls <= 2 && frame >= 0 && frame <= 6)) return false;
            n.x = v[0];
            n.z = v[1];
            n.FixedFlag = static_cast<std::uint8_t>(fixed);
            n.NodeClass = static_cast<std::int32_t>(cls);
            n.FrameCode = static_cast<std::int32_t>(frame);
        }
        return true;
    }

    bool ReadBodies(TPolygonModel& m)
    {
        std::int32_t bodies = 0;
        if (!Count(1, bodies) || bodies == 0) return false;
        m.Bodies.SetLength(bodies);
        for (int b = 0; b < bodies; ++b) {
            std::int32_t subs = 0;
            if (!Count(2, subs) || subs == 0) return false;
            m.Bodies[b].SetLength(subs);
            for (int s = 0; s < subs; ++s)
                if (!ReadPolygon(m.Bodies[b][s], m.Nodes.Length())) return false;
        }
        return true;
    }

    bool ReadPolygon(Polygon& p, int nodeCount)
    {
        if (!TextToProperties(p.properties, NextLine())) return false;
        p.ring = SplitToInts(NextLine());
        if (p.ring.Length() < 3) return false;
        for (std::int32_t index : p.ring)
            if (index < 0 || index >= nodeCount) return false;
        return true;
    }

    const std::vector<std::string>& FLines;
    std::size_t FNext;
};

} // namespace

std::string PropertiesToText(const PolygonProperties& row)
{
    std::string line;
    for (int i = 0; i < PolygonPropertyCount; ++i)
        if (const std::optional<std::string> field = SlotText(row[i])) line += *field + " ";
    return line;
}

bool TextToProperties(PolygonProperties& row, std::string_view line)
{
    arofstrM all = SplitToStrings(line);
    std::vector<std::string> tokens;
    for (const std::string& t : all)
        if (!t.empty()) tokens.push_back(t);
    PolygonProperties read = row;
    for (const TSlotRule& rule : SlotRules) {
        if (rule.slot >= static_cast<int>(tokens.size())) break;
        const std::string& token = tokens[rule.slot];
        if (token == "*") continue;
        switch (rule.kind) {
        case TSlotRead::Integer: {
            std::int32_t v = 0;
            if (!ParseInt32(token, v)) return false;
            read[rule.slot] = Variant(v);
            break;
        }
        case TSlotRead::Real: read[rule.slot] = Variant(StrToValue(token)); break;
        case TSlotRead::Text: read[rule.slot] = Variant(UnescapeText(token)); break;
        }
    }
    row = read;
    return true;
}

std::string ModelBlockText(const TPolygonModel& model)
{
    std::string text;
    AppendHeader(text, model);
    AppendNodesAndBodies(text, model);
    AppendLine(text, std::string(ModelBlockEnd));
    return text;
}

std::string AppendModelBlock(std::string_view existing, int linesToKeep, const TPolygonModel& model)
{
    const std::vector<std::string> lines = SplitTextLines(existing);
    std::size_t keep = 0;
    if (linesToKeep == -1) keep = lines.size();
    else if (linesToKeep > 0) keep = static_cast<std::size_t>(linesToKeep);
    std::string text;
    for (std::size_t i = 0; i < keep; ++i) AppendLine(text, i < lines.size() ? std::string(lines[i]) : std::string());
    return text + ModelBlockText(model);
}

TModelBlockResult ReadModelBlock(std::string_view fileText, TPolygonModel& model)
{
    // The marker holds no line break, so its first place in the text lies on the first line naming it;
    // only the lines from there on are split (a long survey before the block is not copied again).
    const std::size_t marker = fileText.find(ModelBlockBegin);
    if (marker == std::string_view::npos) return TModelBlockResult::None;
    const std::size_t lineBreak = fileText.rfind('\n', marker);
    const std::vector<std::string> lines =
        SplitTextLines(fileText.substr(lineBreak == std::string_view::npos ? 0 : lineBreak + 1));
    if (lines.size() < 2) return TModelBlockResult::None;
    TPolygonModel read;
    if (!TBlockReader(lines, 1).Read(read)) return TModelBlockResult::Malformed;
    model = std::move(read);
    return TModelBlockResult::Loaded;
}
