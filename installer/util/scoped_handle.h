// Tiny scoped owners for the Windows objects the utilities open, so that
// every path out of a function closes what it opened.
#pragma once

#include <windows.h>

class ScopedFileHandle {
 public:
  explicit ScopedFileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~ScopedFileHandle() { Close(); }
  ScopedFileHandle(const ScopedFileHandle&) = delete;
  ScopedFileHandle& operator=(const ScopedFileHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  void Close() {
    if (valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class ScopedFindHandle {
 public:
  explicit ScopedFindHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedFindHandle() {
    if (valid()) FindClose(handle_);
  }
  ScopedFindHandle(const ScopedFindHandle&) = delete;
  ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class ScopedRegKey {
 public:
  ScopedRegKey() = default;
  ~ScopedRegKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;

  HKEY get() const { return key_; }
  // For the out-parameter of RegOpenKeyExW/RegCreateKeyExW.
  HKEY* receive() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// Owner of memory from LocalAlloc (SIDs, security descriptors, ACLs).
class ScopedLocalMemory {
 public:
  explicit ScopedLocalMemory(void* memory = nullptr) : memory_(memory) {}
  ~ScopedLocalMemory() {
    if (memory_ != nullptr) LocalFree(memory_);
  }
  ScopedLocalMemory(const ScopedLocalMemory&) = delete;
  ScopedLocalMemory& operator=(const ScopedLocalMemory&) = delete;

  void* get() const { return memory_; }
  void** receive() { return &memory_; }

 private:
  void* memory_;
};
