#include "installer/extract_folder_stream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "7zCrc.h"

namespace {

constexpr size_t kPackBufferSize = 1 << 17;

enum class Chain { kSingle, kX86, kBcj2, kOther };

bool IsStreamedMainCoder(const CSzCoderInfo& c) {
  return c.NumStreams == 1 &&
         (c.MethodID == k7zMethodCopy || c.MethodID == k7zMethodLzma ||
          c.MethodID == k7zMethodLzma2);
}

// Which of the streamed chains |f| is; the bond and packed-stream layouts
// are those 7-Zip writes (and the only ones the decoder library accepts).
Chain ClassifyChain(const CSzFolder& f) {
  if (f.NumCoders == 0 || !IsStreamedMainCoder(f.Coders[0]))
    return Chain::kOther;
  if (f.NumCoders == 1 && f.NumPackStreams == 1 && f.PackStreams[0] == 0 &&
      f.NumBonds == 0)
    return Chain::kSingle;
  if (f.NumCoders == 2 && f.Coders[1].MethodID == k7zMethodBcj &&
      f.Coders[1].NumStreams == 1 && f.Coders[1].PropsSize == 0 &&
      f.NumPackStreams == 1 && f.PackStreams[0] == 0 && f.NumBonds == 1 &&
      f.Bonds[0].InIndex == 1 && f.Bonds[0].OutIndex == 0)
    return Chain::kX86;
  if (f.NumCoders == 4 && IsStreamedMainCoder(f.Coders[1]) &&
      IsStreamedMainCoder(f.Coders[2]) && f.Coders[3].MethodID == k7zMethodBcj2 &&
      f.Coders[3].NumStreams == 4 && f.NumPackStreams == 4 &&
      f.PackStreams[0] == 2 && f.PackStreams[1] == 6 && f.PackStreams[2] == 1 &&
      f.PackStreams[3] == 0 && f.NumBonds == 3 && f.Bonds[0].InIndex == 5 &&
      f.Bonds[0].OutIndex == 0 && f.Bonds[1].InIndex == 4 &&
      f.Bonds[1].OutIndex == 1 && f.Bonds[2].InIndex == 3 &&
      f.Bonds[2].OutIndex == 2)
    return Chain::kBcj2;
  return Chain::kOther;
}

}  // namespace

CFolderStream::CFolderStream(CExtractAllocator* alloc, HANDLE file,
                             ILookInStreamPtr look)
    : alloc_(alloc), file_(file), look_(look), block_(alloc) {}

CFolderStream::~CFolderStream() { Close(); }

void CFolderStream::Close() {
  source_.reset();
  block_.Reset();
  open_ = false;
  position_ = 0;
  size_ = 0;
}

SRes CFolderStream::Open(const CSzArEx* db, UInt32 folder, bool whole_block) {
  Close();
  const CSzAr& ar = db->db;
  const Byte* props = ar.CodersData + ar.FoCodersOffsets[folder];
  CSzData sd;
  sd.Data = props;
  sd.Size = ar.FoCodersOffsets[folder + 1] - ar.FoCodersOffsets[folder];
  CSzFolder coders;
  SRes res = SzGetNextFolderItem(&coders, &sd);
  if (res != SZ_OK)
    return res;
  if (sd.Size != 0 || coders.UnpackStream != ar.FoToMainUnpackSizeIndex[folder])
    return SZ_ERROR_FAIL;

  folder_ = folder;
  size_ = SzAr_GetFolderUnpackSize(&ar, folder);
  has_crc_ = SzBitWithVals_Check(&ar.FolderCRCs, folder);
  expected_crc_ = has_crc_ ? ar.FolderCRCs.Vals[folder] : 0;
  crc_ = CRC_INIT_VAL;
  if (!whole_block && ClassifyChain(coders) != Chain::kOther)
    res = OpenStreamed(db, folder, coders, props);
  else
    res = OpenWhole(db, folder);
  if (res != SZ_OK) {
    Close();
    return res;
  }
  open_ = true;
  return SZ_OK;
}

SRes CFolderStream::MakePackReader(const CSzArEx* db, UInt32 folder,
                                   unsigned index,
                                   std::unique_ptr<CPackReader>* out) {
  const UInt64* pack = db->db.PackPositions + db->db.FoStartPackStreamIndex[folder];
  out->reset(new (std::nothrow) CPackReader(
      alloc_, file_, db->dataPos + pack[index], pack[index + 1] - pack[index]));
  if (!*out)
    return SZ_ERROR_MEM;
  return (*out)->Init(kPackBufferSize);
}

