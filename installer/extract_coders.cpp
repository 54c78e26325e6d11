#include "installer/extract_coders.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "Bcj2.h"
#include "Bra.h"
#include "Lzma2Dec.h"
#include "LzmaDec.h"
#include "installer/extract_allocator.h"

namespace {

// Buffer of each staged input of the BCJ2 filter and of the x86 filter.
constexpr size_t kStageSize = 1 << 16;

// ---------------------------------------------------------------------------
// Copy: the packed bytes are the output.
class CCopySource : public CByteSource {
 public:
  explicit CCopySource(std::unique_ptr<CPackReader> input)
      : input_(std::move(input)) {}

  SRes Read(Byte* buf, size_t* size) override {
    size_t want = *size;
    *size = 0;
    if (input_->remaining() == 0)
      return SZ_OK;
    const Byte* data = nullptr;
    size_t avail = 0;
    SRes res = input_->Look(&data, &avail);
    if (res != SZ_OK)
      return res;
    if (avail == 0)
      return SZ_ERROR_INPUT_EOF;  // the file is shorter than the archive says
    size_t n = std::min(want, avail);
    std::memcpy(buf, data, n);
    input_->Skip(n);
    *size = n;
    return SZ_OK;
  }

 private:
  std::unique_ptr<CPackReader> input_;
};

// ---------------------------------------------------------------------------
// LZMA and LZMA2 decode into a ring dictionary of the coder's dictionary
// size (never more than its output size); the caller copies out of it.
// The end checks are those of the library's whole-block decoder: LZMA ends
// with an end mark or exactly at the output size with all input used; LZMA2
// always with its end mark, all input used.
class CLzmaSource : public CByteSource {
 public:
  CLzmaSource(CExtractAllocator* alloc, bool lzma2, UInt64 unpack_size,
              std::unique_ptr<CPackReader> input)
      : alloc_(alloc), lzma2_(lzma2), unpack_size_(unpack_size),
        input_(std::move(input)) {
    LzmaDec_CONSTRUCT(&lzma_)
    Lzma2Dec_CONSTRUCT(&lzma2_state_)
  }

  ~CLzmaSource() override {
    LzmaDec_FreeProbs(&core(), alloc_->sz());
    alloc_->Free(core().dic);
    core().dic = nullptr;
  }

  SRes Init(const Byte* props, unsigned props_size) {
    if (lzma2_) {
      if (props_size != 1)
        return SZ_ERROR_DATA;
      SRes res = Lzma2Dec_AllocateProbs(&lzma2_state_, props[0], alloc_->sz());
      if (res != SZ_OK)
        return res;
    } else {
      SRes res = LzmaDec_AllocateProbs(&lzma_, props, props_size, alloc_->sz());
      if (res != SZ_OK)
        return res;
    }
    // A dictionary larger than the whole output is never used.
    UInt64 dic_size = std::min<UInt64>(core().prop.dicSize, unpack_size_);
    if (dic_size == 0)
      dic_size = 1;
    if (dic_size > SIZE_MAX)
      return SZ_ERROR_MEM;
    core().dic = static_cast<Byte*>(alloc_->Alloc(static_cast<size_t>(dic_size)));
    if (!core().dic)
      return SZ_ERROR_MEM;
    core().dicBufSize = static_cast<SizeT>(dic_size);
    if (lzma2_)
      Lzma2Dec_Init(&lzma2_state_);
    else
      LzmaDec_Init(&lzma_);
    return SZ_OK;
  }

  SRes Read(Byte* buf, size_t* size) override {
    size_t want = *size;
    *size = 0;
    CLzmaDec& dec = core();
    for (;;) {
      if (out_pos_ < dec.dicPos) {
        size_t n = std::min(want, static_cast<size_t>(dec.dicPos - out_pos_));
        std::memcpy(buf, dec.dic + out_pos_, n);
        out_pos_ += n;
        *size = n;
        return SZ_OK;
      }
      if (finished_)
        return SZ_OK;
      if (dec.dicPos == dec.dicBufSize) {
        dec.dicPos = 0;
        out_pos_ = 0;
      }
      SRes res = DecodeStep();
      if (res != SZ_OK)
        return res;
    }
  }

 private:
  CLzmaDec& core() { return lzma2_ ? lzma2_state_.decoder : lzma_; }

