// The bitmap resources by name.

#include "platform/graphics/ResourceStore.h"

#include "platform/graphics/Bitmap.h"

#include <cctype>
#include <map>

namespace {

// Module state: the registered resources, by upper-case name.
struct TResourceStore {
    std::map<std::string, TBitmapResourceFactory> Bitmaps;
    std::map<std::string, std::vector<std::uint8_t>> Bytes;
};
TResourceStore& Store()
{
    static TResourceStore s;
    return s;
}

std::string Key(std::string name)
{
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

void RegisterBitmapResource(const std::string& name, TBitmapResourceFactory factory)
{
    Store().Bitmaps[Key(name)] = std::move(factory);
}

void UnregisterBitmapResource(const std::string& name) { Store().Bitmaps.erase(Key(name)); }

bool HasBitmapResource(const std::string& name) { return Store().Bitmaps.count(Key(name)) != 0; }

bool LoadBitmapResource(const std::string& name, TBitmap& into)
{
    auto it = Store().Bitmaps.find(Key(name));
    if (it == Store().Bitmaps.end() || !it->second) return false;
    it->second(into);
    return true;
}

void RegisterByteResource(const std::string& name, std::vector<std::uint8_t> bytes)
{
    if (!name.empty()) Store().Bytes[Key(name)] = std::move(bytes);
}

void UnregisterByteResource(const std::string& name) { Store().Bytes.erase(Key(name)); }

bool LoadByteResource(const std::string& name, std::vector<std::uint8_t>& into)
{
    auto it = Store().Bytes.find(Key(name));
    if (it == Store().Bytes.end()) return false;
    into = it->second;
    return true;
}
