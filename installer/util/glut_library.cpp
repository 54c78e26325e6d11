#include "installer/util/glut_library.h"

#include <windows.h>

#include "installer/util/resource_util.h"
#include "installer/util/scoped_handle.h"

namespace {

std::wstring g_glut_library_path;

}  // namespace

bool WriteGlutLibrary(const std::wstring& target) {
  HMODULE module = ResourceModule();
  HRSRC resource = FindResourceW(module, L"OPENG32LDLL", L"APP");
  if (resource == nullptr) return false;
  DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
  if (data == nullptr || size == 0) return false;

  bool written = false;
  {
    ScopedFileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD done = 0;
    written = WriteFile(file.get(), data, size, &done, nullptr) && done == size;
  }
  // A truncated library would make the probe fail in confusing ways.
  if (!written) DeleteFileW(target.c_str());
  return written;
}

bool WriteGlutLibraryToCurrentFolder() {
  wchar_t folder[MAX_PATH] = {0};
  DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring path(folder);
  if (path.back() != L'\\') path.push_back(L'\\');
  path += L"glut32.dll";
  g_glut_library_path = path;
  return WriteGlutLibrary(path);
}

std::wstring GlutLibraryPath() { return g_glut_library_path; }
