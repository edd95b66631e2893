// The windows whose background is filled with the skin's face brush.
#include "skin/controls/SkinBoxH.h"

#include "skin/window/SkinData.h"

namespace {

// The children paint their backgrounds with what the window answers, so they go along.
void RedrawWithChildren(HWND hwnd)
{
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace

const TClassInfo TSkinBoxH::StaticClass{L"TSkinBoxH", &TSkinControl::StaticClass, {}};

bool TSkinBoxH::AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame)
{
    if (!TSkinControl::AttachHandle(hwnd, skinData, frame))
        return false;
    RedrawWithChildren(hwnd);
    return true;
}

void TSkinBoxH::DetachWrapper()
{
    const bool wasAttached = Attached();
    const HWND hwnd = FWindow;
    TSkinControl::DetachWrapper();
    if (wasAttached && WrapperState() != TWrapperState::WindowDestroyed && ::IsWindow(hwnd))
        RedrawWithChildren(hwnd);
}

bool TSkinBoxH::BeforeMessage(TMessage& Message)
{
    if (Message.Msg != WM_ERASEBKGND || !FSkinData || !FSkinData->FaceBrush())
        return TSkinControl::BeforeMessage(Message);
    RECT client{};
    ::GetClientRect(FWindow, &client);
    ::FillRect(reinterpret_cast<HDC>(Message.WParam), &client, FSkinData->FaceBrush());
    Message.Result = 1;
    return false;
}

void TSkinBoxH::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Only the system's default answer is replaced; a colour the window chose stays.
        if (FSkinData && FSkinData->FaceBrush() &&
            reinterpret_cast<HBRUSH>(Message.Result) == ::GetSysColorBrush(COLOR_BTNFACE)) {
            const TSkinObjects& skin = FSkinData->Skin();
            ::SetBkColor(reinterpret_cast<HDC>(Message.WParam), ResolveColor(skin.ButtonFace(), skin.SystemColors()));
            Message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
        }
        break;
    default:
        TSkinControl::AfterMessage(Message);
        break;
    }
}
