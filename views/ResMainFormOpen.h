// What decides how a path reaches the main window's open pipeline: the kind of file by its extension, the
// survey named on the command line, and the caption of a window showing a survey.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* OpenDialogFilter = "Vorn data file [*.sp2]|*.sp2|Program configuration [*.cfg]|*.cfg";
inline constexpr const char* ErrorInDataFile = "Error in data file!";
// The message for a path that names no file.
inline std::string FileNotFound(const std::string& path) { return "File not found - " + path; }

enum class TOpenKind { Survey, ProgramConfig, Unknown };

// ".sp2" and ".cfg" in any letter case; anything else is Unknown.
TOpenKind OpenKindOf(const std::string& path);

// "-ns" or "/ns" in any letter case: the switch that keeps the splash window away at start-up.
bool IsSplashSwitch(const std::string& arg);

// The survey to open after start-up: the first of `args` (the arguments, without the program) that is not
// the splash switch and ends in ".sp2" in any letter case, made absolute from `startFolder` when relative;
// empty when there is none.
std::string CommandLineSurveyFile(const std::vector<std::string>& args, const std::string& startFolder);

// "VornResP2D [" + the file name of `path` + "]": the window's caption and the application's title.
std::string SurveyCaption(const std::string& path);
