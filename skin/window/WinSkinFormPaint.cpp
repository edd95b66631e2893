// The frame's painting: borders straight to the window, the caption band composed off screen
// (border, title background, GDI text, buttons) and put on screen in one transfer, one button
// repainted on its own, and the window's region.
#include "skin/window/WinSkinForm.h"

#include "skin/menus/WinSkinMenu.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/pixels/Region_win.h"
#include "skin/pixels/SystemColors.h"
#include "skin/window/CaptionComposer.h"
#include "skin/window/CaptionText.h"
#include "skin/window/FrameRegion.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"

void TWinSkinForm::PaintFrame(HDC dc)
{
    if (FState != TFrameState::Active && FState != TFrameState::Refreshing)
        return;
    // The skin objects are never half built (a load that fails leaves them as they were), so a
    // component that counts as loading after a missing skin file still paints its frames.
    if (!FFramePainting || FBorderKind == TBorderKind::NoCaption || !FSkinData)
        return;
    if (FMdiRole == TMdiRole::Child && FShowState == TShowState::Maximized)
        return;
    const win::NonClientDC own(dc ? nullptr : FWindow);
    const HDC target = dc ? dc : own.get();
    if (!target)
        return;
    try {
        const TPixelRect size = WindowSize();
        const TFramePieces pieces = FramePieces(size.Width(), size.Height(), FBorders, FMenuBarHeight, FShowState);
        if (FShowState != TShowState::Minimized) {
            PaintBorderPiece(target, TBorderSide::Left, pieces.Left);
            PaintBorderPiece(target, TBorderSide::Right, pieces.Right);
            PaintBorderPiece(target, TBorderSide::Bottom, pieces.Bottom);
        }
        PaintTitle(target);
        if (FShowState != TShowState::Minimized && FMenuBar) {
            FMenuBar->PaintMenuBar(target, pieces.MenuBar);
        } else if (FShowState != TShowState::Minimized && FMenuBarHeight > 0 && FSkinData->FaceBrush()) {
            const RECT band{pieces.MenuBar.Left, pieces.MenuBar.Top, pieces.MenuBar.Right, pieces.MenuBar.Bottom};
            ::FillRect(target, &band, FSkinData->FaceBrush());
        }
    } catch (...) {
        // A frame that cannot be painted now is painted at the next WM_NCPAINT.
    }
    // An open menu bar item stays pressed; everything else was painted in its plain state.
    if (!FMenuTracking)
        HotObject = nullptr;
}

void TWinSkinForm::PaintBorderPiece(HDC dc, TBorderSide side, const TPixelRect& r)
{
    if (r.IsEmpty())
        return;
    const TPixelBuffer piece = BuildBorderPiece(FSkinData->Skin(), side, r.Width(), r.Height(),
                                                FIsActive ? TActivation::Active : TActivation::Inactive);
    PutPixels(dc, r.Left, r.Top, piece);
}

void TWinSkinForm::PaintTitle(HDC dc)
{
    const TSkinObjects& skin = FSkinData->Skin();
    const TPixelRect size = WindowSize();
    TCaptionScene scene;
    scene.Width = size.Width();
    scene.Height = size.Height();
    scene.Borders = FBorders;
    scene.Show = FShowState;
    scene.Activation = FIsActive ? TActivation::Active : TActivation::Inactive;
    const TPixelRect band = CaptionBandRect(scene);
    if (band.IsEmpty())
        return;
    if (FTitleBitmap.Width() != band.Width() || FTitleBitmap.Height() != band.Height())
        FTitleBitmap = CreateDibBuffer(band.Width(), band.Height());

    const TCaptionWindow facts = CaptionWindowFacts();
    UpdateSysButtons(FButtons, facts, [this](int code, int action) {
        return ::SendMessageW(FWindow, SKM_SYSBUTTONVISIBLE, WPARAM(code), LPARAM(action)) > 0;
    });
    FRightButtonArea = RightButtonArea(FButtons);

    const win::BitmapDC bandDC(DibHandle(FTitleBitmap));
    // What is on screen under the band shows through the skin's key-coloured pixels.
    ::BitBlt(bandDC.get(), 0, 0, band.Width(), band.Height(), dc, 0, 0, SRCCOPY);
    PaintCaptionText(bandDC.get(), scene);
    FTitleBackground = FTitleBitmap.Clone();

    TButtonLayoutFrame layout;
    layout.Width = band.Width();
    layout.Borders = FBorders;
    layout.MenuBarHeight = FMenuBarHeight;
    layout.CaptionText = FCaptionTextRect;
    layout.MenuBarLeftWidth = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
    LayoutSysButtons(FButtons, layout);
    const TPixelView icon = !FIcon.IsEmpty() ? FIcon.View() : FSkinData->AppIcon().View();
    ComposeCaptionButtons(FTitleBitmap.View(), FButtons, scene.Activation, icon);
    PutPixels(dc, 0, 0, FTitleBitmap);
}

