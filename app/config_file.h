// CConfigFile: the reader of the resource pack's "conf.ini" (the install
// folder's "bin\conf.ini"). It holds the file's path and returns single
// values by section and key; what the keys mean belongs to their callers.
//
// UI thread only; no lock. The instance is made on first use and destroyed
// by the process's exit callbacks.
#pragma once

#include <windows.h>

#include <string>

class CConfigFile {
 public:
  static CConfigFile* Instance();

  // Sets the file's path. A path of MAX_PATH (260) characters or more is
  // refused (false) and the previous path is kept.
  bool SetPath(const std::wstring& path);
  const wchar_t* path() const { return path_; }

  // The value of `key` in `section`, at most 260 bytes, in the system code
  // page. Empty for a missing file, section or key, and before any path was
  // set.
  std::string Read(const char* section, const char* key) const;

  virtual ~CConfigFile() = default;

 private:
  CConfigFile() = default;

  wchar_t path_[MAX_PATH] = {0};
};
