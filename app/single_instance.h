#pragma once

#include <windows.h>

// The rule that only one installer runs at a time. The first instance owns a
// message-only utility window with a fixed class, title and a marker in its
// user-data word; a later instance that finds it asks it to come forward
// and ends.
namespace app {

inline constexpr wchar_t kUtilityWindowClass[] = L"QivInstallerWindow";
inline constexpr wchar_t kUtilityWindowTitle[] = L"2907A16F9AC14024BC6D4DDA369011CD";
inline constexpr LONG_PTR kUtilityWindowMarker = 0x6F9E139A;

// Both numbers are above 0xFFFF on purpose and are used as they are.
inline constexpr UINT kMsgDestroyWindowLater = 0x1120C;  // lParam: window to destroy
inline constexpr UINT kMsgBringToFront = 0x1120D;

// Returns the running instance's utility window: a message-only window with
// the class and title above whose user-data word holds the marker, or null.
// Windows with the same class and title but without the marker are passed
// over, so that a stray look-alike never keeps the installer from starting.
// Any thread.
HWND FindRunningInstance();

// Posts kMsgBringToFront to the running instance. Returns false when there
// is none. Any thread.
bool SignalRunningInstance();

}  // namespace app
