// THintWindow: the small tooltip-coloured popup that shows a hint next to the mouse without
// taking activation or focus from the window under it.
#pragma once

#include "toolkit/Component.h"
#include "toolkit/Control.h"
#include "toolkit/WinHandle.h"

#include <string>

class THintWindow : public TComponent {
    TK_CLASS(THintWindow)
public:
    explicit THintWindow(TComponent* owner);
    ~THintWindow() override;

    // The window's rectangle for the text, at (0, 0): wrapped at maxWidth pixels (the screen's
    // width when maxWidth is 0 or less), plus border and margins.
    TRect CalcHintRect(int maxWidth, const std::wstring& text) const;
    // Shows the text at screenRect (moved onto the monitor when it sticks out), topmost and
    // without activating anything. Empty text hides the hint instead.
    void ActivateHint(const TRect& screenRect, const std::wstring& text);
    void Hide();
    // Hides the hint and frees its window; the next ActivateHint makes a new one.
    void ReleaseHandle();
    bool Showing() const noexcept;

    const std::wstring& Text() const noexcept { return FText; }
    HWND Handle() const noexcept { return FWindow.get(); } // nullptr until first shown
    HFONT FontHandle() const noexcept { return FFont.get(); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint(HWND hwnd);

    std::wstring FText;
    win::GdiObject<HFONT> FFont;
    win::Window FWindow; // declared after the font: the window goes first
};
