#pragma once

#include <cstddef>
#include <cstdint>

#include "7zTypes.h"

// The one allocator of a 7z extraction: the decoder library, the block
// buffers and the stream buffers all allocate through it, so that it can
// report the peak memory of an extraction and refuse to go beyond a budget
// (a 32-bit installer has far less address space than a 64-bit test run).
//
// Used by one extraction on one thread (the file thread); not thread-safe.
// Not copyable: the decoder library keeps a pointer to the embedded vtable.
class CExtractAllocator {
 public:
  // |limit| is the most bytes that may be allocated at once; 0 = no limit.
  explicit CExtractAllocator(size_t limit = 0);
  CExtractAllocator(const CExtractAllocator&) = delete;
  CExtractAllocator& operator=(const CExtractAllocator&) = delete;

  // Null when the heap or the budget is exhausted (also for size 0 it
  // returns a valid, freeable block).
  void* Alloc(size_t size);
  // Accepts null.
  void Free(void* block);

  // The interface the decoder library expects.
  ISzAllocPtr sz() const { return &vtable_.iface; }

  uint64_t current() const { return current_; }
  uint64_t peak() const { return peak_; }

 private:
  struct Vtable {
    ISzAlloc iface;
    CExtractAllocator* owner;
  };
  static void* SzAlloc(ISzAllocPtr p, size_t size);
  static void SzFree(ISzAllocPtr p, void* address);

  Vtable vtable_;
  size_t limit_;
  uint64_t current_ = 0;
  uint64_t peak_ = 0;
};

// A byte buffer from a CExtractAllocator, released when it goes out of scope.
class CExtractBuffer {
 public:
  explicit CExtractBuffer(CExtractAllocator* alloc) : alloc_(alloc) {}
  ~CExtractBuffer() { Reset(); }
  CExtractBuffer(const CExtractBuffer&) = delete;
  CExtractBuffer& operator=(const CExtractBuffer&) = delete;

  // Replaces the buffer by one of |size| bytes; false when memory ran out
  // (the buffer is then empty).
  bool Allocate(size_t size);
  void Reset();

  Byte* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  CExtractAllocator* alloc_;
  Byte* data_ = nullptr;
  size_t size_ = 0;
};
