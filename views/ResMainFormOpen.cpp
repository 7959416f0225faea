// File kinds, the command-line survey and the survey caption of the main window.
#include "views/ResMainFormOpen.h"

#include "platform/rtl/StrUtils.h"

#include <filesystem>

namespace {

bool EndsWithText(const std::string& text, std::string_view tail)
{
    return text.size() >= tail.size() && SameText(std::string_view(text).substr(text.size() - tail.size()), tail);
}

} // namespace

TOpenKind OpenKindOf(const std::string& path)
{
    const std::string ext = LowerCase(std::filesystem::path(path).extension().string());
    if (ext == ".sp2") return TOpenKind::Survey;
    if (ext == ".cfg") return TOpenKind::ProgramConfig;
    return TOpenKind::Unknown;
}

bool IsSplashSwitch(const std::string& arg) { return SameText(arg, "-ns") || SameText(arg, "/ns"); }

std::string CommandLineSurveyFile(const std::vector<std::string>& args, const std::string& startFolder)
{
    for (const std::string& arg : args) {
        if (IsSplashSwitch(arg) || !EndsWithText(arg, ".sp2")) continue;
        const std::filesystem::path p(arg);
        return p.is_absolute() ? arg : (std::filesystem::path(startFolder) / p).lexically_normal().string();
    }
    return {};
}

std::string SurveyCaption(const std::string& path)
{
    return "VornResP2D [" + std::filesystem::path(path).filename().string() + "]";
}
