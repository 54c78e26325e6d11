#include "app/config_file.h"

#include <cwchar>

#include "base/exit_callbacks.h"
#include "installer/util/string_conv.h"

namespace {

// 260 characters of value and the terminator.
constexpr DWORD kValueBufferBytes = 261;

CConfigFile* g_instance = nullptr;

// Exit callback. Clears the pointer too, so that a later first use (a test
// that runs the exit callbacks more than once) makes a new instance.
void DestroyInstance(void* instance) {
  if (g_instance == instance) g_instance = nullptr;
  delete static_cast<CConfigFile*>(instance);
}

}  // namespace

CConfigFile* CConfigFile::Instance() {
  if (g_instance == nullptr) {
    g_instance = new CConfigFile();
    base::ExitCallbacks::Add(&DestroyInstance, g_instance);
  }
  return g_instance;
}

bool CConfigFile::SetPath(const std::wstring& path) {
  if (path.size() >= MAX_PATH) return false;
  wmemcpy(path_, path.c_str(), path.size() + 1);
  return true;
}

std::string CConfigFile::Read(const char* section, const char* key) const {
  // An empty path would make Windows read "win.ini"; there is nothing to read.
  if (path_[0] == 0 || section == nullptr || key == nullptr) return std::string();
  std::string path = WideToAnsi(path_);
  char buffer[kValueBufferBytes] = {0};
  GetPrivateProfileStringA(section, key, "", buffer, kValueBufferBytes, path.c_str());
  return buffer;
}
