// The display's colour depth, as the window hosts see it.
//
// Skinned windows paint as layered windows only on a display at 32 bits per
// pixel. The depth is read here, behind a replaceable source, so that tools
// and tests can exercise the 16-bit (WM_PAINT) path on any display.
//
// Threads: UI thread only.
#pragma once

namespace uikit {

// Bits per pixel of the current display mode (EnumDisplaySettingsW with
// ENUM_CURRENT_SETTINGS), or of the replacement source when one is set.
int DisplayBitsPerPixel();
inline bool DisplayIs32Bit() { return DisplayBitsPerPixel() == 32; }

// Replaces the source; null restores the system reading.
using DisplayDepthSource = int (*)();
void SetDisplayDepthSource(DisplayDepthSource source);

}  // namespace uikit
