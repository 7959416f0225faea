// Sounds of the UI kit: a wave held in memory and played in one of three modes, and a list of sounds
// played by index. The program has no sounds, so playing does nothing here; data and mode are kept.
#pragma once

#include "platform/rtl/Classes.h"

#include <cstdint>
#include <string>
#include <vector>

enum TuiWaveMode { wmAsync, wmSync, wmLoop };
inline const TEnumNames uiWaveModeNames{"wmAsync", "wmSync", "wmLoop"};

class TuiCustomWave : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiCustomWave(TComponent* AOwner);

    const std::vector<std::uint8_t>& Data() const { return FData; }
    void SetData(std::vector<std::uint8_t> v) { FData = std::move(v); }
    bool Empty() const { return FData.empty(); }
    TuiWaveMode Mode() const { return FMode; }
    // Outside design state a new mode stops any sound first.
    void SetMode(TuiWaveMode v);
    // Plays the wave (nothing without data); returns whether a sound was started.
    bool Play();
    void Stop();
    int PlayCount() const { return FPlays; }

private:
    std::vector<std::uint8_t> FData;
    TuiWaveMode FMode = wmAsync;
    int FPlays = 0;
};

class TuiCustomWaveList : public TuiCustomWave {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiCustomWaveList(TComponent* AOwner);

    std::vector<std::string>& Names() { return FNames; }
    int CurrentIndex() const { return FIndex; }
    // Playing by index is for a list that maps indexes to waves; the list itself only remembers the
    // index asked for.
    virtual void PlayIndex(int index) { FIndex = index; }

private:
    std::vector<std::string> FNames;
    int FIndex = -1;
};