  // Decodes one piece into the dictionary, or recognises the end.
  SRes DecodeStep() {
    CLzmaDec& dec = core();
    const UInt64 left = unpack_size_ - decoded_;
    const SizeT room = dec.dicBufSize - dec.dicPos;
    const SizeT step = static_cast<SizeT>(std::min<UInt64>(room, left));
    const SizeT before = dec.dicPos;
    // Only the piece that reaches the output size may end the stream.
    const ELzmaFinishMode mode = step == left ? LZMA_FINISH_END : LZMA_FINISH_ANY;

    const Byte* in = nullptr;
    size_t avail = 0;
    SRes res = input_->Look(&in, &avail);
    if (res != SZ_OK)
      return res;
    SizeT in_used = avail;
    ELzmaStatus status = LZMA_STATUS_NOT_SPECIFIED;
    if (lzma2_)
      res = Lzma2Dec_DecodeToDic(&lzma2_state_, before + step, in, &in_used,
                                 mode, &status);
    else
      res = LzmaDec_DecodeToDic(&lzma_, before + step, in, &in_used, mode,
                                &status);
    input_->Skip(in_used);
    decoded_ += dec.dicPos - before;
    if (res != SZ_OK)
      return res;

    if (status == LZMA_STATUS_FINISHED_WITH_MARK) {
      if (decoded_ != unpack_size_ || input_->remaining() != 0)
        return SZ_ERROR_DATA;
      finished_ = true;
      return SZ_OK;
    }
    if (!lzma2_ && decoded_ == unpack_size_ && input_->remaining() == 0 &&
        status == LZMA_STATUS_MAYBE_FINISHED_WITHOUT_MARK) {
      finished_ = true;
      return SZ_OK;
    }
    if (in_used == 0 && dec.dicPos == before)
      return SZ_ERROR_DATA;  // no progress: truncated or damaged
    return SZ_OK;
  }

  CExtractAllocator* alloc_;
  bool lzma2_;
  UInt64 unpack_size_;
  std::unique_ptr<CPackReader> input_;
  CLzmaDec lzma_;
  CLzma2Dec lzma2_state_;
  UInt64 decoded_ = 0;
  SizeT out_pos_ = 0;  // dictionary bytes before this were handed out
  bool finished_ = false;
};

// ---------------------------------------------------------------------------
// The x86 branch filter converts as far as it can see four bytes ahead and
// keeps its state between calls; the last bytes of the stream pass as they
// are, as in the whole-block conversion.
class CX86FilterSource : public CByteSource {
 public:
  CX86FilterSource(CExtractAllocator* alloc, std::unique_ptr<CByteSource> input)
      : buffer_(alloc), input_(std::move(input)) {}

  SRes Init() { return buffer_.Allocate(kStageSize) ? SZ_OK : SZ_ERROR_MEM; }

  SRes Read(Byte* buf, size_t* size) override {
    size_t want = *size;
    *size = 0;
    for (;;) {
      if (pos_ < converted_) {
        size_t n = std::min(want, converted_ - pos_);
        std::memcpy(buf, buffer_.data() + pos_, n);
        pos_ += n;
        *size = n;
        return SZ_OK;
      }
      if (input_ended_ && pos_ == filled_)
        return SZ_OK;
      SRes res = Refill();
      if (res != SZ_OK)
        return res;
    }
  }

 private:
  SRes Refill() {
    Byte* data = buffer_.data();
    std::memmove(data, data + pos_, filled_ - pos_);
    filled_ -= pos_;
    pos_ = 0;
    converted_ = 0;
    while (!input_ended_ && filled_ < buffer_.size()) {
      size_t n = buffer_.size() - filled_;
      SRes res = input_->Read(data + filled_, &n);
      if (res != SZ_OK)
        return res;
      if (n == 0)
        input_ended_ = true;
      filled_ += n;
    }
    Byte* end = z7_BranchConvSt_X86_Dec(data, filled_, pc_, &state_);
    converted_ = static_cast<size_t>(end - data);
    pc_ += static_cast<UInt32>(converted_);
    if (input_ended_)
      converted_ = filled_;
    return SZ_OK;
  }

  CExtractBuffer buffer_;
  std::unique_ptr<CByteSource> input_;
  size_t pos_ = 0;
  size_t converted_ = 0;
  size_t filled_ = 0;
  UInt32 pc_ = 0;
  UInt32 state_ = Z7_BRANCH_CONV_ST_X86_STATE_INIT_VAL;
  bool input_ended_ = false;
};

// ---------------------------------------------------------------------------
// One input of the BCJ2 filter, staged in a buffer. The call and jump
// streams are handed over in whole 32-bit words, aligned, as the filter
// reads them as words.
class CBcj2Input {
 public:
  CBcj2Input(CExtractAllocator* alloc, std::unique_ptr<CByteSource> source,
             bool words)
      : buffer_(alloc), source_(std::move(source)), words_(words) {}

  SRes Init() { return buffer_.Allocate(kStageSize) ? SZ_OK : SZ_ERROR_MEM; }

  const Byte* begin() const { return buffer_.data() + pos_; }
  const Byte* end() const { return buffer_.data() + usable_; }
  void set_begin(const Byte* p) { pos_ = static_cast<size_t>(p - buffer_.data()); }

