// The skinned edits: the border after the edit's own painting, printing, and the spin edit's up-down.
#include "skin/controls/SkinEdit.h"

#include "skin/controls/SkinUpDown.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "toolkit/SysUtils.h"
#include "toolkit/WinHandle.h"

namespace {

constexpr int kButtonShadowEntry = 7;

bool IsUpDownClass(HWND hwnd)
{
    wchar_t name[64]{};
    ::GetClassNameW(hwnd, name, 64);
    const std::wstring lower = LowerCase(name);
    return lower == L"msctls_updown32" || lower.find(L"spin") != std::wstring::npos ||
        lower.find(L"updown") != std::wstring::npos;
}

void FrameLine(HDC dc, const RECT& r, COLORREF colour)
{
    const win::GdiObject<HBRUSH> brush(::CreateSolidBrush(colour));
    ::FrameRect(dc, &r, brush.get());
}

} // namespace

const TClassInfo TSkinEdit::StaticClass{L"TSkinEdit", &TSkinControl::StaticClass, {}};

bool TSkinEdit::Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour)
{
    if (!TSkinControl::Attach(frame, skinData, useSkinColour))
        return false;
    WrapUpDown();
    PaintBorder();
    return true;
}

bool TSkinEdit::AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame)
{
    if (!TSkinControl::AttachHandle(hwnd, skinData, frame))
        return false;
    WrapUpDown();
    ::RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return true;
}

void TSkinEdit::WrapUpDown()
{
    if (!FFrame || !FSkinData->SkinControls().Contains(TSkinControlType::xcSpin))
        return;
    for (HWND child = ::GetWindow(FWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsUpDownClass(child) || FFrame->FindWrapper(child))
            continue;
        auto upDown = MakeHandler<TSkinUpDown>();
        if (upDown->AttachHandle(child, FSkinData, FFrame))
            FFrame->RegisterWrapper(std::move(upDown));
    }
}

bool TSkinEdit::HasBorder() const
{
    RECT window{}, client{};
    ::GetWindowRect(FWindow, &window);
    ::GetClientRect(FWindow, &client);
    return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

bool TSkinEdit::BeforeMessage(TMessage& Message)
{
    if (Message.Msg == SKM_PAINTCONTROLTO && Message.LParam == kSkinSignature) {
        TMessage paint{WM_PAINT, Message.WParam, 0, 0};
        CallPrevious(paint);
        Message.Result = kSkinSignature;
        return false;
    }
    if (Message.Msg == WM_PRINT) {
        // The system's printing may leave the context's origin and clipping moved to the client.
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        const int saved = ::SaveDC(dc);
        CallPrevious(Message);
        ::RestoreDC(dc, saved);
        // Only a print of the frame has the window's origin; the client alone has no border.
        if (Message.LParam & PRF_NONCLIENT) {
            RECT window{};
            ::GetWindowRect(FWindow, &window);
            Draw(dc, {0, 0, window.right - window.left, window.bottom - window.top});
        }
        return false;
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinEdit::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        PaintBorder();
        break;
    case WM_PAINT:
        // The innermost line lies on the client's edge, which the edit's own painting covers.
        if (!Message.WParam)
            PaintBorder();
        break;
    default:
        TSkinControl::AfterMessage(Message);
        break;
    }
}

void TSkinEdit::PaintControl(HDC dc)
{
    // The base would draw on the client's context, where the border's outer lines do not reach.
    if (dc)
        TSkinControl::PaintControl(dc);
    else
        PaintBorder();
}

void TSkinEdit::PaintBorder()
{
    if (!Attached() || !SkinActive() || !HasBorder())
        return;
    RECT window{};
    ::GetWindowRect(FWindow, &window);
    const win::NonClientDC dc(FWindow);
    Draw(dc.get(), {0, 0, window.right - window.left, window.bottom - window.top});
}

void TSkinEdit::Draw(HDC dc, const RECT& rect)
{
    if (!FSkinData || !HasBorder())
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const COLORREF shadow = ResolveColor(skin.SysColours[kButtonShadowEntry], skin.SystemColors());
    FrameLine(dc, rect, shadow);
    for (int inset = 1; inset <= 2; ++inset) {
        const RECT line{rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset};
        FrameLine(dc, line, RGB(255, 255, 255));
    }
}
