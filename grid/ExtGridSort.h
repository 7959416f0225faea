// The vocabulary of the grid's sorting: sort styles, where empty cells go, and the events a sort fires
// to learn a column's style and to compare cells the application's way. Qt-free.
#pragma once

#include "platform/rtl/Classes.h"

#include <functional>
#include <string>

enum TSortBlankPosition { blFirst, blLast };
// How two cells of a column compare; ssAutomatic decides from the first compared cell.
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS, ssCustom,
    ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssUnicode
};

using TGridFormatEvent = std::function<void(TPersistent* Sender, int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix)>;
using TCustomCompareEvent = std::function<void(TPersistent* Sender, const std::string& Str1, const std::string& Str2, int& Res)>;
using TRawCompareEvent = std::function<void(TPersistent* Sender, int ACol, int Row1, int Row2, int& Res)>;
