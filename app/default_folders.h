// The default folders: the parent offered for the install folder, the local
// application-data folder and the pack folder that holds downloads and the
// log files.
#pragma once

#include <string>

namespace app {

// Pure. Vista and later (version code above 6): the roaming application-data
// folder; Windows 2000, XP, Server 2003 and unknown systems: "C:\Program Files".
std::wstring DefaultRootFolderFor(int windows_version_code, const std::wstring& roaming_appdata);

// Pure. local app-data (ANSI) + "\Qiv\KalmorInstallPack".
std::string PackFolderFor(const std::string& local_appdata_ansi);

// Reads the special folders, fills CGlobal's default root, local app-data
// and pack folder, and creates the folders above the pack folder (the pack
// folder itself is made by the logger). Main thread, at start, after the
// worker threads have started.
void InitDefaultFolders();

}  // namespace app
