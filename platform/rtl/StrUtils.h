// Letter-case and blank helpers of the run time for 8-bit text: only the ASCII letters change case
// (names, keys and identifiers compare so, whatever the user's locale).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

inline char UpCaseChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LoCaseChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string UpperCase(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), UpCaseChar);
    return r;
}
inline std::string LowerCase(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), LoCaseChar);
    return r;
}

// <0, 0, >0 comparing bytes as unsigned after upper-casing ASCII letters.
inline int CompareText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(UpCaseChar(a[i]));
        const auto cb = static_cast<unsigned char>(UpCaseChar(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
inline bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}
// <0, 0, >0 comparing bytes as unsigned.
inline int CompareStr(std::string_view a, std::string_view b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Without leading and trailing characters up to and including the blank (control characters too).
inline std::string_view TrimView(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }
