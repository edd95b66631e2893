// The skin manager: its hook, the tests a window passes before it is framed, the skin data
// components it serves, and the timed actions.
#include "skin/window/SkinManager.h"

#include "skin/menus/WinSkinPopMenu.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "toolkit/Application.h"
#include "toolkit/CallbackGuard.h"
#include "toolkit/Form.h"
#include "toolkit/SysUtils.h"

#include <algorithm>

TSkinManage* SkinManager = nullptr;
bool HookInert = false;

namespace {

// Owns the manager for the program's life; it goes at program end after the forms.
std::unique_ptr<TSkinManage>& ManagerOwner()
{
    static std::unique_ptr<TSkinManage> owner;
    return owner;
}

LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (!HookInert && code >= 0 && SkinManager)
        GuardCallback([&] { SkinManager->HookEvent(code, wParam, lParam); });
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != std::wstring_view::npos; }

} // namespace

std::wstring WindowClassName(HWND hwnd)
{
    wchar_t name[256] = L"";
    const int length = ::GetClassNameW(hwnd, name, 256);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

void CreateSkinManager()
{
    if (SkinManager)
        return;
    ManagerOwner() = std::make_unique<TSkinManage>();
    SkinManager = ManagerOwner().get();
    HookInert = false;
}

void DestroySkinManager() noexcept
{
    ManagerOwner().reset();
}

TSkinManage::TSkinManage() : FActionTimer(std::make_unique<TTimer>(nullptr))
{
    FActionTimer->SetEnabled(false);
    FActionTimer->SetInterval(100);
    FActionTimer->OnTimer = [this](TObject*) { RunPendingAction(); };
}

TSkinManage::~TSkinManage()
{
    RunState = kShuttingDown;
    SkinningEnabled = false;
    FActionTimer.reset();
    while (!FrameList.empty()) {
        THandlerPtr<TWinSkinForm> frame = std::move(FrameList.front());
        FrameList.erase(FrameList.begin());
        frame->Detach();
    }
    // Popup wrappers give their windows back as they go.
    PopupList.clear();
    SkinDataList.clear();
    PrimarySkinData = nullptr;
    PendingSkinData = nullptr;
    FHook.reset();
    HookInert = true;
    if (SkinManager == this)
        SkinManager = nullptr;
}

void TSkinManage::InstallHook()
{
    if (FHook)
        return;
    PlatformVersion = ::GetVersion();
    FHook.reset(::SetWindowsHookExW(WH_CBT, CbtHookProc, nullptr, ::GetCurrentThreadId()));
}

void TSkinManage::HookEvent(int code, WPARAM wParam, LPARAM lParam)
{
    const auto hwnd = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HCBT_ACTIVATE:
        if (RunState == kIdle)
            RunState = kRunning;
        SkinWindow(hwnd);
        break;
    case HCBT_DESTROYWND:
        ReleasePopupMenu(hwnd);
        break;
    case HCBT_CREATEWND: {
        const CREATESTRUCTW* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
        // A size grip made on a framed window and a popup menu window get their wrappers as
        // they are made; an MDI child is framed as it is made.
        if (create->hwndParent && (create->style & SBS_SIZEGRIP) && WindowClassName(hwnd) == L"ScrollBar") {
            if (TWinSkinForm* frame = FindFrame(create->hwndParent))
                frame->WrapChildWindow(hwnd);
        }
        if (!(create->style & WS_CHILD) && WindowClassName(hwnd) == L"#32768")
            SkinPopupMenu(hwnd);
        if (create->dwExStyle & WS_EX_MDICHILD)
            SkinWindow(hwnd);
        break;
    }
    default:
        break;
    }
}

TWinControl* TSkinManage::FindForm(HWND hwnd) noexcept
{
    if (Application) {
        for (size_t i = 0; i < Application->FormCount(); ++i) {
            TCustomForm* form = Application->Forms(i);
            if (form->HandleAllocated() && form->Handle() == hwnd)
                return form;
        }
    }
    return FindControl(hwnd);
}

