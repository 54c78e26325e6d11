// The installer's worker threads as the process spine starts and stops
// them: "file_thread" then "io_thread" before the UI loop exists, and
// "io_thread", "file_thread", "log_thread" in that order once it has ended
// (tasks queued on each still run first). The tools that mirror the spine
// use the same pair.
//
// Threads: main thread only.
#pragma once

namespace app {

// Starts "file_thread" (default pump) and "io_thread" (IO pump) unless they
// run, and publishes their loops as g_file_loop and g_io_loop. A thread that
// cannot start leaves its pointer null; posters check for that.
void StartWorkerThreads();

// Stops "io_thread", "file_thread" and "log_thread" in that order, joining
// each, and withdraws g_io_loop and g_file_loop.
void StopWorkerThreads();

}  // namespace app
