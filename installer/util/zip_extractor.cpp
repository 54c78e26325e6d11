#include "installer/util/zip_extractor.h"

#include <windows.h>

#include <atomic>
#include <vector>

// unzip.h first: it brings zlib.h, which iowin32.h needs.
#include "unzip.h"
#include "iowin32.h"
#include "installer/util/path_confinement.h"

namespace {

constexpr size_t kInflateChunk = 0x4000;
constexpr uLong kUtf8NameFlag = 1 << 11;
constexpr uint32_t kUnixDirectory = 0x40000000;
constexpr uint32_t kUnixWriteBits = 0222;
// Seconds from 1601-01-01 (FILETIME) to 1970-01-01 (Unix).
constexpr uint64_t kUnixEpochSeconds = 11644473600ull;

std::atomic<uint32_t> g_last_zip_error{kZipOk};

class CScopedFile {
 public:
  explicit CScopedFile(HANDLE h) : h_(h) {}
  ~CScopedFile() { Close(); }
  CScopedFile(const CScopedFile&) = delete;
  CScopedFile& operator=(const CScopedFile&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (valid())
      CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

// Closes the archive on every path; the close result is kept.
class CScopedUnzip {
 public:
  explicit CScopedUnzip(unzFile file) : file_(file) {}
  ~CScopedUnzip() { Close(); }
  CScopedUnzip(const CScopedUnzip&) = delete;
  CScopedUnzip& operator=(const CScopedUnzip&) = delete;
  unzFile get() const { return file_; }
  int Close() {
    int res = UNZ_OK;
    if (file_)
      res = unzClose(file_);
    file_ = nullptr;
    return res;
  }

 private:
  unzFile file_;
};

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasParentStep(const std::wstring& name) {
  return name.find(L"../") != std::wstring::npos ||
         name.find(L"..\\") != std::wstring::npos;
}

uint32_t FromUnzError(int err) {
  switch (err) {
    case UNZ_OK: return kZipOk;
    case UNZ_ERRNO: return kZipReadArchive;
    case UNZ_PARAMERROR: return kZipBadArgument;
    default: return kZipCorrupt;  // bad ZIP, CRC error, internal error
  }
}

std::wstring DecodeName(const std::vector<char>& raw, bool utf8) {
  const UINT code_page = utf8 ? CP_UTF8 : CP_ACP;
  int n = MultiByteToWideChar(code_page, 0, raw.data(), -1, nullptr, 0);
  if (n <= 0)
    return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, raw.data(), -1, &wide[0], n);
  wide.resize(static_cast<size_t>(n - 1));
  return wide;
}

FILETIME FromUnixTime(uint32_t seconds) {
  ULARGE_INTEGER t;
  t.QuadPart = (seconds + kUnixEpochSeconds) * 10000000ull;
  FILETIME ft;
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  return ft;
}

struct ItemTimes {
  FILETIME created;
  FILETIME accessed;
  FILETIME modified;
};

// The DOS time (local time) for all three, replaced by the UT field's times.
ItemTimes TimesOf(uLong dos_date, const std::vector<unsigned char>& local_extra) {
  FILETIME local = {}, utc = {};
  DosDateTimeToFileTime(HIWORD(dos_date), LOWORD(dos_date), &local);
  LocalFileTimeToFileTime(&local, &utc);
  ItemTimes times = {utc, utc, utc};
  ZipUnixTimes unix_times;
  if (ParseZipUnixTimes(local_extra.data(), local_extra.size(), &unix_times)) {
    if (unix_times.has_modified)
      times.modified = FromUnixTime(unix_times.modified);
    if (unix_times.has_accessed)
      times.accessed = FromUnixTime(unix_times.accessed);
    if (unix_times.has_created)
      times.created = FromUnixTime(unix_times.created);
  }
  return times;
}

// Inflates the current item into |out|; the local extra field comes back in
// |local_extra|.
uint32_t InflateCurrentItem(unzFile zip, HANDLE out,
                            std::vector<unsigned char>* local_extra) {
  int res = unzOpenCurrentFile(zip);
  if (res != UNZ_OK)
    return FromUnzError(res);
  int extra_size = unzGetLocalExtrafield(zip, nullptr, 0);
  if (extra_size > 0) {
    local_extra->resize(static_cast<size_t>(extra_size));
    if (unzGetLocalExtrafield(zip, local_extra->data(), static_cast<unsigned>(extra_size)) !=
        extra_size)
      local_extra->clear();
  }
  std::vector<unsigned char> chunk(kInflateChunk);
  uint32_t error = kZipOk;
  for (;;) {
    int got = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()));
    if (got < 0) {
      error = kZipWriteOrRead;
      break;
    }
    if (got == 0)
      break;
    DWORD written = 0;
    if (!WriteFile(out, chunk.data(), static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got)) {
      error = kZipWriteOrRead;
      break;
    }
  }
  // Closing after the whole item was read checks its CRC.
  res = unzCloseCurrentFile(zip);
  if (error == kZipOk && res != UNZ_OK)
    error = FromUnzError(res);
  return error;
}

