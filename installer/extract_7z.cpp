#include "installer/extract_7z.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "7z.h"
#include "7zCrc.h"
#include "7zFile.h"
#include "installer/extract_allocator.h"
#include "installer/extract_folder_stream.h"
#include "installer/util/path_confinement.h"

namespace {

// An output path must fit 500 wide characters including the terminator.
constexpr size_t kMaxOutputPath = 500;
constexpr size_t kWriteChunk = 1 << 18;
constexpr size_t kLookBufferSize = 1 << 16;
// A file is written under this suffix and renamed once its CRC is checked.
constexpr wchar_t kPartSuffix[] = L".qivpart";
// The attribute bits a file may take from the archive (7-Zip puts Unix mode
// bits and a marker above them, which SetFileAttributesW refuses).
constexpr DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY |
    FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr int kCannotWrite = 11;  // SZ_ERROR_FAIL: output file trouble

class CScopedHandle {
 public:
  explicit CScopedHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~CScopedHandle() { Close(); }
  CScopedHandle(const CScopedHandle&) = delete;
  CScopedHandle& operator=(const CScopedHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h) {
    Close();
    h_ = h;
  }
  // False when CloseHandle fails (the handle is given up either way).
  bool Close() {
    if (!valid())
      return true;
    BOOL ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }

 private:
  HANDLE h_;
};

void Print(const char* text) { std::fputs(text, stdout); }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "Extracting <name>" in the console's code page; false when the name
// cannot be converted.
bool PrintEntryName(const wchar_t* name) {
  int size = WideCharToMultiByte(CP_OEMCP, 0, name, -1, nullptr, 0, "_", nullptr);
  if (size <= 0)
    return false;
  std::string oem(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_OEMCP, 0, name, -1, &oem[0], size, "_", nullptr) != size)
    return false;
  Print("Extracting ");
  Print(oem.c_str());
  return true;
}

void PrintResult(int res, UInt64 done) {
  std::printf("num %ld\n", static_cast<long>(static_cast<UInt32>(done)));
  if (res == SZ_OK) {
    Print("\nEverything is Ok\n");
  } else {
    if (res == SZ_ERROR_UNSUPPORTED)
      std::printf("\nERROR: %s\n", "decoder doesn't support this archive");
    else if (res == SZ_ERROR_MEM)
      std::printf("\nERROR: %s\n", "can not allocate memory");
    else if (res == SZ_ERROR_CRC)
      std::printf("\nERROR: %s\n", "CRC error");
    else
      std::printf("\nERROR #%d\n", res);
    std::printf("num %ld\n", static_cast<long>(static_cast<UInt32>(done)));
  }
  std::fflush(stdout);
}

void InitCrcTable() {
  static const bool ready = (CrcGenerateTable(), true);
  (void)ready;
}

// One run of the extractor over one archive. File thread; owns every
// resource of the run.
class C7zExtraction {
 public:
  C7zExtraction(const Extract7zOptions& options, Extract7zStats* stats)
      : options_(options),
        stats_(stats),
        alloc_(options.memory_limit),
        look_buffer_(&alloc_),
        name_buffer_(&alloc_),
        chunk_(&alloc_) {
    SzArEx_Init(&db_);
  }

  ~C7zExtraction() {
    SzArEx_Free(&db_, alloc_.sz());
    if (stats_)
      stats_->peak_memory = alloc_.peak();
  }

  int Run(const std::wstring& archive_path, const std::wstring& dest_dir);

 private:
  int OpenArchive();
  int ExtractEntry(UInt32 index);
  int ExtractFile(UInt32 index, const std::wstring& path);
  int WriteData(UInt32 index, HANDLE out);
  int MoveIntoPlace(const std::wstring& part, const std::wstring& path);

  const Extract7zOptions& options_;
  Extract7zStats* stats_;
  CExtractAllocator alloc_;
  std::wstring dest_;  // absolute, without a trailing "\"
  CScopedHandle archive_;
  CFileInStream file_stream_;
  CLookToRead2 look_;
  CExtractBuffer look_buffer_;
  CExtractBuffer name_buffer_;
  CExtractBuffer chunk_;
  CSzArEx db_;
  std::unique_ptr<CFolderStream> folder_;  // once the archive is open
  UInt64 total_ = 0;
  UInt64 done_ = 0;
};

