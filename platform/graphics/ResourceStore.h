// The program's bitmap resources: bitmaps registered by name by the units that draw them (the chart
// engine's pattern and arrow bitmaps) and loaded by name. Names are case-insensitive. Qt-free.
#pragma once

#include <functional>
#include <string>

class TBitmap;

// Draws a resource into the bitmap it is given (sizing and formatting it).
using TBitmapResourceFactory = std::function<void(TBitmap& into)>;

// Registers (or replaces) the resource of that name.
void RegisterBitmapResource(const std::string& name, TBitmapResourceFactory factory);
void UnregisterBitmapResource(const std::string& name);
bool HasBitmapResource(const std::string& name);
// Loads the resource into the bitmap; false (bitmap unchanged) when no such resource exists.
bool LoadBitmapResource(const std::string& name, TBitmap& into);
