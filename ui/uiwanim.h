// One animation setting of the splash window (TuiAnimateWin): the effect, its duration and direction, and
// the desktop's window-animation flags they make. Blends fade the window's opacity; roll, slide and centre
// show and hide at once.
#pragma once

#include "platform/rtl/Classes.h"

#include <cstdint>
#include <functional>

class QWidget;

enum TuiAnimEffect { aweNone, aweRoll, aweSlide, aweBlend, aweCenter };
inline const TEnumNames uiAnimEffectNames{"aweNone", "aweRoll", "aweSlide", "aweBlend", "aweCenter"};
enum TuiAnimDirection { awdNone, awdPositive, awdNegative };
inline const TEnumNames uiAnimDirectionNames{"awdNone", "awdPositive", "awdNegative"};

class TuiAnimateWin : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TuiAnimateWin() = default;

    int Duration() const { return FDuration; }
    void SetDuration(int v);   // 0..65535 milliseconds
    TuiAnimEffect Effect() const { return FEffect; }
    // Roll and slide need a direction: with none, Horz becomes awdPositive.
    void SetEffect(TuiAnimEffect v);
    TuiAnimDirection Horz() const { return FHorz; }
    // Taking the last direction from a roll or slide turns the effect off.
    void SetHorz(TuiAnimDirection v);
    TuiAnimDirection Vert() const { return FVert; }
    void SetVert(TuiAnimDirection v);

    // Copies all four settings, then tells of the change.
    void Assign(const TPersistent& Source) override;

    // The window-animation flags: 0x10000 to hide, the effect (slide 0x40000, blend 0x80000, centre
    // 0x10), the horizontal (1, 2) and vertical (4, 8) directions.
    std::uint32_t Flags(bool hide) const;

    // Animates the window in (a blend fades it in): true when it was animated. Nothing without an effect.
    bool ShowForm(QWidget* form) const;
    // Animates the window out, then hides it in every case; true when it was animated.
    bool HideForm(QWidget* form) const;

    // The owner's change notification.
    std::function<void()> OnChange;

private:
    void Changed();

    int FDuration = 200;
    TuiAnimEffect FEffect = aweNone;
    TuiAnimDirection FHorz = awdNone, FVert = awdNone;
};
