// The layering check of the source tree: which library folder may include which (the arrows of the
// design), where Qt may be included (the platform layer above its run time, and form units), and whether
// MAP.md names every unit. Each fault is one line naming the file and line at fault.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace layering {

// A library folder (relative to the root, "chart/engine") and the folders it uses directly.
struct TLibrary {
    std::string Folder;
    std::vector<std::string> Uses;
};

// The libraries of the program in the order of building, with the arrows of the design.
const std::vector<TLibrary>& Libraries();

// Every folder a library may include: itself and what its arrows reach, directly or through others.
std::vector<std::string> Reachable(const std::string& Folder);

// The faults of the tree under Root, in a stable order: includes against the arrows (product folders and
// their tests), Qt includes outside the platform layer and the form units, and units missing from MAP.md
// (or rows of it naming a unit or test file that does not exist). Empty when the tree is sound.
std::vector<std::string> CheckTree(const std::filesystem::path& Root);

} // namespace layering