// The caption text on its title background, composed over the band with the Top border.
void TWinSkinForm::PaintCaptionText(HDC bandDC, TCaptionScene& scene)
{
    const TSkinObjects& skin = FSkinData->Skin();
    // The text is measured first: the title background is painted behind where it goes.
    const std::wstring text = L" " + WindowText() + L"  ";
    const HFONT font = FSkinData->CaptionFont() ? FSkinData->CaptionFont()
                                                : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const win::Select selectFont(bandDC, font);
    RECT measured{};
    ::DrawTextW(bandDC, text.c_str(), -1, &measured, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    TCaptionTextInput input;
    input.Caption = {0, 0, scene.Width, FBorders.Top};
    input.TextWidth = measured.right - measured.left;
    input.TextHeight = measured.bottom - measured.top;
    input.Reading = FRightToLeft ? TReading::RightToLeft : TReading::LeftToRight;
    input.Popup = (::GetWindowLongPtrW(FWindow, GWL_STYLE) & WS_POPUP) != 0;
    input.DialogFrame = FBorderKind == TBorderKind::DialogFrame;
    input.RightButtonArea = FRightButtonArea;
    const TCaptionTextPlacement placement = PlaceCaptionText(input, skin.Title);
    scene.TitleBackground = placement.Background;
    FCaptionBackground = placement.Background;
    FCaptionTextRect = placement.Text;

    ComposeCaptionBackground(FTitleBitmap.View(), skin, scene);
    ::GdiFlush();
    const int colourIndex = FIsActive ? 1 : 2;
    ::SetTextColor(bandDC, ResolveColor(skin.SysColours[colourIndex], skin.SystemColors()));
    ::SetBkMode(bandDC, TRANSPARENT);
    const int saved = ::SaveDC(bandDC);
    ::IntersectClipRect(bandDC, placement.Clip.Left, placement.Clip.Top, placement.Clip.Right,
                        placement.Clip.Bottom);
    RECT textRect{placement.Text.Left, placement.Text.Top, placement.Text.Right, placement.Text.Bottom};
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (FRightToLeft)
        format |= DT_RIGHT | DT_RTLREADING;
    ::DrawTextW(bandDC, text.c_str(), -1, &textRect, format);
    ::RestoreDC(bandDC, saved);
    ::GdiFlush();
}

void TWinSkinForm::PaintSysButton(size_t index)
{
    if (index >= FButtons.size() || FTitleBitmap.IsEmpty() || FTitleBackground.IsEmpty())
        return;
    if (FState != TFrameState::Active && FState != TFrameState::Refreshing)
        return;
    const TCaptionButton& button = FButtons[index];
    if (!button.Visible || button.Bounds.IsEmpty())
        return;
    if (button.Data && button.Data->Align == 100 && FMenuBar) {
        FMenuBar->PaintBandButton(index); // it sits in the menu bar's band
        return;
    }
    const TPixelView icon = !FIcon.IsEmpty() ? FIcon.View() : FSkinData->AppIcon().View();
    ::PaintSysButton(FTitleBitmap.View(), button.Bounds, button, StatePaintFrame(button), icon,
                     FTitleBackground.View());
    const win::NonClientDC dc(FWindow);
    PutPixelRect(dc.get(), button.Bounds.Left, button.Bounds.Top, FTitleBitmap, button.Bounds);
}

void TWinSkinForm::UpdateRegion()
{
    if (!FFramePainting || FState == TFrameState::WindowDestroyed || FState == TFrameState::Destroying)
        return;
    if (FMdiRole == TMdiRole::Child && FShowState != TShowState::Normal)
        return;
    const TPixelRect size = WindowSize();
    if (size.Width() == 0 || size.Height() == 0)
        return;
    if (size.Width() == FRegionSize.cx && size.Height() == FRegionSize.cy && FMdiRole != TMdiRole::Child &&
        FState != TFrameState::Refreshing)
        return;
    const TFrameRegion region = BuildFrameRegion(FSkinData->Skin(), size.Width(), size.Height(), FBorders, FBorderKind);
    win::GdiObject<HRGN> rgn;
    switch (region.Kind) {
    case TFrameRegion::TKind::None: return;
    case TFrameRegion::TKind::WholeWindow: rgn.reset(::CreateRectRgn(0, 0, size.Width(), size.Height())); break;
    case TFrameRegion::TKind::Rects: rgn = CreateRegionFromRects(region.Rects); break;
    }
    if (rgn && ::SetWindowRgn(FWindow, rgn.get(), TRUE)) {
        (void)rgn.release();
        FRegionSize = {size.Width(), size.Height()};
    }
}
