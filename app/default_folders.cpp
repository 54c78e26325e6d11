#include "app/default_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "app/global.h"
#include "installer/util/file_util.h"
#include "installer/util/string_conv.h"
#include "installer/util/windows_version.h"

namespace app {

std::wstring DefaultRootFolderFor(int windows_version_code, const std::wstring& roaming_appdata) {
  return windows_version_code > 6 ? roaming_appdata : L"C:\\Program Files";
}

std::string PackFolderFor(const std::string& local_appdata_ansi) {
  return local_appdata_ansi + "\\Qiv\\KalmorInstallPack";
}

void InitDefaultFolders() {
  StartupSettings& settings = CGlobal::mutable_startup();
  int code = GetWindowsVersionCode();
  // Only read where it is used: XP keeps "C:\Program Files".
  std::wstring roaming = code > 6 ? GetSpecialFolderPath(CSIDL_APPDATA, false) : std::wstring();
  settings.default_root = DefaultRootFolderFor(code, roaming);
  settings.local_appdata = GetSpecialFolderPath(CSIDL_LOCAL_APPDATA, false);
  settings.pack_folder = PackFolderFor(WideToAnsi(settings.local_appdata));
  // Everything before the last separator: "...\Qiv" but not the pack folder.
  CreateParentFolders(AnsiToWide(settings.pack_folder).c_str());
}

}  // namespace app
