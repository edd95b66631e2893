// Finding the program's main window, and any dialog box it shows, from another process, as a
// user's eye would.
#pragma once

#include <windows.h>

// The visible TForm1 window of that process, or nullptr while it has none.
inline HWND FindMainWindow(DWORD processId)
{
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, L"TForm1", nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// A visible dialog box of that process (message boxes are dialogs), or nullptr.
inline HWND FindDialog(DWORD processId)
{
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}
