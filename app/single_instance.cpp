#include "app/single_instance.h"

namespace app {

HWND FindRunningInstance() {
  HWND candidate = nullptr;
  while ((candidate = FindWindowExW(HWND_MESSAGE, candidate, kUtilityWindowClass,
                                    kUtilityWindowTitle)) != nullptr) {
    if (IsWindow(candidate) &&
        GetWindowLongPtrW(candidate, GWLP_USERDATA) == kUtilityWindowMarker) {
      return candidate;
    }
  }
  return nullptr;
}

bool SignalRunningInstance() {
  HWND running = FindRunningInstance();
  if (!running)
    return false;
  PostMessageW(running, kMsgBringToFront, 0, 0);
  return true;
}

}  // namespace app
