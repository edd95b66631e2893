// One skinned popup menu item composed and put on a memory DC with the skin the program carries,
// normal and selected (tests/win/SkinMenuItemTest counts the GDI objects such a run leaves).
#include "app/Resources.h"
#include "bench/BenchStats.h"
#include "skin/menus/MenuItemPainter.h"
#include "skin/window/SkinData.h"
#include "toolkit/Application.h"
#include "toolkit/Menu.h"

#include <windows.h>

#include <span>

int wmain()
{
    TApplication app;
    app.Initialize();
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_SKIN), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = info ? ::LoadResource(module, info) : nullptr;
    if (!loaded) {
        std::printf("the program's skin is not in the resources\n");
        return 1;
    }
    auto* skinData = app.Make<TSkinData>();
    skinData->BeginLoading();
    skinData->ReadSkinStream(std::span(static_cast<const std::uint8_t*>(::LockResource(loaded)),
                                       ::SizeofResource(module, info)));
    skinData->Loaded();
    auto* menu = app.Make<TPopupMenu>();
    menu->SetImages(&skinData->MenuGlyphs());
    TMenuItem* item = menu->Items()->Add(L"&Close");
    item->SetShortCut(ShortCut(VK_F4, scAlt));
    item->SetImageIndex(3);
    menu->SetOwnerDraw(true);

    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 24);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT rect{0, 0, 160, 22};
    DrawSkinnedMenuItem(dc, rect, *item, false, *skinData); // what is kept for the process
    PrintStats("one menu item, normal", Summarise(TimeCalls(500, [&] {
                   DrawSkinnedMenuItem(dc, rect, *item, false, *skinData);
               })), 0.3);
    PrintStats("one menu item, selected", Summarise(TimeCalls(500, [&] {
                   DrawSkinnedMenuItem(dc, rect, *item, true, *skinData);
               })), 0.3);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return 0;
}
