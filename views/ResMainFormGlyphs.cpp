// The main window's pictures as character maps (one character a pixel) and, for the polygon tools, a
// common outline with a mark of the tool drawn on the canvas.
#include "views/ResMainFormGlyphs.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <cstring>
#include <vector>

namespace {

// The key colour: olive never appears inside a glyph.
constexpr TColor KeyColour = clOlive;

TColor ColourOf(char c)
{
    switch (c) {
    case 'k': return clBlack;
    case 'w': return clWhite;
    case 'r': return clRed;
    case 'm': return clMaroon;
    case 'g': return clGreen;
    case 'l': return clLime;
    case 'b': return clBlue;
    case 'n': return clNavy;
    case 'y': return clYellow;
    case 'G': return clGray;
    case 's': return clSilver;
    case 'p': return clPurple;
    case 't': return clTeal;
    default: return KeyColour;
    }
}

using TArt = std::vector<const char*>;

// clang-format off
const TArt OpenArt = {
    "................",
    "................",
    "..kkkkk.........",
    ".kyyyyyk........",
    ".kyyyyyykkkkkkk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyykkkkkkkkkkk",
    ".kyykyyyyyyyyyk.",
    ".kyykyyyyyyyyyk.",
    ".kykyyyyyyyyyk..",
    ".kykyyyyyyyyyk..",
    ".kkyyyyyyyyyk...",
    ".kkyyyyyyyyyk...",
    ".kkkkkkkkkkkk...",
    "................",
    "................",
};
const TArt SaveArt = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".knnwwwwwwwwnnk.",
    ".knnwwwwwwwwnnk.",
    ".knnwGGGGGGwnnk.",
    ".knnwwwwwwwwnnk.",
    ".knnwGGGGGGwnnk.",
    ".knnnnnnnnnnnnk.",
    ".knnnnnnnnnnnnk.",
    ".knnsssssssssnk.",
    ".knnssnnssssnnk.",
    ".knnssnnssssnnk.",
    ".knnssnnssssnnk.",
    "..kkkkkkkkkkkkk.",
    "................",
    "................",
};
const TArt SetupArt = {
    "................",
    "................",
    "....kk..........",
    "kkkkkkkkkkkkkkkk",
    "....kk..........",
    "................",
    "..........kk....",
    "kkkkkkkkkkkkkkkk",
    "..........kk....",
    "................",
    "......kk........",
    "kkkkkkkkkkkkkkkk",
    "......kk........",
    "................",
    "................",
    "................",
};
const TArt ElectrodesArt = {
    "................",
    "kkkkkkkkkkkkkkk.",
    "knnnnknnnnknnnk.",
    "kkkkkkkkkkkkkkk.",
    "kwwwwkwwwwkwwwk.",
    "kkkkkkkkkkkkkkk.",
    "kwwwwkwwwwkwwwk.",
    "kkkkkkkkkkkkkkk.",
    "kwwwwkwwwwkwwwk.",
    "kkkkkkkkkkkkkkk.",
    "kwwwwkwwwwkwwwk.",
    "kkkkkkkkkkkkkkk.",
    "................",
    "..r...r...r...r.",
    "..r...r...r...r.",
    "................",
};
const TArt ForwardArt = {
    "................",
    "...kk...........",
    "...kgk..........",
    "...kggk.........",
    "...kgggk........",
    "...kggggk.......",
    "...kgggggk......",
    "...kggggggk.....",
    "...kggggggk.....",
    "...kgggggk......",
    "...kggggk.......",
    "...kgggk........",
    "...kggk.........",
    "...kgk..........",
    "...kk...........",
    "................",
};
const TArt InversionArt = {
    "................",
    ".....rrrrrr.....",
    "...rr......rr...",
    "..r..........r..",
    ".r............r.",
    ".r..........rrrrr",
    ".r...........rrr.",
    "..............r.",
    ".b..............",
    ".bbb............",
    "bbbbb..........b",
    ".b............b.",
    "..b..........b..",
    "...bb......bb...",
    ".....bbbbbb.....",
    "................",
};
const TArt UndoArt = {
    "................",
    "................",
    "....k...........",
    "...kk...........",
    "..kbkkkkkkkk....",
    ".kbbbbbbbbbbkk..",
    "..kbkkkkkkkbbk..",
    "...kk......kbbk.",
    "....k.......kbk.",
    "............kbk.",
    "............kbk.",
    "...........kbbk.",
    "......kkkkkbbk..",
    "......kbbbbbk...",
    "......kkkkkk....",
    "................",
};
const TArt StatusProgramArt = {
    "................",
    "................",
    ".gg.......gg....",
    "..g.......g.....",
    "..gg.....gg.....",
    "...g.....g..bbb.",
    "...gg...gg.b...b",
    "....g...g..b....",
    "....gg.gg...bbb.",
    ".....g.g.......b",
    ".....ggg...b...b",
    "......g.....bbb.",
    "................",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
};
const TArt StatusModeArt = {
    "................",
    "..........kk....",
    ".........kyyk...",
    "........kyyyk...",
    ".......kyyyk....",
    "......kyyyk.....",
    ".....kyyyk......",
    "....kyyyk.......",
    "...kmyyk........",
    "...kmmk.........",
    "..kkkk..........",
    "..kk............",
    "................",
    "................",
    "................",
    "................",
};
// clang-format on

