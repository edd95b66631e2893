// The skin engine's private window messages, one list for frames, wrappers and popup menus.
#pragma once

#include <windows.h>

// Posted: repaint the frame's non-client area. wParam, lParam: 0.
constexpr UINT SKM_REPAINTFRAME = 0x3502;
// Posted by the manager to a window it has just framed: finish the set-up. wParam 0, lParam 1000.
constexpr UINT SKM_FINISHSKIN = 0x3503;
// Sent to a control wrapper: wParam > 0 paints from the skin again (and repaints), else lets the
// control paint itself.
constexpr UINT SKM_SETACTIVE = 0x3506;
// Posted by a tab wrapper when a tab was clicked.
constexpr UINT SKM_TABCLICK = 0x3507;
// Posted to the framed window: a caption button whose Action the frame does not carry out
// itself was clicked. wParam: the Action.
constexpr UINT SKM_SYSBUTTONACTION = 0x3514;
// Sent to the framed window: is the caption button with this Visibility code (wParam, 1000 to
// 2000) and Action (lParam) visible? A result above 0 shows it.
constexpr UINT SKM_SYSBUTTONVISIBLE = 0x3515;
// Posted to the MDI client: redraw the main form with its frame and children.
constexpr UINT SKM_MDIREDRAW = 0x3516;
// wParam: a control window whose scroll bar wrapper is replaced by a new one of its class.
constexpr UINT SKM_REWRAPSCROLL = 0x3517;
// lParam: a screen point; the menu bar item there opens.
constexpr UINT SKM_MENUBARCLICK = 0x3518;
// Sent with wParam 0, lParam 0: every frame, wrapper and popup wrapper answers 1, and a window
// that answers 1 is never taken over again.
constexpr UINT SKM_QUERYSKINNED = 0x3523;

// Sent by a frame to its window after its set-up and after each refresh (wParam 0, lParam
// kSkinSignature); a frame's form hook answers kQueryFrameSignature with kSkinSignature and
// kPaintFrameTo (wParam: a device context) by painting the frame into it.
constexpr UINT SKM_FRAMEREADY = 0xBC4E;
constexpr UINT SKM_QUERYFRAME = 0xBC4D;
constexpr UINT SKM_PAINTFRAMETO = 0xBC4B;
// Sent to a skinned edit with lParam kSkinSignature: the edit paints itself into the device
// context in wParam, through its own painting, and answers kSkinSignature.
constexpr UINT SKM_PAINTCONTROLTO = 0xBC4A;
constexpr LPARAM kSkinSignature = 0x41A2;
