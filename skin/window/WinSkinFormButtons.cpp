// The frame's caption button actions, its system menu and its hover timer.
#include "skin/window/WinSkinForm.h"

#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/Application.h"

void TWinSkinForm::DoSysButtonAction(size_t index, POINT screen)
{
    const TCaptionButton& button = FButtons[index];
    const int action = button.Data->Action;
    auto post = [this](WPARAM command) { ::PostMessageW(FWindow, WM_SYSCOMMAND, command, 0); };
    auto restore = [&] {
        FShowState = TShowState::Normal;
        post(SC_RESTORE);
    };
    // The buttons of the maximized child sit in this main form's band: its own client's child.
    auto toMdiChild = [this](WPARAM command) {
        const HWND client = MdiClientWindow();
        if (!client)
            return;
        if (auto child = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)))
            ::PostMessageW(child, WM_SYSCOMMAND, command, 0);
    };
    switch (action) {
    case 0:
        if (SystemMenuAllowsClose()) {
            FHoverTimer->SetEnabled(false);
            post(SC_CLOSE);
        }
        break;
    case 1:
    case 22:
        if (!button.Enabled)
            break;
        if (FShowState == TShowState::Maximized) {
            restore();
        } else {
            if (FMdiRole == TMdiRole::Child && SkinManager)
                SkinManager->SetMdiMaximized(true);
            FShowState = TShowState::Maximized;
            post(SC_MAXIMIZE);
            HotObject = nullptr;
        }
        break;
    case 2:
    case 23:
        if (!button.Enabled)
            break;
        if (FShowState == TShowState::Minimized) {
            restore();
        } else {
            FShowState = TShowState::Minimized;
            SetSysMenuStyle(true);
            post(SC_MINIMIZE);
        }
        break;
    case 3:
    case 11:
    case 12:
        ShowSysMenu({screen.x + 1, screen.y + 1});
        break;
    case 4: post(SC_CONTEXTHELP); break;
    case 7: case 60: toMdiChild(SC_MINIMIZE); break;
    case 8: case 61: toMdiChild(SC_RESTORE); break;
    case 9: case 62: toMdiChild(SC_CLOSE); break;
    default: ::PostMessageW(FWindow, SKM_SYSBUTTONACTION, WPARAM(action), 0); break;
    }
}

void TWinSkinForm::ShowSysMenu(POINT screen)
{
    const DWORD now = ::GetTickCount();
    if (FSysMenuShown && now - FLastSysMenuTime < ::GetDoubleClickTime()) {
        // A second click on the icon button right after the first closes the window.
        if (HotObject) {
            FHoverTimer->SetEnabled(false);
            ::PostMessageW(FWindow, WM_CLOSE, 0, 0);
        }
        return;
    }
    if (SkinManager)
        SkinManager->PopupSource = 2;
    FLastSysMenuTime = now;
    FSysMenuShown = true;
    TrackSysMenuPopup(screen);
}

void TWinSkinForm::OnHoverTimer()
{
    if (!FSkinData || FMenuTracking || (SkinManager && SkinManager->MenuBarTracking))
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const TFramePoint p = ToFrameCoords(cursor);
    if (HotObject && !Contains(HotObject->Bounds(), p)) {
        HotObject->MouseLeave();
        FSkinData->HideCaptionHint();
        return;
    }
    auto* button = dynamic_cast<TWinSysButton*>(HotObject);
    if (!button)
        return;
    FSkinData->HintClock += static_cast<int>(FHoverTimer->Interval());
    const int pause = Application ? Application->HintPause() : 500;
    const int hidePause = Application ? Application->HintHidePause() : 2500;
    const int from = 2 * pause;
    if (FSkinData->HintClock >= from && FSkinData->HintClock <= from + hidePause) {
        if (const wchar_t* text = SysButtonHintText(FButtons[button->Index()].Data->Action)) {
            RECT window{};
            ::GetWindowRect(FWindow, &window);
            const int left = FButtons[button->Index()].Bounds.Left + window.left;
            FSkinData->ShowCaptionHint(RECT{left, cursor.y + 24, left, cursor.y + 24}, text);
        }
    } else if (FSkinData->HintClock > from + hidePause) {
        FSkinData->HideCaptionHint();
    }
}