std::unique_ptr<TBitmap> FromArt(const TArt& art)
{
    const int h = static_cast<int>(art.size());
    const int w = static_cast<int>(std::strlen(art[0]));
    auto bmp = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w && art[y][x]; ++x) bmp->SetPixelRGB(x, y, ColourOf(art[y][x]));
    return bmp;
}

} // namespace

std::unique_ptr<TBitmap> MakeMainGlyph(TMainGlyph glyph)
{
    switch (glyph) {
    case TMainGlyph::Open: return FromArt(OpenArt);
    case TMainGlyph::Save: return FromArt(SaveArt);
    case TMainGlyph::Setup: return FromArt(SetupArt);
    case TMainGlyph::Electrodes: return FromArt(ElectrodesArt);
    case TMainGlyph::Forward: return FromArt(ForwardArt);
    case TMainGlyph::Inversion: return FromArt(InversionArt);
    case TMainGlyph::Undo: return FromArt(UndoArt);
    case TMainGlyph::StatusProgram: return FromArt(StatusProgramArt);
    case TMainGlyph::StatusMode: return FromArt(StatusModeArt);
    }
    return FromArt(OpenArt);
}

// A grey polygon with its nodes, and the tool's mark over it: a red sign, a moved or picked node, a
// dividing line.
std::unique_ptr<TBitmap> MakePolygonToolGlyph(int mode)
{
    auto bmp = std::make_unique<TBitmap>(24, 24);
    TCanvas& c = bmp->Canvas();
    c.Brush().SetColor(KeyColour);
    c.FillRect({0, 0, 24, 24});
    const std::vector<TPoint> outline = {{3, 8}, {12, 3}, {20, 8}, {18, 19}, {6, 19}};
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(mode == 8 || mode == 9 ? clSilver : clTeal);
    c.Polygon(outline);
    c.Brush().SetColor(clBlue);
    for (const TPoint& p : outline) c.FillRect({p.x - 1, p.y - 1, p.x + 2, p.y + 2});
    c.Pen().SetColor(clRed);
    c.Brush().SetColor(clRed);
    auto plus = [&](int x, int y) {
        c.FillRect({x - 4, y - 1, x + 5, y + 1});
        c.FillRect({x - 1, y - 4, x + 1, y + 5});
    };
    auto minus = [&](int x, int y) { c.FillRect({x - 4, y - 1, x + 5, y + 1}); };
    switch (mode) {
    case 0: plus(18, 18); break;                                         // add polygon
    case 1: c.Rectangle(8, 9, 15, 15); plus(19, 19); break;              // add sub-polygon
    case 2: c.MoveTo(4, 14); c.LineTo(21, 10); break;                    // divide
    case 3: c.FillRect({10, 1, 15, 6}); c.FillRect({14, 5, 19, 10}); break; // uncouple nodes
    case 4: minus(12, 3); break;                                         // delete node
    case 5: c.FillRect({17, 17, 23, 23}); c.MoveTo(18, 19); c.LineTo(22, 23); break; // move node
    case 6: c.MoveTo(3, 8); c.LineTo(12, 3); break;                      // couple nodes
    case 7: plus(16, 6); break;                                          // add node
    case 8: minus(12, 12); break;                                        // delete sub-polygon
    case 9: c.Rectangle(8, 9, 15, 15); minus(19, 20); break;             // uncouple sub-polygon
    case 10: c.MoveTo(12, 12); c.LineTo(22, 12); c.MoveTo(12, 12); c.LineTo(12, 22); break; // move polygon
    case 11: c.Rectangle(8, 9, 15, 15); c.MoveTo(15, 15); c.LineTo(22, 22); break;          // move sub-polygon
    case 12: c.Brush().SetColor(clBlack); c.FillRect({10, 1, 15, 6}); break;                 // fix node
    default: break;
    }
    bmp->SetPixelRGB(0, 23, KeyColour);
    return bmp;
}
