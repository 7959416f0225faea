// Visual-style drawing of the grid's buttons and boxes. The program draws the classic look everywhere:
// the theme service reports no active theme, so every caller takes its classic branch.
#pragma once

inline bool IsThemeActive() { return false; }
inline bool IsWindowsXP() { return false; }