// Extracts the current item of |zip| below |base|, confined to |confinement|.
uint32_t ExtractCurrentItem(unzFile zip, const std::wstring& base,
                            const std::wstring& confinement) {
  unz_file_info64 info;
  int res = unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
  if (res != UNZ_OK)
    return FromUnzError(res);
  std::vector<char> raw_name(info.size_filename + 1, '\0');
  res = unzGetCurrentFileInfo64(zip, &info, raw_name.data(),
                                static_cast<uLong>(raw_name.size()), nullptr, 0,
                                nullptr, 0);
  if (res != UNZ_OK)
    return FromUnzError(res);
  const std::wstring name = DecodeName(raw_name, (info.flag & kUtf8NameFlag) != 0);
  const uint32_t external = static_cast<uint32_t>(info.external_fa);

  std::wstring full;
  uint32_t error = ResolveZipItemPath(base, confinement, name, &full);
  if (error != kZipOk)
    return error;
  // So that a read-only file of an earlier install can be overwritten.
  SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_ARCHIVE);

  if (IsZipItemFolder(external) || IsSeparator(name.back())) {
    CreateFoldersBelow(confinement, WithoutTrailingSeparators(full));
    return kZipOk;
  }
  if (!HasParentStep(name)) {
    size_t cut = full.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > confinement.size())
      CreateFoldersBelow(confinement, full.substr(0, cut));
  }
  CScopedFile out(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, ZipItemAttributes(external), nullptr));
  if (!out.valid())
    return kZipCannotCreate;
  std::vector<unsigned char> local_extra;
  error = InflateCurrentItem(zip, out.get(), &local_extra);
  if (error == kZipOk && GetFileType(out.get()) == FILE_TYPE_DISK) {
    ItemTimes times = TimesOf(info.dosDate, local_extra);
    SetFileTime(out.get(), &times.created, &times.accessed, &times.modified);
  }
  out.Close();
  if (error != kZipOk) {
    // Known-bad content is not left behind under the item's name.
    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(full.c_str());
    return error;
  }
  SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
  return kZipOk;
}

}  // namespace

uint32_t ZipItemAttributes(uint32_t external_attributes) {
  if (IsZipItemFolder(external_attributes))
    return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
  uint32_t attrs = FILE_ATTRIBUTE_NORMAL;
  const uint32_t dos = external_attributes & 0xFF;
  const uint32_t unix_mode = external_attributes >> 16;
  attrs |= dos & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  if (unix_mode != 0 && (unix_mode & kUnixWriteBits) == 0)
    attrs |= FILE_ATTRIBUTE_READONLY;
  return attrs;
}

bool IsZipItemFolder(uint32_t external_attributes) {
  return (external_attributes & kUnixDirectory) != 0 ||
         (external_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ParseZipUnixTimes(const unsigned char* extra, size_t size,
                       ZipUnixTimes* times) {
  *times = ZipUnixTimes();
  size_t pos = 0;
  while (pos + 4 <= size) {
    const unsigned tag = extra[pos] | (extra[pos + 1] << 8);
    const size_t length = extra[pos + 2] | (extra[pos + 3] << 8);
    const unsigned char* data = extra + pos + 4;
    if (pos + 4 + length > size)
      return false;
    if (tag == 0x5455) {
      if (length < 1)
        return false;
      const unsigned flags = data[0];
      size_t at = 1;
      auto take = [&](unsigned bit, bool* has, uint32_t* value) {
        if (!(flags & bit) || at + 4 > length)
          return;
        *value = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                 (static_cast<uint32_t>(data[at + 3]) << 24);
        *has = true;
        at += 4;
      };
      take(1, &times->has_modified, &times->modified);
      take(2, &times->has_accessed, &times->accessed);
      take(4, &times->has_created, &times->created);
      return true;
    }
    pos += 4 + length;
  }
  return false;
}

uint32_t ResolveZipItemPath(const std::wstring& base,
                            const std::wstring& confinement,
                            const std::wstring& name, std::wstring* full) {
  if (name.empty() || IsSeparator(name[0]) || name.find(L':') != std::wstring::npos)
    return kZipBadArgument;
  *full = FullPathOf(base + L"\\" + name);
  if (full->empty() || !IsPathWithin(WithoutTrailingSeparators(*full), confinement))
    return kZipBadArgument;
  return kZipOk;
}

uint32_t GetLastZipError() { return g_last_zip_error.load(); }

bool ExtractZipToFolder(const std::wstring& zip_path, const std::wstring& folder,
                        const std::wstring& confinement) {
  const std::wstring base = WithoutTrailingSeparators(FullPathOf(folder));
  const std::wstring fence = confinement.empty()
                                 ? base
                                 : WithoutTrailingSeparators(FullPathOf(confinement));
  if (base.empty() || !IsExistingFolder(base) || fence.empty() || !IsExistingFolder(fence))
    return false;

  zlib_filefunc64_def io;
  fill_win32_filefunc64W(&io);
  CScopedUnzip zip(unzOpen2_64(zip_path.c_str(), &io));
  if (!zip.get()) {
    g_last_zip_error = GetFileAttributesW(zip_path.c_str()) == INVALID_FILE_ATTRIBUTES
                           ? kZipCannotCreate
                           : kZipCorrupt;
    return false;
  }
  unz_global_info64 global;
  int res = unzGetGlobalInfo64(zip.get(), &global);
  if (res != UNZ_OK) {
    g_last_zip_error = FromUnzError(res);
    return false;
  }
  uint32_t error = kZipOk;
  for (ZPOS64_T i = 0; i < global.number_entry && error == kZipOk; ++i) {
    res = i == 0 ? unzGoToFirstFile(zip.get()) : unzGoToNextFile(zip.get());
    error = res == UNZ_OK ? ExtractCurrentItem(zip.get(), base, fence)
                          : FromUnzError(res);
  }
  // The close result is the last error only when nothing failed before.
  res = zip.Close();
  if (error == kZipOk)
    error = FromUnzError(res);
  g_last_zip_error = error;
  return error == kZipOk;
}
