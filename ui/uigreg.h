// The graphic formats the UI kit knows by class name: lower-cased extension, description and graphic class.
#pragma once

#include <string>
#include <vector>

struct TuiFileFormat {
    std::string Extension;
    std::string Description;
    std::string GraphicClass;
};

class TuiFileFormatsList {
public:
    TuiFileFormatsList();
    void Add(const std::string& extension, const std::string& description, const std::string& graphicClass);
    // The entry of a graphic class (the last one added first); nullptr when none.
    const TuiFileFormat* FindClassName(const std::string& graphicClass) const;
    const std::vector<TuiFileFormat>& Formats() const { return FFormats; }

private:
    std::vector<TuiFileFormat> FFormats;
};

// The one list of the process, made on first use with "wmf", "emf", "ico" and "bmp".
TuiFileFormatsList& uiFileFormatsList();
