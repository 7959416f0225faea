// Small GIF files made by tests: a logical screen with a two-colour table (black, red) and frames striped
// by columns (red, black, red, ... from the frame's left edge, so that a row read at the wrong width
// shows), each after a graphic control extension, placed anywhere on or off the screen.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace giftest {

inline void Put16(std::vector<std::uint8_t>& b, int v)
{
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// Image data of a frame's pixels (at most 4096; the reader leaves the rest of a frame blank): 3-bit codes
// with a clear code before every two pixels, so the code size never grows.
inline void PutStripes(std::vector<std::uint8_t>& b, int width, int height)
{
    std::vector<int> codes;
    const long long count = std::min(1LL * width * height, 4096LL);
    for (long long i = 0; i < count; ++i) {
        if (i % 2 == 0) codes.push_back(4);
        codes.push_back((i % width) % 2 == 0 ? 1 : 0);
    }
    codes.push_back(5);
    std::vector<std::uint8_t> packed;
    unsigned bits = 0, held = 0;
    for (int c : codes) {
        bits |= static_cast<unsigned>(c) << held;
        held += 3;
        for (; held >= 8; held -= 8, bits >>= 8) packed.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    }
    if (held) packed.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    b.push_back(2);
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
        b.push_back(static_cast<std::uint8_t>(n));
        b.insert(b.end(), packed.begin() + static_cast<std::ptrdiff_t>(at), packed.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    b.push_back(0);
}

// Frames are given as rectangles on the screen (Bounds(left, top, width, height)).
inline std::vector<std::uint8_t> MakeGif(int screenWidth, int screenHeight, const std::vector<TRect>& frames)
{
    std::vector<std::uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, screenWidth);
    Put16(b, screenHeight);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0, 0});
    for (const TRect& f : frames) {
        b.insert(b.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C});
        Put16(b, f.Left);
        Put16(b, f.Top);
        Put16(b, f.Width());
        Put16(b, f.Height());
        b.push_back(0);
        PutStripes(b, f.Width(), f.Height());
    }
    b.push_back(0x3B);
    return b;
}

// Whether the pixel at column x of a frame's stripes has its colour (red where x is even, else black).
inline bool StripeAt(std::uint32_t pixel, int x) { return (pixel & 0xFFFFFFu) == (x % 2 == 0 ? 0x0000FFu : 0u); }

} // namespace giftest
