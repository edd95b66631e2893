// The frame's side of the skinned menu bar: making it when the frame attaches, the mouse and
// keys that open its items, a form's menu changing under it, and giving the window its own
// menu back when the frame lets go.
#include "skin/window/WinSkinForm.h"

#include "skin/menus/WinSkinMenu.h"
#include "skin/window/SkinData.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"

#include <algorithm>

void TWinSkinForm::CreateMenuBar()
{
    if (!FFramePainting || FChild || FMdiRole == TMdiRole::Child || FMenuBar || !::GetMenu(FWindow))
        return;
    FMenuBar = std::make_unique<TWinSkinMenu>(*this, FSkinData);
    FMenuBarHeight = ::GetSystemMetrics(SM_CYMENU);
    FMenuBar->BuildMenuBar();
}

bool TWinSkinForm::PressMenuBarItemAt(POINT screen)
{
    if (!FMenuBar || FState != TFrameState::Active)
        return false;
    const auto hit = FMenuBar->MenuBarHitTest(ToFrameCoords(screen));
    if (!hit)
        return false;
    PressMenuBarItem(*hit);
    return true;
}

void TWinSkinForm::PressMenuBarItem(size_t index)
{
    TWinSkinMenu* bar = FMenuBar.get();
    TMenuBtn* item = bar ? bar->Item(index) : nullptr;
    if (!item)
        return;
    if (!FIsActive)
        ::SetForegroundWindow(FWindow);
    item->MouseDown();
    bar->OpenMenuBarItem(index);
    // The bar may have gone with the frame's window inside the popup's loop.
    if (FMenuBar.get() == bar && HotObject == item)
        item->MouseUp();
}

bool TWinSkinForm::MenuBarMouseMove(POINT screen)
{
    if (!FMenuBar || FState != TFrameState::Active)
        return false;
    const auto hit = FMenuBar->MenuBarHitTest(ToFrameCoords(screen));
    if (!hit)
        return false;
    FMenuBar->Item(*hit)->MouseEnter();
    return true;
}

bool TWinSkinForm::MenuBarSysCommand(TMessage& Message)
{
    const auto key = static_cast<wchar_t>(Message.LParam);
    if (!FMenuBar || FMenuTracking || ::GetCapture() || key == L' ' || key == L'-')
        return false;
    std::optional<size_t> index;
    if (key == 0) {
        // Alt alone: the first item shown.
        const auto& items = FMenuBar->MenuBarItems();
        const auto first = std::find_if(items.begin(), items.end(), [](const auto& item) {
            return item->Visible() && !item->Caption.empty() && !item->Bounds().IsEmpty();
        });
        if (first != items.end())
            index = (*first)->Index();
    } else {
        index = FMenuBar->FindAccelerator(key);
    }
    if (!index)
        return false;
    PressMenuBarItem(*index);
    Message.Result = 1;
    return true;
}

bool TWinSkinForm::MenuBarDialogChar(TMessage& Message)
{
    if (!FMenuBar || FMenuTracking || ::GetKeyState(VK_MENU) >= 0 || ::GetKeyState(VK_CONTROL) < 0)
        return false;
    const auto index = FMenuBar->FindAccelerator(static_cast<wchar_t>(Message.WParam));
    if (!index)
        return false;
    // Opened from the queue, so that the key's own messages are done before the popup's loop.
    FMenuBar->PostItemPress(*index);
    Message.Result = 1;
    return true;
}

void TWinSkinForm::MenuBarMenuChanged()
{
    const HMENU menu = ::GetMenu(FWindow);
    if (!FMenuBar) {
        // A form given its first menu after it was framed gets the skinned bar now, around
        // the client it had.
        if (menu && FState == TFrameState::Active) {
            CreateMenuBar();
            if (FMenuBar) {
                ResizeToKeepClient(true);
                UpdateRegion();
                PaintFrame();
            }
        }
        return;
    }
    if (FSkinData->MenuUpdate())
        FMenuBar->TakeMenu(menu);
    if (::GetMenu(FWindow))
        ::SetMenu(FWindow, nullptr);
    if (FState == TFrameState::Active)
        PaintFrame();
}

void TWinSkinForm::MenuBarWindowMenuChanged()
{
    if (!FMenuBar)
        return;
    FMenuBar->RebuildMenuBar();
    if (FState == TFrameState::Active)
        PaintFrame();
}

void TWinSkinForm::RestoreWindowMenu(bool alive)
{
    if (!FMenuBar)
        return;
    HMENU menu = FMenuBar->WindowMenu();
    if (FForm)
        menu = FForm->Menu() ? FForm->Menu()->Handle() : nullptr;
    if (HotObject && dynamic_cast<TMenuBtn*>(HotObject))
        HotObject = nullptr;
    FMenuBar.reset();
    FMenuTracking = false;
    // A window being destroyed would take the menu along, which its form still owns.
    if (alive && menu && ::IsMenu(menu) && !::GetMenu(FWindow))
        ::SetMenu(FWindow, menu);
}
