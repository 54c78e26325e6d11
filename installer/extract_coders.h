#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "7zTypes.h"

class CExtractAllocator;

// The coders of a 7z block, as pull streams: each one produces its output in
// pieces as the caller asks for them, so that a block of any size can be
// unpacked with memory bounded by the decoder's dictionary and a few fixed
// buffers, instead of holding the whole unpacked block.
//
// All of them run on the thread that extracts (the file thread) and are not
// shared between threads.

// Method ids as the archive stores them.
constexpr UInt32 k7zMethodCopy = 0;
constexpr UInt32 k7zMethodLzma2 = 0x21;
constexpr UInt32 k7zMethodLzma = 0x30101;
constexpr UInt32 k7zMethodBcj = 0x3030103;
constexpr UInt32 k7zMethodBcj2 = 0x303011B;

// A stream of bytes produced by a coder.
class CByteSource {
 public:
  virtual ~CByteSource() = default;
  // Reads up to *size (more than 0) bytes into |buf| and sets *size to the
  // count read. *size == 0 means the stream has ended; the result then says
  // whether it ended as its coder requires (all input used, end mark seen).
  // A non-zero result is a decoder library code (SZ_ERROR_DATA, ...).
  virtual SRes Read(Byte* buf, size_t* size) = 0;
};

// One packed stream: a byte range of the archive file, read through a
// buffer with positioned reads (several of them share the file handle).
class CPackReader {
 public:
  // The caller keeps |alloc| and |file| alive for the reader's lifetime.
  CPackReader(CExtractAllocator* alloc, HANDLE file, UInt64 offset,
              UInt64 size);
  ~CPackReader();
  CPackReader(const CPackReader&) = delete;
  CPackReader& operator=(const CPackReader&) = delete;

  // Allocates the buffer: SZ_ERROR_MEM when that fails.
  SRes Init(size_t buffer_size);
  // Points |data| at the unread bytes in the buffer, refilling it when it is
  // empty. *avail == 0 when the range (or the file, if it is shorter) ended.
  SRes Look(const Byte** data, size_t* avail);
  // Marks |count| bytes of the last Look as used.
  void Skip(size_t count);
  // Bytes of the range not yet used.
  UInt64 remaining() const { return size_ - used_; }

 private:
  CExtractAllocator* alloc_;
  HANDLE file_;
  UInt64 offset_;
  UInt64 size_;
  UInt64 used_ = 0;
  Byte* buffer_ = nullptr;
  size_t buffer_size_ = 0;
  size_t pos_ = 0;
  size_t end_ = 0;
};

// Copy, LZMA or LZMA2 over one packed stream; |unpack_size| is the coder's
// output size from the archive. Takes ownership of |input|.
SRes CreateMainCoderSource(CExtractAllocator* alloc, UInt32 method,
                           const Byte* props, unsigned props_size,
                           UInt64 unpack_size,
                           std::unique_ptr<CPackReader> input,
                           std::unique_ptr<CByteSource>* out);

// The x86 branch filter (BCJ) over |input|. Takes ownership of |input|.
SRes CreateX86FilterSource(CExtractAllocator* alloc,
                           std::unique_ptr<CByteSource> input,
                           std::unique_ptr<CByteSource>* out);

// The BCJ2 filter: four inputs (the main, call and jump streams from their
// coders, the range-coder stream straight from the archive) into
// |unpack_size| bytes. Takes ownership of the inputs.
SRes CreateBcj2Source(CExtractAllocator* alloc,
                      std::unique_ptr<CByteSource> main_stream,
                      std::unique_ptr<CByteSource> call_stream,
                      std::unique_ptr<CByteSource> jump_stream,
                      std::unique_ptr<CPackReader> rc_stream,
                      UInt64 unpack_size, std::unique_ptr<CByteSource>* out);
