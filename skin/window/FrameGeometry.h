// Where a skinned frame's parts lie: border kind and sizes, the client rectangle, the border pieces and frame coordinates.
#pragma once

#include "skin/definitions/SkinObjects.h"
#include "skin/pixels/PixelBuffer.h"

#include <cstdint>
#include <string_view>

// Window style bits this geometry reads; the values are Win32's, so that the frame passes
// GetWindowLongPtrW's results straight in while this code stays free of <windows.h>.
constexpr std::uint32_t kWsPopup = 0x80000000;       // WS_POPUP
constexpr std::uint32_t kWsCaption = 0x00C00000;     // WS_CAPTION (WS_BORDER | WS_DLGFRAME)
constexpr std::uint32_t kWsSysMenu = 0x00080000;     // WS_SYSMENU
constexpr std::uint32_t kWsThickFrame = 0x00040000;  // WS_THICKFRAME
constexpr std::uint32_t kWsMinimizeBox = 0x00020000; // WS_MINIMIZEBOX
constexpr std::uint32_t kWsMaximizeBox = 0x00010000; // WS_MAXIMIZEBOX
constexpr std::uint32_t kDsModalFrame = 0x00000080;  // DS_MODALFRAME
constexpr std::uint32_t kWsExDlgModalFrame = 0x00000001; // WS_EX_DLGMODALFRAME
constexpr std::uint32_t kWsExContextHelp = 0x00000400;   // WS_EX_CONTEXTHELP
constexpr std::uint32_t kWsExLeftScrollBar = 0x00004000; // WS_EX_LEFTSCROLLBAR

enum class TBorderKind : std::uint8_t { Sizeable = 0, FixedCaption = 1, NoCaption = 2, DialogFrame = 3 };
enum class TShowState : std::uint8_t { Normal = 0, Maximized = 1, Minimized = 2 };
enum class TMdiRole : std::uint8_t { None = 0, MainForm = 1, Child = 2 };
// Active windows show the first frame of every frame image, inactive ones the second.
enum class TActivation { Active, Inactive };
enum class TBorderSide { Left, Top, Right, Bottom };

// The caption boxes a window has, as a bit set.
namespace caption_box {
constexpr std::uint32_t kMaximize = 1;
constexpr std::uint32_t kMinimize = 2;
constexpr std::uint32_t kHelp = 4;
constexpr std::uint32_t kSysMenu = 8;
// WS_SYSMENU stays on the window while it is framed.
constexpr std::uint32_t kKeepSysMenu = 16;
} // namespace caption_box

struct TWindowStyle {
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    bool DialogClass = false; // see IsDialogClassName
};

struct TFramePoint {
    int X = 0, Y = 0;
    bool operator==(const TFramePoint&) const noexcept = default;
};

// Whether a rectangle in frame coordinates holds the point (right and bottom edges excluded).
constexpr bool Contains(const TPixelRect& r, TFramePoint p) noexcept
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

struct TFrameBorders {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TFrameBorders&) const noexcept = default;
};

// The rectangles PaintFrame fills, in window coordinates. A minimized window shows only its
// caption band, so its side pieces are empty.
struct TFramePieces {
    TPixelRect Left, Right, Bottom, Top, MenuBar;
    // The off-screen caption band: W × BorderTop, minimized W × H.
    TPixelRect CaptionBand;
};

// The system's dialog class and the toolkit's message box form get the dialog frame whatever
// their style says.
bool IsDialogClassName(std::wstring_view className) noexcept;

// How the frame is drawn, decided once when the window is framed.
TBorderKind BorderKindOf(const TWindowStyle& window) noexcept;

// The boxes the style asks for; the caller adds kSysMenu when the window already has a
// system menu and kKeepSysMenu by the system's version and the window's owner.
std::uint32_t CaptionBoxesOf(const TWindowStyle& window) noexcept;

// Each border as thick as one frame of its image (a Frame below 1 counts as 1); none at all
// for a window without a caption.
TFrameBorders ComputeBorders(const TSkinObjects& skin, TBorderKind kind) noexcept;

// The client rectangle WM_NCCALCSIZE reports for the window rectangle (x, y, x + cx, y + cy).
// It never leaves the window nor turns inside out when the borders are wider than the window.
TPixelRect NcCalcClientRect(const TPixelRect& window, const TFrameBorders& borders, int menuBarHeight) noexcept;

TFramePieces FramePieces(int width, int height, const TFrameBorders& borders, int menuBarHeight,
    TShowState show) noexcept;

// One border piece as its side is painted: the border's margins, frames stacked for Top and
// Bottom and side by side for Left and Right, the centre stretched when the border's Stretch
// key (kept in Tile) is 1. Single-frame images show their one frame when inactive too.
TPixelBuffer BuildBorderPiece(const TSkinObjects& skin, TBorderSide side, int width, int height,
    TActivation activation);

// Frame coordinates start at the window's top-left corner; a minimized MDI child has no
// client area inside its frame, so its client point is taken as it stands.
TFramePoint ClientToFrame(TFramePoint client, const TFrameBorders& borders, int menuBarHeight, TMdiRole role,
    TShowState show) noexcept;

// What WM_NCHITTEST makes of a frame point the previous procedure called nowhere or caption:
// the top 4 rows keep that answer so the window can still be sized there.
enum class TNcArea { Unchanged, Caption, Menu };
TNcArea NcAreaAt(TFramePoint p, const TFrameBorders& borders, int menuBarHeight) noexcept;

// The border object of that side.
const TDataSkinBorder& BorderObject(const TSkinObjects& skin, TBorderSide side) noexcept;
