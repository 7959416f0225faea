// The scrolling window: two native scroll bars over its edges, their actions as scroll messages, and
// children moved by the scrolled distance.
#include "platform/controls/ScrollBox.h"

#include "platform/controls/Application.h"

#include <QScrollBar>
#include <QWidget>

#include <algorithm>

struct TScrollingWinControl::Bars {
    QScrollBar* Bar[2] = {nullptr, nullptr};
};

namespace {

constexpr int LineStep = 8;
constexpr int BarWidth = 16;

int CodeOfAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
    }
}

} // namespace

const TClassInfo& TScrollingWinControl::StaticClassInfo()
{
    using P = TProps<TScrollingWinControl>;
    static const TClassInfo info({
        .Name = "TScrollingWinControl",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Boolean("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll)
                           .Default(true)},
    });
    return info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner), FBars(std::make_unique<Bars>())
{
    for (int bar : {SB_HORZ, SB_VERT}) {
        auto* sb = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, Widget());
        sb->setFocusPolicy(Qt::NoFocus);
        sb->hide();
        QObject::connect(sb, &QAbstractSlider::actionTriggered, [this, sb, bar](int action) {
            const int code = CodeOfAction(action);
            if (code < 0) return;
            const int pos = sb->sliderPosition();
            Application->Guarded([&] { Scroll(bar, code, pos); });
        });
        QObject::connect(sb, &QAbstractSlider::sliderReleased, [this, sb, bar] {
            Application->Guarded([&] {
                Scroll(bar, SB_THUMBPOSITION, sb->sliderPosition());
                Scroll(bar, SB_ENDSCROLL, sb->sliderPosition());
            });
        });
        FBars->Bar[bar] = sb;
    }
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool v)
{
    if (FAutoScroll == v) return;
    FAutoScroll = v;
    if (v) UpdateScrollRanges();
}

bool TScrollingWinControl::ScrollBarShown(int bar) const { return FBars->Bar[bar]->isVisibleTo(Widget()); }

void TScrollingWinControl::UpdateScrollRanges()
{
    int extent[2] = {0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        const TWinControl* c = Controls(i);
        extent[SB_HORZ] = std::max(extent[SB_HORZ], c->Left() + c->Width() + FPos[SB_HORZ]);
        extent[SB_VERT] = std::max(extent[SB_VERT], c->Top() + c->Height() + FPos[SB_VERT]);
    }
    FRange[SB_HORZ] = extent[SB_HORZ];
    FRange[SB_VERT] = extent[SB_VERT];
    LayoutBars();
    // A range that shrank below the position takes the children back.
    for (int bar : {SB_HORZ, SB_VERT}) {
        const int page = bar == SB_HORZ ? Width() : Height();
        ScrollTo(bar, std::clamp(FPos[bar], 0, std::max(0, FRange[bar] - page)));
    }
}

void TScrollingWinControl::LayoutBars()
{
    const bool h = FRange[SB_HORZ] > Width(), v = FRange[SB_VERT] > Height();
    QScrollBar* hb = FBars->Bar[SB_HORZ];
    QScrollBar* vb = FBars->Bar[SB_VERT];
    hb->setGeometry(0, Height() - BarWidth, Width() - (v ? BarWidth : 0), BarWidth);
    vb->setGeometry(Width() - BarWidth, 0, BarWidth, Height() - (h ? BarWidth : 0));
    for (int bar : {SB_HORZ, SB_VERT}) {
        QScrollBar* sb = FBars->Bar[bar];
        const int page = bar == SB_HORZ ? Width() : Height();
        const QSignalBlocker block(sb);
        sb->setRange(0, std::max(0, FRange[bar] - page));
        sb->setPageStep(std::max(1, page));
        sb->setSingleStep(LineStep);
        sb->setValue(FPos[bar]);
        sb->setVisible(bar == SB_HORZ ? h : v);
        sb->raise();
    }
}

void TScrollingWinControl::WMScroll(int Bar, int Code, int& Pos)
{
    const int page = Bar == SB_HORZ ? Width() : Height();
    const int max = std::max(0, FRange[Bar] - page);
    int target = FPos[Bar];
    switch (Code) {
    case SB_LINEUP: target -= LineStep; break;
    case SB_LINEDOWN: target += LineStep; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = Pos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = max; break;
    default: return;
    }
    ScrollTo(Bar, std::clamp(target, 0, max));
}

void TScrollingWinControl::ScrollTo(int bar, int pos)
{
    const int delta = FPos[bar] - pos;
    if (delta == 0) return;
    FPos[bar] = pos;
    for (int i = 0; i < ControlCount(); ++i) {
        TWinControl* c = Controls(i);
        if (bar == SB_HORZ)
            c->SetLeft(c->Left() + delta);
        else
            c->SetTop(c->Top() + delta);
    }
    const QSignalBlocker block(FBars->Bar[bar]);
    FBars->Bar[bar]->setValue(pos);
}

void TScrollingWinControl::Resize()
{
    TWinControl::Resize();
    if (FAutoScroll)
        UpdateScrollRanges();
    else
        LayoutBars();
}
