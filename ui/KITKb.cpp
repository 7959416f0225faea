// The keyboard-monitor module without a library to load: every registration gives message number 0.
#include "ui/KITKb.h"

namespace {

struct TKbMonState {
    bool Available = false;
};

TKbMonState& MonState()
{
    static TKbMonState s;
    return s;
}

} // namespace

const std::string& KbMonFileName()
{
    static const std::string name = "KITKbMon.dll";
    return name;
}

bool KbMonLoad()
{
    KbMonUnload();
    return false;
}

bool KbMonStart()
{
    MonState().Available = KbMonLoad();
    return MonState().Available;
}

void KbMonStop() { KbMonUnload(); }

void KbMonUnload() { MonState().Available = false; }

bool KbMonAvailable() { return MonState().Available; }

std::uint32_t KbMonRegister(std::uintptr_t) { return 0; }

void KbMonUnregister(std::uintptr_t) {}
