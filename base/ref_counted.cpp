#include "base/ref_counted.h"

namespace base {

RefCountedThreadSafeBase::~RefCountedThreadSafeBase() = default;

void RefCountedThreadSafeBase::AddRef() const {
  InterlockedIncrement(&ref_count_);
}

void RefCountedThreadSafeBase::Release() const {
  if (InterlockedDecrement(&ref_count_) == 0) delete this;
}

bool RefCountedThreadSafeBase::HasOneRef() const {
  return InterlockedCompareExchange(&ref_count_, 0, 0) == 1;
}

}  // namespace base
