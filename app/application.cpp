#include "app/application.h"

#include <commctrl.h>

#include "app/default_folders.h"
#include "app/global.h"
#include "app/startup.h"
#include "app/utility_window.h"
#include "app/worker_threads.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "installer/util/resource_util.h"

namespace app {

namespace {

HINSTANCE g_instance = nullptr;
UINT g_taskbar_button_created = 0;

// Everything between the worker threads' start and their stop. Returns the
// process's result.
int Run(HINSTANCE instance, MainWindowFactory factory) {
  StartWorkerThreads();

  // Default folders; the folders above the pack folder are created now.
  InitDefaultFolders();

  auto* ui_loop = new base::MessageLoop(base::MessageLoop::TYPE_UI);
  if (ui_loop->thread_name().empty())
    ui_loop->set_thread_name("ui_thread");
  g_ui_loop = ui_loop;
  // The log's initialisation is the UI loop's first task; the start-up
  // lines follow it and are written once the loop runs.
  InitLogAndStartupLines();

  const int language_index = CGlobal::language_index();
  {
    CUtilityWindow utility(factory, MainWindowDescriptionFor(language_index));
    if (utility.Create(instance)) {
      ui_loop->Run();
      utility.Destroy();
    }
  }

  // Workers end before the UI loop is deleted: the UI loop's exit tasks
  // (removing downloaded packs) must not race with file work still queued.
  StopWorkerThreads();

  g_ui_loop = nullptr;
  delete ui_loop;
  return 1;
}

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }

UINT TaskbarButtonCreatedMessage() { return g_taskbar_button_created; }

int RunApplication(HINSTANCE instance, MainWindowFactory factory) {
  int result;
  {
    base::ExitCallbacks exit_callbacks;

    g_instance = instance;
    SetResourceModule(instance);
    g_taskbar_button_created = RegisterWindowMessageW(L"TaskbarButtonCreated");
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    // Command line, environment variable and language: fixed before any
    // thread starts.
    InitCommandLineAndLanguage();
    // The endpoints depend on the external-servers switch and the language,
    // both final now.
    CGlobal::InitServerUrls();

    result = Run(instance, factory);

    // The thread singletons still alive are destroyed here, last made first.
    base::ExitCallbacks::RunAll();
  }
  return result;
}

}  // namespace app
