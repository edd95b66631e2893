// Fills the system colour table from GetSysColor.
#include "skin/pixels/SystemColors_win.h"

#include <windows.h>

TSystemColors CurrentSystemColors() noexcept
{
    TSystemColors sys;
    for (int i = 0; i < TSystemColors::kCount; ++i)
        sys.Colors[static_cast<size_t>(i)] = GetSysColor(i); // COLORREF is 0x00BBGGRR too
    return sys;
}
