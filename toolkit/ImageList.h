// TImageList: equally sized glyphs with a mask colour, kept in one comctl32 image list.
#pragma once

#include "toolkit/Colors.h"
#include "toolkit/Component.h"
#include "toolkit/WinHandle.h"

#include <commctrl.h>

namespace win {
struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};
using ImageList = UniqueHandle<ImageListTraits>;
} // namespace win

class TImageList : public TComponent {
    TK_CLASS(TImageList)
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);

    // Replaces the images by those of a bitmap resource cut into cells of Width() from the
    // left; pixels of maskColour become transparent. False, with the images unchanged, when
    // the module has no such bitmap or its height is not Height().
    [[nodiscard]] bool LoadFromResourceName(HINSTANCE instance, const wchar_t* name, TColor maskColour);

    int Count() const noexcept;
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    // Draws image index with its top-left corner at (x, y), embossed in the system's disabled
    // colours when not enabled. An index out of range draws nothing.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
    HIMAGELIST Handle() const noexcept { return FList.get(); }

private:
    win::ImageList MakeList() const;

    int FWidth;
    int FHeight;
    win::ImageList FList;
};
