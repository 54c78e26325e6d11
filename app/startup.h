// The start-up steps of the settings and the log, in the order the process
// spine calls them (main thread):
//
//   InitCommandLineAndLanguage()  entry, before the worker threads start
//   InitDefaultFolders()          (default_folders.h) after they started
//   InitLogAndStartupLines()      once g_ui_loop exists: the log's
//                                 initialisation becomes the UI loop's first
//                                 task, and the two start-up lines follow it,
//                                 so they are written once the loop runs.
#pragma once

namespace app {

// Command line, the debug environment variable and the language rule, into
// CGlobal; the logger learns the debug flag.
void InitCommandLineAndLanguage();

// Posts the log's initialisation (pack folder) to g_ui_loop and logs
// "downloader start:OS language:<id>    <chinese>" (always) and the program's
// edition and version (debug only).
void InitLogAndStartupLines();

}  // namespace app
