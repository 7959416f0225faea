// The graphic formats list.
#include "ui/uigreg.h"

#include "platform/rtl/StrUtils.h"

TuiFileFormatsList::TuiFileFormatsList()
{
    Add("wmf", "Metafiles", "TMetafile");
    Add("emf", "Enhanced Metafiles", "TMetafile");
    Add("ico", "Icons", "TIcon");
    Add("bmp", "Bitmaps", "TBitmap");
}

void TuiFileFormatsList::Add(const std::string& extension, const std::string& description, const std::string& graphicClass)
{
    FFormats.push_back({LowerCase(extension), description, graphicClass});
}

const TuiFileFormat* TuiFileFormatsList::FindClassName(const std::string& graphicClass) const
{
    for (auto it = FFormats.rbegin(); it != FFormats.rend(); ++it)
        if (SameText(it->GraphicClass, graphicClass)) return &*it;
    return nullptr;
}

TuiFileFormatsList& uiFileFormatsList()
{
    static TuiFileFormatsList list;
    return list;
}
