#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Extraction of the install pack (a 7z archive) into the install folder.
//
// Result codes (the decoder library's values, with the extractor's own uses):
//   0  every entry extracted
//   1  the archive cannot be opened for reading; also damaged data
//   2  the destination folder or the archive does not exist; out of memory
//   3  CRC error
//   4  a method the decoder does not support
//   11 an output file cannot be created, written, closed or moved into place,
//      its path is 500 characters or longer, or its name cannot be printed
//   16 a damaged archive, or an entry that would land outside the
//      destination (absolute name, drive letter, ':' or a ".." step)
//   other: any other decoder library value (5, 6 unexpected end, 8 read
//      error, 17 not an archive, ...)
//
// Each file is written under a temporary name beside its target and moved
// into place only after its CRC has been checked, so a damaged pack never
// replaces a good file of an earlier installation. Entries extracted before a
// failure stay in place. Output paths are always absolute, built from the
// destination; the process's current directory is never touched, so a ZIP
// extraction on another thread can run at the same time.
//
// Progress and diagnostics go to standard output ("Extracting <name>",
// "totalsize:..", "Everything is Ok", "ERROR ..."), which the installer's GUI
// process does not show.

struct Extract7zOptions {
  // Unpack every block whole into memory instead of streaming it (for
  // comparisons; the installer never sets it).
  bool whole_blocks = false;
  // The most bytes the extraction may have allocated at once; 0 = no limit.
  size_t memory_limit = 0;
};

struct Extract7zStats {
  uint64_t peak_memory = 0;      // most bytes allocated at once
  uint32_t blocks_streamed = 0;  // blocks decoded as a stream
  uint32_t blocks_whole = 0;     // blocks unpacked whole into memory
};

// Extracts |archive_path| into |dest_dir| and stores the result code in
// *code; true exactly when the code is 0. File thread (any thread that may
// block); reentrant.
bool Extract7zInFolder(const std::wstring& archive_path,
                       const std::wstring& dest_dir, int* code);

// The driver behind Extract7zInFolder; returns the result code. |stats| may
// be null.
int Extract7z(const std::wstring& archive_path, const std::wstring& dest_dir,
              const Extract7zOptions& options = Extract7zOptions(),
              Extract7zStats* stats = nullptr);

// The name rule for entries: true when |name| has no leading "\" or "/", no
// ':' anywhere (drive letters, alternate streams) and no ".." step, so that it
// cannot leave the destination. (The extractor also checks the resolved
// path.) Any thread.
bool Is7zEntryNameConfined(const std::wstring& name);
