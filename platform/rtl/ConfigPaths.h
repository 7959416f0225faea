// Where the program keeps its settings: the settings file beside the program (its path with the
// extension ".in"), or in the user's configuration folder when the program's folder is not writable.
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
// `exePath` with the extension ".in" when the program's folder is writable; otherwise that file name in
// `configFolder`, which is created when missing.
std::string SettingsFilePathFor(const std::string& exePath, const std::string& configFolder);
