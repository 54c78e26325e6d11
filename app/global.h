// CGlobal: the process-wide settings object.
//
// The start-up settings below are fixed on the main thread before the UI
// loop runs (command line, language, default folders) and only read
// afterwards, from any thread; the one exception is the install folder,
// which the user's choice replaces on the UI thread. Threads started later
// see the values through their start (and the tasks posted to them), so no
// lock is needed.
//
// The class is all static: one instance of each setting exists, constructed
// before the entry point runs. Other parts of the program add their own
// process-wide members here (the server endpoints and request signing) and
// define them in their own source files.
#pragma once

#include <windows.h>

#include <string>

class CServerUrls;

struct StartupSettings {
  bool debug = false;             // "-debug" or the environment variable
  bool external_servers = true;   // cleared by "-unExternalQiv:"
  bool file_url = false;          // "-fileurl:"
  bool international = false;     // never set in this build
  LANGID lang_id = 0;             // GetSystemDefaultLangID()
  int chinese = 0;                // 1 for 0x0804
  int language_index = 0;         // 0 Chinese, 6 any other language
  std::wstring main_shortcut_name;
  std::wstring multi_shortcut_name;
  std::wstring uninstall_shortcut_name;
  std::wstring program_folder_name;  // with its leading backslash
  std::wstring default_root;         // default parent of the install folder
  std::wstring local_appdata;
  std::string pack_folder;           // ANSI: downloads' parent and log folder
};

class CGlobal {
 public:
  CGlobal() = delete;

  // Read access for every part of the program. Any thread.
  static const StartupSettings& startup() { return startup_; }
  // Main thread, before the UI loop runs (and tests).
  static StartupSettings& mutable_startup() { return startup_; }

  static bool debug() { return startup_.debug; }
  static bool external_servers() { return startup_.external_servers; }
  static bool file_url() { return startup_.file_url; }
  static bool international() { return startup_.international; }
  static LANGID lang_id() { return startup_.lang_id; }
  static int chinese() { return startup_.chinese; }
  static int language_index() { return startup_.language_index; }
  static const std::string& pack_folder() { return startup_.pack_folder; }

  // Server endpoints and request signing (server/global_server_urls.cpp).
  // Main thread, once, after the command line and the language are final:
  // fills the endpoint table from the external-servers flag, the language
  // index and the MAC address.
  static void InitServerUrls();
  // Any thread after InitServerUrls: a fresh signed parameter string (the
  // clock is read on every call), and the infor URL followed by one.
  static std::string GetSignedParams();
  static std::string GetInforUrl();
  // The endpoint table, the query URL member and the test seams.
  static CServerUrls& server_urls();

 private:
  static StartupSettings startup_;
};
