// The keyboard as the program sees it: the toggle state of the lock keys and an application-wide key hook.
// There is no system keyboard state to ask: a lock key's state starts off and flips with every press of
// it (not its auto-repeat) that reaches a window of the program; tests set it. Qt-free.
#pragma once

#include <cstdint>
#include <functional>

inline constexpr std::uint16_t VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;   // VK_CAPITAL is in Controls.h

// Whether Caps Lock (VK_CAPITAL), Num Lock (VK_NUMLOCK) or Scroll Lock (VK_SCROLL) is toggled on;
// false for other keys.
bool KeyToggled(std::uint16_t key);
void SetKeyToggled(std::uint16_t key, bool on);

// A hook that sees every key press and release of the program before the window it goes to, with its
// virtual key code (0 for keys without one), whether it goes down, and whether it is an auto-repeat.
// Returns an id for RemoveKeyHook. Hooks run after a lock key's state has flipped.
using TKeyHook = std::function<void(std::uint16_t Key, bool Down, bool Repeat)>;
int InstallKeyHook(TKeyHook hook);
void RemoveKeyHook(int id);
int KeyHookCount();
