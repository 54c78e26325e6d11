#include "installer/util/resource_util.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<HMODULE> g_resource_module{nullptr};

constexpr int kGrowStep = 256;

}  // namespace

HMODULE ResourceModule() {
  HMODULE module = g_resource_module.load();
  return module != nullptr ? module : GetModuleHandleW(nullptr);
}

void SetResourceModule(HMODULE module) { g_resource_module.store(module); }

bool LoadResourceString(UINT id, std::wstring* text) {
  if (text == nullptr) return false;
  text->clear();
  for (int capacity = kGrowStep;; capacity += kGrowStep) {
    std::vector<wchar_t> buffer(static_cast<size_t>(capacity));
    int length = LoadStringW(ResourceModule(), id, buffer.data(), capacity);
    if (length <= 0) return false;
    // A string that filled the buffer (length capacity - 1) may have been cut.
    if (length < capacity - 1) {
      text->assign(buffer.data(), static_cast<size_t>(length));
      return true;
    }
  }
}
