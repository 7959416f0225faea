// The keyboard-monitor module: the optional external library that would send lock-key changes as window
// messages. No such library exists for this platform, so loading always fails and the status bar's
// key-lock panels stay on the application's key hook.
#pragma once

#include <cstdint>
#include <string>

// The library's file name ("KITKbMon.dll").
const std::string& KbMonFileName();
// Tries to load the library; false when it cannot be loaded (always, here).
bool KbMonLoad();
// KbMonLoad, remembering the result as the availability.
bool KbMonStart();
void KbMonStop();
void KbMonUnload();
bool KbMonAvailable();
// Registers a window for lock-key messages; the message number, 0 without the library.
std::uint32_t KbMonRegister(std::uintptr_t window);
void KbMonUnregister(std::uintptr_t window);
