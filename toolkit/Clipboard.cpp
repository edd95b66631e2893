// Clipboard text as CF_UNICODETEXT; the system takes the memory only when it accepts it.
#include "toolkit/Clipboard.h"

#include <windows.h>

#include <cstring>

namespace {
class ClipboardLock {
public:
    ClipboardLock() noexcept : FOpen(::OpenClipboard(nullptr) != FALSE) {}
    ClipboardLock(const ClipboardLock&) = delete;
    ClipboardLock& operator=(const ClipboardLock&) = delete;
    ~ClipboardLock() { if (FOpen) ::CloseClipboard(); }
    bool Open() const noexcept { return FOpen; }

private:
    bool FOpen;
};
} // namespace

bool SetClipboardText(const std::wstring& text)
{
    ClipboardLock lock;
    if (!lock.Open() || !::EmptyClipboard())
        return false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    void* target = ::GlobalLock(memory);
    if (!target) {
        ::GlobalFree(memory);
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_UNICODETEXT, memory)) {
        ::GlobalFree(memory);
        return false;
    }
    return true; // the clipboard owns the memory now
}

std::wstring ClipboardText()
{
    ClipboardLock lock;
    if (!lock.Open())
        return {};
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return {};
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!text)
        return {};
    std::wstring result(text, wcsnlen(text, ::GlobalSize(data) / sizeof(wchar_t)));
    ::GlobalUnlock(data);
    return result;
}
