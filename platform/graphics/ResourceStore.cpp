// The bitmap resources by name.

#include "platform/graphics/ResourceStore.h"

#include "platform/graphics/Bitmap.h"

#include <cctype>
#include <map>

namespace {

// Module state: the registered resources, by upper-case name.
struct TResourceStore {
    std::map<std::string, TBitmapResourceFactory> Bitmaps;
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
