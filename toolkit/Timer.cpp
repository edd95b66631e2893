// Each timer has a message-only window so that ticks come through the GUI thread's loop.
#include "toolkit/Timer.h"

#include "toolkit/CallbackGuard.h"
#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

namespace {
constexpr wchar_t kTimerClass[] = L"TTimerWindow";
constexpr UINT_PTR kTimerId = 1;

const TPropertyInfo kTimerProps[] = {
    {L"Enabled", [](const TObject& o) { return BoolToStr(static_cast<const TTimer&>(o).Enabled()); },
     [](TObject& o, std::wstring_view v) { static_cast<TTimer&>(o).SetEnabled(StrToBool(v)); }},
    {L"Interval", [](const TObject& o) { return IntToStr(static_cast<const TTimer&>(o).Interval()); },
     [](TObject& o, std::wstring_view v) { static_cast<TTimer&>(o).SetInterval(static_cast<unsigned>(StrToInt(v))); }},
};
} // namespace

const TClassInfo TTimer::StaticClass{L"TTimer", &TComponent::StaticClass, kTimerProps};

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (!::GetClassInfoW(instance, kTimerClass, &existing)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TTimer::WndProc;
        wc.hInstance = instance;
        wc.lpszClassName = kTimerClass;
        ::RegisterClassW(&wc);
    }
    FWindow.reset(::CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
    if (!FWindow)
        throw Exception(L"Not enough timers available");
    ::SetWindowLongPtrW(FWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer()
{
    ::KillTimer(FWindow.get(), kTimerId);
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval)
{
    if (interval == FInterval)
        return;
    FInterval = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    ::KillTimer(FWindow.get(), kTimerId);
    if (FEnabled && FInterval != 0) {
        ::SetTimer(FWindow.get(), kTimerId, FInterval, nullptr);
        ++FStartCount;
    }
}

LRESULT CALLBACK TTimer::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_TIMER && wParam == kTimerId) {
        auto* self = reinterpret_cast<TTimer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && self->FEnabled && self->OnTimer)
            GuardCallback([self] { self->OnTimer(self); });
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
