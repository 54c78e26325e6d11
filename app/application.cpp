#include "app/application.h"

#include <commctrl.h>

#include "app/default_folders.h"
#include "app/global.h"
#include "app/startup.h"
#include "app/utility_window.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "base/thread.h"
#include "installer/util/resource_util.h"

namespace app {

namespace {

HINSTANCE g_instance = nullptr;
UINT g_taskbar_button_created = 0;

// Starts |thread| unless it already runs and publishes its loop in |loop|.
// A thread that cannot start leaves |loop| null; later posts check for that.
void StartWorker(base::Thread* thread, base::MessageLoop::Type type, base::MessageLoop** loop) {
  if (!thread->message_loop()) {
    base::Thread::StartOptions options;
    options.loop_type = type;
    thread->Start(options);
  }
  *loop = thread->message_loop();
}

// Stops |thread| (its queued tasks still run first) and withdraws its loop.
void StopWorker(base::Thread* thread, base::MessageLoop** loop) {
  thread->Stop();
  if (loop)
    *loop = nullptr;
}

// Everything between the worker threads' start and their stop. Returns the
// process's result.
int Run(HINSTANCE instance, MainWindowFactory factory) {
  StartWorker(base::FileThread(), base::MessageLoop::TYPE_DEFAULT, &g_file_loop);
  StartWorker(base::IoThread(), base::MessageLoop::TYPE_IO, &g_io_loop);

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
  StopWorker(base::IoThread(), &g_io_loop);
  StopWorker(base::FileThread(), &g_file_loop);
  StopWorker(base::LogThread(), nullptr);

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