  // Moves what is left to the front and reads more; *got is false when
  // nothing more came (the source ended).
  SRes Refill(bool* got) {
    *got = false;
    Byte* data = buffer_.data();
    std::memmove(data, data + pos_, filled_ - pos_);
    filled_ -= pos_;
    pos_ = 0;
    const size_t before = usable_ = Usable();
    while (!ended_ && filled_ < buffer_.size()) {
      size_t n = buffer_.size() - filled_;
      SRes res = source_->Read(data + filled_, &n);
      if (res != SZ_OK)
        return res;
      if (n == 0) {
        ended_ = true;
        break;
      }
      filled_ += n;
      if (Usable() > before)
        break;
    }
    usable_ = Usable();
    *got = usable_ > before;
    return SZ_OK;
  }

  // True when every byte was used and the source ended as its coder requires.
  SRes CheckFinished() {
    if (pos_ != filled_)
      return SZ_ERROR_DATA;
    if (!ended_) {
      Byte probe[4];
      size_t n = sizeof(probe);
      SRes res = source_->Read(probe, &n);
      if (res != SZ_OK)
        return res;
      if (n != 0)
        return SZ_ERROR_DATA;
      ended_ = true;
    }
    return SZ_OK;
  }

 private:
  size_t Usable() const { return words_ ? (filled_ & ~static_cast<size_t>(3)) : filled_; }

  CExtractBuffer buffer_;
  std::unique_ptr<CByteSource> source_;
  bool words_;
  size_t pos_ = 0;
  size_t usable_ = 0;
  size_t filled_ = 0;
  bool ended_ = false;
};

class CBcj2Source : public CByteSource {
 public:
  CBcj2Source(CExtractAllocator* alloc, std::unique_ptr<CByteSource> main_stream,
              std::unique_ptr<CByteSource> call_stream,
              std::unique_ptr<CByteSource> jump_stream,
              std::unique_ptr<CPackReader> rc_stream, UInt64 unpack_size)
      : main_(alloc, std::move(main_stream), false),
        call_(alloc, std::move(call_stream), true),
        jump_(alloc, std::move(jump_stream), true),
        rc_(std::move(rc_stream)),
        unpack_size_(unpack_size) {
    Bcj2Dec_Init(&dec_);
  }

  SRes Init() {
    SRes res = main_.Init();
    if (res == SZ_OK)
      res = call_.Init();
    if (res == SZ_OK)
      res = jump_.Init();
    return res;
  }

  SRes Read(Byte* buf, size_t* size) override {
    size_t want = *size;
    *size = 0;
    if (produced_ == unpack_size_)
      return CheckFinished();
    want = static_cast<size_t>(std::min<UInt64>(want, unpack_size_ - produced_));
    for (;;) {
      const Byte* rc = nullptr;
      size_t rc_avail = 0;
      SRes res = rc_->Look(&rc, &rc_avail);
      if (res != SZ_OK)
        return res;
      dec_.bufs[BCJ2_STREAM_MAIN] = main_.begin();
      dec_.lims[BCJ2_STREAM_MAIN] = main_.end();
      dec_.bufs[BCJ2_STREAM_CALL] = call_.begin();
      dec_.lims[BCJ2_STREAM_CALL] = call_.end();
      dec_.bufs[BCJ2_STREAM_JUMP] = jump_.begin();
      dec_.lims[BCJ2_STREAM_JUMP] = jump_.end();
      dec_.bufs[BCJ2_STREAM_RC] = rc;
      dec_.lims[BCJ2_STREAM_RC] = rc + rc_avail;
      dec_.dest = buf;
      dec_.destLim = buf + want;
      res = Bcj2Dec_Decode(&dec_);
      main_.set_begin(dec_.bufs[BCJ2_STREAM_MAIN]);
      call_.set_begin(dec_.bufs[BCJ2_STREAM_CALL]);
      jump_.set_begin(dec_.bufs[BCJ2_STREAM_JUMP]);
      rc_->Skip(static_cast<size_t>(dec_.bufs[BCJ2_STREAM_RC] - rc));
      if (res != SZ_OK)
        return res;
      size_t n = static_cast<size_t>(dec_.dest - buf);
      if (n != 0) {
        produced_ += n;
        *size = n;
        return SZ_OK;
      }
      // Nothing came out: the filter waits for the input its state names,
      // having used all it was offered of that input.
      bool got = false;
      switch (dec_.state) {
        case BCJ2_STREAM_MAIN: res = main_.Refill(&got); break;
        case BCJ2_STREAM_CALL: res = call_.Refill(&got); break;
        case BCJ2_STREAM_JUMP: res = jump_.Refill(&got); break;
        case BCJ2_STREAM_RC: res = rc_->Look(&rc, &rc_avail); got = rc_avail != 0; break;
        default: return SZ_ERROR_DATA;
      }
      if (res != SZ_OK)
        return res;
      if (!got)
        return SZ_ERROR_DATA;  // an input ended before the output was complete
    }
  }

