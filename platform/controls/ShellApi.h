// The desktop's services a program asks for by name: opening a link or a file with the program the
// desktop has for it, the icons it shows for files, and the short warning sound. Qt-free.
#pragma once

#include <string>

class TIcon;

// Hands the target to the desktop's default handler as one argument (never through a shell): an address
// with a scheme ("https://...", "mailto:...") as it stands, anything else as a local file path. False
// when the target is empty or nothing took it.
bool ShellOpenDocument(const std::string& target);

// The short warning sound of a refused key.
void MessageBeep(unsigned type = 0);
// How many warning sounds were given since start (tests read it; the offscreen platform makes no sound).
int MessageBeepCount();

// The desktop's icon (small: 16 x 16, large: 32 x 32) for an existing file or folder, or for a file of
// that name or extension; a whole number names one of the desktop's standard icons (0 a file, 1 a folder).
// A desktop without icons gives a plain drawn page. Never empty.
void DesktopFileIcon(const std::string& Name, bool Large, TIcon& Into);
