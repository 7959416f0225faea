// The desktop's services a program asks for by name: opening a link or a file with the program the
// desktop has for it, and the short warning sound. Qt-free.
#pragma once

#include <string>

// Hands the target to the desktop's default handler as one argument (never through a shell): an address
// with a scheme ("https://...", "mailto:...") as it stands, anything else as a local file path. False
// when the target is empty or nothing took it.
bool ShellOpenDocument(const std::string& target);

// The short warning sound of a refused key.
void MessageBeep(unsigned type = 0);
// How many warning sounds were given since start (tests read it; the offscreen platform makes no sound).
int MessageBeepCount();
