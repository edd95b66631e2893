// Timers on the GUI thread: ticks arrive through the message loop at Interval until disabled.
#pragma once

#include "toolkit/Component.h"
#include "toolkit/Control.h"
#include "toolkit/WinHandle.h"

class TTimer : public TComponent {
    TK_CLASS(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const noexcept { return FEnabled; }
    // Setting the value it already has changes nothing; any change while enabled starts
    // a new full period.
    void SetEnabled(bool enabled);
    unsigned Interval() const noexcept { return FInterval; }
    void SetInterval(unsigned interval);

    TNotifyEvent OnTimer;
    // How many times the system timer was (re)started: lets tests see restarts.
    unsigned StartCount() const noexcept { return FStartCount; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void UpdateTimer();

    win::Window FWindow;
    bool FEnabled = true;
    unsigned FInterval = 1000;
    unsigned FStartCount = 0;
};