bool TSkinManage::IsPlainChildWindow(HWND hwnd)
{
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (!(style & WS_CHILD) || (exStyle & WS_EX_MDICHILD))
        return false;
    return LowerCase(WindowClassName(::GetParent(hwnd))) != L"mdiclient";
}

bool TSkinManage::SkinWindow(HWND hwnd)
{
    if (!SkinningEnabled || !::IsWindow(hwnd))
        return false;
    PurgeFrames();
    if (::SendMessageW(hwnd, SKM_QUERYSKINNED, 0, 0) == 1 || FindFrame(hwnd))
        return false;
    if (!Sweeping && IsPlainChildWindow(hwnd))
        return false;
    TWinControl* const form = FindForm(hwnd);
    const std::wstring className = WindowClassName(hwnd);
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    if (!form && instance != ::GetModuleHandleW(nullptr) && className != L"#32770")
        return false;
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    const bool mdiChild = (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild)
        return false;
    if (form && form->Tag() == kNeverFrameTag)
        return false;
    if (Contains(className, L"TcxPopupEditPopupWindow") || Contains(className, L"TTERenderWindow") ||
        className == L"TApplication")
        return false;
    if (!PassesNameFilter(hwnd, className))
        return false;
    TSkinData* const skinData = FindSkinData(hwnd, className);
    if (!skinData || skinData->SkinLoading())
        return false;

    auto frame = MakeHandler<TWinSkinForm>(hwnd, className);
    auto* customForm = As<TCustomForm>(form);
    const bool attached = customForm ? frame->AttachForm(skinData, customForm) : frame->AttachWindow(skinData);
    if (!attached)
        return false;
    FrameList.push_back(std::move(frame));
    ::PostMessageW(hwnd, SKM_FINISHSKIN, 0, 1000);
    return true;
}

bool TSkinManage::PassesNameFilter(HWND hwnd, const std::wstring& className)
{
    bool pass = true;
    if (!PrimarySkinData)
        return pass;
    const std::wstring lower = LowerCase(className);
    if (!PrimarySkinData->Options().Contains(TSkinOption::xoPreview) && Contains(lower, L"preview"))
        pass = false;
    if (className == L"#32770" && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & 0x200))
        pass = false;
    if (lower == L"tpopupdbtreeview")
        pass = false;
    PrimarySkinData->FilterForm(hwnd, className, pass);
    return pass;
}

TSkinData* TSkinManage::FindSkinData(HWND hwnd, const std::wstring& className) const
{
    auto lastOf = [&](auto test) -> TSkinData* {
        for (auto it = SkinDataList.rbegin(); it != SkinDataList.rend(); ++it)
            if (test(**it))
                return *it;
        return nullptr;
    };
    if (TSkinData* own = lastOf([&](TSkinData& sd) {
            auto* form = As<TCustomForm>(sd.Owner());
            return sd.SkinFormtype() == TSkinFormType::sfOnlyThisForm && form && form->HandleAllocated() &&
                form->Handle() == hwnd;
        }))
        return own;
    const std::wstring lower = LowerCase(className);
    if (lower == L"tmessageform" || lower == L"#32770")
        if (TSkinData* dialog = lastOf([](TSkinData& sd) { return sd.SkinFormtype() == TSkinFormType::sfDialog; }))
            return dialog;
    if (TSkinData* main = lastOf([](TSkinData& sd) { return sd.SkinFormtype() == TSkinFormType::sfMainform; }))
        return main;
    return SkinDataList.empty() ? nullptr : SkinDataList.front();
}

