// TWinSkinForm: the frame that replaces one window's border, caption, caption buttons and menu
// bar band with the skin. It takes over the window's procedure (and a toolkit form's hook),
// tells the system that the client area lies inside the skin's borders, paints the non-client
// area, answers hit tests and non-client mouse messages, and gives the window a shaped region.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"
#include "skin/window/CaptionButtons.h"
#include "skin/window/CaptionComposer.h"
#include "skin/window/FrameGeometry.h"
#include "skin/window/SysButtons.h"
#include "toolkit/Component.h"
#include "toolkit/MessageLink.h"
#include "toolkit/Timer.h"
#include "toolkit/WinHandle.h"
#include "toolkit/WindowHandler.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TControl;
class TCustomForm;
class TMdiClientLink;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TSkinControl;
class TSkinData;
class TWinControl;
class TWinSkinMenu;

enum class TFrameState : std::int32_t {
    Attaching = 0,
    Active = 1,
    Refreshing = 3,
    Destroying = 4, // WM_NCDESTROY is on its way through the old procedure
    Resizing = 5,
    WindowDestroyed = 6, // the manager frees the frame at its next purge
};

// The handler base comes first, so the object and its handler part share one address.
class TWinSkinForm : public TWindowHandler, public TComponent {
    TK_CLASS(TWinSkinForm)
public:
    TWinSkinForm(HWND hwnd, std::wstring className);
    ~TWinSkinForm() override;

    bool AttachForm(TSkinData* skinData, TCustomForm* form);
    bool AttachWindow(TSkinData* skinData);
    void FinishSkin();
    // Gives the window back everything: procedure, hook, colour, system menu style, size, region.
    void Detach();
    void RefreshAll();
    void ComputeBorders();
    void FreeCaptionButtons();
    void PaintFrame(HDC dc = nullptr);
    void UpdateRegion();
    void MdiMaximizedChanged(bool on);

