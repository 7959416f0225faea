// Helpers of the style-string tests: a string's "~" fields as a list and back, and a file's bytes.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Every field between the separators, empty ones included.
inline std::vector<std::string> FieldsOf(const std::string& Text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = Text.find('~', start);
        out.push_back(Text.substr(start, end - start));
        if (end == std::string::npos) return out;
        start = end + 1;
    }
}

inline std::string JoinFields(const std::vector<std::string>& Fields)
{
    std::string text;
    for (std::size_t i = 0; i < Fields.size(); ++i) text += (i ? "~" : "") + Fields[i];
    return text;
}

inline std::string FileText(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
