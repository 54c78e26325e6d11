#include "uikit/display_depth.h"

#include <windows.h>

namespace uikit {

namespace {

DisplayDepthSource g_source = nullptr;

int SystemBitsPerPixel() {
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  return static_cast<int>(mode.dmBitsPerPel);
}

}  // namespace

int DisplayBitsPerPixel() { return g_source ? g_source() : SystemBitsPerPixel(); }

void SetDisplayDepthSource(DisplayDepthSource source) { g_source = source; }

}  // namespace uikit
