// The scroll box's events in front of the scrolling.
#include "ui/uiscrol.h"

#include <cstdint>

const TClassInfo& TuiCustomScrollBox::StaticClassInfo()
{
    using P = TProps<TuiCustomScrollBox>;
    static const TClassInfo info({
        .Name = "TuiCustomScrollBox",
        .Parent = &TScrollingWinControl::StaticClassInfo(),
        .Properties = {P::Enumeration("BorderStyle", BorderStyleNames, &TuiCustomScrollBox::BorderStyle,
                                      &TuiCustomScrollBox::SetBorderStyle)
                           .Default(bsSingle),
                       P::Boolean("Ctl3D", &TuiCustomScrollBox::Ctl3D, &TuiCustomScrollBox::SetCtl3D).Default(true)},
    });
    return info;
}

TuiCustomScrollBox::TuiCustomScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TuiCustomScrollBox::WMScroll(int Bar, int Code, int& Pos)
{
    const TuiScrollEvent& event = Bar == SB_HORZ ? OnScrollH : OnScrollV;
    if (event) {
        int pos = Pos;
        event(this, Code, pos);
        Pos = static_cast<std::int16_t>(pos);
    }
    TScrollingWinControl::WMScroll(Bar, Code, Pos);
}
