// The program's path, the user's configuration folder and the settings file's place.
#include "platform/rtl/ConfigPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

std::string ExecutablePath()
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string UserConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.config";
    }
    return base + "/VornSP2Dp";
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
    return path.substr(0, dot) + ext;
}

namespace {

std::string& SettingsOverride()
{
    static std::string path;
    return path;
}

} // namespace

std::string SettingsFilePath()
{
    if (!SettingsOverride().empty()) return SettingsOverride();
    return SettingsFilePathFor(ExecutablePath(), UserConfigFolder());
}

void SetSettingsFilePath(const std::string& path) { SettingsOverride() = path; }

std::string SettingsFilePathFor(const std::string& exePath, const std::string& configFolder)
{
    namespace fs = std::filesystem;
    // A build or system folder is no place for them: a deleted build folder would take them along.
    const fs::path beside = ChangeFileExt(exePath.empty() ? "vornsp2dp" : exePath, ".in");
    const fs::path settings = fs::path(configFolder) / beside.filename();
    std::error_code ec;
    fs::create_directories(configFolder, ec);
    if (!exePath.empty() && !fs::exists(settings, ec) && fs::is_regular_file(beside, ec))
        fs::copy_file(beside, settings, ec);
    return settings.string();
}