    HWND WindowHandle() const noexcept { return FWindow; }
    TCustomForm* FormControl() const noexcept { return FForm; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    TFrameState FrameState() const noexcept { return FState; }
    TMdiRole MdiRole() const noexcept { return FMdiRole; }
    TBorderKind BorderKind() const noexcept { return FBorderKind; }
    TShowState ShowState() const noexcept { return FShowState; }
    bool IsActive() const noexcept { return FIsActive; }
    bool FramePainting() const noexcept { return FFramePainting; }
    const TFrameBorders& Borders() const noexcept { return FBorders; }
    int MenuBarHeight() const noexcept { return FMenuBarHeight; }
    std::uint32_t CaptionBoxes() const noexcept { return FCaptionBoxes; }
    bool HasRegion() const noexcept { return FRegionSize.cx != 0 || FRegionSize.cy != 0; }
    // The MDI main form's client window while the frame holds it, else none.
    HWND MdiClientWindow() const noexcept;
    // The MDI main form shows its maximized active child's buttons in its menu bar band.
    bool MdiChildButtonsShown() const;

    // The control wrappers the frame owns. Registering takes ownership and gives the wrapper
    // back borrowed; registering one already listed does nothing.
    TSkinControl* RegisterWrapper(THandlerPtr<TSkinControl> wrapper);
    const std::vector<THandlerPtr<TSkinControl>>& WrapperList() const noexcept { return FWrappers; }
    TSkinControl* FindWrapper(HWND hwnd) const noexcept;
    // Wraps the form's controls that have none yet; wrappers of destroyed windows go first.
    void WrapFormControls();
    void WrapControl(TControl* control);
    // The child windows of a window the toolkit did not make, by their class and style.
    void WrapChildWindows(HWND parent);
    void WrapChildWindow(HWND hwnd);
    // Drops the wrappers whose control window was destroyed.
    void PurgeWrappers();

    // Caption buttons, as the skin lists them.
    std::vector<TCaptionButton>& CaptionButtons() noexcept { return FButtons; }
    const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const noexcept { return FSysButtons; }
    TNCObject* HotObject = nullptr;
    TTimer* HoverTimer() const noexcept { return FHoverTimer; }

    // Frame coordinates of a screen point.
    TFramePoint ToFrameCoords(POINT screen) const;
    // Repaints one caption button in its state, straight to the window.
    void PaintSysButton(size_t index);
    void DoSysButtonAction(size_t index, POINT screen);
    void ShowSysMenu(POINT screen);
    void OnHoverTimer();

    // The skinned menu bar, while the window has a menu and the frame paints.
    TWinSkinMenu* MenuBar() const noexcept { return FMenuBar.get(); }
    // Set while a menu bar item's popup is open.
    bool MenuTracking() const noexcept { return FMenuTracking; }
    void SetMenuTracking(bool on) noexcept { FMenuTracking = on; }
    // Presses the menu bar item at a screen point: it opens and stays the hot object; true
    // when there was one.
    bool PressMenuBarItemAt(POINT screen);
    // The window's menu was changed behind the bar (an MDI frame's menu set by its client).
    void MenuBarWindowMenuChanged();
    // Menus the skin draws (WinSkinFormMenuItems.cpp): the form's main menus' items below the
    // top level, its popup menus and those of forms it owns; letting go clears only the
    // handlers the skin gave.
    void OwnerDrawMainMenus();
    void OwnerDrawPopupMenus();
    enum class TMenuRelease { Whole, WindowGoing };
    void ReleaseOwnerDrawnMenus(TMenuRelease how);
    // The skinned system menu, built from the window's system menu each time it is shown;
    // null while none was shown.
    TPopupMenu* SysMenuPopup() const noexcept { return FSysMenuPopup; }
    bool SystemMenuAllowsClose() const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FrameWndProc(TMessage& Message);
    bool Stage2(TMessage& Message);
    bool Stage3(TMessage& Message);
    void FormWindowProc(TMessage& Message);
    void CallOld(TMessage& Message) { FWindowLink.CallPrevious(Message); }

    void WMNCCalcSize(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMNCActivate(TMessage& Message);
    void WMNCMouseMove(TMessage& Message);
    void WMNCLButtonDown(TMessage& Message);
    void WMNCLButtonUp(TMessage& Message);
    void WMNCLButtonDblClk(TMessage& Message);
    void WMNCRButtonDown(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void WMCtlColor(TMessage& Message);
    // WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR of the system menu and the window's menu.
    bool MenuItemMessage(TMessage& Message);
    bool MeasureWindowMenuItem(MEASUREITEMSTRUCT& measure, TMessage& Message);
    bool DrawWindowMenuItem(const DRAWITEMSTRUCT& draw, TMessage& Message);
    HMENU WindowMenu() const;
    TMenuItem* WindowMenuItem(UINT command) const;
    bool DrawnByForm(ULONG_PTR itemData) const;
    bool IsSysMenuPopup(HMENU menu) const noexcept;
    void BuildSysMenuPopup();
    void TrackSysMenuPopup(POINT screen);

    void ReadWindowState();
    // The MDI paths: finding and taking over the main form's client, letting it go, and a
    // child's size change.
    void AttachMdiClient();
    void DetachMdiClient();
    void MdiChildSized();
    bool MaximizedMdiChild() const noexcept
    {
        return FMdiRole == TMdiRole::Child && FShowState == TShowState::Maximized;
    }
    void PostMdiRedraw() const;
    void LoadWindowIcon();
    void ResizeToKeepClient(bool reread);
    void SetSysMenuStyle(bool on);
    void DetachOnDestroy();
    // Menu bar side (WinSkinFormMenuBar.cpp).
    void CreateMenuBar();
    void PressMenuBarItem(size_t index);
    bool MenuBarMouseMove(POINT screen);
    bool MenuBarSysCommand(TMessage& Message);
    bool MenuBarDialogChar(TMessage& Message);
    void MenuBarMenuChanged();
    // Gives the window its own menu back; the client keeps its size across the change of frame.
    void RestoreWindowMenu(bool alive);
    void PaintBorderPiece(HDC dc, TBorderSide side, const TPixelRect& r);
    void PaintTitle(HDC dc);
    void PaintCaptionText(HDC bandDC, TCaptionScene& scene);
    TPixelRect WindowSize() const;
    TCaptionWindow CaptionWindowFacts() const;
    bool SysButtonsReady();
    std::wstring WindowText() const;
    void RecalcFrame() const;
    bool IsWrapped(TWinControl* control) const;
    bool WrapByMapping(const std::wstring& className, TWinControl* control);
    void WrapByDefaultRules(TWinControl* control, const std::wstring& className);
    void WrapChildren(TWinControl* control);
    // Registers and attaches a wrapper; one that cannot attach is dropped again (null).
    TSkinControl* AttachWrapper(THandlerPtr<TSkinControl> wrapper, bool useSkinColour);
    TSkinControl* AttachHandleWrapper(THandlerPtr<TSkinControl> wrapper, HWND hwnd);
    void DropWrapper(const TSkinControl* wrapper);
    // A scrollable control's window was made again: its old wrapper goes, a new one comes.
    void RewrapScroll(HWND oldWindow);
    // Lets every wrapper go, each giving its control back first.
    void FreeWrappers();

    HWND FWindow;
    std::wstring FClassName;
    TCustomForm* FForm = nullptr;
    TSkinData* FSkinData = nullptr;
    TMessageLink FWindowLink;
    TMessageLink FFormLink;
    bool FAttached = false;
    bool FFramePainting = false;
    TFrameState FState = TFrameState::Attaching;
    std::vector<THandlerPtr<TSkinControl>> FWrappers;
    THandlerPtr<TMdiClientLink> FMdiClient;
    TBorderKind FBorderKind = TBorderKind::Sizeable;
    std::uint32_t FCaptionBoxes = 0;
    TMdiRole FMdiRole = TMdiRole::None;
    TShowState FShowState = TShowState::Normal;
    bool FIsActive = true;
    bool FRightToLeft = false;
    bool FChild = false;
    bool FSizeable = false;
    bool FUnicode = true;
    bool FDialog = false;
    HWND FOwner = nullptr;
    TFrameBorders FBorders;
    int FMenuBarHeight = 0;
    SIZE FSystemSizes{};       // window size minus client size before framing
    RECT FSavedClient{};
    TPixelRect FCaptionTextRect;
    TPixelRect FCaptionBackground;
    int FRightButtonArea = 0;
    std::vector<TCaptionButton> FButtons;
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    TTimer* FHoverTimer = nullptr;
    HMENU FSystemMenu = nullptr;
    TPixelBuffer FIcon;            // the window's small icon on the key colour
    TPixelBuffer FTitleBitmap;     // the caption band as last painted
    TPixelBuffer FTitleBackground; // the same before the buttons, for repainting one button
    SIZE FRegionSize{};
    TColor FSavedColour = 0;
    DWORD FLastSysMenuTime = 0;
    TPopupMenu* FSysMenuPopup = nullptr;
    std::vector<TMenu*> FOwnerDrawnMenus; // whose OwnerDraw the skin turned on
    bool FSysMenuShown = false;
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    bool FMenuTracking = false;
};
