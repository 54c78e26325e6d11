#pragma once

#include <windows.h>

#include "app/main_window.h"

// The spine of the installer process: the order in which the runtime, the
// worker threads, the UI loop and the main window come up, the run of the
// UI loop, and the order of shutdown.
//
//   at-exit list -> common controls -> "file_thread", "io_thread" started
//   -> UI loop "ui_thread" -> utility window (makes the main window)
//   -> UI loop runs until the main window posts WM_QUIT
//   -> utility window destroyed -> "io_thread", "file_thread", "log_thread"
//   stopped in that order (queued work still runs) -> UI loop deleted, so its
//   exit tasks run after every worker has ended -> at-exit callbacks.
namespace app {

// Runs the installer from the at-exit list to the end of shutdown and returns
// the process's result: 1, also when the main window could not be made (the
// UI loop is then never run). Main thread only; the single-instance test has
// already been made by the caller.
int RunApplication(HINSTANCE instance, MainWindowFactory factory);

// The module instance handle given to the entry point; resource lookups use
// it. Any thread, once RunApplication has started.
HINSTANCE ModuleInstance();

// The id of the registered "TaskbarButtonCreated" message. Any thread.
UINT TaskbarButtonCreatedMessage();

}  // namespace app
