// Sounds: data and mode kept, playing counted but silent.
#include "ui/uiwav.h"

const TClassInfo& TuiCustomWave::StaticClassInfo()
{
    using P = TProps<TuiCustomWave>;
    static const TClassInfo info({
        .Name = "TuiCustomWave",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Enumeration("Mode", uiWaveModeNames, &TuiCustomWave::Mode, &TuiCustomWave::SetMode).Default(wmAsync)},
    });
    return info;
}

TuiCustomWave::TuiCustomWave(TComponent* AOwner) : TComponent(AOwner) {}

void TuiCustomWave::SetMode(TuiWaveMode v)
{
    if (v == FMode) return;
    if (!ComponentState().Contains(csDesigning)) Stop();
    FMode = v;
}

bool TuiCustomWave::Play()
{
    if (FData.empty()) return false;
    ++FPlays;
    return true;
}

void TuiCustomWave::Stop() {}

const TClassInfo& TuiCustomWaveList::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TuiCustomWaveList", .Parent = &TuiCustomWave::StaticClassInfo()});
    return info;
}

TuiCustomWaveList::TuiCustomWaveList(TComponent* AOwner) : TuiCustomWave(AOwner) {}
