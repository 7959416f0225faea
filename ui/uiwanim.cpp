// Animation settings and their window effects.
#include "ui/uiwanim.h"

#include "platform/controls/TopLevel.h"

const TClassInfo& TuiAnimateWin::StaticClassInfo()
{
    using P = TProps<TuiAnimateWin>;
    using A = TuiAnimateWin;
    static const TClassInfo info({
        .Name = "TuiAnimateWin",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Integer("Duration", &A::Duration, &A::SetDuration).Default(200),
                       P::Enumeration("Effect", uiAnimEffectNames, &A::Effect, &A::SetEffect).Default(aweNone),
                       P::Enumeration("Horz", uiAnimDirectionNames, &A::Horz, &A::SetHorz).Default(awdNone),
                       P::Enumeration("Vert", uiAnimDirectionNames, &A::Vert, &A::SetVert).Default(awdNone)},
    });
    return info;
}

namespace {

bool Directed(TuiAnimEffect e) { return e == aweRoll || e == aweSlide; }

} // namespace

void TuiAnimateWin::Changed()
{
    if (OnChange) OnChange();
}

void TuiAnimateWin::SetDuration(int v)
{
    if (v < 0 || v > 65535) throw ERangeError();
    if (v == FDuration) return;
    FDuration = v;
    Changed();
}

void TuiAnimateWin::SetEffect(TuiAnimEffect v)
{
    FEffect = v;
    if (Directed(v) && FHorz == awdNone && FVert == awdNone) FHorz = awdPositive;
    Changed();
}

void TuiAnimateWin::SetHorz(TuiAnimDirection v)
{
    FHorz = v;
    if (FHorz == awdNone && FVert == awdNone && Directed(FEffect)) FEffect = aweNone;
    Changed();
}

void TuiAnimateWin::SetVert(TuiAnimDirection v)
{
    FVert = v;
    if (FHorz == awdNone && FVert == awdNone && Directed(FEffect)) FEffect = aweNone;
    Changed();
}

void TuiAnimateWin::Assign(const TPersistent& Source)
{
    const auto* a = dynamic_cast<const TuiAnimateWin*>(&Source);
    if (!a) {
        TPersistent::Assign(Source);
        return;
    }
    FDuration = a->FDuration;
    FEffect = a->FEffect;
    FHorz = a->FHorz;
    FVert = a->FVert;
    Changed();
}

std::uint32_t TuiAnimateWin::Flags(bool hide) const
{
    static const std::uint32_t effects[] = {0, 0, 0x40000, 0x80000, 0x10};
    static const std::uint32_t horz[] = {0, 1, 2}, vert[] = {0, 4, 8};
    return (hide ? 0x10000u : 0u) + effects[FEffect] + horz[FHorz] + vert[FVert];
}

bool TuiAnimateWin::ShowForm(QWidget* form) const
{
    if (FEffect != aweBlend || !form) return false;
    return FadeWindow(form, FDuration, true);
}

bool TuiAnimateWin::HideForm(QWidget* form) const
{
    if (!form) return false;
    const bool animated = FEffect == aweBlend && FadeWindow(form, FDuration, false);
    SetWindowOpacity(form, 1.0);
    FadeWindow(form, 0, false);   // hidden in every case
    return animated;
}
