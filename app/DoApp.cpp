// Entry point of the installer.
#include <windows.h>

#include "app/application.h"
#include "app/single_instance.h"

namespace {

// The installer's main window. The skinned main window that the product shows
// is not part of this build yet; without it there is no window to make, and
// the process shuts down normally with result 1.
app::MainWindow* CreateProductMainWindow() { return nullptr; }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // A second instance shows nothing, writes nothing and ends at once: the
  // running one comes forward instead.
  if (app::SignalRunningInstance())
    ExitProcess(0);
  return app::RunApplication(instance, &CreateProductMainWindow);
}
