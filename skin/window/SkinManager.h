// TSkinManage: decides which windows of the program are painted from the skin, finds them as
// they appear (a CBT hook of the GUI thread and sweeps over the open forms), attaches a frame to
// each, and runs the skin data components' apply, remove and refresh requests.
#pragma once

#include "toolkit/Timer.h"
#include "toolkit/WinHandle.h"
#include "toolkit/WindowHandler.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TSkinData;
class TWinControl;
class TWinSkinForm;
class TWinSkinPopMenu;

enum class TSkinAction : std::int32_t { None = 0, Activate = 1, Deactivate = 2, Refresh = 3 };

class TSkinManage {
public:
    // RunState values.
    static constexpr std::int32_t kIdle = 0;     // no window activated yet
    static constexpr std::int32_t kRunning = 1;
    static constexpr std::int32_t kShuttingDown = 4;
    // A form with this Tag is never framed, whatever DisableTag says.
    static constexpr std::intptr_t kNeverFrameTag = 99;

    TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;
    ~TSkinManage();

    void InstallHook();
    void RegisterSkinData(TSkinData* skinData);
    void UnregisterSkinData(TSkinData* skinData);
    // Runs the action on PendingSkinData after delayMs; before any window was activated only
    // switches SkinningEnabled for actions 1 and 2.
    void RequestAction(TSkinAction action, unsigned delayMs);
    void RunPendingAction();
    void DropCaptionButtons();

    // Frames the window when every test passes; true when a frame was made.
    bool SkinWindow(HWND hwnd);
    void SkinVisibleForm(TCustomForm* form);
    TWinSkinForm* FindFrame(HWND hwnd) const noexcept;
    // Unframes and frees the frame of hwnd, if any.
    void RemoveFrame(HWND hwnd);
    // Frees the frames whose window was destroyed.
    void PurgeFrames();
    void SetMdiMaximized(bool on);
    // A popup menu window as it is made; it is painted when the popup's source is among the
    // kinds of controls the skin paints.
    void SkinPopupMenu(HWND hwnd);
    // The wrapper of a popup menu window that goes gives the window back and is freed; true
    // when there was one.
    bool ReleasePopupMenu(HWND hwnd);
    TWinSkinPopMenu* FindPopup(HWND hwnd) const noexcept;
    // The kinds of controls the skin paints hold the current popup's source.
    bool PopupSourceAllowed(const TSkinData& skinData) const noexcept;

    // The toolkit object behind a window: an open form, or the control the toolkit keeps on it.
    static TWinControl* FindForm(HWND hwnd) noexcept;
    // WS_CHILD without WS_EX_MDICHILD, and a parent that is not an MDI client.
    static bool IsPlainChildWindow(HWND hwnd);
    bool PassesNameFilter(HWND hwnd, const std::wstring& className);
    TSkinData* FindSkinData(HWND hwnd, const std::wstring& className) const;

    // The CBT hook's events, after the hook procedure has let inert and negative codes pass.
    void HookEvent(int code, WPARAM wParam, LPARAM lParam);

    std::vector<THandlerPtr<TWinSkinForm>> FrameList;
    std::vector<THandlerPtr<TWinSkinPopMenu>> PopupList;
    std::vector<TSkinData*> SkinDataList;
    bool SkinningEnabled = false;
    bool Sweeping = false;
    std::int32_t RunState = kIdle;
    std::int32_t PopupSource = 0; // 0 context popup, 1 menu bar popup, 2 system menu
    bool MenuBarTracking = false;
    bool MdiMaximized = false;
    HWND MdiClient = nullptr;
    TWinControl* MdiMainForm = nullptr;
    TSkinAction PendingAction = TSkinAction::None;
    TSkinData* PendingSkinData = nullptr;
    TSkinData* PrimarySkinData = nullptr;
    // GetVersion's answer when the hook went in; its top bit marks a Windows 9x system.
    DWORD PlatformVersion = 0;

private:
    void ActivateAll(TSkinData* skinData);
    void DeactivateAll(TSkinData* skinData);
    void RefreshAll(TSkinData* skinData);
    void Unframe(THandlerPtr<TWinSkinForm> frame);

    std::unique_ptr<TTimer> FActionTimer;
    win::Hook FHook;
};

// The one manager; none until the first skin data component finishes loading.
extern TSkinManage* SkinManager;
// When set, the hook only passes events on (the manager is gone or going).
extern bool HookInert;

void CreateSkinManager();
// Program end: the manager goes with everything it attached.
void DestroySkinManager() noexcept;

// The class name of a window as the rules compare it.
std::wstring WindowClassName(HWND hwnd);
