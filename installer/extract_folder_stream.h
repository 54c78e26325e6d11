#pragma once

#include <windows.h>

#include <memory>

#include "7z.h"
#include "installer/extract_allocator.h"
#include "installer/extract_coders.h"

// The unpacked bytes of one block ("folder") of a 7z archive, read front to
// back. The coder chains that 7-Zip writes by default (LZMA or LZMA2, alone
// or behind the x86 BCJ or BCJ2 filter, and Copy) are decoded as a stream,
// so memory stays bounded by the dictionary however large the block is.
// Other chains (PPMd, the other branch filters, Delta) are unpacked whole
// into memory by the decoder library and then read from there.
//
// File thread only; one block at a time.
class CFolderStream {
 public:
  // The caller keeps |alloc|, |file| and |look| (a look-ahead stream over the
  // same file, used for whole-block unpacking) alive while blocks are open.
  CFolderStream(CExtractAllocator* alloc, HANDLE file, ILookInStreamPtr look);
  ~CFolderStream();
  CFolderStream(const CFolderStream&) = delete;
  CFolderStream& operator=(const CFolderStream&) = delete;

  // Opens block |folder| of |db| (closing any open one). With |whole_block|
  // every chain is unpacked whole. Decoder library codes: SZ_ERROR_MEM,
  // SZ_ERROR_UNSUPPORTED, SZ_ERROR_DATA, SZ_ERROR_CRC (whole blocks), ...
  SRes Open(const CSzArEx* db, UInt32 folder, bool whole_block);
  void Close();

  // Reads up to *size (more than 0) bytes; *size == 0 at the end of the
  // block.
  SRes Read(Byte* buf, size_t* size);
  // Reads and drops |count| bytes; SZ_ERROR_DATA if the block ends first.
  SRes Skip(UInt64 count);
  // Reads to the end of the block and checks that every coder ended as it
  // must and that the block's own CRC (when the archive has one) matches.
  SRes Finish();

  bool is_open() const { return open_; }
  UInt32 folder() const { return folder_; }
  // Bytes of the block read so far.
  UInt64 position() const { return position_; }
  // True when the open block is decoded as a stream.
  bool streamed() const { return source_ != nullptr; }

 private:
  SRes OpenStreamed(const CSzArEx* db, UInt32 folder, const CSzFolder& coders,
                    const Byte* props);
  SRes OpenWhole(const CSzArEx* db, UInt32 folder);
  SRes MakePackReader(const CSzArEx* db, UInt32 folder, unsigned index,
                      std::unique_ptr<CPackReader>* out);
  SRes MakeMainCoder(const CSzArEx* db, UInt32 folder, const CSzFolder& coders,
                     const Byte* props, unsigned coder, unsigned pack_index,
                     std::unique_ptr<CByteSource>* out);

  CExtractAllocator* alloc_;
  HANDLE file_;
  ILookInStreamPtr look_;

  bool open_ = false;
  UInt32 folder_ = 0;
  UInt64 size_ = 0;
  UInt64 position_ = 0;
  bool has_crc_ = false;
  UInt32 expected_crc_ = 0;
  UInt32 crc_ = 0;
  std::unique_ptr<CByteSource> source_;  // streamed block
  CExtractBuffer block_;                 // whole block
};
