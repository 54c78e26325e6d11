#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Extraction of a ZIP archive (the resource pack) into a folder, over
// zlib's inflate through minizip.
//
// Paths are absolute, built from the target folder; the process's current
// directory is never changed, so this may run on the UI thread while the
// install pack is being extracted on the file thread.

// Last-error codes (GetLastZipError).
constexpr uint32_t kZipOk = 0;
constexpr uint32_t kZipCannotCreate = 0x200;  // target file (or the ZIP) cannot be opened
constexpr uint32_t kZipWriteOrRead = 0x400;   // writing a file or inflating failed
constexpr uint32_t kZipCorrupt = 0x700;       // not a ZIP, bad local header, CRC error
constexpr uint32_t kZipReadArchive = 0x800;   // reading the archive failed
constexpr uint32_t kZipBadArgument = 0x10000;  // bad argument or item name (outside the confinement folder)

// Extracts every item of |zip_path| into |folder| (which must exist), in
// archive order, stopping at the first failure; true when every item was
// extracted. Items land relative to |folder|, but nothing may land outside
// |confinement| (an existing folder; empty means |folder| itself): an item
// that would is refused with kZipBadArgument and the extraction stops. So an
// item "..\name" extracted into "<install>\bin" with confinement "<install>"
// lands in "<install>\name". Items whose names contain ".." get no folders
// created for them; absolute names, drive letters and ':' are refused.
// Any thread; several extractions may run at once.
bool ExtractZipToFolder(const std::wstring& zip_path, const std::wstring& folder,
                        const std::wstring& confinement = std::wstring());

// The code of the last ExtractZipToFolder that got as far as opening the
// archive, process-wide. Any thread.
uint32_t GetLastZipError();

// --- The rules behind the extractor, exposed for tests. Any thread. ---

// The attributes a file item is created with, from its external attributes:
// FILE_ATTRIBUTE_NORMAL, 0x90 for a folder (bit 0x10 or Unix directory bit
// 0x40000000), plus archive (0x20), hidden, system and read-only from the
// low byte; read-only also when Unix permissions are present (high word) and
// grant no write.
uint32_t ZipItemAttributes(uint32_t external_attributes);
bool IsZipItemFolder(uint32_t external_attributes);

// The Unix times of an extended-timestamp ("UT", 0x5455) extra field.
struct ZipUnixTimes {
  bool has_modified = false;
  bool has_accessed = false;
  bool has_created = false;
  uint32_t modified = 0;
  uint32_t accessed = 0;
  uint32_t created = 0;
};
// Finds the field in |extra| (a whole extra-field block); false when there
// is none or it is malformed.
bool ParseZipUnixTimes(const unsigned char* extra, size_t size,
                       ZipUnixTimes* times);

// Resolves item |name| relative to |base| into an absolute path *full;
// kZipOk, or kZipBadArgument when the name is empty or absolute, holds ':',
// or resolves outside |confinement| (both absolute folders without a
// trailing "\").
uint32_t ResolveZipItemPath(const std::wstring& base,
                            const std::wstring& confinement,
                            const std::wstring& name, std::wstring* full);
