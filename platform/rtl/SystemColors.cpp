// The fixed table of system colours: the classic light-grey desktop scheme.
#include "platform/rtl/SystemColors.h"

namespace {

constexpr TColor SystemColorTable[SystemColorCount] = {
    RGB(192, 192, 192), // scroll bar
    RGB(0, 128, 128),   // desktop background
    RGB(0, 0, 128),     // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(192, 192, 192), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(192, 192, 192), // active border
    RGB(192, 192, 192), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(0, 0, 128),     // highlight
    RGB(255, 255, 255), // highlight text
    RGB(192, 192, 192), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(192, 192, 192), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(0, 0, 0),       // 3-D dark shadow
    RGB(223, 223, 223), // 3-D light
    RGB(0, 0, 0),       // tooltip text
    RGB(255, 255, 225), // tooltip background
    RGB(0, 0, 0),       // (unused index 25)
    RGB(0, 0, 255),     // hot-tracked item
    RGB(16, 132, 208),  // gradient of the active caption
    RGB(181, 181, 181), // gradient of the inactive caption
    RGB(0, 0, 128),     // highlighted menu item
    RGB(192, 192, 192), // menu bar
};

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index >= SystemColorCount) return clBlack;
    return SystemColorTable[index];
}

TColor ColorToRGB(TColor color) { return IsSystemColor(color) ? GetSysColor(color & 0xFF) : color; }
