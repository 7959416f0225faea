// The grid's bitmap resources, registered by name on first use: the check boxes "ESGCHK01" to
// "ESGCHK08", the radio buttons "ESGRAD01" to "ESGRAD08", the node glyphs "ESGLEAFCLOSE",
// "ESGLEAFOPEN", "XPNODEC", "XPNODEO" and the filter button "ESGFILT". Each has its transparent colour
// in the bottom-left pixel. Qt-free.
#pragma once

#include <string>

class TBitmap;

void RegisterGridResources();
// Loads a grid resource (registering them first); false for an unknown name.
bool LoadGridBitmap(const std::string& Name, TBitmap& Into);
