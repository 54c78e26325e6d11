#include "installer/extract_allocator.h"

#include <cstdlib>

namespace {

// Each block carries its size in front, so that Free can account for it;
// 16 bytes keep the alignment malloc gave.
constexpr size_t kHeaderSize = 16;

}  // namespace

CExtractAllocator::CExtractAllocator(size_t limit) : limit_(limit) {
  vtable_.iface.Alloc = &CExtractAllocator::SzAlloc;
  vtable_.iface.Free = &CExtractAllocator::SzFree;
  vtable_.owner = this;
}

void* CExtractAllocator::Alloc(size_t size) {
  if (size > SIZE_MAX - kHeaderSize)
    return nullptr;
  if (limit_ != 0 && current_ + size > limit_)
    return nullptr;
  void* raw = std::malloc(size + kHeaderSize);
  if (!raw)
    return nullptr;
  *static_cast<size_t*>(raw) = size;
  current_ += size;
  if (current_ > peak_)
    peak_ = current_;
  return static_cast<Byte*>(raw) + kHeaderSize;
}

void CExtractAllocator::Free(void* block) {
  if (!block)
    return;
  Byte* raw = static_cast<Byte*>(block) - kHeaderSize;
  current_ -= *reinterpret_cast<size_t*>(raw);
  std::free(raw);
}

void* CExtractAllocator::SzAlloc(ISzAllocPtr p, size_t size) {
  return reinterpret_cast<const Vtable*>(p)->owner->Alloc(size);
}

void CExtractAllocator::SzFree(ISzAllocPtr p, void* address) {
  reinterpret_cast<const Vtable*>(p)->owner->Free(address);
}

bool CExtractBuffer::Allocate(size_t size) {
  Reset();
  data_ = static_cast<Byte*>(alloc_->Alloc(size));
  if (!data_)
    return false;
  size_ = size;
  return true;
}

void CExtractBuffer::Reset() {
  alloc_->Free(data_);
  data_ = nullptr;
  size_ = 0;
}
