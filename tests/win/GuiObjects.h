// Counts of the process's GDI objects and windows, for tests that look for leaks.
#pragma once

#include <windows.h>

#include <cstddef>

// GetGuiResources where the system answers it. Wine answers 0, but takes a GDI handle's low
// word alone as the handle, so every live object of the process is found by asking each
// 16-bit value for its type.
inline size_t GdiObjectCount()
{
    if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return n;
    size_t count = 0;
    for (UINT_PTR value = 1; value < 0x10000; ++value)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(value)))
            ++count;
    return count;
}

// The windows of this thread, children included.
inline size_t ThreadWindowCount()
{
    size_t count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND top, LPARAM p) -> BOOL {
            auto& n = *reinterpret_cast<size_t*>(p);
            ++n;
            ::EnumChildWindows(top, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<size_t*>(q), TRUE; }, p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// The process's menus. GetGuiResources where the system answers it (it counts every user
// object, windows too); under Wine, which takes a user handle's low word alone as the handle,
// every 16-bit value is asked whether it is a menu.
inline size_t MenuCount()
{
    if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS))
        return n;
    size_t count = 0;
    for (UINT_PTR value = 1; value < 0x10000; ++value)
        if (::IsMenu(reinterpret_cast<HMENU>(value)))
            ++count;
    return count;
}
