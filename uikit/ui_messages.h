// Window messages of the toolkit. Controls post (never send) the
// notifications to their owner window, so the driving code's handlers run
// after the mouse event that caused them has been dispatched completely.
// The hover tracking sends the tooltip and cursor messages, so that both
// have changed before the dispatch returns.
#pragma once

#include <windows.h>

namespace uikit {

// wParam 1 = show (lParam: the tip text, a wide string the sender keeps),
// 0 = hide.
inline constexpr UINT WM_UI_TOOLTIP = 0x1400;
// wParam: cursor handle to show over the window.
inline constexpr UINT WM_UI_CURSOR = 0x1401;
// wParam: the control that takes the focus mark.
inline constexpr UINT WM_UI_FOCUS = 0x1406;
// wParam of the notifications below: the control (CBaseElementCtl*).
inline constexpr UINT WM_UI_CLICKED = 0x1420;
inline constexpr UINT WM_UI_RCLICKED = 0x1421;
inline constexpr UINT WM_UI_RETURN = 0x1423;
inline constexpr UINT WM_UI_TAB = 0x1424;
inline constexpr UINT WM_UI_CHANGED = 0x1426;
// Sent by a radio button when it becomes selected; grouping is the owner's
// business (no host handles it).
inline constexpr UINT WM_UI_RADIO_SELECTED = 12000;
// wParam: the `checkpath` value of a layered edit.
inline constexpr UINT WM_UI_CHECKPATH = 12002;
// lParam: opacity percent of the layered repaint.
inline constexpr UINT WM_UI_LAYERED_PAINT = 0x5400;

}  // namespace uikit
