// TTimer: fires OnTimer every Interval milliseconds while Enabled, from the message loop. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

class TTimer : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // Milliseconds between two events; 0 stops the timer.
    int Interval() const { return FInterval; }
    void SetInterval(int v);

    // Fired from the message loop; an exception it raises goes to the application's default handler.
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    struct Impl;
    std::unique_ptr<Impl> FImpl;
    bool FEnabled = true;
    int FInterval = 1000;
};
