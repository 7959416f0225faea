// A small reader of enhanced-metafile bytes for the tests, written apart from the program's writer: the
// records walked by their sizes (faults noted, not thrown), their bounds, the points of polygons and
// polylines (32- or 16-bit), the text of text records, and little-endian numbers at an offset.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
           static_cast<std::uint32_t>(b.at(at + 2)) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
inline std::int32_t I32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::int32_t>(U32(b, at));
}
inline std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

struct Box {
    int l, t, r, b;
    bool operator==(const Box&) const = default;
};

struct EmfRecord {
    std::uint32_t Type;
    std::size_t Offset; // of the record in the file
    std::uint32_t Size;
};

// Record numbers as the format defines them.
enum : std::uint32_t {
    kHeader = 1, kPolygon = 3, kPolyline = 4, kPolyPolygon = 8, kEof = 14, kSetRop2 = 20, kSelectObject = 37,
    kCreatePen = 38, kCreateBrush = 39, kDeleteObject = 40, kRectangle = 43, kClip = 75, kStretchDib = 81,
    kFont = 82, kTextW = 84, kPolygon16 = 86, kPolyline16 = 87, kExtCreatePen = 95
};
inline constexpr std::uint32_t EmfSignature = 0x464D4520; // " EMF"

struct Emf {
    std::vector<std::uint8_t> Bytes;
    std::vector<EmfRecord> Records;
    std::vector<std::string> Faults;

    explicit Emf(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) { Walk(); }

    static Emf FromFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Emf({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    }

    void Walk()
    {
        std::size_t at = 0;
        while (at < Bytes.size()) {
            if (at + 8 > Bytes.size()) {
                Faults.push_back("truncated record header");
                return;
            }
            const EmfRecord r{U32(Bytes, at), at, U32(Bytes, at + 4)};
            if (r.Size < 8 || r.Size % 4 != 0 || at + r.Size > Bytes.size()) {
                Faults.push_back("bad size of record " + std::to_string(r.Type));
                return;
            }
            Records.push_back(r);
            at += r.Size;
            if (r.Type == kEof) break;
        }
        if (at != Bytes.size()) Faults.push_back("bytes after the end record");
    }

    std::vector<EmfRecord> OfType(std::uint32_t type) const
    {
        std::vector<EmfRecord> out;
        for (const EmfRecord& r : Records)
            if (r.Type == type) out.push_back(r);
        return out;
    }
    // Four 32-bit numbers at an offset (a rectangle of the header or a record).
    Box BoxAt(std::size_t at) const { return {I32(Bytes, at), I32(Bytes, at + 4), I32(Bytes, at + 8), I32(Bytes, at + 12)}; }
    Box BoundsOf(const EmfRecord& r) const { return BoxAt(r.Offset + 8); }
    // Points of a polygon or polyline record, 32- or 16-bit.
    std::vector<std::pair<int, int>> Points(const EmfRecord& r) const
    {
        std::vector<std::pair<int, int>> pts;
        const std::uint32_t n = U32(Bytes, r.Offset + 24);
        const bool small = r.Type == kPolygon16 || r.Type == kPolyline16;
        for (std::uint32_t i = 0; i < n; ++i) {
            if (small)
                pts.emplace_back(static_cast<std::int16_t>(U16(Bytes, r.Offset + 28 + 4 * i)),
                                 static_cast<std::int16_t>(U16(Bytes, r.Offset + 30 + 4 * i)));
            else
                pts.emplace_back(I32(Bytes, r.Offset + 28 + 8 * i), I32(Bytes, r.Offset + 32 + 8 * i));
        }
        return pts;
    }
    // The UTF-16 text of a text record, and the same narrowed (for ASCII texts).
    std::u16string TextOf(const EmfRecord& r) const
    {
        const std::uint32_t n = U32(Bytes, r.Offset + 44);
        const std::uint32_t off = U32(Bytes, r.Offset + 48);
        std::u16string s;
        for (std::uint32_t i = 0; i < n; ++i) s.push_back(U16(Bytes, r.Offset + off + 2 * i));
        return s;
    }
    std::string Text(const EmfRecord& r) const
    {
        std::string s;
        for (char16_t c : TextOf(r)) s += static_cast<char>(c);
        return s;
    }
    std::vector<int> AdvancesOf(const EmfRecord& r) const
    {
        const std::uint32_t n = U32(Bytes, r.Offset + 44);
        const std::uint32_t off = U32(Bytes, r.Offset + 72);
        std::vector<int> dx;
        for (std::uint32_t i = 0; i < n; ++i) dx.push_back(I32(Bytes, r.Offset + off + 4 * i));
        return dx;
    }
};
