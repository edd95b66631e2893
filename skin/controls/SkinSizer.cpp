// The skinned size grips.
#include "skin/controls/SkinSizer.h"

#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "toolkit/WinHandle.h"

const TClassInfo TSkinSizer::StaticClass{L"TSkinSizer", &TSkinControl::StaticClass, {}};

bool TSkinSizer::HasGrip() const
{
    if (!FSkinData)
        return false;
    const auto& extra = FSkinData->Skin().ExtraImages;
    return extra && !extra->Bitmap.IsEmpty() && extra->Frame >= kGripCell;
}

bool TSkinSizer::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!HasGrip())
            return true;
        ::GetWindowRect(FWindow, &FWindowRect);
        if (Message.WParam) {
            Draw(reinterpret_cast<HDC>(Message.WParam), {0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top});
        } else {
            const win::PaintDC dc(FWindow);
            Draw(dc.get(), {0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top});
        }
        Message.Result = 0;
        return false;
    case WM_ERASEBKGND:
        if (!HasGrip())
            return true;
        Message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinSizer::Draw(HDC dc, const RECT& rect)
{
    if (!HasGrip())
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const TDataSkinObject& extra = *skin.ExtraImages;
    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    FFace.Fill(ToPixel(skin.ButtonFace(), skin.SystemColors()));
    // The glyph keeps its size in the corner the user drags.
    const int cellWidth = extra.Bitmap.Width() / extra.Frame, cellHeight = extra.Bitmap.Height();
    const TPixelRect corner{width - cellWidth, height - cellHeight, width, height};
    DrawFrameCentred(FFace.View(), corner, extra.Bitmap.View(), extra.Trans != 0 ? TKeying::Transparent : TKeying::Opaque,
                     extra.Frame, kGripCell);
    PutPixels(dc, rect.left, rect.top, FFace);
}
