// A fresh folder under the system's temporary folder for one test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class TTempFolder {
public:
    TTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vsp-rtl-XXXXXX").string();
        if (::mkdtemp(pattern.data())) FPath = pattern;
    }
    ~TTempFolder()
    {
        std::error_code ec;
        if (!FPath.empty()) {
            // Folders a test made read-only must become writable again to be removed.
            std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
            for (auto& e : std::filesystem::recursive_directory_iterator(FPath, ec))
                std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
            std::filesystem::remove_all(FPath, ec);
        }
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};
