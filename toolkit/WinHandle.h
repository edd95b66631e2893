// Move-only owners for Win32 handles, one per handle kind with its own failure value.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : FHandle(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : FHandle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return FHandle; }
    bool valid() const noexcept { return FHandle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }
    [[nodiscard]] Type release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }
    void reset(Type h = Traits::Invalid()) noexcept
    {
        const Type old = std::exchange(FHandle, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Type FHandle = Traits::Invalid();
};

struct KernelHandleTraits { // events, threads, processes: nullptr on failure
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits { // CreateFileW: INVALID_HANDLE_VALUE on failure
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
template <class T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};

struct HookTraits { // SetWindowsHookExW
    using Type = HHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::UnhookWindowsHookEx(h); }
};

// A menu not (yet) held by a window or a parent menu; DestroyMenu takes its submenus along.
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};

using Handle = UniqueHandle<KernelHandleTraits>;
using Hook = UniqueHandle<HookTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using Window = UniqueHandle<WindowTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Icon = UniqueHandle<IconTraits>;
using Menu = UniqueHandle<MenuTraits>;
template <class T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;

// Paired calls as scope objects.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) noexcept : FWnd(hwnd), FDC(::GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { if (FDC) ::ReleaseDC(FWnd, FDC); }
    HDC get() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// The whole window, non-client area included (GetWindowDC).
class NonClientDC {
public:
    explicit NonClientDC(HWND hwnd) noexcept : FWnd(hwnd), FDC(::GetWindowDC(hwnd)) {}
    NonClientDC(const NonClientDC&) = delete;
    NonClientDC& operator=(const NonClientDC&) = delete;
    ~NonClientDC() { if (FDC) ::ReleaseDC(FWnd, FDC); }
    HDC get() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : FWnd(hwnd) { FDC = ::BeginPaint(hwnd, &FPaint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(FWnd, &FPaint); }
    HDC get() const noexcept { return FDC; }
    const RECT& Area() const noexcept { return FPaint.rcPaint; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// A memory DC with a compatible bitmap of the given size selected, for flicker-free
// painting; both go, bitmap deselected first, when the scope ends.
class MemoryDC {
public:
    MemoryDC(HDC reference, int width, int height) noexcept
        : FDC(::CreateCompatibleDC(reference)), FBitmap(::CreateCompatibleBitmap(reference, width, height))
    {
        if (FDC && FBitmap)
            FOld = ::SelectObject(FDC, FBitmap);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC()
    {
        if (FOld)
            ::SelectObject(FDC, FOld);
        if (FBitmap)
            ::DeleteObject(FBitmap);
        if (FDC)
            ::DeleteDC(FDC);
    }
    explicit operator bool() const noexcept { return FOld != nullptr; }
    HDC get() const noexcept { return FDC; }

private:
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld = nullptr;
};

// A memory DC with a borrowed bitmap selected (a DIB section, so GDI draws into pixels we also
// paint), deselected before the DC goes.
class BitmapDC {
public:
    explicit BitmapDC(HBITMAP bitmap) noexcept : FDC(::CreateCompatibleDC(nullptr))
    {
        if (FDC && bitmap)
            FOld = ::SelectObject(FDC, bitmap);
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;
    ~BitmapDC()
    {
        if (FOld)
            ::SelectObject(FDC, FOld);
        if (FDC)
            ::DeleteDC(FDC);
    }
    HDC get() const noexcept { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FOld = nullptr;
};

class Select {
public:
    Select(HDC dc, HGDIOBJ object) noexcept : FDC(dc), FOld(::SelectObject(dc, object)) {}
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;
    ~Select() { if (FOld) ::SelectObject(FDC, FOld); }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

} // namespace win