void TSkinManage::RegisterSkinData(TSkinData* skinData)
{
    if (std::find(SkinDataList.begin(), SkinDataList.end(), skinData) != SkinDataList.end())
        return;
    SkinDataList.push_back(skinData);
    if (!PrimarySkinData && skinData->SkinFormtype() == TSkinFormType::sfMainform)
        PrimarySkinData = skinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* skinData)
{
    std::erase(SkinDataList, skinData);
    // Nothing may reach a component that is gone: not the references, not its frames.
    if (PrimarySkinData == skinData)
        PrimarySkinData = nullptr;
    if (PendingSkinData == skinData) {
        PendingSkinData = nullptr;
        FActionTimer->SetEnabled(false);
    }
    for (size_t i = FrameList.size(); i-- > 0;) {
        if (FrameList[i]->SkinData() != skinData)
            continue;
        THandlerPtr<TWinSkinForm> frame = std::move(FrameList[i]);
        FrameList.erase(FrameList.begin() + std::ptrdiff_t(i));
        Unframe(std::move(frame));
    }
}

void TSkinManage::RequestAction(TSkinAction action, unsigned delayMs)
{
    PendingAction = action;
    FActionTimer->SetInterval(delayMs);
    if (RunState != kIdle) {
        FActionTimer->SetEnabled(true);
        return;
    }
    // Before the first activation the hook frames each window as it is activated.
    if (action == TSkinAction::Activate || action == TSkinAction::Deactivate)
        SkinningEnabled = action == TSkinAction::Activate;
}

void TSkinManage::RunPendingAction()
{
    FActionTimer->SetEnabled(false);
    TSkinData* const sd = PendingSkinData;
    if (!sd)
        return;
    switch (PendingAction) {
    case TSkinAction::Activate: ActivateAll(sd); break;
    case TSkinAction::Deactivate: DeactivateAll(sd); break;
    case TSkinAction::Refresh: RefreshAll(sd); break;
    case TSkinAction::None: break;
    }
    // Cleared before the component hears of it, so that a request its handler makes (Active
    // switched back, say) stays pending. The action may have let the component go (a form
    // closed under it): only a registered one is told.
    PendingSkinData = nullptr;
    if (std::find(SkinDataList.begin(), SkinDataList.end(), sd) != SkinDataList.end())
        sd->SkinChanged();
}

void TSkinManage::ActivateAll(TSkinData* sd)
{
    SkinningEnabled = true;
    Sweeping = true;
    const size_t count = Application ? Application->FormCount() : 0;
    if (sd->SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
        for (size_t i = count; i-- > 0;)
            if (Application->Forms(i) == sd->Owner()) {
                SkinVisibleForm(Application->Forms(i));
                break;
            }
    } else {
        PurgeFrames();
        for (size_t i = count; i-- > 0;)
            if (i < Application->FormCount())
                SkinVisibleForm(Application->Forms(i));
    }
    Sweeping = false;
}

void TSkinManage::DeactivateAll(TSkinData* sd)
{
    SkinningEnabled = false;
    PurgeFrames();
    if (sd->SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
        for (size_t i = FrameList.size(); i-- > 0;)
            if (FrameList[i]->SkinData() == sd) {
                THandlerPtr<TWinSkinForm> frame = std::move(FrameList[i]);
                FrameList.erase(FrameList.begin() + std::ptrdiff_t(i));
                Unframe(std::move(frame));
                break;
            }
        return;
    }
    while (!FrameList.empty()) {
        THandlerPtr<TWinSkinForm> frame = std::move(FrameList.front());
        FrameList.erase(FrameList.begin());
        Unframe(std::move(frame));
    }
}

void TSkinManage::RefreshAll(TSkinData* sd)
{
    PurgeFrames();
    if (sd->SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
        for (auto& frame : FrameList)
            if (frame->SkinData() == sd) {
                frame->FreeCaptionButtons();
                frame->ComputeBorders();
                frame->RefreshAll();
                break;
            }
        return;
    }
    // Every frame first takes its new sizes, then each repaints, so that windows that own one
    // another are laid out before any of them paints.
    for (auto& frame : FrameList)
        if (frame->SkinData() == sd) {
            frame->FreeCaptionButtons();
            frame->ComputeBorders();
        }
    for (size_t i = 0; i < FrameList.size(); ++i)
        if (FrameList[i]->SkinData() == sd)
            FrameList[i]->RefreshAll();
}

