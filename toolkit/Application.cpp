// Message loop and the boxes the application shows.
#include "toolkit/Application.h"

#include "toolkit/CallbackGuard.h"
#include "toolkit/Exception.h"
#include "toolkit/Form.h"
#include "toolkit/MenuMessages.h"

#include <algorithm>
#include <commctrl.h>

TApplication* Application = nullptr;

namespace {
bool IsDialogKey(WPARAM key)
{
    switch (key) {
    case VK_TAB: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL:
        return true;
    default:
        return false;
    }
}
} // namespace

const TClassInfo TApplication::StaticClass{L"TApplication", &TComponent::StaticClass, {}};

void HandleCallbackException(std::exception_ptr error) noexcept
{
    if (Application)
        Application->HandleException(error);
}

TApplication::TApplication() : TComponent(nullptr)
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring title = path;
    title = title.substr(title.find_last_of(L"\\/") + 1);
    FTitle = title.substr(0, title.find_last_of(L'.'));
    Application = this;
}

TApplication::~TApplication()
{
    // Forms go first, while Application still answers their questions.
    while (ComponentCount() > 0)
        FreeComponent(Components(ComponentCount() - 1));
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    const INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&icc);
}

void TApplication::RemoveForm(TCustomForm* form)
{
    std::erase(FForms, form);
    if (FMainForm == form)
        FMainForm = nullptr;
}

void TApplication::Run()
{
    if (FMainForm)
        FMainForm->Show();
    MSG msg;
    while (!FTerminated) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!HandleDialogKeys(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    FTerminated = true;
}

bool TApplication::HandleDialogKeys(MSG& msg)
{
    // Tab and arrow navigation between controls, in tab order, as dialogs have it.
    HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    for (TCustomForm* form : FForms) {
        if (!form->HandleAllocated() || form->Handle() != top)
            continue;
        // Menu shortcuts work wherever the focus is in the form, as the menu shows them.
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form->IsShortCut(ShortCutFromKey(msg.wParam)))
            return true;
        // The form's hook sees Alt+letters and dialog keys first: a skinned menu bar takes
        // its accelerators there before the dialog manager looks for a mnemonic.
        if (msg.message == WM_SYSCHAR && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0)
            return true;
        if (msg.message == WM_KEYDOWN && IsDialogKey(msg.wParam) &&
            form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0)
            return true;
        return ::IsDialogMessageW(top, &msg) != FALSE;
    }
    return false;
}

void TApplication::Terminate()
{
    FTerminated = true;
    ::PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            break;
        }
        if (!HandleDialogKeys(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags)
{
    if (OnMessageBox)
        return OnMessageBox(text, caption, flags);
    HWND owner = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowMessage(const std::wstring& text)
{
    MessageBox(text, FTitle, MB_OK);
}

std::wstring TApplication::ExceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return Utf8ToWide(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

void TApplication::HandleException(std::exception_ptr error) noexcept
{
    try {
        const std::wstring message = ExceptionMessage(error);
        if (OnException)
            OnException(message);
        else
            MessageBox(message, FTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing more can be done from inside a window procedure.
    }
}
