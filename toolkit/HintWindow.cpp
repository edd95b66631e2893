// The hint popup: its window class, measuring in the status font, and showing without activation.
#include "toolkit/HintWindow.h"

#include "toolkit/Exception.h"

#include <algorithm>

namespace {

constexpr wchar_t kHintClass[] = L"THintWindow";
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
// A tool window stays off the taskbar; WS_EX_NOACTIVATE keeps clicks and ShowWindow from
// activating it even where the mouse-activation answer is not asked.
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
// Room between the border and the text, so the text does not touch the frame.
constexpr int kMarginX = 3;
constexpr int kMarginY = 1;

HFONT CreateStatusFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW face{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        face = metrics.lfStatusFont;
    else
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    return ::CreateFontIndirectW(&face);
}

void RegisterHintClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, kHintClass, &existing))
        return;
    WNDCLASSW wc{};
    // Saved bits let the window under the hint reappear without a repaint of its own.
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kHintClass;
    ::RegisterClassW(&wc);
}

// The hint moved so that all of it lies on the monitor it is mostly on.
RECT KeepOnMonitor(RECT r)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        return r;
    const RECT& area = info.rcMonitor;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int left = std::max<int>(area.left, std::min<int>(r.left, area.right - width));
    const int top = std::max<int>(area.top, std::min<int>(r.top, area.bottom - height));
    return {left, top, left + width, top + height};
}

// The top-level window of this thread under the middle of r, or nullptr. A click the hint lets
// through (HTTRANSPARENT) goes on only to windows of the same thread, and Wine hands it only
// to the hint's owner, so the hint is owned by the window it covers.
HWND WindowBeneath(const RECT& r, HWND hint)
{
    const HWND under = ::WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    const HWND root = under ? ::GetAncestor(under, GA_ROOT) : nullptr;
    if (!root || root == hint || ::GetWindowThreadProcessId(root, nullptr) != ::GetCurrentThreadId())
        return nullptr;
    return root;
}

} // namespace

const TClassInfo THintWindow::StaticClass{L"THintWindow", &TComponent::StaticClass, {}};

THintWindow::THintWindow(TComponent* owner) : TComponent(owner), FFont(CreateStatusFont()) {}

THintWindow::~THintWindow() = default;

TRect THintWindow::CalcHintRect(int maxWidth, const std::wstring& text) const
{
    if (maxWidth <= 0)
        maxWidth = ::GetSystemMetrics(SM_CXSCREEN);
    RECT r{0, 0, maxWidth, 0};
    if (!text.empty()) {
        win::WindowDC screen{nullptr};
        win::Select font{screen.get(), FFont ? FFont.get() : ::GetStockObject(DEFAULT_GUI_FONT)};
        ::DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r,
                    DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        // A single word longer than the limit would widen the rectangle; it is cut instead.
        r.right = std::min<LONG>(r.right, maxWidth);
    } else {
        r.right = 0;
    }
    r.right += 2 * kMarginX;
    r.bottom += 2 * kMarginY;
    ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return {0, 0, static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

void THintWindow::ActivateHint(const TRect& screenRect, const std::wstring& text)
{
    if (text.empty()) {
        Hide();
        return;
    }
    FText = text;
    const RECT r = KeepOnMonitor({screenRect.Left, screenRect.Top, screenRect.Right, screenRect.Bottom});
    // The owner is fixed at creation, so a hint over another window is a new window.
    const HWND owner = WindowBeneath(r, FWindow.get());
    if (FWindow && ::GetWindow(FWindow.get(), GW_OWNER) != owner)
        FWindow.reset();
    if (!FWindow) {
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        RegisterHintClass(instance, &THintWindow::WndProc);
        FWindow.reset(::CreateWindowExW(kExStyle, kHintClass, L"", kStyle, 0, 0, 0, 0, owner, nullptr, instance, this));
        if (!FWindow)
            throw Exception(L"Error creating window");
    }
    ::SetWindowPos(FWindow.get(), HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(FWindow.get(), nullptr, FALSE);
    ::UpdateWindow(FWindow.get());
}

void THintWindow::Hide()
{
    if (FWindow)
        ::SetWindowPos(FWindow.get(), nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void THintWindow::ReleaseHandle()
{
    Hide();
    FWindow.reset();
}

bool THintWindow::Showing() const noexcept
{
    return FWindow && ::IsWindowVisible(FWindow.get());
}

void THintWindow::Paint(HWND hwnd)
{
    win::PaintDC paint{hwnd};
    const HDC dc = paint.get();
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_INFOBK));
    RECT text{client.left + kMarginX, client.top + kMarginY, client.right - kMarginX, client.bottom - kMarginY};
    win::Select font{dc, FFont ? FFont.get() : ::GetStockObject(DEFAULT_GUI_FONT)};
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
    ::DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}

LRESULT CALLBACK THintWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_NCDESTROY: // destroyed with its owner: forget it, the next hint makes a new one
        if (auto* self = reinterpret_cast<THintWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            self && self->FWindow.get() == hwnd)
            (void)self->FWindow.release();
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT; // clicks go to the window underneath
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills all of it
    case WM_PAINT:
        if (auto* self = reinterpret_cast<THintWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            self->Paint(hwnd);
            return 0;
        }
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
