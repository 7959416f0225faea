// Where the program keeps its settings: the settings file (the program's file name with the extension
// ".in") in the user's configuration folder, started from a settings file beside the program when the
// folder has none yet.
#pragma once

#include <string>

// The running program's full path; empty when the system does not tell.
std::string ExecutablePath();

// $XDG_CONFIG_HOME/VornSP2Dp when that variable holds an absolute path, else ~/.config/VornSP2Dp.
// Not created here.
std::string UserConfigFolder();

// The path with its extension (from the last "." of the file name) replaced by `ext`, or `ext`
// appended when the file name has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The settings file of the running program (see SettingsFilePathFor), or the file a test has set.
std::string SettingsFilePath();
// Points SettingsFilePath at another file (tests); an empty path gives the normal place again.
void SetSettingsFilePath(const std::string& path);
// The file name of `exePath` with the extension ".in" in `configFolder`, which is created when missing.
// When that file does not exist and one of that name lies beside the program, it is copied there first:
// the settings of a program that kept them beside itself are the start, read once.
std::string SettingsFilePathFor(const std::string& exePath, const std::string& configFolder);
