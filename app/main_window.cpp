#include "app/main_window.h"

namespace app {

const wchar_t* MainWindowDescriptionFor(int language_index) {
  switch (language_index) {
    case 0:
      return L"UIMAINWINDOW";
    case 2:
      return L"KRUIMainWindow";
    case 3:
      return L"JPUIMainWindow";
    case 4:
      return L"VNUIMainWindow";
    case 5:
      return L"RUUIMainWindow";
    default:
      return L"ENGUIMAINWINDOW";
  }
}

}  // namespace app
