// Conversions between the program's 8-bit Windows-1252 text and 16-bit Unicode text, for the places
// where text meets a font or a widget. Header only and Qt-free.
#pragma once

#include <cstdint>
#include <string>

// The one table of the code page: the Unicode of the bytes 0x80..0x9F (the other bytes are their own code
// point). The five bytes the code page leaves undefined map to the control character of the same value,
// as the platform's converter does, so that a round trip keeps every byte.
inline constexpr char16_t AnsiHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// One byte of Windows-1252 as Unicode.
inline char16_t AnsiCharToWide(unsigned char c)
{
    return c >= 0x80 && c < 0xA0 ? AnsiHighTable[c - 0x80] : static_cast<char16_t>(c);
}

inline std::u16string AnsiToWide(const std::string& s)
{
    std::u16string out;
    out.reserve(s.size());
    for (unsigned char c : s) out.push_back(AnsiCharToWide(c));
    return out;
}

// One Unicode character as Windows-1252; '?' for a character the code page lacks.
inline char WideCharToAnsi(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (AnsiHighTable[i] == u) return static_cast<char>(0x80 + i);
    return '?';
}

// 16-bit text as Windows-1252; characters the code page lacks become '?'.
inline std::string WideToAnsi(const std::u16string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char16_t u : s) out.push_back(WideCharToAnsi(u));
    return out;
}