SRes CFolderStream::MakeMainCoder(const CSzArEx* db, UInt32 folder,
                                  const CSzFolder& coders, const Byte* props,
                                  unsigned coder, unsigned pack_index,
                                  std::unique_ptr<CByteSource>* out) {
  std::unique_ptr<CPackReader> input;
  SRes res = MakePackReader(db, folder, pack_index, &input);
  if (res != SZ_OK)
    return res;
  const CSzCoderInfo& c = coders.Coders[coder];
  const UInt64 unpack =
      db->db.CoderUnpackSizes[db->db.FoToCoderUnpackSizes[folder] + coder];
  return CreateMainCoderSource(alloc_, c.MethodID, props + c.PropsOffset,
                               c.PropsSize, unpack, std::move(input), out);
}

SRes CFolderStream::OpenStreamed(const CSzArEx* db, UInt32 folder,
                                 const CSzFolder& coders, const Byte* props) {
  const UInt64* unpack =
      db->db.CoderUnpackSizes + db->db.FoToCoderUnpackSizes[folder];
  SRes res = SZ_OK;
  switch (ClassifyChain(coders)) {
    case Chain::kSingle:
      return MakeMainCoder(db, folder, coders, props, 0, 0, &source_);
    case Chain::kX86: {
      // The filter's output is as long as its input.
      if (unpack[0] != size_)
        return SZ_ERROR_DATA;
      std::unique_ptr<CByteSource> lzma;
      res = MakeMainCoder(db, folder, coders, props, 0, 0, &lzma);
      if (res != SZ_OK)
        return res;
      return CreateX86FilterSource(alloc_, std::move(lzma), &source_);
    }
    case Chain::kBcj2: {
      // Coder 0 unpacks the jump stream from packed stream 3, coder 1 the
      // call stream from packed stream 2, coder 2 the main stream from
      // packed stream 0; packed stream 1 is the filter's range coder.
      std::unique_ptr<CByteSource> jump, call, main;
      std::unique_ptr<CPackReader> rc;
      res = MakeMainCoder(db, folder, coders, props, 0, 3, &jump);
      if (res == SZ_OK)
        res = MakeMainCoder(db, folder, coders, props, 1, 2, &call);
      if (res == SZ_OK)
        res = MakeMainCoder(db, folder, coders, props, 2, 0, &main);
      if (res == SZ_OK)
        res = MakePackReader(db, folder, 1, &rc);
      if (res != SZ_OK)
        return res;
      if (unpack[0] + unpack[1] + unpack[2] != size_)
        return SZ_ERROR_DATA;
      return CreateBcj2Source(alloc_, std::move(main), std::move(call),
                              std::move(jump), std::move(rc), size_, &source_);
    }
    case Chain::kOther:
      break;
  }
  return SZ_ERROR_UNSUPPORTED;
}

SRes CFolderStream::OpenWhole(const CSzArEx* db, UInt32 folder) {
  if (size_ > SIZE_MAX)
    return SZ_ERROR_MEM;
  if (!block_.Allocate(static_cast<size_t>(size_)))
    return SZ_ERROR_MEM;
  // The decoder library checks the block's CRC itself here.
  has_crc_ = false;
  return SzAr_DecodeFolder(&db->db, folder, look_, db->dataPos, block_.data(),
                           block_.size(), alloc_->sz());
}

SRes CFolderStream::Read(Byte* buf, size_t* size) {
  size_t want = *size;
  *size = 0;
  if (!open_)
    return SZ_ERROR_FAIL;
  if (!source_) {
    size_t n = static_cast<size_t>(std::min<UInt64>(want, size_ - position_));
    std::memcpy(buf, block_.data() + position_, n);
    position_ += n;
    *size = n;
    return SZ_OK;
  }
  size_t n = want;
  SRes res = source_->Read(buf, &n);
  if (res != SZ_OK)
    return res;
  // The chain may not give more than the block's size.
  if (n > size_ - position_)
    return SZ_ERROR_DATA;
  crc_ = CrcUpdate(crc_, buf, n);
  position_ += n;
  *size = n;
  return SZ_OK;
}

SRes CFolderStream::Skip(UInt64 count) {
  Byte scratch[4096];
  while (count > 0) {
    size_t n = static_cast<size_t>(std::min<UInt64>(sizeof(scratch), count));
    SRes res = Read(scratch, &n);
    if (res != SZ_OK)
      return res;
    if (n == 0)
      return SZ_ERROR_DATA;
    count -= n;
  }
  return SZ_OK;
}

SRes CFolderStream::Finish() {
  Byte scratch[4096];
  for (;;) {
    size_t n = sizeof(scratch);
    SRes res = Read(scratch, &n);
    if (res != SZ_OK)
      return res;
    if (n == 0)
      break;
  }
  if (position_ != size_)
    return SZ_ERROR_DATA;
  if (has_crc_ && CRC_GET_DIGEST(crc_) != expected_crc_)
    return SZ_ERROR_CRC;
  return SZ_OK;
}