 private:
  SRes CheckFinished() {
    SRes res = main_.CheckFinished();
    if (res == SZ_OK)
      res = call_.CheckFinished();
    if (res == SZ_OK)
      res = jump_.CheckFinished();
    if (res != SZ_OK)
      return res;
    if (rc_->remaining() != 0 || !Bcj2Dec_IsMaybeFinished(&dec_))
      return SZ_ERROR_DATA;
    return SZ_OK;
  }

  CBcj2Input main_;
  CBcj2Input call_;
  CBcj2Input jump_;
  std::unique_ptr<CPackReader> rc_;
  UInt64 unpack_size_;
  UInt64 produced_ = 0;
  CBcj2Dec dec_;
};

template <typename T>
SRes Publish(std::unique_ptr<T> made, SRes init, std::unique_ptr<CByteSource>* out) {
  if (init != SZ_OK)
    return init;
  *out = std::move(made);
  return SZ_OK;
}

}  // namespace

// ---------------------------------------------------------------------------

CPackReader::CPackReader(CExtractAllocator* alloc, HANDLE file, UInt64 offset,
                         UInt64 size)
    : alloc_(alloc), file_(file), offset_(offset), size_(size) {}

CPackReader::~CPackReader() { alloc_->Free(buffer_); }

SRes CPackReader::Init(size_t buffer_size) {
  buffer_ = static_cast<Byte*>(alloc_->Alloc(buffer_size));
  if (!buffer_)
    return SZ_ERROR_MEM;
  buffer_size_ = buffer_size;
  return SZ_OK;
}

SRes CPackReader::Look(const Byte** data, size_t* avail) {
  if (pos_ == end_ && used_ < size_) {
    // Positioned read: the other packed streams of the block share the
    // handle and move its file pointer.
    UInt64 at = offset_ + used_;
    DWORD want = static_cast<DWORD>(std::min<UInt64>(buffer_size_, size_ - used_));
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD got = 0;
    if (!ReadFile(file_, buffer_, want, &got, &where) &&
        GetLastError() != ERROR_HANDLE_EOF)
      return SZ_ERROR_READ;
    pos_ = 0;
    end_ = got;
  }
  *data = buffer_ + pos_;
  *avail = end_ - pos_;
  return SZ_OK;
}

void CPackReader::Skip(size_t count) {
  pos_ += count;
  used_ += count;
}

SRes CreateMainCoderSource(CExtractAllocator* alloc, UInt32 method,
                           const Byte* props, unsigned props_size,
                           UInt64 unpack_size,
                           std::unique_ptr<CPackReader> input,
                           std::unique_ptr<CByteSource>* out) {
  switch (method) {
    case k7zMethodCopy: {
      if (input->remaining() != unpack_size)
        return SZ_ERROR_DATA;
      std::unique_ptr<CCopySource> copy(new (std::nothrow) CCopySource(std::move(input)));
      if (!copy)
        return SZ_ERROR_MEM;
      return Publish(std::move(copy), SZ_OK, out);
    }
    case k7zMethodLzma:
    case k7zMethodLzma2: {
      std::unique_ptr<CLzmaSource> lzma(new (std::nothrow) CLzmaSource(
          alloc, method == k7zMethodLzma2, unpack_size, std::move(input)));
      if (!lzma)
        return SZ_ERROR_MEM;
      SRes res = lzma->Init(props, props_size);
      return Publish(std::move(lzma), res, out);
    }
    default:
      return SZ_ERROR_UNSUPPORTED;
  }
}

SRes CreateX86FilterSource(CExtractAllocator* alloc,
                           std::unique_ptr<CByteSource> input,
                           std::unique_ptr<CByteSource>* out) {
  std::unique_ptr<CX86FilterSource> filter(
      new (std::nothrow) CX86FilterSource(alloc, std::move(input)));
  if (!filter)
    return SZ_ERROR_MEM;
  SRes res = filter->Init();
  return Publish(std::move(filter), res, out);
}

SRes CreateBcj2Source(CExtractAllocator* alloc,
                      std::unique_ptr<CByteSource> main_stream,
                      std::unique_ptr<CByteSource> call_stream,
                      std::unique_ptr<CByteSource> jump_stream,
                      std::unique_ptr<CPackReader> rc_stream,
                      UInt64 unpack_size, std::unique_ptr<CByteSource>* out) {
  std::unique_ptr<CBcj2Source> bcj2(new (std::nothrow) CBcj2Source(
      alloc, std::move(main_stream), std::move(call_stream),
      std::move(jump_stream), std::move(rc_stream), unpack_size));
  if (!bcj2)
    return SZ_ERROR_MEM;
  SRes res = bcj2->Init();
  return Publish(std::move(bcj2), res, out);
}
