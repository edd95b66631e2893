// Real input to menus: a menu runs its own modal loop on the GUI thread, so the keys and clicks
// come from another thread, each once the loop takes input.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

// The popup menu window on screen, or null.
inline HWND VisibleMenuWindow()
{
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

// Whether the thread runs a menu's loop.
inline bool InMenu(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
}

struct TMenuPace {
    bool Popup = true;           // a popup is opened by the test: wait for it and note its place
    int SettleMs = 0;            // before each step: the last paint reaches the screen
    int AfterMs = 120;           // after each step: the loop takes the input before the next
    bool CloseLeftover = false;  // Escape a menu the steps left open, so the test never hangs in it
};

// Gives the steps from its own thread while the GUI thread runs the menu's loop. Each step (the
// first too when a popup is awaited) waits until the GUI thread is in a menu.
class TMenuInputPlayer {
public:
    TMenuInputPlayer(DWORD guiThread, std::vector<std::function<void()>> steps, TMenuPace pace = {})
        : FThread([this, guiThread, pace, steps = std::move(steps)] {
              for (int waited = 0; pace.Popup && waited < 3000 && !VisibleMenuWindow(); waited += 10)
                  ::Sleep(10);
              if (pace.Popup)
                  ::GetWindowRect(VisibleMenuWindow(), &PopupRect);
              for (size_t i = 0; i < steps.size(); ++i) {
                  for (int waited = 0; (i > 0 || pace.Popup) && waited < 2000 && !InMenu(guiThread); waited += 10)
                      ::Sleep(10);
                  ::Sleep(static_cast<DWORD>(pace.SettleMs));
                  steps[i]();
                  ::Sleep(static_cast<DWORD>(pace.AfterMs));
              }
              for (int waited = 0; pace.CloseLeftover && waited < 6000 && VisibleMenuWindow(); waited += 10) {
                  if (waited % 1500 == 1490)
                      PressEscape();
                  ::Sleep(10);
              }
          })
    {
    }
    ~TMenuInputPlayer() { Join(); }
    TMenuInputPlayer(const TMenuInputPlayer&) = delete;
    TMenuInputPlayer& operator=(const TMenuInputPlayer&) = delete;

    void Join()
    {
        if (FThread.joinable())
            FThread.join();
    }
    RECT PopupRect{}; // the popup's place when it showed; read after Join

private:
    static void PressEscape()
    {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = VK_ESCAPE;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
    }

    std::thread FThread;
};
