// Lock-key states and key hooks, fed by the application object with every key event of a window.
#include "platform/controls/Keyboard.h"

#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/QtApplication.h"

#include <QKeyEvent>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

struct TKeyboardState {
    bool Caps = false, Num = false, Scroll = false;
    std::vector<std::pair<int, TKeyHook>> Hooks;
    int NextId = 1;
};

TKeyboardState& State()
{
    static TKeyboardState s;
    return s;
}

bool* LockOf(std::uint16_t key)
{
    switch (key) {
    case VK_CAPITAL: return &State().Caps;
    case VK_NUMLOCK: return &State().Num;
    case VK_SCROLL: return &State().Scroll;
    default: return nullptr;
    }
}

std::uint16_t KeyCodeOf(const QKeyEvent& e)
{
    switch (e.key()) {
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    default: return VirtualKeyOf(e);
    }
}

} // namespace

bool KeyToggled(std::uint16_t key)
{
    const bool* lock = LockOf(key);
    return lock && *lock;
}

void SetKeyToggled(std::uint16_t key, bool on)
{
    if (bool* lock = LockOf(key)) *lock = on;
}

int InstallKeyHook(TKeyHook hook)
{
    TKeyboardState& s = State();
    s.Hooks.emplace_back(s.NextId, std::move(hook));
    return s.NextId++;
}

void RemoveKeyHook(int id)
{
    std::erase_if(State().Hooks, [id](const auto& h) { return h.first == id; });
}

int KeyHookCount() { return static_cast<int>(State().Hooks.size()); }

void NoteKeyEvent(const QKeyEvent& e)
{
    const std::uint16_t key = KeyCodeOf(e);
    const bool down = e.type() == QEvent::KeyPress;
    const bool repeat = e.isAutoRepeat();
    if (down && !repeat)
        if (bool* lock = LockOf(key)) *lock = !*lock;
    const auto hooks = State().Hooks;
    for (const auto& h : hooks) Application->Guarded([&] { h.second(key, down, repeat); });
}
