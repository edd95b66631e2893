// Glyph lists on comctl32: loading a strip from the module's resources, drawing plain or disabled.
#include "toolkit/ImageList.h"

#include "toolkit/Exception.h"

const TClassInfo TImageList::StaticClass{L"TImageList", &TComponent::StaticClass, {}};

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(width), FHeight(height)
{
    if (width <= 0 || height <= 0)
        throw Exception(L"Invalid image size");
    FList = MakeList();
    if (!FList)
        throw Exception(L"Error creating image list");
}

win::ImageList TImageList::MakeList() const
{
    return win::ImageList{::ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4)};
}

bool TImageList::LoadFromResourceName(HINSTANCE instance, const wchar_t* name, TColor maskColour)
{
    // A DIB section keeps the resource's colours exactly, whatever the screen's depth.
    const win::GdiObject<HBITMAP> strip{
        static_cast<HBITMAP>(::LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
    BITMAP info{};
    if (!strip || !::GetObjectW(strip.get(), sizeof(info), &info) || info.bmHeight != FHeight || info.bmWidth < FWidth)
        return false;
    // Filled apart from the current list, so a failure leaves the old images in place.
    win::ImageList list = MakeList();
    if (!list || ::ImageList_AddMasked(list.get(), strip.get(), ColorToRGB(maskColour)) < 0)
        return false;
    FList = std::move(list);
    return true;
}

int TImageList::Count() const noexcept
{
    return ::ImageList_GetImageCount(FList.get());
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    if (enabled) {
        ::ImageList_Draw(FList.get(), index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    // The system's disabled look: the glyph's shape embossed in highlight and shadow colours.
    const win::Icon icon{::ImageList_GetIcon(FList.get(), index, ILD_TRANSPARENT)};
    if (icon)
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, FWidth, FHeight,
                     DST_ICON | DSS_DISABLED);
}