void TSkinManage::Unframe(THandlerPtr<TWinSkinForm> frame)
{
    const HWND hwnd = frame->WindowHandle();
    frame->Detach();
    if (::IsWindow(hwnd))
        ::RedrawWindow(hwnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TSkinManage::SkinVisibleForm(TCustomForm* form)
{
    if (!form || !form->Visible() || !form->HandleAllocated())
        return;
    if (::GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CHILD)
        return;
    SkinWindow(form->Handle());
}

void TSkinManage::DropCaptionButtons()
{
    for (auto& frame : FrameList)
        if (frame->SkinData() == PendingSkinData)
            frame->FreeCaptionButtons();
}

TWinSkinForm* TSkinManage::FindFrame(HWND hwnd) const noexcept
{
    for (const auto& frame : FrameList)
        if (frame->WindowHandle() == hwnd && frame->FrameState() != TFrameState::WindowDestroyed)
            return frame.get();
    return nullptr;
}

void TSkinManage::RemoveFrame(HWND hwnd)
{
    for (size_t i = 0; i < FrameList.size(); ++i) {
        if (FrameList[i]->WindowHandle() != hwnd)
            continue;
        THandlerPtr<TWinSkinForm> frame = std::move(FrameList[i]);
        FrameList.erase(FrameList.begin() + std::ptrdiff_t(i));
        Unframe(std::move(frame));
        return;
    }
}

void TSkinManage::PurgeFrames()
{
    std::erase_if(FrameList, [](const THandlerPtr<TWinSkinForm>& frame) {
        return frame->FrameState() == TFrameState::WindowDestroyed;
    });
}

void TSkinManage::SetMdiMaximized(bool on)
{
    if (on == MdiMaximized)
        return;
    MdiMaximized = on;
    if (PrimarySkinData && PrimarySkinData->Options().Contains(TSkinOption::xoMDIChildBorder))
        return;
    for (auto& frame : FrameList)
        if (frame->MdiRole() == TMdiRole::Child)
            frame->MdiMaximizedChanged(on);
}

void TSkinManage::SkinPopupMenu(HWND hwnd)
{
    if (!SkinningEnabled || ::SendMessageW(hwnd, SKM_QUERYSKINNED, 0, 0) == 1 || FindPopup(hwnd))
        return;
    TSkinData* skinData = FindSkinData(hwnd, L"#32768");
    if (!skinData || skinData->SkinLoading())
        return;
    // Whether the popup's source allows skinning is asked at its first paint: Wine makes the
    // menu window before its owner hears WM_INITMENUPOPUP, which tells the source. Every popup
    // has a wrapper until it goes, so the source is always reset after the last.
    auto wrapper = MakeHandler<TWinSkinPopMenu>();
    if (wrapper->Attach(hwnd, skinData))
        PopupList.push_back(std::move(wrapper));
}

bool TSkinManage::PopupSourceAllowed(const TSkinData& skinData) const noexcept
{
    const TSkinControlTypes kinds = skinData.SkinControls();
    switch (PopupSource) {
    case 0: return kinds.Contains(TSkinControlType::xcPopupMenu);
    case 1: return kinds.Contains(TSkinControlType::xcMainMenu) || kinds.Contains(TSkinControlType::xcMenuItem);
    case 2: return kinds.Contains(TSkinControlType::xcSystemMenu);
    default: return false;
    }
}

bool TSkinManage::ReleasePopupMenu(HWND hwnd)
{
    const auto found = std::find_if(PopupList.begin(), PopupList.end(), [&](const auto& p) { return p->Window() == hwnd; });
    if (found == PopupList.end())
        return false;
    THandlerPtr<TWinSkinPopMenu> wrapper = std::move(*found);
    PopupList.erase(found);
    wrapper->Restore();
    wrapper.reset();
    if (PopupList.empty()) {
        MenuBarTracking = false;
        PopupSource = 0;
    }
    return true;
}

TWinSkinPopMenu* TSkinManage::FindPopup(HWND hwnd) const noexcept
{
    for (const auto& p : PopupList)
        if (p->Window() == hwnd)
            return p.get();
    return nullptr;
}
