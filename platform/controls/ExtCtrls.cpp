// TTimer over a Qt timer.
#include "platform/controls/ExtCtrls.h"

#include "platform/controls/Application.h"
#include "platform/controls/QtApplication.h"

#include <QTimer>

struct TTimer::Impl {
    QTimer Timer;
};

const TClassInfo& TTimer::StaticClassInfo()
{
    using P = TProps<TTimer>;
    static const TClassInfo info({
        .Name = "TTimer",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true),
                       P::Integer("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000)},
        .Create = &CreateComponentOf<TTimer>,
    });
    return info;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FImpl(std::make_unique<Impl>())
{
    EnsureQtApplication();
    QObject::connect(&FImpl->Timer, &QTimer::timeout, [this] { Application->Guarded([this] { Timer(); }); });
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    UpdateTimer();
}

void TTimer::SetInterval(int v)
{
    if (v < 0) throw ERangeError();
    if (FInterval == v) return;
    FInterval = v;
    UpdateTimer();
}

// Changing Enabled or Interval restarts the count.
void TTimer::UpdateTimer()
{
    FImpl->Timer.stop();
    if (FEnabled && FInterval > 0) FImpl->Timer.start(FInterval);
}

void TTimer::Timer()
{
    if (OnTimer) OnTimer(this);
}