int C7zExtraction::Run(const std::wstring& archive_path,
                       const std::wstring& dest_dir) {
  dest_ = FullPathOf(dest_dir);
  while (dest_.size() > 1 && IsSeparator(dest_.back()))
    dest_.pop_back();
  if (dest_.empty() || !IsExistingFolder(dest_)) {
    Print("Install path not existed\n");
    return SZ_ERROR_MEM;
  }
  if (GetFileAttributesW(archive_path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Print("Source path not existed\n");
    return SZ_ERROR_MEM;
  }
  archive_.Reset(CreateFileW(archive_path.c_str(), GENERIC_READ,
                             FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!archive_.valid()) {
    Print("can not open input file");
    return SZ_ERROR_DATA;
  }
  int res = OpenArchive();
  if (res == SZ_OK) {
    for (UInt32 i = 0; i < db_.NumFiles; ++i)
      total_ += SzArEx_GetFileSize(&db_, i);
    for (UInt32 i = 0; i < db_.NumFiles && res == SZ_OK; ++i)
      res = ExtractEntry(i);
  }
  if (folder_)
    folder_->Close();
  PrintResult(res, done_);
  return res;
}

int C7zExtraction::OpenArchive() {
  InitCrcTable();
  FileInStream_CreateVTable(&file_stream_);
  file_stream_.file.handle = archive_.get();
  file_stream_.wres = 0;
  if (!look_buffer_.Allocate(kLookBufferSize) || !chunk_.Allocate(kWriteChunk))
    return SZ_ERROR_MEM;
  LookToRead2_CreateVTable(&look_, False);
  look_.buf = look_buffer_.data();
  look_.bufSize = look_buffer_.size();
  look_.realStream = &file_stream_.vt;
  LookToRead2_INIT(&look_)
  folder_.reset(new (std::nothrow) CFolderStream(&alloc_, archive_.get(), &look_.vt));
  if (!folder_)
    return SZ_ERROR_MEM;
  return SzArEx_Open(&db_, &look_.vt, alloc_.sz(), alloc_.sz());
}

int C7zExtraction::ExtractEntry(UInt32 index) {
  size_t length = SzArEx_GetFileNameUtf16(&db_, index, nullptr);
  if (length * sizeof(UInt16) > name_buffer_.size() &&
      !name_buffer_.Allocate(length * sizeof(UInt16)))
    return SZ_ERROR_MEM;
  UInt16* name16 = reinterpret_cast<UInt16*>(name_buffer_.data());
  SzArEx_GetFileNameUtf16(&db_, index, name16);
  const wchar_t* name = reinterpret_cast<const wchar_t*>(name16);
  if (!PrintEntryName(name))
    return kCannotWrite;
  const bool is_dir = SzArEx_IsDir(&db_, index);
  if (is_dir)
    Print("/");

  if (!Is7zEntryNameConfined(name)) {
    Print(" - refused: outside the destination\n");
    return SZ_ERROR_ARCHIVE;
  }
  const std::wstring path = dest_ + L"\\" + name;
  if (path.size() >= kMaxOutputPath) {
    Print(" - output path too long\n");
    return kCannotWrite;
  }
  // The name rule above keeps entries inside; the resolved path is checked
  // as well, for whatever else the file system would resolve (reserved
  // device names, trailing dots).
  const std::wstring full = FullPathOf(path);
  if (!IsPathWithin(full, dest_)) {
    Print(" - refused: outside the destination\n");
    return SZ_ERROR_ARCHIVE;
  }
  if (is_dir) {
    if (full != dest_)
      CreateFoldersBelow(dest_, full);
    return SZ_OK;
  }
  return ExtractFile(index, full);
}

int C7zExtraction::ExtractFile(UInt32 index, const std::wstring& path) {
  // Archives listing a file without its folders are valid: create them.
  size_t cut = path.find_last_of(L'\\');
  if (cut > dest_.size())
    CreateFoldersBelow(dest_, path.substr(0, cut));

  const std::wstring part = path + kPartSuffix;
  CScopedHandle out(CreateFileW(part.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!out.valid()) {
    Print("can not open output file");
    return kCannotWrite;
  }
  done_ += SzArEx_GetFileSize(&db_, index);
  UInt64 percent = total_ == 0 ? 100 : done_ * 100 / total_;
  std::printf("totalsize:%d,%d\n", static_cast<int>(static_cast<UInt32>(percent)),
              static_cast<int>(static_cast<UInt32>(percent >> 32)));

  int res = WriteData(index, out.get());
  if (res == SZ_OK && !out.Close()) {
    Print("can not close output file");
    res = kCannotWrite;
  }
  if (res == SZ_OK)
    res = MoveIntoPlace(part, path);
  if (res != SZ_OK) {
    out.Close();
    DeleteFileW(part.c_str());
    return res;
  }
  if (SzBitWithVals_Check(&db_.Attribs, index))
    SetFileAttributesW(path.c_str(), db_.Attribs.Vals[index] & kSettableAttributes);
  Print("\n");
  return SZ_OK;
}

// Streams the entry's bytes out of its block into |out| and checks them.
int C7zExtraction::WriteData(UInt32 index, HANDLE out) {
  const UInt32 folder = db_.FileToFolder[index];
  UInt64 left = SzArEx_GetFileSize(&db_, index);
  UInt32 crc = CRC_INIT_VAL;
  if (folder != static_cast<UInt32>(-1)) {
    const UInt64 offset = db_.UnpackPositions[index] -
                          db_.UnpackPositions[db_.FolderToFile[folder]];
    if (!folder_->is_open() || folder_->folder() != folder ||
        folder_->position() > offset) {
      SRes res = folder_->Open(&db_, folder, options_.whole_blocks);
      if (res != SZ_OK)
        return res;
      if (stats_)
        ++(folder_->streamed() ? stats_->blocks_streamed : stats_->blocks_whole);
    }
    SRes res = folder_->Skip(offset - folder_->position());
    if (res != SZ_OK)
      return res;
    while (left > 0) {
      size_t n = static_cast<size_t>(std::min<UInt64>(chunk_.size(), left));
      res = folder_->Read(chunk_.data(), &n);
      if (res != SZ_OK)
        return res;
      if (n == 0)
        return SZ_ERROR_DATA;
      DWORD written = 0;
      if (!WriteFile(out, chunk_.data(), static_cast<DWORD>(n), &written, nullptr) ||
          written != n) {
        Print("can not write output file");
        return kCannotWrite;
      }
      crc = CrcUpdate(crc, chunk_.data(), n);
      left -= n;
    }
    // The last entry of a block: the block must end cleanly (and match its
    // own CRC) before this file may replace anything.
    if (folder_->position() == SzAr_GetFolderUnpackSize(&db_.db, folder)) {
      res = folder_->Finish();
      folder_->Close();
      if (res != SZ_OK)
        return res;
    }
  }
  if (SzBitWithVals_Check(&db_.CRCs, index) &&
      CRC_GET_DIGEST(crc) != db_.CRCs.Vals[index])
    return SZ_ERROR_CRC;
  return SZ_OK;
}

int C7zExtraction::MoveIntoPlace(const std::wstring& part,
                                 const std::wstring& path) {
  if (MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    return SZ_OK;
  // A read-only file of an earlier installation (the pack itself marks
  // files read-only) may be replaced; a locked one may not.
  DWORD error = GetLastError();
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (error == ERROR_ACCESS_DENIED && attrs != INVALID_FILE_ATTRIBUTES &&
      (attrs & FILE_ATTRIBUTE_READONLY) && !(attrs & FILE_ATTRIBUTE_DIRECTORY) &&
      SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY)) {
    if (MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
      return SZ_OK;
    SetFileAttributesW(path.c_str(), attrs);
  }
  Print("can not open output file");
  return kCannotWrite;
}

}  // namespace

bool Is7zEntryNameConfined(const std::wstring& name) {
  if (!name.empty() && IsSeparator(name[0]))
    return false;
  if (name.find(L':') != std::wstring::npos)
    return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end]))
      ++end;
    if (name.compare(start, end - start, L"..") == 0)
      return false;
    start = end + 1;
  }
  return true;
}

int Extract7z(const std::wstring& archive_path, const std::wstring& dest_dir,
              const Extract7zOptions& options, Extract7zStats* stats) {
  if (stats)
    *stats = Extract7zStats();
  C7zExtraction extraction(options, stats);
  return extraction.Run(archive_path, dest_dir);
}

bool Extract7zInFolder(const std::wstring& archive_path,
                       const std::wstring& dest_dir, int* code) {
  int res = Extract7z(archive_path, dest_dir);
  if (code)
    *code = res;
  return res == SZ_OK;
}
