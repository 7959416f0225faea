// The program's resources: bitmaps registered by name by the units that draw them (the chart engine's
// pattern and arrow bitmaps) and loaded by name, and named byte blocks (the data a "RES://" address
// names). Names are case-insensitive. Qt-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TBitmap;

// Draws a resource into the bitmap it is given (sizing and formatting it).
using TBitmapResourceFactory = std::function<void(TBitmap& into)>;

// Registers (or replaces) the resource of that name.
void RegisterBitmapResource(const std::string& name, TBitmapResourceFactory factory);
void UnregisterBitmapResource(const std::string& name);
bool HasBitmapResource(const std::string& name);
// Loads the resource into the bitmap; false (bitmap unchanged) when no such resource exists.
bool LoadBitmapResource(const std::string& name, TBitmap& into);

// Registers (or replaces) a named block of bytes; an empty name registers nothing.
void RegisterByteResource(const std::string& name, std::vector<std::uint8_t> bytes);
void UnregisterByteResource(const std::string& name);
// The block of that name; false (into unchanged) when none is registered.
bool LoadByteResource(const std::string& name, std::vector<std::uint8_t>& into);
